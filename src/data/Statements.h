#pragma once
// Statements whose text is put together at run time: the values they join in
// are integers (ids, class numbers, codes), so they stand in the text as
// decimal numbers. The named queries with bound parameters are in QueryTexts.cpp.

#include <QList>
#include <QString>
#include <QStringList>

/// The rating list of an event, line by line: the conditions on the first
/// line, an empty second line and the order alone on the last one, which a
/// title click replaces. A filter is -1 for "ВСЕ", otherwise the stored code
/// (gender: 0 "Ж", 1 "М"; health: 0 "Нет ОВЗ", 1 "Есть ОВЗ"); classList is a
/// list of class numbers joined by commas.
///
///     DataZRT->GETcreateRatingReg->SQL() = ratingSql(12, u"9,10,11"_s, 0, 1);   // girls with limited health capabilities
QStringList ratingSql(int eventID, const QString& classList, int gender, int ovz);

/// The four statements that set the statuses of the ticked classes of an event
/// (candidates, participants, winners, prize-winners), in this order, each
/// line by line. The thresholds are the parameters `Winner`, `prizeWinnerMin`
/// and `prizeWinnerMax`, bound as numbers.
///
///     for (const QStringList& s : statusStatements(12, u"9,10,11"_s)) ...
QList<QStringList> statusStatements(int eventID, const QString& classList);

/// Counts the journal lines of an event (the field `RecordCount`).
///
///     DataZRT->emptySQL->SQL() = journalCountSql(20);
QStringList journalCountSql(int eventID);

/// Removes a pupil's choices of regional events of the active year.
///
///     userEventsDeleteSql(u"201"_s)   // "DELETE FROM `vzl_userseducation_reg` WHERE ... and `usersID`=201"
QString userEventsDeleteSql(const QString& userID);

/// Adds a pupil's choices of regional events of the active year, one row per
/// event in the given order; the values stand in the text as given.
///
///     userEventsInsertSql(u"201"_s, u"9"_s, {102, 101})
///     // "INSERT INTO `vzl_userseducation_reg`(...) VALUES (201,102,(SELECT ...),9),(201,101,...)"
QString userEventsInsertSql(const QString& userID, const QString& classStudy, const QList<int>& eventIDs);

/// Removes rows of regional applications by their `id`.
///
///     applicationRowsDeleteSql({4, 7})   // "DELETE FROM `vzl_application_reg` WHERE `id`in (4,7)"
QString applicationRowsDeleteSql(const QList<int>& ids);

/// The menu entries closed or opened for the administrators' role.
///
///     q->SQL() = menuPermissionsSql();   // fields MenuItem, permission
QStringList menuPermissionsSql();

/// The version of this workstation that the update check compares with its own.
///
///     q->SQL() = workstationVersionSql();   // field Version
QStringList workstationVersionSql();

/// Stores the place of work and the position (parameters `placeWork`,
/// `postWork`) of a user.
///
///     add->SQL() << workplaceUpdateSql(DataZRT->userID);
QString workplaceUpdateSql(int userID);
