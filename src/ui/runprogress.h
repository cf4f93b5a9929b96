#pragma once

#include "core/runmonitor.h"
#include "core/workarea.h"

#include <QElapsedTimer>
#include <QLabel>

class QProgressBar;

namespace plintex {

class PieGauge;

/// The red "Processing..." notice shown while a run rewrites the text.
class ProcessingNotice : public QLabel {
    Q_OBJECT
public:
    explicit ProcessingNotice(QWidget *parent = nullptr);
};

/// Runs report to the window through this: the notice and the gauge are shown and painted
/// before the loop; inside it, pending events are handled at most every ~15 ms (handling them on
/// every line would dominate the run time of a large text), while the stop latch is tested on
/// every line.
class WindowRunMonitor final : public RunMonitor {
public:
    /// `panelBar`: the progress bar of the function's own panel, if it has one.
    WindowRunMonitor(ProcessingNotice &notice, PieGauge &gauge, const StopLatch &stop,
                     QProgressBar *panelBar = nullptr);
    /// Hides the panel's bar once the run is over; the window hides the notice and the gauge.
    ~WindowRunMonitor() override;

    void begin(double maximum, Gauge gauge) override;
    void advance(double position) override;
    bool stopRequested() override;

private:
    ProcessingNotice &m_notice;
    PieGauge &m_gauge;
    const StopLatch &m_stop;
    QProgressBar *m_panelBar;
    bool m_onPanel = false;
    double m_maximum = 0;
    QElapsedTimer m_sincePump;
    unsigned m_lines = 0;
    bool m_eachStep = false;
};

} // namespace plintex
