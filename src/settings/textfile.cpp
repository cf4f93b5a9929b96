#include "settings/textfile.h"

#include "core/windows1252.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <bit>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <cstring>

namespace plintex {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kUtf16LeBom[] = "\xFF\xFE";
constexpr char kUtf16BeBom[] = "\xFE\xFF";

bool hasBom(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(kBom, 3));
}

LineSpan lineAtUtf16(QByteArrayView bytes, qsizetype from, bool bigEndian)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size() & ~qsizetype(1);
    const int low = bigEndian ? 1 : 0;
    const int high = 1 - low;
    for (qsizetype i = from; i < n; i += 2) {
        if (p[i + high] != 0 || (p[i + low] != '\n' && p[i + low] != '\r'))
            continue;
        if (p[i + low] == '\n')
            return {i, i + 2};
        const bool crLf = i + 4 <= n && p[i + 2 + high] == 0 && p[i + 2 + low] == '\n';
        return {i, crLf ? i + 4 : i + 2};
    }
    return {bytes.size(), bytes.size()};
}

// Texts are mostly ASCII: these copy the ASCII stretch at the start of a line sixteen
// characters at a time and return how far they got.
qsizetype widenAscii(char16_t *dst, const unsigned char *src, qsizetype n)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        if (_mm_movemask_epi8(v) != 0)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i + 8), _mm_unpackhi_epi8(v, zero));
    }
    // The tail as one last block that overlaps what is done already.
    if (i < n && n >= 16 && i >= n - 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + n - 16));
        if (_mm_movemask_epi8(v) == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + n - 16), _mm_unpacklo_epi8(v, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + n - 8), _mm_unpackhi_epi8(v, zero));
            return n;
        }
    }
#endif
    for (; i < n && src[i] < 0x80; ++i)
        dst[i] = src[i];
    return i;
}

qsizetype narrowAscii(char *dst, const char16_t *src, qsizetype n)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i + 8));
        const __m128i nonAscii = _mm_and_si128(_mm_or_si128(a, b), high);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(nonAscii, zero)) != 0xFFFF)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), _mm_packus_epi16(a, b));
    }
    if (i < n && n >= 16 && i >= n - 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + n - 16));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + n - 8));
        const __m128i nonAscii = _mm_and_si128(_mm_or_si128(a, b), high);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(nonAscii, zero)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + n - 16), _mm_packus_epi16(a, b));
            return n;
        }
    }
#endif
    for (; i < n && src[i] < 0x80; ++i)
        dst[i] = char(src[i]);
    return i;
}

QString decodeSegment(QByteArrayView bytes, TextEncoding encoding)
{
    QString line;
    // Exactly the room needed: growing an empty string would round a million rows up to the
    // next power of two each, nearly doubling the memory of a large text.
    line.reserve(isUtf16(encoding) ? bytes.size() / 2 : bytes.size());
    decodeLineInto(line, bytes, encoding);
    return line;
}

} // namespace

LineSpan lineAt(QByteArrayView bytes, qsizetype from, bool mayHoldCr)
{
    const char *data = bytes.data();
    const qsizetype n = bytes.size();
    if (from >= n) // also spares memchr the null pointer of an empty text
        return {n, n};
    const auto *lf = static_cast<const char *>(std::memchr(data + from, '\n', n - from));
    const qsizetype lfAt = lf ? lf - data : n;
    const auto *cr = mayHoldCr
                         ? static_cast<const char *>(std::memchr(data + from, '\r', lfAt - from))
                         : nullptr;
    if (cr) {
        const qsizetype crAt = cr - data;
        return {crAt, lf && crAt + 1 == lfAt ? lfAt + 1 : crAt + 1};
    }
    return {lfAt, lf ? lfAt + 1 : n};
}

LineSpan lineAt(QByteArrayView bytes, qsizetype from, TextEncoding encoding)
{
    if (isUtf16(encoding))
        return lineAtUtf16(bytes, from, encoding == TextEncoding::Utf16Be);
    return lineAt(bytes, from, true);
}

