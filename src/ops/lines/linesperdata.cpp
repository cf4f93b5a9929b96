#include "ops/lines/linesperdata.h"

#include "ops/lines/addrow.h"
#include "ops/lines/matcher.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kData = u"data"_s;
const QString kSearch = u"search"_s;
const QString kWhere = u"where"_s;
const QString kBefore = u"before"_s;
const QString kAfter = u"after"_s;
const QString kMode = u"mode"_s;
const QString kDelete = u"delete"_s;
const QString kRetain = u"retain"_s;
const QString kWhich = u"which"_s;
const QString kSame = u"same"_s;

Parameter searchField()
{
    return memoField(kSearch, u"every line containing this data:"_s, Reset::Keep);
}

RunResult insertRun(RunInput input, RunMonitor &monitor)
{
    const SearchTexts texts(input.params.lines(kSearch));
    const QStringList block = blockRows(input.params.text(kData));
    const bool before = input.params.text(kWhere) == kBefore;
    QStringList &lines = input.lines;
    const qsizetype n = lines.size();
    QStringList out;
    out.reserve(n);
    monitor.begin(double(n));
    for (qsizetype i = 0; i < n; ++i) {
        if (monitor.step(double(i)))
            return RunResult::stopped();
        // A row holding several of the texts gets the block once.
        const bool found = texts.foundIn(lines[i]);
        if (found && before)
            out.append(block);
        out.append(std::move(lines[i]));
        if (found && !before)
            out.append(block);
    }
    RunResult result;
    result.lines = std::move(out);
    return result;
}

RunResult deleteRun(RunInput input, RunMonitor &monitor)
{
    const SearchTexts texts(input.params.lines(kSearch));
    const QString which = input.params.text(kWhich);
    const qsizetype shift = which == kBefore ? -1 : which == kAfter ? 1 : 0;
    const bool retain = input.params.text(kMode) == kRetain;
    QStringList &lines = input.lines;
    const qsizetype n = lines.size();

    // The marks are kept beside the rows, so that the rows' own text never reads as a mark and
    // every search looks at the row as the user wrote it.
    std::vector<char> marked(std::size_t(n), 0);
    monitor.begin(double(n));
    for (qsizetype i = 0; i < n; ++i) {
        if (monitor.step(double(i)))
            return RunResult::stopped();
        const qsizetype target = i + shift;
        if (target >= 0 && target < n && !marked[target] && texts.foundIn(lines[i]))
            marked[target] = 1;
    }
    qsizetype kept = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (bool(marked[i]) == retain)
            lines[kept++] = std::move(lines[i]);
    }
    lines.resize(kept);
    RunResult result;
    result.lines = std::move(lines);
    if (retain)
        result.caret = CaretPlacement::atEnd();
    return result;
}

} // namespace

FunctionBody insertLinesPerData()
{
    return {
        .description = u"Inserts a block of rows before or after every row that holds one of the "
                       u"search texts."_s,
        .panel =
            {
                runButton(),
                memoField(kData, u"Insert this data:"_s, Reset::Keep),
                Parameter{.key = kWhere,
                          .kind = ParamKind::Choice,
                          .defaultValue = kAfter,
                          .choices = {{kBefore, u"Before"_s}, {kAfter, u"After"_s}}},
                searchField(),
            },
        .run = insertRun,
        .example = {.title =
                        u"Insert lines (before/after) per data ('INSERTED DATA' inserted below "
                        u"lines containing bbb)"_s,
                    .before = u"111BBB11111111\r\n22222222222222\r\n33333333BBB333\r\n"
                              u"44444444444444\r\n55555555555555\r\n66666666666666"_s,
                    .after = u"111BBB11111111\r\nINSERTED DATA\r\n22222222222222\r\n33333333BBB333"
                             u"\r\nINSERTED DATA\r\n44444444444444\r\n55555555555555\r\n"
                             u"66666666666666"_s,
                    .params = {{kData, u"INSERTED DATA"_s}, {kSearch, u"BBB"_s}}},
    };
}

FunctionBody deleteLinesPerData()
{
    return {
        .description =
            u"Deletes, or keeps only, the rows that hold one of the search texts, or the "
            u"rows just before or after them."_s,
        .panel =
            {
                runButton(),
                Parameter{.key = kMode,
                          .kind = ParamKind::Choice,
                          .defaultValue = kDelete,
                          .choices = {{kDelete, u"Delete"_s}, {kRetain, u"Retain"_s}},
                          .resetOnSelect = false},
                Parameter{
                    .key = kWhich,
                    .label = u"every line:"_s,
                    .kind = ParamKind::Choice,
                    .defaultValue = kSame,
                    .choices = {{kSame, u"Same"_s}, {kBefore, u"Before"_s}, {kAfter, u"After"_s}}},
                searchField(),
            },
        .run = deleteRun,
        .example = {.title = u"Retain / Delete lines per data (lines containing bbb deleted)"_s,
                    .before =
                        u"1111111111111\r\n2222222222222\r\n3333333bbb333\r\n4444444444444\r\n"
                        u"5555555bbb555\r\n6666666666666\r\n7777777777777"_s,
                    .after = u"1111111111111\r\n2222222222222\r\n4444444444444\r\n6666666666666\r\n"
                             u"7777777777777"_s,
                    .params = {{kSearch, u"bbb"_s}}},
    };
}

} // namespace plintex::lines
