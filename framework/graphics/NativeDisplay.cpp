#include "framework/graphics/NativeDisplay.h"

namespace Zelk {

namespace {

void MaskBitsAndShift(uint32_t mask, int& bits, int& shift)
{
    bits = 0;
    shift = 0;
    if (mask == 0)
        return;
    int low = __builtin_ctz(mask);
    int high = 31 - __builtin_clz(mask);
    shift = low;
    bits = high - low + 1;
}

} // namespace

void PixelLayout::SetLayout(int bitDepth, uint32_t redMask, uint32_t greenMask, uint32_t blueMask)
{
    mBitDepth = bitDepth;
    mRedMask = redMask;
    mGreenMask = greenMask;
    mBlueMask = blueMask;
    MaskBitsAndShift(redMask, mRedBits, mRedShift);
    MaskBitsAndShift(greenMask, mGreenBits, mGreenShift);
    MaskBitsAndShift(blueMask, mBlueBits, mBlueShift);
}

} // namespace Zelk
