#include "AppFixture.h"
#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"
#include "platform/app/ExitCodes.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/D3DTester.h"
#include "framework/sound/MusicInterface.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Zelk;

namespace {
const char* kKey = "SOFTWARE\\Test Co\\Test Game";
}

using Lifecycle = AppTest;

extern char** environ;

TEST_F(Lifecycle, ConstructionSetsTheDefaults)
{
    TestApp app;
    EXPECT_EQ(gAppBase, &app);
    EXPECT_EQ(gCrashApp, &app);
    EXPECT_EQ(app.mSaturationTable[0], 0);
    EXPECT_EQ(app.mSaturationTable[255], 255);
    EXPECT_EQ(app.mSaturationTable[256], 255);
    EXPECT_EQ(app.mSaturationTable[511], 255);
    EXPECT_EQ(app.mAspectRatio, Ratio(4, 3));
    EXPECT_EQ(app.GetString("DIALOG_BUTTON_OK", L"x"), L"OK");
    EXPECT_EQ(app.GetString("NO_SUCH_ID", L"fallback"), L"fallback");
    EXPECT_TRUE(app.mPageFlippingAllowed);
}

TEST_F(Lifecycle, GlobalsAreClearedWhenTheApplicationDies)
{
    {
        TestApp app;
    }
    EXPECT_EQ(gAppBase, nullptr);
    EXPECT_EQ(gCrashApp, nullptr);
}

TEST_F(Lifecycle, TabletForbidsPageFlipping)
{
    platform.windows.tablet = true;
    TestApp app;
    EXPECT_TRUE(app.mTabletPC);
    EXPECT_FALSE(app.mPageFlippingAllowed);
}

TEST_F(Lifecycle, InitBuildsWindowsDisplaySoundAndDataFolder)
{
    TestApp app;
    app.Init();
    EXPECT_TRUE(app.mInitialized);
    EXPECT_NE(app.mMainWindow.load(), 0u);
    EXPECT_NE(app.mInvisWindow, 0u);
    EXPECT_NE(app.mDDInterface.load(), nullptr);
    EXPECT_NE(app.mSoundManager, nullptr);
    ASSERT_NE(app.mMusicInterface, nullptr);
    EXPECT_DOUBLE_EQ(app.MusicVolumePassedOn(), 0.85);
    EXPECT_EQ(GetAppDataFolder(), platform.folders.appData + "\\TestProduct\\");
    EXPECT_EQ(app.mWidgetManager->mScreenRect.mWidth, 800);
}

TEST_F(Lifecycle, SmallDesktopForcesFullScreen)
{
    struct {
        int w, h;
        uint32_t screenMode;
        bool windowedWanted, forced;
    } cases[] = {
        {800, 600, 0, false, true},
        {1024, 600, 0, false, true},
        {801, 601, 0, true, false},
        {1024, 768, 1, false, false}, // full screen by choice
    };
    for (auto& c : cases) {
        platform.windows.desktopWidth = c.w;
        platform.windows.desktopHeight = c.h;
        platform.settings.SetDword(kKey, "ScreenMode", c.screenMode);
        TestApp app;
        app.Init();
        EXPECT_EQ(app.mWindowedWanted, c.windowedWanted) << c.w << "x" << c.h;
        EXPECT_EQ(app.mFullScreenForced, c.forced) << c.w << "x" << c.h;
    }
}

TEST_F(Lifecycle, MutingCountsAndPassesSilenceOn)
{
    TestApp app;
    app.Init();
    app.Mute(false);
    app.Mute(false);
    app.Unmute(false);
    EXPECT_TRUE(app.IsMuted());
    app.SetMusicVolume(0.5);
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.5);
    EXPECT_DOUBLE_EQ(app.MusicVolumePassedOn(), 0.0);
    app.Unmute(false);
    EXPECT_FALSE(app.IsMuted());
    EXPECT_DOUBLE_EQ(app.MusicVolumePassedOn(), 0.5);
    app.Unmute(false); // at zero: nothing changes but the volumes pass on again
    EXPECT_EQ(app.mMuteCount, 0);
    EXPECT_DOUBLE_EQ(app.MusicVolumePassedOn(), 0.5);
    app.ToggleSound();
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.0);
    app.ToggleSound();
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.5);
}

TEST_F(Lifecycle, MissingDirectXShowsTheBoxAndExitsBeforeAnyWindow)
{
    for (const char* module : {"ddraw.dll", "dsound.dll"}) {
        EXPECT_EXIT(
            {
                platform.modules.SetAbsent(module, true);
                TestApp app;
                struct Box : plat::MessageBoxes {
                    plat::NullWindowSystem* windows;
                    int Show(const std::wstring& text, const std::wstring& caption, uint32_t flags) override
                    {
                        fprintf(stderr, "box '%s' flags %x windows %zu\n", WStringToString(caption).c_str(),
                                flags, windows->LiveWindows());
                        return plat::IDOK;
                    }
                } box;
                box.windows = &platform.windows;
                plat::Services s = plat::Get();
                s.messageBoxes = &box;
                plat::Install(s);
                app.Init();
            },
            ::testing::ExitedWithCode(plat::kExitMissingLibrary), "box 'You need DirectX' flags 10 windows 0");
    }
}

