#pragma once
#include "platform/audio/ByteSource.h"

#include <cstddef>
#include <cstdint>

namespace plat {

// A sound file's bytes held in memory, read as a byte source. The bytes stay
// the owner's and must outlive the source.
class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const void* bytes, size_t size) : mBytes(static_cast<const uint8_t*>(bytes)), mSize(size) {}
    size_t Read(void* buffer, size_t bytes) override;
    int Seek(int64_t offset, int origin) override;
    int64_t Tell() override { return int64_t(mPos); }

private:
    const uint8_t* mBytes;
    size_t mSize;
    size_t mPos = 0;
};

} // namespace plat
