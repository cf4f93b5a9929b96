#include "ops/lines/matcher.h"

#include "core/windows1252.h"
#include "ops/lines/automaton.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string_view>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plintex::lines {

namespace {

const char16_t *units(QStringView s)
{
    return reinterpret_cast<const char16_t *>(s.data());
}

/// The greatest suffix of `x` in the order of its units (or the reverse order): the place just
/// before it, and its period.
std::pair<qsizetype, qsizetype> greatestSuffix(const char16_t *x, qsizetype m, bool reverse)
{
    qsizetype before = -1;
    qsizetype j = 0;
    qsizetype k = 1;
    qsizetype period = 1;
    while (j + k < m) {
        const char16_t a = x[j + k];
        const char16_t b = x[before + k];
        if (reverse ? b < a : a < b) {
            j += k;
            k = 1;
            period = j - before;
        } else if (a == b) {
            if (k != period) {
                ++k;
            } else {
                j += period;
                k = 1;
            }
        } else {
            before = j++;
            k = period = 1;
        }
    }
    return {before, period};
}

// The filter checks a candidate place at a cost of up to the text's length; once the checks
// have cost more than this many units per unit of row passed over, plus a slack, the rest of
// the row goes to Two-Way. Texts of four units or fewer never reach that.
constexpr qsizetype kChecksPerUnit = 4;
constexpr qsizetype kCheckSlack = 1024;

} // namespace

Finder::Finder(QString text) : m_text(std::move(text))
{
    const qsizetype m = m_text.size();
    if (m == 0)
        return;
    const char16_t *x = units(m_text);
    if (m < 3) {
        m_split = m - 1;
        m_period = 1;
    } else {
        // The critical factorization: the later of the two greatest suffixes.
        const auto [up, upPeriod] = greatestSuffix(x, m, false);
        const auto [down, downPeriod] = greatestSuffix(x, m, true);
        m_split = std::max(up, down) + 1;
        m_period = up > down ? upPeriod : downPeriod;
    }
    m_periodic = std::equal(x, x + m_split, x + m_period);
    if (!m_periodic)
        m_period = std::max(m_split, m - m_split) + 1;
}

qsizetype Finder::in(QStringView row, qsizetype from) const
{
    // Rows are short: looking for the first character several units at a time and comparing
    // the rest where it stands beats a general substring search.
    const qsizetype m = m_text.size();
    if (m == 0 || from < 0 || from > row.size() - m)
        return -1;
    const char16_t *data = units(row);
    const char16_t *rest = units(m_text) + 1;
    const std::size_t restBytes = std::size_t(m - 1) * sizeof(char16_t);
    const char16_t first = m_text.front().unicode();
    const qsizetype last = row.size() - m; // the last place a match can start
    qsizetype spent = 0;
    const auto tooCostly = [&](qsizetype k) {
        spent += m;
        return spent > kChecksPerUnit * (k - from) + kCheckSlack;
    };
    const auto matchesAt = [&](qsizetype i) {
        return data[i] == first && std::memcmp(data + i + 1, rest, restBytes) == 0;
    };
    qsizetype i = from;
#if defined(__SSE2__)
    // Eight places at a time, where both the first and the last character of the text stand.
    const __m128i firstUnits = _mm_set1_epi16(short(first));
    const __m128i lastUnits = _mm_set1_epi16(short(m_text.back().unicode()));
    for (; i + 7 <= last; i += 8) {
        const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i + m - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(
            _mm_cmpeq_epi16(atFirst, firstUnits), _mm_cmpeq_epi16(atLast, lastUnits))));
        for (; mask != 0; mask &= mask - 1) {
            const qsizetype k = i + std::countr_zero(mask) / 2;
            mask &= mask - 1; // each unit sets two bits
            if (tooCostly(k))
                return linearIn(row, k);
            if (matchesAt(k))
                return k;
        }
    }