void decodeLineInto(QString &out, QByteArrayView bytes, TextEncoding encoding)
{
    if (isUtf16(encoding)) {
        // Every unit is kept as it stands, an unpaired surrogate too, so nothing is lost.
        const qsizetype units = bytes.size() / 2;
        out.resize(units);
        if (units == 0)
            return;
        if (encoding == TextEncoding::Utf16Le)
            qFromLittleEndian<char16_t>(bytes.data(), units, out.data());
        else
            qFromBigEndian<char16_t>(bytes.data(), units, out.data());
        return;
    }
    const qsizetype n = bytes.size();
    out.resize(n);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const auto *src = reinterpret_cast<const unsigned char *>(bytes.data());
    qsizetype i = widenAscii(dst, src, n);
    if (i == n)
        return;
    if (encoding == TextEncoding::Windows1252) {
        for (; i < n; ++i)
            dst[i] = windows1252::toUnicode(src[i]);
        return;
    }
    // Well-formed sequences here, ASCII runs a block at a time; from the first ill-formed one
    // on, Qt's decoder, which replaces them.
    qsizetype o = i;
    const auto follows = [&](qsizetype k) { return (src[k] & 0xC0) == 0x80; };
    while (i < n) {
        const unsigned b = src[i];
        if (b < 0x80) {
            const qsizetype run = std::max<qsizetype>(widenAscii(dst + o, src + i, n - i), 1);
            dst[o] = char16_t(b);
            i += run;
            o += run;
        } else if (b >= 0xC2 && b < 0xE0 && i + 1 < n && follows(i + 1)) {
            dst[o++] = char16_t(((b & 0x1F) << 6) | (src[i + 1] & 0x3F));
            i += 2;
        } else if (b >= 0xE0 && b < 0xF0 && i + 2 < n && follows(i + 1) && follows(i + 2)) {
            const char32_t c =
                ((b & 0x0F) << 12) | ((src[i + 1] & 0x3F) << 6) | (src[i + 2] & 0x3F);
            if (c < 0x800 || QChar::isSurrogate(c))
                break;
            dst[o++] = char16_t(c);
            i += 3;
        } else if (b >= 0xF0 && b < 0xF5 && i + 3 < n && follows(i + 1) && follows(i + 2) &&
                   follows(i + 3)) {
            const char32_t c = ((b & 0x07) << 18) | ((src[i + 1] & 0x3F) << 12) |
                               ((src[i + 2] & 0x3F) << 6) | (src[i + 3] & 0x3F);
            if (c < 0x10000 || c > 0x10FFFF)
                break;
            dst[o++] = QChar::highSurrogate(c);
            dst[o++] = QChar::lowSurrogate(c);
            i += 4;
        } else {
            break;
        }
    }
    if (i == n) {
        out.resize(o);
        return;
    }
    // Stateless decoding would take U+FEFF at the start of the slice for a byte-order mark
    // and drop it; inside a file it is a character.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QChar *end = decoder.appendToBuffer(reinterpret_cast<QChar *>(dst + o), bytes.sliced(i));
    out.resize(end - out.constData());
}

void appendEncodedLine(QByteArray &out, QStringView line, TextEncoding encoding)
{
    const qsizetype start = out.size();
    const qsizetype n = line.size();
    if (isUtf16(encoding)) {
        out.resize(start + n * 2);
        if (n == 0) // an empty line's data may be null, which the byte swap must not see
            return;
        if (encoding == TextEncoding::Utf16Le)
            qToLittleEndian<char16_t>(line.utf16(), n, out.data() + start);
        else
            qToBigEndian<char16_t>(line.utf16(), n, out.data() + start);
        return;
    }
    // Grow geometrically: a line at a time, a text is written with few reallocations.
    const qsizetype needed = start + (encoding == TextEncoding::Windows1252 ? n : n * 3);
    if (out.capacity() < needed)
        out.reserve(std::max(needed, out.capacity() * 2));
    const char16_t *src = line.utf16();
    if (encoding == TextEncoding::Windows1252) {
        out.resize(start + n);
        char *dst = out.data() + start;
        for (qsizetype i = narrowAscii(dst, src, n); i < n; ++i) {
            const int b = windows1252::fromUnicode(src[i]);
            dst[i] = b < 0 ? '?' : char(b);
        }
        return;
    }
    out.resize(start + n * 3);
    char *dst = out.data() + start;
    qsizetype i = narrowAscii(dst, src, n);
    dst += i;
    // Characters here, ASCII runs a block at a time; from the first unpaired surrogate on,
    // Qt's encoder, which replaces it.
    while (i < n) {
        const char32_t c = src[i];
        if (c < 0x80) {
            const qsizetype run = std::max<qsizetype>(narrowAscii(dst, src + i, n - i), 1);
            dst[0] = char(c);
            i += run;
            dst += run;
        } else if (c < 0x800) {
            *dst++ = char(0xC0 | (c >> 6));
            *dst++ = char(0x80 | (c & 0x3F));
            ++i;
        } else if (!QChar::isSurrogate(c)) {
            *dst++ = char(0xE0 | (c >> 12));
            *dst++ = char(0x80 | ((c >> 6) & 0x3F));
            *dst++ = char(0x80 | (c & 0x3F));
            ++i;
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(src[i + 1])) {
            const char32_t whole = QChar::surrogateToUcs4(char16_t(c), src[i + 1]);
            *dst++ = char(0xF0 | (whole >> 18));
            *dst++ = char(0x80 | ((whole >> 12) & 0x3F));
            *dst++ = char(0x80 | ((whole >> 6) & 0x3F));
            *dst++ = char(0x80 | (whole & 0x3F));
            i += 2;
        } else {
            break;
        }
    }
    if (i < n) {
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        dst = encoder.appendToBuffer(dst, line.sliced(i));
    }
    out.resize(dst - out.constData());
}

