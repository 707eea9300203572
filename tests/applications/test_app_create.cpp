// Forming the application of an event against a real server: who is a
// candidate, adding and removing one, several or all, the values of a new row,
// refused inserts, an administrator without events, following the choice.

#include "app/MainZRT.h"
#include "applications/AppCreateReg.h"
#include "data/Codes.h"
#include "data/DBGrid.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "ui/ErrorDisplay.h"
#include "support/Fixtures.h"
#include "support/TestDb.h"
#include "support/Ui.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Admin = 501;
constexpr int Maths = 10;   // held in area 2
constexpr int Physics = 11; // held in area 3

// The application rows of this test: with a hotel and the companion 146,
// without a class of participation.
ApplicationRow housed(ApplicationRow row)
{
    row.classPart = Null;
    row.hotel = 1;
    row.maintainer = 146;
    return row;
}

// Event 10 has the candidates Абрамов 1001, Борисова 1002, Волков 1003 and
// Зайцева 1008 (listed in that order). Not candidates: 1004 chose it in the
// last school year only, 1005 has no further data, 1007 is in the application
// already. Зайцева's row of the last school year does not count.
// Area 1 "г. Велград", the administrator 501 and the school years are the
// fixture's region.
Fixture fillEvents(TestDb& db)
{
    Fixture f(db);
    f.area({.id = 2, .name = u"Бережанский район"_s});
    f.area({.id = 3, .name = u"Заречный район"_s});
    // Pupils without phone or school; their further data is the class alone.
    const struct {
        int id;
        QString surname, name, patronymic;
        int area;
        int classStudy; ///< 0: no further data
    } pupils[] = {
        {1001, u"Абрамов"_s, u"Антон"_s, u"Андреевич"_s, 1, 9},
        {1002, u"Борисова"_s, u"Вера"_s, u"Игоревна"_s, 2, 10},
        {1003, u"Волков"_s, u"Глеб"_s, u"Денисович"_s, 3, 11},
        {1004, u"Григорьева"_s, u"Дарья"_s, u"Олеговна"_s, 1, 9},
        {1005, u"Дмитриев"_s, u"Егор"_s, u"Ильич"_s, 2, 0},
        {1007, u"Жуков"_s, u"Илья"_s, u"Львович"_s, 3, 10},
        {1008, u"Зайцева"_s, u"Ксения"_s, u"Романовна"_s, 1, 8},
    };
    for (const auto& p : pupils)
        f.user({.id = p.id, .surname = p.surname, .name = p.name, .patronymic = p.patronymic, .phone = {},
                .areaID = p.area, .schoolID = {}, .details = p.classStudy != 0, .classStudy = p.classStudy,
                .gender = {}, .ovz = {}, .birthday = {}, .citizenship = {}});
    f.event({.id = Maths, .nameEdu = u"Математика"_s, .dateEnd = Null, .venue = 2});
    f.event({.id = Physics, .nameEdu = u"Физика"_s, .dateEnd = Null, .venue = 3});
    f.event({.id = 12, .nameEdu = u"Химия прошлого года"_s, .period = f.pastPeriod(), .dateEnd = Null});
    f.choice(1001, Maths, 9);
    f.choice(1002, Maths, 11);
    f.choice(1003, Maths, 11);
    f.choice(1003, Physics, 11);
    f.choice(1004, Maths, 8, f.pastPeriod());
    f.choice(1005, Maths, 10);
    f.choice(1007, Maths, 10);
    f.choice(1008, Maths, 9);
    f.maintainer({.id = 146, .surname = u"Воронцова"_s, .post = u"Методист"_s, .educationalOrg = {}, .eMail = {},
                  .phone = {}, .hotel = {}});
    f.application(housed({.id = 7, .pupil = 1007, .event = Maths, .classStudy = 10, .area = 3}));
    f.application(housed({.id = 3, .pupil = 1008, .event = Maths, .classStudy = 7, .period = f.pastPeriod()}));
    return f;
}

