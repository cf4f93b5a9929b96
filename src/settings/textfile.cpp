#include "settings/textfile.h"

#include "core/windows1252.h"

#include <cstring>

namespace plintex {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool hasBom(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(kBom, 3));
}

QString decodeSegment(QByteArrayView bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252)
        return windows1252::decode(bytes);
    return QString::fromUtf8(bytes);
}

} // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        // Eight ASCII bytes at a time: the common case for the texts this program sees.
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

TextFormat detectFormat(QByteArrayView bytes)
{
    TextFormat format;
    if (hasBom(bytes))
        format.encoding = isValidUtf8(bytes.sliced(3)) ? TextEncoding::Utf8WithBom
                                                       : TextEncoding::Windows1252;
    else
        format.encoding = isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;

    const qsizetype lf = bytes.indexOf('\n');
    const qsizetype cr = bytes.indexOf('\r');
    if (cr >= 0 && (lf < 0 || cr < lf))
        format.lineEnd = (cr + 1 < bytes.size() && bytes[cr + 1] == '\n') ? LineEnd::CrLf
                                                                           : LineEnd::Cr;
    return format;
}

QStringList decodeRows(QByteArrayView bytes, const TextFormat &format)
{
    if (format.encoding == TextEncoding::Utf8WithBom && hasBom(bytes))
        bytes = bytes.sliced(3);
    QStringList rows;
    const char *data = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\n' && c != '\r')
            continue;
        rows.append(decodeSegment(bytes.sliced(start, i - start), format.encoding));
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    rows.append(decodeSegment(bytes.sliced(start), format.encoding));
    return rows;
}

QByteArray encodeRows(const QStringList &rows, const TextFormat &format, TextFormat *written)
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
    if (written)
        *written = used;

    const QByteArrayView eol = used.lineEnd == LineEnd::CrLf ? QByteArrayView("\r\n", 2)
                               : used.lineEnd == LineEnd::Cr ? QByteArrayView("\r", 1)
                                                              : QByteArrayView("\n", 1);
    qsizetype size = used.encoding == TextEncoding::Utf8WithBom ? 3 : 0;
    for (const QString &row : rows)
        size += row.size() + eol.size();
    QByteArray out;
    out.reserve(size);
    if (used.encoding == TextEncoding::Utf8WithBom)
        out.append(kBom, 3);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i > 0)
            out.append(eol);
        out.append(used.encoding == TextEncoding::Windows1252 ? windows1252::encode(rows[i])
                                                              : rows[i].toUtf8());
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
