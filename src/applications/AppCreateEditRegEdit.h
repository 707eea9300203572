#pragma once
// The dialog that sets the details of one application row or of a group of
// rows: accompanying person, venue, hotel, arrival and departure dates.

#include <QDate>
#include <QDialog>
#include <QVariant>

namespace Ui {
class TFormAppCreateEditRegEdit;
}
class TDBLookupComboBox;

/// Modal dialog "Изменение реквизитов заявки". Its lists of accompanying
/// persons and venues are open while it exists. "Применить" closes it only
/// when both are chosen and the departure is not before the arrival; "Отмена"
/// and the close box always close it.
///
///     TFormAppCreateEditRegEdit dlg;
///     dlg.setCaptionText(u"Групповое изменение - 3 чел."_s);
///     if (TDialogs::ShowModal(dlg) == QDialog::Accepted)
///         write(dlg.DBLookupMaintainer()->keyAsInteger(), dlg.DBLookupAreaAction()->keyAsInteger(),
///               dlg.ItemIndex(), dlg.dateIn(), dlg.dateOut());
class TFormAppCreateEditRegEdit : public QDialog {
    Q_OBJECT
public:
    explicit TFormAppCreateEditRegEdit(QWidget* parent = nullptr);
    /// FormDestroy: closes the lists of accompanying persons and venues.
    ~TFormAppCreateEditRegEdit() override;

    /// Opens the lists of accompanying persons and venues.
    void FormCreate();
    /// Whether the dialog may close with this result: OK only when checkAnswer holds.
    bool FormCloseQuery(int result);
    /// Both drop-downs must show a choice and the departure may not come
    /// before the arrival; the first wrong control gets the focus and its
    /// error box. Returns whether the answer can be written.
    bool checkAnswer();
    /// The refusal of a departure before the arrival.
    ///
    ///     TFormAppCreateEditRegEdit::departureBeforeArrivalText()   // "Дата выезда не может быть раньше даты заезда"
    static QString departureBeforeArrivalText();

    void setCaptionText(const QString& text);
    QString captionText() const;

    /// The hotel choice: 0 "Нет", 1 "Да" (-1 when neither is set).
    int ItemIndex() const;
    void setItemIndex(int index);

    QDate dateIn() const;
    QDate dateOut() const;
    void setDateIn(const QDate& date);
    void setDateOut(const QDate& date);

    TDBLookupComboBox* DBLookupMaintainer() const;
    TDBLookupComboBox* DBLookupAreaAction() const;

    void done(int result) override;

private:
    Ui::TFormAppCreateEditRegEdit* ui;
};

/// The dialog while it is open; cleared when it is destroyed.
extern TFormAppCreateEditRegEdit* FormAppCreateEditRegEdit;
