#include "export/AppExportReg.h"

#include "data/DataZRT.h"
#include "data/Errors.h"
#include "data/Files.h"
#include "data/MemTable.h"
#include "export/AppColumns.h"
#include "export/AppHtml.h"
#include "export/AppSheet.h"
#include "export/AppStatements.h"
#include "export/Excel.h"
#include "export/SaveFile.h"
#include "ui/Dialogs.h"
#include "ui/ErrorDisplay.h"
#include "ui/ProgressLabel.h"
#include "ui/Shell.h"

#include "ui_AppExportReg.h"

#include <QDate>
#include <QDir>
#include <QHash>
#include <memory>

using namespace Qt::Literals::StringLiterals;

TFormAppExportReg* FormAppExportReg = nullptr;

namespace {

const QString Folder = u"Заявки"_s;
const QString AllEvents = u"В отчете отобразить ВСЕ общеобразовательные мероприятия"_s;
/// The event list holds names of at most this many characters; longer ones are
/// cut to it in file names, which then stay within what a file system allows.
constexpr int NameLength = 100;

/// Runs a statement in the scratch query: close it, clear its text, add the
/// lines, open it.
void openScratch(const QStringList& lines)
{
    TQuery* q = DataZRT->emptySQL;
    q->Close();
    q->SQL().clear();
    for (const QString& line : lines)
        q->SQL().append(line);
    q->Open();
}

int readCount(const QStringList& lines)
{
    openScratch(lines);
    const int count = DataZRT->emptySQL->FieldByName(u"RecordCount"_s).asInteger();
    DataZRT->emptySQL->Close();
    return count;
}

/// Runs a statement in the scratch query as openScratch does, but reads its
/// rows forward, one at a time, without keeping them.
std::unique_ptr<TRowCursor> openScratchForward(const QStringList& lines)
{
    TQuery* q = DataZRT->emptySQL;
    q->Close();
    q->SQL().clear();
    for (const QString& line : lines)
        q->SQL().append(line);
    return q->OpenForward();
}

/// The rows of the short or the full application (the statements of
/// createSQLShort and createSQLFull), read forward.
std::unique_ptr<TRowCursor> openRows(const QString& level, int event, bool full)
{
    return openScratchForward(full ? fullRowsSql(level, event) : shortRowsSql(level, event));
}

/// Runs write, which reads the rows of the application. The full rows statement
/// is planned without row-id filters, as createSQLFull plans it; the session's
/// switch is set back only when write is done, since no other statement may run
/// on the connection while rows of a statement are still being read.
template <class F>
void whileRowsRead(bool full, F&& write)
{
    if (full)
        DataZRT->FDConnection1.withoutRowidFilter(write);
    else
        write();
}

/// The rows of the scratch query for a writer. The statement is opened when the
/// writer asks for the first row (it has then said "Импорт данных..."); each row
/// gives the texts of the form's fields as the user's locale writes them (dates,
/// numbers; NULL as an empty text). The rows are read from the statement's
/// result as the writer asks for them: a large application is not copied into
/// the query first.
TAppRowReader scratchRows(const TAppForm& form, std::function<std::unique_ptr<TRowCursor>()> open)
{
    struct State {
        std::unique_ptr<TRowCursor> rows;
        QList<int> columns;
        QHash<QDate, QString> dates;
    };
    auto state = std::make_shared<State>();
    return [&form, open = std::move(open), state](QStringList& texts) {
        if (!state->rows) {
            state->rows = open();
            for (int n = 2; n <= form.columns.size(); ++n) {
                const int column = state->rows->fieldIndex(form.column(n).field);
                if (column < 0)
                    throw EError(u"В строках заявки нет поля %1"_s.arg(form.column(n).field));
                state->columns << column;
            }
        }
        if (!state->rows->next())
            return false;
        texts.resize(state->columns.size());
        for (qsizetype i = 0; i < state->columns.size(); ++i) {
            const QVariant value = state->rows->value(state->columns[i]);
            // Dates repeat (arrival and departure, birthdays of one year) and
            // the locale's date text is slow to make: each is made once.
            if (value.typeId() == QMetaType::QDate && !value.isNull()) {
                const QDate date = value.toDate();
                auto it = state->dates.constFind(date);
                if (it == state->dates.constEnd())
                    it = state->dates.insert(date, TField::displayText(value));
                texts[i] = *it;
            } else {
                texts[i] = TField::displayText(value);
            }
        }
        return true;
    };
}

/// Closes the scratch query when an export ends by a failure, so that its rows
/// are not kept.
struct TScratchCloser {
    ~TScratchCloser() { DataZRT->emptySQL->Close(); }
};

} // namespace

