// The central database from the workstation's side: an encrypted connection to
// a server that requires it, refusal of a server that is not the one the
// installation names (before the password goes), the account's least
// privileges, and the idle check that turns the lamp red.

#include "app/MainZRT.h"
#include "data/DataZRT.h"
#include "data/Errors.h"
#include "support/Fixtures.h"
#include "support/TestDb.h"

#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The text of the failure of DataModuleCreate with these profiles, empty when it connected.
QString connectFailure(const std::array<TNetProfile, 2>& profiles)
{
    TDataZRT data;
    try {
        data.DataModuleCreate(profiles);
    } catch (const EError& e) {
        return e.message();
    }
    return {};
}

// A statement of the program's account; the server's error number, 0 when it ran.
int refusal(const QString& sql)
{
    TQuery* q = DataZRT->emptySQL;
    q->Close();
    q->SQL() = QStringList{sql};
    try {
        q->ExecSQL();
    } catch (const EDatabaseError& e) {
        return e.nativeCode();
    }
    return 0;
}

} // namespace

class TestSecurity : public QObject {
    Q_OBJECT
private slots:
    void serverRequiringEncryptionTakesTheProgram();
    void foreignServersAreRefusedBeforeThePasswordGoes();
    void accountHoldsOnlyTheProgramsPrivileges();
    void idlePingTurnsTheLampRed();
};

void TestSecurity::serverRequiringEncryptionTakesTheProgram()
{
    DataSession s;
    QCOMPARE(s.db.scalar(u"SELECT @@GLOBAL.require_secure_transport"_s).toInt(), 1);
    TConnection& c = DataZRT->FDConnection1;
    QVERIFY(c.Connected());
    QVERIFY2(!c.cipher().isEmpty(), "the session is not encrypted");
    TQuery* q = DataZRT->emptySQL;
    q->SQL() = QStringList{u"SHOW SESSION STATUS LIKE 'Ssl_version'"_s};
    q->Open();
    QVERIFY(q->FieldByName(u"Value"_s).asString().startsWith(u"TLSv1."_s));
    q->Close();

    // The lamp's tip says so; after a disconnect it says there is no connection.
    TFormMainZRT main;
    main.followConnection(c);
    QVERIFY(DataZRT->changeNET(0));
    QCOMPARE(main.lampImage(), 1);
    QCOMPARE(main.lampToolTip(), u"Соединение с базой данных установлено и зашифровано ("_s + c.cipher() + u')');
    c.Close();
    QCOMPARE(main.lampToolTip(), u"Нет соединения с базой данных"_s);

    // Without the authority the program would speak in clear: this server
    // refuses it (MariaDB answers with its "access denied").
    auto plain = s.db.profiles();
    plain[0] = plain[0].mid(0, 5);
    const QString text = connectFailure(plain);
    QVERIFY2(text.contains(u"Access denied"_s), qPrintable(text));
}

void TestSecurity::foreignServersAreRefusedBeforeThePasswordGoes()
{
    // A server whose certificate names another host, signed by its own authority,
    // and a server without TLS.
    TestServer named({u"TALVIRA_TLS_HOST=db.elsewhere.example"_s});
    TestServer clear({u"TALVIRA_TESTDB_TLS=0"_s});
    TestDb namedDb(named.dir());
    TestDb clearDb(clear.dir());

    struct Case {
        const char* name;
        std::array<TNetProfile, 2> profiles;
        QString reason;
    };
    auto with = [](std::array<TNetProfile, 2> profiles, const QString& authority) {
        for (TNetProfile& p : profiles) {
            p = p.mid(0, 5);
            p << u"SSL_CA="_s + authority << u"TLS=required"_s;
            // A wrong password: had it been sent, the server would answer 1045.
            TDataZRT::setProfileValue(p, u"Password"_s, u"wrong"_s);
        }
        return profiles;
    };
    const Case cases[] = {
        {"certificate of another authority", with(namedDb.profiles(), TestDb::authority()),
         u"сертификат сервера не подписан центром сертификации, указанным в настройках (db_ssl_ca)"_s},
        {"certificate for another host", with(namedDb.profiles(), TestDb::authority(named.dir())),
         u"сертификат сервера выдан не на имя \"127.0.0.1\""_s},
        {"server without TLS", with(clearDb.profiles(), TestDb::authority()),
         u"сервер не предлагает шифрованное соединение (TLS)"_s},
    };
    for (const Case& c : cases) {
        const QString text = connectFailure(c.profiles);
        QVERIFY2(text.startsWith(u"DBConnection Error. Защищённое соединение с сервером базы данных не установлено, "
                                 u"имя пользователя и пароль не отправлены\r\n\r\n"_s),
                 qPrintable(QString::fromLatin1(c.name) + u": "_s + text));
        QVERIFY2(text.contains(u"Сервер базы данных отклонён: "_s + c.reason), qPrintable(text));
    }
    // None of them was asked to check a password.
    QCOMPARE(namedDb.rows(u"SHOW GLOBAL STATUS LIKE 'Access_denied_errors'"_s).value(0).value(1).toInt(), 0);
    QCOMPARE(clearDb.rows(u"SHOW GLOBAL STATUS LIKE 'Access_denied_errors'"_s).value(0).value(1).toInt(), 0);

    // Without "required" the authority still makes the connection encrypted
    // where the server offers it; a server without TLS is then used in clear,
    // and the lamp's tip says so.
    auto preferred = clearDb.profiles();
    preferred[0] = preferred[0].mid(0, 5) << u"SSL_CA="_s + TestDb::authority();
    TDataZRT data;
    data.DataModuleCreate(preferred);
    QVERIFY(data.FDConnection1.Connected());
    QVERIFY(data.FDConnection1.cipher().isEmpty());
    QCOMPARE(TFormMainZRT::lampTip(true, data.FDConnection1.cipher()),
             u"Соединение с базой данных установлено, но НЕ зашифровано"_s);
}

