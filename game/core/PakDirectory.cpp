#include "game/core/PakDirectory.h"

#include <cstring>

namespace {

// Reads the scrambled archive from the front; every read checks what is left.
class PakReader {
public:
    PakReader(const uint8_t* data, uint64_t size) : mData(data), mSize(size) {}

    bool Bytes(void* out, size_t n)
    {
        if (mSize - mPos < n)
            return false;
        DescramblePak(static_cast<uint8_t*>(out), mData + mPos, n);
        mPos += n;
        return true;
    }
    template <class T>
    bool Number(T& value)
    {
        uint8_t b[sizeof(T)];
        if (!Bytes(b, sizeof(T)))
            return false;
        value = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            value |= T(b[i]) << (8 * i);
        return true;
    }
    uint64_t Position() const { return mPos; }

private:
    const uint8_t* mData;
    uint64_t mSize;
    uint64_t mPos = 0;
};

} // namespace

void DescramblePak(uint8_t* dst, const uint8_t* src, size_t n)
{
    // Sixteen-byte vectors, four at a time (unaligned loads and stores).
    typedef uint8_t Vec16 __attribute__((vector_size(16)));
    Vec16 key;
    std::memset(&key, kPakKey, sizeof key);
    size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        Vec16 v[4];
        std::memcpy(v, src + i, sizeof v);
        v[0] ^= key;
        v[1] ^= key;
        v[2] ^= key;
        v[3] ^= key;
        std::memcpy(dst + i, v, sizeof v);
    }
    for (; i < n; ++i)
        dst[i] = uint8_t(src[i] ^ kPakKey);
}

bool ParsePakDirectory(const uint8_t* data, uint64_t size, std::vector<PakDirectoryEntry>& entries)
{
    entries.clear();
    if (size > kPakMaxArchiveSize || (size > 0 && !data))
        return false;
    PakReader reader(data, size);
    uint32_t magic = 0, version = 0;
    if (!reader.Number(magic) || magic != kPakMagic || !reader.Number(version) || version != kPakVersion)
        return false;
    std::vector<PakDirectoryEntry> found;
    uint64_t dataSize = 0;
    for (;;) {
        uint8_t flags = 0;
        if (!reader.Number(flags))
            return false; // the end byte is missing: a cut directory
        if (flags & kPakEndFlag)
            break;
        uint8_t length = 0;
        PakDirectoryEntry entry;
        if (!reader.Number(length))
            return false;
        entry.name.resize(length);
        if (!reader.Bytes(&entry.name[0], length) || !reader.Number(entry.size) || !reader.Number(entry.fileTime))
            return false;
        entry.offset = uint32_t(dataSize); // below the archive size, checked below
        dataSize += entry.size;
        if (dataSize > size)
            return false;
        found.push_back(std::move(entry));
    }
    const uint64_t directoryLength = reader.Position();
    if (directoryLength + dataSize > size)
        return false; // an entry's data reaches past the end
    for (PakDirectoryEntry& entry : found)
        entry.offset += uint32_t(directoryLength);
    entries = std::move(found);
    return true;
}