TFormAppExportReg::TFormAppExportReg(QWidget* parent)
    : TChildForm(parent)
    , ui(new Ui::TFormAppExportReg)
    , MemEdu(std::make_unique<TMemTable>(u"MemEdu"_s, QStringList{u"id"_s, u"name"_s}))
    , SourceMemEdu(std::make_unique<TDataSource>(u"SourceMemEdu"_s, MemEdu.get()))
{
    ui->setupUi(this);
    showProgressOn(ui->ProgressBar1, ui->Lb);
    ui->ComboBoxEdu->setListSource(SourceMemEdu.get(), u"id"_s, u"name"_s);

    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { closeChildForm(this); });
    connect(ui->BitBtn2, &QPushButton::clicked, this, handler([this] { BitBtn2Click(); }));

    start(FormAppExportReg);
}

TFormAppExportReg::~TFormAppExportReg()
{
    delete ui;
}

void TFormAppExportReg::FormCreate()
{
    TQuery* events = DataZRT->GETeduReg;
    events->Close();
    events->ParamByName(u"userID"_s).setAsInteger(DataZRT->userID);
    events->Open();
    events->First();
    MemEdu->Open();
    MemEdu->EmptyTable();
    MemEdu->AppendRecord({0, AllEvents});
    for (int row = 0; row < events->RecordCount(); ++row)
        MemEdu->AppendRecord({events->value(row, u"id"_s), events->value(row, u"nameEdu"_s)});
    ui->ComboBoxEdu->setKeyValue(0);
    MemEdu->Locate(u"id"_s, 0);
    events->Close();
}

void TFormAppExportReg::FormClose()
{
    // The event list was closed when the window opened; the rows of an export
    // were closed when it ended.
}

int TFormAppExportReg::chosenEvent() const
{
    return ui->ComboBoxEdu->keyAsInteger();
}

QString TFormAppExportReg::chosenEventName() const
{
    const int event = chosenEvent();
    for (int row = 0; row < MemEdu->RecordCount(); ++row)
        if (MemEdu->value(row, 0).toInt() == event)
            return MemEdu->value(row, 1).toString();
    return AllEvents;
}

QString TFormAppExportReg::fileBase(const TAppForm& form) const
{
    return form.fileBase(chosenEventName().left(NameLength));
}

void TFormAppExportReg::BitBtn2Click()
{
    if (!TDataZRT::DirectoryCreate(Folder)) {
        ShowErrorMessage(u"Не удалось создать папку \"Заявки\""_s);
        return;
    }
    const QString level = u"3"_s;
    const bool full = ui->RadioFormFull->isChecked();
    const bool excel = ui->RadioFormatExcel->isChecked();
    if (!full && excel)
        ShortXLS(level);
    else if (!full)
        ShortHTML(level);
    else if (excel)
        FullXLS(level);
    else
        FullHTML(level);
}

int TFormAppExportReg::getRecordCountShort(const QString& level)
{
    return readCount(shortCountSql(level, chosenEvent()));
}

void TFormAppExportReg::createSQLShort(const QString& level)
{
    openScratch(shortRowsSql(level, chosenEvent()));
}

int TFormAppExportReg::getRecordCountFull(const QString& level)
{
    return readCount(fullCountSql(level, chosenEvent()));
}

void TFormAppExportReg::createSQLFull(const QString& level)
{
    // Planned without row-id filters, the nine tables are joined from the
    // application rows of the event (see TConnection::withoutRowidFilter).
    DataZRT->FDConnection1.withoutRowidFilter([&] { openScratch(fullRowsSql(level, chosenEvent())); });
}

QString TFormAppExportReg::createNameFileHTML(const QString& baseName)
{
    return CounterFileName(OutputFolder(Folder), baseName, u".html"_s);
}

