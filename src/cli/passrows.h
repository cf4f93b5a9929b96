#pragma once

#include "cli/linereader.h"
#include "core/rowpass.h"
#include "settings/textfile.h"

#include <QByteArray>

#include <functional>
#include <optional>

namespace plintex::cli {

/// How the rows of a streamed text are written: in the input's encoding, unless the input is
/// Windows-1252 and the output must hold characters it cannot.
struct OutputFormat {
    TextFormat input;
    TextEncoding encoding;
    bool checkEachLine; ///< a UTF-8 stream, judged by its start only: a line may still not be
};

/// A row's bytes in `encoding` as a pass may search them; nothing for UTF-16.
std::optional<RowBytes> rowBytes(QByteArrayView line, TextEncoding encoding);

/// The rows of a text as a pass that only reads them sees them; it learns whether Windows-1252
/// holds every row the pass would put out.
class ReadRows final : public PassRow, public PassOutput {
public:
    explicit ReadRows(TextEncoding encoding) : m_encoding(encoding) {}
    void moveTo(QByteArrayView line);
    bool fits() const { return m_fits; }
    /// Rows read as UTF-8 on a guess are checked as they come: the first that is not UTF-8
    /// ends the reading.
    void checkUtf8() { m_checkingUtf8 = true; }
    bool notUtf8() const { return m_notUtf8; }

    QString &text() override;
    std::optional<RowBytes> bytes() override;
    void keep() override {}
    void keepRewritten() override;
    void add(QStringView row) override;
    void hold() override {}
    void releaseHeld(bool) override {}

private:
    TextEncoding m_encoding;
    QByteArrayView m_line;
    bool m_decoded = false;
    QString m_text;
    bool m_fits = true;
    bool m_checkingUtf8 = false;
    bool m_notUtf8 = false;
};

/// Runs `pass` over the rest of the reader's rows, putting nothing out (it ends early once a
/// row does not fit Windows-1252 when `untilUnfit`, or is not UTF-8 when `rows` checks that);
/// End when all were read.
LineReader::Status readThrough(LineReader &reader, RowPass &pass, ReadRows &rows,
                               bool untilUnfit = false);

/// Whether Windows-1252 holds every row a fresh plan's pass puts out; nothing when the text
/// cannot be read (too long a line counts as not fitting: the run proper ends on it).
std::optional<bool> allRowsFitWindows1252(LineReader &reader, PassPlan plan);

/// The current row of a stream as a pass sees it, and the pieces of output it leads to: a kept
/// row goes out as it came, with its own line break.
class StreamRows final : public PassRow, public PassOutput {
public:
    static constexpr qsizetype kPieceSize = 128 << 10;

    explicit StreamRows(const OutputFormat &format);
    void moveTo(QByteArrayView line, QByteArrayView lineBreak);
    QByteArray &piece() { return m_piece; }
    /// For a text read on the guess that it is UTF-8: called, once, when the characters of a
    /// row beyond ASCII (or its bytes as such) are first asked for, to settle the encoding.
    void settleBeforeUse(std::function<void()> settle) { m_settle = std::move(settle); }

    QString &text() override;
    std::optional<RowBytes> bytes() override;
    std::optional<RowBytes> guessedBytes() override;
    void keep() override { keepInto(m_piece); }
    void keepRewritten() override;
    bool keepRewritten(const ByteTransform &transform) override;
    void add(QStringView row) override;
    bool addBytes(RowBytes row) override;
    void hold() override;
    void releaseHeld(bool keep) override;

private:
    void settleIfNeeded();
    TextEncoding rowEncoding();
    void keepInto(QByteArray &out);
    void endRow(QByteArray &out);

    const OutputFormat &m_format;
    QByteArrayView m_line;
    QByteArrayView m_break;
    bool m_asWindows1252 = false;
    bool m_decoded = false;
    QString m_text;
    QByteArray m_piece;
    QByteArray m_held;
    bool m_holding = false;
    std::function<void()> m_settle;
};

} // namespace plintex::cli
