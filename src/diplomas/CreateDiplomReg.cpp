#include "diplomas/CreateDiplomReg.h"

#include "data/Codes.h"
#include "data/DBGrid.h"
#include "data/DataZRT.h"
#include "data/Errors.h"
#include "data/Files.h"
#include "data/MemTable.h"
#include "diplomas/DiplomaDrawing.h"
#include "diplomas/DiplomaFiles.h"
#include "diplomas/DiplomaPreview.h"
#include "diplomas/DiplomaRun.h"
#include "ui/Dialogs.h"
#include "ui/Download.h"
#include "ui/ErrorDisplay.h"
#include "ui/ProgressLabel.h"
#include "ui/Shell.h"
#include "ui_CreateDiplomReg.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

TFormCreateDiplomReg* FormCreateDiplomReg = nullptr;

namespace {

const QString Yes = u"Да"_s;
const QString No = u"Нет"_s;

// How long the file server may stay silent before the download fails.
constexpr int kDownloadTimeoutMs = 5000;

// Views of a memory table stop following it for the length of a walk over its
// rows and resume however the walk ends.
class TControlsDisabled {
public:
    explicit TControlsDisabled(TDataSet* data) : data_(data) { data_->DisableControls(); }
    ~TControlsDisabled() { data_->EnableControls(); }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
    TDataSet* data_;
};

} // namespace

TFormCreateDiplomReg::TFormCreateDiplomReg(QWidget* parent)
    : TChildForm(parent)
    , ui(new Ui::TFormCreateDiplomReg)
{
    ui->setupUi(this);

    MemList = new TMemTable(u"MemList"_s,
                            {u"appID"_s, u"userID"_s, u"surname"_s, u"name"_s, u"patronymic"_s, u"nameArea"_s,
                             u"statusparticipantID"_s, u"nameStatus"_s, u"classStudy"_s, u"checkOUT"_s},
                            this);
    SourceList = new TDataSource(u"SourceList"_s, MemList, this);

    ui->DBLookupComboBox1->setListSource(DataZRT->SourceEDUdiplomReg, u"id"_s, u"nameEDUCRT"_s);

    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    ui->DBGrid1->setDataSource(SourceList);
    ui->DBGrid1->setColumns({
        {u"appID"_s, QString(), false},
        {u"userID"_s, QString(), false},
        {u"checkOUT"_s, u"Выбор"_s, true, Qt::AlignCenter, 60, true, {Yes, No}},
        {u"nameStatus"_s, u"Статус"_s, true, left, 220, true},
        {u"surname"_s, u"Фамилия"_s, true, left, 140, true},
        {u"name"_s, u"Имя"_s, true, left, 120, true},
        {u"patronymic"_s, u"Отчество"_s, true, left, 140, true},
        {u"classStudy"_s, u"Класс"_s, true, Qt::AlignCenter, 50, true},
        {u"nameArea"_s, u"МО"_s, true, left, 180, true},
        {u"statusparticipantID"_s, QString(), false},
    });
    // Tested in this order, the last match wins: a ticked row is green whatever its status.
    ui->DBGrid1->setRowColor([this](int recNo) {
        QColor colour;
        if (recNo < 1 || recNo > MemList->RecordCount())
            return colour;
        const int row = recNo - 1;
        const int status = MemList->value(row, u"statusparticipantID"_s).toInt();
        if (status == Status::Winner)
            colour = QColor(240, 128, 128);
        if (status == Status::PrizeWinner)
            colour = QColor(255, 218, 185);
        if (MemList->value(row, u"checkOUT"_s).toString() == Yes)
            colour = QColor(152, 251, 152);
        return colour;
    });

    showProgressOn(ui->ProgressBar1, ui->Lb);

    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::CloseUp, this,
            handler([this] { DBLookupComboBox1CloseUp(); }));
    connect(ui->DBLookupComboBox1, &TDBLookupComboBox::KeyValueChanged, this,
            handler([this] { DBLookupComboBox1KeyValueChanged(); }));
    connect(ui->DBGrid1, &TDBGrid::DblClick, this, handler([this] { DBGrid1DblClick(); }));
    connect(ui->DBGrid1, &TDBGrid::EditError, this, [](const QString& message) { ShowErrorMessage(message); });
    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { closeChildForm(this); });
    connect(ui->BitBtn2, &QPushButton::clicked, this, handler([this] { BitBtn2Click(); }));
    connect(ui->BitBtn3, &QPushButton::clicked, this, handler([this] { BitBtn3Click(); }));
    connect(ui->BitBtn4, &QPushButton::clicked, this, handler([this] { BitBtn4Click(); }));
    connect(ui->BitBtn5, &QPushButton::clicked, this, handler([this] { BitBtn5Click(); }));

    start(FormCreateDiplomReg);
}

