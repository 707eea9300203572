// The RTF reader of the announcements: what each construct gives, and that no
// malformed input crashes it or reads past its end.

#include "app/RtfText.h"

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The document as text with its formats: blocks joined by "|", a centred
// block starts "<c>", a formatted run is "[b,i,u,<points>,<colour>:text]"
// (12 points and the default colour are not named).
QString describe(const QTextDocument& doc)
{
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString s;
        const Qt::Alignment a = b.blockFormat().alignment();
        if (a & Qt::AlignHCenter)
            s += u"<c>"_s;
        else if (a & Qt::AlignRight)
            s += u"<r>"_s;
        else if (a & Qt::AlignJustify)
            s += u"<j>"_s;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat cf = f.charFormat();
            QStringList tags;
            if (cf.fontWeight() == QFont::Bold)
                tags << u"b"_s;
            if (cf.fontItalic())
                tags << u"i"_s;
            if (cf.fontUnderline())
                tags << u"u"_s;
            if (cf.fontPointSize() != 12)
                tags << QString::number(cf.fontPointSize());
            if (cf.foreground().style() != Qt::NoBrush)
                tags << cf.foreground().color().name();
            s += tags.isEmpty() ? f.text() : u'[' + tags.join(u',') + u':' + f.text() + u']';
        }
        blocks << s;
    }
    return blocks.join(u'|');
}

QString convert(const QByteArray& rtf)
{
    QTextDocument doc;
    RtfToDocument(rtf, doc);
    return describe(doc);
}

} // namespace

class TestRtf : public QObject {
    Q_OBJECT
private slots:
    void constructs_data();
    void constructs();
    void rtfIsRecognisedByItsHeader();
    void malformedInputNeverCrashes();
};

void TestRtf::constructs_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("header tables skipped, paragraph")
        << QByteArray(R"({\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0\fnil\fcharset204 Arial;}}\viewkind4\uc1\pard\f0\fs24 Hello\par})")
        << u"Hello|"_s;
    QTest::newRow("alignment ends with pard")
        << QByteArray(R"({\rtf1\qc Title\par\pard Body\par\qr Sign})") << u"<c>Title|Body|<r>Sign"_s;
    QTest::newRow("bold italic underline and their ends")
        << QByteArray(R"({\rtf1 a\b b\b0 c\i d\i0 \ul e\ulnone f{\ul g}h\uldb i\ul0 j})")
        << u"a[b:b]c[i:d][u:e]f[u:g]h[u:i]j"_s;
    QTest::newRow("groups restore the format")
        << QByteArray(R"({\rtf1 {\b {\i a}b}c})") << u"[b,i:a][b:b]c"_s;
    QTest::newRow("font size in half-points")
        << QByteArray(R"({\rtf1\fs32 big\fs20 small\fs0 still})") << u"[16:big][10:smallstill]"_s;
    QTest::newRow("plain resets")
        << QByteArray(R"({\rtf1\b\i\fs40 x\plain y})") << u"[b,i,20:x]y"_s;
    QTest::newRow("colour table")
        << QByteArray(R"({\rtf1{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;}\cf1 red\cf2 blue\cf0 auto\cf9 none})")
        << u"[#ff0000:red][#0000ff:blue]autonone"_s;
    QTest::newRow("cp1251 escapes")
        << QByteArray(R"({\rtf1 \'cf\'f0\'e8\'e2\'e5\'f2, \'C0\'c1\'e0}\'ff)") << u"Привет, АБа"_s;
    QTest::newRow("unicode with fallback")
        << QByteArray(R"({\rtf1 \u1055?\u1088?\uc2\u1080\'3f\'3f x\uc0\u1081 y})") << u"При xйy"_s;
    QTest::newRow("unicode negative and surrogates")
        << QByteArray(R"({\rtf1\u-255?\u-10179?\u-8704?})") << u"！😀"_s;
    QTest::newRow("fallback stops at a brace")
        << QByteArray(R"({\rtf1\uc3\u1044{x}y})") << u"Дxy"_s;
    QTest::newRow("line tab and escaped symbols")
        << QByteArray(R"({\rtf1 a\line b\tab c \{d\} e\\f\~g})") << u"a\u2028b\tc {d} e\\f\u00A0g"_s;
    QTest::newRow("unknown destinations skipped")
        << QByteArray(R"({\rtf1{\*\generator Riched20;}{\info{\author X}}{\stylesheet{\s0 Normal;}})"
                      R"({\pict\pngblip 89504e47}{\*\unknown zzz}{\field{\*\fldinst HYPERLINK "u"}{\fldrslt keep}}})")
        << u"keep"_s;
    QTest::newRow("binary data is not text")
        << QByteArray(R"({\rtf1 a{\pict\bin4 }{}}b}c})") << u"ac"_s;
    QTest::newRow("raw line breaks ignored, escaped ones are paragraphs")
        << QByteArray("{\\rtf1 a\r\nb\\\nc}") << u"ab|c"_s;
    QTest::newRow("unbalanced open groups")
        << QByteArray(R"({\rtf1 a{\b b)") << u"a[b:b]"_s;
    QTest::newRow("text after the document group")
        << QByteArray(R"({\rtf1 a}}}b)") << u"a"_s;
    QTest::newRow("truncated hex escape")
        << QByteArray(R"({\rtf1 a\'c)") << u"a"_s;
    QTest::newRow("bad hex escape")
        << QByteArray(R"({\rtf1 a\'zzb\'4)") << u"azzb"_s;
    QTest::newRow("backslash at the end")
        << QByteArray(R"({\rtf1 a\)") << u"a"_s;
    QTest::newRow("huge numbers")
        << QByteArray(R"({\rtf1\fs99999999999999999999 a\cf99999999999 b\u99999999999 c\u-99999999999 d\uc99999999999 e\bin99999999999 f})")
        << u"abe"_s;
    QTest::newRow("control characters dropped")
        << QByteArray("{\\rtf1 a\\'00\\'07\\u8233?\\u65532?b}") << u"a\u2028\uFFFDb"_s;
    // clang-format on
}

