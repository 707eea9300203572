// What every window leans on without a database: safe file names and the
// counter, the status label over a progress bar, downloads from a local server,
// the export to a spreadsheet and how its failures end, the focus given back
// after a message box, a window's handlers cut off while it is taken down.

#include "data/Errors.h"
#include "data/Files.h"
#include "data/MemTable.h"
#include "export/Excel.h"
#include "support/ExportRoot.h"
#include "support/HttpServer.h"
#include "support/RecordingProgress.h"
#include "support/Ui.h"
#include "ui/Dialogs.h"
#include "ui/Download.h"
#include "ui/ChildForm.h"
#include "ui/ProgressLabel.h"
#include "ui/SheetExport.h"
#include "ui/SheetMessages.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestWindowSupport : public QObject {
    Q_OBJECT
private slots:
    void safeFileNames_data();
    void safeFileNames();
    void counterTakesTheFirstFreeNumber();
    void counterMakesTheDateSafe();
    void outputFolderFollowsTheRoot();
    void labelLiesOverTheBar();
    void emptyRangeIsNotBusy();
    void sheetExport_data();
    void sheetExport();
    void downloadFromLocalServer();
    void downloadFailures_data();
    void downloadFailures();
    void focusReturnsToTheRaisingWindow();
    void noHandlerRunsWhileTheWindowGoes();
};

void TestWindowSupport::safeFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("safe");
    QTest::newRow("plain") << u"Химия 10 класс"_s << u"Химия 10 класс"_s;
    QTest::newRow("slash") << u"Физика 7/8"_s << u"Физика 7_8"_s;
    QTest::newRow("colon") << u"Этап: финал"_s << u"Этап_ финал"_s;
    QTest::newRow("all") << u"a/b\\c:d*e?f\"g<h>i|j"_s << u"a_b_c_d_e_f_g_h_i_j"_s;
    QTest::newRow("control") << u"a\tb\nc"_s << u"a_b_c"_s;
    QTest::newRow("dots") << u".."_s << u"__"_s;
    QTest::newRow("dots inside") << u"Т. Ю. Иванов"_s << u"Т. Ю. Иванов"_s;
}

void TestWindowSupport::safeFileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, safe);
    QCOMPARE(SafeFileName(name), safe);
}

void TestWindowSupport::counterTakesTheFirstFreeNumber()
{
    QTemporaryDir dir;
    const QDate day(2024, 9, 17);
    const QString first = CounterFileName(dir.path(), u"Рейтинг_(Химия)_"_s, u".xlsx"_s, day);
    QCOMPARE(QFileInfo(first).fileName(), u"(0)Рейтинг_(Химия)_"_s + QLocale().toString(day, QLocale::ShortFormat).replace(u'/', u'_') + u".xlsx"_s);
    QFile(first).open(QIODevice::WriteOnly);
    const QString second = CounterFileName(dir.path(), u"Рейтинг_(Химия)_"_s, u".xlsx"_s, day);
    QVERIFY(QFileInfo(second).fileName().startsWith(u"(1)"_s));
    // another extension counts on its own
    QVERIFY(QFileInfo(CounterFileName(dir.path(), u"Рейтинг_(Химия)_"_s, u".html"_s, day)).fileName().startsWith(u"(0)"_s));
}

void TestWindowSupport::counterMakesTheDateSafe()
{
    // A short date format with "/" (as en_US has) must not make folders.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QTemporaryDir dir;
    const QString path = CounterFileName(dir.path(), u"Журнал_(Химия/Физика)_"_s, u".xlsx"_s, QDate(2024, 9, 17));
    QLocale::setDefault(saved);
    QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
    QCOMPARE(QFileInfo(path).fileName(), u"(0)Журнал_(Химия_Физика)_9_17_24.xlsx"_s);
}

void TestWindowSupport::outputFolderFollowsTheRoot()
{
    QCOMPARE(OutputFolder(u"Рейтинги"_s), QDir(QCoreApplication::applicationDirPath()).filePath(u"Рейтинги"_s));
    setOutputRoot(u"/tmp/x"_s);
    QCOMPARE(OutputFolder(u"Журнал"_s), u"/tmp/x/Журнал"_s);
    setOutputRoot({});
    QCOMPARE(outputRoot(), QCoreApplication::applicationDirPath());
}

