#include "core/windows1252.h"
#include "ops/columns/replaceincolumn.h"
#include "ops/lines/matcher.h"
#include "ops/runfunction.h"
#include "randomtext.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

/// Where `text` first stands in `row` at or after `from`, unit for unit.
qsizetype plainFind(const QString &row, const QString &text, qsizetype from)
{
    for (qsizetype i = from; i + text.size() <= row.size(); ++i) {
        if (QStringView(row).sliced(i, text.size()) == text)
            return i;
    }
    return -1;
}

/// Replace in Column's rule spelled out: each pass replaces every occurrence left to right,
/// and passes go on while the replacement is shorter and the band still holds the text.
QString plainReplace(const QString &line, const QString &search, const QString &by, int start,
                     int end)
{
    if (line.size() < start)
        return line;
    QString band = line.mid(start - 1, end - start);
    do {
        QString next;
        for (qsizetype i = 0; i < band.size();) {
            const bool here = QStringView(band).sliced(i).startsWith(search);
            next += here ? by : band.sliced(i, 1);
            i += here ? search.size() : 1;
        }
        band = next;
    } while (by.size() < search.size() && band.contains(search));
    return line.first(start - 1) + band + line.mid(end - 1);
}

/// Random texts made of the given characters (a character outside the Basic Multilingual Plane
/// is a surrogate pair), often repeating themselves, as the hard cases of a search do.
class Texts : public testing::RandomPieces {
public:
    Texts(const QString &characters, quint32 seed) : RandomPieces(charactersOf(characters), seed) {}

    QString word(int most) { return pieces(below(most) + 1); }

    /// A short word repeated, now and then another word in between.
    QString row(int most)
    {
        const QString unit = word(4);
        QString r;
        for (int length = below(most) + 1; r.size() < length;)
            r += below(8) == 0 ? word(4) : unit;
        return r;
    }

    /// Runs of a's and b's of equal length around other words: removing "ab" takes as many
    /// passes as the runs are long.
    QString nested(int most)
    {
        QString r = word(3);
        for (int k = below(most) + 1; k > 0; --k)
            r = u'a' + (below(4) ? r : r + word(2)) + u'b';
        return word(3) + r + word(3);
    }

    /// Mostly a piece of the row, now and then with one character changed, else a word.
    QString textFor(const QString &row, int most)
    {
        if (below(3) == 0 || row.size() < 2)
            return word(most);
        const QList<uint> whole = row.toUcs4();
        const int from = below(int(whole.size()));
        const int length = std::min(below(most) + 1, int(whole.size()) - from);
        QString t =
            QString::fromUcs4(reinterpret_cast<const char32_t *>(whole.data()) + from, length);
        if (below(2) == 0)
            t = t.first(t.size() - (t.back().isLowSurrogate() ? 2 : 1)) + word(1);
        return t.isEmpty() ? word(most) : t;
    }

    /// The text with some of its letters in the other case.
    QString recased(const QString &text)
    {
        QString out;
        for (const char32_t c : text.toUcs4()) {
            const char32_t changed = below(2) ? QChar::toUpper(c) : QChar::toLower(c);
            out += QString::fromUcs4(&changed, 1);
        }
        return out;
    }

private:
    static QStringList charactersOf(const QString &text)
    {
        QStringList characters;
        for (const char32_t c : text.toUcs4())
            characters.append(QString::fromUcs4(&c, 1));
        return characters;
    }
};

/// A row that offers its bytes, as a streamed row does.
struct BytesRow final : PassRow {
    BytesRow(QByteArray b, RowEncoding e) : encoded(std::move(b)), encoding(e) {}
    QString characters;
    QByteArray encoded;
    RowEncoding encoding;
    QString &text() override { return characters; }
    std::optional<RowBytes> bytes() override { return RowBytes{encoded, encoding}; }
};

/// Whether the row is found the same in its characters and in its bytes of either encoding.
template <typename Search> bool sameInBytes(const Search &search, const QString &row, bool found)
{
    BytesRow utf8(row.toUtf8(), RowEncoding::Utf8);
    const std::optional<QByteArray> latin = lines::toWindows1252(row);
    BytesRow windows1252(latin.value_or(QByteArray()), RowEncoding::Windows1252);
    return search.foundIn(utf8) == found && (!latin || search.foundIn(windows1252) == found);
}

} // namespace

/// The searches and Replace in Column's passes against plain references on random texts.
class TestSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void agreesWithPlainSearch_data();
    void agreesWithPlainSearch();
};