// The destructor's question about hardware acceleration, and what it stores.
TEST_F(Lifecycle, HardwareAccelerationQuestionTable)
{
    enum Is3D { Untouched, Wrote0, Wrote1 };
    struct Case {
        const char* what;
        bool changed;
        int stored; // -1: no value
        bool testerClean;
        bool is3D;
        bool renderTargetFailed;
        std::vector<int> answers;
        int questions;
        Is3D result;
    } cases[] = {
        {"unchanged, no trouble", false, -1, false, true, false, {}, 0, Untouched},
        {"changed, value stored", true, 0, false, true, false, {}, 0, Wrote1},
        {"changed, clean tester", true, -1, true, true, false, {}, 0, Wrote1},
        {"changed, 3D off", true, -1, false, false, false, {}, 0, Untouched},
        {"changed, asked, yes", true, -1, false, true, false, {plat::IDYES}, 1, Wrote1},
        {"changed, asked, no", true, -1, false, true, false, {plat::IDNO}, 1, Untouched},
        {"asked yes skips the second", true, -1, false, true, true, {plat::IDYES}, 1, Wrote1},
        {"render target failed, keep", false, -1, false, true, true, {plat::IDYES}, 1, Untouched},
        {"render target failed, no", false, -1, false, true, true, {plat::IDNO}, 1, Wrote0},
        {"stored value, then trouble", true, 1, false, true, true, {plat::IDNO}, 1, Wrote0},
    };
    for (const Case& c : cases) {
        platform.settings.Clear();
        platform.messageBoxes.Clear();
        if (c.stored >= 0)
            platform.settings.SetDword(kKey, "Is3D", uint32_t(c.stored) + 100); // recognisable
        for (int a : c.answers)
            platform.messageBoxes.QueueAnswer(a);
        {
            TestApp app;
            app.mRegKey = "Test Co\\Test Game";
            app.Init();
            DDInterface* dd = app.mDDInterface;
            app.m3DChangedThisRun = c.changed;
            if (!dd->mD3DTester)
                dd->mD3DTester = new D3DTester();
            dd->mD3DTester->mFailureReason.clear();
            dd->mD3DTester->mWarning = c.testerClean ? "" : "Unsupported video card: test";
            dd->mIs3D = c.is3D;
            gDeviceLost = c.renderTargetFailed; // the renderer could not set its render target
            app.Shutdown();
            platform.messageBoxes.Clear();
            for (int a : c.answers)
                platform.messageBoxes.QueueAnswer(a);
            // the destructor asks
        }
        auto log = platform.messageBoxes.Log();
        EXPECT_EQ(int(log.size()), c.questions) << c.what;
        for (auto& box : log) {
            EXPECT_EQ(box.flags, plat::MB_YESNO | plat::MB_ICONQUESTION) << c.what;
            EXPECT_NE(box.caption.find(L"Hardware Acceleration Confirmation"), std::wstring::npos);
        }
        uint32_t v = 12345;
        bool has = platform.settings.GetDword(kKey, "Is3D", v);
        switch (c.result) {
        case Untouched:
            if (c.stored >= 0)
                EXPECT_EQ(v, uint32_t(c.stored) + 100) << c.what;
            else
                EXPECT_FALSE(has) << c.what;
            break;
        case Wrote0:
            EXPECT_EQ(v, 0u) << c.what;
            break;
        case Wrote1:
            EXPECT_EQ(v, 1u) << c.what;
            break;
        }
    }
    gDeviceLost = false;
}

// The second copy runs as a process of its own: this test binary again, told
// by the environment to play the second copy (see SecondCopyProcess).
TEST_F(Lifecycle, SecondCopyNotifiesTheFirstAndEndsWithZero)
{
    TestApp first;
    first.Init();

    std::string runtime = "ZELK_SECOND_COPY_RUNTIME=" + platform.folders.runtime;
    std::string filter = "--gtest_filter=Lifecycle.SecondCopyProcess";
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    self[n] = 0;
    char* argv[] = {self, filter.data(), nullptr};
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e)
        envp.push_back(*e);
    envp.push_back(runtime.data());
    envp.push_back(nullptr);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, self, nullptr, nullptr, argv, envp.data()), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    platform.clock.Advance(10);
    for (int i = 0; i < 2000 && first.notifies.empty(); ++i) {
        first.AppStep(nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(first.notifies.size(), 1u);
    EXPECT_EQ(first.notifies[0], (std::pair<uintptr_t, intptr_t>(0, 0)));
    EXPECT_GE(platform.windows.Find(first.mMainWindow)->raiseCount, 1);
}

TEST_F(Lifecycle, SecondCopyProcess)
{
    const char* runtime = getenv("ZELK_SECOND_COPY_RUNTIME");
    if (!runtime)
        GTEST_SKIP() << "run by SecondCopyNotifiesTheFirstAndEndsWithZero";
    plat::SingleInstance own(runtime);
    plat::Services s = plat::Get();
    s.instance = &own;
    plat::Install(s);
    TestApp second;
    second.Init(); // the second copy ends here, with exit code 0
    _exit(3);
}
