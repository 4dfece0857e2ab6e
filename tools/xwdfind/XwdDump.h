#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A screen dump made by xwd (24- and 32-bit ZPixmap), as 0xRRGGBB pixels.
namespace xwd {

struct Dump {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb; // 0xRRGGBB, rows from the top

    uint32_t At(int x, int y) const { return rgb[size_t(y) * size_t(width) + size_t(x)]; }
};

// False with a reason when the file is no dump this reads.
bool Read(const char* path, Dump& out, std::string& error);

} // namespace xwd
