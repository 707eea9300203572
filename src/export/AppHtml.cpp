#include "export/AppHtml.h"

#include "base/Error.h"
#include "base/Progress.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// windows-1251 byte of every character of the Basic Multilingual Plane, 0 for a
// character it cannot hold (U+0000 is written as the byte 0 all the same: ASCII
// never looks here). Taken from the system's codec once.
class TCp1251Table {
public:
    TCp1251Table()
    {
        bytes_.fill(0);
        QStringDecoder decoder("windows-1251");
        for (int b = 0x80; b <= 0xFF; ++b) {
            const QByteArray one(1, char(b));
            const QString s = decoder.decode(one);
            if (decoder.hasError() || s.size() != 1 || s[0] == QChar::ReplacementCharacter) {
                decoder.resetState();
                continue;
            }
            // Only a character that also encodes back to the same byte is taken.
            QStringEncoder encoder("windows-1251");
            const QByteArray back = encoder.encode(s);
            if (!encoder.hasError() && back == one)
                bytes_[s[0].unicode()] = std::uint8_t(b);
        }
    }
    std::uint8_t operator[](char16_t c) const { return bytes_[c]; }

private:
    std::array<std::uint8_t, 0x10000> bytes_;
};

const TCp1251Table& cp1251()
{
    static const TCp1251Table table;
    return table;
}

// The HTML text in windows-1251, gathered in a buffer and handed to the device in
// large pieces.
class THtmlOut {
public:
    explicit THtmlOut(QIODevice& device) : device_(device), table_(cp1251())
    {
        buffer_.reserve(Chunk + 4096);
    }

    // ASCII markup as it stands.
    void ascii(const QByteArray& text) { buffer_.append(text); }
    // A text of the program's own, encoded but not escaped.
    void fixed(QStringView text) { encode(text, false); }
    // A text from outside (a field, the event name): escaped and encoded.
    void escaped(QStringView text) { encode(text, true); }
    void number(int n) { buffer_.append(QByteArray::number(n)); }

    void endLine()
    {
        buffer_.append("\r\n", 2);
        if (buffer_.size() >= Chunk)
            flush();
    }
    void line(const QByteArray& text)
    {
        ascii(text);
        endLine();
    }
    void fixedLine(QStringView text)
    {
        fixed(text);
        endLine();
    }

    void flush()
    {
        if (buffer_.isEmpty())
            return;
        if (device_.write(buffer_) != buffer_.size())
            throw EExportError(u"Не удалось записать файл: "_s + device_.errorString(), TExportFailure::Write);
        buffer_.clear();
    }

private:
    static constexpr qsizetype Chunk = 1 << 16;

    // Writes straight into the buffer's spare room: one character of the text
    // gives at most 8 bytes ("&#65533;"; a surrogate pair gives at most 10 for
    // its two).
    void encode(QStringView text, bool escape)
    {
        const qsizetype start = buffer_.size();
        buffer_.resize(start + 8 * text.size());
        char* const begin = buffer_.data() + start;
        char* out = begin;
        const char16_t* p = text.utf16();
        const char16_t* const end = p + text.size();
        const auto put = [&out](const char* s, int n) {
            std::memcpy(out, s, n);
            out += n;
        };
        const auto reference = [&out](char32_t code) {
            *out++ = '&';
            *out++ = '#';
            char digits[8];
            int n = 0;
            do {
                digits[n++] = char('0' + code % 10);
                code /= 10;
            } while (code != 0);
            while (n > 0)
                *out++ = digits[--n];
            *out++ = ';';
        };
        while (p < end) {
            const char16_t c = *p++;
            if (c < 0x80) {
                if (escape) {
                    switch (c) {
                    case '&': put("&amp;", 5); continue;
                    case '<': put("&lt;", 4); continue;
                    case '>': put("&gt;", 4); continue;
                    case '"': put("&quot;", 6); continue;
                    default: break;
                    }
                }
                *out++ = char(c);
            } else if (const std::uint8_t b = table_[c]) {
                *out++ = char(b);
            } else if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p)) {
                reference(QChar::surrogateToUcs4(c, *p++));
            } else if (QChar::isSurrogate(c)) {
                reference(QChar::ReplacementCharacter);
            } else {
                reference(c);
            }
        }
        buffer_.resize(start + (out - begin));
    }

    QIODevice& device_;
    const TCp1251Table& table_;
    QByteArray buffer_;
};

