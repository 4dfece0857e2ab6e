#include "framework/app/DebugOverlay.h"
#include "framework/app/DebugToolHooks.h"
#include "framework/app/ImageDump.h"
#include "framework/app/PathUtil.h"
#include "framework/app/ScreenshotNames.h"
#include "framework/app/StringUtil.h"
#include "framework/app/VideoStats.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

using namespace Zelk;

namespace {

class DebugApp : public ZelkAppBase {
public:
    DebugApp()
    {
        mProdName = "TestProduct";
        mLoadingThreadWanted = false;
    }
};

// Records what the tools hand to the other parts of the framework.
struct HookLog {
    std::vector<std::string> calls;
    std::map<std::string, std::pair<int, int>> written; // path -> size
    std::map<std::string, std::vector<uint32_t>> pixels;
};

class DebugTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAppDataFolder(dir.Path() + "/");
        gDebugToolHooks = DebugToolHooks();
        auto writer = [this](const char* kind) {
            return [this, kind](const std::string& path, int w, int h, const uint32_t* px) {
                log.calls.push_back(std::string(kind) + " " + GetFileName(path));
                log.written[path] = {w, h};
                log.pixels[path] = std::vector<uint32_t>(px, px + size_t(w) * size_t(h));
                std::ofstream(path) << kind;
                return true;
            };
        };
        gDebugToolHooks.writePng = writer("png");
        gDebugToolHooks.writeJpeg = writer("jpeg");
    }
    void TearDown() override
    {
        gDebugToolHooks = DebugToolHooks();
        SetAppDataFolder("");
    }
    void Press(DebugApp& app, bool shift, bool ctrl, bool alt)
    {
        app.mWidgetManager->mKeyDown[0x10] = shift;
        app.mWidgetManager->mKeyDown[0x11] = ctrl;
        app.mWidgetManager->mKeyDown[0x12] = alt;
    }

    plat::NullPlatform platform;
    testsupport::TempDir dir;
    HookLog log;
};

} // namespace

TEST_F(DebugTools, ScreenshotNumbers)
{
    struct {
        std::vector<std::string> files;
        int next;
    } cases[] = {
        {{}, 1},
        {{"image3.png", "image10.png", "other.png"}, 11},
        {{"image2.PNG"}, 3},            // the listing ignores the case of ".png"
        {{"IMAGE7.png", "image1.png"}, 2}, // the name itself does not
        {{"image9.png.txt", "image4.jpg"}, 1},
    };
    int n = 0;
    for (auto& c : cases) {
        const std::string folder = "shots" + std::to_string(n++);
        dir.Write(folder + "/keep", "");
        for (auto& f : c.files)
            dir.Write(folder + "/" + f, "x");
        EXPECT_EQ(NextScreenshotNumber(dir / folder), c.next) << folder;
    }
    EXPECT_EQ(NextScreenshotNumber(dir / "missing"), 1);
}

TEST_F(DebugTools, TakeScreenshot)
{
    DebugApp app;
    app.TakeScreenshot(); // no display: nothing
    gDebugToolHooks.captureScreen = [](ZelkAppBase&, int& w, int& h, std::vector<uint32_t>& px) {
        w = 2;
        h = 1;
        px = {0xFF102030, 0x80405060};
        return true;
    };
    app.TakeScreenshot(); // still no display
    EXPECT_TRUE(log.calls.empty());

    app.mDDInterface = new DDInterface(&app);
    platform.clock.Advance(500);
    app.mPendingMs = 42.0;
    app.TakeScreenshot();
    app.TakeScreenshot();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"png image1.png", "png image2.png"}));
    const std::string first = dir / "_screenshots/image1.png";
    EXPECT_EQ(log.pixels[first], (std::vector<uint32_t>{0xFF102030, 0x80405060}));
    EXPECT_EQ(app.mPendingMs, 0.0); // the time it took is not game time
    EXPECT_EQ(app.mLastClockTime, 500u);

    // No draw surface: no file.
    gDebugToolHooks.captureScreen = [](ZelkAppBase&, int&, int&, std::vector<uint32_t>&) { return false; };
    app.TakeScreenshot();
    EXPECT_EQ(log.calls.size(), 2u);
}

