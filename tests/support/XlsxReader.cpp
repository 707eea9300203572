#include "XlsxReader.h"

#include "data/Format.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <zlib.h>

#include <cmath>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void Fail(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

quint32 U16(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 2 > b.size())
        Fail(u"zip: truncated"_s);
    return quint32(uchar(b.at(at))) | quint32(uchar(b.at(at + 1))) << 8;
}

quint32 U32(const QByteArray& b, qsizetype at)
{
    return U16(b, at) | U16(b, at + 2) << 16;
}

QByteArray Inflate(const QByteArray& raw, quint32 size)
{
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        Fail(u"zip: inflateInit2"_s);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.constData()));
    z.avail_in = uInt(raw.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    if (rc != Z_STREAM_END || z.total_out != size)
        Fail(u"zip: bad deflate data"_s);
    return out;
}

// Every entry of a zip file, found through its central directory.
QMap<QString, QByteArray> Unzip(const QByteArray& zip)
{
    qsizetype end = zip.size() - 22;
    while (end >= 0 && U32(zip, end) != 0x06054b50)
        --end;
    if (end < 0)
        Fail(u"zip: no end of central directory"_s);
    const quint32 count = U16(zip, end + 10);
    qsizetype at = U32(zip, end + 16);
    QMap<QString, QByteArray> entries;
    for (quint32 i = 0; i < count; ++i) {
        if (U32(zip, at) != 0x02014b50)
            Fail(u"zip: bad central directory"_s);
        const quint32 method = U16(zip, at + 10);
        const quint32 packed = U32(zip, at + 20);
        const quint32 size = U32(zip, at + 24);
        const quint32 nameLength = U16(zip, at + 28);
        const quint32 extraLength = U16(zip, at + 30);
        const quint32 commentLength = U16(zip, at + 32);
        const qsizetype local = U32(zip, at + 42);
        const QString name = QString::fromUtf8(zip.mid(at + 46, nameLength));
        at += 46 + nameLength + extraLength + commentLength;

        if (U32(zip, local) != 0x04034b50)
            Fail(u"zip: bad local header of "_s + name);
        const qsizetype data = local + 30 + U16(zip, local + 26) + U16(zip, local + 28);
        if (data + qsizetype(packed) > zip.size())
            Fail(u"zip: truncated entry "_s + name);
        const QByteArray raw = zip.mid(data, packed);
        if (method == 0)
            entries.insert(name, raw);
        else if (method == 8)
            entries.insert(name, Inflate(raw, size));
        else
            Fail(u"zip: unknown method of "_s + name);
    }
    return entries;
}

// "_x000D_" and the like stand for characters XML cannot carry.
QString Unescape(QString text)
{
    static const QRegularExpression escaped(u"_x([0-9A-Fa-f]{4})_"_s);
    if (!text.contains(u"_x"_s))
        return text;
    QString out;
    qsizetype from = 0;
    for (auto it = escaped.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(from, m.capturedStart() - from);
        out += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}

// "FFFF0000" → "FF0000".
QString Rgb(const QXmlStreamAttributes& a)
{
    const QString argb = a.value(u"rgb"_s).toString().toUpper();
    return argb.size() == 8 ? argb.mid(2) : argb;
}

// The text of the current element's <t> children, leaving out phonetic runs.
QString ReadText(QXmlStreamReader& x)
{
    QString text;
    int phonetic = 0;
    const QString closing = x.name().toString();
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == u"rPh")
                ++phonetic;
            else if (x.name() == u"t" && !phonetic)
                text += x.readElementText();
        } else if (x.isEndElement()) {
            if (x.name() == u"rPh")
                --phonetic;
            else if (x.name() == closing)
                break;
        }
    }
    return Unescape(text);
}

// "AL10005" → 10005.
int RowOf(const QString& cell)
{
    qsizetype i = 0;
    while (i < cell.size() && cell[i].isLetter())
        ++i;
    return cell.mid(i).toInt();
}

} // namespace

QString TXlsxFormat::describe(double defaultFontSize) const
{
    QStringList parts;
    if (bold)
        parts << u"bold"_s;
    if (fontSize != defaultFontSize)
        parts << u"size=%1"_s.arg(fontSize);
    if (!fontColor.isEmpty())
        parts << u"color="_s + fontColor;
    if (!horizontal.isEmpty())
        parts << u"h="_s + horizontal;
    if (!vertical.isEmpty())
        parts << u"v="_s + vertical;
    if (wrap)
        parts << u"wrap"_s;
    if (rotation)
        parts << u"rot=%1"_s.arg(rotation);
    if (!fill.isEmpty())
        parts << u"fill="_s + fill;
    if (!numberFormat.isEmpty())
        parts << u"num="_s + numberFormat;
    if (left == right && left == top && left == bottom) {
        if (!left.isEmpty())
            parts << u"border="_s + left;
    } else {
        const QString sides[4] = {left, right, top, bottom};
        const char16_t* names[4] = {u"left", u"right", u"top", u"bottom"};
        for (int i = 0; i < 4; ++i)
            if (!sides[i].isEmpty())
                parts << QString::fromUtf16(names[i]) + u'=' + sides[i];
    }
    return parts.join(u' ');
}

