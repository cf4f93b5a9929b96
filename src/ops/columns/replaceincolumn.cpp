#include "ops/columns/replaceincolumn.h"

#include "ops/common/bytecolumns.h"
#include "ops/common/params.h"

#include <algorithm>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

using common::kEnd;
using common::kSearch;
using common::kStart;
const QString kReplacement = u"replacement"_s;

/// A band in which a shorter replacement is made pass after pass until the search text is gone.
/// Every unit keeps its place: a replaced occurrence holds the replacement's units at its front
/// and its other units are skipped. A later pass looks only around the previous pass's
/// replacements, since a new occurrence must overlap one (any other stood there before and
/// would have been replaced), so each pass costs what it replaces, not the band's length.
template <typename Index> class ShrinkingBand {
public:
    ShrinkingBand(QStringView band, const lines::Finder &search, QStringView replacement)
        : m_band(band), m_units(band.utf16(), band.utf16() + band.size()), m_search(search),
          m_replacement(replacement), m_next(band.size() + 1), m_previous(band.size() + 1)
    {
        for (std::size_t i = 0; i < m_next.size(); ++i)
            m_next[i] = m_previous[i] = Index(i);
    }

    /// The band once the search text is gone; `found` is its first occurrence.
    QString result(qsizetype found)
    {
        const qsizetype m = m_search.size();
        std::vector<Index> places(std::size_t(m), 0);
        for (; found >= 0; found = m_search.in(m_band, found + m)) {
            for (qsizetype k = 0; k < m; ++k)
                places[std::size_t(k)] = Index(found + k);
            replace(places.data());
        }
        while (!m_newSites.empty())
            nextPass();
        QString kept;
        kept.reserve(m_band.size());
        for (Index i = nextKept(0); i < size(); i = nextKept(i + 1))
            kept.append(QChar(m_units[std::size_t(i)]));
        return kept;
    }

private:
    /// Where an earlier pass replaced: a new occurrence starts from m - 1 kept units before the
    /// first kept unit at or after `low`, through `high`.
    struct Site {
        Index low;
        Index high;
    };

    Index size() const { return Index(m_units.size()); }

    /// The first kept unit at or after `i` (the size past the last); links are shortened as
    /// they are followed.
    Index nextKept(Index i)
    {
        while (m_next[std::size_t(i)] != i) {
            const Index further = m_next[std::size_t(m_next[std::size_t(i)])];
            m_next[std::size_t(i)] = further;
            i = further;
        }
        return i;
    }

    /// The last kept unit at or before `i` (-1 before the first). The links are shifted by one.
    Index previousKept(Index i)
    {
        Index k = i + 1;
        while (m_previous[std::size_t(k)] != k) {
            const Index further = m_previous[std::size_t(m_previous[std::size_t(k)])];
            m_previous[std::size_t(k)] = further;
            k = further;
        }
        return k - 1;
    }

    /// Replaces the occurrence on the kept units `places` and notes where it was.
    void replace(const Index *places)
    {
        const qsizetype m = m_search.size();
        const qsizetype r = m_replacement.size();
        for (qsizetype k = 0; k < r; ++k)
            m_units[std::size_t(places[k])] = m_replacement[k].unicode();
        for (qsizetype k = r; k < m; ++k) {
            const Index i = places[k];
            m_next[std::size_t(i)] = i + 1;
            m_previous[std::size_t(i) + 1] = i;
        }
        if (r > 0) {
            m_newSites.push_back({places[0], places[r - 1]});
            return;
        }
        // Emptied: a new occurrence must take in units from both sides of the gap.
        const Index before = previousKept(places[0]);
        if (before >= 0 && places[m - 1] + 1 < size())
            m_newSites.push_back({Index(places[m - 1] + 1), before});
    }

    void nextPass()
    {
        m_sites.swap(m_newSites);
        m_newSites.clear();
        const qsizetype m = m_search.size();
        Index resume = 0; // the first unit this pass has not yet replaced or passed
        for (const Site &site : m_sites) {
            Index first = nextKept(site.low);
            for (qsizetype k = 1; k < m && first > 0; ++k) {
                const Index before = previousKept(first - 1);
                if (before < 0)
                    break;
                first = before;
            }
            first = nextKept(std::max(first, resume));
            if (first > site.high)
                continue;
            // The units that may start an occurrence, and the m - 1 after them.
            m_window.clear();
            m_places.clear();
            qsizetype beyond = 0;
            for (Index i = first; i < size(); i = nextKept(i + 1)) {
                if (i > site.high && ++beyond == m)
                    break;
                m_window.push_back(m_units[std::size_t(i)]);
                m_places.push_back(i);
            }
            const QStringView window(m_window.data(), qsizetype(m_window.size()));
            for (qsizetype at = m_search.in(window);
                 at >= 0 && m_places[std::size_t(at)] <= site.high;
                 at = m_search.in(window, at + m)) {
                replace(m_places.data() + at);
                resume = m_places[std::size_t(at + m - 1)] + 1;
            }
        }
    }

    QStringView m_band;
    std::vector<char16_t> m_units;
    const lines::Finder &m_search;
    QStringView m_replacement;
    std::vector<Index> m_next;     ///< a kept unit links to itself, a skipped one onwards
    std::vector<Index> m_previous; ///< the same backwards, each shifted by one place
    std::vector<Site> m_sites;     ///< the previous pass's replacements, in order
    std::vector<Site> m_newSites;  ///< this pass's
    std::vector<char16_t> m_window;
    std::vector<Index> m_places;
};

