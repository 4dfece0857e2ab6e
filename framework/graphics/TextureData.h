#pragma once
// The textures of one memory image: the image cut into power-of-two pieces,
// each on a texture surface of the format chosen for the image, uploaded
// whenever the image's change count moves and readable back into ARGB.
#include "platform/d3d/Direct3D.h"

#include <cstdint>
#include <vector>

namespace Zelk {

class MemoryImage;

// Texture flag 2: every piece is 64 x 64.
enum : uint32_t { TEXTUREFLAG_64X64 = 2 };

// The size of a texture piece for an image dimension pair: full pieces take
// the piece-size table's entry (with texture flag 1, or for a remainder piece,
// the smallest power of two that holds the dimension), then the device's
// limits and aspect apply.
void GetTextureSize(int& width, int& height, bool remainder, bool tiled, uint32_t textureFlags);

struct TexturePiece {
    plat::DDSurface* mTexture = nullptr; // owned
    int mWidth = 0;                      // of the texture
    int mHeight = 0;
};

class TextureData {
public:
    TextureData();
    ~TextureData();
    TextureData(const TextureData&) = delete;
    TextureData& operator=(const TextureData&) = delete;

    // Lays the pieces out for the image (no surfaces yet).
    void CreatePieces(MemoryImage* image);
    // Chooses the format, makes the pieces' surfaces for a new layout and
    // uploads every piece.
    void CreateTextures(MemoryImage* image, plat::D3DDevice* device, plat::DirectDraw* directDraw);
    void FreeTextures();
    // The piece under image position (x, y): width and height shrink to what
    // fits in the piece; the texture coordinates of that part come back.
    plat::DDSurface* GetPiece(int x, int y, int& width, int& height, float& u1, float& v1, float& u2, float& v2);
    // The pixels of every piece back into bits (the image's width x height);
    // false when a piece cannot be locked.
    bool ReadBack(MemoryImage* image, uint32_t* bits);

    // A surface for one piece, or null (no error is recorded).
    static plat::DDSurface* CreateTextureSurface(plat::D3DDevice* device, plat::DirectDraw* directDraw, int width,
                                                 int height, int format);
    static void UploadTexturePiece(MemoryImage* image, plat::DDSurface* texture, int x, int y, int width,
                                   int height, int format);

    // Texel conversions of the formats (A4R4G4B4, R5G6B5) and their reverse.
    static uint16_t ToA4R4G4B4(uint32_t argb);
    static uint16_t ToR5G6B5(uint32_t argb);
    static uint32_t FromA4R4G4B4(uint16_t texel);
    static uint32_t FromR5G6B5(uint16_t texel);

    std::vector<TexturePiece> mTextures; // row-major, columns x rows
    plat::DDPalette* mPalette = nullptr;
    int mWidth = 0, mHeight = 0;
    int mTexColumns = 0, mTexRows = 0;
    int mTexPieceWidth = 64, mTexPieceHeight = 64;
    int mBitsChangedCount = 0;
    int mTexMemSize = 0;
    float mMaxTotalU = 0.0f, mMaxTotalV = 0.0f; // image size in pieces
    int mPixelFormat = 0;                       // 0: no usable textures
    uint32_t mImageFlags = 0;
};

} // namespace Zelk
