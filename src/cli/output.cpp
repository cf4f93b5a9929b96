#include "cli/output.h"

#include "cli/textsource.h"
#include "core/memorybudget.h"
#include "core/systemerror.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace plintex::cli {
namespace {

// A piece this large goes to the descriptor as it is: through stdio's buffer it would be two
// writes, one to fill the buffer and one for the rest.
constexpr qsizetype kDirectWrite = 64 << 10;

bool flushStdout(QString *error)
{
    if (std::fflush(stdout) != 0) {
        *error = cannotWrite(u"standard output"_s, systemError(errno));
        return false;
    }
    return true;
}

bool writeStdout(QByteArrayView bytes, QString *error)
{
    if (standardOutputClosed()) {
        *error = cannotWrite(u"standard output"_s, u"it is closed"_s);
        return false;
    }
    if (bytes.isEmpty()) // fwrite may not be given the null data of an empty piece
        return true;
    if (bytes.size() < kDirectWrite) {
        if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()))
            return true;
        *error = cannotWrite(u"standard output"_s, systemError(errno));
        return false;
    }
    // What stdio holds goes first.
    if (!flushStdout(error))
        return false;
    if (const int failure = writeFully(STDOUT_FILENO, bytes); failure != 0) {
        *error = cannotWrite(u"standard output"_s, systemError(failure));
        return false;
    }
    return true;
}

} // namespace

QString cannotWrite(const QString &name, const QString &reason)
{
    return u"cannot write "_s + name + u": "_s + reason;
}

bool printToStandardOutput(QByteArrayView bytes, QString *error)
{
    return writeStdout(bytes, error) && flushStdout(error);
}

bool Output::failed()
{
    m_error = cannotWrite(m_name, m_file.error());
    return false;
}

bool Output::open(const QString &path, const QString &input)
{
    m_file.discard();
    m_toFile = !path.isEmpty();
    m_name = m_toFile ? path : u"standard output"_s;
    if (!m_toFile)
        return true;
    if (!m_file.open(path))
        return failed();
    const OutputTarget &target = m_file.target();
    if (target.descriptor == 1 && standardOutputClosed()) {
        m_file.discard();
        m_error = cannotWrite(m_name, u"it is closed"_s);
        return false;
    }
    const QString inputName = input.isEmpty() || input == u"-"_s ? u"/dev/stdin"_s : input;
    if (m_file.writesThrough() && QFileInfo(target.path).isFile() &&
        isSameFile(inputName, target.path)) {
        m_file.discard();
        m_error = cannotWrite(m_name, u"it is the input file"_s);
        return false;
    }
    return true;
}

bool Output::write(QByteArrayView bytes)
{
    if (!m_toFile)
        return writeStdout(bytes, &m_error);
    return m_file.write(bytes) || failed();
}

bool Output::finish()
{
    if (!m_toFile)
        return flushStdout(&m_error);
    return m_file.commit() || failed();
}

void Output::discard()
{
    if (m_toFile)
        m_file.discard();
}

QString inPlaceProblem(const QString &path)
{
    QString why;
    const std::optional<OutputTarget> target = resolveOutput(path, &why);
    if (!target)
        return cannotWrite(path, why);
    if (target->kind != OutputTarget::Kind::RegularFile &&
        target->kind != OutputTarget::Kind::NewFile)
        return cannotWrite(path, u"it is not a regular file"_s);
    return {};
}

qint64 wholeTextLimit()
{
    return std::max<qint64>(availableMemory() / 8, 1 << 20);
}

} // namespace plintex::cli
