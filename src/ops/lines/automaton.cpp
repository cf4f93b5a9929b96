#include "ops/lines/automaton.h"

#include <algorithm>
#include <bit>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plintex::lines {
namespace {

// Past this many states (some 20 bytes each) the texts are looked for one by one.
constexpr std::size_t kMostStates = std::size_t(1) << 22;
// The full rows take at most 1 MiB: small enough to stay in the processor's cache, where a
// search of many texts in a script of many characters spends its time.
constexpr std::size_t kMostDenseEntries = std::size_t(1) << 18;
constexpr std::size_t kFewFirsts = 4;
// A state with more edges than this looks for one by halving.
constexpr std::uint32_t kLinearEdges = 8;
// In a full row: the next state accepts.
constexpr std::uint32_t kAccepted = 0xFFFFFFFF;

template <typename Unit> std::size_t codeOf(Unit u)
{
    return std::size_t(std::make_unsigned_t<Unit>(u));
}

} // namespace

template <typename Unit> std::optional<Automaton<Unit>> Automaton<Unit>::of(std::vector<Text> texts)
{
    std::erase_if(texts, [](const Text &t) { return t.empty(); });
    std::sort(texts.begin(), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    // Each state is a distinct beginning of a text: the sorted texts count them.
    std::size_t states = 1;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::size_t shared = 0;
        if (i > 0) {
            const Text &a = texts[i - 1], &b = texts[i];
            while (shared < a.size() && shared < b.size() && a[shared] == b[shared])
                ++shared;
        }
        states += texts[i].size() - shared;
    }
    if (states > kMostStates)
        return std::nullopt;

    Automaton a;
    // Classes in the order of the units, so that the sorted texts give each state's edges
    // sorted.
    a.m_classOf.assign(std::size_t(1) << (8 * sizeof(Unit)), 0);
    for (const Text &t : texts) {
        for (const Unit u : t)
            a.m_classOf[codeOf(u)] = 1;
    }
    for (std::uint32_t &c : a.m_classOf)
        c = c ? std::uint32_t(++a.m_classes) : 0;
    ++a.m_classes; // class 0

    // The trie, a level at a time, so that the states are numbered breadth first and each
    // state's edges come together. A text that runs through a state where another ends adds
    // nothing: a row holding it holds the shorter one.
    std::vector<std::uint32_t> edgeCount(1, 0);
    a.m_accepts.assign(1, 0);
    std::vector<std::uint32_t> active(texts.size());
    std::vector<std::uint32_t> at(texts.size(), 0);
    for (std::uint32_t i = 0; i < active.size(); ++i)
        active[i] = i;
    for (std::size_t depth = 0; !active.empty(); ++depth) {
        std::uint32_t lastParent = 0, lastClass = 0, lastChild = 0;
        for (const std::uint32_t i : active) {
            const std::uint32_t parent = at[i];
            const std::uint32_t c = a.m_classOf[codeOf(texts[i][depth])];
            if (lastChild == 0 || parent != lastParent || c != lastClass) {
                lastChild = std::uint32_t(a.m_accepts.size());
                a.m_accepts.push_back(0);
                edgeCount.push_back(0);
                ++edgeCount[parent];
                a.m_edgeClass.push_back(c);
                a.m_edgeTarget.push_back(lastChild);
                lastParent = parent;
                lastClass = c;
            }
            at[i] = lastChild;
            if (texts[i].size() == depth + 1)
                a.m_accepts[lastChild] = 1;
        }
        std::erase_if(active, [&](std::uint32_t i) {
            return texts[i].size() == depth + 1 || a.m_accepts[at[i]];
        });
    }
    const std::size_t count = a.m_accepts.size();
    a.m_edgesOf.assign(count + 1, 0);
    for (std::size_t s = 0; s < count; ++s)
        a.m_edgesOf[s + 1] = a.m_edgesOf[s] + edgeCount[s];

    // Breadth first: each state's failure link is the longest proper suffix of it that is a
    // state too; a state with a full row gets its links' edges where it has none of its own.
    a.m_dense =
        std::uint32_t(std::min(count, std::max<std::size_t>(1, kMostDenseEntries / a.m_classes)));
    a.m_next.assign(std::size_t(a.m_dense) * a.m_classes, 0);
    a.m_fail.assign(count, 0);
    for (std::uint32_t s = 0; s < count; ++s) {
        if (s < a.m_dense) {
            std::uint32_t *row = a.m_next.data() + std::size_t(s) * a.m_classes;
            if (s != 0) {
                const std::uint32_t *back =
                    a.m_next.data() + std::size_t(a.m_fail[s]) * a.m_classes;
                std::copy(back, back + a.m_classes, row);
            }
            for (std::uint32_t e = a.m_edgesOf[s]; e < a.m_edgesOf[s + 1]; ++e)
                row[a.m_edgeClass[e]] = a.m_edgeTarget[e];
        }
        for (std::uint32_t e = a.m_edgesOf[s]; e < a.m_edgesOf[s + 1]; ++e) {
            const std::uint32_t child = a.m_edgeTarget[e];
            a.m_fail[child] = s == 0 ? 0 : a.step(a.m_fail[s], a.m_edgeClass[e]);
            a.m_accepts[child] = char(a.m_accepts[child] | a.m_accepts[a.m_fail[child]]);
        }
    }

    // The search ends at the first accepting state, so the full rows name it by a mark of
    // their own, sparing the look-up.
    for (std::uint32_t &next : a.m_next) {
        if (a.m_accepts[next])
            next = kAccepted;
    }
    for (std::uint32_t e = a.m_edgesOf[0]; e < a.m_edgesOf[1]; ++e) {
        if (a.m_firsts.size() == kFewFirsts) {
            a.m_firsts.clear();
            break;
        }
        const std::uint32_t c = a.m_edgeClass[e];
        const auto unit = std::find(a.m_classOf.begin(), a.m_classOf.end(), c);
        a.m_firsts.push_back(Unit(unit - a.m_classOf.begin()));
    }
    return a;
}

