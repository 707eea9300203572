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

void fillJournal(TestDb& db)
{
    db.exec(u"INSERT INTO vzl_periods(id,name,active,dateEnd) VALUES (1,'2024-2025',0,'2025-05-31'),(2,'2025-2026',1,'2026-05-31')"_s);
    db.exec(u"INSERT INTO vzl_schools(id,name,fullname) VALUES (1,'Лицей 1','МБОУ \"Лицей № 1\" г. Велграда'),(2,'СОШ 2','МБОУ СОШ № 2')"_s);
    db.exec(u"INSERT INTO vzl_users(id,surname,name,patronymic,schoolID,roleID,isActive) VALUES "
            "(501,'Кириллова','Анна','Петровна',NULL,54280,1),(502,'Орлов','Олег','Олегович',NULL,54280,1),"
            "(1001,'Яковлев','Ян','Янович',1,4,1),(1002,'Борисова','Вера','Игоревна',2,4,1),"
            "(1003,'Волков','Глеб','Денисович',1,4,1),(1004,'Абрамов','Антон','Андреевич',2,4,1),"
            "(1005,'Абрамов','Антон','Борисович',1,4,1),(1006,'Егорова','Ева','Юрьевна',2,4,1)"_s);
    db.exec(u"INSERT INTO vzl_educationallist_reg(id,nameEdu,isActive,idPeriod,permissionDiplom,dateEnd) VALUES "
            "(20,'Химия',1,2,1,'2026-03-15'),(21,'Биология',1,1,1,'2025-03-20'),(22,'Физика',1,2,0,NULL),"
            "(23,'География',0,2,1,NULL),(24,'Астрономия',1,2,1,NULL)"_s);
    db.exec(u"INSERT INTO vzl_userseducation(usersID,educationListID,periodsID) VALUES "
            "(501,20,2),(501,21,1),(501,22,2),(501,23,2),(502,24,2)"_s);
    db.exec(u"INSERT INTO vzl_application_reg(id,userID,classStudy,educationlListID_reg,levelolimpID,periodID,statusparticipantID) VALUES "
            "(1,1001,11,20,3,2,7),(2,1002,10,20,3,2,1),(3,1003,11,20,3,2,10),(4,1004,9,20,3,2,4),"
            "(5,1005,11,20,3,2,1),(6,1006,11,20,3,2,15),(7,1006,11,20,2,2,1),(8,1001,10,21,3,1,7)"_s);
}

struct Session {
    Session()
    {
        fillJournal(s.db);
        DataZRT->userID = Admin;
    }
    DataSession s;
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
    s.s.db.exec(u"INSERT INTO vzl_areas(id,name) VALUES (1,'г. Велград')"_s);
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
    QTest::addColumn<bool>("folderMade");
    QTest::addColumn<QString>("message");
    QTest::newRow("folder cannot be made") << false << folderErrorText(u"Журнал"_s);
    // the window's message, then the cause on a line of its own
    QTest::newRow("folder takes no files") << true << sheetWriteErrorText() + u"\n\rНе удалось сохранить таблицу в файл \""_s;
}

void TestDiplomJournal::failures()
{
    QFETCH(bool, folderMade);
    QFETCH(QString, message);
    Session s;
    ExportRoot root;
    if (folderMade)
        root.refuseFiles(u"Журнал"_s);
    else
        setOutputRoot(root.path(u"missing/deeper"_s));
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
