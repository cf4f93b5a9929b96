#include "../runfunction.h"

#include "ops/common/padding.h"
#include "ops/lines/appendreplace.h"
#include "ops/lines/dataperdata.h"
#include "ops/lines/matcher.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::runOn;
using testing::runTable;

namespace {

/// Rows "1" to "n", each on a line.
QString numbered(int n)
{
    QString text;
    for (int i = 1; i <= n; ++i)
        text += QString::number(i) + u'\n';
    return text;
}

} // namespace

/// The row functions: those that count rows and those that find them by a search text.
class TestLines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void whatTheWindowIsTold();
    void rowEdits_data();
    void rowEdits();
};

void TestLines::runs_data()
{
    const auto row = runTable();
    const QString band = u"!Row restraint To position must\rbe greater than From position."_s;
    const QString zeroStart = u"!Zero start position is invalid."_s;
    const QString increment = u"!0 or 1 increment is invalid."_s;
    const QString offset = u"!+/- offset must be a whole number,\rsuch as -2, 0 or 5."_s;
    const QString example = u"Line1 999 333\nLine2 222 999\nLine3 333 333\n"_s;
    const QString seven = u"1\n2\n3bbb\n4\n5bbb\n6\n7\n"_s;

    const QString add = u"Add Row"_s;
    row("add: band 3 to 8 on 10 rows, every 2: after rows 4 and 6 only", add, numbered(10),
        {u"data=--"_s, u"every=2"_s, u"band=3..8"_s}, u"1\n2\n3\n4\n--\n5\n6\n--\n7\n8\n9\n10\n"_s);
    row("add: block ending in a line break adds an empty row", add, numbered(2), {u"data=a\n"_s},
        u"1\na\n\n2\n"_s);
    row("add: empty block adds an empty row", add, numbered(3), {}, u"1\n\n2\n\n3\n"_s);
    row("add: huge every adds nothing", add, numbered(3), {u"every=99999999999999999999"_s},
        numbered(3));
    row("add: every 0 refused", add, numbered(3), {u"every=0"_s}, zeroStart);
    row("add: one row refused by the band first", add, u"x\n"_s, {u"every=0"_s}, band);

    const QString del = u"Delete Row"_s;
    row("delete: five rows from 1 every 2", del, numbered(5), {u"start=1"_s, u"every=2"_s},
        u"2\n4\n"_s);
    row("delete: start beyond the text deletes nothing", del, numbered(3), {u"start=4"_s},
        numbered(3));
    row("delete: band 2 to 3 makes two passes on twelve rows", del, numbered(12),
        {u"start=3"_s, u"every=3"_s, u"band=2..3"_s}, u"1\n2\n4\n5\n7\n8\n9\n10\n11\n12\n"_s);
    row("delete: huge interval deletes the first row only", del, numbered(4),
        {u"start=2"_s, u"every=99999999999999999999"_s}, u"1\n3\n4\n"_s);
    row("delete: start 0 refused before the interval", del, numbered(3),
        {u"start=0"_s, u"every=1"_s}, zeroStart);
    row("delete: interval 1 refused before the band", del, u"x\n"_s, {u"every=1"_s}, increment);
    row("delete: interval 0 refused", del, numbered(3), {u"every=0"_s}, increment);
    row("delete: one row refused by the band", del, u"x\n"_s, {}, band);

    row("blank: blank and NUL rows go, tab rows stay", u"Remove Blank Lines"_s,
        u"a\n \n\nb\n\t\n  \u0000 \nc\n"_s, {}, u"a\nb\n\t\nc\n"_s);
    row("blank: one row, no band needed", u"Remove Blank Lines"_s, u" \n"_s, {}, QString());

    const QString trim = u"Delete Leading/Trailing Blanks"_s;
    row("leading: control characters and blanks, inner blanks stay", trim,
        u"   a b \n\t\u0001x\n\t\nok\n"_s, {u"button=leading"_s}, u"a b \nx\n\nok\n"_s);
    row("trailing: band 2 to 3 only", trim, u"a \nb \nc\t\nd \n"_s,
        {u"button=trailing"_s, u"band=2..3"_s}, u"a \nb\nc\nd \n"_s);
    row("trailing: single-row band refused", trim, numbered(4),
        {u"button=trailing"_s, u"band=2..2"_s}, band);

    const QString ins = u"Insert Lines Per Data"_s;
    row("insert after: BBB does not match bbb", ins, u"abbb\nBBB\n"_s,
        {u"data=NEW"_s, u"search=bbb"_s}, u"abbb\nNEW\nBBB\n"_s);
    row("insert before, two texts in one row: one block", ins, u"a\nxy\n"_s,
        {u"data=N1\nN2"_s, u"search=x\ny"_s, u"where=before"_s}, u"a\nN1\nN2\nxy\n"_s);
    row("insert, empty block: an empty row", ins, u"a\nb\n"_s, {u"search=a"_s}, u"a\n\nb\n"_s);
    row("insert, empty search field: unchanged, one row is enough", ins, u"a\n"_s, {u"data=x"_s},
        u"a\n"_s);

    const QString dl = u"Delete Lines Per Data"_s;
    row("delete before, first row matching marks nothing", dl, u"bbb\n2\n3bbb\n"_s,
        {u"search=bbb"_s, u"which=before"_s}, u"bbb\n3bbb\n"_s);
    row("delete after, two matches in a row, last row matching marks nothing", dl,
        u"1\nk\nk\n4\nk\n"_s, {u"search=k"_s, u"which=after"_s}, u"1\nk\nk\n"_s);
    row("retain same: only matching rows", dl, seven, {u"search=bbb"_s, u"mode=retain"_s},
        u"3bbb\n5bbb\n"_s);
    row("retain: a matching row of 3010 characters is kept whole", dl,
        u"a\nbbb"_s + QString(3010, u'x'), {u"search=bbb"_s, u"mode=retain"_s},
        u"bbb"_s + QString(3010, u'x') + u'\n');
    row("delete: a row starting with the old marker is not marked", dl, u"$$del$$x\nbbb\ny\n"_s,
        {u"search=bbb"_s}, u"$$del$$x\ny\n"_s);
    row("retain: a row starting with the old marker is kept whole only when it matches", dl,
        u"$$del$$x\nbbb\n$$del$$bbb\n"_s, {u"search=bbb"_s, u"mode=retain"_s},
        u"bbb\n$$del$$bbb\n"_s);
    row("delete after, a text inside the old marker does not cascade", dl, u"del\n2\n3\n4\n"_s,
        {u"search=del"_s, u"which=after"_s}, u"del\n3\n4\n"_s);
    row("delete, empty search field: unchanged", dl, seven, {}, seven);

    const QString cut = u"Delete/Retain Line Data"_s;
    row("cut: retain after 999, offset 1, band 1 to 2", cut, example + u"999 x\n"_s,
        {u"search=999"_s, u"mode=retain"_s, u"side=after"_s, u"offset=1"_s, u"band=1..2"_s},
        u"333\n\nLine3 333 333\n999 x\n"_s);
    row("cut: offset not a number refused after the band", cut, example,
        {u"search=999"_s, u"offset=-"_s}, offset);
    row("cut: one row refused by the band first", cut, u"x\n"_s, {u"offset=x"_s}, band);
    row("cut: empty search changes nothing", cut, example, {}, example);

    const QString put = u"Insert Data Per Data"_s;
    row("put: XXX before the first 999 only", put, u"999 999\nab\n"_s,
        {u"data=XXX"_s, u"search=999"_s}, u"XXX999 999\nab\n"_s);
    row("put: offset with blanks refused", put, example,
        {u"data=X"_s, u"search=9"_s, u"offset= 1"_s}, offset);

    const QString app = u"Append Data"_s;
    const QString wide(common::kMaxSeparatorBlanks, u' ');
    row("append, unticked, 0 blanks: every row, empty ones too", app, u"a\n\nb\n"_s,
        {u"append=T"_s, u"blanks=0"_s, u"search=zz"_s}, u"aT\nT\nbT\n"_s);
    row("append, 500 blanks: exactly 500", app, u"a\nb\n"_s, {u"append=T"_s, u"blanks=500"_s},
        u"a"_s + QString(500, u' ') + u"T\nb"_s + QString(500, u' ') + u"T\n"_s);
    row("append, 99999 blanks: held at the separator's bound", app, u"a\nb\n"_s,
        {u"blanks=99999"_s}, u"a"_s + wide + u"\nb"_s + wide + u"\n"_s);
    row("append, ticked, empty search: nothing", app, u"a\nb\n"_s,
        {u"append=T"_s, u"containing=1"_s}, u"a\nb\n"_s);
    row("append: single-row band refused", app, u"a\nb\n"_s, {u"band=2..2"_s}, band);

    row("replace: band 1 to 2, empty line", u"Replace Line per Data"_s, u"999\nx999\n999\n"_s,
        {u"search=999"_s, u"band=1..2"_s}, u"\n\n999\n"_s);
}

