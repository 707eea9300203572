#include "export/Excel.h"

#include "base/Error.h"
#include "export/SheetWriter.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The spreadsheet's named alignment constants beside its small numbers.
THAlign HorizontalOf(int value)
{
    switch (value) {
    case 1: return THAlign::General;
    case 2: case -4131: return THAlign::Left;
    case 3: case -4108: return THAlign::Center;
    case 4: case -4152: return THAlign::Right;
    case 5: return THAlign::Fill;
    case 6: case -4130: return THAlign::Justify;
    case 7: return THAlign::CenterAcross;
    case 8: case -4117: return THAlign::Distributed;
    }
    throw EExportError(u"Недопустимое горизонтальное выравнивание: %1"_s.arg(value));
}

TVAlign VerticalOf(int value)
{
    switch (value) {
    case 1: case -4160: return TVAlign::Top;
    case 2: case -4108: return TVAlign::Center;
    case 3: case -4107: return TVAlign::Bottom;
    case 4: case -4130: return TVAlign::Justify;
    case 5: case -4117: return TVAlign::Distributed;
    }
    throw EExportError(u"Недопустимое вертикальное выравнивание: %1"_s.arg(value));
}

constexpr int AutomaticColor = -4105;

} // namespace

TExcel::TExcel(TDocumentOpener opener) : opener_(std::move(opener)) {}

void TExcel::SetOpener(TDocumentOpener opener)
{
    opener_ = std::move(opener);
}

void TExcel::StartExcel()
{
    started_ = true;
    sheet_.reset();
    selection_ = TCellRange();
    caption_.clear();
    savedPath_.clear();
    shownPath_.clear();
}

void TExcel::AddWorkbook()
{
    if (!started_)
        throw EExportError(u"Табличный процессор не запущен"_s);
    sheet_.emplace();
    selection_ = TCellRange();
    savedPath_.clear();
    shownPath_.clear();
}

void TExcel::DisableEvents()
{
    if (!started_)
        throw EExportError(u"Табличный процессор не запущен"_s);
}

void TExcel::SetCaption(const QString& caption)
{
    if (!started_)
        throw EExportError(u"Табличный процессор не запущен"_s);
    caption_ = caption;
}

TSheet& TExcel::sheet()
{
    if (!sheet_)
        throw EExportError(u"Рабочая книга не создана"_s);
    return *sheet_;
}

const TSheet& TExcel::Sheet() const
{
    if (!sheet_)
        throw EExportError(u"Рабочая книга не создана"_s);
    return *sheet_;
}

void TExcel::SelectRange(const QString& range)
{
    sheet();
    selection_ = TCellRange::parse(range);
}

void TExcel::SelectRange(const QString& first, const QString& last)
{
    sheet();
    selection_ = TCellRange::parse(first, last);
}

QString TExcel::Selection() const
{
    return selection_.text();
}

void TExcel::format(const std::function<void(TCellFormat&)>& change)
{
    sheet().applyFormat(selection_, change);
}

void TExcel::MergeSelection()
{
    sheet().merge(selection_);
}

void TExcel::BoldSelection()
{
    format([](TCellFormat& f) { f.bold = true; });
}

void TExcel::WrapSelection()
{
    format([](TCellFormat& f) { f.wrap = true; });
}

void TExcel::AlignSelection(std::optional<int> horizontal, std::optional<int> vertical)
{
    sheet();
    // Both numbers are checked before the selection changes.
    const int h = horizontal ? int(HorizontalOf(*horizontal)) : 0;
    const int v = vertical ? int(VerticalOf(*vertical)) : 0;
    format([h, v](TCellFormat& f) {
        if (h)
            f.horizontal = THAlign(h);
        if (v)
            f.vertical = TVAlign(v);
    });
}

void TExcel::SetSelectionFontSize(double points)
{
    sheet();
    if (!(points >= 1 && points <= 409))
        throw EExportError(u"Недопустимый размер шрифта: %1"_s.arg(points));
    format([points](TCellFormat& f) { f.fontSize = points; });
}

void TExcel::SetSelectionFontColor(int colorIndex)
{
    sheet();
    const int rgb = colorIndex == AutomaticColor ? -1 : PaletteColor(colorIndex);
    if (rgb < 0 && colorIndex != AutomaticColor)
        throw EExportError(u"Недопустимый номер цвета шрифта: %1"_s.arg(colorIndex));
    format([rgb](TCellFormat& f) { f.fontColor = rgb; });
}

void TExcel::SetCell(int row, int column, const QString& text)
{
    sheet().setText(row, column, text);
}

void TExcel::SetColumnWidth(int column, double width)
{
    sheet().setColumnWidth(column, width);
}

void TExcel::SetRowHeight(int row, double height)
{
    sheet().setRowHeight(row, height);
}

void TExcel::TurnCellText(const QString& cell)
{
    sheet().applyFormat(TCellRange::parse(cell), [](TCellFormat& f) { f.rotation = 90; });
}

void TExcel::FillRange(const QString& first, const QString& last, int colorBgr)
{
    TSheet& s = sheet();
    if (colorBgr < 0 || colorBgr > 0xFFFFFF)
        throw EExportError(u"Недопустимый цвет заливки: %1"_s.arg(colorBgr, 0, 16));
    const int rgb = (colorBgr & 0xFF) << 16 | (colorBgr & 0xFF00) | (colorBgr >> 16 & 0xFF);
    s.applyFormat(TCellRange::parse(first, last), [rgb](TCellFormat& f) { f.fill = rgb; });
}

void TExcel::BorderRange(const QString& first, const QString& last)
{
    sheet().applyFormat(TCellRange::parse(first, last), [](TCellFormat& f) { f.border = true; });
}

void TExcel::SaveSheet(const QString& path)
{
    WriteXlsx(sheet(), path, caption_);
    savedPath_ = path;
}

bool TExcel::ShowExcel()
{
    if (savedPath_.isEmpty() || !opener_)
        return false;
    if (shownPath_ == savedPath_)
        return true;
    const bool opened = opener_(savedPath_);
    if (opened)
        shownPath_ = savedPath_;
    return opened;
}
