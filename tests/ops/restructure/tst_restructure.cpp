#include "../runfunction.h"
#include "ops/restructure/incrementing.h"

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::runOn;
using testing::runTable;

namespace {

/// Rows "x" (or `row`), `n` of them, each on a line; `label(i)` put in front of row i from 1.
QString rows(int n, const std::function<QString(int)> &label = {}, const QString &row = u"x"_s)
{
    QString text;
    for (int i = 1; i <= n; ++i)
        text += (label ? label(i) : QString()) + row + u'\n';
    return text;
}

QString blanks(qsizetype n)
{
    return QString(n, u' ');
}

} // namespace

/// Concatenation, incrementing numbers and letters, and Insert CR.
class TestRestructure : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void letterLabels_data();
    void letterLabels();
    void lettersRunOutOnceAndKeepTheRest();
};

void TestRestructure::runs_data()
{
    const auto row = runTable();
    const QString band = u"!Row restraint To position must\rbe greater than From position."_s;
    const QString beyond32 = u"4294967298"_s; // 2^32 + 2

    const QString vertical = u"Vertical Concatenation"_s;
    row("vertical: R = 1 joins each line with itself, the marker first", vertical, u"a\nbb\n"_s,
        {u"lower=1"_s, u"separator=1"_s}, u"---concat---\na a\nbb bb\n"_s);
    row("vertical: R = 0 joins each line with the one before, no marker", vertical, u"a\nb\nc\n"_s,
        {u"lower=0"_s, u"separator=1"_s}, u"a \nb a\nc b\n"_s);
    row("vertical: R = line count + 1, the marker follows the last line", vertical, u"a\nb\n"_s,
        {u"lower=3"_s, u"separator=2"_s}, u"a  \nb  \n---concat---\n"_s);
    row("vertical: R far past the end, no partner and no marker", vertical, u"a\nb\n"_s,
        {u"lower=99999999999999999999"_s, u"separator=1"_s}, u"a \nb \n"_s);
    row("vertical: B = 0 joins with no blank", vertical, u"a\nb\nc\n"_s, {u"lower=2"_s},
        u"ab\n---concat---\nbc\nc\n"_s);
    row("vertical: a separator of 200 blanks is 200 blanks", vertical, u"a\nb\n"_s,
        {u"lower=2"_s, u"separator=200"_s},
        u"a"_s + blanks(200) + u"b\n---concat---\nb"_s + blanks(200) + u'\n');
    row("vertical: symmetrical, right justified: both members to the longest line", vertical,
        u"a\nbbb\nc\n"_s, {u"lower=2"_s, u"separator=1"_s, u"symmetrical=1"_s, u"right=1"_s},
        u"  a bbb\n---concat---\nbbb   c\n  c \n"_s);
    row("vertical: symmetrical padding wider than 148 blanks", vertical,
        QString(200, u'x') + u"\na\n"_s, {u"lower=2"_s, u"symmetrical=1"_s},
        QString(200, u'x') + u'a' + blanks(199) + u"\n---concat---\na"_s + blanks(199) + u'\n');
    row("vertical: right justify without symmetrical changes nothing", vertical, u"a\nbb\n"_s,
        {u"lower=2"_s, u"right=1"_s}, u"abb\n---concat---\nbb\n"_s);
    row("vertical: stop in the width pass", vertical, u"a\nb\n"_s,
        {u"symmetrical=1"_s, u"stop=1"_s}, u"stopped"_s);
    row("vertical: stop in the joining pass", vertical, u"a\nb\n"_s, {u"stop=1"_s}, u"stopped"_s);

    const QString horizontal = u"Horizontal Concatenation"_s;
    row("horizontal: 5 rows by 2, the last group short", horizontal, u"1\n2\n3\n4\n5\n"_s, {},
        u"12\n34\n5\n"_s);
    row("horizontal: a group of 2^32 + 2 joins every row into one", horizontal, u"a\nb\nc\n"_s,
        {u"rows="_s + beyond32, u"separator=1"_s}, u"a b c \n"_s);
    row("horizontal: symmetrical pads each member to the longest line", horizontal,
        u"a\nbbb\ncc\n"_s, {u"symmetrical=1"_s, u"separator=1"_s}, u"a   bbb \ncc  \n"_s);
    row("horizontal: symmetrical, right justified", horizontal, u"a\nbbb\ncc\n"_s,
        {u"symmetrical=1"_s, u"right=1"_s}, u"  abbb\n cc\n"_s);
    row("horizontal: a separator beyond the bound yields 10,000 blanks", horizontal, u"a\nb\n"_s,
        {u"separator=12000"_s}, u"a"_s + blanks(10000) + u'b' + blanks(10000) + u'\n');
    row("horizontal: group size 1 refused", horizontal, u"a\nb\n"_s, {u"rows=1"_s},
        u"!Row position must be greater than 1."_s);
    row("horizontal: group size 0 refused", horizontal, u"a\nb\n"_s, {u"rows=0"_s},
        u"!Row position must be greater than 1."_s);
    row("horizontal: stop in the width pass", horizontal, u"a\nb\n"_s,
        {u"symmetrical=1"_s, u"stop=1"_s}, u"stopped"_s);

    const QString numbers = u"Insert Incrementing Numbers"_s;
    const auto number = [](int i) { return QString::number(i); };
    row("numbers: step 2 on rows 1 to 10: rows 1, 3, 5, 7, 9 get 1 to 5", numbers, rows(10),
        {u"step=2"_s}, rows(10, [](int i) { return i % 2 ? QString::number(i / 2 + 1) : u""_s; }));
    row("numbers: symmetrical on 100 rows: 001 to 100", numbers, rows(100), {u"symmetrical=1"_s},
        rows(100, [](int i) { return u"%1"_s.arg(i, 3, 10, QChar(u'0')); }));
    row("numbers: symmetrical on 9 rows: no zero padding", numbers, rows(9), {u"symmetrical=1"_s},
        rows(9, number));
    row("numbers: symmetrical width from the band's rows, not the numbers", numbers, rows(12),
        {u"symmetrical=1"_s, u"start=7"_s, u"step=5"_s, u"band=2..11"_s},
        u"x\n07x\nx\nx\nx\nx\n08x\nx\nx\nx\nx\nx\n"_s);
    row("numbers: start 0 gives 0 first", numbers, rows(2), {u"start=0"_s}, u"0x\n1x\n"_s);
    row("numbers: a start of 25 digits counts on", numbers, rows(2),
        {u"start=9999999999999999999999999"_s},
        u"9999999999999999999999999x\n10000000000000000000000000x\n"_s);
    row("numbers: column past the end appends", numbers, u"ab\ncd\n"_s, {u"column=9"_s},
        u"ab1\ncd2\n"_s);
    row("numbers: replace length past the end replaces the rest", numbers, u"abcd\nefgh\n"_s,
        {u"column=2"_s, u"replace=1"_s, u"length=99"_s}, u"a1\ne2\n"_s);
    row("numbers: a length with the box clear deletes nothing", numbers, u"abcd\nefgh\n"_s,
        {u"column=2"_s, u"length=2"_s}, u"a1bcd\ne2fgh\n"_s);
    row("numbers: band 2 to 3 only", numbers, rows(4), {u"band=2..3"_s}, u"x\n1x\n2x\nx\n"_s);
    row("numbers: a step of 2^32 + 2 labels the first row only", numbers, rows(3),
        {u"step="_s + beyond32}, u"1x\nx\nx\n"_s);
    row("numbers: step 0 refused", numbers, rows(2), {u"step=0"_s},
        u"!Zero start column / row position is invalid."_s);
    row("numbers: column 0 refused before the band", numbers, u"x\n"_s, {u"column=0"_s},
        u"!Zero start column / row position is invalid."_s);
    row("numbers: one row refused", numbers, u"x\n"_s, {}, band);
    row("numbers: stop", numbers, rows(2), {u"stop=1"_s}, u"stopped"_s);

    const QString letters = u"Insert Incrementing Letters"_s;
    row("letters: step 2 on rows 1 to 10: a to e", letters, rows(10), {u"step=2"_s},
        rows(10, [](int i) { return i % 2 ? QString(QChar(u'a' + i / 2)) : u""_s; }));
    row("letters: step 0 labels row From only", letters, rows(3), {u"step=0"_s, u"band=2..3"_s},
        u"x\nax\nx\n"_s);
    row("letters: capitals, over one character", letters, u"12\n34\n"_s,
        {u"capitals=1"_s, u"column=2"_s, u"replace=1"_s, u"length=1"_s}, u"1A\n3B\n"_s);
    row("letters: a pair beyond U+FFFF is replaced whole", letters, u"a\U0001F600b\nc\n"_s,
        {u"column=2"_s, u"replace=1"_s, u"length=1"_s}, u"aab\ncb\n"_s);
    row("letters: column 0 refused", letters, rows(2), {u"column=0"_s},
        u"!Zero start column position is invalid."_s);
    row("letters: one row refused", letters, u"x\n"_s, {}, band);

    const QString cr = u"Insert CR"_s;
    row("cr: caret in column 1 refused before the undo snapshot", cr, u"abc\n"_s, {},
        u"!no undo: Column position must be greater than 1."_s);
    row("cr: broken after the last blank that fits, which stays", cr, u"the quick brown fox\n"_s,
        {u"caret=1..10"_s}, u"the quick \nbrown fox\n"_s);
    row("cr: a run without blanks cut where it no longer fits", cr, u"abcdefghij\n"_s,
        {u"caret=1..4"_s}, u"abcd\nefgh\nij\n"_s);
    row("cr: blank just past the width starts the next segment", cr, u"abcd efg\n"_s,
        {u"caret=1..4"_s}, u"abcd\n efg\n"_s);
    row("cr: a run of blanks at a break is kept whole", cr, u"ab    cd\n"_s, {u"caret=1..4"_s},
        u"ab  \n  cd\n"_s);
    row("cr: empty, short and exactly fitting lines unchanged", cr, u"\nab\nabcd\n"_s,
        {u"caret=3..4"_s}, u"\nab\nabcd\n"_s);
    row("cr: a pair beyond U+FFFF is never split", cr, u"a\U0001F600b\n"_s, {u"caret=1..2"_s},
        u"a\U0001F600\nb\n"_s);
}

