// The display on the null platform: set-up and its results, refresh rate,
// additive tables, presenting, the 3D decision and the program-drawn cursor.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/D3DTester.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "platform/NullPlatform.h"
#include "platform/ddraw/DirectDraw.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace Zelk;

namespace {

plat::DirectDrawDevice& Device() { return plat::DirectDrawDevice::Get(); }

// The bytes of a surface's pixels, row by row (the padding left out).
std::vector<uint8_t> Snapshot(plat::DDSurface* s)
{
    plat::DDSurfaceDesc d;
    EXPECT_EQ(s->Lock(nullptr, d, plat::DDLOCK_WAIT), plat::DD_OK);
    const size_t row = size_t(d.width) * (d.pixelFormat.rgbBitCount / 8);
    std::vector<uint8_t> bytes(row * size_t(d.height));
    for (int y = 0; y < d.height; ++y)
        std::memcpy(bytes.data() + row * size_t(y), static_cast<uint8_t*>(d.surface) + size_t(y) * size_t(d.pitch),
                    row);
    s->Unlock();
    return bytes;
}

} // namespace

class Display : public ::testing::Test {
protected:
    void SetUp() override
    {
        Device().Reset();
        gLast3DError.clear();
        plat::WindowDesc wd;
        window = platform.windows.Create(wd);
    }
    void TearDown() override
    {
        display.reset();
        Device().Reset();
        gLast3DError.clear();
    }
    // A display in 2D, initialised windowed or full screen.
    int Make(bool windowed = true)
    {
        display = std::make_unique<DDInterface>(&app);
        display->mIs3D = false;
        app.mTest3D = false;
        return display->Init(window, windowed);
    }
    plat::NullPlatform platform;
    ZelkAppBase app;
    plat::WindowHandle window = 0;
    std::unique_ptr<DDInterface> display;
};

TEST_F(Display, ResultNames)
{
    const char* names[] = {"RESULT_OK", "RESULT_FAIL", "RESULT_DD_CREATE_FAIL", "RESULT_SURFACE_FAIL",
                           "RESULT_EXCLUSIVE_FAIL", "RESULT_DISPCHANGE_FAIL", "RESULT_INVALID_COLORDEPTH",
                           "RESULT_UNKNOWN"};
    for (int r = 0; r <= 7; ++r)
        EXPECT_EQ(DisplayResultName(r), names[r]);
    EXPECT_EQ(DisplayResultName(-1), "RESULT_UNKNOWN");
}

TEST_F(Display, FailuresGiveTheirResultAndErrorText)
{
    struct Case {
        bool windowed;
        const char* operation;
        int32_t code;
        int result;
        const char* text;
    } cases[] = {
        {true, "DirectDrawCreateEx", plat::E_FAIL, 2, "DirectDrawCreateEx: DSERR_GENERIC"},
        {true, "QueryInterface", plat::DDERR_NODIRECTDRAWHW, 2,
         "QueryrInterface IID_IDirectDraw: DDERR_NODIRECTDRAWHW"},
        {true, "CreateSurface", plat::E_OUTOFMEMORY, 3, "CreateSurface Windowed Primary: E_OUTOFMEMORY"},
        {true, "CreateClipper", plat::DDERR_OUTOFVIDEOMEMORY, 1, "CreateClipper Windowed: DDERR_OUTOFVIDEOMEMORY"},
        {false, "SetCooperativeLevel", plat::DDERR_NOEXCLUSIVEMODE, 4,
         "SetCooperativeLevel FullScreen: DDERR_NOEXCLUSIVEMODE"},
        {false, "SetDisplayMode", plat::DDERR_INVALIDMODE, 5, "SetDisplayMode FullScreen: DDERR_INVALIDMODE"},
        {false, "GetAttachedSurface", plat::DDERR_NOTFOUND, 3, "GetAttachedSurface: DDERR_NOTFOUND"},
        {false, "CreateClipper", plat::DDERR_OUTOFVIDEOMEMORY, 1, "CreateClipper FullScreen: DDERR_OUTOFVIDEOMEMORY"},
    };
    for (const Case& c : cases) {
        display.reset();
        Device().Reset();
        Device().FailNext(c.operation, c.code);
        EXPECT_EQ(Make(c.windowed), c.result) << c.operation;
        EXPECT_EQ(display->mErrorText, c.text);
        EXPECT_FALSE(display->mInitialized);
        EXPECT_FALSE(display->Redraw(nullptr)) << c.operation;
        Device().Reset();
        EXPECT_EQ(display->Init(window, c.windowed), RESULT_OK) << "a second Init starts afresh";
    }
}

