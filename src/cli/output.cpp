#include "cli/output.h"

#include "cli/textsource.h"
#include "settings/document.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace plintex::cli {
namespace {

QString cannotWrite(const QString &name, const QString &reason)
{
    return u"cannot write "_s + name + u": "_s + reason;
}

bool writeStdout(QByteArrayView bytes, QString *error)
{
    if (standardOutputClosed()) {
        *error = cannotWrite(u"standard output"_s, u"it is closed"_s);
        return false;
    }
    if (bytes.isEmpty()) // fwrite may not be given the null data of an empty piece
        return true;
    if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())) {
        *error = cannotWrite(u"standard output"_s, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

bool flushStdout(QString *error)
{
    if (std::fflush(stdout) != 0) {
        *error = cannotWrite(u"standard output"_s, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

} // namespace

bool printToStandardOutput(QByteArrayView bytes, QString *error)
{
    return writeStdout(bytes, error) && flushStdout(error);
}

bool Output::open(const QString &path)
{
    if (path.isEmpty())
        return true;
    m_name = path;
    // Like a document's save, a link is written through: its target is replaced.
    const QFileInfo info(path);
    m_target = info.isSymLink() ? info.symLinkTarget() : path;
    m_file = std::make_unique<QTemporaryFile>(m_target + u".XXXXXX"_s);
    if (!m_file->open()) {
        m_error = cannotWrite(m_name, m_file->errorString());
        return false;
    }
    // The new file takes the old one's mode and owner; a new one gets what the umask allows.
    struct stat st;
    const int fd = int(m_file->handle());
    if (::stat(QFile::encodeName(m_target).constData(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
        [[maybe_unused]] const int owned = ::fchown(fd, st.st_uid, st.st_gid);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    return true;
}

bool Output::write(QByteArrayView bytes)
{
    if (!m_file)
        return writeStdout(bytes, &m_error);
    errno = 0;
    if (m_file->write(bytes.data(), bytes.size()) != bytes.size()) {
        // The write's own reason ("No space left on device"): Qt takes a short write for none.
        m_error = cannotWrite(m_name, systemErrorOr(errno, m_file->errorString()));
        discard();
        return false;
    }
    return true;
}

bool Output::finish()
{
    if (!m_file)
        return flushStdout(&m_error);
    if (!m_error.isEmpty())
        return false;
    errno = 0;
    if (!m_file->flush()) {
        m_error = cannotWrite(m_name, systemErrorOr(errno, m_file->errorString()));
        discard();
        return false;
    }
    // The rename makes the result appear whole or not at all. No fsync: like sed -i, and
    // file systems such as ext4 write a file's data before a rename that replaces another.
    if (::rename(QFile::encodeName(m_file->fileName()).constData(),
                 QFile::encodeName(m_target).constData()) != 0) {
        m_error = cannotWrite(m_name, QString::fromLocal8Bit(std::strerror(errno)));
        discard();
        return false;
    }
    m_file->setAutoRemove(false);
    m_file.reset();
    return true;
}

void Output::discard()
{
    m_file.reset(); // removes the new file: the old one stays
}

} // namespace plintex::cli
