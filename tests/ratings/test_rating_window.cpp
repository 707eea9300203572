// The rating window against a real server: the rows its filters give, the
// statuses that applying the passing scores writes (decimal commas included),
// the corrections by menu, dialog and grid, and writes that fail half-way.

#include "app/MainZRT.h"
#include "events/PassingScoreReg.h"
#include "ratings/CreateRatingFinalEdit.h"
#include "ratings/CreateRatingReg.h"
#include "ratings/RatingRules.h"
#include "data/Statements.h"
#include "ui/ErrorDisplay.h"
#include "data/DBGrid.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "support/RecordingProgress.h"
#include "support/BadScores.h"
#include "support/TestDb.h"
#include "support/Ui.h"
#include "RatingFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestRatingWindow : public QObject {
    Q_OBJECT
private slots:
    void freshWindow();
    void filters_data();
    void filters();
    void classList();
    void noClassTicked();
    void closedEvent();
    void rowColours();
    void applyScores_data();
    void applyScores();
    void applyReportsItsSteps();
    void wrongOrder_data();
    void wrongOrder();
    void badScoresWriteNothing_data();
    void badScoresWriteNothing();
    void pointOrCommaApply();
    void failureHalfwayKeepsEverything();
    void lostConnection();
    void winnerProposal();
    void statusMenu();
    void dialogReturnsToTheParticipant();
    void resultInTheGrid();
    void cellClickHints();
    void titleClickSorts();
    void focusStaysAfterAMessage();
    void activationKeepsOrderAndPupil_data();
    void activationKeepsOrderAndPupil();
    void noClassTickedClaimsNoReread();
    void rereadAfterReconnectIsQuiet();
    void currentColouredRowIsFramed();
};

void TestRatingWindow::freshWindow()
{
    Session s;
    TFormCeateRatingReg w;
    QCOMPARE(w.chosenEvent(), 10);
    QCOMPARE(textOf(&w, u"EditWinnerMin"_s), u"10"_s);
    QCOMPARE(textOf(&w, u"EditWinnerMax"_s), u"20"_s);
    QCOMPARE(textOf(&w, u"EditWinner"_s), u"21"_s); // the stored one, not 20.01
    for (int k = 1; k <= 11; ++k)
        QCOMPARE(find<QCheckBox>(&w, u"CheckBox%1"_s.arg(k))->isChecked(), k == 11);
    QVERIFY(find<QRadioButton>(&w, u"RadioGender0"_s)->isChecked());
    QVERIFY(find<QRadioButton>(&w, u"RadioOVZ0"_s)->isChecked());
    QVERIFY(find<QRadioButton>(&w, u"RadioEdit1"_s)->isChecked());
    // Best result first; inactive accounts and other classes, events, years and stages left out.
    QCOMPARE(listedIds(), (QList<int>{1, 2, 5, 3, 15, 14, 4, 6, 7, 8}));
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    QStringList titles;
    for (const TColumn& c : grid->columns())
        titles << c.title;
    QCOMPARE(titles, (QStringList{u""_s, u"МО"_s, u"ФИО участника"_s, u"Класс"_s, u"Результат"_s, u"Статус"_s}));
    QVERIFY(grid->isColumnHidden(0));
    QCOMPARE(grid->cellText(1, u"fio"_s), u"Абрамов Антон Андреевич"_s);
    QCOMPARE(grid->cellText(3, u"result"_s), u"20.5"_s);
    QCOMPARE(grid->cellText(2, u"nameStatus"_s), u"Не прибыл на региональный этап"_s);
    QVERIFY(find<QPushButton>(&w, u"BitBtn4"_s)->isEnabled());
    QVERIFY(!find<QPushButton>(&w, u"BitBtn3"_s)->isEnabled());
    QCOMPARE(DataZRT->GETcreateRatingReg->SQL().size(), 3);
    QCOMPARE(DataZRT->GETcreateRatingReg->SQL().last(), u" order by  A.`result` DESC"_s);
}

