#pragma once
#include "launcher/gif/Stream.h"
#include <cstdint>

namespace GIFImage {

// Packs bytes into data sub-blocks of 255 bytes (the last one shorter).
// Flush must be called at the end: a destructor cannot report a failed write.
class TGIFWriter {
public:
    explicit TGIFWriter(Stream& s) : fStream(s) {}
    void Write(const void* buffer, size_t count);
    void WriteByte(uint8_t value)
    {
        fBuffer[fBufferCount++] = value;
        fOutputDirty = true;
        if (fBufferCount == 256)
            Flush();
    }
    void Flush();

private:
    Stream& fStream;
    uint8_t fBuffer[256];
    int fBufferCount = 1;
    bool fOutputDirty = false;
};

} // namespace GIFImage
