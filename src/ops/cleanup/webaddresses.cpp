#include "ops/cleanup/webaddresses.h"

#include "ops/lines/matcher.h"

#include <QStringMatcher>

#include <array>
#include <vector>

using namespace Qt::StringLiterals;

namespace plintex::cleanup {
namespace {

/// A stretch [from, to) of the text as it was before a deletion loop took it out.
struct Cut {
    qsizetype from;
    qsizetype to;
};

/// The part of the growing text that a deletion can still reach: the lines before it are
/// settled and gone to the output. Places count from the start of the whole text.
struct Window {
    QString text;
    qsizetype base = 0; ///< where `text` starts
    qsizetype end() const { return base + text.size(); }
};

/// Takes the cuts (in order, apart) out of the text in one pass.
void cutOut(Window &window, const std::vector<Cut> &cuts)
{
    QChar *d = window.text.data() - window.base;
    qsizetype w = cuts.front().from;
    for (size_t k = 0; k < cuts.size(); ++k) {
        const qsizetype from = cuts[k].to;
        const qsizetype to = k + 1 < cuts.size() ? cuts[k + 1].from : window.end();
        std::copy(d + from, d + to, d + w);
        w += to - from;
    }
    window.text.truncate(w - window.base);
}

/// Where a prefix or an ending first occurs in the text, letter case ignored, kept up to date
/// while the text grows at its end and loses stretches anywhere. Searching each line again with
/// everything above it would take the square of the text's length; this searches each place
/// about once.
class FirstPlace {
public:
    explicit FirstPlace(const QString &pattern)
        : m_pattern(pattern), m_matcher(pattern, Qt::CaseInsensitive)
    {
    }

    qsizetype size() const { return m_pattern.size(); }

    /// The first place in the whole text, or -1. It may lie before the window: an ending there
    /// still comes first.
    qsizetype in(const Window &w)
    {
        if (m_found < 0 && m_scanned < w.end()) {
            const qsizetype at = m_matcher.indexIn(w.text, std::max(m_scanned, w.base) - w.base);
            m_found = at < 0 ? -1 : w.base + at;
            m_scanned = w.end();
        }
        return m_found;
    }

    /// The first place at or after `from`, within one deletion loop.
    qsizetype from(const Window &w, qsizetype from) const
    {
        const qsizetype at = m_matcher.indexIn(w.text, from - w.base);
        return at < 0 ? -1 : w.base + at;
    }

    /// What a deletion loop found last, in the text before its cuts: the first place there is.
    void setFound(qsizetype found, qsizetype textSize)
    {
        m_found = found;
        m_scanned = found < 0 ? textSize : found;
    }

    /// Follows the text through a loop's cuts: a place after a cut moves back, a place that was
    /// cut is looked for again from the cut on, and a join that forms the pattern anew counts.
    void afterCuts(const Window &w, const std::vector<Cut> &cuts)
    {
        const qsizetype len = m_pattern.size();
        const qsizetype bound = m_found >= 0 ? m_found : m_scanned;
        qsizetype removed = 0;
        qsizetype newBound = -1;
        for (const Cut &cut : cuts) {
            if (bound >= cut.to) {
                removed += cut.to - cut.from;
                continue;
            }
            const qsizetype join = cut.from - removed;
            if (m_found >= 0 && m_found + len > cut.from) {
                m_found = -1;
                newBound = std::max(w.base, join - len + 1);
            } else if (m_found < 0 && bound > cut.from) {
                newBound = join;
            }
            break;
        }
        if (newBound < 0)
            newBound = bound - removed;
        (m_found >= 0 ? m_found : m_scanned) = newBound;

        removed = 0;
        for (const Cut &cut : cuts) {
            const qsizetype join = cut.from - removed;
            removed += cut.to - cut.from;
            const qsizetype known = m_found >= 0 ? m_found : m_scanned;
            // No place starts before the window and reaches into it: a line break ends the
            // window's first line.
            const qsizetype start = std::max(w.base, join - len + 1);
            if (start >= known)
                break;
            for (qsizetype t = start; t < std::min(join, known); ++t) {
                if (t + len <= w.end() && QStringView(w.text)
                                                  .sliced(t - w.base, len)
                                                  .compare(m_pattern, Qt::CaseInsensitive) == 0) {
                    m_found = t;
                    return;
                }
            }
        }
    }

private:
    QString m_pattern;
    QStringMatcher m_matcher;
    qsizetype m_found = -1;  ///< the first place, or -1 when none is known
    qsizetype m_scanned = 0; ///< with none known: no place starts before this
};

} // namespace

bool holdsAddressEnding(const QStringList &lines)
{
    static const lines::SearchTexts endings(
        {u".html"_s, u".htm"_s, u".com"_s, u".org"_s, u".net"_s, u".php?"_s});
    for (const QString &line : lines) {
        if (endings.foundIn(line))
            return true;
    }
    return false;
}

bool deleteWebAddresses(QStringList &lines, RunMonitor &monitor)
{
    if (lines.isEmpty())
        return true;
    std::array prefixes{FirstPlace(u"http"_s), FirstPlace(u"www"_s)};
    std::array endings{FirstPlace(u".html"_s), FirstPlace(u".htm"_s), FirstPlace(u".com"_s),
                       FirstPlace(u".org"_s),  FirstPlace(u".net"_s), FirstPlace(u"php?"_s)};
    Window w;
    QStringList settled;
    settled.reserve(lines.size()); // deletions only join lines
    std::vector<Cut> cuts;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (monitor.step(double(i)))
            return false;
        if (i > 0)
            w.text += u'\n';
        w.text += lines[i];
        lines[i] = QString(); // taken: the lines settled below take its room
        for (FirstPlace &prefix : prefixes) {
            for (FirstPlace &ending : endings) {
                // One deletion loop: each search goes on after the stretch cut before it.
                qsizetype a = prefix.in(w);
                qsizetype b = a < 0 ? -1 : ending.in(w);
                cuts.clear();
                while (a >= 0 && b >= 0 && a < b + ending.size() - 1) {
                    cuts.push_back({a, b + ending.size()});
                    if (monitor.stopRequested())
                        return false;
                    a = prefix.from(w, cuts.back().to);
                    b = ending.from(w, cuts.back().to);
                }
                if (cuts.empty())
                    continue;
                prefix.setFound(a, w.end());
                ending.setFound(b, w.end());
                cutOut(w, cuts);
                for (FirstPlace &p : prefixes)
                    p.afterCuts(w, cuts);
                for (FirstPlace &e : endings)
                    e.afterCuts(w, cuts);
            }
        }
        // With no prefix left in the text, no deletion can reach the lines before the last:
        // they are settled (once they are at least half the window, so that each character
        // is moved about once). The endings are found first: one before the window still
        // counts.
        if (prefixes[0].in(w) >= 0 || prefixes[1].in(w) >= 0)
            continue;
        for (FirstPlace &e : endings)
            e.in(w);
        const qsizetype lastBreak = w.text.lastIndexOf(u'\n');
        if (lastBreak < 0 || lastBreak < w.text.size() / 2)
            continue;
        settled += w.text.first(lastBreak).split(u'\n');
        w.text.remove(0, lastBreak + 1);
        w.base += lastBreak + 1;
    }
    settled += w.text.split(u'\n');
    lines = std::move(settled);
    return true;
}

} // namespace plintex::cleanup
