#include "ops/columns/bytefields.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plintex::columns {

ByteClasses classifyBytes(const char *data, int count)
{
    ByteClasses c;
    int i = 0;
#if defined(__SSE2__)
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i topBits = _mm_set1_epi8(char(0xC0));
    const __m128i continuing = _mm_set1_epi8(char(0x80));
    const __m128i fourLead = _mm_set1_epi8(char(0xF0));
    const auto bits = [](__m128i is) {
        return std::uint64_t(std::uint16_t(_mm_movemask_epi8(is)));
    };
    for (; i + 16 <= count; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        c.blank |= bits(_mm_cmpeq_epi8(v, blank)) << i;
        c.continuation |= bits(_mm_cmpeq_epi8(_mm_and_si128(v, topBits), continuing)) << i;
        c.fourByteLead |= bits(_mm_cmpeq_epi8(_mm_max_epu8(v, fourLead), v)) << i;
    }
#endif
    for (; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        c.blank |= std::uint64_t(byte == ' ') << i;
        c.continuation |= std::uint64_t((byte & 0xC0) == 0x80) << i;
        c.fourByteLead |= std::uint64_t(byte >= 0xF0) << i;
    }
    return c;
}

} // namespace plintex::columns
