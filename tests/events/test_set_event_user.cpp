// The participant assignment window against a real database: the event check
// boxes, the surname search and its buttons, ticking a pupil's choices, saving
// them in one transaction, sorting that outlives the window.

#include "EventFixture.h"

#include "data/DBGrid.h"
#include "data/DataZRT.h"
#include "events/SetEventUser.h"
#include "events/WordWrapCheckBox.h"
#include "support/Ui.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Pupils (role 4) with their classes; 204 is inactive, 205 an administrator,
// 208 has no class. Nobody has a phone, gender, health note, birthday or
// citizenship.
void addPupils(Fixture& f)
{
    f.area({.id = 1, .name = u"Велград"_s});
    f.area({.id = 2, .name = u"Озёрский район"_s});
    f.school({.id = 1, .name = u"МБОУ СОШ №1"_s, .areaID = 1});
    f.school({.id = 2, .name = u"Гимназия №2"_s, .areaID = 2});
    const auto pupil = [&f](UserRow row) {
        row.phone = u""_s;
        row.gender = Null;
        row.ovz = Null;
        row.birthday = Null;
        row.citizenship = Null;
        f.user(row);
    };
    pupil({.id = 201, .surname = u"Иванов"_s, .name = u"Пётр"_s, .patronymic = u"Ильич"_s, .classStudy = 9});
    pupil({.id = 202, .surname = u"ИВАНОВА"_s, .name = u"Анна"_s, .patronymic = u"Сергеевна"_s, .areaID = 2,
           .schoolID = 2, .classStudy = 10});
    pupil({.id = 203, .surname = u"Сиваницкий"_s, .name = u"Борис"_s, .patronymic = u"Олегович"_s, .classStudy = 11});
    pupil({.id = 204, .surname = u"Иванец"_s, .name = u"Виктор"_s, .patronymic = u"Павлович"_s, .active = false,
           .classStudy = 9});
    pupil({.id = 205, .surname = u"Иванчук"_s, .name = u"Глеб"_s, .patronymic = u"Романович"_s, .role = 54280,
           .classStudy = 9});
    pupil({.id = 206, .surname = u"О'Нил"_s, .name = u"Дарья"_s, .patronymic = u"Андреевна"_s, .areaID = 2,
           .schoolID = 2, .classStudy = 8});
    pupil({.id = 207, .surname = u"Сто%ва"_s, .name = u"Елена"_s, .patronymic = u"Игоревна"_s, .classStudy = 7});
    pupil({.id = 208, .surname = u"Петров"_s, .name = u"Жорж"_s, .patronymic = u"Юрьевич"_s, .classStudy = Null});
}

// The choices of a pupil in every period: event, period, class.
QList<QVariantList> choicesOf(TestDb& db, int pupil)
{
    return db.rows(u"SELECT educationListID,periodsID,classPart FROM vzl_userseducation_reg"
                   " WHERE usersID=%1 ORDER BY periodsID,educationListID"_s.arg(pupil));
}

QList<int> foundIds()
{
    QList<int> ids;
    TQuery* q = DataZRT->searchUser4SetEduu;
    for (int row = 0; row < q->RecordCount(); ++row)
        ids << q->value(row, u"id"_s).toInt();
    return ids;
}

QStringList ticked(const TFormSetEventUser& w)
{
    QStringList names;
    for (QCheckBox* box : w.eventBoxes())
        if (box->isChecked())
            names << box->objectName();
    return names;
}

// Typing, key by key (QTest::keyClicks knows Latin-1 keys only).
void typeText(QWidget* edit, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, c == u' ' ? Qt::Key_Space : Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}

void findPupils(TFormSetEventUser& w, const QString& text)
{
    setText(&w, u"EditSurName"_s, text);
    w.BitBtn2Click();
}

// A real click on a cell of the found list (the window is shown).
void clickPupil(TFormSetEventUser& w, int pupil)
{
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    const int row = int(foundIds().indexOf(pupil));
    QVERIFY(row >= 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, 1)).center());
}

void tick(TFormSetEventUser& w, const QString& name, bool on)
{
    QCheckBox* box = find<QCheckBox>(&w, name);
    if (box->isChecked() != on)
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
}

} // namespace

