#include "../runfunction.h"
#include "randomtext.h"

#include "ops/lines/replacewithlist.h"

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::linesOf;
using testing::runOn;
using testing::runTable;

namespace {

const QString kMark = u"Mark Duplicate Lines"_s;
const QString kList = u"Replace Data with Data List"_s;

QString textOf(const QStringList &rows)
{
    QString text;
    for (const QString &row : rows)
        text += row + u'\n';
    return text;
}

/// Marking spelled out plainly: each row against every later row, the rows marked in place.
QString markedRowAgainstRow(QStringList a, bool ignoreBlanks)
{
    const auto key = [](const QString &row) {
        qsizetype begin = 0, end = row.size();
        while (begin < end && row[begin].unicode() <= 32)
            ++begin;
        while (end > begin && row[end - 1].unicode() <= 32)
            --end;
        return row.mid(begin, end - begin);
    };
    for (QString &row : a) {
        while (ignoreBlanks && row.contains(u"  "_s))
            row.replace(u"  "_s, u" "_s);
    }
    const QStringList b = a;
    int group = 1;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString k = key(a[i]);
        bool later = false;
        for (qsizetype j = i + 1; j < b.size(); ++j)
            later = later || key(b[j]) == k;
        if (!later || k.isEmpty())
            continue;
        const QString first = a[i];
        for (qsizetype j = a.size() - 1; j >= i; --j) {
            if (key(a[j]) == k)
                a[j] = QString::number(group) + u"-->"_s + first;
        }
        ++group;
    }
    return textOf(a);
}

/// Where `s` stands in `row` from `from` without parting a surrogate pair at either end.
qsizetype findWhole(const QString &row, const QString &s, qsizetype from)
{
    const auto cuts = [&row](qsizetype at) {
        return at > 0 && at < row.size() && row[at - 1].isHighSurrogate() &&
               row[at].isLowSurrogate();
    };
    for (qsizetype i = from; !s.isEmpty() && i + s.size() <= row.size(); ++i) {
        if (QStringView(row).sliced(i, s.size()) == s && !cuts(i) && !cuts(i + s.size()))
            return i;
    }
    return -1;
}

/// The run spelled out plainly: for each entry, the rows searched from the top.
QString replacedTopDown(QStringList rows, const QString &s, const QStringList &entries)
{
    for (const QString &entry : entries) {
        for (QString &row : rows) {
            if (findWhole(row, s, 0) < 0)
                continue;
            QString out;
            for (qsizetype i = 0; i < row.size();) {
                const qsizetype at = findWhole(row, s, i);
                const qsizetype end = at < 0 ? row.size() : at;
                out += QStringView(row).sliced(i, end - i);
                if (at >= 0)
                    out += entry;
                i = at < 0 ? end : at + s.size();
            }
            row = out;
            break;
        }
    }
    return textOf(rows);
}

/// Random words over a few characters, surrogate halves among them.
class Words : public testing::RandomPieces {
public:
    using RandomPieces::RandomPieces;
    QString word(int most) { return pieces(below(most + 1)); }
    QStringList words(int most, int longest)
    {
        QStringList all;
        for (int k = below(most + 1); k > 0; --k)
            all.append(word(longest));
        return all;
    }
};

} // namespace

/// "Mark Duplicate Lines" and "Replace Data with Data List".
class TestMarkAndList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void markGivesThePartsResult();
    void listGivesTheTopDownResult_data();
    void listGivesTheTopDownResult();
    void runawayGrowthIsRefused();
};