TEST_F(Display, DesktopDepthsOtherThanSixteenAndThirtyTwoAreRefused)
{
    for (int depth : {8, 24}) {
        Device().config.bitDepth = depth;
        EXPECT_EQ(Make(true), RESULT_INVALID_COLORDEPTH) << depth;
        EXPECT_EQ(display->GetScreenImage(), nullptr);
    }
}

TEST_F(Display, RefreshRateIsKeptBetweenSixtyAndOneHundred)
{
    struct {
        int monitor; // 0: the frequency cannot be read
        int rate, period;
        bool adjusted;
    } cases[] = {{50, 60, 16, true}, {0, 60, 16, true}, {120, 100, 10, true}, {75, 75, 13, false}, {60, 60, 16, false}};
    for (auto& c : cases) {
        Device().config.refreshRate = c.monitor;
        app.mRefreshRateAdjusted = false;
        ASSERT_EQ(Make(), RESULT_OK);
        EXPECT_EQ(display->mRefreshRate, c.rate) << c.monitor;
        EXPECT_EQ(display->mMillisecondsPerFrame, c.period) << c.monitor;
        EXPECT_EQ(app.mRefreshRateAdjusted, c.adjusted) << c.monitor;
    }
}

TEST_F(Display, PixelLayoutAndAdditiveTablesFollowTheDesktop)
{
    struct {
        int depth;
        bool rgb555;
        int red, green, blue; // bits
        size_t redTable, greenTable, blueTable;
    } cases[] = {{16, false, 5, 6, 5, 63, 127, 63}, {16, true, 5, 5, 5, 63, 63, 63}, {32, false, 8, 8, 8, 511, 511, 511}};
    for (auto& c : cases) {
        Device().config.bitDepth = c.depth;
        Device().config.rgb555 = c.rgb555;
        ASSERT_EQ(Make(), RESULT_OK);
        EXPECT_EQ(display->mBitDepth, c.depth);
        EXPECT_EQ(display->mRedBits, c.red);
        EXPECT_EQ(display->mGreenBits, c.green);
        EXPECT_EQ(display->mBlueBits, c.blue);
        EXPECT_EQ(display->mRedAddTable.size(), c.redTable);
        EXPECT_EQ(display->mGreenAddTable.size(), c.greenTable);
        EXPECT_EQ(display->mBlueAddTable.size(), c.blueTable);
        const int max = (1 << c.green) - 1;
        EXPECT_EQ(display->mGreenAddTable[size_t(max - 1)], max - 1);
        EXPECT_EQ(display->mGreenAddTable[size_t(max + 1)], max);
        EXPECT_TRUE(gDisplayRGBOrder);
    }
}

TEST_F(Display, WideDesktopIn3DStretchesTheFrameBetweenBars)
{
    Device().config.width = 1280;
    Device().config.height = 800;
    display = std::make_unique<DDInterface>(&app);
    app.mTest3D = false;
    display->mIs3D = true;
    EXPECT_EQ(display->Init(window, false), RESULT_OK);
    EXPECT_EQ(display->mPresentationRect, Rect(107, 0, 1066, 800));
    EXPECT_TRUE(display->mIsWidescreen);
    EXPECT_EQ(Device().modeWidth, 1280);
    EXPECT_EQ(Device().modeHeight, 800);
    EXPECT_EQ(display->mPrimarySurface->PixelARGB(50, 400), 0xFF000000u);

    ASSERT_EQ(Make(false), RESULT_OK); // in 2D the mode is the drawing size
    EXPECT_EQ(Device().modeWidth, 800);
    EXPECT_EQ(Device().modeHeight, 600);
    EXPECT_EQ(display->mPresentationRect, Rect(0, 0, 800, 600));
}

