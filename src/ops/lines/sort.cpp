#include "ops/lines/sort.h"

#include "ops/common/columns.h"
#include "ops/common/params.h"
#include "ops/lines/sortorder.h"

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

using common::kColumn;
const QString kAscending = u"ascending"_s;
const QString kDescending = u"descending"_s;
const QString kReverse = u"reverse"_s;

/// Every run but a reverse from a column past the first only moves whole rows.
std::optional<RowOrder> order(const ParamValues &params, const QString &runButton,
                              const RowSource &rows, RunMonitor &monitor)
{
    const qint64 column = params.number(kColumn);
    RowOrder order;
    if (runButton == kReverse) {
        if (column > 1)
            return std::nullopt;
        monitor.begin(double(rows.count));
        order.rows.resize(size_t(rows.count));
        std::iota(order.rows.rbegin(), order.rows.rend(), qsizetype(0));
        return order;
    }
    std::optional<std::vector<qsizetype>> sorted = sortedRows(rows, column, monitor);
    if (!sorted) {
        order.result = RunResult::stopped();
        return order;
    }
    // Descending is the exact reverse of ascending, rows that compare equal included.
    if (runButton == kDescending)
        std::reverse(sorted->begin(), sorted->end());
    order.rows = std::move(*sorted);
    return order;
}

/// Reverse order from column C on: every row keeps its first C - 1 columns, and the rest of
/// the rows comes in reverse order.
RunResult reverseTails(QStringList &lines, qint64 column, RunMonitor &monitor)
{
    const qsizetype n = lines.size();
    monitor.begin(2.0 * double(n));
    std::vector<qsizetype> cut(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        if (monitor.step(double(i)))
            return RunResult::stopped();
        cut[i] = common::columnIndex(lines[i], column);
    }
    QStringList out;
    out.reserve(n);
    for (qsizetype j = 0; j < n; ++j) {
        if (monitor.step(double(n + j)))
            return RunResult::stopped();
        const qsizetype k = n - 1 - j;
        out.append(QStringView(lines[j]).first(cut[j]) + QStringView(lines[k]).sliced(cut[k]));
    }
    RunResult result;
    result.lines = std::move(out);
    return result;
}

RunResult run(RunInput input, RunMonitor &monitor)
{
    QStringList &lines = input.lines;
    const qint64 column = input.params.number(kColumn);
    if (input.runButton == kReverse && column > 1)
        return reverseTails(lines, column, monitor);
    const RowSource rows{lines.size(),
                         [&lines](qsizetype row, QString &) { return QStringView(lines.at(row)); }};
    RowOrder sorted = *order(input.params, input.runButton, rows, monitor);
    if (!sorted.result.done())
        return sorted.result;
    QStringList out;
    out.reserve(qsizetype(sorted.rows.size()));
    for (const qsizetype row : sorted.rows)
        out.append(std::move(lines[row]));
    sorted.result.lines = std::move(out);
    return sorted.result;
}

} // namespace

FunctionBody sortAscendingDescending()
{
    QString before, after;
    for (int i = 1; i <= 7; ++i) {
        before += (i > 1 ? u"\r\n"_s : QString()) + u"Line"_s + QString::number(8 - i);
        after += (i > 1 ? u"\r\n"_s : QString()) + u"Line"_s + QString::number(i);
    }
    return {
        .description = u"Sorts the rows of the whole text A to Z or Z to A by their text from a "
                       u"start column on, letter case ignored and in the order of the user's "
                       u"language, leaving out blank rows; or reverses the order of the rows "
                       u"from that column on."_s,
        .panel =
            {
                runButton(kAscending, u"Sort Ascending:"_s),
                runButton(kDescending, u"Sort Descending:"_s),
                runButton(kReverse, u"Reverse order:"_s),
                common::columnField(kColumn, u"Beginning at this column:"_s),
            },
        .run = run,
        .rowOrder = order,
        .menuTargets = {{MenuEntry::BeginColumn, kColumn, CaretSource::Column}},
        .example = {.title = u"Sort Ascending/Descending (start column and reverse order options "
                             u"available)"_s,
                    .before = before,
                    .after = after,
                    .runButton = kAscending},
    };
}

} // namespace plintex::lines