// Application rows of event 10 in list order Абрамов 9, Борисова 5, Волков 11,
// Жуков 7, and one row of event 11 that must stay.
void fillApplication(Fixture& f)
{
    f.application(housed({.id = 9, .pupil = 1001, .event = Maths, .classStudy = 9, .area = 1}));
    f.application(housed({.id = 5, .pupil = 1002, .event = Maths, .classStudy = 10, .area = 2}));
    f.application(housed({.id = 11, .pupil = 1003, .event = Maths, .classStudy = 11, .area = 3}));
    f.application(housed({.id = 20, .pupil = 1003, .event = Physics, .classStudy = 11, .area = 3}));
}

QList<int> ids(TQuery* q, const QString& field = u"id"_s)
{
    QList<int> result;
    for (int row = 0; row < q->RecordCount(); ++row)
        result << q->value(row, field).toInt();
    return result;
}

QList<int> applicationUsers(TestDb& db, int event)
{
    QList<int> users;
    for (const QVariantList& row : db.rows(
             u"SELECT userID FROM vzl_application_reg WHERE educationlListID_reg=%1 AND periodID=2 AND levelolimpID=3 ORDER BY userID"_s
                 .arg(event)))
        users << row.at(0).toInt();
    return users;
}

void selectRows(TDBGrid* grid, const QList<int>& recNos)
{
    grid->clearSelection();
    for (int recNo : recNos)
        grid->selectionModel()->select(grid->model()->index(recNo - 1, 1),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QList<bool> buttonStates(const QWidget& w)
{
    QList<bool> states;
    for (const char* name : {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4"})
        states << find<QToolButton>(&w, QString::fromLatin1(name))->isEnabled();
    return states;
}

} // namespace

class TestAppCreate : public QObject {
    Q_OBJECT
private slots:
    void openingShowsTheFirstEvent();
    void candidatesExcludeTheApplication();
    void adding_data();
    void adding();
    void newRowValues();
    void venueOfTheChosenEvent();
    void doubledChoiceIsRefusedOthersGoIn();
    void insertsGoOnAfterReconnecting();
    void eventListClosedElsewhere();
    void twoWindowsInsertOnlyTheirOwnCandidates();
    void removing_data();
    void removing();
    void removeAllIsOneStatement();
    void removingRowsThatHoldSomethingAsks_data();
    void removingRowsThatHoldSomethingAsks();
    void emptyActionsTellWhy_data();
    void emptyActionsTellWhy();
    void administratorWithoutEvents();
    void listsFollowTheChoice_data();
    void listsFollowTheChoice();
    void titleClickSorts();
    void closingClosesTheQueries();
    void openWindowKeepsItsRowsWhenAnotherFailsToOpen();
};

void TestAppCreate::openingShowsTheFirstEvent()
{
    DataSession s;
    fillEvents(s.db);
    DataZRT->userID = Admin;
    TFormAppCreateReg w;
    auto* combo = find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s);
    QCOMPARE(combo->count(), 2); // the last year's event is not offered
    QCOMPARE(combo->currentText(), u"Математика"_s);
    QCOMPARE(w.chosenEvent(), Maths);
    QCOMPARE(FormAppCreateReg, &w);
    QCOMPARE(buttonStates(w), (QList<bool>{true, true, true, true}));
    QCOMPARE(find<TDBGrid>(&w, u"DBGrid1"_s)->cellText(1, u"FIO"_s), u"Абрамов Антон Андреевич"_s);
    QVERIFY(find<TDBGrid>(&w, u"DBGrid1"_s)->isColumnHidden(0));
}

void TestAppCreate::candidatesExcludeTheApplication()
{
    DataSession s;
    fillEvents(s.db);
    DataZRT->userID = Admin;
    TFormAppCreateReg w;
    QCOMPARE(ids(DataZRT->GETappPartReg), (QList<int>{1001, 1002, 1003, 1008}));
    QCOMPARE(ids(DataZRT->AppCreateRegSet), QList<int>{7});
    QCOMPARE(DataZRT->AppCreateRegSet->value(0, u"FIO"_s).toString(), u"Жуков Илья Львович"_s);
}

void TestAppCreate::adding_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("candidatesLeft");
    QTest::newRow("one") << u">"_s << QList<int>{2} << QList<int>{1001, 1003, 1008};
    QTest::newRow("several, list order") << u">"_s << QList<int>{4, 1, 3} << QList<int>{1002};
    QTest::newRow("double-click") << u"dblclick"_s << QList<int>{3} << QList<int>{1001, 1002, 1008};
    QTest::newRow("all") << u">>"_s << QList<int>{} << QList<int>{};
}

void TestAppCreate::adding()
{
    QFETCH(QString, how);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, candidatesLeft);
    DataSession s;
    fillEvents(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormAppCreateReg w;
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    const QList<int> before = ids(DataZRT->GETappPartReg);
    QList<int> added;
    for (int recNo : rows)
        added << before.at(recNo - 1);
    if (how == u">>")
        added = before;
    selectRows(grid, rows);

    if (how == u">")
        click(&w, u"SpeedButton1"_s);
    else if (how == u">>")
        click(&w, u"SpeedButton2"_s);
    else
        emit grid->DblClick();

    QVERIFY2(seam.messages.isEmpty(), qPrintable(seam.texts().join(u'|')));
    QCOMPARE(ids(DataZRT->GETappPartReg), candidatesLeft);
    QList<int> expected = added + QList<int>{1007};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(applicationUsers(s.db, Maths), expected);
    QCOMPARE(DataZRT->AppCreateRegSet->RecordCount(), expected.size());
    QCOMPARE(buttonStates(w), (QList<bool>{!candidatesLeft.isEmpty(), !candidatesLeft.isEmpty(), true, true}));
    if (how == u">") {
        // Rows go in in the order they stand in the list, whatever the order of selection.
        QList<int> order;
        for (const QVariantList& r : s.db.rows(u"SELECT userID FROM vzl_application_reg WHERE id>7 ORDER BY id"_s))
            order << r.at(0).toInt();
        QCOMPARE(order, added.size() > 1 ? (QList<int>{1001, 1003, 1008}) : added);
    }
}

void TestAppCreate::newRowValues()
{
    DataSession s;
    Fixture f = fillEvents(s.db);
    DataZRT->userID = 9999; // whoever is logged in: coordinator and companion are fixed
    f.responsible(9999, Maths);
    UiSeam seam;
    TFormAppCreateReg w;
    selectRows(find<TDBGrid>(&w, u"DBGrid1"_s), {2}); // Борисова, class 10, chose class 11, area 2
    w.SpeedButton1Click();
    s.db.exec(u"UPDATE vzl_users4add SET classStudy=11 WHERE usersID=1002"_s); // a later change of class

    const QList<QVariantList> rows = s.db.rows(
        u"SELECT classStudy, classPart, levelolimpID, periodID, areaID, koordID, actionareaID, hotel,"
        " maintainerID, statusparticipantID, dateIn=CURDATE(), dateOut=CURDATE(),"
        " ABS(TIMESTAMPDIFF(SECOND, dateReg, NOW())) < 60"
        " FROM vzl_application_reg WHERE userID=1002"_s);
    QCOMPARE(rows.size(), 1);
    QVariantList expected{10, 11, Stage::Regional, 2, 2, Application::CoordinatorID, 2, Hotel::Yes,
                          Application::DefaultMaintainerID, Status::Candidate, 1, 1, 1};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(rows.at(0).at(i).toInt(), expected.at(i).toInt());
}

void TestAppCreate::venueOfTheChosenEvent()
{
    // The event list's current row is moved away from the chosen event: the
    // venue still comes from the chosen event's own row.
    DataSession s;
    fillEvents(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormAppCreateReg w;
    find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s)->chooseIndex(1);
    QCOMPARE(w.chosenEvent(), Physics);
    DataZRT->GETeduReg->First(); // Математика, held in area 2
    click(&w, u"SpeedButton2"_s);
    QCOMPARE(s.db.scalar(u"SELECT actionareaID FROM vzl_application_reg WHERE educationlListID_reg=11"_s).toInt(), 3);
}

void TestAppCreate::doubledChoiceIsRefusedOthersGoIn()
{
    DataSession s;
    Fixture f = fillEvents(s.db);
    f.choice(1002, Maths, 10);
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormAppCreateReg w;
    // Борисова stands twice in the list, once per choice; both inserts fail.
    QCOMPARE(ids(DataZRT->GETappPartReg), (QList<int>{1001, 1002, 1002, 1003, 1008}));
    click(&w, u"SpeedButton2"_s);
    QCOMPARE(seam.texts(), (QStringList{u"Ошибка записи в БД"_s, u"Ошибка записи в БД"_s}));
    QCOMPARE(seam.messages.at(0).type, TMsgDlgType::Error);
    QCOMPARE(applicationUsers(s.db, Maths), (QList<int>{1001, 1003, 1007, 1008}));
    QCOMPARE(ids(DataZRT->GETappPartReg), (QList<int>{1002, 1002}));
    QVERIFY(!DataZRT->GETappPartReg->ControlsDisabled());
}

void TestAppCreate::insertsGoOnAfterReconnecting()
{
    // The insert stays prepared between rows; a new connection prepares it anew.
    DataSession s;
    fillEvents(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormAppCreateReg w;
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    selectRows(grid, {1});
    w.SpeedButton1Click();
    QVERIFY(DataZRT->changeNET(1));
    w.readCandidate();
    selectRows(grid, {1});
    w.SpeedButton1Click();
    QVERIFY2(seam.messages.isEmpty(), qPrintable(seam.texts().join(u'|')));
    QCOMPARE(applicationUsers(s.db, Maths), (QList<int>{1001, 1002, 1007}));
}

void TestAppCreate::eventListClosedElsewhere()
{
    // Another window closed the shared event list: without the chosen event's
    // row there is no venue, so nothing is inserted and the user is told.
    DataSession s;
    fillEvents(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormAppCreateReg w;
    DataZRT->GETeduReg->Close();
    click(&w, u"SpeedButton2"_s);
    QCOMPARE(seam.messages.size(), 1);
    QCOMPARE(seam.messages.at(0).type, TMsgDlgType::Error);
    QVERIFY(seam.messages.at(0).text.startsWith(u"Выбранное мероприятие отсутствует в списке мероприятий"_s));
    QCOMPARE(applicationUsers(s.db, Maths), QList<int>{1007});
    QVERIFY(!DataZRT->GETappPartReg->ControlsDisabled());
}

void TestAppCreate::twoWindowsInsertOnlyTheirOwnCandidates()
{
    // Two windows share the lists: A on Maths, B on Physics, opened after A.
    DataSession s;
    fillEvents(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormMainZRT main;
    main.resize(1400, 900);
    main.show();
    auto* a = new TFormAppCreateReg;
    main.openChild(a);
    auto* b = new TFormAppCreateReg;
    main.openChild(b);
    find<TDBLookupComboBox>(b, u"DBLookupComboBox1"_s)->chooseIndex(1);
    QCOMPARE(b->chosenEvent(), Physics);
    QCOMPARE(ids(DataZRT->GETappPartReg), QList<int>{1003});

    // ">" in A while the shared list holds B's event: read again, nothing written.
    auto* gridA = find<TDBGrid>(a, u"DBGrid1"_s);
    selectRows(gridA, {1});
    a->SpeedButton1Click();
    QCOMPARE(seam.texts(), QStringList{TChildForm::refreshedText()});
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Information);
    QCOMPARE(applicationUsers(s.db, Maths), QList<int>{1007});
    QCOMPARE(applicationUsers(s.db, Physics), QList<int>{});
    QCOMPARE(ids(DataZRT->GETappPartReg), (QList<int>{1001, 1002, 1003, 1008}));
    seam.clear();
    selectRows(gridA, {1});
    a->SpeedButton1Click();
    QCOMPARE(applicationUsers(s.db, Maths), (QList<int>{1001, 1007}));

    // Activating a window reads its own event again; B's ">>" inserts Physics candidates only.
    const auto activate = [&](QWidget* form) {
        main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(form->parentWidget()));
    };
    activate(a);
    QVERIFY(DataZRT->GETappPartReg->isOpenFor({{u"eduID1"_s, Maths}}));
    activate(b);
    QVERIFY(DataZRT->GETappPartReg->isOpenFor({{u"eduID1"_s, Physics}}));
    b->SpeedButton2Click();
    QVERIFY2(seam.messages.isEmpty(), qPrintable(seam.texts().join(u'|')));
    QCOMPARE(applicationUsers(s.db, Physics), QList<int>{1003});
    QCOMPARE(applicationUsers(s.db, Maths), (QList<int>{1001, 1007}));

    // "<<" in A after B's reading: refused as well, then A's own application.
    activate(a);
    QVERIFY(DataZRT->AppCreateRegSet->isOpenFor({{u"eduID1"_s, Maths}}));
    b->readCandidateSet(); // B reads behind A's back, as a window of its own would
    a->SpeedButton3Click();
    QCOMPARE(seam.texts(), QStringList{TChildForm::refreshedText()});
    QCOMPARE(applicationUsers(s.db, Physics), QList<int>{1003});
    a->SpeedButton3Click();
    QCOMPARE(applicationUsers(s.db, Maths), QList<int>{});
    QCOMPARE(applicationUsers(s.db, Physics), QList<int>{1003});
}

void TestAppCreate::removing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("left");
    // List: Абрамов 9, Борисова 5, Волков 11, Жуков 7.
    QTest::newRow("one") << u"<"_s << QList<int>{3} << QList<int>{1001, 1002, 1007};
    QTest::newRow("several") << u"<"_s << QList<int>{1, 4} << QList<int>{1002, 1003};
    QTest::newRow("double-click") << u"dblclick"_s << QList<int>{2} << QList<int>{1001, 1003, 1007};
    QTest::newRow("all") << u"<<"_s << QList<int>{} << QList<int>{};
}

void TestAppCreate::removing()
{
    QFETCH(QString, how);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, left);
    DataSession s;
    Fixture f = fillEvents(s.db);
    fillApplication(f);
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormAppCreateReg w;
    auto* grid = find<TDBGrid>(&w, u"DBGrid2"_s);
    selectRows(grid, rows);
    if (how == u"<")
        click(&w, u"SpeedButton4"_s);
    else if (how == u"<<")
        click(&w, u"SpeedButton3"_s);
    else
        emit grid->DblClick();

    QVERIFY2(seam.messages.isEmpty(), qPrintable(seam.texts().join(u'|')));
    QCOMPARE(applicationUsers(s.db, Maths), left);
    QCOMPARE(applicationUsers(s.db, Physics), QList<int>{1003});
    // A removed pupil whose choice stands is a candidate again (Жуков too).
    QList<int> candidates = ids(DataZRT->GETappPartReg);
    std::sort(candidates.begin(), candidates.end());
    QList<int> expected;
    for (int user : {1001, 1002, 1003, 1007, 1008})
        if (!left.contains(user))
            expected << user;
    QCOMPARE(candidates, expected);
    QCOMPARE(buttonStates(w), (QList<bool>{true, true, !left.isEmpty(), !left.isEmpty()}));
}

