#include "ops/cleanup/replacementlist.h"

#include "ops/lines/matcher.h"

#include <algorithm>
#include <queue>
#include <unordered_map>

namespace plintex::cleanup {
namespace {

/// The list's *from* texts found together (an Aho-Corasick automaton): which entries occur in a
/// line, in one pass over it however long the list, so that a line is searched again only
/// after an entry has changed it.
class EntriesFound {
public:
    explicit EntriesFound(const QList<Replacement> &list)
    {
        m_nodes.emplace_back();
        for (qsizetype i = 0; i < list.size(); ++i) {
            int node = 0;
            for (const QChar c : list[i].from) {
                auto [at, added] = m_nodes[size_t(node)].next.try_emplace(c.unicode(), 0);
                if (added) {
                    at->second = int(m_nodes.size());
                    m_nodes.emplace_back();
                }
                node = at->second;
            }
            m_nodes[size_t(node)].entries.push_back(i);
        }
        // Breadth first: each node's fall-back is the longest proper suffix in the trie, and
        // its link the nearest such suffix that ends an entry.
        std::queue<int> queue;
        for (const auto &[c, child] : m_nodes[0].next)
            queue.push(child);
        while (!queue.empty()) {
            const int node = queue.front();
            queue.pop();
            for (const auto &[c, child] : m_nodes[size_t(node)].next) {
                const int fallBack = step(m_nodes[size_t(node)].fallBack, c);
                Node &n = m_nodes[size_t(child)];
                n.fallBack = fallBack;
                n.link = m_nodes[size_t(fallBack)].entries.empty() ? m_nodes[size_t(fallBack)].link
                                                                   : fallBack;
                queue.push(child);
            }
        }
        m_seen.assign(m_nodes.size(), 0);
    }

    /// The entries at `first` or after that occur in `line`, in list order.
    std::vector<qsizetype> in(QStringView line, qsizetype first)
    {
        ++m_pass;
        std::vector<qsizetype> found;
        int node = 0;
        for (const QChar c : line) {
            node = step(node, c.unicode());
            // A node met before in this pass has given its entries and its links' already.
            for (int n = m_nodes[size_t(node)].entries.empty() ? m_nodes[size_t(node)].link : node;
                 n > 0 && m_seen[size_t(n)] != m_pass; n = m_nodes[size_t(n)].link) {
                m_seen[size_t(n)] = m_pass;
                for (const qsizetype e : m_nodes[size_t(n)].entries) {
                    if (e >= first)
                        found.push_back(e);
                }
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    struct Node {
        std::unordered_map<char16_t, int> next;
        int fallBack = 0;
        int link = 0; ///< 0: none
        std::vector<qsizetype> entries;
    };

    int step(int node, char16_t c) const
    {
        while (true) {
            const auto &next = m_nodes[size_t(node)].next;
            if (const auto at = next.find(c); at != next.end())
                return at->second;
            if (node == 0)
                return 0;
            node = m_nodes[size_t(node)].fallBack;
        }
    }

    std::vector<Node> m_nodes;
    std::vector<quint64> m_seen;
    quint64 m_pass = 0;
};

void replaceAll(QString &line, const lines::Finder &from, const QString &to, QString &out)
{
    out.clear();
    qsizetype done = 0;
    for (qsizetype at = from.in(line); at >= 0; at = from.in(line, done)) {
        out += QStringView(line).sliced(done, at - done);
        out += to;
        done = at + from.size();
    }
    out += QStringView(line).sliced(done);
    line = out;
}

} // namespace

QList<Replacement> replacementsOf(const QStringList &listLines)
{
    QList<Replacement> list;
    for (const QString &line : listLines) {
        const qsizetype semicolon = line.indexOf(u';');
        if (semicolon > 0)
            list.append({line.first(semicolon), line.sliced(semicolon + 1)});
    }
    return list;
}

void applyReplacements(QStringList &lines, const QList<Replacement> &replacements)
{
    if (replacements.isEmpty())
        return;
    EntriesFound found(replacements);
    std::vector<lines::Finder> finders;
    for (const Replacement &r : replacements)
        finders.emplace_back(r.from);
    QString out;
    for (QString &line : lines) {
        // The first entry that occurs changes the line; the entries after it are looked for
        // again in what it made.
        for (qsizetype next = 0;;) {
            const std::vector<qsizetype> present = found.in(line, next);
            if (present.empty())
                break;
            const qsizetype i = present.front();
            replaceAll(line, finders[size_t(i)], replacements[i].to, out);
            next = i + 1;
        }
    }
}

} // namespace plintex::cleanup
