// The data module against a real server: connection failures in their fixed
// words, the network profiles and the lamp, named queries shared by views,
// fetch failures, the small routines and the schema.

#include "data/DBGrid.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Errors.h"
#include "data/Format.h"
#include "data/MemTable.h"
#include "support/TestDb.h"

#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A port on which nothing listens.
int closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

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

} // namespace

class TestDataModule : public QObject {
    Q_OBJECT
private slots:
    void connectionFailureTexts_data();
    void connectionFailureTexts();
    void profileSwitchDrawsTheLamp();
    void closedConnectionFailsQueries();
    void lostConnectionIsReported();
    void stoppedServerIsReconnectedByTheNextAction();
    void builtInProfilesUnscrambleThePassword();
    void my_ucfirst_data();
    void my_ucfirst();
    void sortSQLKeepsOneSortLine();
    void directoryCreate();
    void twoViewsShowTheSameQuery();
    void numbersInTheUserFormat_data();
    void numbersInTheUserFormat();
    void columnsFitTheirContent();
    void fetchFailureIsRaised();
    void forwardRowsAreReadOnceWithoutTheQuery();
    void parametersAreBoundNotSpliced();
    void transactionRollsBackOnFailure();
    void rowidFilterIsOffOnlyWithin();
    void schemaHoldsEveryTableAndColumn();
};

void TestDataModule::connectionFailureTexts_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("wrong password") << u"password"_s
        << u"DBConnection Error. User name or password are incorrect\r\n\r\nEDatabaseError поднята ошибка, с сообщением : "_s;
    QTest::newRow("closed port") << u"port"_s
        << u"DBConnection Error. DBMS is not accessible due to some reason\r\n\r\nEDatabaseError поднята ошибка, с сообщением : "_s;
    QTest::newRow("unknown database") << u"database"_s
        << u"DBConnection Error. UnknownMistake\r\n\r\nEDatabaseError поднята ошибка, с сообщением : "_s;
}

void TestDataModule::connectionFailureTexts()
{
    QFETCH(QString, what);
    QFETCH(QString, prefix);
    TestDb db;
    auto profiles = db.profiles();
    if (what == u"password")
        profiles[0][1] = u"Password=wrong"_s;
    else if (what == u"port")
        profiles[0][4] = u"Port=%1"_s.arg(closedPort());
    else
        profiles[0][3] = u"Database=no_such_database"_s;
    const QString text = connectFailure(profiles);
    QVERIFY2(text.startsWith(prefix), qPrintable(text));
    QVERIFY(text.size() > prefix.size()); // the server's own words follow
}

void TestDataModule::profileSwitchDrawsTheLamp()
{
    TestDb db;
    QStringList lamp; // outlives the data module, whose end still draws the lamp red
    TDataZRT data;
    connect(&data.FDConnection1, &TConnection::afterConnect, [&] { lamp << u"green"_s; });
    connect(&data.FDConnection1, &TConnection::afterDisconnect, [&] { lamp << u"red"_s; });

    const int dead = closedPort();
    data.DataModuleCreate(db.profiles(dead));
    QCOMPARE(lamp, QStringList{u"green"_s});
    QCOMPARE(data.userID, -1);
    QCOMPARE(data.areaID, 0);

    // The same profile again still disconnects and reconnects.
    QVERIFY(data.changeNET(0));
    QCOMPARE(lamp, (QStringList{u"green"_s, u"red"_s, u"green"_s}));

    // The local profile fails: disconnected first, the lamp stays red.
    QVERIFY_THROWS_EXCEPTION(EError, data.changeNET(1));
    QCOMPARE(lamp, (QStringList{u"green"_s, u"red"_s, u"green"_s, u"red"_s}));
    QVERIFY(!data.FDConnection1.Connected());
    QCOMPARE(data.FDConnection1.param(u"Port"_s), QString::number(dead));

    // A failed attempt draws nothing.
    QVERIFY_THROWS_EXCEPTION(EError, data.changeNET(1));
    QCOMPARE(lamp.size(), 4);

    QVERIFY(data.changeNET(0));
    QCOMPARE(lamp.last(), u"green"_s);
    QStringList expected = {u"Server=127.0.0.1"_s, u"Database="_s + db.name(), u"User_Name=olimp"_s,
                            u"Password="_s + TestDb::password(), u"Port=%1"_s.arg(TestDb::port()),
                            u"DriverName=MySQL"_s, u"DriverID=MySQL"_s, u"CharacterSet=utf8"_s,
                            u"Compress=false"_s, u"TinyIntFormat=tifBoolean"_s,
                            // the test server's encryption follows the fixed settings
                            u"SSL_CA="_s + TestDb::authority(), u"TLS=required"_s};
    QCOMPARE(data.FDConnection1.params(), expected);
}

