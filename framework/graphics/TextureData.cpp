#include "framework/graphics/TextureData.h"

#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelFormat.h"

#include <algorithm>
#include <cstring>

namespace Zelk {

namespace {

bool gPieceSizesBuilt = false;

int NextPowerOfTwo(int n)
{
    int p = 1;
    while (p < n)
        p *= 2;
    return p;
}

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

void BuildPieceSizes()
{
    for (int n = 0; n < 1024; ++n) {
        const int p = NextPowerOfTwo(n);
        if (p - n <= 64) {
            gTexturePieceSizes[n] = p;
            continue;
        }
        int q = p / 2;
        while (n % q >= 64 && !IsPowerOfTwo(n % q))
            q /= 2;
        gTexturePieceSizes[n] = q;
    }
    gPieceSizesBuilt = true;
}

int BytesPerTexel(int format)
{
    switch (format) {
    case PixelFormat_A8R8G8B8: return 4;
    case PixelFormat_A4R4G4B4:
    case PixelFormat_R5G6B5: return 2;
    default: return 1;
    }
}

// A palette entry (red, green, blue, alpha bytes) of an ARGB colour, and back.
plat::PaletteEntry ToEntry(uint32_t argb)
{
    plat::PaletteEntry e;
    e.red = uint8_t(argb >> 16);
    e.green = uint8_t(argb >> 8);
    e.blue = uint8_t(argb);
    e.flags = uint8_t(argb >> 24);
    return e;
}

uint32_t FromEntry(const plat::PaletteEntry& e)
{
    return uint32_t(e.flags) << 24 | uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue;
}

void MakeEntries(const MemoryImage* image, plat::PaletteEntry* entries)
{
    for (int i = 0; i < 256; ++i)
        entries[i] = ToEntry(image->mColorTable[i]);
}

bool IsPalettized(const MemoryImage* image) { return image->mColorTable && image->mColorIndices; }

} // namespace

void GetTextureSize(int& width, int& height, bool remainder, bool tiled, uint32_t textureFlags)
{
    if (textureFlags & TEXTUREFLAG_64X64) {
        width = 64;
        height = 64;
        return;
    }
    if (!gPieceSizesBuilt)
        BuildPieceSizes();
    auto fit = [&](int n, int maximum) {
        if (n >= maximum)
            return maximum;
        if (tiled && !remainder && !(textureFlags & TEXTUREFLAG_MINSUBDIVIDE))
            return gTexturePieceSizes[std::max(n, 0)];
        return NextPowerOfTwo(n);
    };
    width = std::max(fit(width, gMaxTextureWidth), gMinTextureWidth);
    height = std::max(fit(height, gMaxTextureHeight), gMinTextureHeight);
    const int64_t aspect = std::max(gMaxTextureAspectRatio, 1);
    if (height < width) {
        while (width > aspect * height)
            height *= 2;
    } else if (width < height) {
        while (height > aspect * width)
            width *= 2;
    }
}

TextureData::TextureData() = default;

TextureData::~TextureData()
{
    FreeTextures();
}

void TextureData::FreeTextures()
{
    for (TexturePiece& piece : mTextures)
        if (piece.mTexture)
            piece.mTexture->Release();
    mTextures.clear();
    mTexMemSize = 0;
    if (mPalette)
        mPalette->Release();
    mPalette = nullptr;
}

void TextureData::CreatePieces(MemoryImage* image)
{
    const int w = image->mWidth, h = image->mHeight;
    int pw = w, ph = h;
    GetTextureSize(pw, ph, false, true, mImageFlags);
    mTexPieceWidth = pw;
    mTexPieceHeight = ph;

    const int r = w % pw, b = h % ph;
    int rightW = pw, rightH = ph;
    if (r > 0) {
        rightW = r;
        GetTextureSize(rightW, rightH, true, true, mImageFlags);
    }
    int bottomW = pw, bottomH = ph;
    if (b > 0) {
        bottomH = b;
        GetTextureSize(bottomW, bottomH, true, true, mImageFlags);
    }
    int cornerW = r > 0 ? r : pw, cornerH = b > 0 ? b : ph;
    GetTextureSize(cornerW, cornerH, true, true, mImageFlags);

    mTexColumns = (w + pw - 1) / pw;
    mTexRows = (h + ph - 1) / ph;
    mTextures.assign(size_t(mTexColumns) * size_t(mTexRows), TexturePiece());
    for (int row = 0; row < mTexRows; ++row) {
        for (int col = 0; col < mTexColumns; ++col) {
            const bool right = r > 0 && col == mTexColumns - 1, bottom = b > 0 && row == mTexRows - 1;
            TexturePiece& piece = mTextures[size_t(row) * size_t(mTexColumns) + size_t(col)];
            piece.mWidth = right && bottom ? cornerW : right ? rightW : bottom ? bottomW : pw;
            piece.mHeight = right && bottom ? cornerH : right ? rightH : bottom ? bottomH : ph;
        }
    }
    mMaxTotalU = float(w) / float(pw);
    mMaxTotalV = float(h) / float(ph);
}

plat::DDSurface* TextureData::CreateTextureSurface(plat::D3DDevice* device, plat::DirectDraw* directDraw, int width,
                                                   int height, int format)
{
    CheckD3DResult(device->SetTexture(0, nullptr), "SetTexture NULL");
    plat::DDSurfaceDesc desc;
    desc.flags = plat::DDSD_CAPS | plat::DDSD_HEIGHT | plat::DDSD_WIDTH | plat::DDSD_PIXELFORMAT;
    desc.width = width;
    desc.height = height;
    desc.caps = plat::DDSCAPS_TEXTURE;
    desc.caps2 = plat::DDSCAPS2_D3DTEXTUREMANAGE;
    desc.pixelFormat = TexturePixelFormat(format);
    plat::DDSurface* surface = nullptr;
    if (plat::Failed(directDraw->CreateSurface(desc, &surface)))
        return nullptr;
    return surface;
}

void TextureData::CreateTextures(MemoryImage* image, plat::D3DDevice* device, plat::DirectDraw* directDraw)
{
    image->FreeDerivedBuffers();
    image->AnalyzeBits();
    const uint32_t flags = image->mTextureFlags;
    const bool sameSize = mWidth == image->mWidth && mHeight == image->mHeight && mImageFlags == flags;

    // The format: 16-bit opaque textures where the device and the image allow
    // them, the palette where the image has one, else 32 or 16 bits with alpha.
    int format = PixelFormat_A8R8G8B8;
    if (!image->mHasTransparency && !image->mHasAlpha && (gSupportedTextureFormats & PixelFormat_R5G6B5) &&
        !(flags & TEXTUREFLAG_A8R8G8B8))
        format = PixelFormat_R5G6B5;
    plat::DDPalette* newPalette = nullptr;
    if (IsPalettized(image) && (gSupportedTextureFormats & PixelFormat_Palette8)) {
        plat::PaletteEntry entries[256];
        MakeEntries(image, entries);
        if (sameSize && mPixelFormat == PixelFormat_Palette8 && mPalette) {
            // The same layout keeps its palette: only the colours change.
            mPalette->SetEntries(0, 0, 256, entries);
            format = PixelFormat_Palette8;
        } else if (!plat::Failed(directDraw->CreatePalette(
                       plat::DDPCAPS_8BIT | plat::DDPCAPS_ALLOW256 | plat::DDPCAPS_ALPHA, entries, &newPalette))) {
            format = PixelFormat_Palette8;
        } else {
            gSupportedTextureFormats &= ~PixelFormat_Palette8;
        }
    }
    if (format == PixelFormat_A8R8G8B8) {
        if ((flags & TEXTUREFLAG_A4R4G4B4) && (gSupportedTextureFormats & PixelFormat_A4R4G4B4))
            format = PixelFormat_A4R4G4B4;
        else if (!(gSupportedTextureFormats & PixelFormat_A8R8G8B8))
            format = PixelFormat_A4R4G4B4;
    }

    const bool newLayout = !sameSize || mPixelFormat != format;
    if (newLayout) {
        FreeTextures();
        mPixelFormat = format;
        mImageFlags = flags;
        CreatePieces(image);
        if (newPalette) {
            mPalette = newPalette;
            mTexMemSize += 1024;
        }
    }

    const int bytes = BytesPerTexel(format);
    for (int row = 0; row < mTexRows; ++row) {
        for (int col = 0; col < mTexColumns; ++col) {
            TexturePiece& piece = mTextures[size_t(row) * size_t(mTexColumns) + size_t(col)];
            if (newLayout) {
                piece.mTexture = CreateTextureSurface(device, directDraw, piece.mWidth, piece.mHeight, format);
                if (!piece.mTexture) {
                    mPixelFormat = 0; // not drawn; the next preparation starts over
                    return;
                }
                if (format == PixelFormat_Palette8)
                    piece.mTexture->SetPalette(mPalette);
                mTexMemSize += piece.mWidth * piece.mHeight * bytes;
            }
            UploadTexturePiece(image, piece.mTexture, col * mTexPieceWidth, row * mTexPieceHeight, piece.mWidth,
                               piece.mHeight, format);
        }
    }
    mWidth = image->mWidth;
    mHeight = image->mHeight;
    mBitsChangedCount = image->mChangeCount;
}

void TextureData::UploadTexturePiece(MemoryImage* image, plat::DDSurface* texture, int x, int y, int width,
                                     int height, int format)
{
    plat::DDSurfaceDesc desc;
    if (CheckD3DResult(texture->Lock(nullptr, desc, plat::DDLOCK_WAIT | plat::DDLOCK_WRITEONLY), "Lock Texture"))
        return;
    const int w = std::min(width, image->mWidth - x), h = std::min(height, image->mHeight - y);
    const bool palettized = IsPalettized(image);
    const uint32_t* bits = palettized ? nullptr : image->GetBits();
    const int bytes = BytesPerTexel(format);
    uint8_t* base = static_cast<uint8_t*>(desc.surface);
    for (int row = 0; row < h; ++row) {
        const size_t first = size_t(y + row) * size_t(image->mWidth) + size_t(x);
        uint8_t* line = base + size_t(row) * size_t(desc.pitch);
        for (int col = 0; col < w; ++col) {
            const size_t i = first + size_t(col);
            const uint32_t argb = palettized ? image->mColorTable[image->mColorIndices[i]] : bits[i];
            switch (format) {
            case PixelFormat_A8R8G8B8: reinterpret_cast<uint32_t*>(line)[col] = argb; break;
            case PixelFormat_A4R4G4B4: reinterpret_cast<uint16_t*>(line)[col] = ToA4R4G4B4(argb); break;
            case PixelFormat_R5G6B5: reinterpret_cast<uint16_t*>(line)[col] = ToR5G6B5(argb); break;
            default: line[col] = palettized ? image->mColorIndices[i] : 0; break;
            }
        }
        // The texel beside the last one repeats it, so filtering at the edge
        // does not pull in what lies beyond.
        if (w > 0 && w < width)
            std::memcpy(line + size_t(w) * size_t(bytes), line + size_t(w - 1) * size_t(bytes), size_t(bytes));
    }
    if (h > 0 && h < height)
        std::memcpy(base + size_t(h) * size_t(desc.pitch), base + size_t(h - 1) * size_t(desc.pitch),
                    size_t(desc.pitch));
    CheckD3DResult(texture->Unlock(), "Texture Unlock");
}

bool TextureData::ReadBack(MemoryImage* image, uint32_t* bits)
{
    for (int row = 0; row < mTexRows; ++row) {
        for (int col = 0; col < mTexColumns; ++col) {
            const TexturePiece& piece = mTextures[size_t(row) * size_t(mTexColumns) + size_t(col)];
            if (!piece.mTexture)
                return false;
            plat::DDSurfaceDesc desc;
            if (CheckD3DResult(piece.mTexture->Lock(nullptr, desc, plat::DDLOCK_READONLY | plat::DDLOCK_WAIT),
                               "Lock Texture"))
                return false;
            plat::PaletteEntry entries[256];
            if (mPixelFormat == PixelFormat_Palette8) {
                plat::DDPalette* palette = nullptr;
                if (!plat::Failed(piece.mTexture->GetPalette(&palette))) {
                    palette->GetEntries(0, 0, 256, entries);
                    palette->Release();
                }
            }
            const int x = col * mTexPieceWidth, y = row * mTexPieceHeight;
            const int w = std::min(piece.mWidth, image->mWidth - x), h = std::min(piece.mHeight, image->mHeight - y);
            const uint8_t* base = static_cast<const uint8_t*>(desc.surface);
            for (int r = 0; r < h; ++r) {
                const uint8_t* line = base + size_t(r) * size_t(desc.pitch);
                uint32_t* out = bits + size_t(y + r) * size_t(image->mWidth) + size_t(x);
                for (int c = 0; c < w; ++c) {
                    switch (mPixelFormat) {
                    case PixelFormat_A8R8G8B8: out[c] = reinterpret_cast<const uint32_t*>(line)[c]; break;
                    case PixelFormat_A4R4G4B4: out[c] = FromA4R4G4B4(reinterpret_cast<const uint16_t*>(line)[c]); break;
                    case PixelFormat_R5G6B5: out[c] = FromR5G6B5(reinterpret_cast<const uint16_t*>(line)[c]); break;
                    default: out[c] = FromEntry(entries[line[c]]); break;
                    }
                }
            }
            CheckD3DResult(piece.mTexture->Unlock(), "Texture Unlock");
        }
    }
    return true;
}

plat::DDSurface* TextureData::GetPiece(int x, int y, int& width, int& height, float& u1, float& v1, float& u2,
                                       float& v2)
{
    const int col = x / mTexPieceWidth, row = y / mTexPieceHeight;
    if (x < 0 || y < 0 || col >= mTexColumns || row >= mTexRows) {
        width = height = 0;
        return nullptr;
    }
    const TexturePiece& piece = mTextures[size_t(row) * size_t(mTexColumns) + size_t(col)];
    const int lx = x % mTexPieceWidth, ly = y % mTexPieceHeight;
    const int right = std::min(lx + width, piece.mWidth), bottom = std::min(ly + height, piece.mHeight);
    width = right - lx;
    height = bottom - ly;
    u1 = float(lx) / float(piece.mWidth);
    v1 = float(ly) / float(piece.mHeight);
    u2 = float(right) / float(piece.mWidth);
    v2 = float(bottom) / float(piece.mHeight);
    return piece.mTexture;
}

uint16_t TextureData::ToA4R4G4B4(uint32_t argb)
{
    return uint16_t((argb >> 16 & 0xF000) | (argb >> 12 & 0x0F00) | (argb >> 8 & 0x00F0) | (argb >> 4 & 0x000F));
}

uint16_t TextureData::ToR5G6B5(uint32_t argb)
{
    return uint16_t((argb >> 8 & 0xF800) | (argb >> 5 & 0x07E0) | (argb >> 3 & 0x001F));
}

uint32_t TextureData::FromA4R4G4B4(uint16_t t)
{
    return uint32_t(t >> 12 & 0xF) << 28 | uint32_t(t >> 8 & 0xF) << 20 | uint32_t(t >> 4 & 0xF) << 12 |
           uint32_t(t & 0xF) << 4;
}

uint32_t TextureData::FromR5G6B5(uint16_t t)
{
    return 0xFF000000u | uint32_t(t >> 11 & 0x1F) << 19 | uint32_t(t >> 5 & 0x3F) << 10 | uint32_t(t & 0x1F) << 3;
}

} // namespace Zelk
