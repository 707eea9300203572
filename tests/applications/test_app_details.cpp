// Detailing the application of an event against a real server: the list and
// its colours, the dialog for one row and for a group, its checks, and a group
// write that the database refuses half-way.

#include "app/Application.h"
#include "applications/AppCreateEditRegEdit.h"
#include "applications/AppCreateEditRegion.h"
#include "data/DBGrid.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "support/Fixtures.h"
#include "support/TestDb.h"
#include "support/Ui.h"

#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Admin = 501;
const QColor paleGreen(152, 251, 152);

// Event 10 (venue 2) lists, in this order: 21 Абрамов (hotel), 22 Борисова,
// 23 Волков (hotel, no dates), 24 Григорьева. Row 25 names no existing
// companion and is not listed; row 30 belongs to event 11.
// Companions offered: 147 "Бережанский район, ..." then 146 "г. Велград, ...";
// 148 is retired. Venues offered: 2 Бережанский, 1 г. Велград, 3 Заречный.
// Area 1, the administrator 501 and the school years are the fixture's region.
void fillApplication(TestDb& db)
{
    Fixture f(db);
    f.area({.id = 2, .name = u"Бережанский район"_s});
    f.area({.id = 3, .name = u"Заречный район"_s});
    // Pupils without school or further data.
    const struct {
        int id;
        QString surname, name, patronymic, phone;
        int area;
    } pupils[] = {
        {1001, u"Абрамов"_s, u"Антон"_s, u"Андреевич"_s, u"+7 900 000-00-04"_s, 1},
        {1002, u"Борисова"_s, u"Вера"_s, u"Игоревна"_s, u"+7 900 000-00-02"_s, 2},
        {1003, u"Волков"_s, u"Глеб"_s, u"Денисович"_s, u"+7 900 000-00-03"_s, 3},
        {1004, u"Григорьева"_s, u"Дарья"_s, u"Олеговна"_s, u"+7 900 000-00-01"_s, 1},
        {1005, u"Дмитриев"_s, u"Егор"_s, u"Ильич"_s, u""_s, 2},
    };
    for (const auto& p : pupils)
        f.user({.id = p.id, .surname = p.surname, .name = p.name, .patronymic = p.patronymic, .phone = p.phone,
                .areaID = p.area, .schoolID = {}, .details = false});
    const int maths = f.event({.id = 10, .nameEdu = u"Математика"_s, .dateEnd = Null, .venue = 2});
    const int physics = f.event({.id = 11, .nameEdu = u"Физика"_s, .dateEnd = Null, .venue = 3});
    // Companions known by name, post and municipality only.
    const auto companion = [&](MaintainerRow row) {
        row.educationalOrg = row.eMail = row.phone = row.hotel = QVariant();
        f.maintainer(row);
    };
    companion({.id = 146, .surname = u"Воронцова"_s, .post = u"Методист"_s});
    companion({.id = 147, .surname = u"Лебедев"_s, .name = u"Олег"_s, .patronymic = u"Ильич"_s,
               .post = u"Учитель физики"_s, .areaID = 2});
    companion({.id = 148, .surname = u"Мухина"_s, .name = u"Зоя"_s, .patronymic = u"Петровна"_s,
               .post = u"Учитель химии"_s, .areaID = 3, .active = false});
    // Rows without a class of participation, held at their event's venue.
    f.application({.id = 21, .pupil = 1001, .event = maths, .classStudy = 9, .classPart = Null, .area = 1,
                   .hotel = 1, .dateIn = QDate(2026, 1, 11), .dateOut = QDate(2026, 1, 14), .maintainer = 146});
    f.application({.id = 22, .pupil = 1002, .event = maths, .classStudy = 10, .classPart = Null, .area = 2,
                   .hotel = 0, .dateIn = QDate(2026, 1, 12), .dateOut = QDate(2026, 1, 13), .maintainer = 147});
    f.application({.id = 23, .pupil = 1003, .event = maths, .classStudy = 11, .classPart = Null, .area = 3,
                   .hotel = 1, .maintainer = 146});
    f.application({.id = 24, .pupil = 1004, .event = maths, .classStudy = 9, .classPart = Null, .area = 1,
                   .hotel = 0, .dateIn = QDate(2026, 1, 12), .dateOut = QDate(2026, 1, 13), .maintainer = 147});
    f.application({.id = 25, .pupil = 1005, .event = maths, .classStudy = 9, .classPart = Null, .area = 2,
                   .hotel = 1, .maintainer = 999});
    f.application({.id = 30, .pupil = 1003, .event = physics, .classStudy = 11, .classPart = Null, .area = 3,
                   .hotel = 1, .maintainer = 146});
}