// The debug-key table: key, modifiers, whether the key is consumed and what it did.
TEST_F(DebugTools, DebugKeys)
{
    const int F2 = 0x71, F3 = 0x72, F8 = 0x77, F10 = 0x79, F11 = 0x7A;
    struct Case {
        const char* name;
        std::function<void(DebugApp&)> before;
        int key;
        bool shift, ctrl, alt;
        bool consumed;
        std::function<void(DebugApp&, HookLog&)> check;
    };
    Case cases[] = {
        {"Ctrl+F10 sets quarter speed", nullptr, F10, false, true, false, true,
         [](DebugApp& a, HookLog&) { EXPECT_EQ(a.mUpdateMultiplier, 0.25); }},
        {"Ctrl+F10 at quarter speed sets normal speed", [](DebugApp& a) { a.mUpdateMultiplier = 0.25; }, F10, false,
         true, false, true, [](DebugApp& a, HookLog&) { EXPECT_EQ(a.mUpdateMultiplier, 1.0); }},
        {"Ctrl+F10 at any other speed sets quarter speed", [](DebugApp& a) { a.mUpdateMultiplier = 0.5; }, F10, false,
         true, false, true, [](DebugApp& a, HookLog&) { EXPECT_EQ(a.mUpdateMultiplier, 0.25); }},
        {"Ctrl+Shift+F10 is the speed switch", nullptr, F10, true, true, false, true,
         [](DebugApp& a, HookLog&) {
             EXPECT_EQ(a.mUpdateMultiplier, 0.25);
             EXPECT_EQ(a.mDebugPauseState, 0);
         }},
        {"F10 steps", nullptr, F10, false, false, false, true,
         [](DebugApp& a, HookLog&) { EXPECT_EQ(a.mDebugPauseState, 1); }},
        {"Shift+F10 runs on", [](DebugApp& a) { a.mDebugPauseState = 2; a.mPendingMs = 30; }, F10, true, false, false,
         true,
         [](DebugApp& a, HookLog&) {
             EXPECT_EQ(a.mDebugPauseState, 0);
             EXPECT_EQ(a.mPendingMs, 0.0);
         }},
        {"F3 toggles the overlay, not its mode", [](DebugApp& a) { a.mShowFPSMode = 1; }, F3, false, false, false,
         false,
         [](DebugApp& a, HookLog&) {
             EXPECT_TRUE(a.mShowFPS);
             EXPECT_EQ(a.mShowFPSMode, 1);
             EXPECT_TRUE(a.mWidgetManager->mDirty);
         }},
        {"F3 switches it off again", [](DebugApp& a) { a.mShowFPS = true; }, F3, false, false, false, false,
         [](DebugApp& a, HookLog&) { EXPECT_FALSE(a.mShowFPS); }},
        {"Shift+F3 shows the mouse position", nullptr, F3, true, false, false, false,
         [](DebugApp& a, HookLog&) {
             EXPECT_TRUE(a.mShowFPS);
             EXPECT_EQ(a.mShowFPSMode, 1);
         }},
        {"Shift+F3 again shows frames per second", [](DebugApp& a) { a.mShowFPS = true; a.mShowFPSMode = 1; }, F3,
         true, false, false, false,
         [](DebugApp& a, HookLog&) {
             EXPECT_TRUE(a.mShowFPS);
             EXPECT_EQ(a.mShowFPSMode, 0);
         }},
        {"F8 shows the video report", nullptr, F8, false, false, false, true,
         [](DebugApp&, HookLog& l) { EXPECT_EQ(l.calls, std::vector<std::string>{"box Video Stats"}); }},
        {"Shift+F8 switches 3D", nullptr, F8, true, false, false, true,
         [](DebugApp&, HookLog& l) {
             EXPECT_EQ(l.calls, (std::vector<std::string>{"3d on", "box Mode Switch: 3D-Mode: ON"}));
         }},
        {"F11 takes a screenshot", nullptr, F11, false, false, false, true,
         [](DebugApp&, HookLog& l) { EXPECT_EQ(l.calls, std::vector<std::string>{"capture"}); }},
        {"Shift+F11 dumps the images", nullptr, F11, true, false, false, true,
         [](DebugApp&, HookLog& l) { EXPECT_EQ(l.calls, std::vector<std::string>{"list"}); }},
        {"F2 starts the profiler", nullptr, F2, false, false, false, false,
         [](DebugApp&, HookLog& l) { EXPECT_EQ(l.calls, std::vector<std::string>{"profiler start"}); }},
        {"Alt+R reloads the constants", nullptr, 'R', false, false, true, false,
         [](DebugApp& a, HookLog& l) {
             EXPECT_EQ(l.calls, std::vector<std::string>{"reload"});
             EXPECT_TRUE(a.mWidgetManager->mKeyDown[0x12]);
         }},
        {"R alone does nothing", nullptr, 'R', false, false, false, false,
         [](DebugApp&, HookLog& l) { EXPECT_TRUE(l.calls.empty()); }},
        {"other keys are not taken", nullptr, 'Q', true, true, true, false,
         [](DebugApp&, HookLog& l) { EXPECT_TRUE(l.calls.empty()); }},
    };
    for (auto& c : cases) {
        DebugApp app;
        app.mDDInterface = new DDInterface(&app);
        app.mDDInterface.load()->mIs3D = false; // a display that runs in 2D
        log = HookLog();
        bool profiling = false;
        gDebugToolHooks.reloadTunables = [&] { log.calls.push_back("reload"); return true; };
        gDebugToolHooks.profilerRunning = [&] { return profiling; };
        gDebugToolHooks.profilerStart = [&] { log.calls.push_back("profiler start"); };
        gDebugToolHooks.set3DMode = [&](ZelkAppBase& a, bool on) {
            log.calls.push_back(on ? "3d on" : "3d off");
            a.mDDInterface.load()->mIs3D = on;
        };
        gDebugToolHooks.captureScreen = [&](ZelkAppBase&, int&, int&, std::vector<uint32_t>&) {
            log.calls.push_back("capture");
            return false;
        };
        gDebugToolHooks.listImages = [&](ZelkAppBase&, std::vector<ImageDumpEntry>&) { log.calls.push_back("list"); };
        platform.messageBoxes.Clear();
        if (c.before)
            c.before(app);
        Press(app, c.shift, c.ctrl, c.alt);
        EXPECT_EQ(app.OnDebugKey(c.key), c.consumed) << c.name;
        for (auto& box : platform.messageBoxes.Log()) {
            std::string line = "box " + WStringToString(box.caption);
            if (box.caption == L"Mode Switch")
                line += ": " + WStringToString(box.text);
            log.calls.push_back(line);
        }
        if (c.check)
            c.check(app, log);
    }
}

