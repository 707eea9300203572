// An installed program: the working folders go to the user's documents where
// the program's folder cannot hold them, and /etc/talvira.conf names the
// servers of the region over the built-in ones.

#include "app/Application.h"
#include "data/DataZRT.h"
#include "data/Files.h"
#include "data/SystemConfig.h"
#include "support/Ui.h"
#include "ui/Shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Points TALVIRA_CONF at a file of this text (or at nothing) for one test.
class ConfigFile {
public:
    explicit ConfigFile(const QByteArray& text)
    {
        path_ = dir_.filePath(u"talvira.conf"_s);
        QFile file(path_);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(path_));
        use(path_);
    }
    ConfigFile(std::nullptr_t, const QString& path) { use(path); }
    ~ConfigFile()
    {
        qunsetenv("TALVIRA_CONF");
        reloadSystemConfig();
    }
    const QString& path() const { return path_; }

private:
    void use(const QString& path)
    {
        qputenv("TALVIRA_CONF", path.toUtf8());
        reloadSystemConfig();
    }
    QTemporaryDir dir_;
    QString path_;
};

} // namespace

class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    void configLines_data();
    void configLines();
    void missingOrUnreadableFileGivesTheBuiltInValues_data();
    void missingOrUnreadableFileGivesTheBuiltInValues();
    void fileNamesTheServersOfProfilesAndSite();
    void skippedLinesAreReportedOnce();
    void accountAndEncryptionComeFromTheFile();
    void passwordReadableByEveryoneIsWarnedOnce();

    void folderCanHoldWorkingFolders_data();
    void folderCanHoldWorkingFolders();
    void rootBesideTheProgramOrInDocuments();
};

void TestInstallation::configLines_data()
{
    const TSystemConfig d = builtInSystemConfig();
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("internet");
    QTest::addColumn<QString>("local");
    QTest::addColumn<QString>("site");
    QTest::addColumn<QStringList>("faults");

    QTest::newRow("empty") << QString() << d.internetHost << d.localHost << d.siteUrl << QStringList();
    QTest::newRow("all three, comments, CR LF, BOM")
        << u"\uFEFF# servers of the region\r\n\r\n internet_host = db.velgrad.example \r\n; old: 10.0.0.1\r\n"
           u"local_host=10.0.0.5\r\nsite_url=https://velgrad.example/\r\n"_s
        << u"db.velgrad.example"_s << u"10.0.0.5"_s << u"https://velgrad.example/"_s << QStringList();
    QTest::newRow("one line, keys in any case")
        << u"Local_Host=kassior-db"_s << d.internetHost << u"kassior-db"_s << d.siteUrl << QStringList();
    QTest::newRow("malformed lines skipped")
        << u"internet_host db.velgrad.example\n"
           u"port=17001\n"
           u"local_host=\n"
           u"local_host=db.velgrad.example:3306\n"
           u"internet_host=db velgrad\n"
           u"site_url=velgrad.example\n"
           u"site_url=ftp://velgrad.example/\n"
           u"local_host=10.0.0.5\n"
           u"local_host=10.0.0.6\n"_s
        << d.internetHost << u"10.0.0.5"_s << d.siteUrl
        << QStringList{u"строка 1: нет знака \"=\" в \"internet_host db.velgrad.example\""_s,
                       u"строка 2: неизвестный параметр \"port\""_s,
                       u"строка 3: пустое значение параметра \"local_host\""_s,
                       u"строка 4: недопустимое имя сервера \"db.velgrad.example:3306\""_s,
                       u"строка 5: недопустимое имя сервера \"db velgrad\""_s,
                       u"строка 6: адрес сайта \"velgrad.example\" должен начинаться с http:// или https://"_s,
                       u"строка 7: адрес сайта \"ftp://velgrad.example/\" должен начинаться с http:// или https://"_s,
                       u"строка 9: параметр \"local_host\" уже задан в строке 8"_s};
}

