#pragma once

#include "core/outputfile.h"

#include <QByteArrayView>
#include <QString>

namespace plintex::cli {

/// Where a run's result goes: standard output, or a file written as OutputFile writes one
/// (--output, --in-place).
class Output {
public:
    /// "" is standard output. False, with error(), when the file cannot be written. A name
    /// written through is refused when it is the regular file `input` (standard input for ""
    /// or "-"): the run would read what it writes.
    bool open(const QString &path, const QString &input = {});
    bool write(QByteArrayView bytes);
    /// Makes the result final: flushes standard output, or completes the file. False, with
    /// error(), when that fails; a replaced file is then untouched.
    bool finish();
    /// Drops a result not wanted after all (a refused run): a replaced file stays as it was.
    void discard();
    QString error() const { return m_error; }

private:
    bool failed();

    OutputFile m_file;
    bool m_toFile = false;
    QString m_name = QStringLiteral("standard output");
    QString m_error;
};

/// Writes a whole text to standard output; false when it cannot (/dev/full, a closed stream).
bool printToStandardOutput(QByteArrayView bytes, QString *error);

/// Why --in-place cannot rewrite `path`, or nothing: it rewrites a regular file; a FIFO or a
/// device has no text to rewrite, and is looked at before it is opened, since opening a FIFO
/// waits for its other end.
QString inPlaceProblem(const QString &path);

/// The most of a text the whole-text functions take on: the text is held several times over
/// (bytes, decoded lines, the result, its bytes), so an eighth of the memory to be had.
qint64 wholeTextLimit();

/// "cannot write NAME: REASON"
QString cannotWrite(const QString &name, const QString &reason);

} // namespace plintex::cli