#else
    constexpr std::uint64_t ones = 0x0001000100010001ULL;
    constexpr std::uint64_t highs = 0x8000800080008000ULL;
    const std::uint64_t pattern = ones * first;
    for (; i + 3 <= last; i += 4) {
        std::uint64_t v;
        std::memcpy(&v, data + i, sizeof v);
        const std::uint64_t x = v ^ pattern; // a unit equal to `first` gives a zero lane
        if (((x - ones) & ~x & highs) == 0)
            continue;
        for (qsizetype k = i; k < i + 4; ++k) {
            if (data[k] != first)
                continue;
            if (tooCostly(k))
                return linearIn(row, k);
            if (matchesAt(k))
                return k;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (data[i] != first)
            continue;
        if (tooCostly(i))
            return linearIn(row, i);
        if (matchesAt(i))
            return i;
    }
    return -1;
}

qsizetype Finder::linearIn(QStringView row, qsizetype from) const
{
    // Two-Way: the right part of the text is compared left to right, then the left part right
    // to left; a mismatch in the right part shifts by the units matched, one in the left part
    // by the period. A periodic text remembers how much of it the last shift kept matched.
    const qsizetype m = m_text.size();
    const qsizetype n = row.size();
    if (m == 0 || from < 0 || from > n - m)
        return -1;
    const char16_t *x = units(m_text);
    const char16_t *y = units(row);
    qsizetype memory = 0;
    for (qsizetype j = from; j <= n - m;) {
        qsizetype i = std::max(m_split, memory);
        while (i < m && x[i] == y[i + j])
            ++i;
        if (i < m) {
            j += i - m_split + 1;
            memory = 0;
            continue;
        }
        i = m_split - 1;
        while (i >= memory && x[i] == y[i + j])
            --i;
        if (i < memory)
            return j;
        j += m_period;
        memory = m_periodic ? m - m_period : 0;
    }
    return -1;
}

void foldCase(QStringView text, QString &into)
{
    const qsizetype n = text.size();
    into.resize(n);
    const char16_t *in = units(text);
    char16_t *out = reinterpret_cast<char16_t *>(into.data());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (c < 0x80) {
            out[i] = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
            const char32_t whole = QChar::surrogateToUcs4(c, in[i + 1]);
            const char32_t folded = QChar::toCaseFolded(whole);
            const char32_t kept = QChar::requiresSurrogates(folded) ? folded : whole;
            out[i] = QChar::highSurrogate(kept);
            out[++i] = QChar::lowSurrogate(kept);
        } else {
            out[i] = char16_t(QChar::toCaseFolded(char32_t(c)));
        }
    }
}

QString foldCase(QStringView text)
{
    QString folded;
    foldCase(text, folded);
    return folded;
}

bool caseMatters(QStringView text)
{
    // For each folding, whether more than one character of the Basic Multilingual Plane folds
    // to it.
    static const std::vector<bool> shared = [] {
        std::vector<std::uint8_t> count(0x10000, 0);
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const char32_t folded = QChar::toCaseFolded(c);
            if (folded < 0x10000 && count[folded] < 2)
                ++count[folded];
        }
        std::vector<bool> more(0x10000);
        for (std::size_t c = 0; c < more.size(); ++c)
            more[c] = count[c] > 1;
        return more;
    }();
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char32_t folded = QChar::toCaseFolded(char32_t(c.unicode()));
        return c.isSurrogate() || folded >= 0x10000 || shared[folded];
    });
}

CaselessFinder::CaselessFinder(const QString &text)
    : m_fold(caseMatters(text)), m_finder(m_fold ? foldCase(text) : text)
{
}

qsizetype CaselessFinder::in(const QStringList &lines, qsizetype index, qsizetype from)
{
    if (!m_fold)
        return m_finder.in(lines[index], from);
    if (index != m_foldedIndex) {
        foldCase(lines[index], m_folded);
        m_foldedIndex = index;
    }
    return m_finder.in(m_folded, from);
}

