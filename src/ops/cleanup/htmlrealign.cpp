#include "ops/cleanup/htmlrealign.h"

#include <limits>

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

/// Keeps every line and gathers the merged rows, which follow the text at the end. The merge
/// buffer grows to the longest line of its row, so no character is lost.
class Realign final : public RowPass {
public:
    bool row(qint64, PassRow &row, PassOutput &out) override
    {
        const QString &line = row.text();
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
        out.keep();
        return true;
    }

    void finish(PassOutput &out, RunResult &result) override
    {
        endRow();
        for (const QString &row : std::as_const(m_rows))
            out.add(row);
        if (m_overlaid)
            result.notices.append(kOverlaid);
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

PassPlan plan(const PassStart &)
{
    PassPlan plan;
    plan.pass = std::make_unique<Realign>();
    return plan;
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
