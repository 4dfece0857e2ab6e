// Which path a drawing operation of a surface image takes: the renderer for
// the 3D target, a DirectDraw blit, the software routines on the surface, or
// the memory image.
#include "SurfaceFixture.h"
#include "framework/fonts/SysFont.h"
#include "framework/graphics/Graphics.h"

using namespace Zelk;
using namespace Zelk::test;

namespace {

// A surface image that notes the routines the dispatchers pick.
class SpyImage : public DDImage {
public:
    using DDImage::DDImage;
    bool FillRectNormal(const Rect& r, const Color& c) override
    {
        calls.push_back("FillRectNormal " + Str(r));
        return DDImage::FillRectNormal(r, c);
    }
    void BlitRotated(Image* src, float x, float y, const Rect& sr, const Rect& clip, const Color& c, int mode,
                     double angle, float cx, float cy) override
    {
        calls.push_back("BlitRotated angle " + std::to_string(angle) + " centre " + std::to_string(int(cx)) + "," +
                        std::to_string(int(cy)));
        DDImage::BlitRotated(src, x, y, sr, clip, c, mode, angle, cx, cy);
    }
    void Blit(Image* src, int x, int y, const Rect& sr, const Color& c, int mode) override
    {
        const MemoryImage* m = dynamic_cast<MemoryImage*>(src);
        calls.push_back(std::string("Blit ") + (dynamic_cast<DDImage*>(src) ? "surface image" : "memory image") +
                        " " + std::to_string(x) + "," + std::to_string(y) + " " + Str(sr) +
                        (m ? " of " + std::to_string(m->mWidth) + "x" + std::to_string(m->mHeight) : ""));
        DDImage::Blit(src, x, y, sr, c, mode);
    }
    static std::string Str(const Rect& r)
    {
        return "(" + std::to_string(r.mX) + "," + std::to_string(r.mY) + "," + std::to_string(r.mWidth) + "," +
               std::to_string(r.mHeight) + ")";
    }
    std::vector<std::string> calls;
};

std::unique_ptr<SpyImage> Spy(SurfaceDisplay& t, int w, int h, uint32_t pixel)
{
    auto image = std::make_unique<SpyImage>(t.display);
    std::vector<uint32_t> px(size_t(w) * h, pixel);
    image->SetBits(px.data(), w, h);
    return image;
}

} // namespace

TEST(SurfaceDispatch, FillRectPicksItsPath)
{
    struct Case {
        const char* what;
        bool target;        // the screen image of a display in 3D
        bool display3D;     // another image while the display is in 3D
        uint32_t pixel;     // the image's pixels
        const char* path;   // "renderer", "surface" or "memory"
    } cases[] = {
        {"3D target", true, true, 0xFF000000, "renderer"},
        {"opaque, 2D", false, false, 0xFF000000, "surface"},
        {"transparent pixels", false, false, 0x00000000, "memory"},
        {"semi-transparent pixels", false, false, 0x80000000, "memory"},
        {"opaque, display in 3D", false, true, 0xFF000000, "memory"},
    };
    for (const Case& c : cases) {
        SurfaceDisplay t;
        auto* spy = new SpyRenderer();
        delete t.display->mD3DInterface;
        t.display->mD3DInterface = spy;
        t.display->mIs3D = c.display3D;
        DDImage* image = t.display->GetScreenImage();
        std::unique_ptr<DDImage> own;
        if (!c.target) {
            own = t.Image(4, 4, std::vector<uint32_t>(16, c.pixel));
            image = own.get();
        }
        image->FillRect(Rect(1, 1, 2, 2), Color(0, 0, 255), DRAWMODE_NORMAL);
        const std::string path = !spy->calls.empty() ? "renderer" : image->mSurface ? "surface" : "memory";
        EXPECT_EQ(path, c.path) << c.what;
        if (path == "surface") {
            EXPECT_FALSE(image->HasPixelArray()) << "the surface holds the only pixels";
            EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 1, 1), 0x000000FEu);
        }
        if (path == "memory")
            EXPECT_EQ(image->GetBits()[5] & 0xFFFFFF, 0x0000FFu) << c.what;
        t.display->mIs3D = false;
    }
}

