#include "ops/lines/matcher.h"

#include <algorithm>

namespace plintex::lines {

qsizetype firstMatch(QStringView row, QStringView text)
{
    if (text.isEmpty())
        return -1;
    return row.indexOf(text);
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
        return row.contains(m_texts.front());
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
