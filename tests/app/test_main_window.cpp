// The main window: menu tree, status bar, lamp, logo, hints, child windows,
// the menu closed to the always-open set, and the general error display.

#include "ui/ErrorDisplay.h"
#include "app/Application.h"
#include "app/MainZRT.h"
#include "data/Format.h"
#include "data/DataZRT.h"
#include "data/Errors.h"
#include "support/TestDb.h"
#include "support/Ui.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void menuTree();
    void statusBarAndNotice();
    void hintsGoToPanelOne();
    void firstShowingClosesTheMenu();
    void permissionFailureWhileDisconnected();
    void logoStaysCentred();
    void childWindowsOpenArrangeAndClose();
    void childWindowsOpenInsideTheArea();
    void neutralSystemWritesTheRussianWay_data();
    void neutralSystemWritesTheRussianWay();
    void generalErrorDisplay_data();
    void generalErrorDisplay();
    void guardedWriteReportsFailure();
};

void TestMainWindow::menuTree()
{
    TFormMainZRT w;
    QStringList tops;
    for (QAction* a : w.findChild<QMenuBar*>(u"MainMenu1"_s)->actions())
        tops << a->objectName() + u' ' + a->text();
    QCOMPARE(tops, (QStringList{u"N1 Пользователь"_s, u"N7 Рег.Мероприятия"_s, u"N9 Дипломы (сертификаты)"_s,
                                u"N21 Окна"_s, u"N22 Помощь"_s}));
    QStringList names;
    for (QAction* a : w.menuItems())
        names << a->objectName();
    QCOMPARE(names.size(), 31);
    QCOMPARE(names.mid(0, 9), (QStringList{u"N1"_s, u"N2"_s, u"N146"_s, u"N101"_s, u"N102"_s, u"N104"_s,
                                           u"N10"_s, u"N112"_s, u"N3"_s}));
    QVERIFY(w.FindMnuItem(u"N101"_s)->isSeparator());
    QCOMPARE(w.FindMnuItem(u"N2"_s)->shortcut(), QKeySequence(u"Alt+Z"_s));
    QCOMPARE(w.FindMnuItem(u"N3"_s)->shortcut(), QKeySequence(u"Alt+X"_s));
    QCOMPARE(w.FindMnuItem(u"N146"_s)->text(), u"Сайт \"Кассиор\""_s);
    QCOMPARE(w.FindMnuItem(u"N13"_s)->statusTip(), u"Установить проходные баллы для победителей (призеров"_s);
    QCOMPARE(w.FindMnuItem(u"N44"_s)->statusTip(),
             u"Детализация (редактироование) сведений об участниках, включенных в заявку"_s);
    QCOMPARE(w.FindMnuItem(u"onLine1"_s)->text(), u"on-Line помощь"_s);
    QVERIFY(w.FindMnuItem(u"n2"_s) == nullptr); // names match case-sensitively
    QVERIFY(w.FindMnuItem(u"N999"_s) == nullptr);
}

void TestMainWindow::statusBarAndNotice()
{
    TFormMainZRT w;
    QCOMPARE(w.windowTitle(),
             u"АИС \"Тальвира\". АРМ администратора региональных мероприятий Велградской области."_s);
    QCOMPARE(w.panelText(0), u"Не авторизованный пользователь"_s);
    QCOMPARE(w.panelText(1), u"Здесь будут размещаться краткие подсказки"_s);
    QCOMPARE(w.panelText(2), QString());
    QVERIFY(w.noticePanel()->text().endsWith(u"%1, v.3.0"_s.arg(QDate::currentDate().year())));
    QCOMPARE(w.lampImage(), -1);
    QVERIFY(find<QLabel>(&w, u"Image1"_s)->pixmap().isNull());
    w.setLampImage(1);
    QVERIFY(!find<QLabel>(&w, u"Image1"_s)->pixmap().isNull());
}

void TestMainWindow::hintsGoToPanelOne()
{
    TFormMainZRT w;
    QMenu* user = w.findChild<QMenu*>(u"N1"_s);
    w.FindMnuItem(u"N104"_s)->showStatusText(user);
    QCOMPARE(w.panelText(1), u"Изменить в БД пароль для входа в АИС"_s);
    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(user, &leave);
    QCOMPARE(w.panelText(1), QString());
}

void TestMainWindow::firstShowingClosesTheMenu()
{
    DataSession s;
    s.db.exec(u"INSERT INTO vzl_permissionuser(MenuItem,permission,roleID) VALUES "
              "('N139',0,54280),('N13',0,4),('NoSuchItem',0,54280),('N137',NULL,54280)"_s);
    UiSeam seam;
    TFormMainZRT w;
    w.show();
    QVERIFY(seam.messages.isEmpty());
    QStringList open;
    for (QAction* a : w.menuItems())
        if (a->isEnabled())
            open << a->objectName();
    // N139 is closed by its row; the row of role 4 and the unknown name change nothing;
    // an empty permission reads as 0.
    QCOMPARE(open, (QStringList{u"N1"_s, u"N2"_s, u"N146"_s, u"N10"_s, u"N3"_s, u"N22"_s, u"onLine1"_s}));
    w.enableMenu(true);
    QVERIFY(w.FindMnuItem(u"N13"_s)->isEnabled());
    QVERIFY(w.FindMnuItem(u"N101"_s)->isEnabled());
    QVERIFY(!w.FindMnuItem(u"N139"_s)->isEnabled());
}