void TestSearch::agreesWithPlainSearch_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("characters");
    QTest::addColumn<int>("rowLength");
    QTest::addColumn<int>("textLength");
    QTest::addColumn<int>("cases");
    const QString caseful = u"aAbB\u00C9\u00E9\u00DF\u1E9EKk\u212AsS\u017F\u03C3\u03A3\u03C2"
                            u"\u01C4\u01C5\u01C6\U00010400\U00010428\U0001F600"_s;
    QTest::newRow("two-way alone, two letters") << u"two-way"_s << u"ab"_s << 60 << 12 << 20000;
    QTest::newRow("two-way alone, three letters") << u"two-way"_s << u"abc"_s << 60 << 9 << 20000;
    QTest::newRow("two-way alone, surrogate pairs")
        << u"two-way"_s << u"a\U0001F600\U0001F601"_s << 60 << 9 << 5000;
    QTest::newRow("filter, short texts") << u"filter"_s << u"abcd"_s << 80 << 6 << 20000;
    // Long repetitive rows make the filter's checks costly enough to hand over to Two-Way.
    QTest::newRow("filter, long texts in long rows")
        << u"filter"_s << u"ab"_s << 3000 << 300 << 300;
    QTest::newRow("filter, surrogate pairs") << u"filter"_s << caseful << 200 << 8 << 5000;
    QTest::newRow("caseless, ASCII") << u"caseless"_s << u"aAbB-"_s << 60 << 6 << 10000;
    QTest::newRow("caseless, beyond ASCII and pairs")
        << u"caseless"_s << caseful << 80 << 6 << 20000;
    QTest::newRow("caseless, long texts in long rows")
        << u"caseless"_s << u"a\u00C9\u00E9\U00010400\U00010428"_s << 2000 << 200 << 200;
    QString ideographs; // more distinct characters than the full rows of states can take
    for (char16_t c = 0x4E00; c < 0x4E00 + 300; ++c)
        ideographs += QChar(c);
    const QString latin = u"aAbB\u00C9\u00E9\u00B5\u03BC\u039CKk\u212AsS\u017F\u0160\u0161"
                          u"\u0178\u00FF\u20AC\U0001F600"_s;
    QTest::newRow("several texts, ASCII") << u"several"_s << u"abc"_s << 60 << 4 << 3000;
    QTest::newRow("several texts, beyond ASCII") << u"several"_s << caseful << 60 << 4 << 3000;
    QTest::newRow("thousands of texts, many distinct characters")
        << u"several"_s << ideographs << 40 << 4 << 20;
    QTest::newRow("caseless in bytes") << u"caseless bytes"_s << latin << 40 << 4 << 10000;
    QTest::newRow("strip out in bytes") << u"strip"_s << latin + u"<>\n"_s << 60 << 3 << 5000;
    QTest::newRow("replace in band, two letters") << u"replace"_s << u"ab"_s << 40 << 4 << 20000;
    QTest::newRow("replace in band, blanks and a letter")
        << u"replace"_s << u" a"_s << 40 << 3 << 20000;
    QTest::newRow("replace in band, three letters, long texts")
        << u"replace"_s << u"abc"_s << 200 << 8 << 5000;
    // Many passes: past those made in place.
    QTest::newRow("replace in band, nested runs")
        << u"replace nested"_s << u"abc"_s << 30 << 3 << 5000;
}

