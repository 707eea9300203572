#pragma once
// Rows both event windows are tried on: two school years, the events of the
// logged-in administrator (10) and of another one (11).
//
// Administrator 10 in the active year 2 has, by start date and name:
//   102 "Олимпиада по математике"  20.01.2026  10 / 20 / 20,01
//   103 "Олимпиада по химии"       20.01.2026   5 / –  / 7
//   101 "Олимпиада по физике"      10.02.2026  25 / 40 / 45,5
// and, not to be listed: 104 inactive, 105 linked in the past year only,
// 106 linked to administrator 11.

#include "support/TestDb.h"

inline constexpr int ownAdmin = 10;
inline constexpr int otherAdmin = 11;

inline void addAdminEvents(TestDb& db)
{
    db.exec(QStringLiteral("INSERT INTO vzl_periods(id,name,active) VALUES (1,'2024-2025',0),(2,'2025-2026',1)"));
    db.exec(QStringLiteral(
        "INSERT INTO vzl_educationallist_reg"
        "(id,nameEdu,isActive,idPeriod,dateStart,dateEnd,prizeWinnerMin,prizeWinnerMax,Winner) VALUES"
        " (101,'Олимпиада по физике',1,2,'2026-02-10','2026-02-11',25,40,45.5),"
        " (102,'Олимпиада по математике',1,2,'2026-01-20','2026-01-21',10,20,20.01),"
        " (103,'Олимпиада по химии',1,2,'2026-01-20','2026-01-22',5,NULL,7),"
        " (104,'Отменённая олимпиада',0,2,'2026-01-10','2026-01-11',0,0,0),"
        " (105,'Олимпиада прошлого года',1,1,'2025-01-10','2025-01-11',0,0,0),"
        " (106,'Олимпиада по биологии',1,2,'2026-01-15','2026-01-16',0,0,0)"));
    db.exec(QStringLiteral("INSERT INTO vzl_userseducation(usersID,educationListID,periodsID) VALUES"
                           " (10,101,2),(10,102,2),(10,103,2),(10,104,2),(10,105,1),(11,106,2)"));
}
