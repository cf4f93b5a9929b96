#pragma once

#include <QStringView>

#include <memory>
#include <utility>
#include <vector>

namespace plintex::lines {

/// Texts numbered in the order they first come, from 1 on: the same text, the same number.
/// The texts are copied into large shared blocks rather than one allocation each, one byte a
/// character where Latin-1 holds them, so that a million distinct rows cost little more than
/// their characters. A caller with many texts at
/// hand hashes and prefetches a few before it numbers them, so that their look-ups, each a
/// likely cache miss in a large table, overlap.
class TextTable {
public:
    TextTable();

    size_t hashOf(QStringView text) const;
    void prefetch(size_t hash) const;
    /// The number of `text`, whose hash is `hash`.
    qint64 numberOf(QStringView text, size_t hash);
    qsizetype size() const { return m_size; }

private:
    struct Slot {
        const char *text = nullptr; ///< null: an empty slot
        /// In characters: UTF-16 units from `text`, or, when negative, that many Latin-1 bytes.
        qsizetype length = 0;
        size_t hash = 0;
        qint64 number = 0;
    };

    struct Free {
        void operator()(void *memory) const;
    };
    template <typename T> using Memory = std::unique_ptr<T[], Free>;
    /// Room for `count` items, in huge pages when there are enough of them for one.
    template <typename T> static Memory<T> allocate(size_t count, bool zeroed);

    Slot &slotFor(QStringView text, size_t hash);
    /// Keeps a copy of `text`; gives it and its length as a slot holds them.
    std::pair<const char *, qsizetype> keep(QStringView text);
    void grow();

    Memory<Slot> m_slots;
    size_t m_capacity = 0; ///< slots, a power of two
    qsizetype m_size = 0;
    size_t m_seed;
    std::vector<Memory<char>> m_blocks;
    qsizetype m_blockUsed = 0;
    qsizetype m_blockSize = 0;
};

} // namespace plintex::lines
