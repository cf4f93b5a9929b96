#pragma once

#include "core/rowpass.h"

#include <QStringList>

#include <memory>

namespace plintex::lines {

/// A search text made ready to be looked for in many rows, case-sensitively. An empty text never
/// matches. Most rows are searched by a quick filter on the text's first and last characters;
/// where the filter's checks grow costly (a long text much like the row, such as a run of one
/// letter) the rest of the row is searched by the Two-Way algorithm, whose time is linear in the
/// row whatever the text.
class Finder {
public:
    Finder() = default;
    explicit Finder(QString text);

    const QString &text() const { return m_text; }
    qsizetype size() const { return m_text.size(); }
    bool isEmpty() const { return m_text.isEmpty(); }

    /// Where the text first occurs in `row` at or after `from` (from 0), or -1.
    qsizetype in(QStringView row, qsizetype from = 0) const;
    /// The same found by Two-Way alone: what `in` falls back on.
    qsizetype linearIn(QStringView row, qsizetype from = 0) const;

private:
    QString m_text;
    // Two-Way's factorization of the text: the right part starts at m_split; m_period is the
    // text's period when the left part recurs in the right (m_periodic), else the shift after
    // a mismatch in the left part.
    qsizetype m_split = 0;
    qsizetype m_period = 1;
    bool m_periodic = false;
};

/// A search text as bytes, looked for in the bytes of a row, case-sensitively; linear in the row
/// whatever the text. An empty text never matches.
class ByteFinder {
public:
    ByteFinder() = default;
    explicit ByteFinder(QByteArray text) : m_text(std::move(text)) {}

    qsizetype size() const { return m_text.size(); }
    /// Where the text first occurs in `row` at or after `from`, or -1.
    qsizetype in(QByteArrayView row, qsizetype from = 0) const;

private:
    QByteArray m_text;
};

/// `text` in Windows-1252, or nothing when it holds a character the code page has not.
std::optional<QByteArray> toWindows1252(QStringView text);

/// A search text looked for in the rows of a pass: in a row's bytes as they came, encoded the
/// same way, when the row offers them (a row of a streamed text in UTF-8 or Windows-1252),
/// else in its characters. It finds the same rows either way.
class RowFinder {
public:
    explicit RowFinder(const QString &text);

    const Finder &characters() const { return m_characters; }
    bool foundIn(PassRow &row) const;
    /// The search of many rows' bytes at once, for a text in ASCII without a line break; else
    /// nothing (an empty function).
    AsciiBlockSearch inBlocks() const;

private:
    Finder m_characters;
    ByteFinder m_utf8;
    std::optional<ByteFinder> m_windows1252; ///< nothing: the text cannot be in such a row
    bool m_ascii;
};

/// `text` as a search that ignores letter case sees it, the way the text control's own find
/// compares (Qt::CaseInsensitive): each character replaced by its case folding, a surrogate
/// pair folded as the one character it encodes. Each unit keeps its place, so a place found in
/// the folded text is the place in `text`. `into` is reused.
void foldCase(QStringView text, QString &into);
QString foldCase(QStringView text);

/// Whether ignoring letter case can find `text` where it does not stand as it is: false when
/// every character of it folds only from itself (digits, most punctuation), so that the rows
/// need no folding.
bool caseMatters(QStringView text);

/// A search text found in the lines of a text as the text control's own find finds it when
/// letter case is ignored. A line is folded once however often it is searched; the line last
/// searched must not change while it is searched again.
class CaselessFinder {
public:
    explicit CaselessFinder(const QString &text);

    qsizetype size() const { return m_finder.size(); }

    /// Where the text first occurs in `lines[index]` at or after `from`, or -1.
    qsizetype in(const QStringList &lines, qsizetype index, qsizetype from);

private:
    bool m_fold; ///< whether the lines must be folded
    Finder m_finder;
    qsizetype m_foldedIndex = -1;
    QString m_folded;
};

/// A search text found in the bytes of a whole text in UTF-8 or Windows-1252 exactly where
/// CaselessFinder finds it in the text's lines, for a text without line breaks. Where letter
/// case matters it searches the text's folded bytes (foldBytes), which keep every place.
class CaselessBytes {
public:
    /// Nothing when the bytes of `text` cannot be searched so: in UTF-8, a search text whose
    /// letters go beyond ASCII, or a text holding a character beyond ASCII that folds to one of
    /// the search text's letters (the Kelvin sign to k).
    static std::optional<CaselessBytes> of(const QString &search, QByteArrayView text,
                                           RowEncoding encoding);

    bool folds() const { return m_folds; }
    /// The bytes the search text takes in the text.
    qsizetype size() const { return m_finder.size(); }
    /// From where it is found, the byte standing for the place of its last UTF-16 unit: the
    /// start of its last character, one more when that character is a surrogate pair.
    qsizetype lastUnit() const { return m_lastUnit; }
    /// Where it first occurs at or after `from`, or -1: in `folded` when it folds.
    qsizetype in(QByteArrayView text, QByteArrayView folded, qsizetype from) const;

private:
    ByteFinder m_finder;
    bool m_folds = false;
    bool m_never = false; ///< it cannot stand in a text of this encoding
    qsizetype m_lastUnit = 0;
};

/// The bytes of a text as a caseless search that folds sees them, place for place: in UTF-8
/// the ASCII capitals made small, in Windows-1252 each byte made the byte of its character's
/// folding (µ, whose folding the code page has not, stands for it).
QByteArray foldBytes(QByteArrayView text, RowEncoding encoding);

/// Several search texts, one per line of a multi-line field, looked for together: a row matches
/// when any of them occurs in it. Empty lines never match. Many texts are found in one pass over
/// the row (an Aho-Corasick automaton) rather than one pass per text.
class SearchTexts {
public:
    explicit SearchTexts(const QStringList &texts);

    bool isEmpty() const;
    bool foundIn(QStringView row) const;
    /// In the row's bytes when it offers them (the texts encoded the same way), else in its
    /// characters.
    bool foundIn(PassRow &row) const;
    /// The search of many rows' bytes at once, for a few texts in ASCII without a line break;
    /// else nothing (an empty function).
    AsciiBlockSearch inBlocks() const;

private:
    struct Tables;
    /// Shared by the copies a run makes of it: a long list of texts is prepared once.
    std::shared_ptr<const Tables> m_tables;
};

} // namespace plintex::lines
