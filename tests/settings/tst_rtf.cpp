#include "settings/rtf.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

QString allBmpUnits()
{
    QString s;
    s.reserve(0x10000);
    for (int c = 0; c <= 0xFFFF; ++c)
        s.append(QChar(char16_t(c)));
    return s;
}

QString mixedLongText()
{
    QString s;
    for (int i = 0; i < 5000; ++i) {
        s += u"Line "_s + QString::number(i) + u"\t{x}\\ \u20AC \u03A9 \U0001F600"_s;
        s += QChar(char16_t(i % 32));
        s += u'\n';
    }
    return s;
}

QByteArray repeated(QByteArrayView piece, int times)
{
    QByteArray out;
    out.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i)
        out.append(piece);
    return out;
}

} // namespace

class TestRtf : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void writerDocument();
    void fontFamilyStaysOutOfText_data();
    void fontFamilyStaysOutOfText();
    void detection_data();
    void detection();
    void reader_data();
    void reader();
    void damagedInput_data();
    void damagedInput();
    void documentsFromOtherPrograms_data();
    void documentsFromOtherPrograms();
};

void TestRtf::roundTrip_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QString();
    QTest::newRow("plain ASCII") << u"The quick brown fox jumps over the lazy dog."_s;
    QTest::newRow("lines with final newline") << u"one\ntwo\nthree\n"_s;
    QTest::newRow("lines without final newline") << u"one\ntwo\nthree"_s;
    QTest::newRow("spaces around newlines") << u" a \n b \n "_s;
    QTest::newRow("braces and backslashes") << u"{\\rtf1 \\par} \\\\ {{ }} \\'41 \\u65?"_s;
    QTest::newRow("tabs before letters and digits") << u"\tabc\t123\t\t-x\t"_s;
    QTest::newRow("digits and letters after newline") << u"a\n123\nabc\n-1"_s;
    QTest::newRow("question mark after escaped char") << u"\u03A9?x \u20AC? \u00E9?"_s;
    QTest::newRow("NUL and C0 controls")
        << QString::fromUtf16(u"\0\1\2\3\4\5\6\7\10\13\14\15\16\17\20\21\22\23\24\25\26\27"
                              u"\30\31\32\33\34\35\36\37",
                              30);
    QTest::newRow("Windows-1252 specials")
        << u"\u20AC 5 \u2014 \u201Cq\u201D \u2026 \u2030 \u0152 \u017E"_s;
    QTest::newRow("Greek and Cyrillic")
        << u"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 \u041F\u0440\u0438"_s;
    QTest::newRow("CJK") << u"\u65E5\u672C\u8A9E\u3067\u3059\u3002\uFF01"_s;
    QTest::newRow("non-BMP emoji") << u"smile \U0001F600 and \U0001F44D\n"_s;
    QTest::newRow("lone surrogates") << QString::fromUtf16(u"\xD83D x \xDE00", 5);
    QTest::newRow("every BMP code unit") << allBmpUnits();
    QTest::newRow("long mixed text") << mixedLongText();
}

void TestRtf::roundTrip()
{
    QFETCH(QString, text);
    const QByteArray rtf = writeRtf(text, u"DejaVu Sans Mono"_s, 11);
    QVERIFY(isRtf(rtf));
    QCOMPARE(readRtfText(rtf), text);
}

void TestRtf::writerDocument()
{
    const QByteArray rtf = writeRtf(u"a\u20AC\u03A9\U0001F600\n"_s, u"Noto Sans"_s, 13);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    QVERIFY(rtf.contains("{\\fonttbl{\\f0"));
    QVERIFY(rtf.contains(" Noto Sans;}}"));
    QVERIFY(rtf.contains("\\fs26 "));
    QVERIFY(rtf.contains("\\pard"));
    QVERIFY(rtf.contains("a\\'80\\u937?\\u-10179?\\u-8704?\\par"));
    QVERIFY(rtf.trimmed().endsWith('}'));
    // Other programs read it without guessing an encoding.
    for (const char c : rtf)
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
    QCOMPARE(rtf.count('{'), rtf.count('}'));
}

void TestRtf::fontFamilyStaysOutOfText_data()
{
    QTest::addColumn<QString>("family");
    QTest::newRow("plain") << u"Courier New"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("RTF specials") << u"Evil; {\\par} \\'41"_s;
    QTest::newRow("non-ASCII") << u"\u00C6rial \u03A9mega \u660E\u671D"_s;
    QTest::newRow("controls") << u"A\nB\tC"_s;
}

