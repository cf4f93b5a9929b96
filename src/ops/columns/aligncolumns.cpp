#include "ops/columns/aligncolumns.h"

#include "ops/columns/bytefields.h"
#include "ops/columns/fieldrows.h"
#include "ops/common/params.h"
#include "ops/common/trim.h"

#include <algorithm>
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

/// The measuring pass, into `measure`: row by row, or a run of rows at once; with `into`, what
/// it measured is folded into that at its finish.
class Measuring final : public RowPass {
public:
    explicit Measuring(std::shared_ptr<FieldMeasure> measure,
                       std::shared_ptr<FieldMeasure> into = {})
        : m_measure(std::move(measure)), m_into(std::move(into))
    {
    }
    bool row(qint64, PassRow &row, PassOutput &) override
    {
        qsizetype fields = 0;
        const auto count = [&](auto, qsizetype width) {
            ++fields;
            m_measure->width = std::max(m_measure->width, width);
        };
        if (const std::optional<RowBytes> b = row.bytes())
            forEachField(*b, count);
        else
            forEachField(common::trimmed(row.text()), count);
        m_measure->countRow(fields);
        return true;
    }
    bool readRows(const WholeRows &rows) override { return m_measure->measureRows(rows); }
    void finish(PassOutput &, RunResult &) override
    {
        if (m_into)
            m_into->fold(*m_measure);
    }

private:
    std::shared_ptr<FieldMeasure> m_measure;
    std::shared_ptr<FieldMeasure> m_into;
};

/// The pass proper: each row laid out in columns as measured, row by row or a run of rows at
/// once.
class LayingOut final : public RowPass {
public:
    LayingOut(std::shared_ptr<const FieldMeasure> measure, bool right)
        : m_measure(std::move(measure)), m_right(right)
    {
    }
    Q_DISABLE_COPY_MOVE(LayingOut) // its byte transform holds `this`
    bool row(qint64, PassRow &row, PassOutput &output) override
    {
        if (output.keepRewritten(m_bytes))
            return true;
        // The old row's storage serves the next one on the same thread: rows may be laid out
        // on several threads at once.
        thread_local QString out;
        out.resize(0);
        layOut(common::trimmed(row.text()), m_measure->paddedWidth(), m_right, out);
        std::swap(row.text(), out);
        output.keepRewritten();
        return true;
    }
    bool rewriteRows(const WholeRows &rows, QByteArray &out) override
    {
        return layOutRows(rows, m_measure->paddedWidth(), m_right, out);
    }

private:
    std::shared_ptr<const FieldMeasure> m_measure;
    bool m_right;
    // Fields are split, measured and padded on the row's bytes where it has them: the width
    // counts characters either way.
    const ByteTransform m_bytes = [this](RowBytes row, QByteArray &out) {
        layOut(row, m_measure->paddedWidth(), m_right, out);
        return true;
    };
};

PassPlan plan(const PassStart &start)
{
    auto measure = std::make_shared<FieldMeasure>();
    PassPlan plan;
    plan.pass = std::make_unique<LayingOut>(measure, start.params.flag(kRight));
    plan.rowsApart = true;
    plan.measure = std::make_unique<Measuring>(measure);
    plan.measureApart = [measure] {
        return std::make_unique<Measuring>(std::make_shared<FieldMeasure>(), measure);
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
