#pragma once
// Builders of the rows a window test needs: the school years, municipalities
// and schools, administrators and pupils with their details, events with the
// administrators responsible for them, the events pupils chose, accompanying
// persons, and application rows with statuses and results. Each row builder
// returns the new row's id; a test that states ids in its expectations gives
// them (`.id = 1001`), otherwise the builder takes the next id above all
// ids so far.
//
// A field left unset (an empty QVariant) leaves its column to the table's
// default; `Null` writes NULL into it.

#include "support/TestDb.h"

#include <QDate>
#include <QString>
#include <QVariant>

/// Written into a column as NULL.
inline const QVariant Null = QVariant(QMetaType::fromType<int>());

/// A municipality.
struct AreaRow {
    int id = 0;
    QString name = {};
};

/// A school.
struct SchoolRow {
    int id = 0;
    QString name = {};
    QString fullname = {};
    QVariant adress = {};
    QVariant areaID = 1; ///< the fixture's municipality
};

/// A user: a pupil unless another role is given; pupils have a row of
/// further details (vzl_users4add) unless details is false.
struct UserRow {
    int id = 0;
    QString surname = {};
    QString name = QStringLiteral("Иван");
    QString patronymic = QStringLiteral("Иванович");
    QVariant phone = QStringLiteral("+79000000000");
    QVariant email = {};
    QVariant areaID = 1;   ///< the fixture's municipality
    QVariant schoolID = 1; ///< the fixture's school
    int role = 4;          ///< 4 pupil, 54280 administrator of the regional stage
    bool active = true;
    bool details = true;
    QVariant classStudy = 11;
    QVariant gender = 1; ///< 1 "М", 0 "Ж"
    QVariant ovz = 0;    ///< 1 with limited health
    QVariant birthday = QDate(2009, 4, 1);
    QVariant citizenship = QStringLiteral("Да");
    QVariant password = {}; ///< the stored hash
};

/// A regional event and the administrator responsible for it.
struct EventRow {
    int id = 0;
    QString nameEdu = {};
    int period = 0; ///< 0: the active school year
    bool active = true;
    QVariant dateStart = {}; ///< unset: the day before dateEnd
    QVariant dateEnd = QDate(2026, 3, 25);
    QVariant venue = 1; ///< actionAreaID: the fixture's municipality
    QVariant minimum = {}; ///< prizeWinnerMin
    QVariant maximum = {}; ///< prizeWinnerMax
    QVariant winner = {};  ///< Winner
    QVariant permission = 0;
    QVariant permissionDiplom = {}; ///< unset: as permission
    QVariant subjectsID = {};
    int admin = 0; ///< 0: the fixture's administrator, -1: nobody
};

/// An accompanying person.
struct MaintainerRow {
    int id = 0;
    QString surname = {};
    QString name = QStringLiteral("Ирина");
    QString patronymic = QStringLiteral("Павловна");
    QString post = QStringLiteral("Учитель");
    QVariant educationalOrg = QStringLiteral("МБОУ СОШ №1");
    QVariant eMail = QStringLiteral("m@velgrad.example");
    QVariant phone = QStringLiteral("+79001112233");
    QVariant areaID = 1; ///< the fixture's municipality
    bool active = true;
    QVariant dateIn = {};
    QVariant dateOut = {};
    QVariant hotel = 1;
};

/// One application row, by default of the regional stage (level 3) in the
/// active school year.
struct ApplicationRow {
    int id = 0;
    int pupil = 0;
    int event = 0;
    int status = 1;
    QVariant result = {}; ///< NULL unless set
    QVariant classStudy = 11;
    QVariant classPart = {}; ///< unset: as classStudy
    int level = 3;
    int period = 0;     ///< 0: the active school year
    QVariant area = 1;  ///< areaID: the fixture's municipality
    QVariant venue = {}; ///< actionareaID; unset: the event's venue
    QVariant hotel = 0;
    QVariant dateIn = {};
    QVariant dateOut = {};
    QVariant maintainer = {}; ///< unset: no accompanying person
};

/// A small region on a fresh test database: the school years "2024-2025" (1,
/// ended) and "2025-2026" (2, active) and, unless only the years are asked
/// for, the municipality 1 "г. Велград", its school 1 and the administrator
/// 501 (role 54280) logged in as the data module's session.
///
///     DataSession s;
///     Fixture f(s.db);
///     const int chem = f.event({.nameEdu = u"Химия"_s});
///     const int pupil = f.user({.surname = u"Абрамов"_s});
///     f.application({.pupil = pupil, .event = chem, .status = Status::Winner, .result = 25.0});
///     f.logIn();
///
/// With rows of its own, given with their ids (Bare: not even the school years):
///
///     Fixture f(s.db, Fixture::YearsOnly);
///     f.area({.id = 2, .name = u"Бережанский район"_s});
///     f.user({.id = 10, .surname = u"Кириллова"_s, .role = 54280, .details = false});
///     f.event({.id = 101, .nameEdu = u"Олимпиада по физике"_s, .admin = 10});
class Fixture {
public:
    /// What the fixture makes before any row of the test: the region, only
    /// the school years, or nothing.
    enum Base { Region, YearsOnly, Bare };
    explicit Fixture(TestDb& db, Base base = Region);

    int activePeriod() const { return activePeriod_; }
    int pastPeriod() const { return pastPeriod_; }
    int area() const { return area_; }
    int school() const { return school_; }
    int admin() const { return admin_; }

    int area(const AreaRow& row);
    int school(const SchoolRow& row);
    int user(const UserRow& row);
    int event(const EventRow& row);
    int maintainer(const MaintainerRow& row);
    int application(const ApplicationRow& row);
    /// A pupil's choice of an event for a class (vzl_userseducation_reg).
    ///
    ///     f.choice(1001, maths, 9);
    void choice(int pupil, int event, const QVariant& classPart, int period = 0);
    /// One more administrator responsible for an event (vzl_userseducation).
    ///
    ///     f.responsible(9999, maths);
    void responsible(int admin, int event, int period = 0);

    /// The session values of a successful login of the fixture's administrator.
    void logIn();

private:
    using Columns = QList<std::pair<QString, QVariant>>;
    int idOf(int given);
    /// INSERT of the columns whose values are set.
    void insert(const QString& table, const Columns& columns);

    TestDb& db_;
    int next_ = 1000;
    int activePeriod_ = 2, pastPeriod_ = 1, area_ = 1, school_ = 1, admin_ = 501;
};
