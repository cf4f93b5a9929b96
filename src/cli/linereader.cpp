#include "cli/linereader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace plintex::cli {
namespace {

// Pieces grow from the first to the largest: a reader that wants only a few lines touches
// few fresh pages, each of which costs a fault.
constexpr qsizetype kFirstPiece = 64 << 10;
constexpr qsizetype kPiece = 1 << 20;
// Pieces read ahead are smaller, to be read again while still in the processor's cache; each
// lands after room for the start of a line begun in the piece before, so that the two join
// without copying the piece.
constexpr qsizetype kAheadPiece = 256 << 10;
constexpr qsizetype kRoom = 64 << 10;

} // namespace

LineReader::LineReader(TextSource &source, qsizetype longestLine)
    : m_source(source), m_longest(longestLine)
{
}

void LineReader::readAhead()
{
    if (m_source.worthReadingAhead() && !m_ahead)
        m_ahead = std::make_unique<SideThread>();
}

void LineReader::pause()
{
    if (m_ahead && m_ahead->busy() && m_ahead->finish() >= 0)
        m_source.seek(m_read);
}

void LineReader::startAhead()
{
    m_spare.resize(kRoom + kAheadPiece);
    m_ahead->start([&source = m_source, into = m_spare.data() + kRoom] {
        return source.read(into, kAheadPiece);
    });
}

void LineReader::took(qsizetype from, qsizetype n)
{
    m_read += n;
    m_atEnd = n == 0;
    // Lines are searched for a CR only once one has been read: most texts hold none.
    m_crRead = m_crRead || std::memchr(m_buffer.constData() + from, '\r', size_t(n)) != nullptr;
}

void LineReader::setEncoding(TextEncoding encoding, bool mayHoldCr)
{
    m_encoding = encoding;
    m_mayHoldCr = mayHoldCr;
}

bool LineReader::readMore()
{
    if (m_ahead) {
        if (!m_ahead->busy())
            startAhead();
        const qsizetype n = m_ahead->finish();
        if (n < 0)
            return false;
        const QByteArrayView kept = held();
        if (kept.size() <= kRoom) {
            const qsizetype start = kRoom - kept.size();
            if (!kept.isEmpty()) // an empty view may hold no address, which memcpy refuses
                std::memcpy(m_spare.data() + start, kept.data(), size_t(kept.size()));
            std::swap(m_buffer, m_spare);
            m_buffer.resize(kRoom + n);
            m_position = start;
        } else { // a line longer than the room: it moves to the front, and the piece after it
            std::memmove(m_buffer.data(), kept.data(), size_t(kept.size()));
            m_buffer.resize(kept.size());
            m_position = 0;
            m_buffer.append(m_spare.constData() + kRoom, n);
        }
        took(m_buffer.size() - n, n);
        if (n > 0)
            startAhead();
        return true;
    }
    // What is held moves to the front, so the buffer never grows past a line and a piece.
    const qsizetype kept = m_buffer.size() - m_position;
    if (m_position > 0) {
        std::memmove(m_buffer.data(), m_buffer.constData() + m_position, size_t(kept));
        m_buffer.resize(kept);
        m_position = 0;
    }
    m_pieceSize = std::clamp(2 * m_pieceSize, kFirstPiece, kPiece);
    m_buffer.resize(kept + m_pieceSize);
    const qsizetype n = m_source.read(m_buffer.data() + kept, m_pieceSize);
    m_buffer.resize(kept + std::max<qsizetype>(n, 0));
    if (n < 0)
        return false;
    took(kept, n);
    return true;
}

QByteArray LineReader::holdAll(QByteArray bytes)
{
    QByteArray old = std::exchange(m_buffer, std::move(bytes));
    m_position = 0;
    took(0, m_buffer.size());
    m_atEnd = true;
    return old;
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
