#pragma once

#include <QStringList>

#include <cstdint>
#include <vector>

namespace plintex::lines {

/// Where a search text first occurs in a row (from 0), or -1. The comparison is case-sensitive
/// and an empty search text never matches.
qsizetype firstMatch(QStringView row, QStringView text);

/// Several search texts, one per line of a multi-line field, looked for together: a row matches
/// when any of them occurs in it. Empty lines never match. Many texts are found in one pass over
/// the row (an Aho-Corasick automaton) rather than one pass per text.
class SearchTexts {
public:
    explicit SearchTexts(const QStringList &texts);

    bool isEmpty() const { return m_texts.empty(); }
    bool foundIn(QStringView row) const;

private:
    void buildAutomaton();
    qsizetype nextFirst(const char16_t *row, qsizetype from, qsizetype size) const;

    std::vector<QString> m_texts;
    // The automaton, when there are several texts: each character's class (0 for characters no
    // text holds), and for each state and class the next state; a state that ends a text
    // accepts. Texts too many for a table of reasonable size are looked for one by one.
    std::vector<std::uint16_t> m_class;
    std::size_t m_classes = 0;
    std::vector<std::uint32_t> m_next;
    std::vector<char> m_accepts;
    /// The first characters of the texts when they are few: away from any partial match, the
    /// search leaps to the next of them, eight places at a time.
    std::vector<char16_t> m_firsts;
};

} // namespace plintex::lines
