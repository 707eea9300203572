#include "BenchSupport.h"

#include "app/Application.h"
#include "data/DataZRT.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace bench {

void fail(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

void say(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

QString repoDir()
{
    // set by bench/CMakeLists.txt: __FILE__ may be relative when the compiler runs through ccache
    return QString::fromUtf8(TALVIRA_SOURCE_DIR);
}

BenchOptions BenchOptions::parse(const QStringList& args, int runs, const QStringList& extraOptions, bool takesData)
{
    BenchOptions o;
    o.serverDir = qEnvironmentVariable("TALVIRA_TESTDB_DIR");
    o.runs = runs;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const QString next = i + 1 < args.size() ? args.at(i + 1) : QString();
        if (a == u"--server-dir")
            o.serverDir = next, ++i;
        else if (a == u"--data" && takesData)
            o.data = next, ++i;
        else if (a == u"--out")
            o.outDir = next, ++i;
        else if (a == u"--port")
            o.port = next.toInt(), ++i;
        else if (a == u"--runs")
            o.runs = std::max(1, next.toInt()), ++i;
        else if (a == u"--keep")
            o.keep = true;
        else if (extraOptions.contains(a))
            o.extras.insert(a, next), ++i;
        else
            fail(u"unknown option "_s + a);
    }
    if (o.serverDir.isEmpty())
        fail(u"no server: give --server-dir DIR of a server started with scripts/testdb.sh start DIR"_s);
    if (o.port == 0) {
        QFile f(o.serverDir + u"/port"_s);
        if (!f.open(QIODevice::ReadOnly))
            fail(u"no port file in "_s + o.serverDir + u" (give --port)"_s);
        o.port = f.readAll().trimmed().toInt();
    }
    if (!o.outDir.isEmpty())
        o.outDir = o.outDirOr({});
    return o;
}

QString BenchOptions::extra(const QString& name, const QString& otherwise) const
{
    return extras.value(name, otherwise);
}

QString BenchOptions::socket() const
{
    return serverDir + u"/mysqld.sock"_s;
}

QString BenchOptions::outDirOr(const QString& fallback) const
{
    const QString dir = outDir.isEmpty() ? fallback : outDir;
    if (!QDir().mkpath(dir))
        fail(u"cannot make "_s + dir);
    return QFileInfo(dir).absoluteFilePath();
}

BenchDb::BenchDb(const QString& socket, const QString& database, bool keep)
    : socket_(socket), database_(database), connection_(u"bench-admin-"_s + database), keep_(keep)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QMYSQL"_s, connection_);
    db.setUserName(u"root"_s);
    db.setConnectOptions(u"UNIX_SOCKET="_s + socket);
    if (!db.open())
        fail(u"connecting as root on "_s + socket + u": "_s + db.lastError().text());
    exec(u"CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"_s.arg(database));
    exec(u"USE `%1`"_s.arg(database));
}

BenchDb::BenchDb(const BenchOptions& options, const QString& prefix)
    : BenchDb(options.socket(), u"%1_%2"_s.arg(prefix).arg(QCoreApplication::applicationPid()), options.keep)
{
}

BenchDb::~BenchDb()
{
    if (keep_)
        return;
    try {
        drop();
    } catch (const std::exception& e) {
        say(QString::fromUtf8(e.what()));
    }
}

void BenchDb::exec(const QString& sql)
{
    QSqlQuery q(QSqlDatabase::database(connection_));
    if (!q.exec(sql))
        fail(sql.left(200) + u": "_s + q.lastError().text());
}

QVariant BenchDb::scalar(const QString& sql)
{
    QSqlQuery q(QSqlDatabase::database(connection_));
    if (!q.exec(sql))
        fail(sql.left(200) + u": "_s + q.lastError().text());
    return q.next() ? q.value(0) : QVariant();
}

void BenchDb::load(const QStringList& files)
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

void BenchDb::loadDemo(const QString& data)
{
    QElapsedTimer t;
    t.start();
    load({repoDir() + u"/db/schema.sql"_s, repoDir() + u"/db/reference.sql"_s, data});
    say(u"loaded into %1 in %2 s"_s.arg(database_).arg(t.elapsed() / 1000.0, 0, 'f', 1));
}

void BenchDb::execFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        fail(u"cannot read "_s + path);
    QString statement;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (line.trimmed().startsWith(u"--"_s))
            continue;
        statement += line + u'\n';
        if (line.trimmed().endsWith(u';')) {
            if (!statement.trimmed().isEmpty())
                exec(statement);
            statement.clear();
        }
    }
}

