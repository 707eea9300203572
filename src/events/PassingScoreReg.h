#pragma once

#include <QWidget>

// Placeholder until the window is built.
class TFormPassingScoreReg : public QWidget {
    Q_OBJECT
public:
    explicit TFormPassingScoreReg(QWidget* parent = nullptr) : QWidget(parent)
    {
        setWindowTitle(QStringLiteral("Значения проходных баллов для доступных Вам региональных мероприятий"));
    }
};
