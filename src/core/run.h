#pragma once

#include "core/params.h"
#include "core/restraint.h"
#include "core/runmonitor.h"
#include "core/textstore.h"

#include <QStringList>

#include <functional>

namespace plintex {

/// What a run routine starts from: the work area's lines (its working copy), the panel's values,
/// the row restraint strip, the caret and the run button pressed.
struct RunInput {
    QStringList lines;
    ParamValues params;
    RowRestraint restraint;
    TextPosition caret;
    QString runButton;
};

/// What a run routine leaves for the window (or the command line) to apply.
struct RunResult {
    enum class Outcome { Done, Refused, Stopped };

    Outcome outcome = Outcome::Done;
    QString message;         ///< the refusal's warning
    RowRestraint restraint;  ///< the strip's values to write back, also after a refusal
    QStringList lines;       ///< Done: the work area's new lines
    qsizetype caretLine = 0; ///< Done: the line the caret goes to
    QStringList notices;     ///< warnings shown after a run that still completed
    QString output;          ///< results shown outside the text

    bool done() const { return outcome == Outcome::Done; }
};

using RunRoutine = RunResult (*)(RunInput input, RunMonitor &monitor);

/// Rewrites one line in place.
using LineTransform = std::function<void(QString &line)>;
using LineTransformFactory = LineTransform (*)(const ParamValues &params);

/// The common shape of a run over the row restraint's band: resolve the band, refuse a band
/// that is not one, then transform each line of the band in turn, testing for a stop before each.
/// `transform` edits a line in place. The caret goes to the start of the band's last row.
template <typename Transform>
RunResult runOverBand(RunInput input, RunMonitor &monitor, Transform transform)
{
    RunResult result;
    result.restraint = resolveRestraint(input.restraint, input.lines.size());
    if (!isValidBand(result.restraint)) {
        result.outcome = RunResult::Outcome::Refused;
        result.message = restraintWarning();
        return result;
    }
    const qsizetype first = result.restraint.from - 1;
    const qsizetype last = result.restraint.to - 1;
    monitor.begin(double(result.restraint.to));
    for (qsizetype i = first; i <= last; ++i) {
        if (monitor.stopRequested(double(i))) {
            result.outcome = RunResult::Outcome::Stopped;
            return result;
        }
        transform(input.lines[i]);
    }
    result.lines = std::move(input.lines);
    result.caretLine = last;
    return result;
}

} // namespace plintex
