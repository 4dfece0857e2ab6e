#pragma once
#include <cstdint>

namespace GIFImage {

// The LZW encoder's string table: 8009 slots (a prime) of key << 12 | code,
// open addressing with a displacement fixed by the first slot, so every slot
// is reachable.
class THashTable {
public:
    static const int kSize = 8009;
    static const uint32_t kEmpty = 0xFFFFFFFFu;
    static const int kNotFound = 0xFFFF;

    THashTable() { Clear(); }
    void Clear();
    void Insert(uint32_t key, int code);
    int Lookup(uint32_t key) const;

private:
    static int Hash(uint32_t key) { return int((key ^ (key >> 4)) % kSize); }
    static int Displacement(int h) { return h == 0 ? 1 : kSize - h; }
    uint32_t fTable[kSize];
};

} // namespace GIFImage
