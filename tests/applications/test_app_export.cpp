// The export window against a real server: the event list, which application
// rows the short and the full statements let through, the information box, the
// HTML files as the window writes them, file names, and the failures that
// leave nothing half-written and the window usable.

#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Files.h"
#include "data/Format.h"
#include "applications/AppExportReg.h"
#include "export/Sheet.h"
#include "support/ExportRoot.h"
#include "support/Fixtures.h"
#include "support/TestDb.h"
#include "support/XlsxReader.h"
#include "support/Ui.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Admin = 501;
constexpr int Chemistry = 10; // the administrator's
constexpr int Physics = 11;   // the administrator's
const QString AllEvents = u"В отчете отобразить ВСЕ общеобразовательные мероприятия"_s;
const QString SavedText = u"Таблица сохранена в файле:\n\r"_s;
const QString SaveFailed = u"Ошибка записи в MS Excel.\n\rСкорее всего у Вас не лицензионная версия MS Excel.\n\r"
                           "РЕКОМЕНДАЦИЯ:\n\rПеред экспортом данных откройте MS Excel и создайте пустой лист."_s;
const QString FullBox = u"Не у всех участников заполнены дополнительные данные. Такие участники не будут отражены в отчете"_s;

// Борисова's complete row of Физика.
ApplicationRow borisovaPhysics(int id = 0)
{
    return {.id = id, .pupil = 1002, .event = Physics, .status = 4, .result = 30, .classStudy = 11, .area = {},
            .hotel = 1, .dateIn = QDate(2026, 2, 1), .dateOut = QDate(2026, 2, 3), .maintainer = 146};
}

