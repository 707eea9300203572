#include "app/MainZRT.h"
#include "data/Connection.h"

#include "app/Emblem.h"
#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "applications/AppCreateEditRegion.h"
#include "applications/AppCreateReg.h"
#include "diplomas/CreateDiplomJournal.h"
#include "diplomas/CreateDiplomReg.h"
#include "events/PassingScoreReg.h"
#include "events/SetEventUser.h"
#include "applications/AppExportReg.h"
#include "ratings/CreateRatingReg.h"
#include "ui_MainZRT.h"

#include <QApplication>
#include <QDate>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QStyleOptionTitleBar>

using namespace Qt::Literals::StringLiterals;

TFormMainZRT* FormMainZRT = nullptr;

namespace {

// The menu tree in display order: level 0 the top-level menus, level 1 their
// entries; a caption "-" is a separator.
struct MenuEntry {
    const char* name;
    int level;
    const char16_t* caption;
    const char16_t* hint;
    const char* key;
    void (TFormMainZRT::*handler)();
};

const MenuEntry kMenu[] = {
    {"N1", 0, u"Пользователь", u"", "", nullptr},
    {"N2", 1, u"Авторизация", u"Начать сеанс работы администратора. Нужны логин и пароль", "Alt+Z", &TFormMainZRT::N2Click},
    {"N146", 1, u"Сайт \"Кассиор\"", u"Открыть сайт организации в браузере по умолчанию", "", &TFormMainZRT::N146Click},
    {"N101", 1, u"-", u"", "", nullptr},
    {"N102", 1, u"Личные данные", u"Просмотр, редактирование личных данных", "", &TFormMainZRT::N102Click},
    {"N104", 1, u"Изменить пароль", u"Изменить в БД пароль для входа в АИС", "", &TFormMainZRT::N104Click},
    {"N10", 1, u"Забыли пароль?", u"Восстановить пароль", "", &TFormMainZRT::N10Click},
    {"N112", 1, u"-", u"", "", nullptr},
    {"N3", 1, u"Завершение работы", u"Завершение сеанса работы администратора. Закрытие приложения", "Alt+X", &TFormMainZRT::N3Click},
    {"N7", 0, u"Рег.Мероприятия", u"Сведения о Вашей образовательной организации", "", nullptr},
    {"N13", 1, u"Установить проходные баллы для победителей (призеров)", u"Установить проходные баллы для победителей (призеров", "", &TFormMainZRT::N13Click},
    {"N14", 1, u"Назначение участнику регионального мероприятия", u"Экстренное назначение участнику регионального мероприятия, если он сам по каким-либо причинам не сделал выбор", "", &TFormMainZRT::N14Click},
    {"N31", 1, u"Формирование списка участников", u"Формирование списка (заявки) участников региональных мероприятий на активный период (у/г)", "", &TFormMainZRT::N31Click},
    {"N44", 1, u"Детализация сведений об участниках, включенных в заявку", u"Детализация (редактироование) сведений об участниках, включенных в заявку", "", &TFormMainZRT::N44Click},
    {"N45", 1, u"Экспорт заявок", u"Экспорт заявок в MS Excel или в формате HTML", "", &TFormMainZRT::N45Click},
    {"N4", 1, u"Формирование рейтингов", u"Построение рейтингов региональных мероприятий. Подведение итогов", "", &TFormMainZRT::N4Click},
    {"N9", 0, u"Дипломы (сертификаты)", u"Формирование и сохранение на локальном компьютере дипломов об участии в олимпиадах регионального этапа", "", nullptr},
    {"N55", 1, u"Дипломы (регионального мероприятия)", u"Формирование и сохранение на локальном компьютере дипломов об участии в олимпиадах начального уровня образования регионального этапа", "", &TFormMainZRT::N55Click},
    {"N56", 1, u"Журнал учета", u"Электронный журнал учета выдачи дипломов (сертификатов)", "", &TFormMainZRT::N56Click},
    {"N21", 0, u"Окна", u"Инструменты для упорядочивания размещения окон", "", nullptr},
    {"N132", 1, u"Каскадом", u"Разместить все окна каскадом", "", &TFormMainZRT::N132Click},
    {"N133", 1, u"Горизонтально", u"Разместить все окна горизонтально", "", &TFormMainZRT::N133Click},
    {"N134", 1, u"Вертикально", u"Разместить все окна вертикально", "", &TFormMainZRT::N134Click},
    {"N135", 1, u"Минимизировать все", u"Минимизировать все окна, но не закрывать", "", &TFormMainZRT::N135Click},
    {"N136", 1, u"Закрыть все", u"Закрыть все окна", "", &TFormMainZRT::N136Click},
    {"N22", 0, u"Помощь", u"Получить справку по АИС", "", nullptr},
    {"onLine1", 1, u"on-Line помощь", u"Получение электронной справки АИС", "", &TFormMainZRT::onLine1Click},
    {"N137", 1, u"Инструкция пользователю", u"Инструкция пользователю в формате PDF", "", &TFormMainZRT::N137Click},
    {"N138", 1, u"-", u"", "", nullptr},
    {"N139", 1, u"О программе", u"Основные сведения о программе", "", &TFormMainZRT::N139Click},
    {"N11", 1, u"Обновление АРМа", u"Проверка наличия обновлений и их установка", "", &TFormMainZRT::N11Click},
};

// A status bar panel of a set width that still lets the window shrink.
class TStatusPanel : public QLabel {
public:
    TStatusPanel(int width, QWidget* parent) : QLabel(parent), width_(width)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return {width_, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int width_;
};

QPixmap lamp(const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(6, 6), 8);
    g.setColorAt(0, color.lighter(170));
    g.setColorAt(1, color.darker(120));
    p.setBrush(g);
    p.setPen(QPen(color.darker(200), 1));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    return pixmap;
}

QPixmap logoPicture()
{
    QPixmap pixmap(560, 464);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawEllipse(QPointF(280, 190), 170, 170);
    p.setBrush(QColor(30, 70, 140, 180));
    p.drawPolygon(emblemStar(QPointF(280, 190), 140, 58));
    QFont f(u"DejaVu Sans"_s, 44, QFont::Bold);
    p.setFont(f);
    p.setPen(QColor(30, 50, 100, 200));
    p.drawText(QRect(0, 360, 560, 70), Qt::AlignCenter, u"Тальвира"_s);
    f.setPointSize(14);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(0, 424, 560, 36), Qt::AlignCenter, u"региональные мероприятия"_s);
    return pixmap;
}

} // namespace

