#pragma once

#include "cli/linereader.h"
#include "cli/textsource.h"
#include "settings/textfile.h"

#include <QByteArray>

#include <optional>

namespace plintex::cli {

/// The bytes up to the last whole UTF-8 sequence: a piece may end inside one.
qsizetype wholeUtf8Prefix(QByteArrayView bytes);

bool isAscii(QByteArrayView bytes);
constexpr bool isUtf8(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8WithBom;
}

/// What a reading of a file tells: whether it is all UTF-8, whether it holds a CR, and its
/// start (up to its first line break, within reason) for the byte-order mark and the line end.
/// A reading of the start only leaves `complete` false and judges only what it read.
struct Survey {
    bool utf8 = true;
    bool hasCr = false;
    bool complete = false;
    QByteArray start;
};

/// Reads on from the source's position to its end, or (`startOnly`) until the start is known.
/// `ahead` holds bytes already read from before that position, taken first. Nothing when the
/// source cannot be read (it says why).
std::optional<Survey> survey(TextSource &source, qsizetype longestLine, bool startOnly,
                             QByteArrayView ahead = {});

/// Lines in the lines view, counted up to `limit`: resolving the band needs no more.
/// Nothing when the count cannot be had (see `why`; `tooLong` names a line too long).
std::optional<qint64> countLines(LineReader &reader, qint64 limit, TextSource &source,
                                 const QString &tooLong, QString *why);

/// The same count over what a stream's look-ahead holds; nothing when it does not hold
/// enough lines and the stream goes on. `unfinished` receives the length of a line that the
/// look-ahead ends inside.
std::optional<qint64> countHeldLines(QByteArrayView held, bool atEnd, TextEncoding encoding,
                                     qint64 limit, qsizetype *unfinished);

} // namespace plintex::cli
