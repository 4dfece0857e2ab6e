#include "framework/graphics/PixelFormat.h"

#include <cstring>

namespace Zelk {

int gSupportedPixelFormats = 0;

namespace {

struct FormatRow {
    int code;
    const char* label;
    uint32_t flags, bits, red, green, blue, alpha;
};

const FormatRow kFormats[] = {
    {PixelFormat_A8R8G8B8, "A8R8G8B8", PIXELFORMAT_RGB | PIXELFORMAT_ALPHAPIXELS, 32, 0x00FF0000, 0x0000FF00,
     0x000000FF, 0xFF000000},
    {PixelFormat_A4R4G4B4, "A4R4G4B4", PIXELFORMAT_RGB | PIXELFORMAT_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F,
     0xF000},
    {PixelFormat_R5G6B5, "R5G6B5", PIXELFORMAT_RGB, 16, 0xF800, 0x07E0, 0x001F, 0},
    {PixelFormat_Palette8, "Palette8", PIXELFORMAT_RGB | PIXELFORMAT_PALETTEINDEXED8, 8, 0, 0, 0, 0},
};

} // namespace

const char* PixelFormatLabel(int code)
{
    for (const FormatRow& row : kFormats)
        if (row.code == code)
            return row.label;
    return "Unknown";
}

void BuildPixelFormat(int code, SurfacePixelFormat& out)
{
    std::memset(&out, 0, sizeof out);
    out.mSize = sizeof out;
    for (const FormatRow& row : kFormats)
        if (row.code == code) {
            out.mFlags = row.flags;
            out.mRGBBitCount = row.bits;
            out.mRedMask = row.red;
            out.mGreenMask = row.green;
            out.mBlueMask = row.blue;
            out.mAlphaMask = row.alpha;
        }
}

int MatchPixelFormat(const SurfacePixelFormat& f)
{
    for (const FormatRow& row : kFormats) {
        if (row.code == PixelFormat_Palette8) {
            if (f.mFlags == row.flags && f.mRGBBitCount == row.bits)
                return row.code;
        } else if (f.mFlags == row.flags && f.mRGBBitCount == row.bits && f.mRedMask == row.red &&
                   f.mGreenMask == row.green && f.mBlueMask == row.blue && f.mAlphaMask == row.alpha) {
            return row.code;
        }
    }
    return PixelFormat_Unknown;
}

int EnumTextureFormatsToGlobal(const SurfacePixelFormat* format, void*)
{
    gSupportedPixelFormats |= MatchPixelFormat(*format);
    return 1;
}

int EnumTextureFormatsToMask(const SurfacePixelFormat* format, void* context)
{
    *static_cast<int*>(context) |= MatchPixelFormat(*format);
    return 1;
}

} // namespace Zelk
