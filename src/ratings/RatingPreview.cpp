#include "ratings/RatingPreview.h"

#include "data/Format.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {
// The grid's colours of prize-winners and winners.
const QColor PrizeColor(255, 218, 185);
const QColor WinnerColor(240, 128, 128);
const QColor BarColor(120, 144, 176);
} // namespace

TResultHistogram::TResultHistogram(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(u"Histogram"_s);
    setMouseTracking(true);
    setMinimumSize(220, 90);
}

double TResultHistogram::binWidth(double highest)
{
    if (!(highest > 0))
        return 1;
    const double raw = highest / 20;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double step : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (step * power >= raw - 1e-12)
            return step * power;
    return 10 * power;
}

void TResultHistogram::setResults(const QList<std::optional<double>>& results)
{
    double highest = 0;
    for (const auto& r : results)
        if (r)
            highest = std::max(highest, *r);
    width_ = binWidth(highest);
    bins_.clear();
    const int n = int(std::floor(highest / width_)) + 1;
    for (int k = 0; k < n; ++k)
        bins_.append({k * width_, (k + 1) * width_, 0});
    for (const auto& r : results) {
        if (!r)
            continue;
        const int k = std::clamp(int(std::floor(std::max(0.0, *r) / width_)), 0, n - 1);
        ++bins_[k].count;
    }
    update();
}

void TResultHistogram::setScores(const std::optional<TPassingScores>& scores)
{
    scores_ = scores;
    update();
}

QRectF TResultHistogram::plotRect() const
{
    return QRectF(rect()).adjusted(4, 4, -4, -16);
}

double TResultHistogram::xOf(double value) const
{
    const QRectF plot = plotRect();
    const double span = bins_.isEmpty() ? 1 : bins_.size() * width_;
    return plot.left() + plot.width() * std::clamp(value / span, 0.0, 1.0);
}

int TResultHistogram::binAt(const QPoint& point) const
{
    const QRectF plot = plotRect();
    if (bins_.isEmpty() || !plot.contains(point))
        return -1;
    const int k = int((point.x() - plot.left()) / plot.width() * bins_.size());
    return k >= 0 && k < bins_.size() ? k : -1;
}

QString TResultHistogram::binText(int bin) const
{
    if (bin < 0 || bin >= bins_.size())
        return {};
    const Bin& b = bins_.at(bin);
    return u"от %1 до %2: %3"_s.arg(FloatToStr(b.from), FloatToStr(b.to)).arg(b.count);
}

bool TResultHistogram::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int bin = binAt(help->pos());
        if (bin >= 0)
            QToolTip::showText(help->globalPos(), binText(bin), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void TResultHistogram::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const QRectF plot = plotRect();
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    int most = 0;
    for (const Bin& b : bins_)
        most = std::max(most, b.count);
    if (most > 0) {
        const double w = plot.width() / bins_.size();
        p.setPen(Qt::NoPen);
        p.setBrush(BarColor);
        for (int k = 0; k < bins_.size(); ++k) {
            const double h = plot.height() * bins_.at(k).count / most;
            p.drawRect(QRectF(plot.left() + k * w + 0.5, plot.bottom() - h, std::max(1.0, w - 1), h));
        }
    }
    if (scores_) {
        const auto line = [&](double value, const QColor& color) {
            const double x = xOf(value);
            p.setPen(QPen(color, 3));
            p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            p.setPen(QPen(color.darker(160), 1));
            p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        };
        line(scores_->prizeWinnerMin, PrizeColor);
        line(scores_->prizeWinnerMax, PrizeColor);
        line(scores_->winner, WinnerColor);
    }
    p.setPen(palette().color(QPalette::Text));
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    p.setFont(f);
    if (!bins_.isEmpty()) {
        const QRectF labels(plot.left(), plot.bottom() + 1, plot.width(), 14);
        p.drawText(labels, Qt::AlignLeft | Qt::AlignTop, u"0"_s);
        p.drawText(labels, Qt::AlignRight | Qt::AlignTop, FloatToStr(bins_.size() * width_));
    }
}