void TestSearch::agreesWithPlainSearch()
{
    QFETCH(QString, search);
    QFETCH(QString, characters);
    QFETCH(int, rowLength);
    QFETCH(int, textLength);
    QFETCH(int, cases);
    quint32 seed = 0;
    for (const char *c = QTest::currentDataTag(); *c; ++c)
        seed = seed * 31 + quint32(*c);
    Texts random(characters, seed);
    for (int i = 0; i < cases; ++i) {
        const QString row =
            search == u"replace nested" ? random.nested(rowLength) : random.row(rowLength);
        QString text = random.textFor(row, textLength);
        const qsizetype from = random.below(int(row.size()) + 1) / (random.below(2) + 1);
        qsizetype got = 0;
        qsizetype expected = 0;
        if (search.startsWith(u"replace")) {
            QString by = random.word(textLength + 1);
            by.truncate(random.below(textLength + 2));
            if (search == u"replace nested") {
                text = QStringList{u"ab"_s, u"aab"_s, u"abb"_s, u"ba"_s}[random.below(4)];
                by = QStringList{QString(), u"a"_s, u"b"_s}[random.below(3)];
            }
            const int start = random.below(6) + 1;
            const int end = start + random.below(int(row.size()) + 2) + 1;
            QString line = row;
            columns::replaceInBand(line, lines::Finder(text), by, start, end);
            const QString plain = plainReplace(row, text, by, start, end);
            if (line != plain)
                QFAIL(qPrintable(u"'%1' in '%2' by '%3', %4 to %5: '%6', not '%7'"_s.arg(
                    text, row, by, QString::number(start), QString::number(end), line, plain)));
            continue;
        }
        if (search == u"several") {
            QStringList texts;
            for (int k = cases < 100 ? 8000 : random.below(40) + 1; k > 0; --k)
                texts += random.textFor(row, textLength);
            const lines::SearchTexts all(texts);
            for (int k = 0; k < (cases < 100 ? 200 : 1); ++k) {
                const QString in = k == 0 ? row : random.row(rowLength);
                const bool found = std::any_of(texts.cbegin(), texts.cend(), [&](const QString &t) {
                    return plainFind(in, t, 0) >= 0;
                });
                if (all.foundIn(in) != found || !sameInBytes(all, in, found))
                    QFAIL(qPrintable(u"%1 texts in '%2': not %3"_s.arg(
                        QString::number(texts.size()), in, found ? u"found"_s : u"missed"_s)));
            }
            continue;
        }
        if (search == u"caseless bytes") {
            text = random.recased(text);
            const qsizetype want = lines::CaselessFinder(text).in({row}, 0, 0);
            for (const RowEncoding e : {RowEncoding::Utf8, RowEncoding::Windows1252}) {
                const bool utf8 = e == RowEncoding::Utf8;
                const std::optional<QByteArray> bytes =
                    utf8 ? std::optional(row.toUtf8()) : lines::toWindows1252(row);
                const auto found = bytes ? lines::CaselessBytes::of(text, *bytes, e) : std::nullopt;
                if (!found)
                    continue;
                const qsizetype at = found->in(*bytes, lines::foldBytes(*bytes, e), 0);
                const QByteArrayView before =
                    QByteArrayView(*bytes).first(std::max<qsizetype>(at, 0));
                const qsizetype got =
                    at < 0
                        ? -1
                        : (utf8 ? QString::fromUtf8(before) : windows1252::decode(before)).size();
                if (got != want)
                    QFAIL(qPrintable(u"'%1' in '%2': %3, not %4"_s.arg(
                        text, row, QString::number(got), QString::number(want))));
            }
            continue;
        }
        if (search == u"strip") {
            // The whole text's bytes against its lines, a last line with or without a break.
            const QString whole = row + (random.below(2) ? u"\n"_s : QString());
            const QString end = random.recased(random.textFor(row, textLength)).remove(u'\n');
            text = random.recased(text).remove(u'\n');
            if (text.isEmpty() || end.isEmpty())
                continue;
            const QString want = testing::runOn(u"delete-strip-out-data"_s, whole,
                                                {u"start="_s + text, u"end="_s + end});
            ParamValues params;
            params.set(u"start"_s, text);
            params.set(u"end"_s, end);
            const auto run = catalogue().byName(u"delete-strip-out-data"_s)->body.byteRun;
            // Behind a mark of three bytes, which stays.
            QByteArray viaUtf8 = "BOM" + whole.toUtf8();
            std::optional<QByteArray> viaLatin = lines::toWindows1252(whole);
            const bool byUtf8 = run(viaUtf8, 3, RowEncoding::Utf8, params);
            QCOMPARE(viaUtf8.first(3), "BOM");
            viaUtf8.remove(0, 3);
            const bool byLatin = viaLatin && run(*viaLatin, 0, RowEncoding::Windows1252, params);
            const QString ended = whole.isEmpty() || whole.endsWith(u'\n') ? QString() : u"\n"_s;
            if ((byUtf8 && QString::fromUtf8(viaUtf8) + ended != want) ||
                (byLatin && windows1252::decode(*viaLatin) + ended != want))
                QFAIL(qPrintable(
                    u"'%1' to '%2' out of '%3': not '%4'"_s.arg(text, end, whole, want)));
            continue;
        }
        if (search == u"caseless") {
            text = random.recased(text);
            got = lines::CaselessFinder(text).in({row}, 0, from);
            expected = row.indexOf(text, from, Qt::CaseInsensitive);
        } else {
            const lines::Finder finder(text);
            got = search == u"filter" ? finder.in(row, from) : finder.linearIn(row, from);
            expected = plainFind(row, text, from);
        }
        if (got != expected)
            QFAIL(qPrintable(u"'%1' in '%2' from %3: %4, not %5"_s.arg(
                text, row, QString::number(from), QString::number(got),
                QString::number(expected))));
    }
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
