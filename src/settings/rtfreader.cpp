#include "settings/rtf.h"

#include "core/windows1252.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace plintex {
namespace {

enum class Action : unsigned char {
    Char,        // the character of the entry
    Destination, // the group holds no document text
    Unicode,     // \uN
    UnicodeSkip, // \ucN
    Binary,      // \binN
    CodePage,    // \ansicpgN
    Charset,     // \ansi, \mac, \pc, \pca: code page of the entry
    Row,
};

struct Word {
    std::string_view name;
    Action action;
    int value = 0;
};

using enum Action;

// Sorted by name for binary search; words not listed are formatting and change no text.
constexpr std::array kWords = std::to_array<Word>({
    {"aftnsep", Destination},
    {"aftnsepc", Destination},
    {"ansi", Charset, 1252},
    {"ansicpg", CodePage},
    {"bin", Binary},
    {"bullet", Char, 0x2022},
    {"cell", Char, '\t'},
    {"colorschememapping", Destination},
    {"colortbl", Destination},
    {"datastore", Destination},
    {"emdash", Char, 0x2014},
    {"emspace", Char, 0x2003},
    {"endash", Char, 0x2013},
    {"enspace", Char, 0x2002},
    {"fldinst", Destination},
    {"fonttbl", Destination},
    {"footer", Destination},
    {"footerf", Destination},
    {"footerl", Destination},
    {"footerr", Destination},
    {"ftnsep", Destination},
    {"ftnsepc", Destination},
    {"generator", Destination},
    {"header", Destination},
    {"headerf", Destination},
    {"headerl", Destination},
    {"headerr", Destination},
    {"info", Destination},
    {"latentstyles", Destination},
    {"ldblquote", Char, 0x201C},
    {"line", Char, '\n'},
    {"listoverridetable", Destination},
    {"listtable", Destination},
    {"lquote", Char, 0x2018},
    {"mac", Charset, 10000},
    {"nestcell", Char, '\t'},
    {"nestrow", Row},
    {"object", Destination},
    {"par", Char, '\n'},
    {"pc", Charset, 437},
    {"pca", Charset, 850},
    {"pgdsctbl", Destination},
    {"pict", Destination},
    {"qmspace", Char, 0x2005},
    {"rdblquote", Char, 0x201D},
    {"row", Row},
    {"rquote", Char, 0x2019},
    {"rsidtbl", Destination},
    {"sect", Char, '\n'},
    {"stylesheet", Destination},
    {"tab", Char, '\t'},
    {"themedata", Destination},
    {"u", Unicode},
    {"uc", UnicodeSkip},
    {"xmlnsTbl", Destination},
    {"xmlnstbl", Destination},
    {"zwj", Char, 0x200D},
    {"zwnj", Char, 0x200C},
});
static_assert(std::is_sorted(kWords.begin(), kWords.end(),
                             [](const Word &a, const Word &b) { return a.name < b.name; }));

const Word *findWord(std::string_view name)
{
    const auto it = std::lower_bound(kWords.begin(), kWords.end(), name,
                                     [](const Word &w, std::string_view n) { return w.name < n; });
    return it != kWords.end() && it->name == name ? &*it : nullptr;
}

std::optional<QStringDecoder> decoderFor(int codePage)
{
    std::vector<QByteArray> names;
    switch (codePage) {
    case 65001:
        names = {"UTF-8"};
        break;
    case 932:
        names = {"windows-31j", "Shift_JIS"};
        break;
    case 936:
        names = {"GBK"};
        break;
    case 949:
        names = {"windows-949", "cp949", "EUC-KR"};
        break;
    case 950:
        names = {"Big5"};
        break;
    case 10000:
        names = {"macintosh"};
        break;
    case 20866:
        names = {"KOI8-R"};
        break;
    default:
        if (codePage >= 28591 && codePage <= 28599)
            names = {"ISO-8859-" + QByteArray::number(codePage - 28590)};
        else
            names = {"windows-" + QByteArray::number(codePage),
                     "cp" + QByteArray::number(codePage)};
    }
    for (const QByteArray &name : names) {
        QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
        if (decoder.isValid())
            return decoder;
    }
    return std::nullopt;
}

bool isLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(unsigned char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

struct GroupState {
    int unicodeSkip = 1; // \ucN: fallback characters that follow each \uN
    bool skipping = false;
    bool operator==(const GroupState &) const = default;
};

class Reader {
public:
    explicit Reader(QByteArrayView data)
        : p(reinterpret_cast<const unsigned char *>(data.data())), end(p + data.size())
    {
        // Most documents are mostly text; the reserve is trimmed again at the end.
        out.reserve(data.size());
    }

    QString read();

private:
    void openGroup();
    bool closeGroup();
    void controlWord();
    void controlSymbol(unsigned char c);
    void dispatch(const Word &word, bool hasParam, int param);
    void textRun();
    void textByte(unsigned char c);
    void append(char16_t c);
    void appendCodePoint(int c);
    void setCodePage(int codePage);
    void flushBytes();

    const unsigned char *p;
    const unsigned char *end;
    QString out;
    GroupState state;
    // Enclosing groups' states, each with how many nested groups share it, so that deep nesting
    // without changes costs no memory.
    std::vector<std::pair<GroupState, qint64>> saved;
    qint64 depth = 0;
    int fallbackLeft = 0;   // characters still to skip after a \uN
    qsizetype cellTab = -1; // where the last \cell put its tab
    int codePage = 1252;
    // For code pages other than 1252: bytes wait here so that double-byte characters, written
    // as two \'hh, are decoded together.
    std::optional<QStringDecoder> decoder;
    QByteArray bytes;
};

QString Reader::read()
{
    // Same prefix as isRtf accepts.
    if (end - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        p += 3;
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;

    while (p < end) {
        switch (*p) {
        case '{':
            ++p;
            openGroup();
            break;
        case '}':
            ++p;
            if (closeGroup())
                p = end; // whatever follows the document is not part of it
            break;
        case '\\':
            ++p;
            controlWord();
            break;
        case '\r':
        case '\n':
            ++p;
            break;
        default:
            textRun();
        }
    }
    flushBytes();
    if (out.capacity() > 2 * out.size() + 1024)
        out.squeeze();
    return std::move(out);
}

void Reader::openGroup()
{
    fallbackLeft = 0;
    ++depth;
    if (!saved.empty() && saved.back().first == state)
        ++saved.back().second;
    else
        saved.emplace_back(state, 1);
}

// True when the outermost group has closed: the document ends there.
bool Reader::closeGroup()
{
    fallbackLeft = 0;
    if (depth == 0)
        return false; // a '}' without its '{'
    --depth;
    state = saved.back().first;
    if (--saved.back().second == 0)
        saved.pop_back();
    return depth == 0;
}

void Reader::controlWord()
{
    if (p == end)
        return;
    if (!isLetter(*p)) {
        controlSymbol(*p++);
        return;
    }
    const unsigned char *start = p;
    while (p < end && isLetter(*p))
        ++p;
    const std::string_view name(reinterpret_cast<const char *>(start), p - start);

    bool negative = false;
    if (end - p >= 2 && *p == '-' && isDigit(p[1])) {
        negative = true;
        ++p;
    }
    bool hasParam = false;
    qint64 value = 0;
    constexpr qint64 kMaxParam = 0x7FFFFFFF;
    while (p < end && isDigit(*p)) {
        hasParam = true;
        value = std::min(value * 10 + (*p - '0'), kMaxParam);
        ++p;
    }
    if (p < end && *p == ' ')
        ++p;

    const int param = int(negative ? -value : value);

    const Word *word = findWord(name);
    if (state.skipping || fallbackLeft > 0) {
        // A control word inside the fallback of a \uN counts as one of its characters. Binary
        // data must be passed over even where nothing is read.
        if (!state.skipping)
            --fallbackLeft;
        if (word && word->action == Binary)
            dispatch(*word, hasParam, param);
        return;
    }
    if (word)
        dispatch(*word, hasParam, param);
}

void Reader::controlSymbol(unsigned char c)
{
    switch (c) {
    case '\\':
    case '{':
    case '}':
        textByte(c);
        return;
    case '\'': {
        // A \' with fewer than two hex digits is dropped together with the digits it has.
        const int hi = p < end ? hexValue(*p) : -1;
        if (hi < 0)
            return;
        ++p;
        const int lo = p < end ? hexValue(*p) : -1;
        if (lo < 0)
            return;
        ++p;
        textByte(static_cast<unsigned char>(hi * 16 + lo));
        return;
    }
    default:
        break;
    }
    if (state.skipping)
        return;
    if (fallbackLeft > 0) {
        --fallbackLeft; // any control symbol counts as one fallback character
        return;
    }
    switch (c) {
    case '*':
        state.skipping = true; // a destination this reader need not know
        break;
    case '~':
        append(0x00A0);
        break;
    case '_':
        append(0x2011);
        break;
    case '\n':
    case '\r':
        append(u'\n'); // a backslash before a line break stands for \par
        break;
    default:
        break; // \- (optional hyphen) and the rest add nothing
    }
}

void Reader::dispatch(const Word &word, bool hasParam, int param)
{
    switch (word.action) {
    case Char:
        append(char16_t(word.value));
        if (word.value == '\t' && word.name != "tab")
            cellTab = out.size() - 1;
        break;
    case Row:
        flushBytes();
        // A row's last cell ends with the row, so its tab becomes the line break.
        if (cellTab >= 0 && cellTab == out.size() - 1)
            out[cellTab] = u'\n';
        else
            append(u'\n');
        cellTab = -1;
        break;
    case Destination:
        state.skipping = true;
        break;
    case Unicode:
        if (!hasParam)
            break;
        appendCodePoint(param < 0 ? param + 0x10000 : param);
        fallbackLeft = state.unicodeSkip;
        break;
    case UnicodeSkip:
        state.unicodeSkip = hasParam ? std::max(param, 0) : 1;
        break;
    case Binary:
        if (hasParam && param > 0)
            p += std::min<qint64>(param, end - p);
        break;
    case CodePage:
        if (hasParam)
            setCodePage(param);
        break;
    case Charset:
        setCodePage(word.value);
        break;
    }
}

// Plain bytes up to the next brace, backslash or line break, taken in one go.
void Reader::textRun()
{
    const unsigned char *start = p;
    if (state.skipping) {
        while (p < end && *p != '{' && *p != '}' && *p != '\\')
            ++p;
        return;
    }
    if (fallbackLeft > 0) {
        textByte(*p++);
        return;
    }
    bool ascii = true;
    while (p < end && *p != '{' && *p != '}' && *p != '\\' && *p != '\r' && *p != '\n') {
        ascii = ascii && *p < 0x80;
        ++p;
    }
    const QByteArrayView run(start, p - start);
    if (decoder)
        bytes.append(run);
    else if (ascii)
        out.append(QLatin1StringView(run));
    else
        out.append(windows1252::decode(run));
}

void Reader::textByte(unsigned char c)
{
    if (state.skipping)
        return;
    if (fallbackLeft > 0) {
        --fallbackLeft;
        return;
    }
    if (decoder)
        bytes.append(char(c));
    else
        out.append(QChar(windows1252::toUnicode(c)));
}

void Reader::append(char16_t c)
{
    flushBytes();
    out.append(QChar(c));
}

void Reader::appendCodePoint(int c)
{
    flushBytes();
    if (c >= 0 && c <= 0xFFFF)
        out.append(QChar(char16_t(c)));
    else if (c > 0xFFFF && c <= 0x10FFFF) // some writers put a whole code point in one \u
        out.append(QStringView(QChar::fromUcs4(char32_t(c))));
    else
        out.append(QChar(QChar::ReplacementCharacter));
}

void Reader::setCodePage(int page)
{
    if (page == codePage)
        return;
    flushBytes();
    codePage = page;
    decoder.reset();
    if (page != 1252)
        decoder = decoderFor(page); // unknown ones stay on 1252
}

void Reader::flushBytes()
{
    if (bytes.isEmpty())
        return;
    const QString text = decoder->decode(bytes);
    out.append(text);
    bytes.truncate(0);
}

} // namespace

bool isRtf(QByteArrayView data)
{
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < data.size() && (data[i] == ' ' || (data[i] >= '\t' && data[i] <= '\r')))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

QString readRtfText(QByteArrayView data)
{
    return Reader(data).read();
}

} // namespace plintex
