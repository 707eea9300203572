// The passing scores window and its dialog against a real database: which
// events are listed, the write through the dialog and the row selected after
// it, bad scores refused with the dialog kept open, Cancel, the proposed
// winner score, sorting that outlives the window.

#include "EventFixture.h"

#include "data/DBGrid.h"
#include "data/DataZRT.h"
#include "events/EditPassingScoreReg.h"
#include "events/PassingScoreReg.h"
#include "support/BadScores.h"
#include "support/Ui.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QList<int> listedIds()
{
    QList<int> ids;
    TQuery* q = DataZRT->GETpassingScoreReg;
    for (int row = 0; row < q->RecordCount(); ++row)
        ids << q->value(row, u"id"_s).toInt();
    return ids;
}

QList<double> storedScores(TestDb& db, int id)
{
    const QVariantList row =
        db.rows(u"SELECT prizeWinnerMin,prizeWinnerMax,Winner FROM vzl_educationallist_reg WHERE id=%1"_s.arg(id))
            .value(0);
    return {row.value(0).toDouble(), row.value(1).toDouble(), row.value(2).toDouble()};
}

// A real double-click on a row of the shown window.
void doubleClickRow(TFormPassingScoreReg& w, int recNo)
{
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    const QRect cell = grid->visualRect(grid->model()->index(recNo - 1, 1));
    // A press and release, then the double-click (QTest sends it alone).
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

void clickTitle(TDBGrid* grid, int column)
{
    QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestPassingScores : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanupTestCase();
    void listsOwnActiveEventsOfTheActiveYear();
    void dialogShowsTheStoredValues_data();
    void dialogShowsTheStoredValues();
    void writeThroughTheDialog_data();
    void writeThroughTheDialog();
    void cancelChangesNothing();
    void noEventsRefusesEmptyScores();
    void badScoresKeepTheDialogOpen_data();
    void badScoresKeepTheDialogOpen();
    void refusedWriteKeepsWhatWasTyped();
    void boxIsCheckedWhenLeft();
    void proposedWinnerScore_data();
    void proposedWinnerScore();
    void titleClickSortOutlivesTheWindow();
};

void TestPassingScores::init()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void TestPassingScores::cleanupTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestPassingScores::listsOwnActiveEventsOfTheActiveYear()
{
    DataSession s;
    addAdminEvents(s.db);
    DataZRT->userID = ownAdmin;
    TFormPassingScoreReg w;
    QCOMPARE(FormPassingScoreReg, &w);
    QCOMPARE(listedIds(), (QList<int>{102, 103, 101}));

    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    QStringList titles;
    for (const TColumn& c : grid->columns())
        titles << (c.visible ? c.title : u"("_s + c.field + u")"_s);
    QCOMPARE(titles, (QStringList{u"(id)"_s, u"Наименование мероприятия"_s, u"МИН для призера"_s,
                                  u"МАКС для призера"_s, u"ОТ и > для победителя"_s, u"Начало"_s,
                                  u"Окончание"_s}));
    QCOMPARE(grid->cellText(3, u"Winner"_s), u"45,5"_s);
    QCOMPARE(grid->cellText(3, u"dateStart"_s), u"10.02.2026"_s);
    QCOMPARE(grid->model()->index(0, 4).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::Alignment(Qt::AlignCenter));
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);

    w.close();
    QVERIFY(!DataZRT->GETpassingScoreReg->Active());
    QCOMPARE(FormPassingScoreReg, nullptr);
}

void TestPassingScores::dialogShowsTheStoredValues_data()
{
    QTest::addColumn<int>("recNo");
    QTest::addColumn<QStringList>("shown"); // name, min, max, winner
    QTest::newRow("stored winner, not max + 0,01")
        << 3 << QStringList{u"Олимпиада по физике"_s, u"25"_s, u"40"_s, u"45,5"_s};
    QTest::newRow("empty maximum proposes nothing")
        << 2 << QStringList{u"Олимпиада по химии"_s, u"5"_s, u""_s, u"7"_s};
}

