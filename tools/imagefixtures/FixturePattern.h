#pragma once
#include <cstdint>

// The pixels of the image fixtures, shared by the program that makes them
// and the tests that read them back: 0xAARRGGBB with every channel varying.
namespace fixtures {

inline uint32_t PatternPixel(int x, int y)
{
    uint32_t r = uint32_t(x * 50 + 5) & 0xFF;
    uint32_t g = uint32_t(y * 60 + 7) & 0xFF;
    uint32_t b = uint32_t((x + y) * 20 + 9) & 0xFF;
    uint32_t a = uint32_t(255 - x * 20 - y * 10) & 0xFF;
    return a << 24 | r << 16 | g << 8 | b;
}

// Palette indices of the large GIF fixture: a fixed pseudo-random sequence
// that fills the LZW table and keeps decoding after it is full.
inline uint8_t NoiseIndex(int i)
{
    uint32_t s = uint32_t(i) * 2654435761u;
    s ^= s >> 13;
    s *= 0x5bd1e995u;
    s ^= s >> 15;
    return uint8_t(s);
}

// Colour of a GIF palette entry.
inline uint32_t PaletteColour(int i)
{
    return 0xFF000000u | uint32_t(i) << 16 | uint32_t(255 - i) << 8 | uint32_t(i * 7 & 0xFF);
}

// A smooth opaque picture that survives JPEG coding closely.
inline uint32_t SmoothPixel(int x, int y)
{
    return 0xFF000000u | uint32_t(40 + x * 8) << 16 | uint32_t(60 + y * 16) << 8 | 150u;
}

const int kCmykR = 200, kCmykG = 100, kCmykB = 50;

} // namespace fixtures
