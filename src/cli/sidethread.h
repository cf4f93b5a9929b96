#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace plintex::cli {

/// Runs one job at a time on a thread of its own while the caller goes on: the next piece of
/// a file read while the rows of the last one are worked on, so that copying out of the file's
/// pages costs the run no time of its own. (Writing so cost more than it saved: the pieces
/// written were made on the other processor.)
class SideThread {
public:
    SideThread() = default;
    ~SideThread(); ///< after the job under way, if one is
    SideThread(const SideThread &) = delete;
    SideThread &operator=(const SideThread &) = delete;

    void start(std::function<qsizetype()> job);
    /// Waits for the job started last: what it returned.
    qsizetype finish();
    bool busy() const { return m_busy; }

private:
    void work();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<qsizetype()> m_job;
    qsizetype m_result = 0;
    bool m_quit = false;
    bool m_busy = false; // only the caller's thread reads or writes it
    std::thread m_thread;
};

} // namespace plintex::cli
