#include "cli/rowskip.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace plintex::cli {

qsizetype countLineFeeds(QByteArrayView bytes)
{
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype count = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    // Each match adds one to its byte's lane (a compare gives -1, subtracted); the lanes are
    // summed before any can pass 255.
    const __m128i lf = _mm_set1_epi8('\n');
    while (i + 16 <= n) {
        __m128i lanes = _mm_setzero_si128();
        const qsizetype stop = std::min(n - 15, i + 255 * 16);
        for (; i < stop; i += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(block, lf));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
    }
#endif
    for (; i < n; ++i)
        count += p[i] == '\n';
    return count;
}

qint64 keepRowsWithout(LineReader &reader, const AsciiBlockSearch &search, QByteArray &out,
                       qsizetype most)
{
    const QByteArrayView held = reader.held();
    const QByteArrayView window = held.first(std::min(held.size(), most));
    // Only rows ending in their LF: a last row without one gets its break from the row itself.
    const void *lastBreak = memrchr(window.data(), '\n', size_t(window.size()));
    if (!lastBreak)
        return 0;
    QByteArrayView block = window.first(static_cast<const char *>(lastBreak) - window.data() + 1);
    const qsizetype found = search(block);
    if (found >= 0) {
        const void *before = memrchr(block.data(), '\n', size_t(found));
        block = block.first(before ? static_cast<const char *>(before) - block.data() + 1 : 0);
    }
    if (block.isEmpty())
        return 0;
    appendBytes(out, block);
    reader.skip(block.size());
    return countLineFeeds(block);
}

} // namespace plintex::cli
