#include "ops/columns/copycolumn.h"
#include "ops/columns/insertcolumn.h"
#include "ops/columns/replaceincolumn.h"
#include "runfunction.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::runFunction;

using Params = QList<std::pair<QString, QString>>;
Q_DECLARE_METATYPE(Params)

namespace {

const QString kColumnOrder = u"Column End position must\rbe greater than Start position."_s;

QStringList rows(const QString &text)
{
    return text.isEmpty() ? QStringList() : text.split(u'|');
}

} // namespace

/// Insert a Column, Copy/Move a Column, Replace in Column, Align Data into Columns and
/// Delete/Strip Out Data; the total has its own suite.
class TestColumnFunctions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void refusals_data();
    void refusals();
    void copyBand_data();
    void copyBand();
    void replaceInBand_data();
    void replaceInBand();
    void stopLeavesText_data();
    void stopLeavesText();
};

// Texts are written with "|" between lines.
void TestColumnFunctions::runs_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Params>("params");
    QTest::addColumn<QString>("result");

    const QString insert = u"Insert a Column"_s;
    QTest::newRow("insert: block longer than the text, extra lines alone")
        << insert << u"ab|cd"_s << Params{{u"block"_s, u"1\n2\n3\n4"_s}, {u"column"_s, u"2"_s}}
        << u"a1b|c2d|3|4"_s;
    QTest::newRow("insert: block shorter, the rest unchanged")
        << insert << u"ab|cd|ef"_s << Params{{u"block"_s, u"1"_s}, {u"column"_s, u"2"_s}}
        << u"a1b|cd|ef"_s;
    QTest::newRow("insert: column 0 puts the entry in front")
        << insert << u"ab|cd"_s << Params{{u"block"_s, u"x\ny"_s}, {u"column"_s, u"0"_s}}
        << u"xab|ycd"_s;
    QTest::newRow("insert: short line gets the entry at its end")
        << insert << u"ab|cdefgh"_s << Params{{u"block"_s, u"x\ny"_s}, {u"column"_s, u"5"_s}}
        << u"abx|cdefygh"_s;
    QTest::newRow("insert: symmetrical pads to the longest entry")
        << insert << u"a-z|a-z|a-z"_s
        << Params{{u"block"_s, u"1\n333\n22"_s}, {u"column"_s, u"2"_s}, {u"symmetrical"_s, u"1"_s}}
        << u"a1  -z|a333-z|a22 -z"_s;
    QTest::newRow("insert: symmetrical pads beyond 148 blanks")
        << insert << u"a-|a-"_s
        << Params{{u"block"_s, u"1\n"_s + QString(200, u'2')},
                  {u"column"_s, u"2"_s},
                  {u"symmetrical"_s, u"1"_s}}
        << u"a1"_s + QString(199, u' ') + u"-|a"_s + QString(200, u'2') + u'-';
    QTest::newRow("insert: empty block changes nothing")
        << insert << u"ab|cd"_s << Params{{u"column"_s, u"2"_s}} << u"ab|cd"_s;

    const QString replace = u"Replace in Column"_s;
    QTest::newRow("replace: two blanks to one collapses runs in the band")
        << replace << u"a     b     c"_s
        << Params{{u"search"_s, u"  "_s},
                  {u"replacement"_s, u" "_s},
                  {u"start"_s, u"1"_s},
                  {u"end"_s, u"8"_s}}
        << u"a b     c"_s;
    QTest::newRow("replace: replacement holding the search text ends after one pass")
        << replace << u"a-a|xx"_s
        << Params{{u"search"_s, u"a"_s},
                  {u"replacement"_s, u"aa"_s},
                  {u"start"_s, u"1"_s},
                  {u"end"_s, u"9"_s}}
        << u"aa-aa|xx"_s;
    QTest::newRow("replace: empty search text changes nothing")
        << replace << u"ab"_s << Params{{u"start"_s, u"1"_s}, {u"end"_s, u"3"_s}} << u"ab"_s;
    QTest::newRow("replace: search text with a line break changes nothing")
        << replace << u"a|b"_s
        << Params{{u"search"_s, u"a\nb"_s}, {u"start"_s, u"1"_s}, {u"end"_s, u"3"_s}} << u"a|b"_s;

    const QString align = u"Align Data into Columns"_s;
    QTest::newRow("align: left, the examples text")
        << align
        << u"  Line1  4444     1|Line2      22     22|    Line3 333    4444  55555|"
           u"Line4     333|Line5  333    55555 "_s
        << Params{}
        << u"Line1 4444  1|Line2 22    22|Line3 333   4444  55555|Line4 333|Line5 333   55555"_s;
    QTest::newRow("align: no blanks, right justify aligns to the longest")
        << align << u"a|  abc |ab"_s << Params{{u"right"_s, u"1"_s}} << u"  a|abc| ab"_s;
    QTest::newRow("align: no blanks, left only trims")
        << align << u"\ta|  abc "_s << Params{} << u"a|abc"_s;
    QTest::newRow("align: empty and blank lines stay empty")
        << align << u"a b||   |c"_s << Params{{u"right"_s, u"1"_s}} << u"a b|||c"_s;
    QTest::newRow("align: tab inside a field counts")
        << align << u"a\tb c|d e"_s << Params{} << u"a\tb c|d   e"_s;
    QTest::newRow("align: padding wider than 148 blanks")
        << align << (QString(200, u'x') + u" y|z y"_s) << Params{{u"right"_s, u"1"_s}}
        << QString(200, u'x') + QString(200, u' ') + u"y|"_s + QString(199, u' ') + u'z' +
               QString(200, u' ') + u'y';
    QTest::newRow("align: the text's own U+009F stays")
        << align << u"a\u009F b|c"_s << Params{} << u"a\u009F b|c"_s;

    const QString strip = u"Delete/Strip Out Data"_s;
    const auto tags = [](const QString &start, const QString &end, bool lineByLine = false) {
        return Params{
            {u"start"_s, start}, {u"end"_s, end}, {u"lineByLine"_s, lineByLine ? u"1"_s : u"0"_s}};
    };
    QTest::newRow("strip: stretch across lines joins them")
        << strip << u"ab<c|de|f>gh|i"_s << tags(u"<"_s, u">"_s) << u"abgh|i"_s;
    QTest::newRow("strip: line by line gives the same text")
        << strip << u"ab<c|de|f>gh|<i>j"_s << tags(u"<"_s, u">"_s, true) << u"abgh|j"_s;
    QTest::newRow("strip: start text with no end after it stays")
        << strip << u"a<b>c<d|e"_s << tags(u"<"_s, u">"_s) << u"ac<d|e"_s;
    QTest::newRow("strip: end text before the first start ends the run")
        << strip << u"a>b<c>d"_s << tags(u"<"_s, u">"_s) << u"a>b<c>d"_s;
    QTest::newRow("strip: letter case ignored")
        << strip << u"xABCyDEFz"_s << tags(u"abc"_s, u"def"_s) << u"xz"_s;
    QTest::newRow("strip: equal one-character texts delete nothing")
        << strip << u"axbxa"_s << tags(u"x"_s, u"x"_s) << u"axbxa"_s;
    QTest::newRow("strip: equal longer texts delete each occurrence")
        << strip << u"1ab2ab3"_s << tags(u"ab"_s, u"ab"_s) << u"123"_s;
    QTest::newRow("strip: stretch ending a line keeps the line break")
        << strip << u"a<b>|c"_s << tags(u"<"_s, u">"_s) << u"a|c"_s;
}

