#include "cli/streamrun.h"

#include "core/windows1252.h"

#include <algorithm>
#include <cstring>

namespace plintex::cli {
namespace {

constexpr qsizetype kPieceSize = 128 << 10;

/// Lines in the lines view (a final line break does not start another line), counted up to
/// `limit`: resolving the band needs no more.
qsizetype countLines(QByteArrayView input, bool hasCr, qsizetype limit)
{
    qsizetype lines = 0;
    for (qsizetype at = 0; at < input.size() && lines < limit;) {
        at = lineAt(input, at, hasCr).next;
        ++lines;
    }
    return lines;
}

} // namespace

StreamResult streamLines(QByteArrayView input, const LineTransform &transform,
                         const QStringList &parameterTexts, RowRestraint restraint,
                         const std::function<bool(QByteArrayView)> &write)
{
    TextFormat format = detectFormat(input);
    const QByteArrayView bom = byteOrderMark(format.encoding);
    input = input.sliced(bom.size());

    // Most texts have no CR at all; then only LF needs looking for.
    const bool hasCr = input.indexOf('\r') >= 0;
    // The band resolves the same against any count beyond its own rows (and From + 1, which
    // decides whether it is one).
    const RowRestraint reset = resetRowTo(restraint);
    const qsizetype enough = std::max(reset.from + 1, reset.to == 0 ? qint64(2) : reset.to);
    const RowRestraint band = resolveRestraint(restraint, countLines(input, hasCr, enough));
    if (!isValidBand(band))
        return {StreamResult::Outcome::Refused, restraintWarning()};

    // A transformed line is made of the input's characters and the parameters' texts, so
    // these tell whether Windows-1252 can still hold the output; if not, it is UTF-8.
    TextEncoding outputEncoding = format.encoding;
    if (outputEncoding == TextEncoding::Windows1252) {
        for (const QString &text : parameterTexts) {
            if (!windows1252::canEncode(text))
                outputEncoding = TextEncoding::Utf8;
        }
    }
    const bool copyVerbatim = outputEncoding == format.encoding;
    const QByteArrayView eol = lineEndBytes(format.lineEnd);

    QByteArray piece;
    piece.reserve(kPieceSize + 4096);
    piece.append(bom);
    QString line;
    qsizetype index = 0;
    for (qsizetype at = 0; at < input.size(); ++index) {
        const auto [end, next] = lineAt(input, at, hasCr);
        const QByteArrayView bytes = input.sliced(at, end - at);
        const bool inBand = index >= band.from - 1 && (index <= band.to - 1 || reset.to == 0);
        if (!inBand && copyVerbatim) {
            piece.append(bytes);
        } else {
            decodeLineInto(line, bytes, format.encoding);
            if (inBand)
                transform(line);
            appendEncodedLine(piece, line, outputEncoding);
        }
        piece.append(eol);
        if (piece.size() >= kPieceSize) {
            if (!write(piece))
                return {StreamResult::Outcome::WriteFailed, {}};
            piece.resize(0);
        }
        at = next;
    }
    if (!write(piece))
        return {StreamResult::Outcome::WriteFailed, {}};
    return {};
}

} // namespace plintex::cli
