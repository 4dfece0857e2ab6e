#pragma once
#include <cstddef>
#include <cstdint>

namespace plat {

// The bytes of one sound file as the sound readers see them: read, seek with
// the origins of fseek (0 start, 1 current, 2 end) and tell. Each user adapts
// its own files (the archive layer, the sound library's file callbacks).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The bytes read, fewer at the end of the file.
    virtual size_t Read(void* buffer, size_t bytes) = 0;
    // 0 on success, -1 when the position cannot be reached.
    virtual int Seek(int64_t offset, int origin) = 0;
    // The position, or -1.
    virtual int64_t Tell() = 0;

    bool ReadExact(void* buffer, size_t bytes) { return Read(buffer, bytes) == bytes; }
    // The bytes between the position and the end of the file.
    uint64_t BytesLeft();
};

} // namespace plat