void TestDataModule::closedConnectionFailsQueries()
{
    TDataZRT data; // never connected: nothing opens by itself
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, data.GETarea->Open());
    QVERIFY(!data.GETarea->Active());
}

void TestDataModule::lostConnectionIsReported()
{
    DataSession s;
    s.db.exec(u"INSERT INTO vzl_areas(id,name) VALUES (1,'Алтово')"_s);
    s.cutConnection();

    // The next action reports the loss.
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, DataZRT->GETarea->Open());
    QVERIFY(!DataZRT->GETarea->Active());
    // Choosing the network again brings the connection back.
    QVERIFY(DataZRT->changeNET(0));
    DataZRT->GETarea->Open();
    QCOMPARE(DataZRT->GETarea->RecordCount(), 1);
}

void TestDataModule::stoppedServerIsReconnectedByTheNextAction()
{
    TestServer server;
    TestDb db(server.dir());
    db.exec(u"INSERT INTO vzl_areas(id,name) VALUES (1,'Алтово')"_s);
    QStringList lamp;
    TDataZRT data;
    connect(&data.FDConnection1, &TConnection::afterConnect, [&] { lamp << u"green"_s; });
    connect(&data.FDConnection1, &TConnection::afterDisconnect, [&] { lamp << u"red"_s; });
    data.DataModuleCreate(db.profiles());
    TQuery* insert = data.emptySQL;
    insert->SQL() = QStringList{u"INSERT INTO vzl_areas(id,name) VALUES (2,'Бережки')"_s};

    server.pause();
    {
        // The write finds the server gone: reported, the connection closed, the lamp red.
        TUserAction action;
        try {
            insert->ExecSQL();
            QFAIL("the write went through");
        } catch (const EConnectionLost& e) {
            QVERIFY2(e.message().startsWith(u"Соединение с базой данных потеряно. "_s), qPrintable(e.message()));
            QVERIFY(TConnection::isConnectionLoss(e.nativeCode()));
            // the server's words follow after their own line
            QVERIFY2(e.message().startsWith(EConnectionLost::lead() + u"Ответ сервера:\r\n"_s), qPrintable(e.message()));
            QVERIFY(e.message().size() > EConnectionLost::lead().size() + 16);
        }
        QVERIFY(!data.FDConnection1.Connected());
        QCOMPARE(lamp, (QStringList{u"green"_s, u"red"_s}));
        // Within the same action nothing is tried again.
        QVERIFY_THROWS_EXCEPTION(EConnectionLost, data.GETarea->Open());
    }
    {
        // The next action tries once; the server is still down.
        TUserAction action;
        try {
            data.GETarea->Open();
            QFAIL("opened without a server");
        } catch (const EConnectionLost& e) {
            QCOMPARE(e.nativeCode(), 2002);
        }
        QCOMPARE(lamp.size(), 2);
    }
    server.resume();
    {
        // Back: the next action connects quietly and reads; the write was not sent again.
        TUserAction action;
        data.GETarea->Open();
        QCOMPARE(data.GETarea->RecordCount(), 1);
        QCOMPARE(lamp.last(), u"green"_s);
    }
    QVERIFY(data.FDConnection1.Connected());
    QCOMPARE(data.FDConnection1.param(u"Port"_s), TDataZRT::profileValue(db.profiles()[0], u"Port"_s));
}