TFormMainZRT::TFormMainZRT(QWidget* parent)
    : QMainWindow(parent)
    , ui(new Ui::TFormMainZRT)
{
    ui->setupUi(this);
    FormMainZRT = this;
    ImageList1 = {lamp(QColor(220, 30, 30)), lamp(QColor(30, 190, 40))};

    Image2 = new QLabel(ui->MdiArea->viewport());
    Image2->setObjectName(u"Image2"_s);
    Image2->setPixmap(logoPicture());
    Image2->resize(560, 464);
    Image2->lower();
    Panel1Text = ui->Panel1Text;

    const int widths[] = {350, 1100, 50};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new TStatusPanel(widths[i], ui->StatusBar1);
        panel->setObjectName(u"StatusBar1Panel%1"_s.arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        ui->StatusBar1->addWidget(panel);
        panels_ << panel;
    }
    ui->Panel1->installEventFilter(this);
    mirrorHints(this);
    buildMenu();
    qApp->installEventFilter(this);
    FormCreate();
}

TFormMainZRT::~TFormMainZRT()
{
    qApp->removeEventFilter(this);
    if (FormMainZRT == this)
        FormMainZRT = nullptr;
    delete ui;
}

void TFormMainZRT::FormCreate()
{
    ui->Panel1Text->setText(u"© Образовательный центр \"Кассиор\", Велград, %1, v.3.0"_s
                                .arg(QDate::currentDate().year()));
    setPanelText(0, u"Не авторизованный пользователь"_s);
    setPanelText(1, u"Здесь будут размещаться краткие подсказки"_s);
}

