// The diploma journal against a real server: the events of every school year
// whose diplomas are released, the journal lines in status and name order with
// their numbers and colours, a title-click order that stays with the shared
// query, and the export with its counter, steps, failures and safe date.
//
// Administrator 501 is responsible for 20 "Химия" (active year 2025-2026, the
// event ends 2026-03-15), 21 "Биология" (2024-2025, ends 2025-03-20), 22 "Физика"
// (diplomas not released) and 23 "География" (inactive). Event 24 has another
// administrator. A diploma number carries the year of the event's end.

#include "diplomas/CreateDiplomJournal.h"
#include "diplomas/CreateDiplomReg.h"
#include "diplomas/DiplomaDrawing.h"
#include "data/MemTable.h"
#include "ui/SheetMessages.h"
#include "ui/ErrorDisplay.h"
#include "data/DBGrid.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Format.h"
#include "support/ExportRoot.h"
#include "support/Fixtures.h"
#include "support/RecordingProgress.h"
#include "support/TestDb.h"
#include "support/Ui.h"
#include "support/XlsxReader.h"

#include <QLocale>
#include <QPushButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Admin = 501;

// Nobody has a municipality, a phone or a row of further details; events have
// an end date at most and no venue; applications no class part and no hotel.
void fillJournal(Fixture& f)
{
    f.school({.id = 1, .name = u"Лицей 1"_s, .fullname = u"МБОУ \"Лицей № 1\" г. Велграда"_s, .areaID = Null});
    f.school({.id = 2, .name = u"СОШ 2"_s, .fullname = u"МБОУ СОШ № 2"_s, .areaID = Null});
    const auto user = [&f](UserRow row) {
        row.phone = u""_s;
        row.areaID = Null;
        row.details = false;
        f.user(row);
    };
    user({.id = Admin, .surname = u"Кириллова"_s, .name = u"Анна"_s, .patronymic = u"Петровна"_s, .schoolID = Null,
          .role = 54280});
    user({.id = 502, .surname = u"Орлов"_s, .name = u"Олег"_s, .patronymic = u"Олегович"_s, .schoolID = Null,
          .role = 54280});
    user({.id = 1001, .surname = u"Яковлев"_s, .name = u"Ян"_s, .patronymic = u"Янович"_s, .schoolID = 1});
    user({.id = 1002, .surname = u"Борисова"_s, .name = u"Вера"_s, .patronymic = u"Игоревна"_s, .schoolID = 2});
    user({.id = 1003, .surname = u"Волков"_s, .name = u"Глеб"_s, .patronymic = u"Денисович"_s, .schoolID = 1});
    user({.id = 1004, .surname = u"Абрамов"_s, .name = u"Антон"_s, .patronymic = u"Андреевич"_s, .schoolID = 2});
    user({.id = 1005, .surname = u"Абрамов"_s, .name = u"Антон"_s, .patronymic = u"Борисович"_s, .schoolID = 1});
    user({.id = 1006, .surname = u"Егорова"_s, .name = u"Ева"_s, .patronymic = u"Юрьевна"_s, .schoolID = 2});
    const auto event = [&f](EventRow row) {
        row.dateStart = Null;
        row.venue = Null;
        f.event(row);
    };
    event({.id = 20, .nameEdu = u"Химия"_s, .dateEnd = QDate(2026, 3, 15), .permissionDiplom = 1});
    event({.id = 21, .nameEdu = u"Биология"_s, .period = f.pastPeriod(), .dateEnd = QDate(2025, 3, 20),
           .permissionDiplom = 1});
    event({.id = 22, .nameEdu = u"Физика"_s, .dateEnd = Null, .permissionDiplom = 0});
    event({.id = 23, .nameEdu = u"География"_s, .active = false, .dateEnd = Null, .permissionDiplom = 1});
    event({.id = 24, .nameEdu = u"Астрономия"_s, .dateEnd = Null, .permissionDiplom = 1, .admin = 502});
    // id, pupil, class, event, stage, year, status
    const struct {
        int id, pupil, classStudy, event, level, period, status;
    } applications[] = {
        {1, 1001, 11, 20, 3, 2, 7}, {2, 1002, 10, 20, 3, 2, 1},  {3, 1003, 11, 20, 3, 2, 10}, {4, 1004, 9, 20, 3, 2, 4},
        {5, 1005, 11, 20, 3, 2, 1}, {6, 1006, 11, 20, 3, 2, 15}, {7, 1006, 11, 20, 2, 2, 1},  {8, 1001, 10, 21, 3, 1, 7},
    };
    for (const auto& a : applications)
        f.application({.id = a.id, .pupil = a.pupil, .event = a.event, .status = a.status, .classStudy = a.classStudy,
                       .classPart = Null, .level = a.level, .period = a.period, .area = Null, .hotel = Null});
}

