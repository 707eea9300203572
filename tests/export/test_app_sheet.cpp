// The short and the full application as spreadsheets, read back from the saved
// workbook cell by cell: merges, headings, titles, widths, turned titles, fonts,
// fills, borders, the red mark and the small cells, for an empty application and
// one of two rows; the progress reported and the order of the steps; numbers and
// dates typed as such, the print setup, and rows as high as a long school name.

#include "export/AppColumns.h"
#include "export/AppSheet.h"
#include "export/Excel.h"
#include "support/RecordingProgress.h"
#include "support/TextHeight.h"
#include "support/XlsxReader.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The column tables as the application forms define them, written out here
// apart from the program's own tables.
struct Col {
    const char16_t* title;
    int width;
    bool turned = false;
    bool centred = false; // data cells centred (full application)
    bool small = false;   // 8 points (full application)
};

const QList<Col> ShortCols = {
    {u"№ п/п", 6}, {u"Мероприятие", 20}, {u"Фамилия", 20}, {u"Имя", 20}, {u"Отчество", 20},
    {u"Площадка проведения", 20}, {u"Отметка о необходимости проживания участника в гостинице", 8, true},
    {u"Дата заезда участника", 12}, {u"Дата отъезда участника", 12}, {u"Сотовый телефон участника", 14},
    {u"Фамилия", 20}, {u"Имя", 20}, {u"Отчество", 20}, {u"Отметка о необходимости проживания в гостинице", 10, true},
    {u"Должность", 20}, {u"Образовательная организация", 20}, {u"Электронная почта", 15}, {u"Сотовый телефон", 12},
    {u"Дата заезда сопровождающего", 12}, {u"Дата отъезда сопровождающего", 12},
};

const QList<Col> FullCols = {
    {u"№ п/п", 6}, {u"Фамилия", 15}, {u"Имя", 15}, {u"Отчество", 15}, {u"Пол", 5, false, true},
    {u"Дата рождения", 12}, {u"Наличие гражданства РФ", 8, true, true},
    {u"Ограниченные возможности здоровья", 12, true},
    {u"Полное название общеобразовательного учреждения по уставу", 25, false, false, true},
    {u"Класс обучения", 6, true, true}, {u"Статус участника", 25, true}, {u"Результат", 6, true},
    {u"Адрес общеобразовательного учреждения", 25, false, false, true}, {u"Сокр. название ОУ", 20, true},
    {u"Площадка проведения", 15}, {u"Класс, за который выступал", 8, true, true}, {u"Предмет", 15},
    {u"Необходимость проживания в гостинице", 8, true, true}, {u"Дата заезда участника", 12},
    {u"Дата отъезда участника", 12}, {u"Сотовый телефон участника", 15},
    {u"Статус", 15}, {u"Фамилия", 15}, {u"Имя", 15}, {u"Отчество", 15}, {u"Место работы", 25, false, false, true},
    {u"Должность", 15}, {u"Муниципальное образование", 16},
    {u"Фамилия", 15}, {u"Имя", 15}, {u"Отчество", 15}, {u"Необходимость проживания в гостинице", 8, true, true},
    {u"Должность", 15}, {u"Образовательная организация", 25, false, false, true}, {u"электронная почта", 20},
    {u"Сотовый телефон", 12}, {u"Дата заезда сопровождающего", 12}, {u"Дата отъезда сопровождающего", 12},
};

QString ref(int column, int row)
{
    return ColumnName(column) + QString::number(row);
}

// A format as the reader describes it, the parts in its order.
QString fmt(bool bold, bool small, bool red, bool hCentre, const QString& vertical, bool wrap, bool turned, bool tinted)
{
    QStringList p;
    if (bold)
        p << u"bold"_s;
    if (small)
        p << u"size=8"_s;
    if (red)
        p << u"color=FF0000"_s;
    if (hCentre)
        p << u"h=center"_s;
    if (!vertical.isEmpty())
        p << u"v="_s + vertical;
    if (wrap)
        p << u"wrap"_s;
    if (turned)
        p << u"rot=90"_s;
    if (tinted)
        p << u"fill=F9FFB8"_s;
    p << u"border=thin"_s;
    return p.join(u' ');
}

// Data rows with a text per field column; the marked column of the full form
// reads "Имеются" in the first row only; one field of the second row is empty.
QList<QStringList> sampleRows(int columns, int count)
{
    QList<QStringList> rows;
    for (int k = 1; k <= count; ++k) {
        QStringList row;
        for (int n = 2; n <= columns; ++n)
            row << u"т%1-%2"_s.arg(k).arg(n);
        if (columns == 38)
            row[8 - 2] = k == 1 ? u"Имеются"_s : u"Не имеются"_s;
        if (k == 2)
            row[3 - 2].clear();
        rows << row;
    }
    return rows;
}

