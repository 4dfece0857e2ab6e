#include "AppFixture.h"
#include "framework/sound/MusicInterface.h"
#include "platform/window/InputTranslator.h"

#include <algorithm>

using namespace Zelk;
using plat::WindowMessage;

namespace {

class InputApp : public TestApp {
public:
    bool OnKeyHook(int key, bool ctrl, bool alt) override { return key == swallowKey; }
    void OnGotFocus() override { ++gotFocus; }
    void OnLostFocus() override { ++lostFocus; }
    int swallowKey = -1;
    int gotFocus = 0, lostFocus = 0;
};

intptr_t PointAt(int x, int y) { return plat::InputTranslator::PackPoint(x, y); }

} // namespace

class Input : public AppTest {
protected:
    void SetUp() override
    {
        app = std::make_unique<InputApp>();
        app->Init();
        app->mInMainLoop = true;
        app->gotFocus = app->lostFocus = 0; // making the window gave the focus
        events().clear();
    }
    // Hands messages to the window procedure, then dispatches all of them.
    void Send(std::initializer_list<WindowMessage> msgs)
    {
        for (const WindowMessage& m : msgs)
            app->WindowProc(app->mMainWindow, m);
        app->DispatchQueuedMessage(false);
    }
    std::vector<std::string>& events() { return app->probe.events; }
    bool Saw(const std::string& e) { return std::find(events().begin(), events().end(), e) != events().end(); }
    std::unique_ptr<InputApp> app;
};

TEST_F(Input, QueueingRules)
{
    struct {
        std::vector<uint32_t> in;
        std::vector<uint32_t> queued;
    } cases[] = {
        {{plat::WM_TIMER, plat::WM_TIMER}, {plat::WM_TIMER}},
        {{plat::WM_TIMER, plat::WM_KEYUP, plat::WM_TIMER}, {plat::WM_TIMER, plat::WM_KEYUP, plat::WM_TIMER}},
        {{plat::WM_CLOSE, plat::WM_KEYUP, plat::WM_TIMER}, {plat::WM_CLOSE}},
        {{plat::WM_SYSCOLORCHANGE, plat::WM_KEYUP, plat::WM_DISPLAYCHANGE}, {plat::WM_SYSCOLORCHANGE, plat::WM_KEYUP}},
        {{plat::WM_DISPLAYCHANGE, plat::WM_DISPLAYCHANGE}, {plat::WM_DISPLAYCHANGE}},
        {{plat::WM_PAINT, plat::WM_SETCURSOR, plat::WM_KEYUP}, {plat::WM_KEYUP}}, // answered at once
    };
    for (auto& c : cases) {
        app->mMessageQueue.clear();
        for (uint32_t m : c.in)
            app->WindowProc(app->mMainWindow, {m, 0, 0});
        std::vector<uint32_t> got;
        for (auto& q : app->mMessageQueue)
            got.push_back(q.message);
        EXPECT_EQ(got, c.queued);
    }
    app->mMessageQueue.clear();
}

TEST_F(Input, WheelNotches)
{
    struct {
        int raw;
        int delta;
    } cases[] = {{120, 1}, {-120, -1}, {60, 0}, {240, 2}, {-360, -3}};
    for (auto& c : cases) {
        events().clear();
        Send({{plat::WM_MOUSEWHEEL, uintptr_t(uint16_t(int16_t(c.raw))) << 16, 0}});
        EXPECT_TRUE(Saw("wheel " + std::to_string(c.delta))) << c.raw;
    }
}

TEST_F(Input, ClickCodesAndCaptureUntilTheLastButtonIsUp)
{
    struct {
        uint32_t message;
        const char* event;
    } cases[] = {
        {plat::WM_LBUTTONDOWN, "down 1"}, {plat::WM_LBUTTONDBLCLK, "down 2"}, {plat::WM_RBUTTONDOWN, "down -1"},
        {plat::WM_RBUTTONDBLCLK, "down -2"}, {plat::WM_MBUTTONDOWN, "down 3"}, {plat::WM_LBUTTONUP, "up 1"},
        {plat::WM_RBUTTONUP, "up -1"},    {plat::WM_MBUTTONUP, "up 3"},
    };
    for (auto& c : cases) {
        events().clear();
        Send({{c.message, 0, PointAt(10, 20)}});
        EXPECT_TRUE(Saw("move 10,20")) << c.event;
        EXPECT_TRUE(Saw(c.event)) << c.event;
    }
    // Left and right held: releasing the left keeps the capture, the right releases it.
    const int releases = platform.windows.captureReleases;
    Send({{plat::WM_LBUTTONDOWN, 0, PointAt(1, 1)}, {plat::WM_RBUTTONDOWN, 0, PointAt(1, 1)}});
    EXPECT_EQ(platform.windows.captured, app->mMainWindow.load());
    Send({{plat::WM_LBUTTONUP, 0, PointAt(1, 1)}});
    EXPECT_EQ(platform.windows.captureReleases, releases);
    Send({{plat::WM_RBUTTONUP, 0, PointAt(1, 1)}});
    EXPECT_EQ(platform.windows.captureReleases, releases + 1);
}

