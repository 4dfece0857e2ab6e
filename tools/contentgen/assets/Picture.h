#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace contentgen {

// A drawn picture: width x height pixels 0xAARRGGBB (straight alpha), rows
// from the top.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    Picture() = default;
    Picture(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    // Copies src with its top left corner at (x, y), replacing what is there.
    void Put(const Picture& src, int x, int y);
};

} // namespace contentgen