qsizetype ByteFinder::in(QByteArrayView row, qsizetype from) const
{
    const qsizetype m = m_text.size();
    const qsizetype n = row.size();
    if (m == 0 || from < 0 || from > n - m)
        return -1;
    const char *data = row.data();
    const char *text = m_text.constData();
    if (m == 1) {
        const void *at = std::memchr(data + from, text[0], std::size_t(n - from));
        return at ? static_cast<const char *>(at) - data : -1;
    }
    // As Finder::in: places where the first and the last byte stand, sixteen at a time, with
    // the C library's linear search taking over where the checks grow costly.
    const qsizetype last = n - m;
    qsizetype spent = 0;
    const auto linear = [&](qsizetype k) {
        const void *at = memmem(data + k, std::size_t(n - k), text, std::size_t(m));
        return at ? static_cast<const char *>(at) - data : qsizetype(-1);
    };
    const auto matchesAt = [&](qsizetype k) {
        return data[k] == text[0] && std::memcmp(data + k + 1, text + 1, std::size_t(m - 1)) == 0;
    };
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i firsts = _mm_set1_epi8(text[0]);
    const __m128i lasts = _mm_set1_epi8(text[m - 1]);
    for (; i + 15 <= last; i += 16) {
        const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i + m - 1));
        for (unsigned mask = unsigned(_mm_movemask_epi8(
                 _mm_and_si128(_mm_cmpeq_epi8(atFirst, firsts), _mm_cmpeq_epi8(atLast, lasts))));
             mask != 0; mask &= mask - 1) {
            const qsizetype k = i + std::countr_zero(mask);
            spent += m;
            if (spent > kChecksPerUnit * (k - from) + kCheckSlack)
                return linear(k);
            if (matchesAt(k))
                return k;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (data[i] != text[0] || data[i + m - 1] != text[m - 1])
            continue;
        spent += m;
        if (spent > kChecksPerUnit * (i - from) + kCheckSlack)
            return linear(i);
        if (matchesAt(i))
            return i;
    }
    return -1;
}

std::optional<QByteArray> toWindows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = windows1252::fromUnicode(text[i].unicode());
        if (byte < 0)
            return std::nullopt;
        bytes[i] = char(byte);
    }
    return bytes;
}

RowFinder::RowFinder(const QString &text)
    : m_characters(text), m_utf8(text.toUtf8()), m_ascii(m_utf8.size() == text.size())
{
    if (std::optional<QByteArray> bytes = toWindows1252(text))
        m_windows1252.emplace(std::move(*bytes));
}

bool RowFinder::foundIn(PassRow &row) const
{
    if (m_characters.isEmpty())
        return false;
    // Valid UTF-8 decodes character for character, and Windows-1252 byte for byte, so the
    // text's bytes stand in the row's exactly where its characters would.
    if (m_ascii) {
        if (const std::optional<QByteArrayView> b = row.asciiSearchBytes())
            return m_utf8.in(*b) >= 0;
    }
    if (const std::optional<RowBytes> b = row.bytes()) {
        if (b->encoding == RowEncoding::Utf8)
            return m_utf8.in(b->bytes) >= 0;
        return m_windows1252 && m_windows1252->in(b->bytes) >= 0;
    }
    return m_characters.in(row.text()) >= 0;
}

namespace {

/// Texts in ASCII without a line break, looked for in a block of rows: the first place any of
/// them stands. Each text is searched only before the best place found so far.
AsciiBlockSearch blockSearch(std::vector<QByteArray> texts)
{
    const auto plain = [](const QByteArray &t) {
        return std::all_of(t.cbegin(), t.cend(),
                           [](char c) { return uchar(c) < 0x80 && c != '\n' && c != '\r'; });
    };
    if (!std::all_of(texts.cbegin(), texts.cend(), plain))
        return {};
    std::vector<ByteFinder> finders;
    for (QByteArray &t : texts) {
        if (!t.isEmpty())
            finders.emplace_back(std::move(t));
    }
    return [finders = std::move(finders)](QByteArrayView block) {
        qsizetype first = -1;
        for (const ByteFinder &f : finders) {
            const qsizetype at =
                f.in(first < 0 ? block : block.first(std::min(block.size(), first + f.size() - 1)));
            if (at >= 0)
                first = at;
        }
        return first;
    };
}

} // namespace

AsciiBlockSearch RowFinder::inBlocks() const
{
    return blockSearch({m_characters.text().toUtf8()});
}

namespace {

/// For each Windows-1252 byte, the byte of its character's case folding (itself where the code
/// page has no such byte); and for each folding the byte that stands for it.
struct Windows1252Folding {
    std::array<char, 256> byteOf{};
    QHash<char16_t, char> forFolding;