void TFormMainZRT::buildMenu()
{
    QMenu* current = nullptr;
    for (const MenuEntry& e : kMenu) {
        const QString name = QString::fromLatin1(e.name);
        const QString caption = QString::fromUtf16(e.caption);
        QAction* action;
        if (e.level == 0) {
            current = ui->MainMenu1->addMenu(caption);
            current->setObjectName(name);
            action = current->menuAction();
        } else if (caption == u"-"_s) {
            action = current->addSeparator();
        } else {
            action = current->addAction(caption);
            if (e.handler) {
                auto h = e.handler;
                connect(action, &QAction::triggered, this, handler([this, h] { (this->*h)(); }));
            }
        }
        action->setObjectName(name);
        action->setStatusTip(QString::fromUtf16(e.hint));
        if (*e.key)
            action->setShortcut(QKeySequence(QString::fromLatin1(e.key)));
        menuItems_ << action;
    }
    // "Окна" also lists the open child windows below its own entries.
    QMenu* windows = ui->MainMenu1->findChild<QMenu*>(u"N21"_s);
    connect(windows, &QMenu::aboutToShow, this, &TFormMainZRT::fillWindowList);
}

QList<QAction*> TFormMainZRT::menuItems() const
{
    return menuItems_;
}

void TFormMainZRT::fillWindowList()
{
    QMenu* windows = ui->MainMenu1->findChild<QMenu*>(u"N21"_s);
    for (QAction* a : std::as_const(windowListItems_)) {
        windows->removeAction(a);
        a->deleteLater();
    }
    windowListItems_.clear();
    const QList<QMdiSubWindow*> subs = ui->MdiArea->subWindowList();
    if (subs.isEmpty())
        return;
    windowListItems_ << windows->addSeparator();
    int n = 1;
    for (QMdiSubWindow* sub : subs) {
        QAction* a = windows->addAction(u"&%1 %2"_s.arg(n++).arg(sub->windowTitle()));
        a->setCheckable(true);
        a->setChecked(sub == ui->MdiArea->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, sub] {
            ui->MdiArea->setActiveSubWindow(sub);
        });
        windowListItems_ << a;
    }
}

QMdiArea* TFormMainZRT::mdiArea() const
{
    return ui->MdiArea;
}

QList<QWidget*> TFormMainZRT::childForms() const
{
    QList<QWidget*> forms;
    for (QMdiSubWindow* sub : ui->MdiArea->subWindowList())
        forms << sub->widget();
    return forms;
}

void TFormMainZRT::openChild(QWidget* form)
{
    QMdiSubWindow* sub = ui->MdiArea->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(form->windowTitle());
    // Large enough for the grids' columns, wholly inside the area, each new
    // window a step further down and right.
    QStyleOptionTitleBar title;
    title.initFrom(sub);
    const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
    // a few pixels to spare: styles draw the frame a little wider than they tell
    const QSize frame(2 * border + 8, border + 8 + sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, sub));
    QSize size = form->size().expandedTo(form->sizeHint()).expandedTo(QSize(800, 500)) + frame;
    const QSize area = ui->MdiArea->viewport()->size();
    QPoint at;
    if (!area.isEmpty()) {
        size = size.boundedTo(area);
        const int step = 28 * int(ui->MdiArea->subWindowList().size() - 1);
        at = QPoint(step % std::max(1, area.width() - size.width() + 1),
                    step % std::max(1, area.height() - size.height() + 1));
    }
    sub->resize(size);
    sub->move(at);
    form->show();
    sub->show();
}

QString TFormMainZRT::panelText(int panel) const
{
    return panels_.at(panel)->text();
}

void TFormMainZRT::setPanelText(int panel, const QString& text)
{
    panels_.at(panel)->setText(text);
}

void TFormMainZRT::setLampImage(int imageIndex)
{
    lampImage_ = imageIndex;
    ui->Image1->setPixmap(ImageList1.value(imageIndex));
    ui->Image1->repaint();
}

