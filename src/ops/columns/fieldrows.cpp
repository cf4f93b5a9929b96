#include "ops/columns/fieldrows.h"

#include "ops/columns/bytefields.h"

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The scans below run over every byte of a long text: built once more for processors of the
// last decade, which count bits and test masks in one instruction each, and chosen at start.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define SCAN_FOR_RECENT_PROCESSORS [[gnu::target_clones("arch=x86-64-v3", "default")]]
#else
#define SCAN_FOR_RECENT_PROCESSORS
#endif

namespace plintex::columns {
namespace {

/// For up to 64 bytes of rows, a bit for each: those up to the blank, the control characters
/// among them, LFs, CRs, bytes beyond ASCII and, of those, the ones that continue a UTF-8
/// character and the ones that begin a character of four bytes.
struct RowClasses {
    std::uint64_t low = 0;
    std::uint64_t control = 0;
    std::uint64_t lf = 0;
    std::uint64_t cr = 0;
    std::uint64_t high = 0;
    std::uint64_t continuation = 0;
    std::uint64_t fourByteLead = 0;
};

/// The classes of one byte, at bit `i`.
[[gnu::always_inline]] inline void classifyByte(RowClasses &c, unsigned char byte, int i)
{
    c.low |= std::uint64_t(byte <= ' ') << i;
    c.control |= std::uint64_t(byte < ' ') << i;
    c.lf |= std::uint64_t(byte == '\n') << i;
    c.cr |= std::uint64_t(byte == '\r') << i;
    c.high |= std::uint64_t(byte >= 0x80) << i;
    c.continuation |= std::uint64_t((byte & 0xC0) == 0x80) << i;
    c.fourByteLead |= std::uint64_t(byte >= 0xF0) << i;
}

[[gnu::always_inline]] inline RowClasses classify(const char *data, int count)
{
    RowClasses c;
#if defined(__SSE2__)
    if (count == 64) {
        const auto *at = reinterpret_cast<const __m128i *>(data);
        const __m128i v0 = _mm_loadu_si128(at);
        const __m128i v1 = _mm_loadu_si128(at + 1);
        const __m128i v2 = _mm_loadu_si128(at + 2);
        const __m128i v3 = _mm_loadu_si128(at + 3);
        const auto bits = [&](auto is) {
            const auto part = [](__m128i b) {
                return std::uint64_t(std::uint16_t(_mm_movemask_epi8(b)));
            };
            return part(is(v0)) | part(is(v1)) << 16 | part(is(v2)) << 32 | part(is(v3)) << 48;
        };
        c.low =
            bits([](__m128i b) { return _mm_cmpeq_epi8(_mm_min_epu8(b, _mm_set1_epi8(' ')), b); });
        c.lf = bits([](__m128i b) { return _mm_cmpeq_epi8(b, _mm_set1_epi8('\n')); });
        const std::uint64_t blank =
            bits([](__m128i b) { return _mm_cmpeq_epi8(b, _mm_set1_epi8(' ')); });
        c.control = c.low & ~blank;
        // Most texts hold no CR: the LFs are then all the control characters there are.
        if ((c.control & ~c.lf) != 0)
            c.cr = bits([](__m128i b) { return _mm_cmpeq_epi8(b, _mm_set1_epi8('\r')); });
        c.high = bits([](__m128i b) { return b; });
        if (c.high != 0) {
            // As signed bytes, 0x80-0xBF lie below 0xC0, and 0xF0-0xFF above 0xEF.
            c.continuation =
                bits([](__m128i b) { return _mm_cmplt_epi8(b, _mm_set1_epi8(char(0xC0))); });
            c.fourByteLead =
                bits([](__m128i b) { return _mm_cmpgt_epi8(b, _mm_set1_epi8(char(0xEF))); }) &
                c.high;
        }
        return c;
    }
#endif
    for (int i = 0; i < count; ++i)
        classifyByte(c, static_cast<unsigned char>(data[i]), i);
    return c;
}

/// The set bits of `v`: one instruction where the processor has it (see
/// `SCAN_FOR_RECENT_PROCESSORS`), a call otherwise.
[[gnu::always_inline]] inline int ones(std::uint64_t v)
{
    return __builtin_popcountll(v);
}

/// The bits below bit `n` (0 to 63).
std::uint64_t below(int n)
{
    return (std::uint64_t(1) << n) - 1;
}

/// Whether `bits` holds a run of at least `length` set bits, in a few steps whatever the length:
/// runs of twice the length found so far are runs of it side by side.
[[gnu::always_inline]] inline bool holdsRun(std::uint64_t bits, qsizetype length)
{
    if (length > 64)
        return false;
    qsizetype found = 1;
    for (; bits != 0 && 2 * found <= length; found *= 2)
        bits &= bits >> found;
    if (found < length)
        bits &= bits >> (length - found);
    return bits != 0;
}

/// Whole rows read 64 bytes at a time, for their fields: where fields start and end, where rows
/// end, and how many characters come before each byte. With no control character but LFs and
/// CRs before them, the only bytes up to the blank within a row's trimmed ends are blanks, so
/// its fields are the runs of the bytes above the blank; rows holding others are declined.
class RowScan {
public:
    RowScan(QByteArrayView rows, RowEncoding encoding)
        : m_rows(rows), m_utf8(encoding == RowEncoding::Utf8)
    {
    }

