#include "data/Statements.h"

#include "data/Codes.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString ActivePeriod = u"(SELECT `id` FROM `vzl_periods` WHERE `active`=1)"_s;

QString number(int value)
{
    return QString::number(value);
}

} // namespace

QStringList ratingSql(int eventID, const QString& classList, int gender, int ovz)
{
    QString first = u"SELECT A.`id`, concat(B.`surname`,\" \",B.`name`,\" \",B.`patronymic`) as fio,A.classStudy, A.`result`,A.`statusparticipantID`,E.`name`,D.`nameStatus`, A.`userID`"_s;
    if (gender >= 0 || ovz >= 0)
        first += u" FROM  `vzl_areas` E, `vzl_application_reg` A,`vzl_users` B, `vzl_users4add` C, `vzl_statusparticipant` D  WHERE C.`usersID`=A.`userID` and "_s;
    else
        first += u" FROM  `vzl_areas` E,`vzl_application_reg` A,`vzl_users` B, `vzl_statusparticipant` D  WHERE "_s;
    first += u" D.`id`=A.`statusparticipantID` and  E.`id`=A.`areaID` and A.`classStudy` in ("_s;
    first += classList;
    first += u") and A.`levelolimpID`="_s + number(Stage::Regional) + u" and B.`roleID`="_s + number(Role::Pupil)
             + u" and B.`isActive`=1 and A.`userID`=B.`id` and A.`educationlListID_reg`="_s;
    first += number(eventID);
    first += u" and A.`periodID`="_s + ActivePeriod;
    if (gender >= 0)
        first += u" and C.`gender`="_s + number(gender);
    if (ovz >= 0)
        first += u" and C.`ovz`="_s + number(ovz);
    first += u" and D.`id`=A.`statusparticipantID`"_s;
    // The order stands alone on the last line, which a title click replaces.
    return {first, QString(), u" order by  A.`result` DESC"_s};
}

QList<QStringList> statusStatements(int eventID, const QString& classList)
{
    const auto set = [](int status) {
        return u"UPDATE `vzl_application_reg` SET `statusparticipantID`="_s + number(status) + u" WHERE"_s;
    };
    const QString event = u"and `educationlListID_reg`="_s + number(eventID) + u" and `levelolimpID`="_s
                          + number(Stage::Regional);
    const QString classes = u"and `classStudy`in ("_s + classList + u')';
    return {
        {set(Status::Candidate) + u" `periodID`="_s + ActivePeriod,
         classes,
         event},
        {set(Status::Participant) + u" `periodID`="_s + ActivePeriod,
         classes,
         event + u" and `result`>0"_s},
        {set(Status::Winner),
         u"`result`>=:Winner"_s,
         u"and `periodID`="_s + ActivePeriod,
         event,
         classes},
        {set(Status::PrizeWinner),
         u"`result`>=:prizeWinnerMin"_s,
         u"and `result`<=:prizeWinnerMax"_s,
         u"and `periodID`="_s + ActivePeriod,
         event,
         classes},
    };
}

QStringList journalCountSql(int eventID)
{
    return {u"SELECT count(*) as RecordCount"_s,
            u"FROM `vzl_application_reg` A, `vzl_users` B, `vzl_schools` C, `vzl_periods` D, `vzl_statusparticipant` E"_s,
            u"WHERE A.`educationlListID_reg`="_s + number(eventID),
            u"and A.`levelolimpID`="_s + number(Stage::Regional),
            u"and B.`id`=A.`userID`"_s,
            u"and C.`id`=B.`schoolID`"_s,
            u"and D.`id`= A.`periodID`"_s,
            u"and  A.`statusparticipantID`=E.`id`"_s};
}

QString userEventsDeleteSql(const QString& userID)
{
    return u"DELETE FROM `vzl_userseducation_reg` WHERE `periodsID`="_s + ActivePeriod + u" and `usersID`="_s + userID;
}

QString userEventsInsertSql(const QString& userID, const QString& classStudy, const QList<int>& eventIDs)
{
    QString sql = u"INSERT INTO `vzl_userseducation_reg`(`usersID`, `educationListID`, `periodsID`,`classPart`) VALUES "_s;
    for (const int eventID : eventIDs)
        sql += u"("_s + userID + u","_s + number(eventID) + u","_s + ActivePeriod + u","_s + classStudy + u"),"_s;
    sql.chop(1);
    return sql;
}

QString applicationRowsDeleteSql(const QList<int>& ids)
{
    QString sql = u"DELETE FROM `vzl_application_reg` WHERE `id`in ("_s;
    for (const int id : ids)
        sql += number(id) + u',';
    sql.chop(1);
    return sql + u')';
}

QStringList menuPermissionsSql()
{
    return {u"SELECT `MenuItem`,`permission` FROM `vzl_permissionuser` where `roleID`="_s + number(Role::RegionalAdmin)};
}

QStringList workstationVersionSql()
{
    return {u"SELECT `Version` FROM `vzl_updatearm` where`roleID`="_s + number(Role::Workstation)};
}

QString workplaceUpdateSql(int userID)
{
    return u"UPDATE `vzl_users80add` SET `placeWork`=:placeWork,`postWork`=:postWork WHERE `user_id`="_s + number(userID);
}
