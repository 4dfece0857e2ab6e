#pragma once
// The integer blend arithmetic shared by the software drawing routines.
#include <cstdint>

namespace Zelk {
namespace Blend {

// New alpha of a source of alpha a (1..255) over a pixel of alpha da.
inline uint32_t OverAlpha(uint32_t da, uint32_t a)
{
    return da + ((255 - da) * a) / 255;
}

// Source-over with every channel truncated once:
// channel = (D x (256 - w) + s x w) >> 8 with w = a x 255 / n, alpha n.
// A zero new alpha leaves the pixel unchanged.
inline uint32_t OverUnpacked(uint32_t d, uint32_t a, uint32_t sr, uint32_t sg, uint32_t sb)
{
    uint32_t n = OverAlpha(d >> 24, a);
    if (n == 0)
        return d;
    uint32_t w = a * 255 / n;
    uint32_t iw = 256 - w;
    uint32_t r = (((d >> 16) & 0xFF) * iw + sr * w) >> 8;
    uint32_t g = (((d >> 8) & 0xFF) * iw + sg * w) >> 8;
    uint32_t b = ((d & 0xFF) * iw + sb * w) >> 8;
    return (n << 24) | (r << 16) | (g << 8) | b;
}

// Source-over of an unpremultiplied pixel s (the nearest stretch's blend):
// per channel floor(D x (256 - w) / 256) + floor(S x w / 256) with alpha n,
// where onto an opaque pixel n is 255 and w the source alpha, and onto any
// other n = OverAlpha and w = a x 255 / n. An alpha of 0 leaves d as it is.
inline uint32_t OverSeparate(uint32_t d, uint32_t s)
{
    const uint32_t sa = s >> 24;
    if (sa == 0)
        return d;
    const uint32_t da = d >> 24;
    uint32_t n = 255, w = sa;
    if (da != 255) {
        n = OverAlpha(da, sa);
        w = sa * 255 / n;
    }
    const uint32_t iw = 256 - w;
    uint32_t result = n << 24;
    for (int k = 0; k < 3; ++k)
        result |= ((((d >> (8 * k)) & 0xFF) * iw >> 8) + (((s >> (8 * k)) & 0xFF) * w >> 8)) << (8 * k);
    return result;
}

// Destination term D x (256 - w) >> 8 in packed form: red and blue together,
// green alone. Red and green keep their fraction bits for the final mask;
// blue is truncated here.
inline uint32_t DestRB(uint32_t d, uint32_t iw) { return ((d & 0x00FF00FF) * iw) >> 8; }
inline uint32_t DestG(uint32_t d, uint32_t iw) { return ((d & 0x0000FF00) * iw) >> 8; }

// Packed source-over of an unmodulated source: D x (256 - w) >> 8 plus
// S x w >> 8, computed on red+blue and on green, alpha n. Red and green are
// truncated once, blue twice.
inline uint32_t OverPacked(uint32_t d, uint32_t s, uint32_t w, uint32_t n)
{
    uint32_t iw = 256 - w;
    uint32_t rb = (DestRB(d, iw) + (((s & 0x00FF00FF) * w) >> 8)) & 0x00FF00FF;
    uint32_t g = (DestG(d, iw) + (((s & 0x0000FF00) * w) >> 8)) & 0x0000FF00;
    return (n << 24) | rb | g;
}

// Packed source-over of a source modulated by a grey level.
inline uint32_t OverPackedGrey(uint32_t d, uint32_t s, uint32_t w, uint32_t n, uint32_t grey)
{
    uint32_t iw = 256 - w;
    uint32_t srb = (((s & 0x00FF00FF) * grey) >> 8) & 0x00FF00FF;
    uint32_t rb = (DestRB(d, iw) + ((srb * w) >> 8)) & 0x00FF00FF;
    uint32_t g = (DestG(d, iw) + (((s & 0x0000FF00) * w * grey) >> 16)) & 0x0000FF00;
    return (n << 24) | rb | g;
}

// Packed source-over of a source modulated by a colour.
inline uint32_t OverPackedColor(uint32_t d, uint32_t s, uint32_t w, uint32_t n, uint32_t cr, uint32_t cg,
                                uint32_t cb)
{
    uint32_t iw = 256 - w;
    uint32_t r = ((((d & 0x00FF0000) * iw) >> 8) + (((((s & 0x00FF0000) * w) >> 8) * cr) >> 8)) & 0x00FF0000;
    uint32_t g = ((((d & 0x0000FF00) * iw) >> 8) + (((s & 0x0000FF00) * w * cg) >> 16)) & 0x0000FF00;
    uint32_t b = ((((d & 0x000000FF) * iw) >> 8) + (((s & 0x000000FF) * w * cb) >> 16)) & 0x000000FF;
    return (n << 24) | r | g | b;
}

} // namespace Blend
} // namespace Zelk