TEST_F(Display, RendererThatCannotStartGivesTheThreeDResult)
{
    display = std::make_unique<DDInterface>(&app);
    app.mTest3D = false;
    display->mIs3D = true;
    Device().FailNext("CreateDevice", plat::DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(display->Init(window, true), RESULT_3D_FAIL);
    EXPECT_EQ(display->mErrorText, "3D init error: " + gLast3DError);
    EXPECT_NE(gLast3DError.find("DDERR_OUTOFVIDEOMEMORY"), std::string::npos);
}

TEST_F(Display, WindowedRedrawShowsTheScreenImageInTheClientArea)
{
    platform.windows.clientOriginX = 40;
    platform.windows.clientOriginY = 30;
    EXPECT_FALSE(std::make_unique<DDInterface>(&app)->Redraw(nullptr)); // before Init
    ASSERT_EQ(Make(), RESULT_OK);
    DDImage* screen = display->GetScreenImage();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->mWidth, 800);
    EXPECT_EQ(screen->mHeight, 600);
    {
        Graphics g(screen);
        g.SetColor(Color(0, 0, 255));
        g.FillRect(0, 0, 800, 600);
        g.SetColor(Color(255, 0, 0));
        g.FillRect(10, 20, 5, 5);
    }
    ASSERT_TRUE(display->Redraw(nullptr));
    // The primary is the desktop: the frame lands at the client origin.
    EXPECT_EQ(display->mPrimarySurface->PixelARGB(40 + 10, 30 + 20), 0xFFFE0000u);
    EXPECT_EQ(display->mPrimarySurface->PixelARGB(40 + 9, 30 + 20), 0xFF0000FEu);
    int w = 0, h = 0;
    std::vector<uint32_t> frame = platform.windows.LastFrame(w, h);
    ASSERT_EQ(w, 800);
    ASSERT_EQ(h, 600);
    EXPECT_EQ(frame[size_t(20 * w + 12)], 0xFFFE0000u);
    EXPECT_EQ(frame[size_t(599 * w + 799)], 0xFF0000FEu);

    // A lost primary fails the present; the display does not restore it.
    Device().LoseSurfaces();
    EXPECT_FALSE(display->Redraw(nullptr));
    EXPECT_EQ(display->mErrorText, "Redraw Windowed: DDERR_SURFACELOST");
    EXPECT_EQ(display->Init(window, true), RESULT_OK);
    EXPECT_TRUE(display->Redraw(nullptr));
}

TEST_F(Display, FullScreenFlipShowsTheFrame)
{
    ASSERT_EQ(Make(false), RESULT_OK);
    Graphics g(display->GetScreenImage());
    g.SetColor(Color(0, 255, 0));
    g.FillRect(0, 0, 800, 600);
    ASSERT_TRUE(display->Redraw(nullptr));
    EXPECT_EQ(display->mPrimarySurface->PixelARGB(400, 300), 0xFF00FE00u);
    Device().FailNext("Flip", plat::DDERR_SURFACELOST);
    EXPECT_FALSE(display->Redraw(nullptr));
    EXPECT_EQ(display->mErrorText, "Redraw FullScreen Flip: DDERR_SURFACELOST");
}

TEST_F(Display, RecordedDirect3DErrorSwitchesTo2D)
{
    ASSERT_EQ(Make(), RESULT_OK);
    display->mIs3D = true;
    gLast3DError = "DrawPrimitive (Tri) 1: D3DERR_INVALIDVERTEXTYPE";
    EXPECT_FALSE(display->Redraw(nullptr));
    EXPECT_FALSE(display->mIs3D);
}

TEST_F(Display, WithoutDirectDrawCreateExTheFirstInterfaceMakesTheSurfaces)
{
    Device().config.hasCreateEx = false;
    display = std::make_unique<DDInterface>(&app);
    app.mTest3D = true;
    EXPECT_EQ(display->Init(window, true), RESULT_OK);
    EXPECT_EQ(display->mDD7, nullptr);
    EXPECT_NE(display->mDD, nullptr);
    EXPECT_NE(display->mPrimarySurface, nullptr);
    ASSERT_NE(display->mD3DTester, nullptr);
    EXPECT_EQ(display->mD3DTester->mFailureReason, "No DirectDrawCreateEx");
    EXPECT_FALSE(display->mIs3D);
    EXPECT_FALSE(display->Tester3DClean());
    // The test runs once in the life of the display.
    EXPECT_FALSE(display->DecideUse3D(window));

    Device().FailNext("DirectDrawCreate", plat::E_OUTOFMEMORY);
    EXPECT_EQ(display->Init(window, true), RESULT_DD_CREATE_FAIL);
    EXPECT_EQ(display->mErrorText, "DirectDrawCreate: E_OUTOFMEMORY");
}

TEST_F(Display, ThreeDChoiceAfterTheTest)
{
    struct {
        bool current, auto3D;
        const char* failure;
        const char* warning;
        bool changed;
        bool result;
    } cases[] = {
        {false, true, "", "", false, true},                         // a clean result with automatic 3D
        {false, false, "", "", false, false},                       // a clean result keeps the choice
        {true, true, "Not enough video memory.", "", false, false}, // a failure always ends 3D
        {true, true, "", "Low video memory.", false, true},         // a warning keeps the choice
        {false, true, "", "Low video memory.", false, false},
        {true, true, "", "Low video memory.", true, false},         // a new result with a warning ends 3D
    };
    // Without a stored choice a warning leaves 3D off; a clean result with
    // automatic 3D still turns it on.
    {
        D3DTester warned;
        warned.mWarning = "Unsupported video card: Zelk Software Rasterizer";
        EXPECT_FALSE(DDInterface::Use3DAfterTest(true, true, warned, false));
        EXPECT_TRUE(DDInterface::Use3DAfterTest(true, true, warned, true));
        D3DTester clean;
        EXPECT_TRUE(DDInterface::Use3DAfterTest(false, true, clean, false));
    }
    for (auto& c : cases) {
        D3DTester tester;
        tester.mFailureReason = c.failure;
        tester.mWarning = c.warning;
        tester.mResultChanged = c.changed;
        EXPECT_EQ(DDInterface::Use3DAfterTest(c.current, c.auto3D, tester), c.result)
            << c.current << c.auto3D << c.failure << c.warning << c.changed;
    }
}

