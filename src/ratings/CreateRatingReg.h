#pragma once
// The rating of a regional event: its participants in the ticked classes, best
// result first, coloured by status; the passing scores and the statuses they
// give; corrections of one result or status by hand.

#include "ratings/RatingRules.h"
#include "ui/ChildForm.h"

#include <QColor>
#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QMenu;
class TApplyUndo;
class TExcel;
class TRatingPreview;
class TEventChoice;

namespace Ui {
class TFormCeateRatingReg;
}

/// Child window "Построение рейтингов региональных мероприятий".
///
///     auto* form = new TFormCeateRatingReg;   // reads the events and the first one's rating
///     FormMainZRT->openChild(form);
class TFormCeateRatingReg : public TChildForm {
    Q_OBJECT
public:
    explicit TFormCeateRatingReg(QWidget* parent = nullptr);
    ~TFormCeateRatingReg() override;

    /// Reads the administrator's events, chooses the first one, fills the
    /// passing scores, reads its rating and applies its permission.
    void FormCreate() override;
    /// Closes the rating and the event list.
    void FormClose() override;
    /// Writes a result still being typed, then reads the shared lists again.
    void FormActivate() override;

    /// The event change: passing scores, rating, permission.
    void DBLookupComboBox1CloseUp();
    void DBLookupComboBox1KeyUp(int key);
    /// The choice changed without the list or a key (the mouse wheel).
    void DBLookupComboBox1KeyValueChanged();
    /// Any class box clicked: the rating is read again.
    void CheckBox1Click();
    void RadioGroupGenderClick();
    void RadioGroupOVZClick();
    /// The edit mode changed: "В отдельном окне" edits through the dialog,
    /// "В таблице" in the grid's result cells.
    void RadioGroup1Click();
    /// The hint of a cell that is not edited in the grid ("В таблице" only).
    void DBGrid1CellClick(const QString& field);
    void DBGrid1TitleClick(const QString& field);
    /// The background of a row: its status colour, invalid for the normal colours.
    QColor DBGrid1DrawColumnCell(int recNo) const;
    /// An edited row was left or confirmed: its result is written.
    void DBGrid1RowPosted(int recNo);
    /// A typed result was refused: the message says why.
    void DBGrid1EditError(const QString& message);

    /// "Применить к рейтингу": stores the passing scores and sets the statuses
    /// of the ticked classes in one transaction, then reads the rating again at
    /// the same record number.
    void BitBtn2Click();
    /// "Отменить применение": puts back the passing scores and the statuses of
    /// the last apply where nobody changed them since, and says how many.
    void BitBtn5Click();
    /// "Редактировать": result and status of the current row in the dialog.
    void BitBtn3Click();
    /// "Экспорт": the rating as the grid shows it (rows, order) into a new
    /// workbook saved in "Рейтинги" as the event's final rating, then shown;
    /// the grid comes back to its row however the export ends.
    void BitBtn4Click();
    /// The winner box proposes the new maximum plus 0.01.
    void EditWinnerMaxChange();

    /// Ticks the status menu item whose caption is the current row's status.
    void PopupStatusPopup();
    void N1Click();
    void N2Click();
    void N3Click();
    void N4Click();
    void N5Click();

    /// Reads the rating of the chosen event, ticked classes and filters; with
    /// no class ticked shows "Не выбран класс обучения" and keeps the rows.
    void readData();
    /// The ticked classes, e.g. "9,10,11"; empty when none is ticked.
    QString classGroup() const;
    bool checkClass() const;
    /// Opens or closes the editing controls by the chosen event's permission.
    void EditNoEdit();
    /// The three boxes from the chosen event's stored passing scores.
    void fillWinner();
    /// The three boxes by the one rule of the passing scores (numbers, none
    /// negative, in ascending order); shows a message for each refusal.
    bool checkWinner();
    /// Writes one status to the current row and reads the rating again at the
    /// same record number.
    void updateStatus(int code);

    /// The id of the chosen event (0 when none is chosen).
    int chosenEvent() const;
    /// The item index of the gender and the health filter (0 is "ВСЕ").
    int genderIndex() const;
    int ovzIndex() const;
    /// Reads the results of the rows applying would set (chosen event, ticked
    /// classes) for the preview of the passing scores.
    void readPreview();
    /// Recounts the preview from the boxes, in memory.
    void updatePreview();
    TRatingPreview* preview() const { return preview_; }
    /// The status menu.
    QMenu* PopupStatus() const { return PopupStatus_; }

private:
    void eventChange();
    /// The class boxes "1" to "11" in their order.
    QList<QCheckBox*> classBoxes() const;
    /// The rating text of the window's own choice.
    QStringList ownSql() const;
    /// Whether a class is ticked; otherwise says "Не выбран класс обучения"
    /// and closes the export.
    bool classesTicked();
    void rememberRow(const std::function<void()>& change);
    void showScores(const QVariant& min, const QVariant& max, const QVariant& winner);
    /// Keeps the record of the last apply and offers "Отменить применение"
    /// while there is one.
    void offerUndo(std::unique_ptr<TApplyUndo> undo);

    Ui::TFormCeateRatingReg* ui;
    QButtonGroup* gender_;
    QButtonGroup* ovz_;
    QButtonGroup* editMode_;
    QMenu* PopupStatus_;
    TRatingPreview* preview_;
    TEventChoice* events_;
    /// The event the window shows; an apply can be taken back only while it stays.
    int shownEvent_ = -1;
    /// The spreadsheet of the last export; the next export replaces it.
    std::unique_ptr<TExcel> XLAplication;
    std::unique_ptr<TApplyUndo> undo_;
};

/// The most recently opened instance; cleared when it closes.
extern TFormCeateRatingReg* FormCeateRatingReg;
