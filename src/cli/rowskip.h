#pragma once

#include "cli/linereader.h"
#include "core/rowpass.h"

#include <QByteArray>

#include <utility>

namespace plintex::cli {

/// The line feeds in `bytes`, and the place just after the last one (0 without one).
std::pair<qsizetype, qsizetype> countLineFeeds(QByteArrayView bytes);

/// Copies the whole rows at the front of what `reader` holds in which `search` finds nothing,
/// each with its LF, to the end of `out` (at most `most` bytes of them), and moves the reader
/// past them; the number of rows. Only for a text whose only line breaks are LF.
qint64 keepRowsWithout(LineReader &reader, const AsciiBlockSearch &search, QByteArray &out,
                       qsizetype most);

} // namespace plintex::cli
