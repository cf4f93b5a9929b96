#include "core/outputfile.h"

#include "core/systemerror.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

constexpr int kMostLinks = 40; // the kernel's own bound on a chain of links
constexpr qsizetype kBufferSize = 64 << 10;

std::optional<OutputTarget> failed(int error, QString *why)
{
    *why = systemError(error);
    return std::nullopt;
}

/// The text of a link; nothing (errno set) when it cannot be read.
std::optional<QByteArray> readLink(const QByteArray &path)
{
    for (qsizetype size = PATH_MAX;; size *= 2) {
        QByteArray text(size, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), text.data(), size_t(size));
        if (n < 0)
            return std::nullopt;
        if (n < size)
            return text.first(n);
    }
}

/// The folder of a name with its links followed, and the last part of the name as it stands.
std::optional<std::pair<QByteArray, QByteArray>> splitCanonical(const QByteArray &name)
{
    const qsizetype slash = name.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? "."_ba : slash == 0 ? "/"_ba : name.first(slash);
    char *real = ::realpath(folder.constData(), nullptr);
    if (!real)
        return std::nullopt;
    QByteArray canonical(real);
    std::free(real);
    if (canonical == "/")
        canonical.clear();
    return std::pair{canonical, name.mid(slash + 1)};
}

/// This process's own descriptor that a /proc name stands for, or -1.
int ownDescriptor(const QByteArray &folder, const QByteArray &leaf)
{
    if (folder != "/proc/" + QByteArray::number(::getpid()) + "/fd")
        return -1;
    bool ok = false;
    const int fd = leaf.toInt(&ok);
    return ok ? fd : -1;
}

/// A descriptor that keeps a large file's blocks in use, or -1. Freeing the blocks of a
/// replaced file of hundreds of megabytes takes a tenth of a second on a file system mounted
/// with "discard": holding the file through the rename and letting go of it on a thread of its
/// own ends a run (and shows a stop) without that wait.
int holdLargeFile(const QByteArray &path)
{
    constexpr off_t kLarge = off_t(64) << 20;
    struct stat st;
    if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < kLarge)
        return -1;
    return ::open(path.constData(), O_PATH | O_CLOEXEC);
}

} // namespace

std::optional<OutputTarget> resolveOutput(const QString &path, QString *error)
{
    if (path.isEmpty())
        return failed(ENOENT, error);
    QByteArray name = QFile::encodeName(path);
    for (int links = 0; links <= kMostLinks; ++links) {
        const auto split = splitCanonical(name);
        if (!split)
            return failed(errno, error);
        const auto &[folder, leaf] = *split;
        const QByteArray full = folder + '/' + leaf;
        // A process's open files (/dev/stdout and /dev/fd lead there): their links name no
        // file that could be replaced, so the name is written through as it stands.
        if (folder == "/proc" || folder.startsWith("/proc/"))
            return OutputTarget{OutputTarget::Kind::Descriptor, QFile::decodeName(full),
                                ownDescriptor(folder, leaf)};
        struct stat st;
        if (::lstat(full.constData(), &st) != 0) {
            if (errno == ENOENT && !leaf.isEmpty())
                return OutputTarget{OutputTarget::Kind::NewFile, QFile::decodeName(full)};
            return failed(errno, error);
        }
        if (S_ISLNK(st.st_mode)) {
            const std::optional<QByteArray> to = readLink(full);
            if (!to)
                return failed(errno, error);
            name = to->startsWith('/') ? *to : folder + '/' + *to;
            continue;
        }
        if (S_ISREG(st.st_mode))
            return OutputTarget{OutputTarget::Kind::RegularFile, QFile::decodeName(full)};
        if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))
            return OutputTarget{OutputTarget::Kind::Stream, QFile::decodeName(full)};
        if (S_ISDIR(st.st_mode))
            return failed(EISDIR, error);
        *error = u"it is neither a file, a FIFO nor a character device"_s;
        return std::nullopt;
    }
    return failed(ELOOP, error);
}