TEST(SurfaceDispatch, StraightLinesAreFills)
{
    SurfaceDisplay t;
    auto image = Spy(t, 12, 6, 0xFF000000);
    image->DrawLine(5.7, 3.2, 9.1, 3.2, Color::White, DRAWMODE_NORMAL);
    image->DrawLine(2.5, 4.9, 2.5, 1.1, Color::White, DRAWMODE_NORMAL);
    image->DrawAntiAliasedLine(0.0, 0.0, 3.0, 0.0, Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(image->calls, (std::vector<std::string>{"FillRectNormal (5,3,5,1)", "FillRectNormal (2,1,1,4)",
                                                       "FillRectNormal (0,0,4,1)"}));
}

TEST(SurfaceDispatch, FractionalBlitIn2DIsAnUnturnedRotation)
{
    SurfaceDisplay t;
    auto image = Spy(t, 8, 8, 0xFF000000);
    auto src = t.Memory(2, 2, std::vector<uint32_t>(4, 0xFFFFFFFF));
    image->BlitFloat(src.get(), 1.5f, 2.5f, Rect(0, 0, 2, 2), Rect(0, 0, 8, 8), Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(image->calls, (std::vector<std::string>{"BlitRotated angle 0.000000 centre 0,0"}));
}

TEST(SurfaceDispatch, ThreeDTargetTakesSurfaceCopiesAndRendersTheRest)
{
    SurfaceDisplay t;
    auto* spy = new SpyRenderer();
    delete t.display->mD3DInterface;
    t.display->mD3DInterface = spy;
    t.display->mIs3D = true;
    DDImage* screen = t.display->GetScreenImage();
    ASSERT_TRUE(screen->Is3DTarget());
    auto sprite = t.Image(2, 2, {0xFFFF0000, 0x00000000, 0xFFFF0000, 0xFFFF0000});
    ASSERT_NE(sprite->GetSurface(), nullptr);
    plat::DirectDrawDevice& device = plat::DirectDrawDevice::Get();

    // An opaque-white copy of a surface image is a DirectDraw blit, keyed.
    SurfaceDisplay::SetRaw(t.display->mDrawSurface, 11, 20, 0x00ABCDEF);
    const int blts = device.blts;
    screen->Blit(sprite.get(), 10, 20, Rect(0, 0, 2, 2), Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(device.blts, blts + 1);
    EXPECT_TRUE(device.lastBltFlags & plat::DDBLT_KEYSRC);
    EXPECT_EQ(SurfaceDisplay::Raw(t.display->mDrawSurface, 10, 20), 0x00FF0000u);
    EXPECT_EQ(SurfaceDisplay::Raw(t.display->mDrawSurface, 11, 20), 0x00ABCDEFu) << "the key colour is left out";
    EXPECT_TRUE(spy->calls.empty());
    EXPECT_TRUE(sprite->mDrawn);

    // Anything else goes to the renderer.
    screen->Blit(sprite.get(), 10, 20, Rect(0, 0, 2, 2), Color(255, 255, 255, 128), DRAWMODE_NORMAL);
    auto memory = t.Memory(2, 2, std::vector<uint32_t>(4, 0xFF00FF00));
    screen->Blit(memory.get(), 3, 4, Rect(0, 0, 2, 2), Color::White, DRAWMODE_NORMAL);
    screen->BlitFloat(memory.get(), 3.5f, 4.0f, Rect(0, 0, 2, 2), Rect(0, 0, 800, 600), Color::White,
                      DRAWMODE_NORMAL);
    screen->BlitFloat(memory.get(), -1.0f, 4.0f, Rect(0, 0, 2, 2), Rect(0, 0, 800, 600), Color::White,
                      DRAWMODE_NORMAL);
    screen->BlitFloat(memory.get(), -5.0f, 4.0f, Rect(0, 0, 2, 2), Rect(0, 0, 800, 600), Color::White,
                      DRAWMODE_NORMAL);
    screen->BlitStretched(memory.get(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 800, 600), Color::White,
                          DRAWMODE_NORMAL, true);
    screen->BlitStretchedMirrored(memory.get(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 800, 600),
                                  Color::White, DRAWMODE_NORMAL, false);
    screen->DrawLine(0.0, 0.0, 5.0, 5.0, Color::White, DRAWMODE_NORMAL);
    const Point corners[3] = {{0, 0}, {5, 0}, {0, 5}};
    EXPECT_TRUE(screen->FillPolygon(corners, 3, nullptr, Color::White, DRAWMODE_NORMAL, 0, 0));
    EXPECT_FALSE(sprite->FillPolygon(corners, 3, nullptr, Color::White, DRAWMODE_NORMAL, 0, 0));
    EXPECT_EQ(spy->calls, (std::vector<std::string>{"Blt 10,20 alpha 128", "Blt 3,4 alpha 255",
                                                     "Blt 3,4 alpha 255 linear", "BltTranslated", "BltStretched nearest",
                                                     "BltStretched mirror", "DrawLine", "FillPolygon"}));
    EXPECT_EQ(device.blts, blts + 1);
    t.display->mIs3D = false;
}

TEST(SurfaceDispatch, CoverageOntoTheThreeDTargetGoesThroughATemporaryImage)
{
    SurfaceDisplay t;
    auto* spy = new SpyRenderer();
    delete t.display->mD3DInterface;
    t.display->mD3DInterface = spy;
    t.display->mIs3D = true;
    const Span spans[] = {{5, 12, 3}, {6, 10, 4}};
    const std::vector<Span> before(spans, spans + 2);
    const uint8_t coverage[32] = {};
    t.display->GetScreenImage()->FillCoverageSpans(spans, 2, Color::White, DRAWMODE_NORMAL, coverage, 10, 5, 8, 2);
    EXPECT_EQ(spy->calls, (std::vector<std::string>{"Blt 10,5 alpha 255"}));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(spans[i].mX, before[size_t(i)].mX) << "the caller's spans are left as they were";
        EXPECT_EQ(spans[i].mY, before[size_t(i)].mY);
    }
    t.display->mIs3D = false;
}

TEST(SurfaceDispatch, FastStretchOfASurfaceImageIsOneDirectDrawBlit)
{
    SurfaceDisplay t;
    auto image = t.Image(6, 6, std::vector<uint32_t>(36, 0xFF000000));
    auto src = t.Image(2, 2, {0xFF000010, 0xFF000020, 0xFF000030, 0xFF000040});
    ASSERT_TRUE(image->LockSurface()); // as during a frame
    plat::DirectDrawDevice& device = plat::DirectDrawDevice::Get();
    const int blts = device.blts;
    // The clip leaves 1.2 source pixels of each side: the source rectangle is truncated.
    image->BlitStretched(src.get(), Rect(0, 0, 5, 5), Rect(0, 0, 2, 2), Rect(0, 0, 3, 3), Color::White,
                         DRAWMODE_NORMAL, true);
    EXPECT_EQ(device.blts, blts + 1);
    EXPECT_EQ(device.lastBltSource.left, 0);
    EXPECT_EQ(device.lastBltSource.right, 1);
    EXPECT_EQ(device.lastBltSource.bottom, 1);
    EXPECT_EQ(device.lastBltDest.right, 3);
    EXPECT_FALSE(image->HasPixelArray());
    EXPECT_EQ(image->mSurface->LockCount(), 1) << "locked again after the blit";
    image->UnlockSurface();
    EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 2, 2), 0x10u);
    EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 3, 3), 0u);

    // When locking again fails the surface has still changed: the memory copy goes.
    auto other = t.Image(6, 6, std::vector<uint32_t>(36, 0xFF000000));
    ASSERT_TRUE(other->LockSurface());
    device.FailNext("Lock", plat::DDERR_SURFACEBUSY);
    other->BlitStretched(src.get(), Rect(0, 0, 6, 6), Rect(0, 0, 2, 2), Rect(0, 0, 6, 6), Color::White,
                         DRAWMODE_NORMAL, true);
    EXPECT_FALSE(other->HasPixelArray());
    EXPECT_EQ(SurfaceDisplay::Raw(other->mSurface, 5, 5), 0x40u);

    // From a memory image it is the software stretch.
    auto memory = t.Memory(2, 2, {0xFF000010, 0xFF000020, 0xFF000030, 0xFF000040});
    auto third = t.Image(4, 4, std::vector<uint32_t>(16, 0xFF000000));
    const int before = device.blts;
    third->BlitStretched(memory.get(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), Color::White,
                         DRAWMODE_NORMAL, true);
    EXPECT_EQ(device.blts, before);
    EXPECT_EQ(SurfaceDisplay::Raw(third->mSurface, 3, 3), 0xFF000040u);
    EXPECT_FALSE(third->HasPixelArray());
}

