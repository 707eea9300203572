// The data-aware layer: memory tables behind a data source, editing cells by
// the field's type, posting an edited row, pick lists, context menus, field
// positions after a re-sort, and re-reading at the same record number.

#include "data/DBGrid.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Errors.h"
#include "data/GridPause.h"
#include "data/MemTable.h"
#include "support/Fixtures.h"
#include "support/TestDb.h"

#include <QComboBox>
#include <QLineEdit>
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestDataLayer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void memoryTableBehindGridAndList();
    void editsParseByFieldType_data();
    void editsParseByFieldType();
    void refusedEdits();
    void rowPostedOnLeavingOrEnter();
    void pickListEditor();
    void contextMenuMakesRowCurrent();
    void fieldPositionsFollowTheOpening();
    void refreshReturnsToTheRecord();
    void gridPauseKeepsTheRow_data();
    void gridPauseKeepsTheRow();
    void textRowsRefuseAnUnknownField();
    void fixtureGivesAnAdministratorWithEvents();

private:
    std::unique_ptr<DataSession> s;
    std::unique_ptr<TQuery> q;
    std::unique_ptr<TDataSource> source;
};

void TestDataLayer::init()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    s = std::make_unique<DataSession>();
    s->db.exec(u"INSERT INTO vzl_application_reg(id,userID,educationlListID_reg,classStudy,result,dateIn) VALUES "
               "(1,11,5,9,12.5,'2026-03-22'),(2,12,5,10,NULL,NULL),(3,13,5,11,30,'2026-03-23')"_s);
    q = std::make_unique<TQuery>(u"rows"_s, &DataZRT->FDConnection1);
    q->SQL() << u"SELECT `id`,`classStudy`,`result`,`dateIn`,`userID` FROM `vzl_application_reg`"_s << u"ORDER BY id"_s;
    q->Open();
    source = std::make_unique<TDataSource>(u"Sourcerows"_s, q.get());
}

void TestDataLayer::cleanup()
{
    source.reset();
    q.reset();
    s.reset();
    QLocale::setDefault(QLocale::c());
}

void TestDataLayer::memoryTableBehindGridAndList()
{
    TMemTable mem(u"MemEdu"_s, {u"id"_s, u"name"_s});
    TDataSource src(u"SourceMemEdu"_s, &mem);
    TDBGrid grid;
    grid.setDataSource(&src);
    grid.setColumns({{u"id"_s, QString(), false}, {u"name"_s, u"Мероприятие"_s}});
    TDBLookupComboBox list;
    list.setListSource(&src, u"id"_s, u"name"_s);

    mem.Open();
    QVERIFY(mem.Active());
    QVERIFY(mem.IsEmpty());
    mem.AppendRecord({0, u"Все"_s});
    mem.AppendRecord({7, u"Химия"_s});
    mem.AppendRecord({9}); // missing values are empty
    QCOMPARE(mem.RecordCount(), 3);
    QCOMPARE(mem.RecNo(), 3);
    QVERIFY(mem.FieldByName(u"name"_s).isNull());
    QCOMPARE(grid.model()->rowCount(), 3);
    QCOMPARE(grid.cellText(2, u"name"_s), u"Химия"_s);
    QCOMPARE(list.count(), 3);
    list.setKeyValue(7);
    QCOMPARE(list.currentText(), u"Химия"_s);

    mem.setRecNo(2);
    mem.setFieldValue(u"name"_s, u"Физика"_s);
    QCOMPARE(grid.cellText(2, u"name"_s), u"Физика"_s);
    QVERIFY_THROWS_EXCEPTION(EError, mem.setFieldValue(u"nope"_s, 1));
    QVERIFY(mem.Locate(u"id"_s, 9));
    QCOMPARE(mem.RecNo(), 3);

    mem.EmptyTable();
    QVERIFY(mem.Active());
    QCOMPARE(grid.model()->rowCount(), 0);
    QVERIFY_THROWS_EXCEPTION(EError, mem.setFieldValue(u"name"_s, u"x"_s));
}

void TestDataLayer::editsParseByFieldType_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("comma decimal") << u"result"_s << u"20,5"_s << QVariant(20.5);
    QTest::newRow("whole number") << u"result"_s << u" 21 "_s << QVariant(21.0);
    QTest::newRow("integer") << u"classStudy"_s << u"8"_s << QVariant(qlonglong(8));
    QTest::newRow("date") << u"dateIn"_s << u"24.03.2026"_s << QVariant(QDate(2026, 3, 24));
}

void TestDataLayer::editsParseByFieldType()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QVariant, stored);
    TDBGrid grid;
    grid.setDataSource(source.get());
    grid.setColumns({{u"id"_s, QString(), false}, {field, u"x"_s, true, Qt::AlignLeft, 0, true}});
    QSignalSpy errors(&grid, &TDBGrid::EditError);
    QVERIFY(grid.editCell(2, field, typed));
    QCOMPARE(errors.count(), 0);
    QCOMPARE(q->RecNo(), 2);
    const QVariant value = q->value(1, field);
    if (stored.typeId() == QMetaType::Double)
        QCOMPARE(value.toDouble(), stored.toDouble());
    else if (stored.typeId() == QMetaType::QDate)
        QCOMPARE(value.toDate(), stored.toDate());
    else
        QCOMPARE(value.toLongLong(), stored.toLongLong());
    QCOMPARE(grid.pendingRow(), 2);
}

