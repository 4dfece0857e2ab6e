#pragma once
#include <cstdint>

namespace vorsel {

// A 32-bit pixel target (0xAARRGGBB, rows of stride pixels, top row first).
struct Canvas {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;

    // Fills the rectangle, clipped to the canvas.
    void Fill(int x, int y, int w, int h, uint32_t argb) const;
    // Copies a picture to (x, y), clipped; pixels with alpha 0 are skipped.
    void Blit(int x, int y, const uint32_t* src, int w, int h, int srcStride) const;
};

} // namespace vorsel
