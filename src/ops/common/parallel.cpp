#include "ops/common/parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace plintex::common {

int workerCount()
{
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, 16u));
}

bool forPieces(qsizetype count, qsizetype piece, const PieceWork &work, RunMonitor &monitor,
               double gaugeAt, double gaugePerItem)
{
    std::atomic<qsizetype> next = 0;
    std::atomic<qsizetype> done = 0;
    std::atomic<bool> quit = false;
    bool stopped = false;
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto loop = [&](int worker) {
        try {
            while (!quit.load(std::memory_order_relaxed)) {
                // Only the calling thread may talk to the monitor: it pumps the window's events.
                if (worker == 0 && monitor.step(gaugeAt + gaugePerItem * double(done.load()))) {
                    stopped = true;
                    quit = true;
                    return;
                }
                const qsizetype begin = next.fetch_add(piece);
                if (begin >= count)
                    return;
                const qsizetype end = std::min(count, begin + piece);
                work(begin, end, worker);
                done += end - begin;
            }
        } catch (...) {
            const std::lock_guard lock(failureLock);
            if (!failure)
                failure = std::current_exception();
            quit = true;
        }
    };
    const qsizetype pieces = count / piece + (count % piece != 0);
    const int threads = int(std::min<qsizetype>(workerCount(), pieces));
    {
        std::vector<std::jthread> helpers;
        for (int worker = 1; worker < threads; ++worker)
            helpers.emplace_back(loop, worker);
        loop(0);
    } // the helpers join here
    if (failure)
        std::rethrow_exception(failure);
    return !stopped;
}

} // namespace plintex::common
