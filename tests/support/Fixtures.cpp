#include "support/Fixtures.h"

#include "data/DataZRT.h"

using namespace Qt::Literals::StringLiterals;

namespace {
QString sqlValue(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return u"NULL"_s;
    if (v.typeId() == QMetaType::QString)
        return u"'"_s + v.toString().replace(u"'"_s, u"''"_s) + u"'"_s;
    if (v.typeId() == QMetaType::QDate)
        return u"'"_s + v.toDate().toString(Qt::ISODate) + u"'"_s;
    return v.toString();
}
} // namespace

Fixture::Fixture(TestDb& db)
    : db_(db)
{
    db_.exec(u"INSERT INTO vzl_periods(id,name,active,dateEnd) VALUES (1,'2024-2025',0,'2025-05-31'),(2,'2025-2026',1,'2026-05-31')"_s);
    db_.exec(u"INSERT INTO vzl_areas(id,name) VALUES (1,'г. Велград')"_s);
    db_.exec(u"INSERT INTO vzl_schools(id,name,fullname,adress,areaID) VALUES "
             "(1,'МБОУ СОШ №1','Муниципальное бюджетное общеобразовательное учреждение \"Средняя школа №1\"','ул. Ленина, 1',1)"_s);
    db_.exec(u"INSERT INTO vzl_users(id,surname,name,patronymic,email,areaID,roleID) VALUES "
             "(501,'Кириллова','Анна','Петровна','admin@velgrad.example',1,54280)"_s);
}

int Fixture::event(const QString& nameEdu, int period, int permission, int subjectsID, const QDate& dateEnd)
{
    const int id = ++next_;
    const int p = period ? period : activePeriod_;
    db_.exec(u"INSERT INTO vzl_educationallist_reg(id,nameEdu,isActive,idPeriod,dateStart,dateEnd,actionAreaID,permission,permissionDiplom,SubjectsID) "
             "VALUES (%1,%2,1,%3,%4,%5,%6,%7,%7,%8)"_s
                 .arg(id).arg(sqlValue(nameEdu)).arg(p).arg(sqlValue(dateEnd.addDays(-1))).arg(sqlValue(dateEnd))
                 .arg(area_).arg(permission).arg(sqlValue(subjectsID ? QVariant(subjectsID) : QVariant())));
    db_.exec(u"INSERT INTO vzl_userseducation(usersID,educationListID,periodsID) VALUES (%1,%2,%3)"_s.arg(admin_).arg(id).arg(p));
    return id;
}

int Fixture::pupil(const PupilRow& row)
{
    const int id = ++next_;
    db_.exec(u"INSERT INTO vzl_users(id,surname,name,patronymic,phone,areaID,schoolID,roleID,isActive) VALUES (%1,%2,%3,%4,'+79000000000',%5,%6,4,%7)"_s
                 .arg(id).arg(sqlValue(row.surname), sqlValue(row.name), sqlValue(row.patronymic))
                 .arg(row.areaID ? row.areaID : area_).arg(row.schoolID ? row.schoolID : school_).arg(row.active ? 1 : 0));
    if (row.details)
        db_.exec(u"INSERT INTO vzl_users4add(usersID,classStudy,gender,ovz,birthday,citizenship) VALUES (%1,%2,%3,%4,'2009-04-01','Да')"_s
                     .arg(id).arg(row.classStudy).arg(sqlValue(row.gender), sqlValue(row.ovz)));
    return id;
}

int Fixture::maintainer(const QString& surname)
{
    const int id = ++next_;
    db_.exec(u"INSERT INTO vzl_maintainer(id,surname,name,patronymic,post,educationalOrg,eMail,phone,areaID,hotel) "
             "VALUES (%1,%2,'Ирина','Павловна','Учитель','МБОУ СОШ №1','m@velgrad.example','+79001112233',%3,1)"_s
                 .arg(id).arg(sqlValue(surname)).arg(area_));
    return id;
}

int Fixture::application(const ApplicationRow& row)
{
    const int id = ++next_;
    const QString venue = row.venue.isValid() ? sqlValue(row.venue)
                                              : u"(SELECT actionAreaID FROM vzl_educationallist_reg WHERE id=%1)"_s.arg(row.event);
    db_.exec(u"INSERT INTO vzl_application_reg(id,userID,classStudy,classPart,educationlListID_reg,levelolimpID,periodID,areaID,actionareaID,hotel,maintainerID,statusparticipantID,result) "
             "VALUES (%1,%2,%3,%3,%4,3,%5,%6,%7,%8,%9,%10,%11)"_s
                 .arg(id).arg(row.pupil).arg(row.classStudy).arg(row.event).arg(row.period ? row.period : activePeriod_)
                 .arg(area_).arg(venue, sqlValue(row.hotel), sqlValue(row.maintainer)).arg(row.status).arg(sqlValue(row.result)));
    return id;
}

void Fixture::logIn()
{
    DataZRT->userID = admin_;
    DataZRT->areaID = area_;
    DataZRT->FIO = u"Кириллова Анна Петровна"_s;
    DataZRT->LoginUser = u"admin@velgrad.example"_s;
}