// Application rows of the active year at the regional stage:
//   Химия (10):   Абрамов 1001 (everything), Борисова 1002 (school without an
//                 address, hotel mark NULL), Волков 1003 (no further data:
//                 short only), Григорьев 1004 (accompanying person missing),
//                 Дмитриев 1005 (no venue);
//   Физика (11):  Борисова 1002 (everything);
//   Биология (12, not the administrator's): Егоров 1006 (not a pupil: short only).
// Not in any export: Жуков 1007 (last school year), Зайцев 1008 (another stage).
// Area 1, school 1 and the administrator 501 are the test's own, not the
// fixture's region.
Fixture fill(TestDb& db)
{
    Fixture f(db, Fixture::YearsOnly);
    f.area({.id = 1, .name = u"г. Велград"_s});
    f.area({.id = 2, .name = u"Бережанский район"_s});
    f.school({.id = 1, .name = u"СОШ № 1"_s, .fullname = u"Средняя школа № 1 города Велграда"_s,
              .adress = u"ул. Школьная, 1"_s});
    f.school({.id = 2, .name = u"СОШ № 2"_s, .fullname = u"Средняя школа № 2 Бережанского района"_s, .areaID = 2});
    f.user({.id = Admin, .surname = u"Кириллова"_s, .name = u"Анна"_s, .patronymic = u"Петровна"_s, .phone = {},
            .schoolID = {}, .role = 54280, .details = false});
    f.user({.id = 1001, .surname = u"Абрамов"_s, .name = u"Антон"_s, .patronymic = u"Андреевич"_s,
            .phone = u"+7 900 111-11-11"_s, .classStudy = 10, .ovz = 1, .birthday = QDate(2009, 3, 5)});
    f.user({.id = 1002, .surname = u"Борисова"_s, .name = u"Вера"_s, .patronymic = u"Игоревна"_s,
            .phone = u"+7 900 222-22-22"_s, .areaID = 2, .schoolID = 2, .classStudy = 11, .gender = 0,
            .birthday = QDate(2008, 7, 1)});
    // The others: of school 1, without phone or birthday.
    const struct {
        int id;
        QString surname, name, patronymic;
        int role;
        int classStudy; ///< 0: no further data
    } others[] = {
        {1003, u"Волков"_s, u"Глеб"_s, u"Денисович"_s, 4, 0},
        {1004, u"Григорьев"_s, u"Дмитрий"_s, u"Ильич"_s, 4, 10},
        {1005, u"Дмитриев"_s, u"Егор"_s, u"Ильич"_s, 4, 10},
        {1006, u"Егоров"_s, u"Жан"_s, u"Львович"_s, 80, 9},
        {1007, u"Жуков"_s, u"Илья"_s, u"Львович"_s, 4, 10},
        {1008, u"Зайцев"_s, u"Кирилл"_s, u"Романович"_s, 4, 10},
    };
    for (const auto& p : others)
        f.user({.id = p.id, .surname = p.surname, .name = p.name, .patronymic = p.patronymic, .phone = {},
                .role = p.role, .details = p.classStudy != 0, .classStudy = p.classStudy, .birthday = {}});
    f.event({.id = Chemistry, .nameEdu = u"Химия"_s, .dateEnd = Null});
    f.event({.id = Physics, .nameEdu = u"Физика"_s, .dateEnd = Null});
    f.event({.id = 12, .nameEdu = u"Биология"_s, .dateEnd = Null, .admin = -1});
    f.maintainer({.id = 146, .surname = u"Воронцова"_s, .post = u"Методист"_s, .educationalOrg = u"ГАУ ДО «Центр»"_s,
                  .eMail = u"vorontsova@example.org"_s, .phone = u"+7 900 000-00-00"_s, .dateIn = QDate(2026, 1, 11),
                  .dateOut = QDate(2026, 1, 13), .hotel = 0});
    // No row has a municipality of its own.
    f.application({.id = 1, .pupil = 1001, .event = Chemistry, .status = 7, .result = 45.5, .classStudy = 10,
                   .classPart = 11, .area = {}, .hotel = 1, .dateIn = QDate(2026, 1, 11),
                   .dateOut = QDate(2026, 1, 13), .maintainer = 146});
    f.application({.id = 2, .pupil = 1002, .event = Chemistry, .classStudy = 11, .area = {}, .venue = 2,
                   .hotel = Null, .maintainer = 146});
    f.application({.id = 3, .pupil = 1003, .event = Chemistry, .classStudy = 10, .area = {}, .hotel = 0,
                   .maintainer = 146});
    f.application({.id = 4, .pupil = 1004, .event = Chemistry, .classStudy = 10, .area = {}, .hotel = 1,
                   .maintainer = 999});
    f.application({.id = 5, .pupil = 1005, .event = Chemistry, .classStudy = 10, .area = {}, .venue = Null,
                   .hotel = 1, .maintainer = 146});
    f.application({.id = 6, .pupil = 1006, .event = 12, .classStudy = 9, .area = {}, .hotel = 1, .maintainer = 146});
    f.application({.id = 7, .pupil = 1007, .event = Chemistry, .classStudy = 10, .period = f.pastPeriod(),
                   .area = {}, .hotel = 1, .maintainer = 146});
    f.application({.id = 8, .pupil = 1008, .event = Chemistry, .classStudy = 10, .level = 2, .area = {}, .hotel = 1,
                   .maintainer = 146});
    f.application(borisovaPhysics(9));
    return f;
}

// The working folder of the application export.
const QString Folder = u"Заявки"_s;

// The small application on a database of the test's own, its administrator
// logged in, with the test's output folders, shell and dialogs.
struct ExportSession : DataSession {
    ExportSession() { DataZRT->userID = Admin; }
    Fixture f = fill(db);
    ExportRoot out;
    UiSeam seam;
};

void choose(TFormAppExportReg& w, int event, bool full, bool excel)
{
    auto* combo = find<TDBLookupComboBox>(&w, u"ComboBoxEdu"_s);
    combo->chooseIndex(combo->findData(event));
    QCOMPARE(w.chosenEvent(), event);
    find<QRadioButton>(&w, full ? u"RadioFormFull"_s : u"RadioFormShort"_s)->setChecked(true);
    find<QRadioButton>(&w, excel ? u"RadioFormatExcel"_s : u"RadioFormatHTML"_s)->setChecked(true);
}

QStringList surnames(TQuery* q, const QString& field)
{
    QStringList names;
    for (int row = 0; row < q->RecordCount(); ++row)
        names << q->value(row, field).toString();
    return names;
}

