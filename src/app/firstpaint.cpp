#include "firstpaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace plintex {

FirstPaintReporter::FirstPaintReporter(QElapsedTimer sinceStart) : m_sinceStart(sinceStart) {}

bool FirstPaintReporter::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_reported && event->type() == QEvent::Paint && watched->isWidgetType()) {
        m_reported = true;
        std::fprintf(stderr, "plintex: first paint %.1f ms after start\n",
                     m_sinceStart.nsecsElapsed() / 1e6);
        // Queued: the rest of the window paints in the same pass before the program ends.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return false;
}

} // namespace plintex