void TestDataModule::builtInProfilesUnscrambleThePassword()
{
    const auto profiles = TDataZRT::builtInProfiles();
    QCOMPARE(profiles[0][0], u"User_Name=olimp"_s);
    QCOMPARE(profiles[0][1], u"Password="_s + TestDb::password());
    QCOMPARE(profiles[1][1], profiles[0][1]);
    QCOMPARE(profiles[0][3], u"Database=olimp"_s);
    QCOMPARE(profiles[0][4], u"Port=17001"_s);
    QCOMPARE(profiles[1][4], u"Port=3306"_s);
    QCOMPARE(TDataZRT::DEcryptText(u"Pbc"_s, 1), u"Oab"_s);
}

void TestDataModule::my_ucfirst_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("cyrillic kept") << u"  иВАНОВ "_s << u"ИВАНОВ"_s;
    QTest::newRow("latin lowered") << u"petrov-VODKIN"_s << u"Petrov-Vodkin"_s;
    QTest::newRow("hyphen") << u"петрова-водкина"_s << u"Петрова-Водкина"_s;
    QTest::newRow("first hyphen only") << u"мамин-сибиряк-иванов"_s << u"Мамин-Сибиряк-иванов"_s;
    QTest::newRow("trailing hyphen") << u"анна-"_s << u"Анна-"_s;
    QTest::newRow("tabs and controls") << u"\t\nолег\r"_s << u"Олег"_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks") << u"   "_s << QString();
}

void TestDataModule::my_ucfirst()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(TDataZRT::my_ucfirst(in), out);
}

void TestDataModule::sortSQLKeepsOneSortLine()
{
    DataSession s;
    TQuery* events = DataZRT->GETpassingScoreReg;
    const int lines = int(events->SQL().size());
    events->ParamByName(u"userID"_s).setAsInteger(5);
    TDataZRT::SortSQL(events, u"nameEdu"_s);
    TDataZRT::SortSQL(events, u"dateEnd"_s);
    QCOMPARE(events->SQL().size(), lines);
    QCOMPARE(events->SQL().last(), u"ORDER BY dateEnd"_s);
    QVERIFY(events->Active());
    QCOMPARE(events->ParamByName(u"userID"_s).value().toInt(), 5); // parameters stay
}

void TestDataModule::directoryCreate()
{
    const QString name = u"Заявки-test-%1"_s.arg(QCoreApplication::applicationPid());
    const QString path = QCoreApplication::applicationDirPath() + u'/' + name;
    QDir(path).removeRecursively();
    QVERIFY(TDataZRT::DirectoryCreate(name));
    QVERIFY(QFileInfo(path).isDir());
    QVERIFY(TDataZRT::DirectoryCreate(name)); // exists: true, nothing changes
    QVERIFY(!TDataZRT::DirectoryCreate(name + u"-missing/child"_s));
    QVERIFY(!QFileInfo::exists(path + u"-missing"_s));
    QDir(path).removeRecursively();
}

void TestDataModule::numbersInTheUserFormat_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("number");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal comma") << u" 60,01 "_s << true << 60.01;
    QTest::newRow("negative") << u"-2,5"_s << true << -2.5;
    QTest::newRow("decimal point") << u"60.01"_s << false << 0.0;
    QTest::newRow("inf") << u"inf"_s << false << 0.0;
    QTest::newRow("negative inf") << u"-inf"_s << false << 0.0;
    QTest::newRow("nan") << u"nan"_s << false << 0.0;
    QTest::newRow("too large") << u"1e999"_s << false << 0.0;
    QTest::newRow("empty") << u""_s << false << 0.0;
}