QByteArrayView byteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8WithBom:
        return QByteArrayView(kBom, 3);
    case TextEncoding::Utf16Le:
        return QByteArrayView(kUtf16LeBom, 2);
    case TextEncoding::Utf16Be:
        return QByteArrayView(kUtf16BeBom, 2);
    case TextEncoding::Utf8:
    case TextEncoding::Windows1252:
        break;
    }
    return {};
}

QByteArrayView lineEndBytes(LineEnd lineEnd, TextEncoding encoding)
{
    // Each row: the bytes in one-byte encodings, UTF-16 LE, UTF-16 BE.
    static constexpr char kEnds[3][3][5] = {
        {"\n", "\n\0", "\0\n"},
        {"\r\n", "\r\0\n\0", "\0\r\0\n"},
        {"\r", "\r\0", "\0\r"},
    };
    const int row = lineEnd == LineEnd::Lf ? 0 : lineEnd == LineEnd::CrLf ? 1 : 2;
    const int column = encoding == TextEncoding::Utf16Le   ? 1
                       : encoding == TextEncoding::Utf16Be ? 2
                                                           : 0;
    const qsizetype size = (row == 1 ? 2 : 1) * (column == 0 ? 1 : 2);
    return QByteArrayView(kEnds[row][column], size);
}

bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        // ASCII a block at a time: the common case for the texts this program sees. A block
        // that is not goes straight to its first byte beyond ASCII.
#ifdef __SSE2__
        if (end - p >= 16) {
            const auto *v = reinterpret_cast<const __m128i *>(p);
            if (end - p >= 64 &&
                _mm_movemask_epi8(_mm_or_si128(
                    _mm_or_si128(_mm_loadu_si128(v), _mm_loadu_si128(v + 1)),
                    _mm_or_si128(_mm_loadu_si128(v + 2), _mm_loadu_si128(v + 3)))) == 0) {
                p += 64;
                continue;
            }
            const unsigned mask = unsigned(_mm_movemask_epi8(_mm_loadu_si128(v)));
            if (mask == 0) {
                p += 16;
                continue;
            }
            p += std::countr_zero(mask);
        }
#endif
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        unsigned min;
        unsigned code;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1, min = 0x80, code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2, min = 0x800, code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3, min = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += extra + 1;
    }
    return true;
}

TextFormat detectFormatFromStart(QByteArrayView start, bool utf8, bool evenLength)
{
    TextFormat format;
    if (evenLength && start.startsWith(QByteArrayView(kUtf16LeBom, 2)))
        format.encoding = TextEncoding::Utf16Le;
    else if (evenLength && start.startsWith(QByteArrayView(kUtf16BeBom, 2)))
        format.encoding = TextEncoding::Utf16Be;
    else if (!utf8)
        format.encoding = TextEncoding::Windows1252;
    else
        format.encoding = hasBom(start) ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;

    if (isUtf16(format.encoding)) {
        const LineSpan first = lineAtUtf16(start, 2, format.encoding == TextEncoding::Utf16Be);
        if (first.next - first.end == 4)
            format.lineEnd = LineEnd::CrLf;
        else if (first.next > first.end &&
                 start[first.end + (format.encoding == TextEncoding::Utf16Be)] == '\r')
            format.lineEnd = LineEnd::Cr;
        return format;
    }
    const qsizetype lf = start.indexOf('\n');
    // Only a CR before the first LF matters: a text without any is not read to its end for one.
    const qsizetype cr = (lf < 0 ? start : start.first(lf)).indexOf('\r');
    if (cr >= 0 && (lf < 0 || cr < lf))
        format.lineEnd =
            (cr + 1 < start.size() && start[cr + 1] == '\n') ? LineEnd::CrLf : LineEnd::Cr;
    return format;
}