struct Session {
    Session()
    {
        fillJournal(rows);
        DataZRT->userID = Admin;
    }
    DataSession s;
    Fixture rows{s.db, Fixture::YearsOnly};
};

struct LocaleFor {
    explicit LocaleFor(const QLocale& l) { QLocale::setDefault(l); }
    ~LocaleFor() { QLocale::setDefault(QLocale::c()); }
};

void choose(TFormCreateDiplomJournal& w, int event)
{
    auto* combo = find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s);
    combo->chooseIndex(combo->findData(event));
    QCOMPARE(w.chosenEvent(), event);
}

QStringList column(TQuery* q, const QString& field)
{
    QStringList values;
    for (int row = 0; row < q->RecordCount(); ++row)
        values << q->value(row, field).toString();
    return values;
}

QStringList comboTexts(TFormCreateDiplomJournal& w)
{
    auto* combo = find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s);
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

/// The grid's texts of every line, as the sheet should hold them in columns B to F.
QList<QStringList> gridRows(TFormCreateDiplomJournal& w)
{
    return gridTexts(find<TDBGrid>(&w, u"DBGrid1"_s), {u"nameStatus"_s, u"fio"_s, u"classStudy"_s, u"fullname"_s, u"numberDiplom"_s});
}

QList<QStringList> sheetRows(const TXlsxReader& book)
{
    return book.rowTexts(6, {u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s});
}

QStringList fios()
{
    QStringList names;
    for (int row = 0; row < DataZRT->GETjournal->RecordCount(); ++row)
        names << DataZRT->GETjournal->value(row, u"fio"_s).toString();
    return names;
}

QString journalFile(int counter)
{
    return u"Журнал/(%1)Журнал_"_s.arg(counter) + DateToStr(QDate::currentDate()).replace(u'/', u'_') + u".xlsx"_s;
}

} // namespace

class TestDiplomJournal : public QObject {
    Q_OBJECT
private slots:
    void eventsOfEveryYear();
    void journalLines();
    void numberIsTheDrawnOne();
    void rowColours();
    void exportWritesTheGrid();
    void earlierYearOfOneRow();
    void titleOrderHolds();
    void emptyJournal();
    void failures_data();
    void failures();
    void shortDateWithSlashes();
    void databaseFailure();
    void twoWindowsExportTheirOwnJournal();
    void activationKeepsOrderAndRow();
};

void TestDiplomJournal::eventsOfEveryYear()
{
    Session s;
    TFormCreateDiplomJournal w;
    QCOMPARE(w.windowTitle(),
             u"Электронный журнал выдачи дипломов (сертификатов) участникам регионального этапа олимпиад"_s);
    QCOMPARE(comboTexts(w), (QStringList{u"2024-2025 у/г. Биология"_s, u"2025-2026 у/г. Химия"_s}));
    QCOMPARE(w.chosenEvent(), 21);
    QCOMPARE(w.chosenEventText(), u"2024-2025 у/г. Биология"_s);
    QCOMPARE(gridRows(w), (QList<QStringList>{{u"Победитель регионального этапа"_s, u"Яковлев Ян Янович"_s, u"10"_s,
                                               u"МБОУ \"Лицей № 1\" г. Велграда"_s, u"21-1001-2025"_s}}));
    QVERIFY(find<QPushButton>(&w, u"BitBtn4"_s)->isEnabled());
}

