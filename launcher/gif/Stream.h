#pragma once
#include <cstddef>
#include <cstdint>

namespace GIFImage {

// A byte stream with a position: what the unit reads from and writes to.
class Stream {
public:
    virtual ~Stream() = default;
    // Reads up to count bytes; answers how many were read.
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Writes count bytes; answers how many were written.
    virtual size_t Write(const void* buffer, size_t count) = 0;
    virtual int64_t Position() const = 0;
    virtual void Seek(int64_t position) = 0;
    virtual int64_t Size() const = 0;
};

} // namespace GIFImage