template <typename Unit>
std::uint32_t Automaton<Unit>::edge(std::uint32_t state, std::uint32_t unitClass) const
{
    const std::uint32_t *begin = m_edgeClass.data() + m_edgesOf[state];
    const std::uint32_t *end = m_edgeClass.data() + m_edgesOf[state + 1];
    const std::uint32_t *found = end - begin > kLinearEdges
                                     ? std::lower_bound(begin, end, unitClass)
                                     : std::find(begin, end, unitClass);
    if (found == end || *found != unitClass)
        return 0;
    return m_edgeTarget[std::size_t(found - m_edgeClass.data())];
}

template <typename Unit>
std::uint32_t Automaton<Unit>::step(std::uint32_t state, std::uint32_t unitClass) const
{
    // A state's link is shorter than it, so the walk ends at a full row at the latest.
    while (state >= m_dense) {
        if (const std::uint32_t next = edge(state, unitClass); next != 0)
            return next;
        state = m_fail[state];
    }
    return m_next[std::size_t(state) * m_classes + unitClass];
}

template <typename Unit>
std::size_t Automaton<Unit>::nextFirst(const Unit *row, std::size_t from, std::size_t n) const
{
    std::size_t i = from;
#if defined(__SSE2__)
    constexpr std::size_t kLanes = 16 / sizeof(Unit);
    for (; i + kLanes <= n; i += kLanes) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + i));
        __m128i hits = _mm_setzero_si128();
        for (const Unit c : m_firsts) {
            if constexpr (sizeof(Unit) == 1)
                hits = _mm_or_si128(hits, _mm_cmpeq_epi8(units, _mm_set1_epi8(char(c))));
            else
                hits = _mm_or_si128(hits, _mm_cmpeq_epi16(units, _mm_set1_epi16(short(c))));
        }
        if (const int mask = _mm_movemask_epi8(hits); mask != 0)
            return i + std::size_t(std::countr_zero(unsigned(mask))) / sizeof(Unit);
    }
#endif
    for (; i < n; ++i) {
        if (std::find(m_firsts.begin(), m_firsts.end(), row[i]) != m_firsts.end())
            return i;
    }
    return n;
}

template <typename Unit> bool Automaton<Unit>::foundIn(const Unit *row, std::size_t n) const
{
    const std::uint32_t *classOf = m_classOf.data();
    const std::uint32_t *next = m_next.data();
    const std::size_t classes = m_classes;
    std::uint32_t state = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (state == 0) {
            // At the start a unit that begins no text leaves the search where it is.
            if (!m_firsts.empty())
                i = nextFirst(row, i, n);
            while (i < n && next[classOf[codeOf(row[i])]] == 0)
                ++i;
            if (i == n)
                break;
        }
        const std::uint32_t c = classOf[codeOf(row[i])];
        if (state < m_dense) {
            state = next[state * classes + c];
            if (state == kAccepted)
                return true;
        } else {
            state = c == 0 ? 0 : step(state, c);
            if (state == kAccepted || m_accepts[state])
                return true;
        }
    }
    return false;
}

template class Automaton<char16_t>;
template class Automaton<char>;

} // namespace plintex::lines
