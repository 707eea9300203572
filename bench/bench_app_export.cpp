// Exporting a large application through the export window: the short and the
// full application of an event with 10,000 participants (all with a venue and
// an accompanying person) among about 100,000 pupils, as a spreadsheet and as an
// HTML file, from the click on "Экспорт" to the saved file.
//
// The benchmark makes its own database on a running server, loads the tables,
// the reference rows and the large demo data into it, and drops it at the end:
//
//     scripts/testdb.sh start /tmp/bench-db
//     build/bench/bench_app_export --server-dir /tmp/bench-db --out /tmp/bench-out
//     scripts/testdb.sh stop /tmp/bench-db
//
// Options: --server-dir DIR (or TALVIRA_TESTDB_DIR; root logs in on DIR/mysqld.sock,
// the program's account on 127.0.0.1 at the port in DIR/port or --port P),
// --out DIR (the folder "Заявки" is made below it and keeps the four files of the
// last run; a temporary folder when not given), --data FILE (SQL made by
// db/generate_demo.py; made here with --pupils 100000 --events 200 --big-event
// 10000 when not given), --runs N (5; medians are printed), --keep (keep the
// database).
//
// Prints "short_xlsx: N ms", "short_html: N ms", "full_xlsx: N ms" and
// "full_html: N ms"; everything else goes to the error output.

#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Files.h"
#include "export/AppExportReg.h"
#include "ui/Dialogs.h"
#include "ui/Shell.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Participants = 10000;

[[noreturn]] void fail(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

QString repoDir()
{
    return QString::fromUtf8(TALVIRA_SOURCE_DIR);
}

void say(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

class Admin {
public:
    Admin(const QString& socket, const QString& database) : socket_(socket), database_(database)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QMYSQL"_s, u"bench-admin"_s);
        db.setUserName(u"root"_s);
        db.setConnectOptions(u"UNIX_SOCKET="_s + socket);
        if (!db.open())
            fail(u"connecting as root on "_s + socket + u": "_s + db.lastError().text());
        exec(u"CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"_s.arg(database));
        exec(u"USE `%1`"_s.arg(database));
    }
    void drop() { exec(u"DROP DATABASE IF EXISTS `%1`"_s.arg(database_)); }
    void exec(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(u"bench-admin"_s));
        if (!q.exec(sql))
            fail(sql + u": "_s + q.lastError().text());
    }
    QVariant scalar(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(u"bench-admin"_s));
        if (!q.exec(sql))
            fail(sql + u": "_s + q.lastError().text());
        return q.next() ? q.value(0) : QVariant();
    }
    void load(const QStringList& files)
    {
        QProcess client;
        client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        client.start(u"mariadb"_s, {u"--no-defaults"_s, u"--socket="_s + socket_, u"-uroot"_s,
                                    u"--default-character-set=utf8mb4"_s, database_});
        if (!client.waitForStarted())
            fail(u"the mariadb client does not start"_s);
        for (const QString& path : files) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                fail(u"cannot read "_s + path);
            while (!f.atEnd()) {
                client.write(f.read(1 << 20));
                client.waitForBytesWritten(-1);
            }
            client.write("\n");
        }
        client.closeWriteChannel();
        if (!client.waitForFinished(-1) || client.exitCode() != 0)
            fail(u"loading the data failed"_s);
    }

private:
    QString socket_;
    QString database_;
};

