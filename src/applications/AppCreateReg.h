#pragma once
// Forming the regional application of an event: the candidates who chose the
// event on the left, the application on the right, arrow buttons between.

#include "ui/ChildForm.h"

namespace Ui {
class TFormAppCreateReg;
}

/// What removing application rows would lose: how many of them hold a result,
/// how many a status other than the candidate's.
struct TRemovalLoss {
    int results = 0;
    int statuses = 0;
};

/// Child window "Формирование (заявки) списка участников регионального мероприятия".
/// The lists always belong to the event chosen in the drop-down: they are read
/// again after every change of the choice and after every insert or delete.
///
///     auto* form = new TFormAppCreateReg;   // reads the administrator's events
///     FormMainZRT->openChild(form);
class TFormAppCreateReg : public TChildForm {
    Q_OBJECT
public:
    explicit TFormAppCreateReg(QWidget* parent = nullptr);
    ~TFormAppCreateReg() override;

    /// Reads the events of the logged-in administrator, chooses the first one
    /// and reads both lists.
    void FormCreate() override;
    /// Closes the three queries of the window.
    void FormClose() override;

    /// The drop-down list closed: both lists are read again.
    void DBLookupComboBox1CloseUp();
    /// The choice changed (mouse, keyboard, wheel): both lists are read again
    /// unless they already belong to the chosen event.
    void DBLookupComboBox1KeyValueChanged();

    /// The four arrow buttons write only rows of the chosen event: when another
    /// window read the shared lists for its own event, they are read again and
    /// nothing is written (see TChildForm::ownRows).
    ///
    /// ">": the selected candidates go into the application, in list order.
    void SpeedButton1Click();
    /// ">>": every candidate goes into the application.
    void SpeedButton2Click();
    /// "<<": the whole application of the event is removed with one statement.
    void SpeedButton3Click();
    /// "<": the selected participants leave the application, in list order.
    void SpeedButton4Click();
    /// "<" and "<<" remove rows that hold nothing yet (candidates without a
    /// result) at once; when a row holds a result or another status, the user
    /// is asked first (confirmRemoval) and "Нет" removes nothing.
    ///
    ///     removalQuestion({75, 60})   // "...Будут потеряны результаты: 75, статусы: 60..."
    static QString removalQuestion(const TRemovalLoss& loss);

    void DBGrid1TitleClick(const QString& field);
    void DBGrid2TitleClick(const QString& field);

    /// Reads the candidates of the chosen event; ">" and ">>" follow their count.
    void readCandidate();
    /// Reads the application of the chosen event; "<<" and "<" follow its count.
    void readCandidateSet();
    /// Inserts the current candidate; a refused insert shows "Ошибка записи в БД"
    /// and returns normally.
    void INSone();

    /// The id of the chosen event (0 when none is chosen).
    int chosenEvent() const;

private:
    /// The venue (`actionAreaID`) of the chosen event, read from its own row
    /// of the event list without moving that list's current row.
    int chosenEventVenue() const;
    /// What removing these application rows of the chosen event would lose.
    TRemovalLoss removalLoss(const QList<int>& ids) const;
    /// True when the rows may go: they hold nothing, or the user said Yes.
    bool confirmRemoval(const QList<int>& ids) const;
    void readLists();
    void readEvents();

    Ui::TFormAppCreateReg* ui;
    /// The event both lists were last read for.
    int listsEvent_ = -1;
};

/// The most recently opened instance; cleared when it closes.
extern TFormAppCreateReg* FormAppCreateReg;
