#pragma once

#include <QString>

#include <optional>
#include <string_view>

namespace plintex::common {

/// Adds decimal numbers exactly while they fit 36 digits, so that a long column of amounts
/// totals to the digits an exact decimal sum gives; larger ones go into a compensated sum of
/// extended range, so that no partial sum overflows.
class DecimalTotal {
public:
    /// Adds a number of digits with an optional leading "-" and one "."; false when it is not
    /// a valid decimal number or lies beyond a double's range.
    bool add(std::string_view number);
    /// At most 15 significant digits, no trailing zeros, scientific only for magnitudes of
    /// 1E15 and above or below 0.00001; nothing when the total lies beyond a double's range.
    std::optional<QString> text() const;

private:
    __extension__ typedef __int128 Int128;

    /// `add` for the usual number, of few digits and no more decimals than the total has;
    /// false, the total unchanged, for any other.
    bool addShort(std::string_view number);

    Int128 m_units = 0; ///< the exact part, in units of 10^-m_scale
    int m_scale = 0;
    // Numbers beyond the exact range, summed the Neumaier way.
    bool m_inexact = false;
    long double m_sum = 0;
    long double m_compensation = 0;
};

} // namespace plintex::common
