#pragma once

#include "cli/passrows.h"
#include "cli/textsource.h"
#include "core/rowpass.h"

#include <functional>
#include <optional>

namespace plintex::cli {

/// A file's rows run through a pass whose rows stand apart (PassPlan::rowsApart) on two threads
/// side by side. The file is cut into pieces of `piece` bytes, each taking the rows that start
/// in it; the threads take turns, each reading its own pieces, rewriting their rows and writing
/// them when the piece before has been written, so that the bytes of a piece stay with the
/// processor that made them.
struct LaneRun {
    const TextSource &source;
    qint64 begin; ///< where the first row starts, past a byte-order mark
    OutputFormat output;
    bool mayHoldCr;
    qsizetype piece;
    qsizetype longestLine;
    RowPass *pass = nullptr; ///< shared by both threads; none for a measure
    bool rewritesText = true;
    AsciiBlockSearch keepsRowsWithout = {};
    /// Whether the pass reads each row's index in the text (PassPlan::rowsByIndex): each piece's
    /// rows are then counted, in turn, before they are worked.
    bool readsIndex = false;
    /// For a text read on the guess that it is UTF-8: reads the whole text, once, when a row
    /// beyond ASCII is first read as characters, and says whether it is UTF-8 (nothing when it
    /// cannot be read). Unset when the encoding is known.
    std::function<std::optional<bool>()> surveyUtf8 = {};
};

struct LaneResult {
    enum class Outcome { Done, TooLong, ReadFailed, WriteFailed, NotUtf8 };
    Outcome outcome = Outcome::Done;
    QString why = {}; ///< of a read that failed
};

/// Runs the rows from `run.begin` to the end, writing them in order through `write`; `progress`
/// hears, from the calling thread only, how far the rows written reach.
LaneResult runInLanes(const LaneRun &run, const std::function<bool(QByteArrayView)> &write,
                      const std::function<void(qint64)> &progress);

/// Runs a measure whose rows stand apart (PassPlan::measureApart) over the rows from
/// `run.begin` the same way, each thread with a measure of its own made by `makeMeasure`; their
/// finish folds what each measured in once both are done. NotUtf8 (nothing folded) when
/// `checkUtf8` and a row is not UTF-8.
LaneResult measureInLanes(const LaneRun &run,
                          const std::function<std::unique_ptr<RowPass>()> &makeMeasure,
                          bool checkUtf8);

} // namespace plintex::cli
