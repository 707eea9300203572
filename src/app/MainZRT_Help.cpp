// Help, instruction, web site, about box and update check.

#include "app/AboutBox.h"
#include "ui/Dialogs.h"
#include "app/FileVersion.h"
#include "app/MainZRT.h"
#include "ui/Shell.h"
#include "data/DataZRT.h"
#include "data/Statements.h"

#include <QCoreApplication>
#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace {

// The host of the internet profile's database server, which also serves the
// help files (port 17002).
QString internetHost()
{
    const auto hostOf = [](const TNetProfile& profile) {
        for (const QString& line : profile)
            if (line.startsWith(u"Server="_s))
                return line.mid(7);
        return QString();
    };
    QString host = DataZRT ? hostOf(DataZRT->ConnectSRV[0]) : QString();
    if (host.isEmpty())
        host = hostOf(TDataZRT::builtInProfiles()[0]);
    return host;
}

QUrl fileServerUrl(const QString& path)
{
    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(internetHost());
    url.setPort(17002);
    url.setPath(path);
    return url;
}

} // namespace

void TFormMainZRT::N146Click()
{
    TShell::Open(siteUrl());
}

void TFormMainZRT::onLine1Click()
{
    TShell::Open(fileServerUrl(u"/help80v3/index.htm"_s));
}

void TFormMainZRT::N137Click()
{
    TShell::Open(fileServerUrl(u"/help80v3/help80v3.pdf"_s));
}

void TFormMainZRT::N139Click()
{
    TAboutBox box(this);
    TDialogs::ShowModal(box);
}

void TFormMainZRT::N11Click()
{
    TQuery* q = DataZRT->emptySQL;
    q->Close();
    q->SQL() = workstationVersionSql();
    q->Open();
    const QString expected = q->FieldByName(u"Version"_s).asString();
    q->Close();

    const QString executable = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    if (FileVersion(executable) == expected) {
        ShowInformation(u"У Вас установлена последняя версии программы.\n\rОбновление не требуется"_s);
        return;
    }
    // Whichever is newer, the updater decides; a missing updater stays silent.
    TShell::StartDetached(updaterProgram(), updaterArguments(executable, quintptr(winId())));
}
