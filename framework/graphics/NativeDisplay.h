#pragma once
#include <cstdint>

namespace Zelk {

// How the display lays out a pixel: depth (16 or 32), the three channel masks
// and, for each, its bit count and shift. All 0 until a display sets them.
struct PixelLayout {
    int mBitDepth = 0;
    uint32_t mRedMask = 0;
    uint32_t mGreenMask = 0;
    uint32_t mBlueMask = 0;
    int mRedBits = 0;
    int mGreenBits = 0;
    int mBlueBits = 0;
    int mRedShift = 0;
    int mGreenShift = 0;
    int mBlueShift = 0;

    // Stores depth and masks and derives bits and shifts (0 and 0 for an
    // empty mask).
    void SetLayout(int bitDepth, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

    // An 8-bit channel value as display bits: ((c >> (8 - bits)) << shift) & mask.
    static uint32_t ToDisplay(uint32_t c, int bits, int shift, uint32_t mask)
    {
        return ((c >> (8 - bits)) << shift) & mask;
    }
    // And back; the low 8 - bits bits are lost.
    static uint32_t FromDisplay(uint32_t pixel, int bits, int shift, uint32_t mask)
    {
        return ((pixel & mask) >> shift) << (8 - bits);
    }
};

// Base of the display: what converting ARGB pixels into display pixels needs.
class NativeDisplay : public PixelLayout {
public:
    virtual ~NativeDisplay() = default;
};

} // namespace Zelk
