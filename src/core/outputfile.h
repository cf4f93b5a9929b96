#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace plintex {

/// What a name to be written leads to once every symbolic link on the way is followed.
struct OutputTarget {
    enum class Kind {
        NewFile,     ///< nothing there yet: it is made
        RegularFile, ///< replaced whole by a new file
        Stream,      ///< a FIFO or a character device: written through, nothing can replace it
        Descriptor,  ///< a file a process holds open (/dev/stdout leads there): written through
    };
    Kind kind = Kind::NewFile;
    QString path;        ///< the name at the end of the links, absolute
    int descriptor = -1; ///< Descriptor: the number of this process's own open file, if it is one
};

/// Follows the links of `path`, its folders' too, to the file they lead to. Nothing, with the
/// system's reason in `error`, when they loop or lead where no text can be written: a folder,
/// a missing folder, a block device, a socket.
std::optional<OutputTarget> resolveOutput(const QString &path, QString *error);

/// Writes all of `bytes` to the open file `fd`, however many writes that takes: 0, or the
/// system's error number.
int writeFully(int fd, QByteArrayView bytes);

/// Whether two names lead to one file (one device and inode), however they are written; false
/// when either cannot be looked at.
bool isSameFile(const QString &a, const QString &b);

/// A file being written so that nothing is ever half-written: a regular file (or a new one) is
/// written into a temporary file beside it, which takes its place, mode and owner only on
/// commit(). A FIFO, a character device or an open descriptor is written through as it stands,
/// as a shell redirection does, since nothing could take its place. A read-only file is
/// refused: renaming over it would replace what its owner protected.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    /// False, with error(), when the name cannot be written.
    bool open(const QString &path);
    bool write(QByteArrayView bytes);
    /// Makes the result final. False, with error(), when that fails; a replaced file is then
    /// as it was.
    bool commit();
    /// Drops the result: a replaced file stays as it was (what went through a stream is out).
    void discard();

    const OutputTarget &target() const { return m_target; }
    bool writesThrough() const
    {
        return m_target.kind == OutputTarget::Kind::Stream ||
               m_target.kind == OutputTarget::Kind::Descriptor;
    }
    /// Why the last step failed, in the system's words ("No space left on device").
    QString error() const { return m_error; }

private:
    bool openTemporary(QByteArrayView target, bool existing);
    bool writeOut(QByteArrayView bytes);
    bool fail(int error);

    OutputTarget m_target;
    int m_fd = -1;
    QByteArray m_temporary; ///< the new file beside the target; empty when writing through
    QByteArray m_buffer;
    QString m_error;
};

} // namespace plintex
