#pragma once

#include "core/outputfile.h"

#include <QIODevice>

namespace plintex {

/// A write-only device over an OutputFile, so that a writer that takes a QIODevice (a PDF
/// writer) never leaves a half-written file behind: the file takes its place only on commit().
class OutputFileDevice : public QIODevice {
    Q_OBJECT
public:
    /// Opens the device on `path`; false, with error(), when that name cannot be written.
    bool openFile(const QString &path);
    /// Puts the file in place; false, with error(), when a write or that step failed.
    bool commit();
    void discard();
    QString error() const { return m_file.error(); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    OutputFile m_file;
    bool m_failed = false; ///< a write failed: the file must not take its place
};

} // namespace plintex
