#include "ui/runprogress.h"

#include "ui/controls/piegauge.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace plintex {

ProcessingNotice::ProcessingNotice(QWidget *parent) : QLabel(u"Processing..."_s, parent)
{
    setObjectName(u"ProcessingNotice"_s);
    setAccessibleName(u"Processing..."_s);
    setStyleSheet(u"QLabel { background: #d32f2f; color: #ffeb3b; font-weight: bold;"
                  u" padding: 2px 8px; }"_s);
    hide();
}

WindowRunMonitor::WindowRunMonitor(ProcessingNotice &notice, PieGauge &gauge, const StopLatch &stop)
    : m_notice(notice), m_gauge(gauge), m_stop(stop)
{
}

void WindowRunMonitor::begin(double maximum, Gauge gauge)
{
    m_gauge.setBar(gauge == Gauge::Bar);
    m_eachStep = gauge == Gauge::Bar;
    m_notice.show();
    m_gauge.setMaximum(maximum);
    m_gauge.setPosition(0);
    m_gauge.show();
    QCoreApplication::processEvents();
    m_sincePump.start();
}

void WindowRunMonitor::advance(double position)
{
    // Reading the clock costs more than a line's work for short lines: look only every 64 lines.
    // A step over a block of a file is long enough to look every time.
    if ((m_eachStep || (++m_lines & 63) == 0) && m_sincePump.hasExpired(15)) {
        m_gauge.setPosition(position);
        QCoreApplication::processEvents();
        m_sincePump.start();
    }
}

bool WindowRunMonitor::stopRequested()
{
    return m_stop.isSet();
}

} // namespace plintex
