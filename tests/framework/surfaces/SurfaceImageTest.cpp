// Surface images: the surface made from memory and read back, the colour key,
// nested locks, lost surfaces, and the display going away or starting again.
#include "SurfaceFixture.h"
#include "framework/graphics/Graphics.h"

using namespace Zelk;
using namespace Zelk::test;

TEST(SurfaceImage, LocksNestAndTheThreeDTargetIsNeverLocked)
{
    SurfaceDisplay t;
    auto image = t.Image(4, 2, std::vector<uint32_t>(8, 0xFF102030));
    ASSERT_TRUE(image->LockSurface());
    ASSERT_TRUE(image->LockSurface());
    EXPECT_EQ(image->mSurface->LockCount(), 1);
    EXPECT_TRUE(image->UnlockSurface());
    EXPECT_EQ(image->mSurface->LockCount(), 1) << "still locked";
    EXPECT_TRUE(image->UnlockSurface());
    EXPECT_EQ(image->mSurface->LockCount(), 0);
    // An unlock without its lock leaves the count at 0.
    EXPECT_FALSE(image->UnlockSurface());
    EXPECT_EQ(image->mLockCount, 0);
    EXPECT_TRUE(image->LockSurface());
    EXPECT_EQ(image->mSurface->LockCount(), 1);
    image->UnlockSurface();

    DDImage* screen = t.display->GetScreenImage();
    t.display->mIs3D = true;
    EXPECT_TRUE(screen->Is3DTarget());
    EXPECT_FALSE(screen->LockSurface());
    EXPECT_FALSE(screen->UnlockSurface());
    EXPECT_EQ(screen->mLockCount, 0);
    EXPECT_EQ(screen->GetBits(), nullptr);
    t.display->mIs3D = false;
}

TEST(SurfaceImage, ColourKeyIsTheFirstTransparentColourOrTheLowestUnusedOne)
{
    struct Case {
        Layout layout;
        std::vector<uint32_t> pixels;
        std::vector<uint32_t> raw;
        uint32_t key;
    } cases[] = {
        // The candidate (the first transparent pixel's colour) is opaque black's too.
        {Layout::R5G6B5, {0x00000000, 0xFF000000}, {0x0001, 0x0000}, 0x0001},
        {Layout::X8R8G8B8, {0x00000000, 0xFF000000}, {0x000001, 0x000000}, 0x000001},
        // No collision: the candidate stays.
        {Layout::R5G6B5, {0xFFFFFFFF, 0x00FF0000, 0x00123456}, {0xFFFF, 0xF800, 0xF800}, 0xF800},
        {Layout::X8R8G8B8, {0xFFFFFFFF, 0x00FF0000, 0x00123456}, {0xFFFFFF, 0xFF0000, 0xFF0000}, 0xFF0000},
        // 0x0000 and 0x0001 are taken, and so are 0x0002 (by 0xFF000010)...
        {Layout::R5G5B5, {0x00000000, 0xFF000000, 0xFF000008, 0xFF000010}, {0x0003, 0x0000, 0x0001, 0x0002}, 0x0003},
    };
    for (const Case& c : cases) {
        SurfaceDisplay t(c.layout);
        auto image = t.Image(int(c.pixels.size()), 1, c.pixels);
        ASSERT_NE(image->GetSurface(), nullptr) << Name(c.layout);
        EXPECT_EQ(SurfaceDisplay::RawRow(image->mSurface, 0, int(c.raw.size())), c.raw) << Name(c.layout);
        plat::DDColorKey key;
        ASSERT_EQ(image->mSurface->GetColorKey(plat::DDCKEY_SRCBLT, key), plat::DD_OK);
        EXPECT_EQ(key.low, c.key) << Name(c.layout);
        EXPECT_EQ(key.high, c.key);
    }
}

