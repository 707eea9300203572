#include "diplomas/CreateDiplomJournal.h"

#include "export/Excel.h"
#include "export/JournalSheet.h"
#include "export/SheetMessages.h"
#include "ui/Dialogs.h"
#include "ui/EventChoice.h"
#include "ui/ErrorDisplay.h"
#include "ui/ProgressLabel.h"
#include "ui/Shell.h"
#include "ui/StatusColors.h"
#include "data/Codes.h"
#include "data/DataZRT.h"
#include "data/DisplaySuspended.h"
#include "data/Files.h"
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

bool TFormCreateDiplomJournal::createXLS(const QString& caption)
{
    progress().setStep(u"Создание экземпляра MS Excel"_s);
    try {
        XLAplication = std::make_unique<TExcel>(&TShell::OpenFile);
        XLAplication->StartExcel();
        XLAplication->AddWorkbook();
        XLAplication->DisableEvents();
        XLAplication->SetCaption(caption);
        progress().setStepText(u"Создание заголовков таблицы"_s);
        return true;
    } catch (const std::exception&) {
        // the label tells it; no message box
        progress().setStepText(u"Ошибка создания экземпляра MS Excel"_s);
        return false;
    }
}

void TFormCreateDiplomJournal::saveXLS(const QString& prefix)
{
    progress().setStepText(u"Сохранение таблицы MS Excel в файл"_s);
    try {
        const QString path = CounterFileName(OutputFolder(JournalFolder), prefix, u".xlsx"_s);
        XLAplication->SaveSheet(path);
        ShowInformation(sheetSavedText(path));
        progress().setPosition(0);
        progress().hideStep();
        XLAplication->ShowExcel();
    } catch (const std::exception&) {
        ShowErrorMessage(sheetWriteErrorText());
        progress().setPosition(0);
        progress().hideStep();
        if (XLAplication)
            XLAplication->ShowExcel();
    }
}

void TFormCreateDiplomJournal::BitBtn4Click()
{
    // the sheet lists the journal of this window's own event, never another window's
    if (!ownRows(DataZRT->GETjournal))
        return;
    progress().setRange(0, getRecordCount());
    if (!TDataZRT::DirectoryCreate(JournalFolder)) {
        ShowErrorMessage(folderErrorText(JournalFolder));
        return;
    }
    if (!createXLS(journalCaption()))
        return;

    TQuery* q = DataZRT->GETjournal;
    {
        // A failure while the sheet is filled reaches the general error display;
        // the grid follows the journal again at its former row all the same.
        const int remembered = q->RecNo();
        TDisplaySuspended suspended(q);
        struct GiveBack {
            TQuery* q;
            int recNo;
            ~GiveBack() { q->setRecNo(recNo); }
        } giveBack{q, remembered};
        q->First();
        writeJournalSheet(*XLAplication, chosenEventText(), journalRowsOf(q), progress());
    }
    saveXLS(journalFileBase());
    progress().hideStep();
}
