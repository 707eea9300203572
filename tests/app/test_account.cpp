// Personal data and password of the logged-in administrator against a real
// database: what the dialog shows, what is stored, the field checks and the
// write failures.

#include "app/ChangePassword.h"
#include "app/MainZRT.h"
#include "app/RegistrCoordReg.h"
#include "crypto/Bcrypt.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "support/Fixtures.h"
#include "support/TestDb.h"
#include "support/Ui.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// What the administrator types into the six fields.
struct Typed {
    QString surname, name, patronymic, place, post, phone;
};
Q_DECLARE_METATYPE(Typed)

namespace {

constexpr int kUser = 10;
constexpr int kOther = 11;

// Two municipalities and two administrators; the first is logged in. Without
// `withAddRow` the first has no row in vzl_users80add.
void addAccounts(TestDb& db, bool withAddRow = true)
{
    Fixture f(db, Fixture::Bare);
    f.area({.id = 1, .name = u"Велград"_s});
    f.area({.id = 2, .name = u"Антоновский район"_s});
    f.user({.id = 10, .surname = u"Петров"_s, .name = u"Иван"_s, .patronymic = u"Сергеевич"_s,
            .phone = u"+7 900 000-00-00"_s, .email = u"petrov@example.org"_s, .areaID = 2, .schoolID = {},
            .role = 54280, .details = false, .password = u"old"_s});
    f.user({.id = 11, .surname = u"Сидорова"_s, .name = u"Анна"_s, .patronymic = u"Павловна"_s, .phone = u"111"_s,
            .email = u"sid@example.org"_s, .areaID = 1, .schoolID = {}, .role = 54280, .details = false,
            .password = u"other"_s});
    if (withAddRow)
        db.exec(u"INSERT INTO vzl_users80add(user_id,placeWork,postWork) VALUES (10,'Школа №1','Учитель')"_s);
    db.exec(u"INSERT INTO vzl_users80add(user_id,placeWork,postWork) VALUES (11,'Лицей','Завуч')"_s);
    DataZRT->userID = kUser;
}

void type(QDialog& d, const Typed& t)
{
    setText(&d, u"Editsurname"_s, t.surname);
    setText(&d, u"Editname"_s, t.name);
    setText(&d, u"Editpatronymic"_s, t.patronymic);
    setText(&d, u"PlaceWorkEdit"_s, t.place);
    setText(&d, u"PostWorkEdit"_s, t.post);
    setText(&d, u"EditPhone"_s, t.phone);
}

const Typed kFilled{u"Петров"_s, u"Иван"_s, u"Сергеевич"_s, u"Школа №1"_s, u"Учитель"_s, u"123"_s};

QVariantList userRow(TestDb& db, int id)
{
    return db.rows(u"SELECT surname,name,patronymic,phone,areaID FROM vzl_users WHERE id=%1"_s.arg(id)).value(0);
}

QVariantList addRow(TestDb& db, int id)
{
    return db.rows(u"SELECT placeWork,postWork FROM vzl_users80add WHERE user_id=%1"_s.arg(id)).value(0);
}

} // namespace

class TestAccount : public QObject {
    Q_OBJECT
private slots:
    void dialogShowsTheAccount();
    void storesWhatWasTyped_data();
    void storesWhatWasTyped();
    void checkParamOrder_data();
    void checkParamOrder();
    void accountWithoutAdditionalRow();
    void writeFailure();
    void passwordChange_data();
    void passwordChange();
    void passwordWriteFailure();
    void forgottenPassword();
};

