// The renderer's textures: piece sizes and layout, the format choice, uploads
// that follow the change count, read-back, and what a failing call records.
#include "D3DFixture.h"

#include "framework/graphics/PixelFormat.h"
#include "platform/settings/SettingsStore.h"

#include <gtest/gtest.h>

using namespace Zelk;
using namespace Zelk::test;

namespace {

// Texture limits as a device with these capabilities sets them.
struct Limits {
    Limits(int minSize, int maxSize, int aspect)
    {
        saved[0] = gMinTextureWidth;
        saved[1] = gMinTextureHeight;
        saved[2] = gMaxTextureWidth;
        saved[3] = gMaxTextureHeight;
        saved[4] = gMaxTextureAspectRatio;
        gMinTextureWidth = gMinTextureHeight = minSize;
        gMaxTextureWidth = gMaxTextureHeight = maxSize;
        gMaxTextureAspectRatio = aspect;
    }
    ~Limits()
    {
        gMinTextureWidth = saved[0];
        gMinTextureHeight = saved[1];
        gMaxTextureWidth = saved[2];
        gMaxTextureHeight = saved[3];
        gMaxTextureAspectRatio = saved[4];
    }
    int saved[5];
};

// Reads texel (x, y) of a piece as ARGB.
uint32_t Texel(plat::DDSurface* texture, int x, int y)
{
    int pitch = 0;
    return texture->ARGBView(pitch)[size_t(y) * size_t(pitch) + size_t(x)];
}

} // namespace

TEST(TexturePieces, SizeTable)
{
    int w = 1, h = 1;
    GetTextureSize(w, h, false, true, 0); // builds the table
    const std::pair<int, int> table[] = {{800, 256}, {600, 64}, {640, 512}, {1000, 1024},
                                         {130, 128}, {100, 128}, {0, 1},    {1, 1}};
    for (const auto& row : table)
        EXPECT_EQ(gTexturePieceSizes[row.first], row.second) << row.first;
}

TEST(TexturePieces, SizeRules)
{
    struct Case {
        int minSize, maxSize, aspect;
        int w, h;
        bool remainder;
        uint32_t flags;
        int wantW, wantH;
    } cases[] = {
        {1, 1024, 8, 800, 600, false, 0, 256, 64},
        {1, 1024, 8, 44, 100, true, 0, 64, 128},                          // remainders: next power of two
        {1, 1024, 8, 300, 100, false, TEXTUREFLAG_MINSUBDIVIDE, 512, 128}, // flag 1: no subdivision
        {1, 1024, 8, 800, 600, false, TEXTUREFLAG_64X64, 64, 64},
        {1, 256, 8, 1000, 300, false, 0, 256, 256},                       // capped at the maximum
        {32, 1024, 8, 10, 3, true, 0, 32, 32},                            // raised to the minimum
        {1, 1024, 1, 800, 600, false, 0, 256, 256},                       // aspect 1 doubles the height
        {1, 1024, 2, 1, 64, true, 0, 32, 64},                             // ... and the width
    };
    for (const Case& c : cases) {
        Limits limits(c.minSize, c.maxSize, c.aspect);
        int w = c.w, h = c.h;
        GetTextureSize(w, h, c.remainder, true, c.flags);
        EXPECT_EQ(w, c.wantW) << c.w << " x " << c.h;
        EXPECT_EQ(h, c.wantH) << c.w << " x " << c.h;
    }
}

