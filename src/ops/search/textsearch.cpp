#include "ops/search/textsearch.h"

#include "ops/common/parallel.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plintex::search {

namespace {

const char16_t *units(QStringView s)
{
    return reinterpret_cast<const char16_t *>(s.data());
}

char16_t foldedUnit(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    if (QChar::isSurrogate(c))
        return c; // the text looked for holds none, so a surrogate never matches
    return char16_t(QChar::toCaseFolded(char32_t(c)));
}

// A quick filter compares each place against this many candidate units at most; a text whose
// first or last character has more case variants is found by folding whole rows.
constexpr std::size_t kMaxVariants = 4;
// As in the exact search: once checking candidates has cost this much more than the row passed
// over, the rest of the row is folded and searched in linear time.
constexpr qsizetype kChecksPerUnit = 4;
constexpr qsizetype kCheckSlack = 1024;

bool holdsBreak(QStringView text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

} // namespace

bool isSearchable(QStringView text)
{
    return text == u"\n" || !holdsBreak(text);
}

TextFinder::TextFinder(QString text, Qt::CaseSensitivity sensitivity)
    : m_text(std::move(text)), m_break(m_text == u"\n")
{
    m_caseless = sensitivity == Qt::CaseInsensitive && !m_break && lines::caseMatters(m_text);
    if (!m_caseless) {
        m_exact = lines::Finder(m_text);
        return;
    }
    m_folded = lines::foldCase(m_text);
    m_exact = lines::Finder(m_folded);
    m_foldRows = std::any_of(m_text.begin(), m_text.end(), [](QChar c) { return c.isSurrogate(); });
    if (m_foldRows)
        return;
    const char16_t first = m_folded.front().unicode();
    const char16_t last = m_folded.back().unicode();
    for (char32_t u = 0; u < 0x10000; ++u) {
        if (QChar::isSurrogate(u))
            continue;
        const char16_t folded = foldedUnit(char16_t(u));
        if (folded == first)
            m_firsts.push_back(char16_t(u));
        if (folded == last)
            m_lasts.push_back(char16_t(u));
    }
    m_foldRows = m_firsts.size() > kMaxVariants || m_lasts.size() > kMaxVariants;
    const auto caseBit = [](const std::vector<char16_t> &variants) -> std::optional<Variants> {
        if (variants.size() == 1)
            return Variants{0, variants[0]};
        if (variants.size() == 2 && (variants[0] ^ variants[1]) == 0x20)
            return Variants{0x20, char16_t(variants[0] | 0x20)};
        return std::nullopt;
    };
    m_firstCase = caseBit(m_firsts);
    m_lastCase = caseBit(m_lasts);
    if (!m_firstCase || !m_lastCase)
        m_firstCase.reset();
}

qsizetype TextFinder::in(QStringView row, qsizetype from) const
{
    if (m_text.isEmpty() || m_break)
        return -1;
    return m_caseless ? caselessIn(row, from) : m_exact.in(row, from);
}

bool TextFinder::foldedMatchAt(const char16_t *at) const
{
    const char16_t *want = units(m_folded);
    for (qsizetype j = 0; j < m_folded.size(); ++j) {
        if (foldedUnit(at[j]) != want[j])
            return false;
    }
    return true;
}

qsizetype TextFinder::caselessIn(QStringView row, qsizetype from) const
{
    const qsizetype m = m_folded.size();
    if (from < 0 || from > row.size() - m)
        return -1;
    const auto foldedSearch = [&](qsizetype start) {
        lines::foldCase(row, m_rowFolded);
        return m_exact.in(m_rowFolded, start);
    };
    if (m_foldRows)
        return foldedSearch(from);

    const char16_t *data = units(row);
    const qsizetype last = row.size() - m; // the last place a match can start
    qsizetype spent = 0;
    const auto check = [&](qsizetype k) -> qsizetype {
        spent += m;
        if (spent > kChecksPerUnit * (k - from) + kCheckSlack)
            return foldedSearch(k);
        return foldedMatchAt(data + k) ? k : -2;
    };
    qsizetype i = from;
#if defined(__SSE2__)
    // Eight places at a time where a variant of the first and one of the last character stand.
    __m128i firsts[kMaxVariants];
    __m128i lasts[kMaxVariants];
    for (std::size_t v = 0; v < m_firsts.size(); ++v)
        firsts[v] = _mm_set1_epi16(short(m_firsts[v]));
    for (std::size_t v = 0; v < m_lasts.size(); ++v)
        lasts[v] = _mm_set1_epi16(short(m_lasts[v]));
    const bool byCase = m_firstCase.has_value();
    const __m128i firstBit = _mm_set1_epi16(short(byCase ? m_firstCase->bit : 0));
    const __m128i firstUnit = _mm_set1_epi16(short(byCase ? m_firstCase->unit : 0));
    const __m128i lastBit = _mm_set1_epi16(short(byCase ? m_lastCase->bit : 0));
    const __m128i lastUnit = _mm_set1_epi16(short(byCase ? m_lastCase->unit : 0));
    // Two bits for each of the eight places from `at` where a match may start.
    const auto candidates = [&](qsizetype at) {
        const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        const __m128i atLast =
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at + m - 1));
        if (byCase)
            return unsigned(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi16(_mm_or_si128(atFirst, firstBit), firstUnit),
                              _mm_cmpeq_epi16(_mm_or_si128(atLast, lastBit), lastUnit))));
        __m128i isFirst = _mm_cmpeq_epi16(atFirst, firsts[0]);
        for (std::size_t v = 1; v < m_firsts.size(); ++v)
            isFirst = _mm_or_si128(isFirst, _mm_cmpeq_epi16(atFirst, firsts[v]));
        __m128i isLast = _mm_cmpeq_epi16(atLast, lasts[0]);
        for (std::size_t v = 1; v < m_lasts.size(); ++v)
            isLast = _mm_or_si128(isLast, _mm_cmpeq_epi16(atLast, lasts[v]));
        return unsigned(_mm_movemask_epi8(_mm_and_si128(isFirst, isLast)));
    };
    const auto checkAll = [&](qsizetype at, unsigned mask) -> qsizetype {
        for (; mask != 0; mask &= mask - 1) {
            const qsizetype k = at + std::countr_zero(mask) / 2;
            mask &= mask - 1; // each unit sets two bits
            if (const qsizetype found = check(k); found != -2)
                return found;
        }
        return -2;
    };
    for (; i + 7 <= last; i += 8) {
        if (const qsizetype found = checkAll(i, candidates(i)); found != -2)
            return found;
    }
    // The last places: the eight that end there, less those already looked at.
    if (i <= last && last - 7 >= from) {
        const qsizetype at = last - 7;
        const qsizetype found = checkAll(at, candidates(at) & ~((1u << (2 * (i - at))) - 1));
        return found == -2 ? -1 : found;
    }
