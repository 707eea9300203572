#include "applications/AppCreateReg.h"

#include "ui/Dialogs.h"
#include "ui/ChildForm.h"
#include "ui/ErrorDisplay.h"
#include "data/GridPause.h"
#include "data/Codes.h"
#include "data/DataZRT.h"
#include "data/Statements.h"
#include "data/Errors.h"
#include "ui_AppCreateReg.h"


using namespace Qt::Literals::StringLiterals;

TFormAppCreateReg* FormAppCreateReg = nullptr;

TFormAppCreateReg::TFormAppCreateReg(QWidget* parent)
    : TChildForm(parent)
    , ui(new Ui::TFormAppCreateReg)
{
    ui->setupUi(this);

    ui->DBLookupComboBox1->setListSource(DataZRT->SourceGETeduReg, u"id"_s, u"nameEdu"_s);

    ui->DBGrid1->setDataSource(DataZRT->SourceGETappPartReg);
    ui->DBGrid1->setColumns({
        {u"id"_s, QString(), false},
        {u"FIO"_s, u"ФИО подавшего заявку"_s, true, Qt::AlignLeft | Qt::AlignVCenter, 260},
        {u"classStudy"_s, u"Класс"_s, true, Qt::AlignCenter, 50},
        {u"nameArea"_s, u"МО"_s, true, Qt::AlignLeft | Qt::AlignVCenter, 160},
    });
    ui->DBGrid1->setMultiSelect(true);

    ui->DBGrid2->setDataSource(DataZRT->SourceAppCreateRegSet);
    ui->DBGrid2->setColumns({
        {u"id"_s, QString(), false},
        {u"FIO"_s, u"ФИО участника"_s, true, Qt::AlignLeft | Qt::AlignVCenter, 260},
        {u"nameArea"_s, u"МО"_s, true, Qt::AlignLeft | Qt::AlignVCenter, 160},
    });
    ui->DBGrid2->setMultiSelect(true);

    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::CloseUp, this,
            handler([this] { DBLookupComboBox1CloseUp(); }));
    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::KeyValueChanged, this,
            handler([this] { DBLookupComboBox1KeyValueChanged(); }));
    connect(ui->SpeedButton1, &QToolButton::clicked, this, handler([this] { SpeedButton1Click(); }));
    connect(ui->SpeedButton2, &QToolButton::clicked, this, handler([this] { SpeedButton2Click(); }));
    connect(ui->SpeedButton3, &QToolButton::clicked, this, handler([this] { SpeedButton3Click(); }));
    connect(ui->SpeedButton4, &QToolButton::clicked, this, handler([this] { SpeedButton4Click(); }));
    connect(ui->DBGrid1, &TDBGrid::DblClick, this, handler([this] { SpeedButton1Click(); }));
    connect(ui->DBGrid2, &TDBGrid::DblClick, this, handler([this] { SpeedButton4Click(); }));
    connect(ui->DBGrid1, &TDBGrid::TitleClick, this,
            handler([this](const QString& field) { DBGrid1TitleClick(field); }));
    connect(ui->DBGrid2, &TDBGrid::TitleClick, this,
            handler([this](const QString& field) { DBGrid2TitleClick(field); }));
    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { closeChildForm(this); });

    showsShared(DataZRT->GETeduReg, [] { return QVariantMap{{u"userID"_s, DataZRT->userID}}; },
                [this] { readEvents(); });
    showsShared(DataZRT->GETappPartReg,
                [this] { return QVariantMap{{u"eduID1"_s, chosenEvent()}, {u"eduID2"_s, chosenEvent()}}; },
                [this] { readCandidate(); });
    showsShared(DataZRT->AppCreateRegSet, [this] { return QVariantMap{{u"eduID1"_s, chosenEvent()}}; },
                [this] { readCandidateSet(); });

    start(FormAppCreateReg);
}

TFormAppCreateReg::~TFormAppCreateReg()
{
    delete ui;
}

void TFormAppCreateReg::FormCreate()
{
    ui->DBLookupComboBox1->setKeyValue(openAdministratorEvents(DataZRT->GETeduReg));
    readLists();
}