    Windows1252Folding()
    {
        for (int b = 0; b < 256; ++b) {
            const char16_t folded =
                char16_t(QChar::toCaseFolded(char32_t(windows1252::toUnicode(uchar(b)))));
            const int to = windows1252::fromUnicode(folded);
            byteOf[std::size_t(b)] = char(to >= 0 ? to : b);
            forFolding.insert(folded, byteOf[std::size_t(b)]);
        }
    }
};

const Windows1252Folding &windows1252Folding()
{
    static const Windows1252Folding folding;
    return folding;
}

/// The characters beyond ASCII whose folding is ASCII, in UTF-8.
const std::vector<std::pair<char16_t, QByteArray>> &foldingToAscii()
{
    static const std::vector<std::pair<char16_t, QByteArray>> found = [] {
        std::vector<std::pair<char16_t, QByteArray>> all;
        for (char32_t c = 0x80; c < 0x10000; ++c) {
            const char32_t folded = QChar::toCaseFolded(c);
            if (!QChar::isSurrogate(c) && folded < 0x80)
                all.emplace_back(char16_t(folded), QString(QChar(c)).toUtf8());
        }
        return all;
    }();
    return found;
}

} // namespace

std::optional<CaselessBytes> CaselessBytes::of(const QString &search, QByteArrayView text,
                                               RowEncoding encoding)
{
    CaselessBytes found;
    found.m_folds = caseMatters(search);
    const QString folded = found.m_folds ? foldCase(search) : search;
    found.m_never = folded.isEmpty() || !QStringView(search).isValidUtf16();
    if (found.m_never)
        return found;
    if (encoding == RowEncoding::Windows1252) {
        // One byte a character: the last unit's place is the last byte.
        QByteArray bytes(folded.size(), Qt::Uninitialized);
        const Windows1252Folding &folding = windows1252Folding();
        for (qsizetype i = 0; i < folded.size(); ++i) {
            const char16_t c = folded[i].unicode();
            const int plain = windows1252::fromUnicode(c);
            const auto standIn = folding.forFolding.constFind(c);
            if (found.m_folds ? standIn == folding.forFolding.cend() : plain < 0) {
                found.m_never = true;
                return found;
            }
            bytes[i] = found.m_folds ? *standIn : char(plain);
        }
        found.m_lastUnit = bytes.size() - 1;
        found.m_finder = ByteFinder(bytes);
        return found;
    }
    if (found.m_folds) {
        if (!std::all_of(folded.cbegin(), folded.cend(),
                         [](QChar c) { return c.unicode() < 0x80; }))
            return std::nullopt;
        for (const auto &[to, bytes] : foldingToAscii()) {
            if (folded.contains(QChar(to)) && text.indexOf(bytes) >= 0)
                return std::nullopt;
        }
    }
    const QByteArray bytes = folded.toUtf8();
    const bool pair = folded.back().isLowSurrogate();
    const qsizetype lastCharacter = folded.size() - (pair ? 2 : 1);
    found.m_lastUnit = QStringView(folded).first(lastCharacter).toUtf8().size() + (pair ? 1 : 0);
    found.m_finder = ByteFinder(bytes);
    return found;
}

qsizetype CaselessBytes::in(QByteArrayView text, QByteArrayView folded, qsizetype from) const
{
    if (m_never)
        return -1;
    return m_finder.in(m_folds ? folded : text, from);
}

QByteArray foldBytes(QByteArrayView text, RowEncoding encoding)
{
    QByteArray folded(text.size(), Qt::Uninitialized);
    const char *in = text.data();
    char *out = folded.data();
    if (encoding == RowEncoding::Windows1252) {
        const std::array<char, 256> &byteOf = windows1252Folding().byteOf;
        for (qsizetype i = 0; i < text.size(); ++i)
            out[i] = byteOf[uchar(in[i])];
        return folded;
    }
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = char(uchar(in[i] - 'A') < 26 ? in[i] + ('a' - 'A') : in[i]);
    return folded;
}

