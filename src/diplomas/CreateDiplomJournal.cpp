#include "diplomas/CreateDiplomJournal.h"

#include "base/Progress.h"
#include "export/Excel.h"
#include "export/JournalSheet.h"
#include "ui/SheetExport.h"
#include "ui/SheetMessages.h"
#include "ui/ErrorDisplay.h"
#include "data/Codes.h"
#include "data/DataZRT.h"

#include "ui_CreateDiplomJournal.h"

using namespace Qt::Literals::StringLiterals;

TFormCreateDiplomJournal* FormCreateDiplomJournal = nullptr;

namespace {

const QString JournalFolder = u"Журнал"_s;

/// The journal from its current row on, as the sheet shows it.
TJournalRowReader journalRowsOf(TQuery* q)
{
    using R = TJournalSheetRow;
    return textRowsOf<R>(q, {{u"nameStatus"_s, &R::nameStatus},
                             {u"fio"_s, &R::fio},
                             {u"classStudy"_s, &R::classStudy},
                             {u"fullname"_s, &R::fullname},
                             {u"numberDiplom"_s, &R::numberDiplom}});
}

} // namespace

TFormCreateDiplomJournal::TFormCreateDiplomJournal(QWidget* parent)
    : TChildForm(parent)
    , ui(new Ui::TFormCreateDiplomJournal)
{
    ui->setupUi(this);

    ui->DBLookupComboBox1->setListSource(DataZRT->SourceEDUdiplom, u"id"_s, u"nameEdu"_s);

    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    ui->DBGrid1->setDataSource(DataZRT->SourceGETjournal);
    ui->DBGrid1->setColumns({
        {u"nameStatus"_s, u"Статус"_s, true, left, 230},
        {u"fio"_s, u"ФИО участника"_s, true, left, 280},
        {u"classStudy"_s, u"Класс"_s, true, Qt::AlignCenter, 60},
        {u"fullname"_s, u"Образовательная организация"_s, true, left, 320},
        {u"numberDiplom"_s, u"№ диплома (сертификата)"_s, true, left, 170},
        {u"statusparticipantID"_s, QString(), false},
    });
    ui->DBGrid1->setReadOnly(true);
    ui->DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->DBGrid1->setRowColor([this](int recNo) { return DBGrid1DrawColumnCell(recNo); });

    showProgressOn(ui->ProgressBar1, ui->Lb);

    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::CloseUp, this,
            handler([this] { DBLookupComboBox1CloseUp(); }));
    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::KeyUp, this,
            handler([this](int key) { DBLookupComboBox1KeyUp(key); }));
    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::KeyValueChanged, this,
            handler([this] { DBLookupComboBox1KeyValueChanged(); }));
    connect(ui->DBGrid1, &TDBGrid::TitleClick, this,
            handler([this](const QString& field) { DBGrid1TitleClick(field); }));
    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { closeChildForm(this); });
    connect(ui->BitBtn4, &QPushButton::clicked, this, handler([this] { BitBtn4Click(); }));

    showsShared(DataZRT->EDUdiplom, [] { return QVariantMap{{u"userID"_s, DataZRT->userID}}; }, [this] {
        // shared: read again, it keeps this window's choice
        const QVariant key = ui->DBLookupComboBox1->KeyValue();
        openAdministratorEvents(DataZRT->EDUdiplom);
        ui->DBLookupComboBox1->setKeyValue(key);
    });
    showsShared(DataZRT->GETjournal, [this] { return QVariantMap{{u"eduID"_s, chosenEvent()}}; },
                [this] { readData(); });

    start(FormCreateDiplomJournal);
}

TFormCreateDiplomJournal::~TFormCreateDiplomJournal()
{
    delete ui;
}

void TFormCreateDiplomJournal::FormCreate()
{
    ui->DBLookupComboBox1->setKeyValue(openAdministratorEvents(DataZRT->EDUdiplom));
    readData();
}

void TFormCreateDiplomJournal::FormClose()
{
    DataZRT->GETjournal->Close();
    DataZRT->EDUdiplom->Close();
}

