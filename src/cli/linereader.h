#pragma once

#include "cli/textsource.h"
#include "settings/textfile.h"

namespace plintex::cli {

/// Hands out a source's lines one at a time, holding only a bounded window of it.
class LineReader {
public:
    enum class Status { Line, End, TooLong, Failed };

    LineReader(TextSource &source, qsizetype longestLine);
    void setEncoding(TextEncoding encoding, bool mayHoldCr);

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

    TextSource &m_source;
    qsizetype m_longest;
    TextEncoding m_encoding = TextEncoding::Utf8;
    bool m_mayHoldCr = true;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    bool m_atEnd = false;
    bool m_crRead = false;
    qint64 m_read = 0;
};

} // namespace plintex::cli
