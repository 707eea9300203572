#pragma once
// The rules of the rating that need no window and no database: which status a
// result earns under the passing scores, the class list and the counts of the
// statuses. The statements of the rating are in data/Statements.h.

#include "data/PassingScores.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>


/// The status a result earns, by the four steps in their order, a later one
/// overriding an earlier one: 1 for every row, 4 for a result above 0, 7 from
/// the winner score upward, 10 from the lowest to the highest prize-winner
/// score (both included). No result stays 1. The statements of
/// statusStatements() (data/Statements.h) set exactly these statuses.
///
///     ratingStatus(21, {10, 20, 21})        // 7
///     ratingStatus(20, {10, 20, 21})        // 10
///     ratingStatus(9.5, {10, 20, 21})       // 4
///     ratingStatus(std::nullopt, {10, 20, 21})   // 1
int ratingStatus(std::optional<double> result, const TPassingScores& scores);

/// A stored result as ratingStatus takes it: empty for NULL.
///
///     ratingResult(q->value(row, u"result"_s))
std::optional<double> ratingResult(const QVariant& value);

/// The ticked classes as the statements name them: numbers joined by commas,
/// no blanks; empty when none is ticked. ticked[0] is class 1.
///
///     classListText({false, ..., true, true, true})   // "9,10,11"
QString classListText(const QList<bool>& ticked);

/// How many rows get each status under the passing scores, and how many have
/// a result above 0 (the base of the shares).
struct TStatusCounts {
    int winners = 0;
    int prizeWinners = 0;
    int participants = 0;
    int candidates = 0;
    int withResult = 0;
};

/// Counts the statuses ratingStatus gives the results.
///
///     countStatuses({25, 20, 9.5, std::nullopt}, {10, 20, 21})   // 1, 1, 1, 1; 3 with a result
TStatusCounts countStatuses(const QList<std::optional<double>>& results, const TPassingScores& scores);

/// The passing scores typed into the three boxes; empty when
/// checkPassingScores refuses them (what "Применить к рейтингу" refuses).
///
///     typedScores(u"10,5"_s, u"20"_s, u"21"_s)   // {10.5, 20, 21} under a Russian locale
std::optional<TPassingScores> typedScores(const QString& min, const QString& max, const QString& winner);