QStringList fileLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    QStringDecoder decoder("windows-1251");
    QStringList lines = QString(decoder.decode(bytes)).split(u"\r\n"_s);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The lines of the k-th data row (from 1): the header ends with the fifth
// header row, whose last line is followed by the rows.
QStringList dataRow(const QStringList& lines, int columns, int k)
{
    // 9 head lines, 3 wide rows of 3 lines, the group row, then the title row
    const qsizetype groupsEnd = lines.indexOf(u"</tr>"_s, 9 + 9 + 1);
    const qsizetype rows = groupsEnd + 1 + columns + 2;
    return lines.mid(rows + qsizetype(k - 1) * (columns + 2), columns + 2);
}

// Adds n copies of Борисова's complete row of Физика.
void addPhysicsRows(Fixture& f, int n)
{
    for (int i = 0; i < n; ++i)
        f.application(borisovaPhysics());
}

bool idle(const TFormAppExportReg& w)
{
    return find<QProgressBar>(&w, u"ProgressBar1"_s)->value() == 0 && find<QLabel>(&w, u"Lb"_s)->isHidden()
        && find<QLabel>(&w, u"Lb"_s)->text().isEmpty() && !DataZRT->emptySQL->Active();
}

QString today()
{
    return DateToStr(QDate::currentDate());
}

} // namespace

class TestAppExport : public QObject {
    Q_OBJECT
private slots:
    void eventList();
    void statements_data();
    void statements();
    void coincidingRowsComeOutOnce();
    void shortHtml();
    void fullHtml();
    void fullCountsEqualNoBox();
    void shortSheet();
    void fullSheet();
    void longSheetQuestion_data();
    void longSheetQuestion();
    void workbookCannotBeSaved();
    void noRowsLeaveTheBarIdle();
    void allEventsNameTitlesAndFiles();
    void longEventNameIsCutInFileNames();
    void folderCannotBeMade();
    void htmlFileCannotBeCreated();
    void databaseFailure();
};

void TestAppExport::eventList()
{
    DataSession s;
    fill(s.db);
    DataZRT->userID = Admin;
    TFormAppExportReg w;
    auto* combo = find<TDBLookupComboBox>(&w, u"ComboBoxEdu"_s);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), AllEvents);
    QCOMPARE(combo->itemText(1), u"Физика"_s); // the administrator's events in name order
    QCOMPARE(combo->itemText(2), u"Химия"_s);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(w.chosenEvent(), 0);
    QCOMPARE(w.chosenEventName(), AllEvents);
    QVERIFY(!DataZRT->GETeduReg->Active());
    QVERIFY(find<QRadioButton>(&w, u"RadioFormShort"_s)->isChecked());
    QVERIFY(find<QRadioButton>(&w, u"RadioFormatHTML"_s)->isChecked());
    QVERIFY(find<QLabel>(&w, u"Lb"_s)->isHidden());
    QCOMPARE(FormAppExportReg, &w);

    combo->chooseIndex(2);
    QCOMPARE(w.chosenEvent(), Chemistry);
    QCOMPARE(w.chosenEventName(), u"Химия"_s);
}

void TestAppExport::statements_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("rows");

    // the short application asks only for the accompanying person and the venue
    QTest::newRow("short, one event") << Chemistry << false << 3
                                      << QStringList{u"Абрамов"_s, u"Борисова"_s, u"Волков"_s};
    QTest::newRow("short, all events") << 0 << false << 5
                                       << QStringList{u"Абрамов"_s, u"Борисова"_s, u"Борисова"_s, u"Волков"_s, u"Егоров"_s};
    // the full one for pupils with further data, a school and a municipality
    QTest::newRow("full, one event") << Chemistry << true << 2 << QStringList{u"Абрамов"_s, u"Борисова"_s};
    QTest::newRow("full, all events") << 0 << true << 3
                                      << QStringList{u"Борисова"_s, u"Абрамов"_s, u"Борисова"_s}; // by event name first
}

