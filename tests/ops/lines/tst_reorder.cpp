#include "../runfunction.h"

#include "ops/common/collation.h"
#include "ops/lines/replicate.h"

#include <QRandomGenerator>

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::runOn;
using testing::runTable;

namespace {

const QString kSort = u"Sort Ascending/Descending"_s;

/// Runs with LC_ALL set to `locale`, as a user of that language would start the program.
class LocaleScope {
public:
    explicit LocaleScope(const QByteArray &locale) : m_old(qgetenv("LC_ALL"))
    {
        qputenv("LC_ALL", locale);
    }
    ~LocaleScope() { qputenv("LC_ALL", m_old); }

private:
    QByteArray m_old;
};

QString eightRows()
{
    QString text;
    for (int i = 1; i <= 8; ++i)
        text += u"r%1\n"_s.arg(i);
    return text;
}

} // namespace

/// The functions that reorder the whole text: Sort Ascending/Descending, Shuffle Data and
/// Replicate Data.
class TestReorder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void collatesAsItsLanguage_data();
    void collatesAsItsLanguage();
    void largeSortMatchesAPlainOne_data();
    void largeSortMatchesAPlainOne();
    void shuffleRefusalLeavesUndoAndPointer();
    void replicaFitsMemory_data();
    void replicaFitsMemory();
};

