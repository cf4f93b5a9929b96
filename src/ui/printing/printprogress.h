#pragma once

#include "core/runmonitor.h"

#include <QElapsedTimer>
#include <QProgressDialog>

namespace plintex {

/// A printout's progress: a window-modal "Printing..." box with "Cancel", shown only when the
/// printout takes longer than a moment. Events are handled at most every ~15 ms, as in a run.
class PrintProgress final : public RunMonitor {
public:
    explicit PrintProgress(QWidget *parent);

    void begin(double maximum, Gauge gauge) override;
    void advance(double position) override;
    bool stopRequested() override;

    QProgressDialog &dialog() { return m_dialog; }

private:
    QProgressDialog m_dialog;
    double m_maximum = 0;
    QElapsedTimer m_sincePump;
    unsigned m_rows = 0;
};

} // namespace plintex
