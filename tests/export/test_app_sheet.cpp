// The short and the full application as spreadsheets, read back from the saved
// workbook cell by cell: merges, headings, titles, widths, turned titles, fonts,
// fills, borders, the red mark and the small cells, for an empty application and
// one of two rows; the progress reported and the order of the steps.

#include "export/AppColumns.h"
#include "export/AppSheet.h"
#include "export/Excel.h"
#include "support/RecordingProgress.h"
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

Written write(const QTemporaryDir& dir, const TAppForm& form, int count)
{
    Written w;
    w.path = dir.filePath(u"(0)заявка.xlsx"_s);
    TExcel xl;
    xl.StartExcel();
    xl.AddWorkbook();
    xl.DisableEvents();
    xl.SetCaption(form.caption);
    RecordingProgress progress;
    const TAppRowReader rows = appRows(sampleRows(int(form.columns.size()), count));
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

QTEST_MAIN(TestAppSheet)
#include "test_app_sheet.moc"