TEST(SurfaceImage, AnImageWithoutPixelsGetsKeyZeroOnlyOnSixteenBits)
{
    for (Layout layout : {Layout::R5G6B5, Layout::X8R8G8B8}) {
        SurfaceDisplay t(layout);
        DDImage image(t.display);
        image.Create(3, 3);
        ASSERT_NE(image.GetSurface(), nullptr);
        EXPECT_TRUE(image.mHasTransparency);
        plat::DDColorKey key{5, 5};
        const int32_t r = image.mSurface->GetColorKey(plat::DDCKEY_SRCBLT, key);
        if (layout == Layout::X8R8G8B8) {
            EXPECT_EQ(r, plat::DDERR_NOCOLORKEY);
        } else {
            EXPECT_EQ(r, plat::DD_OK);
            EXPECT_EQ(key.low, 0u);
        }
    }
}

TEST(SurfaceImage, SemiTransparentImagesNeverGetASurface)
{
    SurfaceDisplay t(Layout::R5G6B5);
    auto image = t.Image(2, 1, {0xFF000000, 0x80FFFFFF});
    EXPECT_EQ(image->GetSurface(), nullptr);
    EXPECT_FALSE(image->LockSurface());
    image->FillRect(Rect(0, 0, 1, 1), Color(255, 0, 0), DRAWMODE_NORMAL);
    EXPECT_EQ(image->mSurface, nullptr);
    EXPECT_EQ(image->GetBits()[0], 0xFFFF0000u) << "drawn in memory";
}

TEST(SurfaceImage, ReadBackExpandsTheSurfaceFormat)
{
    struct {
        Layout layout;
        uint32_t raw;
        uint32_t argb;
    } cases[] = {{Layout::R5G6B5, 0xFFFF, 0xFFF8FCF8}, {Layout::R5G5B5, 0x7FFF, 0xFFF8F8F8},
                 {Layout::X8R8G8B8, 0xFF123456, 0xFF123456}, {Layout::R5G6B5, 0x0841, 0xFF080808}};
    for (auto& c : cases) {
        SurfaceDisplay t(c.layout);
        auto image = t.Surface(3, 2, c.raw);
        EXPECT_FALSE(image->HasPixelArray());
        const uint32_t* bits = image->GetBits();
        ASSERT_NE(bits, nullptr);
        EXPECT_EQ(bits[0], c.argb) << Name(c.layout);
        EXPECT_EQ(bits[5], c.argb);
        EXPECT_EQ(bits[6], kPixelGuard);
        EXPECT_EQ(image->mSurface->LockCount(), 0);
    }
    // After an opaque white fill on 5-6-5 the surface value is 0xFFFF.
    SurfaceDisplay t(Layout::R5G6B5);
    auto image = t.Image(2, 2, std::vector<uint32_t>(4, 0xFF000000));
    image->FillRect(Rect(0, 0, 2, 2), Color::White, DRAWMODE_NORMAL);
    EXPECT_FALSE(image->HasPixelArray()) << "the surface holds the only pixels";
    EXPECT_EQ(std::vector<uint32_t>(image->GetBits(), image->GetBits() + 5),
              (std::vector<uint32_t>{0xFFF8FCF8, 0xFFF8FCF8, 0xFFF8FCF8, 0xFFF8FCF8, kPixelGuard}));
}

TEST(SurfaceImage, CreateKeepsAnOpaqueImageOpaqueAndStartsAFreshSurface)
{
    SurfaceDisplay t(Layout::X8R8G8B8);
    auto image = t.Image(2, 2, std::vector<uint32_t>(4, 0xFF0000FF));
    image->SetAlphaKind(false, false);
    image->FillRect(Rect(0, 0, 2, 2), Color(255, 0, 0), DRAWMODE_NORMAL);
    plat::DDSurface* first = image->mSurface;
    ASSERT_NE(first, nullptr);
    const int live = plat::DirectDrawDevice::Get().liveSurfaces;
    image->Create(4, 3);
    EXPECT_EQ(image->mSurface, nullptr);
    EXPECT_EQ(plat::DirectDrawDevice::Get().liveSurfaces, live - 1);
    EXPECT_FALSE(image->mHasTransparency);
    EXPECT_FALSE(image->mHasAlpha);
    image->FillRect(Rect(1, 1, 2, 1), Color(0, 255, 0), DRAWMODE_NORMAL);
    ASSERT_NE(image->mSurface, nullptr);
    EXPECT_EQ(image->mSurface->Width(), 4);
    EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 1, 1), 0x0000FE00u);
    EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 0, 0), 0u);
}