void TestAccount::dialogShowsTheAccount()
{
    DataSession s;
    addAccounts(s.db);
    TFormRegistrCoordReg d;
    QCOMPARE(d.windowTitle(), u"Изменение реквизитов администратора региональныхмероприятий"_s);

    const struct {
        const char16_t *name, *hint, *placeholder;
        int limit;
        const char16_t* value;
    } edits[] = {
        {u"PlaceWorkEdit", u"Поле для ввода основного места работы", u"Поле для ввода основного места работы", 255, u"Школа №1"},
        {u"PostWorkEdit", u"Поле для ввода должности", u"Поле для ввода должности", 128, u"Учитель"},
        {u"Editsurname", u"Поле для ввода фамилии координатора. Не может быть пустым", u"Фамилия координатора", 64, u"Петров"},
        {u"Editname", u"Поле для ввода имени координатора. Не может быть пустым", u"Имя координатора", 64, u"Иван"},
        {u"Editpatronymic", u"Поле для ввода отчества координатора. Не может быть пустым", u"Отчество координатора", 64, u"Сергеевич"},
        {u"EditPhone", u"Необходимо указать контактный телефона", u"Номер контактного телефона", 32, u"+7 900 000-00-00"},
    };
    for (const auto& e : edits) {
        auto* edit = find<QLineEdit>(&d, QString::fromUtf16(e.name));
        QCOMPARE(edit->toolTip(), QString::fromUtf16(e.hint));
        QCOMPARE(edit->placeholderText(), QString::fromUtf16(e.placeholder));
        QCOMPARE(edit->maxLength(), e.limit);
        QCOMPARE(edit->text(), QString::fromUtf16(e.value));
    }
    auto* area = find<TDBLookupComboBox>(&d, u"DBLookupComboBox2"_s);
    QCOMPARE(area->toolTip(), u"Выбор муниципального образования"_s);
    QCOMPARE(area->count(), 2);
    QCOMPARE(area->currentText(), u"Антоновский район"_s);
    QCOMPARE(area->keyAsInteger(), 2);
    QCOMPARE(textOf(&d, u"Label7"_s), u"E-Mail (Логин): petrov@example.org"_s);
    QVERIFY(find<QLabel>(&d, u"Label7"_s)->font().bold());
    QCOMPARE(textOf(&d, u"Label17"_s), u"Все поля обязательны для ввода"_s);
    auto* close = find<QPushButton>(&d, u"BitBtn1"_s);
    auto* store = find<QPushButton>(&d, u"BitBtn2"_s);
    QCOMPARE(close->text(), u"&Закрыть"_s);
    QCOMPARE(close->toolTip(), u"Закрыть окно регистрации"_s);
    QCOMPARE(store->text(), u"Изменить"_s);
    QCOMPARE(store->toolTip(), u"Внести изменения в БД"_s);
    QVERIFY(store->isDefault());
    QVERIFY(!DataZRT->ListCoordReg->Active());
    QVERIFY(DataZRT->GETarea->Active());
    d.done(QDialog::Rejected);
    QVERIFY(!DataZRT->GETarea->Active()); // FormClose
}

void TestAccount::storesWhatWasTyped_data()
{
    QTest::addColumn<Typed>("typed");
    QTest::addColumn<QVariantList>("user");
    QTest::addColumn<QVariantList>("add");

    QTest::newRow("names capitalised, the rest as typed")
        << Typed{u"  иВАНОВ "_s, u"анна-мария"_s, u" petrov-VODKIN"_s, u"  Школа №5 "_s, u" учитель "_s, u" +7 (4012) 55-55 "_s}
        << QVariantList{u"ИВАНОВ"_s, u"Анна-Мария"_s, u"Petrov-Vodkin"_s, u" +7 (4012) 55-55 "_s, 1}
        << QVariantList{u"  Школа №5 "_s, u" учитель "_s};
    const QString place = u"МБОУ \"Лицей \\ №2\" \\"_s;
    const QString post = u"x\", `postWork`=\"взлом\" WHERE 1=1; -- '); DROP TABLE vzl_users; :userID"_s;
    QTest::newRow("quotes, backslashes and SQL stored as text")
        << Typed{u"Иванов"_s, u"Иван"_s, u"Иванович"_s, place, post, u"1"_s}
        << QVariantList{u"Иванов"_s, u"Иван"_s, u"Иванович"_s, u"1"_s, 1}
        << QVariantList{place, post};
}

void TestAccount::storesWhatWasTyped()
{
    QFETCH(Typed, typed);
    QFETCH(QVariantList, user);
    QFETCH(QVariantList, add);
    DataSession s;
    addAccounts(s.db);
    UiSeam seam;
    seam.onDialog([&](QDialog& d) {
        type(d, typed);
        find<TDBLookupComboBox>(&d, u"DBLookupComboBox2"_s)->chooseIndex(1); // "Велград", id 1
        click(&d, u"BitBtn2"_s);
    });
    TFormMainZRT w;
    w.N102Click();

    QCOMPARE(seam.dialogs, QStringList{u"TFormRegistrCoordReg"_s});
    QCOMPARE(seam.texts(), QStringList{u"Данные обновлены"_s});
    QCOMPARE(userRow(s.db, kUser), user);
    QCOMPARE(addRow(s.db, kUser), add);
    // The other administrator is untouched.
    QCOMPARE(addRow(s.db, kOther), (QVariantList{u"Лицей"_s, u"Завуч"_s}));
    QCOMPARE(userRow(s.db, kOther).value(0), QVariant(u"Сидорова"_s));
}

