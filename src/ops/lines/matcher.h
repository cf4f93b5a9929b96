#pragma once

#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace plintex::lines {

/// Where a search text first occurs in a row (from 0), or -1. The comparison is case-sensitive
/// and an empty search text never matches.
qsizetype firstMatch(QStringView row, QStringView text);

/// Several search texts, one per line of a multi-line field, looked for together: a row matches
/// when any of them occurs in it. Empty lines never match. Many texts are found in one pass over
/// the row rather than one pass per text.
class SearchTexts {
public:
    explicit SearchTexts(const QStringList &texts);

    bool isEmpty() const { return m_texts.empty(); }
    bool foundIn(QStringView row) const;

private:
    static std::size_t pairSlot(char16_t a, char16_t b) { return (a * 40503u ^ b) & 0xFFFFu; }
    bool test(const std::vector<std::uint64_t> &bits, std::size_t i) const
    {
        return (bits[i >> 6] >> (i & 63)) & 1u;
    }

    std::vector<QString> m_texts;
    // Texts of one character, by that character; longer ones by a hash of their first two.
    std::vector<std::uint64_t> m_singles;
    std::vector<std::uint64_t> m_pairs;
    std::vector<std::vector<qsizetype>> m_buckets;
};

} // namespace plintex::lines
