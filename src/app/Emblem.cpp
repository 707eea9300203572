#include "app/Emblem.h"

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
