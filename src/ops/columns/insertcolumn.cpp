#include "ops/columns/insertcolumn.h"

#include "ops/common/columns.h"
#include "ops/common/padding.h"
#include "ops/common/params.h"

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

using common::kColumn;
const QString kBlock = u"block"_s;
const QString kSymmetrical = u"symmetrical"_s;

RunResult run(RunInput input, RunMonitor &monitor)
{
    QStringList block = input.params.lines(kBlock);
    if (input.params.flag(kSymmetrical))
        block = common::symmetrical(std::move(block));
    const qint64 column = input.params.number(kColumn);
    QStringList &lines = input.lines;
    const qsizetype count = std::max(lines.size(), block.size());
    monitor.begin(double(count));
    for (qsizetype i = 0; i < count; ++i) {
        if (monitor.step(double(i)))
            return RunResult::stopped();
        if (i >= block.size())
            break; // the rest of the text gets nothing inserted
        if (i >= lines.size())
            lines.append(block[i]);
        else
            common::insertAtColumn(lines[i], block[i], column);
    }
    RunResult result;
    result.lines = std::move(lines);
    result.caret = CaretPlacement::atEnd();
    return result;
}

} // namespace

FunctionBody insertColumn()
{
    return {
        .description = u"Inserts a block of lines as a new column: its first line into the "
                       u"text's first line at a column, its second into the second, and so on."_s,
        .panel =
            {
                runButton(),
                memoField(kBlock, u"Insert this column of data:"_s, Reset::Keep),
                numberField(kColumn, u"at column position:"_s, u"1"_s, u"1"_s, Reset::Keep),
                common::tickBox(kSymmetrical, u"Symmetrical data."_s),
            },
        .run = run,
        .menuTargets = {{MenuEntry::BeginColumn, kColumn, CaretSource::Column}},
        .example = {.title = u"Insert a column of data (column inserted between two columns)"_s,
                    .before = u"Line1 333\r\nLine2 999\r\nLine3 333\r\nLine4 444\r\nLine5 555"_s,
                    .after = u"Line1 999 333\r\nLine2 222 999\r\nLine3 333 333\r\nLine4 999 444\r\n"
                             u"Line5 999 555"_s,
                    .params = {{kBlock, u"999 \n222 \n333 \n999 \n999 "_s}, {kColumn, u"7"_s}}},
    };
}

} // namespace plintex::columns
