#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace plintex::cli {

/// Where a run's text comes from, read a piece at a time.
class TextSource {
public:
    virtual ~TextSource() = default;
    /// Reads up to `size` bytes: how many were read, 0 at the end, -1 on an error.
    virtual qsizetype read(char *data, qsizetype size) = 0;
    /// To a byte of a source that can be read more than once (a regular file); false for a
    /// stream.
    virtual bool seek(qint64 offset) = 0;
    bool rewind() { return seek(0); }
    /// The size a regular file had when it was opened, -1 for a stream.
    virtual qint64 size() const = 0;
    /// What went wrong, naming the source.
    virtual QString error() const = 0;
    /// Whether reading a piece costs enough (copying out of a file's pages) to be done on
    /// another thread while the last one is used; it must be a source that can be read again.
    virtual bool worthReadingAhead() const { return false; }
    /// Reads up to `size` bytes from `offset` of a source that can be read again, leaving its
    /// position as it was: safe on several threads at once, and beside one thread's read().
    /// How many were read (fewer only at the end), or -1 with `error` set.
    virtual qsizetype readAt(qint64 offset, char *data, qsizetype size, QString *error) const;
};

/// A regular file, a pipe, a device or standard input, read through its file descriptor. A
/// regular file that changes size while it is read gives an error, never a short text.
class FileSource final : public TextSource {
public:
    ~FileSource() override;
    /// "" or "-" is standard input. False, with error(), when it cannot be opened.
    bool open(const QString &path);
    qsizetype read(char *data, qsizetype size) override;
    bool seek(qint64 offset) override;
    qint64 size() const override { return m_size; }
    QString error() const override { return m_error; }
    bool worthReadingAhead() const override { return m_size >= 0; }
    qsizetype readAt(qint64 offset, char *data, qsizetype size, QString *error) const override;
    QString name() const { return m_name; }
    bool isStandardInput() const { return m_fd == 0; }

private:
    bool fail(const QString &reason);

    int m_fd = -1;
    QString m_name;
    qint64 m_size = -1;
    qint64 m_position = 0;
    QString m_error;
};

/// Bytes already in memory, as a stream or as a file that can be read again.
class MemorySource final : public TextSource {
public:
    explicit MemorySource(QByteArray bytes, bool rewindable = true, qsizetype pieceSize = 1 << 20)
        : m_bytes(std::move(bytes)), m_rewindable(rewindable), m_pieceSize(pieceSize)
    {
    }
    qsizetype read(char *data, qsizetype size) override;
    bool seek(qint64 offset) override;
    qint64 size() const override { return m_rewindable ? m_bytes.size() : -1; }
    QString error() const override { return {}; }
    qsizetype readAt(qint64 offset, char *data, qsizetype size, QString *error) const override;

private:
    QByteArray m_bytes;
    bool m_rewindable;
    qsizetype m_pieceSize;
    qsizetype m_position = 0;
};

/// Reads the whole source into memory, refusing (nothing, with `error`) a text larger than
/// `limit` bytes rather than running out of memory.
std::optional<QByteArray> readWhole(TextSource &source, qint64 limit, QString *error);

/// Marks standard input, output or error that the program was started without as closed, so
/// that no file opened later takes their place; call first thing.
void guardStandardStreams();
bool standardInputClosed();
bool standardOutputClosed();

} // namespace plintex::cli