void TestRatingWindow::filters_data()
{
    QTest::addColumn<QString>("gender");
    QTest::addColumn<QString>("ovz");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QString>("conditions");
    QTest::newRow("all") << u"RadioGender0"_s << u"RadioOVZ0"_s << QList<int>{1, 2, 5, 3, 15, 14, 4, 6, 7, 8} << QString();
    QTest::newRow("girls with limited health")
        << u"RadioGender1"_s << u"RadioOVZ2"_s << QList<int>{2, 6} << u" and C.`gender`=0 and C.`ovz`=1"_s;
    QTest::newRow("boys") << u"RadioGender2"_s << u"RadioOVZ0"_s << QList<int>{1, 5, 3, 15, 7} << u" and C.`gender`=1"_s;
    // Зайцева has no details: any filter leaves her out.
    QTest::newRow("without limits") << u"RadioGender0"_s << u"RadioOVZ1"_s << QList<int>{1, 3, 15, 14, 4, 7}
                                    << u" and C.`ovz`=0"_s;
}

void TestRatingWindow::filters()
{
    QFETCH(QString, gender);
    QFETCH(QString, ovz);
    QFETCH(QList<int>, ids);
    QFETCH(QString, conditions);
    Session s;
    TFormCeateRatingReg w;
    find<QRadioButton>(&w, gender)->click();
    find<QRadioButton>(&w, ovz)->click();
    QCOMPARE(listedIds(), ids);
    const QString first = DataZRT->GETcreateRatingReg->SQL().first();
    QVERIFY(first.endsWith(u" and A.`periodID`=(SELECT `id` FROM `vzl_periods` WHERE `active`=1)"_s + conditions
                           + u" and D.`id`=A.`statusparticipantID`"_s));
    QCOMPARE(first.contains(u"`vzl_users4add` C"_s), !conditions.isEmpty());
    QCOMPARE(first.contains(u"WHERE C.`usersID`=A.`userID` and "_s), !conditions.isEmpty());
}

void TestRatingWindow::classList()
{
    Session s;
    TFormCeateRatingReg w;
    for (int k : {9, 10})
        find<QCheckBox>(&w, u"CheckBox%1"_s.arg(k))->click();
    QCOMPARE(w.classGroup(), u"9,10,11"_s);
    QVERIFY(DataZRT->GETcreateRatingReg->SQL().first().contains(u"A.`classStudy` in (9,10,11) and"_s));
    QCOMPARE(listedIds(), (QList<int>{10, 1, 2, 5, 3, 15, 14, 4, 6, 7, 8}));
    QCOMPARE(classListText({true, false, true}), u"1,3"_s);
    QCOMPARE(classListText(QList<bool>(11, false)), QString());

    // The statements carry the list and the codes line by line.
    const QList<QStringList> statements = statusStatements(12, u"9,10,11"_s);
    QCOMPARE(statements.at(0),
             (QStringList{u"UPDATE `vzl_application_reg` SET `statusparticipantID`=1 WHERE `periodID`=(SELECT `id` FROM `vzl_periods` WHERE `active`=1)"_s,
                          u"and `classStudy`in (9,10,11)"_s,
                          u"and `educationlListID_reg`=12 and `levelolimpID`=3"_s}));
    QCOMPARE(statements.at(1).last(), u"and `educationlListID_reg`=12 and `levelolimpID`=3 and `result`>0"_s);
    QCOMPARE(statements.at(2).first(), u"UPDATE `vzl_application_reg` SET `statusparticipantID`=7 WHERE"_s);
    QCOMPARE(statements.at(3).first(), u"UPDATE `vzl_application_reg` SET `statusparticipantID`=10 WHERE"_s);
    QCOMPARE(statements.at(3).size(), 6);
}

void TestRatingWindow::noClassTicked()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    find<QCheckBox>(&w, u"CheckBox11"_s)->click();
    QCOMPARE(seam.texts(), QStringList{u"Не выбран класс обучения"_s});
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Information);
    QCOMPARE(listedIds().size(), 10); // the rows stay
    QVERIFY(!w.checkClass());
    seam.clear();
    const QMap<int, int> before = statuses(s.s.db);
    typeScores(w, u"1"_s, u"2"_s, u"3"_s);
    click(&w, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), QStringList{u"Не выбран класс обучения"_s});
    QCOMPARE(scores(s.s.db), (QVariantList{10.0, 20.0, 21.0}));
    QCOMPARE(statuses(s.s.db), before);
}

