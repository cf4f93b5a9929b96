#include "ops/lines/markduplicates.h"

#include "ops/common/params.h"
#include "ops/common/trim.h"
#include "ops/lines/texttable.h"

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kMark = u"mark"_s;
const QString kRemove = u"remove"_s;
const QString kIgnoreBlanks = u"ignoreBlanks"_s;
constexpr QStringView kMarker = u"-->";

/// The rows grouped by their trimmed text. The groups are those of the rows as they stand, so a
/// row already marked by an earlier run is grouped by its marked text and marked once more only
/// as a member of such a group, never twice in one run.
class Groups {
public:
    /// Counts the row with the trimmed text `key` (empty: a row in no group).
    void count(QStringView key)
    {
        if (key.isEmpty()) {
            m_textOfRow.push_back(0);
            return;
        }
        // A few rows wait, their places in the table prefetched, and are then looked up
        // together.
        const size_t hash = m_texts.hashOf(key);
        m_texts.prefetch(hash);
        m_waiting.push_back({m_waitingTexts.size(), key.size(), hash, m_textOfRow.size()});
        m_waitingTexts.append(key);
        m_textOfRow.push_back(0);
        if (m_waiting.size() == kWaiting)
            settle();
    }

    /// After the last row counted: what the table must still tell, and the table let go.
    void counted()
    {
        settle();
        m_texts = TextTable();
    }

    /// Whether row `index` (from 0) is in a group: its trimmed text occurs more than once.
    bool inGroup(qint64 index) const
    {
        const qint64 number = textOf(index);
        return number > 0 && m_seen[size_t(number - 1)] != kOnce;
    }
    /// The group of row `index`, which is in one; `text` is the row's own, which becomes the
    /// group's first row when the group has none yet.
    qint64 groupOf(qint64 index, const QString &text)
    {
        qint64 &seen = m_seen[size_t(textOf(index) - 1)];
        if (seen == kMore) {
            m_firstRows.append(text);
            seen = -m_firstRows.size();
        }
        return -seen;
    }
    const QString &firstRow(qint64 group) const { return m_firstRows[group - 1]; }

private:
    // What is known of a text: seen once, seen more often, or (negative) the number of its
    // group once its first row has been marked.
    static constexpr qint64 kOnce = 1;
    static constexpr qint64 kMore = 2;
    static constexpr size_t kWaiting = 16;

    qint64 textOf(qint64 index) const
    {
        return size_t(index) < m_textOfRow.size() ? m_textOfRow[size_t(index)] : 0;
    }

    struct Waiting {
        qsizetype at = 0;
        qsizetype size = 0;
        size_t hash = 0;
        size_t row = 0;
    };

    void settle()
    {
        for (const Waiting &w : m_waiting) {
            const qint64 number =
                m_texts.numberOf(QStringView(m_waitingTexts).sliced(w.at, w.size), w.hash);
            if (size_t(number) > m_seen.size())
                m_seen.push_back(kOnce);
            else
                m_seen[size_t(number - 1)] = kMore;
            m_textOfRow[w.row] = number;
        }
        m_waiting.clear();
        m_waitingTexts.resize(0);
    }

    TextTable m_texts;
    std::vector<Waiting> m_waiting;
    QString m_waitingTexts;
    std::vector<qint64> m_textOfRow; ///< by row: the number of its text, 0 for an empty one
    std::vector<qint64> m_seen;      ///< by number of a text - 1
    QStringList m_firstRows;         ///< the text of each group's first row, by group - 1
};

PassPlan markPlan(const PassStart &start)
{
    const bool ignoreBlanks = start.params.flag(kIgnoreBlanks);
    auto groups = std::make_shared<Groups>();
    // Each row's text is looked up once, by the measuring pass; the row pass only reads what
    // that pass left for the row, and decodes no row it keeps as it came.
    PassPlan plan = planOf([groups, ignoreBlanks](qint64 index, PassRow &row, PassOutput &out) {
        if (index == 0)
            groups->counted();
        if (!groups->inGroup(index)) {
            if (ignoreBlanks && common::collapseBlankRuns(row.text()))
                out.keepRewritten();
            else
                out.keep();
            return true;
        }
        QString &text = row.text();
        if (ignoreBlanks)
            common::collapseBlankRuns(text);
        const qint64 group = groups->groupOf(index, text);
        text = QString::number(group) + kMarker + groups->firstRow(group);
        out.keepRewritten();
        return true;
    });
    plan.measure = passOf(
        [groups, ignoreBlanks, scratch = QString()](qint64, PassRow &row, PassOutput &) mutable {
            QStringView text = row.text();
            if (ignoreBlanks && text.contains(u"  ")) {
                scratch.resize(0); // the row itself is only read here
                scratch.append(text);
                common::collapseBlankRuns(scratch);
                text = scratch;
            }
            groups->count(common::trimmed(text));
            return true;
        });
    plan.outputTexts = {kMarker.toString()};
    return plan;
}

PassPlan removeMarkersPlan(const PassStart &)
{
    return planOf([](qint64, PassRow &row, PassOutput &out) {
        QString &text = row.text();
        const qsizetype at = QStringView(text).indexOf(kMarker);
        if (at < 0) {
            out.keep();
        } else {
            text.remove(0, at + kMarker.size());
            out.keepRewritten();
        }
        return true;
    });
}

PassPlan plan(const PassStart &start)
{
    return start.runButton == kRemove ? removeMarkersPlan(start) : markPlan(start);
}

} // namespace

FunctionBody markDuplicateLines()
{
    const QString before =
        u"Line1 111\r\nLine2 222\r\nLine3 333\r\nLine2 222\r\nLine1 111\r\nLine2 222\r\nLine4 444"_s;
    const QString after = u"1-->Line1 111\r\n2-->Line2 222\r\nLine3 333\r\n2-->Line2 222\r\n"
                          u"1-->Line1 111\r\n2-->Line2 222\r\nLine4 444"_s;
    return {
        .description = u"Puts a group number and \"-->\" before every row whose text, blanks "
                       u"at its ends aside, occurs more than once, or takes such markers off."_s,
        .panel =
            {
                runButton(kMark, u"Mark duplicate lines."_s),
                common::tickBox(kIgnoreBlanks, u"Ignore multiple blanks."_s),
                runButton(kRemove, u"Remove markers."_s),
            },
        .rowPass = plan,
        .example = {.title = u"Mark duplicate lines"_s,
                    .before = before,
                    .after = after + u' ',
                    .runButton = kMark,
                    // The panel's last row ends in a blank that the result does not show.
                    .expected = after},
    };
}

} // namespace plintex::lines
