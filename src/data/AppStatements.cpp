#include "data/AppStatements.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// FROM and WHERE of the short application, shared by its count and its rows.
QStringList shortFromWhere(const QString& level, int event)
{
    QStringList l = {
        u"FROM `vzl_users` A ,`vzl_application_reg` O, `vzl_areas` F,`vzl_maintainer` J"_s,
        u"WHERE"_s,
        u"O.`userID`=A.`id`"_s,
        u"and `levelolimpID`="_s + level,
        u"and O.`periodID`=(SELECT `id` FROM `vzl_periods` WHERE `active`=1)"_s,
    };
    if (event > 0)
        l << u"and O.`educationlListID_reg`="_s + QString::number(event);
    l << u"and J.`id`=O.`maintainerID`"_s
      << u"and F.id=O.`actionareaID`"_s;
    return l;
}

// FROM and WHERE of the full application without the event filter, shared by
// its count and its rows.
QStringList fullFromWhere(const QString& level)
{
    return {
        u"FROM `vzl_application_reg` A, `vzl_users` B ,`vzl_users4add` C, `vzl_schools` D,`vzl_statusparticipant` E, `vzl_areas` J, `vzl_educationallist_reg` I"_s,
        u",`vzl_maintainer` L, `vzl_areas` M"_s,
        u"WHERE"_s,
        u"A.`levelolimpID`="_s + level,
        u"and A.`userID`=B.`id`"_s,
        u"and A.`periodID`=(SELECT `id` FROM `vzl_periods` WHERE `active`=1)"_s,
        u"and B.`roleID`=4"_s,
        u"and C.`usersID`=B.`id`"_s,
        u"and B.`schoolID`=D.`id`"_s,
        u"and E.`id`=A.`statusparticipantID`"_s,
        u"and J.`id`=A.`actionareaID`"_s,
        u"and A.`educationlListID_reg`=I.`id`"_s,
        u"and L.`id`=A.`maintainerID`"_s,
        u"and M.`id`=B.`areaID`"_s,
    };
}

} // namespace

QStringList shortCountSql(const QString& level, int event)
{
    return QStringList{u"SELECT count(*) as RecordCount"_s} + shortFromWhere(level, event);
}

QStringList shortRowsSql(const QString& level, int event)
{
    return QStringList{
        u"SELECT (SELECT `nameEdu` FROM `vzl_educationallist_reg` WHERE id=O.`educationlListID_reg`) as nameEdu, A.`surname`,A.`name`,A.`patronymic`, F.name as actionarea,"_s,
        u"CASE"_s,
        u"WHEN O.`hotel` = 1 THEN \"Да\""_s,
        u"WHEN O.`hotel` = 0   THEN \"Нет\""_s,
        u"ELSE \"Не опр.\""_s,
        u"END AS hotelU"_s,
        u",O.`dateIn`,O.`dateOut`,A.`phone`,"_s,
        u"CASE"_s,
        u"WHEN O.`hotel` = 1 THEN \"Да\""_s,
        u"WHEN O.`hotel` = 0   THEN \"Нет\""_s,
        u"ELSE \"Не опр.\""_s,
        u"END AS hotelM,"_s,
        u"J.`surname` as surnameM, J.`name` as nameM, J.`patronymic` as patronymicM, J.`dateIn` as  dateInM, J.`dateOut` as dateOutM,"_s,
        u"J.`phone` as phoneM, J.`post`, J.`educationalOrg`, J.`eMail` as eMailM"_s,
    } + shortFromWhere(level, event);
}

QStringList fullCountSql(const QString& level, int event)
{
    QStringList l = QStringList{u"SELECT count(*) as RecordCount"_s} + fullFromWhere(level);
    if (event > 0)
        l << u"and A.`educationlListID_reg`="_s + QString::number(event);
    return l;
}

QStringList fullRowsSql(const QString& level, int event)
{
    QStringList l = {
        u"SELECT DISTINCT B.`surname`as param1, B.`name` as param2, B.`patronymic` as param3,"_s,
        u"CASE"_s,
        u"WHEN C.`gender` = 1 THEN \"М\""_s,
        u"WHEN C.`gender` = 0   THEN \"Ж\""_s,
        u"ELSE \"Не опр.\""_s,
        u"END as param4,"_s,
        u"C.`birthday` as param5, C.`citizenship` as param6,"_s,
        u"CASE"_s,
        u"WHEN C.`ovz` = 1 THEN \"Имеются\""_s,
        u"WHEN C.`ovz` = 0   THEN \"Не имеются\""_s,
        u"ELSE \"Не опр.\""_s,
        u"END as param7,"_s,
        u"D.`fullname` as param8,A.`classStudy` as param9, E.`nameStatus` as param10, A.`result` as param11,"_s,
        u"case when D.`adress` IS NULL or D.`adress` = \"\""_s,
        u"then \"Не определен\""_s,
        u"else D.`adress`"_s,
        u"end as param12,"_s,
        u"D.`name` as param13, J.`name` as param14,A.`classStudy` as param15,A.`classPart` as param151, I.`nameEdu` as param16,"_s,
        u"CASE"_s,
        u"WHEN A.`hotel` = 1 THEN \"Да\""_s,
        u"WHEN A.`hotel` = 0   THEN \"Нет\""_s,
        u"ELSE \"Не опр.\""_s,
        u"END as param17,"_s,
        u"A.dateIn as param18, A.dateOut as param19,  B.`phone` as param20,"_s,
        u"\"\" as param21,\"\" as param22,\"\" as param23,\"\" as param24,\"\" as param25,\"\" as param26, J.`name` as param27,"_s,
        u"L.`surname` as param28,L.`name` as param29,L.`patronymic` as param30,"_s,
        u"CASE"_s,
        u"WHEN L.`hotel` = 1 THEN \"Да\""_s,
        u"WHEN L.`hotel` = 0   THEN \"Нет\""_s,
        u"ELSE \"Не опр.\""_s,
        u"END  as param31,"_s,
        u"L.`post` as param32,L.`educationalOrg` as param33,L.`eMail` as param34,L.`phone` as param35,L.`dateIn` as param36,L.`dateOut` as param37"_s,
    };
    l += fullFromWhere(level);
    if (event > 0)
        l << u" and A.`educationlListID_reg`="_s + QString::number(event);
    l << u"order by param16,param1,param2,param3"_s;
    return l;
}
