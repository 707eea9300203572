#pragma once
// The application (short or full) as an HTML file: windows-1251 text, every line
// ended by CR LF. Field texts and the event name are escaped for HTML, and a
// character that windows-1251 cannot hold is written as a numeric character
// reference, so no text is lost or breaks the table.
//
// The writer knows no window and no database: it takes the rows one at a time
// from a reader and writes them in one pass.

#include "export/RowReader.h"
#include "export/AppColumns.h"

#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

class TProgressSink;

/// Gives the next row of an application: fills `texts` with the texts of the
/// fields of columns 2 to n in column order (the writer numbers the rows itself;
/// an empty text for NULL) and returns true, or returns false after the last row.
/// It may throw; the export then ends with that failure.
///
///     TAppRowReader rows = [&](QStringList& texts) {
///         if (next >= held.size()) return false;
///         texts = held[next++];   // form.columns.size() - 1 texts
///         return true;
///     };
using TAppRowReader = TRowReader<QStringList>;

/// A reader over rows held in memory.
///
///     writeAppHtml(buffer, shortApp(), u"Химия"_s, 1, appRows({row}), progress);
TAppRowReader appRows(QList<QStringList> rows);

/// Writes the application of that form for the event into `out`, which is open
/// for writing: the document head, the five header rows of the table, one table
/// row per row of `rows`, then the end of the table and document.
///
/// Progress: the range 0 to `count` first; the step text "Импорт данных..." (its
/// visibility unchanged) before the first row is asked for; the position k after
/// the k-th row; at the end the position 0 and the step hidden. `count` is only the
/// bar's maximum: the rows written are those that `rows` gives.
///
/// Throws EExportError (write) when `out` refuses the text, and passes on whatever
/// `rows` throws.
/// Each row must carry exactly one text per field column.
///
///     QBuffer buffer;
///     buffer.open(QIODevice::WriteOnly);
///     TNullProgress progress;
///     writeAppHtml(buffer, fullApp(), u"Химия"_s, count, rows, progress);
void writeAppHtml(QIODevice& out, const TAppForm& form, const QString& eventName, int count,
                  const TAppRowReader& rows, TProgressSink& progress);
