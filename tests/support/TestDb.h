#pragma once
// A database of its own for one test program, on the private server that the
// test run started. It holds the schema and the reference rows; each test adds
// the few rows it needs.

#include "data/DataZRT.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <array>
#include <memory>

/// A private server of one test, which the test can stop and start again on
/// the same port without disturbing the others (scripts/testdb.sh).
///
///     TestServer server;
///     TestDb db(server.dir());
///     server.pause();    // the server is gone
///     server.resume();   // back on its port, with its data
class TestServer {
public:
    /// env: extra KEY=VALUE settings for scripts/testdb.sh, e.g.
    /// "TALVIRA_TESTDB_TLS=0" (no TLS) or "TALVIRA_TLS_HOST=other.example".
    explicit TestServer(const QStringList& env = {});
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;
    const QString& dir() const { return dir_; }
    void pause();
    void resume();

private:
    void run(const QString& command);
    QString dir_;
    QStringList env_;
};

class TestDb {
public:
    /// Creates the database `t_<pid>_<n>` and loads schema and reference rows,
    /// on the server of the test run or on the one in serverDir, and gives the
    /// program's account the privileges of db/grants.sql on it.
    explicit TestDb(const QString& serverDir = QString());
    /// Drops the database.
    ~TestDb();
    TestDb(const TestDb&) = delete;
    TestDb& operator=(const TestDb&) = delete;

    const QString& name() const { return name_; }
    static int port();
    static QString socket();
    /// The password of the database user `olimp`.
    static QString password();
    /// The certificate authority of a test server (of the test run when dir
    /// is empty); empty when that server has no TLS.
    static QString authority(const QString& dir = QString());

    /// Both network profiles point at this database (the local-network one as
    /// well, so switching can be tried); pass a port to make profile 1 fail.
    /// They connect encrypted (SSL_CA, TLS=required) when the server has TLS.
    std::array<TNetProfile, 2> profiles(int localPort = 0) const;

    /// Runs statements as the server's administrator; a failure throws.
    void exec(const QString& sql);
    /// The first column of the first row (invalid when there is none).
    QVariant scalar(const QString& sql);
    /// All rows, each as a list of column values.
    QList<QVariantList> rows(const QString& sql);
    /// Loads an SQL file through the server's command-line client.
    void load(const QString& path);
    /// Runs SQL text through the server's command-line client.
    void loadText(const QByteArray& sql);
    /// Empties every table and reloads the reference rows.
    void clear();

private:
    QSqlDatabase admin() const;
    int serverPort() const;
    QString serverSocket() const;
    QString dir_;
    QString name_;
    QString connection_;
};

/// The data module connected to a fresh test database, as the program has it
/// after start-up. Log in by setting the session values.
///
///     DataSession s;
///     s.db.exec("INSERT INTO vzl_areas(id,name) VALUES (1,'Велград')");
///     DataZRT->userID = 10;
struct DataSession {
    DataSession();
    ~DataSession();
    /// Ends the data module's connection on the server's side, as a restart
    /// of the server or a lost network would; the module learns of it with its
    /// next statement.
    ///
    ///     s.cutConnection();
    ///     click(&w, u"BitBtn2"_s);   // reports the lost connection
    void cutConnection();
    TestDb db;
    std::unique_ptr<TDataZRT> data;
};
