#include "GeneratedData.h"

#include "ConfigFiles.h"
#include "game/core/GameApp.h"
#include "game/core/MusicManager.h"
#include "game/flow/CareerScreen.h"
#include "game/flow/HelpDialog.h"
#include "game/flow/HiscoresDialog.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/OptionsDialog.h"
#include "game/flow/SplashScreen.h"
#include "game/flow/SurvivalScreen.h"
#include "game/ui/UiText.h"
#include "platform/NullPlatform.h"
#include "tests/game/screens/ProgramPlayer.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>


namespace {

using namespace contentgentest;

// The game started from the generated folder, with a user folder of its own.
class ContentStart : public playtest::ProgramPlayer {};

// The game started on the null platform from the generated folder, in
// simulated time, and closed as soon as its loading is done.
TEST_F(ContentStart, TheGameStartsFromTheGeneratedFolderAndEndsWithZero)
{
    const std::thread::id mainThread = std::this_thread::get_id();
    bool closed = false;
    std::wstring title;
    std::vector<int> experts;
    platform.clock.onSleep = [&](uint32_t) {
        if (std::this_thread::get_id() != mainThread || !gApp)
            return;
        while (gApp->mLoadingStarted && !gApp->mLoadingFinished)
            std::this_thread::yield();
        if (gApp->mLoadingCompleteHandled && !closed) {
            closed = true;
            title = gApp->mTitle;
            if (gGameApp)
                experts.assign(std::begin(gGameApp->mExpertTargets), std::end(gGameApp->mExpertTargets));
            platform.windows.Queue().Post({plat::WM_CLOSE, 0, 0});
        }
    };
    EXPECT_EQ(WinMain(0, 0, "", 1), 0);
    platform.clock.onSleep = nullptr;

    EXPECT_TRUE(closed);
    EXPECT_EQ(title, L"Quillmore");
    ExpectNoReportBoxes();
    ASSERT_GE(experts.size(), 60u);
    for (int level = 1; level <= 60; ++level)
        EXPECT_EQ(experts[level - 1], contentgen::LevelExpert(level)) << level;
}

// After the load the splash shows its three pages, each ended by one key
// press; then the front end plays "main_menu" and, for a first player,
// opens the profile creation panel.
TEST_F(ContentStart, TheSplashShowsThreePagesAndTheFrontEndOpensOnTheCreationPanel)
{
    const std::thread::id mainThread = std::this_thread::get_id();
    bool closed = false;
    size_t pages = 0;
    int pressed = -1;  // the page a key last ended
    int presses = 0;
    int frames = 0;
    std::string music;
    bool creationPanel = false;
    platform.clock.onSleep = [&](uint32_t) {
        if (std::this_thread::get_id() != mainThread || !gApp || closed)
            return;
        while (gApp->mLoadingStarted && !gApp->mLoadingFinished)
            std::this_thread::yield();
        if (!gApp->mLoadingCompleteHandled || !gGameApp || !gGameApp->mSplashScreen)
            return;
        SplashScreen* splash = gGameApp->mSplashScreen;
        if (++frames > 20000) {  // a splash that never ends
            closed = true;
            platform.windows.Queue().Post({plat::WM_CLOSE, 0, 0});
            return;
        }
        pages = std::max(pages, splash->GetPages().size());
        if (splash->mVisible) {
            if (splash->GetCurrentPage() != pressed) {
                pressed = splash->GetCurrentPage();
                ++presses;
                splash->KeyDown('A');
            }
            return;
        }
        music = gGameApp->GetMusicManager()->CurrentName();
        UiElement* create = gGameApp->mMainMenu ? gGameApp->mMainMenu->FindChild("create_profile") : nullptr;
        creationPanel = create && create->mVisible;
        closed = true;
        platform.windows.Queue().Post({plat::WM_CLOSE, 0, 0});
    };
    EXPECT_EQ(WinMain(0, 0, "", 1), 0);
    platform.clock.onSleep = nullptr;

    EXPECT_TRUE(closed);
    EXPECT_LT(frames, 20000) << "the splash did not end";
    EXPECT_EQ(pages, 3u);
    EXPECT_EQ(presses, 3);
    EXPECT_EQ(music, "main_menu");
    EXPECT_TRUE(creationPanel);
}

// Each of the main panel's buttons opens its screen, and the screen's own
// close or back button brings the player back to the main panel; "quit"
// first asks the "quit" question, and "no" leaves the menu up.
TEST_F(ContentStart, TheMenusScreensOpenAndCloseAndQuitAsksFirst)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_NO_FATAL_FAILURE(PassTheSplash());
    ASSERT_NO_FATAL_FAILURE(CreateProfile(L"Tester"));
    MainMenu* menu = app->mMainMenu;

    struct Case {
        const char* button;                // on the main panel
        UiElement* (*screen)(GameApp* app); // what it opens
        const char* close;                 // the screen's way back
        bool replacesMenu;                 // the main menu hides meanwhile
    };
    const Case cases[] = {
        {"career", [](GameApp* a) -> UiElement* { return a->mCareerScreen; }, "back", true},
        {"survival", [](GameApp* a) -> UiElement* { return a->mSurvivalScreen; }, "back", true},
        {"hiscores", [](GameApp* a) -> UiElement* { return a->mHiscoresDialog; }, "close", false},
        {"options", [](GameApp* a) -> UiElement* { return a->mOptionsDialog; }, "cancel", false},
        {"help", [](GameApp* a) -> UiElement* { return a->mHelpDialog; }, "close", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        UiElement* screen = c.screen(app);
        ASSERT_NE(screen, nullptr);
        ASSERT_FALSE(screen->mVisible);
        Click(menu, std::string("main_menu_dlg/") + c.button);
        ASSERT_TRUE(Until([&] { return Shown(Find(screen, c.close)); }, 2000)) << "never opened";
        EXPECT_EQ(menu->mVisible, !c.replacesMenu);
        Click(screen, c.close);
        ASSERT_TRUE(Until([&] { return !screen->mVisible && Shown(Find(menu, "main_menu_dlg/career")); }, 2000))
            << "never closed";
    }

    // "quit": the question with its texts; "no" keeps the program and its
    // menu.
    Click(menu, "main_menu_dlg/quit");
    ASSERT_TRUE(Until([] { return gMessageBox && gMessageBox->mVisible; }, 500));
    ASSERT_TRUE(Until([&] { return Shown(Find(gMessageBox, "btn_no")); }, 2000));
    for (const char* line : {"text1", "text2"}) {
        auto* text = dynamic_cast<UiText*>(gMessageBox->FindChild(line));
        ASSERT_NE(text, nullptr) << line;
        EXPECT_TRUE(Settled(text)) << line;
        const std::string expected = Texts().Get(std::string("db01_") + line + "_quit");
        ASSERT_FALSE(expected.empty()) << line;
        EXPECT_EQ(text->GetSourceText(), std::wstring(expected.begin(), expected.end())) << line;
    }
    Click(gMessageBox, "btn_no");
    ASSERT_TRUE(Until([&] { return !gMessageBox->mVisible && Shown(Find(menu, "main_menu_dlg/quit")); }, 2000));
    Ticks(100);
    EXPECT_FALSE(program->Ended());
    EXPECT_TRUE(Shown(Find(menu, "main_menu_dlg/career")));
    ExpectNoReportBoxes();
}

} // namespace
