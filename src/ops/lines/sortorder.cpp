#include "ops/lines/sortorder.h"

#include "ops/common/collation.h"
#include "ops/common/columns.h"
#include "ops/common/parallel.h"
#include "ops/common/trim.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <thread>

namespace plintex::lines {
namespace {

using common::forPieces;

/// The rows' collation keys, kept beside the rows, never inside them, so that no row text can
/// disturb the order or be cut. They lie in the order of the rows, so a key's place tells its
/// row; a blank row has none. A QCollatorSortKey cannot be empty, so each is built in place.
class KeyTable {
public:
    explicit KeyTable(qsizetype count)
        : m_keys(std::allocator<QCollatorSortKey>().allocate(size_t(count))),
          m_made(size_t(count), 0)
    {
    }
    ~KeyTable()
    {
        // A million keys take tens of milliseconds to free, which a stop must not wait for
        // alone: the second core frees half of them.
        const size_t n = m_made.size();
        const size_t half = n > (1 << 16) ? n / 2 : n;
        {
            std::jthread other;
            if (half < n)
                other = std::jthread([this, half, n] { destroy(half, n); });
            destroy(0, half);
        }
        std::allocator<QCollatorSortKey>().deallocate(m_keys, n);
    }
    KeyTable(const KeyTable &) = delete;
    KeyTable &operator=(const KeyTable &) = delete;

    /// Rows of different threads go to different places, so no lock is needed.
    void make(qsizetype row, const QCollatorSortKey &key)
    {
        std::construct_at(m_keys + row, key);
        m_made[row] = 1;
    }
    bool has(qsizetype row) const { return m_made[row]; }
    const QCollatorSortKey *at(qsizetype row) const { return m_keys + row; }
    qsizetype rowOf(const QCollatorSortKey *key) const { return key - m_keys; }

private:
    void destroy(size_t begin, size_t end)
    {
        for (size_t i = begin; i < end; ++i) {
            if (m_made[i])
                std::destroy_at(m_keys + i);
        }
    }

    QCollatorSortKey *m_keys;
    std::vector<quint8> m_made;
};

using Entry = const QCollatorSortKey *;

/// The one order of the sort: the key, then the row's place in the text.
bool before(Entry a, Entry b)
{
    const int c = a->compare(*b);
    return c < 0 || (c == 0 && a < b);
}

bool sameKey(Entry a, Entry b)
{
    return a->compare(*b) == 0;
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

    /// The rows that are not blank, all of them or those of `subset` (ascending), in the order
    /// of their text from `column` on. Nothing when stopped.
    std::optional<std::vector<qsizetype>> sort(const std::vector<qsizetype> *subset, qint64 column)
    {
        const qsizetype n = subset ? qsizetype(subset->size()) : m_source.count;
        const auto rowAt = [subset](qsizetype i) { return subset ? (*subset)[i] : i; };
        KeyTable keys(n);
        const auto keyRows = [&](qsizetype begin, qsizetype end, int worker) {
            QString buffer;
            for (qsizetype i = begin; i < end; ++i) {
                const QStringView text = m_source.text(rowAt(i), buffer);
                if (common::trimmed(text).isEmpty())
                    continue;
                const QStringView key = text.sliced(common::columnIndex(text, column));
                keys.make(
                    i, m_collators[worker].sortKey(QString::fromRawData(key.data(), key.size())));
            }
        };
        if (!forPieces(n, kKeyPiece, keyRows, m_monitor, gauge(0)))
            return std::nullopt;
        std::vector<Entry> entries;
        entries.reserve(size_t(n));
        for (qsizetype i = 0; i < n; ++i) {
            if (keys.has(i))
                entries.push_back(keys.at(i));
        }
        if (!sampleSort(entries))
            return std::nullopt;
        std::vector<qsizetype> rows(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            rows[i] = rowAt(keys.rowOf(entries[i]));
        // Rows whose keys tie go by their whole text: only these are keyed a second time.
        if (column > 1 && !sortTies(entries, rows))
            return std::nullopt;
        return rows;
    }

private:
    double gauge(int phase) const { return double(phase) * double(m_source.count); }

    bool sortTies(const std::vector<Entry> &entries, std::vector<qsizetype> &rows)
    {
        const qsizetype n = qsizetype(entries.size());
        for (qsizetype first = 0; first < n;) {
            qsizetype end = first + 1;
            while (end < n && sameKey(entries[end], entries[first]))
                ++end;
            if (end - first > 1) {
                const std::vector<qsizetype> tied(rows.begin() + first, rows.begin() + end);
                const std::optional<std::vector<qsizetype>> byRow = sort(&tied, 1);
                if (!byRow)
                    return false;
                std::copy(byRow->begin(), byRow->end(), rows.begin() + first);
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
    RowSorter sorter(rows, monitor);
    std::optional<std::vector<qsizetype>> order = sorter.sort(nullptr, column);
    if (order)
        monitor.advance(3.0 * double(rows.count));
    return order;
}

} // namespace plintex::lines
