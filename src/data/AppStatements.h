#pragma once
// The statements that read an application for export, line by line as the
// export window gives them to the scratch query. Each takes the stage level as
// text ("3" is the regional level) and the chosen event; event 0 is the entry for
// all events, which leaves the event filter line out.
//
// The short application lists every application row of the level and the active
// year whose accompanying person and venue exist; the full one asks for much more
// (role 4, further data, school, status, event, municipality) and leaves out
// rows that coincide in every field.

#include <QString>
#include <QStringList>

/// The count of the short application's rows: one column `RecordCount`.
///
///     shortCountSql(u"3"_s, 12)   // ..., "and O.`educationlListID_reg`=12", ...
QStringList shortCountSql(const QString& level, int event);

/// The short application's rows: the fields of shortApp()'s columns, in the
/// server's order.
///
///     emptySQL->SQL() = shortRowsSql(u"3"_s, 0);   // every event of the active year
QStringList shortRowsSql(const QString& level, int event);

/// The count of the application rows that the full application's conditions let
/// through (without DISTINCT, so coinciding rows count each).
///
///     fullCountSql(u"3"_s, 12).first()   // "SELECT count(*) as RecordCount"
QStringList fullCountSql(const QString& level, int event);

/// The full application's rows, `param1` to `param37` and `param151`, distinct and
/// sorted by event name, surname, first name and patronymic.
///
///     fullRowsSql(u"3"_s, 12).last()   // "order by param16,param1,param2,param3"
QStringList fullRowsSql(const QString& level, int event);
