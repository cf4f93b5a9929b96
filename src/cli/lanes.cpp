#include "cli/lanes.h"

#include "cli/linereader.h"
#include "cli/rowskip.h"
#include "cli/sidethread.h"

#include <condition_variable>
#include <limits>
#include <mutex>

namespace plintex::cli {
namespace {

using Outcome = LaneResult::Outcome;

/// What the two lanes share: whose turn it is to write, the first piece that went wrong, and
/// the verdict on a guessed encoding.
struct Shared {
    Shared(const LaneRun &r, const std::function<bool(QByteArrayView)> &w)
        : run(r), write(w), end(r.source.size()), pieces((end - r.begin + r.piece - 1) / r.piece)
    {
    }

    const LaneRun &run;
    const std::function<bool(QByteArrayView)> &write;
    qint64 end;
    qint64 pieces;

    std::mutex mutex;
    std::condition_variable changed;
    qint64 turn = 0; ///< the piece written next
    /// The first piece not to be written: one that failed, or the one after a pass ended in.
    qint64 lastAt = std::numeric_limits<qint64>::max();
    LaneResult result;
    std::once_flag surveyed;
    std::optional<bool> utf8;
    qint64 countTurn = 0;  ///< the piece whose rows are counted next
    qint64 rowsBefore = 0; ///< the rows of the pieces before it

    /// The rows before piece `k`, once the pieces before it have counted theirs; then counts
    /// its `rows`. Nothing when its turn is never to come.
    std::optional<qint64> countIn(qint64 k, qint64 rows)
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return countTurn == k || lastAt <= k; });
        if (countTurn != k || lastAt <= k)
            return std::nullopt;
        const qint64 before = rowsBefore;
        rowsBefore += rows;
        ++countTurn;
        lock.unlock();
        changed.notify_all();
        return before;
    }

    void stopAt(qint64 piece, LaneResult why)
    {
        {
            const std::lock_guard lock(mutex);
            if (piece < lastAt) {
                lastAt = piece;
                result = std::move(why);
            }
        }
        changed.notify_all();
    }
    bool stoppedBy(qint64 piece)
    {
        const std::lock_guard lock(mutex);
        return lastAt <= piece;
    }
    /// Waits for the turn of `piece`: false when it is never to come.
    bool awaitTurn(qint64 piece)
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return turn == piece || lastAt <= piece; });
        return turn == piece && lastAt > piece;
    }
    void passTurn()
    {
        {
            const std::lock_guard lock(mutex);
            ++turn;
        }
        changed.notify_all();
    }
};

/// Where the first row starting at or after byte `at` starts, the text's end when none does;
/// nothing, with `failure` set, when that cannot be read or lies past a line too long.
std::optional<qint64> rowStart(const Shared &shared, qint64 at, LaneResult &failure)
{
    const LaneRun &run = shared.run;
    if (at <= run.begin)
        return run.begin;
    if (at >= shared.end)
        return shared.end;
    // From the byte before `at`, which may end a break; a CR needs the byte after it, which
    // may make it a CR LF.
    const qint64 from = at - 1;
    QByteArray window;
    for (qsizetype size = 256;; size *= 2) {
        window.resize(size);
        const qsizetype n = run.source.readAt(from, window.data(), size, &failure.why);
        if (n < 0) {
            failure.outcome = Outcome::ReadFailed;
            return std::nullopt;
        }
        for (qsizetype i = 0; i < n; ++i) {
            if (window[i] == '\n')
                return from + i + 1;
            if (window[i] == '\r' && run.mayHoldCr && (i + 1 < n || from + n == shared.end))
                return from + i + 1 + (i + 1 < n && window[i + 1] == '\n');
        }
        if (from + n >= shared.end)
            return shared.end;
        if (n > run.longestLine) {
            failure.outcome = Outcome::TooLong;
            return std::nullopt;
        }
    }
}

/// The rows a reader holds, whole, for a pass to take at once; nothing in UTF-16.
std::optional<WholeRows> wholeRows(const LaneRun &run, const LineReader &reader,
                                   TextEncoding encoding)
{
    const std::optional<RowBytes> bytes = rowBytes(reader.held(), encoding);
    if (!bytes)
        return std::nullopt;
    return WholeRows{.bytes = bytes->bytes,
                     .encoding = bytes->encoding,
                     .longest = run.longestLine,
                     .crBreaks = reader.mayBreakAtCr(),
                     .lastBreak = lineEndBytes(run.output.input.lineEnd, run.output.encoding)};
}

