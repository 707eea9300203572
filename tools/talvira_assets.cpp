// Writes the files that the file server of the internet profile offers:
//
//   Images/ZRT_all.jpg, Images/ZRT_6.jpg, Images/ZRT_20.jpg   diploma templates
//   help80v3/index.htm                                         online help
//   help80v3/help80v3.pdf                                      user instruction
//
// Usage: talvira_assets <folder>
//
// The templates are A4 portrait at 200 dpi (1654 x 2339), the size the
// workstation's drawing positions are made for. Each has its own colours,
// border ornament and emblem; the sheet is white where the workstation prints
// the diploma texts: the titles from y 710, the event, class and name lines
// down to y 1300, the school box from x 255 to width - 255 and y 1350 to 1700,
// the registration number at x 377, y 1733, and the place and year at y 2245,
// which sits in a white tab that breaks the bottom border.
//
// The artwork is laid out on a sheet of 2480 x 3508 units (A4 at 300 units to
// the inch) and scaled down to the image: a unit is 2/3 of a pixel, so the
// workstation's y 2245 is unit 3368.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QtMath>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

struct AssetError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The image.
constexpr int kImageWidth = 1654;
constexpr int kImageHeight = 2339;
constexpr int kDotsPerMeter = 7874;  // 200 dpi
constexpr int kQuality = 90;

// The sheet the artwork is laid out on, in units.
constexpr int kWidth = 2480;
constexpr int kHeight = 3508;

// Insets of the border, from the edge of the sheet.
constexpr int kOuter = 30;
constexpr int kInner = kOuter + 22;  // the thin line inside the outer frame
constexpr int kBand = 190;  // the white field starts here

// The white tab in the middle of the bottom band that holds the place and
// year line (pixel rows 2245 to about 2295, units 3368 to 3443).
constexpr double kTabLeft = 760;
constexpr double kTabRight = kWidth - kTabLeft;

enum class Motif { Laurel, Geometry, Stars };

struct Theme {
    const char* file;
    QColor primary;    // frames, emblem, heading
    QColor secondary;  // ornament lines
    QColor accent;     // rosettes, highlights
    QColor paperFrom;  // border band gradient
    QColor paperTo;
    Motif motif;
    const char* heading;
    const char* footer;
};

const Theme kThemes[] = {
    {"ZRT_all.jpg", QColor(28, 58, 122), QColor(70, 120, 190), QColor(196, 160, 60),
     QColor(226, 236, 250), QColor(196, 214, 242), Motif::Laurel,
     "МИНИСТЕРСТВО ОБРАЗОВАНИЯ ВЕЛГРАДСКОЙ ОБЛАСТИ",
     "Региональные общеобразовательные мероприятия Велградской области"},
    {"ZRT_6.jpg", QColor(16, 92, 78), QColor(40, 150, 120), QColor(200, 120, 40),
     QColor(226, 246, 238), QColor(190, 228, 214), Motif::Geometry,
     "МИНИСТЕРСТВО ОБРАЗОВАНИЯ ВЕЛГРАДСКОЙ ОБЛАСТИ",
     "Региональный этап олимпиады школьников по математике"},
    {"ZRT_20.jpg", QColor(168, 52, 28), QColor(232, 120, 40), QColor(250, 190, 30),
     QColor(255, 244, 220), QColor(255, 222, 178), Motif::Stars,
     "МИНИСТЕРСТВО ОБРАЗОВАНИЯ ВЕЛГРАДСКОЙ ОБЛАСТИ",
     "Региональная олимпиада младших школьников"},
};

