#pragma once
// Rows both event windows are tried on: two school years, the events of the
// logged-in administrator (10) and of another one (11).
//
// Administrator 10 in the active year 2 has, by start date and name:
//   102 "Олимпиада по математике"  20.01.2026  10 / 20 / 20,01
//   103 "Олимпиада по химии"       20.01.2026   5 / –  / 7
//   101 "Олимпиада по физике"      10.02.2026  25 / 40 / 45,5
// and, not to be listed: 104 inactive, 105 linked in the past year only,
// 106 linked to administrator 11. No event has a venue.

#include "support/Fixtures.h"
#include "support/TestDb.h"

inline constexpr int ownAdmin = 10;
inline constexpr int otherAdmin = 11;

inline void addAdminEvents(Fixture& f)
{
    const auto event = [&f](EventRow row) {
        row.venue = Null;
        f.event(row);
    };
    event({.id = 101, .nameEdu = QStringLiteral("Олимпиада по физике"), .dateStart = QDate(2026, 2, 10),
           .dateEnd = QDate(2026, 2, 11), .minimum = 25, .maximum = 40, .winner = 45.5, .admin = ownAdmin});
    event({.id = 102, .nameEdu = QStringLiteral("Олимпиада по математике"), .dateStart = QDate(2026, 1, 20),
           .dateEnd = QDate(2026, 1, 21), .minimum = 10, .maximum = 20, .winner = 20.01, .admin = ownAdmin});
    event({.id = 103, .nameEdu = QStringLiteral("Олимпиада по химии"), .dateStart = QDate(2026, 1, 20),
           .dateEnd = QDate(2026, 1, 22), .minimum = 5, .maximum = Null, .winner = 7, .admin = ownAdmin});
    event({.id = 104, .nameEdu = QStringLiteral("Отменённая олимпиада"), .active = false,
           .dateEnd = QDate(2026, 1, 11), .admin = ownAdmin});
    event({.id = 105, .nameEdu = QStringLiteral("Олимпиада прошлого года"), .period = f.pastPeriod(),
           .dateEnd = QDate(2025, 1, 11), .admin = ownAdmin});
    event({.id = 106, .nameEdu = QStringLiteral("Олимпиада по биологии"), .dateEnd = QDate(2026, 1, 16),
           .admin = otherAdmin});
}

/// The school years and the events, for a test that adds no other rows through a builder.
inline void addAdminEvents(TestDb& db)
{
    Fixture f(db, Fixture::YearsOnly);
    addAdminEvents(f);
}