/// actionareaID, hotel, dateIn, dateOut, maintainerID of one row.
QVariantList details(TestDb& db, int id)
{
    const QList<QVariantList> rows = db.rows(
        u"SELECT actionareaID, hotel, DATE_FORMAT(dateIn,'%Y-%m-%d'), DATE_FORMAT(dateOut,'%Y-%m-%d'), maintainerID"
        " FROM vzl_application_reg WHERE id=%1"_s.arg(id));
    QVariantList result;
    for (const QVariant& v : rows.value(0))
        result << (v.isNull() ? QVariant() : QVariant(v.toString()));
    return result;
}

QVariantList values(int area, int hotel, const char* in, const char* out, int maintainer)
{
    return {QString::number(area), QString::number(hotel), QString::fromLatin1(in),
            QString::fromLatin1(out), QString::number(maintainer)};
}

QList<int> listedIds()
{
    QList<int> ids;
    for (int row = 0; row < DataZRT->GETcreateAppEditRegion->RecordCount(); ++row)
        ids << DataZRT->GETcreateAppEditRegion->value(row, u"id"_s).toInt();
    return ids;
}

QPoint rowPoint(TDBGrid* grid, int recNo)
{
    return grid->visualRect(grid->model()->index(recNo - 1, 2)).center();
}

/// The window shown, so that rows can be clicked.
struct Shown {
    Shown()
    {
        w.resize(1100, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    }
    TFormAppCreateEditRegion w;
    TDBGrid* grid = nullptr;
};

TFormAppCreateEditRegEdit& edit(QDialog& d)
{
    return static_cast<TFormAppCreateEditRegEdit&>(d);
}

/// What the dialog showed when it opened.
struct Seen {
    QString caption;
    QDate in, out;
    int hotel = -2;
    int maintainerIndex = -2, areaIndex = -2;
    QVariant maintainerKey, areaKey;
};

Seen look(QDialog& d)
{
    Seen s;
    s.caption = textOf(&d, u"Label1"_s);
    s.in = find<QDateEdit>(&d, u"DateIn"_s)->date();
    s.out = find<QDateEdit>(&d, u"DateOut"_s)->date();
    s.hotel = edit(d).ItemIndex();
    s.maintainerIndex = edit(d).DBLookupMaintainer()->currentIndex();
    s.areaIndex = edit(d).DBLookupAreaAction()->currentIndex();
    s.maintainerKey = edit(d).DBLookupMaintainer()->KeyValue();
    s.areaKey = edit(d).DBLookupAreaAction()->KeyValue();
    return s;
}

/// Answers the dialog: companion and venue by list position, hotel radio, dates, "Применить".
void answer(QDialog& d, int maintainerIndex, int areaIndex, int hotel, QDate in, QDate out)
{
    find<TDBLookupComboBox>(&d, u"DBLookupMaintainer"_s)->chooseIndex(maintainerIndex);
    find<TDBLookupComboBox>(&d, u"DBLookupAreaAction"_s)->chooseIndex(areaIndex);
    find<QRadioButton>(&d, hotel == 1 ? u"RadioHotel1"_s : u"RadioHotel0"_s)->click();
    find<QDateEdit>(&d, u"DateIn"_s)->setDate(in);
    find<QDateEdit>(&d, u"DateOut"_s)->setDate(out);
    click(&d, u"BitBtn1"_s);
}

} // namespace

class TestAppDetails : public QObject {
    Q_OBJECT
private slots:
    void listColumnsAndColours();
    void singleRowByDoubleClick();
    void groupOfThree();
    void noRowSelected();
    void checkAnswer_data();
    void checkAnswer();
    void departureBeforeArrivalIsRefused();
    void groupWriteRefusedHalfway();
    void listFollowsTheChoice_data();
    void listFollowsTheChoice();
    void titleClickSorts();
    void closingClosesTheQueries();
};