void TestLines::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    QTEST(runOn(function, text, params), "expected");
}

// Besides the text: the band, a reset field, the caret.
void TestLines::whatTheWindowIsTold()
{
    RunResult r;
    runOn(u"Add Row"_s, numbered(6), {u"every=2"_s, u"band=2..4"_s}, &r);
    QCOMPARE(r.caret.line, 3); // start of row "To:" of the new text
    QCOMPARE(r.fields.last().value, u"4"_s);
    runOn(u"Delete Row"_s, numbered(3), {u"every=1"_s}, &r);
    QCOMPARE(r.fields, (QList<FieldWrite>{{FieldWrite::Target::Param, u"every"_s, u"2"_s}}));
    runOn(u"Remove Blank Lines"_s, numbered(3), {}, &r);
    QCOMPARE(r.caret.kind, CaretPlacement::Kind::Unchanged);
    QVERIFY(r.fields.isEmpty());
    runOn(u"Delete Lines Per Data"_s, u"a\n"_s, {u"mode=retain"_s}, &r);
    QCOMPARE(r.caret.kind, CaretPlacement::Kind::End);
}

// Each row makes its edit here and hands on what it gave.
void TestLines::rowEdits_data()
{
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("expected");
    const auto find = [](const char *name, const QStringList &texts, const QString &row,
                         bool found) {
        QTest::newRow(name) << QString::number(lines::SearchTexts(texts).foundIn(row))
                            << QString::number(found);
    };
    find("find: case differs", {u"bbb"_s}, u"3333BBB33"_s, false);
    find("find: no texts", {}, u"abc"_s, false);
    find("find: only empty lines", {u""_s, u""_s}, u"abc"_s, false);
    find("find: trailing blank is part of the text", {u"ab "_s}, u"xab"_s, false);
    find("find: second of several", {u"zz"_s, u"q"_s, u"bc"_s}, u"abcd"_s, true);
    find("find: one-character text at the end", {u"zz"_s, u"d"_s}, u"abcd"_s, true);
    find("find: several texts, first two characters shared, none whole",
         {u"PAID1"_s, u"PAID2"_s, u"PAx"_s}, u"PAID3 PAI"_s, false);
    find("find: several texts, text at the very end", {u"PAID1"_s, u"PAID2"_s}, u"xx PAID2"_s,
         true);
    find("find: several texts, characters outside Latin-1", {u"\u20AC1"_s, u"\u2192"_s},
         u"a\u20AC1"_s, true);
    find("find: a text inside another's false start", {u"abcd"_s, u"bc"_s}, u"abce"_s, true);
    find("find: suffix of a partial match", {u"hers"_s, u"she"_s, u"his"_s}, u"ushe"_s, true);
    find("find: no text, only their characters", {u"hers"_s, u"she"_s}, u"hesh ers"_s, false);
    find("find: surrogate pairs", {u"\U0001F600x"_s, u"y\U0001F600"_s}, u"ay\U0001F600"_s, true);
    // Many texts over a small alphabet, against looking for each text in turn: first characters
    // few enough to leap between, and too many for that.
    QRandomGenerator rng(3);
    const auto word = [&rng](int most, int letters = 3) {
        QString w;
        for (int k = int(rng.bounded(most)) + 1; k > 0; --k)
            w += QChar(u'a' + rng.bounded(letters));
        return w;
    };
    for (const int letters : {3, 8}) {
        QStringList texts;
        for (int i = 0; i < 40; ++i)
            texts.append(word(6, letters));
        int disagreements = 0;
        const lines::SearchTexts all(texts);
        for (int i = 0; i < 2000; ++i) {
            const QString row = word(24, letters);
            const bool any = std::any_of(texts.begin(), texts.end(),
                                         [&](const QString &t) { return row.contains(t); });
            disagreements += all.foundIn(row) != any;
        }
        QTest::addRow("find: 40 random texts of %d letters, 2000 random rows", letters)
            << QString::number(disagreements) << u"0"_s;
    }
    const auto cut = [](const char *name, QString row, bool retain, bool after, qint64 offset,
                        const QString &expected) {
        const auto side = after ? lines::Side::After : lines::Side::Before;
        QTest::newRow(name) << (lines::cutAtData(row, lines::Finder(u"999"_s), side, retain, offset)
                                    ? row
                                    : u"-"_s)
                            << expected;
    };
    const QString l1 = u"Line1 999 333"_s;
    cut("cut: delete after", l1, false, true, 0, u"Line1 999"_s);
    cut("cut: retain before, -1 takes the blank", l1, true, false, -1, u"Line1"_s);
    cut("cut: delete before, -3", l1, false, false, -3, u"e1 999 333"_s);
    cut("cut: retain before at position 1: empty", u"999 x"_s, true, false, 0, QString());
    cut("cut: retain before at position 1, -1: whole", u"999 x"_s, true, false, -1, u"999 x"_s);
    cut("cut: delete after, offset past the end: whole", l1, false, true, 50, l1);
    cut("cut: delete before, offset before the start: whole", l1, false, false, -50, l1);
    cut("cut: retain after, offset past the end: empty", l1, true, true, 99, QString());
    cut("cut: delete after on a long row cuts to its end", u"a999"_s + QString(20000, u'x'), false,
        true, 0, u"a999"_s);

    const auto put = [](const char *name, bool after, qint64 offset, const QString &expected) {
        QString row = u"Line2 222 999"_s;
        const auto side = after ? lines::Side::After : lines::Side::Before;
        QTest::newRow(name) << (lines::insertAtData(row, u"XXX", lines::Finder(u"999"_s), side,
                                                    offset)
                                    ? row
                                    : u"-"_s)
                            << expected;
    };
    put("put: after", true, 0, u"Line2 222 999XXX"_s);
    put("put: after, large offset: at the end", true, 1000, u"Line2 222 999XXX"_s);
    put("put: before, -2", false, -2, u"Line2 22XXX2 999"_s);
    put("put: before, far negative: at the front", false, -1000, u"XXXLine2 222 999"_s);
    put("put: before, offset at its bound", false, -(qint64(1) << 50), u"XXXLine2 222 999"_s);

    const auto offset = [](const char *name, const QString &text, const QString &expected) {
        const std::optional<qint64> parsed = lines::parseOffset(text);
        QTest::newRow(name) << (parsed ? QString::number(*parsed) : u"refused"_s) << expected;
    };
    offset("offset: empty reads 0", QString(), u"0"_s);
    offset("offset: negative", u"-12"_s, u"-12"_s);
    offset("offset: huge is held at a bound", u"99999999999999999999999"_s,
           QString::number(qint64(1) << 50));
    offset("offset: lone minus", u"-"_s, u"refused"_s);
    offset("offset: plus sign", u"+3"_s, u"refused"_s);
    offset("offset: minus inside", u"3-"_s, u"refused"_s);
}

void TestLines::rowEdits()
{
    QFETCH(QString, got);
    QTEST(got, "expected");
}

QTEST_GUILESS_MAIN(TestLines)
#include "tst_lines.moc"
