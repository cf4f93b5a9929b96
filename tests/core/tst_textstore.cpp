#include "core/textstore.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using plintex::TextPosition;
using plintex::TextStore;

Q_DECLARE_METATYPE(plintex::TextPosition)

namespace {

TextStore storeWith(const QString &text)
{
    TextStore store;
    store.setText(text);
    return store;
}

// The position of an offset found the slow way, straight from the text.
TextPosition referencePosition(const QString &text, qsizetype offset)
{
    const QString before = text.left(offset);
    const qsizetype lastBreak = before.lastIndexOf(u'\n');
    return {before.count(u'\n'), offset - lastBreak - 1};
}

qsizetype referenceLongest(const QString &text)
{
    qsizetype longest = 0;
    for (const auto &row : QStringView(text).split(u'\n'))
        longest = std::max(longest, row.size());
    return longest;
}

} // namespace

class TestTextStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsAtEveryKindOfBreak_data();
    void splitsAtEveryKindOfBreak();
    void linesView_data();
    void linesView();
    void setLinesEndsEveryLine_data();
    void setLinesEndsEveryLine();
    void offsetsAndPositionsRoundTrip_data();
    void offsetsAndPositionsRoundTrip();
    void offsetsOutsideTheTextClamp();
    void replace_data();
    void replace();
    void textBetween_data();
    void textBetween();
    void offsetsFollowEdits();
    void longestRowFollowsEdits();
    void randomEditsMatchAPlainString();
};

void TestTextStore::splitsAtEveryKindOfBreak_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("empty") << u""_s << QStringList{u""_s};
    QTest::newRow("no break") << u"abc"_s << QStringList{u"abc"_s};
    QTest::newRow("LF") << u"a\nb"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("CR LF") << u"a\r\nb"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("lone CR") << u"a\rb"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("LF CR is two breaks") << u"a\n\rb"_s << QStringList{u"a"_s, u""_s, u"b"_s};
    QTest::newRow("CR CR LF is two breaks") << u"a\r\r\nb"_s << QStringList{u"a"_s, u""_s, u"b"_s};
    QTest::newRow("final LF") << u"a\n"_s << QStringList{u"a"_s, u""_s};
    QTest::newRow("final CR") << u"a\r"_s << QStringList{u"a"_s, u""_s};
    QTest::newRow("only CR LF") << u"\r\n"_s << QStringList{u""_s, u""_s};
}

void TestTextStore::splitsAtEveryKindOfBreak()
{
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    QCOMPARE(TextStore::splitRows(text), rows);
    const TextStore store = storeWith(text);
    QCOMPARE(store.rows(), rows);
    QCOMPARE(store.text(), rows.join(u'\n'));
    QCOMPARE(store.length(), store.text().size());
}

void TestTextStore::linesView_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty text has no line") << u""_s << QStringList{};
    QTest::newRow("one break alone") << u"\n"_s << QStringList{u""_s};
    QTest::newRow("no final break") << u"a\nb"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("final break starts no line") << u"a\nb\n"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("empty last line kept") << u"a\n\n"_s << QStringList{u"a"_s, u""_s};
}

void TestTextStore::linesView()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    const TextStore store = storeWith(text);
    QCOMPARE(store.lines(), lines);
    QCOMPARE(store.lineCount(), lines.size());
}

void TestTextStore::setLinesEndsEveryLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("linesBack");
    QTest::newRow("no lines") << QStringList{} << u""_s << QStringList{};
    QTest::newRow("one empty line") << QStringList{u""_s} << u"\n"_s << QStringList{u""_s};
    QTest::newRow("two lines") << QStringList{u"a"_s, u"b"_s} << u"a\nb\n"_s
                               << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("line holding LF")
        << QStringList{u"a\nb"_s} << u"a\nb\n"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("line holding CR LF after plain ones")
        << QStringList{u"x"_s, u"a\r\nb"_s, u"c"_s} << u"x\na\nb\nc\n"_s
        << QStringList{u"x"_s, u"a"_s, u"b"_s, u"c"_s};
}

void TestTextStore::setLinesEndsEveryLine()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, text);
    QFETCH(QStringList, linesBack);
    TextStore store;
    store.setLines(lines);
    QCOMPARE(store.text(), text);
    QCOMPARE(store.lines(), linesBack);
    QCOMPARE(store.rowCount(), linesBack.size() + 1);
    QCOMPARE(store.length(), text.size());
}

void TestTextStore::offsetsAndPositionsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << u""_s;
    QTest::newRow("one row") << u"hello"_s;
    QTest::newRow("rows of mixed length") << u"ab\n\ncdef\ng\n"_s;
    QTest::newRow("breaks only") << u"\n\n\n"_s;
    QString many;
    for (int i = 0; i < 300; ++i)
        many += QString(i % 7, u'x') + u'\n';
    QTest::newRow("300 rows") << many;
}

