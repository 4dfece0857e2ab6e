#include "GraphicsFixtures.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/AnimInfo.h"
#include "framework/graphics/DDInterface.h"

#include <gtest/gtest.h>

using namespace Zelk;
using namespace Zelk::test;

namespace {

NativeDisplay Display32()
{
    NativeDisplay d;
    d.SetLayout(32, 0xFF0000, 0xFF00, 0xFF);
    return d;
}

NativeDisplay Display565()
{
    NativeDisplay d;
    d.SetLayout(16, 0xF800, 0x07E0, 0x001F);
    return d;
}

} // namespace

TEST(MemoryImage, CreateGivesZeroPixelsAndTheGuardWord)
{
    MemoryImage image(nullptr);
    image.Create(4, 2);
    EXPECT_TRUE(image.mHasTransparency && image.mHasAlpha);
    const uint32_t* bits = image.GetBits();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bits[i], 0u);
    EXPECT_EQ(bits[8], kPixelGuard);

    int count = image.mChangeCount;
    image.SetBits(image.GetBits(), 4, 2);
    EXPECT_EQ(image.mChangeCount, count); // its own array: nothing happens
}

TEST(MemoryImage, SizesThatCannotBeHeldAreRefused)
{
    MemoryImage image(nullptr);
    image.Create(3, 3);
    image.Create(-1, 5);
    image.Create(70000, 70000); // w x h overflows 32 bits
    EXPECT_EQ(image.mWidth, 3);
    EXPECT_EQ(image.mHeight, 3);
    uint32_t pixel = 0xFFFFFFFF;
    image.SetBits(&pixel, 65536, 65536);
    EXPECT_EQ(image.mWidth, 3);
    image.mWidth = -4; // a size set from outside
    EXPECT_EQ(image.GetBits(), nullptr);
}

TEST(MemoryImage, AlphaRunLengths)
{
    auto row = MakeImage(6, 1, {0, 0, 0, 0xFF000000, 0xFF112233, 0x80000000});
    const uint8_t* runs = row->GetAlphaRunLengths();
    EXPECT_EQ(std::vector<uint8_t>(runs, runs + 6), (std::vector<uint8_t>{3, 2, 1, 2, 1, 1}));

    auto wide = MakeFilled(300, 2, 0xFF000000);
    runs = wide->GetAlphaRunLengths();
    for (int y = 0; y < 2; ++y) {
        const uint8_t* r = runs + y * 300;
        for (int i = 0; i < 46; ++i)
            EXPECT_EQ(r[i], 255);
        for (int i = 46; i < 300; ++i)
            EXPECT_EQ(r[i], 300 - i);
    }

    auto column = MakeImage(1, 3, {0, 0, 0});
    runs = column->GetAlphaRunLengths();
    EXPECT_EQ(std::vector<uint8_t>(runs, runs + 3), (std::vector<uint8_t>{1, 1, 1}));

    // A palettised image is read through its indices.
    auto pal = MakeImage(4, 1, {0xFF0000FF, 0xFF0000FF, 0, 0x7F000000});
    ASSERT_TRUE(pal->Palettize());
    runs = pal->GetAlphaRunLengths();
    EXPECT_EQ(std::vector<uint8_t>(runs, runs + 4), (std::vector<uint8_t>{2, 1, 1, 1}));
}

TEST(MemoryImage, NativeBitsAndBack)
{
    NativeDisplay d32 = Display32(), d565 = Display565();
    struct {
        const NativeDisplay* display;
        uint32_t argb, native, back;
    } cases[] = {
        {&d32, 0x80FF0000, 0x80800000, 0x80FE0000},
        {&d32, 0xFF102030, 0xFF102030, 0xFF102030},
        {&d32, 0x00FFFFFF, 0x00000000, 0x00000000},
        {&d565, 0xFFFFFFFF, 0xFF00FFFF, 0xFFF8FCF8},
        {&d565, 0x80FF0000, 0x80008000, 0x80F80000},
    };
    for (auto& c : cases) {
        auto image = MakeImage(1, 1, {c.argb});
        EXPECT_EQ(image->GetNativeBits(c.display)[0], c.native) << std::hex << c.argb;
        // Only the native bits hold the pixels: GetBits converts back.
        delete[] image->mBits;
        image->mBits = nullptr;
        EXPECT_EQ(image->GetBits()[0], c.back) << std::hex << c.argb;
    }
}

