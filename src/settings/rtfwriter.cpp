#include "settings/rtf.h"

#include "core/windows1252.h"

#include <algorithm>
#include <charconv>

namespace plintex {
namespace {

// The longest a character gets: \u-12345?
constexpr qsizetype kMaxCharBytes = 8;

// Writes into a buffer sized ahead, so a long text costs one pass and a few reallocations.
class Output {
public:
    explicit Output(qsizetype expected)
    {
        buf.resize(std::max<qsizetype>(expected, 256));
        data = buf.data();
    }

    void ensure(qsizetype n)
    {
        if (pos + n > buf.size()) {
            buf.resize(std::max(buf.size() * 2, pos + n));
            data = buf.data();
        }
    }
    void put(char c) { data[pos++] = c; }
    void putLatin1(const char16_t *s, qsizetype n)
    {
        std::transform(s, s + n, data + pos, [](char16_t c) { return char(c); });
        pos += n;
    }
    void put(const char *s, qsizetype n)
    {
        ensure(n);
        std::copy_n(s, n, data + pos);
        pos += n;
    }
    void putNumber(int n)
    {
        ensure(12);
        char *start = data + pos;
        pos += std::to_chars(start, start + 12, n).ptr - start;
    }
    // Everything outside printable ASCII goes out as \'hh or \uN?, so that the file stays 7-bit
    // and the reader needs no guess about the code page.
    void putChar(char16_t c)
    {
        static constexpr char kHex[] = "0123456789abcdef";
        ensure(kMaxCharBytes);
        if (c >= 0x20 && c <= 0x7E) {
            if (c == u'\\' || c == u'{' || c == u'}')
                put('\\');
            put(char(c));
            return;
        }
        if (c > 0x7F) {
            const int b = windows1252::fromUnicode(c);
            if (b > 0x7F) {
                put('\\');
                put('\'');
                put(kHex[b >> 4]);
                put(kHex[b & 0xF]);
                return;
            }
        }
        // \u takes a signed 16-bit number; the '?' is the fallback that \uc1 tells readers to
        // skip.
        put('\\');
        put('u');
        putNumber(c >= 0x8000 ? int(c) - 0x10000 : int(c));
        put('?');
    }
    QByteArray take()
    {
        buf.truncate(pos);
        return std::move(buf);
    }

private:
    QByteArray buf;
    char *data = nullptr;
    qsizetype pos = 0;
};

template <qsizetype N> void putLiteral(Output &out, const char (&s)[N])
{
    out.put(s, N - 1);
}

} // namespace

QByteArray writeRtf(QStringView text, const QString &fontFamily, int pointSize)
{
    // \fs counts half-points and readers take it as a signed 16-bit number.
    const int halfPoints = 2 * std::clamp(pointSize, 1, 16383);

    // Mostly ASCII text grows by little more than its line breaks.
    Output out(text.size() + text.size() / 8 + fontFamily.size() * kMaxCharBytes + 128);
    putLiteral(out, "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 ");
    for (const QChar c : fontFamily) {
        // ';' ends a font name and a control character has no place in one.
        if (c != u';' && c.unicode() >= 0x20)
            out.putChar(c.unicode());
    }
    putLiteral(out, ";}}\n\\pard\\plain\\f0\\fs");
    out.putNumber(halfPoints);
    putLiteral(out, " ");

    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    while (p < end) {
        // Runs of characters that stand for themselves are the bulk of any text.
        const char16_t *run = p;
        while (p < end && *p >= 0x20 && *p <= 0x7E && *p != u'\\' && *p != u'{' && *p != u'}')
            ++p;
        if (p != run) {
            out.ensure(p - run);
            out.putLatin1(run, p - run);
            continue;
        }
        const char16_t c = *p++;
        if (c == u'\n')
            putLiteral(out, "\\par\n"); // the raw line feed only ends the word; readers skip it
        else if (c == u'\t')
            putLiteral(out, "\\tab ");
        else
            out.putChar(c);
    }
    putLiteral(out, "}\n");
    return out.take();
}

} // namespace plintex
