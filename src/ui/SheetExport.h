#pragma once
// The one way a window exports a table to a spreadsheet: make the working
// folder, start the spreadsheet, pause the grid and keep its row, lay the sheet
// out, bring the grid back, save under the next counter, say where, show the
// workbook. A window gives the folder, the caption, the file's base name, the
// layout and its own message for each kind of failure.

#include "base/Error.h"

#include <QString>
#include <functional>
#include <memory>

class TDataSet;
class TExcel;
class TProgressSink;

/// A window's own message for each kind of export failure. An empty text lets
/// failures of that kind through to the general error display; failures that
/// are not export failures (a lost connection, a fault) always go there.
///
///     TSheetExportMessages m{folderErrorText(u"Журнал"_s), sheetWriteErrorText(), {}};
///     m.of(TExportFailure::Layout)   // "": the general error display shows it
struct TSheetExportMessages {
    QString folder;
    QString write;
    QString layout;

    /// The message for that kind.
    ///
    ///     m.of(TExportFailure::Write)   // sheetWriteErrorText()
    QString of(TExportFailure kind) const;
};

/// What a window exports, and how.
///
///     TSheetExport job;
///     job.folder = u"Журнал"_s;
///     job.caption = journalCaption();
///     job.fileBase = journalFileBase();
///     job.rows = DataZRT->GETjournal;
///     job.layout = [&](TExcel& xl) { writeJournalSheet(xl, eventText, journalRowsOf(q), progress()); };
///     job.messages = {folderErrorText(u"Журнал"_s), sheetWriteErrorText(), {}};
///     exportSheet(job, XLAplication, progress());
struct TSheetExport {
    /// The working folder, e.g. "Рейтинги" (see OutputFolder).
    QString folder;
    /// The caption of the spreadsheet; it becomes the workbook's title.
    QString caption;
    /// The file's base name: the counter goes before it, today's date after it.
    QString fileBase;
    /// Lays the sheet out on the started spreadsheet (the layout's own progress
    /// texts and range). It may throw.
    std::function<void(TExcel& xl)> layout;
    /// The data set the layout reads from its first row on, or nullptr. Its
    /// grid stands still while the sheet is laid out and comes back to its row
    /// afterwards, however the export ends (TGridPause).
    TDataSet* rows = nullptr;
    TSheetExportMessages messages;
};

/// Runs the export:
///
/// 1. the folder is made (DirectoryCreate); failing that, the folder message;
/// 2. "Создание экземпляра MS Excel"; the grid of `rows` pauses at its row and
///    goes to the first row; a new spreadsheet into `xl` with a workbook, its
///    events off and the caption; "Создание заголовков таблицы" (if the
///    spreadsheet cannot be started the label says "Ошибка создания экземпляра
///    MS Excel", stays visible, and nothing else happens);
/// 3. the layout; then the grid shows its row again;
/// 4. "Сохранение таблицы MS Excel в файл"; the workbook is saved in the folder
///    under the first free counter; "Таблица сохранена в файле:\n\r" and the path;
/// 5. the bar at 0, the label hidden and emptied, the saved workbook shown.
///
/// A failure of steps 3 and 4 shows the window's message for its kind, followed
/// on a line of its own by the cause the export gives (the file and what the
/// system said), and then step 5 runs. A failure the window has no message for,
/// and any other failure, passes on to the general error display after step 5
/// and the grid's return. Says how it ended.
///
///     if (exportSheet(job, XLAplication, progress()) == TSheetExportEnd::Saved) { /* saved */ }
enum class TSheetExportEnd {
    /// The folder could not be made or the spreadsheet not started (steps 1, 2).
    NotStarted,
    /// The workbook was saved.
    Saved,
    /// The layout or the save failed; the window's message was shown.
    Failed,
};
TSheetExportEnd exportSheet(const TSheetExport& job, std::unique_ptr<TExcel>& xl, TProgressSink& progress);
