#pragma once
// Reading a written .xlsx workbook back in tests: its first sheet's cell texts
// and numbers, merged ranges, column widths, row heights, per-cell formats and
// print setup, straight from the XML parts of the zip file.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

/// How a cell looks in the file. Colours are "RRGGBB"; an empty text is the
/// default (automatic colour, no fill, no border line, general alignment).
struct TXlsxFormat {
    bool bold = false;
    double fontSize = 0;   ///< points
    QString fontColor;
    QString horizontal;    ///< "center", "left", ...; empty is general
    QString vertical;      ///< "center", "top", ...; empty is bottom
    bool wrap = false;
    int rotation = 0;
    QString fill;          ///< colour of a solid fill
    QString left, right, top, bottom;   ///< border line styles: "thin", ...
    QString numberFormat;  ///< the number format code; empty is the general one

    /// The format in one line, leaving out what is the workbook's default, so
    /// that a comparison also catches what should not be there.
    ///
    ///     reader.format(u"H6"_s).describe()   // "bold color=FF0000 v=top wrap border=thin"
    QString describe(double defaultFontSize = 11) const;
};

/// How the sheet prints, as the file says.
struct TXlsxPrint {
    int paperSize = 0;        ///< 9 is A4; 0 when unset
    QString orientation;      ///< "landscape", "portrait" or empty
    bool fitToPage = false;   ///< scaled to fit pages (sheetPr/pageSetUpPr)
    int fitToWidth = 1;       ///< pages wide when fitted (1 when unset, as the format says)
    int fitToHeight = 1;      ///< pages tall when fitted; 0 is as many as needed
    QString titleRows;        ///< the rows repeated on every page, "$4:$5"; empty for none
    QString footer;           ///< the footer with its codes, "&CСтраница &P из &N"
};

/// A workbook read from a file. Throws std::runtime_error when the file is not
/// a readable workbook.
///
///     TXlsxReader book(path);
///     QCOMPARE(book.text(u"A1"_s), u"Министерство образования Велградской области"_s);
///     QVERIFY(book.merges().contains(u"A1:T1"_s));
///     QCOMPARE(book.format(u"G5"_s).rotation, 90);
class TXlsxReader {
public:
    explicit TXlsxReader(const QString& path);

    /// The names of the zip entries.
    ///
    ///     book.entries().contains(u"xl/styles.xml"_s)   // true
    QStringList entries() const { return entries_.keys(); }
    /// The unpacked content of an entry; throws when there is none.
    ///
    ///     book.entry(u"xl/worksheets/sheet1.xml"_s)
    QByteArray entry(const QString& name) const;

    /// Whether the sheet has the cell (with a text or only a format).
    ///
    ///     book.hasCell(u"U7"_s)   // false beside the table
    bool hasCell(const QString& cell) const { return cells_.contains(cell); }
    /// The cell's text as a reader sees it in the program's locale: a text as
    /// it is, a number as the user's locale writes it ("45,5"), a number in a
    /// date format as the user's short date; empty for a blank or missing cell.
    ///
    ///     book.text(u"H6"_s)   // "Имеются"
    ///     book.text(u"S6"_s)   // "13.01.2026", a date
    QString text(const QString& cell) const;
    /// The texts of those columns in every row from firstRow to the last one.
    ///
    ///     book.rowTexts(6, {u"B"_s, u"C"_s})   // {{"Победитель…", "Яковлев Ян Янович"}, …}
    QList<QStringList> rowTexts(int firstRow, const QStringList& columns) const;
    /// The cell's value as stored: a text, or a number's digits ("45.5", "46035").
    ///
    ///     book.value(u"L6"_s)   // "45.5"
    QString value(const QString& cell) const { return cells_.value(cell).text; }
    /// The cell's type attribute: "s" (shared text), "inlineStr", "str", "n" or
    /// empty for a number (the default), empty for a blank cell too.
    ///
    ///     book.type(u"B6"_s)   // "inlineStr": "007" is text
    QString type(const QString& cell) const { return cells_.value(cell).type; }
    /// What the cell holds: "text", "number", "date" (a number in a date
    /// format) or "" for a blank or missing cell.
    ///
    ///     book.kind(u"J6"_s)   // "text": a phone number
    QString kind(const QString& cell) const;
    /// The rows whose "number stored as text" marks are switched off ("A1:T7").
    ///
    ///     book.textMarksOff()   // "A1:T7"
    QString textMarksOff() const { return ignoredText_; }
    /// How the sheet prints.
    ///
    ///     book.print().orientation   // "landscape"
    const TXlsxPrint& print() const { return print_; }
    /// The cell's format; the workbook's default one for a missing cell.
    ///
    ///     book.format(u"K6"_s).fill   // "F9FFB8"
    TXlsxFormat format(const QString& cell) const;
    /// The size of the workbook's default font.
    ///
    ///     book.format(u"A1"_s).describe(book.defaultFontSize())
    double defaultFontSize() const { return fonts_.value(0).fontSize; }

    /// The merged ranges as written, in the file's order.
    ///
    ///     book.merges()   // {"A1:T1", "A2:T2", ...}
    QStringList merges() const { return merges_; }
    /// A column's width as stored (in characters with the padding); 0 when unset.
    ///
    ///     book.columnWidth(1)   // 6.7109375 for a width of 6
    double columnWidth(int column) const { return widths_.value(column); }
    /// The width the user sees for a stored width: the stored one less the
    /// padding of 5 pixels, in characters 7 pixels wide.
    ///
    ///     TXlsxReader::shownWidth(6.7109375)   // 6.0
    static double shownWidth(double stored);
    /// A row's height in points; 0 when unset.
    ///
    ///     book.rowHeight(5)   // 120
    double rowHeight(int row) const { return heights_.value(row); }
    /// The largest row number with a cell.
    ///
    ///     book.lastRow()   // 5 + the rows written
    int lastRow() const { return lastRow_; }
    /// The document title in the workbook's properties.
    ///
    ///     book.title()   // "Рейтинг регионального мероприятия"
    QString title() const { return title_; }

private:
    struct Cell {
        QString text;
        QString type;
        int style = 0;
    };
    void readStyles();
    void readSharedStrings();
    void readSheet();
    void readWorkbook();

    QMap<QString, QByteArray> entries_;
    QList<TXlsxFormat> fonts_;   // only the font fields are used
    QList<TXlsxFormat> fills_;
    QList<TXlsxFormat> borders_;
    QList<TXlsxFormat> styles_;
    QHash<int, QString> numberFormats_;   // by numFmtId
    QStringList strings_;
    QHash<QString, Cell> cells_;
    QStringList merges_;
    QMap<int, double> widths_;
    QMap<int, double> heights_;
    int lastRow_ = 0;
    QString title_;
    QString ignoredText_;
    TXlsxPrint print_;
};
