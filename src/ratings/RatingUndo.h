#pragma once
// Taking back the last "Применить к рейтингу": inside the apply's transaction
// the event's passing scores and the statuses of the rows it sets are read
// before and after the status statements; the difference is the undo record.
// Undoing puts back the scores and every status the apply changed, in one
// transaction, where nothing has changed them since.

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

/// The three passing scores of an event as stored (an empty value stays NULL).
struct TStoredScores {
    QVariant prizeWinnerMin;
    QVariant prizeWinnerMax;
    QVariant winner;
    bool operator==(const TStoredScores& other) const;
};

/// The event's passing scores and the status of every row applying sets
/// (chosen event, listed classes), at one moment of the apply's transaction.
struct TApplySnapshot {
    int eventID = 0;
    TStoredScores scores;
    /// Row id -> status.
    QHash<int, int> statuses;

    /// Reads and locks them until the transaction ends (two statements); call
    /// it inside the apply's transaction, before and after its statements.
    ///
    ///     DataZRT->FDConnection1.inTransaction([&] {
    ///         const TApplySnapshot before = TApplySnapshot::read(12, u"9,10,11"_s);
    ///         ... scores and status statements ...
    ///         undo = TApplyUndo(before, TApplySnapshot::read(12, u"9,10,11"_s));
    ///     });
    static TApplySnapshot read(int eventID, const QString& classList);
};

/// What undoing did.
struct TUndoResult {
    /// Statuses set back to what they were before the apply.
    int restored = 0;
    /// Statuses the apply wrote that were changed since (or whose rows are
    /// gone): left as they are.
    int left = 0;
    enum class Scores {
        Restored,  ///< put back
        Unchanged, ///< the apply wrote the scores that were stored already
        Left,      ///< changed since the apply: left as they are
    };
    Scores scores = Scores::Restored;
    bool operator==(const TUndoResult&) const = default;
};

/// The undo record of one apply.
///
///     TApplyUndo undo(before, after);
///     const TUndoResult done = undo.run();   // throws EDatabaseError, nothing changed then
///     ShowInformation(undoReportText(done));
class TApplyUndo {
public:
    /// Rows that went from one status to another, sharing both.
    struct Group {
        int written = 0; ///< the status the apply wrote
        int old = 0;     ///< the status before it
        QList<int> ids;  ///< ascending
    };

    /// The record of the rows whose status differs between the snapshots
    /// (rows missing from one of them are not the apply's own change).
    TApplyUndo(const TApplySnapshot& before, const TApplySnapshot& after);

    int eventID() const { return eventID_; }
    /// The passing scores before the apply: what undoing writes back.
    const TStoredScores& scoresBefore() const { return before_; }
    const TStoredScores& scoresWritten() const { return written_; }
    /// Rows whose status the apply changed.
    int changedRows() const { return changed_; }
    /// By status written, then old status.
    const QList<Group>& groups() const { return groups_; }

    /// In one transaction: the scores back while they are still the written
    /// ones, then one statement per group (per 5,000 rows) setting its rows
    /// back where they still hold the written status. A failure rolls all of it
    /// back and is thrown.
    TUndoResult run() const;

private:
    int eventID_ = 0;
    TStoredScores before_;
    TStoredScores written_;
    int changed_ = 0;
    QList<Group> groups_;
};

/// The message after undoing, lines broken by LF CR.
///
///     undoReportText({12, 1, TUndoResult::Scores::Restored})
///     // "Применение отменено.\n\rВосстановлено статусов: 12.\n\rОставлено как есть, потому что их
///     //  изменили после применения: 1.\n\rПроходные баллы восстановлены."
QString undoReportText(const TUndoResult& result);