void TestRatingWindow::closedEvent()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    find<QRadioButton>(&w, u"RadioEdit0"_s)->click();
    QVERIFY(find<QPushButton>(&w, u"BitBtn3"_s)->isEnabled());
    QVERIFY(find<TDBGrid>(&w, u"DBGrid1"_s)->isReadOnly());

    auto* combo = find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s);
    combo->chooseIndex(1); // Физика, closed
    w.DBLookupComboBox1KeyUp(Qt::Key_Down);
    QCOMPARE(w.chosenEvent(), 11);
    QCOMPARE(listedIds(), QList<int>{11});
    for (const char* name : {"EditWinnerMin", "EditWinnerMax", "EditWinner", "Label3", "Label4", "Label5", "Label6",
                             "BitBtn2", "DBGrid1", "RadioGroup1", "BitBtn3"})
        QVERIFY2(!find<QWidget>(&w, QString::fromLatin1(name))->isEnabled(), name);
    for (const char* name : {"DBLookupComboBox1", "GroupBoxClass", "RadioGroupGender", "RadioGroupOVZ", "BitBtn4", "BitBtn1"})
        QVERIFY2(find<QWidget>(&w, QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(find<QRadioButton>(&w, u"RadioEdit1"_s)->isChecked());
    QCOMPARE(textOf(&w, u"Label7"_s),
             u"Редактирование по этому мероприятию закрыто администратором, но Вы можете просматривать и экспортировать данные"_s);
    QCOMPARE(textOf(&w, u"EditWinner"_s), u"16"_s);

    combo->chooseIndex(0);
    QCOMPARE(w.chosenEvent(), 10);
    QVERIFY(find<QWidget>(&w, u"DBGrid1"_s)->isEnabled());
    QVERIFY(!find<TDBGrid>(&w, u"DBGrid1"_s)->isReadOnly());
    QCOMPARE(textOf(&w, u"Label7"_s), QString());
    QVERIFY(seam.messages.isEmpty());
}

void TestRatingWindow::rowColours()
{
    Session s;
    TFormCeateRatingReg w;
    w.resize(1200, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    // 1 Абрамов 1, 2 Борисова 15, 3 Дмитриев 9, 4 Волков 1, 7 Григорьева 8, 9 Жуков 7, 10 Зайцева 10
    const QMap<int, QColor> expected{{1, QColor()},           {2, QColor(192, 192, 192)}, {3, QColor(250, 250, 210)},
                                     {4, QColor()},           {7, QColor(152, 251, 152)}, {9, QColor(240, 128, 128)},
                                     {10, QColor(255, 218, 185)}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(grid->rowColor(it.key()), it.value());
    // A selected coloured row keeps its colour.
    DataZRT->GETcreateRatingReg->setRecNo(2);
    QTest::qWait(20);
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    const QImage shot = grid->viewport()->grab().toImage();
    QCOMPARE(QColor(shot.pixel(cell.right() - 3, cell.center().y())), QColor(192, 192, 192));
}

void TestRatingWindow::applyScores_data()
{
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QVariantList>("stored");
    QTest::addColumn<StatusMap>("changed");
    // Rows of event 10 in class 11 by id; 10 to 13 keep 15, 1, 1, 1.
    const QMap<int, int> plain{{1, 7}, {2, 7}, {3, 10}, {4, 10}, {5, 4}, {6, 4}, {7, 1},
                               {8, 1}, {9, 7}, {14, 10}, {15, 10}};
    QTest::newRow("10 to 20, winner 21") << false << QStringList{u"10"_s, u"20"_s, u"21"_s}
                                         << QVariantList{10.0, 20.0, 21.0} << plain;
    QMap<int, int> comma = plain;
    comma[4] = 4;  // 10 below 10,5
    comma[14] = 4; // 10.2 below 10,5
    QTest::newRow("10,5 to 20, winner 21") << true << QStringList{u"10,5"_s, u"20"_s, u"21"_s}
                                           << QVariantList{10.5, 20.0, 21.0} << comma;
    QMap<int, int> winner = plain;
    winner[5] = 7; // 20.5 from 20,5
    QTest::newRow("10 to 20, winner 20,5") << true << QStringList{u"10"_s, u"20"_s, u"20,5"_s}
                                           << QVariantList{10.0, 20.0, 20.5} << winner;
}

void TestRatingWindow::applyScores()
{
    QFETCH(bool, russian);
    QFETCH(QStringList, boxes);
    QFETCH(QVariantList, stored);
    QFETCH(StatusMap, changed);
    LocaleFor locale(russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c());
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    // Only girls shown: the boys of class 11 get their statuses too.
    find<QRadioButton>(&w, u"RadioGender1"_s)->click();
    DataZRT->GETcreateRatingReg->setRecNo(3);
    typeScores(w, boxes.at(0), boxes.at(1), boxes.at(2));
    click(&w, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), QStringList());
    QCOMPARE(scores(s.s.db), stored);
    QMap<int, int> expected = changed;
    expected.insert(10, 15);
    expected.insert(11, 1);
    expected.insert(12, 1);
    expected.insert(13, 1);
    QCOMPARE(statuses(s.s.db), expected);
    // The pure rule gives what the statements wrote.
    const TPassingScores rule{stored.at(0).toDouble(), stored.at(1).toDouble(), stored.at(2).toDouble()};
    for (const QVariantList& r : s.s.db.rows(
             u"SELECT id, result FROM vzl_application_reg WHERE educationlListID_reg=10 AND classStudy=11 AND periodID=2 AND levelolimpID=3"_s))
        QCOMPARE(ratingStatus(ratingResult(r.at(1)), rule), expected.value(r.at(0).toInt()));
    // Read again at the same record number, in result order.
    QCOMPARE(DataZRT->GETcreateRatingReg->RecNo(), 3);
    QCOMPARE(DataZRT->GETcreateRatingReg->SQL().last(), u" order by  A.`result` DESC"_s);
    QVERIFY(!find<QLabel>(&w, u"Lb"_s)->isVisible());
}

void TestRatingWindow::applyReportsItsSteps()
{
    Session s;
    TFormCeateRatingReg w;
    RecordingProgress progress;
    w.setProgress(&progress);
    click(&w, u"BitBtn2"_s);
    QCOMPARE(progress.calls,
             (QStringList{u"range 0 5"_s, u"position 0"_s, u"step Запись проходных баллов"_s, u"position 1"_s,
                          u"text Обнуление статусов"_s, u"position 2"_s, u"position 3"_s, u"text Победители..."_s,
                          u"position 4"_s, u"text Призеры..."_s, u"position 5"_s, u"text Статусы изменены"_s,
                          u"position 0"_s, u"hide"_s}));
}

void TestRatingWindow::wrongOrder_data()
{
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("messages");
    const QString first = u"Значение \"До\" не может быть меньше или равно значению \"От\""_s;
    const QString second = u"Значение \"Победитель От\" не может быть меньше или равно значению \" Призер До\""_s;
    QTest::newRow("20 to 10") << QStringList{u"20"_s, u"10"_s, u"21"_s} << QStringList{first};
    QTest::newRow("to 20, winner 20") << QStringList{u"10"_s, u"20"_s, u"20"_s} << QStringList{second};
    QTest::newRow("both") << QStringList{u"20"_s, u"10"_s, u"5"_s} << QStringList{first, second};
}

void TestRatingWindow::wrongOrder()
{
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, messages);
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    const QMap<int, int> before = statuses(s.s.db);
    typeScores(w, boxes.at(0), boxes.at(1), boxes.at(2));
    click(&w, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), messages);
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Error);
    QCOMPARE(scores(s.s.db), (QVariantList{10.0, 20.0, 21.0}));
    QCOMPARE(statuses(s.s.db), before);
}

