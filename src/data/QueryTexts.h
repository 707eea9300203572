#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// One named query of the data module and its SQL, line by line.
struct TQueryText {
    QString name;
    QStringList lines;
};

/// Every named query of the data module in declaration order.
///
///     for (const TQueryText& t : namedQueryTexts()) qDebug() << t.name << t.lines.size();
const QList<TQueryText>& namedQueryTexts();