#endif
    const char16_t first = m_folded.front().unicode();
    for (; i <= last; ++i) {
        if (foldedUnit(data[i]) != first)
            continue;
        if (const qsizetype found = check(i); found != -2)
            return found;
    }
    return -1;
}

std::optional<TextPosition> findNext(const TextStore &store, TextPosition from,
                                     const TextFinder &finder)
{
    from = store.clamped(from);
    if (finder.text().isEmpty())
        return std::nullopt;
    const qsizetype rows = store.rowCount();
    if (finder.findsBreak()) {
        if (from.row + 1 < rows)
            return TextPosition{from.row, store.row(from.row).size()};
        return std::nullopt;
    }
    for (qsizetype r = from.row; r < rows; ++r) {
        const qsizetype k = finder.in(store.row(r), r == from.row ? from.column : 0);
        if (k >= 0)
            return TextPosition{r, k};
    }
    return std::nullopt;
}

namespace {

/// Collects the rows of the result; a row built with line breaks in it (a replacement that
/// holds some) is split, and the place just after the last replacement is kept in final rows.
class RowsOut {
public:
    RowsOut(qsizetype reserve, bool splitting) : m_split(splitting) { m_rows.reserve(reserve); }

    void keep(const QString &row) { m_rows.append(row); }
    /// A row built here; `endAt` is the place of the last replacement's end in it, or -1.
    void add(const QString &row, qsizetype endAt)
    {
        if (!m_split) {
            if (endAt >= 0)
                m_end = {m_rows.size(), endAt};
            m_rows.append(row);
            return;
        }
        const QStringList pieces = TextStore::splitRows(row);
        if (endAt >= 0) {
            // Every break the replacement put in is one unit (LF), so offsets map directly.
            const QStringView before = QStringView(row).left(endAt);
            const qsizetype breaks = before.count(u'\n') + before.count(u'\r');
            const qsizetype lastBreak =
                std::max(before.lastIndexOf(u'\n'), before.lastIndexOf(u'\r'));
            m_end = {m_rows.size() + breaks, endAt - lastBreak - 1};
        }
        m_rows.append(pieces);
    }
    qsizetype size() const { return m_rows.size(); }
    QStringList take() { return std::move(m_rows); }
    TextPosition end() const { return m_end; }
    void setEnd(TextPosition end) { m_end = end; }

private:
    QStringList m_rows;
    TextPosition m_end;
    bool m_split;
};

// Rows after the selection's are replaced in pieces of this many, on every core, once there are
// at least two pieces: each thread takes the fresh memory of its new rows from its own arena,
// so the page faults of a million new rows are spread too.
constexpr qsizetype kRowsPerPiece = 8192;

/// What replacing in a run of rows found: the hits, and the place after the last one.
struct PieceHits {
    qsizetype count = 0;
    TextPosition end{-1, -1};
};

/// Replaces every hit in rows [begin, end) of `rows` into `out`, row r going to out[r - shift];
/// a row without one is shared, not copied. `hits` holds a row's hits while it is built.
PieceHits replaceInRows(const QStringList &rows, qsizetype begin, qsizetype end, QString *out,
                        qsizetype shift, const TextFinder &finder, const QString &replacement,
                        std::vector<qsizetype> &hits)
{
    PieceHits found;
    const qsizetype m = finder.size();
    for (qsizetype r = begin; r < end; ++r) {
        const QString &source = rows[r];
        qsizetype k = finder.in(source, 0);
        if (k < 0) {
            out[r - shift] = source;
            continue;
        }
        hits.clear();
        do {
            hits.push_back(k);
        } while ((k = finder.in(source, k + m)) >= 0);
        // Built at its exact size in one go: a large text's new rows take as little memory, and
        // as few copies, as they can.
        const auto count = qsizetype(hits.size());
        QString row(source.size() + count * (replacement.size() - m), Qt::Uninitialized);
        QChar *to = row.data();
        qsizetype c = 0;
        for (const qsizetype hit : hits) {
            to = std::copy_n(source.constData() + c, hit - c, to);
            to = std::copy_n(replacement.constData(), replacement.size(), to);
            c = hit + m;
        }
        found.end = {r - shift, to - row.constData()};
        std::copy_n(source.constData() + c, source.size() - c, to);
        found.count += count;
        out[r - shift] = std::move(row);
    }
    return found;
}

/// Replaces every hit in the rows from `first` on, each row alone (neither the text nor the
/// replacement holds a break), into `result.rows` from row `first - shift` on; those before
/// are already there. A stop keeps the pieces begun before it and the rest as they were.
void replaceInPieces(const QStringList &rows, qsizetype first, qsizetype shift,
                     const TextFinder &finder, const QString &replacement, RunMonitor &monitor,
                     Replacement &result)
{
    const qsizetype n = rows.size() - first;
    const qsizetype pieces = (n + kRowsPerPiece - 1) / kRowsPerPiece;
    result.rows.resize(rows.size() - shift);
    QString *out = result.rows.data();
    // A finder keeps a scratch row of its own, and a thread the hits of the row it builds.
    std::vector<TextFinder> finders(size_t(common::workerCount()), finder);
    std::vector<std::vector<qsizetype>> hits(finders.size());
    std::vector<PieceHits> found(static_cast<size_t>(pieces));
    std::atomic<qsizetype> reached = first;
    const bool done = common::forPieces(
        n, kRowsPerPiece,
        [&](qsizetype begin, qsizetype end, int worker) {
            found[size_t(begin / kRowsPerPiece)] =
                replaceInRows(rows, first + begin, first + end, out, shift, finders[size_t(worker)],
                              replacement, hits[size_t(worker)]);
            // Pieces are handed out in order and each begun is finished: the rows done are
            // those before the furthest end.
            qsizetype at = reached.load();
            while (at < first + end && !reached.compare_exchange_weak(at, first + end)) {
            }
        },
        monitor, double(first));
    for (const PieceHits &hits : found) {
        result.count += hits.count;
        if (hits.end.row >= 0)
            result.end = hits.end;
    }
    for (qsizetype r = reached; r < rows.size(); ++r)
        out[r - shift] = rows[r];
    result.stopped = !done;
}

} // namespace

