// Help, instruction and web site locations, the about box, the version record
// of the executable and the update check with the updater's command line.

#include "app/AboutBox.h"
#include "ui/ErrorDisplay.h"
#include "app/FileVersion.h"
#include "app/MainZRT.h"
#include "ui/Shell.h"
#include "data/DataZRT.h"
#include "support/TestDb.h"
#include "support/Ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Records what would have been opened or started instead of doing it.
struct ShellSpy {
    QList<QUrl> opened;
    QList<QStringList> started; // program, then its arguments
    ShellSpy()
    {
        TShell::setHooks([this](const QUrl& url) { opened << url; return true; },
                         [this](const QString& program, const QStringList& arguments) {
                             started << (QStringList{program} + arguments);
                             return true;
                         });
    }
    ~ShellSpy() { TShell::setHooks({}, {}); }
};

QByteArray record(quint16 a, quint16 b, quint16 c, quint16 d)
{
    QByteArray r = fileVersionMarker();
    for (quint16 v : {a, b, c, d}) {
        const quint16 le = qToLittleEndian(v);
        r.append(reinterpret_cast<const char*>(&le), 2);
    }
    return r;
}

QString failureText(int code, const QString& text)
{
    return u"GetFileVersionInfo failed: (%1) %2"_s.arg(code).arg(text);
}

// Waits until a file appears (a detached program writes it).
QByteArray waitForFile(const QString& path)
{
    QFile f(path);
    for (int i = 0; i < 200 && !(f.exists() && f.size() > 0); ++i)
        QTest::qWait(50);
    QTest::qWait(50);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestUpdate : public QObject {
    Q_OBJECT
private slots:
    void helpLocations_data();
    void helpLocations();
    void aboutBox();
    void fileVersionOfThisProgram();
    void fileVersionOfOtherFiles_data();
    void fileVersionOfOtherFiles();
    void updateCheck_data();
    void updateCheck();
    void updateRowFailure();
    void updaterCommandLine();
    void updaterStartsDetached();
};

void TestUpdate::helpLocations_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("url");
    QTest::newRow("online help") << u"onLine1"_s << u"http://files.velgrad.example:17002/help80v3/index.htm"_s;
    QTest::newRow("instruction") << u"N137"_s << u"http://files.velgrad.example:17002/help80v3/help80v3.pdf"_s;
    QTest::newRow("web site") << u"N146"_s << siteUrl().toString();
}

void TestUpdate::helpLocations()
{
    QFETCH(QString, entry);
    QFETCH(QString, url);
    DataSession s; // nobody logged in
    DataZRT->ConnectSRV[0][2] = u"Server=files.velgrad.example"_s;
    ShellSpy shell;
    UiSeam seam;
    TFormMainZRT w;
    w.FindMnuItem(entry)->trigger();
    QCOMPARE(shell.opened, QList<QUrl>{QUrl(url)});
    QVERIFY(shell.started.isEmpty());
    QVERIFY(seam.messages.isEmpty());
    QCOMPARE(siteUrl().scheme(), u"https"_s);
}

