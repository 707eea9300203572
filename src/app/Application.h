#pragma once
// The application object: its title and the last line of defence that leads
// any failure escaping an event to the general error display.

#include "ui/ErrorDisplay.h"

#include <QApplication>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

/// Start-up, once the main window exists: a warning that lists the lines of
/// the settings file (systemConfigPath()) that were skipped; nothing when the
/// file is missing or sound.
///
///     TFormMainZRT main;
///     reportSystemConfigFaults();
void reportSystemConfigFaults();