void TestRatingWindow::badScoresWriteNothing_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < badScores().size(); ++i)
        QTest::newRow(badScores().at(i).name) << i;
}

void TestRatingWindow::badScoresWriteNothing()
{
    // The same refusals as the passing-score dialog's, the boxes keep what was typed.
    QFETCH(int, row);
    const BadScores bad = badScores().at(row);
    LocaleFor locale(QLocale(QLocale::Russian, QLocale::Russia));
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    const QMap<int, int> before = statuses(s.s.db);
    typeScores(w, bad.min, bad.max, bad.winner);
    click(&w, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), bad.messages);
    for (const TMessage& m : seam.messages)
        QCOMPARE(m.type, TMsgDlgType::Error);
    const QStringList boxes{u"EditWinnerMin"_s, u"EditWinnerMax"_s, u"EditWinner"_s};
    QCOMPARE((QStringList{textOf(&w, boxes[0]), textOf(&w, boxes[1]), textOf(&w, boxes[2])}),
             (QStringList{bad.min, bad.max, bad.winner}));
    QCOMPARE(w.focusWidget() ? w.focusWidget()->objectName() : QString(), boxes.at(bad.focused));
    QCOMPARE(scores(s.s.db), (QVariantList{10.0, 20.0, 21.0}));
    QCOMPARE(statuses(s.s.db), before);
}

