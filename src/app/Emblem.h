#pragma once

#include <QPolygonF>

/// The program's emblem, a five-pointed star pointing up.
///
///     painter.drawPolygon(emblemStar(QPointF(89, 93), 72, 30));
QPolygonF emblemStar(const QPointF& centre, double outerRadius, double innerRadius);
