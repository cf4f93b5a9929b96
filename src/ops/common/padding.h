#pragma once

#include <QStringList>

namespace plintex::common {

/// The most blanks a count the user gives ("separated by:") yields: far more than any layout
/// needs, and a bound on how much a field with no upper limit can make each row grow.
constexpr qint64 kMaxSeparatorBlanks = 10000;

/// `count` blanks as a separator the user asked for: exact up to kMaxSeparatorBlanks, none for
/// a count below 1.
QString separatorBlanks(qint64 count);

/// Appends blanks until the text is `width` characters wide; a width taken from the text
/// (alignment, symmetrical data) is never capped.
void padTo(QString &text, qsizetype width);

/// Every entry padded with blanks to the widest, so that what follows them lines up.
QStringList symmetrical(QStringList entries);

} // namespace plintex::common
