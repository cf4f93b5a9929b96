#include "ops/columns/insertintocolumn.h"

#include "ops/common/columns.h"
#include "ops/common/params.h"

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

using common::kColumn;
using common::kData;

LineTransform transform(const ParamValues &params)
{
    return [data = params.text(kData), column = params.number(kColumn)](QString &line) {
        common::insertAtColumn(line, data, column);
    };
}

ByteTransform byteTransform(const ParamValues &params)
{
    return common::insertingAt(params.text(kData), params.number(kColumn));
}

} // namespace

FunctionBody insertIntoColumn()
{
    return {
        .description = u"Inserts one text into every line of the row band at a column."_s,
        .panel =
            {
                runButton(),
                Parameter{.key = kData,
                          .label = u"Insert this data:"_s,
                          .kind = ParamKind::HistoryText,
                          .history = 5},
                numberField(kColumn, u"at column position:"_s, u"1"_s, u"1"_s),
            },
        .lineTransform = transform,
        .byteTransform = byteTransform,
        .menuTargets = {{MenuEntry::BeginColumn, kColumn, CaretSource::Column}},
        .example = {.title = u"Insert into a column of data (inserted at column 7)"_s,
                    .before = u"1234567890\r\n"_s.repeated(6) + u"1234567890"_s,
                    .after =
                        u"123456INSERTED DATA7890\r\n"_s.repeated(6) + u"123456INSERTED DATA7890"_s,
                    .params = {{kData, u"INSERTED DATA"_s}, {kColumn, u"7"_s}}},
    };
}

} // namespace plintex::columns
