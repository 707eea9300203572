#pragma once
// The application object: its title and the last line of defence that leads
// any failure escaping an event to the general error display.

#include <QApplication>

/// The application's title, as the general error display shows it.
QString applicationTitle();

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
