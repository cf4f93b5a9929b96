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

/// Takes the cuts (in order, apart) out of the text in one pass.
void cutOut(QString &text, const std::vector<Cut> &cuts)
{
    QChar *d = text.data();
    qsizetype w = cuts.front().from;
    for (size_t k = 0; k < cuts.size(); ++k) {
        const qsizetype from = cuts[k].to;
        const qsizetype to = k + 1 < cuts.size() ? cuts[k + 1].from : text.size();
        std::copy(d + from, d + to, d + w);
        w += to - from;
    }
    text.truncate(w);
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

    /// The first place in the whole text, or -1.
    qsizetype in(QStringView text)
    {
        if (m_found < 0 && m_scanned < text.size()) {
            m_found = m_matcher.indexIn(text, m_scanned);
            m_scanned = text.size();
        }
        return m_found;
    }

    /// The first place at or after `from`, within one deletion loop.
    qsizetype from(QStringView text, qsizetype from) const { return m_matcher.indexIn(text, from); }

    /// What a deletion loop found last, in the text before its cuts: the first place there is.
    void setFound(qsizetype found, qsizetype textSize)
    {
        m_found = found;
        m_scanned = found < 0 ? textSize : found;
    }

    /// Follows the text through a loop's cuts: a place after a cut moves back, a place that was
    /// cut is looked for again from the cut on, and a join that forms the pattern anew counts.
    void afterCuts(QStringView text, const std::vector<Cut> &cuts)
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
                newBound = std::max<qsizetype>(0, join - len + 1);
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
            const qsizetype start = std::max<qsizetype>(0, join - len + 1);
            if (start >= known)
                break;
            for (qsizetype t = start; t < std::min(join, known); ++t) {
                if (t + len <= text.size() &&
                    text.sliced(t, len).compare(m_pattern, Qt::CaseInsensitive) == 0) {
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

std::optional<QStringList> deleteWebAddresses(const QStringList &lines, RunMonitor &monitor)
{
    if (lines.isEmpty())
        return lines;
    std::array prefixes{FirstPlace(u"http"_s), FirstPlace(u"www"_s)};
    std::array endings{FirstPlace(u".html"_s), FirstPlace(u".htm"_s), FirstPlace(u".com"_s),
                       FirstPlace(u".org"_s),  FirstPlace(u".net"_s), FirstPlace(u"php?"_s)};
    QString text;
    std::vector<Cut> cuts;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (monitor.step(double(i)))
            return std::nullopt;
        if (i > 0)
            text += u'\n';
        text += lines[i];
        for (FirstPlace &prefix : prefixes) {
            for (FirstPlace &ending : endings) {
                // One deletion loop: each search goes on after the stretch cut before it.
                qsizetype a = prefix.in(text);
                qsizetype b = a < 0 ? -1 : ending.in(text);
                cuts.clear();
                while (a >= 0 && b >= 0 && a < b + ending.size() - 1) {
                    cuts.push_back({a, b + ending.size()});
                    if (monitor.stopRequested())
                        return std::nullopt;
                    a = prefix.from(text, cuts.back().to);
                    b = ending.from(text, cuts.back().to);
                }
                if (cuts.empty())
                    continue;
                prefix.setFound(a, text.size());
                ending.setFound(b, text.size());
                cutOut(text, cuts);
                for (FirstPlace &p : prefixes)
                    p.afterCuts(text, cuts);
                for (FirstPlace &e : endings)
                    e.afterCuts(text, cuts);
            }
        }
    }
    return text.split(u'\n');
}

} // namespace plintex::cleanup
