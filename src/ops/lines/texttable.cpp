#include "ops/lines/texttable.h"

#include <QHash>

#include <cstring>

namespace plintex::lines {
namespace {

constexpr qsizetype kBlockSize = qsizetype(1) << 20; // characters
constexpr size_t kFirstSlots = 1024;

} // namespace

// A seed chosen for each run of the program, so that no text can be made to collide on purpose.
TextTable::TextTable() : m_slots(kFirstSlots), m_seed(QHashSeed::globalSeed()) {}

TextTable::Slot &TextTable::slotFor(QStringView text, size_t hash)
{
    // Linear probing over a power-of-two table that is at most half full.
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot &slot = m_slots[i];
        if (!slot.text)
            return slot;
        if (slot.hash == hash && slot.length == text.size() &&
            std::memcmp(slot.text, text.utf16(), size_t(text.size()) * sizeof(char16_t)) == 0)
            return slot;
    }
}

qint64 &TextTable::operator[](QStringView text)
{
    const size_t hash = qHash(text, m_seed);
    Slot *slot = &slotFor(text, hash);
    if (slot->text)
        return slot->value;
    if (size_t(m_size + 1) * 2 > m_slots.size()) {
        grow();
        slot = &slotFor(text, hash);
    }
    *slot = {keep(text), text.size(), hash, 0};
    ++m_size;
    return slot->value;
}

qint64 *TextTable::find(QStringView text)
{
    Slot &slot = slotFor(text, qHash(text, m_seed));
    return slot.text ? &slot.value : nullptr;
}

const char16_t *TextTable::keep(QStringView text)
{
    // An empty text still needs a place of its own: a null pointer marks an empty slot.
    const qsizetype need = std::max<qsizetype>(text.size(), 1);
    if (need > m_blockSize - m_blockUsed) {
        const qsizetype size = std::max(need, kBlockSize);
        m_blocks.push_back(std::make_unique_for_overwrite<char16_t[]>(size_t(size)));
        m_blockSize = size;
        m_blockUsed = 0;
    }
    char16_t *at = m_blocks.back().get() + m_blockUsed;
    std::memcpy(at, text.utf16(), size_t(text.size()) * sizeof(char16_t));
    m_blockUsed += need;
    return at;
}

void TextTable::grow()
{
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    const size_t mask = m_slots.size() - 1;
    for (const Slot &slot : old) {
        if (!slot.text)
            continue;
        size_t i = slot.hash & mask;
        while (m_slots[i].text)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

} // namespace plintex::lines
