#pragma once

#include <QString>

namespace plintex::cleanup {

// The character routines of "Special Routines", one row at a time. Letter case is that of
// 7-bit ASCII: only "a"-"z" and "A"-"Z" change or count as letters.

constexpr bool isSmallLetter(char16_t c)
{
    return c >= u'a' && c <= u'z';
}
constexpr bool isCapitalLetter(char16_t c)
{
    return c >= u'A' && c <= u'Z';
}
constexpr bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}
/// The 32 printable 7-bit characters that are neither a letter, a digit nor the blank.
constexpr bool isSpecialCharacter(char16_t c)
{
    return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) ||
           (c >= 123 && c <= 126);
}

void toCapitals(QString &row);
void toSmallLetters(QString &row);

/// Makes a capital of every character of [from, to) that starts a word: the row's first, and
/// each one after a blank, apostrophe, double quote, hyphen, period, opening parenthesis or TAB.
/// The row is expected in small letters already.
void capitaliseWordStarts(QString &row, qsizetype from, qsizetype to);

/// "sentence." capitalisation, row after row: a small letter becomes a capital after two or more
/// blanks, after ".", "?" or "!" and one or more blanks, and at the start of a row when the row
/// before ends in ".", "?" or "!" with at most one blank after it. The text's very first
/// character stays as it is.
class SentenceCapitals {
public:
    void operator()(QString &row);

private:
    bool m_firstRow = true;
    bool m_previousCloses = false;
};

/// Removes every character for which `drop` holds, in one pass; a row without any is left
/// shared, as it came.
template <typename Predicate> void removeCharacters(QString &row, Predicate drop)
{
    const qsizetype n = row.size();
    qsizetype first = 0;
    const char16_t *in = reinterpret_cast<const char16_t *>(row.constData());
    while (first < n && !drop(in[first]))
        ++first;
    if (first == n)
        return;
    char16_t *data = reinterpret_cast<char16_t *>(row.data());
    qsizetype kept = first;
    for (qsizetype i = first + 1; i < n; ++i) {
        if (!drop(data[i]))
            data[kept++] = data[i];
    }
    row.truncate(kept);
}

} // namespace plintex::cleanup
