// The layouts of the final rating and of the diploma journal, read back from the
// written workbooks: texts, merges, widths, fonts, alignment, wrap and borders of
// every cell of the table, and nothing beside it; which cells are numbers; the
// print setup; the progress each reports.

#include "export/Excel.h"
#include "export/JournalSheet.h"
#include "export/RatingSheet.h"
#include "support/RecordingProgress.h"
#include "support/XlsxReader.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString Ministry = u"Министерство образования Велградской области"_s;
const QString Centre = u"Образовательный центр \"Кассиор\""_s;
const QString Header = u"bold h=center v=center wrap border=thin"_s;

QString cell(int column, int row)
{
    return QString(QChar(u'A' + column - 1)) + QString::number(row);
}

QList<double> shownWidths(const TXlsxReader& book)
{
    QList<double> widths;
    for (int c = 1; c <= 6; ++c)
        widths << TXlsxReader::shownWidth(book.columnWidth(c));
    return widths;
}

/// Writes the sheet that `lay` lays out into a new workbook and reads it back.
template <class Lay>
TXlsxReader written(const QTemporaryDir& dir, const QString& caption, Lay lay)
{
    TExcel xl;
    xl.StartExcel();
    xl.AddWorkbook();
    xl.DisableEvents();
    xl.SetCaption(caption);
    lay(xl);
    const QString path = dir.filePath(u"book.xlsx"_s);
    xl.SaveSheet(path);
    return TXlsxReader(path);
}

// The print setup of every exported table, with its title rows.
void CheckPrint(const TXlsxReader& book, const QString& titleRows)
{
    const TXlsxPrint& p = book.print();
    QCOMPARE(p.paperSize, 9);
    QCOMPARE(p.orientation, u"landscape"_s);
    QVERIFY(p.fitToPage);
    QCOMPARE(p.fitToWidth, 1);
    QCOMPARE(p.fitToHeight, 0);
    QCOMPARE(p.titleRows, titleRows);
    QCOMPARE(p.footer, u"&CСтраница &P из &N"_s);
}

QList<TRatingSheetRow> ratingSample(int count)
{
    const QList<TRatingSheetRow> all = {
        {u"Абрамов Антон Андреевич"_s, u"11"_s, u"г. Велград"_s, u"25"_s, u"Победитель регионального этапа"_s},
        {u"Борисова Вера Игоревна"_s, u"10"_s, u"Бережанский район"_s, u"12,5"_s, u"Призер регионального этапа"_s},
        {u"Зайцева Инна Львовна"_s, u"9"_s, u"г. Велград"_s, QString(), u"Участник регионального этапа"_s},
    };
    return all.mid(0, count);
}

QList<TJournalSheetRow> journalSample(int count)
{
    const QList<TJournalSheetRow> all = {
        {u"Кандидат в участники"_s, u"Абрамов Антон Андреевич"_s, u"11"_s,
         u"Муниципальное бюджетное общеобразовательное учреждение \"Лицей № 1\" г. Велграда"_s, u"10-1001-2026"_s},
        {u"Победитель регионального этапа"_s, u"Борисова Вера Игоревна"_s, u"10"_s, u"МБОУ СОШ № 2"_s,
         u"10-1002-2026"_s},
        {u"Призер регионального этапа"_s, u"Волков Глеб Денисович"_s, u"9"_s, u"МБОУ СОШ № 3"_s, u"10-1003-2026"_s},
    };
    return all.mid(0, count);
}

} // namespace

class TestExportLayouts : public QObject {
    Q_OBJECT
private slots:
    // the program's locale: the samples are Russian display texts
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void rating_data();
    void rating();
    void ratingFileBase();
    void journal_data();
    void journal();
};

void TestExportLayouts::rating_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one row") << 1;
    QTest::newRow("several rows") << 3;
}

