#include "cli/progressline.h"

#include <QByteArray>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace plintex::cli {

ProgressLine::ProgressLine(qint64 total) : m_total(total), m_enabled(::isatty(2) == 1)
{
    m_clock.start();
}

ProgressLine::~ProgressLine()
{
    if (m_shown)
        std::fputs("\r\033[K", stderr); // the line goes again, leaving the terminal as it was
}

void ProgressLine::update(qint64 done)
{
    const qint64 now = m_clock.elapsed();
    if (!m_enabled || now < 1000 || now - m_lastShown < 200)
        return;
    m_lastShown = now;
    m_shown = true;
    const QByteArray megabytes = QByteArray::number(done >> 20);
    if (m_total > 0)
        std::fprintf(stderr, "\rplintex-cli: %d%% (%s of %lld MiB)", int(done * 100 / m_total),
                     megabytes.constData(), static_cast<long long>(m_total >> 20));
    else
        std::fprintf(stderr, "\rplintex-cli: %s MiB read", megabytes.constData());
    std::fflush(stderr);
}

namespace {

volatile std::sig_atomic_t g_stop = 0;

extern "C" void requestStop(int signal)
{
    g_stop = 1;
    std::signal(signal, SIG_DFL);
}

} // namespace

ProgressMonitor::ProgressMonitor()
{
    g_stop = 0;
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
}

ProgressMonitor::~ProgressMonitor()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

bool ProgressMonitor::stopRequested()
{
    return g_stop != 0;
}

void ProgressMonitor::begin(double maximum, Gauge)
{
    m_line = std::make_unique<ProgressLine>(maximum > 0 ? qint64(maximum) : -1);
}

void ProgressMonitor::advance(double position)
{
    if (m_line)
        m_line->update(qint64(position));
}

} // namespace plintex::cli