class TestSetEventUser : public QObject {
    Q_OBJECT
private slots:
    void init();
    void eventBoxesOfTheAdministrator();
    void searchButtons();
    void surnameSearch_data();
    void surnameSearch();
    void createSQLPutsTheLastBoxFirst();
    void saveReplacesTheChoicesOfTheActiveYear();
    void saveWithoutTicks();
    void failedSaveKeepsTheOldChoices();
    void titleClickSortOutlivesTheWindow();
    void ticksFollowTheCurrentPupil();

private:
    std::unique_ptr<DataSession> s;
    std::unique_ptr<Fixture> f;
};

void TestSetEventUser::init()
{
    s = std::make_unique<DataSession>();
    f = std::make_unique<Fixture>(s->db, Fixture::YearsOnly);
    addAdminEvents(*f);
    addPupils(*f);
    DataZRT->userID = ownAdmin;
}

void TestSetEventUser::eventBoxesOfTheAdministrator()
{
    TFormSetEventUser w;
    QCOMPARE(FormSetEventUser, &w);
    QStringList names, captions;
    for (QCheckBox* box : w.eventBoxes()) {
        names << box->objectName();
        captions << box->text();
        QCOMPARE(box->toolTip(), u"Выбрать мероприятие "_s + box->text());
        QCOMPARE(box->parentWidget(), find<QScrollArea>(&w, u"ScrollBox1"_s)->widget());
        QVERIFY(qobject_cast<TWordWrapCheckBox*>(box)->wordWrap());
    }
    // By period, then name; inactive, past and other administrators' events have no box.
    QCOMPARE(names, (QStringList{u"check_102"_s, u"check_101"_s, u"check_103"_s}));
    QCOMPARE(captions.first(), u"2025-2026 у/г. Олимпиада по математике"_s);
    QVERIFY(!DataZRT->viewSubjectsReg->Active());

    // A long caption wraps: a narrow box is taller than a wide one.
    auto* box = qobject_cast<TWordWrapCheckBox*>(w.eventBoxes().first());
    QVERIFY(box->heightForWidth(120) > box->heightForWidth(1000));

    w.fillSubject(); // built again, not doubled
    QCOMPARE(w.eventBoxes().size(), 3);
    w.close();
    QVERIFY(w.eventBoxes().isEmpty());
    QCOMPARE(FormSetEventUser, nullptr);

    DataZRT->userID = otherAdmin;
    TFormSetEventUser other;
    QCOMPARE(other.eventBoxes().size(), 1);
    QCOMPARE(other.eventBoxes().first()->objectName(), u"check_106"_s);
}

void TestSetEventUser::searchButtons()
{
    UiSeam seam;
    TFormSetEventUser w;
    auto* edit = find<QLineEdit>(&w, u"EditSurName"_s);
    auto* find_ = find<QPushButton>(&w, u"BitBtn2"_s);
    auto* save = find<QPushButton>(&w, u"BitBtn3"_s);
    QVERIFY(!find_->isEnabled());
    QVERIFY(!save->isEnabled());

    typeText(edit, u"   "_s);
    QVERIFY(!find_->isEnabled()); // blanks only
    typeText(edit, u"иван"_s);
    QVERIFY(find_->isEnabled());
    QTest::mouseClick(find_, Qt::LeftButton);
    QCOMPARE(foundIds(), (QList<int>{201, 202, 203}));
    QVERIFY(save->isEnabled());

    tick(w, u"check_101"_s, true);
    click(&w, u"SpeedButton1"_s);
    QCOMPARE(edit->text(), QString());
    QVERIFY(!find_->isEnabled());
    QCOMPARE(foundIds(), (QList<int>{201, 202, 203})); // the list and the ticks stay
    QCOMPARE(ticked(w), QStringList{u"check_101"_s});

    typeText(edit, u"zzz"_s);
    QTest::keyClick(edit, Qt::Key_Return); // Enter does not search
    QCOMPARE(foundIds().size(), 3);
    QTest::mouseClick(find_, Qt::LeftButton);
    QVERIFY(foundIds().isEmpty());
    QVERIFY(!save->isEnabled());
    QVERIFY(seam.messages.isEmpty());
}

