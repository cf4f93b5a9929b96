#include "cli/rowskip.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace plintex::cli {

std::pair<qsizetype, qsizetype> countLineFeeds(QByteArrayView bytes)
{
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype count = 0;
    qsizetype afterLast = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    // Each LF adds one to its byte's lane (a compare gives -1, subtracted); the lanes are summed
    // before any can pass 255.
    const __m128i lf = _mm_set1_epi8('\n');
    while (i + 16 <= n) {
        __m128i lanes = _mm_setzero_si128();
        const qsizetype stop = std::min(n - 15, i + 255 * 16);
        for (; i < stop; i += 16) {
            const __m128i feeds =
                _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i)), lf);
            lanes = _mm_sub_epi8(lanes, feeds);
            if (const unsigned mask = unsigned(_mm_movemask_epi8(feeds)); mask != 0)
                afterLast = i + 32 - std::countl_zero(mask);
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == '\n') {
            ++count;
            afterLast = i + 1;
        }
    }
    return {count, afterLast};
}

qsizetype firstLoneCr(QByteArrayView bytes)
{
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 17 <= n; i += 16) {
        const __m128i crs =
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i)), cr);
        const __m128i lfsAfter =
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 1)), lf);
        if (const unsigned lone = unsigned(_mm_movemask_epi8(_mm_andnot_si128(lfsAfter, crs))))
            return i + std::countr_zero(lone);
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n'))
            return i;
    }
    return -1;
}

qint64 keepRowsWithout(LineReader &reader, const AsciiBlockSearch &search, QByteArray &out,
                       qsizetype most, bool crBreaks)
{
    const QByteArrayView held = reader.held();
    const QByteArrayView window = held.first(std::min(held.size(), most));
    // A find lies within a row: the rows before it end with their LF. Without one, only the
    // rows that end with theirs go: a last row without one gets its break from the row itself.
    // Where a CR breaks lines too, only rows up to one that holds a CR other than a CR LF's.
    const qsizetype found = search(window);
    QByteArrayView before = found >= 0 ? window.first(found) : window;
    if (const qsizetype lone = crBreaks ? firstLoneCr(before) : -1; lone >= 0)
        before = before.first(lone);
    const auto [rows, end] = countLineFeeds(before);
    if (end == 0)
        return 0;
    appendBytes(out, window.first(end));
    reader.skip(end);
    return rows;
}

} // namespace plintex::cli