void TestUpdate::aboutBox()
{
    ShellSpy shell;
    UiSeam seam;
    bool closed = false;
    seam.onDialog([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), u"О программе"_s);
        auto* icon = find<QLabel>(&d, u"ProgramIcon"_s);
        QCOMPARE(icon->size(), QSize(89, 89));
        QVERIFY(!icon->pixmap().isNull());
        QCOMPARE(textOf(&d, u"Version"_s), u"Версия 3.0"_s);
        auto* name = find<QLabel>(&d, u"Label2"_s);
        QCOMPARE(name->text(), u"Тальвира"_s);
        QVERIFY(name->font().bold());
        QCOMPARE(name->alignment(), Qt::AlignCenter);
        QCOMPARE(textOf(&d, u"Label1"_s),
                 u"Рабочее место администратора (организатора) регионального мероприятия (не ВСОШ)"_s);
        QCOMPARE(textOf(&d, u"Comments"_s), u"Велград, 2024 г."_s);
        auto* notice = find<QLabel>(&d, u"Label3"_s);
        QCOMPARE(notice->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(notice->toolTip(), u"Открыть сайт \"Кассиор\" в браузере по умолчанию"_s);
        auto* ok = find<QPushButton>(&d, u"OKButton"_s);
        QCOMPARE(ok->text(), u"Закрыть"_s);
        QCOMPARE(ok->toolTip(), u"Закрыть окно \"O программе\""_s); // Latin O
        QVERIFY(ok->isDefault());

        QTest::mouseClick(notice, Qt::LeftButton);
        QCOMPARE(shell.opened, QList<QUrl>{siteUrl()});
        ok->click();
        closed = d.result() == QDialog::Accepted && !d.isVisible();
    });
    TFormMainZRT w;
    w.N139Click();
    QCOMPARE(seam.dialogs, QStringList{u"TAboutBox"_s});
    QVERIFY(closed);
}

void TestUpdate::fileVersionOfThisProgram()
{
    const QString self = QCoreApplication::applicationFilePath();
    QCOMPARE(FileVersion(self), u"v3.0.0 build 5"_s);
    // The record's marker lies in the program exactly once.
    QFile f(self);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    const QByteArray marker = fileVersionMarker();
    QCOMPARE(marker.size(), 20);
    QCOMPARE(data.count(marker), 1);
}

void TestUpdate::fileVersionOfOtherFiles_data()
{
    QTest::addColumn<QByteArray>("content"); // "-" for no file, "/" for a folder
    QTest::addColumn<QString>("expected");
    const QString noRecord = failureText(1813, u"The specified resource type cannot be found in the image file."_s);
    QTest::newRow("record inside") << QByteArray("\x7f" "ELF junk" "\0\0", 11) + record(1, 2, 3, 4) + "tail"
                                   << u"v1.2.3 build 4"_s;
    QTest::newRow("first record counts") << record(2, 10, 300, 65535) + record(9, 9, 9, 9) << u"v2.10.300 build 65535"_s;
    QTest::newRow("no record") << QByteArray("plain text without a version") << noRecord;
    QTest::newRow("empty file") << QByteArray() << noRecord;
    QTest::newRow("cut record") << record(3, 0, 0, 5).left(25) << noRecord;
    QTest::newRow("no file") << QByteArray("-") << failureText(2, u"The system cannot find the file specified."_s);
    QTest::newRow("folder") << QByteArray("/") << failureText(5, u"Access is denied."_s);
}

void TestUpdate::fileVersionOfOtherFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QString path = dir.filePath(u"prog ram"_s);
    if (content == "/") {
        QVERIFY(QDir(dir.path()).mkdir(u"prog ram"_s));
    } else if (content != "-") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QCOMPARE(FileVersion(path), expected);
}

void TestUpdate::updateCheck_data()
{
    QTest::addColumn<QString>("rows"); // VALUES of vzl_updatearm(Version, roleID), empty for none
    QTest::addColumn<bool>("upToDate");
    QTest::newRow("equal") << u"('v3.0.0 build 5',7)"_s << true;
    QTest::newRow("older") << u"('v3.0.0 build 4',7)"_s << false;
    QTest::newRow("newer") << u"('v3.1.0 build 1',7)"_s << false;
    QTest::newRow("other case") << u"('V3.0.0 BUILD 5',7)"_s << false;
    QTest::newRow("empty text") << u"('',7)"_s << false;
    QTest::newRow("no row for role 7") << u"('v3.0.0 build 5',4)"_s << false;
    QTest::newRow("no rows") << QString() << false;
}

