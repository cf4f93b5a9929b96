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
    if (m_texts.size() > 1)
        buildAutomaton();
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
    std::uint32_t state = 0;
    for (const QChar c : row) {
        state = m_next[state * m_classes + m_class[c.unicode()]];
        if (m_accepts[state])
            return true;
    }
    return false;
}

} // namespace plintex::lines