void TestRtf::fontFamilyStaysOutOfText()
{
    QFETCH(QString, family);
    const QString text = u"body\n"_s;
    QCOMPARE(readRtfText(writeRtf(text, family, 10)), text);
}

void TestRtf::detection_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("expected");

    QTest::newRow("document") << QByteArray("{\\rtf1\\ansi hi}") << true;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF{\\rtf1}") << true;
    QTest::newRow("leading whitespace") << QByteArray(" \t\r\n{\\rtf1}") << true;
    QTest::newRow("mark then whitespace") << QByteArray("\xEF\xBB\xBF\n {\\rtf1}") << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("plain text") << QByteArray("hello {\\rtf1}") << false;
    QTest::newRow("no brace") << QByteArray("\\rtf1 hi") << false;
    QTest::newRow("upper case") << QByteArray("{\\RTF1}") << false;
    QTest::newRow("cut short") << QByteArray("{\\rt") << false;
}

void TestRtf::detection()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, expected);
    QCOMPARE(plintex::isRtf(data), expected);
}

void TestRtf::reader_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    // Unicode characters and their fallbacks
    QTest::newRow("\\u with default one fallback")
        << QByteArray(R"({\rtf1 a\u233?b})") << u"a\u00E9b"_s;
    QTest::newRow("\\uc0 has no fallback")
        << QByteArray(R"({\rtf1\uc0 a\u233 b})") << u"a\u00E9b"_s;
    QTest::newRow("\\uc2 skips two characters")
        << QByteArray(R"({\rtf1\uc2 \u233xyz})") << u"\u00E9z"_s;
    QTest::newRow("\\uc2 with \\'hh fallback")
        << QByteArray(R"({\rtf1\uc2\u12354\'82\'a0b})") << u"\u3042b"_s;
    QTest::newRow("\\uc restored after group")
        << QByteArray(R"({\rtf1{\uc2\u233 ab}\u233 cd})") << u"\u00E9\u00E9d"_s;
    QTest::newRow("fallback ends at a brace")
        << QByteArray(R"({\rtf1\uc3\u233{x}y})") << u"\u00E9xy"_s;
    QTest::newRow("control word counts as fallback")
        << QByteArray(R"({\rtf1\u8212\endash x\u8212\foo y})") << u"\u2014x\u2014y"_s;
    QTest::newRow("negative \\u as surrogate pair")
        << QByteArray(R"({\rtf1 \u-10179?\u-8704?})") << u"\U0001F600"_s;
    QTest::newRow("\\u switching \\uc between halves")
        << QByteArray(R"({\rtf1 \uc0 \u55357\uc1 \u56832\'3f.})") << u"\U0001F600."_s;
    QTest::newRow("\\u with a whole code point")
        << QByteArray(R"({\rtf1 \u128512?})") << u"\U0001F600"_s;

    // Code pages
    QTest::newRow("\\'hh in default 1252")
        << QByteArray(R"({\rtf1 \'80\'e9\'97\'E9})") << u"\u20AC\u00E9\u2014\u00E9"_s;
    QTest::newRow("raw high bytes in 1252") << QByteArray("{\\rtf1 \x80\xe9}") << u"\u20AC\u00E9"_s;
    QTest::newRow("\\'hh in 1251")
        << QByteArray(R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8\'e2\'e5\'f2})")
        << u"\u041F\u0440\u0438\u0432\u0435\u0442"_s;
    QTest::newRow("raw bytes in 1251")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8\\par}") << u"\u041F\u0440\u0438\n"_s;
    QTest::newRow("double-byte \\'hh in 932")
        << QByteArray(R"({\rtf1\ansi\ansicpg932 \'82\'a0\'93\'fa\par})") << u"\u3042\u65E5\n"_s;
    QTest::newRow("\\'hh in 65001")
        << QByteArray(R"({\rtf1\ansicpg65001 \'c3\'a9})") << u"\u00E9"_s;
    QTest::newRow("unknown code page reads as 1252")
        << QByteArray(R"({\rtf1\ansicpg99999 \'e9})") << u"\u00E9"_s;
    QTest::newRow("\\u mixed with 1251 bytes")
        << QByteArray(R"({\rtf1\ansicpg1251 \'cf\u1088\'f0\'e8})") << u"\u041F\u0440\u0438"_s;

    // Text-producing words and symbols
    QTest::newRow("paragraph words")
        << QByteArray(R"({\rtf1 a\par b\line c\sect d})") << u"a\nb\nc\nd"_s;
    QTest::newRow("final \\par kept") << QByteArray(R"({\rtf1 a\par\par})") << u"a\n\n"_s;
    QTest::newRow("\\tab") << QByteArray(R"({\rtf1 a\tab b})") << u"a\tb"_s;
    QTest::newRow("table cells and rows")
        << QByteArray(R"({\rtf1 a\cell b\cell\row c\cell d\cell\row})") << u"a\tb\nc\td\n"_s;
    QTest::newRow("typographic words")
        << QByteArray(R"({\rtf1 \emdash\endash\lquote\rquote\ldblquote\rdblquote\bullet})")
        << u"\u2014\u2013\u2018\u2019\u201C\u201D\u2022"_s;
    QTest::newRow("control symbols")
        << QByteArray(R"({\rtf1 a\~b\-c\_d})") << u"a\u00A0bc\u2011d"_s;
    QTest::newRow("escaped characters") << QByteArray(R"({\rtf1 \\\{\}})") << u"\\{}"_s;
    QTest::newRow("backslash before line break")
        << QByteArray("{\\rtf1 a\\\nb\\\r\nc}") << u"a\nb\nc"_s;

    // Tokenizing
    QTest::newRow("one delimiting space consumed") << QByteArray(R"({\rtf1\b  two})") << u" two"_s;
    QTest::newRow("negative parameter") << QByteArray(R"({\rtf1\fi-360 x})") << u"x"_s;
    QTest::newRow("raw line breaks ignored") << QByteArray("{\\rtf1 a\r\nb\nc\rd}") << u"abcd"_s;
    QTest::newRow("unknown words ignored") << QByteArray(R"({\rtf1\foo12 x\bar\baz y})") << u"xy"_s;
    QTest::newRow("text after the document") << QByteArray(R"({\rtf1 a}b)") << u"a"_s;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF{\\rtf1 a}") << u"a"_s;

    // Destinations without text
    QTest::newRow("header tables")
        << QByteArray(
               R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1;}{\stylesheet{\s0 Normal;}}x})")
        << u"x"_s;
    QTest::newRow("nested info") << QByteArray(R"({\rtf1 a{\info{\title T{\*\x y}}{\author A}}b})")
                                 << u"ab"_s;
    QTest::newRow("ignorable destination")
        << QByteArray(R"({\rtf1 a{\*\unknown b{c}}d})") << u"ad"_s;
    QTest::newRow("field result kept")
        << QByteArray(R"({\rtf1 {\field{\*\fldinst HYPERLINK "u"}{\fldrslt link}}})") << u"link"_s;
    QTest::newRow("header and footer variants")
        << QByteArray(R"({\rtf1{\header h}{\headerl h}{\footerr f}{\footerf f}body})") << u"body"_s;
    QTest::newRow("picture") << QByteArray(R"({\rtf1 a{\pict\pngblip 89504e47}b})") << u"ab"_s;
    QTest::newRow("word processor tables")
        << QByteArray(R"({\rtf1{\*\generator G;}{\listtable{\list x}}{\listoverridetable{\o y}})"
                      R"({\*\rsidtbl \rsid1}{\*\themedata 01}{\*\latentstyles l}{\*\pgdsctbl p}t})")
        << u"t"_s;
    QTest::newRow("\\bin data skipped") << QByteArray(R"({\rtf1 a\bin4 {}}\b})") << u"ab"_s;
    QTest::newRow("\\bin inside skipped group")
        << QByteArray(R"({\rtf1 a{\*\blip\bin3 }}}}b})") << u"ab"_s;
}

