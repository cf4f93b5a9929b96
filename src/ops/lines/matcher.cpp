#include "ops/lines/matcher.h"

#include <QSet>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plintex::lines {

namespace {

const char16_t *units(QStringView s)
{
    return reinterpret_cast<const char16_t *>(s.data());
}

/// The greatest suffix of `x` in the order of its units (or the reverse order): the place just
/// before it, and its period.
std::pair<qsizetype, qsizetype> greatestSuffix(const char16_t *x, qsizetype m, bool reverse)
{
    qsizetype before = -1;
    qsizetype j = 0;
    qsizetype k = 1;
    qsizetype period = 1;
    while (j + k < m) {
        const char16_t a = x[j + k];
        const char16_t b = x[before + k];
        if (reverse ? b < a : a < b) {
            j += k;
            k = 1;
            period = j - before;
        } else if (a == b) {
            if (k != period) {
                ++k;
            } else {
                j += period;
                k = 1;
            }
        } else {
            before = j++;
            k = period = 1;
        }
    }
    return {before, period};
}

// The filter checks a candidate place at a cost of up to the text's length; once the checks
// have cost more than this many units per unit of row passed over, plus a slack, the rest of
// the row goes to Two-Way. Texts of four units or fewer never reach that.
constexpr qsizetype kChecksPerUnit = 4;
constexpr qsizetype kCheckSlack = 1024;

} // namespace

Finder::Finder(QString text) : m_text(std::move(text))
{
    const qsizetype m = m_text.size();
    if (m == 0)
        return;
    const char16_t *x = units(m_text);
    if (m < 3) {
        m_split = m - 1;
        m_period = 1;
    } else {
        // The critical factorization: the later of the two greatest suffixes.
        const auto [up, upPeriod] = greatestSuffix(x, m, false);
        const auto [down, downPeriod] = greatestSuffix(x, m, true);
        m_split = std::max(up, down) + 1;
        m_period = up > down ? upPeriod : downPeriod;
    }
    m_periodic = std::equal(x, x + m_split, x + m_period);
    if (!m_periodic)
        m_period = std::max(m_split, m - m_split) + 1;
}

qsizetype Finder::in(QStringView row, qsizetype from) const
{
    // Rows are short: looking for the first character several units at a time and comparing
    // the rest where it stands beats a general substring search.
    const qsizetype m = m_text.size();
    if (m == 0 || from < 0 || from > row.size() - m)
        return -1;
    const char16_t *data = units(row);
    const char16_t *rest = units(m_text) + 1;
    const std::size_t restBytes = std::size_t(m - 1) * sizeof(char16_t);
    const char16_t first = m_text.front().unicode();
    const qsizetype last = row.size() - m; // the last place a match can start
    qsizetype spent = 0;
    const auto tooCostly = [&](qsizetype k) {
        spent += m;
        return spent > kChecksPerUnit * (k - from) + kCheckSlack;
    };
    const auto matchesAt = [&](qsizetype i) {
        return data[i] == first && std::memcmp(data + i + 1, rest, restBytes) == 0;
    };
    qsizetype i = from;
#if defined(__SSE2__)
    // Eight places at a time, where both the first and the last character of the text stand.
    const __m128i firstUnits = _mm_set1_epi16(short(first));
    const __m128i lastUnits = _mm_set1_epi16(short(m_text.back().unicode()));
    for (; i + 7 <= last; i += 8) {
        const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i + m - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(
            _mm_cmpeq_epi16(atFirst, firstUnits), _mm_cmpeq_epi16(atLast, lastUnits))));
        for (; mask != 0; mask &= mask - 1) {
            const qsizetype k = i + std::countr_zero(mask) / 2;
            mask &= mask - 1; // each unit sets two bits
            if (tooCostly(k))
                return linearIn(row, k);
            if (matchesAt(k))
                return k;
        }
    }
#else
    constexpr std::uint64_t ones = 0x0001000100010001ULL;
    constexpr std::uint64_t highs = 0x8000800080008000ULL;
    const std::uint64_t pattern = ones * first;
    for (; i + 3 <= last; i += 4) {
        std::uint64_t v;
        std::memcpy(&v, data + i, sizeof v);
        const std::uint64_t x = v ^ pattern; // a unit equal to `first` gives a zero lane
        if (((x - ones) & ~x & highs) == 0)
            continue;
        for (qsizetype k = i; k < i + 4; ++k) {
            if (data[k] != first)
                continue;
            if (tooCostly(k))
                return linearIn(row, k);
            if (matchesAt(k))
                return k;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (data[i] != first)
            continue;
        if (tooCostly(i))
            return linearIn(row, i);
        if (matchesAt(i))
            return i;
    }
    return -1;
}