struct Written {
    QString path;
    QStringList progress;
    bool stepBeforeFirstRow = false;
};

Written write(const QTemporaryDir& dir, const TAppForm& form, int count, QList<QStringList> sample = {})
{
    Written w;
    w.path = dir.filePath(u"(0)заявка.xlsx"_s);
    TExcel xl;
    xl.StartExcel();
    xl.AddWorkbook();
    xl.DisableEvents();
    xl.SetCaption(form.caption);
    RecordingProgress progress;
    const TAppRowReader rows = appRows(sample.isEmpty() ? sampleRows(int(form.columns.size()), count) : sample);
    bool first = true;
    writeAppSheet(xl, form, u"Химия"_s, [&](QStringList& texts) {
        if (first) {
            w.stepBeforeFirstRow = progress.calls == QStringList{u"step Импорт данных..."_s};
            first = false;
        }
        return rows(texts);
    }, progress);
    xl.SaveSheet(w.path);
    w.progress = progress.calls;
    return w;
}

// One row of the application as the export reads it: the display texts of
// the fields in a Russian locale, `values` by column letter, "-" elsewhere.
QStringList rowOf(const TAppForm& form, const QHash<QString, QString>& values)
{
    QStringList row;
    for (int n = 2; n <= form.columns.size(); ++n)
        row << values.value(ColumnName(n), u"-"_s);
    return row;
}

/// The program's locale for the tests of this file.
struct RussianLocale {
    QLocale before;
    RussianLocale() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    ~RussianLocale() { QLocale::setDefault(before); }
};

using Values = QHash<QString, QString>;

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

} // namespace

class TestAppSheet : public QObject {
    Q_OBJECT
private slots:
    void shortSheet_data();
    void shortSheet();
    void fullSheet_data();
    void fullSheet();
    void rowWithWrongFieldCount();
    void typedCells_data();
    void typedCells();
    void printSetup_data();
    void printSetup();
    void longSchoolNameGrowsItsRow();
};

void TestAppSheet::shortSheet_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << 0;
    QTest::newRow("two rows") << 2;
}

void TestAppSheet::shortSheet()
{
    QFETCH(int, count);
    QTemporaryDir dir;
    const Written w = write(dir, shortApp(), count);
    TXlsxReader book(w.path);
    const double size = book.defaultFontSize();
    const int last = 5 + count;

    QCOMPARE(sorted(book.merges()), sorted({u"A1:T1"_s, u"A2:T2"_s, u"A3:T3"_s, u"A4:J4"_s, u"K4:T4"_s}));
    QCOMPARE(book.text(u"A1"_s), u"Министерство образования Велградской области"_s);
    QCOMPARE(book.text(u"A2"_s), u"Образовательный центр \"Кассиор\""_s);
    QCOMPARE(book.text(u"A3"_s),
             u"Химия. Краткая заявка на проживание (участие) в общеобразовательном мероприятии регионального этапа."_s);
    QCOMPARE(book.text(u"A4"_s), u"Участник"_s);
    QCOMPARE(book.text(u"K4"_s), u"Сопровождающий"_s);
    QCOMPARE(book.title(), u"Краткая заявка на участие (проживание) в региональном мероприятии"_s);
    QCOMPARE(book.rowHeight(5), 120.0);
    for (int row = 1; row <= 4; ++row)
        for (int n = 1; n <= 20; ++n)
            QCOMPARE(book.format(ref(n, row)).describe(size),
                     fmt(true, false, false, true, u"center"_s, true, false, row == 4 && n >= 11));

    for (int n = 1; n <= 20; ++n) {
        const Col& c = ShortCols[n - 1];
        const QString title = ref(n, 5);
        QCOMPARE(book.text(title), QString::fromUtf16(c.title));
        QCOMPARE(TXlsxReader::shownWidth(book.columnWidth(n)), double(c.width));
        QCOMPARE(book.format(title).describe(size), fmt(true, false, false, true, u"center"_s, true, c.turned, n >= 11));
        for (int r = 6; r <= last; ++r) {
            const QString at = ref(n, r);
            const QString text = n == 1 ? QString::number(r - 5) : r == 7 && n == 3 ? QString() : u"т%1-%2"_s.arg(r - 5).arg(n);
            QCOMPARE(book.text(at), text);
            // the accompanying person's group is tinted light yellow, nothing else is formatted
            QCOMPARE(book.format(at).describe(size), fmt(false, false, false, false, {}, false, false, n >= 11));
        }
        QVERIFY(!book.hasCell(ref(n, last + 1)));
    }
    QVERIFY(!book.hasCell(u"U5"_s));
    QCOMPARE(book.lastRow(), last);

    QStringList progress = {u"step Импорт данных..."_s};
    for (int k = 1; k <= count; ++k)
        progress << u"position %1"_s.arg(k);
    progress << u"position 0"_s << u"text Форматирование таблицы..."_s;
    QCOMPARE(w.progress, progress);
    QVERIFY(w.stepBeforeFirstRow);
}

