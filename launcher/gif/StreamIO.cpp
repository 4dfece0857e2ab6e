#include "launcher/gif/StreamIO.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"

namespace GIFImage::StreamIO {

void ReadExactly(Stream& s, void* buffer, size_t count)
{
    if (s.Read(buffer, count) != count)
        throw GIFException(Msg::kPrematureEnd);
}

uint8_t ReadUInt8(Stream& s)
{
    uint8_t b;
    ReadExactly(s, &b, 1);
    return b;
}

uint16_t ReadUInt16(Stream& s)
{
    uint8_t b[2];
    ReadExactly(s, b, 2);
    return uint16_t(b[0] | b[1] << 8);
}

int ReadByteOrEnd(Stream& s)
{
    uint8_t b;
    return s.Read(&b, 1) == 1 ? b : -1;
}

int PeekByte(Stream& s)
{
    int b = ReadByteOrEnd(s);
    if (b >= 0)
        s.Seek(s.Position() - 1);
    return b;
}

void Skip(Stream& s, int64_t count)
{
    int64_t target = s.Position() + count;
    if (target > s.Size())
        target = s.Size();
    if (target < 0)
        target = 0;
    s.Seek(target);
}

bool ReadSubBlock(Stream& s, std::vector<uint8_t>& block)
{
    int size = ReadByteOrEnd(s);
    if (size <= 0)
        return false;
    block.resize(static_cast<size_t>(size));
    ReadExactly(s, block.data(), block.size());
    return true;
}

void WriteBytes(Stream& s, const void* buffer, size_t count)
{
    if (s.Write(buffer, count) != count)
        throw GIFException(Msg::kInvalidStream);
}

void WriteUInt8(Stream& s, uint8_t value)
{
    WriteBytes(s, &value, 1);
}

void WriteUInt16(Stream& s, uint16_t value)
{
    uint8_t b[2] = {uint8_t(value), uint8_t(value >> 8)};
    WriteBytes(s, b, 2);
}

void WriteUInt32(Stream& s, uint32_t value)
{
    uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    WriteBytes(s, b, 4);
}

} // namespace GIFImage::StreamIO
