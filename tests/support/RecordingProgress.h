#pragma once
// A progress sink that remembers what it was told, for tests of long actions.

#include "base/Progress.h"

#include <QStringList>

/// Records every call in order as a short line and keeps the resulting state of
/// the label and the bar.
///
///     RecordingProgress progress;
///     writeRows(progress, 2);
///     QCOMPARE(progress.calls, (QStringList{"range 0 2", "step Импорт данных...",
///                                           "position 1", "position 2", "hide"}));
///     QVERIFY(!progress.visible);
class RecordingProgress : public TProgressSink {
public:
    /// "step T", "text T", "hide", "range MIN MAX", "position P".
    QStringList calls;
    QString text;
    bool visible = false;
    int minimum = 0;
    int maximum = 0;
    int position = 0;

    /// The calls other than "position", which a long action makes once a row.
    ///
    ///     QCOMPARE(progress.withoutPositions(), (QStringList{"range 0 10000", "text Импорт данных...", "hide"}));
    QStringList withoutPositions() const
    {
        QStringList rest;
        for (const QString& c : calls)
            if (!c.startsWith(QStringLiteral("position ")))
                rest << c;
        return rest;
    }

    void setStep(const QString& t) override
    {
        calls << QStringLiteral("step ") + t;
        text = t;
        visible = true;
    }
    void setStepText(const QString& t) override
    {
        calls << QStringLiteral("text ") + t;
        text = t;
    }
    void hideStep() override
    {
        calls << QStringLiteral("hide");
        text.clear();
        visible = false;
    }
    void setRange(int min, int max) override
    {
        calls << QStringLiteral("range %1 %2").arg(min).arg(max);
        minimum = min;
        maximum = max;
    }
    void setPosition(int p) override
    {
        calls << QStringLiteral("position %1").arg(p);
        position = p;
    }
};
