#include "ops/columns/totalcolumn.h"

#include <charconv>
#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

const QString kTotal = u"total"_s;
const QString kStart = u"start"_s;
const QString kEnd = u"end"_s;

constexpr int kExactDigits = 36;
constexpr int kShownDigits = 15;

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

bool scaleUp(Int128 &value, int powers)
{
    for (; powers > 0; --powers) {
        if (__builtin_mul_overflow(value, Int128(10), &value))
            return false;
    }
    return true;
}

std::string digitsOf(UInt128 magnitude)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return digits;
}

/// `digits` (no sign) times 10^-scale, shown as the total is shown.
QString formatDecimal(bool negative, std::string digits, int scale)
{
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return u"0"_s;
    digits.erase(0, first);
    if (digits.size() > size_t(kShownDigits)) {
        const bool up = digits[kShownDigits] >= '5';
        scale -= int(digits.size()) - kShownDigits;
        digits.resize(kShownDigits);
        if (up) {
            int i = kShownDigits - 1;
            for (; i >= 0 && digits[i] == '9'; --i)
                digits[i] = '0';
            if (i >= 0) {
                ++digits[i];
            } else {
                digits.insert(digits.begin(), '1');
                digits.pop_back();
                --scale;
            }
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
        --scale;
    }
    const int exponent = int(digits.size()) - 1 - scale; // of the first digit
    std::string out = negative ? "-" : "";
    if (exponent >= kShownDigits || exponent <= -6) {
        out += digits[0];
        if (digits.size() > 1)
            out += '.' + digits.substr(1);
        out += 'E' + std::to_string(exponent);
    } else if (scale <= 0) {
        out += digits + std::string(size_t(-scale), '0');
    } else if (size_t(scale) >= digits.size()) {
        out += "0." + std::string(size_t(scale) - digits.size(), '0') + digits;
    } else {
        out += digits.substr(0, digits.size() - size_t(scale)) + '.' +
               digits.substr(digits.size() - size_t(scale));
    }
    return QString::fromLatin1(out);
}

/// The band of a line: from column `start` (1 when 0), at most end - start characters.
QStringView bandOf(const QString &line, qint64 start, qint64 end)
{
    const qint64 from = std::max<qint64>(start, 1) - 1;
    if (from >= line.size())
        return {};
    return QStringView(line).sliced(from, std::min<qint64>(end - start, line.size() - from));
}

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
        DecimalTotal total;
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
            cleanNumberInto(bandOf(row.text(), from, end), state->cleaned);
            state->valid = state->cleaned.empty() || state->total.add(state->cleaned);
            return state->valid && index < band.to - 1; // the rows after the band go unread
        },
        std::move(result),
        [=](PassOutput &, RunResult &result) {
            if (!state->valid) {
                RunResult refused =
                    RunResult::refused(u"'"_s + QString::fromLatin1(state->cleaned) +
                                       u"' is not a valid floating point value"_s);
                refused.fields = result.fields;
                result = std::move(refused);
                return;
            }
            const QString text = state->total.text();
            result.fields.append({FieldWrite::Target::Param, kTotal, text});
            result.report = {text};
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

void cleanNumberInto(QStringView band, std::string &cleaned)
{
    qsizetype less = -1;
    qsizetype greater = -1;
    qsizetype open = -1;
    qsizetype close = -1;
    for (qsizetype i = band.size() - 1; i >= 0; --i) {
        switch (band[i].unicode()) {
        case u'<':
            less = i;
            break;
        case u'>':
            greater = i;
            break;
        case u'(':
            open = i;
            break;
        case u')':
            close = i;
            break;
        default:
            break;
        }
    }
    if (less < 0 || greater < 0)
        less = greater = -1;
    if (open < 0 || close < 0)
        open = close = -1;
    cleaned.clear();
    for (qsizetype i = 0; i < band.size(); ++i) {
        const char16_t c = band[i].unicode();
        if (i == less || i == open)
            cleaned += '-';
        else if (i != greater && i != close && (c == u'-' || c == u'.' || (c >= u'0' && c <= u'9')))
            cleaned += char(c);
    }
}

bool DecimalTotal::add(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view body = text.substr(negative ? 1 : 0);
    Int128 mantissa = 0;
    int digits = 0;   // significant digits taken
    int fraction = 0; // digits after the point
    bool point = false;
    bool anyDigit = false;
    bool exact = true;
    for (const char c : body) {
        if (c == '.') {
            if (point)
                return false;
            point = true;
            continue;
        }
        if (c < '0' || c > '9')
            return false;
        anyDigit = true;
        if (point)
            ++fraction;
        if (digits > 0 || c != '0')
            ++digits;
        if (digits > kExactDigits || fraction > kExactDigits)
            exact = false;
        else
            mantissa = mantissa * 10 + (c - '0');
    }
    if (!anyDigit)
        return false;

    if (exact) {
        Int128 sum = m_units;
        Int128 addend = negative ? -mantissa : mantissa;
        const int scale = std::max(m_scale, fraction);
        if (scaleUp(sum, scale - m_scale) && scaleUp(addend, scale - fraction) &&
            !__builtin_add_overflow(sum, addend, &sum)) {
            m_units = sum;
            m_scale = scale;
            return true;
        }
    }
    // from_chars reads "." whatever the locale says; beyond a double's range is no number.
    double value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc())
        return false;
    const double t = m_sum + value;
    m_compensation +=
        std::abs(m_sum) >= std::abs(value) ? (m_sum - t) + value : (value - t) + m_sum;
    m_sum = t;
    m_inexact = true;
    return true;
}

QString DecimalTotal::text() const
{
    const bool negative = m_units < 0;
    const std::string digits = digitsOf(negative ? UInt128(-(m_units + 1)) + 1 : UInt128(m_units));
    if (!m_inexact)
        return formatDecimal(negative, digits, m_scale);
    const std::string exact = (negative ? "-" : "") + digits + "e-" + std::to_string(m_scale);
    double exactPart = 0;
    std::from_chars(exact.data(), exact.data() + exact.size(), exactPart);
    const double value = exactPart + m_sum + m_compensation;
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? u"0"_s : QString::number(value);
    char buffer[40];
    const char *end = std::to_chars(buffer, buffer + sizeof buffer, std::abs(value),
                                    std::chars_format::scientific, kShownDigits - 1)
                          .ptr;
    // d.dddddddddddddde±X: fifteen digits and the exponent of the first one
    std::string mantissa(buffer, 16);
    mantissa.erase(1, 1);
    int exponent = 0;
    std::from_chars(buffer + (buffer[17] == '+' ? 18 : 17), end, exponent);
    return formatDecimal(value < 0, mantissa, kShownDigits - 1 - exponent);
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