/// Passes over the whole band made in place before the rest is left to ShrinkingBand.
constexpr int kPassesInPlace = 8;

/// One pass, left to right, over the `width` units (or bytes) of the line from `from`, for a
/// replacement no longer than the search text: each occurrence, `found` the first, replaced, the
/// units after it moved down. Gives the band's new width.
template <typename Line, typename Search, typename View>
qsizetype passInPlace(Line &line, qsizetype from, qsizetype width, const Search &search,
                      View replacement, qsizetype found)
{
    auto *band = line.data() + from;
    const View searched(band, width);
    // The writes stay behind `read`, and the search looks only from there on.
    qsizetype read = found;
    auto *write = band + found;
    for (; found >= 0; found = search.in(searched, read)) {
        write = std::copy(band + read, band + found, write);
        write = std::copy(replacement.begin(), replacement.end(), write);
        read = found + search.size();
    }
    write = std::copy(band + read, band + width, write);
    const qsizetype kept = write - band;
    line.remove(from + kept, width - kept);
    return kept;
}

/// For a replacement longer than the search text: `line` with each occurrence in its band from
/// `from`, `found` the first, replaced in one pass left to right (so that every run ends),
/// appended to `out`.
template <typename View, typename Search, typename Out>
void replaceEachOnce(View line, qsizetype from, View band, const Search &search, View replacement,
                     qsizetype found, Out &out)
{
    out.append(line.first(from));
    qsizetype done = 0;
    for (; found >= 0; found = search.in(band, done)) {
        out.append(band.sliced(done, found - done));
        out.append(replacement);
        done = found + search.size();
    }
    out.append(line.sliced(from + done));
}

/// For a replacement shorter than the search text, the passes made in place over the band of
/// `width` from `from`, `found` the first occurrence: true once the text is gone, false (the
/// band and its width as the last pass left them) when it is still there after them all.
template <typename Line, typename Search, typename View>
bool shrinkInPlace(Line &line, qsizetype from, qsizetype &width, const Search &search,
                   View replacement, qsizetype found)
{
    for (int pass = 1;; ++pass) {
        width = passInPlace(line, from, width, search, replacement, found);
        if (replacement.size() == search.size())
            return true;
        found = search.in(View(line.data() + from, width));
        if (found < 0)
            return true;
        if (pass == kPassesInPlace)
            return false;
    }
}

/// The same replacement made on a row's bytes and appended to `out`, where they tell what the
/// characters would: false, nothing appended, for a row whose band edge falls between the halves
/// of a character of two units (which only its units show), or that needs more passes than are
/// made in place.
bool replaceInByteBand(RowBytes row, const lines::ByteFinder &search, QByteArrayView replacement,
                       qint64 start, qint64 end, QByteArray &out)
{
    common::ByteColumns columns(row);
    const qsizetype from = columns.edge(start - 1);
    const qsizetype to = columns.edge(end - 1);
    if (columns.splitPair())
        return false;
    const QByteArrayView band = row.bytes.sliced(from, to - from);
    qsizetype found = search.in(band);
    const qsizetype m = search.size();
    if (found < 0) {
        appendBytes(out, row.bytes);
        return true;
    }
    if (replacement.size() > m) {
        replaceEachOnce(row.bytes, from, band, search, replacement, found, out);
        return true;
    }
    const qsizetype at = out.size();
    appendBytes(out, row.bytes);
    qsizetype width = to - from;
    if (shrinkInPlace(out, at + from, width, search, replacement, found))
        return true;
    out.resize(at);
    return false;
}