void TestExportLayouts::rating()
{
    QFETCH(int, count);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QList<TRatingSheetRow> rows = ratingSample(count);
    RecordingProgress progress;
    int last = 0;
    const TXlsxReader book = written(dir, ratingCaption(), [&](TExcel& xl) {
        last = writeRatingSheet(xl, u"Химия"_s, count, ratingRows(rows), progress);
    });
    QCOMPARE(last, 4 + count);
    QCOMPARE(book.lastRow(), last);
    QCOMPARE(book.title(), u"Рейтинг регионального мероприятия"_s);

    QCOMPARE(book.text(u"A1"_s), Ministry);
    QCOMPARE(book.text(u"A2"_s), Centre);
    QCOMPARE(book.text(u"A3"_s), u"Химия. Рейтинг регионального общеобразовательного мероприятия"_s);
    QCOMPARE(book.merges(), (QStringList{u"A1:F1"_s, u"A2:F2"_s, u"A3:F3"_s}));
    const QStringList titles = {u"№ п/п"_s, u"Фамилия, Имя, Отчество участника"_s, u"Класс"_s,
                                u"Муниципальное образование"_s, u"Баллы"_s, u"Статус"_s};
    for (int c = 1; c <= 6; ++c)
        QCOMPARE(book.text(cell(c, 4)), titles.at(c - 1));
    QCOMPARE(shownWidths(book), (QList<double>{6, 40, 6, 40, 10, 40}));

    for (int k = 1; k <= count; ++k) {
        const TRatingSheetRow& row = rows.at(k - 1);
        const int r = 4 + k;
        QCOMPARE(book.text(cell(1, r)), QString::number(k) + u'.');
        const QStringList texts = {row.fio, row.classStudy, row.name, row.result, row.nameStatus};
        for (int c = 2; c <= 6; ++c)
            QCOMPARE(book.text(cell(c, r)), texts.at(c - 2));
    }
    // The class and the result are numbers ("12,5" is 12.5), a missing result
    // is a blank cell; the running number "1." and the names are texts.
    for (int k = 1; k <= count; ++k) {
        const int r = 4 + k;
        const QString result = rows.at(k - 1).result;
        QCOMPARE(book.kind(cell(1, r)), u"text"_s);
        QCOMPARE(book.kind(cell(3, r)), u"number"_s);
        QCOMPARE(book.kind(cell(5, r)), result.isEmpty() ? QString() : u"number"_s);
        for (int c : {2, 4, 6})
            QCOMPARE(book.kind(cell(c, r)), u"text"_s);
    }
    if (count >= 2)
        QCOMPARE(book.value(u"E6"_s), u"12.5"_s);
    CheckPrint(book, u"$4:$4"_s);

    for (int r = 1; r <= last; ++r)
        for (int c = 1; c <= 6; ++c) {
            const bool centred = r >= 5 && (c == 1 || c == 3 || c == 5);
            const QString expected = r <= 4 ? Header : centred ? u"h=center border=thin"_s : u"border=thin"_s;
            QCOMPARE(book.format(cell(c, r)).describe(), expected);
        }
    // Nothing beside or below the table.
    QCOMPARE(book.format(cell(7, 4)).describe(), QString());
    QCOMPARE(book.format(cell(1, last + 1)).describe(), QString());

    QCOMPARE(progress.withoutPositions(),
             (QStringList{u"text Импорт данных"_s, u"range 0 %1"_s.arg(count), u"text Форматирование таблицы..."_s}));
    QStringList positions;
    for (int k = 1; k <= count; ++k)
        positions << u"position %1"_s.arg(k);
    positions << u"position 0"_s;
    QCOMPARE(progress.calls.filter(u"position"_s), positions);
}

void TestExportLayouts::ratingFileBase()
{
    QCOMPARE(::ratingFileBase(u"Химия"_s), u"_Окончательный_(Химия)_"_s);
    // A long name is cut by its UTF-8 size, never inside a character.
    const QString longName = QString(300, u'Ж');
    QCOMPARE(::ratingFileBase(longName), u"_Окончательный_("_s + QString(90, u'Ж') + u")_"_s);
    const QString emoji = QString(100, u'a') + QString::fromUtf8("😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀");
    const QString base = ::ratingFileBase(emoji);
    QCOMPARE(base, u"_Окончательный_("_s + emoji.left(100 + 2 * 20) + u")_"_s);
}