void TestColumnFunctions::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(Params, params);
    QFETCH(QString, result);
    const RunResult r = runFunction(function, rows(text), params);
    QVERIFY2(r.done(), qPrintable(r.message));
    QCOMPARE(r.lines.value_or(rows(text)), rows(result));
    // A search that no band can hold leaves the text and the histories alone.
    if (function == u"Replace in Column"_s)
        QCOMPARE(r.saveHistories, r.lines.has_value());
}

void TestColumnFunctions::refusals_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<Params>("params");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("undoTaken");
    const QString copy = u"Copy/Move a Column"_s;
    const QString zero = u"Column parameters can not equal 0."_s;
    QTest::newRow("copy: start 0 (before the order check)")
        << copy << Params{{u"start"_s, u"0"_s}, {u"end"_s, u"0"_s}} << zero << true;
    QTest::newRow("copy: target 0")
        << copy << Params{{u"start"_s, u"1"_s}, {u"end"_s, u"3"_s}, {u"to"_s, u"0"_s}} << zero
        << true;
    QTest::newRow("copy: end not after start")
        << copy << Params{{u"start"_s, u"3"_s}} << kColumnOrder << true;
    const QString replace = u"Replace in Column"_s;
    QTest::newRow("replace: end 0") << replace << Params{{u"search"_s, u"a"_s}, {u"end"_s, u"0"_s}}
                                    << u"Column parameters incorrectly set."_s << true;
    QTest::newRow("replace: end equal to start")
        << replace << Params{{u"search"_s, u"a"_s}, {u"start"_s, u"4"_s}, {u"end"_s, u"4"_s}}
        << kColumnOrder << true;
    const QString strip = u"Delete/Strip Out Data"_s;
    const QString texts =
        u"Enter the data to strip out and the data that ends it,\reach on one line."_s;
    QTest::newRow("strip: empty end text")
        << strip << Params{{u"start"_s, u"<"_s}} << texts << false;
    QTest::newRow("strip: start text with a line break")
        << strip << Params{{u"start"_s, u"a\nb"_s}, {u"end"_s, u">"_s}} << texts << false;
}