TEST_F(Input, NegativeCoordinatesStaySigned)
{
    Send({{plat::WM_MOUSEMOVE, 0, PointAt(-5, -7)}});
    EXPECT_TRUE(Saw("move -5,-7"));
}

TEST_F(Input, AltEnterSwitchesModeUnlessForced)
{
    struct {
        bool fullForced, windowedForced;
        bool toggles;
    } cases[] = {{false, false, true}, {true, false, false}, {false, true, false}};
    for (auto& c : cases) {
        app->mFullScreenForced = c.fullForced;
        app->mWindowedForced = c.windowedForced;
        const bool before = app->mWindowedWanted;
        events().clear();
        Send({{plat::WM_SYSKEYDOWN, plat::VK_RETURN, 0}});
        EXPECT_EQ(app->mWindowedWanted != before, c.toggles);
        EXPECT_EQ(Saw("keydown 13"), !c.toggles);
    }
    app->mFullScreenForced = app->mWindowedForced = false;
    events().clear();
    Send({{plat::WM_KEYDOWN, plat::VK_RETURN, 0}}); // a plain Enter reaches the widgets
    EXPECT_TRUE(Saw("keydown 13"));
}

TEST_F(Input, KeyHookSwallowsAKeyBeforeItIsQueued)
{
    app->swallowKey = 'Q';
    Send({{plat::WM_KEYDOWN, 'Q', 0}, {plat::WM_KEYDOWN, 'W', 0}});
    EXPECT_FALSE(Saw("keydown 81"));
    EXPECT_TRUE(Saw("keydown 87"));
}

TEST_F(Input, CtrlAltDTogglesTheDebugKeys)
{
    auto ctrlAltD = [&] {
        Send({{plat::WM_KEYDOWN, plat::VK_CONTROL, 0}, {plat::WM_SYSKEYDOWN, plat::VK_MENU, 0},
              {plat::WM_SYSKEYDOWN, 'D', 0}, {plat::WM_SYSKEYUP, 'D', 0}, {plat::WM_SYSKEYUP, plat::VK_MENU, 0},
              {plat::WM_KEYUP, plat::VK_CONTROL, 0}});
    };
    EXPECT_FALSE(app->mDebugKeysEnabled);
    ctrlAltD();
    EXPECT_TRUE(app->mDebugKeysEnabled);
    ctrlAltD();
    EXPECT_FALSE(app->mDebugKeysEnabled);
    Send({{plat::WM_KEYDOWN, 'D', 0}}); // D alone does nothing of the sort
    EXPECT_FALSE(app->mDebugKeysEnabled);
}

TEST_F(Input, AltF4ClosesThroughTheCloseMessage)
{
    app->WindowProc(app->mMainWindow, {plat::WM_SYSKEYDOWN, plat::VK_F4, 0});
    app->AppStep(nullptr); // the close message arrives and is dispatched
    app->AppStep(nullptr);
    EXPECT_TRUE(app->mShuttingDown);
}

TEST_F(Input, MinimisingMutesAndLosesFocusOnceRestoringUndoesBoth)
{
    // Active and shown after MakeWindow.
    ASSERT_TRUE(app->mHasFocus);
    Send({{plat::WM_SIZE, plat::SIZE_MINIMIZED, 0}, {plat::WM_ACTIVATEAPP, 0, 0}});
    EXPECT_EQ(app->lostFocus, 1);
    EXPECT_EQ(app->mMuteCount, 2);
    EXPECT_EQ(app->mAutoMuteCount, 2);
    EXPECT_DOUBLE_EQ(app->MusicVolumePassedOn(), 0.0);
    Send({{plat::WM_SIZE, plat::SIZE_RESTORED, 0}, {plat::WM_ACTIVATEAPP, 1, 0}});
    EXPECT_EQ(app->gotFocus, 1);
    EXPECT_EQ(app->mMuteCount, 0);
    EXPECT_EQ(app->mAutoMuteCount, 0);
    EXPECT_TRUE(Saw("markalldirty"));
    EXPECT_DOUBLE_EQ(app->MusicVolumePassedOn(), 0.85);
}

