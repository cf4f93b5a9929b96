#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace plintex {

/// A place in a text: a row (line index from 0) and a column (character index from 0).
struct TextPosition {
    qsizetype row = 0;
    qsizetype column = 0;

    friend bool operator==(const TextPosition &, const TextPosition &) = default;
    friend auto operator<=>(const TextPosition &, const TextPosition &) = default;
};

/// A plain text held as rows: the text split at every line break, so there is always at least
/// one row ("" is one empty row, "a\nb\n" is "a", "b" and a final empty row).
///
/// It offers both views the functions need: a list of lines (the text-list convention, where a
/// final line break does not start another line) and one character sequence in which each line
/// break counts as one position. Offsets of rows are cached and recomputed lazily from the first
/// row an edit touched, so editing near the end of a long text stays cheap.
class TextStore {
public:
    TextStore();

    // Whole text; setText accepts CR LF, lone CR and lone LF as line breaks.
    QString text() const;
    void setText(QStringView text);
    bool isEmpty() const { return m_rows.size() == 1 && m_rows.front().isEmpty(); }
    qsizetype length() const; ///< characters, each line break counting one

    // Rows: the editor's view.
    qsizetype rowCount() const { return m_rows.size(); }
    const QString &row(qsizetype r) const { return m_rows.at(r); }
    const QStringList &rows() const { return m_rows; }
    /// An empty list is taken as one empty row; a row holding line breaks is split at them.
    void setRows(QStringList rows);

    // Lines: the functions' view.
    qsizetype lineCount() const;
    QStringList lines() const;
    /// Each line, the last included, ends with a line break; a line holding line breaks is split.
    void setLines(QStringList lines);

    // Character-sequence view.
    qsizetype offsetOfRow(qsizetype row) const;
    qsizetype rowOfOffset(qsizetype offset) const;
    qsizetype offsetOf(TextPosition position) const;
    TextPosition positionOf(qsizetype offset) const;
    TextPosition endPosition() const;
    TextPosition clamped(TextPosition position) const;

    /// Replaces the text between two positions (in any order) and returns the position just
    /// after the inserted text.
    TextPosition replace(TextPosition from, TextPosition to, QStringView text);
    /// The same with the new text already split into rows (none holding a break, at least one).
    TextPosition replaceRows(TextPosition from, TextPosition to, QStringList rows);
    QString textBetween(TextPosition from, TextPosition to) const;
    /// The text between two positions as rows; whole rows are shared, not copied, so this stays
    /// cheap for any span.
    QStringList rowsBetween(TextPosition from, TextPosition to) const;

    qsizetype longestRowLength() const;

    /// Splits a text at every line break (CR LF, CR, LF) into rows.
    static QStringList splitRows(QStringView text);

private:
    void assignRows(QStringList rows); // rows known to hold no break, at least one
    void rowsChangedFrom(qsizetype row);
    void ensureOffsets(qsizetype upToRow) const;

    QStringList m_rows;
    mutable std::vector<qsizetype> m_rowStart; // valid for rows below m_validStarts
    mutable qsizetype m_validStarts = 0;
    // Kept up to date through edits: a full scan happens only when the last row of the longest
    // length shrinks or goes.
    mutable qsizetype m_longest = -1; // -1: to be recomputed
    mutable qsizetype m_longestCount = 0;
};

} // namespace plintex
