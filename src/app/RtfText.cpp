#include "app/RtfText.h"

#include <QColor>
#include <QList>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

namespace {

// The characters of the single-byte code page of the announcements.
const std::array<char16_t, 256>& cp1251()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            QStringDecoder decoder("windows-1251");
            const char byte = char(b);
            const QString s = decoder.isValid() ? decoder.decode(QByteArrayView(&byte, 1)) : QString();
            if (s.size() == 1)
                t[b] = s.at(0).unicode();
            else
                t[b] = b < 0x80 ? char16_t(b) : char16_t(0xFFFD);
        }
        return t;
    }();
    return table;
}

enum class Dest { Text, ColorTable, Skip };

// What a group carries: character and paragraph properties and where its text goes.
struct State {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;
    int color = 0;
    int uc = 1;
    Qt::Alignment align = Qt::AlignLeft;
    Dest dest = Dest::Text;
};

// Groups deeper than this share the state of the deepest one kept.
constexpr std::size_t kMaxDepth = 512;
// Control words are at most 32 letters; longer runs are still consumed.
constexpr qsizetype kMaxWord = 32;

// Destinations whose text is not part of the document.
const char* const kSkippedDestinations[] = {
    "fonttbl", "stylesheet", "info", "pict", "object", "objdata", "objclass", "header", "headerl", "headerr",
    "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "listtable",
    "listoverridetable", "revtbl", "rsidtbl", "generator", "xmlnstbl", "themedata", "colorschememapping",
    "latentstyles", "datastore", "filetbl", "pntext", "pntxta", "pntxtb", "bkmkstart", "bkmkend",
    "nonshppict", "shppict", "shp", "shpinst", "sp", "sn", "sv", "annotation", "atnid", "atnauthor",
    "comment", "doccomm", "author", "title", "subject", "operator", "keywords", "company", "category",
    "template", "xe", "tc", "txe", "rxe", "userprops", "mmathPr", "pgdsctbl", "ftnsep", "ftnsepc", "ftncn",
    "aftnsep", "aftnsepc", "aftncn", "panose", "falt", "fname", "private", "blipuid", "listtext",
};

const char* const kUnderlineOn[] = {
    "ul", "uld", "uldb", "uldash", "uldashd", "uldashdd", "ulth", "ulw", "ulwave", "ulhwave", "ululdbwave",
    "ulldash", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
};