void TestPassingScores::dialogShowsTheStoredValues()
{
    QFETCH(int, recNo);
    QFETCH(QStringList, shown);
    DataSession s;
    addAdminEvents(s.db);
    DataZRT->userID = ownAdmin;
    UiSeam seam;
    TFormPassingScoreReg w;
    DataZRT->GETpassingScoreReg->setRecNo(recNo);
    QStringList seen;
    QWidget* focus = nullptr;
    seam.onDialog([&](QDialog& d) {
        seen = {textOf(&d, u"Label2"_s), textOf(&d, u"EditprizeWinnerMin"_s), textOf(&d, u"EditprizeWinnerMax"_s),
                textOf(&d, u"EditWinner"_s)};
        focus = d.focusWidget();
        QCOMPARE(FormEditPassingScoreReg, &d);
        QCOMPARE(focus, find<QLineEdit>(&d, u"EditprizeWinnerMin"_s));
    });
    w.BitBtn2Click();
    QCOMPARE(seam.dialogs, QStringList{u"TFormEditPassingScoreReg"_s});
    QCOMPARE(seen, shown);
    QVERIFY(seam.messages.isEmpty());
    QCOMPARE(FormEditPassingScoreReg, nullptr);
}

void TestPassingScores::writeThroughTheDialog_data()
{
    QTest::addColumn<int>("recNo");
    QTest::addColumn<QStringList>("typed"); // min, max, winner
    QTest::addColumn<QList<double>>("stored");
    QTest::addColumn<QStringList>("messages");
    const QStringList none;
    // Ids by row: 1 → 102 (10/20/20,01), 2 → 103, 3 → 101 (25/40/45,5).
    QTest::newRow("in order") << 2 << QStringList{u"5"_s, u"10"_s, u"10,01"_s}
                              << QList<double>{5, 10, 10.01} << none;
    QTest::newRow("decimal commas") << 3 << QStringList{u"12,5"_s, u"30,25"_s, u"31"_s}
                                    << QList<double>{12.5, 30.25, 31} << none;
    QTest::newRow("point under a Russian locale") << 3 << QStringList{u"25.5"_s, u"41"_s, u" 45.5 "_s}
                                                  << QList<double>{25.5, 41, 45.5} << none;
    QTest::newRow("zero minimum") << 1 << QStringList{u"0"_s, u"20"_s, u"20,01"_s}
                                  << QList<double>{0, 20, 20.01} << none;
}

void TestPassingScores::writeThroughTheDialog()
{
    QFETCH(int, recNo);
    QFETCH(QStringList, typed);
    QFETCH(QList<double>, stored);
    QFETCH(QStringList, messages);
    DataSession s;
    addAdminEvents(s.db);
    DataZRT->userID = ownAdmin;
    UiSeam seam;
    TFormPassingScoreReg w;
    w.resize(900, 400);
    w.show();
    const int id = listedIds().at(recNo - 1);
    // Changed behind the window: only a re-read list shows it.
    s.db.exec(u"UPDATE vzl_educationallist_reg SET dateEnd='2026-03-31' WHERE id=%1"_s.arg(id));

    seam.onDialog([&](QDialog& d) {
        setText(&d, u"EditprizeWinnerMin"_s, typed[0]);
        setText(&d, u"EditprizeWinnerMax"_s, typed[1]);
        setText(&d, u"EditWinner"_s, typed[2]);
        click(&d, u"BitBtn1"_s);
    });
    doubleClickRow(w, recNo);

    QCOMPARE(seam.dialogs.size(), 1);
    QCOMPARE(seam.texts(), messages);
    QCOMPARE(storedScores(s.db, id), stored);
    TQuery* q = DataZRT->GETpassingScoreReg;
    QCOMPARE(q->RecNo(), recNo);
    QCOMPARE(q->FieldByName(u"id"_s).asInteger(), id);
    QCOMPARE(q->FieldByName(u"dateEnd"_s).asDate(), QDate(2026, 3, 31));
    QCOMPARE(q->FieldByName(u"prizeWinnerMin"_s).asFloat(), stored[0]);
    QCOMPARE(find<TDBGrid>(&w, u"DBGrid1"_s)->currentIndex().row(), recNo - 1);
}

