#include "GeneratedData.h"

#include "ConfigFiles.h"
#include "game/core/GameApp.h"
#include "game/core/MusicManager.h"
#include "game/flow/MainMenu.h"
#include "game/flow/SplashScreen.h"
#include "platform/NullPlatform.h"
#include "tests/support/CurrentFolder.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>


namespace {

using namespace contentgentest;

// The game started on the null platform from the generated folder, in
// simulated time, and closed as soon as its loading is done.
TEST(ContentStart, TheGameStartsFromTheGeneratedFolderAndEndsWithZero)
{
    if (PicturesArePlaceholders())
        GTEST_SKIP() << "the start needs the real fonts and pictures of the group \"Init\"";
    testsupport::TempDir game;
    WriteFolder(Generated(), false, game);
    testsupport::TempDir elsewhere;
    testsupport::CurrentFolder folder;
    ASSERT_TRUE(folder.Remember());

    plat::NullPlatform platform;
    platform.folders.programPath = game / "quillmore";
    platform.folders.appData = elsewhere / "appdata";
    platform.folders.documents = elsewhere / "documents";
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
    folder.Restore();

    EXPECT_TRUE(closed);
    EXPECT_EQ(title, L"Quillmore");
    // The one box a first start shows is the 3D test's notice (no vhw.dat
    // is shipped, so its defaults decide); any other is a report of data
    // the game could not use.
    for (const auto& shown : platform.messageBoxes.Log()) {
        const std::string text(shown.text.begin(), shown.text.end());
        if (text.rfind("Hardware Acceleration was switched on", 0) != 0)
            ADD_FAILURE() << "message box: " << text;
    }
    ASSERT_GE(experts.size(), 60u);
    for (int level = 1; level <= 60; ++level)
        EXPECT_EQ(experts[level - 1], contentgen::LevelExpert(level)) << level;
}

// After the load the splash shows its three pages, each ended by one key
// press; then the front end plays "main_menu" and, for a first player,
// opens the profile creation panel.
TEST(ContentStart, TheSplashShowsThreePagesAndTheFrontEndOpensOnTheCreationPanel)
{
    if (PicturesArePlaceholders())
        GTEST_SKIP() << "the start needs the real fonts and pictures of the group \"Init\"";
    testsupport::TempDir game;
    WriteFolder(Generated(), false, game);
    testsupport::TempDir elsewhere;
    testsupport::CurrentFolder folder;
    ASSERT_TRUE(folder.Remember());

    plat::NullPlatform platform;
    platform.folders.programPath = game / "quillmore";
    platform.folders.appData = elsewhere / "appdata";
    platform.folders.documents = elsewhere / "documents";
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
    folder.Restore();

    EXPECT_TRUE(closed);
    EXPECT_LT(frames, 20000) << "the splash did not end";
    EXPECT_EQ(pages, 3u);
    EXPECT_EQ(presses, 3);
    EXPECT_EQ(music, "main_menu");
    EXPECT_TRUE(creationPanel);
}

} // namespace
