// Diploma images without a database: the texts of each status, where they land
// on the template, the clipped school name, the file names of one run and the
// JPEG files the writer saves, in order, with failures carried back.

#include "data/Codes.h"
#include "data/Errors.h"
#include "diplomas/DiplomaDrawing.h"
#include "diplomas/DiplomaFiles.h"
#include "diplomas/DiplomaWriter.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// An A4 page at 200 dots per inch, in a parchment colour, so that a white
// background under a text shows.
constexpr int W = 1654;
constexpr int H = 2339;
const QRgb kParchment = qRgb(235, 225, 200);

QImage makeTemplate()
{
    QImage t(W, H, QImage::Format_RGB32);
    t.fill(kParchment);
    t.setDotsPerMeterX(7874);
    t.setDotsPerMeterY(7874);
    return t;
}

TDiplomaData participant(int status, const QString& surname = u"Петров"_s)
{
    TDiplomaData d;
    d.eduID = 12;
    d.nameEdu = u"Олимпиада по физике"_s;
    d.year = 2024;
    d.appID = 77;
    d.userID = 345;
    d.statusparticipantID = status;
    d.surname = surname;
    d.name = u"Иван"_s;
    d.patronymic = u"Сергеевич"_s;
    d.classStudy = u"9"_s;
    d.school = u"МБОУ \"СОШ № 1\""_s;
    return d;
}

const TDiplomaFaces& faces()
{
    static const TDiplomaFaces f = TDiplomaFaces::platform();
    return f;
}

bool rowChanged(const QImage& a, const QImage& b, int y)
{
    return memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.bytesPerLine())) != 0;
}

// The smallest rectangle of rows [top, bottom) holding every pixel that differs.
QRect changes(const QImage& drawn, const QImage& templ, int top, int bottom)
{
    QRect r;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (drawn.pixel(x, y) != templ.pixel(x, y))
                r |= QRect(x, y, 1, 1);
    return r;
}

// The smallest rectangle of rows [top, bottom) holding every white pixel.
QRect whiteArea(const QImage& drawn, int top, int bottom)
{
    QRect r;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (drawn.pixel(x, y) == qRgb(255, 255, 255))
                r |= QRect(x, y, 1, 1);
    return r;
}

// Rows drawn in, as runs [first, last].
QList<QPair<int, int>> changedRuns(const QImage& drawn, const QImage& templ)
{
    QList<QPair<int, int>> runs;
    for (int y = 0; y < drawn.height(); ++y) {
        if (!rowChanged(drawn, templ, y))
            continue;
        if (!runs.isEmpty() && runs.last().second == y - 1)
            runs.last().second = y;
        else
            runs.append({y, y});
    }
    return runs;
}

double meanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); row += 4)
        for (int col = 0; col < x.width(); col += 4) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * (x.height() / 4) * (x.width() / 4));
}

} // namespace