void TestReorder::runs_data()
{
    const auto row = runTable();
    const QString asc = u"button=ascending"_s;
    const QString desc = u"button=descending"_s;
    const QString rev = u"button=reverse"_s;
    row("sort: column 7 on Line1 zzz, Line2 aaa", kSort, u"Line1 zzz\nLine2 aaa\n"_s,
        {asc, u"column=7"_s}, u"Line2 aaa\nLine1 zzz\n"_s);
    row("sort: equal keys go by the whole row", kSort, u"Line2 aaa\nLine1 AAA\n"_s,
        {asc, u"column=7"_s}, u"Line1 AAA\nLine2 aaa\n"_s);
    row("sort: rows shorter than the column first", kSort, u"xx b\nxx a\nx\n"_s,
        {asc, u"column=4"_s}, u"x\nxx a\nxx b\n"_s);
    row("sort: rows shorter than the column last, descending", kSort, u"xx b\nx\nxx a\n"_s,
        {desc, u"column=4"_s}, u"xx b\nxx a\nx\n"_s);
    row("sort: blank, tab and control-only rows go", kSort, u"b\n \n\t\n\n\u0001\u0002\na\n"_s,
        {asc}, u"a\nb\n"_s);
    row("sort: only blank rows leave nothing", kSort, u" \n\n"_s, {asc}, QString());
    row("sort: column 0 counts as 1", kSort, u"b\na\n"_s, {asc, u"column=0"_s}, u"a\nb\n"_s);
    row("sort: rows equal but for case keep their order", kSort, u"b\nB\nA\na\nb\n"_s, {asc},
        u"A\na\nb\nB\nb\n"_s);
    row("sort: descending is the exact reverse, ties included", kSort, u"b\nB\nA\na\nb\n"_s, {desc},
        u"b\nB\nb\na\nA\n"_s);
    row("sort: identical rows are all kept", kSort, u"x\ny\nx\nx\n"_s, {asc}, u"x\nx\nx\ny\n"_s);
    row("sort: BEL BS BEL inside a row survive", kSort, u"b\u0007\u0008\u0007z\na\u0007\n"_s, {asc},
        u"a\u0007\nb\u0007\u0008\u0007z\n"_s);
    row("sort: lone surrogates are kept", kSort, u"a\xD800\na\nb\xDC00\n"_s, {asc},
        u"a\na\xD800\nb\xDC00\n"_s);
    row("sort: column inside a surrogate pair starts after it", kSort, u"yyc\nx\U0001F600b\n"_s,
        {asc, u"column=3"_s}, u"x\U0001F600b\nyyc\n"_s);
    row("sort: column 4294967298 is past every row, not column 2", kSort, u"b1\na2\n"_s,
        {asc, u"column=4294967298"_s}, u"a2\nb1\n"_s);
    row("sort: stop leaves the text", kSort, u"b\na\n"_s, {asc, u"stop=0"_s}, u"stopped"_s);
    row("reverse: column 3 on A-1, B-2, C-3 keeps the heads", kSort, u"A-1\nB-2\nC-3\n"_s,
        {rev, u"column=3"_s}, u"A-3\nB-2\nC-1\n"_s);
    row("reverse: a row shorter than the column keeps its text as head", kSort, u"abc\nx\n"_s,
        {rev, u"column=2"_s}, u"a\nxbc\n"_s);
    row("reverse: blank rows stay", kSort, u"a\n\n b\n"_s, {rev}, u" b\n\na\n"_s);
    row("reverse: column inside a surrogate pair", kSort, u"\U0001F600x\nab\n"_s,
        {rev, u"column=2"_s}, u"\U0001F600b\nax\n"_s);
    row("reverse: column 4294967298 moves nothing", kSort, u"ab\ncd\n"_s,
        {rev, u"column=4294967298"_s}, u"ab\ncd\n"_s);
    row("reverse: stop leaves the text", kSort, u"a\nb\n"_s, {rev, u"column=2"_s, u"stop=1"_s},
        u"stopped"_s);

    const QString shuffle = u"Shuffle Data"_s;
    const QString k1 = u"!no undo: Begin row count must be greater than one."_s;
    row("shuffle: K 3 on eight rows repeats the overlap", shuffle, eightRows(), {u"lowerRow=3"_s},
        u"r1\nr3\nr2\nr4\nr3\nr5\nr4\nr6\nr5\nr7\nr6\nr8\n"_s);
    row("shuffle: K 7 on eight rows", shuffle, eightRows(), {u"lowerRow=7"_s},
        u"r1\nr7\nr2\nr8\n"_s);
    row("shuffle: K past the last row empties the text", shuffle, eightRows(), {u"lowerRow=9"_s},
        QString());
    row("shuffle: K 4294967298 is past the last row, not row 2", shuffle, eightRows(),
        {u"lowerRow=4294967298"_s}, QString());
    row("shuffle: K 1 refused", shuffle, eightRows(), {u"lowerRow=1"_s}, k1);
    row("shuffle: K 0 refused", shuffle, eightRows(), {u"lowerRow=0"_s}, k1);
    row("shuffle: empty text", shuffle, QString(), {u"lowerRow=2"_s}, QString());
    row("shuffle: stop leaves the text", shuffle, eightRows(), {u"lowerRow=2"_s, u"stop=2"_s},
        u"stopped"_s);

    const QString replicate = u"Replicate Data"_s;
    row("replicate: blank rows are copied too", replicate, u"a\n\n"_s, {u"copies=2"_s},
        u"a\n\na\n\n"_s);
    row("replicate: N 1 leaves the text", replicate, u"a\n"_s, {u"copies=1"_s}, u"a\n"_s);
    row("replicate: N 0 leaves the text", replicate, u"a\n"_s, {u"copies=0"_s}, u"a\n"_s);
    row("replicate: empty text stays empty", replicate, QString(), {u"copies=5"_s}, QString());
    row("replicate: more copies than memory holds refused", replicate, u"0123456789\n"_s,
        {u"copies=100000000000000000"_s},
        u"!Replicating the text that often would need more memory\rthan is free. Enter a "
        u"smaller count."_s);
    row("replicate: stop leaves the text", replicate, u"a\n"_s, {u"copies=2"_s, u"stop=0"_s},
        u"stopped"_s);
}

void TestReorder::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    const LocaleScope english("en_US.UTF-8");
    QTEST(runOn(function, text, params), "expected");
}