void TestMainWindow::permissionFailureWhileDisconnected()
{
    TDataZRT data; // not connected
    UiSeam seam;
    TFormMainZRT w;
    w.show();
    QCOMPARE(seam.messages.size(), 1);
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Error);
    QVERIFY(w.FindMnuItem(u"N2"_s)->isEnabled());
    QVERIFY(!w.FindMnuItem(u"N13"_s)->isEnabled());
}

void TestMainWindow::logoStaysCentred()
{
    UiSeam seam; // no data module: the permission read fails into the error display
    TFormMainZRT w;
    w.show();
    w.resize(1200, 900);
    QCoreApplication::processEvents();
    const QSize outer = w.frameGeometry().size();
    QCOMPARE(w.logo()->pos(), QPoint((outer.width() - 560) / 2, (outer.height() - 464) / 2));
    w.resize(300, 250);
    QCoreApplication::processEvents();
    QVERIFY(w.logo()->x() < 0);
    QVERIFY(w.logo()->y() < 0);
}

void TestMainWindow::childWindowsOpenInsideTheArea()
{
    UiSeam seam;
    TFormMainZRT w;
    w.resize(1200, 800);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect area = w.mdiArea()->viewport()->rect();
    for (int i = 0; i < 4; ++i) {
        auto* form = new QWidget;
        form->setMinimumSize(i == 3 ? QSize(3000, 2000) : QSize(900, 600)); // the last one asks too much
        w.openChild(form);
        const QRect placed = w.mdiArea()->subWindowList().last()->geometry();
        QVERIFY2(area.contains(placed), qPrintable(u"%1: %2,%3 %4x%5"_s.arg(i).arg(placed.x()).arg(placed.y())
                                                       .arg(placed.width()).arg(placed.height())));
        if (i > 0 && i < 3)
            QVERIFY(placed.topLeft() != w.mdiArea()->subWindowList().first()->geometry().topLeft());
    }
}

void TestMainWindow::neutralSystemWritesTheRussianWay_data()
{
    QTest::addColumn<QLocale>("system");
    QTest::addColumn<QString>("used");
    QTest::newRow("C") << QLocale::c() << u"ru_RU"_s;
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedKingdom) << u"en_GB"_s;
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << u"de_DE"_s;
}

void TestMainWindow::neutralSystemWritesTheRussianWay()
{
    QFETCH(QLocale, system);
    QFETCH(QString, used);
    const QLocale locale = TApplication::workingLocale(system);
    QCOMPARE(locale.name(), used);
    if (system == QLocale::c()) {
        QLocale::setDefault(locale);
        QCOMPARE(DateToStr(QDate(2026, 1, 13)), u"13.01.2026"_s);
        QCOMPARE(FloatToStr(60.01), u"60,01"_s);
        QLocale::setDefault(QLocale::c());
    }
}

void TestMainWindow::childWindowsOpenArrangeAndClose()
{
    UiSeam seam;
    TFormMainZRT w;
    w.resize(1200, 900);
    w.show();
    for (const char* item : {"N132", "N133", "N134", "N135", "N136"}) // nothing open: nothing happens
        w.FindMnuItem(QString::fromLatin1(item))->trigger();

    auto* a = new QWidget;
    a->setWindowTitle(u"Первое"_s);
    auto* b = new QWidget;
    b->setWindowTitle(u"Второе"_s);
    w.openChild(a);
    w.openChild(b);
    QCOMPARE(w.childForms().size(), 2);

    w.N133Click(); // one above the other
    const auto subs = w.mdiArea()->subWindowList();
    QCOMPARE(subs[0]->geometry().width(), subs[1]->geometry().width());
    QVERIFY(subs[1]->geometry().top() >= subs[0]->geometry().bottom());
    w.N134Click(); // side by side
    QVERIFY(subs[1]->geometry().left() >= subs[0]->geometry().right());

    QMenu* windows = w.findChild<QMenu*>(u"N21"_s);
    emit windows->aboutToShow();
    QStringList listed;
    for (QAction* act : windows->actions())
        if (act->text().contains(u"Первое"_s) || act->text().contains(u"Второе"_s))
            listed << act->text();
    QCOMPARE(listed.size(), 2);

    w.N135Click();
    QVERIFY(subs[0]->isMinimized() && subs[1]->isMinimized());
    QPointer<QWidget> guard(a);
    w.N136Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.childForms().isEmpty());
    QVERIFY(guard.isNull());
}

void TestMainWindow::generalErrorDisplay_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << u"Invalid hash string"_s << u"Invalid hash string."_s;
    QTest::newRow("digit") << u"Cost 3"_s << u"Cost 3."_s;
    QTest::newRow("cyrillic") << u"Нет соединения"_s << u"Нет соединения."_s;
    QTest::newRow("full stop") << u"Готово."_s << u"Готово."_s;
    QTest::newRow("bracket") << u"Ошибка (2002)"_s << u"Ошибка (2002)"_s;
}

void TestMainWindow::generalErrorDisplay()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    UiSeam seam;
    bool rest = false;
    runHandler([&] {
        throw EError(text);
        rest = true; // the rest of the action does not run
    });
    QVERIFY(!rest);
    QCOMPARE(seam.messages.size(), 1);
    QCOMPARE(seam.messages.first().text, shown);
    QCOMPARE(seam.messages.first().caption, u"Тальвира"_s);
    QCOMPARE(seam.messages.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestMainWindow::guardedWriteReportsFailure()
{
    UiSeam seam;
    QVERIFY(!guardedWrite([] { throw EDatabaseError(u"Duplicate entry"_s, 1062); }));
    QVERIFY(guardedWrite([] {}));
    QCOMPARE(seam.texts(), QStringList{u"Ошибка записи в БД"_s});
    QCOMPARE(seam.messages.first().type, TMsgDlgType::Error);
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