/// The rows `reader` holds, as it would hand them out.
qint64 rowsHeld(const LineReader &reader)
{
    const QByteArrayView held = reader.held();
    qint64 rows = 0;
    for (qsizetype at = 0; at < held.size(); ++rows)
        at = lineAt(held, at, reader.mayBreakAtCr()).next;
    return rows;
}

/// A reader for a lane, over no source: each piece is handed to it whole.
class PieceReader {
public:
    explicit PieceReader(const LaneRun &run) : m_reader(m_none, run.longestLine)
    {
        m_reader.setEncoding(run.output.input.encoding, run.mayHoldCr);
        QByteArray room; // enough from the start for most pieces
        room.reserve(run.piece + (64 << 10));
        m_reader.holdAll(std::move(room));
    }
    LineReader &reader() { return m_reader; }

    /// Holds the rows of piece `k`; false, with `failure` set, when they cannot be read. The
    /// byte where they end goes to `stop`.
    bool take(const Shared &shared, qint64 k, qint64 &stop, LaneResult &failure)
    {
        const LaneRun &run = shared.run;
        const qint64 at = run.begin + k * run.piece;
        const std::optional<qint64> start = rowStart(shared, at, failure);
        const std::optional<qint64> end =
            start ? rowStart(shared, std::min(at + run.piece, shared.end), failure) : std::nullopt;
        if (!end)
            return false;
        // The piece is read into the buffer the last one was held in: fresh memory costs more
        // than the copying.
        QByteArray bytes = m_reader.holdAll({});
        bytes.resize(*end - *start);
        const qsizetype n = run.source.readAt(*start, bytes.data(), bytes.size(), &failure.why);
        m_reader.holdAll(std::move(bytes));
        if (n != *end - *start) {
            failure.outcome = Outcome::ReadFailed;
            return false;
        }
        stop = *end;
        return true;
    }

private:
    MemorySource m_none{QByteArray()};
    LineReader m_reader;
};

/// One of the two threads: its own reader, rows and output, and the pieces whose turn it takes.
/// Each on cache lines of its own: a line that both threads write to every row would pass
/// between the processors at every row.
class alignas(64) Lane {
public:
    Lane(Shared &shared, bool reportsProgress, const std::function<void(qint64)> &progress)
        : m_shared(shared), m_run(shared.run), m_format(shared.run.output), m_pieces(shared.run),
          m_reader(m_pieces.reader()), m_rows(m_format), m_reportsProgress(reportsProgress),
          m_progress(progress)
    {
        m_rows.piece().reserve(m_run.piece + m_run.piece / 2); // and the piece's rows rewritten
        if (m_run.surveyUtf8)
            m_rows.settleBeforeUse([this] { settle(); });
    }

    /// Every second piece from `first`, until the pieces end or one goes wrong.
    void runFrom(qint64 first)
    {
        for (qint64 k = first; k < m_shared.pieces && !m_shared.stoppedBy(k); k += 2) {
            if (!work(k))
                return;
        }
    }

private:
    void settle()
    {
        std::call_once(m_shared.surveyed, [&] { m_shared.utf8 = m_run.surveyUtf8(); });
        if (!m_shared.utf8) {
            m_settleFailed = true;
        } else if (!*m_shared.utf8) {
            m_format.input.encoding = m_format.encoding = TextEncoding::Windows1252;
            m_reader.setEncoding(TextEncoding::Windows1252, true);
        }
    }

    bool fail(qint64 piece, LaneResult why)
    {
        m_shared.stopAt(piece, std::move(why));
        return false;
    }

    /// The rows of piece `k` rewritten and, in their turn, written.
    bool work(qint64 k)
    {
        LaneResult failure;
        qint64 stop = 0;
        if (!m_pieces.take(m_shared, k, stop, failure))
            return fail(k, failure);
        // A pass that reads rows' indices waits for the pieces before to count their rows,
        // which each does as soon as it has read them.
        qint64 rowsBefore = 0;
        if (m_run.readsIndex) {
            const std::optional<qint64> before = m_shared.countIn(k, rowsHeld(m_reader));
            if (!before)
                return false;
            rowsBefore = *before;
        }
        QByteArray &out = m_rows.piece();
        bool ended = false;
        QByteArrayView line;
        QByteArrayView lineBreak;
        // Rows that go out in the encoding they came in may be rewritten all at once.
        const bool asTheyCame = !m_run.surveyUtf8 && !m_format.checkEachLine &&
                                m_format.encoding == m_format.input.encoding;
        if (const std::optional<WholeRows> whole =
                asTheyCame ? wholeRows(m_run, m_reader, m_format.input.encoding) : std::nullopt;
            whole && m_run.pass->rewriteRows(*whole, out))
            m_reader.skip(whole->bytes.size());
        for (qint64 index = 0; !ended; ++index) {
            if (m_run.keepsRowsWithout && !isUtf16(m_format.input.encoding) &&
                m_format.encoding == m_format.input.encoding)
                keepRowsWithout(m_reader, m_run.keepsRowsWithout, out,
                                std::numeric_limits<qsizetype>::max(), m_reader.mayBreakAtCr());
            if (m_reader.next(line, lineBreak) != LineReader::Status::Line)
                break;
            if (line.size() > m_run.longestLine)
                return fail(k, {Outcome::TooLong});
            m_rows.moveTo(line, lineBreak);
            ended = !m_run.pass->row(rowsBefore + index, m_rows, m_rows);
            if (m_settleFailed)
                return fail(k, {Outcome::ReadFailed, m_run.source.error()});
        }
        if (!m_shared.awaitTurn(k))
            return false;
        const bool written = !m_run.rewritesText || m_shared.write(out);
        out.resize(0);
        if (!written)
            return fail(k, {Outcome::WriteFailed});
        if (ended)
            m_shared.stopAt(k + 1, {});
        if (m_reportsProgress && m_progress)
            m_progress(stop);
        m_shared.passTurn();
        return !ended;
    }

