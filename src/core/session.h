#pragma once

#include "core/catalogue.h"
#include "core/workarea.h"

namespace plintex {

/// The state a run shares with the work area for the life of the main window, and the steps
/// every run takes around its function's own routine.
class Session {
public:
    WorkAreaFlags flags;
    StopLatch stop;
    UndoSnapshot undo;
    CaretRecord caret;
    /// Hidden panes: a scratch pane some functions assemble their result in (also what prints),
    /// and the store the counting routine works on.
    TextStore workPane;
    TextStore countPane;

    /// Runs a function on the work area's lines: takes the undo snapshot, sets the processing
    /// flag for the routine's duration (cleared on every way out) and returns the routine's
    /// result for the window to apply.
    RunResult run(const FunctionSpec &function, const QStringList &lines, RunInput input,
                  RunMonitor &monitor);
};

} // namespace plintex
