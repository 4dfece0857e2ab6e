// The main window and the display together: the fall-backs by result code and
// forced flags, and the recovery after a failed present.
#include "AppFixture.h"
#include "framework/app/StringUtil.h"
#include "platform/app/ExitCodes.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/DDInterface.h"
#include "platform/ddraw/DirectDraw.h"

using namespace Zelk;

namespace {

const char* kKey = "SOFTWARE\\Test Co\\Test Game";
plat::DirectDrawDevice& Device() { return plat::DirectDrawDevice::Get(); }

// Message boxes that say what they show on standard error (for death tests).
struct SayingBoxes : plat::MessageBoxes {
    int Show(const std::wstring& text, const std::wstring& caption, uint32_t flags) override
    {
        fprintf(stderr, "box: %s\n", WStringToString(text).c_str());
        return plat::IDOK;
    }
};

} // namespace

class ScreenMode : public AppTest {
protected:
    void SetUp() override
    {
        Device().Reset();
        gLast3DError.clear();
        platform.clock.Set(5000);
        platform.settings.SetDword(kKey, "Is3D", 0); // 2D unless a case says otherwise
    }
    void TearDown() override
    {
        app.reset();
        Device().Reset();
        gLast3DError.clear();
        AppTest::TearDown();
    }
    void Start(uint32_t screenMode = 0)
    {
        platform.settings.SetDword(kKey, "ScreenMode", screenMode);
        app = std::make_unique<TestApp>();
        app->mTest3D = false; // no 3D capability test: its calls would take the failures meant for the display
        app->Init();
    }
    void InstallSayingBoxes()
    {
        plat::Services s = plat::Get();
        s.messageBoxes = &boxes;
        plat::Install(s);
    }
    SayingBoxes boxes;
    std::unique_ptr<TestApp> app;
};

TEST_F(ScreenMode, FallBacksByResult)
{
    struct Case {
        const char* what;
        uint32_t screenMode; // 0 windowed, 1 full screen
        int desktopDepth;
        const char* failing; // the display call that fails, or null
        bool windowed, fullScreenForced, windowedForced;
    } cases[] = {
        {"windowed", 0, 32, nullptr, true, false, false},
        {"full screen", 1, 32, nullptr, false, false, false},
        {"windowed on a 24-bit desktop goes full screen", 0, 24, nullptr, false, true, false},
        {"exclusive mode refused", 1, 32, "SetCooperativeLevel", true, false, true},
        {"display mode refused", 1, 32, "SetDisplayMode", true, false, true},
        {"windowed on a 16-bit desktop", 0, 16, nullptr, true, false, false},
    };
    for (const Case& c : cases) {
        Device().Reset();
        Device().config.bitDepth = c.desktopDepth;
        if (c.failing)
            Device().FailNext(c.failing, plat::DDERR_UNSUPPORTEDMODE);
        Start(c.screenMode);
        EXPECT_EQ(app->mWindowed, c.windowed) << c.what;
        EXPECT_EQ(app->mFullScreenForced, c.fullScreenForced) << c.what;
        EXPECT_EQ(app->mWindowedForced, c.windowedForced) << c.what;
        // After any success: the screen image handed over and the window's timer running.
        EXPECT_NE(app->mWidgetManager->mImage, nullptr) << c.what;
        EXPECT_EQ(platform.windows.timers.count(100), 1u) << c.what;
        EXPECT_EQ(platform.windows.timers[100], 10u) << c.what;
        app.reset();
        platform.windows.timers.clear();
    }
}

TEST_F(ScreenMode, ThreeDThatCannotStartFallsBackToTwoDWithTheTimerRunning)
{
    Start();
    DDInterface* dd = app->mDDInterface;
    ASSERT_FALSE(dd->mIs3D);
    platform.windows.timers.clear();
    // A new full-screen window in 3D whose renderer cannot start.
    Device().FailNext("CreateDevice", plat::DDERR_OUTOFVIDEOMEMORY);
    app->SwitchScreenMode(false, true, true);
    EXPECT_FALSE(dd->mIs3D);
    EXPECT_TRUE(app->m3DChangedThisRun);
    EXPECT_FALSE(app->mWindowed);
    EXPECT_NE(app->mWidgetManager->mImage, nullptr);
    EXPECT_EQ(app->mWidgetManager->mImage, static_cast<MemoryImage*>(dd->GetScreenImage()));
    EXPECT_EQ(platform.windows.timers.count(100), 1u); // the fall-back's window gets its timer too
    EXPECT_TRUE(app->mHasFocus);
}

TEST_F(ScreenMode, ThreeDSwitchThatFailsFallsBackToTwoD)
{
    Start();
    DDInterface* dd = app->mDDInterface;
    Device().FailNext("CreateDevice", plat::DDERR_OUTOFVIDEOMEMORY);
    app->Set3DMode(true, true);
    EXPECT_FALSE(dd->mIs3D);
    EXPECT_TRUE(app->m3DChangedThisRun);
    EXPECT_EQ(app->mWidgetManager->mImage, static_cast<MemoryImage*>(dd->GetScreenImage()));
}