TEST_F(Input, StoredMutedSurvivesFocusChanges)
{
    app.reset();
    platform.settings.SetDword("SOFTWARE\\Test Co\\Test Game", "Muted", 1);
    app = std::make_unique<InputApp>();
    app->Init(); // gains focus at the end of making the window
    EXPECT_TRUE(app->IsMuted());
    Send({{plat::WM_ACTIVATEAPP, 0, 0}, {plat::WM_ACTIVATEAPP, 1, 0}});
    EXPECT_TRUE(app->IsMuted());
    EXPECT_EQ(app->mMuteCount, 1);
    EXPECT_DOUBLE_EQ(app->MusicVolumePassedOn(), 0.0);
}

TEST_F(Input, MouseLeavingIsNoticedByTheTimer)
{
    platform.windows.mouseInside = true;
    Send({{plat::WM_MOUSEMOVE, 0, PointAt(5, 5)}, {plat::WM_TIMER, 100, 0}});
    EXPECT_TRUE(app->mMouseIn);
    events().clear();
    platform.windows.mouseInside = false;
    platform.clock.Advance(10);
    Send({{plat::WM_TIMER, 100, 0}});
    EXPECT_FALSE(app->mMouseIn);
    EXPECT_TRUE(Saw("exit"));
}

TEST_F(Input, CursorDecisionTable)
{
    Image* image = reinterpret_cast<Image*>(&platform); // any distinct non-null pointer; never drawn here
    auto sys = [&](plat::SystemCursor c) { return platform.windows.LoadSystemCursor(c); };
    struct Case {
        const char* what;
        bool crashed, mouseIn, hasImage, custom;
        int kind;
        bool drawn;               // the program draws the image
        plat::CursorHandle cursor; // the system cursor otherwise
    } cases[] = {
        {"arrow", false, true, false, false, 0, false, sys(plat::SystemCursor::Arrow)},
        {"hand", false, true, false, false, 1, false, app->mHandCursor},
        {"dragging", false, true, false, false, 2, false, app->mDraggingCursor},
        {"text", false, true, false, false, 3, false, sys(plat::SystemCursor::IBeam)},
        {"wait", false, true, false, false, 10, false, sys(plat::SystemCursor::Wait)},
        {"none", false, true, false, false, 11, false, 0},
        {"reserved, no image", false, true, false, false, 12, false, 0},
        {"unknown kind", false, true, false, false, 42, false, sys(plat::SystemCursor::Arrow)},
        {"outside", false, false, false, false, 3, false, sys(plat::SystemCursor::Arrow)},
        {"crashed", true, true, true, true, 3, false, sys(plat::SystemCursor::Arrow)},
        {"image, custom", false, true, true, true, 1, true, 0},
        {"image, not custom", false, true, true, false, 1, false, app->mHandCursor},
        {"image, kind 12", false, true, true, false, 12, true, 0},
        {"image, mouse outside", false, false, true, true, 1, false, sys(plat::SystemCursor::Arrow)},
    };
    for (const Case& c : cases) {
        app->mCrashed = c.crashed;
        app->mMouseIn = c.mouseIn;
        app->mCustomCursors = c.custom;
        for (auto& img : app->mCursorImages)
            img = nullptr;
        if (c.hasImage && c.kind >= 0 && c.kind <= 12)
            app->mCursorImages[c.kind] = image;
        app->SetCursor(c.kind);
        DDInterface* dd = app->mDDInterface;
        EXPECT_EQ(dd->mCursorImage != nullptr, c.drawn) << c.what;
        EXPECT_EQ(app->mSysCursor, !c.drawn) << c.what;
        EXPECT_EQ(platform.windows.currentCursor, c.cursor) << c.what;
    }
    app->mCrashed = false;
    for (auto& img : app->mCursorImages)
        img = nullptr;
}
