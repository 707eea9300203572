#pragma once
// The status label laid over a window's progress bar: it shows the step a long
// action is at and repaints at once, although the action keeps the UI thread.

#include "base/Progress.h"

#include <QElapsedTimer>
#include <QObject>

class QLabel;
class QProgressBar;

/// Lays label over bar so that it fills it, hides it, and reports progress to
/// both. The bar is repainted when its percentage moves (not on every row). An
/// empty range (0 to 0) leaves the bar empty and idle, never busy.
///
///     auto* progress = new TProgressLabel(bar, label, this);   // a window: showProgressOn(bar, label)
///     progress->setRange(0, count);
///     progress->setStep(u"Импорт данных..."_s);
class TProgressLabel : public QObject, public TProgressSink {
    Q_OBJECT
public:
    TProgressLabel(QProgressBar* bar, QLabel* label, QObject* parent = nullptr);

    void setStep(const QString& text) override;
    void setStepText(const QString& text) override;
    void hideStep() override;
    void setRange(int minimum, int maximum) override;
    void setPosition(int position) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();
    QProgressBar* bar_;
    QLabel* label_;
    int shownPercent_ = -1;
};
