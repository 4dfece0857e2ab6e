#include "launcher/gif/TGIFWriter.h"
#include "launcher/gif/StreamIO.h"

namespace GIFImage {

void TGIFWriter::Write(const void* buffer, size_t count)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    for (size_t i = 0; i < count; ++i)
        WriteByte(bytes[i]);
}

void TGIFWriter::Flush()
{
    if (fBufferCount > 1) {
        fBuffer[0] = uint8_t(fBufferCount - 1);
        StreamIO::WriteBytes(fStream, fBuffer, size_t(fBufferCount));
    }
    fBufferCount = 1;
    fOutputDirty = false;
}

} // namespace GIFImage
