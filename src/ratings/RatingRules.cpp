#include "ratings/RatingRules.h"

#include "data/Codes.h"
#include "data/Errors.h"
#include "data/Format.h"

using namespace Qt::Literals::StringLiterals;

int ratingStatus(std::optional<double> result, const TPassingScores& scores)
{
    int status = Status::Candidate;
    if (!result)
        return status;
    const double r = *result;
    if (r > 0)
        status = Status::Participant;
    if (r >= scores.winner)
        status = Status::Winner;
    if (r >= scores.prizeWinnerMin && r <= scores.prizeWinnerMax)
        status = Status::PrizeWinner;
    return status;
}

std::optional<double> ratingResult(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toDouble();
}

QString classListText(const QList<bool>& ticked)
{
    QString list;
    for (int k = 0; k < ticked.size(); ++k)
        if (ticked.at(k))
            list += QString::number(k + 1) + u',';
    list.chop(1);
    return list;
}

QStringList ratingSql(int eventID, const QString& classList, int gender, int ovz)
{
    QString first = u"SELECT A.`id`, concat(B.`surname`,\" \",B.`name`,\" \",B.`patronymic`) as fio,A.classStudy, A.`result`,A.`statusparticipantID`,E.`name`,D.`nameStatus`, A.`userID`"_s;
    if (gender >= 0 || ovz >= 0)
        first += u" FROM  `vzl_areas` E, `vzl_application_reg` A,`vzl_users` B, `vzl_users4add` C, `vzl_statusparticipant` D  WHERE C.`usersID`=A.`userID` and "_s;
    else
        first += u" FROM  `vzl_areas` E,`vzl_application_reg` A,`vzl_users` B, `vzl_statusparticipant` D  WHERE "_s;
    first += u" D.`id`=A.`statusparticipantID` and  E.`id`=A.`areaID` and A.`classStudy` in ("_s;
    first += classList;
    first += u") and A.`levelolimpID`=3 and B.`roleID`=4 and B.`isActive`=1 and A.`userID`=B.`id` and A.`educationlListID_reg`="_s;
    first += QString::number(eventID);
    first += u" and A.`periodID`=(SELECT `id` FROM `vzl_periods` WHERE `active`=1)"_s;
    if (gender >= 0)
        first += u" and C.`gender`="_s + QString::number(gender);
    if (ovz >= 0)
        first += u" and C.`ovz`="_s + QString::number(ovz);
    first += u" and D.`id`=A.`statusparticipantID`"_s;
    // The order stands alone on the last line, which a title click replaces.
    return {first, QString(), u" order by  A.`result` DESC"_s};
}

QList<QStringList> statusStatements(int eventID, const QString& classList)
{
    const QString period = u"(SELECT `id` FROM `vzl_periods` WHERE `active`=1)"_s;
    const QString key = QString::number(eventID);
    const QString classes = u"and `classStudy`in ("_s + classList + u')';
    return {
        {u"UPDATE `vzl_application_reg` SET `statusparticipantID`=1 WHERE `periodID`="_s + period,
         classes,
         u"and `educationlListID_reg`="_s + key + u" and `levelolimpID`=3"_s},
        {u"UPDATE `vzl_application_reg` SET `statusparticipantID`=4 WHERE `periodID`="_s + period,
         classes,
         u"and `educationlListID_reg`="_s + key + u" and `levelolimpID`=3 and `result`>0"_s},
        {u"UPDATE `vzl_application_reg` SET `statusparticipantID`=7 WHERE"_s,
         u"`result`>=:Winner"_s,
         u"and `periodID`="_s + period,
         u"and `educationlListID_reg`="_s + key + u" and `levelolimpID`=3"_s,
         classes},
        {u"UPDATE `vzl_application_reg` SET `statusparticipantID`=10 WHERE"_s,
         u"`result`>=:prizeWinnerMin"_s,
         u"and `result`<=:prizeWinnerMax"_s,
         u"and `periodID`="_s + period,
         u"and `educationlListID_reg`="_s + key + u" and `levelolimpID`=3"_s,
         classes},
    };
}

TStatusCounts countStatuses(const QList<std::optional<double>>& results, const TPassingScores& scores)
{
    TStatusCounts counts;
    for (const std::optional<double>& result : results) {
        if (result && *result > 0)
            ++counts.withResult;
        switch (ratingStatus(result, scores)) {
        case Status::Winner:
            ++counts.winners;
            break;
        case Status::PrizeWinner:
            ++counts.prizeWinners;
            break;
        case Status::Participant:
            ++counts.participants;
            break;
        default:
            ++counts.candidates;
        }
    }
    return counts;
}

std::optional<TPassingScores> typedScores(const QString& min, const QString& max, const QString& winner)
{
    const TScoreCheck check = checkPassingScores(min, max, winner);
    if (!check.ok())
        return std::nullopt;
    return check.scores;
}
