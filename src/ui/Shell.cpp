#include "ui/Shell.h"

#include "data/SystemConfig.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {
TShell::OpenHook& openHook()
{
    static TShell::OpenHook hook;
    return hook;
}

TShell::StartHook& startHook()
{
    static TShell::StartHook hook;
    return hook;
}
} // namespace

bool TShell::Open(const QUrl& url)
{
    if (openHook())
        return openHook()(url);
    return QDesktopServices::openUrl(url);
}

bool TShell::OpenFile(const QString& path)
{
    return Open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool TShell::OpenFolder(const QString& path)
{
    return Open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

QString TShell::findProgram(const QString& program)
{
    if (program.isEmpty())
        return {};
    if (program.contains(u'/') || program.contains(u'\\')) {
        const QFileInfo file(program);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    const QFileInfo here(QDir::current(), program);
    if (here.isFile() && here.isExecutable())
        return here.absoluteFilePath();
    return QStandardPaths::findExecutable(program);
}

QString TShell::commandLine(const QStringList& arguments)
{
    return arguments.join(u' ');
}

bool TShell::StartDetached(const QString& program, const QStringList& arguments)
{
    if (startHook())
        return startHook()(program, arguments);
    const QString path = findProgram(program);
    if (path.isEmpty())
        return false;
    QProcess process;
    process.setProgram(path);
#ifdef _WIN32
    process.setNativeArguments(commandLine(arguments));
#else
    process.setArguments(arguments);
#endif
    return process.startDetached();
}

void TShell::setHooks(OpenHook open, StartHook start)
{
    openHook() = std::move(open);
    startHook() = std::move(start);
}

QUrl siteUrl()
{
    return QUrl(systemConfig().siteUrl);
}
