#pragma once

#include "core/rowpass.h"

#include <QByteArrayView>

#include <algorithm>
#include <bit>
#include <cstdint>

namespace plintex::columns {

/// For up to 64 bytes of a row, a bit for each: which are blanks, which continue a UTF-8
/// character, which begin one of four bytes (a character that its text holds as two units).
struct ByteClasses {
    std::uint64_t blank = 0;
    std::uint64_t continuation = 0;
    std::uint64_t fourByteLead = 0;
};

ByteClasses classifyBytes(const char *data, int count);

/// The set bits of `v`, inline: without the processor's own instruction in the baseline, the
/// standard count is a library call for every field.
inline int bitCount(std::uint64_t v)
{
#if defined(__POPCNT__)
    return std::popcount(v);
#else
    v -= (v >> 1) & 0x5555555555555555u;
    v = (v & 0x3333333333333333u) + ((v >> 2) & 0x3333333333333333u);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return int((v * 0x0101010101010101u) >> 56);
#endif
}

/// Calls `field(bytes, width)` with each maximal run of bytes other than the blank in a row's
/// bytes, and its width in characters as the row's text counts them; a row with none is one
/// empty field. A valid UTF-8 row has a byte for each character besides its continuation bytes
/// (one of four bytes counts twice), Windows-1252 a byte for each.
template <typename Field>
void forEachByteField(QByteArrayView row, RowEncoding encoding, Field field)
{
    if (row.isEmpty()) {
        field(row, qsizetype(0));
        return;
    }
    const bool utf8 = encoding == RowEncoding::Utf8;
    qsizetype start = -1; // where the field being read began, if one is
    qsizetype extra = 0;  // its width less its bytes
    for (qsizetype base = 0; base < row.size(); base += 64) {
        const int n = int(std::min<qsizetype>(64, row.size() - base));
        const ByteClasses c = classifyBytes(row.data() + base, n);
        const std::uint64_t inBlock = n == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << n) - 1;
        // Most blocks are ASCII, and their fields' widths are their sizes.
        const bool counting = utf8 && (c.continuation | c.fourByteLead) != 0;
        int at = 0;
        while (at < n) {
            const std::uint64_t from = ~std::uint64_t(0) << at;
            if (start < 0) {
                const std::uint64_t fieldBytes = ~c.blank & inBlock & from;
                if (fieldBytes == 0)
                    break;
                at = std::countr_zero(fieldBytes);
                start = base + at;
                extra = 0;
                continue;
            }
            const std::uint64_t blanks = c.blank & from;
            const int end = blanks != 0 ? std::countr_zero(blanks) : n;
            if (counting) {
                const std::uint64_t span =
                    from & (end == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << end) - 1);
                extra += bitCount(c.fourByteLead & span) - bitCount(c.continuation & span);
            }
            at = end;
            if (end < n) {
                const qsizetype size = base + end - start;
                field(row.sliced(start, size), size + extra);
                start = -1;
            }
        }
    }
    if (start >= 0)
        field(row.sliced(start), row.size() - start + extra);
}

} // namespace plintex::columns