TextFormat detectFormat(QByteArrayView bytes)
{
    // The UTF-8 byte-order mark is valid UTF-8 itself, so testing the whole text will do.
    return detectFormatFromStart(bytes, isValidUtf8(bytes), bytes.size() % 2 == 0);
}

LineEnd lineEndOf(QByteArrayView lineBreak, TextEncoding encoding)
{
    if (lineBreak.size() == (isUtf16(encoding) ? 4 : 2))
        return LineEnd::CrLf;
    return lineBreak.contains('\r') ? LineEnd::Cr : LineEnd::Lf;
}

QStringList decodeRows(QByteArrayView bytes, const TextFormat &format, QList<LineEnd> *mixedEnds)
{
    if (mixedEnds)
        mixedEnds->clear();
    bool mixed = false;
    const QByteArrayView bom = byteOrderMark(format.encoding);
    if (!bom.isEmpty() && bytes.startsWith(bom))
        bytes = bytes.sliced(bom.size());
    QStringList rows;
    const bool utf16 = isUtf16(format.encoding);
    const bool mayHoldCr = utf16 || bytes.indexOf('\r') >= 0;
    for (qsizetype at = 0;;) {
        const LineSpan line =
            utf16 ? lineAt(bytes, at, format.encoding) : lineAt(bytes, at, mayHoldCr);
        rows.append(decodeSegment(bytes.sliced(at, line.end - at), format.encoding));
        if (line.end == line.next) // no line break after it: the last row
            break;
        if (mixedEnds) {
            const LineEnd end =
                lineEndOf(bytes.sliced(line.end, line.next - line.end), format.encoding);
            mixedEnds->append(end);
            mixed = mixed || end != mixedEnds->front();
        }
        at = line.next;
    }
    if (mixedEnds && !mixed)
        mixedEnds->clear();
    return rows;
}

namespace {

/// The format rows are written in: the one given, unless Windows-1252 cannot hold them.
TextFormat formatFor(const QStringList &rows, const TextFormat &format)
{
    TextFormat used = format;
    if (used.encoding == TextEncoding::Windows1252) {
        for (const QString &row : rows) {
            if (!windows1252::canEncode(row)) {
                used.encoding = TextEncoding::Utf8;
                break;
            }
        }
    }
    return used;
}

} // namespace

bool writeRows(QStringList rows, const TextFormat &format,
               const std::function<bool(QByteArrayView)> &write)
{
    constexpr qsizetype kPiece = 1 << 20;
    const TextFormat used = formatFor(rows, format);
    const QByteArrayView eol = lineEndBytes(used.lineEnd, used.encoding);
    const QList<LineEnd> &ends = format.mixedEnds;
    QByteArray piece;
    piece.reserve(kPiece + 4096);
    piece.append(byteOrderMark(used.encoding));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i > 0)
            piece.append(i <= ends.size() ? lineEndBytes(ends[i - 1], used.encoding) : eol);
        appendEncodedLine(piece, rows[i], used.encoding);
        rows[i] = QString(); // written: its memory can go
        if (piece.size() >= kPiece) {
            if (!write(piece))
                return false;
            piece.resize(0);
        }
    }
    return write(piece);
}

QByteArray encodeRows(const QStringList &rows, const TextFormat &format, TextFormat *written)
{
    const TextFormat used = formatFor(rows, format);
    if (written)
        *written = used;

    const QByteArrayView eol = lineEndBytes(used.lineEnd, used.encoding);
    const qsizetype unitSize = isUtf16(used.encoding) ? 2 : 1;
    qsizetype size = byteOrderMark(used.encoding).size();
    for (const QString &row : rows)
        size += row.size() * unitSize + eol.size();
    QByteArray out;
    out.reserve(size);
    out.append(byteOrderMark(used.encoding));
    const QList<LineEnd> &ends = format.mixedEnds;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i > 0)
            out.append(i <= ends.size() ? lineEndBytes(ends[i - 1], used.encoding) : eol);
        appendEncodedLine(out, rows[i], used.encoding);
    }
    return out;
}

QStringList rowsToLines(QStringList rows)
{
    if (!rows.isEmpty() && rows.back().isEmpty())
        rows.removeLast();
    return rows;
}

QStringList linesToRows(QStringList lines)
{
    lines.append(QString());
    return lines;
}

} // namespace plintex