void TestAccount::checkParamOrder_data()
{
    // The fields from `from` on are left empty (or blank only): the first of
    // them is reported, the later ones are not checked.
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("empty");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("surname") << 0 << u""_s << u"Не введена фамилия"_s << u"Editsurname"_s;
    QTest::newRow("name") << 1 << u"  "_s << u"Не введено имя"_s << u"Editname"_s;
    QTest::newRow("patronymic") << 2 << u" \t "_s << u"Не введено отчество"_s << u"Editpatronymic"_s;
    QTest::newRow("place of work") << 3 << u""_s << u"Не введено место работы"_s << u"PlaceWorkEdit"_s;
    QTest::newRow("position") << 4 << u"   "_s << u"Не введена должность"_s << u"PostWorkEdit"_s;
    QTest::newRow("phone") << 5 << u" "_s << u"Не введен номер телефона"_s << u"EditPhone"_s;
}

void TestAccount::checkParamOrder()
{
    QFETCH(int, from);
    QFETCH(QString, empty);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    DataSession s;
    addAccounts(s.db);
    UiSeam seam;
    bool stayedOpen = false;
    QString focused; // the name, read while the dialog still exists
    seam.onDialog([&](QDialog& d) {
        QStringList values{kFilled.surname, kFilled.name, kFilled.patronymic, kFilled.place, kFilled.post, kFilled.phone};
        for (int i = from; i < values.size(); ++i)
            values[i] = empty;
        type(d, {values[0], values[1], values[2], values[3], values[4], values[5]});
        click(&d, u"BitBtn2"_s);
        stayedOpen = d.isVisible();
        focused = d.focusWidget() ? d.focusWidget()->objectName() : QString();
        click(&d, u"BitBtn1"_s); // the close button closes whatever the fields hold
        QVERIFY(!d.isVisible());
    });
    TFormMainZRT w;
    w.N102Click();

    QVERIFY(stayedOpen);
    QCOMPARE(focused, focus);
    QCOMPARE(seam.texts(), QStringList{message});
    QCOMPARE(seam.messages.value(0).type, TMsgDlgType::Error);
    QCOMPARE(userRow(s.db, kUser).value(0), QVariant(u"Петров"_s)); // nothing stored
}

void TestAccount::accountWithoutAdditionalRow()
{
    DataSession s;
    addAccounts(s.db, false);
    UiSeam seam;
    seam.onDialog([&](QDialog& d) {
        for (const QString& e : {u"PlaceWorkEdit"_s, u"PostWorkEdit"_s, u"Editsurname"_s, u"Editname"_s,
                                 u"Editpatronymic"_s, u"EditPhone"_s})
            QCOMPARE(textOf(&d, e), QString());
        auto* area = find<TDBLookupComboBox>(&d, u"DBLookupComboBox2"_s);
        QCOMPARE(area->keyAsInteger(), 0);
        QCOMPARE(area->currentIndex(), -1);
        QCOMPARE(textOf(&d, u"Label7"_s), u"E-Mail (Логин): "_s);
        type(d, kFilled);
        click(&d, u"BitBtn2"_s);
    });
    TFormMainZRT w;
    w.N102Click();

    QCOMPARE(seam.texts(), QStringList{u"Данные обновлены"_s});
    QCOMPARE(userRow(s.db, kUser), (QVariantList{u"Петров"_s, u"Иван"_s, u"Сергеевич"_s, u"123"_s, 0}));
    QCOMPARE(s.db.scalar(u"SELECT count(*) FROM vzl_users80add WHERE user_id=10"_s).toInt(), 0);
}

