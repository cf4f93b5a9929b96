#include "ops/lines/texttable.h"

#include <QHash>

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace plintex::lines {
namespace {

constexpr size_t kHugePage = size_t(2) << 20;
constexpr qsizetype kBlockSize = qsizetype(kHugePage / sizeof(char16_t)); // characters
constexpr size_t kFirstSlots = 1024;

} // namespace

// A seed chosen for each run of the program, so that no text can be made to collide on purpose.
TextTable::TextTable()
    : m_slots(allocate<Slot>(kFirstSlots, true)), m_capacity(kFirstSlots),
      m_seed(QHashSeed::globalSeed())
{
}

void TextTable::Free::operator()(void *memory) const
{
    std::free(memory);
}

// Looked up at random, a table of millions of texts misses the processor's address cache on
// nearly every look-up in ordinary pages, far less often in huge ones.
template <typename T> TextTable::Memory<T> TextTable::allocate(size_t count, bool zeroed)
{
    size_t bytes = count * sizeof(T);
    const bool huge = bytes >= kHugePage;
    if (huge)
        bytes = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void *memory = huge ? std::aligned_alloc(kHugePage, bytes) : std::malloc(bytes);
    if (!memory)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    if (huge)
        ::madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    if (zeroed)
        std::memset(memory, 0, bytes);
    return Memory<T>(static_cast<T *>(memory));
}

TextTable::Slot &TextTable::slotFor(QStringView text, size_t hash)
{
    // Linear probing over a power-of-two table that is at most half full.
    const size_t mask = m_capacity - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot &slot = m_slots[i];
        if (!slot.text)
            return slot;
        if (slot.hash == hash && slot.length == text.size() &&
            std::memcmp(slot.text, text.utf16(), size_t(text.size()) * sizeof(char16_t)) == 0)
            return slot;
    }
}

size_t TextTable::hashOf(QStringView text) const
{
    return qHash(text, m_seed);
}

void TextTable::prefetch(size_t hash) const
{
    __builtin_prefetch(&m_slots[hash & (m_capacity - 1)]);
}

qint64 TextTable::numberOf(QStringView text, size_t hash)
{
    Slot *slot = &slotFor(text, hash);
    if (slot->text)
        return slot->number;
    if (size_t(m_size + 1) * 2 > m_capacity) {
        grow();
        slot = &slotFor(text, hash);
    }
    ++m_size;
    *slot = {keep(text), text.size(), hash, m_size};
    return m_size;
}

const char16_t *TextTable::keep(QStringView text)
{
    // An empty text still needs a place of its own: a null pointer marks an empty slot.
    const qsizetype need = std::max<qsizetype>(text.size(), 1);
    if (need > m_blockSize - m_blockUsed) {
        const qsizetype size = std::max(need, kBlockSize);
        m_blocks.push_back(allocate<char16_t>(size_t(size), false));
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
    Memory<Slot> old = allocate<Slot>(m_capacity * 2, true);
    std::swap(old, m_slots);
    const size_t oldCapacity = m_capacity;
    m_capacity *= 2;
    const size_t mask = m_capacity - 1;
    for (size_t k = 0; k < oldCapacity; ++k) {
        const Slot &slot = old[k];
        if (!slot.text)
            continue;
        size_t i = slot.hash & mask;
        while (m_slots[i].text)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

} // namespace plintex::lines
