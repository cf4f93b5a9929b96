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
    return {before.count(u'\n'), offset - before.lastIndexOf(u'\n') - 1};
}

qsizetype referenceLongest(const QString &text)
{
    qsizetype longest = 0;
    for (const auto &row : QStringView(text).split(u'\n'))
        longest = std::max(longest, row.size());
    return longest;
}

void replaceRow(const char *name, const QString &text, TextPosition from, TextPosition to,
                const QString &inserted, const QString &result, TextPosition end)
{
    QTest::newRow(name) << text << from << to << inserted << result << end;
}

} // namespace

class TestTextStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void views_data();
    void views();
    void offsetsAndPositionsRoundTrip();
    void replace_data();
    void replace();
    void randomEditsMatchAPlainString();
};

void TestTextStore::views_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("lines");
    const auto row = [](const char *name, const QString &text, const QStringList &rows,
                        const QStringList &lines) { QTest::newRow(name) << text << rows << lines; };
    row("empty text: one empty row, no line", u""_s, {u""_s}, {});
    row("break alone", u"\n"_s, {u""_s, u""_s}, {u""_s});
    row("final LF starts no line", u"a\nb\n"_s, {u"a"_s, u"b"_s, u""_s}, {u"a"_s, u"b"_s});
    row("empty last line kept", u"a\n\n"_s, {u"a"_s, u""_s, u""_s}, {u"a"_s, u""_s});
    row("CR LF and lone CR", u"a\r\nb\rc"_s, {u"a"_s, u"b"_s, u"c"_s}, {u"a"_s, u"b"_s, u"c"_s});
    row("LF CR and CR CR LF are two breaks each", u"a\n\rb\r\r\nc"_s,
        {u"a"_s, u""_s, u"b"_s, u""_s, u"c"_s}, {u"a"_s, u""_s, u"b"_s, u""_s, u"c"_s});
    row("CR LF first, CR last", u"\r\na\r"_s, {u""_s, u"a"_s, u""_s}, {u""_s, u"a"_s});
    row("breaks deep in long rows, beside tabs and U+FFFF", u"a\tbcdefgh\rij\uFFFFklm\nn"_s,
        {u"a\tbcdefgh"_s, u"ij\uFFFFklm"_s, u"n"_s}, {u"a\tbcdefgh"_s, u"ij\uFFFFklm"_s, u"n"_s});
}

void TestTextStore::views()
{
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, lines);
    QCOMPARE(TextStore::splitRows(text), rows);
    const TextStore store = storeWith(text);
    QCOMPARE(store.rows(), rows);
    QCOMPARE(store.length(), rows.join(u'\n').size());
    QCOMPARE(store.lines(), lines);
    QCOMPARE(store.lineCount(), lines.size());
    // Rows or lines holding breaks are split at them; setLines ends every line with a break.
    TextStore other = storeWith(u"some old text"_s);
    QCOMPARE(other.longestRowLength(), 13);
    other.setRows({text});
    QCOMPARE(other.rows(), rows);
    other.setLines({text});
    QCOMPARE(other.rows(), rows + QStringList{u""_s});
    other.setLines(lines);
    QString ended;
    for (const QString &line : lines)
        ended += line + u'\n';
    QCOMPARE(other.text(), ended);
    QCOMPARE(other.length(), ended.size());
    QCOMPARE(other.longestRowLength(), referenceLongest(ended));
}

