#include "app/Checkauthorization.h"

#include "ui/Dialogs.h"
#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "crypto/Bcrypt.h"
#include "data/DataZRT.h"
#include "data/NetSelect.h"
#include "ui_Checkauthorization.h"

#include <QStyle>

using namespace Qt::Literals::StringLiterals;

TFormCheckauthorization* FormCheckauthorization = nullptr;

TLoginCheck checkAuthorization(const QString& login, const QString& password)
{
    TQuery* q = DataZRT->Qauthorization;
    q->Close();
    q->ParamByName(u"login"_s).setAsString(login);
    q->Open();

    TLoginCheck result;
    if (q->FieldByName(u"countUser"_s).asInteger() <= 0) {
        result.outcome = TLoginCheck::WrongLogin;
        return result;
    }
    if (!TBCrypt::CheckPassword(password, q->FieldByName(u"password"_s).value().toString())) {
        result.outcome = TLoginCheck::WrongPassword;
        return result;
    }
    result.outcome = TLoginCheck::Success;
    result.id = q->FieldByName(u"id"_s).asInteger();
    result.areaID = q->FieldByName(u"areaID"_s).asInteger();
    result.fio = q->FieldByName(u"fio"_s).value().toString();
    return result;
}

TFormCheckauthorization::TFormCheckauthorization(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TFormCheckauthorization)
{
    ui->setupUi(this);
    // A fixed dialog border with the close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    ui->SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    setFixedSize(sizeHint());
    mirrorHints(this);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, handler([this] { SpeedButton1Click(); }));
    FormCheckauthorization = this;
}

TFormCheckauthorization::~TFormCheckauthorization()
{
    if (FormCheckauthorization == this)
        FormCheckauthorization = nullptr;
    delete ui;
}

QLineEdit* TFormCheckauthorization::Edit1() const
{
    return ui->Edit1;
}

QLineEdit* TFormCheckauthorization::Edit2() const
{
    return ui->Edit2;
}

void TFormCheckauthorization::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    runHandler([this] { FormShow(); });
}

void TFormCheckauthorization::FormShow()
{
    ui->Edit2->clear();
    ui->Edit1->setFocus();
}

void TFormCheckauthorization::SpeedButton1Click()
{
    TFormNetSelect net;
    if (TDialogs::ShowModal(net) != QDialog::Accepted)
        return;
    if (!DataZRT->changeNET(net.ItemIndex()))
        ShowErrorMessage(u"Ошибка подключения к сети"_s);
}