void TestDataModule::numbersInTheUserFormat()
{
    QFETCH(QString, typed);
    QFETCH(bool, number);
    QFETCH(double, value);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
    if (number)
        QCOMPARE(StrToFloat(typed), value);
    else
        QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat(typed));
}

void TestDataModule::columnsFitTheirContent()
{
    const QString longName = u"Региональный этап всероссийской олимпиады школьников по основам безопасности "
                             u"и защиты Родины (теоретический и практический туры)"_s;
    TMemTable table(u"events"_s, {u"id"_s, u"nameEdu"_s, u"nameArea"_s, u"dateStart"_s});
    table.Open();
    table.AppendRecord({1, u"Математика"_s, u"Бережанский район"_s, QDate(2026, 3, 22)});
    table.AppendRecord({2, longName, u"г. Велград"_s, QDate(2026, 3, 23)});
    TDataSource source(u"SourceEvents"_s, &table);
    TDBGrid grid;
    grid.setColumns({{u"id"_s, QString(), false},
                     {u"nameEdu"_s, u"Наименование мероприятия"_s, true, Qt::AlignLeft, 320},
                     {u"nameArea"_s, u"МО"_s, true, Qt::AlignLeft, 40},
                     {u"dateStart"_s, u"Начало"_s, true, Qt::AlignCenter, 30}});
    grid.setDataSource(&source);
    const int name = grid.columnOf(u"nameEdu"_s);

    // A wide grid: every text whole, the name column takes the spare width.
    grid.resize(1800, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    for (int column = 1; column < 4; ++column)
        for (int recNo = 1; recNo <= 2; ++recNo)
            QVERIFY2(!grid.isCut(recNo, column), qPrintable(grid.cellText(recNo, grid.columns().at(column).field)));
    int total = 0;
    for (int column = 1; column < 4; ++column)
        total += grid.columnWidth(column);
    QCOMPARE(total, grid.viewport()->width());
    QVERIFY(grid.columnWidth(name) > grid.naturalWidth(name) || grid.naturalWidth(name) >= 560);
    QVERIFY(!grid.model()->index(1, name).data(Qt::ToolTipRole).isValid());

    // A narrow one: the columns keep their content's width; a cut name shows itself as a tip.
    grid.resize(500, 300);
    QCOMPARE(grid.columnWidth(grid.columnOf(u"nameArea"_s)), grid.naturalWidth(grid.columnOf(u"nameArea"_s)));
    QVERIFY(!grid.isCut(1, grid.columnOf(u"dateStart"_s)));
    QVERIFY(grid.isCut(2, name));
    QCOMPARE(grid.model()->index(1, name).data(Qt::ToolTipRole).toString(), longName);
    QVERIFY(!grid.model()->index(0, name).data(Qt::ToolTipRole).isValid());
}

void TestDataModule::twoViewsShowTheSameQuery()
{
    DataSession s;
    s.db.exec(u"INSERT INTO vzl_areas(id,name) VALUES (1,'Алтово'),(2,'Борки'),(3,'Велград')"_s);
    TDBGrid left;
    TDBGrid right;
    TDBLookupComboBox combo;
    for (TDBGrid* g : {&left, &right}) {
        g->setDataSource(DataZRT->SourceGETarea);
        g->setColumns({{u"id"_s, u""_s, false}, {u"name"_s, u"МО"_s}});
    }
    combo.setListSource(DataZRT->SourceGETarea, u"id"_s, u"name"_s);
    TQuery* q = DataZRT->GETarea;
    q->Open();
    QCOMPARE(left.model()->rowCount(), 3);
    QCOMPARE(right.model()->rowCount(), 3);
    QCOMPARE(combo.count(), 3);
    QCOMPARE(right.cellText(2, u"name"_s), u"Борки"_s);

    // A click in one view moves the shared current row; the other follows.
    left.selectRow(2);
    QCOMPARE(q->RecNo(), 3);
    QCOMPARE(right.currentIndex().row(), 2);
    combo.chooseIndex(0);
    QCOMPARE(q->RecNo(), 1);
    QCOMPARE(combo.KeyValue().toInt(), 1);

    // While controls are suspended the views keep still, then catch up.
    q->DisableControls();
    q->Close();
    s.db.exec(u"INSERT INTO vzl_areas(id,name) VALUES (4,'Гирино')"_s);
    q->Open();
    q->Last();
    QCOMPARE(left.verticalHeader()->count(), 3);
    q->EnableControls();
    QCOMPARE(left.verticalHeader()->count(), 4);
    QCOMPARE(right.currentIndex().row(), 3);

    q->Close();
    QCOMPARE(left.model()->rowCount(), 0);
    QCOMPARE(combo.count(), 0);
    QCOMPARE(combo.KeyValue().toInt(), 1); // the key outlives a closed list
}

void TestDataModule::fetchFailureIsRaised()
{
    DataSession s;
    TQuery* q = DataZRT->emptySQL;
    q->Close();
    q->SQL() = QStringList{u"SELECT :b as y"_s};
    q->ParamByName(u"b"_s).setAsString(u"x"_s);
    // The driver executes it and then fails to fetch the row: that must not
    // pass for an empty result.
    try {
        q->Open();
        QCOMPARE(q->RecordCount(), 1);
        QCOMPARE(q->FieldByName(u"y"_s).asString(), u"x"_s);
    } catch (const EDatabaseError& e) {
        QVERIFY(!q->Active());
        QVERIFY(!e.message().isEmpty());
    }
}

void TestDataModule::forwardRowsAreReadOnceWithoutTheQuery()
{
    DataSession s;
    s.db.exec(u"INSERT INTO vzl_areas(id,name) VALUES (1,'Алтово'),(2,'Борки'),(3,'')"_s);
    TQuery* q = DataZRT->emptySQL;
    q->Close();
    q->SQL() = QStringList{u"SELECT `name`, `id`"_s, u"FROM `vzl_areas` WHERE `id`>=:from ORDER BY `id`"_s};
    q->ParamByName(u"from"_s).setAsInteger(1);
    {
        std::unique_ptr<TRowCursor> rows = q->OpenForward();
        QVERIFY(!q->Active()); // the rows are not kept in the query
        QCOMPARE(rows->fieldIndex(u"ID"_s), 1);
        QCOMPARE(rows->fieldIndex(u"missing"_s), -1);
        QStringList names;
        while (rows->next())
            names << rows->value(0).toString() + u'/' + rows->value(1).toString();
        QCOMPARE(names, (QStringList{u"Алтово/1"_s, u"Борки/2"_s, u"/3"_s}));
        QVERIFY(!rows->next());
    }
    // the connection is free for the next statement
    QCOMPARE(s.db.scalar(u"SELECT count(*) FROM vzl_areas"_s).toInt(), 3);
    q->Open();
    QCOMPARE(q->RecordCount(), 3);
    q->Close();
    q->SQL() = QStringList{u"SELECT `nothing` FROM `vzl_areas`"_s};
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->OpenForward());
}

