#pragma once

#include "cli/textsource.h"
#include "core/run.h"
#include "settings/textfile.h"

#include <QByteArray>

#include <functional>

namespace plintex::cli {

/// Result of streaming a text through a line transform.
struct StreamResult {
    enum class Outcome { Done, Refused, WriteFailed, ReadFailed };
    Outcome outcome = Outcome::Done;
    QString message; ///< the refusal's warning, or why the text could not be read
};

/// How much a streamed run holds at most.
struct StreamLimits {
    qsizetype longestLine = 8 << 20; ///< bytes of one line; a longer one ends the run
    qsizetype lookAhead = 16 << 20;  ///< bytes of a stream read ahead to learn its format
};

/// Runs a line transform over the row restraint's band of a whole text, writing the output in
/// pieces through `write` (false from it ends the run as a write failure). Gives the same text
/// as the function's run routine followed by writing the lines back, each line keeping its own
/// line break, while holding only a line and a piece of output at a time.
///
/// A source that can be read again (a regular file) is read first to learn its encoding and
/// the band. A stream's encoding and band are learnt from what `lookAhead` holds; a later line
/// that is not UTF-8 in a stream taken for UTF-8 is then read and written as Windows-1252.
/// `progress`, when given, hears how many bytes of the run have been read.
StreamResult streamLines(TextSource &source, const LineTransform &transform,
                         const QStringList &parameterTexts, RowRestraint restraint,
                         const std::function<bool(QByteArrayView)> &write,
                         const std::function<void(qint64)> &progress = {},
                         StreamLimits limits = {});

} // namespace plintex::cli