class DisplayCursor : public Display {
protected:
    void SetUp() override
    {
        Display::SetUp();
        platform.windows.clientOriginX = 16;
        platform.windows.clientOriginY = 8;
        ASSERT_EQ(Make(), RESULT_OK);
        // A pattern every pixel of which differs from its neighbours.
        MemoryImage pattern(&app);
        std::vector<uint32_t> px(800 * 600);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                px[size_t(y * 800 + x)] = 0xFF000000u | uint32_t(x * 7 + y * 13) << 8 | uint32_t(x ^ y);
        pattern.SetBits(px.data(), 800, 600);
        Graphics(display->GetScreenImage()).DrawImage(&pattern, 0, 0);
        ASSERT_TRUE(display->Redraw(nullptr));
        // An arrow-like cursor: opaque and transparent pixels.
        std::vector<uint32_t> c(20 * 24);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 20; ++x)
                c[size_t(y * 20 + x)] = x <= y ? 0xFFFFFFFFu : 0;
        cursor = std::make_unique<MemoryImage>(&app);
        cursor->SetBits(c.data(), 20, 24);
    }
    std::unique_ptr<MemoryImage> cursor;
};

TEST_F(DisplayCursor, NoCursorImageDrawsNothing)
{
    const std::vector<uint8_t> before = Snapshot(display->mPrimarySurface);
    display->SetCursorPosition(100, 100);
    EXPECT_FALSE(display->mHasOldCursorArea);
    EXPECT_EQ(Snapshot(display->mPrimarySurface), before);
    EXPECT_TRUE(display->SetCursorImage(cursor.get()));
    EXPECT_FALSE(display->SetCursorImage(cursor.get()));
    // The forms the cursor thread reads are ready.
    EXPECT_NE(cursor->mNativeBits, nullptr);
    EXPECT_NE(cursor->mAlphaRunLengths, nullptr);
    display->SetCursorImage(nullptr);
}

TEST_F(DisplayCursor, MovesRestoreThePrimaryByteForByte)
{
    plat::DDSurface* primary = display->mPrimarySurface;
    const std::vector<uint8_t> before = Snapshot(primary);
    display->SetCursorImage(cursor.get());
    // Cursor (x, y): the image's top-left lies at x - 10, y - 12 in the client area.
    const struct {
        int x, y;
    } moves[] = {{100, 100}, {104, 103}, {120, 90}, {400, 300}, {2, 3}, {798, 597}, {30, 50}, {31, 50}, {30, 50}};
    for (auto& m : moves) {
        display->SetCursorPosition(m.x, m.y);
        EXPECT_TRUE(display->mHasOldCursorArea);
        // The cursor's opaque corner is shown at the position.
        const int cx = 16 + m.x - 10, cy = 8 + m.y - 12;
        if (m.x >= 10 && m.y >= 12)
            EXPECT_EQ(primary->PixelARGB(cx, cy), 0xFFFFFFFFu) << m.x << "," << m.y;
    }
    display->RestoreCursorArea(primary, true);
    EXPECT_FALSE(display->mHasOldCursorArea);
    EXPECT_EQ(Snapshot(primary), before);
    display->SetCursorImage(nullptr);
}

TEST_F(DisplayCursor, PresentingDrawsTheCursorOnTheFrameAndNotIntoTheDrawing)
{
    plat::DDSurface* primary = display->mPrimarySurface;
    const std::vector<uint8_t> primaryBefore = Snapshot(primary);
    const std::vector<uint8_t> drawBefore = Snapshot(display->mDrawSurface);
    display->SetCursorImage(cursor.get());
    display->mCursorX = 200;
    display->mCursorY = 150;
    ASSERT_TRUE(display->Redraw(nullptr));
    EXPECT_EQ(display->mCursorDrawnX, 200);
    EXPECT_EQ(primary->PixelARGB(16 + 190, 8 + 138), 0xFFFFFFFFu);
    EXPECT_EQ(Snapshot(display->mDrawSurface), drawBefore);
    EXPECT_TRUE(display->mHasOldCursorArea);
    // The cursor thread moves it on from there.
    display->SetCursorPosition(230, 160);
    display->RestoreCursorArea(primary, true);
    EXPECT_EQ(Snapshot(primary), primaryBefore);
    display->SetCursorImage(nullptr);
}
