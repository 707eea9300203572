// Login against a real database: the dialog, the outcomes of the check, the
// session values, the menu and its permission rows, the announcement, and the
// network button of the dialog.

#include "app/AnnPrewiew.h"
#include "app/Application.h"
#include "app/Checkauthorization.h"
#include "app/MainZRT.h"
#include "ui/ChildForm.h"
#include "crypto/Bcrypt.h"
#include "data/DataZRT.h"
#include "support/Fixtures.h"
#include "support/TestDb.h"
#include "support/Ui.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kAdmin = u"krm@velgrad.example"_s;
const QString kPassword = u"Пароль 1"_s;
const QString kWrongLogin = u"Не верный логин"_s;
const QString kWrongPassword = u"Не верный пароль или учетная запись заблокирована"_s;
const QString kLoggedOut = u"Не авторизованный пользователь"_s;
const QStringList kAlwaysOpen = {u"N1"_s, u"N2"_s, u"N146"_s, u"N10"_s, u"N3"_s,
                                 u"N22"_s, u"onLine1"_s, u"N137"_s, u"N139"_s};

// A hash as the platform stores it, at the smallest cost to keep the tests quick.
QString hashOf(const QString& password)
{
    const QByteArray salt = TBCrypt::GenerateSalt();
    return TBCrypt::FormatPasswordHashForBsd(4, salt, TBCrypt::HashPassword(password, salt, 4));
}

void addAccount(TestDb& db, int id, const QString& email, const QString& hash, int role = 54280, int active = 1)
{
    Fixture(db, Fixture::Bare)
        .user({.id = id, .surname = u"Петрова"_s, .name = u"Анна"_s, .patronymic = u"Сергеевна"_s, .phone = {},
               .email = email, .areaID = 7, .schoolID = {}, .role = role, .active = active != 0, .details = false,
               .password = hash});
}

// The accounts of the outcome table.
void addAccounts(TestDb& db)
{
    const QString hash = hashOf(kPassword);
    addAccount(db, 501, kAdmin, hash);
    addAccount(db, 502, u"pupil@velgrad.example"_s, hash, 4);
    addAccount(db, 503, u"off@velgrad.example"_s, hash, 54280, 0);
    addAccount(db, 504, u"space@velgrad.example"_s, hashOf(u" пароль "_s));
    addAccount(db, 505, u"empty@velgrad.example"_s, QString());
    addAccount(db, 506, u"y@velgrad.example"_s, u"$2y$"_s + hash.mid(4));
    addAccount(db, 507, u"b@velgrad.example"_s, u"$2b$"_s + hash.mid(4));
}

// Logs in through the menu as the user does: "Авторизация", login, password, OK.
void login(UiSeam& seam, TFormMainZRT& w, const QString& login, const QString& password)
{
    seam.onDialog([=](QDialog& d) {
        setText(&d, u"Edit1"_s, login);
        setText(&d, u"Edit2"_s, password);
        click(&d, u"BitBtn1"_s);
    });
    click(&w, u"N2"_s);
}

QStringList enabledItems(const TFormMainZRT& w)
{
    QStringList names;
    for (QAction* a : w.menuItems())
        if (a->isEnabled())
            names << a->objectName();
    return names;
}

QStringList allItemsBut(const TFormMainZRT& w, const QStringList& closed)
{
    QStringList names;
    for (QAction* a : w.menuItems())
        if (!closed.contains(a->objectName()))
            names << a->objectName();
    return names;
}

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

int closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

} // namespace

class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void loginDialog();
    void outcomes_data();
    void outcomes();
    void permissionRowsCloseEntries();
    void failedLoginEndsTheSession();
    void failureWhileRecordingTheDay();
    void announcementOnlyWhenSwitchedOn_data();
    void announcementOnlyWhenSwitchedOn();
    void announcementText_data();
    void announcementText();
    void networkButton();
    void demoAdministratorHash();
};

