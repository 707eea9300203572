// The spreadsheet of the exports: what the operations set comes back from the
// written .xlsx file; numbers and dates typed as such, texts as texts; print
// setup; rows as high as their wrapped texts; ranges; refused values; the save
// never leaves a partial or replaced file; the workbook is shown only once it
// was saved.

#include "data/Errors.h"
#include "export/Excel.h"
#include "support/TextHeight.h"
#include "support/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace Qt::Literals::StringLiterals;

using Action = std::function<void(TExcel&)>;
Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(TValueKind)

namespace {

// A small application sheet written the way the exports write theirs: header
// formats given before the header cells are written, row formats after the rows.
void BuildSample(TExcel& xl)
{
    xl.StartExcel();
    xl.AddWorkbook();
    xl.DisableEvents();
    xl.SetCaption(u"Краткая заявка"_s);
    for (const QString& r : {u"A1:T1"_s, u"A2:T2"_s, u"A4:J4"_s, u"K4:T4"_s}) {
        xl.SelectRange(r);
        xl.MergeSelection();
    }
    xl.SelectRange(u"A1:T5"_s);
    xl.WrapSelection();
    xl.BoldSelection();
    xl.AlignSelection(3, 2);
    xl.SetCell(1, 1, u"Министерство образования Велградской области"_s);
    xl.SetCell(2, 1, u"Образовательный центр \"Кассиор\""_s);
    xl.SetCell(4, 1, u"Участник"_s);
    xl.SetCell(4, 11, u"Сопровождающий"_s);
    xl.SetCell(5, 7, u"Пол"_s);
    xl.TurnCellText(u"G5"_s);
    xl.SetRowHeight(5, 120);
    xl.SetColumnWidth(1, 6);
    xl.SetColumnWidth(2, 40);
    xl.SetColumnWidth(3, 12.5);

    for (int r = 6; r <= 7; ++r)
        for (int c = 1; c <= 20; ++c)
            xl.SetCell(r, c, u"%1.%2"_s.arg(r).arg(c));
    xl.SetCell(6, 2, u"007"_s);
    xl.SetCell(6, 3, u"12,5"_s);
    xl.SetCell(6, 4, u"  пробелы  "_s);
    xl.SetCell(6, 5, u"две\nстроки"_s);
    xl.SetCell(6, 6, QString());
    xl.SetCell(6, 8, u"Имеются"_s);
    xl.SetCell(7, 4, u"МБОУ \"Лицей №1\" & <школа>"_s);
    xl.SelectRange(u"H6"_s);
    xl.BoldSelection();
    xl.SetSelectionFontColor(3);
    xl.SelectRange(u"I6"_s);
    xl.SetSelectionFontSize(8);

    xl.SelectRange(u"A6:T7"_s);
    xl.WrapSelection();
    xl.AlignSelection({}, 1);
    xl.SelectRange(u"E5:E7"_s);
    xl.AlignSelection(3);
    xl.SelectRange(u"A5:B5"_s);
    xl.AlignSelection({}, 1);
    xl.FillRange(u"K4"_s, u"T7"_s, 0xB8FFF9);
    xl.BorderRange(u"A1"_s, u"T7"_s);

    xl.SelectRange(u"C9"_s);
    xl.BoldSelection();
    xl.SetSelectionFontColor(5);
    xl.SetCell(9, 3, u"после"_s);
    xl.SelectRange(u"A9"_s, u"B10"_s);
    xl.MergeSelection();
    xl.SetRowHeight(20, 30);
    xl.SelectRange(u"A5"_s);
}

// A started spreadsheet with a workbook.
void Start(TExcel& xl)
{
    xl.StartExcel();
    xl.AddWorkbook();
}

QString Save(TExcel& xl, const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    xl.SaveSheet(path);
    return path;
}

QString ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EExportError& e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cells_data();
    void cells();
    void layout();
    void typedCells_data();
    void typedCells();
    void dateNumberFormat_data();
    void dateNumberFormat();
    void printSetup_data();
    void printSetup();
    void rowHeights();
    void ranges_data();
    void ranges();
    void mergedRangesNeverOverlap();
    void refused_data();
    void refused();
    void failedSaveLeavesNothing_data();
    void failedSaveLeavesNothing();
    void saveNeverReplacesAFile();
    void showOpensOnlyASavedWorkbook();

private:
    QTemporaryDir dir_;
    QString samplePath_;
};

