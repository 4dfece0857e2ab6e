#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace Zelk {

// The bytes of a wave file header as it is written: four-letter chunk ids
// and little-endian numbers, one after the other.
struct WaveBytes {
    std::vector<uint8_t> bytes;

    WaveBytes& Tag(const char* id) { return Raw(id, 4); }
    WaveBytes& U8(uint8_t v) { return Raw(&v, 1); }
    WaveBytes& U16(uint16_t v)
    {
        uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
        return Raw(b, 2);
    }
    WaveBytes& U32(uint32_t v)
    {
        uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        return Raw(b, 4);
    }
    WaveBytes& U64(uint64_t v)
    {
        U32(uint32_t(v));
        return U32(uint32_t(v >> 32));
    }
    WaveBytes& Raw(const void* data, size_t n)
    {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + n);
        return *this;
    }
    WaveBytes& Str(const std::string& s) { return Raw(s.data(), s.size()); }
};

} // namespace Zelk