void TestDataModule::parametersAreBoundNotSpliced()
{
    DataSession s;
    s.db.exec(u"INSERT INTO vzl_areas(id,name) VALUES (1,'О''Брайен :x'),(2,'Борки')"_s);
    TQuery* q = DataZRT->emptySQL;
    q->Close();
    q->SQL() = QStringList{u"SELECT `id`, ':fake' as t FROM `vzl_areas` WHERE `name`=:n or `name`=:n"_s};
    QCOMPARE(q->paramNames(), QStringList{u"n"_s});
    for (const QString& hostile : {u"x' OR '1'='1"_s, u"\\' OR 1=1 -- "_s, u"'; DROP TABLE vzl_areas; --"_s}) {
        q->Close();
        q->ParamByName(u"n"_s).setAsString(hostile);
        q->Open();
        QCOMPARE(q->RecordCount(), 0);
    }
    q->Close();
    q->ParamByName(u"n"_s).setAsString(u"О'Брайен :x"_s);
    q->Open();
    QCOMPARE(q->RecordCount(), 1);
    QCOMPARE(q->FieldByName(u"t"_s).asString(), u":fake"_s);
    QCOMPARE(s.db.scalar(u"SELECT count(*) FROM vzl_areas"_s).toInt(), 2);
    QVERIFY_THROWS_EXCEPTION(EError, q->ParamByName(u"missing"_s));
}