TRatingPreview::TRatingPreview(QWidget* parent)
    : QFrame(parent)
    , changesLabel_(new QLabel(this))
    , setByHandLabel_(new QLabel(this))
    , histogram_(new TResultHistogram(this))
{
    setObjectName(u"PanelPreview"_s);
    setFrameShape(QFrame::StyledPanel);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 4);
    outer->setSpacing(2);
    auto* layout = new QHBoxLayout;
    auto* column = new QVBoxLayout;
    for (const char* name : {"LabelWinners", "LabelPrizeWinners", "LabelParticipants", "LabelCandidates"}) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        column->addWidget(label);
        labels_ << label;
    }
    column->addStretch();
    layout->addLayout(column);
    layout->addWidget(histogram_, 1);
    outer->addLayout(layout, 1);
    changesLabel_->setObjectName(u"LabelChanges"_s);
    changesLabel_->setWordWrap(true);
    changesLabel_->setToolTip(u"Сколько участников сменит статус при применении, по старому и новому статусу"_s);
    setByHandLabel_->setObjectName(u"LabelSetByHand"_s);
    setByHandLabel_->setWordWrap(true);
    setByHandLabel_->setToolTip(u"Статусы, которые расчёт не ставит (\"Не прибыл\" и другие), выставлены вручную: "
                                "применение заменит их статусами по результату"_s);
    outer->addWidget(changesLabel_);
    outer->addWidget(setByHandLabel_);
    setToolTip(u"Что дадут введённые проходные баллы: строки выбранных классов мероприятия"_s);
    setRows({});
}

void TRatingPreview::setRows(const TRatingRows& rows)
{
    rows_ = rows;
    results_ = rows.results();
    setByHand_ = setByHandStatuses(rows.rows);
    histogram_->setResults(results_);
    const bool any = !setByHand_.isEmpty();
    setByHandLabel_->setText(setByHandText(setByHand_, rows.statusNames));
    setByHandLabel_->setStyleSheet(any ? u"color: #a00000; background: #ffe8a0; font-weight: bold;"_s : QString());
    setScores(scores_);
}

void TRatingPreview::setScores(const std::optional<TPassingScores>& scores)
{
    scores_ = scores;
    histogram_->setScores(scores);
    showCounts(scores ? std::optional<TStatusCounts>(countStatuses(results_, *scores)) : std::nullopt);
    changes_ = scores ? std::optional<TChangeSummary>(summarizeChanges(rows_.rows, *scores)) : std::nullopt;
    changesLabel_->setText(changesText(changes_, rows_.statusNames));
}

void TRatingPreview::showCounts(const std::optional<TStatusCounts>& counts)
{
    counts_ = counts;
    const QStringList names{u"Победители"_s, u"Призеры"_s, u"Участники"_s, u"Кандидаты"_s};
    for (int k = 0; k < labels_.size(); ++k) {
        if (!counts) {
            labels_.at(k)->setText(names.at(k) + u": —"_s);
            continue;
        }
        const int n = k == 0 ? counts->winners : k == 1 ? counts->prizeWinners : k == 2 ? counts->participants
                                                                                     : counts->candidates;
        const QString share = counts->withResult > 0
                                  ? QLocale().toString(100.0 * n / counts->withResult, 'f', 1) + u" %"_s
                                  : u"—"_s;
        labels_.at(k)->setText(u"%1: %2 (%3)"_s.arg(names.at(k)).arg(n).arg(share));
    }
}

QStringList TRatingPreview::lines() const
{
    QStringList out;
    for (const QLabel* label : labels_)
        out << label->text();
    return out;
}

QStringList TRatingPreview::changeLines() const
{
    return {changesLabel_->text(), setByHandLabel_->text()};
}
