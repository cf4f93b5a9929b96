#pragma once

#include "core/runmonitor.h"
#include "core/textstore.h"
#include "ops/lines/matcher.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace plintex::search {

/// A text to find in the rows of a text, exactly or ignoring letter case as Qt::CaseInsensitive
/// compares. A text that is one line break alone finds the breaks between rows. An empty text
/// never matches.
class TextFinder {
public:
    TextFinder(QString text, Qt::CaseSensitivity sensitivity);

    const QString &text() const { return m_text; }
    qsizetype size() const { return m_text.size(); }
    /// The text is one line break: it stands at the end of every row but the last.
    bool findsBreak() const { return m_break; }

    /// Where the text first occurs in `row` at or after `from`, or -1. Not for a break.
    qsizetype in(QStringView row, qsizetype from = 0) const;

private:
    qsizetype caselessIn(QStringView row, qsizetype from) const;
    bool foldedMatchAt(const char16_t *at) const;

    QString m_text;
    bool m_break = false;
    bool m_caseless = false; // whether letter case must be folded at all
    lines::Finder m_exact;   // the text, or its folding when folding goes row by row
    bool m_foldRows = false; // no quick filter for this text: each row is folded first
    QString m_folded;
    // The units that fold as the text's first and last do: candidates for the quick filter.
    std::vector<char16_t> m_firsts;
    std::vector<char16_t> m_lasts;
    // When the variants of each are one unit, or two that differ in bit 0x20 alone (an ASCII
    // letter's two cases), a unit is one of them when with that bit set it is the one given.
    struct Variants {
        char16_t bit = 0;
        char16_t unit = 0;
    };
    std::optional<Variants> m_firstCase;
    std::optional<Variants> m_lastCase;
    mutable QString m_rowFolded;
};

/// Whether a text can be looked for: it holds no line break, or is one line break alone.
bool isSearchable(QStringView text);

/// The first occurrence at or after `from`, or nothing.
std::optional<TextPosition> findNext(const TextStore &store, TextPosition from,
                                     const TextFinder &finder);

/// What replacing every occurrence gave.
struct Replacement {
    QStringList rows; ///< the whole text as rows, none holding a break
    TextPosition end; ///< just after the last text put in, or where the replacing began
    qsizetype count = 0;
    bool stopped = false; ///< a stop came: the rows after the one it came on are as they were
};

/// Replaces the text between `from` and `to` (nothing when they are equal) by `replacement`,
/// then every occurrence after it once, left to right: each search goes on after the text just
/// put in, which is never searched again, so a replacement that holds the searched text ends
/// like any other. The monitor is asked about a stop before each row.
Replacement replaceAll(const QStringList &rows, TextPosition from, TextPosition to,
                       const TextFinder &finder, QStringView replacement, RunMonitor &monitor);

} // namespace plintex::search