void TestAppCreate::removeAllIsOneStatement()
{
    DataSession s;
    Fixture f = fillEvents(s.db);
    fillApplication(f);
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormAppCreateReg w;
    w.SpeedButton3Click();
    QCOMPARE(DataZRT->emptySQL->SQL(),
             QStringList{u"DELETE FROM `vzl_application_reg` WHERE `id`in (9,5,11,7)"_s});
    QCOMPARE(DataZRT->emptySQL->RowsAffected(), 4);
    QVERIFY(seam.messages.isEmpty());
}

void TestAppCreate::removingRowsThatHoldSomethingAsks_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QList<int>>("left");
    // List: Абрамов 9 (result 25, status 4), Борисова 5 (status 15, no result),
    // Волков 11 and Жуков 7 (candidates without a result).
    const QList<int> all{1001, 1002, 1003, 1007};
    const QString oneAndOne = TFormAppCreateReg::removalQuestion({1, 1});
    const QString oneAndTwo = TFormAppCreateReg::removalQuestion({1, 2});
    QTest::newRow("< holding nothing") << u"<"_s << QList<int>{3, 4} << int(QMessageBox::No) << QString()
                                       << QList<int>{1001, 1002};
    QTest::newRow("< result, No") << u"<"_s << QList<int>{1, 3} << int(QMessageBox::No) << oneAndOne << all;
    QTest::newRow("< result, Yes") << u"<"_s << QList<int>{1, 3} << int(QMessageBox::Yes) << oneAndOne
                                   << QList<int>{1002, 1007};
    QTest::newRow("<< No") << u"<<"_s << QList<int>{} << int(QMessageBox::No) << oneAndTwo << all;
    QTest::newRow("<< Yes") << u"<<"_s << QList<int>{} << int(QMessageBox::Yes) << oneAndTwo << QList<int>{};
}

