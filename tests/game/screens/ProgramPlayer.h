#pragma once
// The whole game as a player meets it: the program started as it starts
// (WinMain) from the generated game folder on the null platform, on a thread
// of its own, and driven only by keys and clicks posted to its window while
// its main loop sleeps in simulated time; what the player sees is read between
// two of those sleeps, and pref.dat where the player's progress is kept.
#include "GeneratedGame.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/PrefStore.h"
#include "game/flow/LoadingScreen.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/SplashScreen.h"
#include "game/ui/UiElement.h"
#include "tests/game/peopleday/OfficeHands.h"

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace playtest {

// The program on its own thread, handing the turn to the player each time its
// main thread sleeps (but while a level loads behind the loading screen, whose
// own thread steps the game meanwhile) and going on when the player has acted.
class Program {
public:
    explicit Program(plat::NullPlatform& platform) : mPlatform(platform) {}
    ~Program() { Release(); }

    void Start()
    {
        mPlatform.clock.onSleep = [this](uint32_t slept) { OnSleep(slept); };
        mTurn = Turn::kProgram;
        mThread = std::thread([this] {
            mPlatform.clock.SetDrivingThread(std::this_thread::get_id());
            const int code = WinMain(0, 0, "", 1);
            std::lock_guard<std::mutex> lock(mLock);
            mExitCode = code;
            mTurn = Turn::kEnded;
            mSignal.notify_all();
        });
        Tick();
    }

    // The program runs on to its next sleep (or its end).
    void Tick()
    {
        std::unique_lock<std::mutex> lock(mLock);
        if (mTurn == Turn::kEnded)
            return;
        mTurn = Turn::kProgram;
        mSignal.notify_all();
        mSignal.wait(lock, [this] { return mTurn != Turn::kProgram; });
    }

    bool Ended()
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mTurn == Turn::kEnded;
    }
    int ExitCode() const { return mExitCode; }
    // Sleeps of the main thread while the loading screen stepped the game.
    int LoadingSleeps() const { return mLoadingSleeps; }
    // Called on the program's thread after every sleep of its main loop,
    // those behind the loading screen too, with the milliseconds slept. Set
    // it on the player's turn.
    void Watch(std::function<void(uint32_t)> watch) { mWatch = std::move(watch); }

    // The program goes on alone; a window close ends it where the player
    // left it.
    void Release()
    {
        if (!mThread.joinable())
            return;
        {
            std::lock_guard<std::mutex> lock(mLock);
            mReleased = true;
            if (mTurn != Turn::kEnded) {
                mPlatform.windows.Queue().Post({plat::WM_CLOSE, 0, 0});
                mTurn = Turn::kProgram;
            }
            mSignal.notify_all();
        }
        mThread.join();
        mPlatform.clock.onSleep = nullptr;
    }

private:
    enum class Turn { kProgram, kPlayer, kEnded };

    // Only the main loop's sleeps hand over: before and after it the screens
    // are being made or taken down.
    void OnSleep(uint32_t slept)
    {
        if (!gGameApp || !gGameApp->mInMainLoop)
            return;
        if (mWatch)
            mWatch(slept);
        if (gGameApp->mLoadingScreen && gGameApp->mLoadingScreen->IsStepping()) {
            ++mLoadingSleeps;
            return;
        }
        std::unique_lock<std::mutex> lock(mLock);
        if (mReleased)
            return;
        mTurn = Turn::kPlayer;
        mSignal.notify_all();
        mSignal.wait(lock, [this] { return mTurn != Turn::kPlayer || mReleased; });
    }

    plat::NullPlatform& mPlatform;
    std::thread mThread;
    std::mutex mLock;
    std::condition_variable mSignal;
    Turn mTurn = Turn::kEnded;
    bool mReleased = false;
    int mExitCode = -1;
    int mLoadingSleeps = 0;
    std::function<void(uint32_t)> mWatch;
};

// What pref.dat holds.
struct Prefs {
    bool exists = false;
    PrefHeader header;
    ProfileRecord profile;
    bool valid = false;
    HiscoreTables tables;
};

// A player at the program's window.
class ProgramPlayer : public flowtest::GeneratedGame {
protected:
    void SetUp() override
    {
        GeneratedGame::SetUp();
        prefPath = (std::filesystem::path(user.Path()) / "documents" / "Tarnwick Games" / "Quillmore" / "pref.dat").string();
    }
    void TearDown() override
    {
        program.reset();
        GeneratedGame::TearDown();
    }

    // The program started afresh; its loading done.
    void StartProgram()
    {
        program = std::make_unique<Program>(platform);
        program->Start();
        ASSERT_TRUE(Until([] { return gGameApp && gGameApp->mLoadingCompleteHandled; }, 20000));
        app = gGameApp;
    }

