#pragma once

#include <QStringView>

#include <memory>
#include <vector>

namespace plintex::lines {

/// Texts, each with a number of its own, found again in constant time on average. The texts
/// are copied into large shared blocks rather than one allocation each, so that a million
/// distinct rows cost little more than their characters.
class TextTable {
public:
    TextTable();

    /// The number kept for `text`; a text added now starts at 0.
    qint64 &operator[](QStringView text);
    /// The number kept for `text`, or null when it was never added.
    qint64 *find(QStringView text);
    qsizetype size() const { return m_size; }

private:
    struct Slot {
        const char16_t *text = nullptr; ///< null: an empty slot
        qsizetype length = 0;
        size_t hash = 0;
        qint64 value = 0;
    };

    Slot &slotFor(QStringView text, size_t hash);
    const char16_t *keep(QStringView text);
    void grow();

    std::vector<Slot> m_slots;
    qsizetype m_size = 0;
    size_t m_seed;
    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    qsizetype m_blockUsed = 0;
    qsizetype m_blockSize = 0;
};

} // namespace plintex::lines
