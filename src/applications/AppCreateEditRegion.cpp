#include "applications/AppCreateEditRegion.h"

#include "ui/Dialogs.h"
#include "ui/ChildForm.h"
#include "ui/ErrorDisplay.h"
#include "applications/AppCreateEditRegEdit.h"
#include "data/GridPause.h"
#include "data/Codes.h"
#include "data/DataZRT.h"
#include "ui_AppCreateEditRegion.h"


using namespace Qt::Literals::StringLiterals;

TFormAppCreateEditRegion* FormAppCreateEditRegion = nullptr;

namespace {
/// Rows of participants who need a hotel.
const QColor hotelRowColor(152, 251, 152);
} // namespace

TFormAppCreateEditRegion::TFormAppCreateEditRegion(QWidget* parent)
    : TChildForm(parent)
    , ui(new Ui::TFormAppCreateEditRegion)
{
    ui->setupUi(this);

    ui->DBLookupComboBox1->setListSource(DataZRT->SourceGETeduReg, u"id"_s, u"nameEdu"_s);

    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    ui->DBGrid1->setDataSource(DataZRT->SourceGETcreateAppEditRegion);
    ui->DBGrid1->setColumns({
        {u"id"_s, QString(), false},
        {u"nameArea"_s, u"МО"_s, true, left, 150},
        {u"fio"_s, u"ФИО участника"_s, true, left, 220},
        {u"phone"_s, u"Телефон участника"_s, true, left, 120},
        {u"nameAreaAction"_s, u"Площадка проведения"_s, true, left, 150},
        {u"hotelSCR"_s, u"Нужна гост."_s, true, Qt::AlignCenter, 80},
        {u"dateIn"_s, u"Заезд"_s, true, left, 80},
        {u"dateOut"_s, u"Выезд"_s, true, left, 80},
        {u"fioM"_s, u"ФИО сопровождающего"_s, true, left, 220},
    });
    ui->DBGrid1->setMultiSelect(true);
    ui->DBGrid1->setRowColor([this](int recNo) { return DBGrid1DrawColumnCell(recNo); });

    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::CloseUp, this,
            handler([this] { DBLookupComboBox1CloseUp(); }));
    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::KeyUp, this,
            handler([this](int key) { DBLookupComboBox1KeyUp(key); }));
    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::KeyValueChanged, this,
            handler([this] { DBLookupComboBox1KeyValueChanged(); }));
    connect(ui->DBGrid1, &TDBGrid::TitleClick, this,
            handler([this](const QString& field) { DBGrid1TitleClick(field); }));
    connect(ui->DBGrid1, &TDBGrid::DblClick, this, handler([this] { BitBtn2Click(); }));
    connect(ui->BitBtn2, &QPushButton::clicked, this, handler([this] { BitBtn2Click(); }));
    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { closeChildForm(this); });

    showsShared(DataZRT->GETeduReg, [] { return QVariantMap{{u"userID"_s, DataZRT->userID}}; },
                [this] { readEvents(); });
    showsShared(DataZRT->GETcreateAppEditRegion, [this] { return QVariantMap{{u"eduID"_s, chosenEvent()}}; },
                [this] { readData(); });

    start(FormAppCreateEditRegion);
}

TFormAppCreateEditRegion::~TFormAppCreateEditRegion()
{
    delete ui;
}

void TFormAppCreateEditRegion::FormCreate()
{
    ui->DBLookupComboBox1->setKeyValue(openAdministratorEvents(DataZRT->GETeduReg));
    readData();
}

void TFormAppCreateEditRegion::FormClose()
{
    DataZRT->GETcreateAppEditRegion->Close();
    DataZRT->GETeduReg->Close();
}

int TFormAppCreateEditRegion::chosenEvent() const
{
    return ui->DBLookupComboBox1->keyAsInteger();
}

void TFormAppCreateEditRegion::readEvents()
{
    // The event list is shared: read again, it keeps this window's choice.
    const QVariant key = ui->DBLookupComboBox1->KeyValue();
    openAdministratorEvents(DataZRT->GETeduReg);
    ui->DBLookupComboBox1->setKeyValue(key);
}

void TFormAppCreateEditRegion::readData()
{
    TQuery* q = DataZRT->GETcreateAppEditRegion;
    const int event = chosenEvent();
    q->Close();
    q->ParamByName(u"eduID"_s).setAsInteger(event);
    listEvent_ = event;
    q->Open();
    ui->BitBtn2->setEnabled(q->RecordCount() > 0);
}

