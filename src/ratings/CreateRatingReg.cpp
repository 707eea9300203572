#include "ratings/CreateRatingReg.h"

#include "ratings/CreateRatingFinalEdit.h"
#include "ratings/RatingPreview.h"
#include "ratings/RatingWrites.h"
#include "ratings/StatusMenu.h"
#include "ratings/RatingUndo.h"
#include "export/Excel.h"
#include "export/RatingSheet.h"
#include "ui/SheetExport.h"
#include "ui/SheetMessages.h"
#include "ui/Dialogs.h"
#include "ui/EventChoice.h"
#include "ui/ErrorDisplay.h"
#include "ui/ProgressLabel.h"
#include "ui/RadioGroup.h"
#include "ui/ScoreBoxes.h"
#include "ui/StatusColors.h"
#include "data/Codes.h"
#include "data/DataZRT.h"
#include "data/GridPause.h"
#include "data/Format.h"
#include "data/Statements.h"

#include "ui_CreateRatingReg.h"

#include <QMenu>
#include <optional>

using namespace Qt::Literals::StringLiterals;

TFormCeateRatingReg* FormCeateRatingReg = nullptr;

namespace {

const QString ClassNotChosen = u"Не выбран класс обучения"_s;
const QString RatingFolder = u"Рейтинги"_s;

} // namespace

TFormCeateRatingReg::TFormCeateRatingReg(QWidget* parent)
    : TChildForm(parent)
    , ui(new Ui::TFormCeateRatingReg)
{
    ui->setupUi(this);

    events_ = new TEventChoice(this, ui->DBLookupComboBox1, DataZRT->SourceGETeduReg, u"nameEdu"_s,
                               TEventChoice::EveryCloseUp, [this] { eventChange(); });

    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    ui->DBGrid1->setDataSource(DataZRT->SourceGETcreateRatingReg);
    ui->DBGrid1->setColumns({
        {u"id"_s, QString(), false},
        {u"name"_s, u"МО"_s, true, left, 200},
        {u"fio"_s, u"ФИО участника"_s, true, left, 300},
        {u"classStudy"_s, u"Класс"_s, true, Qt::AlignCenter, 60},
        {u"result"_s, u"Результат"_s, true, left, 90, true, {}, negativeScoreText},
        {u"nameStatus"_s, u"Статус"_s, true, left, 260},
    });
    ui->DBGrid1->setRowColor([this](int recNo) { return DBGrid1DrawColumnCell(recNo); });
    ui->DBGrid1->setRowColorOverSelection(true);
    ui->DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);

    gender_ = radioGroup(this, {ui->RadioGender0, ui->RadioGender1, ui->RadioGender2});
    ovz_ = radioGroup(this, {ui->RadioOVZ0, ui->RadioOVZ1, ui->RadioOVZ2});
    editMode_ = radioGroup(this, {ui->RadioEdit0, ui->RadioEdit1});

    PopupStatus_ = createStatusMenu(this);
    void (TFormCeateRatingReg::* const clicks[])() = {&TFormCeateRatingReg::N1Click, &TFormCeateRatingReg::N2Click,
                                                      &TFormCeateRatingReg::N3Click, &TFormCeateRatingReg::N4Click,
                                                      &TFormCeateRatingReg::N5Click};
    for (int k = 0; k < PopupStatus_->actions().size(); ++k)
        connect(PopupStatus_->actions().at(k), &QAction::triggered, this,
                handler([this, click = clicks[k]] { (this->*click)(); }));
    connect(PopupStatus_, &QMenu::aboutToShow, this, handler([this] { PopupStatusPopup(); }));

    preview_ = new TRatingPreview(this);
    ui->previewLayout->addWidget(preview_);
    for (QLineEdit* box : {ui->EditWinnerMin, ui->EditWinnerMax, ui->EditWinner})
        connect(box, &QLineEdit::textChanged, this, handler([this] { updatePreview(); }));

    showProgressOn(ui->ProgressBar1, ui->Lb);

    for (QCheckBox* box : classBoxes())
        connect(box, &QCheckBox::clicked, this, handler([this] { CheckBox1Click(); }));
    connect(gender_, &QButtonGroup::idClicked, this, handler([this] { RadioGroupGenderClick(); }));
    connect(ovz_, &QButtonGroup::idClicked, this, handler([this] { RadioGroupOVZClick(); }));
    connect(editMode_, &QButtonGroup::idToggled, this, handler([this](int, bool checked) {
                if (checked)
                    RadioGroup1Click();
            }));
    connect(ui->EditWinnerMax, &QLineEdit::textChanged, this, handler([this] { EditWinnerMaxChange(); }));
    checkScoreBoxesWhenLeft(this, {ui->EditWinnerMin, ui->EditWinnerMax, ui->EditWinner});
    connect(ui->DBGrid1, &TDBGrid::TitleClick, this, handler([this](const QString& f) { DBGrid1TitleClick(f); }));
    connect(ui->DBGrid1, &TDBGrid::CellClick, this, handler([this](const QString& f) { DBGrid1CellClick(f); }));
    connect(ui->DBGrid1, &TDBGrid::RowPosted, this, handler([this](int recNo) { DBGrid1RowPosted(recNo); }));
    connect(ui->DBGrid1, &TDBGrid::EditError, this, handler([this](const QString& m) { DBGrid1EditError(m); }));
    connect(ui->DBGrid1, &TDBGrid::CellContextMenu, this, [this](const QString& field, const QPoint& at) {
        if (field == u"nameStatus"_s)
            PopupStatus_->popup(at);
    });
    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { closeChildForm(this); });
    connect(ui->BitBtn2, &QPushButton::clicked, this, handler([this] { BitBtn2Click(); }));
    connect(ui->BitBtn3, &QPushButton::clicked, this, handler([this] { BitBtn3Click(); }));
    connect(ui->BitBtn4, &QPushButton::clicked, this, handler([this] { BitBtn4Click(); }));
    connect(ui->BitBtn5, &QPushButton::clicked, this, handler([this] { BitBtn5Click(); }));
    offerUndo(nullptr);

    // with no class ticked there is nothing of the window's own to read
    showsShared(DataZRT->GETcreateRatingReg, [this] { return QVariantMap{{u"@sql"_s, ownSql()}}; },
                [this] { if (checkClass()) readData(); });

    start(FormCeateRatingReg);
}

