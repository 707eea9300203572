#include "ratings/CreateRatingReg.h"

#include "ratings/CreateRatingFinalEdit.h"
#include "ratings/RatingPreview.h"
#include "ratings/RatingUndo.h"
#include "export/Excel.h"
#include "export/RatingSheet.h"
#include "export/SheetMessages.h"
#include "ui/Dialogs.h"
#include "ui/ErrorDisplay.h"
#include "ui/ProgressLabel.h"
#include "ui/Shell.h"
#include "data/Codes.h"
#include "data/Errors.h"
#include "data/DataZRT.h"
#include "data/DisplaySuspended.h"
#include "data/Files.h"
#include "data/Format.h"

#include "ui_CreateRatingReg.h"

#include <QButtonGroup>
#include <QMenu>

#include <optional>

using namespace Qt::Literals::StringLiterals;

TFormCeateRatingReg* FormCeateRatingReg = nullptr;

namespace {

const QString ClassNotChosen = u"Не выбран класс обучения"_s;
const QString RatingFolder = u"Рейтинги"_s;

/// The background of the statuses that have one.
QColor statusColor(int status)
{
    switch (status) {
    case Status::Winner:
        return {240, 128, 128};
    case Status::Other8:
        return {152, 251, 152};
    case Status::Other9:
        return {250, 250, 210};
    case Status::PrizeWinner:
        return {255, 218, 185};
    case Status::NotArrived:
        return {192, 192, 192};
    default:
        return {};
    }
}

/// Runs one statement of lines on the scratch query with the values bind sets.
void execScratch(const QStringList& lines, const std::function<void(TQuery*)>& bind = {})
{
    TQuery* sql = DataZRT->emptySQL;
    sql->Close();
    sql->SQL().clear();
    sql->SQL() << lines;
    if (bind)
        bind(sql);
    sql->ExecSQL();
}

} // namespace

