#pragma once

#include "cli/textsource.h"
#include "core/rowpass.h"
#include "settings/textfile.h"

#include <QByteArray>

#include <functional>

namespace plintex::cli {

/// Result of streaming a text through a row pass.
struct StreamResult {
    enum class Outcome { Done, Refused, WriteFailed, ReadFailed };
    Outcome outcome = Outcome::Done;
    QString message = {};     ///< the refusal's warning, or why the text could not be read
    QStringList report = {};  ///< results shown instead of the text (a total)
    QStringList notices = {}; ///< warnings of a run that still did its work
};

/// How much a streamed run holds at most.
struct StreamLimits {
    qsizetype longestLine = 8 << 20; ///< bytes of one line; a longer one ends the run
    qsizetype lookAhead = 16 << 20;  ///< bytes of a stream read ahead to learn its format
    /// Bytes of a file each of two threads takes at a time, for a pass whose rows stand apart;
    /// a file shorter than four such pieces, or 0, is run on one thread.
    qsizetype lanePiece = 512 << 10;
};

/// What the run was asked for: the panel's values, the run button, the row restraint and the
/// caret.
struct StreamRequest {
    ParamValues params = {};
    QString runButton = {};
    RowRestraint restraint = {};
    TextPosition caret = {};
};

/// Runs a function's row pass over a whole text, writing the output in pieces through `write`
/// (false from it ends the run as a write failure). Gives the same text as the function's run
/// routine followed by writing the lines back, while holding only a row or two and a piece of
/// output at a time. Each kept row keeps its own line break; rows of the pass's own get the
/// text's line end. A run that leaves the text as it was writes its bytes back as they came.
///
/// A source that can be read again (a regular file) is read first to learn its encoding and
/// the band. A stream's encoding and band are learnt from what `lookAhead` holds; a later line
/// that is not UTF-8 in a stream taken for UTF-8 is then read and written as Windows-1252.
/// `progress`, when given, hears how many bytes of the run have been read.
StreamResult streamPass(TextSource &source, const RowPassFactory &factory,
                        const StreamRequest &request,
                        const std::function<bool(QByteArrayView)> &write,
                        const std::function<void(qint64)> &progress = {}, StreamLimits limits = {});

} // namespace plintex::cli