TEST(SurfaceDispatch, SmoothStretchGoesThroughATemporaryImage)
{
    SurfaceDisplay t;
    auto image = Spy(t, 8, 8, 0xFF000000);
    auto src = t.Memory(2, 2, std::vector<uint32_t>(4, 0xFF808080));
    image->BlitStretched(src.get(), Rect(0, 0, 6, 6), Rect(0, 0, 2, 2), Rect(1, 0, 4, 8), Color::White,
                         DRAWMODE_NORMAL, false);
    EXPECT_EQ(image->calls, (std::vector<std::string>{"Blit memory image 1,0 (0,0,4,6) of 4x6"}));
    EXPECT_FALSE(image->HasPixelArray());

    // The surface ends with the two steps worked out on memory images: the
    // smooth stretch of the clipped part into a fresh (transparent) image of
    // the clipped size, whose premultiplied native pixels the plain blit then
    // lays over the black surface: each value is d (256 - a) >> 8 + n, here n,
    // and a pixel of alpha 0 leaves the surface alone. A flat and a
    // four-colour source, one pixel of it half transparent.
    const std::vector<uint32_t> sources[] = {std::vector<uint32_t>(4, 0xFF808080),
                                             {0xFFFF0000, 0xFF00FF00, 0x800000FF, 0xFF102030}};
    for (const auto& pixels : sources) {
        auto surface = Spy(t, 8, 8, 0xFF000000);
        auto from = t.Memory(2, 2, pixels);
        surface->BlitStretched(from.get(), Rect(0, 0, 6, 6), Rect(0, 0, 2, 2), Rect(1, 0, 4, 8), Color::White,
                               DRAWMODE_NORMAL, false);
        auto temporary = t.Memory(4, 6, std::vector<uint32_t>(24, 0));
        temporary->BlitStretched(from.get(), Rect(-1, 0, 6, 6), Rect(0, 0, 2, 2), Rect(0, 0, 4, 6), Color::White,
                                 DRAWMODE_NORMAL, false);
        const uint32_t* argb = temporary->GetBits();
        const uint32_t* native = temporary->GetNativeBits(t.display);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= 1 && x < 5 && y < 6;
                const size_t i = size_t(y * 4 + x - 1);
                const uint32_t want = inside && argb[i] >> 24 != 0 ? native[i] & 0xFFFFFF : 0;
                EXPECT_EQ(SurfaceDisplay::Raw(surface->mSurface, x, y) & 0xFFFFFF, want)
                    << std::hex << pixels[0] << " at " << std::dec << x << "," << y;
            }
    }
}