qsizetype Finder::linearIn(QStringView row, qsizetype from) const
{
    // Two-Way: the right part of the text is compared left to right, then the left part right
    // to left; a mismatch in the right part shifts by the units matched, one in the left part
    // by the period. A periodic text remembers how much of it the last shift kept matched.
    const qsizetype m = m_text.size();
    const qsizetype n = row.size();
    if (m == 0 || from < 0 || from > n - m)
        return -1;
    const char16_t *x = units(m_text);
    const char16_t *y = units(row);
    qsizetype memory = 0;
    for (qsizetype j = from; j <= n - m;) {
        qsizetype i = std::max(m_split, memory);
        while (i < m && x[i] == y[i + j])
            ++i;
        if (i < m) {
            j += i - m_split + 1;
            memory = 0;
            continue;
        }
        i = m_split - 1;
        while (i >= memory && x[i] == y[i + j])
            --i;
        if (i < memory)
            return j;
        j += m_period;
        memory = m_periodic ? m - m_period : 0;
    }
    return -1;
}

void foldCase(QStringView text, QString &into)
{
    const qsizetype n = text.size();
    into.resize(n);
    const char16_t *in = units(text);
    char16_t *out = reinterpret_cast<char16_t *>(into.data());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (c < 0x80) {
            out[i] = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
            const char32_t whole = QChar::surrogateToUcs4(c, in[i + 1]);
            const char32_t folded = QChar::toCaseFolded(whole);
            const char32_t kept = QChar::requiresSurrogates(folded) ? folded : whole;
            out[i] = QChar::highSurrogate(kept);
            out[++i] = QChar::lowSurrogate(kept);
        } else {
            out[i] = char16_t(QChar::toCaseFolded(char32_t(c)));
        }
    }
}

QString foldCase(QStringView text)
{
    QString folded;
    foldCase(text, folded);
    return folded;
}

bool caseMatters(QStringView text)
{
    // For each folding, whether more than one character of the Basic Multilingual Plane folds
    // to it.
    static const std::vector<bool> shared = [] {
        std::vector<std::uint8_t> count(0x10000, 0);
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const char32_t folded = QChar::toCaseFolded(c);
            if (folded < 0x10000 && count[folded] < 2)
                ++count[folded];
        }
        std::vector<bool> more(0x10000);
        for (std::size_t c = 0; c < more.size(); ++c)
            more[c] = count[c] > 1;
        return more;
    }();
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char32_t folded = QChar::toCaseFolded(char32_t(c.unicode()));
        return c.isSurrogate() || folded >= 0x10000 || shared[folded];
    });
}

CaselessFinder::CaselessFinder(const QString &text)
    : m_fold(caseMatters(text)), m_finder(m_fold ? foldCase(text) : text)
{
}

qsizetype CaselessFinder::in(const QStringList &lines, qsizetype index, qsizetype from)
{
    if (!m_fold)
        return m_finder.in(lines[index], from);
    if (index != m_foldedIndex) {
        foldCase(lines[index], m_folded);
        m_foldedIndex = index;
    }
    return m_finder.in(m_folded, from);
}

struct SearchTexts::Tables {
    void buildAutomaton();
    qsizetype nextFirst(const char16_t *row, qsizetype from, qsizetype size) const;

    std::vector<Finder> texts; ///< each text once, in field order
    // The automaton, when there are several texts: each character's class (0 for characters no
    // text holds), and for each state and class the next state; a state that ends a text
    // accepts. Texts too many for a table of reasonable size are looked for one by one.
    std::vector<std::uint16_t> classOf;
    std::size_t classes = 0;
    std::vector<std::uint32_t> next;
    std::vector<char> accepts;
    /// The first characters of the texts when they are few: away from any partial match, the
    /// search leaps to the next of them, eight places at a time.
    std::vector<char16_t> firsts;
};

