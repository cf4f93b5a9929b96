#pragma once

#include "cli/textsource.h"
#include "core/catalogue.h"

#include <functional>

namespace plintex::cli {

enum class MapOutcome { Done, NotApplicable, ReadFailed, WriteFailed };

/// Rewrites a regular file's text through a map of its 7-bit characters, a piece of bytes at
/// a time, writing what its row pass would: the same bytes with the characters mapped, and a
/// line break after the last row if it had none. A stream, or a text in UTF-16, is
/// NotApplicable, the source then back at its start.
MapOutcome mapAsciiBytes(TextSource &source, const AsciiMap &map,
                         const std::function<bool(QByteArrayView)> &write,
                         const std::function<void(qint64)> &progress);

} // namespace plintex::cli
