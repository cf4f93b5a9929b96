#pragma once

#include "core/rowpass.h"

#include <QByteArrayView>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

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

// Bytes that may be written past a field's blanks, which its own bytes and those after overwrite.
constexpr qsizetype kSlack = 16;

/// Most fields and their padding are a few bytes: written so, inline, rather than by a call
/// each to the library's fill and copy.
[[gnu::always_inline]] inline void putBlanks(char *to, qsizetype n)
{
    if (n > kSlack) {
        std::memset(to, ' ', size_t(n));
        return;
    }
    const std::uint64_t blanks = 0x2020202020202020u;
    std::memcpy(to, &blanks, 8);
    std::memcpy(to + 8, &blanks, 8);
}

[[gnu::always_inline]] inline void putBytes(char *to, const char *from, qsizetype n)
{
    // Two words that overlap when the field is shorter than both, reading nothing outside it.
    const auto twoWords = [&](auto word) {
        std::memcpy(&word, from, sizeof word);
        std::memcpy(to, &word, sizeof word);
        std::memcpy(&word, from + n - qsizetype(sizeof word), sizeof word);
        std::memcpy(to + n - qsizetype(sizeof word), &word, sizeof word);
    };
    if (n > 16) {
        std::memcpy(to, from, size_t(n));
    } else if (n >= 8) {
        twoWords(std::uint64_t{});
    } else if (n >= 4) {
        twoWords(std::uint32_t{});
    } else if (n > 0) { // the first, middle and last byte cover one to three
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
}

} // namespace plintex::columns