void TestRtf::reader()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readRtfText(rtf), expected);
}

void TestRtf::damagedInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("extra closing braces") << QByteArray(R"({\rtf1 a}}}b)") << u"a"_s;
    QTest::newRow("closing brace before the document") << QByteArray(R"(}{\rtf1 a})") << u"a"_s;
    QTest::newRow("missing closing braces") << QByteArray(R"({\rtf1 {\b a)") << u"a"_s;
    QTest::newRow("cut after a backslash") << QByteArray(R"({\rtf1 ab\)") << u"ab"_s;
    QTest::newRow("cut in a control word") << QByteArray(R"({\rtf1 ab\pa)") << u"ab"_s;
    QTest::newRow("cut in a parameter") << QByteArray(R"({\rtf1 ab\fs2)") << u"ab"_s;
    QTest::newRow("cut in \\'hh") << QByteArray(R"({\rtf1 ab\'4)") << u"ab"_s;
    QTest::newRow("\\' with one hex digit") << QByteArray(R"({\rtf1 a\'4g})") << u"ag"_s;
    QTest::newRow("cut after \\'") << QByteArray(R"({\rtf1 ab\')") << u"ab"_s;
    QTest::newRow("cut in a \\u fallback") << QByteArray(R"({\rtf1\uc2 \u233?)") << u"\u00E9"_s;
    QTest::newRow("cut in a double-byte character")
        << QByteArray(R"({\rtf1\ansicpg932 \'82\'a0\'93)") << u"\u3042"_s;
    QTest::newRow("huge parameter")
        << QByteArray(R"({\rtf1 a\fs99999999999999999999999 b})") << u"ab"_s;
    QTest::newRow("huge \\u") << QByteArray(R"({\rtf1 a\u99999999999999999?b})") << u"a\uFFFDb"_s;
    QTest::newRow("huge \\uc") << QByteArray(R"({\rtf1{\uc99999999999\u233 abc}d})")
                               << u"\u00E9d"_s;
    QTest::newRow("\\bin past the end") << QByteArray(R"({\rtf1 a\bin999999 bc})") << u"a"_s;
    QTest::newRow("\\bin with a huge count")
        << QByteArray(R"({\rtf1 a\bin99999999999999999999 bc})") << u"a"_s;
    QTest::newRow("negative \\bin") << QByteArray(R"({\rtf1 a\bin-5 b})") << u"ab"_s;
    QTest::newRow("very long parameter")
        << QByteArray("{\\rtf1\\fs" + repeated("9", 100000) + " a}") << u"a"_s;
    QTest::newRow("very long control word")
        << QByteArray("{\\rtf1\\" + repeated("a", 100000) + " b}") << u"b"_s;
    QTest::newRow("deep nesting, balanced")
        << QByteArray(repeated("{", 1000000) + "\\rtf1 x" + repeated("}", 1000000)) << u"x"_s;
    QTest::newRow("deep nesting, never closed")
        << QByteArray("{\\rtf1 a" + repeated("{", 1000000) + "b") << u"ab"_s;
    QTest::newRow("deep nesting with a change at each level")
        << QByteArray("{\\rtf1" + repeated("{\\uc2{\\uc3", 100000) + "\\u233 wxyz") << u"\u00E9z"_s;
}