TXlsxReader::TXlsxReader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(path + u": "_s + file.errorString());
    entries_ = Unzip(file.readAll());
    readStyles();
    readSharedStrings();
    readSheet();
    readWorkbook();
    if (entries_.contains(u"docProps/core.xml"_s)) {
        QXmlStreamReader x(entry(u"docProps/core.xml"_s));
        while (!x.atEnd())
            if (x.readNext() == QXmlStreamReader::StartElement && x.name() == u"title")
                title_ = x.readElementText();
    }
}

QByteArray TXlsxReader::entry(const QString& name) const
{
    const auto it = entries_.constFind(name);
    if (it == entries_.cend())
        Fail(u"workbook has no "_s + name);
    return *it;
}

TXlsxFormat TXlsxReader::format(const QString& cell) const
{
    return styles_.value(cells_.value(cell).style, styles_.value(0));
}

QString TXlsxReader::kind(const QString& at) const
{
    const auto it = cells_.constFind(at);
    if (it == cells_.cend() || it->text.isEmpty())
        return {};
    if (!it->type.isEmpty() && it->type != u"n")
        return u"text"_s;
    // Date formats show days, months or years; the general one shows none.
    static const QRegularExpression date(u"[dmy]"_s, QRegularExpression::CaseInsensitiveOption);
    QString code = format(at).numberFormat;
    code.remove(QRegularExpression(u"\"[^\"]*\"|\\\\."_s));
    return code.contains(date) ? u"date"_s : u"number"_s;
}

QString TXlsxReader::text(const QString& at) const
{
    const QString k = kind(at);
    const QString stored = cells_.value(at).text;
    if (k == u"date")
        return DateToStr(QDate(1899, 12, 30).addDays(qint64(stored.toDouble())));
    if (k == u"number")
        return FloatToStr(stored.toDouble());
    return stored;
}

QList<QStringList> TXlsxReader::rowTexts(int firstRow, const QStringList& columns) const
{
    QList<QStringList> rows;
    for (int r = firstRow; r <= lastRow(); ++r) {
        QStringList texts;
        for (const QString& column : columns)
            texts << text(column + QString::number(r));
        rows << texts;
    }
    return rows;
}

double TXlsxReader::shownWidth(double stored)
{
    return (std::round(stored * 7) - 5) / 7;
}

void TXlsxReader::readStyles()
{
    QXmlStreamReader x(entry(u"xl/styles.xml"_s));
    QString list;        // fonts, fills, borders, cellXfs, ...
    TXlsxFormat item;
    while (!x.atEnd()) {
        x.readNext();
        const QStringView name = x.name();
        const QXmlStreamAttributes a = x.attributes();
        if (x.isStartElement()) {
            if (name == u"fonts" || name == u"fills" || name == u"borders" || name == u"cellXfs"
                || name == u"cellStyleXfs" || name == u"dxfs")
                list = name.toString();
            else if (name == u"font" || name == u"fill" || name == u"border")
                item = TXlsxFormat();
            else if (list == u"fonts" && name == u"b")
                item.bold = a.value(u"val"_s) != u"0";
            else if (list == u"fonts" && name == u"sz")
                item.fontSize = a.value(u"val"_s).toDouble();
            else if (list == u"fonts" && name == u"color")
                item.fontColor = Rgb(a);
            else if (list == u"fills" && name == u"patternFill")
                item.fill = a.value(u"patternType"_s) == u"solid" ? u"?"_s : QString();
            else if (list == u"fills" && name == u"fgColor" && !item.fill.isEmpty())
                item.fill = Rgb(a);
            else if (list == u"borders" && (name == u"left" || name == u"right" || name == u"top" || name == u"bottom")) {
                const QString style = a.value(u"style"_s).toString();
                (name == u"left" ? item.left : name == u"right" ? item.right : name == u"top" ? item.top : item.bottom) = style;
            } else if (name == u"numFmt") {
                numberFormats_.insert(a.value(u"numFmtId"_s).toInt(), a.value(u"formatCode"_s).toString());
            } else if (list == u"cellXfs" && name == u"xf") {
                const TXlsxFormat font = fonts_.value(a.value(u"fontId"_s).toInt());
                item = TXlsxFormat();
                const int id = a.value(u"numFmtId"_s).toInt();
                // the built-in codes 14 to 22 are dates and times
                item.numberFormat = id == 0 ? QString() : id >= 14 && id <= 22 ? u"m/d/yyyy"_s
                                                                              : numberFormats_.value(id, u"#%1"_s.arg(id));
                item.bold = font.bold;
                item.fontSize = font.fontSize;
                item.fontColor = font.fontColor;
                item.fill = fills_.value(a.value(u"fillId"_s).toInt()).fill;
                const TXlsxFormat border = borders_.value(a.value(u"borderId"_s).toInt());
                item.left = border.left;
                item.right = border.right;
                item.top = border.top;
                item.bottom = border.bottom;
            } else if (list == u"cellXfs" && name == u"alignment") {
                item.horizontal = a.value(u"horizontal"_s).toString();
                item.vertical = a.value(u"vertical"_s).toString();
                if (item.horizontal == u"general")
                    item.horizontal.clear();
                if (item.vertical == u"bottom")
                    item.vertical.clear();
                item.wrap = a.value(u"wrapText"_s) == u"1" || a.value(u"wrapText"_s) == u"true";
                item.rotation = a.value(u"textRotation"_s).toInt();
            }
        } else if (x.isEndElement()) {
            if (name == u"font")
                fonts_ << item;
            else if (name == u"fill")
                fills_ << item;
            else if (name == u"border")
                borders_ << item;
            else if (name == u"xf" && list == u"cellXfs")
                styles_ << item;
            else if (name == list)
                list.clear();
        }
    }
    if (x.hasError())
        Fail(u"styles.xml: "_s + x.errorString());
}