void TestMarkAndList::runs_data()
{
    const auto row = runTable();
    // Blanks, tabs and the groups are checked against the plain loop below, and the list
    // against its plain rule; these rows are what random texts do not reach.
    row("mark: letter case differs: no duplicates", kMark, u"Ab\nab\n"_s, {}, u"Ab\nab\n"_s);
    row("mark: rows beyond Latin-1 and within it", kMark,
        u"\u20AC a\n\u00E9\n\u20AC a\n\u00E9 \n"_s, {},
        u"1-->\u20AC a\n2-->\u00E9\n1-->\u20AC a\n2-->\u00E9\n"_s);
    row("mark: text already marked: grouped as it stands, each row marked once", kMark,
        u"a\n1-->a\na\n1-->a\n"_s, {}, u"1-->a\n2-->1-->a\n1-->a\n2-->1-->a\n"_s);
    row("mark: a stop leaves the text as it was", kMark, u"a\na\nb\n"_s, {u"stop=4"_s},
        u"stopped"_s);
    row("remove markers: everything up to the first marker goes", kMark,
        u"2-->Line2 222\nx-->y-->z\nplain\n"_s, {u"button=remove"_s},
        u"Line2 222\ny-->z\nplain\n"_s);

    const QString rows = u"Line1 222 333\nLine2 222 999\n"_s;
    row("list: S twice in a row: the same entry at both, the next entry to the next row", kList,
        u"a 222 222\nb 222\n"_s, {u"search=222"_s, u"list=v\nw"_s}, u"a v v\nb w\n"_s);
    row("list: upper-case S is another text", kList, u"ab\nAB\n"_s, {u"search=AB"_s, u"list=x"_s},
        u"ab\nx\n"_s);
    row("list: a stop request does not end it", kList, rows,
        {u"search=222"_s, u"list=x"_s, u"stop=0"_s}, u"Line1 x 333\nLine2 222 999\n"_s);
}

void TestMarkAndList::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    QTEST(runOn(function, text, params), "expected");
}

// The measuring pass and the row pass against the plain row-against-every-later-row loop.
void TestMarkAndList::markGivesThePartsResult()
{
    Words words({u"a"_s, u"b"_s, u" "_s, u"\t"_s}, 17);
    for (int i = 0; i < 3000; ++i) {
        const QStringList rows = words.words(12, 5);
        const bool ignore = i % 2;
        const QString got =
            runOn(kMark, textOf(rows), {u"ignoreBlanks="_s + QString::number(ignore)});
        QCOMPARE(got, markedRowAgainstRow(rows, ignore));
    }
}

// The row pass, which never looks back, against the search from the top for every entry;
// entries holding S and S formed around the entries, surrogate halves among the characters.
// Rows rebuilt whole (as short rows are), in pieces, and either way as it comes.
void TestMarkAndList::listGivesTheTopDownResult_data()
{
    QTest::addColumn<qint64>("wholeFactor");
    QTest::newRow("whole") << lines::ReplacedRow::kWholeFactor;
    QTest::newRow("pieces") << qint64(0);
    QTest::newRow("mixed") << qint64(1);
}

void TestMarkAndList::listGivesTheTopDownResult()
{
    QFETCH(qint64, wholeFactor);
    const FunctionEntry &f = *catalogue().byName(kList);
    Words words({u"a"_s, u"b"_s, u"\xD83D"_s, u"\xDE00"_s}, 29);
    for (int i = 0; i < 5000; ++i) {
        RunInput input;
        input.lines = words.words(6, 8);
        const QStringList rows = input.lines;
        const QString s = words.word(3);
        const QStringList entries = words.words(8, 3);
        input.params = ParamValues::defaults(f.params());
        input.params.set(u"search"_s, s);
        input.params.set(u"list"_s, entries.isEmpty() ? QString() : entries.join(u'\n') + u'\n');
        SilentMonitor monitor;
        const RunResult r = runRowPass(
            [wholeFactor](const PassStart &start) {
                return lines::replaceWithListPlan(start, qint64(1) << 30, wholeFactor);
            },
            std::move(input), monitor);
        QCOMPARE(textOf(r.lines.value_or(QStringList())), replacedTopDown(rows, s, entries));
    }
}

void TestMarkAndList::runawayGrowthIsRefused()
{
    const FunctionEntry &f = *catalogue().byName(kList);
    RunInput input;
    input.lines = {u"b"_s, u"xa"_s, u"a"_s};
    input.params = ParamValues::defaults(f.params());
    input.params.set(u"search"_s, u"a"_s);
    input.params.set(u"list"_s, u"aa\n"_s.repeated(60));
    SilentMonitor monitor;
    const RunResult r = runRowPass(
        [](const PassStart &start) { return lines::replaceWithListPlan(start, 1 << 20); },
        std::move(input), monitor);
    QCOMPARE(r.outcome, RunResult::Outcome::Refused);
    QVERIFY(r.message.contains(u"memory"_s));
    QVERIFY(!r.lines);
}

QTEST_GUILESS_MAIN(TestMarkAndList)
#include "tst_marklist.moc"