void TestRatingWindow::pointOrCommaApply()
{
    LocaleFor locale(QLocale(QLocale::Russian, QLocale::Russia));
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    typeScores(w, u"10.5"_s, u"20,5"_s, u"21.5"_s);
    click(&w, u"BitBtn2"_s);
    QVERIFY2(seam.messages.isEmpty(), qPrintable(seam.texts().join(u'|')));
    QCOMPARE(scores(s.s.db), (QVariantList{10.5, 20.5, 21.5}));
    QCOMPARE(statuses(s.s.db).value(5), 10); // 20,5
}

void TestRatingWindow::failureHalfwayKeepsEverything()
{
    Session s;
    // The database refuses the winners' statement, after scores and the first two statements.
    s.s.db.exec(u"CREATE TRIGGER no_winners BEFORE UPDATE ON vzl_application_reg FOR EACH ROW "
                "BEGIN IF NEW.statusparticipantID = 7 AND OLD.statusparticipantID <> 7 THEN "
                "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Победители не приняты'; END IF; END"_s);
    UiSeam seam;
    TFormCeateRatingReg w;
    const QMap<int, int> before = statuses(s.s.db);
    typeScores(w, u"12"_s, u"19"_s, u"22"_s);
    click(&w, u"BitBtn2"_s);
    QCOMPARE(seam.messages.size(), 1);
    QVERIFY2(seam.texts().first().contains(u"Победители не приняты"_s), qPrintable(seam.texts().first()));
    QCOMPARE(scores(s.s.db), (QVariantList{10.0, 20.0, 21.0}));
    QCOMPARE(statuses(s.s.db), before);
    QVERIFY(!find<QLabel>(&w, u"Lb"_s)->isVisible());

    // Without the obstacle the same scores go through.
    s.s.db.exec(u"DROP TRIGGER no_winners"_s);
    seam.clear();
    click(&w, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), QStringList());
    QCOMPARE(scores(s.s.db), (QVariantList{12.0, 19.0, 22.0}));
    QCOMPARE(statuses(s.s.db).value(1), 7);
}

void TestRatingWindow::lostConnection()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    s.s.cutConnection();

    click(&w, u"BitBtn2"_s);
    QCOMPARE(seam.messages.size(), 1);
    QCOMPARE(seam.messages.first().caption, applicationTitle());
    QCOMPARE(scores(s.s.db), (QVariantList{10.0, 20.0, 21.0}));

    QVERIFY(DataZRT->changeNET(0));
    seam.clear();
    find<QCheckBox>(&w, u"CheckBox10"_s)->click();
    QCOMPARE(listedIds().size(), 11);
    click(&w, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), QStringList());
    QCOMPARE(statuses(s.s.db).value(10), 7); // class 10 ticked now: 30 is a winner
}

void TestRatingWindow::winnerProposal()
{
    LocaleFor locale(QLocale(QLocale::Russian, QLocale::Russia));
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    QCOMPARE(textOf(&w, u"EditWinner"_s), u"21"_s);
    setText(&w, u"EditWinnerMax"_s, u"10"_s);
    QCOMPARE(textOf(&w, u"EditWinner"_s), u"10,01"_s);
    setText(&w, u"EditWinnerMax"_s, QString());
    QCOMPARE(textOf(&w, u"EditWinner"_s), u"10,01"_s);
    QVERIFY(seam.messages.isEmpty());
    // Unfinished or bad texts say nothing while typed and propose nothing.
    for (const QString& typed : {u"x"_s, u"-"_s, u"1e"_s, u"-5"_s}) {
        setText(&w, u"EditWinnerMax"_s, typed);
        QCOMPARE(textOf(&w, u"EditWinner"_s), u"10,01"_s);
    }
    QVERIFY(seam.messages.isEmpty());
    setText(&w, u"EditWinnerMax"_s, u"10.5"_s); // a point is taken for the comma
    QCOMPARE(textOf(&w, u"EditWinner"_s), u"10,51"_s);
}