class TestDiplomaDrawing : public QObject {
    Q_OBJECT

private slots:
    void statuses_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("winner") << Status::Winner << u"ДИПЛОМ"_s << u"ПОБЕДИТЕЛЯ"_s;
        QTest::newRow("prize-winner") << Status::PrizeWinner << u"ДИПЛОМ"_s << u"ПРИЗЁРА"_s;
        QTest::newRow("participant") << Status::Participant << u"СЕРТИФИКАТ"_s << u"УЧАСТНИКА"_s;
    }

    void statuses()
    {
        QFETCH(int, status);
        QFETCH(QString, first);
        QFETCH(QString, second);
        const QList<TDiplomaText> t = diplomaTexts(participant(status), W, faces());
        QStringList texts;
        for (const TDiplomaText& x : t)
            texts << x.text;
        QCOMPARE(texts, (QStringList{first, second, u"Регистрационный № 12-345-2024"_s, u"Олимпиада по физике"_s,
                                     u"(9 класс)"_s, u"Петров"_s, u"Иван Сергеевич"_s, u"МБОУ \"СОШ № 1\""_s,
                                     u"Велград, 2024 г."_s}));
        QCOMPARE(t[0].font.family(), faces().defaultFace);
        QCOMPARE(t[5].font.family(), u"Times New Roman"_s);
        QVERIFY(t[5].font.bold() && !t[7].font.bold());
    }

    void otherStatusGetsNothing()
    {
        QVERIFY(!diplomaTitle(Status::Candidate));
        QVERIFY_THROWS_EXCEPTION(EError, createTitle(makeTemplate(), participant(Status::NotArrived), faces()));
    }

    // Every row that changes belongs to one text, each text starts at its row,
    // texts 1-7 sit on a white box centred on the page (the registration number
    // at x 377), texts 8-9 are drawn without a background.
    void textsLandAtTheirRows_data() { statuses_data(); }
    void textsLandAtTheirRows()
    {
        QFETCH(int, status);
        const QImage templ = makeTemplate();
        const QImage drawn = createTitle(templ, participant(status), faces());
        QCOMPARE(drawn.size(), templ.size());
        QCOMPARE(drawn.dotsPerMeterX(), 7874);

        // From the top: texts 1, 2, 4, 5, 6, 7, the school, 3 and the last line.
        const QList<QPair<int, int>> runs = changedRuns(drawn, templ);
        QCOMPARE(runs.size(), 9);
        struct Opaque {
            int run, top, pixels;  // pixels: the text's size at 96 per inch
        };
        for (const Opaque& t : {Opaque{0, 710, 85}, Opaque{1, 820, 85}, Opaque{2, 950, 43}, Opaque{3, 1050, 43},
                                Opaque{4, 1150, 43}, Opaque{5, 1250, 43}, Opaque{7, 1733, 21}}) {
            // The white background is the text's box; glyphs may overhang it a little.
            const QRect ink = changes(drawn, templ, runs[t.run].first, runs[t.run].second + 1);
            const QRect box = whiteArea(drawn, runs[t.run].first, runs[t.run].second + 1);
            const QString where = u"text at %1: %2,%3 %4x%5"_s.arg(t.top).arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height());
            QVERIFY2(box.top() == t.top && ink.top() == t.top, qPrintable(where));
            QVERIFY2(box.height() >= t.pixels && box.height() < t.pixels * 3 / 2, qPrintable(where));
            QVERIFY2(box.adjusted(-3, -3, 3, 3).contains(ink), qPrintable(where));
            if (t.top == 1733) {
                QVERIFY2(box.left() == 377, qPrintable(where));
            } else {
                const int left = box.left(), right = W - 1 - box.right();
                QVERIFY2(left - right == 0 || left - right == 1, qPrintable(where));
            }
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    QVERIFY2(drawn.pixel(x, y) != kParchment, qPrintable(where + u": parchment at %1,%2"_s.arg(x).arg(y)));
        }
        // The school name and the last line: glyphs alone, from a little below their rows.
        for (const auto& [run, top] : {std::pair{6, 1350}, std::pair{8, 2245}}) {
            const QString where = u"text at %1: rows %2-%3"_s.arg(top).arg(runs[run].first).arg(runs[run].second);
            QVERIFY2(runs[run].first >= top && runs[run].first < top + 20 && runs[run].second < top + 60, qPrintable(where));
            for (int y = runs[run].first; y <= runs[run].second; ++y)
                for (int x = 0; x < W; ++x)
                    QVERIFY2(drawn.pixel(x, y) != qRgb(255, 255, 255), qPrintable(where));
        }
        QVERIFY(templ.pixel(W / 2, 750) == kParchment);  // the template itself is left as it was
    }

    // A school name too long for its box is wrapped and cut at the box: no
    // pixel changes outside it between the name's row and the registration number.
    void schoolNameIsClipped_data()
    {
        QTest::addColumn<QString>("school");
        QTest::addColumn<bool>("reachesBottom");
        QTest::addColumn<bool>("reachesSides");
        QString many;
        for (int k = 1; k <= 40; ++k)
            many += u"Муниципальное бюджетное общеобразовательное учреждение № %1 "_s.arg(k);
        QTest::newRow("many words") << many << true << false;
        QTest::newRow("one long word") << QString(200, u'Ж') << false << true;
    }

    void schoolNameIsClipped()
    {
        QFETCH(QString, school);
        QFETCH(bool, reachesBottom);
        QFETCH(bool, reachesSides);
        TDiplomaData d = participant(Status::Winner);
        d.school = school;
        const QImage templ = makeTemplate();
        const QImage drawn = createTitle(templ, d, faces());
        const QRect inside(QPoint(255, 1350), QPoint(W - 256, 1699));
        const QRect ink = changes(drawn, templ, 1310, 1733);
        QVERIFY2(inside.contains(ink), qPrintable(u"%1,%2 %3x%4"_s.arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
        if (reachesBottom)
            QVERIFY(ink.bottom() >= 1699 - 10);
        if (reachesSides)
            QVERIFY(ink.left() == inside.left() && ink.right() == inside.right());
    }

    void fileNames_data()
    {
        QTest::addColumn<QStringList>("people");  // surname¦name¦patronymic
        QTest::addColumn<QStringList>("files");
        QTest::newRow("namesakes") << QStringList{u"Петров¦Иван¦Сергеевич"_s, u"Сидоров¦Иван¦Сергеевич"_s,
                                                  u"Петров¦Иван¦Сергеевич"_s, u"ПЕТРОВ¦иван¦Сергеевич"_s}
                                   << QStringList{u"Петров Иван Сергеевич.jpg"_s, u"Сидоров Иван Сергеевич.jpg"_s,
                                                  u"Петров Иван Сергеевич (2).jpg"_s, u"ПЕТРОВ иван Сергеевич (3).jpg"_s};
        QTest::newRow("a namesake of a numbered name")
            << QStringList{u"А¦Б¦В (2)"_s, u"А¦Б¦В"_s, u"А¦Б¦В"_s}
            << QStringList{u"А Б В (2).jpg"_s, u"А Б В.jpg"_s, u"А Б В (3).jpg"_s};
        QTest::newRow("characters a file cannot hold")
            << QStringList{u"../../etc¦x¦y"_s, u"Ли\\Ю¦Ким:Чен¦*?\"<>|"_s, u"Ан\tна¦\x01¦\n"_s, u"Иванов¦Пётр¦"_s}
            << QStringList{u".._.._etc x y.jpg"_s, u"Ли_Ю Ким_Чен ______.jpg"_s, u"Ан_на _ _.jpg"_s,
                           u"Иванов Пётр .jpg"_s};
    }

    void fileNames()
    {
        QFETCH(QStringList, people);
        QFETCH(QStringList, files);
        const QString folder = u"/tmp/Дипломы/Физика"_s;
        TDiplomaFileNames names(folder);
        QStringList got;
        for (const QString& p : people) {
            const QStringList f = p.split(u'¦');
            const QString path = names.next(f[0], f[1], f[2]);
            QCOMPARE(QFileInfo(path).path(), folder);
            got << QFileInfo(path).fileName();
        }
        QCOMPARE(got, files);
    }

    void folderNames_data()
    {
        QTest::addColumn<QString>("nameEdu");
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << u"Олимпиада по физике 9-11 кл."_s << u"Олимпиада по физике 9-11 кл."_s;
        QTest::newRow("slashes") << u"Физика 9/11 кл.\\лето"_s << u"Физика 9_11 кл._лето"_s;
        QTest::newRow("others") << u"\"Что? Где?\" <Когда>: *|"_s << u"_Что_ Где__ _Когда__ __"_s;
        QTest::newRow("control") << u"Хим\rия\x7f"_s << u"Хим_ия_"_s;
        QTest::newRow("parent") << u".."_s << u"__"_s;
        QTest::newRow("empty") << QString() << u"_"_s;
    }

    void folderNames()
    {
        QFETCH(QString, nameEdu);
        QFETCH(QString, folder);
        QCOMPARE(TDiplomaFileNames::folderName(nameEdu), folder);
    }

    // The writer returns the paths in the order they were added; each file is a
    // real JPEG of its own participant; a file of an earlier run is replaced.
    void writerSavesJpegsInOrder()
    {
        QTemporaryDir dir;
        const QImage templ = makeTemplate();
        const QList<TDiplomaData> people{participant(Status::Winner, u"Алексеев"_s),
                                         participant(Status::PrizeWinner, u"Борисов"_s),
                                         participant(Status::PrizeWinner, u"Алексеев"_s),
                                         participant(Status::Participant, u"Васильев"_s),
                                         participant(Status::Participant, u"Григорьев"_s),
                                         participant(Status::Participant, u"Дмитриев"_s)};
        {
            QFile earlier(dir.path() + u"/Алексеев Иван Сергеевич.jpg"_s);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write("an image of an earlier run");
        }
        TDiplomaFileNames names(dir.path());
        QStringList expected, reported;
        TDiplomaWriter writer(templ, faces(), 2);
        for (const TDiplomaData& d : people) {
            if (writer.full())
                reported << writer.takeNext();
            expected << names.next(d.surname, d.name, d.patronymic);
            writer.add(d, expected.last());
        }
        QCOMPARE(writer.pending(), 4);  // two per worker
        while (writer.pending() > 0)
            reported << writer.takeNext();
        QCOMPARE(reported, expected);
        QCOMPARE(writer.pending(), 0);
        QCOMPARE(QFileInfo(expected[2]).fileName(), u"Алексеев Иван Сергеевич (2).jpg"_s);

        for (int k = 0; k < people.size(); ++k) {
            QImageReader reader(expected[k]);
            QCOMPARE(reader.format(), QByteArray("jpeg"));
            const QImage back = reader.read();
            QCOMPARE(back.size(), templ.size());
            const double own = meanDifference(back, createTitle(templ, people[k], faces()));
            const double other = meanDifference(back, createTitle(templ, people[(k + 1) % people.size()], faces()));
            QVERIFY2(own < 0.5 && own < other, qPrintable(u"%1: %2 vs %3"_s.arg(k).arg(own).arg(other)));
        }
    }

    // A failure comes back as the error it was, after every image added before
    // it; the writer can be used again afterwards.
    void writerCarriesFailureBack_data()
    {
        QTest::addColumn<bool>("badFolder");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder missing") << true << u"Не удалось сохранить файл"_s;
        QTest::newRow("no document for the status") << false << u"статуса участника 15"_s;
    }

    void writerCarriesFailureBack()
    {
        QFETCH(bool, badFolder);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString good = dir.path() + u"/1.jpg"_s;
        const QString bad = badFolder ? dir.path() + u"/нет/2.jpg"_s : dir.path() + u"/2.jpg"_s;
        const TDiplomaData badData = participant(badFolder ? Status::Winner : Status::NotArrived);

        // The worker is held up on a large image while the rest queue behind it.
        TDiplomaWriter writer(makeTemplate(), faces(), 1);
        writer.add(participant(Status::Winner), good);
        writer.add(badData, bad);
        for (int k = 3; k <= 8; ++k)
            writer.add(participant(Status::Winner), dir.path() + u"/%1.jpg"_s.arg(k));

        QStringList reported;
        QString error;
        try {
            while (writer.pending() > 0)
                reported << writer.takeNext();
        } catch (const EError& e) {
            error = e.message();
        }
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(reported, QStringList{good});
        QCOMPARE(writer.pending(), 0);
        QVERIFY(!QFile::exists(dir.path() + u"/8.jpg"_s));  // not started after the failure

        const QString again = dir.path() + u"/again.jpg"_s;
        writer.add(participant(Status::Winner), again);
        QCOMPARE(writer.takeNext(), again);
        QVERIFY(QFile::exists(again));
    }

    void writerNeedsTemplate()
    {
        QVERIFY_THROWS_EXCEPTION(EError, TDiplomaWriter(QImage(), faces()));
    }
};

QTEST_MAIN(TestDiplomaDrawing)
#include "test_diploma_drawing.moc"
