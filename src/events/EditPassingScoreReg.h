#pragma once
// The dialog that sets the three passing scores of one regional event.

#include <QDialog>

namespace Ui {
class TFormEditPassingScoreReg;
}

/// Modal dialog with the three passing scores of one event. Typing the
/// prize-winner maximum proposes the winner score: the maximum plus 0.01.
///
///     TFormEditPassingScoreReg dlg;
///     dlg.setValues(name, min, max, winner);
///     if (TDialogs::ShowModal(dlg) == QDialog::Accepted) ... dlg.minText() ...
class TFormEditPassingScoreReg : public QDialog {
    Q_OBJECT
public:
    explicit TFormEditPassingScoreReg(QWidget* parent = nullptr);
    ~TFormEditPassingScoreReg() override;

    /// Fills the dialog in this order: name, minimum, maximum (which proposes
    /// a winner score), winner, so the winner score given here is the one shown.
    void setValues(const QString& nameEdu, const QString& prizeWinnerMin,
                   const QString& prizeWinnerMax, const QString& winner);
    QString minText() const;
    QString maxText() const;
    QString winnerText() const;

    /// The focus goes to the minimum.
    void FormShow();
    /// Writes the maximum plus 0.01 into the winner field; a text that is not
    /// a number throws EConvertError and leaves the winner field as it is.
    void EditprizeWinnerMaxChange();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// A change of the maximum: a refused text is reported at once, or, when
    /// it was typed, once the key is released, so that the keystroke ends in
    /// the field before the message takes the focus.
    void maxChanged();
    void reportPending();

    Ui::TFormEditPassingScoreReg* ui;
    bool keyDown_ = false;
    QString pendingError_;
};

/// Set while the dialog exists.
extern TFormEditPassingScoreReg* FormEditPassingScoreReg;
