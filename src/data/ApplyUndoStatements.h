#pragma once
// The statements around "Применить к рейтингу" that make it undoable: the
// reads of what applying is about to change (taken inside its transaction) and
// the statements that give it back. Event ids, class lists, status codes and
// row ids are integers and are written into the text; scores are bound.

#include <QList>
#include <QString>
#include <QStringList>

/// The id and status of every row that applying sets (the event's
/// regional-stage rows of the active period in the listed classes), locked
/// until the transaction ends so that nothing changes them between this read
/// and the status statements.
///
///     applyRowsStatusSql(12, u"9,10,11"_s)   // SELECT `id`,`statusparticipantID` ... FOR UPDATE
QStringList applyRowsStatusSql(int eventID, const QString& classList);

/// The three stored passing scores of the event `eduID` (`prizeWinnerMin`,
/// `prizeWinnerMax`, `Winner`), locked like the rows. The id is a parameter so
/// that the statement is prepared and the numbers arrive exactly as stored.
///
///     q->SQL() = storedScoresSql();
///     q->ParamByName(u"eduID"_s).setAsInteger(12);
QStringList storedScoresSql();

/// Puts an event's passing scores back (parameters `oldMin`, `oldMax`,
/// `oldWinner`, `eduID`) only while they are still the ones applying wrote
/// (`newMin`, `newMax`, `newWinner`; NULL matches NULL).
///
///     q->SQL() = restoreScoresSql();
QStringList restoreScoresSql();

/// Sets the rows of ids back from status `written` to `old`, leaving every row
/// whose status is no longer `written`. Several statements when the ids are
/// many (at most `perStatement` ids each), none for no ids.
///
///     restoreStatusSql(10, 15, {2, 7})   // {{"UPDATE ... SET `statusparticipantID`=15",
///                                        //   "WHERE `statusparticipantID`=10 and `id` in (2,7)"}}
QList<QStringList> restoreStatusSql(int written, int old, const QList<int>& ids, int perStatement = 5000);