void TestRtf::damagedInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readRtfText(rtf), expected);
}

void TestRtf::documentsFromOtherPrograms_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");

    QTest::newRow("pandoc, accents and quotes")
        << u"pandoc-accents.rtf"_s
        << u"Café “déjà vu” — naïve Zoë’s piñata costs 5 €.\n"
           u"Second paragraph: Ærøskøbing, Straße, garçon… ‘fin’.\n"_s;
    // pandoc closes each cell's paragraph with \par before the \cell.
    QTest::newRow("pandoc, list and table")
        << u"pandoc-list-table.rtf"_s
        << u"Shopping:\n•\tapples\n•\tpears\n"
           u"Fruit\n\tCount\n\nApple\n\t3\n\nPear\n\t12\n\n\n"_s;
    QTest::newRow("LibreOffice, list and table")
        << u"libreoffice-list-table.rtf"_s
        << u"Shopping:\n•\tapples \n•\tpears \nFruit\tCount\nApple\t3\nPear\t12\n\n"_s;
    QTest::newRow("LibreOffice, Greek, Cyrillic and Japanese")
        << u"libreoffice-scripts.rtf"_s
        << u"Ελληνικά: καλημέρα κόσμε\n"
           u"Русский: съешь же ещё этих булок\n"
           u"日本語のテキスト、漢字とかな。\n"_s;
    QTest::newRow("LibreOffice, tab, escapes and emoji")
        << u"libreoffice-symbols.rtf"_s
        << u"Tab\there, a backslash \\ and {braces}.\n"
           u"Line two with “quotes” and an emoji 😀.\n"_s;
}

void TestRtf::documentsFromOtherPrograms()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    const QString dir = qEnvironmentVariable("PLINTEX_TEST_DATA");
    QVERIFY2(!dir.isEmpty(), "PLINTEX_TEST_DATA names no folder");
    QFile f(QDir(dir).filePath(file));
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
    const QByteArray data = f.readAll();
    QVERIFY(isRtf(data));
    QCOMPARE(readRtfText(data), expected);
}

QTEST_GUILESS_MAIN(TestRtf)
#include "tst_rtf.moc"
