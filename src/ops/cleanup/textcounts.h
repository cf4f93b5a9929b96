#pragma once

#include "core/textstore.h"

#include <QStringList>

namespace plintex::cleanup {

/// What "Total characters and blanks." counts, line breaks left out everywhere.
struct TextCounts {
    qint64 characters = 0;
    qint64 blanks = 0;
    qint64 toCaret = 0; ///< the characters before the caret

    /// Adds row `index` of the text; `caret` is where the caret stands.
    void addCharacters(qint64 index, QStringView row, TextPosition caret);
    void addBlanks(QStringView row) { blanks += row.count(u' '); }
};

/// The status-bar texts: "Total Chr = ", "Total Blk = " and "Total Chr to Cursor = " with the
/// counts.
QString charactersText(qint64 characters);
QStringList statusTexts(const TextCounts &counts);

} // namespace plintex::cleanup
