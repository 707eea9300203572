#include "ui/StatusColors.h"

#include "data/Codes.h"
#include "data/DataSet.h"

QColor statusColor(int status)
{
    switch (status) {
    case Status::Winner:
        return {240, 128, 128};
    case Status::Other8:
        return {152, 251, 152};
    case Status::Other9:
        return {250, 250, 210};
    case Status::PrizeWinner:
        return {255, 218, 185};
    case Status::NotArrived:
        return {192, 192, 192};
    default:
        return {};
    }
}

QColor awardColor(int status)
{
    return status == Status::Winner || status == Status::PrizeWinner ? statusColor(status) : QColor();
}

QColor tickedColor()
{
    return {152, 251, 152};
}

QColor statusColorOf(const TDataSet* rows, int recNo, QColor (*colour)(int status))
{
    if (!rows->Active() || recNo < 1 || recNo > rows->RecordCount())
        return {};
    const TField status(QStringLiteral("statusparticipantID"), rows->value(recNo - 1, QStringLiteral("statusparticipantID")));
    return status.isNull() ? QColor() : colour(status.asInteger());
}
