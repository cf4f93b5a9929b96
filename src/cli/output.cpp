#include "cli/output.h"

#include "cli/textsource.h"
#include "settings/document.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

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
    m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_error = cannotWrite(m_name, m_file->errorString());
        return false;
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
    if (!m_file->commit()) {
        m_error = cannotWrite(m_name, m_file->errorString());
        return false;
    }
    return true;
}

void Output::discard()
{
    if (m_file && m_file->isOpen()) {
        m_file->cancelWriting();
        m_file->commit(); // only removes the new file: the old one stays
    }
}

} // namespace plintex::cli
