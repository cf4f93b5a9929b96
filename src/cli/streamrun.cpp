#include "cli/streamrun.h"

#include "cli/linereader.h"
#include "core/windows1252.h"

#include <algorithm>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace plintex::cli {
namespace {

constexpr qsizetype kPieceSize = 128 << 10;

/// The bytes up to the last whole UTF-8 sequence: a piece may end inside one.
qsizetype wholeUtf8Prefix(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype back = 1; back <= std::min<qsizetype>(3, n); ++back) {
        const unsigned char c = p[n - back];
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead
        const qsizetype length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? n - back : n;
    }
    return n;
}

/// What a first reading of a whole file tells: whether it is all UTF-8, whether it holds a CR,
/// and its start (up to its first line break, within reason) for the byte-order mark and the
/// line end.
struct Survey {
    bool utf8 = true;
    bool hasCr = false;
    QByteArray start;
};

std::optional<Survey> survey(TextSource &source, qsizetype longestLine)
{
    Survey s;
    QByteArray piece;
    qsizetype carried = 0; // bytes of an unfinished UTF-8 sequence kept from the last piece
    for (;;) {
        constexpr qsizetype kSurveyPiece = 1 << 20;
        piece.resize(carried + kSurveyPiece);
        const qsizetype n = source.read(piece.data() + carried, kSurveyPiece);
        if (n < 0)
            return std::nullopt;
        const QByteArrayView fresh = QByteArrayView(piece).sliced(carried, n);
        // A UTF-16 unit such as U+0A00 holds a 0A byte: 64 KiB at least, whatever it holds.
        if (s.start.size() < (64 << 10) ||
            (s.start.size() <= longestLine && !s.start.contains('\n') && !s.start.contains('\r')))
            s.start.append(fresh);
        s.hasCr = s.hasCr || fresh.contains('\r');
        const QByteArrayView all = QByteArrayView(piece).first(carried + n);
        if (n == 0) {
            s.utf8 = s.utf8 && carried == 0;
            return s;
        }
        if (s.utf8) {
            const qsizetype whole = wholeUtf8Prefix(all);
            s.utf8 = isValidUtf8(all.first(whole));
            carried = all.size() - whole;
            std::memmove(piece.data(), piece.constData() + whole, size_t(carried));
        }
    }
}

/// Lines in the lines view, counted up to `limit`: resolving the band needs no more.
/// Nothing when the count cannot be had (see `why`).
std::optional<qint64> countLines(LineReader &reader, qint64 limit, TextSource &source,
                                 const QString &tooLong, QString *why)
{
    qint64 lines = 0;
    QByteArrayView line;
    QByteArrayView lineBreak;
    while (lines < limit) {
        switch (reader.next(line, lineBreak)) {
        case LineReader::Status::Line:
            ++lines;
            continue;
        case LineReader::Status::End:
            return lines;
        case LineReader::Status::TooLong:
            *why = tooLong;
            return std::nullopt;
        case LineReader::Status::Failed:
            *why = source.error();
            return std::nullopt;
        }
    }
    return lines;
}

/// The same count over what a stream's look-ahead holds; nothing when it does not hold
/// enough lines and the stream goes on. `unfinished` receives the length of a line that the
/// look-ahead ends inside.
std::optional<qint64> countHeldLines(QByteArrayView held, bool atEnd, TextEncoding encoding,
                                     qint64 limit, qsizetype *unfinished)
{
    qint64 lines = 0;
    *unfinished = 0;
    for (qsizetype at = 0; at < held.size() && lines < limit;) {
        const LineSpan span = lineAt(held, at, encoding);
        if (span.next == span.end && !atEnd) {
            *unfinished = span.end - at;
            return std::nullopt;
        }
        ++lines;
        at = span.next;
    }
    if (lines < limit && !atEnd)
        return std::nullopt;
    return lines;
}

bool isUtf8(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8WithBom;
}

} // namespace