void TestSheet::initTestCase()
{
    QVERIFY(dir_.isValid());
    samplePath_ = dir_.filePath(u"(0)_Краткая_заявка_13.01.2026.xlsx"_s);
    TExcel xl;
    BuildSample(xl);
    xl.SaveSheet(samplePath_);
    QVERIFY(QFile::exists(samplePath_));
}

void TestSheet::cells_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format");

    const QString header = u"bold h=center v=center wrap border=thin"_s;
    QTest::newRow("header cell formatted before it was written")
        << u"A1"_s << u"Министерство образования Велградской области"_s << header;
    QTest::newRow("blank cell of a merged header") << u"T1"_s << QString() << header;
    QTest::newRow("group title over the fill") << u"K4"_s << u"Сопровождающий"_s
                                               << u"bold h=center v=center wrap fill=F9FFB8 border=thin"_s;
    QTest::newRow("turned title") << u"G5"_s << u"Пол"_s << u"bold h=center v=center wrap rot=90 border=thin"_s;
    QTest::newRow("vertical alone keeps the horizontal") << u"A5"_s << QString()
                                                         << u"bold h=center v=top wrap border=thin"_s;
    QTest::newRow("horizontal alone keeps the vertical") << u"E5"_s << QString() << header;
    QTest::newRow("row formatted after it was written") << u"A6"_s << u"6.1"_s << u"v=top wrap border=thin"_s;
    QTest::newRow("digits stay text") << u"B6"_s << u"007"_s << u"v=top wrap border=thin"_s;
    QTest::newRow("decimal comma stays text") << u"C6"_s << u"12,5"_s << u"v=top wrap border=thin"_s;
    QTest::newRow("blanks kept") << u"D6"_s << u"  пробелы  "_s << u"v=top wrap border=thin"_s;
    QTest::newRow("line break, centred column") << u"E6"_s << u"две\nстроки"_s << u"h=center v=top wrap border=thin"_s;
    QTest::newRow("XML signs") << u"D7"_s << u"МБОУ \"Лицей №1\" & <школа>"_s << u"v=top wrap border=thin"_s;
    QTest::newRow("empty text") << u"F6"_s << QString() << u"v=top wrap border=thin"_s;
    QTest::newRow("bold red mark") << u"H6"_s << u"Имеются"_s << u"bold color=FF0000 v=top wrap border=thin"_s;
    QTest::newRow("small cell") << u"I6"_s << u"6.9"_s << u"size=8 v=top wrap border=thin"_s;
    QTest::newRow("filled cell") << u"K6"_s << u"6.11"_s << u"v=top wrap fill=F9FFB8 border=thin"_s;
    QTest::newRow("last cell of the borders") << u"T7"_s << u"7.20"_s << u"v=top wrap fill=F9FFB8 border=thin"_s;
    QTest::newRow("formatted, then written, outside the table") << u"C9"_s << u"после"_s << u"bold color=0000FF"_s;
    QTest::newRow("beside the table") << u"U7"_s << QString() << QString();
}

void TestSheet::cells()
{
    QFETCH(QString, cell);
    QFETCH(QString, text);
    QFETCH(QString, format);
    const TXlsxReader book(samplePath_);
    QCOMPARE(book.text(cell), text);
    QCOMPARE(book.format(cell).describe(book.defaultFontSize()), format);
    if (!text.isEmpty())
        QVERIFY2(book.type(cell) == u"s" || book.type(cell) == u"inlineStr", qPrintable(book.type(cell)));
    QCOMPARE(book.hasCell(cell), !format.isEmpty());
}