void TestAppExport::statements()
{
    QFETCH(int, event);
    QFETCH(bool, full);
    QFETCH(int, count);
    QFETCH(QStringList, rows);
    DataSession s;
    fill(s.db);
    DataZRT->userID = Admin;
    TFormAppExportReg w;
    choose(w, event, full, false);

    TQuery* q = DataZRT->emptySQL;
    if (full) {
        QCOMPARE(w.getRecordCountFull(u"3"_s), count);
        QVERIFY(!q->Active());
        w.createSQLFull(u"3"_s);
        QCOMPARE(surnames(q, u"param1"_s), rows);
    } else {
        QCOMPARE(w.getRecordCountShort(u"3"_s), count);
        QVERIFY(!q->Active());
        w.createSQLShort(u"3"_s);
        QStringList got = surnames(q, u"surname"_s);
        got.sort(); // the short statement has no sort order
        QCOMPARE(got, rows);
    }
}

void TestAppExport::coincidingRowsComeOutOnce()
{
    DataSession s;
    Fixture f = fill(s.db);
    f.application(borisovaPhysics()); // as row 9
    DataZRT->userID = Admin;
    TFormAppExportReg w;
    choose(w, Physics, true, false);
    QCOMPARE(w.getRecordCountShort(u"3"_s), 2);
    QCOMPARE(w.getRecordCountFull(u"3"_s), 2);
    w.createSQLFull(u"3"_s);
    QCOMPARE(DataZRT->emptySQL->RecordCount(), 1);
}

void TestAppExport::shortHtml()
{
    ExportSession s;
    TFormAppExportReg w;
    choose(w, Physics, false, false);
    click(&w, u"BitBtn2"_s);

    const QString path = s.out.path(Folder) + u"/(0)Краткая_заявка_(Физика)_"_s + today() + u".html"_s;
    QCOMPARE(s.seam.texts(), QStringList{});
    QCOMPARE(s.out.opened, QStringList{path});
    QCOMPARE(s.out.filesIn(Folder), QStringList{QFileInfo(path).fileName()});
    const QStringList lines = fileLines(path);
    QCOMPARE(lines.at(9 + 7), u"<th colspan=\"20\">Физика. Краткая заявка на проживание (участие) в общеобразовательном региональном мероприятии.</th>"_s);
    // the accompanying person's hotel mark repeats the participant's
    const QStringList expected = {
        u"<tr>"_s, u"<td>1.</td>"_s, u"<td>Физика</td>"_s, u"<td>Борисова</td>"_s, u"<td>Вера</td>"_s,
        u"<td>Игоревна</td>"_s, u"<td>г. Велград</td>"_s, u"<td align=\"center\">Да</td>"_s,
        u"<td>"_s + DateToStr(QDate(2026, 2, 1)) + u"</td>"_s, u"<td>"_s + DateToStr(QDate(2026, 2, 3)) + u"</td>"_s,
        u"<td>+7 900 222-22-22</td>"_s,
        u"<td bgcolor=\"FFFFCC\">Воронцова</td>"_s, u"<td bgcolor=\"FFFFCC\">Ирина</td>"_s,
        u"<td bgcolor=\"FFFFCC\">Павловна</td>"_s, u"<td bgcolor=\"FFFFCC\" align=\"center\">Да</td>"_s,
        u"<td bgcolor=\"FFFFCC\">Методист</td>"_s, u"<td bgcolor=\"FFFFCC\">ГАУ ДО «Центр»</td>"_s,
        u"<td bgcolor=\"FFFFCC\">vorontsova@example.org</td>"_s, u"<td bgcolor=\"FFFFCC\">+7 900 000-00-00</td>"_s,
        u"<td bgcolor=\"FFFFCC\">"_s + DateToStr(QDate(2026, 1, 11)) + u"</td>"_s,
        u"<td bgcolor=\"FFFFCC\">"_s + DateToStr(QDate(2026, 1, 13)) + u"</td>"_s,
        u"</tr>"_s,
    };
    QCOMPARE(dataRow(lines, 20, 1), expected);
    QCOMPARE(lines.mid(lines.size() - 4), (QStringList{u"</table>"_s, u"</body>"_s, u"</form>"_s, u"</html>"_s}));
    QCOMPARE(find<QProgressBar>(&w, u"ProgressBar1"_s)->value(), 0);
    QVERIFY(find<QLabel>(&w, u"Lb"_s)->isHidden());
    QVERIFY(!DataZRT->emptySQL->Active());

    // the next file of the day gets the next number
    click(&w, u"BitBtn2"_s);
    QCOMPARE(s.out.opened.last(), s.out.path(Folder) + u"/(1)Краткая_заявка_(Физика)_"_s + today() + u".html"_s);
}