void TestAppCreate::removingRowsThatHoldSomethingAsks()
{
    QFETCH(QString, how);
    QFETCH(QList<int>, rows);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(QList<int>, left);
    DataSession s;
    Fixture f = fillEvents(s.db);
    fillApplication(f);
    s.db.exec(u"UPDATE vzl_application_reg SET result=25, statusparticipantID=4 WHERE id=9"_s);
    s.db.exec(u"UPDATE vzl_application_reg SET statusparticipantID=15 WHERE id=5"_s);
    s.db.exec(u"UPDATE vzl_application_reg SET result=30, statusparticipantID=7 WHERE id=20"_s); // event 11
    DataZRT->userID = Admin;
    UiSeam seam;
    seam.answerMessages(QMessageBox::StandardButton(answer));
    TFormAppCreateReg w;
    selectRows(find<TDBGrid>(&w, u"DBGrid2"_s), rows);
    click(&w, how == u"<" ? u"SpeedButton4"_s : u"SpeedButton3"_s);

    QCOMPARE(seam.texts(), question.isEmpty() ? QStringList() : QStringList{question});
    if (!question.isEmpty()) {
        QCOMPARE(seam.messages.first().type, TMsgDlgType::Confirmation);
        QCOMPARE(seam.messages.first().buttons, QMessageBox::Yes | QMessageBox::No);
    }
    QCOMPARE(applicationUsers(s.db, Maths), left);
    QCOMPARE(DataZRT->AppCreateRegSet->RecordCount(), left.size());
    QCOMPARE(applicationUsers(s.db, Physics), QList<int>{1003});
}

