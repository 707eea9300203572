#include "ratings/CreateRatingFinalEdit.h"

#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "data/DataZRT.h"
#include "data/DBLookupComboBox.h"

#include "ui_CreateRatingFinalEdit.h"

#include <QShowEvent>

using namespace Qt::Literals::StringLiterals;

TFormCreateRatingFinalEdit* FormCreateRatingFinalEdit = nullptr;

TFormCreateRatingFinalEdit::TFormCreateRatingFinalEdit(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TFormCreateRatingFinalEdit)
{
    ui->setupUi(this);
    mirrorHints(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                   | Qt::WindowTitleHint);
    ui->DBLookupComboBox1->setListSource(DataZRT->SourceGETstatus, u"id"_s, u"nameStatus"_s);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    FormCreateRatingFinalEdit = this;
    FormCreate();
}

TFormCreateRatingFinalEdit::~TFormCreateRatingFinalEdit()
{
    if (FormCreateRatingFinalEdit == this)
        FormCreateRatingFinalEdit = nullptr;
    DataZRT->GETstatus->Close();
    delete ui;
}

void TFormCreateRatingFinalEdit::FormCreate()
{
    DataZRT->GETstatus->Close();
    DataZRT->GETstatus->Open();
}

void TFormCreateRatingFinalEdit::setRow(const QString& nameStatus, const QString& fio, const QString& result,
                                        int statusID)
{
    ui->LabelEdu->setText(nameStatus);
    ui->LabelFIO->setText(fio);
    ui->EditResult->setText(result);
    ui->DBLookupComboBox1->setKeyValue(statusID);
}

int TFormCreateRatingFinalEdit::statusKey() const
{
    return ui->DBLookupComboBox1->keyAsInteger();
}

QString TFormCreateRatingFinalEdit::resultText() const
{
    return ui->EditResult->text();
}

QString TFormCreateRatingFinalEdit::fioText() const
{
    return ui->LabelFIO->text();
}

TDBLookupComboBox* TFormCreateRatingFinalEdit::DBLookupComboBox1() const
{
    return ui->DBLookupComboBox1;
}

void TFormCreateRatingFinalEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runHandler([this] { FormShow(); });
}

void TFormCreateRatingFinalEdit::FormShow()
{
    ui->EditResult->setFocus();
}