void TestTextStore::offsetsAndPositionsRoundTrip()
{
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QString(i % 7, u'x') + u'\n';
    // One store is asked from the far end first, so its lazy cache grows in one go; the other
    // grows it step by step from the front.
    const TextStore fromEnd = storeWith(text);
    QCOMPARE(fromEnd.positionOf(text.size()), fromEnd.endPosition());
    const TextStore fromFront = storeWith(text);
    for (qsizetype offset = 0; offset <= text.size(); ++offset) {
        const TextPosition expected = referencePosition(text, offset);
        QCOMPARE(fromFront.positionOf(offset), expected);
        QCOMPARE(fromEnd.positionOf(offset), expected);
        QCOMPARE(fromFront.offsetOf(expected), offset);
    }
    // Outside the text, offsets and positions clamp to it.
    QCOMPARE(fromFront.positionOf(-5), (TextPosition{0, 0}));
    QCOMPARE(fromFront.positionOf(text.size() + 9), (TextPosition{300, 0}));
    QCOMPARE(fromFront.offsetOf({-1, -1}), 0);
    QCOMPARE(fromFront.offsetOf({400, 0}), text.size());
    QCOMPARE(fromFront.offsetOf({1, 99}), 2); // the end of row 1, "x"
}

void TestTextStore::replace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextPosition>("from");
    QTest::addColumn<TextPosition>("to");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("result");
    QTest::addColumn<TextPosition>("end");
    replaceRow("ends given in reverse", u"ab\ncd"_s, {1, 1}, {0, 1}, u"-"_s, u"a-d"_s, {0, 2});
    replaceRow("CR LF and CR inserted become breaks", u"ab"_s, {0, 1}, {0, 1}, u"1\r\n2\r3"_s,
               u"a1\n2\n3b"_s, {2, 1});
    replaceRow("positions beyond the text clamp", u"ab\ncd"_s, {1, 50}, {9, 9}, u"!"_s,
               u"ab\ncd!"_s, {1, 3});
    replaceRow("everything by nothing", u"ab\ncd\n"_s, {0, 0}, {2, 0}, u""_s, u""_s, {0, 0});
    replaceRow("one of two longest rows shrinks", u"aaaa\nbb\naaaa"_s, {0, 0}, {0, 2}, u""_s,
               u"aa\nbb\naaaa"_s, {0, 0});
    replaceRow("the only longest row shrinks", u"aaaa\nbbb"_s, {0, 1}, {0, 2}, u""_s, u"aaa\nbbb"_s,
               {0, 1});
}

void TestTextStore::replace()
{
    QFETCH(QString, text);
    QFETCH(TextPosition, from);
    QFETCH(TextPosition, to);
    QFETCH(QString, inserted);
    QFETCH(QString, result);
    TextStore store = storeWith(text);
    // Asked first, so that the edit has to keep the cached answer up to date.
    QCOMPARE(store.longestRowLength(), referenceLongest(text));
    const qsizetype a = store.offsetOf(std::min(from, to));
    const qsizetype b = store.offsetOf(std::max(from, to));
    QCOMPARE(store.textBetween(from, to), text.mid(a, b - a));
    QTEST(store.replace(from, to, inserted), "end");
    QCOMPARE(store.rows(), TextStore::splitRows(result));
    QCOMPARE(store.length(), result.size());
    QCOMPARE(store.longestRowLength(), referenceLongest(result));
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
        // Asked before editing, so that the lazy caches are part filled at edit time.
        if (step % 5 == 0)
            QCOMPARE(store.longestRowLength(), referenceLongest(reference));
        const TextPosition from = store.positionOf(a);
        const TextPosition to = store.positionOf(b);
        QCOMPARE(from, referencePosition(reference, a));
        QCOMPARE(store.textBetween(from, to), reference.mid(a, b - a));
        const TextPosition end = store.replace(from, to, piece);
        QString normal = piece;
        normal.replace(u"\r\n"_s, u"\n"_s);
        reference.replace(a, b - a, normal);
        QCOMPARE(store.offsetOf(end), a + normal.size());
        QCOMPARE(store.length(), reference.size());
        if (reference.size() > 400) { // keep the text small enough to check in full
            reference.remove(0, reference.size() - 300);
            store.setText(reference);
        }
    }
    QCOMPARE(store.text(), reference);
    QCOMPARE(store.longestRowLength(), referenceLongest(reference));
}

QTEST_GUILESS_MAIN(TestTextStore)
#include "tst_textstore.moc"