void TestTextStore::offsetsAndPositionsRoundTrip()
{
    QFETCH(QString, text);
    // Asking from the far end first makes the lazy cache grow in one go; the fresh store asks
    // from the front and grows it step by step.
    const TextStore fromEnd = storeWith(text);
    QCOMPARE(fromEnd.positionOf(text.size()), fromEnd.endPosition());
    const TextStore fromFront = storeWith(text);
    for (qsizetype offset = 0; offset <= text.size(); ++offset) {
        const TextPosition expected = referencePosition(text, offset);
        QCOMPARE(fromFront.positionOf(offset), expected);
        QCOMPARE(fromEnd.positionOf(offset), expected);
        QCOMPARE(fromFront.offsetOf(expected), offset);
        QCOMPARE(fromFront.offsetOfRow(expected.row) + expected.column, offset);
        QCOMPARE(fromFront.rowOfOffset(offset), expected.row);
    }
}

void TestTextStore::offsetsOutsideTheTextClamp()
{
    const TextStore store = storeWith(u"ab\ncde"_s);
    QCOMPARE(store.positionOf(-5), (TextPosition{0, 0}));
    QCOMPARE(store.positionOf(100), (TextPosition{1, 3}));
    QCOMPARE(store.offsetOf({0, 99}), 2);
    QCOMPARE(store.offsetOf({9, 1}), 4);
    QCOMPARE(store.offsetOf({-1, -1}), 0);
    QCOMPARE(store.offsetOfRow(42), 3);
}

void TestTextStore::replace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextPosition>("from");
    QTest::addColumn<TextPosition>("to");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("result");
    QTest::addColumn<TextPosition>("end");
    QTest::newRow("insert inside a row") << u"abcd"_s << TextPosition{0, 2} << TextPosition{0, 2}
                                         << u"XY"_s << u"abXYcd"_s << TextPosition{0, 4};
    QTest::newRow("insert a break") << u"abcd"_s << TextPosition{0, 1} << TextPosition{0, 1}
                                    << u"\n"_s << u"a\nbcd"_s << TextPosition{1, 0};
    QTest::newRow("remove a break") << u"ab\ncd"_s << TextPosition{0, 2} << TextPosition{1, 0}
                                    << u""_s << u"abcd"_s << TextPosition{0, 2};
    QTest::newRow("replace across three rows by one")
        << u"ab\ncd\nef"_s << TextPosition{0, 1} << TextPosition{2, 1} << u"Z"_s << u"aZf"_s
        << TextPosition{0, 2};
    QTest::newRow("replace one row part by three rows")
        << u"abc\nxyz"_s << TextPosition{0, 1} << TextPosition{0, 2} << u"1\n2\n3"_s
        << u"a1\n2\n3c\nxyz"_s << TextPosition{2, 1};
    QTest::newRow("two rows by two rows") << u"ab\ncd"_s << TextPosition{0, 1} << TextPosition{1, 1}
                                          << u"X\nY"_s << u"aX\nYd"_s << TextPosition{1, 1};
    QTest::newRow("ends given in reverse")
        << u"ab\ncd"_s << TextPosition{1, 1} << TextPosition{0, 1} << u"-"_s << u"a-d"_s
        << TextPosition{0, 2};
    QTest::newRow("CR LF and CR inserted become breaks")
        << u"ab"_s << TextPosition{0, 1} << TextPosition{0, 1} << u"1\r\n2\r3"_s << u"a1\n2\n3b"_s
        << TextPosition{2, 1};
    QTest::newRow("positions beyond the text clamp")
        << u"ab\ncd"_s << TextPosition{1, 50} << TextPosition{9, 9} << u"!"_s << u"ab\ncd!"_s
        << TextPosition{1, 3};
    QTest::newRow("everything by nothing")
        << u"ab\ncd\n"_s << TextPosition{0, 0} << TextPosition{2, 0} << u""_s << u""_s
        << TextPosition{0, 0};
    QTest::newRow("final break inserted at the end")
        << u"ab"_s << TextPosition{0, 2} << TextPosition{0, 2} << u"\n"_s << u"ab\n"_s
        << TextPosition{1, 0};
}

void TestTextStore::replace()
{
    QFETCH(QString, text);
    QFETCH(TextPosition, from);
    QFETCH(TextPosition, to);
    QFETCH(QString, inserted);
    QFETCH(QString, result);
    QFETCH(TextPosition, end);
    TextStore store = storeWith(text);
    QCOMPARE(store.replace(from, to, inserted), end);
    QCOMPARE(store.text(), result);
    QCOMPARE(store.rows(), TextStore::splitRows(result));
    QCOMPARE(store.length(), result.size());
    QCOMPARE(store.longestRowLength(), referenceLongest(result));
}