void TXlsxReader::readWorkbook()
{
    QXmlStreamReader x(entry(u"xl/workbook.xml"_s));
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == u"definedName"
            && x.attributes().value(u"name"_s) == u"_xlnm.Print_Titles") {
            const QString ref = x.readElementText();
            print_.titleRows = ref.mid(ref.lastIndexOf(u'!') + 1);
        }
    }
    if (x.hasError())
        Fail(u"workbook.xml: "_s + x.errorString());
}

void TXlsxReader::readSharedStrings()
{
    if (!entries_.contains(u"xl/sharedStrings.xml"_s))
        return;
    QXmlStreamReader x(entry(u"xl/sharedStrings.xml"_s));
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == u"si")
            strings_ << ReadText(x);
    }
    if (x.hasError())
        Fail(u"sharedStrings.xml: "_s + x.errorString());
}

void TXlsxReader::readSheet()
{
    QXmlStreamReader x(entry(u"xl/worksheets/sheet1.xml"_s));
    QString ref;
    Cell cell;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            const QStringView name = x.name();
            const QXmlStreamAttributes a = x.attributes();
            if (name == u"col") {
                for (int c = a.value(u"min"_s).toInt(); c <= a.value(u"max"_s).toInt(); ++c)
                    widths_[c] = a.value(u"width"_s).toDouble();
            } else if (name == u"row") {
                if (a.hasAttribute(u"ht"_s))
                    heights_[a.value(u"r"_s).toInt()] = a.value(u"ht"_s).toDouble();
            } else if (name == u"c") {
                ref = a.value(u"r"_s).toString();
                cell = Cell{QString(), a.value(u"t"_s).toString(), a.value(u"s"_s).toInt()};
                lastRow_ = std::max(lastRow_, RowOf(ref));
            } else if (name == u"v") {
                const QString v = x.readElementText();
                cell.text = cell.type == u"s" ? strings_.value(v.toInt()) : v;
            } else if (name == u"is") {
                cell.text = ReadText(x);
            } else if (name == u"mergeCell") {
                merges_ << a.value(u"ref"_s).toString();
            } else if (name == u"pageSetUpPr") {
                print_.fitToPage = a.value(u"fitToPage"_s) == u"1";
            } else if (name == u"pageSetup") {
                print_.paperSize = a.value(u"paperSize"_s).toInt();
                print_.orientation = a.value(u"orientation"_s).toString();
                if (a.hasAttribute(u"fitToWidth"_s))
                    print_.fitToWidth = a.value(u"fitToWidth"_s).toInt();
                if (a.hasAttribute(u"fitToHeight"_s))
                    print_.fitToHeight = a.value(u"fitToHeight"_s).toInt();
            } else if (name == u"oddFooter") {
                print_.footer = x.readElementText();
            } else if (name == u"ignoredError" && a.value(u"numberStoredAsText"_s) == u"1") {
                ignoredText_ = a.value(u"sqref"_s).toString();
            }
        } else if (x.isEndElement() && x.name() == u"c") {
            cells_.insert(ref, cell);
        }
    }
    if (x.hasError())
        Fail(u"sheet1.xml: "_s + x.errorString());
}
