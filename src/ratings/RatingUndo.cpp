#include "ratings/RatingUndo.h"

#include "data/ApplyUndoStatements.h"
#include "data/DataZRT.h"

#include <QMap>
#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

/// Two stored values alike: both empty, or both the same number.
bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.toDouble() == b.toDouble();
}

/// The scratch query made ready for the lines (closed, parameters to be set).
TQuery* scratch(const QStringList& lines)
{
    TQuery* q = DataZRT->emptySQL;
    q->Close();
    q->SQL() = lines;
    return q;
}

} // namespace

bool TStoredScores::operator==(const TStoredScores& other) const
{
    return sameValue(prizeWinnerMin, other.prizeWinnerMin) && sameValue(prizeWinnerMax, other.prizeWinnerMax)
           && sameValue(winner, other.winner);
}

TApplySnapshot TApplySnapshot::read(int eventID, const QString& classList)
{
    TApplySnapshot s;
    s.eventID = eventID;
    TQuery* q = scratch(storedScoresSql());
    q->ParamByName(u"eduID"_s).setAsInteger(eventID);
    q->Open();
    if (!q->IsEmpty())
        s.scores = {q->value(0, 0), q->value(0, 1), q->value(0, 2)};
    q->Close();

    q = scratch(applyRowsStatusSql(eventID, classList));
    q->Open();
    s.statuses.reserve(q->RecordCount());
    for (int row = 0; row < q->RecordCount(); ++row)
        s.statuses.insert(q->value(row, 0).toInt(), q->value(row, 1).toInt());
    q->Close();
    return s;
}

TApplyUndo::TApplyUndo(const TApplySnapshot& before, const TApplySnapshot& after)
    : eventID_(before.eventID)
    , before_(before.scores)
    , written_(after.scores)
{
    QMap<std::pair<int, int>, QList<int>> byPair;
    for (auto it = after.statuses.cbegin(); it != after.statuses.cend(); ++it) {
        const auto old = before.statuses.constFind(it.key());
        if (old == before.statuses.cend() || old.value() == it.value())
            continue;
        byPair[{it.value(), old.value()}].append(it.key());
        ++changed_;
    }
    for (auto it = byPair.begin(); it != byPair.end(); ++it) {
        std::sort(it.value().begin(), it.value().end());
        groups_.append({it.key().first, it.key().second, it.value()});
    }
}

TUndoResult TApplyUndo::run() const
{
    TUndoResult result;
    DataZRT->FDConnection1.inTransaction([&] {
        result = {};
        result.scores = before_ == written_ ? TUndoResult::Scores::Unchanged : TUndoResult::Scores::Restored;
        if (result.scores == TUndoResult::Scores::Restored) {
            TQuery* q = scratch(restoreScoresSql());
            q->ParamByName(u"eduID"_s).setAsInteger(eventID_);
            q->ParamByName(u"oldMin"_s).setValue(before_.prizeWinnerMin);
            q->ParamByName(u"oldMax"_s).setValue(before_.prizeWinnerMax);
            q->ParamByName(u"oldWinner"_s).setValue(before_.winner);
            q->ParamByName(u"newMin"_s).setValue(written_.prizeWinnerMin);
            q->ParamByName(u"newMax"_s).setValue(written_.prizeWinnerMax);
            q->ParamByName(u"newWinner"_s).setValue(written_.winner);
            q->ExecSQL();
            if (q->RowsAffected() == 0)
                result.scores = TUndoResult::Scores::Left;
        }
        for (const Group& g : groups_) {
            for (const QStringList& statement : restoreStatusSql(g.written, g.old, g.ids)) {
                TQuery* q = scratch(statement);
                q->ExecSQL();
                result.restored += q->RowsAffected();
            }
        }
    });
    result.left = changed_ - result.restored;
    return result;
}

QString undoReportText(const TUndoResult& result)
{
    QString text = u"Применение отменено.\n\rВосстановлено статусов: %1.\n\r"
                   "Оставлено как есть, потому что их изменили после применения: %2."_s
                       .arg(result.restored)
                       .arg(result.left);
    switch (result.scores) {
    case TUndoResult::Scores::Restored:
        return text + u"\n\rПроходные баллы восстановлены."_s;
    case TUndoResult::Scores::Left:
        return text + u"\n\rПроходные баллы изменены после применения и оставлены как есть."_s;
    case TUndoResult::Scores::Unchanged:
        break;
    }
    return text;
}
