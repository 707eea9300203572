#include "ratings/RatingRules.h"

#include "data/Codes.h"
#include "data/Errors.h"
#include "data/Format.h"

using namespace Qt::Literals::StringLiterals;

int ratingStatus(std::optional<double> result, const TPassingScores& scores)
{
    int status = Status::Candidate;
    if (!result)
        return status;
    const double r = *result;
    if (r > 0)
        status = Status::Participant;
    if (r >= scores.winner)
        status = Status::Winner;
    if (r >= scores.prizeWinnerMin && r <= scores.prizeWinnerMax)
        status = Status::PrizeWinner;
    return status;
}

std::optional<double> ratingResult(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toDouble();
}

QString classListText(const QList<bool>& ticked)
{
    QString list;
    for (int k = 0; k < ticked.size(); ++k)
        if (ticked.at(k))
            list += QString::number(k + 1) + u',';
    list.chop(1);
    return list;
}

TStatusCounts countStatuses(const QList<std::optional<double>>& results, const TPassingScores& scores)
{
    TStatusCounts counts;
    for (const std::optional<double>& result : results) {
        if (result && *result > 0)
            ++counts.withResult;
        switch (ratingStatus(result, scores)) {
        case Status::Winner:
            ++counts.winners;
            break;
        case Status::PrizeWinner:
            ++counts.prizeWinners;
            break;
        case Status::Participant:
            ++counts.participants;
            break;
        default:
            ++counts.candidates;
        }
    }
    return counts;
}

std::optional<TPassingScores> typedScores(const QString& min, const QString& max, const QString& winner)
{
    const TScoreCheck check = checkPassingScores(min, max, winner);
    if (!check.ok())
        return std::nullopt;
    return check.scores;
}
