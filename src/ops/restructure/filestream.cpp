#include "ops/restructure/filestream.h"

#include "core/outputfile.h"
#include "core/systemerror.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace plintex::restructure {
namespace {

/// A run that leaves the work area alone takes no undo snapshot, whatever its outcome.
RunResult withoutText(RunResult result)
{
    result.undoTaken = false;
    result.saveHistories = false;
    return result;
}

RunResult cannotRead(const QString &name, int error)
{
    return withoutText(RunResult::failed(u"Cannot read "_s + name + u": "_s + systemError(error)));
}

RunResult cannotWrite(const QString &name, const QString &why)
{
    return withoutText(RunResult::failed(u"Cannot write "_s + name + u": "_s + why));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

ssize_t readSome(int fd, char *into, qsizetype size)
{
    ssize_t n;
    do
        n = ::read(fd, into, size_t(size));
    while (n < 0 && errno == EINTR);
    return n;
}

} // namespace

std::optional<RunResult> checkFileNames(const QString &input, const QString &output)
{
    if (!input.isEmpty() && !output.isEmpty() && (input == output || isSameFile(input, output)))
        return withoutText(RunResult::refused(u"Input/Output file names are identical."_s));
    if (input.isEmpty() || output.isEmpty())
        return withoutText(RunResult::refused(u"Enter Input/Output file names."_s));
    return std::nullopt;
}

RunResult streamFile(const QString &input, const QString &output, RunMonitor &monitor,
                     const BlockWriter &writeBlock)
{
    // Opening a FIFO waits for a writer, which might never come: it is opened without waiting
    // (with no writer it reads as empty), then read as any file.
    const Descriptor in(
        ::open(QFile::encodeName(input).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (in.get() < 0)
        return cannotRead(input, errno);
    struct stat st;
    if (::fstat(in.get(), &st) != 0 ||
        ::fcntl(in.get(), F_SETFL, ::fcntl(in.get(), F_GETFL) & ~O_NONBLOCK) != 0)
        return cannotRead(input, errno);
    if (S_ISDIR(st.st_mode))
        return cannotRead(input, EISDIR);
    OutputFile out;
    if (!out.open(output))
        return cannotWrite(output, out.error());

    // The gauge counts bytes: a stream's size is unknown, and its gauge stays at the start.
    monitor.begin(S_ISREG(st.st_mode) ? double(st.st_size) : 0, RunMonitor::Gauge::Bar);
    QByteArray block(kFileBlockSize, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const ssize_t n = readSome(in.get(), block.data(), block.size());
        if (n < 0)
            return cannotRead(input, errno); // `out` drops what it wrote
        if (n == 0)
            break;
        if (monitor.step(double(done))) {
            if (!out.commit())
                return cannotWrite(output, out.error());
            return withoutText(RunResult::stopped());
        }
        if (!writeBlock(block.data(), qsizetype(n), out))
            return cannotWrite(output, out.error());
        done += n;
    }
    monitor.advance(double(done));
    if (!out.commit())
        return cannotWrite(output, out.error());
    return withoutText(RunResult());
}

} // namespace plintex::restructure
