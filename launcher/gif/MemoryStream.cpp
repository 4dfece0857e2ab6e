#include "launcher/gif/MemoryStream.h"
#include <algorithm>
#include <cstring>

namespace GIFImage {

MemoryStream::MemoryStream(const void* data, size_t size)
    : fBytes(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size)
{
}

size_t MemoryStream::Read(void* buffer, size_t count)
{
    size_t n = fPosition < fBytes.size() ? std::min(count, fBytes.size() - fPosition) : 0;
    if (n > 0) {
        std::memcpy(buffer, fBytes.data() + fPosition, n);
        fPosition += n;
    }
    return n;
}

size_t MemoryStream::Write(const void* buffer, size_t count)
{
    if (count == 0)
        return 0;
    if (fPosition + count > fBytes.size())
        fBytes.resize(fPosition + count);
    std::memcpy(fBytes.data() + fPosition, buffer, count);
    fPosition += count;
    return count;
}

void MemoryStream::Seek(int64_t position)
{
    fPosition = position < 0 ? 0 : size_t(position);
}

} // namespace GIFImage
