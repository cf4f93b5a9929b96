#include "ops/columns/totalcolumn.h"

#include "ops/common/bytecolumns.h"
#include "ops/common/columns.h"
#include "ops/common/decimal.h"
#include "ops/common/params.h"

#include <cstring>
#include <memory>
#include <type_traits>

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

using common::kEnd;
using common::kStart;
const QString kTotal = u"total"_s;

/// Adds the number cleaned from a band's bytes to `total`; false, `cleaned` then holding the
/// cleaned text, when it is no number.
bool addCleanNumber(QByteArrayView band, common::DecimalTotal &total, std::string &cleaned);

PassPlan plan(const PassStart &start)
{
    if (start.band.refusal)
        return PassPlan::without(*start.band.refusal);
    const RowRestraint &band = start.band.band;
    const qint64 from = start.params.number(kStart);
    const qint64 end = start.params.number(kEnd);
    if (end <= from) {
        RunResult refused =
            RunResult::refused(u"Column End position must\rbe greater than Start position."_s);
        refused.writeBack(band);
        return PassPlan::without(refused);
    }

    struct State {
        common::DecimalTotal total;
        std::string cleaned;
        bool valid = true;
    };
    auto state = std::make_shared<State>();
    RunResult result;
    result.writeBack(band);
    PassPlan plan = planOf(
        [=](qint64 index, PassRow &row, PassOutput &) {
            if (index < band.from - 1)
                return true;
            if (const std::optional<RowBytes> bytes = row.guessedBytes()) {
                state->valid = addCleanNumber(common::byteColumnBand(*bytes, from, end),
                                              state->total, state->cleaned);
            } else {
                cleanNumberInto(common::columnBand(row.text(), from, end), state->cleaned);
                state->valid = state->cleaned.empty() || state->total.add(state->cleaned);
            }
            return state->valid && index < band.to - 1; // the rows after the band go unread
        },
        std::move(result),
        [=](PassOutput &, RunResult &result) {
            const auto refuse = [&result](const QString &message) {
                RunResult refused = RunResult::refused(message);
                refused.fields = result.fields;
                result = std::move(refused);
            };
            if (!state->valid) {
                refuse(u"'"_s + QString::fromLatin1(state->cleaned) +
                       u"' is not a valid floating point value"_s);
                return;
            }
            const std::optional<QString> text = state->total.text();
            if (!text) {
                refuse(u"The total is too large to be shown."_s);
                return;
            }
            result.fields.append({FieldWrite::Target::Param, kTotal, *text});
            result.report = {*text};
        });
    plan.rewritesText = false;
    plan.gauge = band;
    return plan;
}

} // namespace

std::string cleanNumber(QStringView band)
{
    std::string cleaned;
    cleanNumberInto(band, cleaned);
    return cleaned;
}

namespace {

/// The band's number characters written to `out`, which has room for the band; their count.
template <typename View> qsizetype cleanNumberTo(View band, char *out)
{
    // Where the first "<" and the first "(" stand among the characters kept, and whether a
    // ">" and a ")" came: a pair's opening becomes a "-", and no bracket stays.
    qsizetype less = -1;
    qsizetype open = -1;
    bool greater = false;
    bool close = false;
    char *at = out;
    for (qsizetype i = 0; i < band.size(); ++i) {
        char16_t c;
        if constexpr (std::is_same_v<View, QStringView>)
            c = band[i].unicode();
        else
            c = static_cast<unsigned char>(band[i]);
        if ((c >= u'0' && c <= u'9') || c == u'.' || c == u'-') {
            *at++ = char(c);
        } else if (c == u'<') {
            less = less < 0 ? at - out : less;
        } else if (c == u'(') {
            open = open < 0 ? at - out : open;
        } else {
            greater = greater || c == u'>';
            close = close || c == u')';
        }
    }
    // The later mark first, so that the earlier one's place still holds.
    const qsizetype lessMark = greater ? less : -1;
    const qsizetype openMark = close ? open : -1;
    for (const qsizetype mark : {std::max(lessMark, openMark), std::min(lessMark, openMark)}) {
        if (mark >= 0) {
            std::memmove(out + mark + 1, out + mark, size_t(at - out - mark));
            out[mark] = '-';
            ++at;
        }
    }
    return at - out;
}

template <typename View> void cleanNumberOf(View band, std::string &cleaned)
{
    cleaned.resize(size_t(band.size()));
    cleaned.resize(size_t(cleanNumberTo(band, cleaned.data())));
}

bool addCleanNumber(QByteArrayView band, common::DecimalTotal &total, std::string &cleaned)
{
    // A band of a few bytes, the usual one, is cleaned on the stack.
    constexpr qsizetype kShort = 64;
    std::string_view number;
    char shortBand[kShort];
    if (band.size() <= kShort) {
        number = std::string_view(shortBand, size_t(cleanNumberTo(band, shortBand)));
    } else {
        cleanNumberOf(band, cleaned);
        number = cleaned;
    }
    if (number.empty() || total.add(number))
        return true;
    if (number.data() == shortBand)
        cleaned.assign(number);
    return false;
}

} // namespace

void cleanNumberInto(QStringView band, std::string &cleaned)
{
    cleanNumberOf(band, cleaned);
}

void cleanNumberInto(QByteArrayView band, std::string &cleaned)
{
    cleanNumberOf(band, cleaned);
}

FunctionBody totalColumn()
{
    return {
        .description = u"Adds up the numbers found in a band of columns over the row band; "
                       u"(111), <222> and -444 count as negative."_s,
        .panel =
            {
                runButton(),
                Parameter{.key = kTotal,
                          .label = u"Total defined column:"_s,
                          .kind = ParamKind::Result,
                          .history = 14,
                          .resetOnSelect = false},
                numberField(kStart, u"in column:"_s, u"0"_s, u"0"_s, Reset::Keep),
                numberField(kEnd, u"to"_s, u"0"_s, u"0"_s, Reset::Keep),
            },
        .rowPass = plan,
        .menuTargets = {{MenuEntry::BeginColumn, kStart, CaretSource::Column},
                        {MenuEntry::EndColumn, kEnd, CaretSource::Column}},
        .example = {.title = u"Total a specified column (column 3 total = 555)"_s,
                    .before = u"Line1 999  (111)\r\nLine2 222 <222>\r\nLine3 333   333\r\n"
                              u"Line4 999  -444\r\nLine5 999   999"_s,
                    .after = u"Total displayed in program interface."_s,
                    .params = {{kStart, u"11"_s}, {kEnd, u"17"_s}},
                    .expected = u"555"_s},
    };
}

} // namespace plintex::columns
