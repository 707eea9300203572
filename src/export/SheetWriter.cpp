// The one place that talks to libxlsxwriter.

#include "export/SheetWriter.h"

#include "base/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
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
    throw EExportError(u"Не удалось сохранить таблицу в файл \"%1\": %2"_s.arg(QDir::toNativeSeparators(path), reason),
                       TExportFailure::Write);
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
    if (!f.numberFormat.isEmpty())
        format_set_num_format(x, f.numberFormat.toUtf8().constData());
    return x;
}

/// The workbook's default font and its row height (Calibri 11, 15 points).
constexpr double DefaultFontSize = 11;
constexpr double DefaultRowHeight = 15;

/// The heights that rows with wrapped text need, so that a program that does
/// not grow rows by itself shows all of their text. Texts are measured with the
/// font metrics of the workbook's font (or the face the system shows for it) at
/// 96 pixels per inch, and wrapped the way the spreadsheet wraps them: after
/// blanks and hyphens, inside a word only where the word is wider than the cell.
///
/// Column widths count digits of the workbook's font, 7 pixels each on the
/// screen; a spreadsheet program shows the font so that its digits take that
/// width. The measured widths are scaled alike: by 7 pixels over the width of a
/// digit as the metrics give it.
class TRowFitter {
public:
    explicit TRowFitter(const TSheet& sheet) : sheet_(sheet), formats_(sheet.formats().size(), -1)
    {
        // Font metrics need the application's font database; without one
        // (a program without a user interface) the widths are estimated.
        measured_ = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
        if (measured_) {
            device_ = QImage(1, 1, QImage::Format_RGB32);
            device_.setDotsPerMeterX(3780);   // 96 per inch
            device_.setDotsPerMeterY(3780);
        }
        const Font& normal = fonts_[fontOf(false, DefaultFontSize)];
        if (normal.metrics)
            digitScale_ = 7 / normal.metrics->horizontalAdvance(QLatin1Char('0'));
        for (std::size_t i = 0; i < formats_.size(); ++i) {
            const TCellFormat& f = sheet.formats()[i];
            if (f.wrap && f.rotation == 0)
                formats_[i] = fontOf(f.bold, f.fontSize > 0 ? f.fontSize : DefaultFontSize);
        }
        for (const TCellRange& m : sheet.merges())
            merges_.push_back(m);
    }

    /// The height in points that the wrapped texts of the row need; 0 when one
    /// line of the default font is enough.
    double height(int row)
    {
        const std::vector<std::vector<TSheetCell>>& rows = sheet_.rows();
        if (row < 1 || std::size_t(row) > rows.size())
            return 0;
        const std::vector<TSheetCell>& cells = rows[row - 1];
        double pixels = 0;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const TSheetCell& cell = cells[c];
            if (!cell.written || cell.isNumber || cell.text.isEmpty() || formats_[cell.format] < 0)
                continue;
            const int column = int(c) + 1;
            int area = 0;
            if (!textArea(row, column, area))
                continue;
            Font& font = fonts_[formats_[cell.format]];
            pixels = std::max(pixels, lines(cell.text, area, font) * font.lineHeight);
        }
        const double points = std::ceil(pixels) * 0.75;
        return points > DefaultRowHeight ? points : 0;
    }