void TestRestructure::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    QTEST(runOn(function, text, params), "expected");
}

void TestRestructure::letterLabels_data()
{
    QTest::addColumn<qint64>("index");
    QTest::addColumn<QString>("label");
    QTest::newRow("1st") << qint64(0) << u"a"_s;
    QTest::newRow("26th") << qint64(25) << u"z"_s;
    QTest::newRow("27th") << qint64(26) << u"aa"_s;
    QTest::newRow("702nd") << qint64(701) << u"zz"_s;
    QTest::newRow("703rd") << qint64(702) << u"aaa"_s;
    QTest::newRow("18,278th") << qint64(18277) << u"zzz"_s;
    QTest::newRow("18,279th: none") << qint64(18278) << QString();
}

void TestRestructure::letterLabels()
{
    QFETCH(qint64, index);
    QTEST(restructure::letterLabel(index, false), "label");
}

// Past zzz the warning comes once, and the rows labelled so far are kept.
void TestRestructure::lettersRunOutOnceAndKeepTheRest()
{
    RunResult r;
    const QString text = runOn(u"Insert Incrementing Letters"_s, rows(18280), {}, &r);
    QVERIFY(r.done());
    QCOMPARE(r.notices, QStringList{u"Three level maximum reached."_s});
    QVERIFY(text.endsWith(u"\nzzyx\nzzzx\nx\nx\n"_s));
}

QTEST_GUILESS_MAIN(TestRestructure)
#include "tst_restructure.moc"
