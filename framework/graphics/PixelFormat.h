#pragma once
#include <cstdint>

namespace Zelk {

// Texture pixel formats the renderer and the 3D test recognise; bit flags so
// that a set of formats is their OR.
enum PixelFormatCode {
    PixelFormat_Unknown = 0,
    PixelFormat_A8R8G8B8 = 1,
    PixelFormat_A4R4G4B4 = 2,
    PixelFormat_R5G6B5 = 4,
    PixelFormat_Palette8 = 8,
};

// Flag bits of a surface pixel format record (their documented values).
enum : uint32_t {
    PIXELFORMAT_ALPHAPIXELS = 0x01,
    PIXELFORMAT_RGB = 0x40,
    PIXELFORMAT_PALETTEINDEXED8 = 0x20,
};

// The display layer's 32-byte description of a surface pixel format.
struct SurfacePixelFormat {
    uint32_t mSize;
    uint32_t mFlags;
    uint32_t mFourCC;
    uint32_t mRGBBitCount;
    uint32_t mRedMask;
    uint32_t mGreenMask;
    uint32_t mBlueMask;
    uint32_t mAlphaMask;
};
static_assert(sizeof(SurfacePixelFormat) == 32, "the record is 32 bytes");

// "A8R8G8B8", "A4R4G4B4", "R5G6B5", "Palette8"; "Unknown" for anything else.
const char* PixelFormatLabel(int code);

// Clears the record, sets its size to 32 and fills it for the code; any other
// code leaves only the size set.
void BuildPixelFormat(int code, SurfacePixelFormat& out);

// 1, 2 or 4 for an exact match of flags, bit count and all four masks; 8 for
// flags exactly RGB | PALETTEINDEXED8 with 8 bits (masks not looked at); else 0.
int MatchPixelFormat(const SurfacePixelFormat& format);

// The renderer's mask of the texture formats the device offers.
extern int gSupportedPixelFormats;

// Texture-format enumeration callbacks: each ORs the code of the offered
// format into a mask (the global one, or the int the context points at) and
// returns 1 so that the enumeration goes on.
int EnumTextureFormatsToGlobal(const SurfacePixelFormat* format, void* context);
int EnumTextureFormatsToMask(const SurfacePixelFormat* format, void* context);

} // namespace Zelk