void TestDiplomJournal::journalLines()
{
    Session s;
    TFormCreateDiplomJournal w;
    choose(w, 20);
    // By status, then surname, name and patronymic; the municipal stage left out.
    QCOMPARE(fios(), (QStringList{u"Абрамов Антон Борисович"_s, u"Борисова Вера Игоревна"_s,
                                  u"Абрамов Антон Андреевич"_s, u"Яковлев Ян Янович"_s, u"Волков Глеб Денисович"_s,
                                  u"Егорова Ева Юрьевна"_s}));
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    QCOMPARE(grid->cellText(4, u"numberDiplom"_s), u"20-1001-2026"_s);
    QStringList titles;
    for (const TColumn& c : grid->columns())
        titles << c.title;
    QCOMPARE(titles, (QStringList{u"Статус"_s, u"ФИО участника"_s, u"Класс"_s, u"Образовательная организация"_s,
                                  u"№ диплома (сертификата)"_s, QString()}));
    QVERIFY(grid->isColumnHidden(5));
    QVERIFY(grid->isReadOnly());
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
}

void TestDiplomJournal::numberIsTheDrawnOne()
{
    // The journal records the number the diploma prints for the same pupil.
    Session s;
    s.rows.area({.id = 1, .name = u"г. Велград"_s});
    s.s.db.exec(u"UPDATE vzl_application_reg SET areaID=1"_s);
    UiSeam seam;
    TFormCreateDiplomReg diplomas;
    auto* combo = find<TDBLookupComboBox>(&diplomas, u"DBLookupComboBox1"_s);
    combo->chooseIndex(combo->findData(20));
    diplomas.DBLookupComboBox1CloseUp();
    TFormCreateDiplomJournal w;
    choose(w, 20);
    TMemTable* list = diplomas.memList();
    QCOMPARE(list->RecordCount(), 3); // statuses 7, 10 and 4
    for (int recNo = 1; recNo <= list->RecordCount(); ++recNo) {
        const TDiplomaData d = diplomas.participant(recNo);
        const int line = fios().indexOf(d.surname + u' ' + d.name + u' ' + d.patronymic) + 1;
        QVERIFY(line > 0);
        QCOMPARE(u"Регистрационный № "_s + find<TDBGrid>(&w, u"DBGrid1"_s)->cellText(line, u"numberDiplom"_s),
                 registrationNumber(d));
        if (d.userID == 1001) // the event ends in 2026, its school year in May 2026
            QCOMPARE(registrationNumber(d), u"Регистрационный № 20-1001-2026"_s);
    }
}

void TestDiplomJournal::rowColours()
{
    Session s;
    TFormCreateDiplomJournal w;
    choose(w, 20);
    auto* grid = find<TDBGrid>(&w, u"DBGrid1"_s);
    // Statuses 1, 1, 4, 7, 10, 15.
    const QList<QColor> expected = {QColor(), QColor(), QColor(), QColor(240, 128, 128), QColor(255, 218, 185), QColor()};
    for (int k = 1; k <= 6; ++k)
        QCOMPARE(grid->rowColor(k), expected.at(k - 1));
}

void TestDiplomJournal::exportWritesTheGrid()
{
    LocaleFor locale(QLocale(QLocale::Russian, QLocale::Russia));
    Session s;
    ExportRoot root;
    UiSeam seam;
    TFormCreateDiplomJournal w;
    choose(w, 20);
    TQuery* q = DataZRT->GETjournal;
    q->setRecNo(2);
    RecordingProgress progress;
    w.setProgress(&progress);

    click(&w, u"BitBtn4"_s);

    const QString file = journalFile(0);
    QCOMPARE(seam.texts(), QStringList{sheetSavedText(root.path(file))});
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Information);
    QCOMPARE(root.files(), (QStringList{u"Журнал"_s, file}));
    QCOMPARE(root.opened, QStringList{root.path(file)});
    const TXlsxReader book(root.path(file));
    QCOMPARE(book.title(), u"Журнал выдачи дипломов"_s);
    QCOMPARE(book.text(u"A3"_s), u"2025-2026 у/г. Химия. Журнал выдачи дипломов (сертификатов)"_s);
    QCOMPARE(book.lastRow(), 11);
    QCOMPARE(sheetRows(book), gridRows(w));
    QCOMPARE(book.text(u"A11"_s), u"6"_s);

    // The count ran through the scratch query.
    QCOMPARE(DataZRT->emptySQL->SQL().at(2), u"WHERE A.`educationlListID_reg`=20"_s);
    QCOMPARE(progress.withoutPositions(),
             (QStringList{u"range 0 6"_s, u"step Создание экземпляра MS Excel"_s, u"text Создание заголовков таблицы"_s,
                          u"text Создание заголовков таблицы"_s, u"text Импорт данных..."_s,
                          u"text Форматирование таблицы..."_s, u"text Сохранение таблицы MS Excel в файл"_s, u"hide"_s,
                          u"hide"_s}));
    QVERIFY(!progress.visible);
    QCOMPARE(q->RecNo(), 2);
    QVERIFY(!q->ControlsDisabled());

    // The next one of the day takes the next counter.
    seam.clear();
    click(&w, u"BitBtn4"_s);
    QCOMPARE(seam.texts(), QStringList{sheetSavedText(root.path(journalFile(1)))});
    QCOMPARE(root.files(), (QStringList{u"Журнал"_s, file, journalFile(1)}));
}