void TestSheet::layout()
{
    const TXlsxReader book(samplePath_);
    QStringList merges = book.merges();
    merges.sort();
    QCOMPARE(merges, (QStringList{u"A1:T1"_s, u"A2:T2"_s, u"A4:J4"_s, u"A9:B10"_s, u"K4:T4"_s}));
    // The file stores a width with the padding (6 as 6.71); the user sees 6.
    const QList<std::pair<int, double>> widths{{1, 6}, {2, 40}, {3, 12.5}};
    for (const auto& [column, width] : widths) {
        QVERIFY2(qAbs(TXlsxReader::shownWidth(book.columnWidth(column)) - width) < 1.0 / 7, qPrintable(QString::number(column)));
        QVERIFY(book.columnWidth(column) > width);
    }
    QCOMPARE(book.columnWidth(4), 0.0);
    QCOMPARE(book.rowHeight(5), 120.0);
    QCOMPARE(book.rowHeight(20), 30.0);
    // two lines: the line break in E6
    QCOMPARE(book.rowHeight(6), 30.0);
    QCOMPARE(book.lastRow(), 9);
    QCOMPARE(book.title(), u"Краткая заявка"_s);
}

void TestSheet::typedCells_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<TValueKind>("field");
    QTest::addColumn<QString>("text");       // as the user sees the field's value
    QTest::addColumn<QString>("kind");       // what the file holds: text, number, date, "" blank
    QTest::addColumn<QString>("value");      // as stored
    QTest::addColumn<QString>("format");     // the number format, empty for the general one

    const QString ru = u"ru_RU"_s;
    const auto N = TValueKind::Number;
    const auto D = TValueKind::Date;
    const auto T = TValueKind::Text;
    QTest::newRow("result with decimals") << ru << N << u"45,5"_s << u"number"_s << u"45.5"_s << QString();
    QTest::newRow("whole result") << ru << N << u"25"_s << u"number"_s << u"25"_s << QString();
    QTest::newRow("many decimals") << ru << N << u"12,125"_s << u"number"_s << u"12.125"_s << QString();
    QTest::newRow("class") << ru << N << u"11"_s << u"number"_s << u"11"_s << QString();
    QTest::newRow("no result") << ru << N << QString() << QString() << QString() << QString();
    QTest::newRow("text in a number field") << ru << N << u"нет"_s << u"text"_s << u"нет"_s << QString();
    QTest::newRow("point in a Russian number") << ru << N << u"45.5"_s << u"text"_s << u"45.5"_s << QString();
    QTest::newRow("arrival date") << ru << D << u"13.01.2026"_s << u"date"_s << u"46035"_s << u"dd.mm.yyyy"_s;
    QTest::newRow("birthday") << ru << D << u"01.03.2010"_s << u"date"_s << u"40238"_s << u"dd.mm.yyyy"_s;
    QTest::newRow("no date") << ru << D << QString() << QString() << QString() << QString();
    QTest::newRow("not a date") << ru << D << u"31.02.2026"_s << u"text"_s << u"31.02.2026"_s << QString();
    QTest::newRow("date before March 1900") << ru << D << u"28.02.1900"_s << u"text"_s << u"28.02.1900"_s << QString();
    QTest::newRow("phone") << ru << T << u"89001234567"_s << u"text"_s << u"89001234567"_s << QString();
    QTest::newRow("registration number") << ru << T << u"007"_s << u"text"_s << u"007"_s << QString();
    QTest::newRow("label") << ru << T << u"1."_s << u"text"_s << u"1."_s << QString();
    QTest::newRow("postcode") << ru << T << u"426000"_s << u"text"_s << u"426000"_s << QString();
    QTest::newRow("diploma number") << ru << T << u"10-1001-2026"_s << u"text"_s << u"10-1001-2026"_s << QString();
    QTest::newRow("date in a text field") << ru << T << u"13.01.2026"_s << u"text"_s << u"13.01.2026"_s << QString();
    const QString us = u"en_US"_s;
    QTest::newRow("English result") << us << N << u"45.5"_s << u"number"_s << u"45.5"_s << QString();
    QTest::newRow("English date, two-digit year") << us << D << u"1/13/26"_s << u"date"_s << u"46035"_s << u"m/d/yyyy"_s;
}

