#pragma once

#include "core/run.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

namespace plintex {

/// How the bytes of a row that came undecoded are encoded: valid UTF-8, or Windows-1252 (one
/// byte a character).
enum class RowEncoding { Utf8, Windows1252 };

class PassRow;

/// A row's bytes as they came, undecoded.
struct RowBytes {
    QByteArrayView bytes;
    RowEncoding encoding;
    /// Set while `encoding` is only the guess that the text is UTF-8, which its ASCII bytes
    /// bear out whatever the verdict: whoever reads a byte beyond ASCII as part of a character
    /// settles it first (`settledEncoding`).
    PassRow *guess = nullptr;
};

/// Appends a row's bytes rewritten to `out`, in the row's own encoding, and says so; false,
/// having appended nothing, when this row needs its characters after all. The row may come
/// with its encoding a guess (see `RowBytes::guess`).
using ByteTransform = std::function<bool(RowBytes row, QByteArray &out)>;

/// Appends `bytes` to a row being built (QByteArray::append costs more than the copy for a
/// short row).
inline void appendBytes(QByteArray &out, QByteArrayView bytes)
{
    const qsizetype at = out.size();
    out.resize(at + bytes.size());
    if (!bytes.isEmpty())
        std::memcpy(out.data() + at, bytes.data(), size_t(bytes.size()));
}

/// Appends the pieces of a row being built one after another, with one resize for them all.
inline void appendBytes(QByteArray &out, std::initializer_list<QByteArrayView> pieces)
{
    qsizetype total = 0;
    for (const QByteArrayView piece : pieces)
        total += piece.size();
    const qsizetype at = out.size();
    out.resize(at + total);
    char *to = out.data() + at;
    for (const QByteArrayView piece : pieces) {
        if (!piece.isEmpty()) // an empty view may hold no address, which memcpy refuses
            std::memcpy(to, piece.data(), size_t(piece.size()));
        to += piece.size();
    }
}

/// The row a pass is looking at. Its text is decoded only when asked for, so that a pass that
/// keeps or drops rows by their number alone never pays for it.
class PassRow {
public:
    virtual ~PassRow() = default;
    /// The row's text; a pass may edit it and then keep it with `keepRewritten`.
    virtual QString &text() = 0;
    /// The row's bytes as they came, when it came as bytes in one of the row encodings: a pass
    /// that only searches a row can search them for its texts encoded the same way and spare
    /// the decoding. Nothing for a row held as characters.
    virtual std::optional<RowBytes> bytes() { return std::nullopt; }
    /// The row's bytes as `bytes` gives them, but with a guess at the text's encoding left
    /// open (`RowBytes::guess`): a column band within the row's ASCII start has the same bytes
    /// in either encoding, so a row whose characters beyond ASCII lie past it needs no verdict.
    virtual std::optional<RowBytes> guessedBytes() { return bytes(); }
    /// The row's bytes as they came, for a search of texts all in ASCII: such a text's bytes
    /// stand in UTF-8 and in Windows-1252 exactly where its characters would, so a guess at the
    /// encoding need not be settled for it. Nothing where `bytes` has none.
    std::optional<QByteArrayView> asciiSearchBytes()
    {
        const std::optional<RowBytes> b = guessedBytes();
        return b ? std::optional(b->bytes) : std::nullopt;
    }
};

/// The encoding of a row's bytes, a guess at it settled first.
inline RowEncoding settledEncoding(RowBytes &row)
{
    if (PassRow *guess = std::exchange(row.guess, nullptr)) {
        if (const std::optional<RowBytes> settled = guess->bytes())
            row.encoding = settled->encoding;
    }
    return row.encoding;
}

/// Where a pass puts the rows of its output, in order.
class PassOutput {
public:
    virtual ~PassOutput() = default;
    /// The current row, as it came.
    virtual void keep() = 0;
    /// The current row, as its `text()` now holds it.
    virtual void keepRewritten() = 0;
    /// The current row rewritten from its bytes by `transform`, when it came as bytes and the
    /// output takes them in the row's encoding as they are; false, nothing put out, otherwise
    /// (or when the transform declines), the pass then rewriting its characters.
    virtual bool keepRewritten(const ByteTransform &transform)
    {
        Q_UNUSED(transform);
        return false;
    }
    /// A row of the pass's own.
    virtual void add(QStringView row) = 0;
    /// A row of the pass's own as bytes, when the output takes them in their encoding as they
    /// are; false, nothing put out, otherwise.
    virtual bool addBytes(RowBytes row)
    {
        Q_UNUSED(row);
        return false;
    }
    /// Sets the current row aside as it came, to be put out or dropped later, when a row
    /// further on has decided its fate. One row at a time is held; releasing when none is
    /// held does nothing.
    virtual void hold() = 0;
    virtual void releaseHeld(bool keep) = 0;
};

/// A run of whole rows' bytes, for a pass to take at once rather than row by row.
struct WholeRows {
    QByteArrayView bytes; ///< each row with its break, but a last one may have none
    RowEncoding encoding;
    qsizetype longest;             ///< a row of this many bytes or more is left to the pass's `row`
    bool crBreaks = false;         ///< whether a CR before a LF is part of the row's break
    QByteArrayView lastBreak = {}; ///< what a row put out ends with when it came without one
};

/// A function's run as one pass over the rows of the text, first to last: for each row it
/// says what the output holds in its place (nothing, the row, the row rewritten, rows of its
/// own). The window runs it over the work area's lines; the command line streams a text of any
/// size through it, holding a row at a time. Either way the text comes out the same.
class RowPass {
public:
    virtual ~RowPass() = default;
    /// The row at `index` (from 0). False ends the run early, the rows after it unseen: for a
    /// refusal (which `finish` then gives), or in a pass that only reads once the rest of the
    /// text no longer matters.
    virtual bool row(qint64 index, PassRow &row, PassOutput &out) = 0;
    /// After the last row (or an early end): closing rows, and what the run leaves outside the
    /// text, added to `result` (whose fields and caret the plan already set).
    virtual void finish(PassOutput &out, RunResult &result)
    {
        Q_UNUSED(out);
        Q_UNUSED(result);
    }
    /// For a measure apart (`PassPlan::measureApart`): reads the whole rows of `rows` at once,
    /// as `row` would read each of them, and says so; false, having read nothing, when they are
    /// to come to `row` one by one.
    virtual bool readRows(const WholeRows &rows)
    {
        Q_UNUSED(rows);
        return false;
    }
    /// For a pass whose rows stand apart (`PassPlan::rowsApart`): appends the whole rows of
    /// `rows` to `out` at once, in their encoding, as `row` would put out each of them, and says
    /// so; false, having appended nothing, when they are to come to `row` one by one.
    virtual bool rewriteRows(const WholeRows &rows, QByteArray &out)
    {
        Q_UNUSED(rows);
        Q_UNUSED(out);
        return false;
    }
};

/// Where texts in ASCII, holding no line break, first stand in `block` (the bytes of many rows,
/// in UTF-8 or Windows-1252, whose ASCII bytes are alike), or -1; case-sensitive, byte for byte.
using AsciiBlockSearch = std::function<qsizetype(QByteArrayView block)>;

/// What a pass starts from. The band is known before any row is read, but not always the text's
/// length: when it runs to the end of a text longer than twice its From, `band.to` can be
/// `kToTheEnd` on the command line.
struct PassStart {
    static constexpr qint64 kToTheEnd = std::numeric_limits<qint64>::max();