void TFormAppCreateReg::FormClose()
{
    DataZRT->GETappPartReg->Close();
    DataZRT->GETeduReg->Close();
    DataZRT->AppCreateRegSet->Close();
}

int TFormAppCreateReg::chosenEvent() const
{
    return ui->DBLookupComboBox1->keyAsInteger();
}

void TFormAppCreateReg::readEvents()
{
    // The event list is shared: read again, it keeps this window's choice.
    const QVariant key = ui->DBLookupComboBox1->KeyValue();
    openAdministratorEvents(DataZRT->GETeduReg);
    ui->DBLookupComboBox1->setKeyValue(key);
}

void TFormAppCreateReg::readLists()
{
    readCandidate();
    readCandidateSet();
}

void TFormAppCreateReg::DBLookupComboBox1CloseUp()
{
    if (!isClosing())
        readLists();
}

void TFormAppCreateReg::DBLookupComboBox1KeyValueChanged()
{
    if (!isClosing() && chosenEvent() != listsEvent_)
        readLists();
}

void TFormAppCreateReg::readCandidate()
{
    TQuery* q = DataZRT->GETappPartReg;
    const int event = chosenEvent();
    q->Close();
    q->ParamByName(u"eduID1"_s).setAsInteger(event);
    q->ParamByName(u"eduID2"_s).setAsInteger(event);
    listsEvent_ = event;
    q->Open();
    const bool any = q->RecordCount() > 0;
    ui->SpeedButton1->setEnabled(any);
    ui->SpeedButton2->setEnabled(any);
}

void TFormAppCreateReg::readCandidateSet()
{
    TQuery* q = DataZRT->AppCreateRegSet;
    q->Close();
    q->ParamByName(u"eduID1"_s).setAsInteger(chosenEvent());
    q->Open();
    const bool any = q->RecordCount() > 0;
    ui->SpeedButton3->setEnabled(any);
    ui->SpeedButton4->setEnabled(any);
}

int TFormAppCreateReg::chosenEventVenue() const
{
    const TQuery* events = DataZRT->GETeduReg;
    const int event = chosenEvent();
    if (events->Active()) {
        for (int row = 0; row < events->RecordCount(); ++row)
            if (events->value(row, u"id"_s).toInt() == event)
                return TField(u"actionAreaID"_s, events->value(row, u"actionAreaID"_s)).asInteger();
    }
    // The event list is shared: another window may have closed it meanwhile.
    throw EError(u"Выбранное мероприятие отсутствует в списке мероприятий: выберите мероприятие заново"_s);
}

void TFormAppCreateReg::INSone()
{
    const TQuery* candidates = DataZRT->GETappPartReg;
    TQuery* ins = DataZRT->INSappCreateReg;
    const int event = chosenEvent();
    const int user = candidates->FieldByName(u"id"_s).asInteger();
    ins->Close();
    ins->ParamByName(u"userID1"_s).setAsInteger(user);
    ins->ParamByName(u"userID2"_s).setAsInteger(user);
    ins->ParamByName(u"eduID1"_s).setAsInteger(event);
    ins->ParamByName(u"eduID2"_s).setAsInteger(event);
    ins->ParamByName(u"classStudy"_s).setAsInteger(candidates->FieldByName(u"classStudy"_s).asInteger());
    ins->ParamByName(u"areaID"_s).setAsInteger(candidates->FieldByName(u"idArea"_s).asInteger());
    ins->ParamByName(u"actionareaID"_s).setAsInteger(chosenEventVenue());
    ins->ParamByName(u"koordID"_s).setAsInteger(Application::CoordinatorID);
    guardedWrite([ins] { ins->ExecSQL(); });
}

void TFormAppCreateReg::SpeedButton1Click()
{
    if (!ownRows(DataZRT->GETappPartReg))
        return;
    const QList<int> selected = ui->DBGrid1->SelectedRows();
    if (selected.isEmpty()) {
        ShowInformation(u"Нет выбранных кандидатов для добавления"_s);
        return;
    }
    TQuery* candidates = DataZRT->GETappPartReg;
    for (int recNo : selected) {
        candidates->setRecNo(recNo);
        INSone();
    }
    readLists();
}

