// The preview of the passing scores: its counts are the statuses that applying
// the same scores writes, it follows the boxes without a statement, and its
// histogram holds every result.

#include "ratings/RatingPreview.h"
#include "ratings/RatingRules.h"
#include "data/DataZRT.h"
#include "support/TestDb.h"
#include "support/Ui.h"
#include "RatingFixture.h"

#include <QCheckBox>
#include <QtTest>

namespace {

/// Statements the program's connection has sent so far (this one included).
int statementsSent()
{
    TQuery* q = DataZRT->emptySQL;
    q->Close();
    q->SQL() = QStringList{u"SHOW SESSION STATUS LIKE 'Questions'"_s};
    q->Open();
    const int n = q->value(0, 1).toInt();
    q->Close();
    return n;
}

/// Winners, prize-winners, participants, candidates that the database holds
/// for the rows applying sets (event 10, class 11).
QList<int> storedCounts(TestDb& db, const QString& classes = u"11"_s)
{
    QList<int> n;
    for (int status : {7, 10, 4, 1})
        n << db.scalar(u"SELECT COUNT(*) FROM vzl_application_reg WHERE educationlListID_reg=10 AND periodID=2"
                       " AND levelolimpID=3 AND classStudy IN (%1) AND statusparticipantID=%2"_s.arg(classes).arg(status))
                 .toInt();
    return n;
}

QList<int> shown(const TFormCeateRatingReg& w)
{
    const auto c = w.preview()->counts();
    return c ? QList<int>{c->winners, c->prizeWinners, c->participants, c->candidates} : QList<int>{};
}

} // namespace

class TestRatingPreview : public QObject {
    Q_OBJECT
private slots:
    void countsAreWhatApplyingWrites_data();
    void countsAreWhatApplyingWrites();
    void dashForNoNumberOrWrongOrder_data();
    void dashForNoNumberOrWrongOrder();
    void typingRunsNoStatement();
    void followsTheClasses();
    void histogram();
};

void TestRatingPreview::countsAreWhatApplyingWrites_data()
{
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QList<int>>("counts");
    QTest::newRow("10 to 20, winner 21") << false << QStringList{u"10"_s, u"20"_s, u"21"_s} << QList<int>{3, 4, 2, 2};
    QTest::newRow("10,5 to 20, winner 21") << true << QStringList{u"10,5"_s, u"20"_s, u"21"_s} << QList<int>{3, 2, 4, 2};
    // Every bound equal to a result: 9.5, 20.5 and 25.
    QTest::newRow("9,5 to 20,5, winner 25") << true << QStringList{u"9,5"_s, u"20,5"_s, u"25"_s} << QList<int>{2, 6, 1, 2};
    QTest::newRow("1 to 2, winner 2,5") << true << QStringList{u"1"_s, u"2"_s, u"2,5"_s} << QList<int>{9, 0, 0, 2};
}

void TestRatingPreview::countsAreWhatApplyingWrites()
{
    QFETCH(bool, russian);
    QFETCH(QStringList, boxes);
    QFETCH(QList<int>, counts);
    LocaleFor locale(russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c());
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    typeScores(w, boxes.at(0), boxes.at(1), boxes.at(2));
    QCOMPARE(shown(w), counts);
    click(&w, u"BitBtn2"_s);
    QCOMPARE(seam.texts(), QStringList());
    QCOMPARE(storedCounts(s.s.db), counts);
    QCOMPARE(shown(w), counts); // applying changes no result
}

void TestRatingPreview::dashForNoNumberOrWrongOrder_data()
{
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("empty") << QStringList{QString(), u"20"_s, u"21"_s};
    QTest::newRow("letters") << QStringList{u"10"_s, u"20"_s, u"2l"_s};
    QTest::newRow("20 to 10") << QStringList{u"20"_s, u"10"_s, u"21"_s};
    QTest::newRow("winner 20") << QStringList{u"10"_s, u"20"_s, u"20"_s};
}

void TestRatingPreview::dashForNoNumberOrWrongOrder()
{
    QFETCH(QStringList, boxes);
    Session s;
    TFormCeateRatingReg w;
    QCOMPARE(w.preview()->lines(), (QStringList{u"Победители: 3 (33.3 %)"_s, u"Призеры: 4 (44.4 %)"_s,
                                                u"Участники: 2 (22.2 %)"_s, u"Кандидаты: 2 (22.2 %)"_s}));
    typeScores(w, boxes.at(0), boxes.at(1), boxes.at(2));
    QVERIFY(!w.preview()->counts());
    QCOMPARE(w.preview()->lines(), (QStringList{u"Победители: —"_s, u"Призеры: —"_s, u"Участники: —"_s,
                                                u"Кандидаты: —"_s}));
}

void TestRatingPreview::typingRunsNoStatement()
{
    LocaleFor locale(QLocale(QLocale::Russian, QLocale::Russia));
    Session s;
    TFormCeateRatingReg w;
    const int before = statementsSent();
    for (const QString& text : {u"1"_s, u"12"_s, u"12,"_s, u"12,5"_s})
        setText(&w, u"EditWinnerMin"_s, text);
    setText(&w, u"EditWinnerMax"_s, u"19"_s);
    setText(&w, u"EditWinner"_s, u"24"_s);
    QCOMPARE(statementsSent() - before, 1); // the count itself
    QCOMPARE(shown(w), (QList<int>{2, 0, 7, 2}));
}

void TestRatingPreview::followsTheClasses()
{
    Session s;
    UiSeam seam;
    TFormCeateRatingReg w;
    find<QCheckBox>(&w, u"CheckBox10"_s)->click();
    QCOMPARE(shown(w), (QList<int>{4, 4, 2, 2})); // 30 in class 10 is a winner
    find<QCheckBox>(&w, u"CheckBox10"_s)->click();
    find<QCheckBox>(&w, u"CheckBox11"_s)->click(); // none ticked: applying would set nothing
    QCOMPARE(shown(w), (QList<int>{0, 0, 0, 0}));
}

void TestRatingPreview::histogram()
{
    LocaleFor locale(QLocale(QLocale::Russian, QLocale::Russia));
    QCOMPARE(TResultHistogram::binWidth(100), 5.0);
    QCOMPARE(TResultHistogram::binWidth(25), 2.0);
    QCOMPARE(TResultHistogram::binWidth(0), 1.0);
    Session s;
    TFormCeateRatingReg w;
    const TResultHistogram* h = w.preview()->histogram();
    int total = 0;
    for (const auto& b : h->bins())
        total += b.count;
    QCOMPARE(total, 10); // every row of class 11 with a result, Иванов's included
    QCOMPARE(h->bins().last().count, 2); // the two 25s
    QCOMPARE(h->binText(0), u"от 0 до 2: 1"_s);
    QCOMPARE(h->binText(5), u"от 10 до 12: 3"_s);
}

QTEST_MAIN(TestRatingPreview)
#include "test_rating_preview.moc"