void TestRatingWindow::statusMenu()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    TQuery* rating = DataZRT->GETcreateRatingReg;
    const auto ticked = [&](int recNo) {
        rating->setRecNo(recNo);
        w.PopupStatusPopup();
        QStringList names;
        for (QAction* a : w.PopupStatus()->actions())
            if (a->isChecked())
                names << a->objectName();
        return names;
    };
    // 1 Абрамов 1, 2 Борисова 15, 3 Дмитриев 9, 7 Григорьева 8, 9 Жуков 7, 10 Зайцева 10
    QCOMPARE(ticked(1), QStringList{u"N1"_s});
    QCOMPARE(ticked(2), QStringList{u"N5"_s});
    QCOMPARE(ticked(3), QStringList());
    QCOMPARE(ticked(7), QStringList());
    QCOMPARE(ticked(9), QStringList{u"N3"_s});
    QCOMPARE(ticked(10), QStringList{u"N4"_s});

    rating->setRecNo(4); // Волков
    w.PopupStatus()->findChild<QAction*>(u"N5"_s)->trigger();
    QCOMPARE(statuses(s.s.db).value(3), 15);
    QCOMPARE(rating->RecNo(), 4);
    QCOMPARE(rating->FieldByName(u"nameStatus"_s).asString(), u"Не прибыл на региональный этап"_s);
    QVERIFY(seam.messages.isEmpty());
}

void TestRatingWindow::dialogReturnsToTheParticipant()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    find<QRadioButton>(&w, u"RadioEdit0"_s)->click();
    DataZRT->GETcreateRatingReg->setRecNo(9); // Жуков, 0, status 7
    QString shownResult, shownStatus;
    bool statusesOpen = false;
    seam.onDialog([&](QDialog& d) {
        shownResult = textOf(&d, u"EditResult"_s);
        shownStatus = textOf(&d, u"LabelEdu"_s);
        statusesOpen = DataZRT->GETstatus->Active();
        auto& dlg = static_cast<TFormCreateRatingFinalEdit&>(d);
        dlg.DBLookupComboBox1()->chooseIndex(dlg.DBLookupComboBox1()->findText(u"Призер регионального этапа"_s));
        setText(&d, u"EditResult"_s, u"30"_s);
        click(&d, u"BitBtn1"_s);
    });
    click(&w, u"BitBtn3"_s);
    QCOMPARE(seam.dialogs, QStringList{u"TFormCreateRatingFinalEdit"_s});
    QCOMPARE(shownResult, u"0"_s);
    QCOMPARE(shownStatus, u"Победитель регионального этапа"_s);
    QVERIFY(statusesOpen);
    QVERIFY(!DataZRT->GETstatus->Active());
    QCOMPARE(s.s.db.rows(u"SELECT statusparticipantID, result FROM vzl_application_reg WHERE id=7"_s).value(0),
             (QVariantList{10, 30.0}));
    QCOMPARE(DataZRT->GETcreateRatingReg->RecNo(), 1);
    QCOMPARE(DataZRT->GETcreateRatingReg->FieldByName(u"fio"_s).asString(), u"Жуков Захар Петрович"_s);

    // Cancel writes nothing.
    seam.onDialog([](QDialog& d) {
        setText(&d, u"EditResult"_s, u"1"_s);
        click(&d, u"BitBtn2"_s);
    });
    click(&w, u"BitBtn3"_s);
    QCOMPARE(s.s.db.scalar(u"SELECT result FROM vzl_application_reg WHERE id=7"_s).toDouble(), 30.0);
}

void TestRatingWindow::resultInTheGrid()
{
    LocaleFor locale(QLocale(QLocale::Russian, QLocale::Russia));
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    const auto stored = [&](int id) { return s.s.db.scalar(u"SELECT result FROM vzl_application_reg WHERE id=%1"_s.arg(id)); };

    for (const QString& bad : {u"abc"_s, QString(), u"12.5.1"_s, u"-5"_s, u"-0,5"_s}) {
        seam.clear();
        QVERIFY(!grid->editCell(4, u"result"_s, bad)); // Волков, 20
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages.first().type, TMsgDlgType::Error);
        QVERIFY(seam.texts().first().startsWith(u"Результат не записан: "_s));
        QCOMPARE(grid->cellText(4, u"result"_s), u"20"_s);
        QCOMPARE(stored(3).toDouble(), 20.0);
    }
    seam.clear();
    QVERIFY(grid->editCell(4, u"result"_s, u"22,5"_s));
    QCOMPARE(stored(3).toDouble(), 20.0); // written when the row is left or confirmed
    grid->postEdit();
    QCOMPARE(stored(3).toDouble(), 22.5);
    QVERIFY(grid->editCell(1, u"result"_s, u"26"_s));
    DataZRT->GETcreateRatingReg->setRecNo(2); // leaving the row posts it
    QCOMPARE(stored(1).toDouble(), 26.0);
    QCOMPARE(statuses(s.s.db).value(1), 1); // no status computed
    QVERIFY(!grid->editCell(1, u"fio"_s, u"x"_s));
    QCOMPARE(seam.messages.size(), 0);
}

