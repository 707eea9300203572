#pragma once
// The rating both rating tests are tried on, and small helpers around it.
//
// Event 10 "Математика" (open; 10 / 20 / 21) and 11 "Физика" (closed), both of
// administrator 501 in the active year 2. Rows of event 10, class 11, stage 3,
// year 2 (id: pupil, result, status, gender/health):
//   1 Абрамов 25 (1, М/нет)      2 Борисова 21 (15, Ж/есть)   3 Волков 20 (1, М/нет)
//   4 Григорьева 10 (8, Ж/нет)   5 Дмитриев 20.5 (9, М/есть)  6 Егорова 9.5 (1, Ж/есть)
//   7 Жуков 0 (7, М/нет)         8 Зайцева – (10, no details) 9 Иванов 25 (1, inactive account)
//  14 Лаптева 10.2 (1, Ж/нет)   15 Миронов 10.5 (1, М/нет)
// Not to be touched by event 10 in class 11: 10 (class 10, result 30, status 15),
// 11 (event 11), 12 (past year), 13 (municipal stage).

#include "ratings/CreateRatingReg.h"
#include "data/DataZRT.h"
#include "support/TestDb.h"
#include "support/Ui.h"

#include <QLocale>
#include <QMap>

using namespace Qt::Literals::StringLiterals;

inline constexpr int Admin = 501;

inline void fillRating(TestDb& db)
{
    db.exec(u"INSERT INTO vzl_areas(id,name) VALUES (1,'г. Велград'),(2,'Бережанский район')"_s);
    db.exec(u"INSERT INTO vzl_periods(id,name,active) VALUES (1,'2024-2025',0),(2,'2025-2026',1)"_s);
    db.exec(u"INSERT INTO vzl_users(id,surname,name,patronymic,areaID,roleID,isActive) VALUES "
            "(501,'Кириллова','Анна','Петровна',1,54280,1),"
            "(1001,'Абрамов','Антон','Андреевич',1,4,1),(1002,'Борисова','Вера','Игоревна',2,4,1),"
            "(1003,'Волков','Глеб','Денисович',1,4,1),(1004,'Григорьева','Дарья','Олеговна',1,4,1),"
            "(1005,'Дмитриев','Егор','Ильич',2,4,1),(1006,'Егорова','Ева','Юрьевна',1,4,1),"
            "(1007,'Жуков','Захар','Петрович',2,4,1),(1008,'Зайцева','Инна','Львовна',1,4,1),"
            "(1009,'Иванов','Илья','Ильич',1,4,0),(1010,'Ковалёв','Кирилл','Олегович',1,4,1),"
            "(1011,'Лебедева','Лада','Павловна',1,4,1),(1012,'Лаптева','Мира','Ивановна',1,4,1),"
            "(1013,'Миронов','Марк','Саввич',2,4,1)"_s);
    db.exec(u"INSERT INTO vzl_users4add(usersID,classStudy,gender,ovz) VALUES "
            "(1001,11,1,0),(1002,11,0,1),(1003,11,1,0),(1004,11,0,0),(1005,11,1,1),(1006,11,0,1),"
            "(1007,11,1,0),(1009,11,1,0),(1010,10,1,0),(1011,11,0,0),(1012,11,0,0),(1013,11,1,0)"_s);
    db.exec(u"INSERT INTO vzl_educationallist_reg(id,nameEdu,isActive,idPeriod,prizeWinnerMin,prizeWinnerMax,Winner,permission) VALUES "
            "(10,'Математика',1,2,10,20,21,1),(11,'Физика',1,2,5,15,16,0)"_s);
    db.exec(u"INSERT INTO vzl_userseducation(usersID,educationListID,periodsID) VALUES (501,10,2),(501,11,2)"_s);
    db.exec(u"INSERT INTO vzl_application_reg(id,userID,classStudy,educationlListID_reg,levelolimpID,periodID,areaID,statusparticipantID,result) VALUES "
            "(1,1001,11,10,3,2,1,1,25),(2,1002,11,10,3,2,2,15,21),(3,1003,11,10,3,2,1,1,20),"
            "(4,1004,11,10,3,2,1,8,10),(5,1005,11,10,3,2,2,9,20.5),(6,1006,11,10,3,2,1,1,9.5),"
            "(7,1007,11,10,3,2,2,7,0),(8,1008,11,10,3,2,1,10,NULL),(9,1009,11,10,3,2,1,1,25),"
            "(10,1010,10,10,3,2,1,15,30),(11,1011,11,11,3,2,1,1,22),(12,1001,11,10,3,1,1,1,25),"
            "(13,1003,11,10,2,2,1,1,25),(14,1012,11,10,3,2,1,1,10.2),(15,1013,11,10,3,2,2,1,10.5)"_s);
}

using StatusMap = QMap<int, int>;

inline QList<int> listedIds()
{
    QList<int> ids;
    for (int row = 0; row < DataZRT->GETcreateRatingReg->RecordCount(); ++row)
        ids << DataZRT->GETcreateRatingReg->value(row, u"id"_s).toInt();
    return ids;
}

/// Status of every application row, by id.
inline QMap<int, int> statuses(TestDb& db)
{
    QMap<int, int> m;
    for (const QVariantList& r : db.rows(u"SELECT id, statusparticipantID FROM vzl_application_reg"_s))
        m[r.at(0).toInt()] = r.at(1).toInt();
    return m;
}

inline QVariantList scores(TestDb& db, int event = 10)
{
    return db.rows(u"SELECT prizeWinnerMin, prizeWinnerMax, Winner FROM vzl_educationallist_reg WHERE id=%1"_s.arg(event))
        .value(0);
}

inline void typeScores(TFormCeateRatingReg& w, const QString& min, const QString& max, const QString& winner)
{
    setText(&w, u"EditWinnerMin"_s, min);
    setText(&w, u"EditWinnerMax"_s, max); // proposes a winner score
    setText(&w, u"EditWinner"_s, winner);
}

/// Sets the locale of numbers for one test and restores the neutral one.
struct LocaleFor {
    explicit LocaleFor(const QLocale& l) { QLocale::setDefault(l); }
    ~LocaleFor() { QLocale::setDefault(QLocale::c()); }
};

struct Session {
    Session()
    {
        fillRating(s.db);
        DataZRT->userID = Admin;
    }
    DataSession s;
};

