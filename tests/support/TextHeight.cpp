#include "support/TextHeight.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

/// A paint device of 96 dpi, the resolution row heights are measured at.
QImage device96()
{
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(3780);
    device.setDotsPerMeterY(3780);
    return device;
}

QFont calibri(double points)
{
    QFont font(u"Calibri"_s);
    font.setPointSizeF(points);
    return font;
}

} // namespace

int WrappedLines(const QString& text, double width, double points)
{
    QImage device = device96();
    const double digit = QFontMetricsF(QFont(u"Calibri"_s, 11), &device).horizontalAdvance(u'0');
    QTextLayout layout(text, calibri(points), &device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width * digit);
        ++lines;
    }
    layout.endLayout();
    return lines;
}

double LineHeight(double points)
{
    QImage device = device96();
    return QFontMetricsF(calibri(points), &device).height() * 0.75;
}

double NeededHeight(const QString& text, double width, double points)
{
    return WrappedLines(text, width, points) * LineHeight(points);
}
