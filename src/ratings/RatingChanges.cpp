#include "ratings/RatingChanges.h"

#include "data/DataZRT.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

QList<std::optional<double>> TRatingRows::results() const
{
    QList<std::optional<double>> out;
    out.reserve(rows.size());
    for (const TRatingRow& row : rows)
        out << row.result;
    return out;
}

TRatingRows readApplyRows(int eventID, const QString& classList)
{
    TRatingRows out;
    if (classList.isEmpty())
        return out;
    TQuery* q = DataZRT->GETratingResultsReg;
    q->Close();
    q->ParamByName(u"eduID"_s).setAsInteger(eventID);
    q->ParamByName(u"classes"_s).setAsString(classList);
    q->Open();
    out.rows.reserve(q->RecordCount());
    // columns: result, id, status, status name
    for (int row = 0; row < q->RecordCount(); ++row) {
        const int status = q->value(row, 2).toInt();
        out.rows.append({q->value(row, 1).toInt(), ratingResult(q->value(row, 0)), status});
        const QVariant name = q->value(row, 3);
        if (!name.isNull() && !out.statusNames.contains(status))
            out.statusNames.insert(status, name.toString());
    }
    q->Close();
    return out;
}

bool isSetByHand(int status)
{
    switch (status) {
    case Status::Candidate:
    case Status::Participant:
    case Status::Winner:
    case Status::PrizeWinner:
        return false;
    default:
        return true;
    }
}

TChangeSummary summarizeChanges(const QList<TRatingRow>& rows, const TPassingScores& scores)
{
    QMap<std::pair<int, int>, int> pairs;
    TChangeSummary summary;
    for (const TRatingRow& row : rows) {
        const int to = ratingStatus(row.result, scores);
        if (to == row.status)
            continue;
        ++pairs[{row.status, to}];
        ++summary.changed;
    }
    for (auto it = pairs.cbegin(); it != pairs.cend(); ++it)
        summary.changes.append({it.key().first, it.key().second, it.value()});
    // the map gives old, then new code order; the stable sort keeps it among equal counts
    std::stable_sort(summary.changes.begin(), summary.changes.end(),
                     [](const TStatusChange& a, const TStatusChange& b) { return a.count > b.count; });
    return summary;
}

QMap<int, int> setByHandStatuses(const QList<TRatingRow>& rows)
{
    QMap<int, int> out;
    for (const TRatingRow& row : rows)
        if (isSetByHand(row.status))
            ++out[row.status];
    return out;
}

QString statusShortName(int code, const QMap<int, QString>& stored)
{
    switch (code) {
    case Status::Candidate:
        return u"Кандидат"_s;
    case Status::Participant:
        return u"Участник"_s;
    case Status::Winner:
        return u"Победитель"_s;
    case Status::PrizeWinner:
        return u"Призер"_s;
    case Status::NotArrived:
        return u"Не прибыл"_s;
    default:
        break;
    }
    const QString name = stored.value(code).trimmed();
    return name.isEmpty() ? u"статус %1"_s.arg(code) : name;
}

QString changesText(const std::optional<TChangeSummary>& summary, const QMap<int, QString>& names)
{
    const QString head = u"Изменят статус: "_s;
    if (!summary)
        return head + u'—';
    if (summary->changed == 0)
        return head + u'0';
    QStringList parts;
    for (const TStatusChange& c : summary->changes)
        parts << u"%1 → %2: %3"_s.arg(statusShortName(c.from, names), statusShortName(c.to, names)).arg(c.count);
    return head + QString::number(summary->changed) + u" — "_s + parts.join(u"; "_s);
}

QString setByHandText(const QMap<int, int>& setByHand, const QMap<int, QString>& names)
{
    int total = 0;
    QStringList parts;
    for (auto it = setByHand.cbegin(); it != setByHand.cend(); ++it) {
        total += it.value();
        parts << u"%1: %2"_s.arg(statusShortName(it.key(), names)).arg(it.value());
    }
    if (total == 0)
        return u"Статусов, выставленных вручную, нет"_s;
    return u"Будут перезаписаны статусы, выставленные вручную: %1 (%2)"_s.arg(total).arg(parts.join(u", "_s));
}
