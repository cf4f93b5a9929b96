#include "core/memorybudget.h"

#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace plintex {

qint64 availableMemory()
{
    qint64 available = qint64(::sysconf(_SC_AVPHYS_PAGES)) * ::sysconf(_SC_PAGESIZE);
    // Free pages alone leave out the page cache, which the system gives up on demand.
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (meminfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : meminfo.readAll().split('\n')) {
            if (line.startsWith("MemAvailable:"))
                available = line.mid(13).trimmed().split(' ').front().toLongLong() * 1024;
        }
    }
    for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        struct rlimit limit;
        if (::getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
            available = std::min(available, qint64(limit.rlim_cur));
    }
    return std::max<qint64>(available, 0);
}

} // namespace plintex
