#include "GameFolder.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/MusicManager.h"
#include "game/core/MusicStream.h"
#include "game/core/PakInterface.h"
#include "game/core/ResourceIds.h"
#include "game/core/SfxManager.h"
#include "game/core/SfxSample.h"
#include "game/flow/CareerScreen.h"
#include "game/flow/GlobalBackground.h"
#include "game/flow/HelpDialog.h"
#include "game/flow/HiscoresDialog.h"
#include "game/flow/HudPanel.h"
#include "game/flow/LoadingScreen.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/OptionsDialog.h"
#include "game/flow/SplashScreen.h"
#include "game/flow/SurvivalScreen.h"
#include "game/ui/UiDialog.h"
#include "platform/NullPlatform.h"
#include "platform/app/ExitCodes.h"
#include "platform/window/InputTranslator.h"
#include "tests/framework/sound/SoundTestUtil.h"
#include "tools/makepak/PakWriter.h"
#include "tests/support/CurrentFolder.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

const char* kKey = "SOFTWARE\\Tarnwick Games\\Quillmore";

std::string CurrentFolder()
{
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

// The game started from a folder that is not its own.
class GameAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform.folders.programPath = game.ProgramPath();
        platform.folders.appData = elsewhere / "appdata";
        platform.folders.documents = elsewhere / "documents";
        ASSERT_TRUE(mFolder.Enter(elsewhere.Path()));
    }
    void TearDown() override { mFolder.Restore(); }

    // Init, then the framework's loading thread and the update that completes
    // the loading.
    static void InitAndLoad(GameApp& app)
    {
        app.Init();
        app.StartLoadingThread();
        app.WaitForLoadingThread();
        app.UpdateOnce();
        ASSERT_TRUE(app.mLoadingCompleteHandled);
    }

    void Send(GameApp& app, const plat::WindowMessage& msg)
    {
        app.WindowProc(app.mMainWindow, msg);
        app.DispatchQueuedMessage(false);
    }

    plat::NullPlatform platform;
    GameFolder game;
    testsupport::TempDir elsewhere;
    testsupport::CurrentFolder mFolder;
};

} // namespace

TEST_F(GameAppTest, StartsInItsOwnFolderAndTakesItsTitleWhenLoaded)
{
    GameApp app(7);
    EXPECT_EQ(gGameApp, &app);
    EXPECT_EQ(GetGameApp(), &app);
    EXPECT_EQ(app.mInstance, 7u);
    EXPECT_EQ(CurrentFolder(), game.dir.Path());
    EXPECT_EQ(app.mTitle, L"");
    EXPECT_EQ(app.mProdName, "Orvane1");
    EXPECT_EQ(app.mProductVersion, "1.0");
    EXPECT_EQ(app.mRegKey, "Tarnwick Games\\Quillmore");
    EXPECT_EQ(app.mWidth, 800);
    EXPECT_EQ(app.mHeight, 600);

    app.Init();
    EXPECT_TRUE(app.mAuto3D);
    EXPECT_TRUE(app.mRefreshPacedWanted);
    EXPECT_NE(FONT_ARIAL10, nullptr);
    EXPECT_NE(FONT_ARIAL6, nullptr);
    ASSERT_NE(GFX_GAME_GROUND, nullptr);
    EXPECT_EQ(ResourceIds::IdOfResource(FONT_ARIAL8), FONT_ARIAL8_ID);
    EXPECT_EQ(ResourceIds::IdOfResource(GFX_GAME_GROUND), GFX_GAME_GROUND_ID);
    EXPECT_EQ(ResourceIds::ResourceOfId(FONT_DEFAULT_ID), static_cast<void*>(FONT_DEFAULT));
    const plat::WindowHandle before = app.mMainWindow;
    ASSERT_NE(before, 0u);

    app.StartLoadingThread();
    app.WaitForLoadingThread();
    app.UpdateOnce();
    EXPECT_EQ(app.mTitle, L"Test Title");
    // The window was made once more, windowed, with the title.
    const plat::WindowHandle after = app.mMainWindow;
    EXPECT_NE(after, before);
    ASSERT_NE(platform.windows.Find(after), nullptr);
    EXPECT_EQ(platform.windows.Find(after)->desc.title, L"Test Title");
    // Then the settings of pref.dat apply: a first run's file asks for full
    // screen.
    EXPECT_FALSE(app.mWindowedWanted);

    // Level 3 has no file: it keeps -1 rather than level 2's target.
    EXPECT_EQ(app.mExpertTargets[0], 100);
    EXPECT_EQ(app.mExpertTargets[1], 200);
    for (int level = 3; level <= GameApp::kLevelCount; ++level)
        EXPECT_EQ(app.mExpertTargets[level - 1], -1) << level;
}