void TestAppCreate::emptyActionsTellWhy_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow(">") << 1 << u"Нет выбранных кандидатов для добавления"_s;
    QTest::newRow(">>") << 2 << u"Нет кандидатов для добавления"_s;
    QTest::newRow("<<") << 3 << u"Нет участников для исключения из заявки"_s;
    QTest::newRow("<") << 4 << u"Нет выбранных участников для исключения из заявки"_s;
}

void TestAppCreate::emptyActionsTellWhy()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    DataSession s;
    fillEvents(s.db);
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormAppCreateReg w;
    // Event 11 has no application; nothing is selected anywhere.
    find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s)->chooseIndex(1);
    if (button == 2) {
        s.db.exec(u"DELETE FROM vzl_userseducation_reg WHERE educationListID=11"_s);
        w.readCandidate();
    }
    const int before = s.db.scalar(u"SELECT COUNT(*) FROM vzl_application_reg"_s).toInt();
    switch (button) {
    case 1: w.SpeedButton1Click(); break;
    case 2: w.SpeedButton2Click(); break;
    case 3: w.SpeedButton3Click(); break;
    default: w.SpeedButton4Click(); break;
    }
    QCOMPARE(seam.texts(), QStringList{text});
    QCOMPARE(seam.messages.at(0).type, TMsgDlgType::Information);
    QCOMPARE(s.db.scalar(u"SELECT COUNT(*) FROM vzl_application_reg"_s).toInt(), before);
}

