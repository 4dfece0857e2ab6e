#pragma once
// Reading a source image's pixels from whichever form holds them: the pixel
// array, or the palette through the colour indices.
#include "framework/graphics/MemoryImage.h"

#include <cstddef>
#include <cstdint>

namespace Zelk {

struct DirectRows {
    const uint32_t* base;
    int stride;
    const uint32_t* row = nullptr;
    void SetRow(int y, int x) { row = base + size_t(y) * size_t(stride) + x; }
    uint32_t operator[](int i) const { return row[i]; }
};

struct PaletteRows {
    const uint8_t* base;
    const uint32_t* table;
    int stride;
    const uint8_t* row = nullptr;
    void SetRow(int y, int x) { row = base + size_t(y) * size_t(stride) + x; }
    uint32_t operator[](int i) const { return table[row[i]]; }
};

class ImageSource {
public:
    // False when the image can give no pixels.
    bool Open(MemoryImage* image)
    {
        mWidth = image->mWidth;
        mHeight = image->mHeight;
        if (image->mColorTable && image->mColorIndices && !image->mBits) {
            mTable = image->mColorTable;
            mIndices = image->mColorIndices;
            return true;
        }
        mBits = image->GetBits();
        return mBits != nullptr;
    }
    // Opens the source and returns the destination's pixels; null when
    // either image can give none.
    uint32_t* OpenPair(MemoryImage* image, MemoryImage* dest)
    {
        if (!Open(image))
            return nullptr;
        return dest->GetBits();
    }
    bool IsPalette() const { return mBits == nullptr; }
    DirectRows Direct() const { return DirectRows{mBits, mWidth}; }
    PaletteRows Palette() const { return PaletteRows{mIndices, mTable, mWidth}; }
    uint32_t At(int x, int y) const
    {
        size_t i = size_t(y) * size_t(mWidth) + size_t(x);
        return mBits ? mBits[i] : mTable[mIndices[i]];
    }

    // Calls f with a row reader of the right kind.
    template <typename F> void WithRows(F&& f) const
    {
        if (mBits)
            f(Direct());
        else
            f(Palette());
    }

    int mWidth = 0;
    int mHeight = 0;

private:
    const uint32_t* mBits = nullptr;
    const uint32_t* mTable = nullptr;
    const uint8_t* mIndices = nullptr;
};

} // namespace Zelk