TEST(SurfaceImage, FirstLockFailureReleasesTheNewSurface)
{
    SurfaceDisplay t;
    auto image = t.Image(2, 2, std::vector<uint32_t>(4, 0xFF112233));
    const int live = plat::DirectDrawDevice::Get().liveSurfaces;
    plat::DirectDrawDevice::Get().FailNext("Lock", plat::DDERR_SURFACEBUSY);
    EXPECT_FALSE(image->CreateSurfaceFromBits());
    EXPECT_EQ(image->mSurface, nullptr);
    EXPECT_EQ(plat::DirectDrawDevice::Get().liveSurfaces, live);
    // The next try fills its surface.
    ASSERT_TRUE(image->CreateSurfaceFromBits());
    EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 1, 1), 0x112233u);
}

TEST(SurfaceImage, ScreenImageKeepsTheDisplaysSurface)
{
    SurfaceDisplay t;
    DDImage* screen = t.display->GetScreenImage();
    EXPECT_EQ(screen->mSurface, t.display->mDrawSurface);
    screen->MarkBitsChanged();
    screen->FreeNativeData();
    screen->FreeExtraBuffers();
    screen->DiscardBits();
    EXPECT_EQ(screen->mSurface, t.display->mDrawSurface);
    Graphics(screen).FillRect(0, 0, 1, 1);
    EXPECT_EQ(SurfaceDisplay::Raw(t.display->mDrawSurface, 0, 0), 0u) << "opaque black";
}

TEST(SurfaceImage, LostSurfaceKeepsTheMemoryCopyAndIsRemadeFromIt)
{
    SurfaceDisplay t(Layout::R5G6B5);
    auto image = t.Image(2, 1, {0xFF0000FF, 0xFF0000FF});
    image->SetSurfaceInVideoMemory(true);
    ASSERT_NE(image->GetSurface(), nullptr);
    plat::DirectDrawDevice::Get().LoseSurfaces();
    // The surface cannot be drawn on: the memory image draws, the lost surface goes.
    image->FillRect(Rect(1, 0, 1, 1), Color(255, 0, 0), DRAWMODE_NORMAL);
    EXPECT_TRUE(image->HasPixelArray());
    EXPECT_EQ(image->mSurface, nullptr);
    EXPECT_EQ(image->GetBits()[1], 0xFFFF0000u);
    // The next surface drawing makes a new surface from the memory copy.
    image->FillRect(Rect(0, 0, 1, 1), Color(0, 255, 0), DRAWMODE_NORMAL);
    ASSERT_NE(image->mSurface, nullptr);
    EXPECT_EQ(SurfaceDisplay::RawRow(image->mSurface, 0, 2), (std::vector<uint32_t>{0x07E0, 0xF800}));

    // A surface that is the only copy and is lost has nothing to give back.
    plat::DirectDrawDevice::Get().LoseSurfaces();
    EXPECT_EQ(image->GetBits(), nullptr);
    EXPECT_EQ(image->mSurface->Restore(), plat::DD_OK);
    EXPECT_NE(image->GetBits(), nullptr);
}