void TestPassingScores::cancelChangesNothing()
{
    DataSession s;
    addAdminEvents(s.db);
    DataZRT->userID = ownAdmin;
    UiSeam seam;
    TFormPassingScoreReg w;
    DataZRT->GETpassingScoreReg->setRecNo(3);
    s.db.exec(u"UPDATE vzl_educationallist_reg SET dateEnd='2026-03-31' WHERE id=101"_s);
    seam.onDialog([](QDialog& d) {
        setText(&d, u"EditprizeWinnerMin"_s, u"1"_s);
        setText(&d, u"EditprizeWinnerMax"_s, u"2"_s);
        click(&d, u"BitBtn2"_s);
    });
    w.BitBtn2Click();
    QVERIFY(seam.messages.isEmpty());
    QCOMPARE(storedScores(s.db, 101), (QList<double>{25, 40, 45.5}));
    TQuery* q = DataZRT->GETpassingScoreReg;
    QCOMPARE(q->RecNo(), 3);
    QCOMPARE(q->FieldByName(u"dateEnd"_s).asDate(), QDate(2026, 2, 11)); // not re-read
}

void TestPassingScores::noEventsRefusesEmptyScores()
{
    DataSession s;
    addAdminEvents(s.db);
    DataZRT->userID = 99;
    UiSeam seam;
    TFormPassingScoreReg w;
    QCOMPARE(DataZRT->GETpassingScoreReg->RecordCount(), 0);
    QStringList seen;
    bool stillOpen = false;
    seam.onDialog([&](QDialog& d) {
        seen = {textOf(&d, u"Label2"_s), textOf(&d, u"EditprizeWinnerMin"_s), textOf(&d, u"EditprizeWinnerMax"_s),
                textOf(&d, u"EditWinner"_s)};
        click(&d, u"BitBtn1"_s);
        stillOpen = d.isVisible();
    });
    w.BitBtn2Click();
    QCOMPARE(seen, QStringList(4, QString()));
    QCOMPARE(seam.messages.size(), 3); // each empty box
    QVERIFY(seam.texts().first().startsWith(u"Значение \"Призер От\" не задано."_s));
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Error);
    QVERIFY(stillOpen);
}

void TestPassingScores::badScoresKeepTheDialogOpen_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < badScores().size(); ++i)
        QTest::newRow(badScores().at(i).name) << i;
}

void TestPassingScores::badScoresKeepTheDialogOpen()
{
    QFETCH(int, row);
    const BadScores bad = badScores().at(row);
    DataSession s;
    addAdminEvents(s.db);
    DataZRT->userID = ownAdmin;
    UiSeam seam;
    TFormPassingScoreReg w;
    DataZRT->GETpassingScoreReg->setRecNo(3); // 101: 25 / 40 / 45,5
    QStringList kept;
    bool stillOpen = false;
    QString focused;
    seam.onDialog([&](QDialog& d) {
        setText(&d, u"EditprizeWinnerMin"_s, bad.min);
        setText(&d, u"EditprizeWinnerMax"_s, bad.max);
        setText(&d, u"EditWinner"_s, bad.winner);
        click(&d, u"BitBtn1"_s);
        stillOpen = d.isVisible();
        kept = {textOf(&d, u"EditprizeWinnerMin"_s), textOf(&d, u"EditprizeWinnerMax"_s), textOf(&d, u"EditWinner"_s)};
        focused = d.focusWidget() ? d.focusWidget()->objectName() : QString();
    });
    w.BitBtn2Click();
    QCOMPARE(seam.texts(), bad.messages);
    for (const TMessage& m : seam.messages)
        QCOMPARE(m.type, TMsgDlgType::Error);
    QVERIFY(stillOpen);
    QCOMPARE(kept, (QStringList{bad.min, bad.max, bad.winner}));
    QCOMPARE(focused, (QStringList{u"EditprizeWinnerMin"_s, u"EditprizeWinnerMax"_s, u"EditWinner"_s}).at(bad.focused));
    QCOMPARE(storedScores(s.db, 101), (QList<double>{25, 40, 45.5}));
}

void TestPassingScores::refusedWriteKeepsWhatWasTyped()
{
    // The database refuses the write: the message, then the dialog again with
    // what was typed; Cancel ends it.
    DataSession s;
    addAdminEvents(s.db);
    s.db.exec(u"CREATE TRIGGER no_scores BEFORE UPDATE ON vzl_educationallist_reg FOR EACH ROW "
              "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Баллы не приняты'"_s);
    DataZRT->userID = ownAdmin;
    UiSeam seam;
    TFormPassingScoreReg w;
    DataZRT->GETpassingScoreReg->setRecNo(3);
    QStringList again;
    seam.onDialog([](QDialog& d) {
        setText(&d, u"EditprizeWinnerMin"_s, u"26"_s);
        setText(&d, u"EditprizeWinnerMax"_s, u"41"_s);
        setText(&d, u"EditWinner"_s, u"46"_s);
        click(&d, u"BitBtn1"_s);
    });
    seam.onDialog([&](QDialog& d) {
        again = {textOf(&d, u"EditprizeWinnerMin"_s), textOf(&d, u"EditprizeWinnerMax"_s), textOf(&d, u"EditWinner"_s)};
        click(&d, u"BitBtn2"_s);
    });
    w.BitBtn2Click();
    QCOMPARE(seam.texts(), QStringList{u"Ошибка записи в БД"_s});
    QCOMPARE(seam.dialogs.size(), 2);
    QCOMPARE(again, (QStringList{u"26"_s, u"41"_s, u"46"_s}));
    QCOMPARE(storedScores(s.db, 101), (QList<double>{25, 40, 45.5}));
}

