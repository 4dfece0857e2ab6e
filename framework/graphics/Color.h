#pragma once
#include <cstdint>

namespace Zelk {

// An RGBA colour, each channel meant to lie in 0..255 (nothing clamps them).
// The packed form is 0xAARRGGBB; alpha comes from the top byte, so a packed
// 0x00RRGGBB is fully transparent (use Opaque() for a 24-bit literal).
class Color {
public:
    Color() : mRed(0), mGreen(0), mBlue(0), mAlpha(255) {}
    Color(uint32_t argb)
        : mRed(int32_t((argb >> 16) & 0xFF)), mGreen(int32_t((argb >> 8) & 0xFF)), mBlue(int32_t(argb & 0xFF)),
          mAlpha(int32_t(argb >> 24))
    {
    }
    Color(int red, int green, int blue) : mRed(red), mGreen(green), mBlue(blue), mAlpha(255) {}
    Color(int red, int green, int blue, int alpha) : mRed(red), mGreen(green), mBlue(blue), mAlpha(alpha) {}
    // Red, green and blue from the first three ints of a table; opaque.
    explicit Color(const int* rgb) : mRed(rgb[0]), mGreen(rgb[1]), mBlue(rgb[2]), mAlpha(255) {}

    static Color Opaque(uint32_t rgb) { return Color(rgb | 0xFF000000u); }

    int GetRed() const { return mRed; }
    int GetGreen() const { return mGreen; }
    int GetBlue() const { return mBlue; }
    int GetAlpha() const { return mAlpha; }

    uint32_t ToInt() const
    {
        return (uint32_t(mAlpha) << 24) | (uint32_t(mRed & 0xFF) << 16) | (uint32_t(mGreen & 0xFF) << 8) |
               uint32_t(mBlue & 0xFF);
    }

    // Every channel cut to its low 8 bits, as the packed form and the surface
    // drawing keep them; the memory drawing routines draw with this.
    Color Masked() const { return Color(ToInt()); }

    bool operator==(const Color& o) const
    {
        return mRed == o.mRed && mGreen == o.mGreen && mBlue == o.mBlue && mAlpha == o.mAlpha;
    }
    bool operator!=(const Color& o) const { return !(*this == o); }

    static const Color White;
    static const Color Black;

    int32_t mRed;
    int32_t mGreen;
    int32_t mBlue;
    int32_t mAlpha;
};

inline const Color Color::White(255, 255, 255, 255);
inline const Color Color::Black(0, 0, 0, 255);

} // namespace Zelk
