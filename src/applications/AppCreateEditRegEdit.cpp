#include "applications/AppCreateEditRegEdit.h"

#include "ui/Dialogs.h"
#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "data/DataZRT.h"
#include "ui_AppCreateEditRegEdit.h"

using namespace Qt::Literals::StringLiterals;

TFormAppCreateEditRegEdit* FormAppCreateEditRegEdit = nullptr;

TFormAppCreateEditRegEdit::TFormAppCreateEditRegEdit(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TFormAppCreateEditRegEdit)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                   | Qt::WindowTitleHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    mirrorHints(this);

    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    setItemIndex(0);
    try {
        FormCreate();
    } catch (...) {
        // The dialog is not created: nothing of it stays open.
        DataZRT->GETmaintainer->Close();
        DataZRT->AREAdeleteWork->Close();
        delete ui;
        throw;
    }
    FormAppCreateEditRegEdit = this;
}

TFormAppCreateEditRegEdit::~TFormAppCreateEditRegEdit()
{
    DataZRT->GETmaintainer->Close();
    DataZRT->AREAdeleteWork->Close();
    if (FormAppCreateEditRegEdit == this)
        FormAppCreateEditRegEdit = nullptr;
    delete ui;
}

void TFormAppCreateEditRegEdit::FormCreate()
{
    DataZRT->GETmaintainer->Close();
    DataZRT->GETmaintainer->Open();
    DataZRT->AREAdeleteWork->Close();
    DataZRT->AREAdeleteWork->Open();
    ui->DBLookupMaintainer->setListSource(DataZRT->SourceGETmaintainer, u"id"_s, u"fio"_s);
    ui->DBLookupAreaAction->setListSource(DataZRT->SourceDeleteWork, u"id"_s, u"name"_s);
}

bool TFormAppCreateEditRegEdit::checkAnswer()
{
    if (ui->DBLookupMaintainer->currentIndex() < 0) {
        ui->DBLookupMaintainer->setFocus();
        ShowErrorMessage(u"Не определен сопровождающий"_s);
        return false;
    }
    if (ui->DBLookupAreaAction->currentIndex() < 0) {
        ui->DBLookupAreaAction->setFocus();
        ShowErrorMessage(u"Не определена площадка проведения мероприятия"_s);
        return false;
    }
    if (ui->DateOut->date() < ui->DateIn->date()) {
        ui->DateOut->setFocus();
        ShowErrorMessage(departureBeforeArrivalText());
        return false;
    }
    return true;
}

QString TFormAppCreateEditRegEdit::departureBeforeArrivalText()
{
    return u"Дата выезда не может быть раньше даты заезда"_s;
}

bool TFormAppCreateEditRegEdit::FormCloseQuery(int result)
{
    return result != QDialog::Accepted || checkAnswer();
}

void TFormAppCreateEditRegEdit::done(int result)
{
    bool canClose = false;
    runHandler([&] { canClose = FormCloseQuery(result); });
    if (canClose)
        QDialog::done(result);
}

void TFormAppCreateEditRegEdit::setCaptionText(const QString& text)
{
    ui->Label1->setText(text);
}

QString TFormAppCreateEditRegEdit::captionText() const
{
    return ui->Label1->text();
}

int TFormAppCreateEditRegEdit::ItemIndex() const
{
    if (ui->RadioHotel1->isChecked())
        return 1;
    return ui->RadioHotel0->isChecked() ? 0 : -1;
}

void TFormAppCreateEditRegEdit::setItemIndex(int index)
{
    (index == 1 ? ui->RadioHotel1 : ui->RadioHotel0)->setChecked(true);
}

QDate TFormAppCreateEditRegEdit::dateIn() const
{
    return ui->DateIn->date();
}

QDate TFormAppCreateEditRegEdit::dateOut() const
{
    return ui->DateOut->date();
}

void TFormAppCreateEditRegEdit::setDateIn(const QDate& date)
{
    ui->DateIn->setDate(date);
}

void TFormAppCreateEditRegEdit::setDateOut(const QDate& date)
{
    ui->DateOut->setDate(date);
}

TDBLookupComboBox* TFormAppCreateEditRegEdit::DBLookupMaintainer() const
{
    return ui->DBLookupMaintainer;
}

TDBLookupComboBox* TFormAppCreateEditRegEdit::DBLookupAreaAction() const
{
    return ui->DBLookupAreaAction;
}
