#include "platform/audio/MemoryByteSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace plat {

size_t MemoryByteSource::Read(void* buffer, size_t bytes)
{
    size_t n = std::min(bytes, mSize - mPos);
    if (n)
        std::memcpy(buffer, mBytes + mPos, n);
    mPos += n;
    return n;
}

int MemoryByteSource::Seek(int64_t offset, int origin)
{
    int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? int64_t(mPos) : int64_t(mSize);
    if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0 || base + offset > int64_t(mSize))
        return -1;
    mPos = size_t(base + offset);
    return 0;
}

} // namespace plat
