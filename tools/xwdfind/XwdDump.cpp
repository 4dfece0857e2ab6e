#include "tools/xwdfind/XwdDump.h"

#include <fstream>
#include <iterator>

namespace xwd {

namespace {

uint32_t BigEndian32(const std::vector<uint8_t>& d, size_t at)
{
    return uint32_t(d[at]) << 24 | uint32_t(d[at + 1]) << 16 | uint32_t(d[at + 2]) << 8 | d[at + 3];
}

} // namespace

bool Read(const char* path, Dump& out, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (d.size() < 100) {
        error = "not a screen dump";
        return false;
    }
    const uint32_t headerSize = BigEndian32(d, 0), format = BigEndian32(d, 8);
    const uint32_t width = BigEndian32(d, 16), height = BigEndian32(d, 20);
    const uint32_t byteOrder = BigEndian32(d, 28), bitsPerPixel = BigEndian32(d, 44);
    const uint32_t bytesPerLine = BigEndian32(d, 48);
    const uint32_t redMask = BigEndian32(d, 56), greenMask = BigEndian32(d, 60), blueMask = BigEndian32(d, 64);
    const uint32_t colors = BigEndian32(d, 76);
    if (format != 2 || (bitsPerPixel != 32 && bitsPerPixel != 24) || width == 0 || height == 0 ||
        width > 16384 || height > 16384) {
        error = "only 24- and 32-bit ZPixmap dumps are read";
        return false;
    }
    const uint32_t bytesPerPixel = bitsPerPixel / 8;
    const size_t pixels = size_t(headerSize) + size_t(colors) * 12;
    if (pixels + size_t(bytesPerLine) * height > d.size() || bytesPerLine < width * bytesPerPixel) {
        error = "dump is cut short";
        return false;
    }
    auto channel = [](uint32_t p, uint32_t mask) {
        if (!mask)
            return 0u;
        int shift = 0;
        while (!((mask >> shift) & 1))
            ++shift;
        return (p & mask) >> shift;
    };
    out.width = int(width);
    out.height = int(height);
    out.rgb.resize(size_t(width) * height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* q = d.data() + pixels + size_t(y) * bytesPerLine + size_t(x) * bytesPerPixel;
            uint32_t p = 0;
            for (uint32_t i = 0; i < bytesPerPixel; ++i)
                p |= uint32_t(q[byteOrder == 0 ? i : bytesPerPixel - 1 - i]) << (8 * i);
            out.rgb[size_t(y) * width + x] =
                channel(p, redMask) << 16 | channel(p, greenMask) << 8 | channel(p, blueMask);
        }
    }
    return true;
}

} // namespace xwd
