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

} // namespace

class TestRtf : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void writerDocument();
    void detection_data();
    void detection();
    void reader_data();
    void reader();
    void documentsFromOtherPrograms_data();
    void documentsFromOtherPrograms();
};

void TestRtf::roundTrip_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QString();
    QTest::newRow("braces and backslashes") << u"{\\rtf1 \\par} \\\\ {{ }} \\'41 \\u65?"_s;
    QTest::newRow("tabs before letters and digits") << u"\tabc\t123\t\t-x\t"_s;
    QTest::newRow("blanks, digits and letters after line breaks") << u" a \n123\nabc\n -1\n "_s;
    QTest::newRow("question mark after escaped char") << u"\u03A9?x \u20AC? \u00E9?"_s;
    QTest::newRow("every BMP code unit, lone surrogates among them") << allBmpUnits();
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
    for (const char *piece : {"{\\fonttbl{\\f0", " Noto Sans;}}", "\\fs26 ", "\\pard",
                              "a\\'80\\u937?\\u-10179?\\u-8704?\\par"})
        QVERIFY2(rtf.contains(piece), piece);
    QVERIFY(rtf.trimmed().endsWith('}'));
    // Other programs read it without guessing an encoding.
    for (const char c : rtf)
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
    QCOMPARE(rtf.count('{'), rtf.count('}'));
    // Whatever the font's name holds stays out of the text.
    for (const QString &family : {QString(), u"Evil; {\\par} \\'41"_s,
                                  u"\u00C6rial \u03A9mega \u660E\u671D"_s, u"A\nB\tC"_s})
        QCOMPARE(readRtfText(writeRtf(u"body\n"_s, family, 10)), u"body\n"_s);
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
    const auto row = [](const char *name, const QByteArray &rtf, const QString &expected) {
        QTest::newRow(name) << rtf << expected;
    };
    // Unicode characters and their fallbacks
    row("\\u with default one fallback", R"({\rtf1 a\u233?b})", u"a\u00E9b"_s);
    row("\\uc0 has no fallback", R"({\rtf1\uc0 a\u233 b})", u"a\u00E9b"_s);
    row("\\uc2 skips two characters", R"({\rtf1\uc2 \u233xyz})", u"\u00E9z"_s);
    row("\\uc2 with \\'hh fallback", R"({\rtf1\uc2\u12354\'82\'a0b})", u"\u3042b"_s);
    row("\\uc restored after group", R"({\rtf1{\uc2\u233 ab}\u233 cd})", u"\u00E9\u00E9d"_s);
    row("fallback ends at a brace", R"({\rtf1\uc3\u233{x}y})", u"\u00E9xy"_s);
    row("control word counts as fallback", R"({\rtf1\u8212\endash x\u8212\foo y})",
        u"\u2014x\u2014y"_s);
    row("negative \\u as surrogate pair", R"({\rtf1 \u-10179?\u-8704?})", u"\U0001F600"_s);
    row("\\u switching \\uc between halves", R"({\rtf1 \uc0 \u55357\uc1 \u56832\'3f.})",
        u"\U0001F600."_s);
    row("\\u with a whole code point", R"({\rtf1 \u128512?})", u"\U0001F600"_s);
    // Code pages
    row("\\'hh in default 1252", R"({\rtf1 \'80\'e9\'97\'E9})", u"\u20AC\u00E9\u2014\u00E9"_s);
    row("raw high bytes in 1252", "{\\rtf1 \x80\xe9}", u"\u20AC\u00E9"_s);
    row("\\'hh in 1251", R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8\'e2\'e5\'f2})",
        u"\u041F\u0440\u0438\u0432\u0435\u0442"_s);
    row("raw bytes in 1251", "{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8\\par}",
        u"\u041F\u0440\u0438\n"_s);
    row("double-byte \\'hh in 932", R"({\rtf1\ansi\ansicpg932 \'82\'a0\'93\'fa\par})",
        u"\u3042\u65E5\n"_s);
    row("\\'hh in 65001", R"({\rtf1\ansicpg65001 \'c3\'a9})", u"\u00E9"_s);
    row("unknown code page reads as 1252", R"({\rtf1\ansicpg99999 \'e9})", u"\u00E9"_s);
    row("\\u mixed with 1251 bytes", R"({\rtf1\ansicpg1251 \'cf\u1088\'f0\'e8})",
        u"\u041F\u0440\u0438"_s);
    // Text-producing words and symbols
    row("paragraph words", R"({\rtf1 a\par b\line c\sect d})", u"a\nb\nc\nd"_s);
    row("final \\par kept", R"({\rtf1 a\par\par})", u"a\n\n"_s);
    row("\\tab", R"({\rtf1 a\tab b})", u"a\tb"_s);
    row("table cells and rows", R"({\rtf1 a\cell b\cell\row c\cell d\cell\row})",
        u"a\tb\nc\td\n"_s);
    row("typographic words", R"({\rtf1 \emdash\endash\lquote\rquote\ldblquote\rdblquote\bullet})",
        u"\u2014\u2013\u2018\u2019\u201C\u201D\u2022"_s);
    row("control symbols", R"({\rtf1 a\~b\-c\_d})", u"a\u00A0bc\u2011d"_s);
    row("escaped characters", R"({\rtf1 \\\{\}})", u"\\{}"_s);
    row("backslash before line break", "{\\rtf1 a\\\nb\\\r\nc}", u"a\nb\nc"_s);
    // Tokenizing
    row("one delimiting space consumed", R"({\rtf1\b  two})", u" two"_s);
    row("negative parameter", R"({\rtf1\fi-360 x})", u"x"_s);
    row("raw line breaks ignored", "{\\rtf1 a\r\nb\nc\rd}", u"abcd"_s);
    row("unknown words ignored", R"({\rtf1\foo12 x\bar\baz y})", u"xy"_s);
    row("text after the document", R"({\rtf1 a}b)", u"a"_s);
    row("byte-order mark", "\xEF\xBB\xBF{\\rtf1 a}", u"a"_s);
    // Destinations without text
    row("header tables",
        R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1;}{\stylesheet{\s0 Normal;}}x})", u"x"_s);
    row("nested info", R"({\rtf1 a{\info{\title T{\*\x y}}{\author A}}b})", u"ab"_s);
    row("ignorable destination", R"({\rtf1 a{\*\unknown b{c}}d})", u"ad"_s);
    row("field result kept", R"({\rtf1 {\field{\*\fldinst HYPERLINK "u"}{\fldrslt link}}})",
        u"link"_s);
    row("header and footer variants",
        R"({\rtf1{\header h}{\headerl h}{\footerr f}{\footerf f}body})", u"body"_s);
    row("picture", R"({\rtf1 a{\pict\pngblip 89504e47}b})", u"ab"_s);
    row("word processor tables",
        R"({\rtf1{\*\generator G;}{\listtable{\list x}}{\listoverridetable{\o y}})"
        R"({\*\rsidtbl \rsid1}{\*\themedata 01}{\*\latentstyles l}{\*\pgdsctbl p}t})",
        u"t"_s);
    row("\\bin data skipped", R"({\rtf1 a\bin4 {}}\b})", u"ab"_s);
    row("\\bin inside skipped group", R"({\rtf1 a{\*\blip\bin3 }}}}b})", u"ab"_s);

    // Damaged documents
    row("extra closing braces", R"({\rtf1 a}}}b)", u"a"_s);
    row("closing brace before the document", R"(}{\rtf1 a})", u"a"_s);
    row("missing closing braces", R"({\rtf1 {\b a)", u"a"_s);
    row("cut after a backslash", R"({\rtf1 ab\)", u"ab"_s);
    row("cut in a control word", R"({\rtf1 ab\pa)", u"ab"_s);
    row("cut in a parameter", R"({\rtf1 ab\fs2)", u"ab"_s);
    row("cut in \\'hh", R"({\rtf1 ab\'4)", u"ab"_s);
    row("\\' with one hex digit", R"({\rtf1 a\'4g})", u"ag"_s);
    row("cut after \\'", R"({\rtf1 ab\')", u"ab"_s);
    row("cut in a \\u fallback", R"({\rtf1\uc2 \u233?)", u"\u00E9"_s);
    row("cut in a double-byte character", R"({\rtf1\ansicpg932 \'82\'a0\'93)", u"\u3042"_s);
    row("huge \\u", R"({\rtf1 a\u99999999999999999?b})", u"a\uFFFDb"_s);
    row("huge \\uc", R"({\rtf1{\uc99999999999\u233 abc}d})", u"\u00E9d"_s);
    row("\\bin past the end", R"({\rtf1 a\bin999999 bc})", u"a"_s);
    row("\\bin with a huge count", R"({\rtf1 a\bin99999999999999999999 bc})", u"a"_s);
    row("negative \\bin", R"({\rtf1 a\bin-5 b})", u"ab"_s);
    row("very long parameter", "{\\rtf1\\fs" + QByteArray("9").repeated(100000) + " a}", u"a"_s);
    row("very long control word", "{\\rtf1\\" + QByteArray("a").repeated(100000) + " b}", u"b"_s);
    row("deep nesting, balanced",
        QByteArray("{").repeated(1000000) + "\\rtf1 x" + QByteArray("}").repeated(1000000), u"x"_s);
    row("deep nesting, never closed", "{\\rtf1 a" + QByteArray("{").repeated(1000000) + "b",
        u"ab"_s);
    row("deep nesting with a change at each level",
        "{\\rtf1" + QByteArray("{\\uc2{\\uc3").repeated(100000) + "\\u233 wxyz", u"\u00E9z"_s);
}

void TestRtf::reader()
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
