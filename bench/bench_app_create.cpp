// Forming a large application: ">>" of the participant list window for an
// event with 2,000 candidates among about 100,000 pupils, then "<<".
//
// The benchmark makes its own database on a running server, loads the tables,
// the reference rows and the large demo data into it, and drops it at the end:
//
//     scripts/testdb.sh start /tmp/bench-db
//     build/bench/bench_app_create --server-dir /tmp/bench-db
//     scripts/testdb.sh stop /tmp/bench-db
//
// Options: --server-dir DIR (or TALVIRA_TESTDB_DIR; root logs in on DIR/mysqld.sock,
// the program's account on 127.0.0.1 at the port in DIR/port or --port P),
// --data FILE (SQL made by db/generate_demo.py; made here with --pupils 100000
// --events 200 when not given), --runs N (3), --candidates N (2000), --keep.

#include "ui/Dialogs.h"
#include "applications/AppCreateReg.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString Password = TDataZRT::databasePassword();

[[noreturn]] void fail(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

QString repoDir()
{
    return QFileInfo(QString::fromUtf8(__FILE__)).absoluteDir().absoluteFilePath(u".."_s);
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
    void drop()
    {
        exec(u"DROP DATABASE IF EXISTS `%1`"_s.arg(database_));
    }
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

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

int run(const QStringList& args)
{
    QString serverDir = qEnvironmentVariable("TALVIRA_TESTDB_DIR");
    QString data;
    int port = 0;
    int runs = 3;
    int wanted = 2000;
    bool keep = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const QString next = i + 1 < args.size() ? args.at(i + 1) : QString();
        if (a == u"--server-dir")
            serverDir = next, ++i;
        else if (a == u"--data")
            data = next, ++i;
        else if (a == u"--port")
            port = next.toInt(), ++i;
        else if (a == u"--runs")
            runs = std::max(1, next.toInt()), ++i;
        else if (a == u"--candidates")
            wanted = next.toInt(), ++i;
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
    if (data.isEmpty()) {
        data = tmp.filePath(u"big.sql"_s);
        say(u"generating the demo data (100000 pupils, 200 events)..."_s);
        QProcess gen;
        gen.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        gen.start(u"python3"_s, {repoDir() + u"/db/generate_demo.py"_s, u"--pupils"_s, u"100000"_s,
                                 u"--events"_s, u"200"_s, u"-o"_s, data});
        if (!gen.waitForFinished(-1) || gen.exitCode() != 0)
            fail(u"the generator failed"_s);
    }

    const QString database = u"bench_app_%1"_s.arg(QCoreApplication::applicationPid());
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
    say(u"loaded into %1 in %2 s"_s.arg(database).arg(t.elapsed() / 1000.0, 0, 'f', 1));

    // The event of the active year with the most choices and no application
    // yet, and one of its administrators.
    const int period = admin.scalar(u"SELECT id FROM vzl_periods WHERE active=1"_s).toInt();
    const int event = admin.scalar(u"SELECT B.educationListID FROM vzl_userseducation_reg B WHERE B.periodsID=%1"
                                   " AND NOT EXISTS (SELECT 1 FROM vzl_application_reg C WHERE C.educationlListID_reg=B.educationListID)"
                                   " GROUP BY B.educationListID ORDER BY COUNT(*) DESC LIMIT 1"_s.arg(period)).toInt();
    const int user = admin.scalar(u"SELECT usersID FROM vzl_userseducation WHERE educationListID=%1 AND periodsID=%2 LIMIT 1"_s
                                      .arg(event).arg(period)).toInt();
    // Only pupils with further data are candidates: complete the few choosers
    // without them, then take away choices above the wanted count.
    admin.exec(u"INSERT INTO vzl_users4add(usersID,classStudy) SELECT B.usersID, 10 FROM vzl_userseducation_reg B"
               " WHERE B.educationListID=%1 AND B.periodsID=%2"
               " AND NOT EXISTS (SELECT 1 FROM vzl_users4add E WHERE E.usersID=B.usersID)"_s.arg(event).arg(period));
    const int chosen = admin.scalar(u"SELECT COUNT(*) FROM vzl_userseducation_reg WHERE educationListID=%1 AND periodsID=%2"_s
                                        .arg(event).arg(period)).toInt();
    if (chosen > wanted)
        admin.exec(u"DELETE FROM vzl_userseducation_reg WHERE educationListID=%1 AND periodsID=%2 ORDER BY id DESC LIMIT %3"_s
                       .arg(event).arg(period).arg(chosen - wanted));
    const int pupils = admin.scalar(u"SELECT COUNT(*) FROM vzl_users WHERE roleID=4"_s).toInt();

    TDataZRT dm;
    const TNetProfile profile = {u"User_Name=olimp"_s, u"Password="_s + Password, u"Server=127.0.0.1"_s,
                                 u"Database="_s + database, u"Port=%1"_s.arg(port)};
    dm.DataModuleCreate({profile, profile});
    dm.userID = user;
    QStringList messages;
    TDialogs::setHooks(
        [&](const TMessage& m) {
            messages << m.text;
            return QMessageBox::Ok;
        },
        [](QDialog&) { return int(QDialog::Rejected); });

    QList<double> add, removeAll;
    int candidates = 0;
    for (int r = 0; r < runs; ++r) {
        TFormAppCreateReg form;
        auto* combo = form.findChild<TDBLookupComboBox*>(u"DBLookupComboBox1"_s);
        combo->chooseIndex(combo->findData(event));
        if (form.chosenEvent() != event)
            fail(u"event %1 is not offered to administrator %2"_s.arg(event).arg(user));
        candidates = dm.GETappPartReg->RecordCount();

        t.restart();
        form.SpeedButton2Click();
        add << t.nsecsElapsed() / 1e9;
        const int inserted = dm.AppCreateRegSet->RecordCount();
        if (inserted != candidates || dm.GETappPartReg->RecordCount() != 0 || !messages.isEmpty())
            fail(u"\">>\" inserted %1 of %2 candidates; messages: %3"_s.arg(inserted).arg(candidates)
                     .arg(messages.join(u"; "_s)));

        t.restart();
        form.SpeedButton3Click();
        removeAll << t.nsecsElapsed() / 1e9;
        if (dm.AppCreateRegSet->RecordCount() != 0 || dm.GETappPartReg->RecordCount() != candidates)
            fail(u"\"<<\" did not empty the application"_s);
        form.close();
    }
    TDialogs::setHooks({}, {});

    std::printf("event %d of administrator %d: %d candidates among %d pupils, %d runs\n", event, user,
                candidates, pupils, runs);
    std::printf("\">>\" (insert every candidate, read both lists again): median %.2f s, best %.2f s, %.2f ms per row\n",
                median(add), *std::min_element(add.begin(), add.end()), median(add) * 1000 / std::max(1, candidates));
    std::printf("\"<<\" (one DELETE, read both lists again): median %.3f s\n", median(removeAll));
    std::printf("target for \">>\": 5 s -> %s\n", median(add) <= 5.0 ? "met" : "MISSED");
    return median(add) <= 5.0 ? 0 : 1;
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
        say(u"bench_app_create: "_s + QString::fromUtf8(e.what()));
        return 2;
    }
}