void TestDiplomJournal::earlierYearOfOneRow()
{
    Session s;
    ExportRoot root;
    UiSeam seam;
    TFormCreateDiplomJournal w;
    QCOMPARE(w.chosenEvent(), 21);

    click(&w, u"BitBtn4"_s);

    QCOMPARE(seam.texts(), QStringList{sheetSavedText(root.path(journalFile(0)))});
    const TXlsxReader book(root.path(journalFile(0)));
    QCOMPARE(book.text(u"A3"_s), u"2024-2025 у/г. Биология. Журнал выдачи дипломов (сертификатов)"_s);
    QCOMPARE(book.lastRow(), 6);
    QCOMPARE(book.text(u"A6"_s), u"1"_s);
    QCOMPARE(book.text(u"F6"_s), u"21-1001-2025"_s);
    QCOMPARE(book.format(u"F6"_s).describe(), u"v=top wrap border=thin"_s);
    QCOMPARE(book.format(u"A7"_s).describe(), QString());
}

void TestDiplomJournal::titleOrderHolds()
{
    Session s;
    ExportRoot root;
    UiSeam seam;
    const QStringList byName = {u"Абрамов Антон Андреевич"_s, u"Абрамов Антон Борисович"_s, u"Борисова Вера Игоревна"_s,
                                u"Волков Глеб Денисович"_s, u"Егорова Ева Юрьевна"_s, u"Яковлев Ян Янович"_s};
    {
        TFormCreateDiplomJournal w;
        emit find<TDBGrid>(&w, u"DBGrid1"_s)->TitleClick(u"fio"_s);
        QCOMPARE(DataZRT->GETjournal->SQL().last(), u"ORDER BY fio"_s);
        QCOMPARE(DataZRT->GETjournal->SQL().size(), 10);
        choose(w, 20);
        QCOMPARE(fios(), byName);
        click(&w, u"BitBtn4"_s);
        QCOMPARE(sheetRows(TXlsxReader(root.path(journalFile(0)))), gridRows(w));
        w.close();
    }
    // A journal window opened later keeps the order.
    TFormCreateDiplomJournal later;
    choose(later, 20);
    QCOMPARE(fios(), byName);
}

void TestDiplomJournal::emptyJournal()
{
    Session s;
    DataZRT->userID = 503; // responsible for nothing
    TFormCreateDiplomJournal w;
    QCOMPARE(comboTexts(w), QStringList());
    QCOMPARE(w.chosenEvent(), 0);
    QCOMPARE(DataZRT->GETjournal->RecordCount(), 0);
    QVERIFY(!find<QPushButton>(&w, u"BitBtn4"_s)->isEnabled());
}

void TestDiplomJournal::failures_data()
{
    addExportFailureRows(u"Журнал"_s);
}

void TestDiplomJournal::failures()
{
    QFETCH(bool, folderMade);
    QFETCH(QString, message);
    Session s;
    ExportRoot root;
    root.failExport(u"Журнал"_s, folderMade);
    UiSeam seam;
    TFormCreateDiplomJournal w;
    choose(w, 20);
    TQuery* q = DataZRT->GETjournal;
    q->setRecNo(5);
    RecordingProgress progress;
    w.setProgress(&progress);

    click(&w, u"BitBtn4"_s);

    QCOMPARE(seam.texts().size(), 1);
    QVERIFY2(seam.texts().first().startsWith(message), qPrintable(seam.texts().first()));
    if (!folderMade)
        QCOMPARE(seam.texts().first(), message);
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Error);
    QCOMPARE(root.files(), folderMade ? QStringList{u"Журнал"_s} : QStringList());
    QCOMPARE(root.opened, QStringList());
    QCOMPARE(q->RecNo(), 5);
    QVERIFY(!q->ControlsDisabled());
    if (folderMade)
        QVERIFY(!progress.visible);
    else
        QCOMPARE(progress.calls, QStringList{u"range 0 6"_s}); // nothing was started

    // The window goes on: the next export into a usable folder succeeds.
    QVERIFY(QDir().mkdir(root.path(u"next"_s)));
    setOutputRoot(root.path(u"next"_s));
    seam.clear();
    click(&w, u"BitBtn4"_s);
    QCOMPARE(seam.texts(), QStringList{sheetSavedText(root.path(u"next/"_s + journalFile(0)))});
}