TFormCeateRatingReg::~TFormCeateRatingReg()
{
    delete ui;
}

void TFormCeateRatingReg::FormCreate()
{
    events_->openFirst();
    eventChange();
}

void TFormCeateRatingReg::FormClose()
{
    DataZRT->GETcreateRatingReg->Close();
    events_->close();
}

int TFormCeateRatingReg::chosenEvent() const
{
    return events_->chosenEvent();
}

int TFormCeateRatingReg::genderIndex() const
{
    return std::max(0, gender_->checkedId());
}

int TFormCeateRatingReg::ovzIndex() const
{
    return std::max(0, ovz_->checkedId());
}

void TFormCeateRatingReg::eventChange()
{
    if (chosenEvent() != shownEvent_)
        offerUndo(nullptr);
    shownEvent_ = chosenEvent();
    fillWinner();
    readData();
    EditNoEdit();
    readPreview();
}

void TFormCeateRatingReg::DBLookupComboBox1CloseUp() { events_->CloseUp(); }
void TFormCeateRatingReg::DBLookupComboBox1KeyUp(int) { events_->KeyUp(); }
void TFormCeateRatingReg::DBLookupComboBox1KeyValueChanged() { events_->KeyValueChanged(); }

void TFormCeateRatingReg::CheckBox1Click()
{
    offerUndo(nullptr);
    readData();
    readPreview();
}

void TFormCeateRatingReg::readPreview()
{
    preview_->setRows(readApplyRows(chosenEvent(), classGroup()));
    updatePreview();
}

void TFormCeateRatingReg::updatePreview()
{
    preview_->setScores(typedScores(ui->EditWinnerMin->text(), ui->EditWinnerMax->text(), ui->EditWinner->text()));
}

void TFormCeateRatingReg::RadioGroupGenderClick() { readData(); }
void TFormCeateRatingReg::RadioGroupOVZClick() { readData(); }

QList<QCheckBox*> TFormCeateRatingReg::classBoxes() const
{
    return {ui->CheckBox1, ui->CheckBox2, ui->CheckBox3, ui->CheckBox4,  ui->CheckBox5, ui->CheckBox6,
            ui->CheckBox7, ui->CheckBox8, ui->CheckBox9, ui->CheckBox10, ui->CheckBox11};
}

QString TFormCeateRatingReg::classGroup() const
{
    QList<bool> ticked;
    for (const QCheckBox* box : classBoxes())
        ticked << box->isChecked();
    return classListText(ticked);
}

bool TFormCeateRatingReg::checkClass() const
{
    return !classGroup().isEmpty();
}

QStringList TFormCeateRatingReg::ownSql() const
{
    return ratingSql(chosenEvent(), classGroup(), genderIndex() - 1, ovzIndex() - 1);
}

bool TFormCeateRatingReg::classesTicked()
{
    if (checkClass())
        return true;
    // the rows of the former classes stay in sight, but nothing is done with them
    ui->BitBtn4->setEnabled(false);
    ShowInformation(ClassNotChosen);
    return false;
}