TEST(TexturePieces, LayoutOf800By600)
{
    Limits limits(1, 1024, 8);
    MemoryImage image(nullptr);
    image.Create(800, 600);
    TextureData data;
    data.CreatePieces(&image);
    EXPECT_EQ(data.mTexPieceWidth, 256);
    EXPECT_EQ(data.mTexPieceHeight, 64);
    ASSERT_EQ(data.mTexColumns, 4);
    ASSERT_EQ(data.mTexRows, 10);
    EXPECT_FLOAT_EQ(data.mMaxTotalU, 3.125f);
    EXPECT_FLOAT_EQ(data.mMaxTotalV, 9.375f);
    auto piece = [&](int col, int row) { return data.mTextures[size_t(row) * 4 + size_t(col)]; };
    EXPECT_EQ(piece(0, 0).mWidth, 256);
    EXPECT_EQ(piece(0, 0).mHeight, 64);
    EXPECT_EQ(piece(3, 0).mWidth, 32); // the right column holds the last 32 columns
    EXPECT_EQ(piece(3, 0).mHeight, 64);
    EXPECT_EQ(piece(1, 9).mWidth, 256); // the bottom row the last 24 lines
    EXPECT_EQ(piece(1, 9).mHeight, 32);
    EXPECT_EQ(piece(3, 9).mWidth, 32);
    EXPECT_EQ(piece(3, 9).mHeight, 32);

    // Piece look-up: the part of a span that fits in its piece, and where.
    int w = 100, h = 10; // what is left of a source rectangle ending at the image's corner
    float u1, v1, u2, v2;
    data.GetPiece(780, 590, w, h, u1, v1, u2, v2);
    EXPECT_EQ(w, 20); // 780 lies 12 into the 32-wide right column
    EXPECT_EQ(h, 10);
    EXPECT_FLOAT_EQ(u1, 12.0f / 32.0f);
    EXPECT_FLOAT_EQ(u2, 1.0f);
    EXPECT_FLOAT_EQ(v1, 14.0f / 32.0f);
    EXPECT_FLOAT_EQ(v2, 24.0f / 32.0f);
}

class TextureCache : public D3DFixture {};

TEST_F(TextureCache, EdgeTexelsRepeatTheLastColumnAndRow)
{
    ASSERT_TRUE(Start());
    auto image = Pattern(100, 100);
    ASSERT_TRUE(renderer->PrepareTextures(image.get()));
    TextureData* data = Textures(*image);
    ASSERT_EQ(data->mTextures.size(), 1u);
    plat::DDSurface* texture = data->mTextures[0].mTexture;
    EXPECT_EQ(texture->Width(), 128);
    EXPECT_EQ(texture->Height(), 128);
    const uint32_t* bits = image->GetBits();
    EXPECT_EQ(Texel(texture, 99, 40), bits[40 * 100 + 99]);
    EXPECT_EQ(Texel(texture, 100, 40), bits[40 * 100 + 99]);
    EXPECT_EQ(Texel(texture, 30, 100), bits[99 * 100 + 30]);
    EXPECT_EQ(Texel(texture, 101, 40), 0u); // beyond the repeated texel nothing is written
    EXPECT_EQ(Texel(texture, 30, 101), 0u);
}

