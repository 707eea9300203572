#include "ui/SheetExport.h"

#include "base/Progress.h"
#include "data/DataZRT.h"
#include "data/Files.h"
#include "data/GridPause.h"
#include "export/Excel.h"
#include "ui/Dialogs.h"
#include "ui/SheetMessages.h"
#include "ui/Shell.h"

#include <optional>

using namespace Qt::Literals::StringLiterals;

QString TSheetExportMessages::of(TExportFailure kind) const
{
    switch (kind) {
    case TExportFailure::Folder:
        return folder;
    case TExportFailure::Write:
        return write;
    case TExportFailure::Layout:
        return layout;
    }
    return {};
}

namespace {

// Starts a spreadsheet with a new workbook; false (and the label says so) when
// it cannot be started.
bool startSheet(std::unique_ptr<TExcel>& xl, const QString& caption, TProgressSink& progress)
{
    try {
        xl = std::make_unique<TExcel>(&TShell::OpenFile);
        xl->StartExcel();
        xl->AddWorkbook();
        // A written workbook has no events to turn off; the call only checks
        // that the spreadsheet is started.
        xl->DisableEvents();
        xl->SetCaption(caption);
    } catch (const EExportError&) {
        // the label tells it; no message box
        progress.setStepText(u"Ошибка создания экземпляра MS Excel"_s);
        return false;
    }
    progress.setStepText(u"Создание заголовков таблицы"_s);
    return true;
}

} // namespace

TSheetExportEnd exportSheet(const TSheetExport& job, std::unique_ptr<TExcel>& xl, TProgressSink& progress)
{
    if (!TDataZRT::DirectoryCreate(job.folder)) {
        const QString message = job.messages.of(TExportFailure::Folder);
        if (message.isEmpty())
            throw EExportError(folderErrorText(job.folder), TExportFailure::Folder);
        ShowErrorMessage(message);
        return TSheetExportEnd::NotStarted;
    }

    progress.setStep(u"Создание экземпляра MS Excel"_s);
    std::optional<TGridPause> pause;
    if (job.rows) {
        pause.emplace(job.rows);
        job.rows->First();
    }
    if (!startSheet(xl, job.caption, progress))
        return TSheetExportEnd::NotStarted;

    // However it ends: the grid at its row, the bar empty, the label hidden,
    // the workbook shown when it was saved.
    struct Finish {
        std::optional<TGridPause>& pause;
        TExcel& xl;
        TProgressSink& progress;
        ~Finish()
        {
            pause.reset();
            progress.setPosition(0);
            progress.hideStep();
            xl.ShowExcel();
        }
    } finish{pause, *xl, progress};

    try {
        job.layout(*xl);
        pause.reset();

        progress.setStepText(u"Сохранение таблицы MS Excel в файл"_s);
        const QString path = CounterFileName(OutputFolder(job.folder), job.fileBase, u".xlsx"_s);
        xl->SaveSheet(path);
        ShowInformation(sheetSavedText(path));
        return TSheetExportEnd::Saved;
    } catch (const EExportError& e) {
        const QString message = job.messages.of(e.kind());
        if (message.isEmpty())
            throw;
        pause.reset();
        ShowErrorMessage(message + u"\n\r"_s + e.message());
        return TSheetExportEnd::Failed;
    }
}
