#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace plintex::lines {

/// An Aho-Corasick automaton telling whether any of several texts occurs in a row of units
/// (UTF-16 units, or bytes), in one pass over the row whatever the number of texts. Its tables
/// fit any alphabet: the states nearest the start, where a search spends most of its steps,
/// have a full row of next states; the others keep only their own edges, sorted, and fall back
/// along their failure links. `Unit` is char16_t or char.
template <typename Unit> class Automaton {
public:
    using Text = std::basic_string_view<Unit>;

    /// The automaton of the texts (none empty), or nothing when they would need more states
    /// than a table of reasonable size holds.
    static std::optional<Automaton> of(std::vector<Text> texts);

    bool foundIn(const Unit *row, std::size_t n) const;

private:
    std::uint32_t step(std::uint32_t state, std::uint32_t unitClass) const;
    std::uint32_t edge(std::uint32_t state, std::uint32_t unitClass) const;
    /// Away from any partial match: the next place whose unit starts a text, or `n`.
    std::size_t nextFirst(const Unit *row, std::size_t from, std::size_t n) const;

    std::vector<std::uint32_t> m_classOf; ///< each unit's class, in unit order; 0: in no text
    std::size_t m_classes = 0;
    std::uint32_t m_dense = 0;            ///< the states below it have full rows in m_next
    std::vector<std::uint32_t> m_next;    ///< the full rows, by state and class
    std::vector<std::uint32_t> m_edgesOf; ///< where each state's edges start, then the end
    std::vector<std::uint32_t> m_edgeClass;
    std::vector<std::uint32_t> m_edgeTarget;
    std::vector<std::uint32_t> m_fail;
    std::vector<char> m_accepts;
    std::vector<Unit> m_firsts; ///< the units that start a text, when they are few
};

extern template class Automaton<char16_t>;
extern template class Automaton<char>;

} // namespace plintex::lines
