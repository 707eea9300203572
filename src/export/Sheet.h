#pragma once
// The worksheet of an export, kept in memory until it is saved: cell texts and
// numbers, per-cell formats, merged ranges, column widths, row heights and how
// the sheet prints. A format given
// to a range reaches the cells written before and after it alike, since nothing
// is written to a file before the whole sheet is done.
//
// Rows and columns count from 1, as the exports number them.

#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <vector>

/// The largest row and column a workbook holds (column XFD).
inline constexpr int SheetMaxRow = 1048576;
inline constexpr int SheetMaxColumn = 16384;
/// The most cells one format change may reach (10,000 rows of 38 columns are 380,000).
inline constexpr qint64 MaxFormattedCells = 5'000'000;

/// A rectangle of cells; first <= last in both directions.
///
///     TCellRange r = TCellRange::parse(u"A6:AL5"_s);   // rows 5..6, columns 1..38
///     r.text();                                        // "A5:AL6"
struct TCellRange {
    int firstRow = 1;
    int firstColumn = 1;
    int lastRow = 1;
    int lastColumn = 1;

    /// Parses "A1:T1", a single cell "H6" (either may carry '$' signs and be in
    /// small letters). The two corners may come in any order. Throws EExportError
    /// for anything else or for a cell beyond the sheet.
    ///
    ///     TCellRange::parse(u"K4:T26"_s).lastColumn   // 20
    static TCellRange parse(const QString& text);
    /// The range spanned by two cells given apart ("A1", "T26").
    ///
    ///     TCellRange::parse(u"A1"_s, u"F5"_s).text()   // "A1:F5"
    static TCellRange parse(const QString& first, const QString& last);
    /// The range of one cell; throws EExportError beyond the sheet.
    ///
    ///     TCellRange::cell(6, 8).text()   // "H6"
    static TCellRange cell(int row, int column);

    /// Whether the range is one cell.
    ///
    ///     TCellRange::parse(u"A5:A5"_s).single()   // true
    bool single() const { return firstRow == lastRow && firstColumn == lastColumn; }
    /// Whether the two ranges share a cell.
    ///
    ///     TCellRange::parse(u"A1:C1"_s).overlaps(TCellRange::parse(u"C1:D2"_s))   // true
    bool overlaps(const TCellRange& other) const;
    /// The range in A1 notation: "H6" for one cell, "A1:T1" otherwise.
    ///
    ///     TCellRange{5, 1, 6, 38}.text()   // "A5:AL6"
    QString text() const;
    bool operator==(const TCellRange&) const = default;
};

/// A column's letters.
///
///     ColumnName(38)   // "AL"
QString ColumnName(int column);

/// The palette of the spreadsheet's font colour indexes 1 to 56 as RGB
/// (0xRRGGBB); -1 for an index outside it.
///
///     PaletteColor(3)   // 0xFF0000, red
int PaletteColor(int index);

/// Horizontal alignments by the spreadsheet's numbers.
enum class THAlign : std::uint8_t { General = 1, Left, Center, Right, Fill, Justify, CenterAcross, Distributed };
/// Vertical alignments by the spreadsheet's numbers.
enum class TVAlign : std::uint8_t { Top = 1, Center, Bottom, Justify, Distributed };

/// How one cell looks. The default value is a plain cell.
struct TCellFormat {
    bool bold = false;
    bool wrap = false;
    THAlign horizontal = THAlign::General;
    TVAlign vertical = TVAlign::Bottom;
    std::int16_t rotation = 0;       ///< degrees; 90 reads upwards
    double fontSize = 0;             ///< points; 0 is the workbook's default
    int fontColor = -1;              ///< 0xRRGGBB; -1 is automatic
    int fill = -1;                   ///< solid background 0xRRGGBB; -1 is none
    bool border = false;             ///< thin lines on all four sides
    /// How a number cell shows its value, as a spreadsheet number format code
    /// ("dd.mm.yyyy" for a date); empty is the general format, which shows a
    /// number with the reader's decimal separator and only the decimals it has.
    QString numberFormat;

    /// Whether nothing of the format was set.
    ///
    ///     sheet.cellFormat(20, 1).plain()   // true for a cell never touched
    bool plain() const { return *this == TCellFormat(); }
    bool operator==(const TCellFormat&) const = default;
};

/// One cell: its text or number (when it was written) and its format's number
/// in the sheet. A date is a number (days since 30 December 1899) shown through
/// a date format.
struct TSheetCell {
    QString text;
    double number = 0;          ///< the value of a number cell
    std::uint32_t format = 0;   ///< index into TSheet::formats(); 0 is plain
    bool written = false;
    bool isNumber = false;      ///< written as a number, not as a text
};

/// Page orientation of a printed sheet.
enum class TOrientation : std::uint8_t {
    Portrait,
    Landscape,
    /// Landscape when the table is wider than the printable width of a
    /// portrait page, portrait otherwise.
    ByWidth,
};

/// How a sheet prints. The default is what a spreadsheet program does without
/// a page setup: the printer's paper, portrait, at full size, no titles, no footer.
///
///     TPrintSetup p;
///     p.a4 = true;
///     p.orientation = TOrientation::ByWidth;
///     p.fitToWidth = true;
///     p.titleFirstRow = 4; p.titleLastRow = 5;
///     p.footer = u"&CСтраница &P из &N"_s;
struct TPrintSetup {
    bool a4 = false;                 ///< paper A4
    TOrientation orientation = TOrientation::Portrait;
    bool fitToWidth = false;         ///< scaled to one page wide, as many pages tall as needed
    int titleFirstRow = 0;           ///< rows repeated at the top of every page; 0 for none
    int titleLastRow = 0;
    QString footer;                  ///< with the spreadsheet's codes: &C centre, &P page, &N pages
    bool operator==(const TPrintSetup&) const = default;
};