TEST(MemoryImage, AdditiveRunLengthsSplitOnColour)
{
    NativeDisplay d = Display32();
    auto image = MakeImage(5, 1, {0x00FFFFFF, 0xFF000000, 0x80FF0000, 0x01010101, 0xFF0000FF});
    const uint8_t* runs = image->GetAdditiveRunLengths(&d);
    // Premultiplied: transparent white and opaque black add nothing.
    EXPECT_EQ(std::vector<uint8_t>(runs, runs + 5), (std::vector<uint8_t>{2, 1, 1, 1, 1}));
}

TEST(MemoryImage, PalettizeRoundTripAndLimit)
{
    std::vector<uint32_t> colors(256);
    for (int i = 0; i < 256; ++i)
        colors[i] = 0xFF000000u | uint32_t(i * 0x010203);
    std::vector<uint32_t> pixels;
    for (int i = 0; i < 512; ++i)
        pixels.push_back(colors[(i * 7) % 256]);
    auto image = MakeImage(32, 16, pixels);
    ASSERT_TRUE(image->Palettize());
    EXPECT_FALSE(image->HasPixelArray());
    EXPECT_TRUE(image->mPalettized);
    EXPECT_EQ(image->mColorTable[0], pixels[0]); // order of first appearance
    EXPECT_EQ(image->mColorTable[1], pixels[1]);
    EXPECT_EQ(Pixels(*image), pixels);
    EXPECT_TRUE(image->mPalettized); // the flag stays for ReapplyReductions
    image->ReapplyReductions();
    EXPECT_TRUE(image->IsPalettized());
    EXPECT_EQ(Pixels(*image), pixels);

    pixels[100] = 0x12345678; // colour 257
    auto many = MakeImage(32, 16, pixels);
    uint32_t* before = many->GetBits();
    EXPECT_FALSE(many->Palettize());
    EXPECT_EQ(many->GetBits(), before);
    EXPECT_EQ(Pixels(*many), pixels);
    EXPECT_FALSE(many->IsPalettized());
}

TEST(MemoryImage, CreateOnAPalettisedImageDropsThePalette)
{
    auto image = MakeImage(2, 2, {1, 2, 3, 4});
    ASSERT_TRUE(image->Palettize());
    image->Create(8, 8);
    EXPECT_FALSE(image->IsPalettized());
    EXPECT_EQ(Pixels(*image), std::vector<uint32_t>(64, 0));
}

TEST(MemoryImage, AnalyzeBits)
{
    struct {
        uint32_t odd;
        bool trans, alpha;
    } cases[] = {{0xFF123456, false, false}, {0x00123456, true, false}, {0xC8123456, false, true}};
    for (auto& c : cases) {
        auto image = MakeImage(3, 1, {0xFFFFFFFF, c.odd, 0xFF000000});
        EXPECT_EQ(image->mHasTransparency, c.trans);
        EXPECT_EQ(image->mHasAlpha, c.alpha);
    }
    auto forced = MakeImage(1, 1, {0x80000000});
    forced->SetAlphaKind(false, false);
    forced->MarkBitsChanged();
    forced->AnalyzeBits();
    EXPECT_FALSE(forced->mHasAlpha);
    EXPECT_TRUE(forced->mNeedsAnalysis);
}