QFont pixelFont(const QString& family, int pixels, bool bold = false, bool italic = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QPainterPath starPath(QPointF c, double outer, double inner, int points, double turn = -M_PI / 2)
{
    QPainterPath p;
    for (int i = 0; i < points * 2; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double a = turn + i * M_PI / points;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            p.moveTo(pt);
        else
            p.lineTo(pt);
    }
    p.closeSubpath();
    return p;
}

// A leaf: an ellipse of length len and width wid centred at c, pointing along angle a.
void drawLeaf(QPainter& p, QPointF c, double a, double len, double wid, const QColor& fill)
{
    p.save();
    p.translate(c);
    p.rotate(qRadiansToDegrees(a));
    QPainterPath leaf;
    leaf.moveTo(-len / 2, 0);
    leaf.quadTo(0, -wid, len / 2, 0);
    leaf.quadTo(0, wid, -len / 2, 0);
    p.fillPath(leaf, fill);
    p.restore();
}

// The outline of the white field with its tab, grown by `grow` units on every
// side but the tab's bottom, which stays on the thin line of the outer frame.
QPainterPath whiteField(double grow)
{
    QPainterPath field;
    field.addRect(QRectF(kBand - grow, kBand - grow, kWidth - 2 * (kBand - grow), kHeight - 2 * (kBand - grow)));
    QPainterPath tab;
    tab.addRect(QRectF(kTabLeft - grow, kHeight - kBand - 40, kTabRight - kTabLeft + 2 * grow,
                       kBand + 40 - kInner - 2));
    return field.united(tab).simplified();
}

bool inTab(double x)
{
    return x > kTabLeft - 60 && x < kTabRight + 60;
}

// The border band: gradient paper, then the white field.
void drawPaper(QPainter& p, const Theme& t)
{
    QLinearGradient g(0, 0, kWidth, kHeight);
    g.setColorAt(0, t.paperFrom);
    g.setColorAt(0.5, t.paperTo);
    g.setColorAt(1, t.paperFrom);
    p.fillRect(QRect(0, 0, kWidth, kHeight), g);
    p.fillPath(whiteField(0), Qt::white);
}

// Waves along all four sides of the band, several phases on top of each other.
void drawGuilloche(QPainter& p, const QColor& colour, double mid, double amplitude, double period)
{
    QPen pen(colour, 3);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const double from = kOuter + 120, toX = kWidth - kOuter - 120, toY = kHeight - kOuter - 120;
    for (int phase = 0; phase < 4; ++phase) {
        const double ph = phase * M_PI / 2;
        QPainterPath top, bottom, left, right;
        for (double x = from; x <= toX; x += 4) {
            const double d = amplitude * std::sin(2 * M_PI * x / period + ph);
            if (x == from)
                top.moveTo(x, mid + d);
            else
                top.lineTo(x, mid + d);
            if (inTab(x))
                continue;
            if (x == from || inTab(x - 4))
                bottom.moveTo(x, kHeight - mid - d);
            else
                bottom.lineTo(x, kHeight - mid - d);
        }
        for (double y = from; y <= toY; y += 4) {
            const double d = amplitude * std::sin(2 * M_PI * y / period + ph);
            if (y == from) {
                left.moveTo(mid + d, y);
                right.moveTo(kWidth - mid - d, y);
            } else {
                left.lineTo(mid + d, y);
                right.lineTo(kWidth - mid - d, y);
            }
        }
        p.drawPath(top);
        p.drawPath(bottom);
        p.drawPath(left);
        p.drawPath(right);
    }
}

// Positions along the middle line of the band, every step pixels, corners left free.
template <typename F>
void alongBand(double mid, double step, F&& draw)
{
    const double from = kOuter + 150;
    for (double x = from; x <= kWidth - from; x += step) {
        draw(QPointF(x, mid), 0.0);
        if (!inTab(x))
            draw(QPointF(x, kHeight - mid), M_PI);
    }
    for (double y = from; y <= kHeight - from; y += step) {
        draw(QPointF(mid, y), -M_PI / 2);
        draw(QPointF(kWidth - mid, y), M_PI / 2);
    }
}

void drawBandOrnament(QPainter& p, const Theme& t)
{
    const double mid = (kOuter + kBand) / 2.0 + 10;
    p.setRenderHint(QPainter::Antialiasing);
    switch (t.motif) {
    case Motif::Laurel: {
        QColor wave = t.secondary;
        wave.setAlpha(150);
        drawGuilloche(p, wave, mid, 26, 180);
        QColor leaf = t.accent;
        leaf.setAlpha(200);
        alongBand(mid, 180, [&](QPointF c, double a) {
            drawLeaf(p, c + QPointF(std::cos(a) * 28, std::sin(a) * 28), a + 0.5, 56, 18, leaf);
            drawLeaf(p, c - QPointF(std::cos(a) * 28, std::sin(a) * 28), a - 0.5, 56, 18, leaf);
        });
        break;
    }
    case Motif::Geometry: {
        QColor line = t.secondary;
        line.setAlpha(170);
        p.setPen(QPen(line, 3));
        p.setBrush(Qt::NoBrush);
        alongBand(mid, 110, [&](QPointF c, double) {
            QPolygonF diamond;
            diamond << c + QPointF(0, -34) << c + QPointF(34, 0) << c + QPointF(0, 34) << c + QPointF(-34, 0);
            p.drawPolygon(diamond);
            p.drawEllipse(c, 14, 14);
        });
        p.setFont(pixelFont("DejaVu Sans", 44, true));
        p.setPen(t.primary);
        const QString symbols = QStringLiteral("π∑√∞∫Δ≈∠");
        int k = 0;
        alongBand(mid, 440, [&](QPointF c, double) {
            const QString s = symbols.mid(k++ % symbols.size(), 1);
            const QRectF box(c.x() - 40, c.y() - 30, 80, 60);
            p.fillRect(box.adjusted(8, 4, -8, -4), t.paperTo);
            p.drawText(box, Qt::AlignCenter, s);
        });
        break;
    }
    case Motif::Stars: {
        int k = 0;
        const QColor colours[] = {t.accent, t.secondary, t.primary.lighter(140)};
        alongBand(mid, 120, [&](QPointF c, double a) {
            const QColor& col = colours[k++ % 3];
            p.fillPath(starPath(c, 38, 16, 5, -M_PI / 2 + a), col);
        });
        break;
    }
    }
}

void drawFrames(QPainter& p, const Theme& t)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(t.primary, 14, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRectF(kOuter, kOuter, kWidth - 2 * kOuter, kHeight - 2 * kOuter));
    p.setPen(QPen(t.primary, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRectF(kInner, kInner, kWidth - 2 * kInner, kHeight - 2 * kInner));
    p.setPen(QPen(t.secondary, 6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(whiteField(14));
    p.setPen(QPen(t.secondary, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(whiteField(0));
}

// Rosettes in the four corners of the band.
void drawCorners(QPainter& p, const Theme& t)
{
    const double c = (kOuter + kBand) / 2.0 + 8;
    const QPointF centres[] = {{c, c}, {kWidth - c, c}, {c, kHeight - c}, {kWidth - c, kHeight - c}};
    for (const QPointF& ctr : centres) {
        p.setPen(QPen(t.primary, 5));
        p.setBrush(t.paperFrom);
        p.drawEllipse(ctr, 92, 92);
        for (int i = 0; i < 12; ++i) {
            const double a = i * M_PI / 6;
            drawLeaf(p, ctr + QPointF(std::cos(a) * 48, std::sin(a) * 48), a, 80, 26, t.accent);
        }
        p.setPen(QPen(t.primary, 3));
        p.setBrush(t.primary);
        p.drawEllipse(ctr, 18, 18);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(ctr, 76, 76);
    }
}

void drawWreath(QPainter& p, QPointF c, double r, const QColor& colour)
{
    // Two branches from the bottom up to the top, leaves on both sides of the stem.
    p.setPen(QPen(colour, 6));
    for (int side : {-1, 1}) {
        QPainterPath stem;
        for (int i = 0; i <= 60; ++i) {
            const double a = M_PI / 2 + side * (0.25 + i * (M_PI * 0.78) / 60);
            const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
            if (i == 0)
                stem.moveTo(pt);
            else
                stem.lineTo(pt);
        }
        p.drawPath(stem);
        for (int i = 0; i < 11; ++i) {
            const double a = M_PI / 2 + side * (0.35 + i * (M_PI * 0.7) / 10);
            const QPointF on(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
            const double tangent = a + side * M_PI / 2;
            const double size = 70 - i * 2.5;
            drawLeaf(p, on + QPointF(std::cos(a) * 22, std::sin(a) * 22), tangent + side * 0.5, size, size * 0.36, colour);
            drawLeaf(p, on - QPointF(std::cos(a) * 22, std::sin(a) * 22), tangent - side * 0.5, size, size * 0.36, colour);
        }
    }
    // ribbon at the bottom
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath bow;
    const QPointF b(c.x(), c.y() + r + 6);
    bow.moveTo(b);
    bow.lineTo(b + QPointF(-70, 40));
    bow.lineTo(b + QPointF(-52, 58));
    bow.closeSubpath();
    bow.moveTo(b);
    bow.lineTo(b + QPointF(70, 40));
    bow.lineTo(b + QPointF(52, 58));
    bow.closeSubpath();
    p.drawPath(bow);
    p.drawEllipse(b, 16, 16);
}

// Drawn around (0, 0) at full size and scaled into the space between the top
// of the white field and the heading.
void drawEmblem(QPainter& p, const Theme& t)
{
    p.save();
    p.translate(kWidth / 2.0, 440);
    p.scale(0.68, 0.68);
    const QPointF c(0, 0);
    const double r = 170;
    p.setRenderHint(QPainter::Antialiasing);
    switch (t.motif) {
    case Motif::Laurel: {
        drawWreath(p, c, r + 20, t.accent);
        // shield
        QPainterPath shield;
        shield.moveTo(c.x() - 105, c.y() - 120);
        shield.lineTo(c.x() + 105, c.y() - 120);
        shield.lineTo(c.x() + 105, c.y() + 10);
        shield.quadTo(c.x() + 100, c.y() + 110, c.x(), c.y() + 150);
        shield.quadTo(c.x() - 100, c.y() + 110, c.x() - 105, c.y() + 10);
        shield.closeSubpath();
        p.setPen(QPen(t.primary, 8));
        p.setBrush(t.primary);
        p.drawPath(shield);
        // open book
        p.setPen(QPen(Qt::white, 4));
        p.setBrush(Qt::white);
        for (int side : {-1, 1}) {
            QPainterPath page;
            page.moveTo(c.x(), c.y() - 10);
            page.quadTo(c.x() + side * 40, c.y() - 40, c.x() + side * 78, c.y() - 22);
            page.lineTo(c.x() + side * 78, c.y() + 62);
            page.quadTo(c.x() + side * 40, c.y() + 44, c.x(), c.y() + 74);
            page.closeSubpath();
            p.drawPath(page);
        }
        p.setPen(QPen(t.primary, 3));
        for (int i = 0; i < 4; ++i)
            for (int side : {-1, 1})
                p.drawLine(QPointF(c.x() + side * 14, c.y() + 6 + i * 14),
                           QPointF(c.x() + side * 64, c.y() - 6 + i * 14));
        p.fillPath(starPath(QPointF(c.x(), c.y() - 72), 34, 14, 5), t.accent);
        break;
    }
    case Motif::Geometry: {
        drawWreath(p, c, r + 20, t.secondary);
        p.setPen(QPen(t.primary, 8));
        p.setBrush(Qt::white);
        p.drawEllipse(c, r - 30, r - 30);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(t.primary, 5));
        QPolygonF tri;
        for (int i = 0; i < 3; ++i) {
            const double a = -M_PI / 2 + i * 2 * M_PI / 3;
            tri << QPointF(c.x() + (r - 30) * std::cos(a), c.y() + (r - 30) * std::sin(a));
        }
        p.drawPolygon(tri);
        p.setPen(QPen(t.accent, 5));
        p.drawEllipse(c, (r - 30) / 2, (r - 30) / 2);
        p.setPen(t.primary);
        p.setFont(pixelFont("DejaVu Serif", 96, true, true));
        p.drawText(QRectF(c.x() - 70, c.y() - 50, 140, 120), Qt::AlignCenter, QStringLiteral("π"));
        // compass legs over the circle
        p.setPen(QPen(t.primary, 9, Qt::SolidLine, Qt::RoundCap));
        const QPointF hinge(c.x(), c.y() - r - 40);
        p.drawLine(hinge, QPointF(c.x() - 120, c.y() - r + 70));
        p.drawLine(hinge, QPointF(c.x() + 120, c.y() - r + 70));
        p.setBrush(t.accent);
        p.drawEllipse(hinge, 16, 16);
        break;
    }
    case Motif::Stars: {
        // sun with alternating rays
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 24; ++i) {
            const double a = i * M_PI / 12;
            const double len = (i % 2 == 0) ? r + 60 : r + 20;
            QPolygonF ray;
            ray << QPointF(c.x() + (r - 40) * std::cos(a - 0.09), c.y() + (r - 40) * std::sin(a - 0.09))
                << QPointF(c.x() + len * std::cos(a), c.y() + len * std::sin(a))
                << QPointF(c.x() + (r - 40) * std::cos(a + 0.09), c.y() + (r - 40) * std::sin(a + 0.09));
            p.setBrush(i % 2 == 0 ? t.accent : t.secondary);
            p.drawPolygon(ray);
        }
        QRadialGradient g(c, r - 30);
        g.setColorAt(0, QColor(255, 236, 140));
        g.setColorAt(1, t.accent);
        p.setBrush(g);
        p.setPen(QPen(t.secondary, 6));
        p.drawEllipse(c, r - 30, r - 30);
        p.fillPath(starPath(c, 92, 38, 5), t.primary);
        // a pencil under the sun
        p.save();
        p.translate(c.x() + 150, c.y() + 150);
        p.rotate(-35);
        p.setPen(QPen(t.primary, 4));
        p.setBrush(t.secondary);
        p.drawRect(QRectF(-110, -18, 180, 36));
        p.setBrush(QColor(250, 220, 180));
        QPolygonF tip;
        tip << QPointF(70, -18) << QPointF(120, 0) << QPointF(70, 18);
        p.drawPolygon(tip);
        p.restore();
        for (int i = 0; i < 6; ++i) {
            const double a = M_PI + i * M_PI / 5;
            const QPointF s(c.x() + 330 * std::cos(a), c.y() + 150 + 110 * std::sin(a));
            p.fillPath(starPath(s, 30, 12, 5), i % 2 ? t.secondary : t.accent);
        }
        break;
    }
    }
    p.restore();
}

// A line with a diamond in the middle, as a separator.
void drawDivider(QPainter& p, const Theme& t, double y, double halfWidth)
{
    const double cx = kWidth / 2.0;
    p.setPen(QPen(t.secondary, 4));
    p.drawLine(QPointF(cx - halfWidth, y), QPointF(cx - 40, y));
    p.drawLine(QPointF(cx + 40, y), QPointF(cx + halfWidth, y));
    QPolygonF d;
    d << QPointF(cx, y - 22) << QPointF(cx + 30, y) << QPointF(cx, y + 22) << QPointF(cx - 30, y);
    p.setBrush(t.accent);
    p.setPen(QPen(t.primary, 3));
    p.drawPolygon(d);
}

void drawTexts(QPainter& p, const Theme& t)
{
    p.setPen(t.primary);
    const QString headingText = QString::fromUtf8(t.heading);
    QFont heading = pixelFont("Liberation Serif", 48, true);
    heading.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    while (QFontMetrics(heading).horizontalAdvance(headingText) > kWidth - 2 * kBand - 240)
        heading.setPixelSize(heading.pixelSize() - 2);
    p.setFont(heading);
    p.drawText(QRectF(kBand, 700, kWidth - 2 * kBand, 64), Qt::AlignHCenter | Qt::AlignTop, headingText);
    p.setFont(pixelFont("Liberation Serif", 40, false, true));
    p.drawText(QRectF(kBand, 790, kWidth - 2 * kBand, 60), Qt::AlignHCenter | Qt::AlignTop, QString::fromUtf8(t.footer));
    drawDivider(p, t, 900, 560);
    // Here the workstation prints the titles (from unit 1065), the event, the
    // class, the name and the school (down to unit 2550) and the registration
    // number (unit 2600, from unit 565 on the left).

    // signatures and the seal
    QFont sign = pixelFont("Liberation Serif", 46);
    p.setFont(sign);
    p.setPen(t.primary);
    const double left = 330, lineFrom = 1080, lineTo = 1560;
    p.drawText(QPointF(left, 2790), QStringLiteral("Председатель оргкомитета"));
    p.drawText(QPointF(left, 2960), QStringLiteral("Председатель жюри"));
    p.setPen(QPen(t.primary, 3));
    p.drawLine(QPointF(lineFrom, 2796), QPointF(lineTo, 2796));
    p.drawLine(QPointF(lineFrom, 2966), QPointF(lineTo, 2966));
    p.setFont(pixelFont("Liberation Serif", 30, false, true));
    p.drawText(QRectF(lineFrom, 2804, lineTo - lineFrom, 40), Qt::AlignHCenter, QStringLiteral("(подпись)"));
    p.drawText(QRectF(lineFrom, 2974, lineTo - lineFrom, 40), Qt::AlignHCenter, QStringLiteral("(подпись)"));

    const QPointF seal(1930, 2870);
    QPen dashed(t.secondary, 5, Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(seal, 170, 170);
    p.setPen(QPen(t.secondary, 2));
    p.drawEllipse(seal, 140, 140);
    p.setFont(pixelFont("Liberation Serif", 54, true));
    p.setPen(t.secondary);
    p.drawText(QRectF(seal.x() - 140, seal.y() - 40, 280, 80), Qt::AlignCenter, QStringLiteral("М. П."));

    // Below it the place and year, printed by the workstation in the tab.
    drawDivider(p, t, 3200, 760);
}

QImage drawTemplate(const Theme& t)
{
    QImage img(kImageWidth, kImageHeight, QImage::Format_RGB32);
    img.setDotsPerMeterX(kDotsPerMeter);
    img.setDotsPerMeterY(kDotsPerMeter);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(double(kImageWidth) / kWidth, double(kImageHeight) / kHeight);
    drawPaper(p, t);
    drawBandOrnament(p, t);
    drawFrames(p, t);
    drawCorners(p, t);
    drawEmblem(p, t);
    drawTexts(p, t);
    p.end();
    return img;
}

void writeImage(const QImage& img, const QString& path)
{
    QImageWriter w(path, "jpeg");
    w.setQuality(kQuality);
    if (!w.write(img))
        throw AssetError("cannot write " + path.toStdString() + ": " + w.errorString().toStdString());
}

void writeText(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw AssetError("cannot write " + path.toStdString() + ": " + f.errorString().toStdString());
}

// The help page. Kept to the HTML that QTextDocument lays out well, so that
// the PDF instruction is the same text.
const char* const kHelpHtml = R"HTML(<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<title>АРМ администратора региональных мероприятий. Справка</title>
<style>
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 11pt; color: #1a1a1a; max-width: 60em; margin: 1em auto; line-height: 1.35; }
h1 { font-size: 18pt; color: #1c3a7a; }
h2 { font-size: 14pt; color: #1c3a7a; margin-top: 1.2em; }
h3 { font-size: 12pt; color: #28507e; }
td, th { border: 1px solid #9ab; padding: 3px 6px; vertical-align: top; }
th { background-color: #dde6f2; }
.note { background-color: #fff8dc; padding: 4px; }
</style>
</head>
<body>
<h1>АИС «Тальвира». АРМ администратора региональных мероприятий Велградской области</h1>
<p>Версия 3.0. Справка пользователя.</p>

<h2>Назначение программы</h2>
<p>Программа — рабочее место администратора регионального этапа олимпиад школьников и других
общеобразовательных мероприятий Велградской области. Собственных данных программа не хранит:
всё, что она показывает и изменяет, находится в центральной базе данных образовательной платформы.
На платформе обучающиеся выбирают мероприятия и проходит муниципальный этап; программа работает
с региональным этапом текущего (активного) учебного года.</p>
<p>Администратор в программе:</p>
<ul>
<li>устанавливает проходные баллы для победителей и призёров своих мероприятий;</li>
<li>назначает обучающимся региональные мероприятия, если они не сделали выбор сами;</li>
<li>формирует заявку (список участников) мероприятия и уточняет сведения об участниках:
место участия, гостиницу, даты заезда и отъезда, сопровождающего;</li>
<li>выгружает заявки, краткие и полные, в электронную таблицу или в файл HTML;</li>
<li>строит рейтинг мероприятия, вычисляет статусы участников по проходным баллам и при необходимости
исправляет результаты и статусы вручную; выгружает рейтинг в электронную таблицу;</li>
<li>формирует дипломы и сертификаты участникам и ведёт журнал их выдачи.</li>
</ul>
<p>Результаты работы сохраняются в папках рядом с программой: «Заявки», «Рейтинги», «Журнал», «Дипломы».</p>

<h2>Порядок работы в учебном году</h2>
<ol>
<li>Войдите в программу (Пользователь → Авторизация) и установите проходные баллы.</li>
<li>Проверьте, что обучающиеся выбрали мероприятия; при необходимости назначьте мероприятие сами.</li>
<li>Сформируйте заявку каждого мероприятия и уточните сведения об участниках.</li>
<li>Выгрузите заявки.</li>
<li>После проведения мероприятия внесите результаты в рейтинг.</li>
<li>Примените проходные баллы к рейтингу, проверьте и исправьте статусы, выгрузите рейтинг.</li>
<li>Сформируйте дипломы победителям и призёрам и сертификаты участникам; выгрузите журнал учёта.</li>
</ol>

<h2>Главное окно</h2>
<p>Все рабочие окна открываются внутри главного окна через его меню. Каждый выбор пункта меню открывает
новое окно, поэтому одно и то же окно можно открыть несколько раз, например для двух мероприятий.
В строке состояния внизу показаны вошедший пользователь («КРМ: » и фамилия, имя, отчество) и краткая
подсказка к пункту меню под указателем мыши. Значок справа от надписи внизу окна показывает
соединение с базой данных: зелёный — соединение установлено, красный — соединение потеряно.</p>
<p class="note">До входа в программу доступны только пункты «Авторизация», «Сайт «Кассиор»», «Забыли пароль?»,
«Завершение работы», «on-Line помощь», «Инструкция пользователю» и «О программе». Остальные пункты
открываются после успешного входа. Отдельные пункты может закрыть для всех администраторов
администратор АИС; такие пункты остаются недоступными и после входа.</p>

<h2>Меню «Пользователь»</h2>
<table cellspacing="0" width="100%">
<tr><th width="30%">Пункт</th><th>Что делает</th></tr>
<tr><td>Авторизация (Alt+Z)</td><td>Начинает сеанс работы. Введите логин (адрес электронной почты) и пароль.
Кнопка выбора сети позволяет переключиться между сетями «Интернет» и «Интрасеть «Кассиор»».
После входа в строке состояния появляется Ваше имя, открываются пункты меню, и, если администратор АИС
разместил объявление, оно показывается в отдельном окне. Неудачная попытка входа закрывает пункты меню,
доступные только после входа.</td></tr>
<tr><td>Сайт «Кассиор»</td><td>Открывает сайт организации в браузере по умолчанию.</td></tr>
<tr><td>Личные данные</td><td>Просмотр и изменение Ваших фамилии, имени, отчества, муниципального образования,
места работы, должности и телефона. Все поля обязательны. Фамилия, имя и отчество сохраняются с заглавной буквы.</td></tr>
<tr><td>Изменить пароль</td><td>Записывает в базу новый пароль для входа в АИС. Пароль хранится только в виде
защищённой свёртки.</td></tr>
<tr><td>Забыли пароль?</td><td>Подсказывает, к кому обратиться: новый пароль назначает администратор АИС
в образовательном центре «Кассиор».</td></tr>
<tr><td>Завершение работы (Alt+X)</td><td>Закрывает все окна и программу.</td></tr>
</table>

<h2>Меню «Рег.Мероприятия»</h2>
<h3>Установить проходные баллы для победителей (призеров)</h3>
<p>Список Ваших мероприятий активного учебного года с тремя проходными баллами: минимальный и максимальный
балл призёра и балл, начиная с которого участник становится победителем. Кнопка «Изменить» или двойной щелчок
по строке открывает окно ввода баллов. Минимальный балл призёра должен быть меньше
максимального, а максимальный — меньше балла победителя.</p>
<h3>Назначение участнику регионального мероприятия</h3>
<p>Для обучающегося, который сам не выбрал мероприятие. Найдите его по части фамилии, отметьте нужные
мероприятия и сохраните. Сохранение заменяет весь выбор обучающегося в активном учебном году;
класс участия записывается равным классу обучения.</p>
<h3>Формирование списка участников</h3>
<p>Выберите мероприятие. Слева показаны кандидаты — обучающиеся, выбравшие мероприятие и ещё не включённые
в заявку, справа — заявка. Кнопки: «&gt;» добавляет выбранных кандидатов, «&gt;&gt;» — всех кандидатов,
«&lt;&lt;» удаляет из заявки всех участников, «&lt;» — выбранных. Новый участник получает статус
«Кандидат в участники».</p>
<h3>Детализация сведений об участниках, включенных в заявку</h3>
<p>Для каждого участника заявки укажите место участия (муниципальное образование), потребность в гостинице,
даты заезда и отъезда и сопровождающего: кнопка «Редактировать» или двойной щелчок по строке.
Чтобы задать одинаковые сведения сразу группе участников, выделите их щелчками с нажатой клавишей Ctrl.</p>
<h3>Экспорт заявок</h3>
<p>Выгружает заявку одного мероприятия или всех мероприятий активного года: краткую или полную,
в электронную таблицу или в файл HTML. Файлы сохраняются в папке «Заявки» рядом с программой; имя файла
начинается с номера в скобках, содержит название мероприятия и дату, и ранее сохранённые файлы
не перезаписываются.</p>
<h3>Формирование рейтингов</h3>
<p>Выберите мероприятие и отметьте классы обучения; при необходимости отберите участников по полу
и по наличию ограниченных возможностей здоровья. Участники показаны по убыванию результата,
каждая строка окрашена в цвет статуса.</p>
<p>Кнопка «Применить к рейтингу» записывает проходные баллы и вычисляет статусы участников отмеченных классов:
сначала все получают статус «Кандидат в участники», участник с результатом больше нуля — «Участник
регионального этапа», с результатом не ниже балла победителя — «Победитель регионального этапа»,
с результатом в пределах баллов призёра — «Призер регионального этапа».</p>
<p>Результат можно изменить прямо в таблице или в отдельном окне (кнопка «Редактировать»), статус —
через меню правой кнопки мыши на колонке «Статус» (в том числе «Не прибыл на региональный этап»).
Если администратор АИС закрыл редактирование мероприятия, рейтинг можно только просматривать
и выгружать. Кнопка «Экспорт» сохраняет рейтинг в папку «Рейтинги».</p>
<table cellspacing="0">
<tr><th>Статус</th><th>Цвет строки</th></tr>
<tr><td>Кандидат в участники, Участник регионального этапа</td><td>обычный</td></tr>
<tr><td bgcolor="#f08080">Победитель регионального этапа</td><td>светло-коралловый</td></tr>
<tr><td bgcolor="#ffdab9">Призер регионального этапа</td><td>персиковый</td></tr>
<tr><td bgcolor="#c0c0c0">Не прибыл на региональный этап</td><td>серый</td></tr>
</table>

<h2>Меню «Дипломы (сертификаты)»</h2>
<h3>Дипломы (регионального мероприятия)</h3>
<p>Выберите мероприятие; в списке — победители, призёры и участники регионального этапа. Отметьте нужных
(двойной щелчок по строке или «Выбрать все») и нажмите «Создать». Программа загрузит бланк с файлового
сервера и сохранит по одному изображению на участника в папке «Дипломы\Название мероприятия»:
победителю — «Диплом победителя», призёру — «Диплом призёра», участнику — «Сертификат участника»,
с регистрационным номером. Формирование доступно, пока его не закрыл администратор АИС.</p>
<h3>Журнал учета</h3>
<p>Электронный журнал выдачи дипломов и сертификатов мероприятия: статус, фамилия, имя, отчество, класс,
образовательная организация и номер документа. Кнопка выгрузки сохраняет журнал в папку «Журнал».</p>

<h2>Меню «Окна»</h2>
<p>«Каскадом», «Горизонтально», «Вертикально» — упорядочивают открытые окна; «Минимизировать все» сворачивает
их, «Закрыть все» закрывает. Ниже перечислены открытые окна; выбор окна выводит его на передний план.</p>

<h2>Меню «Помощь»</h2>
<table cellspacing="0" width="100%">
<tr><th width="30%">Пункт</th><th>Что делает</th></tr>
<tr><td>on-Line помощь</td><td>Открывает эту справку в браузере.</td></tr>
<tr><td>Инструкция пользователю</td><td>Открывает инструкцию в формате PDF.</td></tr>
<tr><td>О программе</td><td>Название, версия и сведения о разработчике.</td></tr>
<tr><td>Обновление АРМа</td><td>Сравнивает версию программы с актуальной версией в базе данных. Если версии
совпадают, сообщает, что обновление не требуется; иначе запускает программу обновления.</td></tr>
</table>

<h2>Частые вопросы</h2>
<p><b>Пункты меню недоступны.</b> Войдите в программу. Если пункт недоступен и после входа, его закрыл
администратор АИС.</p>
<p><b>Мероприятия нет в списке.</b> В списках показаны только действующие мероприятия, за которые Вы отвечаете,
как правило — активного учебного года.</p>
<p><b>Обучающегося нет среди кандидатов.</b> Кандидат должен выбрать мероприятие в активном учебном году и иметь
заполненные на платформе сведения (класс, пол, дату рождения). Назначьте ему мероприятие в пункте
«Назначение участнику регионального мероприятия».</p>
<p><b>Ошибка записи в БД.</b> Изменение не сохранено; проверьте соединение (значок внизу окна) и повторите.</p>
</body>
</html>
)HTML";

void writeHelp(const QDir& dir)
{
    const QByteArray html(kHelpHtml);
    writeText(dir.filePath("index.htm"), html);

    const QString pdfPath = dir.filePath("help80v3.pdf");
    QPdfWriter pdf(pdfPath);
    pdf.setTitle(QStringLiteral("АРМ администратора региональных мероприятий. Инструкция пользователю"));
    pdf.setCreator(QStringLiteral("Тальвира"));
    pdf.setResolution(300);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QTextDocument doc;
    // print() lays the text out with its own 2 cm margins and page numbers.
    doc.setDefaultFont(QFont("DejaVu Sans", 10));
    doc.setHtml(QString::fromUtf8(html));
    doc.print(&pdf);
    QFile check(pdfPath);
    if (!check.exists() || check.size() < 1000)
        throw AssetError("cannot write " + pdfPath.toStdString());
}

QDir makeDir(const QString& path)
{
    QDir dir(path);
    if (!dir.mkpath("."))
        throw AssetError("cannot create folder " + path.toStdString());
    return dir;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: talvira_assets <folder>\n");
        return 2;
    }
    try {
        const QString root = args.at(1);
        const QDir images = makeDir(root + "/Images");
        for (const Theme& t : kThemes)
            writeImage(drawTemplate(t), images.filePath(t.file));
        writeHelp(makeDir(root + "/help80v3"));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "talvira_assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
