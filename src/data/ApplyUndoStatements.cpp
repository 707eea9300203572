#include "data/ApplyUndoStatements.h"

using namespace Qt::Literals::StringLiterals;

namespace {
const QString ActivePeriod = u"(SELECT `id` FROM `vzl_periods` WHERE `active`=1)"_s;
} // namespace

QStringList applyRowsStatusSql(int eventID, const QString& classList)
{
    return {
        u"SELECT `id`,`statusparticipantID` FROM `vzl_application_reg` WHERE `periodID`="_s + ActivePeriod,
        u"and `classStudy`in ("_s + classList + u')',
        u"and `educationlListID_reg`="_s + QString::number(eventID) + u" and `levelolimpID`=3"_s,
        u"FOR UPDATE"_s,
    };
}

QStringList storedScoresSql()
{
    return {
        u"SELECT `prizeWinnerMin`,`prizeWinnerMax`,`Winner` FROM `vzl_educationallist_reg`"_s,
        u"WHERE `id`=:eduID"_s,
        u"FOR UPDATE"_s,
    };
}

QStringList restoreScoresSql()
{
    return {
        u"UPDATE `vzl_educationallist_reg`"_s,
        u"SET `prizeWinnerMin`=:oldMin,`prizeWinnerMax`=:oldMax,`Winner`=:oldWinner"_s,
        u"WHERE `id`=:eduID and `prizeWinnerMin`<=>:newMin and `prizeWinnerMax`<=>:newMax and `Winner`<=>:newWinner"_s,
    };
}

QList<QStringList> restoreStatusSql(int written, int old, const QList<int>& ids, int perStatement)
{
    QList<QStringList> statements;
    const int step = std::max(1, perStatement);
    for (qsizetype from = 0; from < ids.size(); from += step) {
        QString list;
        list.reserve(step * 7);
        const qsizetype to = std::min(ids.size(), from + step);
        for (qsizetype k = from; k < to; ++k) {
            if (k > from)
                list += u',';
            list += QString::number(ids.at(k));
        }
        statements.append({u"UPDATE `vzl_application_reg` SET `statusparticipantID`="_s + QString::number(old),
                           u"WHERE `statusparticipantID`="_s + QString::number(written) + u" and `id` in ("_s + list
                               + u')'});
    }
    return statements;
}
