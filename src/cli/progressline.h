#pragma once

#include "core/runmonitor.h"

#include <QElapsedTimer>

#include <memory>

namespace plintex::cli {

/// A progress line on standard error for runs longer than about a second, only when standard
/// error is a terminal: a script's error output stays free of it.
class ProgressLine {
public:
    /// `total`: the bytes the run reads, or -1 when unknown (a stream).
    explicit ProgressLine(qint64 total);
    ~ProgressLine();
    void update(qint64 done);

private:
    qint64 m_total;
    bool m_enabled;
    bool m_shown = false;
    qint64 m_lastShown = 0;
    QElapsedTimer m_clock;
};

/// A run's progress on the progress line: its gauge's maximum and position taken as bytes, as
/// the functions that stream a file count them. While it lives, an interrupt (Ctrl+C) or a
/// termination signal is the window's Stop: the run ends as a stop does, its output complete
/// up to there; a second one ends the program at once.
class ProgressMonitor final : public RunMonitor {
public:
    ProgressMonitor();
    ~ProgressMonitor() override;
    void begin(double maximum, Gauge) override;
    void advance(double position) override;
    bool stopRequested() override;

private:
    std::unique_ptr<ProgressLine> m_line;
};

} // namespace plintex::cli