void TestSheet::typedCells()
{
    QFETCH(QString, locale);
    QFETCH(TValueKind, field);
    QFETCH(QString, text);
    QFETCH(QString, kind);
    QFETCH(QString, value);
    QFETCH(QString, format);
    const QLocale before;
    QLocale::setDefault(QLocale(locale));
    QTemporaryDir dir;
    TExcel xl;
    Start(xl);
    xl.SetCellAs(2, 3, text, field);
    xl.SelectRange(u"B2:D2"_s);
    xl.BorderRange(u"B2"_s, u"D2"_s);
    const TXlsxReader book(Save(xl, dir, u"typed.xlsx"_s));
    QLocale::setDefault(before);

    QCOMPARE(book.kind(u"C2"_s), kind);
    QCOMPARE(book.value(u"C2"_s), value);
    QCOMPARE(book.format(u"C2"_s).numberFormat, format);
    // the cell keeps its other formats; nothing marks a text as a "number stored as text"
    QCOMPARE(book.format(u"C2"_s).left, u"thin"_s);
    if (kind == u"text")
        QCOMPARE(book.textMarksOff(), u"A1:D2"_s);
}

void TestSheet::dateNumberFormat_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("code");
    QTest::newRow("Russian") << u"ru_RU"_s << u"dd.mm.yyyy"_s;
    QTest::newRow("US English: four-digit years") << u"en_US"_s << u"m/d/yyyy"_s;
    QTest::newRow("German") << u"de_DE"_s << u"dd.mm.yyyy"_s;
    QTest::newRow("ISO-like") << u"sv_SE"_s << u"yyyy-mm-dd"_s;
}

void TestSheet::dateNumberFormat()
{
    QFETCH(QString, locale);
    QFETCH(QString, code);
    QCOMPARE(DateNumberFormat(QLocale(locale)), code);
}

void TestSheet::printSetup_data()
{
    QTest::addColumn<QList<double>>("widths");
    QTest::addColumn<QString>("orientation");
    QTest::newRow("narrow table") << QList<double>{6, 30, 40} << u"portrait"_s;
    QTest::newRow("as wide as a portrait page") << QList<double>{6, 40, 40, 5} << u"portrait"_s;
    QTest::newRow("wider than a portrait page") << QList<double>{6, 40, 40, 5.5} << u"landscape"_s;
    QTest::newRow("rating") << QList<double>{6, 40, 6, 40, 10, 40} << u"landscape"_s;
}

void TestSheet::printSetup()
{
    QFETCH(QList<double>, widths);
    QFETCH(QString, orientation);
    QTemporaryDir dir;
    TExcel xl;
    Start(xl);
    xl.SetCell(1, 1, u"Заголовок"_s);
    xl.PrepareForPrinting(5, 4);
    // widths set after the page setup still decide the orientation
    for (int c = 1; c <= widths.size(); ++c)
        xl.SetColumnWidth(c, widths[c - 1]);
    const TXlsxReader book(Save(xl, dir, u"print.xlsx"_s));
    const TXlsxPrint& p = book.print();
    QCOMPARE(p.paperSize, 9);
    QCOMPARE(p.orientation, orientation);
    QVERIFY(p.fitToPage);
    QCOMPARE(p.fitToWidth, 1);
    QCOMPARE(p.fitToHeight, 0);
    QCOMPARE(p.titleRows, u"$4:$5"_s);
    QCOMPARE(p.footer, u"&CСтраница &P из &N"_s);

    // Without a page setup the sheet prints as a spreadsheet program would.
    TExcel plain;
    Start(plain);
    plain.SetCell(1, 1, u"Заголовок"_s);
    const TXlsxReader plainBook(Save(plain, dir, u"plain.xlsx"_s));
    const TXlsxPrint& q = plainBook.print();
    QCOMPARE(q.paperSize, 0);
    QVERIFY(!q.fitToPage);
    QCOMPARE(q.titleRows, QString());
    QCOMPARE(q.footer, QString());
}