void TFormAppExportReg::checkFullCount(const QString& level, int fullCount)
{
    if (getRecordCountShort(level) != fullCount)
        ShowInformation(u"Не у всех участников заполнены дополнительные данные. Такие участники не будут отражены в отчете"_s);
}

void TFormAppExportReg::ShortHTML(const QString& level)
{
    writeHtml(shortApp(), getRecordCountShort(level), level, false);
}

void TFormAppExportReg::FullHTML(const QString& level)
{
    const int count = getRecordCountFull(level);
    progress().setRange(0, count);
    checkFullCount(level, count);
    writeHtml(fullApp(), count, level, true);
}

void TFormAppExportReg::writeHtml(const TAppForm& form, int count, const QString& level, bool full)
{
    progress().setRange(0, count);
    const QString path = createNameFileHTML(fileBase(form));
    const QString eventName = chosenEventName();
    TScratchCloser closer;
    whileRowsRead(full, [&] {
        saveFile(path, [&](QIODevice& file) {
            writeAppHtml(file, form, eventName, count,
                         scratchRows(form, [&] { return openRows(level, chosenEvent(), full); }), progress());
        });
    });
    TShell::OpenFile(path);
}

void TFormAppExportReg::ShortXLS(const QString& level)
{
    const int count = getRecordCountShort(level);
    progress().setRange(0, count);
    writeSheet(shortApp(), count, level, false);
}

void TFormAppExportReg::FullXLS(const QString& level)
{
    const int count = getRecordCountFull(level);
    progress().setRange(0, count);
    checkFullCount(level, count);
    writeSheet(fullApp(), count, level, true);
}

bool TFormAppExportReg::stopLongSheet(int count)
{
    if (count <= 998)
        return false;
    const QString text = u"Отчет будет состоять из "_s + QString::number(count)
                         + u" записей. Его формирование может занять некоторое время."_s + u"\n\r"_s
                         + u"ПРЕРВАТЬ создание отчета?"_s;
    return TDialogs::MessageDlg(text, TMsgDlgType::Warning, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TFormAppExportReg::writeSheet(const TAppForm& form, int count, const QString& level, bool full)
{
    if (stopLongSheet(count))
        return;
    if (!createXLS(form.caption))
        return;
    {
        TScratchCloser closer;
        whileRowsRead(full, [&] {
            writeAppSheet(*XLAplication, form, chosenEventName(),
                          scratchRows(form, [&] { return openRows(level, chosenEvent(), full); }), progress());
        });
    }
    saveXLS(fileBase(form));
    progress().hideStep();
}

bool TFormAppExportReg::createXLS(const QString& title)
{
    progress().setStep(u"Создание экземпляра MS Excel"_s);
    try {
        XLAplication = std::make_unique<TExcel>([](const QString& path) { return TShell::OpenFile(path); });
        XLAplication->StartExcel();
        XLAplication->AddWorkbook();
        XLAplication->DisableEvents();
        XLAplication->SetCaption(title);
        progress().setStepText(u"Создание заголовков таблицы"_s);
        return true;
    } catch (const std::exception&) {
        // the label tells it; no message box
        progress().setStepText(u"Ошибка создания экземпляра MS Excel"_s);
        return false;
    }
}

void TFormAppExportReg::saveXLS(const QString& baseName)
{
    progress().setStepText(u"Сохранение таблицы MS Excel в файл"_s);
    QString path;
    bool saved = false;
    try {
        path = CounterFileName(OutputFolder(Folder), baseName, u".xlsx"_s);
        XLAplication->SaveSheet(path);
        saved = true;
    } catch (const std::exception&) {
        ShowErrorMessage(u"Ошибка записи в MS Excel.\n\r"_s
                         u"Скорее всего у Вас не лицензионная версия MS Excel.\n\r"_s
                         u"РЕКОМЕНДАЦИЯ:\n\r"_s
                         u"Перед экспортом данных откройте MS Excel и создайте пустой лист."_s);
    }
    if (saved)
        ShowInformation(u"Таблица сохранена в файле:\n\r"_s + QDir::toNativeSeparators(path));
    progress().setPosition(0);
    progress().hideStep();
    XLAplication->ShowExcel();
}