SearchTexts::SearchTexts(const QStringList &texts)
{
    auto tables = std::make_shared<Tables>();
    // Each text once, first place kept; the set keeps this linear in the number of texts.
    QSet<QStringView> seen;
    seen.reserve(texts.size());
    tables->texts.reserve(std::size_t(texts.size()));
    for (const QString &t : texts) {
        if (t.isEmpty())
            continue;
        const qsizetype before = seen.size();
        seen.insert(t);
        if (seen.size() != before)
            tables->texts.emplace_back(t);
    }
    if (tables->texts.size() > 1)
        tables->buildAutomaton();
    constexpr std::size_t kFewFirsts = 4;
    std::vector<char16_t> &firsts = tables->firsts;
    for (const Finder &t : tables->texts) {
        const char16_t first = t.text().front().unicode();
        if (std::find(firsts.begin(), firsts.end(), first) != firsts.end())
            continue;
        if (firsts.size() == kFewFirsts) {
            firsts.clear();
            break;
        }
        firsts.push_back(first);
    }
    m_tables = std::move(tables);
}

bool SearchTexts::isEmpty() const
{
    return m_tables->texts.empty();
}

qsizetype SearchTexts::Tables::nextFirst(const char16_t *row, qsizetype from, qsizetype size) const
{
    qsizetype i = from;
#if defined(__SSE2__)
    for (; i + 8 <= size; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + i));
        __m128i hits = _mm_setzero_si128();
        for (const char16_t c : firsts)
            hits = _mm_or_si128(hits, _mm_cmpeq_epi16(units, _mm_set1_epi16(short(c))));
        if (const int mask = _mm_movemask_epi8(hits); mask != 0)
            return i + std::countr_zero(unsigned(mask)) / 2;
    }
#endif
    for (; i < size; ++i) {
        if (std::find(firsts.begin(), firsts.end(), row[i]) != firsts.end())
            return i;
    }
    return size;
}

void SearchTexts::Tables::buildAutomaton()
{
    constexpr std::size_t kMostEntries = std::size_t(1) << 23;
    classOf.assign(0x10000, 0);
    std::size_t states = 1;
    for (const Finder &t : texts) {
        states += std::size_t(t.size());
        for (const QChar c : t.text()) {
            if (classOf[c.unicode()] == 0 && classes < 0xFFFE)
                classOf[c.unicode()] = std::uint16_t(++classes);
        }
    }
    ++classes; // class 0
    if (states * classes > kMostEntries || classes > 0xFFFE) {
        classOf.clear();
        return;
    }

    // The trie of the texts; 0 is the root, and "no edge" is 0 too, as no edge leads back to it.
    next.assign(classes, 0);
    accepts.assign(1, 0);
    for (const Finder &t : texts) {
        std::uint32_t state = 0;
        for (const QChar c : t.text()) {
            const std::size_t at = state * classes + classOf[c.unicode()];
            if (next[at] == 0) {
                next[at] = std::uint32_t(accepts.size());
                accepts.push_back(0);
                next.resize(next.size() + classes, 0);
            }
            state = next[at];
        }
        accepts[state] = 1;
    }
    // Breadth first, each missing edge becomes the edge of the state's longest proper suffix
    // in the trie, so that the table alone follows the texts through a row.
    std::vector<std::uint32_t> fallback(accepts.size(), 0);
    std::vector<std::uint32_t> queue;
    for (std::size_t c = 0; c < classes; ++c) {
        if (const std::uint32_t child = next[c]; child != 0)
            queue.push_back(child);
    }
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::uint32_t state = queue[head];
        const std::uint32_t back = fallback[state];
        accepts[state] = char(accepts[state] | accepts[back]);
        for (std::size_t c = 0; c < classes; ++c) {
            std::uint32_t &edge = next[state * classes + c];
            const std::uint32_t backEdge = next[back * classes + c];
            if (edge == 0) {
                edge = backEdge;
            } else {
                fallback[edge] = backEdge;
                queue.push_back(edge);
            }
        }
    }
}

bool SearchTexts::foundIn(QStringView row) const
{
    const Tables &t = *m_tables;
    if (t.texts.empty())
        return false;
    if (t.texts.size() == 1)
        return t.texts.front().in(row) >= 0;
    if (t.classOf.empty()) {
        return std::any_of(t.texts.begin(), t.texts.end(),
                           [row](const Finder &f) { return f.in(row) >= 0; });
    }
    const char16_t *data = units(row);
    const qsizetype n = row.size();
    std::uint32_t state = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (state == 0 && !t.firsts.empty()) {
            i = t.nextFirst(data, i, n);
            if (i == n)
                break;
        }
        state = t.next[state * t.classes + t.classOf[data[i]]];
        if (t.accepts[state])
            return true;
    }
    return false;
}

} // namespace plintex::lines
