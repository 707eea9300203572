#include "app/AboutBox.h"

#include "app/Emblem.h"
#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "ui/Shell.h"
#include "ui_AboutBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

TAboutBox* AboutBox = nullptr;

namespace {

// The program's picture: a blue five-pointed star on a light disc with a
// golden rim.
QPixmap programPicture()
{
    QPixmap pixmap(178, 178);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 160, 40), 8));
    p.setBrush(QColor(235, 242, 255));
    p.drawEllipse(QRectF(6, 6, 166, 166));
    p.setPen(QPen(QColor(20, 40, 110), 3));
    p.setBrush(QColor(30, 70, 160));
    p.drawPolygon(emblemStar(QPointF(89, 93), 72, 30));
    return pixmap;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TAboutBox)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                   | Qt::WindowTitleHint);
    mirrorHints(this);
    AboutBox = this;
    ui->ProgramIcon->setPixmap(programPicture());
    ui->Label3->installEventFilter(this);
    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutBox::~TAboutBox()
{
    if (AboutBox == this)
        AboutBox = nullptr;
    delete ui;
}

void TAboutBox::Label3Click()
{
    TShell::Open(siteUrl());
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Label3 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        runHandler([this] { Label3Click(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
