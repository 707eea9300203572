#include "ui/ProgressLabel.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

TProgressLabel::TProgressLabel(QProgressBar* bar, QLabel* label, QObject* parent)
    : QObject(parent ? parent : bar)
    , bar_(bar)
    , label_(label)
{
    label_->setParent(bar_);
    label_->setAlignment(Qt::AlignCenter);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    bar_->setTextVisible(false);
    bar_->installEventFilter(this);
    fit();
    label_->hide();
}

bool TProgressLabel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bar_ && event->type() == QEvent::Resize)
        fit();
    return QObject::eventFilter(watched, event);
}

void TProgressLabel::fit()
{
    label_->setGeometry(bar_->rect());
}

void TProgressLabel::setStep(const QString& text)
{
    label_->setText(text);
    fit();
    label_->show();
    label_->raise();
    label_->repaint();
}

void TProgressLabel::setStepText(const QString& text)
{
    label_->setText(text);
    if (label_->isVisible())
        label_->repaint();
}

void TProgressLabel::hideStep()
{
    label_->hide();
    label_->clear();
}

void TProgressLabel::setRange(int minimum, int maximum)
{
    // An empty range (an export of no rows) leaves the bar empty and idle: a
    // bar whose maximum is its minimum would show the busy animation.
    bar_->setRange(minimum, std::max(maximum, minimum + 1));
    shownPercent_ = -1;
}

void TProgressLabel::setPosition(int position)
{
    bar_->setValue(position);
    const int span = bar_->maximum() - bar_->minimum();
    const int percent = span > 0 ? int(qint64(position - bar_->minimum()) * 100 / span) : 0;
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        bar_->repaint();
    }
}
