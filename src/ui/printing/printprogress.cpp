#include "ui/printing/printprogress.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

// The bar counts in steps of its own, so that any number of rows fits its int range.
constexpr int kSteps = 1000;

} // namespace

PrintProgress::PrintProgress(QWidget *parent)
    : m_dialog(u"Printing..."_s, u"Cancel"_s, 0, kSteps, parent)
{
    m_dialog.setObjectName(u"PrintProgress"_s);
    m_dialog.setWindowTitle(u"Print"_s);
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setMinimumDuration(500);
    m_dialog.setAutoReset(false);
    m_dialog.setAutoClose(false);
}

void PrintProgress::begin(double maximum, Gauge)
{
    m_maximum = maximum;
    m_dialog.setValue(0);
    m_sincePump.start();
}

void PrintProgress::advance(double position)
{
    // As in a run: the clock is read only every 64 rows, events handled every ~15 ms.
    if ((++m_rows & 63) == 0 && m_sincePump.hasExpired(15)) {
        // setValue() lets the box's own events through once it is shown.
        m_dialog.setValue(m_maximum > 0 ? int(kSteps * position / m_maximum) : 0);
        QCoreApplication::processEvents();
        m_sincePump.start();
    }
}

bool PrintProgress::stopRequested()
{
    return m_dialog.wasCanceled();
}

} // namespace plintex