void TestUpdate::updateCheck()
{
    QFETCH(QString, rows);
    QFETCH(bool, upToDate);
    DataSession s;
    if (!rows.isEmpty())
        s.db.exec(u"INSERT INTO vzl_updatearm(Version,roleID) VALUES "_s + rows);
    ShellSpy shell;
    UiSeam seam;
    TFormMainZRT w;
    w.N11Click();
    if (upToDate) {
        QCOMPARE(seam.texts(), QStringList{u"У Вас установлена последняя версии программы.\n\rОбновление не требуется"_s});
        QCOMPARE(seam.messages.value(0).type, TMsgDlgType::Information);
        QVERIFY(shell.started.isEmpty());
    } else {
        QVERIFY(seam.messages.isEmpty());
        const QStringList expected{updaterProgram(), QDir::toNativeSeparators(QCoreApplication::applicationFilePath()),
                                   QString::number(w.winId())};
        QCOMPARE(shell.started, QList<QStringList>{expected});
    }
    QVERIFY(!DataZRT->emptySQL->Active());
}

void TestUpdate::updateRowFailure()
{
    DataSession s;
    s.db.exec(u"DROP TABLE vzl_updatearm"_s);
    ShellSpy shell;
    UiSeam seam;
    TFormMainZRT w;
    runHandler([&] { w.N11Click(); });
    QCOMPARE(seam.messages.size(), 1);
    QCOMPARE(seam.messages[0].type, TMsgDlgType::Error);
    QVERIFY(seam.messages[0].text.contains(u"vzl_updatearm"_s));
    QVERIFY(shell.started.isEmpty());
}

void TestUpdate::updaterCommandLine()
{
    const QStringList arguments = updaterArguments(u"/opt/my apps/Тальвира 3/talvira"_s, 4711);
    QCOMPARE(arguments, (QStringList{u"/opt/my apps/Тальвира 3/talvira"_s, u"4711"_s}));
    QCOMPARE(TShell::commandLine(arguments), u"/opt/my apps/Тальвира 3/talvira 4711"_s);
    QCOMPARE(TShell::commandLine(updaterArguments(u"C:\\Program Files\\Talvira\\talvira.exe"_s, 65538)),
             u"C:\\Program Files\\Talvira\\talvira.exe 65538"_s);
}

void TestUpdate::updaterStartsDetached()
{
#ifdef _WIN32
    QSKIP("the updater stand-in is a shell script");
#else
    QTemporaryDir work;
    QTemporaryDir emptyPath;
    const QString previous = QDir::currentPath();
    const QByteArray previousPath = qgetenv("PATH");
    auto restore = qScopeGuard([&] {
        QDir::setCurrent(previous);
        qputenv("PATH", previousPath);
    });
    QVERIFY(QDir::setCurrent(work.path()));
    qputenv("PATH", emptyPath.path().toLocal8Bit());

    // Nowhere to be found: nothing starts, nothing is said.
    QVERIFY(TShell::findProgram(u"Kelvort"_s).isEmpty());
    QVERIFY(!TShell::StartDetached(u"Kelvort"_s, {u"x"_s}));
    qputenv("PATH", previousPath);

    // A stand-in in the current folder records its arguments; the program
    // does not wait for it (it sleeps before writing).
    QFile script(work.filePath(u"Kelvort"_s));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nsleep 2\nprintf '%s\\n' \"$#\" \"$@\" > args.tmp && mv args.tmp args.txt\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    QCOMPARE(TShell::findProgram(u"Kelvort"_s), work.filePath(u"Kelvort"_s));

    QElapsedTimer timer;
    timer.start();
    QVERIFY(TShell::StartDetached(u"Kelvort"_s, updaterArguments(u"/opt/my apps/talvira"_s, 12345)));
    QVERIFY(timer.elapsed() < 1500);
    QCOMPARE(waitForFile(work.filePath(u"args.txt"_s)), QByteArray("2\n/opt/my apps/talvira\n12345\n"));
#endif
}

QTEST_MAIN(TestUpdate)
#include "test_update.moc"
