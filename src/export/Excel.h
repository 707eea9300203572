#pragma once
// The spreadsheet of an export, driven the way the exports drive a spreadsheet
// program: start it, add a workbook, select ranges and format them, write cells,
// save the workbook and show it. The sheet is kept in memory and written to an
// .xlsx file by SaveSheet; showing it opens the saved file with the desktop's
// program for it.
//
// Rows and columns count from 1. A range is one text ("A1:T1", "H6") or a first
// and a last cell ("A1", "T26"). Every operation may throw EExportError.

#include "export/Sheet.h"

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>

#include <functional>
#include <optional>

/// Opens a saved file with the desktop's program for it; false when it cannot.
using TDocumentOpener = std::function<bool(const QString& path)>;

/// What a field's value is, for the cell that shows it.
enum class TValueKind : std::uint8_t {
    Text,     ///< a text, also when it looks like a number (phones, postcodes, "1.")
    Number,   ///< a number (results, classes, running numbers)
    Date,     ///< a date
};

/// The user's short date format as a spreadsheet number format code, always
/// with four-digit years.
///
///     DateNumberFormat(QLocale(QLocale::Russian, QLocale::Russia))               // "dd.mm.yyyy"
///     DateNumberFormat(QLocale(QLocale::English, QLocale::UnitedStates))         // "m/d/yyyy"
QString DateNumberFormat(const QLocale& locale = QLocale());

/// The footer of every printed exported sheet: "Страница N из M" in the middle.
///
///     xl.Sheet().printSetup().footer == PageFooter()   // "&CСтраница &P из &N"
QString PageFooter();

/// One spreadsheet application with its workbook of one sheet.
///
///     TExcel xl(opener);
///     xl.StartExcel();
///     xl.AddWorkbook();
///     xl.DisableEvents();
///     xl.SetCaption(u"Рейтинг регионального мероприятия"_s);
///     xl.SelectRange(u"A1:F1"_s);
///     xl.MergeSelection();
///     xl.SetCell(1, 1, u"Министерство образования Велградской области"_s);
///     xl.BorderRange(u"A1"_s, u"F5"_s);
///     xl.SaveSheet(folder + u"/(0)_Журнал_13.01.2026.xlsx"_s);
///     xl.ShowExcel();
class TExcel {
public:
    /// The opener is what ShowExcel uses; without one nothing is ever opened.
    ///
    ///     TExcel xl(&TShell::OpenFile);   // the desktop's program for .xlsx
    explicit TExcel(TDocumentOpener opener = {});

    /// The opener for ShowExcel from now on.
    ///
    ///     xl.SetOpener([&](const QString& p) { opened << p; return true; });
    void SetOpener(TDocumentOpener opener);

    /// Starts a new application, hidden and without a workbook; whatever the
    /// previous start held is dropped.
    ///
    ///     xl.StartExcel();
    void StartExcel();
    /// A new, empty workbook whose sheet 1 later calls reach; A1 is selected.
    /// Throws EExportError before StartExcel.
    ///
    ///     xl.AddWorkbook();
    void AddWorkbook();
    /// Does nothing on purpose: a workbook written to a file has no events to
    /// turn off. The exports still call it where a driven spreadsheet program
    /// would need it, so that their steps read the same; it only checks that the
    /// spreadsheet was started (EExportError before StartExcel).
    ///
    ///     xl.DisableEvents();   // no effect on the sheet or the file
    void DisableEvents();
    /// The application's caption; it becomes the saved workbook's title.
    ///
    ///     xl.SetCaption(u"Журнал выдачи дипломов"_s);
    void SetCaption(const QString& caption);
    /// The caption last set.
    ///
    ///     xl.Caption()   // "Журнал выдачи дипломов"
    QString Caption() const { return caption_; }

    /// Makes the range the selection. The corners may come in any order.
    ///
    ///     xl.SelectRange(u"A6:AL5"_s);   // the same as "A5:AL6"
    ///     xl.SelectRange(u"H6"_s);
    void SelectRange(const QString& range);
    /// Makes the range from the first to the last cell the selection.
    ///
    ///     xl.SelectRange(u"K4"_s, u"T26"_s);
    void SelectRange(const QString& first, const QString& last);
    /// The selection in A1 notation.
    ///
    ///     xl.Selection()   // "A1:T1"
    QString Selection() const;

    /// Merges the selection into one cell (a single cell stays as it is).
    ///
    ///     xl.SelectRange(u"A1:T1"_s);
    ///     xl.MergeSelection();
    void MergeSelection();
    /// Bold font in every cell of the selection.
    ///
    ///     xl.SelectRange(u"A1:T5"_s);
    ///     xl.BoldSelection();
    void BoldSelection();
    /// Word wrap in every cell of the selection.
    ///
    ///     xl.WrapSelection();
    void WrapSelection();
    /// Aligns the selection. Horizontal: 1 general, 2 left, 3 centre, 4 right,
    /// 5 fill, 6 justify, 7 centre across the selection, 8 distributed; vertical:
    /// 1 top, 2 centre, 3 bottom, 4 justify, 5 distributed (the spreadsheet's
    /// named constants such as -4108 for centre are taken too). An alignment left
    /// out stays as it is. Throws EExportError for any other number.
    ///
    ///     xl.AlignSelection(3, 2);    // centred both ways
    ///     xl.AlignSelection({}, 1);   // to the top, horizontal unchanged
    ///     xl.AlignSelection(3);       // centred, vertical unchanged
    void AlignSelection(std::optional<int> horizontal, std::optional<int> vertical = std::nullopt);
    /// Font size in points (1 to 409) for every cell of the selection.
    ///
    ///     xl.SelectRange(u"I6"_s);
    ///     xl.SetSelectionFontSize(8);
    void SetSelectionFontSize(double points);
    /// Font colour by the palette index 1 to 56 (3 is red); -4105 is automatic.
    ///
    ///     xl.SelectRange(u"H6"_s);
    ///     xl.SetSelectionFontColor(3);
    void SetSelectionFontColor(int colorIndex);

