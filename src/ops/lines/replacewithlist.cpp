#include "ops/lines/replacewithlist.h"

#include "core/memorybudget.h"
#include "ops/common/params.h"
#include "ops/lines/replacedrow.h"

#include <memory>

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

using common::kSearch;
const QString kList = u"list"_s;

/// The run's place in the list, kept from row to row.
struct ListState {
    ReplacedRow row;
    QStringList entries;
    qsizetype next = 0;
    qint64 growth = 0; ///< bytes the rows done so far grew by
    bool tooLarge = false;
};

/// Runs the pass with a monitor that never reports a stop: the run always completes.
class Unstoppable final : public RunMonitor {
public:
    explicit Unstoppable(RunMonitor &monitor) : m_monitor(monitor) {}
    void begin(double maximum, Gauge gauge) override { m_monitor.begin(maximum, gauge); }
    void advance(double position) override { m_monitor.advance(position); }
    bool stopRequested() override { return false; }

private:
    RunMonitor &m_monitor;
};

} // namespace

PassPlan replaceWithListPlan(const PassStart &start, qint64 budget)
{
    auto state = std::make_shared<ListState>(
        ListState{ReplacedRow(Finder(start.params.text(kSearch))), start.params.lines(kList)});
    PassPlan plan = planOf(
        [state, budget](qint64, PassRow &row, PassOutput &out) {
            ListState &s = *state;
            // A row above the current one no longer holds the search text, or it would have
            // taken the entry: the Part's search from the top would find this row first.
            if (s.next >= s.entries.size() || !s.row.start(row.text())) {
                out.keep();
                return true;
            }
            const qint64 was = s.row.length();
            bool holds = true;
            while (holds && s.next < s.entries.size()) {
                const QString &entry = s.entries[s.next];
                // An entry that holds the search text twice doubles the row at every turn.
                if (s.growth + s.row.bytesAfter(entry) > budget) {
                    s.tooLarge = true;
                    return false;
                }
                holds = s.row.replace(entry);
                ++s.next;
            }
            s.growth += (s.row.length() - was) * qint64(sizeof(QChar));
            row.text() = s.row.text();
            out.keepRewritten();
            return true;
        },
        {},
        [state](PassOutput &, RunResult &result) {
            if (state->tooLarge)
                result = RunResult::refused(
                    u"The list's replacements would make the text larger\rthan memory allows: "
                    u"nothing has been replaced."_s);
        });
    plan.outputTexts = state->entries;
    return plan;
}

FunctionBody replaceDataWithDataList()
{
    // A share of the memory to be had: the window holds the text several times over.
    const RowPassFactory pass = [](const PassStart &start) {
        return replaceWithListPlan(start, availableMemory() / 4);
    };
    return {
        .description = u"Replaces a search text, top down, in the first row holding it by the "
                       u"list's first entry, in the next such row by the second, and so on."_s,
        .panel =
            {
                runButton(),
                common::historyField(kSearch, u"Replace this data:"_s, 12),
                memoField(kList, u"with this data:"_s, Reset::Keep),
                caption(u"from top-down."_s),
            },
        // No stop test: the run always completes.
        .run =
            [pass](RunInput input, RunMonitor &monitor) {
                Unstoppable unstoppable(monitor);
                return runRowPass(pass, std::move(input), unstoppable);
            },
        .rowPass = pass,
        .example = {.title = u"Replace data with a top-down data list (222 replaced with a list = "
                             u"'v, w, x, y, and z')"_s,
                    .before = u"Line1 222 333\r\nLine2 222 999\r\nLine3 222 333\r\nLine4 222 "
                              u"444\r\nLine5 222 555"_s,
                    .after = u"Line1 v 333\r\nLine2 w 999\r\nLine3 x 333\r\nLine4 y 444\r\nLine5 "
                             u"z 555"_s,
                    .params = {{kSearch, u"222"_s}, {kList, u"v\nw\nx\ny\nz"_s}}},
    };
}

} // namespace plintex::lines
