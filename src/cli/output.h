#pragma once

#include <QByteArrayView>
#include <QString>
#include <QTemporaryFile>

#include <memory>

namespace plintex::cli {

/// Where a run's result goes: standard output, or a file that is replaced only once the
/// result is completely written (--output, --in-place).
class Output {
public:
    /// "" is standard output. False, with error(), when the file cannot be written.
    bool open(const QString &path);
    bool write(QByteArrayView bytes);
    /// Makes the result final: flushes standard output, or replaces the file. False, with
    /// error(), when that fails; the file is then untouched.
    bool finish();
    /// Drops a result not wanted after all (a refused run): the file stays as it was.
    void discard();
    QString error() const { return m_error; }

private:
    std::unique_ptr<QTemporaryFile> m_file; ///< the new file, beside the one it replaces
    QString m_target;
    QString m_name = QStringLiteral("standard output");
    QString m_error;
};

/// Writes a whole text to standard output; false when it cannot (/dev/full, a closed stream).
bool printToStandardOutput(QByteArrayView bytes, QString *error);

} // namespace plintex::cli
