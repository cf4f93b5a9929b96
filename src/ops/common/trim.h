#pragma once

#include <QByteArrayView>
#include <QString>

namespace plintex::common {

/// What trimming takes off a row's ends: the blank and every control character below it.
constexpr bool isTrimmable(QChar c)
{
    return c.unicode() <= 32;
}

/// The row without the trimmable characters at its ends.
QStringView trimmed(QStringView row);
/// The same on a row's bytes in UTF-8 or Windows-1252, where those characters are one byte each
/// and no other character has such a byte; and at one end only.
QByteArrayView trimmed(QByteArrayView row);
QByteArrayView trimmedStart(QByteArrayView row);
QByteArrayView trimmedEnd(QByteArrayView row);

void trimLeading(QString &row);
void trimTrailing(QString &row);

/// Reduces every run of two or more blanks (code 32) in `row` to one blank, TABs left alone;
/// false when there was none, and the row is then not touched.
bool collapseBlankRuns(QString &row);

} // namespace plintex::common