TFormCreateDiplomReg::~TFormCreateDiplomReg()
{
    delete ui;
}

void TFormCreateDiplomReg::FormCreate()
{
    const int first = openAdministratorEvents(DataZRT->EDUdiplomReg);
    if (first == 0) {
        setGenerationEnabled(false);
        return;
    }
    ui->DBLookupComboBox1->setKeyValue(first);
    readData();
    setGenerationEnabled(true);
    VeriFyPermission();
}

void TFormCreateDiplomReg::FormClose()
{
    DataZRT->EDUdiplomReg->Close();
}

void TFormCreateDiplomReg::setGenerationEnabled(bool on)
{
    ui->BitBtn2->setEnabled(on);
    ui->BitBtn4->setEnabled(on);
    ui->BitBtn5->setEnabled(on);
}

void TFormCreateDiplomReg::DBLookupComboBox1CloseUp()
{
    // A list closed on the event already shown keeps its ticks; a choice by
    // mouse reports both the change and the closing, and is read once.
    if (!isClosing() && ui->DBLookupComboBox1->keyAsInteger() != listEvent_) {
        readData();
        VeriFyPermission();
    }
}

void TFormCreateDiplomReg::DBLookupComboBox1KeyValueChanged()
{
    DBLookupComboBox1CloseUp();
}

TFormCreateDiplomReg::Event TFormCreateDiplomReg::chosenEventRow() const
{
    const TQuery* events = DataZRT->EDUdiplomReg;
    const int id = ui->DBLookupComboBox1->keyAsInteger();
    if (events->Active()) {
        for (int row = 0; row < events->RecordCount(); ++row) {
            if (events->value(row, u"id"_s).toInt() != id)
                continue;
            Event e;
            e.id = id;
            e.nameEdu = events->value(row, u"nameEdu"_s).toString();
            e.SubjectsID = events->value(row, u"SubjectsID"_s).toInt();
            e.year = events->value(row, u"year"_s).toInt();
            e.permissionDiplom = events->value(row, u"permissionDiplom"_s).toInt();
            return e;
        }
    }
    // The event list is shared: another diploma window may have closed it meanwhile.
    throw EError(u"Выбранное мероприятие отсутствует в списке мероприятий: выберите мероприятие заново"_s);
}

void TFormCreateDiplomReg::readData()
{
    TQuery* q = DataZRT->GETdiplomReg;
    const Event chosen = chosenEventRow();
    q->Close();
    q->ParamByName(u"eduID"_s).setAsInteger(chosen.id);
    q->Open();
    {
        TControlsDisabled suspended(MemList);
        MemList->Open();
        MemList->EmptyTable();
        for (int row = 0; row < q->RecordCount(); ++row) {
            QVariantList values;
            for (const QString& field : {u"appID"_s, u"userID"_s, u"surname"_s, u"name"_s, u"patronymic"_s,
                                         u"nameArea"_s, u"statusparticipantID"_s, u"nameStatus"_s, u"classStudy"_s})
                values << q->value(row, field);
            values << No;
            MemList->AppendRecord(values);
        }
        MemList->First();
    }
    q->Close();
    event_ = chosen;
    listEvent_ = chosen.id;
}

void TFormCreateDiplomReg::VeriFyPermission()
{
    // The list has just been read for this event: it is not read a second time.
    if (event_.permissionDiplom == 1) {
        setGenerationEnabled(true);
    } else {
        setGenerationEnabled(false);
        ShowInformation(u"По этому мероприятию формирование дипломов закрыто администратором"_s);
    }
}

void TFormCreateDiplomReg::DBGrid1DblClick()
{
    if (MemList->IsEmpty())
        return;
    ui->DBGrid1->postEdit();
    const QString now = MemList->FieldByName(u"checkOUT"_s).value().toString();
    MemList->setFieldValue(u"checkOUT"_s, now == No ? Yes : No);
}

