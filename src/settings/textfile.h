#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace plintex {

enum class TextEncoding { Utf8, Utf8WithBom, Windows1252 };
enum class LineEnd { Lf, CrLf, Cr };

/// How a text file was written, so that it can be written back the same way.
struct TextFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    LineEnd lineEnd = LineEnd::Lf;

    friend bool operator==(const TextFormat &, const TextFormat &) = default;
};

/// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(QByteArrayView bytes);

/// Valid UTF-8 (with or without a byte-order mark) is UTF-8, anything else Windows-1252; the
/// line end is the first one found (LF when there is none).
TextFormat detectFormat(QByteArrayView bytes);

/// The text split at every line break (CR LF, lone CR, lone LF) into rows; there is always at
/// least one row, and a final line break leaves a final empty row.
QStringList decodeRows(QByteArrayView bytes, const TextFormat &format);

/// Rows joined with the format's line end. Text that Windows-1252 cannot hold is written as
/// UTF-8 instead, so that nothing is lost; `written` tells what was used.
QByteArray encodeRows(const QStringList &rows, const TextFormat &format,
                      TextFormat *written = nullptr);

/// The line that starts at `from`: where it ends (at its CR or LF, or the end of the bytes) and
/// where the next one starts. CR LF, lone CR and lone LF all end a line; `mayHoldCr` false
/// (the bytes hold no CR at all) spares looking for CR.
struct LineSpan {
    qsizetype end;
    qsizetype next;
};
LineSpan lineAt(QByteArrayView bytes, qsizetype from, bool mayHoldCr = true);

/// Decodes one line's bytes into `out`, reusing its storage.
void decodeLineInto(QString &out, QByteArrayView bytes, TextEncoding encoding);
/// Appends the line in the encoding (Windows-1252 gives '?' for what it cannot hold).
void appendEncodedLine(QByteArray &out, QStringView line, TextEncoding encoding);

/// The byte-order mark that opens a text in this encoding, if any.
QByteArrayView byteOrderMark(TextEncoding encoding);
/// The bytes of a line end.
QByteArrayView lineEndBytes(LineEnd lineEnd);

/// Rows in the lines view: a final empty row is the end of the last line, not a line.
QStringList rowsToLines(QStringList rows);
/// Lines back to rows: every line, the last included, ends with a line break.
QStringList linesToRows(QStringList lines);

} // namespace plintex