void TestReorder::collatesAsItsLanguage_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString names = u"Zed\nÖlund\nPia\nolund\nÄrla\nAsa\nÅsa\n"_s;
    QTest::newRow("german: Ö beside O, Ä beside A")
        << "de_DE.UTF-8"_ba << names << u"Ärla\nAsa\nÅsa\nolund\nÖlund\nPia\nZed\n"_s;
    QTest::newRow("swedish: Å, Ä, Ö after Z")
        << "sv_SE.UTF-8"_ba << names << u"Asa\nolund\nPia\nZed\nÅsa\nÄrla\nÖlund\n"_s;
    QTest::newRow("french: accents with their letters")
        << "fr_FR.UTF-8"_ba << u"Zoé\nEva\nÉmile\nété\nete\n"_s << u"Émile\nete\nété\nEva\nZoé\n"_s;
    QTest::newRow("C: English, not code points")
        << "C"_ba << u"Zed\napple\néclair\nEcho\n"_s << u"apple\nEcho\néclair\nZed\n"_s;
    QTest::newRow("POSIX: English") << "POSIX"_ba << u"Zed\napple\n"_s << u"apple\nZed\n"_s;
}

void TestReorder::collatesAsItsLanguage()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, text);
    const LocaleScope scope(locale);
    QTEST(runOn(kSort, text, {u"button=ascending"_s}), "expected");
}

void TestReorder::largeSortMatchesAPlainOne_data()
{
    QTest::addColumn<int>("column");
    QTest::newRow("whole rows") << 1;
    QTest::newRow("from column 3, ties by the whole row") << 3;
}

// Enough rows to be sorted on every core in buckets, with ties of every kind: the order must
// be the one a plain stable sort by key, then whole row, gives.
void TestReorder::largeSortMatchesAPlainOne()
{
    QFETCH(int, column);
    const LocaleScope english("en_US.UTF-8");
    QRandomGenerator rng(17);
    const QString letters = u"aAbBéÉz -"_s;
    QStringList rows;
    for (int i = 0; i < 30000; ++i) {
        QString row;
        for (int k = rng.bounded(7); k > 0; --k)
            row += letters[rng.bounded(int(letters.size()))];
        rows += row;
    }
    QString text = rows.join(u'\n') + u'\n';

    const QCollator collator = common::rowCollator();
    QStringList kept;
    for (const QString &row : std::as_const(rows)) {
        if (!row.trimmed().isEmpty())
            kept += row;
    }
    const auto key = [column](const QString &row) {
        return QStringView(row).sliced(std::min<qsizetype>(column - 1, row.size()));
    };
    std::stable_sort(kept.begin(), kept.end(), [&](const QString &a, const QString &b) {
        const int byKey = collator.compare(key(a), key(b));
        return byKey < 0 || (byKey == 0 && collator.compare(a, b) < 0);
    });
    QCOMPARE(runOn(kSort, text, {u"button=ascending"_s, u"column=%1"_s.arg(column)}),
             kept.join(u'\n') + u'\n');
}

void TestReorder::shuffleRefusalLeavesUndoAndPointer()
{
    RunResult r;
    runOn(u"Shuffle Data"_s, eightRows(), {u"lowerRow=1"_s}, &r);
    QVERIFY(!r.undoTaken);
    QVERIFY(!r.movesPointer);
}

void TestReorder::replicaFitsMemory_data()
{
    QTest::addColumn<qint64>("lines");
    QTest::addColumn<qint64>("characters");
    QTest::addColumn<qint64>("copies");
    QTest::addColumn<bool>("fits");
    // 1,000,000 lines of 60 characters take 184 MB a copy.
    QTest::newRow("10 copies of 1M lines in 2 GB") << 1000000LL << 60000000LL << 10LL << true;
    QTest::newRow("11 copies of 1M lines in 2 GB") << 1000000LL << 60000000LL << 11LL << false;
    QTest::newRow("1,000,000 copies of 60 MB") << 1000000LL << 60000000LL << 1000000LL << false;
    QTest::newRow("copies near 2^63") << 1LL << 1LL << (1LL << 62) << false;
    QTest::newRow("an empty text, any count") << 0LL << 0LL << (1LL << 62) << true;
}

void TestReorder::replicaFitsMemory()
{
    QFETCH(qint64, lines);
    QFETCH(qint64, characters);
    QFETCH(qint64, copies);
    QTEST(lines::replicaFits(lines, characters, copies, 2000000000LL), "fits");
}

QTEST_GUILESS_MAIN(TestReorder)
#include "tst_reorder.moc"