void TFormCreateDiplomReg::checkAll(const QString& value)
{
    ui->DBGrid1->postEdit();
    const int current = MemList->RecNo();
    TControlsDisabled suspended(MemList);
    const int column = MemList->fieldIndex(u"checkOUT"_s);
    for (int row = 0; row < MemList->RecordCount(); ++row)
        MemList->setValue(row, column, value);
    MemList->setRecNo(current);
}

void TFormCreateDiplomReg::BitBtn2Click()
{
    checkAll(Yes);
}

void TFormCreateDiplomReg::BitBtn3Click()
{
    checkAll(No);
}

int TFormCreateDiplomReg::countSelected() const
{
    int n = 0;
    for (int row = 0; row < MemList->RecordCount(); ++row)
        if (MemList->value(row, u"checkOUT"_s).toString() == Yes)
            ++n;
    return n;
}

QString TFormCreateDiplomReg::getNameCanvas(int SubjectsID)
{
    switch (SubjectsID) {
    case 6:
        return u"/Images/ZRT_6.jpg"_s;
    case 20:
        return u"/Images/ZRT_20.jpg"_s;
    default:
        return u"/Images/ZRT_all.jpg"_s;
    }
}

bool TFormCreateDiplomReg::LoadTemplate()
{
    try {
        const QUrl url = DataZRT->fileServerUrl(getNameCanvas(event_.SubjectsID));
        bool begun = false;
        const QByteArray bytes = TDownload::Get(
            url,
            [&](qint64 received, qint64 total) {
                if (!begun && total > 0) {
                    progress().setRange(0, int(qMin<qint64>(total, INT_MAX)));
                    begun = true;
                }
                if (begun)
                    progress().setPosition(int(qMin<qint64>(received, INT_MAX)));
            },
            kDownloadTimeoutMs);
        progress().setRange(0, selectedAtStart_);
        progress().setPosition(produced_);
        QImage decoded = QImage::fromData(bytes);
        if (decoded.isNull())
            throw EError(u"файл %1 не является изображением"_s.arg(url.path()));
        template_ = std::move(decoded);
        templatePath_ = url.path();
        return true;
    } catch (const EError& e) {
        progress().setRange(0, selectedAtStart_);
        progress().setPosition(produced_);
        ShowErrorMessage(u"При считывании файла из БД возникла ошибка: "_s + e.message());
        return false;
    }
}

QString TFormCreateDiplomReg::outputFolder() const
{
    const QString diplomas = u"Дипломы"_s;
    const QString event = diplomas + u'/' + TDiplomaFileNames::folderName(event_.nameEdu);
    if (!TDataZRT::DirectoryCreate(diplomas) || !TDataZRT::DirectoryCreate(event))
        return {};
    return OutputFolder(event);
}

TDiplomaData TFormCreateDiplomReg::participant(int recNo)
{
    const int row = recNo - 1;
    const auto text = [&](const QString& field) {
        return TField(field, MemList->value(row, field)).asString();
    };
    TDiplomaData d;
    d.eduID = event_.id;
    d.nameEdu = event_.nameEdu;
    d.year = event_.year;
    d.appID = MemList->value(row, u"appID"_s).toInt();
    d.userID = MemList->value(row, u"userID"_s).toInt();
    d.statusparticipantID = MemList->value(row, u"statusparticipantID"_s).toInt();
    d.surname = text(u"surname"_s);
    d.name = text(u"name"_s);
    d.patronymic = text(u"patronymic"_s);
    d.classStudy = text(u"classStudy"_s);

    TQuery* school = DataZRT->diplomOneReg;
    school->Close();
    school->ParamByName(u"idApp"_s).setAsInteger(d.appID);
    school->Open();
    // A pupil without a school row gets an empty school line.
    if (!school->IsEmpty())
        d.school = school->FieldByName(u"fullname"_s).asString();
    return d;
}