void BenchDb::drop()
{
    exec(u"DROP DATABASE IF EXISTS `%1`"_s.arg(database_));
}

QString makeLargeData(const QString& given, const QString& path, int bigEvent)
{
    if (!given.isEmpty())
        return given;
    QStringList args = {repoDir() + u"/db/generate_demo.py"_s, u"--pupils"_s, u"100000"_s, u"--events"_s, u"200"_s};
    if (bigEvent > 0)
        args << u"--big-event"_s << QString::number(bigEvent);
    args << u"-o"_s << path;
    say(bigEvent > 0 ? u"generating the demo data (100000 pupils, 200 events, an event of %1 participants)..."_s.arg(bigEvent)
                     : u"generating the demo data (100000 pupils, 200 events)..."_s);
    QProcess gen;
    gen.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    gen.start(u"python3"_s, args);
    if (!gen.waitForFinished(-1) || gen.exitCode() != 0)
        fail(u"the generator failed"_s);
    return path;
}

void connectDataModule(TDataZRT& dm, const BenchOptions& options, const BenchDb& db, int user)
{
    // The program's account holds the privileges of db/grants.sql on this
    // database and connects encrypted when the server has TLS.
    QFile grants(repoDir() + u"/db/grants.sql"_s);
    if (!grants.open(QIODevice::ReadOnly))
        fail(u"cannot read db/grants.sql"_s);
    QSqlQuery q(QSqlDatabase::database(u"bench-admin-"_s + db.name()));
    for (const QString& statement : QString::fromUtf8(grants.readAll()).replace(u"`olimp`."_s, u"`%1`."_s.arg(db.name()))
                                        .split(u";\n"_s)) {
        QStringList lines;
        for (const QString& line : statement.split(u'\n'))
            if (!line.trimmed().startsWith(u"--"_s))
                lines << line;
        if (!lines.join(u'\n').trimmed().isEmpty() && !q.exec(lines.join(u'\n')))
            fail(u"granting the program's privileges: "_s + q.lastError().text());
    }
    TNetProfile profile = {u"User_Name=olimp"_s, u"Password="_s + TDataZRT::databasePassword(),
                           u"Server=127.0.0.1"_s, u"Database="_s + db.name(), u"Port=%1"_s.arg(options.port)};
    if (const QString ca = QFileInfo(options.serverDir + u"/tls/ca.pem"_s).absoluteFilePath(); QFile::exists(ca))
        profile << u"SSL_CA="_s + ca << u"TLS=required"_s;
    dm.DataModuleCreate({profile, profile});
    dm.userID = user;
}

LargestEvent largestEvent(BenchDb& db)
{
    LargestEvent e;
    e.period = db.scalar(u"SELECT id FROM vzl_periods WHERE active=1"_s).toInt();
    e.event = db.scalar(u"SELECT educationlListID_reg FROM vzl_application_reg WHERE periodID=%1 AND levelolimpID=3"
                        " GROUP BY educationlListID_reg ORDER BY COUNT(*) DESC LIMIT 1"_s.arg(e.period)).toInt();
    e.user = db.scalar(u"SELECT usersID FROM vzl_userseducation WHERE educationListID=%1 AND periodsID=%2 LIMIT 1"_s
                           .arg(e.event).arg(e.period)).toInt();
    e.rows = db.scalar(u"SELECT COUNT(*) FROM vzl_application_reg WHERE educationlListID_reg=%1 AND periodID=%2 AND levelolimpID=3"_s
                           .arg(e.event).arg(e.period)).toInt();
    return e;
}

LargeDemo::LargeDemo(const QStringList& args, int runs, const QString& prefix, int bigEvent)
    : options(BenchOptions::parse(args, runs)), db(options, prefix)
{
    db.loadDemo(makeLargeData(options.data, tmp.filePath(u"big.sql"_s), bigEvent));
    largest = largestEvent(db);
}

void recordMessages(QStringList& messages)
{
    TDialogs::setHooks(
        [&messages](const TMessage& m) {
            messages << m.text;
            return QMessageBox::Ok;
        },
        [](QDialog&) { return int(QDialog::Rejected); });
}

int benchMain(int argc, char** argv, const char* name, int (*run)(const QStringList& args))
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Dates and numbers as the program writes them on this machine.
    QLocale::setDefault(TApplication::workingLocale(QLocale::system()));
    try {
        return run(app.arguments());
    } catch (const std::exception& e) {
        say(QString::fromUtf8(name) + u": "_s + QString::fromUtf8(e.what()));
        return 2;
    }
}

} // namespace bench