void TestSetEventUser::surnameSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("found");
    QTest::newRow("any case, anywhere") << u"иван"_s << QList<int>{201, 202, 203};
    QTest::newRow("blanks around") << u"  иВаН "_s << QList<int>{201, 202, 203};
    QTest::newRow("quote") << u"'"_s << QList<int>{206};
    QTest::newRow("percent sign") << u"%"_s << QList<int>{207};
    QTest::newRow("underscore") << u"_"_s << QList<int>{};
    QTest::newRow("backslash") << u"\\%"_s << QList<int>{};
    QTest::newRow("SQL") << u"' OR '1'='1"_s << QList<int>{};
    QTest::newRow("statement") << u"'); DELETE FROM vzl_users; --"_s << QList<int>{};
}

void TestSetEventUser::surnameSearch()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, found);
    UiSeam seam;
    TFormSetEventUser w;
    findPupils(w, u"в"_s); // something found first: the button follows the new result
    QVERIFY(find<QPushButton>(&w, u"BitBtn3"_s)->isEnabled());
    findPupils(w, text);
    QCOMPARE(foundIds(), found);
    QCOMPARE(find<QPushButton>(&w, u"BitBtn3"_s)->isEnabled(), !found.isEmpty());
    QVERIFY(seam.messages.isEmpty());
    QCOMPARE(s->db.scalar(u"SELECT count(*) FROM vzl_users"_s).toInt(), 8);
}

void TestSetEventUser::createSQLPutsTheLastBoxFirst()
{
    TFormSetEventUser w;
    tick(w, u"check_102"_s, true);
    tick(w, u"check_101"_s, true);
    QCOMPARE(w.createSQL(u"201"_s, u"9"_s),
             u"INSERT INTO `vzl_userseducation_reg`(`usersID`, `educationListID`, `periodsID`,`classPart`) VALUES "
             "(201,101,(SELECT `id` FROM `vzl_periods` WHERE `active`=1),9),"
             "(201,102,(SELECT `id` FROM `vzl_periods` WHERE `active`=1),9)"_s);
}

void TestSetEventUser::saveReplacesTheChoicesOfTheActiveYear()
{
    // Three choices this year, one of them of another administrator's event,
    // and one of the past year.
    f->choice(201, 101, 9);
    f->choice(201, 103, 9);
    f->choice(201, 106, 9);
    f->choice(201, 105, 8, f->pastPeriod());
    f->choice(202, 102, 10);
    UiSeam seam;
    TFormSetEventUser w;
    w.resize(1000, 500);
    w.show();
    findPupils(w, u"иван"_s);
    clickPupil(w, 202);
    QCOMPARE(ticked(w), QStringList{u"check_102"_s});
    clickPupil(w, 201);
    QCOMPARE(ticked(w), (QStringList{u"check_101"_s, u"check_103"_s}));

    tick(w, u"check_103"_s, false);
    tick(w, u"check_102"_s, true);
    click(&w, u"BitBtn3"_s);

    QCOMPARE(seam.texts(), QStringList{u"Данные обновлены"_s});
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Information);
    QCOMPARE(choicesOf(s->db, 201),
             (QList<QVariantList>{{105, 1, 8}, {101, 2, 9}, {102, 2, 9}}));
    QCOMPARE(choicesOf(s->db, 202), (QList<QVariantList>{{102, 2, 10}}));
    QCOMPARE(ticked(w), (QStringList{u"check_102"_s, u"check_101"_s})); // nothing re-read
    QCOMPARE(DataZRT->searchUser4SetEduu->FieldByName(u"id"_s).asInteger(), 201);
}

void TestSetEventUser::saveWithoutTicks()
{
    f->choice(201, 101, 9);
    UiSeam seam;
    TFormSetEventUser w;
    findPupils(w, u"Иванов"_s);
    QCOMPARE(ticked(w), QStringList{u"check_101"_s}); // the ticks of the first pupil found
    tick(w, u"check_101"_s, false);
    w.BitBtn3Click();
    QCOMPARE(seam.texts(), QStringList{u"Не определено мероприятие"_s});
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Error);
    QCOMPARE(choicesOf(s->db, 201), (QList<QVariantList>{{101, 2, 9}}));
}

