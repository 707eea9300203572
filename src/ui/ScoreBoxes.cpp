#include "ui/ScoreBoxes.h"

#include "ui/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>

QLineEdit* TScoreBoxes::box(TScoreBox which) const
{
    switch (which) {
    case TScoreBox::Min: return min;
    case TScoreBox::Max: return max;
    case TScoreBox::Winner: return winner;
    }
    return nullptr;
}

void checkScoreBoxesWhenLeft(QWidget* form, const TScoreBoxes& boxes)
{
    for (TScoreBox which : {TScoreBox::Min, TScoreBox::Max, TScoreBox::Winner}) {
        QLineEdit* edit = boxes.box(which);
        QObject::connect(edit, &QLineEdit::editingFinished, form, [form, edit, which] {
            // Enter keeps the focus in the box: the action it starts checks.
            const QWidget* next = QApplication::focusWidget();
            if (edit->hasFocus() || !next || !form->isAncestorOf(next) || qobject_cast<const QAbstractButton*>(next))
                return;
            if (const std::optional<TScoreRefusal> refusal = checkScoreBox(which, edit->text())) {
                edit->setFocus();
                ShowErrorMessage(refusal->message);
            }
        });
    }
}

std::optional<TPassingScores> checkScoreBoxes(const TScoreBoxes& boxes)
{
    const TScoreCheck check = checkPassingScores(boxes.min->text(), boxes.max->text(), boxes.winner->text());
    if (check.ok())
        return check.scores;
    boxes.box(check.refusals.first().box)->setFocus();
    for (const TScoreRefusal& refusal : check.refusals)
        ShowErrorMessage(refusal.message);
    return std::nullopt;
}