Replacement replaceAll(const QStringList &rows, TextPosition from, TextPosition to,
                       const TextFinder &finder, QStringView replacement, RunMonitor &monitor)
{
    Replacement result;
    if (rows.isEmpty())
        return result;
    if (to < from)
        std::swap(from, to);
    const QString normalised = holdsBreak(replacement)
                                   ? TextStore::splitRows(replacement).join(u'\n')
                                   : replacement.toString();
    const bool splitting = normalised.contains(u'\n');
    // Each row on its own: the rows after the selection's may be replaced apart.
    const bool rowsApart = !splitting && !finder.findsBreak();
    RowsOut out(rows.size(), splitting);
    for (qsizetype r = 0; r < from.row; ++r)
        out.keep(rows[r]);

    // The row being built holds what is final; (r, c) is where the search goes on in the
    // source rows. A row with nothing to replace is kept as it is, shared rather than copied.
    QString built;
    qsizetype endAt = -1;
    bool rebuilt = false;
    if (from != to) {
        built = QStringView(rows[from.row]).left(from.column) + normalised;
        endAt = built.size();
        rebuilt = true;
    }
    out.setEnd(from);
    qsizetype r = to.row;
    qsizetype c = to.column;
    const auto startBuilding = [&](const QString &source) {
        if (rebuilt)
            return;
        built += QStringView(source).left(c);
        rebuilt = true;
    };
    monitor.begin(double(rows.size()));
    for (;;) {
        const QString &source = rows[r];
        const bool joinNext = finder.findsBreak() && r + 1 < rows.size();
        if (joinNext) {
            startBuilding(source);
        } else {
            for (qsizetype k; (k = finder.in(source, c)) >= 0;) {
                startBuilding(source);
                built += QStringView(source).mid(c, k - c);
                built += normalised;
                endAt = built.size();
                c = k + finder.size();
                ++result.count;
            }
        }
        if (!rebuilt) {
            out.keep(source);
        } else {
            built += QStringView(source).mid(c);
            if (joinNext) {
                if (monitor.step(double(r + 1))) {
                    result.stopped = true;
                    out.add(built, endAt);
                    ++r;
                    break;
                }
                // The break after this row is an occurrence: the next row joins this one.
                built += normalised;
                endAt = built.size();
                ++result.count;
                c = 0;
                ++r;
                continue;
            }
            // Built in a buffer that is reused, kept at its exact size: a large text's new rows
            // take as little fresh memory as they can.
            out.add(QString(built.constData(), built.size()), endAt);
        }
        if (++r == rows.size())
            break;
        if (monitor.step(double(r))) {
            result.stopped = true;
            break;
        }
        if (rowsApart && rows.size() - r >= 2 * kRowsPerPiece) {
            result.end = out.end();
            result.rows = out.take();
            replaceInPieces(rows, r, r - result.rows.size(), finder, normalised, monitor, result);
            return result;
        }
        built.resize(0); // keeps its room
        endAt = -1;
        c = 0;
        rebuilt = false;
    }
    for (; r < rows.size(); ++r)
        out.keep(rows[r]);
    result.end = out.end();
    result.rows = out.take();
    return result;
}

} // namespace plintex::search