TEST(SurfaceDispatch, FailedLockKeepsTheMemoryCopy)
{
    SurfaceDisplay t;
    auto image = t.Image(3, 1, {0xFF000001, 0xFF000002, 0xFF000003});
    ASSERT_NE(image->GetSurface(), nullptr);
    plat::DirectDrawDevice::Get().FailNext("Lock", plat::DDERR_SURFACELOST);
    image->FillRect(Rect(0, 0, 1, 1), Color(0, 0, 255), DRAWMODE_NORMAL);
    ASSERT_TRUE(image->HasPixelArray());
    EXPECT_EQ(image->GetBits()[0], 0xFF0000FFu) << "drawn in memory instead";
    EXPECT_EQ(image->GetBits()[2], 0xFF000003u);
    EXPECT_EQ(image->mSurface, nullptr);
}

TEST(SurfaceDispatch, CursorAreasDrawOnTheirSurfacesIn3D)
{
    SurfaceDisplay t;
    t.display->mIs3D = true;
    DDImage* area = t.display->mNewCursorAreaImage;
    auto cursor = t.Memory(2, 2, std::vector<uint32_t>(4, 0xFF123456));
    Graphics(area).DrawImage(cursor.get(), 5, 6);
    EXPECT_EQ(SurfaceDisplay::Raw(area->mSurface, 5, 6), 0xFF123456u);
    t.display->mIs3D = false;
}

TEST(SurfaceDispatch, SystemFontTextGoesOntoTheSurfaceInsideAFrame)
{
    SurfaceDisplay t;
    DDImage* screen = t.display->GetScreenImage();
    ASSERT_TRUE(screen->LockSurface()); // the frame's lock
    SysFont font("Arial", 12);
    Graphics g(screen);
    g.SetFont(&font);
    g.SetColor(Color::White);
    g.DrawString(L"MM", 10, 30);
    // The frame's lock is back in place.
    EXPECT_EQ(screen->mLockCount, 1);
    EXPECT_EQ(screen->mSurface->LockCount(), 1);
    ASSERT_TRUE(screen->UnlockSurface());
    int lit = 0;
    for (int y = 10; y < 35; ++y)
        for (int x = 10; x < 30; ++x)
            lit += SurfaceDisplay::Raw(t.display->mDrawSurface, x, y) != 0;
    EXPECT_GT(lit, 10);
}