    ParamValues params = {};
    QString runButton = {};
    /// The row restraint resolved, and its refusal when it is no band; a function without the
    /// restraint ignores both.
    BandCheck band = {};
    TextPosition caret = {}; ///< for a function that reads the caret
};

/// A pass ready to run, or the run's whole result without one: a refusal, or a run that leaves
/// the text as it was. With a pass, `result` holds what a run or a stop writes back (the band)
/// and where a finished run leaves the caret.
struct PassPlan {
    std::unique_ptr<RowPass> pass = {};
    RunResult result = {};
    /// A pass over every row before the pass proper, which only reads them (to measure the
    /// text); a stream is then read twice.
    std::unique_ptr<RowPass> measure = {};
    /// False for a pass that only reads the text (a total): the text stays as it was.
    bool rewritesText = true;
    /// The rows, from 1, whose turn moves the window's gauge and asks about a stop, the gauge
    /// reaching To at the end: the band of a function whose progress is the band's. Unset,
    /// every row, against the line count.
    std::optional<RowRestraint> gauge = {};
    /// The texts of its own that the pass may put into rows (a block, a replacement): whether
    /// Windows-1252 can hold them tells a stream its output's encoding before it starts.
    QStringList outputTexts = {};
    /// When set, a row whose bytes hold nothing this finds is kept as it came, and the pass has
    /// nothing else to do for it (no count, no state): a stream may copy a run of such rows
    /// through at once, handing the pass only the rows holding a find, at their own index.
    AsciiBlockSearch keepsRowsWithout = {};
    /// Set when each row comes out the same whatever its index and whatever rows came before
    /// (no band short of the whole text, no count, no state), `pass->row` never ends the run
    /// and may run for different rows on several threads at once, and `finish` adds no rows: a
    /// long file may then be worked in pieces side by side.
    bool rowsApart = false;
    /// Set when each row comes out the same, given its index, whatever rows came before (no
    /// other state, and no `keepsRowsWithout`), `pass->row` being as for `rowsApart`: a long
    /// file may then be worked in pieces side by side, each piece's rows counted first.
    bool rowsByIndex = false;
    /// For a measure whose rows stand apart likewise (and never end it): a fresh measure for
    /// one of several threads that each take some of the rows, whose `finish` folds what it
    /// measured into `measure`'s once all are done.
    std::function<std::unique_ptr<RowPass>()> measureApart = {};