/// Replace in Column on the rows' bytes where the search text and the replacement can be put in
/// the row's encoding; a text in ASCII is the same bytes whatever a guessed encoding proves.
ByteTransform inByteBands(const QString &search, const QString &replacement, qint64 start,
                          qint64 end)
{
    const common::EncodedText searched(search);
    const common::EncodedText replacing(replacement);
    const bool ascii = searched.utf8 && searched.utf8 == searched.windows1252 && replacing.utf8 &&
                       replacing.utf8 == replacing.windows1252;
    std::optional<lines::ByteFinder> inUtf8;
    std::optional<lines::ByteFinder> inWindows1252;
    if (searched.utf8)
        inUtf8.emplace(*searched.utf8);
    if (searched.windows1252)
        inWindows1252.emplace(*searched.windows1252);
    return [=](RowBytes row, QByteArray &out) {
        const RowEncoding encoding = ascii ? row.encoding : settledEncoding(row);
        const auto &finder = encoding == RowEncoding::Utf8 ? inUtf8 : inWindows1252;
        const QByteArray *by = replacing.in(encoding);
        return finder && by && replaceInByteBand(row, *finder, *by, start, end, out);
    };
}

PassPlan plan(const PassStart &start)
{
    const qint64 from = start.params.number(kStart);
    const qint64 end = start.params.number(kEnd);
    if (from == 0 || end == 0)
        return PassPlan::without(RunResult::refused(u"Column parameters incorrectly set."_s));
    if (end <= from)
        return PassPlan::without(
            RunResult::refused(u"Column End position must\rbe greater than Start position."_s));
    const QString search = start.params.text(kSearch);
    if (search.isEmpty() || search.contains(u'\n') || search.contains(u'\r')) {
        // Nothing that a band can hold: the text stays, and no history remembers the search.
        RunResult result;
        result.saveHistories = false;
        return PassPlan::without(result);
    }
    const QString replacement = start.params.text(kReplacement);
    PassPlan plan = planOf(
        [=, finder = lines::Finder(search), bytes = inByteBands(search, replacement, from, end)](
            qint64, PassRow &row, PassOutput &out) {
            if (out.keepRewritten(bytes))
                return true;
            if (replaceInBand(row.text(), finder, replacement, from, end))
                out.keepRewritten();
            else
                out.keep();
            return true;
        });
    plan.outputTexts = {replacement};
    plan.rowsApart = true;
    return plan;
}

} // namespace

bool replaceInBand(QString &line, const lines::Finder &search, QStringView replacement,
                   qint64 start, qint64 end)
{
    if (search.isEmpty() || start < 1 || end <= start || line.size() < start)
        return false;
    const qsizetype from = start - 1;
    qsizetype width = std::min<qint64>(end - start, line.size() - from);
    const QStringView band = QStringView(line).sliced(from, width);
    qsizetype found = search.in(band);
    if (found < 0)
        return false;
    const qsizetype m = search.size();
    if (replacement.size() > m) {
        // The line is built anew at once.
        QString out;
        out.reserve(line.size() + replacement.size() - m);
        replaceEachOnce(QStringView(line), from, band, search, replacement, found, out);
        line = std::move(out);
        return true;
    }
    // A replacement as long gets one pass, made in place. A shorter one is made again until the
    // search text is gone (two blanks to one collapses a run): in place for the first passes,
    // which are all that most bands need, then around the replacements only.
    if (shrinkInPlace(line, from, width, search, replacement, found))
        return true;
    const QStringView now = QStringView(line).sliced(from, width);
    found = search.in(now);
    line.replace(from, width,
                 width < std::numeric_limits<qint32>::max()
                     ? ShrinkingBand<qint32>(now, search, replacement).result(found)
                     : ShrinkingBand<qsizetype>(now, search, replacement).result(found));
    return true;
}

FunctionBody replaceInColumn()
{
    return {
        .description = u"Replaces a text by another only inside a band of columns of every "
                       u"line."_s,
        .panel =
            {
                runButton(),
                common::historyField(kSearch, u"Replace this data:"_s, 6),
                common::historyField(kReplacement, u"with this data:"_s, 7),
                common::columnField(kStart, u"in column:"_s),
                common::columnField(kEnd, u"to"_s),
            },
        .rowPass = plan,
        .menuTargets = {{MenuEntry::BeginColumn, kStart, CaretSource::Column},
                        {MenuEntry::EndColumn, kEnd, CaretSource::Column}},
        .example = {.title = u"Replace data within a specified column (999 changed to 000 in "
                             u"column 2)"_s,
                    .before = u"Line1 999 111\r\nLine2 222 222\r\nLine3 333 333\r\nLine4 999 "
                              u"999\r\nLine5 555 555"_s,
                    .after = u"Line1 000 111\r\nLine2 222 222\r\nLine3 333 333\r\nLine4 000 "
                             u"999\r\nLine5 555 555"_s,
                    .params = {{kSearch, u"999"_s},
                               {kReplacement, u"000"_s},
                               {kStart, u"7"_s},
                               {kEnd, u"10"_s}}},
    };
}

} // namespace plintex::columns