void TestLogin::loginDialog()
{
    TFormCheckauthorization d;
    QCOMPARE(d.windowTitle(), u"Авторизация (Вход в АРМ координатора региональных мероприятий)"_s);
    QCOMPARE(textOf(&d, u"Label1"_s), u"Логин (E-Mail):"_s);
    QCOMPARE(textOf(&d, u"Label2"_s), u"Пароль:"_s);
    QCOMPARE(d.Edit1()->maxLength(), 128);
    QCOMPARE(d.Edit1()->placeholderText(), u"Поле для ввода логина администратора"_s);
    QCOMPARE(d.Edit1()->toolTip(), u"Поле для ввода пароля"_s);
    QCOMPARE(d.Edit2()->maxLength(), 25);
    QCOMPARE(d.Edit2()->echoMode(), QLineEdit::Password);
    QCOMPARE(d.Edit2()->placeholderText(), u"Поле для ввода пароля администратора"_s);
    QCOMPARE(d.Edit2()->toolTip(), u"Поле для ввода пароля"_s);
    QCOMPARE(find<QToolButton>(&d, u"SpeedButton1"_s)->toolTip(), u"Выбор сети"_s);
    auto* ok = find<QPushButton>(&d, u"BitBtn1"_s);
    QVERIFY(ok->isDefault());
    QCOMPARE(ok->toolTip(), u"Вход в кабинет"_s);
    QCOMPARE(find<QPushButton>(&d, u"BitBtn2"_s)->text(), u"Отмена"_s);
    QCOMPARE(find<QPushButton>(&d, u"BitBtn2"_s)->toolTip(), u"Отмена"_s);
    const Qt::WindowFlags flags = d.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint) && !flags.testFlag(Qt::WindowMaximizeButtonHint));

    // Showing clears the password (only) and puts the focus into the login.
    d.Edit1()->setText(u"a@b"_s);
    d.Edit2()->setText(u"secret"_s);
    d.show();
    QCOMPARE(d.Edit1()->text(), u"a@b"_s);
    QCOMPARE(d.Edit2()->text(), QString());
    QCOMPARE(d.focusWidget(), d.Edit1());
    QCOMPARE(d.minimumSize(), d.maximumSize());
    d.Edit2()->setText(u"abc"_s);
    QCOMPARE(d.Edit2()->displayText(), u"***"_s);
}

void TestLogin::outcomes_data()
{
    QTest::addColumn<QString>("typedLogin");
    QTest::addColumn<QString>("typedPassword");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("user");
    const QString invalidHash = u"Invalid hash string."_s;
    QTest::newRow("right password") << kAdmin << kPassword << QString() << 501;
    QTest::newRow("another role only") << u"pupil@velgrad.example"_s << kPassword << kWrongLogin << -1;
    QTest::newRow("inactive only") << u"off@velgrad.example"_s << kPassword << kWrongLogin << -1;
    QTest::newRow("unknown login") << u"nobody@velgrad.example"_s << kPassword << kWrongLogin << -1;
    QTest::newRow("login with a leading space") << u" "_s + kAdmin << kPassword << kWrongLogin << -1;
    QTest::newRow("wrong password") << kAdmin << u"Пароль 2"_s << kWrongPassword << -1;
    QTest::newRow("password with a space in front") << kAdmin << u" "_s + kPassword << kWrongPassword << -1;
    QTest::newRow("spaces are part of the password") << u"space@velgrad.example"_s << u" пароль "_s << QString() << 504;
    QTest::newRow("trimmed password is another") << u"space@velgrad.example"_s << u"пароль"_s << kWrongPassword << -1;
    QTest::newRow("quotes") << kAdmin + u"' OR '1'='1"_s << kPassword << kWrongLogin << -1;
    QTest::newRow("backslashes") << u"\\' OR 1=1 -- \\"_s << kPassword << kWrongLogin << -1;
    QTest::newRow("statement") << kAdmin + u"\"; DROP TABLE vzl_users; --"_s << kPassword << kWrongLogin << -1;
    QTest::newRow("empty stored hash") << u"empty@velgrad.example"_s << kPassword << invalidHash << -1;
    QTest::newRow("2y stored hash") << u"y@velgrad.example"_s << kPassword << invalidHash << -1;
    QTest::newRow("2b stored hash") << u"b@velgrad.example"_s << kPassword << invalidHash << -1;
}

