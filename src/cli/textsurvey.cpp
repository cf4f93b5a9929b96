#include "cli/textsurvey.h"

#include <algorithm>
#include <cstring>

namespace plintex::cli {

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

std::optional<Survey> survey(TextSource &source, qsizetype longestLine, bool startOnly,
                             QByteArrayView ahead)
{
    Survey s;
    // A UTF-16 unit such as U+0A00 holds a 0A byte: 64 KiB at least, whatever it holds.
    const auto startGrows = [&] {
        return s.start.size() < (64 << 10) || (s.start.size() <= longestLine &&
                                               !s.start.contains('\n') && !s.start.contains('\r'));
    };
    QByteArray piece;
    qsizetype carried = 0; // bytes of an unfinished UTF-8 sequence kept from the last piece
    // Small pieces: every fresh page of a buffer costs a fault, and the start is mostly found
    // in the first 64 KiB.
    const qsizetype pieceSize = startOnly ? 64 << 10 : 256 << 10;
    for (bool first = true;; first = false) {
        qsizetype n = ahead.size();
        if (first && n > 0) {
            piece = ahead.toByteArray();
        } else {
            piece.resize(carried + pieceSize);
            n = source.read(piece.data() + carried, pieceSize);
            if (n < 0)
                return std::nullopt;
        }
        const QByteArrayView fresh = QByteArrayView(piece).sliced(carried, n);
        if (startGrows())
            s.start.append(fresh);
        s.hasCr = s.hasCr || fresh.contains('\r');
        const QByteArrayView all = QByteArrayView(piece).first(carried + n);
        if (n == 0) {
            s.utf8 = s.utf8 && carried == 0;
            s.complete = true;
            return s;
        }
        if (s.utf8) {
            const qsizetype whole = wholeUtf8Prefix(all);
            s.utf8 = isValidUtf8(all.first(whole));
            carried = all.size() - whole;
            std::memmove(piece.data(), piece.constData() + whole, size_t(carried));
        }
        if (startOnly && !startGrows())
            return s;
    }
}

bool isAscii(QByteArrayView bytes)
{
    constexpr quint64 high = 0x8080808080808080ULL;
    quint64 any = 0;
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        any |= word;
    }
    for (; i < bytes.size(); ++i)
        any |= quint64(quint8(bytes[i]));
    return (any & high) == 0;
}

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

} // namespace plintex::cli