void TestDiplomJournal::shortDateWithSlashes()
{
    LocaleFor locale(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(DateToStr(QDate::currentDate()).contains(u'/'));
    Session s;
    ExportRoot root;
    UiSeam seam;
    TFormCreateDiplomJournal w;
    click(&w, u"BitBtn4"_s);
    const QString file = u"Журнал/(0)Журнал_"_s + DateToStr(QDate::currentDate()).replace(u'/', u'_') + u".xlsx"_s;
    QCOMPARE(root.files(), (QStringList{u"Журнал"_s, file}));
    QCOMPARE(seam.texts(), QStringList{sheetSavedText(root.path(file))});
}

void TestDiplomJournal::databaseFailure()
{
    Session s;
    ExportRoot root;
    UiSeam seam;
    TFormCreateDiplomJournal w;
    s.s.cutConnection();

    click(&w, u"BitBtn4"_s); // the count fails
    QCOMPARE(seam.messages.size(), 1);
    QCOMPARE(seam.messages.first().caption, applicationTitle());
    QCOMPARE(root.files(), QStringList());

    QVERIFY(seam.messages.first().text.startsWith(u"Соединение с базой данных потеряно."_s));

    // The window is still there: the next action connects again by itself and reads.
    seam.clear();
    choose(w, 20);
    QCOMPARE(seam.messages.size(), 0);
    QCOMPARE(DataZRT->GETjournal->RecordCount(), 6);
    QVERIFY(find<QPushButton>(&w, u"BitBtn4"_s)->isEnabled());
}

void TestDiplomJournal::twoWindowsExportTheirOwnJournal()
{
    Session s;
    ExportRoot root;
    UiSeam seam;
    TFormCreateDiplomJournal chemistry;
    choose(chemistry, 20);
    TFormCreateDiplomJournal biology; // opens on 21 and so re-reads the shared journal
    QCOMPARE(biology.chosenEvent(), 21);

    // the chemistry window's export would list the biology journal: it reads its own and writes nothing
    click(&chemistry, u"BitBtn4"_s);
    QCOMPARE(seam.texts(), QStringList{TChildForm::refreshedText()});
    QCOMPARE(root.files(), QStringList());
    QCOMPARE(DataZRT->GETjournal->RecordCount(), 6);

    seam.clear();
    click(&chemistry, u"BitBtn4"_s);
    QCOMPARE(seam.texts(), QStringList{sheetSavedText(root.path(journalFile(0)))});
    QCOMPARE(TXlsxReader(root.path(journalFile(0))).lastRow(), 11);
}

void TestDiplomJournal::activationKeepsOrderAndRow()
{
    Session s;
    UiSeam seam;
    TFormCreateDiplomJournal chemistry;
    choose(chemistry, 20);
    emit find<TDBGrid>(&chemistry, u"DBGrid1"_s)->TitleClick(u"fio"_s);
    TQuery* q = DataZRT->GETjournal;
    const QStringList sorted = column(q, u"fio"_s);
    q->setRecNo(4);
    const QString number = q->FieldByName(u"numberDiplom"_s).asString();

    TFormCreateDiplomJournal biology; // reads the shared journal for 21
    QCOMPARE(q->RecordCount(), 1);
    chemistry.FormActivate();
    QCOMPARE(q->SQL().last(), u"ORDER BY fio"_s);
    QCOMPARE(column(q, u"fio"_s), sorted);
    QCOMPARE(q->FieldByName(u"numberDiplom"_s).asString(), number);
    QCOMPARE(q->RecNo(), 4);
    QVERIFY(seam.messages.isEmpty());
}

QTEST_MAIN(TestDiplomJournal)
#include "test_diplom_journal.moc"