/// The printable width of a portrait A4 page at the spreadsheet's default
/// margins (0.7 inch left and right), in screen pixels (96 per inch) at full size.
inline constexpr int PortraitA4Pixels = 659;
/// The width of a column whose width was never set, in characters.
inline constexpr double DefaultColumnWidth = 8.43;

/// A column width in characters as pixels on the screen, the way the
/// spreadsheet counts them for its default font (Calibri 11: 7 pixels a digit
/// and 5 pixels of margins and grid line).
///
///     ColumnPixels(6)      // 47
///     ColumnPixels(8.43)   // 64
int ColumnPixels(double width);

/// The sheet's contents.
///
///     TSheet sheet;
///     sheet.setText(1, 1, u"Министерство образования"_s);
///     sheet.applyFormat(TCellRange::parse(u"A1:T5"_s), [](TCellFormat& f) { f.bold = true; });
///     sheet.cellFormat(1, 1).bold   // true
class TSheet {
public:
    TSheet();

    /// Writes a cell's text (an empty text too); throws EExportError beyond
    /// the sheet or for a text longer than a cell holds (32767 characters).
    ///
    ///     sheet.setText(6, 1, u"1"_s);
    void setText(int row, int column, const QString& text);
    /// Writes a cell's number; throws EExportError beyond the sheet or for a
    /// value that is not finite.
    ///
    ///     sheet.setNumber(6, 1, 1);
    void setNumber(int row, int column, double value);
    /// Changes the format of every cell of the range, written or not. Throws
    /// EExportError for a range of more than MaxFormattedCells cells.
    ///
    ///     sheet.applyFormat(r, [](TCellFormat& f) { f.fontSize = 8; });
    void applyFormat(const TCellRange& range, const std::function<void(TCellFormat&)>& change);
    /// Merges the range into one cell. A range that touches merged ranges takes
    /// them in, so merged ranges never overlap; one cell merges with nothing.
    ///
    ///     sheet.merge(TCellRange::parse(u"A1:T1"_s));
    void merge(const TCellRange& range);
    /// Width of a column in characters (0 to 255); throws EExportError outside.
    ///
    ///     sheet.setColumnWidth(2, 40);
    void setColumnWidth(int column, double width);
    /// Height of a row in points (0 to 409); throws EExportError outside.
    ///
    ///     sheet.setRowHeight(5, 120);
    void setRowHeight(int row, double height);
    /// How the sheet prints.
    ///
    ///     sheet.setPrintSetup(setup);
    void setPrintSetup(const TPrintSetup& setup) { print_ = setup; }

    /// The cell, or nullptr when it was neither written nor formatted.
    ///
    ///     sheet.cell(1, 1)->text
    const TSheetCell* cell(int row, int column) const;
    /// The format of a cell; the plain one where nothing was set.
    ///
    ///     sheet.cellFormat(6, 8).fontColor   // 0xFF0000
    TCellFormat cellFormat(int row, int column) const;
    /// The distinct formats of the sheet; index 0 is the plain one.
    ///
    ///     sheet.formats()[sheet.cell(6, 8)->format].bold
    const std::vector<TCellFormat>& formats() const { return formats_; }
    /// Rows from 1; row r is rows()[r - 1], its cell c is rows()[r - 1][c - 1].
    /// A row holds cells up to the last one written or formatted.
    ///
    ///     for (const TSheetCell& c : sheet.rows()[5]) { /* row 6 */ }
    const std::vector<std::vector<TSheetCell>>& rows() const { return rows_; }
    /// The merged ranges, none overlapping another.
    ///
    ///     sheet.merges().front().text()   // "A1:T1"
    const std::vector<TCellRange>& merges() const { return merges_; }
    /// Column widths set, by column from 1.
    ///
    ///     sheet.columnWidths().at(2)   // 40
    const std::map<int, double>& columnWidths() const { return widths_; }
    /// Row heights set, by row from 1.
    ///
    ///     sheet.rowHeights().at(5)   // 120
    const std::map<int, double>& rowHeights() const { return heights_; }
    /// How the sheet prints.
    ///
    ///     sheet.printSetup().fitToWidth
    const TPrintSetup& printSetup() const { return print_; }
    /// Whether the sheet prints landscape: so set, or set by width and wider
    /// than a portrait page.
    ///
    ///     sheet.printsLandscape()   // true for the 20 columns of the short application
    bool printsLandscape() const;
    /// A column's width in characters; DefaultColumnWidth where none was set.
    ///
    ///     sheet.columnWidth(2)   // 40
    double columnWidth(int column) const;
    /// The width of the table in screen pixels: the columns from A to the last
    /// one with a cell or a width.
    ///
    ///     sheet.tablePixels()   // 1024 for the rating (6, 40, 6, 40, 10, 40)
    int tablePixels() const;

private:
    struct FormatHash {
        std::size_t operator()(const TCellFormat& f) const;
    };
    std::uint32_t intern(const TCellFormat& format);
    TSheetCell& at(int row, int column);

    std::vector<std::vector<TSheetCell>> rows_;
    std::vector<TCellFormat> formats_;
    std::unordered_map<TCellFormat, std::uint32_t, FormatHash> formatIndex_;
    std::vector<TCellRange> merges_;
    std::map<int, double> widths_;
    std::map<int, double> heights_;
    TPrintSetup print_;
};
