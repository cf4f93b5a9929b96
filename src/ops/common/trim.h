#pragma once

#include <QString>

namespace plintex::common {

/// What trimming takes off a row's ends: the blank and every control character below it.
constexpr bool isTrimmable(QChar c)
{
    return c.unicode() <= 32;
}

/// The row without the trimmable characters at its ends.
QStringView trimmed(QStringView row);

void trimLeading(QString &row);
void trimTrailing(QString &row);

} // namespace plintex::common
