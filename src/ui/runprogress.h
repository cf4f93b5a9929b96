#pragma once

#include "core/runmonitor.h"
#include "core/workarea.h"

#include <QElapsedTimer>
#include <QLabel>

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
    WindowRunMonitor(ProcessingNotice &notice, PieGauge &gauge, const StopLatch &stop);

    void begin(double maximum, Gauge gauge) override;
    void advance(double position) override;
    bool stopRequested() override;

private:
    ProcessingNotice &m_notice;
    PieGauge &m_gauge;
    const StopLatch &m_stop;
    QElapsedTimer m_sincePump;
    unsigned m_lines = 0;
    bool m_eachStep = false;
};

} // namespace plintex
