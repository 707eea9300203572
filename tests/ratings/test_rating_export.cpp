// The rating export of the rating window against a real server: the sheet holds
// the grid's rows in the grid's order with their display texts, the file takes
// the next free counter and a safe name, the steps show on the label, and the
// grid comes back to its row after success and failure alike.

#include "ui/SheetMessages.h"
#include "ratings/CreateRatingReg.h"
#include "data/DBGrid.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Format.h"
#include "support/ExportRoot.h"
#include "support/RecordingProgress.h"
#include "support/TestDb.h"
#include "support/Ui.h"
#include "support/XlsxReader.h"
#include "RatingFixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QString ratingFile(const QString& counter, const QString& event)
{
    return u"Рейтинги/("_s + counter + u")_Окончательный_("_s + event + u")_"_s + DateToStr(QDate::currentDate())
           + u".xlsx"_s;
}

QString saved(const ExportRoot& root, const QString& relative)
{
    return sheetSavedText(root.path(relative));
}

/// The grid's texts of every row, as the sheet should hold them in columns B to F.
QList<QStringList> gridRows(TFormCeateRatingReg& w)
{
    return gridTexts(find<TDBGrid>(&w, u"DBGrid1"_s), {u"fio"_s, u"classStudy"_s, u"name"_s, u"result"_s, u"nameStatus"_s});
}

QList<QStringList> sheetRows(const TXlsxReader& book)
{
    return book.rowTexts(5, {u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s});
}

const QStringList ExportSteps = {
    u"step Создание экземпляра MS Excel"_s,   u"text Создание заголовков таблицы"_s,
    u"text Импорт данных"_s,                  u"range 0 %1"_s,
    u"text Форматирование таблицы..."_s,      u"text Сохранение таблицы MS Excel в файл"_s,
    u"hide"_s,
};

QStringList exportSteps(int rows)
{
    QStringList steps = ExportSteps;
    steps[3] = steps[3].arg(rows);
    return steps;
}

} // namespace

class TestRatingExport : public QObject {
    Q_OBJECT
private slots:
    void exportsTheGridAsShown_data();
    void exportsTheGridAsShown();
    void nextExportTakesTheNextCounter();
    void closedEventOfOneRow();
    void unsafeNameAndDate();
    void failures_data();
    void failures();
    void noRows();
};

void TestRatingExport::exportsTheGridAsShown_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("rows");
    QTest::newRow("best result first") << QString() << 10;
    QTest::newRow("title click on МО") << u"name"_s << 10;
    QTest::newRow("girls only") << u"RadioGender1"_s << 4;
}

void TestRatingExport::exportsTheGridAsShown()
{
    QFETCH(QString, change);
    QFETCH(int, rows);
    LocaleFor locale(QLocale(QLocale::Russian, QLocale::Russia));
    Session s;
    ExportRoot root;
    UiSeam seam;
    TFormCeateRatingReg w;
    if (change == u"name"_s)
        emit find<TDBGrid>(&w, u"DBGrid1"_s)->TitleClick(change);
    else if (!change.isEmpty())
        find<QRadioButton>(&w, change)->click();
    TQuery* q = DataZRT->GETcreateRatingReg;
    QCOMPARE(q->RecordCount(), rows);
    q->setRecNo(3);
    RecordingProgress progress;
    w.setProgress(&progress);

    click(&w, u"BitBtn4"_s);

    const QString file = ratingFile(u"0"_s, u"Математика"_s);
    QCOMPARE(seam.texts(), QStringList{saved(root, file)});
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Information);
    QCOMPARE(root.files(), (QStringList{u"Рейтинги"_s, file}));
    QCOMPARE(root.opened, QStringList{root.path(file)});
    const TXlsxReader book(root.path(file));
    QCOMPARE(book.text(u"A3"_s), u"Математика. Рейтинг регионального общеобразовательного мероприятия"_s);
    QCOMPARE(book.lastRow(), 4 + rows);
    QCOMPARE(sheetRows(book), gridRows(w));
    QCOMPARE(book.text(u"A%1"_s.arg(4 + rows)), u"%1."_s.arg(rows));
    if (change.isEmpty()) {
        QCOMPARE(book.text(u"E6"_s), u"21"_s);
        QCOMPARE(book.text(u"E7"_s), u"20,5"_s); // the display text of the locale
    }
    if (change == u"name"_s)
        QCOMPARE(book.text(u"D5"_s), u"Бережанский район"_s);

    QCOMPARE(q->RecNo(), 3);
    QVERIFY(!q->ControlsDisabled());
    QCOMPARE(progress.withoutPositions(), exportSteps(rows));
    QVERIFY(!progress.visible);
    QCOMPARE(progress.position, 0);
}

void TestRatingExport::nextExportTakesTheNextCounter()
{
    Session s;
    ExportRoot root;
    UiSeam seam;
    TFormCeateRatingReg w;
    click(&w, u"BitBtn4"_s);
    click(&w, u"BitBtn4"_s);
    const QString first = ratingFile(u"0"_s, u"Математика"_s);
    const QString second = ratingFile(u"1"_s, u"Математика"_s);
    QCOMPARE(seam.texts(), (QStringList{saved(root, first), saved(root, second)}));
    QCOMPARE(root.files(), (QStringList{u"Рейтинги"_s, first, second}));
    QCOMPARE(root.opened, (QStringList{root.path(first), root.path(second)}));
    QCOMPARE(sheetRows(TXlsxReader(root.path(second))), sheetRows(TXlsxReader(root.path(first))));
}