void TestPassingScores::boxIsCheckedWhenLeft()
{
    UiSeam seam;
    TFormEditPassingScoreReg d;
    d.setValues(u"Олимпиада"_s, u"3"_s, u"5"_s, u"7"_s);
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto* max = find<QLineEdit>(&d, u"EditprizeWinnerMax"_s);
    max->setFocus();
    max->selectAll();
    QTest::keyClicks(max, u"-"_s);
    QVERIFY(seam.messages.isEmpty()); // nothing while typing
    find<QLineEdit>(&d, u"EditWinner"_s)->setFocus(); // left for another box
    QCOMPARE(seam.texts(), QStringList{u"Значение \"Призер До\" не является числом: \"-\".\n\rВведите число, например 20,5."_s});
    QCOMPARE(QApplication::focusWidget(), max);
    QCOMPARE(max->text(), u"-"_s);
    seam.clear();
    QTest::keyClicks(max, u"x"_s);
    find<QPushButton>(&d, u"BitBtn2"_s)->setFocus(); // "Отмена" is not held up
    QVERIFY(seam.messages.isEmpty());
}

void TestPassingScores::proposedWinnerScore_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("winner");
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    QTest::newRow("10") << ru << u"10"_s << u"10,01"_s;
    QTest::newRow("10,5") << ru << u"10,5"_s << u"10,51"_s;
    QTest::newRow("10.5 under a Russian locale") << ru << u"10.5"_s << u"10,51"_s;
    QTest::newRow("15 digits") << ru << u"0,1"_s << u"0,11"_s;
    QTest::newRow("English locale") << QLocale(QLocale::English, QLocale::UnitedStates) << u"10.5"_s
                                    << u"10.51"_s;
    // Unfinished texts propose nothing and say nothing while typing.
    QTest::newRow("stray letter") << ru << u"1x"_s << u"1,01"_s;
    QTest::newRow("minus") << ru << u"-"_s << u"7"_s;
    QTest::newRow("exponent") << ru << u"1e"_s << u"1,01"_s;
    QTest::newRow("emptied") << ru << u""_s << u"7"_s;
}

void TestPassingScores::proposedWinnerScore()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(QString, winner);
    QLocale::setDefault(locale);
    UiSeam seam;
    TFormEditPassingScoreReg d;
    d.setValues(u"Олимпиада"_s, u"3"_s, u"5"_s, u"7"_s);
    QCOMPARE(d.winnerText(), u"7"_s);
    auto* max = find<QLineEdit>(&d, u"EditprizeWinnerMax"_s);
    max->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(max, Qt::Key_Backspace);
    else
        QTest::keyClicks(max, typed); // every keystroke is a change
    QCOMPARE(d.winnerText(), winner);
    QVERIFY2(seam.messages.isEmpty(), qPrintable(seam.texts().join(u'|')));
}

void TestPassingScores::titleClickSortOutlivesTheWindow()
{
    DataSession s;
    addAdminEvents(s.db);
    DataZRT->userID = ownAdmin;
    {
        TFormPassingScoreReg w;
        w.resize(900, 400);
        w.show();
        clickTitle(find<TDBGrid>(&w, u"DBGrid1"_s), 4); // "ОТ и > для победителя"
        QCOMPARE(listedIds(), (QList<int>{103, 102, 101}));
        w.close();
    }
    TFormPassingScoreReg again;
    QCOMPARE(listedIds(), (QList<int>{103, 102, 101}));
    QCOMPARE(DataZRT->GETpassingScoreReg->SQL().last(), u"ORDER BY Winner"_s);
}

QTEST_MAIN(TestPassingScores)
#include "test_passing_scores.moc"