    /// Moves to the next block: false at the end, or where the rows are declined.
    [[gnu::always_inline]] bool next()
    {
        m_base += m_size;
        m_chars +=
            m_counting ? ones(~m_c.continuation & m_inBlock) + ones(m_c.fourByteLead) : m_size;
        m_inField = (m_field & m_edge) != 0;
        if (m_base >= m_rows.size())
            return false;
        m_size = int(std::min<qsizetype>(64, m_rows.size() - m_base));
        m_c = classify(m_rows.data() + m_base, m_size);
        m_inBlock = m_size == 64 ? ~std::uint64_t(0) : below(m_size);
        m_edge = std::uint64_t(1) << (m_size - 1);
        const std::uint64_t crBeforeLf = m_c.cr & ((m_c.lf >> 1) | (m_size == 64 ? m_edge : 0));
        if ((m_c.control & ~m_c.lf & ~crBeforeLf) != 0 || (m_crAtEdge && (m_c.lf & 1) == 0)) {
            m_declined = true;
            return false;
        }
        m_crAtEdge = (m_c.cr & m_edge) != 0;
        m_field = ~m_c.low & m_inBlock;
        const std::uint64_t afterField = (m_field << 1) | std::uint64_t(m_inField);
        m_starts = m_field & ~afterField;
        m_ends = ~m_field & m_inBlock & afterField;
        // Most blocks are ASCII, where a field's width is its size.
        m_counting = m_utf8 && m_c.high != 0;
        return true;
    }
    /// Whether the rows are declined: a control character other than a LF or a CR before one.
    bool declined() const { return m_declined || m_crAtEdge; }