void TestInstallation::configLines()
{
    QFETCH(QString, text);
    const TSystemConfig config = parseSystemConfig(text);
    QTEST(config.internetHost, "internet");
    QTEST(config.localHost, "local");
    QTEST(config.siteUrl, "site");
    QTEST(config.faults, "faults");
}

void TestInstallation::missingOrUnreadableFileGivesTheBuiltInValues_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << u"/nonexistent/talvira.conf"_s;
    QTest::newRow("a folder") << QDir::tempPath();
    QTest::newRow("no file (empty TALVIRA_CONF)") << QString();
}

void TestInstallation::missingOrUnreadableFileGivesTheBuiltInValues()
{
    QFETCH(QString, path);
    ConfigFile file(nullptr, path);
    QCOMPARE(systemConfigPath(), path);
    const TSystemConfig built = builtInSystemConfig();
    QCOMPARE(systemConfig().internetHost, built.internetHost);
    QCOMPARE(systemConfig().localHost, built.localHost);
    QCOMPARE(systemConfig().siteUrl, built.siteUrl);
    QVERIFY(systemConfig().faults.isEmpty());
    UiSeam seam;
    reportSystemConfigFaults();
    QVERIFY(seam.messages.isEmpty());
}

void TestInstallation::fileNamesTheServersOfProfilesAndSite()
{
    qunsetenv("TALVIRA_CONF");
    QCOMPARE(systemConfigPath(), u"/etc/talvira.conf"_s);

    ConfigFile file("internet_host=db.velgrad.example\nlocal_host=10.0.0.5\nsite_url=https://velgrad.example/\n");
    const auto profiles = TDataZRT::builtInProfiles();
    QCOMPARE(TDataZRT::profileValue(profiles[0], u"Server"_s), u"db.velgrad.example"_s);
    QCOMPARE(TDataZRT::profileValue(profiles[0], u"Port"_s), u"17001"_s);
    QCOMPARE(TDataZRT::profileValue(profiles[1], u"Server"_s), u"10.0.0.5"_s);
    QCOMPARE(TDataZRT::profileValue(profiles[1], u"Port"_s), u"3306"_s);
    QCOMPARE(siteUrl(), QUrl(u"https://velgrad.example/"_s));

    // The file server follows the internet profile's host.
    TDataZRT data;
    data.ConnectSRV = profiles;
    QCOMPARE(data.fileServerUrl(u"/Images/ZRT_6.jpg"_s), QUrl(u"http://db.velgrad.example:17002/Images/ZRT_6.jpg"_s));
}

void TestInstallation::skippedLinesAreReportedOnce()
{
    ConfigFile file("local_host=10.0.0.5\nsite=https://velgrad.example/\ninternet_host=\n");
    UiSeam seam;
    reportSystemConfigFaults();
    QCOMPARE(seam.messages.size(), 1);
    QCOMPARE(seam.messages[0].type, TMsgDlgType::Warning);
    QCOMPARE(seam.messages[0].text,
             u"В файле настроек \""_s + file.path() + u"\" пропущены строки:\n\r"
             u"строка 2: неизвестный параметр \"site\"\n\r"
             u"строка 3: пустое значение параметра \"internet_host\"\n\r"
             u"Где параметр не задан, действует значение по умолчанию."_s);
    // The sound line holds all the same.
    QCOMPARE(TDataZRT::profileValue(TDataZRT::builtInProfiles()[1], u"Server"_s), u"10.0.0.5"_s);
}

void TestInstallation::folderCanHoldWorkingFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("canHold");
    static QTemporaryDir dir;
    QFile(dir.filePath(u"file"_s)).open(QIODevice::WriteOnly);
    QTest::newRow("a writable folder") << dir.path() << true;
    QTest::newRow("the system's program folder") << u"/usr/bin"_s << false;
    QTest::newRow("/bin, which leads into /usr") << u"/bin"_s << false;
#ifdef Q_OS_LINUX
    // No one creates files here, root included.
    QTest::newRow("a read-only file system") << u"/proc"_s << false;
#endif
    QTest::newRow("a file, not a folder") << dir.filePath(u"file"_s) << false;
    QTest::newRow("below a file") << dir.filePath(u"file/sub"_s) << false;
    QTest::newRow("a missing folder") << dir.filePath(u"missing"_s) << false;
}

