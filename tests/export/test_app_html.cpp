// The short and the full application as HTML files: the text byte for byte
// (windows-1251, CR LF, escaping, characters outside the code page), the red
// mark, the progress reported, and files that appear whole or not at all.

#include "data/Errors.h"
#include "export/AppColumns.h"
#include "export/AppHtml.h"
#include "export/SaveFile.h"
#include "support/RecordingProgress.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString AllEvents = u"В отчете отобразить ВСЕ общеобразовательные мероприятия"_s;

// A field text as it comes from the database and as the file must show it.
struct Cell {
    QString text;
    QString html;
};

// The file's bytes from its lines as they should read.
QByteArray fileOf(const QStringList& lines)
{
    QStringEncoder encoder("windows-1251");
    QByteArray bytes = encoder.encode(lines.join(u"\r\n"_s) + u"\r\n"_s);
    if (encoder.hasError())
        qFatal("expected text outside windows-1251");
    return bytes;
}

QStringList headLines()
{
    return {
        u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"_s,
        u"<html>"_s,
        u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"_s,
        u"<form Name=\"resultTest\">"_s,
        u"<head>"_s,
        u"<title>Тальвира</title>"_s,
        u"</head>"_s,
        u"<body>"_s,
        u"<table align=\"CENTER\" border=\"1\" cellspacing=\"0\" cellpadding=\"0\">"_s,
    };
}

const QStringList TailLines = {u"</table>"_s, u"</body>"_s, u"</form>"_s, u"</html>"_s};

QStringList shortHeader(const QString& eventHtml)
{
    QStringList l = headLines();
    l << u"<tr>"_s << u"<th colspan=\"20\">Министерство образования Велградской области</th>"_s << u"</tr>"_s;
    l << u"<tr>"_s << u"<th colspan=\"20\">Образовательный центр \"Кассиор\"</th>"_s << u"</tr>"_s;
    l << u"<tr>"_s
      << u"<th colspan=\"20\">"_s + eventHtml
             + u". Краткая заявка на проживание (участие) в общеобразовательном региональном мероприятии.</th>"_s
      << u"</tr>"_s;
    l << u"<tr>"_s << u"<th colspan=\"10\">Участник</th>"_s
      << u"<th colspan=\"10\" bgcolor=\"FFFFCC\">Сопровождающий</th>"_s << u"</tr>"_s;
    l << u"<tr>"_s;
    for (const char16_t* t : {u"№ п/п", u"Мероприятие", u"Фамилия", u"Имя", u"Отчество", u"Площадка проведения",
                              u"Отметка о необходимости проживания участника в гостинице", u"Дата заезда участника",
                              u"Дата отъезда участника", u"Сотовый телефон участника"})
        l << u"<th>"_s + QString::fromUtf16(t) + u"</th>"_s;
    for (const char16_t* t : {u"Фамилия", u"Имя", u"Отчество", u"Отметка о необходимости проживания в гостинице",
                              u"Должность", u"Образовательная организация", u"Электронная почта", u"Сотовый телефон",
                              u"Дата заезда сопровождающего", u"Дата отъезда сопровождающего"})
        l << u"<th bgcolor=\"FFFFCC\">"_s + QString::fromUtf16(t) + u"</th>"_s;
    l << u"</tr>"_s;
    return l;
}

QStringList fullHeader(const QString& eventHtml)
{
    QStringList l = headLines();
    l << u"<tr>"_s << u"<th colspan=\"38\">Министерство образования Велградской области</th>"_s << u"</tr>"_s;
    l << u"<tr>"_s << u"<th colspan=\"38\">Образовательный центр \"Кассиор\"</th>"_s << u"</tr>"_s;
    l << u"<tr>"_s
      << u"<th colspan=\"38\">"_s + eventHtml
             + u". Детализированная заявка на проживание (участие) в общеобразовательном мероприятии регионального этапа.</th>"_s
      << u"</tr>"_s;
    l << u"<tr>"_s << u"<th colspan=\"21\">Участник</th>"_s
      << u"<th colspan=\"7\" bgcolor=\"FFFFCC\">Учитель (наставник), подготовивший участника</th>"_s
      << u"<th colspan=\"10\">Сопровождающий</th>"_s << u"</tr>"_s;
    l << u"<tr>"_s;
    for (const char16_t* t : {u"№ п/п", u"Фамилия", u"Имя", u"Отчество", u"Пол", u"Дата рождения",
                              u"Наличие гражданства РФ", u"Ограниченные возможности здоровья",
                              u"Полное название общеобразовательного учреждения по уставу", u"Класс обучения",
                              u"Статус участника", u"Результат", u"Адрес общеобразовательного учреждения",
                              u"Сокр. название ОУ", u"Площадка проведения", u"Класс, за который выступал", u"Предмет",
                              u"Необходимость проживания в гостинице", u"Дата заезда участника",
                              u"Дата отъезда участника", u"Сотовый телефон участника"})
        l << u"<th>"_s + QString::fromUtf16(t) + u"</th>"_s;
    for (const char16_t* t : {u"Статус", u"Фамилия", u"Имя", u"Отчество", u"Место работы", u"Должность",
                              u"Муниципальное образование"})
        l << u"<th bgcolor=\"FFFFCC\">"_s + QString::fromUtf16(t) + u"</th>"_s;
    for (const char16_t* t : {u"Фамилия", u"Имя", u"Отчество", u"Необходимость проживания в гостинице", u"Должность",
                              u"Образовательная организация", u"электронная почта", u"Сотовый телефон",
                              u"Дата заезда сопровождающего", u"Дата отъезда сопровождающего"})
        l << u"<th>"_s + QString::fromUtf16(t) + u"</th>"_s;
    l << u"</tr>"_s;
    return l;
}

