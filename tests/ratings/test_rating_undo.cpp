// What "Применить к рейтингу" will change, shown before it runs, and taking the
// last apply back: the counts are the difference the apply makes (statuses set
// by hand included), undoing puts scores and statuses back exactly, leaves and
// counts what was changed since, and a failing undo changes nothing.

#include "ratings/CreateRatingReg.h"
#include "ratings/RatingChanges.h"
#include "ratings/RatingPreview.h"
#include "ratings/RatingUndo.h"
#include "data/ApplyUndoStatements.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "support/TestDb.h"
#include "support/Ui.h"
#include "RatingFixture.h"

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

using Pairs = QMap<std::pair<int, int>, int>;

/// Rows of each old and new status between two states of the table.
Pairs difference(const StatusMap& before, const StatusMap& after)
{
    Pairs d;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (before.value(it.key()) != it.value())
            ++d[{before.value(it.key()), it.value()}];
    return d;
}

Pairs shownChanges(const TFormCeateRatingReg& w)
{
    Pairs d;
    // the summary is kept: a loop over a member of the temporary would read freed memory
    const auto summary = w.preview()->changes().value();
    for (const TStatusChange& c : summary.changes)
        d[{c.from, c.to}] = c.count;
    return d;
}

bool undoOffered(const TFormCeateRatingReg& w)
{
    return find<QPushButton>(&w, u"BitBtn5"_s)->isVisibleTo(&w);
}

QString undoText(int restored, int left, TUndoResult::Scores scores = TUndoResult::Scores::Restored)
{
    return undoReportText({restored, left, scores});
}

/// Rows whose status differs between two states of the table.
int changedRows(const StatusMap& before, const StatusMap& after)
{
    int n = 0;
    for (int count : difference(before, after))
        n += count;
    return n;
}

} // namespace

class TestRatingUndo : public QObject {
    Q_OBJECT
private slots:
    void changesAreTheDifference_data();
    void changesAreTheDifference();
    void changeLines();
    void undoRestoresExactly_data();
    void undoRestoresExactly();
    void rowChangedSinceIsLeft();
    void failingUndoChangesNothing();
    void offeredUntilEventOrClassesChange();
    void manyRowsInSeveralStatements();
};

void TestRatingUndo::changesAreTheDifference_data()
{
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("class10");
    QTest::newRow("10 to 20, winner 21") << false << QStringList{u"10"_s, u"20"_s, u"21"_s} << false;
    QTest::newRow("10,5 to 20, winner 21") << true << QStringList{u"10,5"_s, u"20"_s, u"21"_s} << false;
    QTest::newRow("1 to 2, winner 2,5, classes 10 and 11") << true << QStringList{u"1"_s, u"2"_s, u"2,5"_s} << true;
}

void TestRatingUndo::changesAreTheDifference()
{
    QFETCH(bool, russian);
    QFETCH(QStringList, boxes);
    QFETCH(bool, class10);
    LocaleFor locale(russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c());
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    if (class10)
        find<QCheckBox>(&w, u"CheckBox10"_s)->click(); // row 10: 15 by hand, result 30
    typeScores(w, boxes.at(0), boxes.at(1), boxes.at(2));
    const StatusMap before = statuses(s.s.db);
    const Pairs shown = shownChanges(w);
    const int changed = w.preview()->changes()->changed;
    int setByHand = 0;
    for (int n : w.preview()->setByHand())
        setByHand += n;

    click(&w, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), QStringList());
    const Pairs made = difference(before, statuses(s.s.db));
    QCOMPARE(shown, made);
    int madeCount = 0, madeByHand = 0;
    for (auto it = made.cbegin(); it != made.cend(); ++it) {
        madeCount += it.value();
        if (isSetByHand(it.key().first))
            madeByHand += it.value();
    }
    QCOMPARE(changed, madeCount);
    QCOMPARE(setByHand, madeByHand);
    QCOMPARE(setByHand, class10 ? 4 : 3); // 15, 8 and 9 in class 11; 15 in class 10
    // read again after the apply: the same scores change nothing more
    QCOMPARE(w.preview()->changes()->changed, 0);
    QVERIFY(w.preview()->setByHand().isEmpty());
}