void TestAppDetails::listColumnsAndColours()
{
    DataSession s;
    fillApplication(s.db);
    DataZRT->userID = Admin;
    TFormAppCreateEditRegion w;
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    QCOMPARE(listedIds(), (QList<int>{21, 22, 23, 24}));
    QVERIFY(grid->isColumnHidden(0));
    QStringList titles;
    for (const TColumn& c : grid->columns())
        titles << c.title;
    QCOMPARE(titles, (QStringList{u""_s, u"МО"_s, u"ФИО участника"_s, u"Телефон участника"_s,
                                  u"Площадка проведения"_s, u"Нужна гост."_s, u"Заезд"_s, u"Выезд"_s,
                                  u"ФИО сопровождающего"_s}));
    QCOMPARE(grid->cellText(1, u"hotelSCR"_s), u"Да"_s);
    QCOMPARE(grid->cellText(2, u"hotelSCR"_s), u"Нет"_s);
    QCOMPARE(grid->cellText(3, u"nameAreaAction"_s), u"Бережанский район"_s);
    QCOMPARE(grid->cellText(3, u"fioM"_s), u"Воронцова Ирина Павловна"_s);
    QCOMPARE(DataZRT->GETcreateAppEditRegion->value(2, u"dateIn"_s).toDate(), QDate::currentDate());
    QCOMPARE(grid->rowColor(1), paleGreen);
    QCOMPARE(grid->rowColor(2), QColor());
    QCOMPARE(grid->rowColor(3), paleGreen);
    QCOMPARE(grid->rowColor(4), QColor());
    QCOMPARE(grid->model()->data(grid->model()->index(0, 3), Qt::BackgroundRole).value<QColor>(), paleGreen);
    QVERIFY(find<QPushButton>(&w, u"BitBtn2"_s)->isEnabled());
}

void TestAppDetails::singleRowByDoubleClick()
{
    DataSession s;
    fillApplication(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    Shown f;
    Seen seen;
    bool queriesOpen = false;
    seam.onDialog([&](QDialog& d) {
        seen = look(d);
        queriesOpen = DataZRT->GETmaintainer->Active() && DataZRT->AREAdeleteWork->Active();
        answer(d, 1, 2, 1, QDate(2026, 2, 1), QDate(2026, 2, 3)); // 146, venue 3, hotel
    });
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(f.grid, 4));
    // A double-click: press and release, then the second press.
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, rowPoint(f.grid, 2)); // the row alone
    QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {}, rowPoint(f.grid, 2));

    QCOMPARE(seam.dialogs, QStringList{u"TFormAppCreateEditRegEdit"_s});
    QVERIFY(queriesOpen);
    QCOMPARE(seen.caption, u"Борисова Вера Игоревна"_s);
    QCOMPARE(seen.in, QDate(2026, 1, 12));
    QCOMPARE(seen.out, QDate(2026, 1, 13));
    QCOMPARE(seen.hotel, 0);
    QCOMPARE(seen.maintainerKey.toInt(), 147);
    QCOMPARE(seen.maintainerIndex, 0);
    QCOMPARE(seen.areaKey.toInt(), 2);
    QCOMPARE(seen.areaIndex, 0);
    QVERIFY(seam.messages.isEmpty());

    QCOMPARE(details(s.db, 22), values(3, 1, "2026-02-01", "2026-02-03", 146));
    QCOMPARE(details(s.db, 24), values(2, 0, "2026-01-12", "2026-01-13", 147));
    // Read again, at the same row, drawn as a hotel row now.
    QCOMPARE(DataZRT->GETcreateAppEditRegion->RecNo(), 2);
    QCOMPARE(f.grid->cellText(2, u"hotelSCR"_s), u"Да"_s);
    QCOMPARE(f.grid->cellText(2, u"nameAreaAction"_s), u"Заречный район"_s);
    QCOMPARE(f.grid->rowColor(2), paleGreen);
    QVERIFY(!DataZRT->GETmaintainer->Active() && !DataZRT->AREAdeleteWork->Active());
    QCOMPARE(FormAppCreateEditRegEdit, nullptr);
}

void TestAppDetails::groupOfThree()
{
    DataSession s;
    fillApplication(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    Shown f;
    Seen seen;
    seam.onDialog([&](QDialog& d) {
        seen = look(d);
        answer(d, 0, 1, 0, QDate(2026, 3, 1), QDate(2026, 3, 2)); // 147, venue 1, no hotel
    });
    for (int recNo : {1, 2, 4})
        QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(f.grid, recNo));
    DataZRT->GETcreateAppEditRegion->setRecNo(3);
    click(&f.w, u"BitBtn2"_s);

    QCOMPARE(seen.caption, u"Групповое изменение - 3 чел."_s);
    QCOMPARE(seen.hotel, 0);
    QCOMPARE(seen.maintainerIndex, -1);
    QCOMPARE(seen.areaIndex, -1);
    QCOMPARE(seen.in, QDate::currentDate());
    QCOMPARE(seen.out, QDate::currentDate());
    QVERIFY(seam.messages.isEmpty());
    for (int id : {21, 22, 24})
        QCOMPARE(details(s.db, id), values(1, 0, "2026-03-01", "2026-03-02", 147));
    QCOMPARE(details(s.db, 23)[1], QVariant(u"1"_s));
    QCOMPARE(details(s.db, 23)[4], QVariant(u"146"_s));
    QCOMPARE(f.grid->rowColor(1), QColor()); // no longer a hotel row
    QCOMPARE(f.grid->rowColor(3), paleGreen);
    QCOMPARE(DataZRT->GETcreateAppEditRegion->RecNo(), 3);
}