TEST_F(TextureCache, FormatChoice)
{
    const plat::DDPixelFormat all[4] = {plat::D3DSettings::Get().textureFormats[0],
                                        plat::D3DSettings::Get().textureFormats[1],
                                        plat::D3DSettings::Get().textureFormats[2],
                                        plat::D3DSettings::Get().textureFormats[3]};
    enum Kind { Opaque, Alpha, Palettized };
    struct Case {
        const char* name;
        Kind kind;
        uint32_t flags;
        int offered; // PixelFormatCode bits the device enumerates
        bool alphaPalette;
        bool failPalette;
        int want;
    } cases[] = {
        {"opaque, 16-bit allowed", Opaque, 0, 15, true, false, PixelFormat_R5G6B5},
        {"opaque, flag 8", Opaque, TEXTUREFLAG_A8R8G8B8, 15, true, false, PixelFormat_A8R8G8B8},
        {"opaque, no R5G6B5", Opaque, 0, 1 | 2 | 8, true, false, PixelFormat_A8R8G8B8},
        {"alpha", Alpha, 0, 15, true, false, PixelFormat_A8R8G8B8},
        {"alpha, flag 4", Alpha, TEXTUREFLAG_A4R4G4B4, 15, true, false, PixelFormat_A4R4G4B4},
        {"alpha, flag 4, no A4R4G4B4", Alpha, TEXTUREFLAG_A4R4G4B4, 1 | 4, true, false, PixelFormat_A8R8G8B8},
        {"alpha, no A8R8G8B8", Alpha, 0, 2 | 4, true, false, PixelFormat_A4R4G4B4},
        {"palettised", Palettized, 0, 15, true, false, PixelFormat_Palette8},
        {"palettised, no alpha palettes", Palettized, 0, 15, false, false, PixelFormat_R5G6B5},
        {"palettised, palette refused", Palettized, 0, 15, true, true, PixelFormat_R5G6B5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::D3DSettings& settings = plat::D3DSettings::Get();
        settings.textureFormats.clear();
        for (int i = 0; i < 4; ++i)
            if (c.offered & (1 << i))
                settings.textureFormats.push_back(all[i]);
        settings.desc.triTextureCaps = c.alphaPalette ? uint32_t(plat::D3DPTEXTURECAPS_ALPHAPALETTE) : 0u;
        // A new device for each offer.
        ASSERT_TRUE(dd ? renderer->Init(display) : Start());
        if (c.failPalette)
            plat::DirectDrawDevice::Get().FailNext("CreatePalette", plat::DDERR_OUTOFCAPS);

        auto image = c.kind == Alpha ? Pattern(20, 10, 0x80) : Pattern(20, 10);
        image->mTextureFlags = c.flags;
        if (c.kind == Palettized) {
            ASSERT_TRUE(image->Palettize());
        }
        ASSERT_TRUE(renderer->PrepareTextures(image.get()));
        EXPECT_EQ(Textures(*image)->mPixelFormat, c.want);
        if (c.failPalette) { // a refused palette takes the format away for good
            EXPECT_EQ(gSupportedTextureFormats & PixelFormat_Palette8, 0);
        }
        renderer->RemoveImageTextures(image.get());
    }
}

TEST_F(TextureCache, UploadsFollowTheChangeCount)
{
    ASSERT_TRUE(Start());
    auto image = Pattern(300, 100); // pieces 256 and 64 wide
    renderer->Blt(image.get(), 0, 0, Rect(0, 0, 300, 100), Color::White, 0, false);
    TextureData* data = Textures(*image);
    ASSERT_EQ(data->mTextures.size(), 2u);
    std::vector<plat::DDSurface*> surfaces;
    std::vector<uint64_t> versions;
    for (const TexturePiece& p : data->mTextures) {
        surfaces.push_back(p.mTexture);
        versions.push_back(p.mTexture->Version());
    }

    renderer->Blt(image.get(), 5, 5, Rect(0, 0, 300, 100), Color::White, 0, false);
    for (size_t i = 0; i < surfaces.size(); ++i)
        EXPECT_EQ(data->mTextures[i].mTexture->Version(), versions[i]) << "an unchanged image uploads nothing";

    image->GetBits()[0] = 0xFF123456;
    image->MarkBitsChanged();
    renderer->Blt(image.get(), 5, 5, Rect(0, 0, 300, 100), Color::White, 0, false);
    ASSERT_EQ(Textures(*image), data);
    for (size_t i = 0; i < surfaces.size(); ++i) {
        EXPECT_EQ(data->mTextures[i].mTexture, surfaces[i]) << "the same surfaces";
        EXPECT_NE(data->mTextures[i].mTexture->Version(), versions[i]) << "every piece uploaded again";
    }
    EXPECT_EQ(Texel(data->mTextures[0].mTexture, 0, 0), 0xFF123456u);
}

TEST_F(TextureCache, PaletteKeptAndUpdatedOnReupload)
{
    ASSERT_TRUE(Start());
    std::vector<uint32_t> px(64 * 16);
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = (i % 3 == 0) ? 0xFFFF0000 : (i % 3 == 1) ? 0x8000FF00 : 0x00000000;
    auto image = Image(64, 16, px);
    ASSERT_TRUE(image->Palettize());
    ASSERT_TRUE(renderer->PrepareTextures(image.get()));
    TextureData* data = Textures(*image);
    ASSERT_EQ(data->mPixelFormat, PixelFormat_Palette8);
    plat::DDPalette* palette = data->mPalette;
    const int memory = data->mTexMemSize;
    EXPECT_EQ(memory, 64 * 16 + 1024);

    // A new colour for entry 0: the same palette object takes it.
    image->mColorTable[0] = 0xFF0000FF;
    image->MarkBitsChanged();
    ASSERT_TRUE(renderer->PrepareTextures(image.get()));
    EXPECT_EQ(data->mPalette, palette);
    EXPECT_EQ(data->mTexMemSize, memory);
    EXPECT_EQ(Texel(data->mTextures[0].mTexture, 0, 0), 0xFF0000FFu) << "no stale colour";
    EXPECT_EQ(Texel(data->mTextures[0].mTexture, 1, 0), 0x8000FF00u);
}

TEST_F(TextureCache, ReadBackPerFormat)
{
    ASSERT_TRUE(Start());
    // The copiers' round trip: A4R4G4B4 keeps the top four bits of each
    // field, R5G6B5 drops alpha; 32-bit and palette textures give everything back.
    struct Case {
        const char* name;
        uint32_t flags;
        bool palettize;
        uint32_t pixel;
        uint32_t back;
    } cases[] = {
        {"A8R8G8B8", TEXTUREFLAG_A8R8G8B8, false, 0x80FF7F01, 0x80FF7F01},
        {"A4R4G4B4", TEXTUREFLAG_A4R4G4B4, false, 0x9A3B5C7D, 0x90305070},
        {"R5G6B5", 0, false, 0xFF3B5C7D, 0xFF385C78},
        {"palette", 0, true, 0x803B5C7D, 0x803B5C7D},
    };
    display->mIs3D = true; // discarded pixels live in the textures
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = Filled(40, 30, c.pixel);
        image->mTextureFlags = c.flags;
        if (c.palettize) {
            ASSERT_TRUE(image->Palettize());
        }
        image->mBitsDiscarded = true;
        ASSERT_TRUE(renderer->PrepareTextures(image.get()));
        EXPECT_FALSE(image->HasPixelArray()) << "the textures hold the pixels";
        EXPECT_FALSE(image->IsPalettized());
        const uint32_t* bits = image->GetBits();
        EXPECT_EQ(bits[0], c.back);
        EXPECT_EQ(bits[40 * 30 - 1], c.back);
    }
    EXPECT_EQ(TextureData::FromA4R4G4B4(TextureData::ToA4R4G4B4(0xFFFFFFFF)), 0xF0F0F0F0u);
    EXPECT_EQ(TextureData::FromR5G6B5(TextureData::ToR5G6B5(0x00FFFFFF)), 0xFFF8FCF8u);
}

