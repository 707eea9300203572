#include "export/Sheet.h"

#include "data/Errors.h"

#include <QList>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// Parses one cell such as "AL10005" or "$A$1"; false for anything else.
bool ParseCell(QStringView text, int& row, int& column)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && text[i] == u'$')
        ++i;
    qint64 col = 0;
    const qsizetype lettersFrom = i;
    while (i < n && i - lettersFrom < 4) {
        const char16_t c = text[i].toUpper().unicode();
        if (c < u'A' || c > u'Z')
            break;
        col = col * 26 + (c - u'A' + 1);
        ++i;
    }
    if (i == lettersFrom)
        return false;
    if (i < n && text[i] == u'$')
        ++i;
    qint64 r = 0;
    const qsizetype digitsFrom = i;
    while (i < n && i - digitsFrom < 8 && text[i] >= u'0' && text[i] <= u'9') {
        r = r * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    if (i == digitsFrom || i != n)
        return false;
    if (r < 1 || r > SheetMaxRow || col < 1 || col > SheetMaxColumn)
        return false;
    row = int(r);
    column = int(col);
    return true;
}

[[noreturn]] void BadAddress(const QString& text)
{
    throw EExportError(u"Неверный адрес ячейки или диапазона: \"%1\""_s.arg(text));
}

void CheckCell(int row, int column)
{
    if (row < 1 || row > SheetMaxRow || column < 1 || column > SheetMaxColumn)
        throw EExportError(u"Ячейка (%1, %2) вне листа"_s.arg(row).arg(column));
}

TCellRange Span(int r1, int c1, int r2, int c2)
{
    return {std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)};
}

// The default palette of the font colour indexes 1..56.
constexpr int Palette[56] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

} // namespace

TCellRange TCellRange::parse(const QString& text)
{
    const qsizetype colon = text.indexOf(u':');
    const QStringView view(text);
    int r1, c1, r2, c2;
    if (colon < 0) {
        if (!ParseCell(view.trimmed(), r1, c1))
            BadAddress(text);
        return {r1, c1, r1, c1};
    }
    if (!ParseCell(view.left(colon).trimmed(), r1, c1) || !ParseCell(view.mid(colon + 1).trimmed(), r2, c2))
        BadAddress(text);
    return Span(r1, c1, r2, c2);
}

TCellRange TCellRange::parse(const QString& first, const QString& last)
{
    const TCellRange a = parse(first);
    const TCellRange b = parse(last);
    return Span(std::min(a.firstRow, b.firstRow), std::min(a.firstColumn, b.firstColumn),
                std::max(a.lastRow, b.lastRow), std::max(a.lastColumn, b.lastColumn));
}

TCellRange TCellRange::cell(int row, int column)
{
    CheckCell(row, column);
    return {row, column, row, column};
}

bool TCellRange::overlaps(const TCellRange& o) const
{
    return firstRow <= o.lastRow && o.firstRow <= lastRow && firstColumn <= o.lastColumn
        && o.firstColumn <= lastColumn;
}

QString TCellRange::text() const
{
    const QString first = ColumnName(firstColumn) + QString::number(firstRow);
    return single() ? first : first + u':' + ColumnName(lastColumn) + QString::number(lastRow);
}