TEST(SurfaceImage, ReleasingReadsTheSurfaceBackFirst)
{
    SurfaceDisplay t;
    auto image = t.Surface(2, 2, 0x00ABCDEF);
    image->ReleaseSurface();
    EXPECT_EQ(image->mSurface, nullptr);
    ASSERT_TRUE(image->HasPixelArray());
    EXPECT_EQ(image->GetBits()[3], 0xFFABCDEFu);

    auto moved = t.Surface(2, 2, 0x00ABCDEF);
    moved->SetSurfaceInVideoMemory(true);
    EXPECT_EQ(moved->mSurface, nullptr);
    ASSERT_NE(moved->GetSurface(), nullptr);
    plat::DDSurfaceDesc d;
    moved->mSurface->GetSurfaceDesc(d);
    EXPECT_TRUE(d.caps & plat::DDSCAPS_VIDEOMEMORY);
    EXPECT_EQ(SurfaceDisplay::Raw(moved->mSurface, 1, 1), 0xABCDEFu);

    auto palette = t.Surface(2, 2, 0x00ABCDEF);
    ASSERT_TRUE(palette->Palettize());
    EXPECT_EQ(palette->mSurface, nullptr);
    EXPECT_TRUE(palette->IsPalettized());
    EXPECT_EQ(palette->ReadPixel(2), 0xFFABCDEFu);
}

TEST(SurfaceImage, DisplayRestartKeepsTransparentPixelsTransparent)
{
    for (Layout layout : {Layout::R5G6B5, Layout::X8R8G8B8}) {
        SurfaceDisplay t(layout);
        // A "ddsurface" image: its surface holds the only copy.
        auto image = t.Image(3, 1, {0xFFFF0000, 0x00000000, 0xFF00FF00});
        image->mSurfaceWanted = true;
        image->DiscardBits();
        EXPECT_FALSE(image->HasPixelArray());
        ASSERT_NE(image->mSurface, nullptr);

        // What the application does around a display initialisation.
        t.app.FreeAllNativeImageData();
        EXPECT_EQ(image->mSurface, nullptr);
        ASSERT_TRUE(image->HasPixelArray());
        EXPECT_EQ(image->GetBits()[1], 0x00000000u) << Name(layout);
        ASSERT_EQ(t.display->Init(t.window, true), RESULT_OK);
        t.app.ReapplyAllImageReductions();
        ASSERT_NE(image->mSurface, nullptr);
        EXPECT_FALSE(image->HasPixelArray());

        // Drawn over a grey screen the transparent pixel shows the screen.
        Graphics g(t.display->GetScreenImage());
        g.SetColor(Color(128, 128, 128));
        g.FillRect(0, 0, 10, 10);
        g.DrawImage(image.get(), 2, 2);
        plat::DDSurface* screen = t.display->mDrawSurface;
        const uint32_t grey = SurfaceDisplay::Raw(screen, 0, 0);
        EXPECT_EQ(SurfaceDisplay::Raw(screen, 3, 2), grey) << Name(layout);
        EXPECT_NE(SurfaceDisplay::Raw(screen, 2, 2), grey);
        EXPECT_NE(SurfaceDisplay::Raw(screen, 4, 2), grey);
    }
}

TEST(SurfaceImage, ImagesOutlivingTheDisplayKeepTheirPixels)
{
    auto t = std::make_unique<SurfaceDisplay>(Layout::X8R8G8B8);
    auto image = t->Surface(2, 1, 0x00345678);
    auto plain = t->Image(1, 1, {0xFF000000});
    delete t->app.mDDInterface.exchange(nullptr);
    EXPECT_EQ(image->mDDInterface, nullptr);
    EXPECT_EQ(image->mSurface, nullptr);
    ASSERT_TRUE(image->HasPixelArray());
    EXPECT_EQ(image->GetBits()[1], 0xFF345678u);
    // Drawing without a display goes to memory.
    image->FillRect(Rect(0, 0, 1, 1), Color(1, 2, 3), DRAWMODE_NORMAL);
    EXPECT_EQ(image->GetBits()[0], 0xFF010203u);
    EXPECT_EQ(image->GetSurface(), nullptr);
    image.reset();
    plain.reset();
}