void TestAppExport::fullHtml()
{
    ExportSession s;
    TFormAppExportReg w;
    choose(w, Chemistry, true, false);
    click(&w, u"BitBtn2"_s);

    QCOMPARE(s.seam.texts(), QStringList{FullBox});
    QCOMPARE(s.seam.messages.first().type, TMsgDlgType::Information);
    const QString path = s.out.path(Folder) + u"/(0)Полная_заявка_(Химия)_"_s + today() + u".html"_s;
    QCOMPARE(s.out.opened, QStringList{path});
    const QStringList lines = fileLines(path);
    const QString empty = u"<td bgcolor=\"FFFFCC\"></td>"_s;
    const QStringList first = {
        u"<tr>"_s, u"<td>1.</td>"_s, u"<td>Абрамов</td>"_s, u"<td>Антон</td>"_s, u"<td>Андреевич</td>"_s,
        u"<td align=\"center\">М</td>"_s, u"<td>"_s + DateToStr(QDate(2009, 3, 5)) + u"</td>"_s,
        u"<td align=\"center\">Да</td>"_s, u"<td><Font color=\"red\">Имеются</font></td>"_s,
        u"<td align=\"center\"><font size=\"2\">Средняя школа № 1 города Велграда</font></td>"_s,
        u"<td align=\"center\">10</td>"_s, u"<td>Победитель регионального этапа</td>"_s,
        u"<td>"_s + FloatToStr(45.5) + u"</td>"_s, u"<td><font size=\"2\">ул. Школьная, 1</font></td>"_s,
        u"<td>СОШ № 1</td>"_s, u"<td>г. Велград</td>"_s, u"<td align=\"center\">11</td>"_s, u"<td>Химия</td>"_s,
        u"<td align=\"center\">Да</td>"_s, u"<td>"_s + DateToStr(QDate(2026, 1, 11)) + u"</td>"_s,
        u"<td>"_s + DateToStr(QDate(2026, 1, 13)) + u"</td>"_s, u"<td>+7 900 111-11-11</td>"_s,
        empty, empty, empty, empty, u"<td bgcolor=\"FFFFCC\"><font size=\"2\"></font></td>"_s, empty,
        u"<td bgcolor=\"FFFFCC\">г. Велград</td>"_s,
        u"<td>Воронцова</td>"_s, u"<td>Ирина</td>"_s, u"<td>Павловна</td>"_s,
        u"<td align=\"center\">Нет</td>"_s, // the accompanying person's own mark
        u"<td>Методист</td>"_s, u"<td><font size=\"2\">ГАУ ДО «Центр»</font></td>"_s,
        u"<td>vorontsova@example.org</td>"_s, u"<td>+7 900 000-00-00</td>"_s,
        u"<td>"_s + DateToStr(QDate(2026, 1, 11)) + u"</td>"_s, u"<td>"_s + DateToStr(QDate(2026, 1, 13)) + u"</td>"_s,
        u"</tr>"_s,
    };
    QCOMPARE(dataRow(lines, 38, 1), first);
    const QStringList second = dataRow(lines, 38, 2);
    // second.at(n) is the cell of column n
    QCOMPARE(second.at(2), u"<td>Борисова</td>"_s);
    QCOMPARE(second.at(5), u"<td align=\"center\">Ж</td>"_s);
    QCOMPARE(second.at(8), u"<td>Не имеются</td>"_s);
    QCOMPARE(second.at(11), u"<td>Кандидат в участники</td>"_s);
    QCOMPARE(second.at(12), u"<td></td>"_s); // no result
    QCOMPARE(second.at(13), u"<td><font size=\"2\">Не определен</font></td>"_s);
    QCOMPARE(second.at(15), u"<td>Бережанский район</td>"_s);
    QCOMPARE(second.at(18), u"<td align=\"center\">Не опр.</td>"_s);
    QCOMPARE(second.at(19), u"<td></td>"_s); // no arrival date
    QCOMPARE(lines.at(lines.size() - 5), u"</tr>"_s); // two rows only
    QCOMPARE(lines.size(), 9 + 9 + 5 + 40 + 2 * 40 + 4);
}