TEST(MemoryImage, DiscardBitsIn2DKeepsNativeBits)
{
    TestApplication t;
    ZelkAppBase& app = t.app;
    DDInterface* display = new DDInterface(&app); // owned by the application
    display->SetLayout(16, 0xF800, 0x07E0, 0x001F);
    display->mIs3D = false;
    app.mDDInterface = display;
    MemoryImage image;
    uint32_t pixels[2] = {0xFFFFFFFF, 0xFF123456};
    image.SetBits(pixels, 2, 1);
    image.DiscardBits();
    EXPECT_FALSE(image.HasPixelArray());
    ASSERT_NE(image.mNativeBits, nullptr);
    // Rebuilt from the 5-6-5 form: the low bits are lost.
    EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{0xFFF8FCF8, 0xFF103450}));

    // A palettised image keeps its indices: its native bits are only a table.
    image.SetBits(pixels, 2, 1);
    ASSERT_TRUE(image.Palettize());
    image.mTextureData = &image; // as if the renderer held textures
    image.DiscardBits();
    image.mTextureData = nullptr;
    EXPECT_TRUE(image.IsPalettized());
    EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{0xFFFFFFFF, 0xFF123456}));

    // Without a display nothing can hold the pixels instead.
    delete app.mDDInterface.exchange(nullptr);
    MemoryImage plain;
    plain.SetBits(pixels, 2, 1);
    plain.DiscardBits();
    EXPECT_TRUE(plain.HasPixelArray());
    EXPECT_TRUE(plain.mBitsDiscarded);
}

TEST(MemoryImage, RegistersWithTheApplicationForItsLife)
{
    TestApplication t;
    ZelkAppBase& app = t.app;
    {
        MemoryImage a;
        MemoryImage b(a);
        EXPECT_EQ(app.mMemoryImageSet.size(), 2u);
        EXPECT_EQ(app.mMemoryImageSet.count(&b), 1u);
    }
    EXPECT_TRUE(app.mMemoryImageSet.empty());
    MemoryImage orphan(nullptr); // no application: nothing to register with
    EXPECT_TRUE(app.mMemoryImageSet.empty());
}

TEST(MemoryImage, CopyTakesEveryFormAndLeavesTheSourceAsItWas)
{
    auto pal = MakeImage(2, 1, {0xFF0000FF, 0x80FF0000});
    pal->mNumRows = 2;
    pal->mFilePath = "a.png";
    ASSERT_TRUE(pal->Palettize());
    MemoryImage copy(*pal);
    EXPECT_TRUE(copy.IsPalettized());
    EXPECT_TRUE(copy.mFilePath.empty());
    EXPECT_EQ(copy.mNumRows, 2);
    EXPECT_EQ(Pixels(copy), (std::vector<uint32_t>{0xFF0000FF, 0x80FF0000}));

    // Pixels only in native form: the copy gets them; the source stays without mBits.
    NativeDisplay d = Display32();
    auto native = MakeImage(1, 1, {0xFF336699});
    native->GetNativeBits(&d);
    delete[] native->mBits;
    native->mBits = nullptr;
    MemoryImage fromNative(*native);
    EXPECT_FALSE(native->HasPixelArray());
    EXPECT_EQ(fromNative.GetBits()[0], 0xFF336699u);
    EXPECT_EQ(fromNative.GetBits()[1], kPixelGuard);
}

TEST(AnimInfo, Compute)
{
    AnimInfo a;
    a.mAnimType = ANIM_PINGPONG;
    a.mFrameDelay = 10;
    a.Compute(4);
    EXPECT_EQ(a.mFrameMap, (std::vector<int>{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(a.mNumFrames, 6);
    EXPECT_EQ(a.mTotalAnimTime, 60);

    AnimInfo b;
    b.mAnimType = ANIM_PINGPONG;
    b.mFrameDelay = 10;
    b.Compute(4, 50);
    EXPECT_EQ(b.mPerFrameDelay, (std::vector<int>{50, 10, 10, 10, 10, 10}));
    EXPECT_EQ(b.mTotalAnimTime, 100);

    AnimInfo c;
    c.mFrameDelay = 0;
    c.Compute(0, 0, 30);
    EXPECT_EQ(c.mNumFrames, 1);
    EXPECT_EQ(c.mPerFrameDelay, (std::vector<int>{30}));
    EXPECT_EQ(c.mTotalAnimTime, 30);
}
