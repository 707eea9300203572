#include "diplomas/CreateDiplomJournal.h"

#include "base/Progress.h"
#include "export/Excel.h"
#include "export/JournalSheet.h"
#include "ui/Dialogs.h"
#include "ui/EventChoice.h"
#include "ui/ErrorDisplay.h"
#include "ui/ProgressLabel.h"
#include "ui/SheetExport.h"
#include "ui/SheetMessages.h"
#include "ui/Shell.h"
#include "ui/StatusColors.h"
#include "data/Codes.h"
#include "data/DataZRT.h"
#include "data/Files.h"
#include "data/GridPause.h"
#include "data/Statements.h"

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

    events_ = new TEventChoice(this, ui->DBLookupComboBox1, DataZRT->SourceEDUdiplom, u"nameEdu"_s,
                               TEventChoice::EveryCloseUp, [this] { readData(); });

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

    connect(ui->DBGrid1, &TDBGrid::TitleClick, this,
            handler([this](const QString& field) { DBGrid1TitleClick(field); }));
    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { closeChildForm(this); });
    connect(ui->BitBtn4, &QPushButton::clicked, this, handler([this] { BitBtn4Click(); }));

    showsShared(DataZRT->GETjournal, [this] { return QVariantMap{{u"eduID"_s, chosenEvent()}}; },
                [this] { readData(); }, u"numberDiplom"_s);

    start(FormCreateDiplomJournal);
}

TFormCreateDiplomJournal::~TFormCreateDiplomJournal()
{
    delete ui;
}

void TFormCreateDiplomJournal::FormCreate()
{
    events_->openFirst();
    readData();
}

void TFormCreateDiplomJournal::FormClose()
{
    DataZRT->GETjournal->Close();
    events_->close();
}

int TFormCreateDiplomJournal::chosenEvent() const
{
    return events_->chosenEvent();
}

QString TFormCreateDiplomJournal::chosenEventText() const
{
    return chosenEvent() == 0 ? QString() : TField::displayText(events_->value(u"nameEdu"_s));
}

void TFormCreateDiplomJournal::readData()
{
    TQuery* q = DataZRT->GETjournal;
    q->Close();
    ui->BitBtn4->setEnabled(false);
    q->ParamByName(u"eduID"_s).setAsInteger(chosenEvent());
    q->Open();
    ui->BitBtn4->setEnabled(q->RecordCount() > 0);
}

void TFormCreateDiplomJournal::DBLookupComboBox1CloseUp() { events_->CloseUp(); }
void TFormCreateDiplomJournal::DBLookupComboBox1KeyUp(int) { events_->KeyUp(); }
void TFormCreateDiplomJournal::DBLookupComboBox1KeyValueChanged() { events_->KeyValueChanged(); }

void TFormCreateDiplomJournal::DBGrid1TitleClick(const QString& field)
{
    TDataZRT::SortSQL(DataZRT->GETjournal, field);
}

QColor TFormCreateDiplomJournal::DBGrid1DrawColumnCell(int recNo) const
{
    return statusColorOf(DataZRT->GETjournal, recNo, awardColor);
}

int TFormCreateDiplomJournal::getRecordCount()
{
    TQuery* sql = DataZRT->emptySQL;
    sql->Close();
    sql->SQL().clear();
    sql->SQL() = journalCountSql(chosenEvent());
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