void TestLogin::outcomes()
{
    QFETCH(QString, typedLogin);
    QFETCH(QString, typedPassword);
    QFETCH(QString, message);
    QFETCH(int, user);
    DataSession s;
    addAccounts(s.db);
    UiSeam seam;
    TFormMainZRT w;
    w.enableMenu(false);

    login(seam, w, typedLogin, typedPassword);

    QCOMPARE(seam.dialogs, QStringList{u"TFormCheckauthorization"_s});
    QCOMPARE(seam.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(seam.messages.at(0).type, TMsgDlgType::Error);
        if (message == u"Invalid hash string."_s)
            QCOMPARE(seam.messages.at(0).caption, applicationTitle());
    }
    QVERIFY(!DataZRT->Qauthorization->Active());
    QVERIFY(FormCheckauthorization == nullptr);
    QCOMPARE(DataZRT->userID, user);
    QCOMPARE(s.db.scalar(u"SELECT COUNT(*) FROM vzl_users"_s).toInt(), 7);
    const QDate lastEnter = s.db.scalar(u"SELECT MAX(dateLastEnter) FROM vzl_users"_s).toDate();
    if (user < 0) {
        QCOMPARE(DataZRT->areaID, 0);
        QCOMPARE(w.panelText(0), kLoggedOut);
        QCOMPARE(sorted(enabledItems(w)), sorted(kAlwaysOpen));
        QVERIFY(lastEnter.isNull());
        return;
    }
    QCOMPARE(DataZRT->areaID, 7);
    QCOMPARE(DataZRT->FIO, u"Петрова Анна Сергеевна"_s);
    QCOMPARE(DataZRT->LoginUser, typedLogin);
    QCOMPARE(w.panelText(0), u"КРМ: Петрова Анна Сергеевна"_s);
    QCOMPARE(enabledItems(w), allItemsBut(w, {}));
    QCOMPARE(s.db.scalar(u"SELECT dateLastEnter FROM vzl_users WHERE id=%1"_s.arg(user)).toDate(),
             QDate::currentDate());
}

void TestLogin::permissionRowsCloseEntries()
{
    DataSession s;
    addAccount(s.db, 501, kAdmin, hashOf(kPassword));
    s.db.exec(u"INSERT INTO vzl_permissionuser (MenuItem, permission, roleID) VALUES "
              "('N13', 0, 54280), ('N14', NULL, 54280), ('N10', 0, 54280), "
              "('N31', 0, 4), ('N44', 2, 54280), ('N999', 0, 54280), ('n45', 0, 54280)"_s);
    UiSeam seam;
    TFormMainZRT w;

    w.enableMenu(false);
    QStringList open = kAlwaysOpen;
    open.removeAll(u"N10"_s);
    QCOMPARE(sorted(enabledItems(w)), sorted(open));

    login(seam, w, kAdmin, kPassword);
    QCOMPARE(seam.texts(), QStringList());
    QCOMPARE(enabledItems(w), allItemsBut(w, {u"N13"_s, u"N14"_s, u"N10"_s}));
    login(seam, w, kAdmin, kPassword); // every login
    QCOMPARE(enabledItems(w), allItemsBut(w, {u"N13"_s, u"N14"_s, u"N10"_s}));

    // A row for the login entry itself closes it before any login.
    s.db.exec(u"INSERT INTO vzl_permissionuser (MenuItem, permission, roleID) VALUES ('N2', 0, 54280)"_s);
    w.enableMenu(false);
    QVERIFY(!w.FindMnuItem(u"N2"_s)->isEnabled());
    seam.clear();
    click(&w, u"N2"_s);
    QCOMPARE(seam.dialogs, QStringList());
}

