#include "ops/lines/matcher.h"

#include <algorithm>
#include <cstring>

namespace plintex::lines {

qsizetype firstMatch(QStringView row, QStringView text)
{
    // Rows are short: finding the first character with the vectorised character search and
    // comparing the rest beats a general substring search set up anew for every row.
    const qsizetype m = text.size();
    if (m == 0 || m > row.size())
        return -1;
    const QChar first = text.front();
    const qsizetype last = row.size() - m;
    const std::size_t restBytes = std::size_t(m - 1) * sizeof(char16_t);
    for (qsizetype i = row.indexOf(first); i >= 0 && i <= last; i = row.indexOf(first, i + 1)) {
        if (std::memcmp(row.utf16() + i + 1, text.utf16() + 1, restBytes) == 0)
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
    if (m_texts.size() < 2)
        return;
    m_singles.assign(1024, 0);
    m_pairs.assign(1024, 0);
    m_buckets.resize(0x10000);
    for (qsizetype i = 0; i < qsizetype(m_texts.size()); ++i) {
        const QString &t = m_texts[i];
        if (t.size() == 1) {
            const std::size_t c = t[0].unicode();
            m_singles[c >> 6] |= std::uint64_t(1) << (c & 63);
        } else {
            const std::size_t slot = pairSlot(t[0].unicode(), t[1].unicode());
            m_pairs[slot >> 6] |= std::uint64_t(1) << (slot & 63);
            m_buckets[slot].push_back(i);
        }
    }
}

bool SearchTexts::foundIn(QStringView row) const
{
    if (m_texts.empty())
        return false;
    if (m_texts.size() == 1)
        return firstMatch(row, m_texts.front()) >= 0;
    const char16_t *s = row.utf16();
    const qsizetype n = row.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (test(m_singles, s[i]))
            return true;
        if (i + 1 == n)
            break;
        const std::size_t slot = pairSlot(s[i], s[i + 1]);
        if (!test(m_pairs, slot))
            continue;
        const QStringView rest = row.sliced(i);
        for (const qsizetype t : m_buckets[slot]) {
            if (rest.startsWith(m_texts[t]))
                return true;
        }
    }
    return false;
}

} // namespace plintex::lines