template <std::size_t N>
bool oneOf(const QByteArray& word, const char* const (&list)[N])
{
    return std::any_of(std::begin(list), std::end(list), [&](const char* w) { return word == w; });
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class RtfReader {
public:
    RtfReader(const QByteArray& rtf, QTextDocument& doc) : in_(rtf), cursor_(&doc) {}

    void run()
    {
        const qsizetype n = in_.size();
        while (pos_ < n && !finished_) {
            const char c = in_.at(pos_);
            if (c == '{') {
                ++pos_;
                openGroup();
            } else if (c == '}') {
                ++pos_;
                closeGroup();
            } else if (c == '\\') {
                ++pos_;
                control();
            } else {
                ++pos_;
                if (c == '\r' || c == '\n')
                    continue;
                if (skipFallback())
                    continue;
                emitChar(QChar(cp1251()[uchar(c)]));
            }
        }
        if (!finished_)
            finish();
    }

private:
    // ---- groups ----------------------------------------------------------

    void openGroup()
    {
        fallback_ = 0;
        if (stack_.size() >= kMaxDepth) {
            ++overflow_;
            return;
        }
        stack_.push_back(st_);
    }

    void closeGroup()
    {
        fallback_ = 0;
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (stack_.empty())
            return; // a closing brace without an opening one
        if (stack_.size() == 1) {
            // The document's own group is closed: its last paragraph ends
            // with the properties it has, and anything after it is not read.
            finish();
            return;
        }
        st_ = stack_.back();
        stack_.pop_back();
        formatDirty_ = true;
    }

    void finish()
    {
        flush();
        setBlockAlignment();
        finished_ = true;
    }

    // ---- control words and symbols ---------------------------------------

    void control()
    {
        const qsizetype n = in_.size();
        if (pos_ >= n)
            return; // a backslash at the very end
        const char c = in_.at(pos_);
        if (isLetter(c)) {
            const qsizetype start = pos_;
            while (pos_ < n && isLetter(in_.at(pos_)))
                ++pos_;
            const QByteArray word = in_.mid(start, std::min(pos_ - start, kMaxWord));
            bool hasParam = false;
            bool negative = false;
            long long value = 0;
            if (pos_ + 1 < n && in_.at(pos_) == '-' && isDigit(in_.at(pos_ + 1))) {
                negative = true;
                ++pos_;
            }
            while (pos_ < n && isDigit(in_.at(pos_))) {
                hasParam = true;
                if (value <= INT_MAX)
                    value = value * 10 + (in_.at(pos_) - '0');
                ++pos_;
            }
            if (pos_ < n && in_.at(pos_) == ' ')
                ++pos_;
            value = std::min<long long>(value, INT_MAX);
            const int param = int(negative ? -value : value);
            if (word == "bin") {
                // Raw binary data follows; it is never text.
                if (hasParam && param > 0)
                    pos_ += std::min<qsizetype>(param, n - pos_);
                return;
            }
            if (skipFallback())
                return;
            controlWord(word, hasParam, param);
            return;
        }
        ++pos_;
        switch (c) {
        case '\'': {
            const int hi = pos_ < n ? hexValue(in_.at(pos_)) : -1;
            if (hi < 0)
                return;
            ++pos_;
            const int lo = pos_ < n ? hexValue(in_.at(pos_)) : -1;
            if (lo < 0)
                return;
            ++pos_;
            if (skipFallback())
                return;
            emitChar(QChar(cp1251()[hi * 16 + lo]));
            return;
        }
        case '\\':
        case '{':
        case '}':
            if (!skipFallback())
                emitChar(QLatin1Char(c));
            return;
        case '~':
            if (!skipFallback())
                emitChar(QChar(0x00A0));
            return;
        case '_':
            if (!skipFallback())
                emitChar(QChar(0x2011));
            return;
        case '\t':
            if (!skipFallback())
                emitChar(QLatin1Char('\t'));
            return;
        case '*':
            st_.dest = Dest::Skip; // an ignorable destination
            return;
        case '\r':
        case '\n':
            if (!skipFallback())
                paragraph();
            return;
        default:
            skipFallback(); // "\-" (optional hyphen), "\:" and unknown symbols
            return;
        }
    }

    void controlWord(const QByteArray& w, bool hasParam, int param)
    {
        if (st_.dest == Dest::Skip)
            return;
        if (st_.dest == Dest::ColorTable) {
            const int component = std::clamp(param, 0, 255);
            if (w == "red") {
                red_ = component;
                colorSet_ = true;
            } else if (w == "green") {
                green_ = component;
                colorSet_ = true;
            } else if (w == "blue") {
                blue_ = component;
                colorSet_ = true;
            }
            return;
        }
        const bool on = !hasParam || param != 0;
        if (w == "colortbl") {
            st_.dest = Dest::ColorTable;
            colors_.clear();
            red_ = green_ = blue_ = 0;
            colorSet_ = false;
        } else if (oneOf(w, kSkippedDestinations)) {
            st_.dest = Dest::Skip;
        } else if (w == "par" || w == "sect" || w == "page") {
            paragraph();
        } else if (w == "pard") {
            st_.align = Qt::AlignLeft;
        } else if (w == "ql") {
            st_.align = Qt::AlignLeft;
        } else if (w == "qr") {
            st_.align = Qt::AlignRight;
        } else if (w == "qc") {
            st_.align = Qt::AlignHCenter;
        } else if (w == "qj") {
            st_.align = Qt::AlignJustify;
        } else if (w == "plain") {
            st_.bold = st_.italic = st_.underline = false;
            st_.halfPoints = 24;
            st_.color = 0;
            formatDirty_ = true;
        } else if (w == "b") {
            st_.bold = on;
            formatDirty_ = true;
        } else if (w == "i") {
            st_.italic = on;
            formatDirty_ = true;
        } else if (w == "ulnone") {
            st_.underline = false;
            formatDirty_ = true;
        } else if (oneOf(w, kUnderlineOn)) {
            st_.underline = on;
            formatDirty_ = true;
        } else if (w == "fs") {
            // Half-points; sizes no text can have are ignored.
            if (hasParam && param >= 2 && param <= 2000) {
                st_.halfPoints = param;
                formatDirty_ = true;
            }
        } else if (w == "cf") {
            st_.color = hasParam ? param : 0;
            formatDirty_ = true;
        } else if (w == "uc") {
            st_.uc = std::clamp(hasParam ? param : 1, 0, 255);
        } else if (w == "u") {
            if (!hasParam)
                return;
            const int code = param < 0 ? param + 65536 : param;
            if (code >= 0 && code <= 0xFFFF)
                emitChar(QChar(char16_t(code)));
            fallback_ = st_.uc;
        } else if (w == "line") {
            emitChar(QChar::LineSeparator);
        } else if (w == "tab") {
            emitChar(QLatin1Char('\t'));
        } else if (w == "emdash") {
            emitChar(QChar(0x2014));
        } else if (w == "endash") {
            emitChar(QChar(0x2013));
        } else if (w == "bullet") {
            emitChar(QChar(0x2022));
        } else if (w == "lquote") {
            emitChar(QChar(0x2018));
        } else if (w == "rquote") {
            emitChar(QChar(0x2019));
        } else if (w == "ldblquote") {
            emitChar(QChar(0x201C));
        } else if (w == "rdblquote") {
            emitChar(QChar(0x201D));
        } else if (w == "emspace") {
            emitChar(QChar(0x2003));
        } else if (w == "enspace") {
            emitChar(QChar(0x2002));
        }
        // Every other word (fonts, page setup, \rtf, \ansicpg ...) changes nothing shown here.
    }

    /// Skips one character of the fallback text of the last \uN; true when it did.
    bool skipFallback()
    {
        if (fallback_ <= 0)
            return false;
        --fallback_;
        return true;
    }

    // ---- output ----------------------------------------------------------

    void emitChar(QChar ch)
    {
        if (st_.dest == Dest::Skip)
            return;
        if (st_.dest == Dest::ColorTable) {
            if (ch == QLatin1Char(';')) {
                colors_ << (colorSet_ ? QColor(red_, green_, blue_) : QColor());
                red_ = green_ = blue_ = 0;
                colorSet_ = false;
            }
            return;
        }
        const char16_t u = ch.unicode();
        if (u < 0x20 && u != u'\t')
            return;
        // Characters the document reserves for its own structure.
        if (u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFC || u == 0xFFFE || u == 0xFFFF)
            ch = QChar(0xFFFD);
        else if (u == 0x2029)
            ch = QChar::LineSeparator;
        if (formatDirty_) {
            const QTextCharFormat f = charFormat();
            if (f != format_) {
                flush();
                format_ = f;
            }
            formatDirty_ = false;
        }
        pending_ += ch;
    }

    QTextCharFormat charFormat() const
    {
        QTextCharFormat f;
        f.setFontWeight(st_.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(st_.italic);
        f.setFontUnderline(st_.underline);
        f.setFontPointSize(st_.halfPoints / 2.0);
        if (st_.color > 0 && st_.color < colors_.size() && colors_.at(st_.color).isValid())
            f.setForeground(colors_.at(st_.color));
        return f;
    }

    void flush()
    {
        if (pending_.isEmpty())
            return;
        // A surrogate without its partner cannot be shown.
        for (qsizetype i = 0; i < pending_.size(); ++i) {
            const QChar c = pending_.at(i);
            if (c.isHighSurrogate() && i + 1 < pending_.size() && pending_.at(i + 1).isLowSurrogate()) {
                ++i;
                continue;
            }
            if (c.isSurrogate())
                pending_[i] = QChar(0xFFFD);
        }
        cursor_.insertText(pending_, format_);
        pending_.clear();
    }

    void setBlockAlignment()
    {
        QTextBlockFormat bf = cursor_.blockFormat();
        bf.setAlignment(st_.align);
        cursor_.setBlockFormat(bf);
    }

    void paragraph()
    {
        if (st_.dest != Dest::Text)
            return;
        flush();
        setBlockAlignment();
        cursor_.insertBlock(QTextBlockFormat(), charFormat());
    }

    const QByteArray& in_;
    qsizetype pos_ = 0;
    QTextCursor cursor_;
    State st_;
    std::vector<State> stack_;
    std::size_t overflow_ = 0;
    bool finished_ = false;
    int fallback_ = 0;

    QList<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSet_ = false;

    QString pending_;
    QTextCharFormat format_;
    bool formatDirty_ = true;
};

} // namespace

bool isRtf(const QByteArray& bytes)
{
    return bytes.startsWith("{\\rtf");
}

void RtfToDocument(const QByteArray& rtf, QTextDocument& doc)
{
    doc.clear();
    RtfReader(rtf, doc).run();
}
