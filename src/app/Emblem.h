#pragma once

#include <QImage>
#include <QPolygonF>

/// The program's emblem, a five-pointed star pointing up.
///
///     painter.drawPolygon(emblemStar(QPointF(89, 93), 72, 30));
QPolygonF emblemStar(const QPointF& centre, double outerRadius, double innerRadius);

/// The program's picture: the emblem's blue star on a light disc with a golden
/// rim, drawn into a transparent square of size × size pixels. The about box
/// shows it at 178 pixels; the desktop icons are drawn from it at their sizes.
///
///     emblemPicture(48).save(u"talvira.png"_s);
QImage emblemPicture(int size);