void TestAppExport::fullCountsEqualNoBox()
{
    ExportSession s;
    TFormAppExportReg w;
    choose(w, Physics, true, false);
    click(&w, u"BitBtn2"_s);
    QCOMPARE(s.seam.texts(), QStringList{});
    QCOMPARE(s.out.opened.size(), 1);
}

void TestAppExport::shortSheet()
{
    ExportSession s;
    TFormAppExportReg w;
    choose(w, Physics, false, false);
    click(&w, u"BitBtn2"_s); // an HTML file first: the spreadsheet counts apart
    choose(w, Physics, false, true);
    click(&w, u"BitBtn2"_s);

    const QString path = s.out.path(Folder) + u"/(0)Краткая_заявка_(Физика)_"_s + today() + u".xlsx"_s;
    QCOMPARE(s.seam.texts(), QStringList{SavedText + path});
    QCOMPARE(s.seam.messages.first().type, TMsgDlgType::Information);
    QCOMPARE(s.out.opened.size(), 2);
    QCOMPARE(s.out.opened.last(), path); // the workbook is shown
    QVERIFY(idle(w));
    TXlsxReader book(path);
    QCOMPARE(book.lastRow(), 6);
    const QStringList row = {u"1"_s, u"Физика"_s, u"Борисова"_s, u"Вера"_s, u"Игоревна"_s, u"г. Велград"_s, u"Да"_s,
                             DateToStr(QDate(2026, 2, 1)), DateToStr(QDate(2026, 2, 3)), u"+7 900 222-22-22"_s,
                             u"Воронцова"_s, u"Ирина"_s, u"Павловна"_s, u"Да"_s, u"Методист"_s, u"ГАУ ДО «Центр»"_s,
                             u"vorontsova@example.org"_s, u"+7 900 000-00-00"_s, DateToStr(QDate(2026, 1, 11)),
                             DateToStr(QDate(2026, 1, 13))};
    for (int n = 1; n <= 20; ++n)
        QCOMPARE(book.text(ColumnName(n) + u"6"_s), row.at(n - 1));

    s.seam.clear();
    click(&w, u"BitBtn2"_s);
    QCOMPARE(s.seam.texts(), QStringList{SavedText + s.out.path(Folder) + u"/(1)Краткая_заявка_(Физика)_"_s + today() + u".xlsx"_s});
}

void TestAppExport::fullSheet()
{
    ExportSession s;
    TFormAppExportReg w;
    choose(w, Chemistry, true, true);
    click(&w, u"BitBtn2"_s);

    const QString path = s.out.path(Folder) + u"/(0)Полная_заявка_(Химия)_"_s + today() + u".xlsx"_s;
    QCOMPARE(s.seam.texts(), (QStringList{FullBox, SavedText + path}));
    QCOMPARE(s.out.opened, QStringList{path});
    QVERIFY(idle(w));
    TXlsxReader book(path);
    QCOMPARE(book.lastRow(), 7);
    QCOMPARE(book.text(u"B6"_s), u"Абрамов"_s);
    QCOMPARE(book.text(u"B7"_s), u"Борисова"_s);
    QCOMPARE(book.text(u"H6"_s), u"Имеются"_s);
    QVERIFY(book.format(u"H6"_s).bold);
    QCOMPARE(book.format(u"H6"_s).fontColor, u"FF0000"_s);
    QVERIFY(!book.format(u"H7"_s).bold);
    QCOMPARE(book.text(u"L6"_s), FloatToStr(45.5));
    QCOMPARE(book.text(u"M7"_s), u"Не определен"_s);
    QCOMPARE(book.text(u"AB6"_s), u"г. Велград"_s);
    QCOMPARE(book.text(u"AF6"_s), u"Нет"_s);
    QCOMPARE(book.text(u"AL6"_s), DateToStr(QDate(2026, 1, 13)));
}