void TFormCreateDiplomReg::BitBtn4Click()
{
    ui->DBGrid1->postEdit();
    selectedAtStart_ = countSelected();
    progress().setRange(0, selectedAtStart_);
    if (selectedAtStart_ <= 0) {
        ShowInformation(u"Нет выбранных участников.\n\r"_s);
        return;
    }

    const int current = MemList->RecNo();
    produced_ = 0;
    progress().setStep(u"Скачивание шаблона..."_s);
    LoadTemplate();
    if (template_.isNull()) {
        progress().setPosition(0);
        progress().hideStep();
        MemList->setRecNo(current);
        ShowWarning(u"Шаблон диплома (сертификата) не загружен: дипломы (сертификаты) не созданы"_s);
        return;
    }
    const QString folder = outputFolder();
    if (folder.isEmpty()) {
        progress().setPosition(0);
        progress().hideStep();
        MemList->setRecNo(current);
        return;
    }

    const auto describe = [](const EError& e) {
        if (const auto* f = dynamic_cast<const EDiplomaFailure*>(&e))
            return u"Не удалось создать диплом (сертификат) для "_s + f->participant() + u":\n\r"_s + f->reason();
        return e.message();
    };
    QString failure;
    int made = 0;
    QString pdf;
    QString pdfFailure;
    {
        // However the run ends: the bar empty, the list at the row it was on
        // and shown again, the label hidden.
        struct Restore {
            TFormCreateDiplomReg* form;
            int current;
            ~Restore()
            {
                form->progress().setPosition(0);
                DataZRT->diplomOneReg->Close();
                form->MemList->setRecNo(current);
                form->MemList->EnableControls();
                form->progress().hideStep();
            }
        } restore{this, current};
        MemList->DisableControls();

        TDiplomaRun run(template_, folder, TDiplomaFaces::platform(), progress());
        try {
            run.writePdf(CounterFileName(folder, u"Дипломы_("_s + event_.nameEdu + u")_"_s, u".pdf"_s));
            for (int recNo = 1; recNo <= MemList->RecordCount(); ++recNo) {
                if (MemList->value(recNo - 1, u"checkOUT"_s).toString() != Yes)
                    continue;
                MemList->setRecNo(recNo);
                const TDiplomaData d = participant(recNo);
                progress().setStepText(u"Создание диплома для "_s + fullName(d));
                run.add(d);
            }
            run.finish();
        } catch (const EError& e) {
            failure = describe(e);
            // The images queued before the failure are finished and kept; one
            // of them failing is the earlier failure, the one to report.
            try {
                run.stop();
            } catch (const EDiplomaFailure& earlier) {
                failure = describe(earlier);
            }
        }
        made = run.produced();
        produced_ = made;
        pdf = run.pdfFile();
        pdfFailure = run.pdfFailure();
    }

    const QString shown = QDir::toNativeSeparators(folder);
    if (!failure.isEmpty()) {
        ShowErrorMessage(u"Создание дипломов (сертификатов) прервано.\n\r"_s + failure
                         + u"\n\rСоздано файлов: %1 из %2, они сохранены в папке:\n\r"_s.arg(made).arg(selectedAtStart_)
                         + shown);
        return;
    }
    const QString done = u"Создание дипломов (сертификатов) завершено.\n\rФайлы сохранены в папке:\n\r"_s + shown;
    if (pdf.isEmpty())  // the images are there; only the file for the printer is missing
        ShowWarning(done + u"\n\rФайл для печати (PDF) не создан:\n\r"_s + pdfFailure);
    else
        ShowInformation(done + u"\n\rВсе дипломы (сертификаты) для печати в одном файле:\n\r"_s + QFileInfo(pdf).fileName());
    TShell::OpenFolder(folder + u'/');
}

void TFormCreateDiplomReg::BitBtn5Click()
{
    ui->DBGrid1->postEdit();
    if (MemList->IsEmpty()) {
        ShowInformation(u"Нет участников для просмотра диплома (сертификата)."_s);
        return;
    }
    // The chosen event's own template: one held for another event is not it.
    if (template_.isNull() || templatePath_ != getNameCanvas(event_.SubjectsID)) {
        selectedAtStart_ = 0;
        produced_ = 0;
        progress().setStep(u"Скачивание шаблона..."_s);
        const bool loaded = LoadTemplate();
        progress().setPosition(0);
        progress().hideStep();
        if (!loaded)
            return;
    }
    const TDiplomaData d = participant(MemList->RecNo());
    DataZRT->diplomOneReg->Close();
    TFormDiplomaPreview preview(createTitle(template_, d, TDiplomaFaces::platform()), fullName(d), this);
    TDialogs::ShowModal(preview);
}
