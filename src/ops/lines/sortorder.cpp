#include "ops/lines/sortorder.h"

#include "ops/common/collation.h"
#include "ops/common/columns.h"
#include "ops/common/parallel.h"
#include "ops/common/trim.h"

#include <algorithm>
#include <numeric>

namespace plintex::lines {
namespace {

using common::forPieces;

/// A row with its collation key beside it, never inside it, so no row text can disturb the
/// order or be cut.
struct Entry {
    const QCollatorSortKey *key;
    qsizetype row;
};

/// The one order of the sort: the key, then the row's place in the text.
bool before(const Entry &a, const Entry &b)
{
    const int c = a.key->compare(*b.key);
    return c < 0 || (c == 0 && a.row < b.row);
}

constexpr qsizetype kKeyPiece = 2048;   // rows keyed between two stop tests (a few ms)
constexpr qsizetype kBucketRows = 2048; // rows a bucket of the sample sort holds on average
constexpr qsizetype kOversample = 8;    // sample rows for each splitter

class RowSorter {
public:
    RowSorter(const RowSource &rows, RunMonitor &monitor) : m_source(rows), m_monitor(monitor)
    {
        for (int w = 0; w < common::workerCount(); ++w)
            m_collators.push_back(common::rowCollator());
    }

    /// Sorts `rows` (ascending row numbers) by their text from `column` on; blank rows go.
    /// False when stopped.
    bool sort(std::vector<qsizetype> &rows, qint64 column)
    {
        const qsizetype n = qsizetype(rows.size());
        // Not every QCollatorSortKey can be made empty, so the keys wait in optionals.
        std::vector<std::optional<QCollatorSortKey>> keys(rows.size());
        const auto keyRows = [&](qsizetype begin, qsizetype end, int worker) {
            QString buffer;
            for (qsizetype i = begin; i < end; ++i) {
                const QStringView text = m_source.text(rows[i], buffer);
                if (common::trimmed(text).isEmpty())
                    continue;
                const QStringView key = text.sliced(common::columnIndex(text, column));
                keys[i] = m_collators[worker].sortKey(QString::fromRawData(key.data(), key.size()));
            }
        };
        if (!forPieces(n, kKeyPiece, keyRows, m_monitor, gauge(0)))
            return false;
        std::vector<Entry> entries;
        entries.reserve(rows.size());
        for (qsizetype i = 0; i < n; ++i) {
            if (keys[i])
                entries.push_back({&*keys[i], rows[i]});
        }
        if (!sampleSort(entries))
            return false;
        rows.resize(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            rows[i] = entries[i].row;
        // Rows whose keys tie go by their whole text: only these are keyed a second time.
        return column <= 1 || sortTies(entries, rows);
    }

private:
    double gauge(int phase) const { return double(phase) * double(m_source.count); }

    bool sortTies(const std::vector<Entry> &entries, std::vector<qsizetype> &rows)
    {
        const qsizetype n = qsizetype(entries.size());
        for (qsizetype first = 0; first < n;) {
            qsizetype end = first + 1;
            while (end < n && entries[end].key->compare(*entries[first].key) == 0)
                ++end;
            if (end - first > 1) {
                std::vector<qsizetype> tied(rows.begin() + first, rows.begin() + end);
                if (!sort(tied, 1))
                    return false;
                std::copy(tied.begin(), tied.end(), rows.begin() + first);
            }
            first = end;
        }
        return true;
    }

    /// Sorts by splitting into buckets along splitters drawn from a sample, then sorting each
    /// bucket on its own: both steps spread over the cores, and a bucket's keys stay in the
    /// cache while it is sorted.
    bool sampleSort(std::vector<Entry> &entries)
    {
        const qsizetype n = qsizetype(entries.size());
        if (n <= 2 * kBucketRows) {
            std::sort(entries.begin(), entries.end(), before);
            return true;
        }
        const qsizetype buckets = std::min<qsizetype>(n / kBucketRows, 1 << 16);
        std::vector<Entry> sample;
        const qsizetype samples = buckets * kOversample;
        sample.reserve(samples);
        for (qsizetype s = 0; s < samples; ++s)
            sample.push_back(entries[s * n / samples]);
        std::sort(sample.begin(), sample.end(), before);
        std::vector<Entry> splitters;
        for (qsizetype b = 1; b < buckets; ++b)
            splitters.push_back(sample[b * kOversample]);

        std::vector<quint32> bucketOf(entries.size());
        const auto place = [&](qsizetype begin, qsizetype end, int) {
            for (qsizetype i = begin; i < end; ++i)
                bucketOf[i] = quint32(
                    std::upper_bound(splitters.begin(), splitters.end(), entries[i], before) -
                    splitters.begin());
        };
        if (!forPieces(n, kKeyPiece, place, m_monitor, gauge(1)))
            return false;
        std::vector<qsizetype> start(buckets + 1, 0);
        for (const quint32 b : bucketOf)
            ++start[b + 1];
        std::partial_sum(start.begin(), start.end(), start.begin());
        {
            std::vector<Entry> scattered(entries.size());
            std::vector<qsizetype> at(start.begin(), start.end() - 1);
            for (qsizetype i = 0; i < n; ++i)
                scattered[at[bucketOf[i]]++] = entries[i];
            entries.swap(scattered);
        }
        const auto sortBuckets = [&](qsizetype begin, qsizetype end, int) {
            for (qsizetype b = begin; b < end; ++b)
                std::sort(entries.begin() + start[b], entries.begin() + start[b + 1], before);
        };
        return forPieces(buckets, 1, sortBuckets, m_monitor, gauge(2), double(kBucketRows));
    }

    const RowSource &m_source;
    RunMonitor &m_monitor;
    std::vector<QCollator> m_collators;
};

} // namespace

std::optional<std::vector<qsizetype>> sortedRows(const RowSource &rows, qint64 column,
                                                 RunMonitor &monitor)
{
    monitor.begin(4.0 * double(rows.count));
    std::vector<qsizetype> order(static_cast<size_t>(rows.count));
    std::iota(order.begin(), order.end(), qsizetype(0));
    RowSorter sorter(rows, monitor);
    if (!sorter.sort(order, column))
        return std::nullopt;
    monitor.advance(3.0 * double(rows.count));
    return order;
}

} // namespace plintex::lines
