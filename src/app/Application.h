#pragma once
// The application object: its title and the last line of defence that leads
// any failure escaping an event to the general error display.

#include "ui/ErrorDisplay.h"

#include <QApplication>
#include <QLocale>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    /// The locale of dates and numbers for a system locale: the user's own,
    /// or Russian when the system's is the neutral C/POSIX one. Start-up makes
    /// it the default of the program.
    ///
    ///     TApplication::workingLocale(QLocale::c()).name()   // "ru_RU"
    static QLocale workingLocale(const QLocale& system);
};

/// Start-up, once the main window exists: a warning that lists the lines of
/// the settings file (systemConfigPath()) that were skipped; nothing when the
/// file is missing or sound. Before it, a warning when the file holds the
/// database password and every user of the machine can read it.
///
///     TFormMainZRT main;
///     reportSystemConfigFaults();
void reportSystemConfigFaults();