void TestAppDetails::noRowSelected()
{
    DataSession s;
    fillApplication(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormAppCreateEditRegion w;
    QString caption;
    seam.onDialog([&](QDialog& d) {
        caption = textOf(&d, u"Label1"_s);
        answer(d, 0, 0, 1, QDate(2026, 3, 1), QDate(2026, 3, 2));
    });
    click(&w, u"BitBtn2"_s);
    QCOMPARE(caption, u"Групповое изменение - 0 чел."_s);
    QCOMPARE(seam.texts(), QStringList{u"Нет выбранных кандидатов для изменения реквизитов"_s});
    QCOMPARE(seam.messages.at(0).type, TMsgDlgType::Information);
    QCOMPARE(s.db.scalar(u"SELECT COUNT(*) FROM vzl_application_reg WHERE dateIn='2026-03-01'"_s).toInt(), 0);
}

void TestAppDetails::checkAnswer_data()
{
    QTest::addColumn<int>("maintainerIndex");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("focused");
    QTest::newRow("nothing chosen") << -1 << u"BitBtn1"_s
        << QStringList{u"Не определен сопровождающий"_s} << u"DBLookupMaintainer"_s;
    QTest::newRow("no venue") << 0 << u"BitBtn1"_s
        << QStringList{u"Не определена площадка проведения мероприятия"_s} << u"DBLookupAreaAction"_s;
    QTest::newRow("close box") << -1 << u"close"_s << QStringList{} << QString();
    QTest::newRow("cancel") << -1 << u"BitBtn2"_s << QStringList{} << QString();
}

void TestAppDetails::checkAnswer()
{
    QFETCH(int, maintainerIndex);
    QFETCH(QString, close);
    QFETCH(QStringList, texts);
    QFETCH(QString, focused);
    DataSession s;
    fillApplication(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    Shown f;
    bool stillOpen = false;
    QString focus;
    seam.onDialog([&](QDialog& d) {
        if (maintainerIndex >= 0)
            find<TDBLookupComboBox>(&d, u"DBLookupMaintainer"_s)->chooseIndex(maintainerIndex);
        if (close == u"close")
            d.close();
        else
            click(&d, close);
        stillOpen = d.isVisible();
        if (d.focusWidget())
            focus = d.focusWidget()->objectName();
        click(&d, u"BitBtn2"_s); // Cancel always closes
    });
    for (int recNo : {1, 2}) // a group: both drop-downs start empty
        QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(f.grid, recNo));
    click(&f.w, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), texts);
    for (const TMessage& m : seam.messages)
        QCOMPARE(m.type, TMsgDlgType::Error);
    QCOMPARE(stillOpen, !texts.isEmpty());
    if (!focused.isEmpty())
        QCOMPARE(focus, focused);
    QCOMPARE(details(s.db, 21), values(2, 1, "2026-01-11", "2026-01-14", 146));
}

void TestAppDetails::departureBeforeArrivalIsRefused()
{
    DataSession s;
    fillApplication(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    Shown f;
    bool stillOpen = false;
    QString focus;
    seam.onDialog([&](QDialog& d) {
        answer(d, 0, 1, 0, QDate(2026, 3, 2), QDate(2026, 3, 1));
        stillOpen = d.isVisible();
        focus = d.focusWidget() ? d.focusWidget()->objectName() : QString();
        // the same day for both is a stay of one day: taken
        find<QDateEdit>(&d, u"DateOut"_s)->setDate(QDate(2026, 3, 2));
        click(&d, u"BitBtn1"_s);
    });
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, rowPoint(f.grid, 1));
    click(&f.w, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), QStringList{TFormAppCreateEditRegEdit::departureBeforeArrivalText()});
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Error);
    QVERIFY(stillOpen);
    QCOMPARE(focus, u"DateOut"_s);
    QCOMPARE(details(s.db, 21), values(1, 0, "2026-03-02", "2026-03-02", 147));
}

