#include "app/RegistrCoordReg.h"

#include "ui/Dialogs.h"
#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "data/DataZRT.h"
#include "ui_RegistrCoordReg.h"

using namespace Qt::Literals::StringLiterals;

TFormRegistrCoordReg* FormRegistrCoordReg = nullptr;

QString Trim(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

TFormRegistrCoordReg::TFormRegistrCoordReg(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TFormRegistrCoordReg)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                   | Qt::WindowTitleHint);
    mirrorHints(this);
    FormRegistrCoordReg = this;
    ui->DBLookupComboBox2->setListSource(DataZRT->SourceGETarea, u"id"_s, u"name"_s);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
    runHandler([this] { FormCreate(); });
}

TFormRegistrCoordReg::~TFormRegistrCoordReg()
{
    if (FormRegistrCoordReg == this)
        FormRegistrCoordReg = nullptr;
    delete ui;
}

void TFormRegistrCoordReg::FormCreate()
{
    DataZRT->GETarea->Open();
    TQuery* q = DataZRT->ListCoordReg;
    q->Close();
    q->ParamByName(u"userID"_s).setAsInteger(DataZRT->userID);
    q->Open();
    ui->DBLookupComboBox2->setKeyValue(q->FieldByName(u"areaID"_s).asInteger());
    ui->PlaceWorkEdit->setText(q->FieldByName(u"placeWork"_s).asString());
    ui->PostWorkEdit->setText(q->FieldByName(u"postWork"_s).asString());
    ui->Editsurname->setText(q->FieldByName(u"surname"_s).asString());
    ui->Editname->setText(q->FieldByName(u"name"_s).asString());
    ui->Editpatronymic->setText(q->FieldByName(u"patronymic"_s).asString());
    ui->Label7->setText(u"E-Mail (Логин): "_s + q->FieldByName(u"email"_s).asString());
    ui->EditPhone->setText(q->FieldByName(u"phone"_s).asString());
    q->Close();
}

bool TFormRegistrCoordReg::FormCloseQuery(int result)
{
    return result == QDialog::Rejected || checkParam();
}

void TFormRegistrCoordReg::FormClose()
{
    DataZRT->GETarea->Close();
}

bool TFormRegistrCoordReg::checkParam()
{
    const struct {
        QLineEdit* field;
        const char16_t* message;
    } checks[] = {
        {ui->Editsurname, u"Не введена фамилия"},
        {ui->Editname, u"Не введено имя"},
        {ui->Editpatronymic, u"Не введено отчество"},
        {ui->PlaceWorkEdit, u"Не введено место работы"},
        {ui->PostWorkEdit, u"Не введена должность"},
        {ui->EditPhone, u"Не введен номер телефона"},
    };
    for (const auto& c : checks) {
        if (Trim(c.field->text()).isEmpty()) {
            ShowErrorMessage(QString::fromUtf16(c.message));
            c.field->setFocus();
            return false;
        }
    }
    return true;
}

void TFormRegistrCoordReg::done(int result)
{
    bool allowed = false;
    runHandler([&] { allowed = FormCloseQuery(result); });
    if (!allowed)
        return;
    runHandler([this] { FormClose(); });
    QDialog::done(result);
}

QString TFormRegistrCoordReg::surnameText() const { return ui->Editsurname->text(); }
QString TFormRegistrCoordReg::nameText() const { return ui->Editname->text(); }
QString TFormRegistrCoordReg::patronymicText() const { return ui->Editpatronymic->text(); }
QString TFormRegistrCoordReg::phoneText() const { return ui->EditPhone->text(); }
QString TFormRegistrCoordReg::placeWorkText() const { return ui->PlaceWorkEdit->text(); }
QString TFormRegistrCoordReg::postWorkText() const { return ui->PostWorkEdit->text(); }
int TFormRegistrCoordReg::areaKey() const { return ui->DBLookupComboBox2->keyAsInteger(); }
