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
#include "support/Fixtures.h"
#include "support/TestDb.h"
#include "support/Ui.h"

#include <QLocale>
#include <QMap>

using namespace Qt::Literals::StringLiterals;

inline constexpr int Admin = 501;

inline void fillRating(TestDb& db)
{
    Fixture f(db, Fixture::YearsOnly);
    f.area({.id = 1, .name = u"г. Велград"_s});
    f.area({.id = 2, .name = u"Бережанский район"_s});
    f.user({.id = Admin, .surname = u"Кириллова"_s, .name = u"Анна"_s, .patronymic = u"Петровна"_s, .phone = u""_s,
            .schoolID = Null, .role = 54280, .details = false});

    // Pupils with no phone, school, birthday or citizenship; class 11, "М" and
    // no limited health unless given.
    const auto pupil = [&f](UserRow row) {
        row.phone = u""_s;
        row.schoolID = Null;
        row.birthday = Null;
        row.citizenship = Null;
        f.user(row);
    };
    pupil({.id = 1001, .surname = u"Абрамов"_s, .name = u"Антон"_s, .patronymic = u"Андреевич"_s});
    pupil({.id = 1002, .surname = u"Борисова"_s, .name = u"Вера"_s, .patronymic = u"Игоревна"_s, .areaID = 2,
           .gender = 0, .ovz = 1});
    pupil({.id = 1003, .surname = u"Волков"_s, .name = u"Глеб"_s, .patronymic = u"Денисович"_s});
    pupil({.id = 1004, .surname = u"Григорьева"_s, .name = u"Дарья"_s, .patronymic = u"Олеговна"_s, .gender = 0});
    pupil({.id = 1005, .surname = u"Дмитриев"_s, .name = u"Егор"_s, .patronymic = u"Ильич"_s, .areaID = 2, .ovz = 1});
    pupil({.id = 1006, .surname = u"Егорова"_s, .name = u"Ева"_s, .patronymic = u"Юрьевна"_s, .gender = 0, .ovz = 1});
    pupil({.id = 1007, .surname = u"Жуков"_s, .name = u"Захар"_s, .patronymic = u"Петрович"_s, .areaID = 2});
    pupil({.id = 1008, .surname = u"Зайцева"_s, .name = u"Инна"_s, .patronymic = u"Львовна"_s, .details = false});
    pupil({.id = 1009, .surname = u"Иванов"_s, .name = u"Илья"_s, .patronymic = u"Ильич"_s, .active = false});
    pupil({.id = 1010, .surname = u"Ковалёв"_s, .name = u"Кирилл"_s, .patronymic = u"Олегович"_s, .classStudy = 10});
    pupil({.id = 1011, .surname = u"Лебедева"_s, .name = u"Лада"_s, .patronymic = u"Павловна"_s, .gender = 0});
    pupil({.id = 1012, .surname = u"Лаптева"_s, .name = u"Мира"_s, .patronymic = u"Ивановна"_s, .gender = 0});
    pupil({.id = 1013, .surname = u"Миронов"_s, .name = u"Марк"_s, .patronymic = u"Саввич"_s, .areaID = 2});

    // No dates, venue or subject; diplomas not released.
    f.event({.id = 10, .nameEdu = u"Математика"_s, .dateEnd = Null, .venue = Null, .minimum = 10, .maximum = 20,
             .winner = 21, .permission = 1, .permissionDiplom = 0});
    f.event({.id = 11, .nameEdu = u"Физика"_s, .dateEnd = Null, .venue = Null, .minimum = 5, .maximum = 15,
             .winner = 16, .permission = 0});

    // id, pupil, class, event, stage, year, municipality, status, result
    // (no class part, venue or hotel).
    const struct {
        int id, pupil, classStudy, event, level, period, area, status;
        QVariant result;
    } applications[] = {
        {1, 1001, 11, 10, 3, 2, 1, 1, 25},   {2, 1002, 11, 10, 3, 2, 2, 15, 21},  {3, 1003, 11, 10, 3, 2, 1, 1, 20},
        {4, 1004, 11, 10, 3, 2, 1, 8, 10},   {5, 1005, 11, 10, 3, 2, 2, 9, 20.5}, {6, 1006, 11, 10, 3, 2, 1, 1, 9.5},
        {7, 1007, 11, 10, 3, 2, 2, 7, 0},    {8, 1008, 11, 10, 3, 2, 1, 10, {}},  {9, 1009, 11, 10, 3, 2, 1, 1, 25},
        {10, 1010, 10, 10, 3, 2, 1, 15, 30}, {11, 1011, 11, 11, 3, 2, 1, 1, 22},  {12, 1001, 11, 10, 3, 1, 1, 1, 25},
        {13, 1003, 11, 10, 2, 2, 1, 1, 25},  {14, 1012, 11, 10, 3, 2, 1, 1, 10.2}, {15, 1013, 11, 10, 3, 2, 2, 1, 10.5},
    };
    for (const auto& a : applications)
        f.application({.id = a.id, .pupil = a.pupil, .event = a.event, .status = a.status, .result = a.result,
                       .classStudy = a.classStudy, .classPart = Null, .level = a.level, .period = a.period,
                       .area = a.area, .hotel = Null});
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