void TestTextStore::textBetween_data()
{
    QTest::addColumn<TextPosition>("from");
    QTest::addColumn<TextPosition>("to");
    QTest::addColumn<QString>("between");
    // The text is "ab\ncd\nef".
    QTest::newRow("inside a row") << TextPosition{1, 0} << TextPosition{1, 2} << u"cd"_s;
    QTest::newRow("a break alone") << TextPosition{0, 2} << TextPosition{1, 0} << u"\n"_s;
    QTest::newRow("across three rows") << TextPosition{0, 1} << TextPosition{2, 1} << u"b\ncd\ne"_s;
    QTest::newRow("in reverse") << TextPosition{1, 1} << TextPosition{0, 1} << u"b\nc"_s;
    QTest::newRow("empty range") << TextPosition{2, 1} << TextPosition{2, 1} << u""_s;
    QTest::newRow("clamped") << TextPosition{-3, 0} << TextPosition{7, 7} << u"ab\ncd\nef"_s;
}

void TestTextStore::textBetween()
{
    QFETCH(TextPosition, from);
    QFETCH(TextPosition, to);
    QFETCH(QString, between);
    QCOMPARE(storeWith(u"ab\ncd\nef"_s).textBetween(from, to), between);
}

void TestTextStore::offsetsFollowEdits()
{
    QStringList lines;
    for (int i = 0; i < 1000; ++i)
        lines.append(QString(i % 13, u'a'));
    TextStore store;
    store.setLines(lines);
    // Fill the cache to the end, then edit near the front and near the back.
    QCOMPARE(store.length(), store.text().size());
    store.replace({10, 2}, {12, 0}, u"one\ntwo\nthree\nfour"_s);
    store.replace({900, 0}, {900, 0}, u"x"_s);
    store.replace({3, 0}, {5, 0}, u""_s);
    const QString text = store.text();
    QCOMPARE(store.length(), text.size());
    qsizetype offset = 0;
    for (qsizetype r = 0; r < store.rowCount(); ++r) {
        QCOMPARE(store.offsetOfRow(r), offset);
        offset += store.row(r).size() + 1;
    }
    for (qsizetype o : {qsizetype(0), qsizetype(57), qsizetype(4000), text.size()})
        QCOMPARE(store.positionOf(o), referencePosition(text, o));
}

void TestTextStore::longestRowFollowsEdits()
{
    TextStore store = storeWith(u"aaaa\nbb\naaaa\nc"_s);
    QCOMPARE(store.longestRowLength(), 4);
    store.replace({0, 0}, {0, 2}, u""_s); // one of the two longest shrinks
    QCOMPARE(store.longestRowLength(), 4);
    store.replace({2, 0}, {2, 1}, u""_s); // the other one too
    QCOMPARE(store.longestRowLength(), 3);
    store.replace({3, 1}, {3, 1}, u"123456"_s);
    QCOMPARE(store.longestRowLength(), 7);
    store.replace({1, 0}, {3, 7}, u""_s); // removes the longest rows whole
    QCOMPARE(store.text(), u"aa\n"_s);
    QCOMPARE(store.longestRowLength(), 2);
    store.replace({1, 0}, {1, 0}, u"xxxxx\nyy"_s);
    QCOMPARE(store.longestRowLength(), 5);
    store.setLines({u"q"_s});
    QCOMPARE(store.longestRowLength(), 1);
}

void TestTextStore::randomEditsMatchAPlainString()
{
    QRandomGenerator random(1234);
    const QString pieces[] = {u""_s,        u"a"_s,    u"xyz"_s,  u"\n"_s,
                              u"1\n22\n"_s, u"\r\n"_s, u"\n\n"_s, u"long row of text"_s};
    QString reference = u"first\nsecond\n\nthird"_s;
    TextStore store = storeWith(reference);
    for (int step = 0; step < 600; ++step) {
        qsizetype a = random.bounded(reference.size() + 1);
        qsizetype b = random.bounded(std::min<qsizetype>(reference.size() - a, 12) + 1) + a;
        const QString &piece = pieces[random.bounded(int(std::size(pieces)))];
        // Query before editing so the lazy caches are part filled at edit time.
        if (step % 3 == 0)
            QCOMPARE(store.positionOf(a), referencePosition(reference, a));
        if (step % 5 == 0)
            QCOMPARE(store.longestRowLength(), referenceLongest(reference));
        const TextPosition from = store.positionOf(a);
        const TextPosition to = store.positionOf(b);
        QCOMPARE(store.textBetween(from, to), reference.mid(a, b - a));
        const TextPosition end = store.replace(from, to, piece);
        QString normal = piece;
        normal.replace(u"\r\n"_s, u"\n"_s);
        reference.replace(a, b - a, normal);
        QCOMPARE(store.offsetOf(end), a + normal.size());
        if (reference.size() > 400) { // keep the text small enough to check in full
            reference.remove(0, reference.size() - 300);
            store.setText(reference);
        }
    }
    QCOMPARE(store.text(), reference);
    QCOMPARE(store.length(), reference.size());
    QCOMPARE(store.longestRowLength(), referenceLongest(reference));
}

QTEST_GUILESS_MAIN(TestTextStore)
#include "tst_textstore.moc"
