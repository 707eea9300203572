#pragma once
// What "Применить к рейтингу" will change before it runs: for the rows it sets,
// their status now against the status the typed passing scores give, counted
// by old and new status, with the statuses set by hand that it overwrites.
// Worked out in memory from rows read once per event or class change.

#include "ratings/RatingRules.h"
#include "data/Codes.h"

#include <QList>
#include <QMap>
#include <QString>
#include <optional>

/// One row that applying sets: its id, result and present status.
struct TRatingRow {
    int id = 0;
    std::optional<double> result;
    int status = Status::Candidate;
};

/// The rows that applying sets, with the stored names of their statuses.
struct TRatingRows {
    QList<TRatingRow> rows;
    /// Status code -> its name in the database (codes without a row are missing).
    QMap<int, QString> statusNames;

    /// The results alone, as the counts and the histogram take them.
    QList<std::optional<double>> results() const;
};

/// Reads the rows that applying sets for an event and a class list (one
/// statement); no rows for an empty class list, without a statement.
///
///     preview->setRows(readApplyRows(chosenEvent(), classGroup()));
TRatingRows readApplyRows(int eventID, const QString& classList);

/// Whether a status is one the computation never writes, so that only a
/// person can have set it: everything but 1, 4, 7 and 10 ("Не прибыл" 15 from
/// the status menu, 8 and 9 from the editing dialog, any other code).
///
///     isSetByHand(15)   // true
///     isSetByHand(10)   // false
bool isSetByHand(int status);

/// The rows going from one status to another.
struct TStatusChange {
    int from = 0;
    int to = 0;
    int count = 0;
    bool operator==(const TStatusChange&) const = default;
};

/// How the statuses of the rows would change.
struct TChangeSummary {
    /// Each pair of old and new status with its rows, most rows first (then by
    /// old and new code).
    QList<TStatusChange> changes;
    /// Rows whose status would change.
    int changed = 0;
};

/// Compares every row's status with the one ratingStatus gives its result.
///
///     summarizeChanges({{1, 25, 10}, {2, 9.5, 15}, {3, 20, 10}}, {10, 20, 21})
///     // changed 2: {10 -> 7: 1}, {15 -> 4: 1}
TChangeSummary summarizeChanges(const QList<TRatingRow>& rows, const TPassingScores& scores);

/// The rows whose status was set by hand, by status code; applying overwrites
/// every one of them, whatever the scores.
///
///     setByHandStatuses({{1, 25, 15}, {2, 9.5, 15}, {3, 20, 8}})   // {8: 1, 15: 2}
QMap<int, int> setByHandStatuses(const QList<TRatingRow>& rows);

/// The short name of a status in the summary: a word for the codes the
/// program names, the stored name for the others, "статус N" when there is none.
///
///     statusShortName(10, {})                                 // "Призер"
///     statusShortName(8, {{8, u"Победитель заключительного этапа"_s}})
QString statusShortName(int code, const QMap<int, QString>& stored);

/// The line of the changes: how many rows change and each pair of statuses;
/// a dash when the scores cannot be applied.
///
///     changesText(summary, names)   // "Изменят статус: 14 — Призер → Участник: 12; Кандидат → Победитель: 2"
///     changesText(std::nullopt, names)   // "Изменят статус: —"
QString changesText(const std::optional<TChangeSummary>& summary, const QMap<int, QString>& names);

/// The line of the statuses set by hand that applying overwrites.
///
///     setByHandText({{15, 3}}, names)   // "Будут перезаписаны статусы, выставленные вручную: 3 (Не прибыл: 3)"
///     setByHandText({}, names)          // "Статусов, выставленных вручную, нет"
QString setByHandText(const QMap<int, int>& setByHand, const QMap<int, QString>& names);
