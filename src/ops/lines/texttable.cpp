#include "ops/lines/texttable.h"

#include <QHash>

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace plintex::lines {
namespace {

constexpr size_t kHugePage = size_t(2) << 20;
constexpr qsizetype kBlockSize = qsizetype(kHugePage); // bytes
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
        if (slot.hash != hash)
            continue;
        if (slot.length < 0 ? QLatin1StringView(slot.text, -slot.length) == text
                            : slot.length == text.size() &&
                                  std::memcmp(slot.text, text.utf16(),
                                              size_t(text.size()) * sizeof(char16_t)) == 0)
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
    const auto [kept, length] = keep(text);
    *slot = {kept, length, hash, m_size};
    return m_size;
}

std::pair<const char *, qsizetype> TextTable::keep(QStringView text)
{
    const bool narrow =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
    const qsizetype bytes = text.size() * (narrow ? 1 : qsizetype(sizeof(char16_t)));
    m_blockUsed += m_blockUsed % 2; // UTF-16 wants even places
    // An empty text still needs a place of its own: a null pointer marks an empty slot.
    const qsizetype need = std::max<qsizetype>(bytes, 1);
    if (need > m_blockSize - m_blockUsed) {
        const qsizetype size = std::max(need, kBlockSize);
        m_blocks.push_back(allocate<char>(size_t(size), false));
        m_blockSize = size;
        m_blockUsed = 0;
    }
    char *at = m_blocks.back().get() + m_blockUsed;
    if (narrow)
        std::transform(text.begin(), text.end(), at, [](QChar c) { return char(c.unicode()); });
    else
        std::memcpy(at, text.utf16(), size_t(bytes));
    m_blockUsed += need;
    return {at, narrow ? -text.size() : text.size()};
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
