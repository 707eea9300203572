#include "events/WordWrapCheckBox.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {
// Captions are names from the database: an ampersand in one is shown as it is.
constexpr int textFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
constexpr int verticalMargin = 2;
} // namespace

TWordWrapCheckBox::TWordWrapCheckBox(QWidget* parent)
    : QCheckBox(parent)
{
}

void TWordWrapCheckBox::setWordWrap(bool on)
{
    if (wordWrap_ == on)
        return;
    wordWrap_ = on;
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(on);
    if (on)
        policy.setHorizontalPolicy(QSizePolicy::Preferred);
    setSizePolicy(policy);
    updateGeometry();
    update();
}

int TWordWrapCheckBox::indicatorSpace() const
{
    return style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this)
           + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
}

QRect TWordWrapCheckBox::textRect(int width) const
{
    const int textWidth = std::max(1, width - indicatorSpace());
    return fontMetrics().boundingRect(QRect(0, 0, textWidth, 100000), textFlags, text());
}

QSize TWordWrapCheckBox::sizeHint() const
{
    if (!wordWrap_)
        return QCheckBox::sizeHint();
    // Unwrapped, the caption would want its full length; a wrapping box is
    // content with a modest width and grows in height instead.
    const QSize plain = QCheckBox::sizeHint();
    const int width = std::min(plain.width(), 300);
    return {width, heightForWidth(width)};
}

QSize TWordWrapCheckBox::minimumSizeHint() const
{
    if (!wordWrap_)
        return QCheckBox::minimumSizeHint();
    const int width = indicatorSpace() + fontMetrics().averageCharWidth() * 8;
    return {width, heightForWidth(width)};
}

bool TWordWrapCheckBox::hasHeightForWidth() const
{
    return wordWrap_;
}

int TWordWrapCheckBox::heightForWidth(int width) const
{
    if (!wordWrap_)
        return QCheckBox::heightForWidth(width);
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    return std::max(indicator, textRect(width).height()) + 2 * verticalMargin;
}

void TWordWrapCheckBox::paintEvent(QPaintEvent* event)
{
    if (!wordWrap_) {
        QCheckBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The style draws the indicator (and the focus frame) without a caption;
    // the caption is drawn wrapped beside it.
    const QString caption = option.text;
    option.text.clear();
    style()->drawControl(QStyle::CE_CheckBox, &option, &painter, this);
    const QRect area = rect().adjusted(indicatorSpace(), 0, 0, 0);
    style()->drawItemText(&painter, area, textFlags, option.palette, isEnabled(), caption,
                          QPalette::WindowText);
}

bool TWordWrapCheckBox::hitButton(const QPoint& pos) const
{
    return wordWrap_ ? rect().contains(pos) : QCheckBox::hitButton(pos);
}