void TestRatingExport::closedEventOfOneRow()
{
    Session s;
    ExportRoot root;
    UiSeam seam;
    TFormCeateRatingReg w;
    auto* combo = find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s);
    combo->chooseIndex(combo->findData(11));
    QCOMPARE(w.chosenEvent(), 11);
    QVERIFY(!find<TDBGrid>(&w, u"DBGrid1"_s)->isEnabled());
    QVERIFY(find<QPushButton>(&w, u"BitBtn4"_s)->isEnabled());

    click(&w, u"BitBtn4"_s);

    const QString file = ratingFile(u"0"_s, u"Физика"_s);
    QCOMPARE(seam.texts(), QStringList{saved(root, file)});
    const TXlsxReader book(root.path(file));
    QCOMPARE(book.lastRow(), 5);
    QCOMPARE(sheetRows(book), (QList<QStringList>{{u"Лебедева Лада Павловна"_s, u"11"_s, u"г. Велград"_s, u"22"_s,
                                                   u"Кандидат в участники"_s}}));
    QCOMPARE(book.text(u"A5"_s), u"1."_s);
    for (const QString& c : {u"A5"_s, u"C5"_s, u"E5"_s})
        QCOMPARE(book.format(c).describe(), u"h=center border=thin"_s);
    for (const QString& c : {u"B5"_s, u"D5"_s, u"F5"_s})
        QCOMPARE(book.format(c).describe(), u"border=thin"_s);
    QCOMPARE(book.format(u"A6"_s).describe(), QString());
}

void TestRatingExport::unsafeNameAndDate()
{
    // A short date with slashes and an event name of every forbidden character.
    LocaleFor locale(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(DateToStr(QDate::currentDate()).contains(u'/'));
    Session s;
    s.s.db.exec(u"UPDATE vzl_educationallist_reg SET nameEdu='Химия 10/11: \"финал\" <*>?|\\\\..' WHERE id=10"_s);
    ExportRoot root;
    UiSeam seam;
    TFormCeateRatingReg w;
    auto* combo = find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s);
    combo->chooseIndex(combo->findData(10)); // the list is in name order

    click(&w, u"BitBtn4"_s);

    const QString file = u"Рейтинги/(0)_Окончательный_(Химия 10_11_ _финал_ ______..)_"_s
                         + DateToStr(QDate::currentDate()).replace(u'/', u'_') + u".xlsx"_s;
    QCOMPARE(root.files(), (QStringList{u"Рейтинги"_s, file}));
    QCOMPARE(seam.texts(), QStringList{saved(root, file)});
    QCOMPARE(TXlsxReader(root.path(file)).text(u"A3"_s),
             u"Химия 10/11: \"финал\" <*>?|\\... Рейтинг регионального общеобразовательного мероприятия"_s);
}

void TestRatingExport::failures_data()
{
    addExportFailureRows(u"Рейтинги"_s);
}

void TestRatingExport::failures()
{
    QFETCH(bool, folderMade);
    QFETCH(QString, message);
    Session s;
    ExportRoot root;
    root.failExport(u"Рейтинги"_s, folderMade);
    UiSeam seam;
    TFormCeateRatingReg w;
    TQuery* q = DataZRT->GETcreateRatingReg;
    q->setRecNo(4);
    RecordingProgress progress;
    w.setProgress(&progress);

    click(&w, u"BitBtn4"_s);

    QCOMPARE(seam.texts().size(), 1);
    QVERIFY2(seam.texts().first().startsWith(message), qPrintable(seam.texts().first()));
    if (!folderMade)
        QCOMPARE(seam.texts().first(), message);
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Error);
    QCOMPARE(root.files(), folderMade ? QStringList{u"Рейтинги"_s} : QStringList());
    QCOMPARE(root.opened, QStringList());
    QCOMPARE(q->RecNo(), 4);
    QVERIFY(!q->ControlsDisabled());
    QVERIFY(!progress.visible);
    QCOMPARE(progress.position, 0);
    if (!folderMade)
        QCOMPARE(progress.calls, QStringList()); // nothing was started

    // The window goes on: the next export into a usable folder succeeds.
    QVERIFY(QDir().mkdir(root.path(u"next"_s)));
    setOutputRoot(root.path(u"next"_s));
    seam.clear();
    click(&w, u"BitBtn4"_s);
    const QString file = u"next/"_s + ratingFile(u"0"_s, u"Математика"_s);
    QCOMPARE(seam.texts(), QStringList{saved(root, file)});
    QVERIFY(QFileInfo::exists(root.path(file)));
}

void TestRatingExport::noRows()
{
    Session s;
    ExportRoot root;
    UiSeam seam;
    TFormCeateRatingReg w;
    find<QCheckBox>(&w, u"CheckBox5"_s)->click();
    find<QCheckBox>(&w, u"CheckBox11"_s)->click();
    QCOMPARE(DataZRT->GETcreateRatingReg->RecordCount(), 0);
    QVERIFY(!find<QPushButton>(&w, u"BitBtn4"_s)->isEnabled());
    RecordingProgress progress;
    w.setProgress(&progress);

    w.BitBtn4Click();

    QCOMPARE(seam.texts(), QStringList{u"Нет данных для импорта"_s});
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Information);
    QCOMPARE(root.files(), QStringList());
    QCOMPARE(progress.calls, QStringList());
}

QTEST_MAIN(TestRatingExport)
#include "test_rating_export.moc"