    Shared &m_shared;
    const LaneRun &m_run;
    OutputFormat m_format; ///< the lane's own: a guessed encoding settles in each lane apart
    PieceReader m_pieces;
    LineReader &m_reader;
    StreamRows m_rows;
    bool m_settleFailed = false;
    bool m_reportsProgress;
    const std::function<void(qint64)> &m_progress;
};

/// Every second piece from `first` through a measure of the lane's own, until the pieces end or
/// one goes wrong (a row not UTF-8 among them when `checkUtf8`).
void measureFrom(Shared &shared, RowPass &measure, qint64 first, bool checkUtf8)
{
    PieceReader pieces(shared.run);
    ReadRows rows(shared.run.output.input.encoding);
    QByteArrayView line;
    QByteArrayView lineBreak;
    for (qint64 k = first; k < shared.pieces && !shared.stoppedBy(k); k += 2) {
        LaneResult failure;
        qint64 stop = 0;
        if (!pieces.take(shared, k, stop, failure))
            return shared.stopAt(k, failure);
        // A piece is UTF-8 when each of its rows is (its breaks are ASCII): one look at the
        // piece costs less than one at each row.
        if (checkUtf8 && !isValidUtf8(pieces.reader().held()))
            return shared.stopAt(k, {Outcome::NotUtf8});
        if (const std::optional<WholeRows> whole =
                wholeRows(shared.run, pieces.reader(), shared.run.output.input.encoding);
            whole && measure.readRows(*whole))
            continue;
        for (qint64 index = 0; pieces.reader().next(line, lineBreak) == LineReader::Status::Line;
             ++index) {
            if (line.size() > shared.run.longestLine)
                return shared.stopAt(k, {Outcome::TooLong});
            rows.moveTo(line);
            measure.row(index, rows, rows);
        }
    }
}

/// Runs `work(1)` on the thread that takes every second piece while this one runs `work(0)`.
/// One such thread serves every run, one run at a time: a thread started for each run costs
/// more than a short run.
void besideOther(const std::function<void(qint64 first)> &work)
{
    static std::mutex oneRunAtATime;
    static SideThread other;
    const std::lock_guard lock(oneRunAtATime);
    other.start([&] {
        work(1);
        return qsizetype(0);
    });
    work(0);
    other.finish();
}

} // namespace

LaneResult measureInLanes(const LaneRun &run,
                          const std::function<std::unique_ptr<RowPass>()> &makeMeasure,
                          bool checkUtf8)
{
    const std::function<bool(QByteArrayView)> writesNothing;
    Shared shared(run, writesNothing);
    const std::unique_ptr<RowPass> measures[] = {makeMeasure(), makeMeasure()};
    besideOther([&](qint64 first) { measureFrom(shared, *measures[first], first, checkUtf8); });
    if (shared.result.outcome == Outcome::Done) {
        ReadRows none(run.output.input.encoding);
        RunResult unused;
        for (const std::unique_ptr<RowPass> &measure : measures)
            measure->finish(none, unused);
    }
    return shared.result;
}

LaneResult runInLanes(const LaneRun &run, const std::function<bool(QByteArrayView)> &write,
                      const std::function<void(qint64)> &progress)
{
    Shared shared(run, write);
    Lane first(shared, true, progress);
    Lane second(shared, false, progress);
    besideOther([&](qint64 k) { (k == 0 ? first : second).runFrom(k); });
    return shared.result;
}

} // namespace plintex::cli
