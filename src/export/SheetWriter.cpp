// The one place that talks to libxlsxwriter.

#include "export/SheetWriter.h"

#include "data/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

// Rows are written in order and each goes to the file as soon as the next one
// starts, so a large sheet needs no second copy of itself in memory.
constexpr bool ConstantMemory = true;

QByteArray FileName(const QString& path)
{
#ifdef _WIN32
    return path.toUtf8();   // the library opens UTF-8 names as wide ones
#else
    return QFile::encodeName(path);
#endif
}

[[noreturn]] void Fail(const QString& path, const QString& reason)
{
    throw EExportError(u"Не удалось сохранить таблицу в файл \"%1\": %2"_s.arg(QDir::toNativeSeparators(path), reason));
}

lxw_color_t Color(int rgb)
{
    // The library takes 0 for "no colour" and spells black apart.
    return rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : lxw_color_t(rgb);
}

std::uint8_t Horizontal(THAlign a)
{
    switch (a) {
    case THAlign::General: return LXW_ALIGN_NONE;
    case THAlign::Left: return LXW_ALIGN_LEFT;
    case THAlign::Center: return LXW_ALIGN_CENTER;
    case THAlign::Right: return LXW_ALIGN_RIGHT;
    case THAlign::Fill: return LXW_ALIGN_FILL;
    case THAlign::Justify: return LXW_ALIGN_JUSTIFY;
    case THAlign::CenterAcross: return LXW_ALIGN_CENTER_ACROSS;
    case THAlign::Distributed: return LXW_ALIGN_DISTRIBUTED;
    }
    return LXW_ALIGN_NONE;
}

std::uint8_t Vertical(TVAlign a)
{
    switch (a) {
    case TVAlign::Top: return LXW_ALIGN_VERTICAL_TOP;
    case TVAlign::Center: return LXW_ALIGN_VERTICAL_CENTER;
    case TVAlign::Bottom: return LXW_ALIGN_NONE;   // the default
    case TVAlign::Justify: return LXW_ALIGN_VERTICAL_JUSTIFY;
    case TVAlign::Distributed: return LXW_ALIGN_VERTICAL_DISTRIBUTED;
    }
    return LXW_ALIGN_NONE;
}

lxw_format* NewFormat(lxw_workbook* book, const TCellFormat& f)
{
    lxw_format* x = workbook_add_format(book);
    if (!x)
        return nullptr;
    if (f.bold)
        format_set_bold(x);
    if (f.wrap)
        format_set_text_wrap(x);
    if (const std::uint8_t h = Horizontal(f.horizontal))
        format_set_align(x, h);
    if (const std::uint8_t v = Vertical(f.vertical))
        format_set_align(x, v);
    if (f.rotation)
        format_set_rotation(x, f.rotation);
    if (f.fontSize > 0)
        format_set_font_size(x, f.fontSize);
    if (f.fontColor >= 0)
        format_set_font_color(x, Color(f.fontColor));
    if (f.fill >= 0) {
        format_set_pattern(x, LXW_PATTERN_SOLID);
        format_set_bg_color(x, Color(f.fill));
    }
    if (f.border)
        format_set_border(x, LXW_BORDER_THIN);
    return x;
}

// Writes the whole workbook to the file (which the library overwrites);
// failures name the path the user asked for.
void Write(const TSheet& sheet, const QString& file, const QString& path, const QString& title)
{
    const QByteArray name = FileName(file);
    lxw_workbook_options options{};
    options.constant_memory = ConstantMemory;
    std::unique_ptr<lxw_workbook, void (*)(lxw_workbook*)> book(workbook_new_opt(name.constData(), &options),
                                                                 lxw_workbook_free);
    if (!book)
        Fail(path, u"не хватает памяти"_s);
    const auto check = [&path](lxw_error error) {
        if (error != LXW_NO_ERROR)
            Fail(path, QString::fromUtf8(lxw_strerror(error)));
    };

    QByteArray titleText = title.toUtf8();
    lxw_doc_properties properties{};
    properties.title = titleText.data();
    check(workbook_set_properties(book.get(), &properties));

    lxw_worksheet* ws = workbook_add_worksheet(book.get(), u"Лист1"_s.toUtf8().constData());
    if (!ws)
        Fail(path, u"не удалось создать лист"_s);

    for (const auto& [column, width] : sheet.columnWidths())
        check(worksheet_set_column(ws, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr));
    // Merged ranges go first: rows are final once the next row is written.
    for (const TCellRange& m : sheet.merges())
        check(worksheet_merge_range(ws, lxw_row_t(m.firstRow - 1), lxw_col_t(m.firstColumn - 1),
                                    lxw_row_t(m.lastRow - 1), lxw_col_t(m.lastColumn - 1), nullptr, nullptr));

    // One library format per distinct cell format, made when first used.
    std::vector<lxw_format*> formats(sheet.formats().size(), nullptr);
    const auto formatOf = [&](std::uint32_t index) -> lxw_format* {
        if (index == 0)
            return nullptr;
        if (!formats[index] && !(formats[index] = NewFormat(book.get(), sheet.formats()[index])))
            Fail(path, u"не хватает памяти"_s);
        return formats[index];
    };

    const std::vector<std::vector<TSheetCell>>& rows = sheet.rows();
    const std::map<int, double>& heights = sheet.rowHeights();
    auto height = heights.begin();
    const int lastRow = std::max(int(rows.size()), heights.empty() ? 0 : heights.rbegin()->first);
    // Each text is made UTF-8 in one buffer kept for the whole sheet.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray text;
    for (int r = 1; r <= lastRow; ++r) {
        const lxw_row_t row = lxw_row_t(r - 1);
        if (height != heights.end() && height->first == r) {
            check(worksheet_set_row(ws, row, height->second, nullptr));
            ++height;
        }
        if (std::size_t(r) > rows.size())
            continue;
        const std::vector<TSheetCell>& cells = rows[r - 1];
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const TSheetCell& cell = cells[c];
            if (cell.written && !cell.text.isEmpty()) {
                const qsizetype room = utf8.requiredSpace(cell.text.size()) + 1;
                if (text.size() < room)
                    text.resize(room);
                char* const end = utf8.appendToBuffer(text.data(), cell.text);
                *end = '\0';
                check(worksheet_write_string(ws, row, lxw_col_t(c), text.constData(), formatOf(cell.format)));
            } else if (cell.format != 0) {
                check(worksheet_write_blank(ws, row, lxw_col_t(c), formatOf(cell.format)));
            }
        }
    }
    // Closing writes the file and frees the workbook, whatever it reports.
    const lxw_error closed = workbook_close(book.release());
    check(closed);
}

} // namespace

void WriteXlsx(const TSheet& sheet, const QString& path, const QString& title)
{
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink())
        Fail(path, u"файл с таким именем уже существует"_s);

    // The workbook is written under a short name of its own in the same folder
    // (a long final name leaves no room for more) and takes the final name only
    // when it is complete.
    QTemporaryFile temp(target.absolutePath() + u"/~talvira-XXXXXX.tmp"_s);
    if (!temp.open())
        Fail(path, temp.errorString());
    temp.close();
    temp.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup
                        | QFile::ReadOther);
    Write(sheet, temp.fileName(), path, title);   // on a failure the temporary file goes with `temp`
    // QFile refuses to replace an existing file: a file made under the final
    // name meanwhile keeps what it has.
    QFile written(temp.fileName());
    if (!written.rename(path))
        Fail(path, QFileInfo::exists(path) ? u"файл с таким именем уже существует"_s : written.errorString());
    temp.setAutoRemove(false);
}