void TestRatingUndo::changeLines()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    QCOMPARE(w.preview()->changeLines(),
             (QStringList{u"Изменят статус: 11 — Кандидат → Призер: 3; Кандидат → Победитель: 2; Кандидат → Участник: 1; "
                          "Победитель → Кандидат: 1; Победитель заключительного этапа → Призер: 1; "
                          "Призер заключительного этапа → Участник: 1; Призер → Кандидат: 1; Не прибыл → Победитель: 1"_s,
                          u"Будут перезаписаны статусы, выставленные вручную: 3 (Победитель заключительного этапа: 1, "
                          "Призер заключительного этапа: 1, Не прибыл: 1)"_s}));
    typeScores(w, u"20"_s, u"10"_s, u"21"_s); // refused by applying: no changes to show
    QCOMPARE(w.preview()->changeLines().first(), u"Изменят статус: —"_s);
    click(&w, u"CheckBox11"_s); // no class: nothing to apply to
    QCOMPARE(w.preview()->changeLines().last(), u"Статусов, выставленных вручную, нет"_s);
    QCOMPARE(seam.texts(), QStringList{u"Не выбран класс обучения"_s});
}

void TestRatingUndo::undoRestoresExactly_data()
{
    QTest::addColumn<bool>("emptyScores");
    QTest::newRow("stored 10 / 20 / 21") << false;
    QTest::newRow("no stored scores") << true;
}

void TestRatingUndo::undoRestoresExactly()
{
    QFETCH(bool, emptyScores);
    LocaleFor locale(QLocale(QLocale::Russian, QLocale::Russia));
    Session s;
    if (emptyScores)
        s.s.db.exec(u"UPDATE vzl_educationallist_reg SET prizeWinnerMin=NULL, prizeWinnerMax=NULL, Winner=NULL WHERE id=10"_s);
    else // a score that fifteen digits do not bring back
        s.s.db.exec(u"UPDATE vzl_educationallist_reg SET Winner=21.000000000000004 WHERE id=10"_s);
    UiSeam seam;
    TFormCeateRatingReg w;
    const StatusMap before = statuses(s.s.db);
    const QVariantList scoresBefore = scores(s.s.db);
    QVERIFY(!undoOffered(w));
    typeScores(w, u"12,5"_s, u"19"_s, u"22,25"_s);
    click(&w, u"BitBtn2"_s);
    QVERIFY(undoOffered(w));
    QCOMPARE(scores(s.s.db), (QVariantList{12.5, 19.0, 22.25}));
    QVERIFY(statuses(s.s.db) != before);
    const int changed = changedRows(before, statuses(s.s.db));

    click(&w, u"BitBtn5"_s);
    QCOMPARE(seam.texts(), QStringList{undoText(changed, 0)});
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Information);
    QCOMPARE(statuses(s.s.db), before);
    const QVariantList scoresAfter = scores(s.s.db);
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(scoresAfter.at(k).isNull(), scoresBefore.at(k).isNull());
        QCOMPARE(scoresAfter.at(k).toDouble(), scoresBefore.at(k).toDouble());
    }
    if (!emptyScores)
        QCOMPARE(s.s.db.scalar(u"SELECT Winner = 21.000000000000004 AND Winner <> 21 FROM vzl_educationallist_reg WHERE id=10"_s).toInt(), 1);
    QVERIFY(!undoOffered(w));
    // the boxes show the scores put back, the preview the statuses put back
    QCOMPARE(textOf(&w, u"EditWinner"_s), emptyScores ? QString() : u"21"_s);
    QCOMPARE(w.preview()->setByHand().value(15), 1);
    QCOMPARE(DataZRT->GETcreateRatingReg->FieldByName(u"nameStatus"_s).asString(), u"Кандидат в участники"_s);
}

