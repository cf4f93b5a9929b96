#pragma once

#include <QStringList>

#include <optional>

namespace plintex {

/// The caret's row and column as last tracked, both from 0.
struct CaretRecord {
    qsizetype row = 0;
    qsizetype column = 0;
};

/// The flags the work area shares with every function.
struct WorkAreaFlags {
    bool modified = false;        ///< the text differs from the last loaded or saved document
    bool processing = false;      ///< a run is rewriting the text
    bool firstChange = false;     ///< the first change notification has been seen
    bool autoRealignDone = false; ///< "Read Me" started by itself and has not finished

    /// The change handler's flag rules, run on every change of the work area's text: the first
    /// notification after start-up only sets the first-change flag; outside a run a change
    /// marks the text modified. Returns true when the counters go back to "?".
    bool noteTextChange();
};

/// The stop request: set by either stop control, cleared only when a run has been stopped. A
/// click while nothing runs therefore stops the next run.
class StopLatch {
public:
    void request() { m_set = true; }
    bool isSet() const { return m_set; }
    void clear() { m_set = false; }

private:
    bool m_set = false;
};

/// The one level of undo: the lines of the work area as a run, or Clear, found them.
class UndoSnapshot {
public:
    void take(QStringList lines) { m_lines = std::move(lines); }
    /// Nothing until a run or Clear has taken a snapshot, so that Undo never empties a text
    /// that no snapshot holds.
    const std::optional<QStringList> &lines() const { return m_lines; }

private:
    std::optional<QStringList> m_lines;
};

} // namespace plintex