void TestColumnFunctions::refusals()
{
    QFETCH(QString, function);
    QFETCH(Params, params);
    QFETCH(QString, message);
    QFETCH(bool, undoTaken);
    const RunResult r = runFunction(function, {u"abc"_s, u"def"_s}, params);
    QCOMPARE(r.outcome, RunResult::Outcome::Refused);
    QCOMPARE(r.message, message);
    QCOMPARE(r.undoTaken, undoTaken);
    QVERIFY(!r.lines && !r.saveHistories);
}

void TestColumnFunctions::copyBand_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("result");
    QTest::newRow("target inside the band") << u"abcdef"_s << 2 << 5 << 3 << u"abbcdcdef"_s;
    QTest::newRow("target 1 puts the copy in front") << u"abcdef"_s << 4 << 6 << 1 << u"deabcdef"_s;
    QTest::newRow("target past the end appends") << u"abc"_s << 1 << 3 << 9 << u"abcab"_s;
    QTest::newRow("band cut by the line's end") << u"abc"_s << 2 << 10 << 1 << u"bcabc"_s;
    QTest::newRow("line shorter than start unchanged") << u"abc"_s << 4 << 6 << 1 << u"abc"_s;
}

void TestColumnFunctions::copyBand()
{
    QFETCH(QString, line);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, to);
    QFETCH(QString, result);
    columns::copyBand(line, start, end, to);
    QCOMPARE(line, result);
}

void TestColumnFunctions::replaceInBand_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("result");
    QTest::newRow("only inside the band")
        << u"Line4 999 999"_s << u"999"_s << u"000"_s << 7 << 10 << u"Line4 000 999"_s;
    QTest::newRow("straddling the start is no match")
        << u"ab999c"_s << u"999"_s << u"x"_s << 4 << 7 << u"ab999c"_s;
    QTest::newRow("straddling the end is no match")
        << u"ab999c"_s << u"999"_s << u"x"_s << 1 << 5 << u"ab999c"_s;
    QTest::newRow("longer replacement shifts the rest")
        << u"a-b-c"_s << u"-"_s << u"--"_s << 1 << 4 << u"a--b-c"_s;
    QTest::newRow("line shorter than start unchanged")
        << u"abc"_s << u"c"_s << u"x"_s << 4 << 9 << u"abc"_s;
    QTest::newRow("shorter replacement repeats on its results")
        << u"aaaab"_s << u"aa"_s << u"a"_s << 1 << 9 << u"ab"_s;
}

void TestColumnFunctions::replaceInBand()
{
    QFETCH(QString, line);
    QFETCH(QString, search);
    QFETCH(QString, replacement);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, result);
    columns::replaceInBand(line, search, replacement, start, end);
    QCOMPARE(line, result);
}

void TestColumnFunctions::stopLeavesText_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<Params>("params");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("left");
    const QString none = u"-"_s;
    QTest::newRow("insert a column")
        << u"Insert a Column"_s << Params{{u"block"_s, u"x"_s}} << 1 << none;
    QTest::newRow("copy") << u"Copy/Move a Column"_s << Params{{u"end"_s, u"2"_s}} << 1 << none;
    QTest::newRow("replace") << u"Replace in Column"_s
                             << Params{{u"search"_s, u"<"_s}, {u"end"_s, u"9"_s}} << 1 << none;
    QTest::newRow("align, in its second pass")
        << u"Align Data into Columns"_s << Params{} << 5 << none;
    QTest::newRow("strip line by line")
        << u"Delete/Strip Out Data"_s
        << Params{{u"start"_s, u"<"_s}, {u"end"_s, u">"_s}, {u"lineByLine"_s, u"1"_s}} << 1 << none;
    QTest::newRow("strip keeps the deletions made so far")
        << u"Delete/Strip Out Data"_s << Params{{u"start"_s, u"<"_s}, {u"end"_s, u">"_s}} << 1
        << u"a|b<c>"_s;
}

void TestColumnFunctions::stopLeavesText()
{
    QFETCH(QString, function);
    QFETCH(Params, params);
    QFETCH(int, steps);
    QFETCH(QString, left);
    testing::StoppedMonitor monitor(steps);
    const RunResult r =
        runFunction(function, {u"a<x>"_s, u"b<c>"_s, u"d"_s, u"e"_s}, params, {}, &monitor);
    QCOMPARE(r.outcome, RunResult::Outcome::Stopped);
    QVERIFY(!r.saveHistories);
    if (left == u"-"_s)
        QVERIFY(!r.lines);
    else
        QCOMPARE(r.lines.value_or(QStringList()), rows(left) + (QStringList{u"d"_s, u"e"_s}));
}

QTEST_GUILESS_MAIN(TestColumnFunctions)
#include "tst_columnfunctions.moc"
