#include "ops/columns/aligncolumns.h"

#include "ops/columns/bytefields.h"
#include "ops/common/params.h"
#include "ops/common/trim.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <type_traits>

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

const QString kRight = u"right"_s;

/// Calls `field(text, width)` with each maximal run of characters other than the blank; a line
/// with none is one empty field.
template <typename Field> void forEachField(QStringView line, Field field)
{
    if (line.isEmpty()) {
        field(line, qsizetype(0));
        return;
    }
    qsizetype at = 0;
    while (at < line.size()) {
        qsizetype end = line.indexOf(u' ', at);
        if (end < 0)
            end = line.size();
        field(line.sliced(at, end - at), end - at);
        at = end;
        while (at < line.size() && line[at] == u' ')
            ++at;
    }
}

/// The same on a row's bytes: the blank is one byte in either encoding, and no byte of another
/// character is one.
template <typename Field> void forEachField(RowBytes row, Field field)
{
    forEachByteField(common::trimmed(row.bytes), row.encoding, field);
}

qsizetype sizeOf(QStringView line)
{
    return line.size();
}

qsizetype sizeOf(RowBytes row)
{
    return row.bytes.size();
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

/// The fields of `row` (its text or its bytes) laid out in `out` in columns of `width`.
template <typename Row, typename Out> void layOut(Row row, qsizetype width, bool right, Out &out)
{
    // Room for the row and a column's padding for each of a few fields at once, grown only for
    // a row of more: resizing for every field costs more than the writing.
    qsizetype at = out.size();
    qsizetype room = 8;
    const auto makeRoom = [&] { out.resize(at + sizeOf(row) + room * (width + 1) + kSlack); };
    makeRoom();
    qsizetype fields = 0;
    // Padding goes in front of a right-justified field; behind a left-justified one only when
    // another field follows, so that no line keeps trailing blanks.
    qsizetype pending = 0;
    // Inline at both of the field walk's calls: a call for each of millions of fields costs
    // more than the field's writing.
    const auto putField = [&] [[gnu::always_inline]] (auto f, qsizetype w) {
        if (f.isEmpty())
            return; // the one field of a line without any
        if (++fields > room) {
            room *= 2;
            makeRoom();
        }
        // A blank between fields and the padding, which is never less than none: a text changed
        // since it was measured may hold a field wider than the widest.
        const qsizetype blanks =
            (fields > 1 ? 1 : 0) + (right ? std::max<qsizetype>(0, width - w) : pending);
        auto *to = out.data() + at;
        if constexpr (std::is_same_v<Out, QByteArray>) {
            putBlanks(to, blanks);
            putBytes(to + blanks, f.data(), f.size());
        } else {
            std::fill_n(to, blanks, u' ');
            std::copy_n(f.data(), f.size(), to + blanks);
        }
        at += blanks + f.size();
        pending = right ? 0 : std::max<qsizetype>(0, width - w);
    };
    forEachField(row, putField);
    out.resize(at);
}

/// What the measuring pass finds: the most fields of a line, the widest field, whether some
/// line has fewer fields. Each on a cache line of its own: two threads measuring rows apart
/// write to theirs at every field.
struct alignas(64) Measure {
    qsizetype mostFields = 0;
    qsizetype fewestFields = std::numeric_limits<qsizetype>::max();
    qsizetype width = 0;

    /// The width fields are padded to: a line with fewer fields gets one-character
    /// placeholders, which count towards it.
    qsizetype paddedWidth() const
    {
        return fewestFields < mostFields ? std::max<qsizetype>(width, 1) : width;
    }
    void fold(const Measure &other)
    {
        mostFields = std::max(mostFields, other.mostFields);
        fewestFields = std::min(fewestFields, other.fewestFields);
        width = std::max(width, other.width);
    }
};

/// The measuring pass's step, into `measure`.
auto measuring(std::shared_ptr<Measure> measure)
{
    return [measure](qint64, PassRow &row, PassOutput &) {
        qsizetype fields = 0;
        const auto count = [&](auto, qsizetype width) {
            ++fields;
            measure->width = std::max(measure->width, width);
        };
        if (const std::optional<RowBytes> b = row.bytes())
            forEachField(*b, count);
        else
            forEachField(common::trimmed(row.text()), count);
        measure->mostFields = std::max(measure->mostFields, fields);
        measure->fewestFields = std::min(measure->fewestFields, fields);
        return true;
    };
}

PassPlan plan(const PassStart &start)
{
    auto measure = std::make_shared<Measure>();
    const bool right = start.params.flag(kRight);
    // Fields are split, measured and padded on the row's bytes where it has them: the width
    // counts characters either way.
    const ByteTransform bytes = [measure, right](RowBytes row, QByteArray &out) {
        layOut(row, measure->paddedWidth(), right, out);
        return true;
    };
    PassPlan plan = planOf([measure, right, bytes](qint64, PassRow &row, PassOutput &output) {
        if (output.keepRewritten(bytes))
            return true;
        // The old row's storage serves the next one on the same thread: rows may be laid out
        // on several threads at once.
        thread_local QString out;
        out.resize(0);
        layOut(common::trimmed(row.text()), measure->paddedWidth(), right, out);
        std::swap(row.text(), out);
        output.keepRewritten();
        return true;
    });
    plan.rowsApart = true;
    plan.measure = passOf(measuring(measure));
    plan.measureApart = [measure] {
        auto own = std::make_shared<Measure>();
        return passOf(measuring(own),
                      [measure, own](PassOutput &, RunResult &) { measure->fold(*own); });
    };
    return plan;
}

} // namespace

FunctionBody alignColumns()
{
    return {
        .description = u"Splits every line into fields at blanks and lines the fields up in "
                       u"columns of one width, left or right justified."_s,
        .panel =
            {
                runButton(),
                caption(u"Align data into columns."_s),
                common::tickBox(kRight, u"Right justify."_s),
            },
        .rowPass = plan,
        .example = {.title = u"Align all data into columns (right justify)"_s,
                    .before = u"  Line1  4444     1\r\nLine2      22     22\r\n    Line3 333    "
                              u"4444  55555\r\nLine4     333\r\nLine5  333    55555 "_s,
                    .after = u"Line1 4444     1\r\nLine2   22    22\r\nLine3  333  4444 "
                             u"55555\r\nLine4  333\r\nLine5  333 55555 "_s,
                    .params = {{kRight, u"1"_s}},
                    .expected = u"Line1  4444     1\nLine2    22    22\nLine3   333  4444 "
                                u"55555\nLine4   333\nLine5   333 55555"_s},
    };
}

} // namespace plintex::columns
