#pragma once

#include "core/paramvalues.h"
#include "core/restraint.h"
#include "core/runmonitor.h"
#include "core/textstore.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace plintex {

/// What a run routine starts from: the work area's lines (its working copy), the panel's values,
/// the row restraint strip, the caret and the run button pressed.
struct RunInput {
    QStringList lines = {};
    ParamValues params = {};
    RowRestraint restraint = {};
    TextPosition caret = {};
    QString runButton = {};
    /// Asks a row pass to tell, in RunResult::rowOrigins, which input line each line of its
    /// result is, so that a kept row can keep its own line break.
    bool traceRows = false;
};

/// A value a run (or the caret menu) writes into a field of the window: a parameter of the
/// function's panel, or the row restraint's From or To.
struct FieldWrite {
    enum class Target { Param, RestraintFrom, RestraintTo };
    Target target = Target::Param;
    QString param = {};
    QString value = {};

    friend bool operator==(const FieldWrite &, const FieldWrite &) = default;
};

/// Where the caret goes after a run.
struct CaretPlacement {
    enum class Kind { Unchanged, Line, End, SelectAll };
    Kind kind = Kind::Unchanged;
    qsizetype line = 0; ///< Line: the line index (from 0) whose start it goes to

    static CaretPlacement atLine(qsizetype line) { return {Kind::Line, line}; }
    static CaretPlacement atEnd() { return {Kind::End, 0}; }
    static CaretPlacement selectAll() { return {Kind::SelectAll, 0}; }
};

/// Everything a run leaves for the window or the command line to apply. Both apply it from this
/// one description.
struct RunResult {
    /// Failed: a file the run streams could not be read or written, apart from a refusal of
    /// the parameters.
    enum class Outcome { Done, Refused, Stopped, Failed };

    Outcome outcome = Outcome::Done;
    QString message = {}; ///< Refused: the warning; Failed: the file and the system's reason

    /// The work area's new lines; none when the run leaves the text as it was (a refusal, a
    /// stop, a function that only reads). A stopped run that keeps what it did so far sets it too.
    std::optional<QStringList> lines = {};
    /// With `lines` of a row pass asked to trace its rows: for each line, the index of the input
    /// line it is (rewritten or not), or -1 for a line of the run's own.
    std::optional<QList<qsizetype>> rowOrigins = {};
    CaretPlacement caret = {};
    /// Fields to update, in order: the restraint strip's band as resolved, results (a total).
    QList<FieldWrite> fields = {};
    /// Texts for the status bar's count panels ("Total Chr = 5", ...), in panel order.
    QStringList statusTexts = {};
    /// Results shown outside the text, which the command line prints instead of the text (a
    /// total, the counts).
    QStringList report = {};
    /// Warnings shown after a run that still did its work.
    QStringList notices = {};
    std::optional<QString> clipboard = {}; ///< the text to leave on the clipboard
    bool beep = false;

    /// Whether the undo snapshot was replaced by the text as the run found it. Most runs take it
    /// first, so even a refusal has replaced it; a function that takes none, or takes it only
    /// after its checks, says so.
    bool undoTaken = true;
    /// Whether the function's text parameters go into their histories.
    bool saveHistories = true;

    bool done() const { return outcome == Outcome::Done; }

    static RunResult refused(QString message, bool undoTaken = true);
    static RunResult stopped();
    static RunResult failed(QString message, bool undoTaken = true);
    void writeBack(const RowRestraint &band);
};

using RunRoutine = std::function<RunResult(RunInput input, RunMonitor &monitor)>;

/// Rewrites one line in place.
using LineTransform = std::function<void(QString &line)>;
using LineTransformFactory = LineTransform (*)(const ParamValues &params);

/// Resolves the row restraint against the lines and checks the band: the result carries the
/// write-back of the band; a band that is not one is refused with the restraint warning.
struct BandCheck {
    RowRestraint band = {};
    std::optional<RunResult> refusal = {};
};
BandCheck checkBand(const RowRestraint &restraint, qsizetype lineCount);

} // namespace plintex