QString ColumnName(int column)
{
    QString name;
    for (int c = column; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

int PaletteColor(int index)
{
    return index >= 1 && index <= 56 ? Palette[index - 1] : -1;
}

std::size_t TSheet::FormatHash::operator()(const TCellFormat& f) const
{
    std::size_t h = std::hash<double>()(f.fontSize);
    const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(std::size_t(f.bold) | std::size_t(f.wrap) << 1 | std::size_t(f.border) << 2
        | std::size_t(f.horizontal) << 3 | std::size_t(f.vertical) << 7 | std::size_t(std::uint16_t(f.rotation)) << 11);
    mix(std::size_t(std::uint32_t(f.fontColor)));
    mix(std::size_t(std::uint32_t(f.fill)));
    return h;
}

TSheet::TSheet()
{
    intern(TCellFormat());
}

std::uint32_t TSheet::intern(const TCellFormat& format)
{
    const auto [it, added] = formatIndex_.try_emplace(format, std::uint32_t(formats_.size()));
    if (added)
        formats_.push_back(format);
    return it->second;
}

TSheetCell& TSheet::at(int row, int column)
{
    if (rows_.size() < std::size_t(row))
        rows_.resize(row);
    std::vector<TSheetCell>& cells = rows_[row - 1];
    if (cells.size() < std::size_t(column)) {
        // A row written cell by cell from the left would grow step by step:
        // it takes at once the room of the row above it, as wide as a table's rows are.
        if (cells.empty() && row >= 2)
            cells.reserve(std::max(std::size_t(column), rows_[row - 2].size()));
        cells.resize(column);
    }
    return cells[column - 1];
}

void TSheet::setText(int row, int column, const QString& text)
{
    CheckCell(row, column);
    // A cell holds at most 32767 characters (counted as code points).
    if (text.size() > 32767 && text.toUcs4().size() > 32767)
        throw EExportError(u"Текст ячейки %1 длиннее 32767 символов"_s.arg(TCellRange::cell(row, column).text()));
    TSheetCell& cell = at(row, column);
    cell.text = text;
    cell.written = true;
}

void TSheet::applyFormat(const TCellRange& range, const std::function<void(TCellFormat&)>& change)
{
    // Every cell of the range is kept: a range of a whole sheet would not fit.
    const qint64 count = qint64(range.lastRow - range.firstRow + 1) * (range.lastColumn - range.firstColumn + 1);
    if (count > MaxFormattedCells)
        throw EExportError(u"Диапазон %1 слишком велик для форматирования"_s.arg(range.text()));
    if (range.single()) {
        // One cell (the exports format single cells row by row): no table of changes.
        TSheetCell& cell = at(range.firstRow, range.firstColumn);
        TCellFormat f = formats_[cell.format];
        change(f);
        cell.format = intern(f);
        return;
    }
    // Most cells of a range share a few formats: each old format is changed once.
    std::unordered_map<std::uint32_t, std::uint32_t> changed;
    for (int r = range.firstRow; r <= range.lastRow; ++r) {
        at(r, range.lastColumn);
        std::vector<TSheetCell>& cells = rows_[r - 1];
        for (int c = range.firstColumn; c <= range.lastColumn; ++c) {
            TSheetCell& cell = cells[c - 1];
            auto it = changed.find(cell.format);
            if (it == changed.end()) {
                TCellFormat f = formats_[cell.format];
                change(f);
                it = changed.emplace(cell.format, intern(f)).first;
            }
            cell.format = it->second;
        }
    }
}

void TSheet::merge(const TCellRange& range)
{
    if (range.single())
        return;
    TCellRange joined = range;
    for (bool grown = true; grown;) {
        grown = false;
        for (auto it = merges_.begin(); it != merges_.end(); ++it) {
            if (it->overlaps(joined)) {
                joined = Span(std::min(joined.firstRow, it->firstRow), std::min(joined.firstColumn, it->firstColumn),
                              std::max(joined.lastRow, it->lastRow), std::max(joined.lastColumn, it->lastColumn));
                merges_.erase(it);
                grown = true;
                break;
            }
        }
    }
    merges_.push_back(joined);
}

void TSheet::setColumnWidth(int column, double width)
{
    CheckCell(1, column);
    if (!(width >= 0 && width <= 255))
        throw EExportError(u"Недопустимая ширина столбца %1: %2"_s.arg(ColumnName(column)).arg(width));
    widths_[column] = width;
}

void TSheet::setRowHeight(int row, double height)
{
    CheckCell(row, 1);
    if (!(height >= 0 && height <= 409))
        throw EExportError(u"Недопустимая высота строки %1: %2"_s.arg(row).arg(height));
    heights_[row] = height;
}

const TSheetCell* TSheet::cell(int row, int column) const
{
    if (row < 1 || column < 1 || std::size_t(row) > rows_.size())
        return nullptr;
    const std::vector<TSheetCell>& cells = rows_[row - 1];
    if (std::size_t(column) > cells.size())
        return nullptr;
    const TSheetCell& c = cells[column - 1];
    return c.written || c.format != 0 ? &c : nullptr;
}

TCellFormat TSheet::cellFormat(int row, int column) const
{
    const TSheetCell* c = cell(row, column);
    return c ? formats_[c->format] : TCellFormat();
}
