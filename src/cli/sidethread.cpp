#include "cli/sidethread.h"

namespace plintex::cli {

SideThread::~SideThread()
{
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void SideThread::start(std::function<qsizetype()> job)
{
    {
        const std::lock_guard lock(m_mutex);
        m_job = std::move(job);
    }
    m_busy = true;
    if (!m_thread.joinable())
        m_thread = std::thread([this] { work(); });
    else
        m_changed.notify_all();
}

qsizetype SideThread::finish()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_job; });
    m_busy = false;
    return m_result;
}

void SideThread::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_job || m_quit; });
        if (!m_job)
            return;
        lock.unlock();
        const qsizetype result = m_job();
        lock.lock();
        m_result = result;
        m_job = nullptr;
        m_changed.notify_all();
    }
}

} // namespace plintex::cli