StreamResult streamLines(TextSource &source, const LineTransform &transform,
                         const QStringList &parameterTexts, RowRestraint restraint,
                         const std::function<bool(QByteArrayView)> &write,
                         const std::function<void(qint64)> &progress, StreamLimits limits)
{
    const auto failed = [&](const QString &why) {
        return StreamResult{StreamResult::Outcome::ReadFailed, why};
    };
    const QString tooLong = u"a line is longer than "_s +
                            QString::number(limits.longestLine >> 20) +
                            u" MiB, too long to run line by line"_s;

    // The band resolves the same against any count beyond its own rows (and From + 1, which
    // decides whether it is one).
    const RowRestraint reset = resetRowTo(restraint);
    const qint64 from = std::min(reset.from, std::numeric_limits<qint64>::max() - 1);
    const qint64 enough = std::max(from + 1, reset.to == 0 ? qint64(2) : reset.to);

    const bool rereadable = source.size() >= 0;
    LineReader reader(source, limits.longestLine);
    TextFormat format;
    bool hasCr = true;
    qint64 lineCount = 0;
    if (rereadable) {
        const std::optional<Survey> s = survey(source, limits.longestLine);
        if (!s)
            return failed(source.error());
        format = detectFormatFromStart(s->start, s->utf8, source.size() % 2 == 0);
        hasCr = s->hasCr;
        const qsizetype bom = byteOrderMark(format.encoding).size();
        LineReader counter(source, limits.longestLine);
        counter.setEncoding(format.encoding, hasCr);
        QString why;
        std::optional<qint64> count;
        if (source.rewind() && counter.fill(bom)) {
            counter.skip(bom);
            count = countLines(counter, enough, source, tooLong, &why);
        } else {
            why = source.error();
        }
        if (!count)
            return failed(why);
        lineCount = *count;
        if (!source.rewind() || !reader.fill(bom))
            return failed(source.error());
        reader.skip(bom);
    } else {
        if (!reader.fill(limits.lookAhead))
            return failed(source.error());
        const QByteArrayView held = reader.held();
        const bool utf8 = isValidUtf8(reader.atEnd() ? held : held.first(wholeUtf8Prefix(held)));
        format = detectFormatFromStart(held, utf8, !reader.atEnd() || held.size() % 2 == 0);
        const qsizetype bom = byteOrderMark(format.encoding).size();
        reader.skip(bom);
        qsizetype unfinished = 0;
        const std::optional<qint64> count =
            countHeldLines(reader.held(), reader.atEnd(), format.encoding, enough, &unfinished);
        if (!count && unfinished > limits.longestLine)
            return failed(tooLong);
        if (!count)
            return failed(u"the rows of the band are not within the first "_s +
                          QString::number(limits.lookAhead >> 20) +
                          u" MiB of standard input; give the text as a file"_s);
        lineCount = *count;
    }
    reader.setEncoding(format.encoding, hasCr);

    const RowRestraint band = resolveRestraint(restraint, lineCount);
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
    // A stream was judged by its start only: a line further on may still not be UTF-8.
    const bool checkEachLine = !rereadable && isUtf8(format.encoding);

    QByteArray piece;
    piece.reserve(kPieceSize + 4096);
    piece.append(byteOrderMark(format.encoding));
    QString text;
    QByteArrayView line;
    QByteArrayView lineBreak;
    for (qint64 index = 0;; ++index) {
        const LineReader::Status status = reader.next(line, lineBreak);
        if (status == LineReader::Status::End)
            break;
        if (status == LineReader::Status::TooLong)
            return failed(tooLong);
        if (status == LineReader::Status::Failed)
            return failed(source.error());
        const bool inBand = index >= band.from - 1 && (index <= band.to - 1 || reset.to == 0);
        const bool asWindows1252 = checkEachLine && !isValidUtf8(line);
        if (!inBand && (copyVerbatim || asWindows1252)) {
            piece.append(line);
        } else {
            const TextEncoding encoding =
                asWindows1252 ? TextEncoding::Windows1252 : format.encoding;
            decodeLineInto(text, line, encoding);
            if (inBand)
                transform(text);
            appendEncodedLine(piece, text,
                              !asWindows1252                 ? outputEncoding
                              : windows1252::canEncode(text) ? TextEncoding::Windows1252
                                                             : TextEncoding::Utf8);
            if (isUtf16(format.encoding) && line.size() % 2 != 0)
                piece.append(line.back()); // an odd last byte, kept as it came
        }
        // Every line keeps its own break; the last one gets one if it had none.
        piece.append(lineBreak.isEmpty() ? lineEndBytes(format.lineEnd, outputEncoding)
                                         : lineBreak);
        if (piece.size() >= kPieceSize) {
            if (!write(piece))
                return {StreamResult::Outcome::WriteFailed, {}};
            piece.resize(0);
            if (progress)
                progress(reader.bytesRead());
        }
    }
    if (!write(piece))
        return {StreamResult::Outcome::WriteFailed, {}};
    return {};
}

} // namespace plintex::cli