void TestSheet::rowHeights()
{
    const QString school = u"Муниципальное бюджетное общеобразовательное учреждение \"Средняя общеобразовательная "
                           "школа № 12 с углублённым изучением отдельных предметов\" г. Велграда"_s;
    const QString heading = u"Олимпиада по химии. Краткая заявка на проживание (участие) в общеобразовательном "
                            "мероприятии регионального этапа."_s;
    QTemporaryDir dir;
    TExcel xl;
    Start(xl);
    xl.SetColumnWidth(1, 25);
    xl.SetColumnWidth(2, 12);
    xl.SetColumnWidth(3, 12);
    // row 1: a heading merged over the three columns (49 characters)
    xl.SelectRange(u"A1:C1"_s);
    xl.MergeSelection();
    xl.SetCell(1, 1, heading);
    // row 2: a fixed height, whatever its text
    xl.SetCell(2, 1, school);
    xl.SetRowHeight(2, 120);
    // row 3: the school in 8 points, beside a short text and a number
    xl.SetCell(3, 1, school);
    xl.SetCell(3, 2, u"Да"_s);
    xl.SetCell(3, 3, 45.5);
    xl.SelectRange(u"A3"_s);
    xl.SetSelectionFontSize(8);
    // row 4: texts that fit; row 5: the school, turned upright; row 6: the
    // school not wrapped
    xl.SetCell(4, 1, u"МБОУ СОШ № 2"_s);
    xl.SetCell(4, 2, u"Иванова"_s);
    xl.SetCell(5, 1, school);
    xl.TurnCellText(u"A5"_s);
    xl.SetCell(6, 1, school);
    xl.SelectRange(u"A1:C5"_s);
    xl.WrapSelection();
    const TXlsxReader book(Save(xl, dir, u"heights.xlsx"_s));

    const double schoolSmall = NeededHeight(school, 25, 8);
    QVERIFY2(schoolSmall > 3 * 11.25, qPrintable(QString::number(schoolSmall)));
    // tall enough for the whole text, not a line more
    QVERIFY2(book.rowHeight(3) >= schoolSmall && book.rowHeight(3) < schoolSmall + 11.25,
             qPrintable(u"%1 for %2"_s.arg(book.rowHeight(3)).arg(schoolSmall)));
    const double headingNeeds = NeededHeight(heading, 25 + 12 + 12 + 4.0 / 7, 11);
    QVERIFY2(headingNeeds >= 30, qPrintable(QString::number(headingNeeds)));
    QVERIFY2(book.rowHeight(1) >= headingNeeds && book.rowHeight(1) < headingNeeds + 15,
             qPrintable(u"%1 for %2"_s.arg(book.rowHeight(1)).arg(headingNeeds)));
    QCOMPARE(book.rowHeight(2), 120.0);
    QCOMPARE(book.rowHeight(4), 0.0);
    QCOMPARE(book.rowHeight(5), 0.0);
    QCOMPARE(book.rowHeight(6), 0.0);
}

void TestSheet::ranges_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");   // empty: the range is one text
    QTest::addColumn<QString>("selection");   // empty: refused

    QTest::newRow("range") << u"A1:T1"_s << QString() << u"A1:T1"_s;
    QTest::newRow("cell") << u"H6"_s << QString() << u"H6"_s;
    QTest::newRow("small letters, dollars") << u"$a$1:al$10005"_s << QString() << u"A1:AL10005"_s;
    QTest::newRow("corners reversed, empty rows") << u"A6:AL5"_s << QString() << u"A5:AL6"_s;
    QTest::newRow("last corner first") << u"T26:A1"_s << QString() << u"A1:T26"_s;
    QTest::newRow("two cells") << u"K4"_s << u"T26"_s << u"K4:T26"_s;
    QTest::newRow("two cells, the first a range") << u"B2:C3"_s << u"A1"_s << u"A1:C3"_s;
    QTest::newRow("last cell of a sheet") << u"ZZ1:XFD1048576"_s << QString() << u"ZZ1:XFD1048576"_s;
    QTest::newRow("empty") << QString() << QString() << QString();
    QTest::newRow("column only") << u"A"_s << QString() << QString();
    QTest::newRow("row only") << u"5"_s << QString() << QString();
    QTest::newRow("row 0") << u"A0"_s << QString() << QString();
    QTest::newRow("open range") << u"A1:"_s << QString() << QString();
    QTest::newRow("three corners") << u"A1:B2:C3"_s << QString() << QString();
    QTest::newRow("beyond the last column") << u"XFE1"_s << QString() << QString();
    QTest::newRow("beyond the last row") << u"A1048577"_s << QString() << QString();
    QTest::newRow("digits first") << u"1A"_s << QString() << QString();
    QTest::newRow("Cyrillic letter") << u"А1"_s << QString() << QString();
    QTest::newRow("bad last cell") << u"A1"_s << u"T"_s << QString();
}

