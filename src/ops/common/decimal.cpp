#include "ops/common/decimal.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

using namespace Qt::StringLiterals;

namespace plintex::common {
namespace {

constexpr int kExactDigits = 36;
constexpr int kShownDigits = 15;
// 10^0 to 10^18, every power of ten that 64 bits hold.
constexpr auto kPowers = [] {
    std::array<quint64, 19> powers{};
    quint64 power = 1;
    for (quint64 &p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();

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

} // namespace

bool DecimalTotal::addShort(std::string_view text)
{
    // Up to 18 digits fit 64 bits, and times a power of ten up to 10^18 they fit the total's
    // 128: no overflow but the sum's, which the full path then meets as well.
    constexpr size_t kShortDigits = 18;
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view body = text.substr(negative ? 1 : 0);
    if (body.empty() || body.size() > kShortDigits)
        return false;
    quint64 mantissa = 0;
    size_t point = body.size();
    for (size_t i = 0; i < body.size(); ++i) {
        const unsigned digit = unsigned(body[i]) - '0';
        if (digit <= 9)
            mantissa = mantissa * 10 + digit;
        else if (body[i] == '.' && point == body.size())
            point = i;
        else
            return false;
    }
    const int fraction = point == body.size() ? 0 : int(body.size() - point - 1);
    if (body.size() == 1 && point == 0) // a lone point
        return false;
    if (fraction > m_scale || m_scale - fraction >= int(kPowers.size()))
        return false;
    const Int128 addend = Int128(mantissa) * Int128(kPowers[m_scale - fraction]);
    Int128 sum = 0;
    if (__builtin_add_overflow(m_units, negative ? -addend : addend, &sum))
        return false;
    m_units = sum;
    return true;
}

bool DecimalTotal::add(std::string_view text)
{
    if (addShort(text))
        return true;
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
    // In extended range, a sum of doubles cannot overflow however many rows there are.
    const long double addend = value;
    const long double t = m_sum + addend;
    m_compensation +=
        std::abs(m_sum) >= std::abs(addend) ? (m_sum - t) + addend : (addend - t) + m_sum;
    m_sum = t;
    m_inexact = true;
    return true;
}

std::optional<QString> DecimalTotal::text() const
{
    const bool negative = m_units < 0;
    const std::string digits = digitsOf(negative ? UInt128(-(m_units + 1)) + 1 : UInt128(m_units));
    if (!m_inexact)
        return formatDecimal(negative, digits, m_scale);
    const std::string exact = (negative ? "-" : "") + digits + "e-" + std::to_string(m_scale);
    double exactPart = 0;
    std::from_chars(exact.data(), exact.data() + exact.size(), exactPart);
    const long double total = exactPart + m_sum + m_compensation;
    if (std::abs(total) > std::numeric_limits<double>::max())
        return std::nullopt;
    const double value = double(total);
    if (value == 0)
        return u"0"_s;
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

} // namespace plintex::common
