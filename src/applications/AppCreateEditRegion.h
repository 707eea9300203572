#pragma once

#include <QWidget>

// Placeholder until the window is built.
class TFormAppCreateEditRegion : public QWidget {
    Q_OBJECT
public:
    explicit TFormAppCreateEditRegion(QWidget* parent = nullptr) : QWidget(parent)
    {
        setWindowTitle(QStringLiteral("Детализация заявок на участие (проживание) при проведении региональных мероприятий"));
    }
};
