#pragma once
// The journal of issued diplomas of an event as a spreadsheet: the header rows,
// the column titles, one numbered row per participant in the order given, and
// the formats of the whole table. The layout knows no window and no database:
// it drives a started spreadsheet and takes the rows one at a time from a reader.

#include "export/RowReader.h"

#include <QList>
#include <QString>

class TExcel;
class TProgressSink;

/// One line of the journal as the sheet shows it: the display texts of the
/// journal's fields.
struct TJournalSheetRow {
    QString nameStatus;
    QString fio;
    QString classStudy;
    QString fullname;      ///< the school's full name
    QString numberDiplom;
};

/// Gives the next row: fills `row` and returns true, or returns false after the
/// last one. It may throw; the layout then stops with that failure.
///
///     TJournalRowReader rows = [&](TJournalSheetRow& row) {
///         if (next >= lines.size()) return false;
///         row = lines[next++];
///         return true;
///     };
using TJournalRowReader = TRowReader<TJournalSheetRow>;

/// A reader over rows held in memory.
///
///     writeJournalSheet(xl, u"2025-2026 у/г. Химия"_s, journalRows({{u"Победитель"_s, ...}}), progress);
TJournalRowReader journalRows(QList<TJournalSheetRow> rows);

/// The caption of the journal's spreadsheet.
///
///     xl.SetCaption(journalCaption());   // "Журнал выдачи дипломов"
QString journalCaption();

/// The base of the journal's file name; the counter goes before it, the date
/// after it.
///
///     CounterFileName(OutputFolder(u"Журнал"_s), journalFileBase(), u".xlsx"_s)
///     // ".../Журнал/(0)Журнал_13.01.2026.xlsx"
QString journalFileBase();

/// Lays the journal of the event `eventText` (the event list's text, school year
/// included) out on the sheet of `xl`, which is started and has its workbook, and
/// returns the last sheet row written (5 and the number of rows):
///
/// - A1:F1 to A4:F4 merged: the ministry, the centre, the event's text and
///   ". Журнал выдачи дипломов (сертификатов)", an empty row; the six column
///   titles in row 5; the widths 6, 30, 35, 5, 40, 15; A1:F5 bold, wrapped and
///   centred both ways;
/// - row 5 + k for the k-th row of `rows`: the number k and the five fields, the
///   class as a number when its text reads as one, the school in 8-point type;
/// - the rows (A6 to F of the last row) wrapped and aligned to the top, column D
///   centred from the title down, thin borders over A1 to F of the last row;
/// - printing (TExcel::PrepareForPrinting): A4, one page wide, the column
///   titles (row 5) on top of every page, page numbers below.
///
/// Progress: the step text "Создание заголовков таблицы" first, "Импорт данных..."
/// before the first row is asked for, the position k after the k-th row, then
/// the position 0 and the step text "Форматирование таблицы...". The caller sets
/// the bar's range. Passes on what `rows` or the spreadsheet throws.
///
///     xl.StartExcel(); xl.AddWorkbook(); xl.SetCaption(journalCaption());
///     const int last = writeJournalSheet(xl, u"2025-2026 у/г. Химия"_s, journalRows(lines), progress);
///     xl.SaveSheet(CounterFileName(folder, journalFileBase(), u".xlsx"_s));
int writeJournalSheet(TExcel& xl, const QString& eventText, const TJournalRowReader& rows,
                      TProgressSink& progress);