void TestWindowSupport::labelLiesOverTheBar()
{
    QWidget window;
    auto* bar = new QProgressBar(&window);
    auto* label = new QLabel(&window);
    bar->setGeometry(10, 10, 300, 24);
    TProgressLabel progress(bar, label);
    window.show();
    QVERIFY(label->isHidden());
    progress.setRange(0, 10);
    progress.setStep(u"Импорт данных..."_s);
    QVERIFY(label->isVisible());
    QCOMPARE(label->parentWidget(), bar);
    QCOMPARE(label->geometry(), bar->rect());
    progress.setPosition(7);
    QCOMPARE(bar->value(), 7);
    bar->resize(500, 30);
    QCOMPARE(label->geometry(), bar->rect());
    progress.hideStep();
    QVERIFY(label->isHidden());
    QVERIFY(label->text().isEmpty());
    progress.setStepText(u"Форматирование таблицы..."_s); // text only, still hidden
    QVERIFY(label->isHidden());
    QCOMPARE(label->text(), u"Форматирование таблицы..."_s);
}

void TestWindowSupport::emptyRangeIsNotBusy()
{
    QProgressBar bar;
    QLabel label;
    TProgressLabel progress(&bar, &label);
    progress.setRange(0, 0); // an export of no rows
    progress.setPosition(0);
    QVERIFY(bar.maximum() > bar.minimum()); // equal ends would be the busy animation
    QCOMPARE(bar.value(), 0);
}

void TestWindowSupport::sheetExport_data()
{
    // What the layout throws, whether the window has a message for a layout
    // failure, and what the user is told (nothing: the failure passes on).
    QTest::addColumn<int>("failure");
    QTest::addColumn<bool>("ownLayoutMessage");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("passesOn");
    const QString cause = u"Текст длиннее, чем вмещает ячейка"_s;
    QTest::newRow("saved") << 0 << false << u"Таблица сохранена в файле:\n\r"_s << false;
    QTest::newRow("layout, own message") << 1 << true << u"Своё сообщение\n\r"_s + cause << false;
    QTest::newRow("layout, no own message") << 1 << false << QString() << true;
    QTest::newRow("lost connection") << 2 << true << QString() << true;
    QTest::newRow("fault") << 3 << true << QString() << true;
}

void TestWindowSupport::sheetExport()
{
    QFETCH(int, failure);
    QFETCH(bool, ownLayoutMessage);
    QFETCH(QString, message);
    QFETCH(bool, passesOn);
    ExportRoot root;
    UiSeam seam;
    RecordingProgress progress;
    TMemTable rows(u"rows"_s, {u"id"_s});
    rows.Open();
    for (int id : {1, 2, 3})
        rows.AppendRecord({id});
    rows.setRecNo(2);

    TSheetExport job;
    job.folder = u"Журнал"_s;
    job.caption = u"Журнал выдачи дипломов"_s;
    job.fileBase = u"Журнал_"_s;
    job.rows = &rows;
    job.layout = [&](TExcel& xl) {
        QCOMPARE(rows.RecNo(), 1); // the layout reads from the first row on
        QVERIFY(rows.ControlsDisabled());
        rows.Last();
        xl.SetCell(1, 1, u"Журнал"_s);
        if (failure == 1)
            throw EExportError(u"Текст длиннее, чем вмещает ячейка"_s);
        if (failure == 2)
            throw EConnectionLost(u"Server has gone away"_s, 2006);
        if (failure == 3)
            throw std::logic_error("fault");
    };
    job.messages = {folderErrorText(job.folder), sheetWriteErrorText(), ownLayoutMessage ? u"Своё сообщение"_s : QString()};
    std::unique_ptr<TExcel> xl;
    bool passed = false;
    try {
        QCOMPARE(exportSheet(job, xl, progress), failure == 0 ? TSheetExportEnd::Saved : TSheetExportEnd::Failed);
    } catch (const std::exception&) {
        passed = true;
    }
    QCOMPARE(passed, passesOn);
    QCOMPARE(seam.texts().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(seam.texts().first().startsWith(message), qPrintable(seam.texts().first()));
    // however it ended: the grid at its row and following, the label hidden,
    // the bar empty, the workbook shown only when it was saved
    QCOMPARE(rows.RecNo(), 2);
    QVERIFY(!rows.ControlsDisabled());
    QVERIFY(!progress.visible);
    QCOMPARE(progress.position, 0);
    QCOMPARE(root.opened.size(), failure == 0 ? 1 : 0);
    QCOMPARE(root.files().size(), failure == 0 ? 2 : 1); // the folder, and the file when saved
}

void TestWindowSupport::downloadFromLocalServer()
{
    HttpServer server;
    const QByteArray body(200000, 'x');
    server.serve("/Images/ZRT_6.jpg", body);
    qint64 last = 0, total = 0;
    const QByteArray got = TDownload::Get(QUrl(u"http://127.0.0.1:%1/Images/ZRT_6.jpg"_s.arg(server.port())),
                                          [&](qint64 r, qint64 t) { last = r; total = t; });
    QCOMPARE(got, body);
    QCOMPARE(last, qint64(body.size()));
    QCOMPARE(total, qint64(body.size()));
    QCOMPARE(server.requests, QList<QByteArray>{"/Images/ZRT_6.jpg"});
}

void TestWindowSupport::downloadFailures_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("not found") << 0;
    QTest::newRow("silent server") << 1;
    QTest::newRow("nobody listens") << 2;
}

