#include "ui/runprogress.h"

#include "ui/controls/piegauge.h"

#include <QCoreApplication>
#include <QProgressBar>

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

namespace {

// The panel's bar counts in steps of its own, so that any maximum fits its int range.
constexpr int kBarSteps = 1000;

} // namespace

WindowRunMonitor::WindowRunMonitor(ProcessingNotice &notice, PieGauge &gauge, const StopLatch &stop,
                                   QProgressBar *panelBar)
    : m_notice(notice), m_gauge(gauge), m_stop(stop), m_panelBar(panelBar)
{
}

WindowRunMonitor::~WindowRunMonitor()
{
    if (m_onPanel)
        m_panelBar->hide();
}

void WindowRunMonitor::begin(double maximum, Gauge gauge)
{
    m_onPanel = gauge == Gauge::Panel && m_panelBar;
    m_maximum = maximum;
    m_eachStep = gauge == Gauge::Bar;
    m_notice.show();
    if (m_onPanel) {
        m_panelBar->setRange(0, kBarSteps);
        m_panelBar->setValue(0);
        m_panelBar->show();
    } else if (gauge == Gauge::None) {
        m_gauge.hide();
    } else {
        m_gauge.setBar(gauge == Gauge::Bar);
        m_gauge.setMaximum(maximum);
        m_gauge.setPosition(0);
        m_gauge.show();
    }
    QCoreApplication::processEvents();
    m_sincePump.start();
}

void WindowRunMonitor::advance(double position)
{
    // Reading the clock costs more than a line's work for short lines: look only every 64 lines.
    // A step over a block of a file is long enough to look every time.
    if ((m_eachStep || (++m_lines & 63) == 0) && m_sincePump.hasExpired(15)) {
        if (m_onPanel)
            m_panelBar->setValue(m_maximum > 0 ? int(kBarSteps * position / m_maximum) : 0);
        else
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