void TestAppCreate::administratorWithoutEvents()
{
    DataSession s;
    fillEvents(s.db);
    DataZRT->userID = 502;
    UiSeam seam;
    TFormAppCreateReg w;
    QCOMPARE(find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s)->count(), 0);
    QCOMPARE(w.chosenEvent(), 0);
    QCOMPARE(DataZRT->GETappPartReg->RecordCount(), 0);
    QCOMPARE(DataZRT->AppCreateRegSet->RecordCount(), 0);
    QCOMPARE(buttonStates(w), (QList<bool>{false, false, false, false}));
    QVERIFY(seam.messages.isEmpty());
}

void TestAppCreate::listsFollowTheChoice_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("arrow key") << u"key"_s;
    QTest::newRow("list closed") << u"closeup"_s;
    QTest::newRow("chosen in the list") << u"choose"_s;
}

void TestAppCreate::listsFollowTheChoice()
{
    QFETCH(QString, how);
    DataSession s;
    Fixture f = fillEvents(s.db);
    fillApplication(f);
    DataZRT->userID = Admin;
    TFormAppCreateReg w;
    w.show();
    auto* combo = find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s);
    if (how == u"key") {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
    } else if (how == u"closeup") {
        combo->setKeyValue(Physics); // as the list shows it before it closes
        combo->hidePopup();
    } else {
        combo->chooseIndex(1);
    }
    QCOMPARE(w.chosenEvent(), Physics);
    QCOMPARE(ids(DataZRT->GETappPartReg), QList<int>{}); // Волков is in event 11's application
    QCOMPARE(ids(DataZRT->AppCreateRegSet), QList<int>{20});
    QCOMPARE(buttonStates(w), (QList<bool>{false, false, true, true}));
}

