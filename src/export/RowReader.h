#pragma once
// The row source the export writers read from: called once per row, it fills
// the row and answers true, or answers false after the last one.

#include <QList>
#include <functional>
#include <memory>

template <class Row>
using TRowReader = std::function<bool(Row& row)>;

/// A row source over rows held in memory (tests and benchmarks).
///
///     const TRowReader<QStringList> rows = heldRows(QList<QStringList>{{u"Химия"_s, u"Абрамов"_s}});
template <class Row>
TRowReader<Row> heldRows(QList<Row> rows)
{
    auto held = std::make_shared<QList<Row>>(std::move(rows));
    auto next = std::make_shared<qsizetype>(0);
    return [held, next](Row& row) {
        if (*next >= held->size())
            return false;
        row = held->at((*next)++);
        return true;
    };
}