void TestAppSheet::fullSheet_data()
{
    shortSheet_data();
}

void TestAppSheet::fullSheet()
{
    QFETCH(int, count);
    QTemporaryDir dir;
    const Written w = write(dir, fullApp(), count);
    TXlsxReader book(w.path);
    const double size = book.defaultFontSize();
    const int last = 5 + count;
    const auto teacher = [](int n) { return n >= 22 && n <= 28; }; // V to AB

    QCOMPARE(sorted(book.merges()),
             sorted({u"A1:AL1"_s, u"A2:AL2"_s, u"A3:AL3"_s, u"A4:U4"_s, u"V4:AB4"_s, u"AC4:AL4"_s}));
    QCOMPARE(book.text(u"A3"_s),
             u"Химия. Детализированная заявка на проживание (участие) в общеобразовательном мероприятии регионального этапа."_s);
    QCOMPARE(book.text(u"A4"_s), u"Участник"_s);
    QCOMPARE(book.text(u"V4"_s), u"Учитель (наставник), подготовивший участника"_s);
    QCOMPARE(book.text(u"AC4"_s), u"Сопровождающий"_s);
    QCOMPARE(book.title(), u"Детализированная заявка на участие (проживание) в региональном этапе"_s);
    QCOMPARE(book.rowHeight(5), 120.0);
    for (int row = 1; row <= 4; ++row)
        for (int n = 1; n <= 38; ++n)
            QCOMPARE(book.format(ref(n, row)).describe(size),
                     fmt(true, false, false, true, u"center"_s, true, false, row == 4 && teacher(n)));

    for (int n = 1; n <= 38; ++n) {
        const Col& c = FullCols[n - 1];
        const QString title = ref(n, 5);
        QCOMPARE(book.text(title), QString::fromUtf16(c.title));
        QCOMPARE(TXlsxReader::shownWidth(book.columnWidth(n)), double(c.width));
        // the titles stay centred both ways, also when the application is empty
        QCOMPARE(book.format(title).describe(size), fmt(true, false, false, true, u"center"_s, true, c.turned, teacher(n)));
        for (int r = 6; r <= last; ++r) {
            const QString at = ref(n, r);
            const int k = r - 5;
            QString text = n == 1 ? QString::number(k) : u"т%1-%2"_s.arg(k).arg(n);
            if (n == 8)
                text = k == 1 ? u"Имеются"_s : u"Не имеются"_s;
            if (k == 2 && n == 3)
                text.clear();
            QCOMPARE(book.text(at), text);
            const bool red = n == 8 && k == 1;
            QCOMPARE(book.format(at).describe(size), fmt(red, c.small, red, c.centred, u"top"_s, true, false, teacher(n)));
        }
        QVERIFY(!book.hasCell(ref(n, last + 1)));
    }
    QVERIFY(!book.hasCell(u"AM5"_s));
    QCOMPARE(book.lastRow(), last);
    QVERIFY(w.stepBeforeFirstRow);
    QCOMPARE(w.progress.last(), u"text Форматирование таблицы..."_s);
}

void TestAppSheet::rowWithWrongFieldCount()
{
    TExcel xl;
    xl.StartExcel();
    xl.AddWorkbook();
    TNullProgress progress;
    QVERIFY_THROWS_EXCEPTION(std::exception,
                             writeAppSheet(xl, shortApp(), u"Химия"_s, appRows({QStringList{u"один"_s}}), progress));
}