void TFormMainZRT::followConnection(TConnection& connection)
{
    connect(&connection, &TConnection::afterConnect, this, [this, &connection] {
        setLampImage(1);
        ui->Image1->setToolTip(lampTip(true, connection.cipher()));
    });
    connect(&connection, &TConnection::afterDisconnect, this, [this] {
        setLampImage(0);
        ui->Image1->setToolTip(lampTip(false, QString()));
    });
}

QString TFormMainZRT::lampToolTip() const
{
    return ui->Image1->toolTip();
}

QString TFormMainZRT::lampTip(bool connected, const QString& cipher)
{
    if (!connected)
        return u"Нет соединения с базой данных"_s;
    if (cipher.isEmpty())
        return u"Соединение с базой данных установлено, но НЕ зашифровано"_s;
    return u"Соединение с базой данных установлено и зашифровано ("_s + cipher + u')';
}

void TFormMainZRT::LogoAlign()
{
    const QSize outer = frameGeometry().size();
    Image2->move((outer.width() - Image2->width()) / 2, (outer.height() - Image2->height()) / 2);
}

void TFormMainZRT::ApplicationEvents1Hint(const QString& hint)
{
    setPanelText(1, hint);
}

void TFormMainZRT::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        runHandler([this] { FormShow(); });
    }
}

void TFormMainZRT::FormShow()
{
    enableMenu(false);
}

void TFormMainZRT::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LogoAlign();
}

bool TFormMainZRT::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ApplicationEvents1Hint(static_cast<QStatusTipEvent*>(event)->tip());
    } else if (watched == ui->Panel1 && event->type() == QEvent::MouseButtonRelease
               && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The notice names the organisation: a click opens its site as N146 does.
        runHandler([this] { N146Click(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- child windows -------------------------------------------------------

void TFormMainZRT::N13Click()
{
    openChild(new TFormPassingScoreReg);
}

void TFormMainZRT::N14Click()
{
    openChild(new TFormSetEventUser);
}

void TFormMainZRT::N31Click()
{
    openChild(new TFormAppCreateReg);
}

void TFormMainZRT::N44Click()
{
    openChild(new TFormAppCreateEditRegion);
}

// The export, rating and diploma windows come with their own subsystems.
void TFormMainZRT::N45Click() { openChild(new TFormAppExportReg); }
void TFormMainZRT::N4Click() { openChild(new TFormCeateRatingReg); }
void TFormMainZRT::N55Click() { openChild(new TFormCreateDiplomReg); }
void TFormMainZRT::N56Click() { openChild(new TFormCreateDiplomJournal); }

// ---- window arrangement --------------------------------------------------

void TFormMainZRT::N132Click()
{
    ui->MdiArea->cascadeSubWindows();
}

void TFormMainZRT::tileHorizontally()
{
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* s : ui->MdiArea->subWindowList())
        if (!s->isMinimized())
            subs << s;
    if (subs.isEmpty())
        return;
    const QRect area = ui->MdiArea->viewport()->rect();
    const int h = area.height() / int(subs.size());
    for (int i = 0; i < subs.size(); ++i) {
        subs[i]->showNormal();
        subs[i]->setGeometry(0, i * h, area.width(), h);
    }
}

void TFormMainZRT::tileVertically()
{
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* s : ui->MdiArea->subWindowList())
        if (!s->isMinimized())
            subs << s;
    if (subs.isEmpty())
        return;
    const QRect area = ui->MdiArea->viewport()->rect();
    const int w = area.width() / int(subs.size());
    for (int i = 0; i < subs.size(); ++i) {
        subs[i]->showNormal();
        subs[i]->setGeometry(i * w, 0, w, area.height());
    }
}

void TFormMainZRT::N133Click()
{
    tileHorizontally();
}

void TFormMainZRT::N134Click()
{
    tileVertically();
}

void TFormMainZRT::N135Click()
{
    const QList<QMdiSubWindow*> subs = ui->MdiArea->subWindowList();
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        (*it)->showMinimized();
}

void TFormMainZRT::N136Click()
{
    const QList<QMdiSubWindow*> subs = ui->MdiArea->subWindowList();
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        (*it)->close();
}

void TFormMainZRT::N3Click()
{
    close();
}
