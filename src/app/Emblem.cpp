#include "app/Emblem.h"

#include <QPainter>
#include <cmath>

QPolygonF emblemStar(const QPointF& centre, double outerRadius, double innerRadius)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? outerRadius : innerRadius;
        const double a = -M_PI / 2 + i * M_PI / 5;
        star << centre + QPointF(r * std::cos(a), r * std::sin(a));
    }
    return star;
}

QImage emblemPicture(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 178-unit square, scaled to the size asked for.
    p.scale(size / 178.0, size / 178.0);
    p.setPen(QPen(QColor(200, 160, 40), 8));
    p.setBrush(QColor(235, 242, 255));
    p.drawEllipse(QRectF(6, 6, 166, 166));
    p.setPen(QPen(QColor(20, 40, 110), 3));
    p.setBrush(QColor(30, 70, 160));
    p.drawPolygon(emblemStar(QPointF(89, 93), 72, 30));
    return image;
}