void TestLogin::failedLoginEndsTheSession()
{
    for (const QString& wrongLogin : {kAdmin, u"nobody@velgrad.example"_s}) {
        DataSession s;
        addAccount(s.db, 501, kAdmin, hashOf(kPassword));
        UiSeam seam;
        TFormMainZRT w;
        login(seam, w, kAdmin, kPassword);
        QCOMPARE(DataZRT->userID, 501);
        w.N13Click(); // a window of the session
        QPointer<QWidget> window = w.childForms().value(0);
        QVERIFY(window);
        login(seam, w, kAdmin, kPassword); // the same account again keeps it
        QVERIFY(window && !static_cast<TChildForm*>(window.data())->isClosing());

        login(seam, w, wrongLogin, u"не тот"_s);
        // the windows of the ended session close and write nothing more
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
        QVERIFY(w.childForms().isEmpty());
        QCOMPARE(seam.texts().size(), 1);
        QCOMPARE(DataZRT->userID, -1);
        QCOMPARE(DataZRT->areaID, 0);
        QCOMPARE(w.panelText(0), kLoggedOut);
        QCOMPARE(sorted(enabledItems(w)), sorted(kAlwaysOpen));
        QCOMPARE(DataZRT->FIO, u"Петрова Анна Сергеевна"_s);
        QCOMPARE(DataZRT->LoginUser, kAdmin);
    }
}

void TestLogin::failureWhileRecordingTheDay()
{
    DataSession s;
    addAccount(s.db, 501, kAdmin, hashOf(kPassword));
    s.db.exec(u"ALTER TABLE vzl_users DROP COLUMN dateLastEnter"_s);
    UiSeam seam;
    TFormMainZRT w;
    w.enableMenu(false);
    login(seam, w, kAdmin, kPassword);
    QCOMPARE(seam.messages.size(), 1);
    QCOMPARE(seam.messages.at(0).caption, applicationTitle());
    QVERIFY(seam.messages.at(0).text.contains(u"dateLastEnter"_s));
    // The session values and the panel are set, the menu stays closed.
    QCOMPARE(DataZRT->userID, 501);
    QCOMPARE(w.panelText(0), u"КРМ: Петрова Анна Сергеевна"_s);
    QCOMPARE(sorted(enabledItems(w)), sorted(kAlwaysOpen));
    QVERIFY(!DataZRT->Qauthorization->Active());
    QVERIFY(FormCheckauthorization == nullptr);
}

void TestLogin::announcementOnlyWhenSwitchedOn_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<bool>("shown");
    QTest::newRow("no row") << QString() << false;
    QTest::newRow("switched off") << u"(54280, 0)"_s << false;
    QTest::newRow("switched on") << u"(54280, 1)"_s << true;
    QTest::newRow("on for another role") << u"(4, 1)"_s << false;
}

void TestLogin::announcementOnlyWhenSwitchedOn()
{
    QFETCH(QString, rows);
    QFETCH(bool, shown);
    DataSession s;
    addAccount(s.db, 501, kAdmin, hashOf(kPassword));
    if (!rows.isEmpty())
        s.db.exec(u"INSERT INTO vzl_advertisement1 (roleID, isActive) VALUES "_s + rows);
    UiSeam seam;
    TFormMainZRT w;
    login(seam, w, kAdmin, kPassword);
    QStringList expected{u"TFormCheckauthorization"_s};
    if (shown)
        expected << u"TFormAnnPrewiew"_s;
    QCOMPARE(seam.dialogs, expected);
    QCOMPARE(seam.texts(), QStringList());
    QVERIFY(!DataZRT->isViewAnn->Active());
}

void TestLogin::announcementText_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QVariant>("colour");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("background");
    const QColor standard = TFormAnnPrewiew().RichEdit1()->palette().color(QPalette::Base);
    QTest::newRow("rich text, red in the low byte")
        << u"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\b \\'c2\\'ed\\'e8\\'ec\\'e0\\'ed\\'e8\\'e5!\\b0\\par x}"_s
        << QVariant(0x0080FF) << u"Внимание!\nx"_s << QColor(0xFF, 0x80, 0x00);
    QTest::newRow("plain text in the single-byte code page")
        << u"Ïðèâåò, {\\rtf"_s << QVariant(0xFF0000) << u"Привет, {\\rtf"_s << QColor(0, 0, 0xFF);
    QTest::newRow("text stored as Unicode is not garbled")
        << u"Срочно: \u00ABсбор\u00BB"_s << QVariant() << u"Срочно: «сбор»"_s << standard;
    QTest::newRow("rich text stored as Unicode")
        << u"{\\rtf1 Сбор \\b в 9:00\\b0}"_s << QVariant() << u"Сбор в 9:00"_s << standard;
    QTest::newRow("system colour of windows")
        << u"x"_s << QVariant(qint64(0x80000005) - 0x100000000) << u"x"_s << standard;
}

