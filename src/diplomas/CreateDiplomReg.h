#pragma once
// Diplomas and certificates of a regional event: the participants with the
// statuses 4, 7 and 10, ticked in a grid, drawn on the event's template from
// the file server and saved one image per participant.

#include "ui/ChildForm.h"

#include <QImage>
#include <QString>

namespace Ui {
class TFormCreateDiplomReg;
}
class TMemTable;
class TDataSource;
class TProgressLabel;
struct TDiplomaData;

/// Child window "Формирование дипломов (сертификатов) участникам региональных мероприятий".
/// The list (`MemList`) belongs to the event it was last read for; ticks and
/// corrections typed into it are what the images print, the database keeps its
/// values.
///
///     auto* form = new TFormCreateDiplomReg;   // reads the administrator's events
///     FormMainZRT->openChild(form);
class TFormCreateDiplomReg : public TChildForm {
    Q_OBJECT
public:
    explicit TFormCreateDiplomReg(QWidget* parent = nullptr);
    ~TFormCreateDiplomReg() override;

    /// The event of the chosen list: a row of `EDUdiplomReg`.
    struct Event {
        int id = 0;
        QString nameEdu;
        int SubjectsID = 0;
        int year = 0;
        int permissionDiplom = 0;
    };

    /// Reads the administrator's events (of every school year), chooses the
    /// first one and reads its participants.
    void FormCreate() override;
    /// Closes the event list.
    void FormClose() override;

    /// The drop-down list closed on another event than the list shows: the
    /// participants are read again and the event's permission applied.
    void DBLookupComboBox1CloseUp();
    /// The choice changed (mouse, keyboard, wheel): the same.
    void DBLookupComboBox1KeyValueChanged();
    /// Ticks the current row ("Нет" becomes "Да", anything else "Нет").
    void DBGrid1DblClick();
    /// "Выбрать все".
    void BitBtn2Click();
    /// "Отменить выбор всех".
    void BitBtn3Click();
    /// "Создать": one image per ticked row in the event's folder in "Дипломы",
    /// then the final message and the folder in the file manager.
    void BitBtn4Click();

    /// "Просмотр": the current row's diploma drawn as "Создать" draws it (the
    /// chosen event's template downloaded first unless the window holds it),
    /// shown in a modal dialog; no file is written.
    void BitBtn5Click();

    /// Fills `MemList` with the participants of the chosen event, none ticked.
    void readData();
    /// Applies the event's `permissionDiplom` to the list just read: 1 opens
    /// "Выбрать все" and "Создать", anything else closes them with a message.
    void VeriFyPermission();
    /// The rows whose "Выбор" is exactly "Да".
    int countSelected() const;
    /// The template's location on the file server for a `SubjectsID`.
    ///
    ///     TFormCreateDiplomReg::getNameCanvas(6)    // "/Images/ZRT_6.jpg"
    ///     TFormCreateDiplomReg::getNameCanvas(3)    // "/Images/ZRT_all.jpg"
    static QString getNameCanvas(int SubjectsID);
    /// Downloads and decodes the event's template. A failure shows "При
    /// считывании файла из БД возникла ошибка: " and its text, and the
    /// template stays as it was; false then.
    bool LoadTemplate();

    /// The participant of a row (from 1) as the list shows it, with his school
    /// read from the database (empty when he has no school row).
    TDiplomaData participant(int recNo);

    /// The event the list was read for.
    const Event& listEvent() const { return event_; }
    /// The template held by the window (null before the first download).
    const QImage& templateImage() const { return template_; }
    /// The list of participants.
    TMemTable* memList() const { return MemList; }

private:
    Event chosenEventRow() const;
    /// Sets "Выбор" of every row, keeping the current row.
    void checkAll(const QString& value);
    void setGenerationEnabled(bool on);
    /// The output folder of the event, made if missing; empty when it cannot be.
    QString outputFolder() const;

    Ui::TFormCreateDiplomReg* ui;
    TMemTable* MemList;
    TDataSource* SourceList;
    QImage template_;
    QString templatePath_;  // where template_ was downloaded from
    Event event_;
    int listEvent_ = -1;
    int selectedAtStart_ = 0;
    int produced_ = 0;
};

/// The most recently opened instance; cleared when it closes.
extern TFormCreateDiplomReg* FormCreateDiplomReg;