// The whole game folder packed into data.pak and gone from the disk; mod.pak
// replaces the texts.
TEST_F(GameAppTest, ReadsItsConfigurationFromTheArchivesFirst)
{
    PakPackOptions options;
    options.fixedTime = true;
    std::string data, error;
    ASSERT_TRUE(PackFolder(game.dir.Path(), options, data, error)) << error;
    for (const char* folder : {"cfg", "properties", "images"})
        std::filesystem::remove_all(game.dir / folder);
    PakWriter mod;
    mod.Add("cfg\\loc.xml",
            "\xFF\xFE" + Zelk::WideToUtf16LE(L"<root><loc id=\"app_title\" text=\"Modded Title\"/></root>"), 0);
    std::string modBytes;
    ASSERT_TRUE(mod.Build(modBytes, error)) << error;
    ASSERT_TRUE(WriteWholeFile(game.dir / "data.pak", data));
    ASSERT_TRUE(WriteWholeFile(game.dir / "mod.pak", modBytes));

    {
        GameApp app(0);
        ASSERT_NE(app.mPakInterface, nullptr);
        EXPECT_EQ(GetPakInterface(), static_cast<PakInterfaceBase*>(app.mPakInterface));
        InitAndLoad(app);
        EXPECT_NE(GFX_GAME_GROUND, nullptr);
        EXPECT_EQ(app.mTitle, L"Modded Title");
        EXPECT_EQ(app.mExpertTargets[0], 100);
        EXPECT_EQ(app.mExpertTargets[1], 200);
        EXPECT_EQ(app.mExpertTargets[2], -1);
        EXPECT_NE(app.mSplashScreen, nullptr);
    }
    // The layer went with the application.
    EXPECT_EQ(GetPakInterface(), nullptr);
}

// A splash without pages hides at once and starts the front end.
TEST_F(GameAppTest, ScreensArePlacedHiddenAndAnEmptySplashStartsTheFrontEnd)
{
    GameApp app(0);
    InitAndLoad(app);
    Zelk::WidgetManager* manager = app.mWidgetManager;

    struct TopLevel {
        const char* what;
        Zelk::Widget* widget;
    } topLevel[] = {
        {"blocker", app.mInputBlocker}, {"help", app.mHelpDialog},         {"options", app.mOptionsDialog},
        {"loading", app.mLoadingScreen}, {"background", app.mGlobalBackground}, {"splash", app.mSplashScreen},
        {"message box", gMessageBox},   {"modal blocker", gModalBlocker}, {"hud", gHudPanel},
    };
    for (const TopLevel& t : topLevel) {
        ASSERT_NE(t.widget, nullptr) << t.what;
        EXPECT_EQ(t.widget->mParent, manager) << t.what;
        EXPECT_EQ(t.widget->mVisible, t.widget == app.mGlobalBackground) << t.what;
    }
    EXPECT_EQ(manager->mWidgets.size(), std::size(topLevel));

    struct Child {
        const char* name;
        UiElement* widget;
    } children[] = {
        {"main_menu", app.mMainMenu},
        {"hiscores", app.mHiscoresDialog},
        {"career", app.mCareerScreen},
        {"survival", app.mSurvivalScreen},
    };
    for (const Child& c : children) {
        EXPECT_EQ(app.mGlobalBackground->FindChild(c.name), c.widget) << c.name;
        ASSERT_NE(c.widget, nullptr) << c.name;
        EXPECT_EQ(c.widget->mVisible, c.widget == app.mMainMenu) << c.name;
    }
    // The office screen waits outside the widget tree until a level starts.
    ASSERT_NE(app.mOfficeScreen, nullptr);
    EXPECT_EQ(app.GetOfficeScreen(), app.mOfficeScreen);
    EXPECT_EQ(app.mOfficeScreen->mParent, nullptr);
    EXPECT_FALSE(app.mOfficeScreen->mVisible);
    EXPECT_NE(app.GetCursorManager(), nullptr);
    EXPECT_EQ(Zelk::Rect(app.mInputBlocker->mX, app.mInputBlocker->mY, app.mInputBlocker->mWidth,
                         app.mInputBlocker->mHeight),
              Zelk::Rect(0, 0, 800, 600));
}

