#pragma once

#include <QWidget>

// Placeholder until the window is built.
class TFormSetEventUser : public QWidget {
    Q_OBJECT
public:
    explicit TFormSetEventUser(QWidget* parent = nullptr) : QWidget(parent)
    {
        setWindowTitle(QStringLiteral("Заявки школьников на участие в региональных мероприятиях"));
    }
};