TEST_F(TextureCache, DeviceWithoutTextureLimitsUses64Pieces)
{
    plat::D3DSettings::Get().desc.maxTextureWidth = 0;
    ASSERT_TRUE(Start());
    EXPECT_EQ(gMaxTextureWidth, 64);
    EXPECT_EQ(gMaxTextureHeight, 64);
    EXPECT_EQ(gMinTextureWidth, 64);
    EXPECT_EQ(gMaxTextureAspectRatio, 1);
    auto image = Pattern(100, 30);
    ASSERT_TRUE(renderer->PrepareTextures(image.get()));
    EXPECT_EQ(Textures(*image)->mTexPieceWidth, 64);
    EXPECT_EQ(Textures(*image)->mTexPieceHeight, 64);
    EXPECT_EQ(Textures(*image)->mTextures.size(), 2u);
}

TEST_F(TextureCache, UnmadeTextureIsSkippedAndTriedAgain)
{
    ASSERT_TRUE(Start());
    auto image = Filled(10, 10, 0xFF00FF00);
    ClearTarget(0);
    plat::DirectDrawDevice::Get().FailNext("CreateSurface", plat::DDERR_OUTOFVIDEOMEMORY);
    renderer->Blt(image.get(), 0, 0, Rect(0, 0, 10, 10), Color::White, 0, false);
    EXPECT_EQ(Pixel(0, 0), 0u) << "not drawn";
    EXPECT_EQ(gLast3DError, "") << "not an error";
    renderer->Blt(image.get(), 0, 0, Rect(0, 0, 10, 10), Color::White, 0, false);
    EXPECT_EQ(Pixel(0, 0), 0x00FF00u);
}

