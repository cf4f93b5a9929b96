#include "cli/passrows.h"

#include "cli/textsurvey.h"
#include "core/windows1252.h"

#include <utility>

namespace plintex::cli {
std::optional<RowBytes> rowBytes(QByteArrayView line, TextEncoding encoding)
{
    if (isUtf8(encoding))
        return RowBytes{line, RowEncoding::Utf8};
    if (encoding == TextEncoding::Windows1252)
        return RowBytes{line, RowEncoding::Windows1252};
    return std::nullopt;
}

void ReadRows::moveTo(QByteArrayView line)
{
    m_line = line;
    m_decoded = false;
    m_notUtf8 = m_notUtf8 || (m_checkingUtf8 && !isValidUtf8(line));
}

QString &ReadRows::text()
{
    if (!m_decoded) {
        decodeLineInto(m_text, m_line, m_encoding);
        m_decoded = true;
    }
    return m_text;
}

std::optional<RowBytes> ReadRows::bytes()
{
    return rowBytes(m_line, m_encoding);
}

void ReadRows::keepRewritten()
{
    m_fits = m_fits && windows1252::canEncode(text());
}

void ReadRows::add(QStringView row)
{
    m_fits = m_fits && windows1252::canEncode(row);
}

LineReader::Status readThrough(LineReader &reader, RowPass &pass, ReadRows &rows, bool untilUnfit)
{
    QByteArrayView line;
    QByteArrayView lineBreak;
    for (qint64 index = 0;; ++index) {
        const LineReader::Status status = reader.next(line, lineBreak);
        if (status != LineReader::Status::Line)
            return status;
        rows.moveTo(line);
        if (rows.notUtf8() || !pass.row(index, rows, rows) || (untilUnfit && !rows.fits()))
            return LineReader::Status::End;
    }
}

std::optional<bool> allRowsFitWindows1252(LineReader &reader, PassPlan plan)
{
    ReadRows rows(TextEncoding::Windows1252);
    const LineReader::Status status = readThrough(reader, *plan.pass, rows, true);
    if (status == LineReader::Status::Failed)
        return std::nullopt;
    if (status == LineReader::Status::TooLong)
        return false;
    if (rows.fits())
        plan.pass->finish(rows, plan.result);
    return rows.fits();
}

StreamRows::StreamRows(const OutputFormat &format) : m_format(format)
{
    m_piece.reserve(kPieceSize + 4096);
}

void StreamRows::moveTo(QByteArrayView line, QByteArrayView lineBreak)
{
    m_line = line;
    m_break = lineBreak;
    m_decoded = false;
    m_asWindows1252 = m_format.checkEachLine && !isValidUtf8(line);
}

void StreamRows::settleIfNeeded()
{
    if (m_settle && !isAscii(m_line))
        std::exchange(m_settle, nullptr)();
}

QString &StreamRows::text()
{
    if (!m_decoded) {
        settleIfNeeded();
        decodeLineInto(m_text, m_line,
                       m_asWindows1252 ? TextEncoding::Windows1252 : m_format.input.encoding);
        m_decoded = true;
    }
    return m_text;
}

std::optional<RowBytes> StreamRows::bytes()
{
    settleIfNeeded();
    // A stream's lines that are not UTF-8 are read as Windows-1252, so a UTF-8 row is valid.
    return rowBytes(m_line, m_asWindows1252 ? TextEncoding::Windows1252 : m_format.input.encoding);
}

std::optional<RowBytes> StreamRows::guessedBytes()
{
    if (!m_settle)
        return bytes();
    return RowBytes{m_line, RowEncoding::Utf8, this};
}

void StreamRows::keepRewritten()
{
    appendEncodedLine(m_piece, text(), rowEncoding());
    endRow(m_piece);
}

bool StreamRows::keepRewritten(const ByteTransform &transform)
{
    // A row read as Windows-1252 in a UTF-8 stream is written so whenever that holds it, as
    // it does every row made of its own bytes.
    if (!m_asWindows1252 && m_format.encoding != m_format.input.encoding)
        return false;
    const std::optional<RowBytes> row = guessedBytes();
    const qsizetype at = m_piece.size();
    if (!row || !transform(*row, m_piece)) {
        m_piece.resize(at);
        return false;
    }
    endRow(m_piece);
    return true;
}

void StreamRows::add(QStringView row)
{
    appendEncodedLine(m_piece, row, m_format.encoding);
    appendBytes(m_piece, lineEndBytes(m_format.input.lineEnd, m_format.encoding));
}

bool StreamRows::addBytes(RowBytes row)
{
    if (row.encoding == RowEncoding::Utf8 ? !isUtf8(m_format.encoding)
                                          : m_format.encoding != TextEncoding::Windows1252)
        return false;
    appendBytes(m_piece, row.bytes);
    appendBytes(m_piece, lineEndBytes(m_format.input.lineEnd, m_format.encoding));
    return true;
}

void StreamRows::hold()
{
    m_held.resize(0);
    keepInto(m_held);
    m_holding = true;
}

void StreamRows::releaseHeld(bool keep)
{
    if (keep && m_holding)
        appendBytes(m_piece, m_held);
    m_holding = false;
}

TextEncoding StreamRows::rowEncoding()
{
    if (!m_asWindows1252)
        return m_format.encoding;
    return windows1252::canEncode(text()) ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

void StreamRows::keepInto(QByteArray &out)
{
    const bool asItCame = m_format.encoding == m_format.input.encoding || m_asWindows1252;
    // A row as it came and its break lie together in what was read: one copy takes both.
    if (asItCame && !m_break.isEmpty() && m_break.data() == m_line.data() + m_line.size()) {
        appendBytes(out, QByteArrayView(m_line.data(), m_line.size() + m_break.size()));
        return;
    }
    if (asItCame)
        appendBytes(out, m_line);
    else
        appendEncodedLine(out, text(), m_format.encoding);
    endRow(out);
}

/// Every row keeps its own break; the last one gets one if it had none.
void StreamRows::endRow(QByteArray &out)
{
    if (isUtf16(m_format.input.encoding) && m_line.size() % 2 != 0)
        out.append(m_line.back()); // an odd last byte, kept as it came
    appendBytes(out, m_break.isEmpty() ? lineEndBytes(m_format.input.lineEnd, m_format.encoding)
                                       : m_break);
}

} // namespace plintex::cli