void TestRatingWindow::cellClickHints()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    for (const QString& field : {u"name"_s, u"fio"_s, u"classStudy"_s, u"result"_s, u"nameStatus"_s})
        emit grid->CellClick(field);
    const QString other = u"Это поле не может быть отредактировано в таблице.\n\rТаблично можно изменить только результат и статус."_s;
    QCOMPARE(seam.texts(), (QStringList{other, other, other,
                                        u"Это поле редактируется кликом правой клавиши мыши.\n\rили в табличном режиме."_s}));
    seam.clear();
    find<QRadioButton>(&w, u"RadioEdit0"_s)->click();
    emit grid->CellClick(u"fio"_s);
    QVERIFY(seam.messages.isEmpty());
}

void TestRatingWindow::titleClickSorts()
{
    Session s;
    TFormCeateRatingReg w;
    emit find<TDBGrid>(&w, u"DBGrid1"_s)->TitleClick(u"name"_s);
    QCOMPARE(DataZRT->GETcreateRatingReg->SQL().last(), u"ORDER BY name"_s);
    QCOMPARE(DataZRT->GETcreateRatingReg->value(0, u"name"_s).toString(), u"Бережанский район"_s);
    find<QRadioButton>(&w, u"RadioOVZ0"_s)->click();
    QCOMPARE(listedIds(), (QList<int>{1, 2, 5, 3, 15, 14, 4, 6, 7, 8}));
}

void TestRatingWindow::focusStaysAfterAMessage()
{
    // The passing-score window was opened first; the rating window refuses its
    // scores in real message boxes: afterwards it is still in front, the focus
    // in the box the message is about.
    Session s;
    TFormMainZRT main;
    main.resize(1400, 900);
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    main.openChild(new TFormPassingScoreReg);
    auto* w = new TFormCeateRatingReg;
    main.openChild(w);
    QTimer closer;
    connect(&closer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    closer.start(30);
    typeScores(*w, u"20"_s, u"10"_s, u"21"_s);
    find<QLineEdit>(w, u"EditWinnerMin"_s)->setFocus();
    QTest::mouseClick(find<QPushButton>(w, u"BitBtn2"_s), Qt::LeftButton);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::qWait(100);
    QCOMPARE(main.mdiArea()->activeSubWindow()->widget(), w);
    QCOMPARE(QApplication::focusWidget(), find<QLineEdit>(w, u"EditWinnerMax"_s));
}

void TestRatingWindow::activationKeepsOrderAndPupil_data()
{
    QTest::addColumn<bool>("gone");
    QTest::addColumn<int>("current");
    QTest::newRow("pupil still there") << false << 5;
    QTest::newRow("pupil gone") << true << 1; // the top row of the name order: Абрамов
}

void TestRatingWindow::activationKeepsOrderAndPupil()
{
    QFETCH(bool, gone);
    QFETCH(int, current);
    Session s;
    UiSeam seam;
    TFormMainZRT main;
    main.resize(1400, 900);
    main.show();
    const auto activate = [&](QWidget* form) {
        main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(form->parentWidget()));
    };
    TQuery* rating = DataZRT->GETcreateRatingReg;
    auto* a = new TFormCeateRatingReg;
    main.openChild(a);
    find<QCheckBox>(a, u"CheckBox10"_s)->click();
    find<QRadioButton>(a, u"RadioEdit0"_s)->click(); // "В отдельном окне"
    emit find<TDBGrid>(a, u"DBGrid1"_s)->TitleClick(u"fio"_s);
    const QList<int> sorted = listedIds();
    QCOMPARE(sorted, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 10, 14, 15}));
    QVERIFY(rating->Locate(u"id"_s, 5)); // Дмитриев
    const int recNo = rating->RecNo();

    // Another rating window reads the shared list for its own choice: class 11 only.
    auto* b = new TFormCeateRatingReg;
    main.openChild(b);
    QCOMPARE(listedIds().size(), 10);
    if (gone)
        s.s.db.exec(u"DELETE FROM vzl_application_reg WHERE id=5"_s);

    activate(a);
    QCOMPARE(rating->SQL().last(), u"ORDER BY fio"_s);
    QList<int> expected = sorted;
    expected.removeAll(gone ? 5 : 0);
    QCOMPARE(listedIds(), expected);
    QCOMPARE(rating->FieldByName(u"id"_s).asInteger(), current);
    QCOMPARE(rating->RecNo(), gone ? 1 : recNo);
    QVERIFY2(seam.messages.isEmpty(), qPrintable(seam.texts().join(u'|')));

    // The dialog edits the pupil in sight.
    QString edited;
    seam.onDialog([&](QDialog& d) {
        edited = textOf(&d, u"LabelFIO"_s);
        click(&d, u"BitBtn2"_s);
    });
    click(a, u"BitBtn3"_s);
    QCOMPARE(edited, gone ? u"Абрамов Антон Андреевич"_s : u"Дмитриев Егор Ильич"_s);

    // The other window comes back to its own rows and its own row as well.
    activate(b);
    QCOMPARE(listedIds().size(), gone ? 9 : 10);
    rating->setRecNo(3);
    const int third = rating->FieldByName(u"id"_s).asInteger();
    activate(a);
    QCOMPARE(rating->FieldByName(u"id"_s).asInteger(), current);
    activate(b);
    QCOMPARE(rating->FieldByName(u"id"_s).asInteger(), third);
    QVERIFY2(seam.messages.isEmpty(), qPrintable(seam.texts().join(u'|')));
}