TEST_F(DebugTools, ProfilerReportAndFailedReload)
{
    DebugApp app;
    bool profiling = true;
    std::vector<std::string> calls;
    gDebugToolHooks.profilerRunning = [&] { return profiling; };
    gDebugToolHooks.profilerStop = [&] { calls.push_back("stop"); };
    gDebugToolHooks.profilerReport = [&] { return std::string("report text"); };
    platform.clock.Advance(77);
    app.OnDebugKey(0x71);
    EXPECT_EQ(calls, std::vector<std::string>{"stop"});
    auto boxes = platform.messageBoxes.Log();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Perf Results");
    EXPECT_EQ(boxes[0].text, L"report text");
    EXPECT_EQ(app.mLastClockTime, 77u);

    // A failed reload forgets every key held: its box swallowed their releases.
    gDebugToolHooks.reloadTunables = [] { return false; };
    app.mWidgetManager->mKeyDown['A'] = true;
    Press(app, false, false, true);
    EXPECT_FALSE(app.OnDebugKey('R'));
    for (bool down : app.mWidgetManager->mKeyDown)
        EXPECT_FALSE(down);
}

TEST_F(DebugTools, VideoStatsText)
{
    VideoStats s;
    s.is3D = true;
    s.haveTester = true;
    s.testWarned = true;
    s.numImages = 12;
    s.numSounds = 3;
    s.videoTotal = 64 * 1024 * 1024;
    s.videoFree = 16 * 1024 * 1024 + 1000;
    s.textures[1] = {2, 3 * 1024 * 1024};
    s.textures[8] = {1, 2047};
    EXPECT_EQ(s.Text(), "3D-Mode is On (3D is Supported on this system)\r\n\r\n"
                        "Num Images: 12\r\n"
                        "Num Sounds: 3\r\n"
                        "Video Memory: 49,151/65,536 KB\r\n"
                        "Texture Memory: 3,073 KB\r\n"
                        "A8R8G8B8: 2 - 3,072 KB\r\n"
                        "A4R4G4B4: 0 - 0 KB\r\n"
                        "R5G6B5: 0 - 0 KB\r\n"
                        "Palette8: 1 - 1 KB\r\n");
    struct {
        bool tester, failed, warned;
        const char* word;
    } words[] = {{false, false, false, "Unsupported"},
                 {true, true, true, "Unsupported"},
                 {true, false, true, "Supported"},
                 {true, false, false, "Recommended"}};
    for (auto& w : words) {
        VideoStats v;
        v.haveTester = w.tester;
        v.testFailed = w.failed;
        v.testWarned = w.warned;
        EXPECT_EQ(v.SupportWord(), w.word);
    }

    // Through the key: without a display the memory is 0/0 and 3D is off.
    DebugApp app;
    app.ShowVideoStats();
    auto boxes = platform.messageBoxes.Log();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Video Stats");
    EXPECT_EQ(boxes[0].text.rfind(L"3D-Mode is Off (3D is Unsupported on this system)\r\n\r\nNum Images: 0\r\n", 0), 0u);
    EXPECT_NE(boxes[0].text.find(L"Video Memory: 0/0 KB\r\n"), std::wstring::npos);
}

