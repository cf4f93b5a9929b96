#pragma once

#include "cli/sidethread.h"
#include "cli/textsource.h"
#include "settings/textfile.h"

#include <memory>

namespace plintex::cli {

/// Hands out a source's lines one at a time, holding only a bounded window of it.
class LineReader {
public:
    enum class Status { Line, End, TooLong, Failed };

    LineReader(TextSource &source, qsizetype longestLine);
    void setEncoding(TextEncoding encoding, bool mayHoldCr);
    /// From now on each piece of a regular file is read while the one before is used. Nothing
    /// else may use the source until pause() or the reader's end.
    void readAhead();
    /// Gives up the piece being read ahead, leaving the source where the held bytes end, for
    /// another to use it; reading ahead starts again with the next piece.
    void pause();

    /// Takes `bytes` as the rest of the text, in place of what the source would give, without
    /// copying them; hands back the buffer it held, for the caller to fill again. Whatever was
    /// held must have been handed out.
    QByteArray holdAll(QByteArray bytes);

    /// Reads until at least `bytes` are held or the source ends; false on a read error.
    bool fill(qsizetype bytes);
    /// What is held and not yet handed out.
    QByteArrayView held() const { return QByteArrayView(m_buffer).sliced(m_position); }
    bool atEnd() const { return m_atEnd; }
    void skip(qsizetype bytes) { m_position += bytes; }
    qint64 bytesRead() const { return m_read; }
    /// Whether a CR may end a line: not while none has been read, or the text is known to hold
    /// none.
    bool mayBreakAtCr() const { return m_mayHoldCr && m_crRead; }

    /// The next line and the break after it (empty after a last line without one). TooLong:
    /// a line longer than `longestLine`; Failed: a read error (the source says which).
    Status next(QByteArrayView &line, QByteArrayView &lineBreak);

private:
    bool readMore();
    /// Takes `n` more bytes that came after what is held.
    void took(qsizetype from, qsizetype n);
    void startAhead();

    TextSource &m_source;
    qsizetype m_longest;
    TextEncoding m_encoding = TextEncoding::Utf8;
    bool m_mayHoldCr = true;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    bool m_atEnd = false;
    bool m_crRead = false;
    qint64 m_read = 0;
    qsizetype m_pieceSize = 0; ///< of the last piece read without reading ahead
    QByteArray m_spare; ///< the piece being read ahead, after room for a line begun before it
    std::unique_ptr<SideThread> m_ahead; ///< after the spare: ends its read before that goes
};

} // namespace plintex::cli
