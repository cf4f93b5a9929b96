#include "ops/cleanup/textcounts.h"

using namespace Qt::StringLiterals;

namespace plintex::cleanup {

void TextCounts::addCharacters(qint64 index, QStringView row, TextPosition caret)
{
    characters += row.size();
    if (index < caret.row)
        toCaret += row.size();
    else if (index == caret.row)
        toCaret += std::min<qint64>(caret.column, row.size());
}

QString charactersText(qint64 characters)
{
    return u"Total Chr = "_s + QString::number(characters);
}

QStringList statusTexts(const TextCounts &counts)
{
    return {charactersText(counts.characters), u"Total Blk = "_s + QString::number(counts.blanks),
            u"Total Chr to Cursor = "_s + QString::number(counts.toCaret)};
}

} // namespace plintex::cleanup
