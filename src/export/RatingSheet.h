#pragma once
// The final rating of an event as a spreadsheet: the three header rows, the
// column titles, one numbered row per participant in the order given, and the
// formats of the whole table. The layout knows no window and no database: it
// drives a started spreadsheet and takes the rows one at a time from a reader.

#include "export/RowReader.h"

#include <QList>
#include <QString>

class TExcel;
class TProgressSink;

/// One participant of the rating as the sheet shows him: the display texts of
/// the rating's fields (numbers in the user's format, empty for none). The
/// sheet writes the class and the result as the numbers they show.
struct TRatingSheetRow {
    QString fio;
    QString classStudy;
    QString name;          ///< municipality
    QString result;
    QString nameStatus;
};

/// Gives the next row: fills `row` and returns true, or returns false after the
/// last one. It may throw; the layout then stops with that failure.
///
///     TRatingRowReader rows = [&](TRatingSheetRow& row) {
///         if (next >= participants.size()) return false;
///         row = participants[next++];
///         return true;
///     };
using TRatingRowReader = TRowReader<TRatingSheetRow>;

/// A reader over rows held in memory.
///
///     writeRatingSheet(xl, u"Химия"_s, 1, ratingRows({{u"Абрамов Антон"_s, u"11"_s, ...}}), progress);
TRatingRowReader ratingRows(QList<TRatingSheetRow> rows);

/// The caption of the rating's spreadsheet.
///
///     xl.SetCaption(ratingCaption());   // "Рейтинг регионального мероприятия"
QString ratingCaption();

/// The base of the rating's file name for an event; the counter goes before it,
/// the date after it. A very long name is cut (to 180 bytes of UTF-8, whole
/// characters) so that the file name stays within what file systems allow.
///
///     CounterFileName(OutputFolder(u"Рейтинги"_s), ratingFileBase(u"Химия"_s), u".xlsx"_s)
///     // ".../Рейтинги/(0)_Окончательный_(Химия)_13.01.2026.xlsx"
QString ratingFileBase(const QString& nameEdu);

/// Lays the rating of the event `nameEdu` out on the sheet of `xl`, which is
/// started and has its workbook, and returns the last sheet row written (4 and
/// the number of rows):
///
/// - A1:F1, A2:F2, A3:F3 merged: the ministry, the centre, the event's name and
///   ". Рейтинг регионального общеобразовательного мероприятия"; A1:F4 bold,
///   wrapped and centred both ways;
/// - the widths 6, 40, 6, 40, 10, 40 and the six column titles in row 4;
/// - row 4 + k for the k-th row of `rows`: "k." (a text) and the five fields,
///   the class and the result as numbers when their texts read as numbers;
/// - columns A, C and E centred from row 5 down; thin borders over A1 to F of
///   the last row;
/// - printing (TExcel::PrepareForPrinting): A4, one page wide, the column
///   titles (row 4) on top of every page, page numbers below.
///
/// Progress: the step text "Импорт данных" and the range 0 to `count` before the
/// first row is asked for, the position k before the k-th row is written, then
/// the position 0 and the step text "Форматирование таблицы...". `count` is only
/// the bar's maximum. Passes on what `rows` or the spreadsheet throws.
///
///     xl.StartExcel(); xl.AddWorkbook(); xl.SetCaption(ratingCaption());
///     const int last = writeRatingSheet(xl, u"Химия"_s, count, rows, progress);
///     xl.SaveSheet(path);
int writeRatingSheet(TExcel& xl, const QString& nameEdu, int count, const TRatingRowReader& rows,
                     TProgressSink& progress);