void TFormCeateRatingReg::readData()
{
    if (!classesTicked())
        return;
    TQuery* q = DataZRT->GETcreateRatingReg;
    q->Close();
    ui->BitBtn4->setEnabled(false);
    q->SQL() = ownSql();
    q->Open();
    ui->BitBtn4->setEnabled(q->RecordCount() > 0);
}

void TFormCeateRatingReg::EditNoEdit()
{
    const TField permission(u"permission"_s, events_->value(u"permission"_s));
    const bool open = !permission.isNull() && permission.asInteger() == Permission::Open;
    for (QWidget* w : std::initializer_list<QWidget*>{ui->EditWinnerMin, ui->EditWinnerMax, ui->EditWinner, ui->Label3,
                                                      ui->Label4, ui->Label5, ui->Label6, ui->BitBtn2, ui->DBGrid1,
                                                      ui->RadioGroup1})
        w->setEnabled(open);
    ui->RadioEdit1->setChecked(true);
    ui->BitBtn3->setEnabled(false);
    ui->Label7->setText(open ? QString()
                             : u"Редактирование по этому мероприятию закрыто администратором, но Вы можете просматривать и экспортировать данные"_s);
}

void TFormCeateRatingReg::RadioGroup1Click()
{
    const bool dialog = ui->RadioEdit0->isChecked();
    ui->DBGrid1->postEdit();
    ui->BitBtn3->setEnabled(dialog);
    ui->DBGrid1->setReadOnly(dialog);
    ui->DBGrid1->setSelectionBehavior(dialog ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void TFormCeateRatingReg::DBGrid1CellClick(const QString& field)
{
    if (!ui->RadioEdit1->isChecked())
        return;
    if (field == u"nameStatus"_s)
        ShowInformation(u"Это поле редактируется кликом правой клавиши мыши.\n\rили в табличном режиме."_s);
    else if (field != u"result"_s)
        ShowInformation(u"Это поле не может быть отредактировано в таблице.\n\rТаблично можно изменить только результат и статус."_s);
}

void TFormCeateRatingReg::DBGrid1TitleClick(const QString& field)
{
    TDataZRT::SortSQL(DataZRT->GETcreateRatingReg, field);
}

QColor TFormCeateRatingReg::DBGrid1DrawColumnCell(int recNo) const
{
    return statusColorOf(DataZRT->GETcreateRatingReg, recNo);
}

void TFormCeateRatingReg::DBGrid1RowPosted(int recNo)
{
    if (postResult(DataZRT->GETcreateRatingReg, recNo))
        readPreview();
}

void TFormCeateRatingReg::DBGrid1EditError(const QString& message)
{
    ShowErrorMessage(u"Результат не записан: "_s + message + u".\n\rВведите число, например "_s
                     + FloatToStr(20.5) + u'.');
}

void TFormCeateRatingReg::fillWinner()
{
    showScores(events_->value(u"prizeWinnerMin"_s), events_->value(u"prizeWinnerMax"_s), events_->value(u"Winner"_s));
}

void TFormCeateRatingReg::showScores(const QVariant& min, const QVariant& max, const QVariant& winner)
{
    ui->EditWinnerMin->setText(TField(u"prizeWinnerMin"_s, min).asString());
    ui->EditWinnerMax->setText(TField(u"prizeWinnerMax"_s, max).asString());
    ui->EditWinner->setText(TField(u"Winner"_s, winner).asString());
}

void TFormCeateRatingReg::EditWinnerMaxChange()
{
    if (const std::optional<QString> winner = proposedWinner(ui->EditWinnerMax->text()))
        ui->EditWinner->setText(*winner);
}

bool TFormCeateRatingReg::checkWinner()
{
    return checkScoreBoxes({ui->EditWinnerMin, ui->EditWinnerMax, ui->EditWinner}).has_value();
}

void TFormCeateRatingReg::rememberRow(const std::function<void()>& change)
{
    TGridPause pause(DataZRT->GETcreateRatingReg);
    change();
    readData();
}

void TFormCeateRatingReg::BitBtn2Click()
{
    const std::optional<TPassingScores> typed = checkScoreBoxes({ui->EditWinnerMin, ui->EditWinnerMax, ui->EditWinner});
    if (!typed)
        return;
    const TPassingScores scores = *typed;
    if (!classesTicked())
        return;
    std::unique_ptr<TApplyUndo> undo = applyPassingScores(chosenEvent(), classGroup(), scores, progress());
    progress().setStepText(u"Статусы изменены"_s);
    offerUndo(std::move(undo));
    rememberRow([] {});
    readPreview();
    progress().setPosition(0);
    progress().hideStep();
}

void TFormCeateRatingReg::offerUndo(std::unique_ptr<TApplyUndo> undo)
{
    undo_ = std::move(undo);
    ui->BitBtn5->setVisible(undo_ != nullptr);
}

void TFormCeateRatingReg::BitBtn5Click()
{
    if (!undo_)
        return;
    const TUndoResult done = undo_->run(); // a failure keeps the record: it can be tried again
    if (done.scores == TUndoResult::Scores::Restored) {
        const TStoredScores& scores = undo_->scoresBefore();
        showScores(scores.prizeWinnerMin, scores.prizeWinnerMax, scores.winner);
    }
    offerUndo(nullptr);
    rememberRow([] {});
    readPreview();
    ShowInformation(undoReportText(done));
}

void TFormCeateRatingReg::PopupStatusPopup()
{
    tickStatus(PopupStatus_, DataZRT->GETcreateRatingReg->FieldByName(u"nameStatus"_s).asString());
    // with no class ticked the rows shown are not the window's choice: nothing is set on them
    for (QAction* action : PopupStatus_->actions())
        action->setEnabled(checkClass());
}

void TFormCeateRatingReg::N1Click() { updateStatus(Status::Candidate); }
void TFormCeateRatingReg::N2Click() { updateStatus(Status::Participant); }
void TFormCeateRatingReg::N3Click() { updateStatus(Status::Winner); }
void TFormCeateRatingReg::N4Click() { updateStatus(Status::PrizeWinner); }
void TFormCeateRatingReg::N5Click() { updateStatus(Status::NotArrived); }

void TFormCeateRatingReg::FormActivate()
{
    // a result typed before the window was left is written, not dropped
    ui->DBGrid1->postEdit();
    TChildForm::FormActivate();
    readPreview(); // statuses another window changed count too
}

void TFormCeateRatingReg::updateStatus(int code)
{
    if (!classesTicked() || !ownRows(DataZRT->GETcreateRatingReg))
        return;
    const int id = DataZRT->GETcreateRatingReg->FieldByName(u"id"_s).asInteger();
    rememberRow([id, code] { writeStatus(id, code); });
    readPreview();
}

void TFormCeateRatingReg::BitBtn3Click()
{
    TQuery* q = DataZRT->GETcreateRatingReg;
    if (!classesTicked() || !ownRows(q))
        return;
    const int id = q->FieldByName(u"id"_s).asInteger();
    TFormCreateRatingFinalEdit dialog;
    dialog.setRow(q->FieldByName(u"nameStatus"_s).asString(), q->FieldByName(u"fio"_s).asString(),
                  q->FieldByName(u"result"_s).asString(), q->FieldByName(u"statusparticipantID"_s).asInteger());
    if (TDialogs::ShowModal(dialog) != QDialog::Accepted)
        return;
    const double result = StrToFloat(dialog.resultText());
    writeStatusResult(id, dialog.statusKey(), result);
    readData();
    q->Locate(u"fio"_s, dialog.fioText());
    readPreview();
}

namespace {

/// The rows of the rating from its current row on, as the sheet shows them.
TRatingRowReader ratingRowsOf(TQuery* q)
{
    using R = TRatingSheetRow;
    return textRowsOf<R>(q, {{u"fio"_s, &R::fio},
                             {u"classStudy"_s, &R::classStudy},
                             {u"name"_s, &R::name},
                             {u"result"_s, &R::result},
                             {u"nameStatus"_s, &R::nameStatus}});
}

} // namespace

void TFormCeateRatingReg::BitBtn4Click()
{
    TQuery* q = DataZRT->GETcreateRatingReg;
    // the sheet lists the rows of this window's own choice, never another window's
    if (q->Active() && !ownRows(q))
        return;
    if (!q->Active() || q->IsEmpty()) {
        ShowInformation(u"Нет данных для импорта"_s);
        return;
    }
    const QString nameEdu = TField(u"nameEdu"_s, events_->value(u"nameEdu"_s)).asString();
    TSheetExport job;
    job.folder = RatingFolder;
    job.caption = ratingCaption();
    job.fileBase = ratingFileBase(nameEdu);
    job.rows = q;
    job.layout = [&](TExcel& xl) { writeRatingSheet(xl, nameEdu, q->RecordCount(), ratingRowsOf(q), progress()); };
    // a sheet the spreadsheet cannot hold is reported as a failed write
    job.messages = {folderErrorText(RatingFolder), sheetWriteErrorText(), sheetWriteErrorText()};
    exportSheet(job, XLAplication, progress());
}