    void Tick() { program->Tick(); }
    // Ticks until done, at most limit sleeps of the program.
    bool Until(const std::function<bool()>& done, int limit)
    {
        for (int i = 0; i < limit; ++i) {
            if (program->Ended())
                return false;
            if (done())
                return true;
            Tick();
        }
        return done();
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n && !program->Ended(); ++i)
            Tick();
    }

    // Whether the player sees the element whole and still: it and its
    // parents shown, no show or hide under way, each where its layout puts it
    // (no effect moving or scaling it).
    bool Settled(UiElement* element)
    {
        for (Zelk::WidgetContainer* at = element; at && at != app->mWidgetManager; at = at->mParent) {
            auto* ui = dynamic_cast<UiElement*>(at);
            if (!ui || !ui->mVisible || ui->IsShowInProgress() || ui->IsHideInProgress())
                return false;
            if (ui->mX != ui->GetLayoutX() || ui->mY != ui->GetLayoutY() || ui->mWidth != ui->GetLayoutWidth() ||
                ui->mHeight != ui->GetLayoutHeight())
                return false;
        }
        return true;
    }
    // The element's middle, or the point dx to the right of its left edge.
    Zelk::Point PointOn(UiElement* element, int dx = -1)
    {
        const Zelk::Point at = element->GetScreenPos();
        return {at.mX + (dx >= 0 ? dx : element->mWidth / 2), at.mY + element->mHeight / 2};
    }
    // Settled, and the topmost widget at the point.
    bool Shown(UiElement* element, int dx = -1)
    {
        if (!element || !Settled(element))
            return false;
        const Zelk::Point at = PointOn(element, dx);
        return app->mWidgetManager->GetWidgetAtPoint(at.mX, at.mY) == element;
    }
    // A left click on the element once the player sees it there.
    void ClickAt(UiElement* element, int dx = -1)
    {
        ASSERT_NE(element, nullptr);
        ASSERT_TRUE(Until([&] { return Shown(element, dx); }, 3000)) << "never seen whole";
        hands->Press(PointOn(element, dx));
        Ticks(3);
    }
    void Click(UiElement* from, const std::string& path)
    {
        UiElement* element = Find(from, path);
        ASSERT_NE(element, nullptr) << path;
        ClickAt(element);
        ASSERT_FALSE(HasFatalFailure()) << path;
    }
    void Key(int key)
    {
        platform.windows.Queue().Post({plat::WM_KEYDOWN, uintptr_t(key), 0});
        platform.windows.Queue().Post({plat::WM_KEYUP, uintptr_t(key), 0});
        Ticks(3);
    }
    void Type(const std::wstring& text)
    {
        for (wchar_t c : text)
            platform.windows.Queue().Post({plat::WM_CHAR, uintptr_t(c), 0});
        Ticks(3);
    }
    // The question's answer, once its box is up.
    void Answer(const std::string& button)
    {
        ASSERT_TRUE(Until([] { return gMessageBox && gMessageBox->mVisible; }, 500));
        Click(gMessageBox, button);
    }

    // A key for each page of the splash, each page seen first, to the front
    // end.
    void PassTheSplash()
    {
        SplashScreen* splash = app->mSplashScreen;
        ASSERT_NE(splash, nullptr);
        for (size_t page = 0; page < splash->GetPages().size() && splash->mVisible; ++page) {
            ASSERT_TRUE(Until([&] { return !splash->mVisible || splash->GetCurrentPage() == int(page); }, 1000));
            Ticks(20);
            Key(' ');
        }
        ASSERT_TRUE(Until([&] { return !splash->mVisible; }, 1000)) << "the splash did not end";
    }

    // On the creation panel: a profile of that name with the man's look,
    // then the main panel.
    void CreateProfile(const std::wstring& name)
    {
        MainMenu* menu = app->mMainMenu;
        ASSERT_TRUE(Until([&] { return Shown(Find(menu, "create_profile/create")); }, 2000));
        Click(menu, "create_profile/bossman_btn");
        Click(menu, "create_profile/entername_text");
        Type(name);
        Click(menu, "create_profile/create");
        ASSERT_TRUE(Until([&] { return Shown(Find(menu, "main_menu_dlg/career")); }, 2000));
    }

    // The main panel's "quit" and "yes": the program ends, with 0.
    void QuitTheGame()
    {
        Click(app->mMainMenu, "main_menu_dlg/quit");
        Answer("btn_yes");
        Until([] { return false; }, 2000);
        EXPECT_TRUE(program->Ended());
        program->Release();
        EXPECT_EQ(program->ExitCode(), 0);
    }

    Prefs ReadPrefs()
    {
        Prefs prefs;
        prefs.exists = std::filesystem::exists(prefPath);
        if (prefs.exists) {
            PrefStore store(prefPath, prefs.header, prefs.profile, prefs.valid, prefs.tables);
            EXPECT_TRUE(store.Load());
        }
        return prefs;
    }

    // The one box a first start shows is the 3D test's notice (no vhw.dat
    // is shipped, so its defaults decide); any other is a report of data the
    // game could not use.
    void ExpectNoReportBoxes()
    {
        for (const auto& shown : platform.messageBoxes.Log()) {
            const std::string text(shown.text.begin(), shown.text.end());
            if (text.rfind("Hardware Acceleration was switched on", 0) != 0)
                ADD_FAILURE() << "message box: " << text;
        }
    }

    std::string prefPath;
    std::unique_ptr<Program> program;
    GameApp* app = nullptr;
    std::unique_ptr<peopletest::OfficeHands> hands =
        std::make_unique<peopletest::OfficeHands>(platform, [this] { Tick(); });
};

} // namespace playtest