// The opening and closing of the data cells of columns B onward.
struct Form {
    QString open;
    QString close;
};

QList<Form> shortForms()
{
    const Form plain{u"<td>"_s, u"</td>"_s};
    const Form centred{u"<td align=\"center\">"_s, u"</td>"_s};
    const Form tinted{u"<td bgcolor=\"FFFFCC\">"_s, u"</td>"_s};
    const Form tintedCentred{u"<td bgcolor=\"FFFFCC\" align=\"center\">"_s, u"</td>"_s};
    //      B      C      D      E      F      G        H      I      J
    return {plain, plain, plain, plain, plain, centred, plain, plain, plain,
            // K    L       M       N              O       P       Q       R       S       T
            tinted, tinted, tinted, tintedCentred, tinted, tinted, tinted, tinted, tinted, tinted};
}

QList<Form> fullForms(bool red)
{
    const Form plain{u"<td>"_s, u"</td>"_s};
    const Form centred{u"<td align=\"center\">"_s, u"</td>"_s};
    const Form mark = red ? Form{u"<td><Font color=\"red\">"_s, u"</font></td>"_s} : plain;
    const Form schoolName{u"<td align=\"center\"><font size=\"2\">"_s, u"</font></td>"_s};
    const Form small{u"<td><font size=\"2\">"_s, u"</font></td>"_s};
    const Form teacher{u"<td bgcolor=\"FFFFCC\">"_s, u"</td>"_s};
    const Form teacherSmall{u"<td bgcolor=\"FFFFCC\"><font size=\"2\">"_s, u"</font></td>"_s};
    //      B      C      D      E        F      G        H     I           J        K      L      M
    return {plain, plain, plain, centred, plain, centred, mark, schoolName, centred, plain, plain, small,
            // N    O      P        Q      R        S      T      U
            plain, plain, centred, plain, centred, plain, plain, plain,
            // V     W        X        Y        Z             AA       AB
            teacher, teacher, teacher, teacher, teacherSmall, teacher, teacher,
            // AC   AD     AE     AF       AG     AH     AI     AJ     AK     AL
            plain, plain, plain, centred, plain, small, plain, plain, plain, plain};
}

QStringList rowLines(int k, const QList<Cell>& cells, const QList<Form>& forms)
{
    QStringList l{u"<tr>"_s, u"<td>%1.</td>"_s.arg(k)};
    for (qsizetype i = 0; i < cells.size(); ++i)
        l << forms[i].open + cells[i].html + forms[i].close;
    l << u"</tr>"_s;
    return l;
}

QStringList textsOf(const QList<Cell>& cells)
{
    QStringList t;
    for (const Cell& c : cells)
        t << c.text;
    return t;
}

// Plain texts "<prefix> <column number>" for columns 2 to n.
QList<Cell> plainCells(int columns, const QString& prefix)
{
    QList<Cell> cells;
    for (int n = 2; n <= columns; ++n)
        cells << Cell{prefix + u" %1"_s.arg(n), prefix + u" %1"_s.arg(n)};
    return cells;
}

QByteArray written(const TAppForm& form, const QString& eventName, const QList<QStringList>& rows,
                   TProgressSink& progress, int count = -1)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeAppHtml(buffer, form, eventName, count < 0 ? int(rows.size()) : count, appRows(rows), progress);
    return buffer.data();
}