TEST(DebugOverlay, FramesPerSecond)
{
    DebugOverlay o;
    std::wstring text;
    o.RestartFPS(1000);
    ASSERT_TRUE(o.UpdateFPS(1000, text)); // right after switching on
    EXPECT_EQ(text, L"FPS: 0");
    uint32_t t = 1000;
    for (int i = 0; i < 59; ++i) {
        t += 16;
        EXPECT_FALSE(o.UpdateFPS(t, text)) << i;
    }
    // 60 frames in 1020 ms: 58.8 rounds to 59.
    ASSERT_TRUE(o.UpdateFPS(t = 2020, text));
    EXPECT_EQ(text, L"FPS: 59");
    EXPECT_EQ(o.LastFPS(), 59);
    for (int i = 0; i < 99; ++i)
        o.UpdateFPS(t + 10 * uint32_t(i), text);
    ASSERT_TRUE(o.UpdateFPS(t + 1000, text));
    EXPECT_EQ(text, L"FPS: 100");

    EXPECT_EQ(DebugOverlay::MousePosText(-3, 599), L"-3,599");
    EXPECT_EQ(DebugOverlay::kBackColor >> 24, 0xFFu); // opaque, or the box is invisible
    EXPECT_EQ(DebugOverlay::kTextColor, 0xFFFFFFFFu);
}

TEST(DebugOverlay, DemoClock)
{
    EXPECT_EQ(DebugOverlay::DemoTimeText(9000, 10), L"00:01:30");
    EXPECT_EQ(DebugOverlay::DemoTimeText(360000 * 3 + 100, 10), L"03:00:01");

    DebugOverlay o;
    std::wstring text;
    EXPECT_FALSE(o.UpdateDemoTime(999, 1.0, 9100, 100, 10, text));
    ASSERT_TRUE(o.UpdateDemoTime(1000, 1.0, 9100, 100, 10, text));
    EXPECT_EQ(text, L"00:01:30");
    // At quarter speed the clock is redrawn every four seconds.
    EXPECT_FALSE(o.UpdateDemoTime(4999, 0.25, 9100, 200, 10, text));
    EXPECT_TRUE(o.UpdateDemoTime(5000, 0.25, 9100, 200, 10, text));
    EXPECT_FALSE(o.UpdateDemoTime(99999, 0.0, 9100, 200, 10, text));
}