void TFormAppCreateEditRegion::DBLookupComboBox1CloseUp()
{
    if (!isClosing())
        readData();
}

void TFormAppCreateEditRegion::DBLookupComboBox1KeyUp(int)
{
    if (!isClosing())
        readData();
}

void TFormAppCreateEditRegion::DBLookupComboBox1KeyValueChanged()
{
    if (!isClosing() && chosenEvent() != listEvent_)
        readData();
}

void TFormAppCreateEditRegion::DBGrid1TitleClick(const QString& field)
{
    TDataZRT::SortSQL(DataZRT->GETcreateAppEditRegion, field);
}

QColor TFormAppCreateEditRegion::DBGrid1DrawColumnCell(int recNo) const
{
    const TQuery* q = DataZRT->GETcreateAppEditRegion;
    if (!q->Active())
        return {};
    const TField hotel(u"hotel"_s, q->value(recNo - 1, u"hotel"_s));
    return !hotel.isNull() && hotel.asInteger() == Hotel::Yes ? hotelRowColor : QColor();
}

void TFormAppCreateEditRegion::BitBtn2Click()
{
    if (!ownRows(DataZRT->GETcreateAppEditRegion))
        return;
    const QList<int> selected = ui->DBGrid1->SelectedRows();
    const TQuery* q = DataZRT->GETcreateAppEditRegion;

    TFormAppCreateEditRegEdit dialog;
    if (selected.size() == 1) {
        // The selected row, which is the current one unless Ctrl+click moved
        // the cursor off it: the dialog shows and writes the same participant.
        const int row = selected.first() - 1;
        const auto field = [&](const QString& name) { return TField(name, q->value(row, name)); };
        const QDate dateIn = field(u"dateIn"_s).asDate();
        const QDate dateOut = field(u"dateOut"_s).asDate();
        dialog.setCaptionText(field(u"fio"_s).asString());
        dialog.setDateIn(dateIn.isValid() ? dateIn : QDate::currentDate());
        dialog.setDateOut(dateOut.isValid() ? dateOut : QDate::currentDate());
        dialog.setItemIndex(field(u"hotel"_s).asInteger() == Hotel::Yes ? 1 : 0);
        dialog.DBLookupMaintainer()->setKeyValue(field(u"maintainerID"_s).value());
        dialog.DBLookupAreaAction()->setKeyValue(field(u"actionareaID"_s).value());
    } else {
        dialog.setCaptionText(u"Групповое изменение - "_s + QString::number(selected.size()) + u" чел."_s);
        dialog.setDateIn(QDate::currentDate());
        dialog.setDateOut(QDate::currentDate());
        dialog.setItemIndex(0);
    }

    if (TDialogs::ShowModal(dialog) != QDialog::Accepted)
        return;
    if (selected.isEmpty()) {
        ShowInformation(u"Нет выбранных кандидатов для изменения реквизитов"_s);
        return;
    }
    TAppDetails details;
    details.actionareaID = dialog.DBLookupAreaAction()->keyAsInteger();
    details.hotel = dialog.ItemIndex();
    details.dateIn = dialog.dateIn();
    details.dateOut = dialog.dateOut();
    details.maintainerID = dialog.DBLookupMaintainer()->keyAsInteger();
    writeDetails(details, selected);
}

void TFormAppCreateEditRegion::writeDetails(const TAppDetails& details, const QList<int>& rows)
{
    TQuery* q = DataZRT->GETcreateAppEditRegion;
    TQuery* upd = DataZRT->UPDappCreateReg;
    TGridPause pause(q);
    const auto showAgain = [&] {
        readData();
        pause.resume();
    };
    try {
        for (int recNo : rows) {
            q->setRecNo(recNo);
            upd->Close();
            upd->ParamByName(u"id"_s).setAsInteger(q->FieldByName(u"id"_s).asInteger());
            upd->ParamByName(u"actionareaID"_s).setAsInteger(details.actionareaID);
            upd->ParamByName(u"hotel"_s).setAsInteger(details.hotel);
            upd->ParamByName(u"dateIn"_s).setAsDate(details.dateIn);
            upd->ParamByName(u"dateOut"_s).setAsDate(details.dateOut);
            upd->ParamByName(u"maintainerID"_s).setAsInteger(details.maintainerID);
            upd->ExecSQL();
        }
    } catch (const std::exception&) {
        // The rows before the refused one are written: show what the
        // database holds now, then let the failure reach the user.
        showAgain();
        throw;
    }
    showAgain();
}
