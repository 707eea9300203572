#include "support/TestDb.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {
QAtomicInt dbCounter;

QString testDbDir()
{
    const QByteArray env = qgetenv("TALVIRA_TESTDB_DIR");
    return env.isEmpty() ? QString::fromUtf8(TALVIRA_TESTDB_DIR) : QString::fromLocal8Bit(env);
}

[[noreturn]] void fail(const QString& what, const QSqlError& error)
{
    throw std::runtime_error((what + u": "_s + error.text()).toStdString());
}

int portOf(const QString& dir)
{
    QFile f(dir + u"/port"_s);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("the test database server is not running (no port file in "
                                 + dir.toStdString() + ")");
    return f.readAll().trimmed().toInt();
}
} // namespace

int TestDb::port()
{
    return portOf(testDbDir());
}

QString TestDb::socket()
{
    return testDbDir() + u"/mysqld.sock"_s;
}

int TestDb::serverPort() const
{
    return portOf(dir_);
}

QString TestDb::serverSocket() const
{
    return dir_ + u"/mysqld.sock"_s;
}

TestServer::TestServer(const QStringList& env)
    : dir_(u"/tmp/talvira-srv-%1-%2"_s.arg(QCoreApplication::applicationPid()).arg(dbCounter.fetchAndAddRelaxed(1)))
    , env_(env)
{
    run(u"start"_s);
}

TestServer::~TestServer()
{
    try {
        run(u"stop"_s);
    } catch (const std::exception&) {
    }
}

void TestServer::run(const QString& command)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& line : env_)
        environment.insert(line.section(u'=', 0, 0), line.section(u'=', 1));
    script.setProcessEnvironment(environment);
    script.start(QString::fromUtf8(TALVIRA_SOURCE_DIR) + u"/scripts/testdb.sh"_s, {command, dir_});
    if (!script.waitForFinished(120000) || script.exitCode() != 0)
        throw std::runtime_error(("testdb.sh " + command + ": " + QString::fromLocal8Bit(script.readAll())).toStdString());
}

void TestServer::pause()
{
    run(u"pause"_s);
}

void TestServer::resume()
{
    run(u"resume"_s);
}

QString TestDb::password()
{
    // the server's account is the one the program itself connects with
    return TDataZRT::databasePassword();
}

TestDb::TestDb(const QString& serverDir)
    : dir_(serverDir.isEmpty() ? testDbDir() : serverDir)
    , name_(u"t_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(dbCounter.fetchAndAddRelaxed(1)))
    , connection_(u"testadmin-"_s + name_)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QMYSQL"_s, connection_);
        db.setUserName(u"root"_s);
        db.setConnectOptions(u"UNIX_SOCKET="_s + serverSocket());
        if (!db.open())
            fail(u"connecting to the test server"_s, db.lastError());
        QSqlQuery q(db);
        if (!q.exec(u"CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"_s.arg(name_)))
            fail(u"creating the test database"_s, q.lastError());
        if (!q.exec(u"USE `%1`"_s.arg(name_)))
            fail(u"choosing the test database"_s, q.lastError());
    }
    load(QString::fromUtf8(TALVIRA_SOURCE_DIR) + u"/db/schema.sql"_s);
    load(QString::fromUtf8(TALVIRA_SOURCE_DIR) + u"/db/reference.sql"_s);
    // The program's account works here with exactly the privileges an
    // installation gives it.
    QFile grants(QString::fromUtf8(TALVIRA_SOURCE_DIR) + u"/db/grants.sql"_s);
    if (!grants.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read db/grants.sql");
    loadText(grants.readAll().replace("`olimp`.", "`" + name_.toUtf8() + "`."));
}

QString TestDb::authority(const QString& dir)
{
    const QString path = (dir.isEmpty() ? testDbDir() : dir) + u"/tls/ca.pem"_s;
    return QFile::exists(path) ? path : QString();
}

TestDb::~TestDb()
{
    {
        QSqlDatabase db = admin();
        QSqlQuery q(db);
        q.exec(u"DROP DATABASE IF EXISTS `%1`"_s.arg(name_));
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

QSqlDatabase TestDb::admin() const
{
    return QSqlDatabase::database(connection_);
}

std::array<TNetProfile, 2> TestDb::profiles(int localPort) const
{
    TNetProfile internet = {u"User_Name=olimp"_s, u"Password="_s + password(),
                            u"Server=127.0.0.1"_s, u"Database="_s + name_,
                            u"Port=%1"_s.arg(serverPort())};
    if (const QString ca = authority(dir_); !ca.isEmpty())
        internet << u"SSL_CA="_s + ca << u"TLS=required"_s;
    TNetProfile local = internet;
    if (localPort)
        TDataZRT::setProfileValue(local, u"Port"_s, QString::number(localPort));
    return {internet, local};
}

void TestDb::exec(const QString& sql)
{
    QSqlQuery q(admin());
    if (!q.exec(sql))
        fail(sql, q.lastError());
}

QVariant TestDb::scalar(const QString& sql)
{
    QSqlQuery q(admin());
    if (!q.exec(sql))
        fail(sql, q.lastError());
    return q.next() ? q.value(0) : QVariant();
}

QList<QVariantList> TestDb::rows(const QString& sql)
{
    QSqlQuery q(admin());
    if (!q.exec(sql))
        fail(sql, q.lastError());
    QList<QVariantList> result;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        result << row;
    }
    return result;
}

void TestDb::load(const QString& path)
{
    QProcess client;
    client.setStandardInputFile(path);
    client.start(u"mariadb"_s, {u"--no-defaults"_s, u"--socket="_s + serverSocket(), u"-uroot"_s,
                                u"--default-character-set=utf8mb4"_s, name_});
    if (!client.waitForFinished(120000) || client.exitCode() != 0)
        throw std::runtime_error(("loading " + path + ": " + QString::fromLocal8Bit(client.readAllStandardError()))
                                     .toStdString());
}

void TestDb::loadText(const QByteArray& sql)
{
    QProcess client;
    client.start(u"mariadb"_s, {u"--no-defaults"_s, u"--socket="_s + serverSocket(), u"-uroot"_s,
                                u"--default-character-set=utf8mb4"_s, name_});
    client.write(sql);
    client.closeWriteChannel();
    if (!client.waitForFinished(120000) || client.exitCode() != 0)
        throw std::runtime_error(("running SQL: " + QString::fromLocal8Bit(client.readAllStandardError())).toStdString());
}

void TestDb::clear()
{
    for (const QVariantList& row : rows(u"SHOW TABLES"_s))
        exec(u"DELETE FROM `%1`"_s.arg(row.value(0).toString()));
    load(QString::fromUtf8(TALVIRA_SOURCE_DIR) + u"/db/reference.sql"_s);
}

DataSession::DataSession()
    : data(std::make_unique<TDataZRT>())
{
    data->DataModuleCreate(db.profiles());
}

DataSession::~DataSession() = default;

void DataSession::cutConnection()
{
    TQuery* q = data->emptySQL;
    q->Close();
    q->SQL() = QStringList{QStringLiteral("SELECT CONNECTION_ID() as c")};
    q->Open();
    const int id = q->FieldByName(QStringLiteral("c")).asInteger();
    q->Close();
    db.exec(QStringLiteral("KILL %1").arg(id));
}