void TestSheet::ranges()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, selection);
    TExcel xl;
    xl.StartExcel();
    xl.AddWorkbook();
    xl.SelectRange(u"C3"_s);
    const QString error = ErrorOf([&] { last.isEmpty() ? xl.SelectRange(first) : xl.SelectRange(first, last); });
    if (selection.isEmpty()) {
        QVERIFY(!error.isEmpty());
        QCOMPARE(xl.Selection(), u"C3"_s);
    } else {
        QCOMPARE(error, QString());
        QCOMPARE(xl.Selection(), selection);
    }
}

void TestSheet::mergedRangesNeverOverlap()
{
    TExcel xl;
    xl.StartExcel();
    xl.AddWorkbook();
    for (const QString& r : {u"A1:C1"_s, u"B1:D2"_s, u"F1"_s, u"F5:G5"_s}) {
        xl.SelectRange(r);
        xl.MergeSelection();
    }
    const std::vector<TCellRange> merges = xl.Sheet().merges();
    QStringList texts;
    for (const TCellRange& m : merges)
        texts << m.text();
    QCOMPARE(texts, (QStringList{u"A1:D2"_s, u"F5:G5"_s}));
}

void TestSheet::refused_data()
{
    QTest::addColumn<Action>("action");
    const auto started = [](Action a) {
        return Action([a](TExcel& xl) {
            xl.StartExcel();
            xl.AddWorkbook();
            a(xl);
        });
    };
    QTest::newRow("workbook before the start") << Action([](TExcel& xl) { xl.AddWorkbook(); });
    QTest::newRow("cell without a workbook") << Action([](TExcel& xl) { xl.StartExcel(); xl.SetCell(1, 1, u"x"_s); });
    QTest::newRow("save without a workbook")
        << Action([](TExcel& xl) { xl.StartExcel(); xl.SaveSheet(QDir::temp().filePath(u"never.xlsx"_s)); });
    QTest::newRow("row 0") << started([](TExcel& xl) { xl.SetCell(0, 1, u"x"_s); });
    QTest::newRow("column beyond the sheet") << started([](TExcel& xl) { xl.SetCell(1, 16385, u"x"_s); });
    QTest::newRow("text longer than a cell")
        << started([](TExcel& xl) { xl.SetCell(1, 1, QString(32768, u'ж')); });
    QTest::newRow("negative width") << started([](TExcel& xl) { xl.SetColumnWidth(1, -1); });
    QTest::newRow("width beyond 255") << started([](TExcel& xl) { xl.SetColumnWidth(1, 256); });
    QTest::newRow("height beyond 409") << started([](TExcel& xl) { xl.SetRowHeight(1, 410); });
    QTest::newRow("unknown horizontal alignment") << started([](TExcel& xl) { xl.AlignSelection(9, 2); });
    QTest::newRow("unknown vertical alignment") << started([](TExcel& xl) { xl.AlignSelection(3, 0); });
    QTest::newRow("font size 0") << started([](TExcel& xl) { xl.SetSelectionFontSize(0); });
    QTest::newRow("colour index 0") << started([](TExcel& xl) { xl.SetSelectionFontColor(0); });
    QTest::newRow("colour index 57") << started([](TExcel& xl) { xl.SetSelectionFontColor(57); });
    QTest::newRow("borders over a whole sheet") << started([](TExcel& xl) { xl.BorderRange(u"A1"_s, u"XFD1048576"_s); });
    QTest::newRow("fill beyond 0xFFFFFF") << started([](TExcel& xl) { xl.FillRange(u"A1"_s, u"B2"_s, 0x1000000); });
    QTest::newRow("number not finite") << started([](TExcel& xl) { xl.SetCell(1, 1, qInf()); });
    QTest::newRow("invalid date") << started([](TExcel& xl) { xl.SetCell(1, 1, QDate()); });
    QTest::newRow("date before March 1900") << started([](TExcel& xl) { xl.SetCell(1, 1, QDate(1900, 2, 28)); });
    QTest::newRow("title row 0") << started([](TExcel& xl) { xl.PrepareForPrinting(0, 5); });
}

