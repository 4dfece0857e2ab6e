// System fonts on the null text device (boxes of known size, see
// NullTextDevice.h) for exact geometry, and on FreeType for the goldens.
#include "FakeSurface.h"
#include "FontTestSupport.h"

#include "framework/fonts/SysFont.h"
#include "framework/fonts/TextAlphaRecovery.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Display3DTarget.h"
#include "framework/graphics/Graphics.h"
#include "platform/text/FreeTypeTextDevice.h"

#include <gtest/gtest.h>

using namespace Zelk;
using namespace fonttest;

namespace {

const uint32_t kBackground = 0xFF102030;

class SysFontTest : public ::testing::Test {
protected:
    plat::NullPlatform platform;

    // Where text drawn at (x, y) put its pixels: the box of every pixel that
    // differs from the background.
    static Box InkOf(MemoryImage& image)
    {
        auto px = Pixels(image);
        return BoundingBox(image.mWidth, image.mHeight,
                           [&](int x, int y) { return px[size_t(y) * image.mWidth + x] != kBackground; });
    }
    static Box InkOf(const FakeSurface& s, uint32_t background)
    {
        return BoundingBox(s.mWidth, s.mHeight, [&](int x, int y) { return s.Pixel(x, y) != background; });
    }
};

} // namespace

TEST(TextAlphaRecovery, TurnsTheTwoBackgroundsBackIntoArgb)
{
    struct {
        uint32_t onWhite, onBlack, want;
    } cases[] = {
        {0x336699, 0x336699, 0xFF336699}, // covered: opaque
        {0xFF336699, 0x00336699, 0xFF336699}, // the top byte does not count
        {0xFFFFFF, 0x000000, 0x00000000}, // untouched: transparent
        {0xE3B198, 0x643219, 0x80C76331}, // (200, 100, 50) at coverage 128
        {0xFFB198, 0x003219, 0x00006331}, // red white on white, black on black: no division by zero
        {0x101010, 0x808080, 0xFF585858}, // black brighter than white: alpha clamps at 255
        {0x808080, 0x000000, 0x7F000000}, // a shadow: black at half coverage
    };
    for (auto& c : cases)
        EXPECT_EQ(RecoverTextPixel(c.onWhite, c.onBlack), c.want)
            << std::hex << c.onWhite << " / " << c.onBlack;
}

TEST_F(SysFontTest, SizeWeightAndMetricsComeFromTheDevice)
{
    platform.text.SetLogPixelsY(120);
    SysFont first("Arial", 12, true, false, true);
    SysFont second(nullptr, "Tahoma", 12, 2, false, true, false);
    auto asked = platform.text.Requests();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].face, "Arial");
    EXPECT_EQ(asked[0].height, 16); // 96 dots per inch, whatever the screen says
    EXPECT_EQ(asked[0].weight, 700);
    EXPECT_FALSE(asked[0].italic);
    EXPECT_TRUE(asked[0].underline);
    EXPECT_EQ(asked[0].charset, 0);
    EXPECT_EQ(asked[1].height, 20); // the screen's 120 dots per inch
    EXPECT_EQ(asked[1].weight, 400);
    EXPECT_TRUE(asked[1].italic);
    EXPECT_EQ(asked[1].charset, 2);

    // The null device's font of em height 16: ascent 16, descent 4.
    EXPECT_EQ(first.GetAscent(), 16);
    EXPECT_EQ(first.GetHeight(), 20);
    EXPECT_EQ(first.GetDescent(), 4);
    EXPECT_EQ(first.GetLineSpacing(), 20);
    EXPECT_EQ(first.GetAscentPadding(), 0);
    EXPECT_EQ(second.GetHeight(), 25);
}

TEST_F(SysFontTest, WidthIsTheDevicesAndMissingGlyphsAreZero)
{
    SysFont font("Arial", 12); // 8 pixels a character
    font.mDrawShadow = true;
    font.mSimulateBold = true; // neither counts
    struct {
        std::wstring text;
        int width;
    } cases[] = {{L"", 0}, {L"AB C", 32}, {L"ab\ncde", 24}, {L"\x4E00", 0}, {L"A\x4E00", 8}};
    for (auto& c : cases)
        EXPECT_EQ(font.StringWidth(c.text), c.width);
    EXPECT_EQ(font.CharWidth(L'Q'), 8);
    EXPECT_EQ(font.CharWidth(0x4E00), 0);
    EXPECT_EQ(font.CharWidthKerned(L'Q', L'A'), 8);
}

