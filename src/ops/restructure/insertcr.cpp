#include "ops/restructure/insertcr.h"

#include "ops/common/columns.h"

using namespace Qt::StringLiterals;

namespace plintex::restructure {
namespace {

/// Puts out the segments of a row wider than `width`: each ends after the last blank among its
/// first `width` characters, or after `width` characters when there is none. Every character
/// stays, in order, blanks at a break included.
void wrap(QStringView rest, qsizetype width, PassOutput &out)
{
    while (rest.size() > width) {
        qsizetype cut = rest.first(width).lastIndexOf(u' ') + 1;
        if (cut == 0)
            cut = common::wholeCharacterEdge(rest, width);
        out.add(rest.first(cut));
        rest = rest.sliced(cut);
    }
    if (!rest.isEmpty())
        out.add(rest);
}

PassPlan plan(const PassStart &start)
{
    // The caret is checked before the undo snapshot is taken.
    if (start.caret.column < 1)
        return PassPlan::without(
            RunResult::refused(u"Column position must be greater than 1."_s, false));
    // Widths are counted in characters. The break text is the caret line's text left of the
    // caret; the allowance beyond it admits one character more, so that a caret at column C
    // keeps C characters a line.
    const qsizetype width = start.caret.column + 1;
    PassPlan plan = planOf([width](qint64, PassRow &row, PassOutput &out) {
        if (row.text().size() <= width)
            out.keep();
        else
            wrap(row.text(), width, out);
        return true;
    });
    // A wrap runs to its end once started: no row moves the gauge or asks about a stop.
    plan.gauge = RowRestraint{};
    plan.rowsApart = true;
    return plan;
}

} // namespace

FunctionBody insertCr()
{
    return {
        .description = u"Breaks every line wider than the caret's column into lines of at most "
                       u"that width, after the last blank that fits where there is one."_s,
        .panel =
            {
                runButton(),
                caption(u"Insert carriage return at cursor (Break at nearest space)."_s),
            },
        .rowPass = plan,
        .example = {.title = u"Insert a carriage control (break lines at position 6)"_s,
                    .before = u"a1234567890\r\nb1234567890\r\nc1234567890\r\nd1234567890"_s,
                    .after = u"a12345\r\n67890\r\nb12345\r\n67890\r\nc12345\r\n67890\r\nd12345\r\n"
                             u"67890"_s,
                    .caret = {0, 5}},
        .readsCaret = true,
    };
}

} // namespace plintex::restructure