void TestRtf::constructs()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, shown);
    QCOMPARE(convert(rtf), shown);
}

void TestRtf::rtfIsRecognisedByItsHeader()
{
    QVERIFY(isRtf("{\\rtf1\\ansi x}"));
    QVERIFY(isRtf("{\\rtf"));
    QVERIFY(!isRtf(" {\\rtf1 x}"));
    QVERIFY(!isRtf("{\\RTF1 x}"));
    QVERIFY(!isRtf("Привет"));
    QVERIFY(!isRtf(""));
}

void TestRtf::malformedInputNeverCrashes()
{
    const QByteArray sample = R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0 Arial;}}{\colortbl ;\red255\green0\blue0;})"
                              R"(\pard\qc\b\fs28\cf1 \'c2\'ed\'e8\'ec\'e0\'ed\'e8\'e5!\b0\par\pard\ul\i x\u1044?\line)"
                              R"({\*\x y}{\pict\bin3 {{{}\tab\{\}\\ z\par})";
    QTextDocument doc;
    // Every truncation of a real document.
    for (qsizetype n = 0; n <= sample.size(); ++n)
        RtfToDocument(sample.left(n), doc);
    // Deep nesting, in both directions.
    RtfToDocument("{\\rtf1 " + QByteArray(200000, '{') + "x", doc);
    QCOMPARE(doc.toPlainText(), u"x"_s);
    RtfToDocument("{\\rtf1 x" + QByteArray(200000, '}'), doc);
    QCOMPARE(doc.toPlainText(), u"x"_s);
    // Random mixtures of the characters that mean something in RTF.
    const QByteArray alphabet = "{}\\\\\\'*;-0123456789abcdefuclpqrsbintx \r\n\x80\xcf\xff";
    QRandomGenerator rng(1251);
    for (int round = 0; round < 3000; ++round) {
        QByteArray input = "{\\rtf1 ";
        const int length = rng.bounded(1, 120);
        for (int i = 0; i < length; ++i)
            input += alphabet.at(rng.bounded(int(alphabet.size())));
        RtfToDocument(input, doc);
        // Mutations of the real document.
        QByteArray mutated = sample;
        for (int k = 0; k < 4; ++k)
            mutated[rng.bounded(int(mutated.size()))] = alphabet.at(rng.bounded(int(alphabet.size())));
        RtfToDocument(mutated, doc);
    }
}

QTEST_MAIN(TestRtf)
#include "test_rtf.moc"