void TestSecurity::accountHoldsOnlyTheProgramsPrivileges()
{
    DataSession s;
    // A table of the web platform that the workstation never reads.
    s.db.exec(u"CREATE TABLE vzl_sessions (id INT PRIMARY KEY, token VARCHAR(64))"_s);
    Fixture f(s.db, Fixture::Bare);
    f.area({.id = 1, .name = u"Алтово"_s});
    f.user({.id = 10, .surname = u"Иванов"_s, .phone = u"1"_s, .email = u"a@b.c"_s, .schoolID = 0, .role = 54280,
            .details = false, .password = u"x"_s});

    struct Case {
        const char* name;
        QString sql;
        int code; // the server's "command denied" for a table 1142, for a column 1143
    };
    const Case cases[] = {
        {"drop a table", u"DROP TABLE vzl_application_reg"_s, 1142},
        {"alter a table", u"ALTER TABLE vzl_users ADD COLUMN x INT"_s, 1142},
        {"create a table", u"CREATE TABLE t (id INT)"_s, 1142},
        {"read a table it never reads", u"SELECT * FROM vzl_sessions"_s, 1142},
        {"update a column it never writes", u"UPDATE vzl_users SET email='x@y.z' WHERE id=10"_s, 1143},
        {"update a pupil's owner of a row", u"UPDATE vzl_application_reg SET userID=1 WHERE id=1"_s, 1143},
        {"delete a user", u"DELETE FROM vzl_users WHERE id=10"_s, 1142},
    };
    for (const Case& c : cases)
        QVERIFY2(refusal(c.sql) == c.code, qPrintable(u"%1: %2"_s.arg(QString::fromLatin1(c.name)).arg(refusal(c.sql))));
    // What the program does write still goes.
    QCOMPARE(refusal(u"UPDATE vzl_users SET phone='2' WHERE id=10"_s), 0);
    QCOMPARE(s.db.scalar(u"SELECT phone FROM vzl_users WHERE id=10"_s).toString(), u"2"_s);
    QCOMPARE(s.db.scalar(u"SELECT email FROM vzl_users WHERE id=10"_s).toString(), u"a@b.c"_s);
    QCOMPARE(s.db.scalar(u"SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_NAME='vzl_application_reg' "
                         "AND TABLE_SCHEMA='%1'"_s.arg(s.db.name())).toInt(), 1);
}

void TestSecurity::idlePingTurnsTheLampRed()
{
    TestServer server;
    TestDb db(server.dir());
    TFormMainZRT main;
    TDataZRT data;
    main.followConnection(data.FDConnection1);
    data.FDConnection1.setPingInterval(100);
    data.DataModuleCreate(db.profiles());
    QCOMPARE(main.lampImage(), 1);

    // While an action runs nothing is checked.
    {
        TUserAction action;
        QVERIFY(data.FDConnection1.pingIdle());
    }
    server.pause();
    {
        TUserAction action;
        QTest::qWait(300);
        QCOMPARE(main.lampImage(), 1);
    }
    // Idle: the check finds the server gone; the lamp turns red, nothing is shown.
    QTRY_COMPARE_WITH_TIMEOUT(main.lampImage(), 0, 5000);
    QVERIFY(!data.FDConnection1.Connected());
    QCOMPARE(main.lampToolTip(), u"Нет соединения с базой данных"_s);

    // The next action tries again once and reports the loss with the server's own text.
    {
        TUserAction action;
        try {
            data.GETarea->Open();
            QFAIL("opened without a server");
        } catch (const EConnectionLost& e) {
            QVERIFY2(e.message().startsWith(EConnectionLost::lead() + u"Ответ сервера:\r\n"_s), qPrintable(e.message()));
            QVERIFY(e.message().size() > EConnectionLost::lead().size() + 16);
        }
    }
    // Back: the next action connects again and the lamp is green.
    server.resume();
    {
        TUserAction action;
        data.GETarea->Open();
    }
    QCOMPARE(main.lampImage(), 1);
}

QTEST_MAIN(TestSecurity)
#include "test_security.moc"
