#include "ops/search/textsearch.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;
using search::TextFinder;

namespace {

/// Stops when asked about the row it is set to.
class StopAtRow final : public RunMonitor {
public:
    explicit StopAtRow(double row) : m_row(row) {}
    void begin(double, Gauge) override {}
    void advance(double position) override { m_at = position; }
    bool stopRequested() override { return m_at >= m_row; }

private:
    double m_row;
    double m_at = 0;
};

} // namespace

/// Finding and replacing in the rows of a text, as the find and replace windows do.
class TestTextSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findNext_data();
    void findNext();
    void caselessFindsWhatQtFinds();
    void replaceAll_data();
    void replaceAll();
    void replaceAllInPieces();
};

void TestTextSearch::findNext_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("fromColumn");
    QTest::addColumn<int>("row"); // -1: not found
    QTest::addColumn<int>("column");
    QTest::newRow("longer than the text") << u"abc"_s << u"abcd"_s << false << 0 << -1 << 0;
    QTest::newRow("Kelvin sign folds to k") << u"ok \u212Aey"_s << u"KEY"_s << false << 0 << 0 << 3;
    QTest::newRow("surrogate pair case ignored")
        << u"a \U00010428x"_s << u"\U00010400X"_s << false << 0 << 0 << 2;
    QTest::newRow("a line break") << u"ab\ncd"_s << u"\n"_s << true << 0 << 0 << 2;
    QTest::newRow("empty text") << u"ab"_s << QString() << false << 0 << -1 << 0;
    QTest::newRow("many near misses")
        << QString(u"A"_s.repeated(5000) + u"bAAAA"_s) << u"aaaabaaaa"_s << false << 0 << 0 << 4996;
}

void TestTextSearch::findNext()
{
    QFETCH(QString, text);
    QFETCH(QString, find);
    QFETCH(bool, matchCase);
    QFETCH(int, fromColumn);
    QFETCH(int, row);
    QFETCH(int, column);
    TextStore store;
    store.setText(text);
    const TextFinder finder(find, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
    const std::optional<TextPosition> hit = search::findNext(store, {0, fromColumn}, finder);
    QCOMPARE(hit.has_value(), row >= 0);
    if (hit)
        QCOMPARE(*hit, (TextPosition{row, column}));
}

// The quick filter must find what Qt's own case-ignoring search finds, case variants of every
// kind included.
void TestTextSearch::caselessFindsWhatQtFinds()
{
    const QString pool = u"kK\u212AsS\u017F\u00E9\u00C9a "_s;
    QRandomGenerator rng(7);
    const auto random = [&](int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += pool.at(rng.bounded(int(pool.size())));
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        const QString row = random(rng.bounded(40));
        const QString find = random(1 + rng.bounded(3));
        const qsizetype from = rng.bounded(int(row.size()) + 1);
        QCOMPARE(TextFinder(find, Qt::CaseInsensitive).in(row, from),
                 row.indexOf(find, from, Qt::CaseInsensitive));
    }
}

void TestTextSearch::replaceAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextPosition>("from"); // the selection replaced first
    QTest::addColumn<TextPosition>("to");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("stopAtRow"); // 0: no stop
    QTest::addColumn<QString>("result");
    QTest::addColumn<TextPosition>("end");
    const TextPosition top;
    QTest::newRow("selection first, then each hit after it")
        << u"xyz a\nA"_s << top << TextPosition{0, 3} << u"a"_s << u"Q"_s << 0 << u"Q Q\nQ"_s
        << TextPosition{1, 1};
    QTest::newRow("replacement with a line break")
        << u"a,b,c"_s << top << top << u","_s << u"\r\n"_s << 0 << u"a\nb\nc"_s
        << TextPosition{2, 0};
    QTest::newRow("line breaks found")
        << u"a\nb\nc"_s << top << top << u"\n"_s << u","_s << 0 << u"a,b,c"_s << TextPosition{0, 4};
    QTest::newRow("nothing found")
        << u"abc"_s << top << top << u"x"_s << u"y"_s << 0 << u"abc"_s << top;
    QTest::newRow("stopped keeps the rows before") << u"a\na\na"_s << top << top << u"a"_s << u"b"_s
                                                   << 2 << u"b\nb\na"_s << TextPosition{1, 1};
}

void TestTextSearch::replaceAll()
{
    QFETCH(QString, text);
    QFETCH(TextPosition, from);
    QFETCH(TextPosition, to);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(int, stopAtRow);
    StopAtRow monitor(stopAtRow > 0 ? stopAtRow : 1e9);
    const search::Replacement r =
        search::replaceAll(TextStore::splitRows(text), from, to,
                           TextFinder(find, Qt::CaseInsensitive), replacement, monitor);
    QFETCH(QString, result);
    QFETCH(TextPosition, end);
    QCOMPARE(r.rows.join(u'\n'), result);
    QCOMPARE(r.end, end);
    QCOMPARE(r.stopped, stopAtRow > 0);
}

// A large text is replaced in pieces, on several threads: each row as QString::replace gives it,
// after a selection over three rows; a stop keeps replaced rows, then rows as they were.
void TestTextSearch::replaceAllInPieces()
{
    QRandomGenerator rng(11);
    QStringList rows;
    for (int i = 0; i < 40000; ++i) { // several pieces
        QString row = u"b"_s;
        for (int k = rng.bounded(12); k > 0; --k)
            row += u"aAb"_s.at(rng.bounded(3));
        rows += row;
    }
    const auto replaced = [](QString row) {
        return row.replace(u"ab"_s, u"<ab>"_s, Qt::CaseInsensitive);
    };
    QStringList expected{replaced(rows[0]), u"<ab>"_s + replaced(rows[3].mid(1))};
    for (qsizetype i = 4; i < rows.size(); ++i)
        expected += replaced(rows[i]);
    for (const double stopAt : {1e9, 20000.0}) {
        StopAtRow monitor(stopAt);
        const search::Replacement r = search::replaceAll(
            rows, {1, 0}, {3, 1}, TextFinder(u"AB"_s, Qt::CaseInsensitive), u"<ab>"_s, monitor);
        QCOMPARE(r.rows.size(), expected.size());
        qsizetype done = 0;
        while (done < r.rows.size() && r.rows[done] == expected[done])
            ++done;
        QCOMPARE(r.stopped, stopAt < 1e9);
        QCOMPARE(r.rows.mid(done), r.stopped ? rows.mid(done + 2) : QStringList());
        const qsizetype last = r.rows.lastIndexOf(QRegularExpression(u".*<.*"_s), done - 1);
        QCOMPARE(r.end, (TextPosition{last, r.rows[last].lastIndexOf(u'>') + 1}));
        QCOMPARE(r.count + 1, r.rows.join(u""_s).count(u'<')); // the selection is no hit
    }
}

QTEST_GUILESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