void TestAppCreate::titleClickSorts()
{
    DataSession s;
    Fixture f = fillEvents(s.db);
    DataZRT->userID = Admin;
    TFormAppCreateReg w;
    QCOMPARE(ids(DataZRT->GETappPartReg, u"classStudy"_s), (QList<int>{9, 10, 11, 8}));
    emit find<TDBGrid>(&w, u"DBGrid1"_s)->TitleClick(u"classStudy"_s);
    QCOMPARE(DataZRT->GETappPartReg->SQL().last(), u"ORDER BY classStudy"_s);
    QCOMPARE(ids(DataZRT->GETappPartReg, u"classStudy"_s), (QList<int>{8, 9, 10, 11}));
    fillApplication(f);
    emit find<TDBGrid>(&w, u"DBGrid2"_s)->TitleClick(u"nameArea"_s);
    QCOMPARE(DataZRT->AppCreateRegSet->SQL().last(), u"ORDER BY nameArea"_s);
    QCOMPARE(DataZRT->AppCreateRegSet->value(0, u"nameArea"_s).toString(), u"Бережанский район"_s);
    QCOMPARE(DataZRT->AppCreateRegSet->RecordCount(), 4); // the same event's rows
}

void TestAppCreate::closingClosesTheQueries()
{
    DataSession s;
    fillEvents(s.db);
    DataZRT->userID = Admin;
    TFormAppCreateReg w;
    w.show();
    QVERIFY(DataZRT->GETeduReg->Active() && DataZRT->GETappPartReg->Active() && DataZRT->AppCreateRegSet->Active());
    click(&w, u"BitBtn1"_s);
    QVERIFY(!DataZRT->GETeduReg->Active());
    QVERIFY(!DataZRT->GETappPartReg->Active());
    QVERIFY(!DataZRT->AppCreateRegSet->Active());
    QCOMPARE(FormAppCreateReg, nullptr);
}

void TestAppCreate::openWindowKeepsItsRowsWhenAnotherFailsToOpen()
{
    // The server stops while a window shows its lists; a second window of the
    // same lists fails to open: the first one keeps every row.
    TestServer server;
    TestDb db(server.dir());
    Fixture f = fillEvents(db);
    fillApplication(f);
    TDataZRT data;
    data.DataModuleCreate(db.profiles());
    DataZRT->userID = Admin;
    UiSeam seam;
    TFormAppCreateReg a;
    auto* combo = find<TDBLookupComboBox>(&a, u"DBLookupComboBox1"_s);
    const QList<int> candidates = ids(DataZRT->GETappPartReg);
    const QList<int> application = ids(DataZRT->AppCreateRegSet);

    server.pause();
    {
        TFormAppCreateReg b;
        QCOMPARE(seam.messages.size(), 1); // told by the general error display
        QCOMPARE(seam.messages.first().caption, applicationTitle());
    }
    QCOMPARE(combo->count(), 2);
    QCOMPARE(a.chosenEvent(), Maths);
    QVERIFY(DataZRT->GETeduReg->isOpenFor({{u"userID"_s, Admin}}));
    QCOMPARE(ids(DataZRT->GETappPartReg), candidates);
    QCOMPARE(ids(DataZRT->AppCreateRegSet), application);
    QCOMPARE(find<TDBGrid>(&a, u"DBGrid2"_s)->model()->rowCount(), application.size());

    server.resume();
    seam.clear();
    click(&a, u"SpeedButton2"_s); // the next action connects again and works on the same rows
    QVERIFY2(seam.messages.isEmpty(), qPrintable(seam.texts().join(u'|')));
    QCOMPARE(ids(DataZRT->GETappPartReg), QList<int>{});
}

QTEST_MAIN(TestAppCreate)
#include "test_app_create.moc"
