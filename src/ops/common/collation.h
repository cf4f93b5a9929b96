#pragma once

#include <QCollator>

namespace plintex::common {

/// The locale whose collation orders rows: that of LC_ALL, LC_COLLATE or LANG, the first one
/// set. Where that is C or POSIX (or nothing), English: the C collation would compare code
/// points only, putting "Zed" before "apple" and every accented letter after "z".
QLocale collationLocale();

/// A collator for collationLocale() that ignores letter case. A collator must not be shared
/// between threads: each takes one of its own.
QCollator rowCollator();

} // namespace plintex::common