TFormCeateRatingReg::TFormCeateRatingReg(QWidget* parent)
    : TChildForm(parent)
    , ui(new Ui::TFormCeateRatingReg)
{
    ui->setupUi(this);

    ui->DBLookupComboBox1->setListSource(DataZRT->SourceGETeduReg, u"id"_s, u"nameEdu"_s);

    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    ui->DBGrid1->setDataSource(DataZRT->SourceGETcreateRatingReg);
    ui->DBGrid1->setColumns({
        {u"id"_s, QString(), false},
        {u"name"_s, u"МО"_s, true, left, 200},
        {u"fio"_s, u"ФИО участника"_s, true, left, 300},
        {u"classStudy"_s, u"Класс"_s, true, Qt::AlignCenter, 60},
        {u"result"_s, u"Результат"_s, true, left, 90, true},
        {u"nameStatus"_s, u"Статус"_s, true, left, 260},
    });
    ui->DBGrid1->setRowColor([this](int recNo) { return DBGrid1DrawColumnCell(recNo); });
    ui->DBGrid1->setRowColorOverSelection(true);
    ui->DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);

    gender_ = new QButtonGroup(this);
    gender_->addButton(ui->RadioGender0, 0);
    gender_->addButton(ui->RadioGender1, 1);
    gender_->addButton(ui->RadioGender2, 2);
    ovz_ = new QButtonGroup(this);
    ovz_->addButton(ui->RadioOVZ0, 0);
    ovz_->addButton(ui->RadioOVZ1, 1);
    ovz_->addButton(ui->RadioOVZ2, 2);
    editMode_ = new QButtonGroup(this);
    editMode_->addButton(ui->RadioEdit0, 0);
    editMode_->addButton(ui->RadioEdit1, 1);

    PopupStatus_ = new QMenu(this);
    PopupStatus_->setObjectName(u"PopupStatus"_s);
    const struct {
        const char* name;
        QString caption;
        void (TFormCeateRatingReg::*click)();
    } items[] = {
        {"N1", u"Кандидат в участники"_s, &TFormCeateRatingReg::N1Click},
        {"N2", u"Участник регионального этапа"_s, &TFormCeateRatingReg::N2Click},
        {"N3", u"Победитель регионального этапа"_s, &TFormCeateRatingReg::N3Click},
        {"N4", u"Призер регионального этапа"_s, &TFormCeateRatingReg::N4Click},
        {"N5", u"Не прибыл на региональный этап"_s, &TFormCeateRatingReg::N5Click},
    };
    for (const auto& item : items) {
        QAction* action = PopupStatus_->addAction(item.caption);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setCheckable(true);
        const auto click = item.click;
        connect(action, &QAction::triggered, this, handler([this, click] { (this->*click)(); }));
    }
    connect(PopupStatus_, &QMenu::aboutToShow, this, handler([this] { PopupStatusPopup(); }));

    preview_ = new TRatingPreview(this);
    ui->previewLayout->addWidget(preview_);
    for (QLineEdit* box : {ui->EditWinnerMin, ui->EditWinnerMax, ui->EditWinner})
        connect(box, &QLineEdit::textChanged, this, handler([this] { updatePreview(); }));

    showProgressOn(ui->ProgressBar1, ui->Lb);

    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::CloseUp, this,
            handler([this] { DBLookupComboBox1CloseUp(); }));
    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::KeyUp, this,
            handler([this](int key) { DBLookupComboBox1KeyUp(key); }));
    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::KeyValueChanged, this,
            handler([this] { DBLookupComboBox1KeyValueChanged(); }));
    for (QCheckBox* box : {ui->CheckBox1, ui->CheckBox2, ui->CheckBox3, ui->CheckBox4, ui->CheckBox5,
                           ui->CheckBox6, ui->CheckBox7, ui->CheckBox8, ui->CheckBox9, ui->CheckBox10,
                           ui->CheckBox11})
        connect(box, &QCheckBox::clicked, this, handler([this] { CheckBox1Click(); }));
    connect(gender_, &QButtonGroup::idClicked, this, handler([this] { RadioGroupGenderClick(); }));
    connect(ovz_, &QButtonGroup::idClicked, this, handler([this] { RadioGroupOVZClick(); }));
    connect(editMode_, &QButtonGroup::idToggled, this, handler([this](int, bool checked) {
                if (checked)
                    RadioGroup1Click();
            }));
    connect(ui->EditWinnerMax, &QLineEdit::textChanged, this, handler([this] { EditWinnerMaxChange(); }));
    connect(ui->DBGrid1, &TDBGrid::TitleClick, this,
            handler([this](const QString& field) { DBGrid1TitleClick(field); }));
    connect(ui->DBGrid1, &TDBGrid::CellClick, this,
            handler([this](const QString& field) { DBGrid1CellClick(field); }));
    connect(ui->DBGrid1, &TDBGrid::RowPosted, this, handler([this](int recNo) { DBGrid1RowPosted(recNo); }));
    connect(ui->DBGrid1, &TDBGrid::EditError, this,
            handler([this](const QString& message) { DBGrid1EditError(message); }));
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

    showsShared(DataZRT->GETeduReg, [] { return QVariantMap{{u"userID"_s, DataZRT->userID}}; }, [this] {
        // shared: read again, it keeps this window's choice
        const QVariant key = ui->DBLookupComboBox1->KeyValue();
        openAdministratorEvents(DataZRT->GETeduReg);
        ui->DBLookupComboBox1->setKeyValue(key);
    });
    showsShared(DataZRT->GETcreateRatingReg, [this] {
        return QVariantMap{{u"@sql"_s, ratingSql(chosenEvent(), classGroup(), genderIndex() - 1, ovzIndex() - 1)}};
    }, [this] {
        if (checkClass())
            readData();
    });

    start(FormCeateRatingReg);
}

TFormCeateRatingReg::~TFormCeateRatingReg()
{
    delete ui;
}

void TFormCeateRatingReg::FormCreate()
{
    ui->DBLookupComboBox1->setKeyValue(openAdministratorEvents(DataZRT->GETeduReg));
    eventChange();
}

void TFormCeateRatingReg::FormClose()
{
    DataZRT->GETcreateRatingReg->Close();
    DataZRT->GETeduReg->Close();
}

