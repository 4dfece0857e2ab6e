#include "launcher/gif/THashTable.h"
#include <stdexcept>

namespace GIFImage {

void THashTable::Clear()
{
    for (uint32_t& slot : fTable)
        slot = kEmpty;
}

void THashTable::Insert(uint32_t key, int code)
{
    int h = Hash(key);
    const int step = Displacement(h);
    for (int probes = 0; probes < kSize; ++probes) {
        if (fTable[h] == kEmpty) {
            fTable[h] = key << 12 | uint32_t(code & 0xFFF);
            return;
        }
        h -= step;
        if (h < 0)
            h += kSize;
    }
    throw std::range_error("hash table full");
}

int THashTable::Lookup(uint32_t key) const
{
    int h = Hash(key);
    const int step = Displacement(h);
    for (int probes = 0; probes < kSize; ++probes) {
        uint32_t slot = fTable[h];
        if (slot == kEmpty)
            return kNotFound;
        if ((slot >> 12) == key)
            return int(slot & 0xFFF);
        h -= step;
        if (h < 0)
            h += kSize;
    }
    return kNotFound;
}

} // namespace GIFImage
