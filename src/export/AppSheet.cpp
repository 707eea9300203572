#include "export/AppSheet.h"

#include "base/Error.h"
#include "export/Excel.h"
#include "base/Progress.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int TitleRow = 5;
constexpr int GroupRow = 4;
/// Spreadsheet numbers of the alignments and colours used here.
constexpr int Centre = 3;
constexpr int VCentre = 2;
constexpr int Top = 1;
constexpr int Red = 3;
constexpr double SmallFont = 8;
constexpr double TitleHeight = 120;

QString cell(int column, int row)
{
    return ColumnName(column) + QString::number(row);
}

QString range(int firstColumn, int firstRow, int lastColumn, int lastRow)
{
    return cell(firstColumn, firstRow) + u':' + cell(lastColumn, lastRow);
}

void writeHeader(TExcel& xl, const TAppForm& form, const QString& eventName)
{
    const int width = int(form.columns.size());
    for (int row = 1; row <= 3; ++row) {
        xl.SelectRange(range(1, row, width, row));
        xl.MergeSelection();
    }
    for (const TAppGroup& g : form.groups) {
        xl.SelectRange(range(g.first, GroupRow, g.last, GroupRow));
        xl.MergeSelection();
    }
    xl.SetCell(1, 1, form.ministry);
    xl.SetCell(2, 1, form.centre);
    xl.SetCell(3, 1, form.sheetHeading(eventName));
    for (const TAppGroup& g : form.groups)
        xl.SetCell(GroupRow, g.first, g.title);
    for (int n = 1; n <= width; ++n) {
        xl.SetCell(TitleRow, n, form.column(n).title);
        if (form.column(n).turned)
            xl.TurnCellText(cell(n, TitleRow));
    }
    xl.SetRowHeight(TitleRow, TitleHeight);
    xl.SelectRange(range(1, 1, width, TitleRow));
    xl.WrapSelection();
    xl.BoldSelection();
    xl.AlignSelection(Centre, VCentre);
    for (int n = 1; n <= width; ++n)
        xl.SetColumnWidth(n, form.column(n).width);
}

} // namespace

void writeAppSheet(TExcel& xl, const TAppForm& form, const QString& eventName, const TAppRowReader& rows,
                   TProgressSink& progress)
{
    const int width = int(form.columns.size());
    writeHeader(xl, form, eventName);

    // The columns whose cells get a format of their own on every row.
    QList<int> small;
    QList<int> marked;
    for (int n = 2; n <= width; ++n) {
        if (form.column(n).small)
            small << n;
        if (form.column(n).marked)
            marked << n;
    }
    const QString& markedText = TAppForm::markedText();

    progress.setStep(u"Импорт данных..."_s);
    QStringList texts;
    int k = 0;
    while (rows(texts)) {
        if (texts.size() != width - 1)
            throw EExportError(u"Строка заявки содержит %1 полей вместо %2"_s.arg(texts.size()).arg(width - 1));
        ++k;
        const int r = TitleRow + k;
        xl.SetCell(r, 1, k);
        for (int n = 2; n <= width; ++n) {
            const QString& text = texts[n - 2];
            xl.SetCellAs(r, n, text, form.column(n).kind);
            if (marked.contains(n) && text == markedText) {
                xl.SelectRange(cell(n, r));
                xl.BoldSelection();
                xl.SetSelectionFontColor(Red);
            }
        }
        for (int n : small) {
            xl.SelectRange(cell(n, r));
            xl.SetSelectionFontSize(SmallFont);
        }
        progress.setPosition(k);
    }

    progress.setPosition(0);
    progress.setStepText(u"Форматирование таблицы..."_s);
    const int last = TitleRow + k;
    // Without rows there is nothing to wrap: the range A6:..5 would reach back
    // into the titles and align them to the top.
    if (form.sheetRowsWrapped && k > 0) {
        xl.SelectRange(range(1, TitleRow + 1, width, last));
        xl.WrapSelection();
        xl.AlignSelection(std::nullopt, Top);
    }
    for (int n = 1; n <= width; ++n) {
        if (form.column(n).sheetCentred) {
            xl.SelectRange(range(n, TitleRow, n, last));
            xl.AlignSelection(Centre);
        }
    }
    xl.SelectRange(cell(1, TitleRow));
    for (const TAppGroup& g : form.groups)
        if (g.tinted)
            xl.FillRange(cell(g.first, GroupRow), cell(g.last, last), AppSheetTint);
    xl.BorderRange(cell(1, 1), cell(width, last));
    xl.PrepareForPrinting(GroupRow, TitleRow);
}