TEST_F(TextureCache, CleanupDropsEveryRecord)
{
    ASSERT_TRUE(Start());
    auto a = Pattern(10, 10), b = Pattern(20, 20);
    ASSERT_TRUE(renderer->PrepareTextures(a.get()));
    ASSERT_TRUE(renderer->PrepareTextures(b.get()));
    const int live = plat::DirectDrawDevice::Get().liveSurfaces;
    renderer->Cleanup();
    EXPECT_EQ(a->mTextureData, nullptr);
    EXPECT_EQ(b->mTextureData, nullptr);
    EXPECT_TRUE(renderer->mImageSet.empty());
    EXPECT_EQ(plat::DirectDrawDevice::Get().liveSurfaces, live - 2) << "both textures";
    // After a new start the textures are made again.
    ASSERT_TRUE(renderer->Init(display));
    ASSERT_TRUE(renderer->PrepareTextures(a.get()));
    EXPECT_NE(a->mTextureData, nullptr);
    // An image that goes away takes its textures with it.
    b.reset();
    a.reset();
    EXPECT_TRUE(renderer->mImageSet.empty());
}

class FailureRecord : public D3DFixture {};

TEST_F(FailureRecord, FailingCallsLeaveTheirText)
{
    struct Case {
        const char* operation;
        int32_t code;
        const char* text;
    } cases[] = {
        {"DrawPrimitive", plat::D3DERR_INVALIDVERTEXTYPE, "DrawPrimitive (Tri) 1: D3DERR_INVALIDVERTEXTYPE"},
        {"SetTexture", plat::DDERR_SURFACELOST, "SetTexture gTexture: DDERR_SURFACELOST"},
        {"Lock", plat::DDERR_SURFACEBUSY, "Lock Texture: DDERR_SURFACEBUSY"},
    };
    ASSERT_TRUE(Start());
    plat::SettingsStore& store = platform.settings;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        auto image = Pattern(8, 8);
        ASSERT_TRUE(renderer->BeginDraw());
        ASSERT_TRUE(renderer->PrepareTextures(image.get()));
        image->MarkBitsChanged(); // the blit uploads again
        gLast3DError.clear();
        plat::DirectDrawDevice::Get().FailNext(c.operation, c.code);
        renderer->Blt(image.get(), 0, 0, Rect(0, 0, 8, 8), Color::White, 0, false);
        EXPECT_EQ(gLast3DError, c.text);
        plat::SettingsValue value;
        ASSERT_TRUE(store.QueryValue("SOFTWARE\\Test Co\\Test Game\\Test3D", "RuntimeError", value));
        EXPECT_EQ(value.type, plat::REG_SZ);
        EXPECT_EQ(std::string(value.data.begin(), value.data.end()), c.text);
    }
}

TEST_F(FailureRecord, InitFailures)
{
    struct Case {
        const char* operation;
        const char* context;
    } cases[] = {
        {"QueryDirect3D", "QueryInterface IID_IDirect3D7"},
        {"CreateDevice", "CreateDevice IID_IDirect3DHALDevice"},
        {"GetCaps", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        if (!dd) {
            ASSERT_TRUE(Start());
        }
        plat::DirectDrawDevice::Get().FailNext(c.operation, plat::DDERR_OUTOFVIDEOMEMORY);
        EXPECT_FALSE(renderer->Init(display));
        EXPECT_EQ(gLast3DError, std::string(c.context) + ": DDERR_OUTOFVIDEOMEMORY");
    }
}

TEST_F(FailureRecord, LostRenderTargetStopsDrawing)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(renderer->BeginDraw());
    renderer->EndScene();
    plat::DirectDrawDevice::Get().LoseSurfaces();
    EXPECT_FALSE(renderer->BeginDraw());
    EXPECT_TRUE(gDeviceLost);
    target->Restore();
    EXPECT_TRUE(renderer->BeginDraw());
    EXPECT_FALSE(gDeviceLost);
    // While the application is minimised nothing opens a scene.
    renderer->EndScene();
    app.mMinimized = true;
    EXPECT_FALSE(renderer->BeginDraw());
}
