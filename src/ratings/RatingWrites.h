#pragma once
// What the rating window writes besides its list: the passing scores with the statuses they give, and the
// corrections of one row. Each is one call, testable without the window.

#include "ratings/RatingRules.h"
#include "ratings/RatingUndo.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

class TProgressSink;
class TQuery;

/// Stores the passing scores of an event and sets the statuses of its ticked
/// classes from them, in one transaction: everything is written or nothing.
/// The steps are told to progress ("Запись проходных баллов", "Обнуление
/// статусов", "Победители...", "Призеры...", positions 0 to 5); after a
/// failure the progress is reset and hidden and the failure is thrown on.
/// Gives back what the apply changed, read inside its transaction, so that it
/// can be taken back.
///
///     auto undo = applyPassingScores(10, u"11"_s, {10, 20, 21}, window.progress());
std::unique_ptr<TApplyUndo> applyPassingScores(int eventID, const QString& classList,
                                               const TPassingScores& scores, TProgressSink& progress);

/// Stores the status of one row of `vzl_application_reg`.
///
///     writeStatus(7, Status::Winner);
void writeStatus(int id, int status);

/// Stores the status and the result of one row.
///
///     writeStatusResult(7, Status::PrizeWinner, 20.5);
void writeStatusResult(int id, int status, double result);

/// Stores the result of a row of the rating list (record number from 1) as
/// the grid left it. A failure re-reads the list, so that the grid shows what
/// the database holds, and is thrown on. False when there is no such row.
///
///     if (postResult(DataZRT->GETcreateRatingReg, recNo)) readPreview();
bool postResult(TQuery* rating, int recNo);