void TestRatingUndo::rowChangedSinceIsLeft()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    const StatusMap before = statuses(s.s.db);
    typeScores(w, u"11"_s, u"19"_s, u"23"_s);
    click(&w, u"BitBtn2"_s);
    const int changed = changedRows(before, statuses(s.s.db));
    QCOMPARE(statuses(s.s.db).value(1), 7);
    QCOMPARE(statuses(s.s.db).value(3), 4);
    // this window marks Волков (3) absent; another user changes Абрамов (1) and the winner score
    QVERIFY(DataZRT->GETcreateRatingReg->Locate(u"id"_s, 3));
    w.PopupStatus()->findChild<QAction*>(u"N5"_s)->trigger();
    s.s.db.exec(u"UPDATE vzl_application_reg SET statusparticipantID=4 WHERE id=1"_s);
    s.s.db.exec(u"UPDATE vzl_educationallist_reg SET Winner=24 WHERE id=10"_s);
    QVERIFY(undoOffered(w)); // a status from the menu is a change of rows, not of the choice

    click(&w, u"BitBtn5"_s);
    QCOMPARE(seam.texts(), QStringList{undoText(changed - 2, 2, TUndoResult::Scores::Left)});
    StatusMap expected = before;
    expected[1] = 4;
    expected[3] = 15;
    QCOMPARE(statuses(s.s.db), expected);
    QCOMPARE(scores(s.s.db), (QVariantList{11.0, 19.0, 24.0}));
    QCOMPARE(textOf(&w, u"EditWinner"_s), u"23"_s); // the boxes keep what was typed

    // the same scores applied again: undoing leaves the scores out of it
    seam.clear();
    typeScores(w, u"11"_s, u"19"_s, u"24"_s);
    click(&w, u"BitBtn2"_s);
    const int again = changedRows(expected, statuses(s.s.db));
    click(&w, u"BitBtn5"_s);
    QCOMPARE(seam.texts(), QStringList{undoText(again, 0, TUndoResult::Scores::Unchanged)});
    QCOMPARE(statuses(s.s.db), expected);
}

void TestRatingUndo::failingUndoChangesNothing()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    typeScores(w, u"11"_s, u"19"_s, u"23"_s);
    click(&w, u"BitBtn2"_s);
    const StatusMap applied = statuses(s.s.db);
    // the database refuses to give Борисова (2) her "Не прибыл" back, after other rows went back
    s.s.db.exec(u"CREATE TRIGGER no_absent BEFORE UPDATE ON vzl_application_reg FOR EACH ROW "
                "BEGIN IF NEW.statusparticipantID = 15 THEN "
                "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Возврат не принят'; END IF; END"_s);
    click(&w, u"BitBtn5"_s);
    QCOMPARE(seam.messages.size(), 1);
    QVERIFY2(seam.texts().first().contains(u"Возврат не принят"_s), qPrintable(seam.texts().first()));
    QCOMPARE(statuses(s.s.db), applied);
    QCOMPARE(scores(s.s.db), (QVariantList{11.0, 19.0, 23.0}));
    QVERIFY(undoOffered(w)); // it can be tried again

    s.s.db.exec(u"DROP TRIGGER no_absent"_s);
    seam.clear();
    click(&w, u"BitBtn5"_s);
    QCOMPARE(seam.texts(), QStringList{undoText(11, 0)});
    QCOMPARE(statuses(s.s.db).value(2), 15);
    QCOMPARE(scores(s.s.db), (QVariantList{10.0, 20.0, 21.0}));
}

void TestRatingUndo::offeredUntilEventOrClassesChange()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    click(&w, u"BitBtn2"_s);
    QVERIFY(undoOffered(w));
    find<QRadioButton>(&w, u"RadioGender1"_s)->click(); // a filter is no change of the rows applied to
    w.DBLookupComboBox1KeyUp(Qt::Key_Shift);             // nor a key that keeps the event
    QVERIFY(undoOffered(w));
    find<QCheckBox>(&w, u"CheckBox10"_s)->click();
    QVERIFY(!undoOffered(w));

    click(&w, u"BitBtn2"_s);
    QVERIFY(undoOffered(w));
    auto* combo = find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s);
    combo->chooseIndex(1); // Физика
    w.DBLookupComboBox1CloseUp();
    QVERIFY(!undoOffered(w));
    QCOMPARE(seam.texts(), QStringList());
}

void TestRatingUndo::manyRowsInSeveralStatements()
{
    const QList<QStringList> statements = restoreStatusSql(10, 15, {3, 8, 21}, 2);
    QCOMPARE(statements.size(), 2);
    QCOMPARE(statements.at(0).last(), u"WHERE `statusparticipantID`=10 and `id` in (3,8)"_s);
    QCOMPARE(statements.at(1).last(), u"WHERE `statusparticipantID`=10 and `id` in (21)"_s);
    QVERIFY(restoreStatusSql(10, 15, {}).isEmpty());
}

QTEST_MAIN(TestRatingUndo)
#include "test_rating_undo.moc"