void TestLogin::announcementText()
{
    QFETCH(QString, body);
    QFETCH(QVariant, colour);
    QFETCH(QString, text);
    QFETCH(QColor, background);
    DataSession s;
    s.db.exec(u"INSERT INTO vzl_advertisement1 (roleID, isActive, BodyAdv, ColorCanvas) VALUES (54280, 1, '%1', %2)"_s
                  .arg(QString(body).replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"''"_s), colour.isNull() ? u"NULL"_s : colour.toString()));
    TFormAnnPrewiew d;
    QCOMPARE(d.windowTitle(), u"Объявлениe в АИС"_s);
    QVERIFY(d.RichEdit1()->isReadOnly());
    QCOMPARE(d.RichEdit1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(find<QPushButton>(&d, u"BitBtn1"_s)->toolTip(), u"Закрыть объявление"_s);
    d.show();
    QCOMPARE(d.RichEdit1()->toPlainText(), text);
    QCOMPARE(d.RichEdit1()->palette().color(QPalette::Base), background);
    QVERIFY(!DataZRT->GETadv->Active());
}

void TestLogin::networkButton()
{
    DataSession s;
    DataZRT->ConnectSRV = s.db.profiles(closedPort());
    TFormMainZRT w; // the lamp, wired as the program's start-up wires it
    QObject::connect(&DataZRT->FDConnection1, &TConnection::afterConnect, &w, [&w] { w.setLampImage(1); });
    QObject::connect(&DataZRT->FDConnection1, &TConnection::afterDisconnect, &w, [&w] { w.setLampImage(0); });
    UiSeam seam;
    TFormCheckauthorization d;
    d.show();
    auto choose = [&](const QString& item, const QString& button) {
        seam.onDialog([=](QDialog& net) {
            click(&net, item);
            click(&net, button);
        });
        click(&d, u"SpeedButton1"_s);
    };

    // The local network fails: the failure in the general display, the lamp red, the dialog open.
    choose(u"RadioItem1"_s, u"BitBtn1"_s);
    QCOMPARE(seam.dialogs, QStringList{u"TFormNetSelect"_s});
    QCOMPARE(seam.messages.size(), 1);
    QVERIFY(seam.messages.at(0).text.startsWith(u"DBConnection Error. DBMS is not accessible due to some reason"_s));
    QCOMPARE(seam.messages.at(0).caption, applicationTitle());
    QCOMPARE(w.lampImage(), 0);
    QVERIFY(!DataZRT->FDConnection1.Connected());
    QVERIFY(d.isVisible());

    // Cancel changes nothing.
    seam.clear();
    choose(u"RadioItem0"_s, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), QStringList());
    QVERIFY(!DataZRT->FDConnection1.Connected());

    // The internet profile connects.
    choose(u"RadioItem0"_s, u"BitBtn1"_s);
    QCOMPARE(seam.texts(), QStringList());
    QCOMPARE(w.lampImage(), 1);
    QVERIFY(DataZRT->FDConnection1.Connected());
    QVERIFY(d.isVisible());
}

void TestLogin::demoAdministratorHash()
{
    QFile generator(QFINDTESTDATA("../../db/generate_demo.py"));
    QVERIFY(generator.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(generator.readAll());
    const auto match = QRegularExpression(u"^DEMO_HASH = \"([^\"]+)\""_s, QRegularExpression::MultilineOption)
                           .match(text);
    QVERIFY(match.hasMatch());
    QVERIFY(text.contains(u"DEMO_LOGIN = \"admin@velgrad.example\""_s));
    QVERIFY(TBCrypt::CheckPassword(u"Talvira2026!"_s, match.captured(1)));
}

QTEST_MAIN(TestLogin)
#include "test_login.moc"