void TestWindowSupport::downloadFailures()
{
    QFETCH(int, kind);
    HttpServer server;
    server.setSilent(kind == 1);
    quint16 port = server.port();
    if (kind == 2)
        server.close();
    QElapsedTimer clock;
    clock.start();
    QVERIFY_THROWS_EXCEPTION(std::exception,
                             TDownload::Get(QUrl(u"http://127.0.0.1:%1/Images/none.jpg"_s.arg(port)), {}, 500));
    QVERIFY(clock.elapsed() < 5000);
}

void TestWindowSupport::focusReturnsToTheRaisingWindow()
{
    // Two child windows; the second one raises an error box while it is being
    // activated, the focus still in the first one (a re-read that fails on
    // activation). When the box closes, the second one is in front, focused.
    QMainWindow main;
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    QLineEdit* edits[2];
    QMdiSubWindow* frames[2];
    for (int i = 0; i < 2; ++i) {
        auto* form = new QWidget;
        edits[i] = new QLineEdit(form);
        frames[i] = area->addSubWindow(form);
    }
    main.resize(800, 600);
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    area->setActiveSubWindow(frames[0]);
    edits[0]->setFocus();
    QCOMPARE(QApplication::focusWidget(), edits[0]);

    // Real boxes, closed as soon as they are up.
    QTimer closer;
    connect(&closer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    closer.start(20);
    bool raised = false;
    connect(frames[1], &QMdiSubWindow::windowStateChanged, [&](Qt::WindowStates, Qt::WindowStates now) {
        if ((now & Qt::WindowActive) && !raised) {
            raised = true;
            ShowErrorMessage(u"Соединение с базой данных потеряно."_s);
        }
    });
    area->setActiveSubWindow(frames[1]);
    QVERIFY(raised);
    // The main window is active again (the window manager's part here).
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::qWait(50);
    QCOMPARE(area->activeSubWindow(), frames[1]);
    QVERIFY(frames[1]->isAncestorOf(QApplication::focusWidget()));

    // A box raised with the focus inside the window gives it back to the same control.
    edits[1]->setFocus();
    ShowErrorMessage(u"Значение \"До\" не может быть меньше или равно значению \"От\""_s);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::qWait(50);
    QCOMPARE(area->activeSubWindow(), frames[1]);
    QCOMPARE(QApplication::focusWidget(), edits[1]);
}


namespace {

/// A control that still reports as it is taken down, as a drop-down losing
/// its list does.
class TDyingControl : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    ~TDyingControl() override { emit reported(); }
signals:
    void reported();
};

/// A window with such a control, heard by the window itself and by one of its
/// parts.
class TDyingForm : public TChildForm {
public:
    explicit TDyingForm(int& heard)
        : heard_(heard)
    {
        auto* control = new TDyingControl(this);
        auto* part = new QObject(this); // taken down after the control
        connect(control, &TDyingControl::reported, this, [this] { hear(); });
        connect(control, &TDyingControl::reported, part, [&heard] { ++heard; });
    }

private:
    void hear() { ++heard_; }
    int& heard_;
};

} // namespace

void TestWindowSupport::noHandlerRunsWhileTheWindowGoes()
{
    int heard = 0;
    delete new TDyingForm(heard);
    QCOMPARE(heard, 0);
}

QTEST_MAIN(TestWindowSupport)
#include "test_window_support.moc"