qint64 median(QList<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

struct Export {
    const char* name;
    bool full;
    bool excel;
};

int run(const QStringList& args)
{
    QString serverDir = qEnvironmentVariable("TALVIRA_TESTDB_DIR");
    QString data;
    QString out;
    int port = 0;
    int runs = 5;
    bool keep = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const QString next = i + 1 < args.size() ? args.at(i + 1) : QString();
        if (a == u"--server-dir")
            serverDir = next, ++i;
        else if (a == u"--out")
            out = next, ++i;
        else if (a == u"--data")
            data = next, ++i;
        else if (a == u"--port")
            port = next.toInt(), ++i;
        else if (a == u"--runs")
            runs = std::max(1, next.toInt()), ++i;
        else if (a == u"--keep")
            keep = true;
        else
            fail(u"unknown option "_s + a);
    }
    if (serverDir.isEmpty())
        fail(u"no server: give --server-dir DIR of a server started with scripts/testdb.sh start DIR"_s);
    if (port == 0) {
        QFile f(serverDir + u"/port"_s);
        if (!f.open(QIODevice::ReadOnly))
            fail(u"no port file in "_s + serverDir + u" (give --port)"_s);
        port = f.readAll().trimmed().toInt();
    }
    QTemporaryDir tmp;
    if (out.isEmpty())
        out = tmp.filePath(u"out"_s);
    if (!QDir().mkpath(out))
        fail(u"cannot make "_s + out);

    if (data.isEmpty()) {
        data = tmp.filePath(u"big.sql"_s);
        say(u"generating the demo data (100000 pupils, 200 events, an event of %1 participants)..."_s.arg(Participants));
        QProcess gen;
        gen.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        gen.start(u"python3"_s, {repoDir() + u"/db/generate_demo.py"_s, u"--pupils"_s, u"100000"_s, u"--events"_s,
                                 u"200"_s, u"--big-event"_s, QString::number(Participants), u"-o"_s, data});
        if (!gen.waitForFinished(-1) || gen.exitCode() != 0)
            fail(u"the generator failed"_s);
    }

    const QString database = u"bench_export_%1"_s.arg(QCoreApplication::applicationPid());
    Admin admin(serverDir + u"/mysqld.sock"_s, database);
    struct Dropper {
        Admin& admin;
        bool keep;
        ~Dropper()
        {
            if (!keep) {
                try {
                    admin.drop();
                } catch (const std::exception& e) {
                    say(QString::fromUtf8(e.what()));
                }
            }
        }
    } dropper{admin, keep};

    QElapsedTimer t;
    t.start();
    admin.load({repoDir() + u"/db/schema.sql"_s, repoDir() + u"/db/reference.sql"_s, data});
    // A server in use keeps statistics of its tables; a freshly loaded one gets
    // them here, so that the planner sees the data as it would there.
    admin.exec(u"ANALYZE TABLE vzl_application_reg, vzl_users, vzl_users4add, vzl_schools, vzl_areas, "
               "vzl_maintainer, vzl_statusparticipant, vzl_educationallist_reg, vzl_periods"_s);
    say(u"loaded into %1 in %2 s"_s.arg(database).arg(t.elapsed() / 1000.0, 0, 'f', 1));

    // The event of the active year with the most application rows, and one of
    // its administrators.
    const int period = admin.scalar(u"SELECT id FROM vzl_periods WHERE active=1"_s).toInt();
    const int event = admin.scalar(u"SELECT educationlListID_reg FROM vzl_application_reg WHERE periodID=%1 AND levelolimpID=3"
                                   " GROUP BY educationlListID_reg ORDER BY COUNT(*) DESC LIMIT 1"_s.arg(period)).toInt();
    const int user = admin.scalar(u"SELECT usersID FROM vzl_userseducation WHERE educationListID=%1 AND periodsID=%2 LIMIT 1"_s
                                      .arg(event).arg(period)).toInt();
    const int rows = admin.scalar(u"SELECT COUNT(*) FROM vzl_application_reg WHERE educationlListID_reg=%1 AND periodID=%2"_s
                                      .arg(event).arg(period)).toInt();
    if (rows < Participants)
        fail(u"the largest event %1 has %2 application rows, not %3: give data made with --big-event %3"_s.arg(event)
                 .arg(rows).arg(Participants));

    TDataZRT dm;
    const TNetProfile profile = {u"User_Name=olimp"_s, u"Password="_s + TDataZRT::databasePassword(),
                                 u"Server=127.0.0.1"_s, u"Database="_s + database, u"Port=%1"_s.arg(port)};
    dm.DataModuleCreate({profile, profile});
    dm.userID = user;

    // The question before a long spreadsheet is answered "No" (go on); every
    // other message is recorded and ends the benchmark as a failure.
    QStringList messages;
    TDialogs::setHooks(
        [&](const TMessage& m) {
            if (m.buttons.testFlag(QMessageBox::No))
                return QMessageBox::No;
            messages << m.text;
            return QMessageBox::Ok;
        },
        [](QDialog&) { return int(QDialog::Rejected); });
    QStringList opened;
    TShell::setHooks([&](const QUrl& url) { opened << url.toLocalFile(); return true; },
                     [](const QString&, const QStringList&) { return true; });
    setOutputRoot(out);

    const Export exports[] = {
        {"short_xlsx", false, true},
        {"short_html", false, false},
        {"full_xlsx", true, true},
        {"full_html", true, false},
    };
    QList<qint64> times[4];
    QStringList lastFiles;
    for (int r = 0; r < runs; ++r) {
        // only the files of the last run stay
        for (const QString& f : std::as_const(lastFiles))
            QFile::remove(f);
        lastFiles.clear();
        TFormAppExportReg form;
        auto* combo = form.findChild<TDBLookupComboBox*>(u"ComboBoxEdu"_s);
        combo->chooseIndex(combo->findData(event));
        if (form.chosenEvent() != event)
            fail(u"event %1 is not offered to administrator %2"_s.arg(event).arg(user));
        for (int e = 0; e < 4; ++e) {
            form.findChild<QRadioButton*>(exports[e].full ? u"RadioFormFull"_s : u"RadioFormShort"_s)->setChecked(true);
            form.findChild<QRadioButton*>(exports[e].excel ? u"RadioFormatExcel"_s : u"RadioFormatHTML"_s)->setChecked(true);
            messages.clear();
            opened.clear();
            t.restart();
            form.BitBtn2Click();
            times[e] << t.elapsed();
            say(u"run %1, %2: %3 ms"_s.arg(r + 1).arg(QString::fromLatin1(exports[e].name)).arg(times[e].last()));
            // the saved spreadsheet reports itself; the full one may first warn about missing data
            if (exports[e].excel && !messages.isEmpty() && messages.last().startsWith(u"Таблица сохранена в файле:"_s))
                messages.removeLast();
            if (!messages.isEmpty() || opened.size() != 1 || !QFileInfo::exists(opened.first()))
                fail(u"%1 did not write its file; messages: %2"_s.arg(QString::fromLatin1(exports[e].name),
                                                                      messages.join(u"; "_s)));
            lastFiles << opened.first();
        }
        form.close();
    }
    TDialogs::setHooks({}, {});
    TShell::setHooks({}, {});
    setOutputRoot({});

    say(u"event %1 of administrator %2: %3 application rows, %4 runs; files in %5"_s.arg(event).arg(user).arg(rows)
            .arg(runs).arg(QDir(out).filePath(u"Заявки"_s)));
    for (int e = 0; e < 4; ++e)
        std::printf("%s: %lld ms\n", exports[e].name, static_cast<long long>(median(times[e])));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        return run(app.arguments());
    } catch (const std::exception& e) {
        say(u"bench_app_export: "_s + QString::fromUtf8(e.what()));
        return 2;
    }
}
