#pragma once

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

/// Several search texts, one per line of a multi-line field, looked for together: a row matches
/// when any of them occurs in it. Empty lines never match. Many texts are found in one pass over
/// the row (an Aho-Corasick automaton) rather than one pass per text.
class SearchTexts {
public:
    explicit SearchTexts(const QStringList &texts);

    bool isEmpty() const;
    bool foundIn(QStringView row) const;

private:
    struct Tables;
    /// Shared by the copies a run makes of it: a long list of texts is prepared once.
    std::shared_ptr<const Tables> m_tables;
};

} // namespace plintex::lines
