#pragma once
// The application (short or full) as a spreadsheet: which cells get which
// texts, merges and formats. The layout knows no window and no database: it
// drives a started spreadsheet and takes the rows one at a time from a reader,
// in one pass.

#include "export/AppColumns.h"
#include "export/AppHtml.h"

#include <QString>

class TExcel;
class TProgressSink;

/// The light yellow of a tinted group, as the spreadsheet takes colours (0xBBGGRR).
inline constexpr int AppSheetTint = 0xB8FFF9;

/// Lays the application of that form for the event out on the sheet of `xl`,
/// which is started and has its workbook:
///
/// - the header: rows 1 to 3 merged across the table (the ministry, the centre,
///   the event's heading), the groups merged in row 4 under their titles, the
///   column titles in row 5 (turned ones read upwards), row 5 120 points high,
///   rows 1 to 5 wrapped, bold and centred both ways, the column widths;
/// - row 5 + k for the k-th row of `rows`: the running number k and the values
///   of the fields (numbers and dates as such, by the columns' kinds, the rest
///   as texts); a marked cell reading TAppForm::markedText() bold and red, small
///   cells in 8 points;
/// - then, with last = 5 + the rows written: for a form whose rows wrap, A6 to
///   the last cell wrapped and aligned to the top; centred columns centred from
///   row 5 down; tinted groups filled from row 4 down; thin borders over A1 to
///   the last cell;
/// - printing (TExcel::PrepareForPrinting): A4, one page wide, the group and
///   column titles (rows 4 and 5) on top of every page, page numbers below.
///
/// Progress: the step "Импорт данных..." before the first row is asked for, the
/// position k after the k-th row, then the position 0 and the step text
/// "Форматирование таблицы...". The caller sets the range and saves the sheet.
///
/// Passes on what `rows` or the spreadsheet throws; each row must carry exactly
/// one text per field column (EExportError, layout, otherwise).
///
///     xl.StartExcel(); xl.AddWorkbook(); xl.SetCaption(form.caption);
///     writeAppSheet(xl, shortApp(), u"Химия"_s, appRows(rows), progress);
///     xl.SaveSheet(path);
void writeAppSheet(TExcel& xl, const TAppForm& form, const QString& eventName, const TAppRowReader& rows,
                   TProgressSink& progress);