private:
    struct Font {
        QFont font;
        std::optional<QFontMetricsF> metrics;
        double em = 0;             ///< pixels
        double lineHeight = 0;     ///< pixels a line takes in a row
        std::vector<float> advance;   ///< by UTF-16 code, -1 until measured
    };

    int fontOf(bool bold, double size)
    {
        for (std::size_t i = 0; i < fonts_.size(); ++i)
            if (fonts_[i].font.bold() == bold && fonts_[i].font.pointSizeF() == size)
                return int(i);
        Font f;
        f.font = QFont(QStringLiteral("Calibri"));
        f.font.setPointSizeF(size);
        f.font.setBold(bold);
        f.em = size * 96 / 72;
        if (measured_) {
            f.metrics.emplace(f.font, &device_);
            // A line takes the font's height and one pixel: Calibri 11 gives
            // rows of 20 pixels (15 points) a line, Calibri 8 rows of 15, as
            // in the spreadsheet.
            f.lineHeight = std::ceil(f.metrics->height()) + 1;
        } else {
            f.lineHeight = std::ceil(f.em * 1.25) + 1;
        }
        f.advance.assign(0x10000, -1.0f);
        fonts_.push_back(std::move(f));
        return int(fonts_.size() - 1);
    }

    double advance(Font& font, QStringView text, qsizetype at, qsizetype& units)
    {
        const QChar c = text.at(at);
        units = 1;
        if (c.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
            units = 2;
            return font.metrics ? font.metrics->horizontalAdvance(text.mid(at, 2).toString()) * digitScale_ : font.em;
        }
        float& known = font.advance[c.unicode()];
        if (known < 0)
            known = float(font.metrics ? font.metrics->horizontalAdvance(c) * digitScale_ : font.em * 0.55);
        return known;
    }

    /// The lines the text takes in a cell whose text area is `area` pixels wide.
    int lines(const QString& text, int area, Font& font)
    {
        int count = 0;
        const QStringView all(text);
        qsizetype from = 0;
        while (from <= all.size()) {
            qsizetype end = all.indexOf(u'\n', from);
            if (end < 0)
                end = all.size();
            QStringView paragraph = all.mid(from, end - from);
            if (paragraph.endsWith(u'\r'))
                paragraph.chop(1);
            count += paragraphLines(paragraph, area, font);
            from = end + 1;
        }
        return count;
    }

    int paragraphLines(QStringView text, int area, Font& font)
    {
        int lines = 1;
        double width = 0;        // of the line so far
        double word = 0;         // of the line's part after its last break
        bool canBreak = false;   // the line has a break before `word`
        for (qsizetype i = 0; i < text.size();) {
            qsizetype units = 1;
            const double a = advance(font, text, i, units);
            const QChar c = text.at(i);
            i += units;
            if (c == u' ') {
                // blanks may stand out past the edge; a line may break after them
                width += a;
                word = 0;
                canBreak = true;
                continue;
            }
            if (width + a > area && width > 0) {
                ++lines;
                // the word moves to the new line, or breaks where it is when it
                // is the line's only word or wider than a line itself
                width = canBreak && word + a <= area ? word : 0;
                word = width;
                canBreak = false;
            }
            width += a;
            word += a;
            if (c == u'-') {
                word = 0;
                canBreak = true;
            }
        }
        return lines;
    }

    /// The width in pixels that the text of the cell can use: its column's, or
    /// a merged range's within one row; false for a cell of a range over
    /// several rows, whose text the rows share.
    bool textArea(int row, int column, int& area) const
    {
        int first = column;
        int last = column;
        for (const TCellRange& m : merges_) {
            if (row < m.firstRow || row > m.lastRow || column < m.firstColumn || column > m.lastColumn)
                continue;
            if (m.firstRow != m.lastRow)
                return false;
            first = m.firstColumn;
            last = m.lastColumn;
        }
        int pixels = 0;
        for (int c = first; c <= last; ++c)
            pixels += ColumnPixels(sheet_.columnWidth(c));
        // less the margins and the grid line of the cell
        area = pixels - 5;
        return area > 0;
    }

    const TSheet& sheet_;
    std::vector<int> formats_;   ///< the font index of a wrapped format, -1 otherwise
    std::vector<Font> fonts_;
    std::vector<TCellRange> merges_;
    QImage device_;
    bool measured_ = false;
    double digitScale_ = 1;   ///< screen pixels per measured pixel
};

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

    const TPrintSetup& print = sheet.printSetup();
    if (print.a4)
        worksheet_set_paper(ws, 9);
    if (sheet.printsLandscape())
        worksheet_set_landscape(ws);
    if (print.fitToWidth)
        worksheet_fit_to_pages(ws, 1, 0);
    if (print.titleFirstRow > 0)
        check(worksheet_repeat_rows(ws, lxw_row_t(print.titleFirstRow - 1), lxw_row_t(print.titleLastRow - 1)));
    QByteArray footer = print.footer.toUtf8();
    if (!footer.isEmpty())
        check(worksheet_set_footer(ws, footer.constData()));

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
    TRowFitter fitter(sheet);
    // Each text is made UTF-8 in one buffer kept for the whole sheet.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray text;
    std::size_t lastColumn = 0;
    bool texts = false;
    for (int r = 1; r <= lastRow; ++r) {
        const lxw_row_t row = lxw_row_t(r - 1);
        // A row's height goes before its cells: the row is written out with them.
        if (height != heights.end() && height->first == r) {
            check(worksheet_set_row(ws, row, height->second, nullptr));
            ++height;
        } else if (const double fitted = fitter.height(r); fitted > 0) {
            check(worksheet_set_row(ws, row, fitted, nullptr));
        }
        if (std::size_t(r) > rows.size())
            continue;
        const std::vector<TSheetCell>& cells = rows[r - 1];
        lastColumn = std::max(lastColumn, cells.size());
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const TSheetCell& cell = cells[c];
            if (cell.written && cell.isNumber) {
                check(worksheet_write_number(ws, row, lxw_col_t(c), cell.number, formatOf(cell.format)));
            } else if (cell.written && !cell.text.isEmpty()) {
                const qsizetype room = utf8.requiredSpace(cell.text.size()) + 1;
                if (text.size() < room)
                    text.resize(room);
                char* const end = utf8.appendToBuffer(text.data(), cell.text);
                *end = '\0';
                check(worksheet_write_string(ws, row, lxw_col_t(c), text.constData(), formatOf(cell.format)));
                texts = true;
            } else if (cell.format != 0) {
                check(worksheet_write_blank(ws, row, lxw_col_t(c), formatOf(cell.format)));
            }
        }
    }
    // What is written as text is meant as text (numbers are numbers): no
    // "number stored as text" marks on phone numbers and the like.
    if (texts) {
        const QByteArray used = TCellRange{1, 1, int(rows.size()), int(lastColumn)}.text().toLatin1();
        check(worksheet_ignore_errors(ws, LXW_IGNORE_NUMBER_STORED_AS_TEXT, used.constData()));
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
