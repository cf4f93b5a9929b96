#pragma once

#include "core/catalogue.h"

#include <string>
#include <string_view>

namespace plintex::columns {

/// "Total a Specified Column": adds up the numbers in a band of columns over the row band and
/// shows the total; the text is only read.
FunctionBody totalColumn();

/// The band text reduced to a number's characters: the first "<" with the first ">", and the
/// first "(" with the first ")", mark a negative amount; then only "-", "." and digits stay.
std::string cleanNumber(QStringView band);
void cleanNumberInto(QStringView band, std::string &cleaned);

/// Adds decimal numbers exactly while they fit 36 digits, so that a long column of amounts
/// totals to the digits an exact decimal sum gives; larger ones go into a compensated sum.
class DecimalTotal {
public:
    /// Adds a cleaned number; false when it is not a valid decimal number.
    bool add(std::string_view cleaned);
    /// At most 15 significant digits, no trailing zeros, scientific only for magnitudes of
    /// 1E15 and above or below 0.00001.
    QString text() const;

private:
    __extension__ typedef __int128 Int128;

    Int128 m_units = 0; ///< the exact part, in units of 10^-m_scale
    int m_scale = 0;
    // Numbers beyond the exact range, summed the Neumaier way.
    bool m_inexact = false;
    double m_sum = 0;
    double m_compensation = 0;
};

} // namespace plintex::columns
