// The rating of an event with 10,000 participants: reading it into the grid
// and applying the passing scores (the scores and the four status statements),
// and recounting the preview of the passing scores after one change of a box.
//
// The benchmark makes its own database on a running server, loads the tables,
// the reference rows and the large demo data into it, and drops it at the end:
//
//     scripts/testdb.sh start /tmp/bench-db
//     build/bench/bench_ratings --server-dir /tmp/bench-db --out /tmp/bench-ratings
//     scripts/testdb.sh stop /tmp/bench-db
//
// Options: --server-dir DIR (or TALVIRA_TESTDB_DIR; root logs in on DIR/mysqld.sock,
// the program's account on 127.0.0.1 at the port in DIR/port or --port P),
// --out DIR (the window is saved there as rating-window.png, 1400 x 900), --data FILE (SQL made by
// db/generate_demo.py; made here with --pupils 100000 --events 200 --big-event
// 10000 when not given), --runs N (7), --keep.

#include "ui/Dialogs.h"
#include "ratings/CreateRatingReg.h"
#include "ratings/RatingPreview.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest/QTest>
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
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QMYSQL"_s, u"bench-ratings-admin"_s);
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
        QSqlQuery q(QSqlDatabase::database(u"bench-ratings-admin"_s));
        if (!q.exec(sql))
            fail(sql + u": "_s + q.lastError().text());
    }
    QVariant scalar(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(u"bench-ratings-admin"_s));
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
    QString outDir;
    int port = 0;
    int runs = 7;
    bool keep = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const QString next = i + 1 < args.size() ? args.at(i + 1) : QString();
        if (a == u"--server-dir")
            serverDir = next, ++i;
        else if (a == u"--data")
            data = next, ++i;
        else if (a == u"--out")
            outDir = next, ++i;
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
    if (!outDir.isEmpty() && !QDir().mkpath(outDir))
        fail(u"cannot make "_s + outDir);

    QTemporaryDir tmp;
    if (data.isEmpty()) {
        data = tmp.filePath(u"big.sql"_s);
        say(u"generating the demo data (100000 pupils, 200 events, a rated event of 10000)..."_s);
        QProcess gen;
        gen.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        gen.start(u"python3"_s, {repoDir() + u"/db/generate_demo.py"_s, u"--pupils"_s, u"100000"_s,
                                 u"--events"_s, u"200"_s, u"--big-event"_s, u"10000"_s, u"-o"_s, data});
        if (!gen.waitForFinished(-1) || gen.exitCode() != 0)
            fail(u"the generator failed"_s);
    }

    const QString database = u"bench_ratings_%1"_s.arg(QCoreApplication::applicationPid());
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

    // The event of the active year with the most regional-stage rows, and one
    // of its administrators; it is opened for editing.
    const int period = admin.scalar(u"SELECT id FROM vzl_periods WHERE active=1"_s).toInt();
    const int event = admin.scalar(u"SELECT educationlListID_reg FROM vzl_application_reg WHERE periodID=%1 AND levelolimpID=3"
                                   " GROUP BY educationlListID_reg ORDER BY COUNT(*) DESC LIMIT 1"_s.arg(period)).toInt();
    const int user = admin.scalar(u"SELECT usersID FROM vzl_userseducation WHERE educationListID=%1 AND periodsID=%2 LIMIT 1"_s
                                      .arg(event).arg(period)).toInt();
    admin.exec(u"UPDATE vzl_educationallist_reg SET permission=1 WHERE id=%1"_s.arg(event));
    const int rows = admin.scalar(u"SELECT COUNT(*) FROM vzl_application_reg WHERE educationlListID_reg=%1 AND periodID=%2 AND levelolimpID=3"_s
                                      .arg(event).arg(period)).toInt();

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

    auto* form = new TFormCeateRatingReg;
    form->resize(1400, 900);
    auto* combo = form->findChild<TDBLookupComboBox*>(u"DBLookupComboBox1"_s);
    combo->chooseIndex(combo->findData(event));
    if (form->chosenEvent() != event)
        fail(u"event %1 is not offered to administrator %2"_s.arg(event).arg(user));
    // Every class of the event.
    for (int k = 1; k <= 10; ++k)
        form->findChild<QCheckBox*>(u"CheckBox%1"_s.arg(k))->setChecked(true);
    form->readPreview();

    QList<double> read, apply;
    for (int r = 0; r < runs; ++r) {
        t.restart();
        form->readData();
        read << t.nsecsElapsed() / 1e6;
    }
    const int listed = dm.GETcreateRatingReg->RecordCount();
    for (int r = 0; r < runs; ++r) {
        t.restart();
        form->BitBtn2Click();
        apply << t.nsecsElapsed() / 1e6;
    }
    // The preview: one change of a box recounts every row in memory.
    form->show();
    if (!QTest::qWaitForWindowExposed(form))
        fail(u"the window is not shown"_s);
    auto* minBox = form->findChild<QLineEdit*>(u"EditWinnerMin"_s);
    const QString typed = minBox->text();
    QList<double> preview;
    for (int r = 0; r < std::max(runs, 21); ++r) {
        const QString text = r % 2 ? typed : typed + u'5';
        t.restart();
        minBox->setText(text);
        preview << t.nsecsElapsed() / 1e6;
    }
    minBox->setText(typed);
    QCoreApplication::processEvents();
    if (!outDir.isEmpty()) {
        const QString picture = QDir(outDir).filePath(u"rating-window.png"_s);
        if (!form->grab().save(picture))
            fail(u"cannot save "_s + picture);
        say(u"saved "_s + picture);
    }
    if (!messages.isEmpty())
        fail(u"messages: "_s + messages.join(u"; "_s));
    const int winners = admin.scalar(u"SELECT COUNT(*) FROM vzl_application_reg WHERE educationlListID_reg=%1 AND periodID=%2"
                                     " AND statusparticipantID=7"_s.arg(event).arg(period)).toInt();

    std::printf("event %d of administrator %d: %d rows, %d listed, %d winners, %d in the preview, %d runs\n", event,
                user, rows, listed, winners, int(form->preview()->histogram()->bins().isEmpty() ? 0 : [&] {
                    int n = 0;
                    for (const auto& b : form->preview()->histogram()->bins())
                        n += b.count;
                    return n;
                }()), runs);
    std::printf("rating_read: %.0f ms\n", median(read));
    std::printf("rating_apply: %.0f ms\n", median(apply));
    std::printf("rating_preview: %.0f ms\n", median(preview));
    std::printf("preview recount in detail: median %.3f ms\n", median(preview));
    std::printf("targets: read 100 ms -> %s, apply 200 ms -> %s, preview 5 ms -> %s\n",
                median(read) <= 100 ? "met" : "MISSED", median(apply) <= 200 ? "met" : "MISSED",
                median(preview) <= 5 ? "met" : "MISSED");
    form->close();
    delete form;
    TDialogs::setHooks({}, {});
    return median(read) <= 100 && median(apply) <= 200 && median(preview) <= 5 ? 0 : 1;
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
        say(u"bench_ratings: "_s + QString::fromUtf8(e.what()));
        return 2;
    }
}