int TFormCreateDiplomJournal::chosenEvent() const
{
    return ui->DBLookupComboBox1->keyAsInteger();
}

QString TFormCreateDiplomJournal::chosenEventText() const
{
    const TQuery* events = DataZRT->EDUdiplom;
    const int event = chosenEvent();
    if (event != 0 && events->Active())
        for (int row = 0; row < events->RecordCount(); ++row)
            if (events->value(row, u"id"_s).toInt() == event)
                return TField::displayText(events->value(row, u"nameEdu"_s));
    return {};
}

void TFormCreateDiplomJournal::readData()
{
    shownEvent_ = chosenEvent();
    TQuery* q = DataZRT->GETjournal;
    q->Close();
    ui->BitBtn4->setEnabled(false);
    q->ParamByName(u"eduID"_s).setAsInteger(shownEvent_);
    q->Open();
    ui->BitBtn4->setEnabled(q->RecordCount() > 0);
}

void TFormCreateDiplomJournal::DBLookupComboBox1CloseUp()
{
    if (!isClosing())
        readData();
}

void TFormCreateDiplomJournal::DBLookupComboBox1KeyUp(int)
{
    if (!isClosing())
        readData();
}

void TFormCreateDiplomJournal::DBLookupComboBox1KeyValueChanged()
{
    if (!isClosing() && chosenEvent() != shownEvent_)
        readData();
}

void TFormCreateDiplomJournal::DBGrid1TitleClick(const QString& field)
{
    TDataZRT::SortSQL(DataZRT->GETjournal, field);
}

QColor TFormCreateDiplomJournal::DBGrid1DrawColumnCell(int recNo) const
{
    const TQuery* q = DataZRT->GETjournal;
    if (!q->Active() || recNo < 1 || recNo > q->RecordCount())
        return {};
    const TField status(u"statusparticipantID"_s, q->value(recNo - 1, u"statusparticipantID"_s));
    if (status.isNull())
        return {};
    switch (status.asInteger()) {
    case Status::Winner:
        return {240, 128, 128};
    case Status::PrizeWinner:
        return {255, 218, 185};
    default:
        return {};
    }
}

int TFormCreateDiplomJournal::getRecordCount()
{
    TQuery* sql = DataZRT->emptySQL;
    sql->Close();
    sql->SQL().clear();
    sql->SQL() << u"SELECT count(*) as RecordCount"_s
               << u"FROM `vzl_application_reg` A, `vzl_users` B, `vzl_schools` C, `vzl_periods` D, `vzl_statusparticipant` E"_s
               << u"WHERE A.`educationlListID_reg`="_s + QString::number(chosenEvent())
               << u"and A.`levelolimpID`=3"_s
               << u"and B.`id`=A.`userID`"_s
               << u"and C.`id`=B.`schoolID`"_s
               << u"and D.`id`= A.`periodID`"_s
               << u"and  A.`statusparticipantID`=E.`id`"_s;
    sql->Open();
    const int count = sql->FieldByName(u"RecordCount"_s).asInteger();
    sql->Close();
    return count;
}

void TFormCreateDiplomJournal::BitBtn4Click()
{
    // the sheet lists the journal of this window's own event, never another window's
    if (!ownRows(DataZRT->GETjournal))
        return;
    progress().setRange(0, getRecordCount());
    TQuery* q = DataZRT->GETjournal;
    TSheetExport job;
    job.folder = JournalFolder;
    job.caption = journalCaption();
    job.fileBase = journalFileBase();
    job.rows = q;
    job.layout = [&](TExcel& xl) { writeJournalSheet(xl, chosenEventText(), journalRowsOf(q), progress()); };
    // a layout failure reaches the general error display
    job.messages = {folderErrorText(JournalFolder), sheetWriteErrorText(), {}};
    if (exportSheet(job, XLAplication, progress()) != TSheetExportEnd::NotStarted)
        progress().hideStep();   // after the save, as the journal's last step
}
