#include "platform/audio/WaveReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace plat {

namespace {

bool ReadU16(ByteSource& s, uint16_t& v)
{
    uint8_t b[2];
    if (!s.ReadExact(b, 2))
        return false;
    v = uint16_t(b[0] | b[1] << 8);
    return true;
}

bool ReadU32(ByteSource& s, uint32_t& v)
{
    uint8_t b[4];
    if (!s.ReadExact(b, 4))
        return false;
    v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
}

bool ReadU64(ByteSource& s, uint64_t& v)
{
    uint32_t lo, hi;
    if (!ReadU32(s, lo) || !ReadU32(s, hi))
        return false;
    v = uint64_t(hi) << 32 | lo;
    return true;
}

} // namespace

bool WaveReader::ReadHeader(ByteSource& f, WaveHeader& h, const DependencyCheck& check)
{
    h = WaveHeader();
    char tag[4];
    uint32_t riffSize;
    if (!f.ReadExact(tag, 4) || std::memcmp(tag, "RIFF", 4) != 0)
        return false;
    if (!ReadU32(f, riffSize) || !f.ReadExact(tag, 4) || std::memcmp(tag, "WAVE", 4) != 0)
        return false;

    for (;;) {
        uint32_t chunkSize;
        if (!f.ReadExact(tag, 4) || !ReadU32(f, chunkSize))
            return false;
        int64_t chunkStart = f.Tell();
        if (std::memcmp(tag, "fmt ", 4) == 0) {
            uint16_t formatTag, blockAlign;
            uint32_t avgBytes;
            if (!ReadU16(f, formatTag) || !ReadU16(f, h.channels) || !ReadU32(f, h.rate) || !ReadU32(f, avgBytes) ||
                !ReadU16(f, blockAlign) || !ReadU16(f, h.bits))
                return false;
            if (formatTag != 1)
                return false;
        } else if (std::memcmp(tag, "dep ", 4) == 0 && check) {
            uint16_t length;
            if (!ReadU16(f, length))
                return false;
            uint16_t kept = std::min<uint16_t>(length, 255);
            char name[256] = {};
            if (!f.ReadExact(name, kept))
                return false;
            // A longer name is cut to 255 bytes; the rest is skipped so the
            // time is read from where it was written.
            if (length > kept && f.Seek(length - kept, SEEK_CUR) != 0)
                return false;
            uint64_t storedTime;
            if (!ReadU64(f, storedTime))
                return false;
            if (!check(std::string(name, strnlen(name, kept)), storedTime))
                return false;
        } else if (std::memcmp(tag, "xor ", 4) == 0) {
            if (!f.ReadExact(&h.key, 1))
                return false;
        } else if (std::memcmp(tag, "data", 4) == 0) {
            h.dataSize = chunkSize;
            break;
        }
        if (chunkStart < 0 || f.Seek(chunkStart + int64_t(chunkSize), SEEK_SET) != 0)
            return false;
    }
    return h.channels != 0 && h.rate != 0 && (h.bits == 8 || h.bits == 16) && h.dataSize <= f.BytesLeft();
}

bool WaveReader::ReadData(ByteSource& src, const WaveHeader& header, uint8_t* dst)
{
    size_t got = src.Read(dst, header.dataSize);
    if (header.key)
        for (uint32_t i = 0; i < header.dataSize; ++i)
            dst[i] ^= header.key;
    return got == header.dataSize;
}

} // namespace plat