void TestDataLayer::refusedEdits()
{
    TDBGrid grid;
    grid.setDataSource(source.get());
    grid.setColumns({{u"id"_s, QString(), false}, {u"userID"_s, u"Участник"_s},
                     {u"result"_s, u"Результат"_s, true, Qt::AlignCenter, 0, true}});
    QSignalSpy errors(&grid, &TDBGrid::EditError);
    for (const QString& typed : {u"abc"_s, u""_s, u"inf"_s, u"10.5"_s}) {
        QVERIFY2(!grid.editCell(1, u"result"_s, typed), qPrintable(typed));
        QCOMPARE(q->value(0, u"result"_s).toDouble(), 12.5);
    }
    QCOMPARE(errors.count(), 4);
    QVERIFY(errors.first().first().toString().contains(u"abc"_s));
    QCOMPARE(grid.pendingRow(), 0);

    // a column without editing and a read-only grid take nothing, silently
    QVERIFY(!grid.editCell(1, u"userID"_s, u"99"_s));
    grid.setReadOnly(true);
    QVERIFY(!grid.editCell(1, u"result"_s, u"1"_s));
    QVERIFY(!(grid.model()->flags(grid.model()->index(0, 2)) & Qt::ItemIsEditable));
    grid.setReadOnly(false);
    QVERIFY(grid.model()->flags(grid.model()->index(0, 2)) & Qt::ItemIsEditable);
    QVERIFY(!(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable));
}

void TestDataLayer::rowPostedOnLeavingOrEnter()
{
    TDBGrid grid;
    grid.setDataSource(source.get());
    grid.setColumns({{u"id"_s, QString(), false}, {u"result"_s, u"Результат"_s, true, Qt::AlignCenter, 0, true}});
    grid.show();
    QSignalSpy posted(&grid, &TDBGrid::RowPosted);

    QVERIFY(grid.editCell(1, u"result"_s, u"15"_s));
    QCOMPARE(posted.count(), 0);
    q->setRecNo(3); // leaving the row
    QCOMPARE(posted.count(), 1);
    QCOMPARE(posted.takeFirst().first().toInt(), 1);

    QVERIFY(grid.editCell(3, u"result"_s, u"31"_s));
    QTest::keyClick(&grid, Qt::Key_Return);
    QCOMPARE(posted.count(), 1);
    QCOMPARE(posted.takeFirst().first().toInt(), 3);
    QCOMPARE(grid.pendingRow(), 0);

    // typing in the cell editor and confirming with Enter posts at once
    q->setRecNo(2);
    const QModelIndex cell = grid.model()->index(1, 1);
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto* editor = grid.viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText(u"7,25"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the view commits a confirmed editor queued
    QCOMPARE(posted.count(), 1);
    QCOMPARE(posted.first().first().toInt(), 2);
    QCOMPARE(q->value(1, u"result"_s).toDouble(), 7.25);

    // rows read again drop an edit that was not posted
    QVERIFY(grid.editCell(1, u"result"_s, u"1"_s));
    q->Refresh();
    QCOMPARE(grid.pendingRow(), 0);
}

void TestDataLayer::pickListEditor()
{
    TMemTable mem(u"MemList"_s, {u"id"_s, u"checkOUT"_s});
    mem.AppendRecord({1, u"Нет"_s});
    mem.AppendRecord({2, u"Нет"_s});
    TDataSource src(u"SourceMemList"_s, &mem);
    TDBGrid grid;
    grid.setDataSource(&src);
    grid.setColumns({{u"id"_s, QString(), false},
                     {u"checkOUT"_s, u"Выбор"_s, true, Qt::AlignCenter, 0, true, {u"Да"_s, u"Нет"_s}}});
    grid.show();
    const QModelIndex cell = grid.model()->index(1, 1);
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto* box = grid.viewport()->findChild<QComboBox*>();
    QVERIFY(box);
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->currentText(), u"Нет"_s);
    box->setCurrentIndex(0);
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(mem.value(1, u"checkOUT"_s).toString(), u"Да"_s);
    QCOMPARE(mem.value(0, u"checkOUT"_s).toString(), u"Нет"_s);
}

