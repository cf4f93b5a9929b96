#include "cli/linereader.h"

#include <cstring>

namespace plintex::cli {
namespace {

constexpr qsizetype kPiece = 1 << 20;

} // namespace

LineReader::LineReader(TextSource &source, qsizetype longestLine)
    : m_source(source), m_longest(longestLine)
{
}

void LineReader::setEncoding(TextEncoding encoding, bool mayHoldCr)
{
    m_encoding = encoding;
    m_mayHoldCr = mayHoldCr;
}

bool LineReader::readMore()
{
    // What is held moves to the front, so the buffer never grows past a line and a piece.
    const qsizetype kept = m_buffer.size() - m_position;
    if (m_position > 0) {
        std::memmove(m_buffer.data(), m_buffer.constData() + m_position, size_t(kept));
        m_buffer.resize(kept);
        m_position = 0;
    }
    m_buffer.resize(kept + kPiece);
    const qsizetype n = m_source.read(m_buffer.data() + kept, kPiece);
    m_buffer.resize(kept + std::max<qsizetype>(n, 0));
    if (n < 0)
        return false;
    m_read += n;
    m_atEnd = n == 0;
    // Lines are searched for a CR only once one has been read: most texts hold none.
    m_crRead = m_crRead || std::memchr(m_buffer.constData() + kept, '\r', size_t(n)) != nullptr;
    return true;
}

bool LineReader::fill(qsizetype bytes)
{
    while (!m_atEnd && held().size() < bytes) {
        if (!readMore())
            return false;
    }
    return true;
}

LineReader::Status LineReader::next(QByteArrayView &line, QByteArrayView &lineBreak)
{
    const bool utf16 = isUtf16(m_encoding);
    for (;;) {
        const QByteArrayView rest = held();
        const LineSpan span =
            utf16 ? lineAt(rest, 0, m_encoding) : lineAt(rest, 0, m_mayHoldCr && m_crRead);
        const bool broken = span.next > span.end;
        // A lone CR with no whole unit held after it may be the first half of a CR LF.
        const qsizetype unit = utf16 ? 2 : 1;
        const bool crLast = broken && span.next + unit > rest.size() &&
                            span.next - span.end == unit &&
                            rest[span.end + (m_encoding == TextEncoding::Utf16Be)] == '\r';
        if ((!broken || crLast) && !m_atEnd) {
            if (rest.size() > m_longest)
                return Status::TooLong;
            if (!readMore())
                return Status::Failed;
            continue;
        }
        if (rest.isEmpty())
            return Status::End;
        line = rest.first(span.end);
        lineBreak = rest.sliced(span.end, span.next - span.end);
        m_position += span.next;
        return Status::Line;
    }
}

} // namespace plintex::cli