TEST_F(GameAppTest, WithoutTheUiDescriptionNoScreenExistsAndTheEndIsClean)
{
    // Missing, the document would still hold the last level file read.
    game.WriteXml("cfg/l2.xml", "<root><params expert=\"200\"/></root>");
    struct Case {
        const char* what;
        bool present;
        std::string bytes;
    } cases[] = {
        {"missing", false, ""},
        {"empty", true, ""},
        {"malformed", true, std::string("\xFF\xFE<\0r\0", 6)},
        {"without root", true, std::string("\xFF\xFE<\0x\0/\0>\0", 10)},
    };
    for (const Case& c : cases) {
        std::remove((game.dir / "cfg/ui.xml").c_str());
        if (c.present)
            game.dir.Write("cfg/ui.xml", c.bytes);
        {
            GameApp app(0);
            InitAndLoad(app);
            EXPECT_EQ(app.mTitle, L"Test Title") << c.what;
            EXPECT_EQ(app.mSplashScreen, nullptr) << c.what;
            EXPECT_EQ(app.mGlobalBackground, nullptr) << c.what;
            EXPECT_EQ(app.mOfficeScreen, nullptr) << c.what;
            EXPECT_EQ(app.GetCursorManager(), nullptr) << c.what;
            EXPECT_EQ(gMessageBox, nullptr) << c.what;
            ASSERT_EQ(app.mWidgetManager->mWidgets.size(), 1u) << c.what; // the input blocker alone
            EXPECT_EQ(*app.mWidgetManager->mWidgets.begin(), app.mInputBlocker);
            // Focus changes without an office screen touch nothing else.
            Send(app, {plat::WM_ACTIVATEAPP, 0, 0});
            Send(app, {plat::WM_ACTIVATEAPP, 1, 0});
        }
        EXPECT_EQ(gGameApp, nullptr) << c.what;
    }
}

TEST_F(GameAppTest, FocusLossPausesTheOfficeScreenAndRegainUndoesIt)
{
    GameApp app(0);
    InitAndLoad(app);
    ASSERT_NE(app.mOfficeScreen, nullptr);
    platform.debug.StartCapture();
    Send(app, {plat::WM_ACTIVATEAPP, 0, 0});
    std::string lost = platform.debug.StopCapture();
    EXPECT_NE(lost.find("Lost Focus\n"), std::string::npos) << lost;
    EXPECT_TRUE(app.mOfficeScreen->IsPaused());

    platform.debug.StartCapture();
    Send(app, {plat::WM_ACTIVATEAPP, 1, 0});
    std::string got = platform.debug.StopCapture();
    EXPECT_NE(got.find("Got Focus\n"), std::string::npos) << got;
    EXPECT_FALSE(app.mOfficeScreen->IsPaused());
}