void TestSetEventUser::failedSaveKeepsTheOldChoices()
{
    // Петров has no class: the INSERT breaks, the DELETE before it must not stay.
    f->choice(208, 101, 6);
    f->choice(208, 106, 6);
    const QList<QVariantList> before = choicesOf(s->db, 208);
    UiSeam seam;
    TFormSetEventUser w;
    findPupils(w, u"петров"_s);
    w.DBGrid1CellClick();
    QCOMPARE(ticked(w), QStringList{u"check_101"_s});
    tick(w, u"check_102"_s, true);
    w.BitBtn3Click();
    QCOMPARE(seam.texts(), QStringList{u"Ошибка записи в БД"_s});
    QCOMPARE(choicesOf(s->db, 208), before);
    QCOMPARE(ticked(w), (QStringList{u"check_102"_s, u"check_101"_s}));

    // The connection is usable afterwards: a pupil with a class saves.
    seam.clear();
    findPupils(w, u"Сиваницкий"_s);
    QCOMPARE(ticked(w), QStringList{}); // his own choices: none; Петров's ticks are gone
    tick(w, u"check_101"_s, true);
    tick(w, u"check_102"_s, true);
    w.BitBtn3Click();
    QCOMPARE(seam.texts(), QStringList{u"Данные обновлены"_s});
    QCOMPARE(choicesOf(s->db, 203), (QList<QVariantList>{{101, 2, 11}, {102, 2, 11}}));
}

void TestSetEventUser::titleClickSortOutlivesTheWindow()
{
    {
        TFormSetEventUser w;
        w.resize(1000, 500);
        w.show();
        findPupils(w, u"иван"_s);
        QHeaderView* header = find<TDBGrid>(&w, u"DBGrid1"_s)->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2)); // "Имя"
        QCOMPARE(foundIds(), (QList<int>{202, 203, 201}));
        w.close();
        QVERIFY(!DataZRT->searchUser4SetEduu->Active());
    }
    TFormSetEventUser again;
    findPupils(again, u"иван"_s);
    QCOMPARE(foundIds(), (QList<int>{202, 203, 201}));
    QCOMPARE(DataZRT->searchUser4SetEduu->SQL().last(), u"ORDER BY nameP"_s);
}

QTEST_MAIN(TestSetEventUser)
#include "test_set_event_user.moc"

void TestSetEventUser::ticksFollowTheCurrentPupil()
{
    f->choice(201, 101, 9);
    f->choice(202, 102, 10);
    UiSeam seam;
    TFormSetEventUser w;
    w.resize(1000, 500);
    w.show();
    auto* save = find<QPushButton>(&w, u"BitBtn3"_s);
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    const auto choiceOf = [](int pupil) { return QStringList{pupil == 201 ? u"check_101"_s : u"check_102"_s}; };

    // A search shows the choices of its first pupil, the arrow keys those of the next.
    findPupils(w, u"иванов"_s);
    const QList<int> found = foundIds();
    QCOMPARE(found.size(), 2);
    QCOMPARE(ticked(w), choiceOf(found[0]));
    QVERIFY(save->isEnabled());
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(DataZRT->searchUser4SetEduu->FieldByName(u"id"_s).asInteger(), found[1]);
    QCOMPARE(ticked(w), choiceOf(found[1]));

    // Ticks of the last pupil do not pass to the first one of a new search.
    tick(w, u"check_101"_s, true);
    findPupils(w, u"Сиваницкий"_s);
    QCOMPARE(ticked(w), QStringList{});
    tick(w, u"check_102"_s, true);
    click(&w, u"BitBtn3"_s);
    QCOMPARE(seam.texts(), QStringList{u"Данные обновлены"_s});
    QCOMPARE(choicesOf(s->db, 203), (QList<QVariantList>{{102, 2, 11}}));
    QCOMPARE(choicesOf(s->db, 201), (QList<QVariantList>{{101, 2, 9}}));
    QCOMPARE(choicesOf(s->db, 202), (QList<QVariantList>{{102, 2, 10}}));

    // No pupil found: no ticks, nothing to save.
    findPupils(w, u"Яковлев"_s);
    QCOMPARE(ticked(w), QStringList{});
    QVERIFY(!save->isEnabled());
}
