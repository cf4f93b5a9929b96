#include "ops/columns/spreadsheetdelimiter.h"

#include "ops/common/columns.h"
#include "ops/common/params.h"

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

using common::kColumn;
const QString kDivider = u"divider"_s;
const QString kTabName = u"{TAB}"_s;
const QString kSpaceName = u"Space"_s;

/// The text a run inserts: the two names of the list stand for a TAB and a blank; anything else
/// is inserted as typed, whatever its length.
QString dividerOf(const ParamValues &params)
{
    const QString typed = params.text(kDivider);
    if (typed == kTabName)
        return u"\t"_s;
    if (typed == kSpaceName)
        return u" "_s;
    return typed;
}

/// A line break inside the divider would split every line in two, which is no column divider.
std::optional<RunResult> refusal(const QString &divider)
{
    if (divider.contains(u'\n') || divider.contains(u'\r'))
        return RunResult::refused(u"The column divider must be on one line."_s, false);
    return std::nullopt;
}

PassPlan plan(const PassStart &start)
{
    const QString divider = dividerOf(start.params);
    if (std::optional<RunResult> refused = refusal(divider))
        return PassPlan::without(*refused);
    const qint64 column = start.params.number(kColumn);
    const ByteTransform bytes = common::insertingAt(divider, column);
    PassPlan p = planOf([divider, column, bytes](qint64, PassRow &row, PassOutput &out) {
        if (!out.keepRewritten(bytes)) {
            common::insertAtColumn(row.text(), divider, column);
            out.keepRewritten();
        }
        return true;
    });
    p.outputTexts = {divider};
    p.rowsApart = true;
    return p;
}

// The window's run edits its pane line by line: a stop keeps the lines already changed, which
// Undo takes back.
RunResult run(RunInput input, RunMonitor &monitor)
{
    const QString divider = dividerOf(input.params);
    if (std::optional<RunResult> refused = refusal(divider))
        return *refused;
    const qint64 column = input.params.number(kColumn);
    QStringList &lines = input.lines;
    monitor.begin(double(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (monitor.step(double(i))) {
            RunResult stopped = RunResult::stopped();
            stopped.lines = std::move(lines);
            return stopped;
        }
        common::insertAtColumn(lines[i], divider, column);
    }
    RunResult result;
    result.lines = std::move(lines);
    return result;
}

} // namespace

FunctionBody spreadSheetDelimiter()
{
    const QString before =
        u"Line1 999 333\r\nLine2 222 999\r\nLine3 333 333\r\nLine4 999 444\r\nLine5 999 555"_s;
    return {
        .description = u"Inserts a column divider (a TAB, a comma, a semicolon, a colon, a blank "
                       u"or any typed text) at a column of every line, to prepare the text for a "
                       u"spreadsheet."_s,
        .panel =
            {
                runButton(),
                Parameter{.key = kDivider,
                          .label = u"Insert this spread sheet column divider:"_s,
                          .kind = ParamKind::FixedList,
                          .defaultValue = kTabName,
                          .resetOnSelect = false,
                          .entries = {kTabName, u","_s, u";"_s, u":"_s, kSpaceName},
                          .anyText = true},
                common::columnField(kColumn, u"at column position:"_s),
            },
        .run = run,
        .rowPass = plan,
        .menuTargets = {{MenuEntry::BeginRow, kColumn, CaretSource::Column}},
        .example = {.title = u"Insert spread sheet separation character (TAB inserted before "
                             u"second column)"_s,
                    .before = before,
                    // The pane shows the TAB as the blanks up to the next tab stop.
                    .after = u"Line1       999 333\r\nLine2       222 999\r\nLine3       333 "
                             u"333\r\nLine4       999 444\r\nLine5       999 555"_s,
                    .params = {{kColumn, u"7"_s}},
                    .expected = u"Line1 \t999 333\nLine2 \t222 999\nLine3 \t333 333\nLine4 "
                                u"\t999 444\nLine5 \t999 555"_s},
        .ownPane = true,
        .confirmation = u"A large amount of data may hang the program or\rbe truncated when using "
                        u"this function.  Continue?"_s,
    };
}

} // namespace plintex::columns