QString letters(int n)
{
    QString s;
    for (; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

} // namespace

class TestAppHtml : public QObject {
    Q_OBJECT

private slots:
    void shortApplication()
    {
        // Texts that HTML or windows-1251 cannot take as they are.
        QList<Cell> first = plainCells(20, u"Первый"_s);
        first[0] = {u"Химия & <физика>"_s, u"Химия &amp; &lt;физика&gt;"_s};
        first[1] = {u"О\"Нил"_s, u"О&quot;Нил"_s};
        first[2] = {u"Ёлка ✓"_s, u"Ёлка &#10003;"_s};
        first[3] = {u"李 😀"_s, u"&#26446; &#128512;"_s};
        first[5] = {u"Да"_s, u"Да"_s};
        first[6] = {u""_s, u""_s};
        first[12] = {u"Не опр."_s, u"Не опр."_s};
        first[15] = {u"a&b@школа.рф"_s, u"a&amp;b@школа.рф"_s};
        const QList<Cell> second = plainCells(20, u"Второй"_s);

        RecordingProgress progress;
        const QByteArray file = written(shortApp(), AllEvents, {textsOf(first), textsOf(second)}, progress);

        const QStringList lines = shortHeader(AllEvents) + rowLines(1, first, shortForms())
                                  + rowLines(2, second, shortForms()) + TailLines;
        QCOMPARE(file, fileOf(lines));
    }

    void fullApplication()
    {
        QList<Cell> first = plainCells(38, u"Первый"_s);
        first[0] = {u"<b>Иванов</b>"_s, u"&lt;b&gt;Иванов&lt;/b&gt;"_s};
        first[6] = {u"Имеются"_s, u"Имеются"_s};
        first[7] = {u"Лицей \"Сигма\" №1 ✓"_s, u"Лицей &quot;Сигма&quot; №1 &#10003;"_s};
        for (int i = 20; i <= 25; ++i)
            first[i] = {u""_s, u""_s};
        QList<Cell> second = plainCells(38, u"Второй"_s);
        second[0] = {u"Имеются"_s, u"Имеются"_s};
        second[6] = {u"Не имеются"_s, u"Не имеются"_s};

        RecordingProgress progress;
        const QString event = u"Право & <экономика>"_s;
        const QByteArray file = written(fullApp(), event, {textsOf(first), textsOf(second)}, progress);

        const QStringList lines = fullHeader(u"Право &amp; &lt;экономика&gt;"_s) + rowLines(1, first, fullForms(true))
                                  + rowLines(2, second, fullForms(false)) + TailLines;
        QCOMPARE(file, fileOf(lines));
    }

    void redOnlyForExactText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("red");
        QTest::newRow("present") << u"Имеются"_s << true;
        QTest::newRow("absent") << u"Не имеются"_s << false;
        QTest::newRow("unknown") << u"Не опр."_s << false;
        QTest::newRow("trailing blank") << u"Имеются "_s << false;
        QTest::newRow("empty") << u""_s << false;
    }
    void redOnlyForExactText()
    {
        QFETCH(QString, text);
        QFETCH(bool, red);
        QStringList row = textsOf(plainCells(38, u"x"_s));
        row[6] = text;
        TNullProgress none;
        const QByteArray file = written(fullApp(), u"Химия"_s, {row}, none);
        QCOMPARE(file.count("color=\"red\""), red ? 1 : 0);
    }

    void emptyApplication_data()
    {
        QTest::addColumn<bool>("full");
        QTest::newRow("short") << false;
        QTest::newRow("full") << true;
    }
    void emptyApplication()
    {
        QFETCH(bool, full);
        RecordingProgress progress;
        const QByteArray file = written(full ? fullApp() : shortApp(), u"Химия"_s, {}, progress);
        const QStringList header = full ? fullHeader(u"Химия"_s) : shortHeader(u"Химия"_s);
        QCOMPARE(file, fileOf(header + TailLines));
        QCOMPARE(progress.calls, (QStringList{u"range 0 0"_s, u"text Импорт данных..."_s, u"position 0"_s, u"hide"_s}));
    }

    void progressPerRow()
    {
        RecordingProgress progress;
        QString stepAtFirstRow;
        const QStringList row = textsOf(plainCells(20, u"x"_s));
        int given = 0;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        // The bar's maximum is the count the caller gives, whatever the rows turn out to be.
        writeAppHtml(buffer, shortApp(), u"Химия"_s, 5, [&](QStringList& texts) {
            if (given == 0)
                stepAtFirstRow = progress.calls.last();
            if (given == 2)
                return false;
            ++given;
            texts = row;
            return true;
        }, progress);
        QCOMPARE(stepAtFirstRow, u"text Импорт данных..."_s);
        QCOMPARE(progress.calls, (QStringList{u"range 0 5"_s, u"text Импорт данных..."_s, u"position 1"_s,
                                              u"position 2"_s, u"position 0"_s, u"hide"_s}));
        QVERIFY(!progress.visible);
    }

    void rowOfWrongLengthFails()
    {
        TNullProgress none;
        QStringList row = textsOf(plainCells(20, u"x"_s));
        row.removeLast();
        QVERIFY_THROWS_EXCEPTION(EError, written(shortApp(), u"Химия"_s, {row}, none));
    }

    void deviceThatRefusesFails()
    {
        QBuffer buffer;
        buffer.open(QIODevice::ReadOnly);
        TNullProgress none;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"ReadOnly device"_s));
        QVERIFY_THROWS_EXCEPTION(EError, writeAppHtml(buffer, shortApp(), u"Химия"_s, 0, appRows({}), none));
    }

    void savedFileAppearsWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"(0)Краткая_заявка_(Химия)_17.09.2024.html"_s);
        TNullProgress none;
        const QStringList row = textsOf(plainCells(20, u"x"_s));
        saveFile(path, [&](QIODevice& f) { writeAppHtml(f, shortApp(), u"Химия"_s, 1, appRows({row}), none); });
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written(shortApp(), u"Химия"_s, {row}, none));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(path).fileName()});
    }

    void failedWriteLeavesNoFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("rowsFail");
        QTest::newRow("rows fail midway") << u"a.html"_s << true;
        QTest::newRow("missing folder") << u"missing/a.html"_s << false;
        QTest::newRow("name of a folder") << u"folder"_s << false;
    }
    void failedWriteLeavesNoFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, rowsFail);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        const QString path = dir.filePath(name);
        const QStringList row = textsOf(plainCells(38, u"x"_s));
        // Enough rows before the failure that part of the text has reached the disk.
        int given = 0;
        const TAppRowReader rows = [&](QStringList& texts) {
            if (rowsFail && given == 2000)
                throw EDatabaseError(u"Lost connection to server during query"_s, 2013);
            ++given;
            texts = row;
            return given <= 3000;
        };
        TNullProgress none;
        const auto save = [&] {
            saveFile(path, [&](QIODevice& f) { writeAppHtml(f, fullApp(), u"Химия"_s, 3000, rows, none); });
        };
        if (rowsFail)
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, save());
        else
            QVERIFY_THROWS_EXCEPTION(EError, save());
        QVERIFY(!QFileInfo(path).isFile());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"folder"_s});
        QVERIFY(QDir(dir.filePath(u"folder"_s)).isEmpty());
    }

    // What the HTML file does not show: the spreadsheet's widths and cell forms.
    void sheetLayout_data()
    {
        QTest::addColumn<bool>("full");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<QStringList>("turned");
        QTest::addColumn<QStringList>("centred");
        QTest::addColumn<QStringList>("small");
        QTest::addColumn<QStringList>("marked");
        QTest::newRow("short") << false
                               << QList<int>{6, 20, 20, 20, 20, 20, 8, 12, 12, 14, 20, 20, 20, 10, 20, 20, 15, 12, 12, 12}
                               << QStringList{"G", "N"} << QStringList{} << QStringList{} << QStringList{};
        QTest::newRow("full") << true
                              << QList<int>{6,  15, 15, 15, 5,  12, 8,  12, 25, 6,  25, 6,  25,
                                            20, 15, 8,  15, 8,  12, 12, 15, 15, 15, 15, 15, 25,
                                            15, 16, 15, 15, 15, 8,  15, 25, 20, 12, 12, 12}
                              << QStringList{"G", "H", "J", "K", "L", "N", "P", "R", "AF"}
                              << QStringList{"E", "G", "J", "P", "R", "AF"} << QStringList{"I", "M", "Z", "AH"}
                              << QStringList{"H"};
    }
    void sheetLayout()
    {
        QFETCH(bool, full);
        QFETCH(QList<int>, widths);
        QFETCH(QStringList, turned);
        QFETCH(QStringList, centred);
        QFETCH(QStringList, small);
        QFETCH(QStringList, marked);
        const TAppForm& form = full ? fullApp() : shortApp();
        QList<int> w;
        QStringList t, c, s, m;
        for (int n = 1; n <= form.columns.size(); ++n) {
            const TAppColumn& col = form.column(n);
            w << col.width;
            if (col.turned) t << letters(n);
            if (col.sheetCentred) c << letters(n);
            if (col.small) s << letters(n);
            if (col.marked) m << letters(n);
        }
        QCOMPARE(w, widths);
        QCOMPARE(t, turned);
        QCOMPARE(c, centred);
        QCOMPARE(s, small);
        QCOMPARE(m, marked);
    }
};

QTEST_GUILESS_MAIN(TestAppHtml)
#include "test_app_html.moc"
