#pragma once
// Builders of the few rows a window test needs: the active school year, an
// administrator with his events, pupils with their details and schools, and
// application rows with statuses and results. Each returns the new row's id.

#include "support/TestDb.h"

#include <QDate>
#include <QString>
#include <QVariant>

/// What a pupil's rows hold; empty values stay NULL.
struct PupilRow {
    QString surname = {};
    QString name = QStringLiteral("Иван");
    QString patronymic = QStringLiteral("Иванович");
    int classStudy = 11;
    QVariant gender = 1;  ///< 1 "М", 0 "Ж"
    QVariant ovz = 0;     ///< 1 with limited health
    int areaID = 0;       ///< 0: the fixture's municipality
    int schoolID = 0;     ///< 0: the fixture's school
    bool details = true;  ///< a row in vzl_users4add
    bool active = true;
};

/// One application row of the regional stage.
struct ApplicationRow {
    int pupil = 0;
    int event = 0;
    int status = 1;
    QVariant result = {}; ///< NULL unless set
    int classStudy = 11;
    QVariant hotel = 0;
    QVariant maintainer = {}; ///< NULL: no accompanying person
    QVariant venue = {}; ///< NULL: the event's venue
    int period = 0;       ///< 0: the active period
};

/// A small region on a fresh test database: the periods "2024-2025" (ended)
/// and "2025-2026" (active), one municipality, one school and one
/// administrator (role 54280) logged in as the data module's session.
///
///     DataSession s;
///     Fixture f(s.db);
///     const int chem = f.event(u"Химия"_s);
///     const int pupil = f.pupil({.surname = u"Абрамов"_s});
///     f.application({.pupil = pupil, .event = chem, .status = Status::Winner, .result = 25.0});
///     f.logIn();
class Fixture {
public:
    explicit Fixture(TestDb& db);

    int activePeriod() const { return activePeriod_; }
    int pastPeriod() const { return pastPeriod_; }
    int area() const { return area_; }
    int school() const { return school_; }
    int admin() const { return admin_; }

    /// A regional event of the active period (unless another is given) that the
    /// administrator is responsible for, held in the fixture's municipality.
    int event(const QString& nameEdu, int period = 0, int permission = 0, int subjectsID = 0,
              const QDate& dateEnd = QDate(2026, 3, 25));
    int pupil(const PupilRow& row);
    int maintainer(const QString& surname);
    int application(const ApplicationRow& row);

    /// The session values of a successful login of the fixture's administrator.
    void logIn();

private:
    TestDb& db_;
    int next_ = 1000;
    int activePeriod_ = 2, pastPeriod_ = 1, area_ = 1, school_ = 1, admin_ = 501;
};