// The fixed pieces of one column's data cell: the opening before the text and
// the closing after it, in both variants of a marked column.
struct TCellForm {
    QByteArray open;
    QByteArray close;
    QByteArray openMarked;
    QByteArray closeMarked;
    bool marked = false;
};

QByteArray tint(bool tinted)
{
    return tinted ? QByteArray(" bgcolor=\"FFFFCC\"") : QByteArray();
}

TCellForm cellForm(const TAppForm& form, const TAppColumn& c)
{
    TCellForm cell;
    QByteArray td = "<td" + tint(form.groups.at(c.group).tinted);
    if (c.htmlCentred)
        td += " align=\"center\"";
    td += '>';
    cell.open = td;
    cell.close = "</td>";
    if (c.small) {
        cell.open += "<font size=\"2\">";
        cell.close.prepend("</font>");
    }
    cell.marked = c.marked;
    cell.openMarked = cell.open + "<Font color=\"red\">";
    cell.closeMarked = "</font>" + cell.close;
    return cell;
}

} // namespace

TAppRowReader appRows(QList<QStringList> rows)
{
    return heldRows(std::move(rows));
}

void writeAppHtml(QIODevice& device, const TAppForm& form, const QString& eventName, int count,
                  const TAppRowReader& rows, TProgressSink& progress)
{
    progress.setRange(0, count);
    THtmlOut out(device);
    const QByteArray all = QByteArray::number(form.columns.size());

    out.line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
    out.line("<html>");
    out.line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">");
    out.line("<form Name=\"resultTest\">");
    out.line("<head>");
    out.fixedLine(u"<title>Тальвира</title>");
    out.line("</head>");
    out.line("<body>");
    out.line("<table align=\"CENTER\" border=\"1\" cellspacing=\"0\" cellpadding=\"0\">");

    const auto wide = [&](const auto& write) {
        out.line("<tr>");
        out.ascii("<th colspan=\"" + all + "\">");
        write();
        out.line("</th>");
        out.line("</tr>");
    };
    wide([&] { out.fixed(form.ministry); });
    wide([&] { out.fixed(form.centre); });
    wide([&] {
        out.escaped(eventName);
        out.fixed(form.htmlHeadingTail);
    });

    out.line("<tr>");
    for (const TAppGroup& g : form.groups) {
        out.ascii("<th colspan=\"" + QByteArray::number(g.count()) + '"' + tint(g.tinted) + '>');
        out.fixed(g.title);
        out.line("</th>");
    }
    out.line("</tr>");

    out.line("<tr>");
    for (const TAppColumn& c : form.columns) {
        out.ascii("<th" + tint(form.groups.at(c.group).tinted) + '>');
        out.fixed(c.title);
        out.line("</th>");
    }
    out.line("</tr>");

    QList<TCellForm> cells;
    for (int n = 2; n <= form.columns.size(); ++n)
        cells.append(cellForm(form, form.column(n)));
    const QString& marked = TAppForm::markedText();

    progress.setStepText(u"Импорт данных..."_s);
    QStringList texts;
    int k = 0;
    while (rows(texts)) {
        if (texts.size() != cells.size())
            throw EExportError(u"Строка заявки содержит %1 полей вместо %2"_s.arg(texts.size()).arg(cells.size()));
        ++k;
        out.line("<tr>");
        out.ascii("<td>");
        out.number(k);
        out.line(".</td>");
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const TCellForm& cell = cells[i];
            const QString& text = texts[i];
            const bool red = cell.marked && text == marked;
            out.ascii(red ? cell.openMarked : cell.open);
            out.escaped(text);
            out.line(red ? cell.closeMarked : cell.close);
        }
        out.line("</tr>");
        progress.setPosition(k);
    }
    progress.setPosition(0);
    progress.hideStep();

    out.line("</table>");
    out.line("</body>");
    out.line("</form>");
    out.line("</html>");
    out.flush();
}