void TestAppDetails::groupWriteRefusedHalfway()
{
    DataSession s;
    fillApplication(s.db);
    s.db.exec(u"CREATE TRIGGER refuse_22 BEFORE UPDATE ON vzl_application_reg FOR EACH ROW "
              "BEGIN IF NEW.id = 22 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Строка 22 занята'; END IF; END"_s);
    DataZRT->userID = Admin;
    UiSeam seam;
    Shown f;
    seam.onDialog([&](QDialog& d) { answer(d, 0, 2, 0, QDate(2026, 3, 2), QDate(2026, 3, 4)); });
    for (int recNo : {1, 2, 3})
        QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(f.grid, recNo));
    DataZRT->GETcreateAppEditRegion->setRecNo(4);
    click(&f.w, u"BitBtn2"_s);

    // The failure reaches the general error display.
    QCOMPARE(seam.messages.size(), 1);
    QCOMPARE(seam.messages.at(0).type, TMsgDlgType::Error);
    QCOMPARE(seam.messages.at(0).caption, applicationTitle());
    QVERIFY2(seam.messages.at(0).text.contains(u"Строка 22 занята"_s), qPrintable(seam.messages.at(0).text));
    // The row before the refused one is written, the refused one and the rest are not.
    QCOMPARE(details(s.db, 21), values(3, 0, "2026-03-02", "2026-03-04", 147));
    QCOMPARE(details(s.db, 22), values(2, 0, "2026-01-12", "2026-01-13", 147));
    QCOMPARE(details(s.db, 23)[4], QVariant(u"146"_s));
    // The list shows what the database holds, at the same row; the dialog is gone.
    TQuery* q = DataZRT->GETcreateAppEditRegion;
    QVERIFY(q->Active());
    QVERIFY(!q->ControlsDisabled());
    QCOMPARE(q->RecNo(), 4);
    QCOMPARE(f.grid->cellText(1, u"nameAreaAction"_s), u"Заречный район"_s);
    QCOMPARE(f.grid->rowColor(1), QColor());
    QCOMPARE(f.grid->model()->rowCount(), 4);
    QCOMPARE(FormAppCreateEditRegEdit, nullptr);
    QVERIFY(!DataZRT->GETmaintainer->Active() && !DataZRT->AREAdeleteWork->Active());
}

void TestAppDetails::listFollowsTheChoice_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("arrow key") << u"key"_s;
    QTest::newRow("key released") << u"keyup"_s;
    QTest::newRow("list closed") << u"closeup"_s;
}

void TestAppDetails::listFollowsTheChoice()
{
    QFETCH(QString, how);
    DataSession s;
    fillApplication(s.db);
    DataZRT->userID = Admin;
    Shown f;
    auto* combo = find<TDBLookupComboBox>(&f.w, u"DBLookupComboBox1"_s);
    combo->setFocus();
    if (how == u"key") {
        QTest::keyClick(combo, Qt::Key_Down);
    } else {
        combo->setKeyValue(11); // as the list shows it before the key is released or the list closes
        if (how == u"keyup")
            QTest::keyRelease(combo, Qt::Key_Shift);
        else
            combo->hidePopup();
    }
    QCOMPARE(f.w.chosenEvent(), 11);
    QCOMPARE(listedIds(), QList<int>{30});
}

void TestAppDetails::titleClickSorts()
{
    DataSession s;
    fillApplication(s.db);
    DataZRT->userID = Admin;
    TFormAppCreateEditRegion w;
    emit find<TDBGrid>(&w, u"DBGrid1"_s)->TitleClick(u"phone"_s);
    QCOMPARE(DataZRT->GETcreateAppEditRegion->SQL().last(), u"ORDER BY phone"_s);
    QCOMPARE(listedIds(), (QList<int>{24, 22, 23, 21}));
}

void TestAppDetails::closingClosesTheQueries()
{
    DataSession s;
    fillApplication(s.db);
    DataZRT->userID = Admin;
    Shown f;
    QCOMPARE(FormAppCreateEditRegion, &f.w);
    click(&f.w, u"BitBtn1"_s);
    QVERIFY(!DataZRT->GETcreateAppEditRegion->Active());
    QVERIFY(!DataZRT->GETeduReg->Active());
    QCOMPARE(FormAppCreateEditRegion, nullptr);
}

QTEST_MAIN(TestAppDetails)
#include "test_app_details.moc"