void TestDataModule::transactionRollsBackOnFailure()
{
    DataSession s;
    // (a table the program's account may add rows to)
    TQuery* q = DataZRT->emptySQL;
    auto run = [q](const QString& sql) {
        q->Close();
        q->SQL() = QStringList{sql};
        q->ExecSQL();
    };
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, DataZRT->FDConnection1.inTransaction([&] {
        run(u"INSERT INTO vzl_userseducation_reg(id,usersID,educationListID,periodsID) VALUES (1,5,7,1)"_s);
        run(u"INSERT INTO vzl_userseducation_reg(id,usersID,educationListID,periodsID) VALUES (1,6,7,1)"_s);
    }));
    QCOMPARE(s.db.scalar(u"SELECT count(*) FROM vzl_userseducation_reg"_s).toInt(), 0);
    DataZRT->FDConnection1.inTransaction([&] { run(u"INSERT INTO vzl_userseducation_reg(id,usersID,educationListID,periodsID) VALUES (1,5,7,1)"_s); });
    QCOMPARE(s.db.scalar(u"SELECT count(*) FROM vzl_userseducation_reg"_s).toInt(), 1);
}

void TestDataModule::rowidFilterIsOffOnlyWithin()
{
    DataSession s;
    TConnection& c = DataZRT->FDConnection1;
    TQuery* q = DataZRT->emptySQL;
    auto run = [q](const QString& sql) {
        q->Close();
        q->SQL() = QStringList{sql};
        q->ExecSQL();
    };
    auto filter = [q] {
        q->Close();
        q->SQL() = QStringList{u"SELECT @@SESSION.optimizer_switch AS s"_s};
        q->Open();
        const QString s = q->FieldByName(u"s"_s).asString();
        q->Close();
        return s.contains(u"rowid_filter=on"_s) ? u"on"_s : s.contains(u"rowid_filter=off"_s) ? u"off"_s : u"none"_s;
    };
    QCOMPARE(filter(), u"on"_s);
    QString inside;
    c.withoutRowidFilter([&] { inside = filter(); });
    QCOMPARE(inside, u"off"_s);
    QCOMPARE(filter(), u"on"_s);

    // A failure inside is reported as it is, and the session gets its switch back.
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.withoutRowidFilter([&] { run(u"SELECT * FROM no_such_table"_s); }));
    QCOMPARE(filter(), u"on"_s);

    // A session that has the filters off already keeps them off.
    run(u"SET SESSION optimizer_switch='rowid_filter=off'"_s);
    c.withoutRowidFilter([&] { inside = filter(); });
    QCOMPARE(inside, u"off"_s);
    QCOMPARE(filter(), u"off"_s);
}