int TFormCeateRatingReg::chosenEvent() const
{
    return ui->DBLookupComboBox1->keyAsInteger();
}

int TFormCeateRatingReg::genderIndex() const
{
    return std::max(0, gender_->checkedId());
}

int TFormCeateRatingReg::ovzIndex() const
{
    return std::max(0, ovz_->checkedId());
}

QVariant TFormCeateRatingReg::eventValue(const QString& field) const
{
    const TQuery* events = DataZRT->GETeduReg;
    const int event = chosenEvent();
    if (event == 0 || !events->Active())
        return {};
    for (int row = 0; row < events->RecordCount(); ++row)
        if (events->value(row, u"id"_s).toInt() == event)
            return events->value(row, field);
    return {};
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

void TFormCeateRatingReg::DBLookupComboBox1CloseUp()
{
    if (!isClosing())
        eventChange();
}

void TFormCeateRatingReg::DBLookupComboBox1KeyUp(int)
{
    if (!isClosing())
        eventChange();
}

void TFormCeateRatingReg::DBLookupComboBox1KeyValueChanged()
{
    if (!isClosing() && chosenEvent() != shownEvent_)
        eventChange();
}

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

void TFormCeateRatingReg::RadioGroupGenderClick()
{
    readData();
}

void TFormCeateRatingReg::RadioGroupOVZClick()
{
    readData();
}

QString TFormCeateRatingReg::classGroup() const
{
    return classListText({ui->CheckBox1->isChecked(), ui->CheckBox2->isChecked(), ui->CheckBox3->isChecked(),
                          ui->CheckBox4->isChecked(), ui->CheckBox5->isChecked(), ui->CheckBox6->isChecked(),
                          ui->CheckBox7->isChecked(), ui->CheckBox8->isChecked(), ui->CheckBox9->isChecked(),
                          ui->CheckBox10->isChecked(), ui->CheckBox11->isChecked()});
}

bool TFormCeateRatingReg::checkClass() const
{
    const QList<QCheckBox*> boxes = findChildren<QCheckBox*>();
    return std::any_of(boxes.begin(), boxes.end(), [](const QCheckBox* box) { return box->isChecked(); });
}

void TFormCeateRatingReg::readData()
{
    if (!checkClass()) {
        ShowInformation(ClassNotChosen);
        return;
    }
    TQuery* q = DataZRT->GETcreateRatingReg;
    q->Close();
    ui->BitBtn4->setEnabled(false);
    q->SQL() = ratingSql(chosenEvent(), classGroup(), genderIndex() - 1, ovzIndex() - 1);
    q->Open();
    ui->BitBtn4->setEnabled(q->RecordCount() > 0);
}

void TFormCeateRatingReg::EditNoEdit()
{
    const TField permission(u"permission"_s, eventValue(u"permission"_s));
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
    const TQuery* q = DataZRT->GETcreateRatingReg;
    if (!q->Active() || recNo < 1 || recNo > q->RecordCount())
        return {};
    const TField status(u"statusparticipantID"_s, q->value(recNo - 1, u"statusparticipantID"_s));
    return status.isNull() ? QColor() : statusColor(status.asInteger());
}

void TFormCeateRatingReg::DBGrid1RowPosted(int recNo)
{
    TQuery* q = DataZRT->GETcreateRatingReg;
    if (!q->Active() || recNo < 1 || recNo > q->RecordCount())
        return;
    TQuery* upd = DataZRT->UPDresultReg;
    upd->Close();
    upd->ParamByName(u"id"_s).setAsInteger(TField(u"id"_s, q->value(recNo - 1, u"id"_s)).asInteger());
    upd->ParamByName(u"result"_s).setValue(q->value(recNo - 1, u"result"_s));
    try {
        upd->ExecSQL();
    } catch (const EDatabaseError&) {
        // The grid goes back to what the database holds, as far as it can
        // still be read; the failure of the write is the one reported.
        try {
            q->Refresh();
        } catch (const EDatabaseError&) {
        }
        throw;
    }
    readPreview();
}

void TFormCeateRatingReg::DBGrid1EditError(const QString& message)
{
    ShowErrorMessage(u"Результат не записан: "_s + message + u".\n\rВведите число, например "_s
                     + FloatToStr(20.5) + u'.');
}

void TFormCeateRatingReg::fillWinner()
{
    showScores(eventValue(u"prizeWinnerMin"_s), eventValue(u"prizeWinnerMax"_s), eventValue(u"Winner"_s));
}

void TFormCeateRatingReg::showScores(const QVariant& min, const QVariant& max, const QVariant& winner)
{
    ui->EditWinnerMin->setText(TField(u"prizeWinnerMin"_s, min).asString());
    ui->EditWinnerMax->setText(TField(u"prizeWinnerMax"_s, max).asString());
    ui->EditWinner->setText(TField(u"Winner"_s, winner).asString());
}

void TFormCeateRatingReg::EditWinnerMaxChange()
{
    const QString text = ui->EditWinnerMax->text();
    if (text.isEmpty())
        return;
    ui->EditWinner->setText(FloatToStr(StrToFloat(text) + 0.01));
}

bool TFormCeateRatingReg::checkWinner()
{
    bool ok = true;
    if (!(StrToFloat(ui->EditWinnerMin->text()) < StrToFloat(ui->EditWinnerMax->text()))) {
        ui->EditWinnerMax->setFocus();
        ShowErrorMessage(u"Значение \"До\" не может быть меньше или равно значению \"От\""_s);
        ok = false;
    }
    if (!(StrToFloat(ui->EditWinnerMax->text()) < StrToFloat(ui->EditWinner->text()))) {
        ui->EditWinner->setFocus();
        ShowErrorMessage(u"Значение \"Победитель От\" не может быть меньше или равно значению \" Призер До\""_s);
        ok = false;
    }
    return ok;
}

void TFormCeateRatingReg::rememberRow(const std::function<void()>& change)
{
    TQuery* q = DataZRT->GETcreateRatingReg;
    const int remembered = q->RecNo();
    change();
    readData();
    q->setRecNo(remembered);
}

void TFormCeateRatingReg::BitBtn2Click()
{
    if (!checkWinner())
        return;
    TPassingScores scores;
    scores.prizeWinnerMin = StrToFloat(ui->EditWinnerMin->text());
    scores.prizeWinnerMax = StrToFloat(ui->EditWinnerMax->text());
    scores.winner = StrToFloat(ui->EditWinner->text());
    if (!checkClass()) {
        ShowInformation(ClassNotChosen);
        return;
    }
    const int event = chosenEvent();
    const QList<QStringList> statements = statusStatements(event, classGroup());

    progress().setRange(0, 5);
    progress().setPosition(0);
    progress().setStep(u"Запись проходных баллов"_s);
    std::unique_ptr<TApplyUndo> undo;
    try {
        // Scores and statuses stand or fall together.
        DataZRT->FDConnection1.inTransaction([&] {
            // read before and after the statements, in the transaction: the undo record
            const TApplySnapshot before = TApplySnapshot::read(event, classGroup());
            TQuery* upd = DataZRT->UPDwinnerReg;
            upd->Close();
            upd->ParamByName(u"eduID"_s).setAsInteger(event);
            upd->ParamByName(u"prizeWinnerMin"_s).setAsFloat(scores.prizeWinnerMin);
            upd->ParamByName(u"prizeWinnerMax"_s).setAsFloat(scores.prizeWinnerMax);
            upd->ParamByName(u"Winner"_s).setAsFloat(scores.winner);
            upd->ExecSQL();
            progress().setPosition(1);
            progress().setStepText(u"Обнуление статусов"_s);
            execScratch(statements.at(0));
            progress().setPosition(2);
            execScratch(statements.at(1));
            progress().setPosition(3);
            progress().setStepText(u"Победители..."_s);
            execScratch(statements.at(2), [&](TQuery* q) { q->ParamByName(u"Winner"_s).setAsFloat(scores.winner); });
            progress().setPosition(4);
            progress().setStepText(u"Призеры..."_s);
            execScratch(statements.at(3), [&](TQuery* q) {
                q->ParamByName(u"prizeWinnerMin"_s).setAsFloat(scores.prizeWinnerMin);
                q->ParamByName(u"prizeWinnerMax"_s).setAsFloat(scores.prizeWinnerMax);
            });
            progress().setPosition(5);
            undo = std::make_unique<TApplyUndo>(before, TApplySnapshot::read(event, classGroup()));
        });
    } catch (...) {
        // Nothing of it stays written.
        progress().setPosition(0);
        progress().hideStep();
        throw;
    }
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
    const QString current = DataZRT->GETcreateRatingReg->FieldByName(u"nameStatus"_s).asString();
    for (QAction* action : PopupStatus_->actions())
        action->setChecked(action->text() == current);
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
    if (!ownRows(DataZRT->GETcreateRatingReg))
        return;
    rememberRow([code] {
        TQuery* upd = DataZRT->UPDstatusReg;
        upd->Close();
        upd->ParamByName(u"id"_s).setAsInteger(DataZRT->GETcreateRatingReg->FieldByName(u"id"_s).asInteger());
        upd->ParamByName(u"statusID"_s).setAsInteger(code);
        upd->ExecSQL();
    });
    readPreview();
}

void TFormCeateRatingReg::BitBtn3Click()
{
    TQuery* q = DataZRT->GETcreateRatingReg;
    if (!ownRows(q))
        return;
    const int id = q->FieldByName(u"id"_s).asInteger();
    TFormCreateRatingFinalEdit dialog;
    dialog.setRow(q->FieldByName(u"nameStatus"_s).asString(), q->FieldByName(u"fio"_s).asString(),
                  q->FieldByName(u"result"_s).asString(), q->FieldByName(u"statusparticipantID"_s).asInteger());
    if (TDialogs::ShowModal(dialog) != QDialog::Accepted)
        return;
    const double result = StrToFloat(dialog.resultText());
    TQuery* upd = DataZRT->UPDstatusResultReg;
    upd->Close();
    upd->ParamByName(u"id"_s).setAsInteger(id);
    upd->ParamByName(u"statusID"_s).setAsInteger(dialog.statusKey());
    upd->ParamByName(u"result"_s).setAsFloat(result);
    upd->ExecSQL();
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
    if (!TDataZRT::DirectoryCreate(RatingFolder)) {
        ShowErrorMessage(folderErrorText(RatingFolder));
        return;
    }
    const QString nameEdu = TField(u"nameEdu"_s, eventValue(u"nameEdu"_s)).asString();

    progress().setStep(u"Создание экземпляра MS Excel"_s);
    const int remembered = q->RecNo();
    std::optional<TDisplaySuspended> suspended(std::in_place, q);
    const auto giveBack = [&] {
        if (suspended) {
            q->setRecNo(remembered);
            suspended.reset();
        }
    };
    q->First();
    try {
        XLAplication = std::make_unique<TExcel>(&TShell::OpenFile);
        XLAplication->StartExcel();
        XLAplication->AddWorkbook();
        XLAplication->DisableEvents();
        XLAplication->SetCaption(ratingCaption());
        progress().setStepText(u"Создание заголовков таблицы"_s);
        writeRatingSheet(*XLAplication, nameEdu, q->RecordCount(), ratingRowsOf(q), progress());
        giveBack();

        progress().setStepText(u"Сохранение таблицы MS Excel в файл"_s);
        const QString path = CounterFileName(OutputFolder(RatingFolder), ratingFileBase(nameEdu), u".xlsx"_s);
        XLAplication->SaveSheet(path);
        ShowInformation(sheetSavedText(path));
        progress().setPosition(0);
        progress().hideStep();
        XLAplication->ShowExcel();
    } catch (const std::exception&) {
        // One message for whatever failed; the workbook is shown only if it was saved.
        ShowErrorMessage(sheetWriteErrorText());
        giveBack();
        progress().setPosition(0);
        progress().hideStep();
        if (XLAplication)
            XLAplication->ShowExcel();
    }
}