TEST_F(SysFontTest, AFontTheDeviceCannotMakeMeasuresAndDrawsNothing)
{
    platform.text.SetFailCreate(true);
    SysFont font("Arial", 12);
    EXPECT_EQ(font.GetHeight(), 0);
    EXPECT_EQ(font.GetAscent(), 0);
    EXPECT_EQ(font.StringWidth(L"text"), 0);
    auto image = Filled(40, 30, kBackground);
    Graphics g(image.get());
    g.SetFont(&font);
    g.DrawString(L"text", 2, 20);
    FakeSurface surface(40, 30, 32);
    Graphics gs(&surface);
    gs.SetFont(&font);
    gs.DrawString(L"text", 2, 20);
    EXPECT_EQ(InkOf(*image), Box());
    EXPECT_TRUE(surface.log.empty());
    std::unique_ptr<Font> copy(font.Duplicate());
    EXPECT_EQ(copy->StringWidth(L"text"), 0);
}

TEST_F(SysFontTest, SurfaceTextSitsOneRowLowerThanImageText)
{
    // A box glyph of em 16 covers the 12 rows above the baseline and columns
    // 1..6 of its 8 (the last one half covered).
    struct {
        int tx, ty;
        Box image, surface;
    } cases[] = {
        {0, 0, {11, 18, 6, 12}, {11, 19, 6, 12}},
        {5, -3, {16, 15, 6, 12}, {16, 16, 6, 12}},
    };
    for (auto& c : cases) {
        SysFont font("Arial", 12);
        auto image = Filled(48, 40, kBackground);
        Graphics g(image.get());
        g.Translate(c.tx, c.ty);
        g.SetColor(Color(200, 100, 50));
        g.SetFont(&font);
        g.DrawString(L"A", 10, 30);
        EXPECT_EQ(InkOf(*image), c.image) << c.tx << "," << c.ty;
        // Full coverage gives the colour; the half-covered column blends.
        uint32_t full = Pixels(*image)[size_t(c.image.y) * 48 + c.image.x];
        uint32_t half = Pixels(*image)[size_t(c.image.y) * 48 + c.image.x + 5];
        EXPECT_EQ(full, 0xFFC86432);
        EXPECT_NE(half, full);
        EXPECT_NE(half, kBackground);

        FakeSurface surface(48, 40, 32, kBackground);
        Graphics gs(&surface);
        gs.Translate(c.tx, c.ty);
        gs.SetColor(Color(200, 100, 50));
        gs.SetFont(&font);
        gs.DrawString(L"A", 10, 30);
        EXPECT_EQ(InkOf(surface, kBackground), c.surface) << c.tx << "," << c.ty;
        EXPECT_EQ(surface.Pixel(c.surface.x, c.surface.y), 0xFFC86432u);
        EXPECT_TRUE(surface.PaddingUntouched());
    }
}

TEST_F(SysFontTest, ShadowAndBoldAreDrawnButNotCopied)
{
    struct {
        bool shadow, bold;
        Box ink;
        uint32_t belowRight; // pixel one right of and one below the glyph's last full column
    } cases[] = {
        {false, false, {11, 18, 6, 12}, kBackground},
        {true, false, {11, 18, 7, 13}, 0xFF000000},
        {false, true, {11, 18, 7, 12}, kBackground},
        {true, true, {11, 18, 8, 13}, 0xFF000000}, // the shadow of the bold pass, two columns over
    };
    for (auto& c : cases) {
        SysFont font("Arial", 12);
        font.mDrawShadow = c.shadow;
        font.mSimulateBold = c.bold;
        for (int copy = 0; copy < 2; ++copy) {
            std::unique_ptr<Font> duplicate;
            Font* used = &font;
            if (copy) {
                duplicate.reset(font.Duplicate());
                used = duplicate.get();
            }
            auto image = Filled(48, 40, kBackground);
            Graphics g(image.get());
            g.SetColor(Color::White);
            g.SetFont(used);
            g.DrawString(L"A", 10, 30);
            Box want = copy ? Box{11, 18, 6, 12} : c.ink;
            EXPECT_EQ(InkOf(*image), want) << c.shadow << c.bold << " copy " << copy;
            if (!copy) {
                EXPECT_EQ(Pixels(*image)[size_t(30) * 48 + 16], c.belowRight) << c.shadow << c.bold;
            }
        }
    }
}

