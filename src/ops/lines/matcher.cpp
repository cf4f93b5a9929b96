#include "ops/lines/matcher.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plintex::lines {

qsizetype firstMatch(QStringView row, QStringView text)
{
    // Rows are short: looking for the first character four units at a time and comparing the
    // rest where it stands beats a general substring search set up anew for every row.
    const qsizetype m = text.size();
    if (m == 0 || m > row.size())
        return -1;
    const char16_t *data = reinterpret_cast<const char16_t *>(row.data());
    const char16_t *rest = reinterpret_cast<const char16_t *>(text.data()) + 1;
    const std::size_t restBytes = std::size_t(m - 1) * sizeof(char16_t);
    const char16_t first = text.front().unicode();
    const qsizetype last = row.size() - m; // the last place a match can start
    const auto matchesAt = [&](qsizetype i) {
        return data[i] == first && std::memcmp(data + i + 1, rest, restBytes) == 0;
    };
    qsizetype i = 0;
#if defined(__SSE2__)
    // Eight places at a time, where both the first and the last character of the text stand.
    const __m128i firstUnits = _mm_set1_epi16(short(first));
    const __m128i lastUnits = _mm_set1_epi16(short(text.back().unicode()));
    for (; i + 7 <= last; i += 8) {
        const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i + m - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(
            _mm_cmpeq_epi16(atFirst, firstUnits), _mm_cmpeq_epi16(atLast, lastUnits))));
        for (; mask != 0; mask &= mask - 1) {
            const qsizetype k = i + std::countr_zero(mask) / 2;
            mask &= mask - 1; // each unit sets two bits
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
            if (matchesAt(k))
                return k;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (matchesAt(i))
            return i;
    }
    return -1;
}

SearchTexts::SearchTexts(const QStringList &texts)
{
    for (const QString &t : texts) {
        if (!t.isEmpty() && std::find(m_texts.begin(), m_texts.end(), t) == m_texts.end())
            m_texts.push_back(t);
    }
    if (m_texts.size() > 1)
        buildAutomaton();
    for (const QString &t : m_texts) {
        if (std::find(m_firsts.begin(), m_firsts.end(), t.front().unicode()) == m_firsts.end())
            m_firsts.push_back(t.front().unicode());
    }
    constexpr std::size_t kFewFirsts = 4;
    if (m_firsts.size() > kFewFirsts)
        m_firsts.clear();
}

qsizetype SearchTexts::nextFirst(const char16_t *row, qsizetype from, qsizetype size) const
{
    qsizetype i = from;
#if defined(__SSE2__)
    for (; i + 8 <= size; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + i));
        __m128i hits = _mm_setzero_si128();
        for (const char16_t c : m_firsts)
            hits = _mm_or_si128(hits, _mm_cmpeq_epi16(units, _mm_set1_epi16(short(c))));
        if (const int mask = _mm_movemask_epi8(hits); mask != 0)
            return i + std::countr_zero(unsigned(mask)) / 2;
    }
#endif
    for (; i < size; ++i) {
        if (std::find(m_firsts.begin(), m_firsts.end(), row[i]) != m_firsts.end())
            return i;
    }
    return size;
}

void SearchTexts::buildAutomaton()
{
    constexpr std::size_t kMostEntries = std::size_t(1) << 23;
    m_class.assign(0x10000, 0);
    std::size_t states = 1;
    for (const QString &t : m_texts) {
        states += std::size_t(t.size());
        for (const QChar c : t) {
            if (m_class[c.unicode()] == 0 && m_classes < 0xFFFE)
                m_class[c.unicode()] = std::uint16_t(++m_classes);
        }
    }
    ++m_classes; // class 0
    if (states * m_classes > kMostEntries || m_classes > 0xFFFE) {
        m_class.clear();
        return;
    }

    // The trie of the texts; 0 is the root, and "no edge" is 0 too, as no edge leads back to it.
    m_next.assign(m_classes, 0);
    m_accepts.assign(1, 0);
    for (const QString &t : m_texts) {
        std::uint32_t state = 0;
        for (const QChar c : t) {
            const std::size_t at = state * m_classes + m_class[c.unicode()];
            if (m_next[at] == 0) {
                m_next[at] = std::uint32_t(m_accepts.size());
                m_accepts.push_back(0);
                m_next.resize(m_next.size() + m_classes, 0);
            }
            state = m_next[at];
        }
        m_accepts[state] = 1;
    }
    // Breadth first, each missing edge becomes the edge of the state's longest proper suffix
    // in the trie, so that the table alone follows the texts through a row.
    std::vector<std::uint32_t> fallback(m_accepts.size(), 0);
    std::vector<std::uint32_t> queue;
    for (std::size_t c = 0; c < m_classes; ++c) {
        if (const std::uint32_t child = m_next[c]; child != 0)
            queue.push_back(child);
    }
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::uint32_t state = queue[head];
        const std::uint32_t back = fallback[state];
        m_accepts[state] = char(m_accepts[state] | m_accepts[back]);
        for (std::size_t c = 0; c < m_classes; ++c) {
            std::uint32_t &edge = m_next[state * m_classes + c];
            const std::uint32_t backEdge = m_next[back * m_classes + c];
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
    if (m_texts.empty())
        return false;
    if (m_texts.size() == 1)
        return firstMatch(row, m_texts.front()) >= 0;
    if (m_class.empty()) {
        return std::any_of(m_texts.begin(), m_texts.end(),
                           [row](const QString &t) { return firstMatch(row, t) >= 0; });
    }
    const char16_t *data = reinterpret_cast<const char16_t *>(row.data());
    const qsizetype n = row.size();
    std::uint32_t state = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (state == 0 && !m_firsts.empty()) {
            i = nextFirst(data, i, n);
            if (i == n)
                break;
        }
        state = m_next[state * m_classes + m_class[data[i]]];
        if (m_accepts[state])
            return true;
    }
    return false;
}

} // namespace plintex::lines