/// Texts of one kind of unit looked for together: one by one when they are few or too many for
/// an automaton.
template <typename Unit, typename OneFinder> struct TextsOf {
    std::vector<OneFinder> finders;
    std::optional<Automaton<Unit>> automaton;

    void build(const std::vector<std::basic_string_view<Unit>> &texts)
    {
        if (texts.size() > 1)
            automaton = Automaton<Unit>::of(texts);
        if (automaton)
            return;
        finders.reserve(texts.size());
        for (const auto &t : texts) {
            if constexpr (std::is_same_v<Unit, char>)
                finders.emplace_back(QByteArray(t.data(), qsizetype(t.size())));
            else
                finders.emplace_back(QStringView(t.data(), qsizetype(t.size())).toString());
        }
    }

    template <typename View> bool foundIn(View row) const
    {
        if (automaton)
            return automaton->foundIn(reinterpret_cast<const Unit *>(row.data()),
                                      std::size_t(row.size()));
        return std::any_of(finders.begin(), finders.end(),
                           [row](const OneFinder &f) { return f.in(row) >= 0; });
    }
};

struct SearchTexts::Tables {
    /// The texts in the bytes of `encoding`, made on first use: most runs never need them.
    const TextsOf<char, ByteFinder> &inBytes(RowEncoding encoding) const;

    std::vector<QString> texts; ///< each text once, in field order
    bool ascii = true;          ///< all of them in ASCII
    TextsOf<char16_t, Finder> characters;
    mutable std::once_flag utf8Once;
    mutable std::once_flag windows1252Once;
    mutable TextsOf<char, ByteFinder> utf8;
    mutable TextsOf<char, ByteFinder> windows1252;
};

SearchTexts::SearchTexts(const QStringList &texts)
{
    auto tables = std::make_shared<Tables>();
    // Each text once, first place kept; the set keeps this linear in the number of texts.
    QSet<QStringView> seen;
    seen.reserve(texts.size());
    tables->texts.reserve(std::size_t(texts.size()));
    std::vector<std::u16string_view> views;
    for (const QString &t : texts) {
        if (t.isEmpty())
            continue;
        const qsizetype before = seen.size();
        seen.insert(t);
        if (seen.size() != before) {
            tables->texts.push_back(t);
            tables->ascii = tables->ascii && std::all_of(t.cbegin(), t.cend(), [](QChar c) {
                                return c.unicode() < 0x80;
                            });
            views.emplace_back(reinterpret_cast<const char16_t *>(t.utf16()),
                               std::size_t(t.size()));
        }
    }
    tables->characters.build(views);
    m_tables = std::move(tables);
}

const TextsOf<char, ByteFinder> &SearchTexts::Tables::inBytes(RowEncoding encoding) const
{
    const bool asUtf8 = encoding == RowEncoding::Utf8;
    std::call_once(asUtf8 ? utf8Once : windows1252Once, [&] {
        // A text Windows-1252 cannot hold cannot stand in a row of it either.
        std::vector<QByteArray> encoded;
        encoded.reserve(texts.size());
        for (const QString &t : texts) {
            std::optional<QByteArray> bytes = asUtf8 ? t.toUtf8() : toWindows1252(t);
            if (bytes)
                encoded.push_back(std::move(*bytes));
        }
        std::vector<std::string_view> views;
        views.reserve(encoded.size());
        for (const QByteArray &b : encoded)
            views.emplace_back(b.constData(), std::size_t(b.size()));
        (asUtf8 ? utf8 : windows1252).build(views);
    });
    return asUtf8 ? utf8 : windows1252;
}

bool SearchTexts::isEmpty() const
{
    return m_tables->texts.empty();
}

bool SearchTexts::foundIn(QStringView row) const
{
    return m_tables->characters.foundIn(row);
}

AsciiBlockSearch SearchTexts::inBlocks() const
{
    // Many texts are better searched row by row by the automaton.
    constexpr std::size_t kMostTexts = 4;
    if (!m_tables->ascii || m_tables->texts.size() > kMostTexts)
        return {};
    std::vector<QByteArray> texts;
    for (const QString &t : m_tables->texts)
        texts.push_back(t.toUtf8());
    return blockSearch(std::move(texts));
}

bool SearchTexts::foundIn(PassRow &row) const
{
    if (m_tables->texts.empty())
        return false;
    if (m_tables->ascii) {
        if (const std::optional<QByteArrayView> b = row.asciiSearchBytes())
            return m_tables->inBytes(RowEncoding::Utf8).foundIn(*b);
    }
    if (const std::optional<RowBytes> b = row.bytes())
        return m_tables->inBytes(b->encoding).foundIn(b->bytes);
    return foundIn(row.text());
}

} // namespace plintex::lines
