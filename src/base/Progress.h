#pragma once
// Where a long action reports its progress: the step it is at (a status text)
// and how far it has come on a bar. The window shows it on a label laid over its
// progress bar (TProgressLabel); tests record it. It lies below both the
// writers and the windows, so that both may use it.

#include <QString>

/// The receiver of a long action's progress.
///
///     void writeRows(TProgressSink& progress, int count) {
///         progress.setRange(0, count);
///         progress.setStep(u"Импорт данных..."_s);
///         for (int k = 1; k <= count; ++k) progress.setPosition(k);
///         progress.hideStep();
///     }
class TProgressSink {
public:
    virtual ~TProgressSink() = default;
    /// Shows the status text (the label becomes visible).
    virtual void setStep(const QString& text) = 0;
    /// Changes the status text and leaves its visibility as it is.
    virtual void setStepText(const QString& text) = 0;
    /// Hides the status text and clears it.
    virtual void hideStep() = 0;
    virtual void setRange(int minimum, int maximum) = 0;
    virtual void setPosition(int position) = 0;
};

/// A sink that throws away what it is told.
///
///     TNullProgress none;
///     writeRows(none, 10);
class TNullProgress : public TProgressSink {
public:
    void setStep(const QString&) override {}
    void setStepText(const QString&) override {}
    void hideStep() override {}
    void setRange(int, int) override {}
    void setPosition(int) override {}
};
