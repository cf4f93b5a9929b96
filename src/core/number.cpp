#include "core/number.h"

#include <limits>

namespace plintex {

qint64 numberFieldValue(QStringView text)
{
    constexpr qint64 max = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            continue;
        const int digit = c.unicode() - u'0';
        if (value > (max - digit) / 10)
            return max;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<qint64> parseWholeNumber(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return numberFieldValue(text);
}

bool isSignedWholeNumber(QStringView text)
{
    return !text.isEmpty() && parseWholeNumber(text.front() == u'-' ? text.sliced(1) : text);
}

} // namespace plintex