void TestAppExport::longSheetQuestion_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("stop");
    // Физика has one row of its own
    QTest::newRow("998 rows: no question") << false << 997 << false;
    QTest::newRow("999 rows, stopped") << false << 998 << true;
    QTest::newRow("999 rows, going on") << false << 998 << false;
    QTest::newRow("full, 999 rows, stopped") << true << 998 << true;
}

void TestAppExport::longSheetQuestion()
{
    QFETCH(bool, full);
    QFETCH(int, rows);
    QFETCH(bool, stop);
    ExportSession s;
    addPhysicsRows(s.f, rows);
    s.seam.answerMessages(stop ? QMessageBox::Yes : QMessageBox::No);
    TFormAppExportReg w;
    choose(w, Physics, full, true);
    click(&w, u"BitBtn2"_s);

    const int count = rows + 1;
    const QString question = u"Отчет будет состоять из "_s + QString::number(count)
                             + u" записей. Его формирование может занять некоторое время.\n\rПРЕРВАТЬ создание отчета?"_s;
    if (count < 999) {
        QVERIFY(!s.seam.texts().contains(question));
    } else {
        QCOMPARE(s.seam.texts().first(), question);
        QCOMPARE(s.seam.messages.first().type, TMsgDlgType::Warning);
        QCOMPARE(s.seam.messages.first().buttons, QMessageBox::Yes | QMessageBox::No);
    }
    if (stop) {
        QCOMPARE(s.seam.messages.size(), 1);
        QVERIFY(s.out.filesIn(Folder).isEmpty());
        QVERIFY(s.out.opened.isEmpty());
        QVERIFY(find<QLabel>(&w, u"Lb"_s)->isHidden()); // the spreadsheet was not started
    } else {
        QCOMPARE(s.out.filesIn(Folder).size(), 1);
        QVERIFY(s.seam.texts().last().startsWith(SavedText));
        QCOMPARE(TXlsxReader(s.out.opened.value(0)).lastRow(), 5 + count);
    }
}

void TestAppExport::workbookCannotBeSaved()
{
    ExportSession s;
    s.out.refuseFiles(Folder);
    TFormAppExportReg w;
    choose(w, Chemistry, false, true);
    click(&w, u"BitBtn2"_s);
    // the window's message, then the real cause on a line of its own: what the
    // system says when a file is made in that folder
    QTemporaryFile probe(s.out.path(Folder) + u"/probe-XXXXXX"_s);
    QVERIFY(!probe.open());
    const QString path = s.out.path(Folder) + u"/(0)Краткая_заявка_(Химия)_"_s + today() + u".xlsx"_s;
    QCOMPARE(s.seam.texts(), QStringList{SaveFailed + u"\n\rНе удалось сохранить таблицу в файл \""_s
                                         + QDir::toNativeSeparators(path) + u"\": "_s + probe.errorString()});
    QVERIFY(!probe.errorString().isEmpty());
    QCOMPARE(s.seam.messages.first().type, TMsgDlgType::Error);
    QVERIFY(s.out.opened.isEmpty()); // nothing saved, nothing to show
    QVERIFY(idle(w));

    QVERIFY(s.out.reopen(Folder));
    s.seam.clear();
    click(&w, u"BitBtn2"_s);
    QCOMPARE(s.seam.texts().size(), 1);
    QVERIFY(s.seam.texts().first().startsWith(SavedText));
    QCOMPARE(s.out.filesIn(Folder).size(), 1);
}

void TestAppExport::noRowsLeaveTheBarIdle()
{
    ExportSession s;
    s.db.exec(u"DELETE FROM vzl_application_reg"_s);
    TFormAppExportReg w;
    for (const bool excel : {true, false}) {
        choose(w, Chemistry, false, excel);
        click(&w, u"BitBtn2"_s);
        const auto* bar = find<QProgressBar>(&w, u"ProgressBar1"_s);
        QVERIFY(bar->maximum() > bar->minimum()); // an equal pair is the busy animation
        QVERIFY(idle(w));
    }
    QCOMPARE(s.out.filesIn(Folder).size(), 2);
}