void TestInstallation::folderCanHoldWorkingFolders()
{
    QFETCH(QString, folder);
    QTEST(CanHoldWorkingFolders(folder), "canHold");
    QVERIFY(QDir(folder).entryList({u".talvira-*"_s}, QDir::Hidden | QDir::Files).isEmpty()); // no probe left
}

void TestInstallation::rootBesideTheProgramOrInDocuments()
{
    QStringList asked;
    const auto answer = [&asked](bool writable) {
        return [&asked, writable](const QString& folder) {
            asked << folder;
            return writable;
        };
    };
    QCOMPARE(chooseOutputRoot(u"/opt/talvira"_s, u"/home/a/Документы"_s, answer(true)), u"/opt/talvira"_s);
    QCOMPARE(chooseOutputRoot(u"/usr/bin"_s, u"/home/a/Документы"_s, answer(false)),
             u"/home/a/Документы/Тальвира"_s);
    QCOMPARE(asked, (QStringList{u"/opt/talvira"_s, u"/usr/bin"_s}));
    QCOMPARE(chooseOutputRoot(u"/usr/bin"_s, QString(), answer(false)), QDir::homePath() + u"/Тальвира"_s);

    // This test program lies in the build folder, which holds the working folders.
    QCOMPARE(outputRoot(), QCoreApplication::applicationDirPath());
    QCOMPARE(chooseOutputRoot(u"/usr/bin"_s, u"/home/a/Документы"_s), u"/home/a/Документы/Тальвира"_s);
}

void TestInstallation::accountAndEncryptionComeFromTheFile()
{
    // Built in: the program's own account, no encryption.
    {
        ConfigFile file("internet_host=db.velgrad.example\n");
        const TNetProfile p = TDataZRT::builtInProfiles()[0];
        QCOMPARE(TDataZRT::profileValue(p, u"User_Name"_s), u"olimp"_s);
        QCOMPARE(TDataZRT::profileValue(p, u"Password"_s), TDataZRT::databasePassword());
        QCOMPARE(TDataZRT::profileValue(p, u"SSL_CA"_s), QString());
    }
    ConfigFile file("db_user=olimp_velgrad\ndb_password= s3cret;=x \ndb_ssl_ca=/etc/talvira/ca.pem\n"
                    "db_tls=required\ndb_tls=never\n");
    QCOMPARE(systemConfig().faults,
             QStringList{u"строка 5: параметр \"db_tls\" уже задан в строке 4"_s});
    for (const TNetProfile& p : TDataZRT::builtInProfiles()) {
        QCOMPARE(TDataZRT::profileValue(p, u"User_Name"_s), u"olimp_velgrad"_s);
        QCOMPARE(TDataZRT::profileValue(p, u"Password"_s), u"s3cret;=x"_s);
        QCOMPARE(TDataZRT::profileValue(p, u"SSL_CA"_s), u"/etc/talvira/ca.pem"_s);
        QCOMPARE(TDataZRT::profileValue(p, u"TLS"_s), u"required"_s);
    }
    QCOMPARE(parseSystemConfig(u"db_tls=never"_s).faults,
             QStringList{u"строка 1: режим шифрования \"never\": допустимы required и preferred"_s});
}

void TestInstallation::passwordReadableByEveryoneIsWarnedOnce()
{
    ConfigFile file("db_user=olimp_velgrad\ndb_password=s3cret\n");
    QFile::setPermissions(file.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    {
        UiSeam seam;
        reportSystemConfigFaults();
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].type, TMsgDlgType::Warning);
        QVERIFY2(seam.messages[0].text.contains(u"доступен для чтения всем пользователям"_s),
                 qPrintable(seam.messages[0].text));
    }
    QFile::setPermissions(file.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    UiSeam seam;
    reportSystemConfigFaults();
    QVERIFY(seam.messages.isEmpty());
}

QTEST_MAIN(TestInstallation)
#include "test_installation.moc"
