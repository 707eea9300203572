#include "support/Fixtures.h"

#include "data/DataZRT.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {
QString sqlValue(const QVariant& v)
{
    if (v.isNull())
        return u"NULL"_s;
    switch (v.typeId()) {
    case QMetaType::QString:
        // the server's default mode reads a backslash as an escape
        return u"'"_s + v.toString().replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"''"_s) + u"'"_s;
    case QMetaType::QDate:
        return u"'"_s + v.toDate().toString(Qt::ISODate) + u"'"_s;
    case QMetaType::Bool:
        return v.toBool() ? u"1"_s : u"0"_s;
    default:
        return v.toString();
    }
}
} // namespace

Fixture::Fixture(TestDb& db, Base base)
    : db_(db)
{
    if (base == Bare)
        return;
    db_.exec(u"INSERT INTO vzl_periods(id,name,active,dateEnd) VALUES (1,'2024-2025',0,'2025-05-31'),(2,'2025-2026',1,'2026-05-31')"_s);
    if (base == YearsOnly)
        return;
    area({.id = area_, .name = u"г. Велград"_s});
    school({.id = school_, .name = u"МБОУ СОШ №1"_s,
            .fullname = u"Муниципальное бюджетное общеобразовательное учреждение \"Средняя школа №1\""_s,
            .adress = u"ул. Ленина, 1"_s});
    user({.id = admin_, .surname = u"Кириллова"_s, .name = u"Анна"_s, .patronymic = u"Петровна"_s, .phone = {},
          .email = u"admin@velgrad.example"_s, .schoolID = {}, .role = 54280, .details = false});
}

int Fixture::idOf(int given)
{
    const int id = given ? given : next_ + 1;
    next_ = std::max(next_, id);
    return id;
}

void Fixture::insert(const QString& table, const Columns& columns)
{
    QStringList names, values;
    for (const auto& [name, value] : columns) {
        if (!value.isValid())
            continue;
        names << name;
        values << sqlValue(value);
    }
    db_.exec(u"INSERT INTO %1(%2) VALUES (%3)"_s.arg(table, names.join(u','), values.join(u',')));
}

int Fixture::area(const AreaRow& row)
{
    const int id = idOf(row.id);
    insert(u"vzl_areas"_s, {{u"id"_s, id}, {u"name"_s, row.name}});
    return id;
}

int Fixture::school(const SchoolRow& row)
{
    const int id = idOf(row.id);
    insert(u"vzl_schools"_s, {{u"id"_s, id}, {u"name"_s, row.name}, {u"fullname"_s, row.fullname},
                              {u"adress"_s, row.adress}, {u"areaID"_s, row.areaID}});
    return id;
}

int Fixture::user(const UserRow& row)
{
    const int id = idOf(row.id);
    insert(u"vzl_users"_s, {{u"id"_s, id}, {u"surname"_s, row.surname}, {u"name"_s, row.name},
                            {u"patronymic"_s, row.patronymic}, {u"phone"_s, row.phone}, {u"email"_s, row.email},
                            {u"areaID"_s, row.areaID}, {u"schoolID"_s, row.schoolID}, {u"roleID"_s, row.role},
                            {u"isActive"_s, row.active}, {u"password"_s, row.password}});
    if (row.details)
        insert(u"vzl_users4add"_s, {{u"usersID"_s, id}, {u"classStudy"_s, row.classStudy}, {u"gender"_s, row.gender},
                                    {u"ovz"_s, row.ovz}, {u"birthday"_s, row.birthday},
                                    {u"citizenship"_s, row.citizenship}});
    return id;
}

int Fixture::event(const EventRow& row)
{
    const int id = idOf(row.id);
    const int period = row.period ? row.period : activePeriod_;
    QVariant dateStart = row.dateStart;
    if (!dateStart.isValid())
        dateStart = row.dateEnd.isNull() ? Null : QVariant(row.dateEnd.toDate().addDays(-1));
    insert(u"vzl_educationallist_reg"_s,
           {{u"id"_s, id}, {u"nameEdu"_s, row.nameEdu}, {u"isActive"_s, row.active}, {u"idPeriod"_s, period},
            {u"dateStart"_s, dateStart}, {u"dateEnd"_s, row.dateEnd}, {u"actionAreaID"_s, row.venue},
            {u"prizeWinnerMin"_s, row.minimum}, {u"prizeWinnerMax"_s, row.maximum}, {u"Winner"_s, row.winner},
            {u"permission"_s, row.permission},
            {u"permissionDiplom"_s, row.permissionDiplom.isValid() ? row.permissionDiplom : row.permission},
            {u"SubjectsID"_s, row.subjectsID}});
    if (row.admin >= 0)
        insert(u"vzl_userseducation"_s, {{u"usersID"_s, row.admin ? row.admin : admin_},
                                         {u"educationListID"_s, id}, {u"periodsID"_s, period}});
    return id;
}

int Fixture::maintainer(const MaintainerRow& row)
{
    const int id = idOf(row.id);
    insert(u"vzl_maintainer"_s, {{u"id"_s, id}, {u"surname"_s, row.surname}, {u"name"_s, row.name},
                                 {u"patronymic"_s, row.patronymic}, {u"post"_s, row.post},
                                 {u"educationalOrg"_s, row.educationalOrg}, {u"eMail"_s, row.eMail},
                                 {u"phone"_s, row.phone}, {u"areaID"_s, row.areaID}, {u"isActive"_s, row.active},
                                 {u"dateIn"_s, row.dateIn}, {u"dateOut"_s, row.dateOut}, {u"hotel"_s, row.hotel}});
    return id;
}

int Fixture::application(const ApplicationRow& row)
{
    const int id = idOf(row.id);
    const QVariant venue = row.venue.isValid()
        ? row.venue
        : db_.scalar(u"SELECT actionAreaID FROM vzl_educationallist_reg WHERE id=%1"_s.arg(row.event));
    insert(u"vzl_application_reg"_s,
           {{u"id"_s, id}, {u"userID"_s, row.pupil}, {u"classStudy"_s, row.classStudy},
            {u"classPart"_s, row.classPart.isValid() ? row.classPart : row.classStudy},
            {u"educationlListID_reg"_s, row.event}, {u"levelolimpID"_s, row.level},
            {u"periodID"_s, row.period ? row.period : activePeriod_}, {u"areaID"_s, row.area},
            {u"actionareaID"_s, venue.isValid() ? venue : Null}, {u"hotel"_s, row.hotel},
            {u"dateIn"_s, row.dateIn}, {u"dateOut"_s, row.dateOut}, {u"maintainerID"_s, row.maintainer},
            {u"statusparticipantID"_s, row.status}, {u"result"_s, row.result}});
    return id;
}

void Fixture::choice(int pupil, int event, const QVariant& classPart, int period)
{
    insert(u"vzl_userseducation_reg"_s, {{u"usersID"_s, pupil}, {u"educationListID"_s, event},
                                         {u"periodsID"_s, period ? period : activePeriod_},
                                         {u"classPart"_s, classPart}});
}

void Fixture::responsible(int admin, int event, int period)
{
    insert(u"vzl_userseducation"_s, {{u"usersID"_s, admin}, {u"educationListID"_s, event},
                                     {u"periodsID"_s, period ? period : activePeriod_}});
}

void Fixture::logIn()
{
    DataZRT->userID = admin_;
    DataZRT->areaID = area_;
    DataZRT->FIO = u"Кириллова Анна Петровна"_s;
    DataZRT->LoginUser = u"admin@velgrad.example"_s;
}
