#include "ops/cleanup/charroutines.h"

namespace plintex::cleanup {
namespace {

constexpr bool startsWord(char16_t c)
{
    return c == u' ' || c == u'\'' || c == u'"' || c == u'-' || c == u'.' || c == u'(' ||
           c == u'\t';
}

constexpr bool closesSentence(char16_t c)
{
    return c == u'.' || c == u'?' || c == u'!';
}

char16_t *charsOf(QString &row)
{
    return reinterpret_cast<char16_t *>(row.data());
}

} // namespace

void toCapitals(QString &row)
{
    // Read first: a row without small letters is left shared, as it came.
    const char16_t *in = reinterpret_cast<const char16_t *>(row.constData());
    const qsizetype n = row.size();
    qsizetype i = 0;
    while (i < n && !isSmallLetter(in[i]))
        ++i;
    if (i == n)
        return;
    char16_t *data = charsOf(row);
    for (; i < n; ++i) {
        if (isSmallLetter(data[i]))
            data[i] -= 32;
    }
}

void toSmallLetters(QString &row)
{
    const char16_t *in = reinterpret_cast<const char16_t *>(row.constData());
    const qsizetype n = row.size();
    qsizetype i = 0;
    while (i < n && !isCapitalLetter(in[i]))
        ++i;
    if (i == n)
        return;
    char16_t *data = charsOf(row);
    for (; i < n; ++i) {
        if (isCapitalLetter(data[i]))
            data[i] += 32;
    }
}

void capitaliseWordStarts(QString &row, qsizetype from, qsizetype to)
{
    if (from >= to)
        return;
    char16_t *data = charsOf(row);
    for (qsizetype i = from; i < to; ++i) {
        if ((i == 0 || startsWord(data[i - 1])) && isSmallLetter(data[i]))
            data[i] -= 32;
    }
}

void SentenceCapitals::operator()(QString &row)
{
    // Whether a small letter here follows one of the separators: blanks counts the blanks
    // just before it, closer whether a ".", "?" or "!" comes right before those blanks.
    bool capital = !m_firstRow && m_previousCloses;
    qsizetype blanks = 0;
    bool closer = false;
    const qsizetype n = row.size();
    char16_t *data = nullptr;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = row.at(i).unicode();
        if (capital && isSmallLetter(c)) {
            if (!data)
                data = charsOf(row);
            data[i] = c - 32;
        }
        if (c == u' ') {
            ++blanks;
            capital = blanks >= 2 || closer;
        } else {
            blanks = 0;
            closer = closesSentence(c);
            capital = false;
        }
    }
    m_previousCloses = (n >= 1 && closesSentence(row.at(n - 1).unicode())) ||
                       (n >= 2 && row.at(n - 1) == u' ' && closesSentence(row.at(n - 2).unicode()));
    m_firstRow = false;
}

} // namespace plintex::cleanup