void TestAccount::writeFailure()
{
    DataSession s;
    addAccounts(s.db);
    UiSeam seam;
    seam.onDialog([&](QDialog& d) {
        type(d, Typed{u"сидоров"_s, u"пётр"_s, u"ильич"_s, u"Школа"_s, u"Директор"_s, u"5"_s});
        s.db.exec(u"RENAME TABLE vzl_users80add TO vzl_users80add_gone"_s); // the second update fails
        click(&d, u"BitBtn2"_s);
    });
    TFormMainZRT w;
    w.N102Click();

    QCOMPARE(seam.texts(), QStringList{u"Ошибка записи в БД"_s});
    QCOMPARE(seam.messages.value(0).type, TMsgDlgType::Error);
    // The two updates are separate: the first stays done.
    QCOMPARE(userRow(s.db, kUser).value(0), QVariant(u"Сидоров"_s));
}

void TestAccount::passwordChange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("changed");
    QTest::newRow("blanks around") << u"  Нов-пароль1 "_s << true << QStringList{u"Пароль обновлен"_s} << true;
    QTest::newRow("empty") << u""_s << true << QStringList{u"Не введен новый пароль"_s} << false;
    QTest::newRow("blanks only") << u"   "_s << true << QStringList{u"Не введен новый пароль"_s} << false;
    QTest::newRow("cancel") << u"abc"_s << false << QStringList{} << false;
}

void TestAccount::passwordChange()
{
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QStringList, messages);
    QFETCH(bool, changed);
    DataSession s;
    addAccounts(s.db);
    UiSeam seam;
    seam.onDialog([&](QDialog& d) {
        auto* edit = find<QLineEdit>(&d, u"EditPassword"_s);
        QCOMPARE(d.windowTitle(), u"Установить новый пароль"_s);
        QCOMPARE(edit->maxLength(), 25);
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->placeholderText(), u"Введите Ваш новый  пароль"_s);
        QCOMPARE(edit->toolTip(), u"Введите Ваш новый пароль"_s);
        QCOMPARE(d.focusWidget(), edit);
        QCOMPARE(find<QPushButton>(&d, u"BitBtn1"_s)->text(), u"Изменить пароль"_s);
        QCOMPARE(find<QPushButton>(&d, u"BitBtn2"_s)->text(), u"Отмена"_s);
        setText(&d, u"EditPassword"_s, typed);
        click(&d, accept ? u"BitBtn1"_s : u"BitBtn2"_s);
    });
    TFormMainZRT w;
    w.N104Click();

    QCOMPARE(seam.texts(), messages);
    const QString stored = s.db.scalar(u"SELECT password FROM vzl_users WHERE id=10"_s).toString();
    QCOMPARE(stored != u"old"_s, changed);
    QCOMPARE(s.db.scalar(u"SELECT password FROM vzl_users WHERE id=11"_s).toString(), u"other"_s);
    if (changed) {
        QVERIFY(stored.startsWith(u"$2a$10$"_s));
        QCOMPARE(stored.size(), 60);
        QVERIFY(TBCrypt::CheckPassword(Trim(typed), stored));
        QVERIFY(!TBCrypt::CheckPassword(typed, stored)); // the blanks typed at login do not match
    }
}

void TestAccount::passwordWriteFailure()
{
    DataSession s;
    addAccounts(s.db);
    s.db.exec(u"RENAME TABLE vzl_users TO vzl_users_gone"_s);
    UiSeam seam;
    seam.onDialog([](QDialog& d) {
        setText(&d, u"EditPassword"_s, u"secret"_s);
        click(&d, u"BitBtn1"_s);
    });
    TFormMainZRT w;
    w.N104Click();
    QCOMPARE(seam.texts(), QStringList{u"Ошибка записи в БД"_s});
    QCOMPARE(s.db.scalar(u"SELECT password FROM vzl_users_gone WHERE id=10"_s).toString(), u"old"_s);
}

void TestAccount::forgottenPassword()
{
    UiSeam seam;
    TFormMainZRT w;
    w.N10Click();
    QCOMPARE(seam.texts(), QStringList{u"Если Вы забыли пароль, обратитесь к администратору АИС в образовательный центр "
                                       "\"Кассиор\". Он назначит Вам новый пароль."_s});
    QCOMPARE(seam.messages.value(0).type, TMsgDlgType::Information);
}

QTEST_MAIN(TestAccount)
#include "test_account.moc"
