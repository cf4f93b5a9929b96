#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace plintex {

/// The UTF-16 encodings always open with their byte-order mark: only a mark tells them apart.
enum class TextEncoding { Utf8, Utf8WithBom, Windows1252, Utf16Le, Utf16Be };
enum class LineEnd { Lf, CrLf, Cr };

/// How a text file was written, so that it can be written back the same way.
struct TextFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    LineEnd lineEnd = LineEnd::Lf;
    /// When a text's line ends differ: the break after each row, in order. Written back, the
    /// rows get these breaks again in turn, and `lineEnd` after the last of them.
    QList<LineEnd> mixedEnds;

    friend bool operator==(const TextFormat &, const TextFormat &) = default;
};

/// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(QByteArrayView bytes);

constexpr bool isUtf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

/// A UTF-16 byte-order mark (with an even number of bytes after it) makes UTF-16; else valid
/// UTF-8 (with or without a byte-order mark) is UTF-8, anything else Windows-1252; the line end
/// is the first one found (LF when there is none).
TextFormat detectFormat(QByteArrayView bytes);

/// The format from the start of a text only: the byte-order mark and the first line end.
/// `utf8` tells whether the whole text is valid UTF-8, which the caller has found out.
/// `evenLength` tells whether the whole text has an even number of bytes, as UTF-16 must.
TextFormat detectFormatFromStart(QByteArrayView start, bool utf8, bool evenLength);

/// The text split at every line break (CR LF, lone CR, lone LF) into rows; there is always at
/// least one row, and a final line break leaves a final empty row. `mixedEnds`, when given,
/// receives the breaks if they are not all alike, and is cleared otherwise.
QStringList decodeRows(QByteArrayView bytes, const TextFormat &format,
                       QList<LineEnd> *mixedEnds = nullptr);

/// Rows joined with the format's line end (or its mixed ends, see TextFormat). Text that
/// Windows-1252 cannot hold is written as UTF-8 instead, so that nothing is lost; `written` tells
/// what was used.
/// The bytes encodeRows gives, handed to `write` a piece at a time; each row is released once
/// written, so that a large text is not held twice. False when `write` fails.
bool writeRows(QStringList rows, const TextFormat &format,
               const std::function<bool(QByteArrayView)> &write);
QByteArray encodeRows(const QStringList &rows, const TextFormat &format,
                      TextFormat *written = nullptr);

/// The line that starts at `from`: where it ends (at its CR or LF, or the end of the bytes) and
/// where the next one starts. CR LF, lone CR and lone LF all end a line; `mayHoldCr` false
/// (the bytes hold no CR at all) spares looking for CR. In UTF-16 the breaks are the units
/// U+000D and U+000A, and `from` is even.
struct LineSpan {
    qsizetype end;
    qsizetype next;
};
LineSpan lineAt(QByteArrayView bytes, qsizetype from, bool mayHoldCr = true);
LineSpan lineAt(QByteArrayView bytes, qsizetype from, TextEncoding encoding);

/// Decodes one line's bytes into `out`, reusing its storage.
void decodeLineInto(QString &out, QByteArrayView bytes, TextEncoding encoding);
/// Appends the line in the encoding (Windows-1252 gives '?' for what it cannot hold). Only a
/// byte-order mark at the very start of a file is a mark: U+FEFF anywhere in a line is kept.
void appendEncodedLine(QByteArray &out, QStringView line, TextEncoding encoding);

/// The byte-order mark that opens a text in this encoding, if any.
QByteArrayView byteOrderMark(TextEncoding encoding);
/// The line end of a line break's bytes (as lineAt finds them).
LineEnd lineEndOf(QByteArrayView lineBreak, TextEncoding encoding);
/// The bytes of a line end in the encoding.
QByteArrayView lineEndBytes(LineEnd lineEnd, TextEncoding encoding = TextEncoding::Utf8);

/// Rows in the lines view: a final empty row is the end of the last line, not a line.
QStringList rowsToLines(QStringList rows);
/// Lines back to rows: every line, the last included, ends with a line break.
QStringList linesToRows(QStringList lines);

} // namespace plintex