    static PassPlan without(RunResult result)
    {
        PassPlan plan;
        plan.result = std::move(result);
        return plan;
    }
};

using RowPassFactory = std::function<PassPlan(const PassStart &start)>;

/// A pass made of a step, `bool (qint64 index, PassRow &row, PassOutput &out)`, a mutable lambda
/// when it keeps a state, and a finish, `void (PassOutput &out, RunResult &result)`.
template <typename Step, typename Finish> class LambdaPass final : public RowPass {
public:
    LambdaPass(Step step, Finish finish) : m_step(std::move(step)), m_finish(std::move(finish)) {}
    bool row(qint64 index, PassRow &row, PassOutput &out) override
    {
        return m_step(index, row, out);
    }
    void finish(PassOutput &out, RunResult &result) override { m_finish(out, result); }

private:
    Step m_step;
    Finish m_finish;
};

/// A pass from a step and a finish, as LambdaPass takes them.
template <typename Step, typename Finish = void (*)(PassOutput &, RunResult &)>
std::unique_ptr<RowPass> passOf(
    Step step, Finish finish = [](PassOutput &, RunResult &) {})
{
    return std::make_unique<LambdaPass<Step, Finish>>(std::move(step), std::move(finish));
}

/// A plan running `step` over the rows, and `finish` after them; `result` as in PassPlan.
template <typename Step, typename Finish = void (*)(PassOutput &, RunResult &)>
PassPlan planOf(
    Step step, RunResult result = {}, Finish finish = [](PassOutput &, RunResult &) {})
{
    PassPlan plan;
    plan.pass = passOf(std::move(step), std::move(finish));
    plan.result = std::move(result);
    return plan;
}

/// The run routine of a function that declares a row pass: the pass over the work area's lines,
/// testing for a stop before each row of its gauge; a stop leaves the text as it was.
RunResult runRowPass(RowPassFactory factory, RunInput input, RunMonitor &monitor);

/// Whether a row may be changed by a transform: false lets the row be kept as it came.
using RowFilter = std::function<bool(PassRow &row)>;

/// A pass that rewrites each row of the band on its own and keeps the others; a band that is
/// none is refused. The caret goes to the start of the band's last row. With `touches`, a row
/// of the band it rules out is kept as it came, undecoded. With `bytes`, a row that came as bytes
/// is rewritten on them when the output takes them, as `transform` would rewrite its characters.
PassPlan bandPass(LineTransform transform, const PassStart &start, RowFilter touches = {},
                  ByteTransform bytes = {});

} // namespace plintex