bool isSameFile(const QString &a, const QString &b)
{
    struct stat sa;
    struct stat sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

OutputFile::~OutputFile()
{
    discard();
}

bool OutputFile::fail(int error)
{
    m_error = systemError(error);
    discard();
    return false;
}

bool OutputFile::open(const QString &path)
{
    discard();
    m_error.clear();
    const std::optional<OutputTarget> target = resolveOutput(path, &m_error);
    if (!target)
        return false;
    m_target = *target;
    const QByteArray name = QFile::encodeName(m_target.path);
    switch (m_target.kind) {
    case OutputTarget::Kind::NewFile:
        return openTemporary(name, false);
    case OutputTarget::Kind::RegularFile:
        // Root may write anything: the mode says what the owner meant.
        if (struct stat st; ::stat(name.constData(), &st) == 0 &&
                            ((st.st_mode & 0222) == 0 || ::access(name.constData(), W_OK) != 0)) {
            m_error = u"it is read-only"_s;
            return false;
        }
        return openTemporary(name, true);
    case OutputTarget::Kind::Descriptor:
        if (m_target.descriptor >= 0) {
            // Shares the descriptor's position, as the shell's own /dev/stdout does.
            m_fd = ::fcntl(m_target.descriptor, F_DUPFD_CLOEXEC, 3);
            return m_fd >= 0 || fail(errno);
        }
        [[fallthrough]];
    case OutputTarget::Kind::Stream:
        m_fd = ::open(name.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
        return m_fd >= 0 || fail(errno);
    }
    return false;
}

bool OutputFile::openTemporary(QByteArrayView target, bool existing)
{
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray stem = target.toByteArray();
    // A name near the longest a folder takes would be too long with the suffix.
    if (target.size() - slash - 1 + 7 > NAME_MAX)
        stem = target.first(slash + 1).toByteArray() + "plintex";
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        static constexpr char kLetters[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        m_temporary = stem + '.';
        for (int i = 0; i < 6; ++i)
            m_temporary += kLetters[QRandomGenerator::global()->bounded(62)];
        // 0666 less the umask, as any new file gets; an existing file's mode comes below.
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST) {
            m_temporary.clear();
            return fail(errno);
        }
    }
    if (m_fd < 0) {
        m_temporary.clear();
        return fail(EEXIST);
    }
    struct stat st;
    if (existing && ::stat(target.toByteArray().constData(), &st) == 0) {
        // The owner first: a change of owner clears the set-user-ID bits that the mode sets.
        if (::fchown(m_fd, st.st_uid, st.st_gid) != 0) {
            [[maybe_unused]] const int group = ::fchown(m_fd, uid_t(-1), st.st_gid);
        }
        ::fchmod(m_fd, st.st_mode & 07777);
    }
    return true;
}

int writeFully(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t n = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        bytes = bytes.sliced(n);
    }
    return 0;
}

bool OutputFile::writeOut(QByteArrayView bytes)
{
    const int error = writeFully(m_fd, bytes);
    return error == 0 || fail(error);
}

bool OutputFile::write(QByteArrayView bytes)
{
    if (m_fd < 0)
        return false;
    // Small pieces are gathered; a large one goes out as it is.
    if (m_buffer.size() + bytes.size() <= kBufferSize) {
        m_buffer.append(bytes);
        return true;
    }
    const bool flushed = writeOut(m_buffer);
    m_buffer.clear();
    return flushed && writeOut(bytes);
}

bool OutputFile::commit()
{
    if (m_fd < 0)
        return false;
    const bool flushed = writeOut(m_buffer);
    m_buffer.clear();
    if (!flushed)
        return false;
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 && errno != EINTR)
        return fail(errno);
    if (m_temporary.isEmpty())
        return true;
    const QByteArray target = QFile::encodeName(m_target.path);
    const int replaced = holdLargeFile(target);
    // The rename makes the result appear whole or not at all. No fsync, like sed -i: file
    // systems such as ext4 write a file's data before a rename that replaces another.
    const bool renamed = ::rename(m_temporary.constData(), target.constData()) == 0;
    const int error = errno;
    if (replaced >= 0)
        std::thread([replaced] { ::close(replaced); }).detach();
    if (!renamed)
        return fail(error);
    m_temporary.clear();
    return true;
}

void OutputFile::discard()
{
    m_buffer.clear();
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}

} // namespace plintex