    /// Writes a cell's text; it stays text, also when it looks like a number.
    ///
    ///     xl.SetCell(10, 6, u"89001234567"_s);
    void SetCell(int row, int column, const QString& text);
    /// Writes a number, shown in the general format (the reader's decimal
    /// separator, only the decimals it has).
    ///
    ///     xl.SetCell(6, 1, k);
    ///     xl.SetCell(6, 12, 45.5);   // "45,5" in a Russian spreadsheet
    void SetCell(int row, int column, double number);
    /// Writes a date, shown in the user's short date format (DateNumberFormat).
    /// Throws EExportError for a date a spreadsheet cannot hold (invalid, before
    /// 1 March 1900 or after 9999).
    ///
    ///     xl.SetCell(6, 8, QDate(2026, 1, 13));   // 13.01.2026
    void SetCell(int row, int column, const QDate& date);
    /// Writes the text of a field of that kind: a Number as a number when the
    /// text reads as one in the user's number format, a Date as a date when it
    /// reads as the user's short date; anything else (and every Text) as the
    /// text itself. Rows come as the texts the user sees, so this turns them
    /// back into the values they show.
    ///
    ///     xl.SetCellAs(6, 12, u"45,5"_s, TValueKind::Number);         // 45.5, under a Russian locale
    ///     xl.SetCellAs(6, 8, u"13.01.2026"_s, TValueKind::Date);      // the date
    ///     xl.SetCellAs(6, 10, u"89001234567"_s, TValueKind::Text);    // a text
    ///     xl.SetCellAs(6, 12, u"нет"_s, TValueKind::Number);          // a text
    void SetCellAs(int row, int column, const QString& text, TValueKind kind);
    /// Width of a column in characters.
    ///
    ///     xl.SetColumnWidth(1, 6);
    void SetColumnWidth(int column, double width);
    /// Height of a row in points.
    ///
    ///     xl.SetRowHeight(5, 120);
    void SetRowHeight(int row, double height);
    /// Turns the text of a cell (or range) to read upwards (orientation 90).
    ///
    ///     xl.TurnCellText(u"G5"_s);
    void TurnCellText(const QString& cell);
    /// A solid fill from the first to the last cell; the colour is 0xBBGGRR.
    ///
    ///     xl.FillRange(u"K4"_s, u"T26"_s, 0xB8FFF9);   // light yellow, RGB F9FFB8
    void FillRange(const QString& first, const QString& last, int colorBgr);
    /// Thin continuous lines around and between all cells from the first to the last.
    ///
    ///     xl.BorderRange(u"A1"_s, u"T26"_s);
    void BorderRange(const QString& first, const QString& last);
    /// Makes the sheet print the way an exported table is handed out: on A4,
    /// landscape when the table is wider than a portrait page (decided when it
    /// is saved), scaled to one page wide and as many tall as it needs, the
    /// title rows from first to last repeated at the top of every page, and
    /// "Страница N из M" in the middle of the footer. The sheet on screen is
    /// unchanged. Throws EExportError for title rows outside the sheet.
    ///
    ///     xl.PrepareForPrinting(4, 5);   // the group and column titles of an application
    void PrepareForPrinting(int firstTitleRow, int lastTitleRow);

    /// Writes the workbook to an .xlsx file at the full path. The file appears
    /// only when it is complete; an existing file is never overwritten. Throws
    /// EExportError when the file cannot be written; nothing is then left under
    /// that name.
    ///
    ///     xl.SaveSheet(u"/home/admin/Заявки/(0)_Журнал_13.01.2026.xlsx"_s);
    void SaveSheet(const QString& path);
    /// The path last saved to; empty before the first successful save.
    ///
    ///     if (xl.SavedPath().isEmpty()) { /* not saved */ }
    QString SavedPath() const { return savedPath_; }

    /// Lets the user see the workbook: opens the saved file with the opener,
    /// once per saved file. Where nothing was saved (or there is no opener) it
    /// opens nothing and returns false; otherwise it returns what the opener did.
    ///
    ///     if (!xl.ShowExcel()) { /* nothing to show */ }
    bool ShowExcel();

    /// The sheet as it stands; throws EExportError without a workbook.
    ///
    ///     xl.Sheet().cellFormat(6, 8).bold
    const TSheet& Sheet() const;

private:
    TSheet& sheet();
    void format(const std::function<void(TCellFormat&)>& change);

    TDocumentOpener opener_;
    /// Dates repeat in a table and reading one is slow: each text is read once.
    QHash<QString, QDate> dates_;
    QString dateFormat_;   ///< of the user's locale when the workbook was added
    bool started_ = false;
    std::optional<TSheet> sheet_;
    TCellRange selection_;
    QString caption_;
    QString savedPath_;
    QString shownPath_;
};
