#include "cli/textsource.h"

#include "core/systemerror.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace plintex::cli {
namespace {

bool g_stdinClosed = false;
bool g_stdoutClosed = false;

} // namespace

void guardStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1)
            continue;
        if (fd == 0)
            g_stdinClosed = true;
        if (fd == 1)
            g_stdoutClosed = true;
        // /dev/null takes the number, so that an input or output file opened later cannot.
        ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    }
}

bool standardInputClosed()
{
    return g_stdinClosed;
}

bool standardOutputClosed()
{
    return g_stdoutClosed;
}

FileSource::~FileSource()
{
    if (m_fd > 0)
        ::close(m_fd);
}

bool FileSource::fail(const QString &reason)
{
    m_error = u"cannot read "_s + m_name + u": "_s + reason;
    return false;
}

bool FileSource::open(const QString &path)
{
    const bool fromStdin = path.isEmpty() || path == u"-"_s;
    m_name = fromStdin ? u"standard input"_s : path;
    if (fromStdin) {
        if (standardInputClosed())
            return fail(u"it is closed"_s);
        m_fd = 0;
    } else {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            return fail(systemError(errno));
    }
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        return fail(systemError(errno));
    if (S_ISDIR(st.st_mode))
        return fail(systemError(EISDIR));
    // Only a regular file has a size to hold to and can be read twice; a device such as
    // /dev/zero is a stream, however it seeks.
    m_size = S_ISREG(st.st_mode) ? st.st_size : -1;
    if (m_size >= 0 && ::lseek(m_fd, 0, SEEK_CUR) != 0)
        m_size = -1; // standard input already partly read by someone: take it as a stream
    return true;
}

qsizetype FileSource::read(char *data, qsizetype size)
{
    if (!m_error.isEmpty())
        return -1;
    for (;;) {
        const ssize_t n = ::read(m_fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            fail(systemError(errno));
            return -1;
        }
        m_position += n;
        if (m_size >= 0 && (m_position > m_size || (n == 0 && m_position != m_size))) {
            m_error = m_name + u" changed size while it was read"_s;
            return -1;
        }
        return n;
    }
}

qsizetype TextSource::readAt(qint64, char *, qsizetype, QString *error) const
{
    *error = u"a stream cannot be read in pieces"_s;
    return -1;
}

qsizetype FileSource::readAt(qint64 offset, char *data, qsizetype size, QString *error) const
{
    if (m_size < 0 || offset < 0) {
        *error = u"cannot read "_s + m_name + u": it cannot be read in pieces"_s;
        return -1;
    }
    // Only what the file held when it was opened is read; less than that is a file that shrank.
    const qsizetype want = qsizetype(std::clamp<qint64>(m_size - offset, 0, size));
    qsizetype got = 0;
    while (got < want) {
        const ssize_t n = ::pread(m_fd, data + got, size_t(want - got), offset + got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *error = u"cannot read "_s + m_name + u": "_s + systemError(errno);
            return -1;
        }
        if (n == 0)
            break;
        got += n;
    }
    if (got < want) {
        *error = m_name + u" changed size while it was read"_s;
        return -1;
    }
    return got;
}

bool FileSource::seek(qint64 offset)
{
    if (m_size < 0 || offset > m_size || ::lseek(m_fd, offset, SEEK_SET) != offset)
        return false;
    m_position = offset;
    return true;
}

qsizetype MemorySource::read(char *data, qsizetype size)
{
    const qsizetype n = std::min({size, m_pieceSize, m_bytes.size() - m_position});
    std::memcpy(data, m_bytes.constData() + m_position, size_t(n));
    m_position += n;
    return n;
}

qsizetype MemorySource::readAt(qint64 offset, char *data, qsizetype size, QString *error) const
{
    if (!m_rewindable || offset < 0) {
        *error = u"a stream cannot be read in pieces"_s;
        return -1;
    }
    const qsizetype n = qsizetype(std::clamp<qint64>(m_bytes.size() - offset, 0, size));
    if (n > 0)
        std::memcpy(data, m_bytes.constData() + offset, size_t(n));
    return n;
}

bool MemorySource::seek(qint64 offset)
{
    if (!m_rewindable || offset > m_bytes.size())
        return false;
    m_position = offset;
    return true;
}

std::optional<QByteArray> readWhole(TextSource &source, qint64 limit, QString *error)
{
    constexpr qsizetype kPiece = 1 << 20;
    QByteArray bytes;
    // Room for the last piece's read too, which would otherwise grow (and copy) the whole text.
    if (source.size() >= 0 && source.size() <= limit)
        bytes.reserve(source.size() + kPiece);
    for (;;) {
        const qsizetype at = bytes.size();
        bytes.resize(at + kPiece);
        const qsizetype n = source.read(bytes.data() + at, kPiece);
        if (n < 0) {
            *error = source.error();
            return std::nullopt;
        }
        bytes.resize(at + n);
        if (bytes.size() > limit) {
            *error = u"the text is too large to be held in memory (more than "_s +
                     QString::number(limit >> 20) + u" MiB)"_s;
            return std::nullopt;
        }
        if (n == 0)
            return bytes;
    }
}

} // namespace plintex::cli
