#pragma once

#include <QWidget>

// Placeholder until the window is built.
class TFormAppCreateReg : public QWidget {
    Q_OBJECT
public:
    explicit TFormAppCreateReg(QWidget* parent = nullptr) : QWidget(parent)
    {
        setWindowTitle(QStringLiteral("Формирование (заявки) списка участников регионального мероприятия"));
    }
};
