#include "app/Application.h"

#include "ui/Dialogs.h"
#include "ui/ErrorDisplay.h"
#include "data/SystemConfig.h"
#include "app/Emblem.h"

#include <QIcon>
#include <QPixmap>

#include <QLocale>

using namespace Qt::Literals::StringLiterals;

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(u"talvira"_s);
    setApplicationVersion(QStringLiteral(TALVIRA_FILE_VERSION));
    // The desktop entry and its icon (packaging/) carry this name.
    setDesktopFileName(u"talvira"_s);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(emblemPicture(size)));
    setWindowIcon(icon);
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

void reportSystemConfigFaults()
{
    const TSystemConfig& config = systemConfig();
    if (!config.dbPassword.isEmpty() && isReadableByEveryone(systemConfigPath()))
        ShowWarning(u"Файл настроек \""_s + systemConfigPath()
                    + u"\" хранит пароль базы данных и доступен для чтения всем пользователям этого компьютера."
                      u"\n\rОграничьте доступ к нему: владелец root, группа администраторов, права 640."_s);
    if (config.faults.isEmpty())
        return;
    ShowWarning(u"В файле настроек \""_s + systemConfigPath() + u"\" пропущены строки:\n\r"_s
                + config.faults.join(u"\n\r"_s)
                + u"\n\rГде параметр не задан, действует значение по умолчанию."_s);
}