void TFormAppCreateReg::SpeedButton2Click()
{
    if (!ownRows(DataZRT->GETappPartReg))
        return;
    TQuery* candidates = DataZRT->GETappPartReg;
    if (candidates->RecordCount() == 0) {
        ShowInformation(u"Нет кандидатов для добавления"_s);
        return;
    }
    {
        TGridPause pause(candidates);
        for (candidates->First(); !candidates->Eof(); candidates->Next())
            INSone();
    }
    readLists();
}

void TFormAppCreateReg::SpeedButton4Click()
{
    if (!ownRows(DataZRT->AppCreateRegSet))
        return;
    const QList<int> selected = ui->DBGrid2->SelectedRows();
    if (selected.isEmpty()) {
        ShowInformation(u"Нет выбранных участников для исключения из заявки"_s);
        return;
    }
    TQuery* application = DataZRT->AppCreateRegSet;
    QList<int> ids;
    for (int recNo : selected)
        ids << TField(u"id"_s, application->value(recNo - 1, u"id"_s)).asInteger();
    if (!confirmRemoval(ids))
        return;
    TQuery* remove = DataZRT->appCreateRegRemove;
    for (int i = 0; i < selected.size(); ++i) {
        application->setRecNo(selected.at(i));
        remove->Close();
        remove->ParamByName(u"id"_s).setAsInteger(ids.at(i));
        guardedWrite([remove] { remove->ExecSQL(); });
    }
    readLists();
}

void TFormAppCreateReg::SpeedButton3Click()
{
    if (!ownRows(DataZRT->AppCreateRegSet))
        return;
    TQuery* application = DataZRT->AppCreateRegSet;
    if (application->RecordCount() == 0) {
        ShowInformation(u"Нет участников для исключения из заявки"_s);
        return;
    }
    QList<int> ids;
    {
        TGridPause pause(application);
        for (application->First(); !application->Eof(); application->Next())
            ids << application->FieldByName(u"id"_s).asInteger();
    }
    if (!confirmRemoval(ids))
        return;

    TQuery* scratch = DataZRT->emptySQL;
    scratch->Close();
    scratch->SQL().clear();
    scratch->SQL() << applicationRowsDeleteSql(ids);
    guardedWrite([scratch] { scratch->ExecSQL(); });
    readLists();
}

TRemovalLoss TFormAppCreateReg::removalLoss(const QList<int>& ids) const
{
    QStringList list;
    for (int id : ids)
        list << QString::number(id);
    TQuery* q = DataZRT->GETremoveLossReg;
    q->Close();
    q->ParamByName(u"eduID"_s).setAsInteger(chosenEvent());
    q->ParamByName(u"ids"_s).setAsString(list.join(u','));
    q->Open();
    const TRemovalLoss loss{q->FieldByName(u"countResult"_s).asInteger(),
                            q->FieldByName(u"countStatus"_s).asInteger()};
    q->Close();
    return loss;
}

QString TFormAppCreateReg::removalQuestion(const TRemovalLoss& loss)
{
    return u"У исключаемых участников уже есть результаты или статусы.\n\r"
           u"Будут потеряны результаты: %1, статусы: %2, а также сведения о проживании.\n\r"
           u"Исключить участников из заявки?"_s.arg(loss.results).arg(loss.statuses);
}

bool TFormAppCreateReg::confirmRemoval(const QList<int>& ids) const
{
    const TRemovalLoss loss = removalLoss(ids);
    if (loss.results == 0 && loss.statuses == 0)
        return true;
    return TDialogs::MessageDlg(removalQuestion(loss), TMsgDlgType::Confirmation,
                                QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void TFormAppCreateReg::DBGrid1TitleClick(const QString& field)
{
    TDataZRT::SortSQL(DataZRT->GETappPartReg, field);
}

void TFormAppCreateReg::DBGrid2TitleClick(const QString& field)
{
    TDataZRT::SortSQL(DataZRT->AppCreateRegSet, field);
}