// The sound as the application drives it: the library started by Init, the
// office's sounds loaded when the loading completes, effects and the playing
// track paused while the focus is away, and the library stopped and freed
// after the music's workers are gone.
TEST_F(GameAppTest, TheSoundFollowsTheApplicationFromInitToItsEnd)
{
    std::string tone = soundtest::WaveFile(1, 44100, 16, soundtest::Pcm16(std::vector<int16_t>(4410, 1000)));
    game.dir.Write("sfx/tick.wav", tone);
    game.dir.Write("music/theme.wav", tone);
    game.WriteXml("cfg/office.xml", "<office><music><stream name=\"theme\" path=\"music\\theme.wav\"/></music>"
                                    "<sounds><sound name=\"tick\" group=\"ui\" path=\"sfx\\tick.wav\"/></sounds></office>");
    plat::NullSoundLibrary& lib = platform.sound;
    auto has = [](const std::vector<std::string>& calls, const std::string& call) {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    };
    {
        GameApp app(0);
        InitAndLoad(app);
        std::vector<std::string> calls = lib.TakeCalls();
        // Started by Init with the window of the time, before the loading
        // reads the office's sounds.
        const std::string block = ", 0, 44100, 16, 32, 1, 1, 0, 500, 0, 0, 0, 0)";
        auto init = std::find_if(calls.begin(), calls.end(), [&](const std::string& c) {
            return c.rfind("Init(", 0) == 0 && c.rfind("Init(0,", 0) != 0 && c.size() > block.size() &&
                   c.compare(c.size() - block.size(), block.size(), block) == 0;
        });
        auto load = std::find(calls.begin(), calls.end(),
                              "LoadSample(sfx\\tick.wav, 0, {" + std::to_string(gSfxSamples.at("tick")->Group()) +
                                  ", 0, 0, 100, 50, 1, 1e+09})");
        ASSERT_NE(init, calls.end());
        ASSERT_NE(load, calls.end());
        EXPECT_LT(init, load);
        int tick = gSfxSamples.at("tick")->SampleId();
        app.GetMusicManager()->PlayMusic("theme");
        std::string theme = std::to_string(app.GetMusicManager()->Find("theme")->ChannelId());
        lib.TakeCalls();

        Send(app, {plat::WM_ACTIVATEAPP, 0, 0});
        calls = lib.TakeCalls();
        EXPECT_TRUE(has(calls, "PauseSample(" + std::to_string(tick) + ", 1)"));
        EXPECT_TRUE(has(calls, "PauseChannel(" + theme + ", 1)"));
        Send(app, {plat::WM_ACTIVATEAPP, 1, 0});
        calls = lib.TakeCalls();
        EXPECT_TRUE(has(calls, "PauseSample(" + std::to_string(tick) + ", 0)"));
        EXPECT_TRUE(has(calls, "PauseChannel(" + theme + ", 0)"));
    }
    std::vector<std::string> calls = lib.TakeCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()), (std::vector<std::string>{"Stop()", "Free()"}));
    // The fading track's worker went before the library did.
    auto removed = std::find_if(calls.begin(), calls.end(),
                                [](const std::string& c) { return c.rfind("SetChannelWorker(", 0) == 0 && c.find("none") != std::string::npos; });
    EXPECT_NE(removed, calls.end());
    lib.Advance(1000);
    EXPECT_TRUE(lib.TakeCalls().empty());
}

TEST_F(GameAppTest, LockWidgetsRaisesAndShowsTheBlocker)
{
    GameApp app(0);
    InitAndLoad(app);
    // The blocker was the first top-level widget: everything made later lies above it.
    ASSERT_NE(app.mWidgetManager->mWidgets.back(), app.mInputBlocker);
    app.LockWidgets();
    EXPECT_EQ(app.mWidgetManager->mWidgets.back(), app.mInputBlocker);
    EXPECT_TRUE(app.mInputBlocker->mVisible);
    app.UnlockWidgets();
    EXPECT_FALSE(app.mInputBlocker->mVisible);
}

// Where no screen draws (the splash has no layout here) the frame stays
// black: the game's arrow shows at the mouse alone, never beside the arrows
// of earlier frames.
TEST_F(GameAppTest, TheArrowLeavesNoTrailWhereNoScreenDraws)
{
    game.WriteImage("images/arrow.tga", 4, 4, 0xFFFFFFFF);
    game.WriteXml("cfg/ui.xml", "<root><texture id=\"arrow\" file=\"images\\arrow.tga\"/>"
                                "<cursors mode=\"normal\" image=\"arrow\"/></root>");
    GameApp app(0);
    InitAndLoad(app);
    const Zelk::Point mouse[] = {{100, 100}, {300, 200}, {500, 400}};
    for (size_t i = 0; i < std::size(mouse); ++i) {
        Send(app, {plat::WM_MOUSEMOVE, 0, plat::InputTranslator::PackPoint(mouse[i].mX, mouse[i].mY)});
        app.UpdateOnce();
        ASSERT_TRUE(app.Draw());
        int width = 0, height = 0;
        const std::vector<uint32_t> frame = platform.windows.LastFrame(width, height);
        ASSERT_EQ(width, 800);
        ASSERT_EQ(height, 600);
        for (size_t j = 0; j <= i; ++j) {
            const uint32_t pixel = frame[size_t(mouse[j].mY + 1) * 800 + size_t(mouse[j].mX + 1)] & 0xFFFFFF;
            EXPECT_EQ(pixel, j == i ? 0xFFFFFFu : 0u) << "frame " << i << ", arrow of frame " << j;
        }
    }
}