void TestAppExport::allEventsNameTitlesAndFiles()
{
    ExportSession s;
    TFormAppExportReg w;
    click(&w, u"BitBtn2"_s);
    const QString path = s.out.path(Folder) + u"/(0)Краткая_заявка_("_s + AllEvents + u")_"_s + today() + u".html"_s;
    QCOMPARE(s.out.opened, QStringList{path});
    const QStringList lines = fileLines(path);
    QCOMPARE(lines.at(9 + 7), u"<th colspan=\"20\">"_s + AllEvents
                                  + u". Краткая заявка на проживание (участие) в общеобразовательном региональном мероприятии.</th>"_s);
    QCOMPARE(lines.size(), 9 + 9 + 4 + 22 + 5 * 22 + 4);
}

void TestAppExport::longEventNameIsCutInFileNames()
{
    ExportSession s;
    const QString name = QString(u"Региональная олимпиада "_s).repeated(10).trimmed(); // 229 characters
    s.db.exec(u"UPDATE vzl_educationallist_reg SET nameEdu='%1' WHERE id=11"_s.arg(name));
    TFormAppExportReg w;
    choose(w, Physics, false, false);
    click(&w, u"BitBtn2"_s);
    QCOMPARE(s.seam.texts(), QStringList{});
    QCOMPARE(s.out.opened,
             QStringList{s.out.path(Folder) + u"/(0)Краткая_заявка_("_s + name.left(100) + u")_"_s + today() + u".html"_s});
    // the heading keeps the whole name
    QCOMPARE(fileLines(s.out.opened.first()).at(9 + 7), u"<th colspan=\"20\">"_s + name
             + u". Краткая заявка на проживание (участие) в общеобразовательном региональном мероприятии.</th>"_s);
}

void TestAppExport::folderCannotBeMade()
{
    ExportSession s;
    QVERIFY(s.out.blockFolder(Folder));
    TFormAppExportReg w;
    for (bool full : {false, true}) {
        s.seam.clear();
        choose(w, Chemistry, full, false);
        click(&w, u"BitBtn2"_s);
        QCOMPARE(s.seam.texts(), QStringList{u"Не удалось создать папку \"Заявки\""_s});
        QCOMPARE(s.seam.messages.first().type, TMsgDlgType::Error);
    }
    QVERIFY(s.out.opened.isEmpty());
}

void TestAppExport::htmlFileCannotBeCreated()
{
    ExportSession s;
    s.out.refuseFiles(Folder);
    TFormAppExportReg w;
    choose(w, Chemistry, false, false);
    click(&w, u"BitBtn2"_s);
    QCOMPARE(s.seam.messages.size(), 1);
    QCOMPARE(s.seam.messages.first().type, TMsgDlgType::Error);
    QVERIFY2(s.seam.texts().first().startsWith(u"Не удалось создать файл"_s), qPrintable(s.seam.texts().first()));
    QVERIFY(s.out.opened.isEmpty());
    QVERIFY(!DataZRT->emptySQL->Active());

    // the window stays usable: with a folder that works, the export goes through
    QVERIFY(s.out.reopen(Folder));
    s.seam.clear();
    click(&w, u"BitBtn2"_s);
    QCOMPARE(s.seam.texts(), QStringList{});
    QCOMPARE(s.out.opened.size(), 1);
}

void TestAppExport::databaseFailure()
{
    ExportSession s;
    TFormAppExportReg w;
    s.db.exec(u"DROP TABLE vzl_maintainer"_s);
    for (bool full : {false, true}) {
        s.seam.clear();
        choose(w, Chemistry, full, false);
        click(&w, u"BitBtn2"_s);
        QCOMPARE(s.seam.messages.size(), 1);
        QCOMPARE(s.seam.messages.first().type, TMsgDlgType::Error);
        QCOMPARE(s.seam.messages.first().caption, u"Тальвира"_s);
        QVERIFY2(s.seam.texts().first().contains(u"vzl_maintainer"_s), qPrintable(s.seam.texts().first()));
    }
    QVERIFY(s.out.opened.isEmpty());
    QVERIFY(s.out.filesIn(Folder).isEmpty());
    QVERIFY(!w.isClosing());
}

QTEST_MAIN(TestAppExport)
#include "test_app_export.moc"
