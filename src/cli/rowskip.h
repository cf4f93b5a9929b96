#pragma once

#include "cli/linereader.h"
#include "core/rowpass.h"

#include <QByteArray>

#include <utility>

namespace plintex::cli {

/// The line feeds in `bytes`, and the place just after the last one (0 without one).
std::pair<qsizetype, qsizetype> countLineFeeds(QByteArrayView bytes);

/// Where the first CR not followed by an LF stands, or -1.
qsizetype firstLoneCr(QByteArrayView bytes);

/// Copies the whole rows at the front of what `reader` holds in which `search` finds nothing,
/// each with its break, to the end of `out` (at most `most` bytes of them), and moves the reader
/// past them; the number of rows. For a text in one byte a unit; with `crBreaks` (a CR ends a
/// line too) only the rows before one holding a CR that is not part of a CR LF.
qint64 keepRowsWithout(LineReader &reader, const AsciiBlockSearch &search, QByteArray &out,
                       qsizetype most, bool crBreaks);

} // namespace plintex::cli