TEST_F(SysFontTest, NothingIsDrawnForEmptyTextsOrWithoutADestination)
{
    SysFont font("Arial", 12);
    auto image = Filled(40, 30, kBackground);
    Graphics g(image.get());
    g.SetFont(&font);
    g.DrawString(L"", 2, 20);
    EXPECT_EQ(InkOf(*image), Box());
    Graphics nowhere(nullptr);
    nowhere.SetFont(&font);
    nowhere.DrawString(L"text", 2, 20); // the empty image: nothing, no failure
    EXPECT_EQ(nowhere.mDestImage->mWidth, 0);
}

TEST_F(SysFontTest, ImageTextFollowsTheGraphicsClipAndTheSurfaceTextTheClipArgument)
{
    SysFont font("Arial", 12);
    auto image = Filled(48, 40, kBackground);
    Graphics g(image.get());
    g.SetFont(&font);
    g.SetColor(Color::White);
    g.ClipRect(0, 0, 14, 24);
    g.DrawString(L"A", 10, 30);
    EXPECT_EQ(InkOf(*image), (Box{11, 18, 3, 6}));

    FakeSurface surface(48, 40, 32, kBackground);
    Graphics gs(&surface);
    font.DrawString(&gs, 10, 30, L"A", Color::White, Rect(0, 0, 14, 24));
    EXPECT_EQ(InkOf(surface, kBackground), (Box{11, 19, 3, 5}));
}

TEST_F(SysFontTest, SurfaceTextIgnoresTheColoursAlpha)
{
    SysFont font("Arial", 12);
    FakeSurface surface(48, 40, 16, 0xFF000000);
    Graphics g(&surface);
    g.SetFont(&font);
    g.SetColor(Color(255, 255, 255, 0));
    g.DrawString(L"A", 10, 30);
    EXPECT_EQ(surface.Pixel(11, 19), 0xFFFFFFFFu);
    EXPECT_EQ(InkOf(surface, 0xFF000000), (Box{11, 19, 6, 12}));
}

TEST_F(SysFontTest, SurfaceLockIsLetGoForTheDeviceContextAndTakenAgain)
{
    using Log = std::vector<std::string>;
    struct {
        const char* name;
        bool locked, failRelock, failDC, hasSurface, canMake;
        Log log;
        int lockCountAfter;
        bool drawn;
    } cases[] = {
        {"unlocked", false, false, false, true, true, {"ensure", "getdc", "releasedc", "drop"}, 0, true},
        {"locked", true, false, false, true, true,
         {"ensure", "unlock", "getdc", "releasedc", "drop", "relock"}, 1, true},
        {"relock fails", true, true, false, true, true,
         {"ensure", "unlock", "getdc", "releasedc", "drop", "relock", "reset"}, 0, true},
        {"no device context", true, false, true, true, true, {"ensure", "unlock", "getdc", "relock"}, 1, false},
        {"surface made now", false, false, false, false, true, {"ensure", "getdc", "releasedc", "drop"}, 0, true},
        {"no surface", false, false, false, false, false, {"ensure"}, 0, false},
    };
    for (auto& c : cases) {
        SysFont font("Arial", 12);
        FakeSurface surface(48, 40, 32, kBackground);
        surface.hasSurface = c.hasSurface;
        surface.canMakeSurface = c.canMake;
        surface.failRelock = c.failRelock;
        surface.failDC = c.failDC;
        if (c.locked)
            surface.Lock();
        Graphics g(&surface);
        g.SetFont(&font);
        g.DrawString(L"A", 10, 30);
        EXPECT_EQ(surface.log, c.log) << c.name;
        EXPECT_EQ(surface.lockCount, c.lockCountAfter) << c.name;
        EXPECT_EQ(surface.lockPointer != nullptr, c.lockCountAfter > 0) << c.name;
        EXPECT_EQ(InkOf(surface, kBackground) != Box(), c.drawn) << c.name;
    }
}

TEST_F(SysFontTest, TheRenderersSceneEndsBeforeTextOnTheThreeDimensionalScreen)
{
    ZelkAppBase app;
    auto* display = new DDInterface(&app);
    app.mDDInterface = display;
    FakeSurface screen(48, 40, 32), other(48, 40, 32);
    gIsDisplay3DTarget = [](const Image* image) { return image->mWidth == 48 && image->mHeight == 40; };
    SysFont font(&app, "Arial", 12, 0);
    for (bool is3D : {false, true}) {
        display->mIs3D = is3D;
        screen.log.clear();
        Graphics g(&screen);
        font.DrawString(&g, 0, 20, L"A", Color::White, Rect(0, 0, 48, 40));
        bool ended = std::find(screen.log.begin(), screen.log.end(), "endscene") != screen.log.end();
        EXPECT_EQ(ended, is3D);
    }
    gIsDisplay3DTarget = nullptr;
}