void TestExportLayouts::journal_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one row") << 1;
    QTest::newRow("several rows") << 3;
}

void TestExportLayouts::journal()
{
    QFETCH(int, count);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QList<TJournalSheetRow> rows = journalSample(count);
    RecordingProgress progress;
    int last = 0;
    const QString event = u"2024-2025 у/г. Олимпиада по химии"_s;
    const TXlsxReader book = written(dir, journalCaption(), [&](TExcel& xl) {
        last = writeJournalSheet(xl, event, journalRows(rows), progress);
    });
    QCOMPARE(last, 5 + count);
    QCOMPARE(book.lastRow(), last);
    QCOMPARE(book.title(), u"Журнал выдачи дипломов"_s);

    QCOMPARE(book.text(u"A1"_s), Ministry);
    QCOMPARE(book.text(u"A2"_s), Centre);
    QCOMPARE(book.text(u"A3"_s), event + u". Журнал выдачи дипломов (сертификатов)"_s);
    QCOMPARE(book.text(u"A4"_s), QString());
    QCOMPARE(book.merges(), (QStringList{u"A1:F1"_s, u"A2:F2"_s, u"A3:F3"_s, u"A4:F4"_s}));
    const QStringList titles = {u"№ п/п"_s, u"Статус участника"_s, u"ФИО участника"_s, u"Класс"_s,
                                u"Образовательная организация"_s, u"№ Диплома (сертификата)"_s};
    for (int c = 1; c <= 6; ++c)
        QCOMPARE(book.text(cell(c, 5)), titles.at(c - 1));
    QCOMPARE(shownWidths(book), (QList<double>{6, 30, 35, 5, 40, 15}));

    for (int k = 1; k <= count; ++k) {
        const TJournalSheetRow& row = rows.at(k - 1);
        const int r = 5 + k;
        QCOMPARE(book.text(cell(1, r)), QString::number(k));   // no full stop
        const QStringList texts = {row.nameStatus, row.fio, row.classStudy, row.fullname, row.numberDiplom};
        for (int c = 2; c <= 6; ++c)
            QCOMPARE(book.text(cell(c, r)), texts.at(c - 2));
        // the running number and the class are numbers, the diploma number a text
        const QStringList kinds = {u"number"_s, u"text"_s, u"text"_s, u"number"_s, u"text"_s, u"text"_s};
        for (int c = 1; c <= 6; ++c)
            QCOMPARE(book.kind(cell(c, r)), kinds.at(c - 1));
    }
    CheckPrint(book, u"$5:$5"_s);
    // the titles in row 5 take two lines in their widths ("№ Диплома (сертификата)")
    QVERIFY(book.rowHeight(5) >= 30);

    for (int r = 1; r <= last; ++r)
        for (int c = 1; c <= 6; ++c) {
            QString expected = Header;
            if (r >= 6)
                expected = c == 4   ? u"h=center v=top wrap border=thin"_s
                           : c == 5 ? u"size=8 v=top wrap border=thin"_s
                                    : u"v=top wrap border=thin"_s;
            QCOMPARE(book.format(cell(c, r)).describe(), expected);
        }
    QCOMPARE(book.format(cell(7, 5)).describe(), QString());
    QCOMPARE(book.format(cell(1, last + 1)).describe(), QString());

    QCOMPARE(progress.withoutPositions(), (QStringList{u"text Создание заголовков таблицы"_s, u"text Импорт данных..."_s,
                                                       u"text Форматирование таблицы..."_s}));
    QStringList positions;
    for (int k = 1; k <= count; ++k)
        positions << u"position %1"_s.arg(k);
    positions << u"position 0"_s;
    QCOMPARE(progress.calls.filter(u"position"_s), positions);
}

QTEST_MAIN(TestExportLayouts)
#include "test_export_layouts.moc"