void TestDataModule::schemaHoldsEveryTableAndColumn()
{
    TestDb db;
    const QList<QPair<QString, QStringList>> expected = {
        {u"vzl_users"_s, {u"id"_s, u"surname"_s, u"name"_s, u"patronymic"_s, u"email"_s, u"password"_s, u"phone"_s,
                          u"areaID"_s, u"schoolID"_s, u"roleID"_s, u"isActive"_s, u"dateLastEnter"_s}},
        {u"vzl_users4add"_s, {u"usersID"_s, u"classStudy"_s, u"gender"_s, u"ovz"_s, u"birthday"_s, u"citizenship"_s}},
        {u"vzl_users80add"_s, {u"user_id"_s, u"placeWork"_s, u"postWork"_s}},
        {u"vzl_areas"_s, {u"id"_s, u"name"_s}},
        {u"vzl_schools"_s, {u"id"_s, u"name"_s, u"fullname"_s, u"adress"_s}},
        {u"vzl_periods"_s, {u"id"_s, u"name"_s, u"active"_s, u"dateEnd"_s}},
        {u"vzl_educationallist_reg"_s, {u"id"_s, u"nameEdu"_s, u"isActive"_s, u"idPeriod"_s, u"dateStart"_s, u"dateEnd"_s,
                                        u"actionAreaID"_s, u"prizeWinnerMin"_s, u"prizeWinnerMax"_s, u"Winner"_s,
                                        u"permission"_s, u"permissionDiplom"_s, u"SubjectsID"_s}},
        {u"vzl_userseducation"_s, {u"usersID"_s, u"educationListID"_s, u"periodsID"_s}},
        {u"vzl_userseducation_reg"_s, {u"usersID"_s, u"educationListID"_s, u"periodsID"_s, u"classPart"_s}},
        {u"vzl_application_reg"_s, {u"id"_s, u"userID"_s, u"classStudy"_s, u"classPart"_s, u"educationlListID_reg"_s,
                                    u"levelolimpID"_s, u"periodID"_s, u"dateReg"_s, u"areaID"_s, u"koordID"_s,
                                    u"actionareaID"_s, u"hotel"_s, u"dateIn"_s, u"dateOut"_s, u"maintainerID"_s,
                                    u"statusparticipantID"_s, u"result"_s}},
        {u"vzl_maintainer"_s, {u"id"_s, u"surname"_s, u"name"_s, u"patronymic"_s, u"post"_s, u"educationalOrg"_s, u"eMail"_s,
                               u"phone"_s, u"areaID"_s, u"isActive"_s, u"dateIn"_s, u"dateOut"_s, u"hotel"_s}},
        {u"vzl_statusparticipant"_s, {u"id"_s, u"nameStatus"_s}},
        {u"vzl_permissionuser"_s, {u"MenuItem"_s, u"permission"_s, u"roleID"_s}},
        {u"vzl_updatearm"_s, {u"Version"_s, u"roleID"_s}},
        {u"vzl_advertisement1"_s, {u"roleID"_s, u"isActive"_s, u"BodyAdv"_s, u"ColorCanvas"_s}},
    };
    for (const auto& [table, columns] : expected) {
        QStringList actual;
        for (const QVariantList& row : db.rows(u"SELECT COLUMN_NAME FROM information_schema.COLUMNS "
                                               "WHERE TABLE_SCHEMA='%1' AND TABLE_NAME='%2'"_s.arg(db.name(), table)))
            actual << row.value(0).toString();
        for (const QString& column : columns)
            QVERIFY2(actual.contains(column), qPrintable(table + u'.' + column));
        const QString charset = db.scalar(u"SELECT CCSA.CHARACTER_SET_NAME FROM information_schema.TABLES T "
                                          "JOIN information_schema.COLLATION_CHARACTER_SET_APPLICABILITY CCSA "
                                          "ON CCSA.COLLATION_NAME = T.TABLE_COLLATION "
                                          "WHERE T.TABLE_SCHEMA='%1' AND T.TABLE_NAME='%2'"_s.arg(db.name(), table)).toString();
        QCOMPARE(charset, u"utf8mb4"_s);
    }
    // Every named query's text is valid against the schema.
    DataSession s;
    for (TQuery* q : DataZRT->queries()) {
        if (q->SQL().isEmpty() || !q->SQL().first().startsWith(u"SELECT"_s))
            continue;
        for (const QString& p : q->paramNames())
            q->ParamByName(p).setAsInteger(0);
        q->Open();
        q->Close();
    }
}

QTEST_MAIN(TestDataModule)
#include "test_data_module.moc"