// ---- the desktop's faces ----

namespace {

class SysFontGolden : public ::testing::Test {
protected:
    SysFontGolden() { plat::Get().text = &device; }
    plat::NullPlatform platform;
    plat::FreeTypeTextDevice device;
};

} // namespace

// Hinted accents reach above the font's ascent: text drawn through a memory
// image keeps them as the surface does, every inked row of them.
TEST_F(SysFontGolden, AccentedCapitalsKeepTheirTopsThroughImages)
{
    struct Case {
        int points;
        bool bold;
    } cases[] = {{8, false}, {10, false}, {12, false}, {12, true}, {20, false}};
    const std::wstring text = L"\xC4\xD6\xDC\xC5\xC9";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.points) + (c.bold ? " bold" : ""));
        SysFont font("Arial", c.points, c.bold);
        auto image = Filled(120, 60, 0xFF000000);
        Graphics g(image.get());
        g.SetColor(Color::White);
        g.SetFont(&font);
        g.DrawString(text, 10, 40);
        auto px = Pixels(*image);
        Box viaImage = BoundingBox(120, 60, [&](int x, int y) { return px[size_t(y) * 120 + x] != 0xFF000000; });

        FakeSurface surface(120, 60, 32, 0xFF000000);
        Graphics gs(&surface);
        gs.SetColor(Color::White);
        gs.SetFont(&font);
        gs.DrawString(text, 10, 40);
        Box viaSurface = BoundingBox(120, 60, [&](int x, int y) { return surface.Pixel(x, y) != 0xFF000000; });

        EXPECT_GT(viaImage.h, font.GetAscent() / 2);
        EXPECT_EQ(viaImage.h, viaSurface.h);
        EXPECT_EQ(viaImage.w, viaSurface.w);
        EXPECT_EQ(viaImage.y + 1, viaSurface.y); // surface text sits one row lower
    }
}

// The default face has no Chinese, Japanese or Korean glyphs of its own: each
// such character comes from the first installed face that has it.
TEST_F(SysFontGolden, CharactersTheFaceLacksComeFromAFallbackFace)
{
    SysFont font("Arial Unicode MS", 12);
    struct Case {
        const wchar_t* text;
    } cases[] = {{L"\x4E2D\x6587"}, {L"\x65E5\x672C\x8A9E \x3072\x3089\x304C\x306A"}, {L"\xD55C\xAD6D\xC5B4"},
                 {L"Mixed \x6F22\x5B57 text"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        int width = font.StringWidth(c.text);
        EXPECT_GT(width, 0);
        auto image = Filled(200, 40, 0xFF000000);
        Graphics g(image.get());
        g.SetColor(Color::White);
        g.SetFont(&font);
        g.DrawString(c.text, 4, 28);
        auto px = Pixels(*image);
        Box ink = BoundingBox(200, 40, [&](int x, int y) { return px[size_t(y) * 200 + x] != 0xFF000000; });
        EXPECT_GT(ink.w, width / 2);
        EXPECT_GT(ink.h, 6);
    }
}

TEST_F(SysFontGolden, SampleOnImagesAndOnSurfaces)
{
    SysFont sans("Liberation Sans", 12);
    SysFont bold("Liberation Sans", 12, true);
    bold.mDrawShadow = true;
    SysFont serif("Liberation Serif", 12, false, true, true);
    EXPECT_EQ(sans.GetAscent(), 14);
    EXPECT_EQ(sans.GetHeight(), 17);
    EXPECT_EQ(sans.StringWidth(L"Hello, World!"), 92);

    auto draw = [&](Graphics& g) {
        g.SetColor(Color(255, 255, 255));
        g.SetFont(&sans);
        g.DrawString(L"Quillmore 1.0 \xC4\xD6\xDC \xE9t\xE9", 4, 18);
        g.SetColor(Color(255, 210, 80));
        g.SetFont(&bold);
        g.DrawString(L"Bold with shadow", 4, 38);
        g.SetColor(Color(120, 200, 255));
        g.SetFont(&serif);
        g.DrawString(L"Serif italic, underlined", 4, 58);
    };
    auto image = Filled(180, 66, 0xFF304860);
    Graphics g(image.get());
    draw(g);
    CheckGolden("fonts/sysfont_image", 180, 66, Pixels(*image));

    FakeSurface surface(180, 66, 16, 0xFF304860);
    Graphics gs(&surface);
    draw(gs);
    CheckGolden("fonts/sysfont_surface565", 180, 66, surface.Pixels());
}
