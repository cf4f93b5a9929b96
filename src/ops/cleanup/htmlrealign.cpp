#include "ops/cleanup/htmlrealign.h"

#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

namespace plintex::cleanup {
namespace {

const QString kOverlaid = u"Data has been overlayed!"_s;

/// The 1-based position of the first non-blank; an empty or blank line counts as indented
/// further than any line can be.
qsizetype indentOf(QStringView line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != u' ')
            return i + 1;
    }
    return std::numeric_limits<qsizetype>::max();
}

/// The realigned rows of a text, line by line. The merge buffer grows to the longest line of
/// its row, so no character is lost.
class MergedRows {
public:
    void add(QStringView line)
    {
        const qsizetype indent = indentOf(line);
        // Not indented further than the line before: a new row starts.
        if (indent <= m_previousIndent)
            endRow();
        m_previousIndent = indent;
        if (line.size() > m_merged.size())
            m_merged.resize(line.size(), u' ');
        QChar *merged = m_merged.data();
        for (qsizetype c = indent - 1; c < line.size(); ++c) {
            if (line[c] == u' ')
                continue;
            if (merged[c] != u' ')
                m_overlaid = true; // the later line's character wins
            merged[c] = line[c];
        }
    }

    /// The rows, the last one ended; the warning when characters were overlaid.
    QStringList take(RunResult &result)
    {
        endRow();
        if (m_overlaid)
            result.notices.append(kOverlaid);
        return std::move(m_rows);
    }

private:
    void endRow()
    {
        qsizetype end = m_merged.size();
        while (end > 0 && m_merged[end - 1] == u' ')
            --end;
        m_rows.append(m_merged.first(end));
        m_merged.resize(0); // keeps its room for the next row
    }

    QString m_merged;
    qsizetype m_previousIndent = -1;
    bool m_overlaid = false;
    QStringList m_rows;
};

/// On the command line: every line kept as it streams by, the rows after the last.
PassPlan plan(const PassStart &)
{
    PassPlan plan;
    auto rows = std::make_shared<MergedRows>();
    plan.pass = passOf(
        [rows](qint64, PassRow &row, PassOutput &out) {
            rows->add(row.text());
            out.keep();
            return true;
        },
        [rows](PassOutput &out, RunResult &result) {
            for (const QString &row : rows->take(result))
                out.add(row);
        });
    return plan;
}

/// In the window the text stays as it is, so its lines are kept whole and the rows added.
RunResult run(RunInput input, RunMonitor &monitor)
{
    QStringList &lines = input.lines;
    MergedRows rows;
    monitor.begin(double(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (monitor.step(double(i)))
            return RunResult::stopped();
        rows.add(lines.at(i));
    }
    RunResult result;
    lines.append(rows.take(result));
    result.lines = std::move(lines);
    return result;
}

} // namespace

FunctionBody htmlRealign()
{
    const QString nine(9, u' ');
    const QString eighteen(18, u' ');
    const QString before = u"Month\r\n"_s + nine + u"Avg\r\n"_s + eighteen +
                           u"Totals\r\nHits\r\n"_s + nine + u"Files\r\n"_s + eighteen +
                           u"Pages\r\n3600\r\n"_s + nine + u"2726\r\n"_s + eighteen + u"224"_s;
    const QString rows = u"Month    Avg      Totals\r\nHits     Files    Pages\r\n"
                         u"3600     2726     224"_s;
    return {
        .description = u"Overlays each staircase of indented lines, as a web page's table "
                       u"arrives when pasted, into one row, and appends the rows below the "
                       u"text."_s,
        .panel = {runButton(), caption(u"Realign html."_s)},
        .run = run,
        .rowPass = plan,
        .example = {.title = u"Attempt to realign HTML (Before is result of a copy and paste "
                             u"from a web page)"_s,
                    .before = before,
                    .after = rows,
                    // The panel shows only the rows the run appends below the text.
                    .expected = before + u"\r\n"_s + rows},
    };
}

} // namespace plintex::cleanup