void TestDataLayer::contextMenuMakesRowCurrent()
{
    TDBGrid grid;
    grid.setDataSource(source.get());
    grid.setColumns({{u"id"_s, QString(), false}, {u"userID"_s, u"Участник"_s}, {u"result"_s, u"Результат"_s}});
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy menu(&grid, &TDBGrid::CellContextMenu);
    const QRect cell = grid.visualRect(grid.model()->index(2, 2));
    QContextMenuEvent event(QContextMenuEvent::Mouse, cell.center(), grid.viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(grid.viewport(), &event);
    QCOMPARE(menu.count(), 1);
    QCOMPARE(menu.first().first().toString(), u"result"_s);
    QCOMPARE(q->RecNo(), 3);
}

void TestDataLayer::fieldPositionsFollowTheOpening()
{
    TDBGrid grid;
    grid.setDataSource(source.get());
    grid.setColumns({{u"id"_s, QString(), false}, {u"result"_s, u"Результат"_s}, {u"userID"_s, u"Участник"_s}});
    QCOMPARE(grid.model()->index(0, 1).data().toString(), u"12,5"_s);
    // the same fields in another order after the next opening
    q->Close();
    q->SQL() = QStringList{u"SELECT `userID`,`result`,`id` FROM `vzl_application_reg`"_s, u"ORDER BY id DESC"_s};
    q->Open();
    QCOMPARE(grid.model()->index(0, 1).data().toString(), u"30"_s);
    QCOMPARE(grid.model()->index(0, 2).data().toString(), u"13"_s);
}

void TestDataLayer::refreshReturnsToTheRecord()
{
    q->setRecNo(2);
    s->db.exec(u"UPDATE vzl_application_reg SET result=40 WHERE id=2"_s);
    q->Refresh();
    QCOMPARE(q->RecNo(), 2);
    QCOMPARE(q->FieldByName(u"result"_s).asFloat(), 40.0);
    q->setRecNo(3);
    s->db.exec(u"DELETE FROM vzl_application_reg WHERE id=3"_s);
    q->Refresh(); // kept inside the rows that are there now
    QCOMPARE(q->RecNo(), 2);
}

void TestDataLayer::gridPauseKeepsTheRow_data()
{
    QTest::addColumn<QString>("keyField");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<int>("recNo");
    // row 2 (id 8) is current; the rows come again as 6, 7, 9, 8 while the grid stands still
    QTest::newRow("by record number") << QString() << false << 2;
    QTest::newRow("by record number, walk fails") << QString() << true << 2;
    QTest::newRow("by key") << u"id"_s << false << 4;
    QTest::newRow("by key, walk fails") << u"id"_s << true << 4;
}

void TestDataLayer::gridPauseKeepsTheRow()
{
    QFETCH(QString, keyField);
    QFETCH(bool, fails);
    QFETCH(int, recNo);
    TMemTable mem(u"MemList"_s, {u"id"_s, u"name"_s});
    TDataSource src(u"SourceMemList"_s, &mem);
    TDBGrid grid;
    grid.setDataSource(&src);
    grid.setColumns({{u"id"_s, u"№"_s}, {u"name"_s, u"Имя"_s}});
    mem.Open();
    for (int id : {7, 8, 9})
        mem.AppendRecord({id, u"row %1"_s.arg(id)});
    mem.setRecNo(2); // id 8
    try {
        auto pause = keyField.isEmpty() ? std::make_unique<TGridPause>(&mem)
                                        : std::make_unique<TGridPause>(&mem, keyField);
        QVERIFY(mem.ControlsDisabled());
        mem.EmptyTable();
        for (int id : {6, 7, 9, 8})
            mem.AppendRecord({id, u"row %1"_s.arg(id)});
        mem.First();
        if (fails)
            throw EError(u"walk failed"_s);
    } catch (const EError&) {
    }
    QVERIFY(!mem.ControlsDisabled());
    QCOMPARE(mem.RecNo(), recNo);
    QCOMPARE(grid.model()->rowCount(), 4);
    QCOMPARE(grid.currentIndex().row(), recNo - 1); // the grid follows to the kept row
}

void TestDataLayer::textRowsRefuseAnUnknownField()
{
    struct Row {
        QString a;
    };
    QVERIFY_THROWS_EXCEPTION(EError, textRowsOf<Row>(q.get(), {{u"nope"_s, &Row::a}}));
    auto rows = textRowsOf<Row>(q.get(), {{u"RESULT"_s, &Row::a}});
    Row row;
    QVERIFY(rows(row));
    QCOMPARE(row.a, u"12,5"_s);
}

void TestDataLayer::fixtureGivesAnAdministratorWithEvents()
{
    s->db.exec(u"DELETE FROM vzl_application_reg"_s);
    Fixture f(s->db);
    const int chem = f.event({.nameEdu = u"Химия"_s});
    f.event({.nameEdu = u"Право прошлого года"_s, .period = f.pastPeriod()});
    const int pupil = f.user({.surname = u"Абрамов"_s});
    const int app = f.application({.pupil = pupil, .event = chem, .status = 7, .result = 25.0});
    f.logIn();
    QCOMPARE(openAdministratorEvents(DataZRT->GETeduReg), chem);
    QCOMPARE(DataZRT->GETeduReg->RecordCount(), 1);
    QCOMPARE(s->db.scalar(u"SELECT CONCAT(statusparticipantID,' ',result,' ',actionareaID,' ',levelolimpID) FROM vzl_application_reg WHERE id=%1"_s.arg(app)).toString(),
             u"7 25 1 3"_s);
    DataZRT->GETeduReg->Close();
}

QTEST_MAIN(TestDataLayer)
#include "test_data_layer.moc"
