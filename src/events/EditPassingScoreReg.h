#pragma once
// The dialog that sets the three passing scores of one regional event.

#include "data/PassingScores.h"

#include <QDialog>

namespace Ui {
class TFormEditPassingScoreReg;
}

/// Modal dialog with the three passing scores of one event. Typing the
/// prize-winner maximum proposes the winner score: the maximum plus 0.01.
/// "Установить" closes it only when the three values pass the one rule of the
/// passing scores (data/PassingScores.h); otherwise the refusals are shown and
/// the dialog stays open with what was typed. A box is checked when it is left.
///
///     TFormEditPassingScoreReg dlg;
///     dlg.setValues(name, min, max, winner);
///     if (TDialogs::ShowModal(dlg) == QDialog::Accepted) ... dlg.scores() ...
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
    /// The typed scores; valid once the dialog closed with OK.
    TPassingScores scores() const;

    /// The focus goes to the minimum.
    void FormShow();
    /// "Установить": closes with OK when the scores are taken.
    void BitBtn1Click();
    /// Writes the maximum plus 0.01 into the winner field; while the maximum
    /// is no score (being typed, emptied) the winner field keeps its text.
    void EditprizeWinnerMaxChange();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui::TFormEditPassingScoreReg* ui;
};

/// Set while the dialog exists.
extern TFormEditPassingScoreReg* FormEditPassingScoreReg;