void TestAppSheet::typedCells_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<Values>("values");   // by column
    QTest::addColumn<Values>("kinds");    // what the file holds, by column; text elsewhere

    const QString number = u"number"_s;
    const QString date = u"date"_s;
    QTest::newRow("short")
        << false
        << Values{{u"H"_s, u"13.01.2026"_s}, {u"I"_s, u"15.01.2026"_s}, {u"J"_s, u"89001234567"_s},
                                   {u"R"_s, u"+7 (900) 123-45-67"_s}, {u"S"_s, u"12.01.2026"_s}, {u"T"_s, QString()},
                                   {u"Q"_s, u"ivanova@example.org"_s}}
        << Values{{u"A"_s, number}, {u"H"_s, date}, {u"I"_s, date}, {u"S"_s, date}, {u"T"_s, QString()}};
    QTest::newRow("full")
        << true
        << Values{{u"F"_s, u"04.05.2009"_s}, {u"G"_s, u"Россия"_s}, {u"J"_s, u"11"_s},
                                   {u"L"_s, u"45,5"_s}, {u"P"_s, u"10"_s}, {u"S"_s, u"13.01.2026"_s},
                                   {u"T"_s, u"15.01.2026"_s}, {u"U"_s, u"89001234567"_s}, {u"AJ"_s, u"007"_s},
                                   {u"AK"_s, u"12.01.2026"_s}, {u"AL"_s, u"16.01.2026"_s}, {u"M"_s, u"426000, г. Велград"_s}}
        << Values{{u"A"_s, number}, {u"F"_s, date}, {u"J"_s, number}, {u"L"_s, number},
                                   {u"P"_s, number}, {u"S"_s, date}, {u"T"_s, date}, {u"AK"_s, date}, {u"AL"_s, date}};
}

void TestAppSheet::typedCells()
{
    QFETCH(bool, full);
    QFETCH(Values, values);
    QFETCH(Values, kinds);
    RussianLocale russian;
    const TAppForm& form = full ? fullApp() : shortApp();
    QTemporaryDir dir;
    const Written w = write(dir, form, 1, {rowOf(form, values)});
    const TXlsxReader book(w.path);
    for (int n = 1; n <= form.columns.size(); ++n) {
        const QString column = ColumnName(n);
        const QString at = column + u'6';
        QCOMPARE(book.kind(at), kinds.value(column, u"text"_s));
        // what the reader sees is what the application showed
        QCOMPARE(book.text(at), n == 1 ? u"1"_s : values.value(column, u"-"_s));
        QCOMPARE(book.format(at).numberFormat, kinds.value(column) == u"date" ? u"dd.mm.yyyy"_s : QString());
    }
    QCOMPARE(book.value(full ? u"L6"_s : u"H6"_s), full ? u"45.5"_s : u"46035"_s);
    QCOMPARE(book.textMarksOff(), u"A1:%1%2"_s.arg(ColumnName(int(form.columns.size()))).arg(6));
}

void TestAppSheet::printSetup_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("count");
    QTest::newRow("short, empty") << false << 0;
    QTest::newRow("short") << false << 2;
    QTest::newRow("full") << true << 2;
}

void TestAppSheet::printSetup()
{
    QFETCH(bool, full);
    QFETCH(int, count);
    QTemporaryDir dir;
    const TXlsxReader book(write(dir, full ? fullApp() : shortApp(), count).path);
    const TXlsxPrint& p = book.print();
    QCOMPARE(p.paperSize, 9);
    QCOMPARE(p.orientation, u"landscape"_s);
    QVERIFY(p.fitToPage);
    QCOMPARE(p.fitToWidth, 1);
    QCOMPARE(p.fitToHeight, 0);
    QCOMPARE(p.titleRows, u"$4:$5"_s);
    QCOMPARE(p.footer, u"&CСтраница &P из &N"_s);
}

void TestAppSheet::longSchoolNameGrowsItsRow()
{
    RussianLocale russian;
    const QString school = u"Муниципальное бюджетное общеобразовательное учреждение \"Средняя общеобразовательная "
                           "школа № 12 с углублённым изучением отдельных предметов имени героя Советского Союза "
                           "Ивана Петровича Сидорова\" городского округа Велград"_s;
    QTemporaryDir dir;
    const TAppForm& form = fullApp();
    const Written w = write(dir, form, 2, {rowOf(form, {{u"I"_s, school}}), rowOf(form, {{u"I"_s, u"МБОУ СОШ № 2"_s}})});
    const TXlsxReader book(w.path);
    // column I: 25 characters, 8 points
    const int lines = WrappedLines(school, 25, 8);
    QVERIFY2(lines >= 5, qPrintable(QString::number(lines)));
    const double needed = lines * LineHeight(8);
    QVERIFY2(book.rowHeight(6) >= needed && book.rowHeight(6) < needed + LineHeight(8),
             qPrintable(u"%1 for %2 lines"_s.arg(book.rowHeight(6)).arg(lines)));
    // a row whose texts fit keeps the default height; the titles keep theirs
    QCOMPARE(book.rowHeight(7), 0.0);
    QCOMPARE(book.rowHeight(5), 120.0);
}

QTEST_MAIN(TestAppSheet)
#include "test_app_sheet.moc"
