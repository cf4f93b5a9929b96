#pragma once

#include <QStringView>

#include <optional>

namespace plintex {

/// The value of a numeric field: its digits read as a whole number, 0 when it holds none.
/// Fields have no upper limit, so values beyond the range of qint64 saturate there.
qint64 numberFieldValue(QStringView text);

/// A whole number >= 0 written with digits only (no sign, no blanks), or nothing.
std::optional<qint64> parseWholeNumber(QStringView text);

/// Whether the text is a whole number that may be negative: digits after an optional leading
/// minus, nothing else.
bool isSignedWholeNumber(QStringView text);

} // namespace plintex
