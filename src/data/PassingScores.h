#pragma once
// The passing scores of an event as the administrator types them, and the one
// rule that both windows setting them (the passing-score dialog and the rating
// window) apply before anything is written. No display here: a refusal is a
// text and the box it is about.

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

/// The three passing scores of an event.
struct TPassingScores {
    double prizeWinnerMin = 0; ///< "Призер: от"
    double prizeWinnerMax = 0; ///< "до"
    double winner = 0;         ///< "Победитель: от"
};

/// The three boxes a passing score is typed into.
enum class TScoreBox { Min, Max, Winner };

/// Why a typed passing score is refused, and the box it is about.
struct TScoreRefusal {
    TScoreBox box;
    QString message;
};

/// A typed score: a number with the user's decimal separator or with either
/// of "," and "."; blanks around it are ignored. None for an empty text and
/// for anything else that is no number.
///
///     parseScore(u"45.5"_s)   // 45.5 under a Russian locale as well
///     parseScore(u"1e"_s)     // std::nullopt
std::optional<double> parseScore(const QString& text);

/// The refusal of one box's text on its own: empty, not a number, negative.
/// None when the text is a score.
///
///     checkScoreBox(TScoreBox::Max, u"-5"_s)->message   // "Значение \"Призер До\" не может быть отрицательным."
std::optional<TScoreRefusal> checkScoreBox(TScoreBox box, const QString& text);

/// The check of all three boxes.
struct TScoreCheck {
    /// Every refusal, in box order; the order of the scores is checked only
    /// when each box holds a score.
    QList<TScoreRefusal> refusals;
    /// The typed scores, when nothing is refused.
    TPassingScores scores;
    bool ok() const { return refusals.isEmpty(); }
};

/// Checks the three typed scores: each box on its own (checkScoreBox), then
/// minimum < maximum ("Значение \"До\" не может быть меньше или равно значению
/// \"От\"", about the maximum) and maximum < winner ("Значение \"Победитель
/// От\" не может быть меньше или равно значению \" Призер До\"", about the winner).
///
///     checkPassingScores(u"10"_s, u"20,5"_s, u"21"_s).scores.prizeWinnerMax   // 20.5
///     checkPassingScores(u"20"_s, u"10"_s, u"5"_s).refusals.size()            // 2
TScoreCheck checkPassingScores(const QString& min, const QString& max, const QString& winner);

/// The winner score proposed for a typed maximum: the maximum plus 0.01 in the
/// user's number format. None while the maximum is no score (being typed,
/// emptied), so that the winner box keeps its text.
///
///     proposedWinner(u"10"_s)   // "10,01" under a Russian locale
///     proposedWinner(u"-"_s)    // std::nullopt
std::optional<QString> proposedWinner(const QString& max);

/// Why a value typed as a result or a score is none: a negative number. Empty
/// for 0 and more and for an empty value.
///
///     negativeScoreText(-5.0)   // "'-5' меньше нуля"
QString negativeScoreText(const QVariant& value);