void TestRatingWindow::noClassTickedClaimsNoReread()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    const QMap<int, int> before = statuses(s.s.db);
    find<QCheckBox>(&w, u"CheckBox11"_s)->click();
    QVERIFY(!find<QPushButton>(&w, u"BitBtn4"_s)->isEnabled());
    w.PopupStatusPopup();
    for (QAction* a : w.PopupStatus()->actions())
        QVERIFY(!a->isEnabled());
    seam.clear();

    w.N3Click();
    find<QRadioButton>(&w, u"RadioEdit0"_s)->click();
    w.BitBtn3Click();
    w.BitBtn4Click();
    w.FormActivate();
    QVERIFY(!seam.texts().contains(TChildForm::refreshedText()));
    QCOMPARE(seam.texts(), (QStringList{u"Не выбран класс обучения"_s, u"Не выбран класс обучения"_s}));
    QCOMPARE(seam.dialogs, QStringList());
    QCOMPARE(statuses(s.s.db), before);
}

void TestRatingWindow::rereadAfterReconnectIsQuiet()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    s.s.cutConnection();
    find<QRadioButton>(&w, u"RadioGender1"_s)->click(); // the list is closed, its reading fails
    QCOMPARE(seam.messages.size(), 1);
    // the failed reading gives the list its former rows back (other windows keep them)
    QVERIFY(DataZRT->GETcreateRatingReg->Active());

    QVERIFY(DataZRT->changeNET(0));
    seam.clear();
    const QMap<int, int> before = statuses(s.s.db);
    w.N3Click(); // the list is read again, nothing is set on a row not in sight
    QCOMPARE(seam.texts(), QStringList());
    QCOMPARE(statuses(s.s.db), before);
    QCOMPARE(listedIds(), (QList<int>{2, 14, 4, 6}));
    w.N3Click();
    QCOMPARE(seam.texts(), QStringList());
    QCOMPARE(statuses(s.s.db).value(2), 7);
}

void TestRatingWindow::currentColouredRowIsFramed()
{
    Session s;
    TFormCeateRatingReg w;
    w.resize(1200, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    // 2 Борисова 15 (silver), 9 Жуков 7 (light red)
    for (int recNo : {2, 9}) {
        DataZRT->GETcreateRatingReg->setRecNo(recNo);
        QTest::qWait(20);
        const QColor colour = grid->rowColor(recNo);
        const QImage shot = grid->viewport()->grab().toImage();
        const QRect cell = grid->visualRect(grid->model()->index(recNo - 1, 2));
        const QRgb frame = colour.darker(170).rgb();
        QCOMPARE(shot.pixel(cell.center().x(), cell.top()), frame);
        QCOMPARE(shot.pixel(cell.center().x(), cell.bottom()), frame);
        QCOMPARE(shot.pixel(cell.right() - 3, cell.center().y()), colour.rgb());
        // the row below has no frame
        const QRect below = grid->visualRect(grid->model()->index(recNo, 2));
        QVERIFY(shot.pixel(below.center().x(), below.top() + 3) != frame);
    }
}

QTEST_MAIN(TestRatingWindow)
#include "test_rating_window.moc"
