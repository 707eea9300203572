#pragma once
// The three boxes of passing scores as a window shows them (the passing-score
// dialog, the rating window): each box is checked when it is left, all three
// when they are to be written, by the one rule of data/PassingScores.h.

#include "data/PassingScores.h"

#include <optional>

class QLineEdit;
class QWidget;

/// The three score boxes of a window, minimum, maximum and winner.
struct TScoreBoxes {
    QLineEdit* min;
    QLineEdit* max;
    QLineEdit* winner;

    /// The box a refusal is about.
    QLineEdit* box(TScoreBox which) const;
};

/// Checks each box when the focus leaves it for another control of form that
/// is no button (a button's own action checks what it needs, and "Отмена"
/// must not be held up): a refused text is shown in an error box and the box
/// gets the focus back with its text as typed. Nothing is checked while typing.
///
///     checkScoreBoxesWhenLeft(this, {ui->EditWinnerMin, ui->EditWinnerMax, ui->EditWinner});
void checkScoreBoxesWhenLeft(QWidget* form, const TScoreBoxes& boxes);

/// Checks the three boxes before they are written: each refusal in an error
/// box, in order, the focus in the first refused box; the typed scores when
/// nothing is refused.
///
///     const std::optional<TPassingScores> scores = checkScoreBoxes({min, max, winner});
///     if (!scores) return;   // nothing written, the boxes keep what was typed
std::optional<TPassingScores> checkScoreBoxes(const TScoreBoxes& boxes);