TEST_F(ScreenMode, FatalEnds)
{
    struct Case {
        const char* what;
        uint32_t screenMode;
        int desktopWidth, desktopHeight, depth;
        bool windowedForced;
        const char* failing;
        int32_t code;
        const char* text;
    } cases[] = {
        {"24-bit desktop after full screen already failed", 0, 1024, 768, 24, true, nullptr, 0,
         "box: Please set your desktop color depth to 16 bit."},
        {"a 2D display that cannot be made", 0, 1024, 768, 32, false, "CreateSurface", plat::DDERR_OUTOFVIDEOMEMORY,
         "box: Failed to initialize DirectDraw: RESULT_SURFACE_FAIL CreateSurface Windowed Primary: "
         "DDERR_OUTOFVIDEOMEMORY"},
        // Full screen forced by a small desktop, and full screen refused: no mode is left.
        {"both modes fail", 0, 800, 600, 32, false, "SetCooperativeLevel", plat::DDERR_EXCLUSIVEMODEALREADYSET,
         "box: Failed to initialize DirectDraw: RESULT_EXCLUSIVE_FAIL SetCooperativeLevel FullScreen: "
         "DDERR_EXCLUSIVEMODEALREADYSET"},
    };
    for (const Case& c : cases) {
        EXPECT_EXIT(
            {
                InstallSayingBoxes();
                Device().config.bitDepth = c.depth;
                platform.windows.desktopWidth = c.desktopWidth;
                platform.windows.desktopHeight = c.desktopHeight;
                if (c.failing)
                    Device().FailNext(c.failing, c.code, 10);
                platform.settings.SetDword(kKey, "ScreenMode", c.screenMode);
                TestApp a;
                a.mWindowedForced = c.windowedForced;
                a.mTest3D = false;
                a.Init();
            },
            ::testing::ExitedWithCode(plat::kExitNoDisplay), c.text)
            << c.what;
    }
}

TEST_F(ScreenMode, RecoveryAfterLostSurfaces)
{
    Start();
    DDInterface* dd = app->mDDInterface;
    MemoryImage* before = app->mWidgetManager->mImage;
    ASSERT_NE(before, nullptr);
    app->mForcePresent = true;
    ASSERT_TRUE(app->Draw());

    Device().LoseSurfaces();
    app->mForcePresent = true;
    app->Draw(); // the present fails and the display is made again
    EXPECT_TRUE(gSurfacesLost);
    EXPECT_NE(app->mWidgetManager->mImage, nullptr);
    EXPECT_EQ(app->mWidgetManager->mImage, static_cast<MemoryImage*>(dd->GetScreenImage()));
    platform.clock.Advance(20);
    app->Draw(); // the next draw only presents again: it succeeds and clears the flag
    EXPECT_FALSE(gSurfacesLost);
    EXPECT_EQ(app->mLastRestoreAttempt, 0u);
    app->mForcePresent = true;
    EXPECT_TRUE(app->Draw()); // and frames are drawn again
}

TEST_F(ScreenMode, InactiveRecoveryWaitsASecondBetweenAttempts)
{
    Start();
    app->mActive = false;
    Device().LoseSurfaces();
    app->mForcePresent = true;
    app->Draw(); // the first attempt is made
    const uint32_t first = app->mLastRestoreAttempt;
    EXPECT_NE(first, 0u);
    Device().LoseSurfaces();
    platform.clock.Advance(500);
    app->mForcePresent = true;
    app->Draw(); // within 1001 ms of it: nothing is tried
    EXPECT_EQ(app->mLastRestoreAttempt, first);
    EXPECT_TRUE(gSurfacesLost);
    platform.clock.Advance(600);
    app->mForcePresent = true;
    app->Draw();
    EXPECT_NE(app->mLastRestoreAttempt, first);
}

TEST_F(ScreenMode, AltEnterSwitchesTheWindowAndTheDisplay)
{
    Start();
    ASSERT_TRUE(app->mWindowed);
    app->SetWindowedMode(false);
    EXPECT_FALSE(app->mWindowed);
    EXPECT_EQ(Device().modeWidth, 800);
    EXPECT_EQ(Device().modeHeight, 600);
    app->SetWindowedMode(true);
    EXPECT_TRUE(app->mWindowed);
    EXPECT_EQ(Device().modeWidth, 0); // back on the desktop's own mode
}

TEST_F(ScreenMode, ADeletedCursorImageStopsBeingTheCursor)
{
    Start();
    auto* image = new MemoryImage(app.get());
    image->Create(8, 8);
    app->mMouseIn = true;
    app->SetCursorImage(12, image);
    app->SetCursor(12);
    DDInterface* dd = app->mDDInterface;
    ASSERT_EQ(dd->mCursorImage, static_cast<Image*>(image));
    delete image;
    EXPECT_EQ(dd->mCursorImage, nullptr);
    EXPECT_EQ(app->mCursorImages[12], nullptr);
    dd->SetCursorPosition(100, 100); // nothing left to draw
}