    qsizetype base() const { return m_base; }
    /// The characters before byte `at` of the block.
    qint64 charsAt(int at) const
    {
        if (!m_counting)
            return m_chars + at;
        return m_chars + ones(~m_c.continuation & below(at)) + ones(m_c.fourByteLead & below(at));
    }
    /// The characters of the block's bytes from `from` up to `to`.
    qint64 charsIn(int from, int to) const
    {
        if (!m_counting)
            return to - from;
        const std::uint64_t span = below(to) & ~below(from);
        return ones(~m_c.continuation & span) + ones(m_c.fourByteLead & span);
    }
    /// The characters before the end of the rows, once `next` has said so.
    qint64 chars() const { return m_chars; }
    bool inFieldBefore() const { return m_inField; }
    bool endsInField() const { return (m_field & m_edge) != 0; }
    std::uint64_t field() const { return m_field; }
    std::uint64_t starts() const { return m_starts; }
    std::uint64_t ends() const { return m_ends; }
    std::uint64_t lfs() const { return m_c.lf; }

private:
    QByteArrayView m_rows;
    bool m_utf8;
    qsizetype m_base = 0;
    int m_size = 0;
    qint64 m_chars = 0;
    RowClasses m_c;
    std::uint64_t m_inBlock = 0;
    std::uint64_t m_edge = 0;
    std::uint64_t m_field = 0;
    std::uint64_t m_starts = 0;
    std::uint64_t m_ends = 0;
    bool m_inField = false;
    bool m_counting = false;
    bool m_crAtEdge = false;
    bool m_declined = false;
};

} // namespace

SCAN_FOR_RECENT_PROCESSORS bool FieldMeasure::measureRows(const WholeRows &whole)
{
    const QByteArrayView rows = whole.bytes;
    const qsizetype longest = whole.longest;
    FieldMeasure found;
    RowScan scan(rows, whole.encoding);
    qint64 fieldStart = 0;   // characters before the field being read, while one is
    qsizetype rowFields = 0; // fields begun in the row being read
    qsizetype rowStart = 0;  // where that row starts
    while (scan.next()) {
        const std::uint64_t starts = scan.starts();
        const std::uint64_t ends = scan.ends();
        // The fields begun and ended within the block, apart from the one carried in and the
        // one carried on: each is measured only if the block holds a run of more bytes than the
        // widest so far, which none does once the widest has been met.
        std::uint64_t closed = scan.field();
        if (scan.inFieldBefore()) {
            if (ends == 0) {
                closed = 0;
            } else {
                const int end = std::countr_zero(ends);
                found.width = std::max(found.width, scan.charsAt(end) - fieldStart);
                closed &= ~below(end);
            }
        }
        if (scan.endsInField() && starts != 0) {
            const int last = 63 - std::countl_zero(starts);
            closed &= below(last);
            fieldStart = scan.charsAt(last);
        }
        if (holdsRun(closed, found.width + 1)) {
            for (std::uint64_t s = starts & closed; s != 0; s &= s - 1) {
                const int from = std::countr_zero(s);
                const int to = std::countr_zero(ends & ~below(from));
                found.width = std::max(found.width, scan.charsIn(from, to));
            }
        }
        std::uint64_t open = starts; // fields of the block not yet counted to a row
        for (std::uint64_t lfs = scan.lfs(); lfs != 0; lfs &= lfs - 1) {
            const int at = std::countr_zero(lfs);
            if (scan.base() + at - rowStart >= longest)
                return false;
            found.countRow(std::max<qsizetype>(1, rowFields + ones(open & below(at))));
            open &= ~below(at);
            rowStart = scan.base() + at + 1;
            rowFields = 0;
        }
        rowFields += ones(open);
    }
    if (scan.declined() || rows.size() - rowStart >= longest)
        return false;
    if (scan.inFieldBefore())
        found.width = std::max(found.width, scan.chars() - fieldStart);
    if (rowStart < rows.size())
        found.countRow(std::max<qsizetype>(1, rowFields));
    fold(found);
    return true;
}

SCAN_FOR_RECENT_PROCESSORS bool layOutRows(const WholeRows &whole, qsizetype width, bool right,
                                           QByteArray &out)
{
    const QByteArrayView rows = whole.bytes;
    const qsizetype begin = out.size();
    qsizetype at = begin;    // where the next byte goes
    char *to = nullptr;      // the output's bytes, once there is room for a block's
    qsizetype fieldFrom = 0; // where the field being read starts, while one is
    qint64 fieldStart = 0;   // the characters before it
    qsizetype rowFields = 0; // fields of the row being read laid out so far
    qsizetype pending = 0;   // padding owed behind the last of them, should another follow
    qsizetype rowStart = 0;
    bool tooLong = false;
    // A field of up to 16 bytes and up to 16 blanks before it are written 16 bytes at a time,
    // without a branch on their sizes: what is written past them is written over next.
    constexpr qsizetype kWord = 16;
    const char blanks16[kWord] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                  ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    const auto putField = [&] [[gnu::always_inline]] (qsizetype end, qint64 fieldWidth) {
        const qsizetype size = end - fieldFrom;
        const qsizetype padding = std::max<qsizetype>(0, width - fieldWidth);
        const qsizetype blanks = (++rowFields > 1 ? 1 : 0) + (right ? padding : pending);
        const char *from = rows.data() + fieldFrom;
        if (blanks <= kWord && size <= kWord && fieldFrom + kWord <= rows.size()) {
            std::memcpy(to + at, blanks16, kWord);
            std::memcpy(to + at + blanks, from, kWord);
        } else {
            putBlanks(to + at, blanks);
            putBytes(to + at + blanks, from, size);
        }
        at += blanks + size;
        pending = right ? 0 : padding;
    };
    const auto endRow = [&] [[gnu::always_inline]] (qsizetype lf) {
        tooLong = tooLong || lf - rowStart >= whole.longest;
        // A CR before the LF is part of the break where a CR breaks a row, and trimmed off
        // its row's end where it does not.
        if (whole.crBreaks && lf > rowStart && rows[lf - 1] == '\r')
            to[at++] = '\r';
        to[at++] = '\n';
        rowFields = 0;
        pending = 0;
        rowStart = lf + 1;
    };
    RowScan scan(rows, whole.encoding);
    while (scan.next()) {
        std::uint64_t starts = scan.starts();
        const std::uint64_t ends = scan.ends();
        std::uint64_t lfs = scan.lfs();
        const qsizetype base = scan.base();
        // Room for the block's breaks, and for each field it holds (with the one carried in and
        // the one carried on) its bytes, its blanks and what is written past them: resized for
        // a block, not for a field.
        const qsizetype carried = scan.inFieldBefore() ? base - fieldFrom : 0;
        const qsizetype room = at + carried + 3 * 64 + (ones(starts) + 2) * (width + 1 + kWord);
        if (room > out.size())
            out.resize(std::max(room, begin + 2 * (out.size() - begin) + (64 << 10)));
        to = out.data();

        if (scan.inFieldBefore() && ends != 0) {
            const int end = std::countr_zero(ends);
            putField(base + end, scan.charsAt(end) - fieldStart);
        }
        for (; starts != 0; starts &= starts - 1) {
            const int start = std::countr_zero(starts);
            for (std::uint64_t before = lfs & below(start); before != 0; before &= before - 1)
                endRow(base + std::countr_zero(before));
            lfs &= ~below(start);
            fieldFrom = base + start;
            const std::uint64_t after = ends & ~below(start);
            if (after == 0) { // the field goes on into the next block
                fieldStart = scan.charsAt(start);
                break;
            }
            const int end = std::countr_zero(after);
            putField(base + end, scan.charsIn(start, end));
        }
        for (; lfs != 0; lfs &= lfs - 1)
            endRow(base + std::countr_zero(lfs));
    }
    if (scan.declined() || tooLong || rows.size() - rowStart >= whole.longest) {
        out.resize(begin);
        return false;
    }
    const qsizetype room =
        at + (rows.size() - fieldFrom) + width + 1 + kWord + whole.lastBreak.size();
    if (room > out.size())
        out.resize(room);
    to = out.data();
    if (scan.inFieldBefore())
        putField(rows.size(), scan.chars() - fieldStart);
    if (rowStart < rows.size()) {
        std::memcpy(to + at, whole.lastBreak.data(), size_t(whole.lastBreak.size()));
        at += whole.lastBreak.size();
    }
    out.resize(at);
    return true;
}

} // namespace plintex::columns
