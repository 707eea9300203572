#include "app/AboutBox.h"

#include "app/Emblem.h"
#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "ui/Shell.h"
#include "ui_AboutBox.h"

#include <QMouseEvent>
#include <QPixmap>

using namespace Qt::Literals::StringLiterals;

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TAboutBox)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                   | Qt::WindowTitleHint);
    mirrorHints(this);
    AboutBox = this;
    ui->ProgramIcon->setPixmap(QPixmap::fromImage(emblemPicture(178)));
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
