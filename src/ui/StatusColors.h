#pragma once
// The colours rows are painted in by the participant's status, in one place
// for every grid that colours statuses.

#include <QColor>

/// The background of a row of that status; invalid for the statuses drawn in
/// the grid's normal colours (1 and 4, and any unknown code).
///
///     statusColor(Status::Winner)       // 240, 128, 128
///     statusColor(Status::Candidate)    // invalid
QColor statusColor(int status);

/// The background of a row in the lists of diplomas (journal, diploma
/// window): only winners and prize-winners are coloured.
///
///     awardColor(Status::PrizeWinner)   // 255, 218, 185
///     awardColor(Status::NotArrived)    // invalid
QColor awardColor(int status);

/// The background of a row ticked for a diploma, whatever its status.
///
///     if (ticked) colour = tickedColor();
QColor tickedColor();

class TDataSet;

/// The background of a row (record number from 1) of a data set with the
/// field `statusparticipantID`, by the colouring given; invalid for a row that
/// is not there or has no status.
///
///     grid->setRowColor([](int recNo) { return statusColorOf(DataZRT->GETjournal, recNo, awardColor); });
QColor statusColorOf(const TDataSet* rows, int recNo, QColor (*colour)(int status) = statusColor);