TEST_F(GameAppTest, ClosingEndsWithZeroAndTheShellIsAskedAfterTheApplicationIsGone)
{
    platform.shell.applicationAlive = [] { return gGameApp != nullptr || gApp != nullptr; };
    std::thread::id mainThread = std::this_thread::get_id();
    bool closed = false;
    std::wstring titleWhenLoaded;
    platform.clock.onSleep = [&](uint32_t) {
        if (std::this_thread::get_id() != mainThread || !gApp)
            return;
        // Sleeping gives the loading thread the processor: in simulated
        // time, let it finish before time moves on.
        while (gApp->mLoadingStarted && !gApp->mLoadingFinished)
            std::this_thread::yield();
        if (gApp->mLoadingCompleteHandled && !closed) {
            closed = true;
            titleWhenLoaded = gApp->mTitle;
            platform.windows.Queue().Post({plat::WM_CLOSE, 0, 0});
        }
    };
    EXPECT_EQ(WinMain(3, 0, "", 1), 0);
    platform.clock.onSleep = nullptr;
    EXPECT_TRUE(closed);
    EXPECT_EQ(titleWhenLoaded, L"Test Title");
    EXPECT_EQ(gApp, nullptr);
    EXPECT_EQ(gGameApp, nullptr);
    uint32_t inProgress = 1;
    EXPECT_TRUE(platform.settings.GetDword(kKey, "InProgress", inProgress));
    EXPECT_EQ(inProgress, 0u);

    auto requests = platform.shell.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const char* files[] = {"play.url", ".\\fscommand\\Dunmarl.exe"};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(requests[i].verb, "OPEN");
        EXPECT_EQ(requests[i].file, files[i]);
        EXPECT_EQ(requests[i].parameters, "");
        EXPECT_EQ(requests[i].folder, "");
        EXPECT_EQ(requests[i].showCommand, plat::SW_SHOWNA);
        EXPECT_FALSE(requests[i].applicationAlive) << files[i];
    }
}

// A start that cannot read its manifest or load its "Init" group shows the
// manager's text and ends there with the missing-data code: neither the
// destructor nor the shell requests run.
TEST_F(GameAppTest, FailedInitGroupShowsItsTextAndEndsWithoutShellRequests)
{
    struct Case {
        const char* what;
        std::string initGroup; // empty: no manifest at all
        const char* text;
    } cases[] = {
        {"a game folder without its data", "", "box: Resource file not found: properties\\\\resources\\.xml"},
        {"a picture that cannot be loaded",
         std::string(GameFolder::kAllInitResources) + "<Image id=\"MISSING\" path=\"images\\missing\"/>",
         "box: Failed to load image: images.missing"},
        {"a resource the group lacks",
         "<Font id=\"FONT_DEFAULT\" path=\"!sys:Arial\" size=\"12\"/>",
         "box: Font resource not found: FONT_ARIAL10"},
    };
    const std::string marker = elsewhere / "shell-asked";
    for (const Case& c : cases) {
        if (c.initGroup.empty())
            std::filesystem::remove(game.dir / "properties/resources.xml");
        else
            game.WriteXml("properties/resources.xml", GameFolder::ManifestWith(c.initGroup));
        EXPECT_EXIT(
            {
                struct Box : plat::MessageBoxes {
                    int Show(const std::wstring& text, const std::wstring&, uint32_t) override
                    {
                        fprintf(stderr, "box: %s\n", Zelk::WStringToString(text).c_str());
                        return plat::IDOK;
                    }
                } box;
                struct MarkingShell : plat::NullShell {
                    std::string file;
                    bool Execute(const std::string&, const std::string&, const std::string&, const std::string&,
                                 int) override
                    {
                        std::ofstream(file) << "asked";
                        return true;
                    }
                } shell;
                shell.file = marker;
                plat::Services s = plat::Get();
                s.messageBoxes = &box;
                s.shell = &shell;
                plat::Install(s);
                WinMain(0, 0, "", 1);
            },
            ::testing::ExitedWithCode(plat::kExitMissingData), c.text)
            << c.what;
        EXPECT_FALSE(std::ifstream(marker).good()) << c.what;
    }
}
