#include "app/Application.h"

#include "ui/ErrorDisplay.h"

#include <QLocale>

using namespace Qt::Literals::StringLiterals;

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(u"talvira"_s);
    setApplicationVersion(u"3.0.0.5"_s);
    QLocale::setDefault(workingLocale(QLocale::system()));
}

QLocale TApplication::workingLocale(const QLocale& system)
{
    // A neutral system (containers, minimal installations) names no user
    // format: dates and numbers are then written the Russian way.
    if (system.language() == QLocale::C || system.name() == u"C"_s || system.name() == u"POSIX"_s)
        return QLocale(QLocale::Russian, QLocale::Russia);
    return system;
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
        return false;
    }
}
