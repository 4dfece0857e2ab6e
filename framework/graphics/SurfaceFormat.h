#pragma once
// What the software routines of surface images share: the locked surface in
// its pixel format, the 16-bit spread forms, and the source pixels in the
// display's native form.
#include "framework/graphics/Color.h"
#include "framework/graphics/DDImage.h"

#include <cstddef>
#include <cstdint>

namespace Zelk {
namespace Surface {

// A 16-bit pixel with its channels spread over a 32-bit word (green in the
// high half), with room for a 5-bit weight between them; Fold undoes it.
constexpr uint32_t K565 = 0x07E0F81Fu;
constexpr uint32_t K555 = 0x03E07C1Fu;
inline uint32_t Spread565(uint32_t p)
{
    p &= 0xFFFF;
    return (p | (p << 16)) & K565;
}
inline uint32_t Spread555(uint32_t p)
{
    p &= 0xFFFF;
    return (p | (p << 16)) & K555;
}
inline uint32_t Fold(uint32_t v) { return (v | (v >> 16)) & 0xFFFF; }

// The locked surface. Channels are indexed red, green, blue.
struct Format {
    uint8_t* base = nullptr;
    int pitch = 0;
    int bitCount = 0;
    uint32_t mask[3] = {0, 0, 0};
    int shift[3] = {0, 0, 0};
    int bits[3] = {0, 0, 0};
    const int* table[3] = {nullptr, nullptr, nullptr}; // the display's saturation tables
    bool form565 = false;       // green mask 0x07E0
    bool form555 = false;       // green mask 0x03E0
    bool standardOrder = false; // the display's masks run blue < green < red

    template <typename P> P* Row(int y) const { return reinterpret_cast<P*>(base + ptrdiff_t(y) * pitch); }
    bool HasTables() const { return table[0] && table[1] && table[2]; }
    // Whether every table ends each sum of two channel values at the
    // channel's largest value, as the display makes them.
    bool SaturatingTables() const
    {
        if (!HasTables())
            return false;
        for (int c = 0; c < 3; ++c) {
            const int largest = (1 << bits[c]) - 1;
            for (int i = 0; i <= 2 * largest; ++i)
                if (table[c][i] != (i < largest ? i : largest))
                    return false;
        }
        return true;
    }
    // 32 bits in the layout 8-8-8, red on top.
    bool Standard888() const
    {
        return bitCount == 32 && mask[0] == 0xFF0000 && mask[1] == 0xFF00 && mask[2] == 0xFF && bits[0] == 8 &&
               bits[1] == 8 && bits[2] == 8;
    }
    // Adds the channel values in `add` to the fields of d through the tables.
    uint32_t AddSaturated(uint32_t d, const uint32_t add[3]) const
    {
        uint32_t out = 0;
        for (int i = 0; i < 3; ++i)
            out += uint32_t(table[i][((d & mask[i]) >> shift[i]) + add[i]]) << shift[i];
        return out;
    }
};

// A colour's red, green and blue as the channels of Format, and its alpha,
// each cut to 8 bits.
struct Channels {
    uint32_t c[3];
    uint32_t a;
    explicit Channels(const Color& color)
        : c{uint32_t(color.mRed) & 0xFF, uint32_t(color.mGreen) & 0xFF, uint32_t(color.mBlue) & 0xFF},
          a(uint32_t(color.mAlpha) & 0xFF)
    {
    }
};

// Locks an image's surface for one routine and unlocks it again. False when
// the image is surface only (if asked), or the surface cannot be made or
// locked, or it is neither 16 nor 32 bits deep (it is then left unchanged).
class Drawing {
public:
    Drawing(DDImage& image, bool testSurfaceOnly);
    ~Drawing();
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;
    explicit operator bool() const { return mOk; }

    Format f;

private:
    DDImage& mImage;
    bool mLocked = false;
    bool mOk = false;
};

// Runs a routine on the locked surface with the surface's pixel type; false
// when the surface could not be locked (or lacks the additive tables).
template <typename Routine> bool OnSurface(DDImage& image, bool testSurfaceOnly, bool needsTables, Routine routine)
{
    Drawing d(image, testSurfaceOnly);
    if (!d || (needsTables && !d.f.HasTables()))
        return false;
    if (d.f.bitCount == 16)
        routine(d.f, uint16_t());
    else
        routine(d.f, uint32_t());
    return true;
}

// A source's native pixels: premultiplied, in the display's layout, alpha in
// the top byte; read through the colour indices for a palettised source.
struct NativeSource {
    const uint32_t* native = nullptr;
    const uint8_t* indices = nullptr;
    int width = 0;
    uint32_t At(size_t i) const { return indices ? native[indices[i]] : native[i]; }
    uint32_t At(int x, int y) const { return At(size_t(y) * size_t(width) + size_t(x)); }
};

// False when the source can give no pixels.
bool OpenNative(MemoryImage* src, const NativeDisplay* display, NativeSource& out);

// Cuts a blit to both images: srcRect to the source, its copy at (x, y) to
// the destination. Mirrored: source column sx + i lands on x + w - 1 - i.
// False when nothing is left.
bool ClipBlit(const Image* src, const Image* dest, int& x, int& y, Rect& srcRect, bool mirrored);

} // namespace Surface
} // namespace Zelk
