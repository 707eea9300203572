#include "app/ChangePassword.h"

#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "ui_ChangePassword.h"

TFormChangePassword* FormChangePassword = nullptr;

TFormChangePassword::TFormChangePassword(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TFormChangePassword)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                   | Qt::WindowTitleHint);
    mirrorHints(this);
    FormChangePassword = this;
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

TFormChangePassword::~TFormChangePassword()
{
    if (FormChangePassword == this)
        FormChangePassword = nullptr;
    delete ui;
}

void TFormChangePassword::FormShow()
{
    ui->EditPassword->setFocus();
}

void TFormChangePassword::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    runHandler([this] { FormShow(); });
}

QString TFormChangePassword::passwordText() const
{
    return ui->EditPassword->text();
}