void TestSheet::refused()
{
    QFETCH(Action, action);
    TExcel xl;
    QVERIFY(!ErrorOf([&] { action(xl); }).isEmpty());
    // Nothing of a refused operation reaches the sheet (A1 is the selection).
    if (!ErrorOf([&] { xl.Sheet(); }).isEmpty())
        return;
    QVERIFY(!xl.Sheet().cell(1, 1));
}

void TestSheet::failedSaveLeavesNothing_data()
{
    QTest::addColumn<QString>("folder");   // under the test's own folder
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("no such folder") << u"missing/deeper"_s << false;
    QTest::newRow("folder is a file") << u"plain.txt"_s << false;
    QTest::newRow("read-only folder") << u"locked"_s << true;
}

void TestSheet::failedSaveLeavesNothing()
{
    QFETCH(QString, folder);
    QFETCH(bool, readOnly);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QFile plain(root.filePath(u"plain.txt"_s));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    if (readOnly) {
        QVERIFY(QDir(root.path()).mkdir(folder));
        QFile::setPermissions(root.filePath(folder), QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(root.filePath(folder + u"/probe"_s));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(root.filePath(folder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user writes into read-only folders");
        }
    }
    const QString path = root.filePath(folder + u"/(0)_Журнал_13.01.2026.xlsx"_s);
    TExcel xl;
    QStringList opened;
    xl.SetOpener([&](const QString& p) { opened << p; return true; });
    BuildSample(xl);
    const QString error = ErrorOf([&] { xl.SaveSheet(path); });
    if (readOnly)
        QFile::setPermissions(root.filePath(folder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(error.contains(path));
    QVERIFY(!QFileInfo::exists(path));
    QDir where(root.path());
    QCOMPARE(where.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             readOnly ? QStringList({u"locked"_s, u"plain.txt"_s}) : QStringList{u"plain.txt"_s});
    if (readOnly)
        QCOMPARE(QDir(root.filePath(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    QVERIFY(!xl.ShowExcel());
    QCOMPARE(opened, QStringList());
}

void TestSheet::saveNeverReplacesAFile()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString path = root.filePath(u"(0)_Журнал_13.01.2026.xlsx"_s);
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier export");
    earlier.close();

    TExcel xl;
    BuildSample(xl);
    QVERIFY(ErrorOf([&] { xl.SaveSheet(path); }).contains(path));
    QFile check(path);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), QByteArray("earlier export"));
    QCOMPARE(QDir(root.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(path).fileName()});

    // The next counter's name is free: that save succeeds beside it.
    const QString next = root.filePath(u"(1)_Журнал_13.01.2026.xlsx"_s);
    xl.SaveSheet(next);
    QCOMPARE(TXlsxReader(next).text(u"A1"_s), u"Министерство образования Велградской области"_s);
    QCOMPARE(QDir(root.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestSheet::showOpensOnlyASavedWorkbook()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QStringList opened;
    TExcel xl([&](const QString& p) { opened << p; return true; });
    QVERIFY(!xl.ShowExcel());
    BuildSample(xl);
    QVERIFY(!xl.ShowExcel());
    QCOMPARE(opened, QStringList());

    const QString path = root.filePath(u"(0)_Журнал_13.01.2026.xlsx"_s);
    xl.SaveSheet(path);
    QVERIFY(xl.ShowExcel());
    QVERIFY(xl.ShowExcel());
    QCOMPARE(opened, QStringList{path});

    // A new workbook has not been saved yet.
    xl.StartExcel();
    xl.AddWorkbook();
    QVERIFY(!xl.ShowExcel());
    QCOMPARE(opened, QStringList{path});

    TExcel withoutOpener;
    BuildSample(withoutOpener);
    withoutOpener.SaveSheet(root.filePath(u"(1)_Журнал_13.01.2026.xlsx"_s));
    QVERIFY(!withoutOpener.ShowExcel());
}

QTEST_MAIN(TestSheet)
#include "test_sheet.moc"
