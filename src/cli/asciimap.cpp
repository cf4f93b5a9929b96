#include "cli/asciimap.h"

#include "settings/textfile.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plintex::cli {
namespace {

/// A map that moves one run of characters by the same distance (letter case), which a loop the
/// compiler vectorises can apply; nothing for any other map.
struct Shift {
    uchar first = 0;
    uchar count = 0;
    char distance = 0;
};

std::optional<Shift> shiftOf(const AsciiMap &map)
{
    Shift shift;
    int c = 0;
    while (c < 128 && map[c] == char(c))
        ++c;
    if (c == 128)
        return shift;
    shift.first = uchar(c);
    shift.distance = char(map[c] - c);
    while (c < 128 && map[c] == char(c + shift.distance))
        ++c;
    shift.count = uchar(c - shift.first);
    for (; c < 128; ++c) {
        if (map[c] != char(c))
            return std::nullopt;
    }
    return shift;
}

void apply(const AsciiMap &map, const std::optional<Shift> &shift, char *data, qsizetype n)
{
    if (shift) {
        const uchar first = shift->first, count = shift->count;
        const char distance = shift->distance;
        qsizetype i = 0;
#if defined(__SSE2__)
        // Sixteen bytes at a time: those within the run (their distance from its first below
        // its count, unsigned) move by the distance.
        if (count > 0) {
            const __m128i firstV = _mm_set1_epi8(char(first));
            const __m128i lastV = _mm_set1_epi8(char(count - 1));
            const __m128i distanceV = _mm_set1_epi8(distance);
            for (; i + 16 <= n; i += 16) {
                auto *at = reinterpret_cast<__m128i *>(data + i);
                const __m128i v = _mm_loadu_si128(at);
                const __m128i offset = _mm_sub_epi8(v, firstV);
                const __m128i inRun = _mm_cmpeq_epi8(_mm_min_epu8(offset, lastV), offset);
                _mm_storeu_si128(at, _mm_add_epi8(v, _mm_and_si128(inRun, distanceV)));
            }
        }
#endif
        for (; i < n; ++i)
            data[i] = char(uchar(uchar(data[i]) - first) < count ? data[i] + distance : data[i]);
        return;
    }
    for (qsizetype i = 0; i < n; ++i) {
        const uchar c = uchar(data[i]);
        if (c < 128)
            data[i] = map[c];
    }
}

} // namespace

MapOutcome mapAsciiBytes(TextSource &source, const AsciiMap &map,
                         const std::function<bool(QByteArrayView)> &write,
                         const std::function<void(qint64)> &progress)
{
    if (source.size() < 0)
        return MapOutcome::NotApplicable;
    QByteArray piece(1 << 20, Qt::Uninitialized);
    // Enough of the start to tell a byte-order mark.
    qsizetype n = 0;
    for (qsizetype got = 1; n < 3 && got > 0; n += got) {
        got = source.read(piece.data() + n, piece.size() - n);
        if (got < 0)
            return MapOutcome::ReadFailed;
    }
    const QByteArrayView start(piece.constData(), n);
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF"))
        return source.rewind() ? MapOutcome::NotApplicable : MapOutcome::ReadFailed;

    // The text's first line break is the one a last row without its own gets.
    const qsizetype bom = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const std::optional<Shift> shift = shiftOf(map);
    QByteArrayView lineEnd;
    bool crLast = false; // the piece before ended in a CR that may start a CR LF
    char last = 0;
    qint64 read = 0;
    for (; n > 0; n = source.read(piece.data(), piece.size())) {
        char *data = piece.data();
        apply(map, shift, data, n);
        if (lineEnd.isEmpty()) {
            const QByteArrayView view(data, n);
            if (crLast)
                lineEnd = data[0] == '\n' ? lineEndBytes(LineEnd::CrLf) : lineEndBytes(LineEnd::Cr);
            const qsizetype at = lineEnd.isEmpty() ? view.indexOf('\n') : -1;
            const qsizetype cr = lineEnd.isEmpty() ? view.indexOf('\r') : -1;
            if (cr >= 0 && (at < 0 || cr < at) && cr + 1 < n)
                lineEnd = lineEndBytes(data[cr + 1] == '\n' ? LineEnd::CrLf : LineEnd::Cr);
            else if (at >= 0 && (cr < 0 || at < cr))
                lineEnd = lineEndBytes(LineEnd::Lf);
            crLast = cr == n - 1 && at < 0;
        }
        last = data[n - 1];
        read += n;
        if (!write(QByteArrayView(data, n)))
            return MapOutcome::WriteFailed;
        if (progress)
            progress(read);
    }
    if (n < 0)
        return MapOutcome::ReadFailed;
    if (crLast)
        lineEnd = lineEndBytes(LineEnd::Cr);
    if (read > bom && last != '\n' && last != '\r' &&
        !write(lineEnd.isEmpty() ? lineEndBytes(LineEnd::Lf) : lineEnd))
        return MapOutcome::WriteFailed;
    return MapOutcome::Done;
}

} // namespace plintex::cli
