// The loading screen's thread over the demo game: it steps the application
// only between the screen's show and the end of its hide, holds the screen
// up for the minimum time, leaves input to the main thread and ends with the
// screen.
#include "DemoGame.h"

#include "framework/graphics/Image.h"
#include "game/effects/Effect.h"
#include "game/effects/ParticleRegistry.h"
#include "game/effects/ParticleSystem.h"
#include "game/flow/LoadingScreen.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/StepLock.h"
#include "game/ui/UiText.h"
#include "platform/crash/ThreadStart.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

using namespace flowtest;

class Loading : public DemoGame {
protected:
    void SetUp() override
    {
        DemoGame::SetUp();
        if (IsSkipped())
            return;
        mainThread = std::this_thread::get_id();
        // Simulated time moves with the stepping thread's sleeps, so the
        // minimum time is counted in its updates.
        app->onStep = [this] {
            if (std::this_thread::get_id() == mainThread)
                return;
            ++threadSteps;
            if (threadDrives)
                platform.clock.SetDrivingThread(std::this_thread::get_id());
            std::lock_guard<std::mutex> lock(idLock);
            threadIds.insert(std::this_thread::get_id());
        };
        platform.clock.onSleep = [this](uint32_t) {
            if (std::this_thread::get_id() == mainThread)
                ++mainSleeps;
        };
    }
    void TearDown() override
    {
        // The application ends first: its loading screen joins the thread,
        // which may still be yielding through the clock after its last step.
        DemoGame::TearDown();
        platform.clock.onSleep = nullptr;
    }

    int UpdateCount()
    {
        Zelk::CritSectGuard guard(gStepLock);
        return app->mUpdateCount;
    }

    // The main thread's "load": it waits until the stepping thread has moved
    // simulated time on by ms.
    void LoadFor(uint32_t ms)
    {
        const uint32_t start = platform.clock.NowMs();
        while (platform.clock.NowMs() - start < ms)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }

    // Whose sleeps move simulated time: the stepping thread's during loads.
    void ThreadDrives() { threadDrives = true; }
    void MainDrives()
    {
        threadDrives = false;
        platform.clock.SetDrivingThread(mainThread);
    }

    // Real time passes without any show.
    static void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(30)); }

    std::thread::id mainThread;
    std::atomic<int> threadSteps{0};
    std::atomic<int> mainSleeps{0};
    std::atomic<bool> threadDrives{true};
    std::mutex idLock;
    std::set<std::thread::id> threadIds;
};

TEST_F(Loading, AShortLoadKeepsTheScreenUpForTheMinimumAndALongOneAddsNoWait)
{
    // The main loop has been running: its clock is current.
    for (int i = 0; i < 20; ++i)
        app->AppStep(nullptr);
    // 200 ms: the hide waits, and the stepping thread makes the time pass.
    int before = UpdateCount();
    uint32_t shown = platform.clock.NowMs();
    app->mLoadingScreen->Show();
    EXPECT_TRUE(app->mLoadingScreen->IsStepping());
    LoadFor(200);
    app->mLoadingScreen->Hide();
    EXPECT_FALSE(app->mLoadingScreen->IsStepping());
    EXPECT_GE(platform.clock.NowMs() - shown, LoadingScreen::kMinimumMs);
    // The main thread ran no update of its own meanwhile: the updates are the
    // stepping thread's, one for each 10 ms shown; the 150th tick's time has
    // just been slept when the hide ends, its update would come next.
    EXPECT_GE(UpdateCount() - before, 149);
    EXPECT_TRUE(app->GetOfficeScreen()->mVisible) << "the office screen comes after the load";

    // 3000 ms: the hide does not sleep at all (the main thread drives the
    // clock for it, so any sleep of its would count).
    before = UpdateCount();
    ThreadDrives();
    app->mLoadingScreen->Show();
    LoadFor(3000);
    MainDrives();
    mainSleeps = 0;
    app->mLoadingScreen->Hide();
    EXPECT_EQ(mainSleeps, 0);
    // As above: the load ends on the sleep of the 300th tick, whose update
    // the hide may stop before it runs.
    EXPECT_GE(UpdateCount() - before, 299);
}

TEST_F(Loading, TheThreadStepsOnlyBetweenShowAndTheEndOfHideAndFiveLoadsShareIt)
{
    Pause();
    EXPECT_EQ(threadSteps, 0);
    for (int load = 0; load < 5; ++load) {
        ThreadDrives();
        app->mLoadingScreen->Show();
        LoadFor(100);
        app->mLoadingScreen->Hide();
        MainDrives();
        const int after = threadSteps;
        EXPECT_GT(after, 0);
        Pause();
        EXPECT_EQ(threadSteps, after) << "load " << load;
    }
    std::lock_guard<std::mutex> lock(idLock);
    EXPECT_EQ(threadIds.size(), 1u);
    // A hide without a show waits for nothing.
    mainSleeps = 0;
    app->mLoadingScreen->Hide();
    EXPECT_EQ(mainSleeps, 0);
}

TEST_F(Loading, AClickDuringALoadLandsAfterIt)
{
    // Two presses wait in the application's queue when the load starts.
    app->mMessageQueue.push_back({plat::WM_MOUSEMOVE, 0, 0});
    app->mMessageQueue.push_back({plat::WM_MOUSEMOVE, 0, 0});
    app->mLoadingScreen->Show();
    LoadFor(300);
    {
        Zelk::CritSectGuard guard(gStepLock);
        EXPECT_EQ(app->mMessageQueue.size(), 2u);
    }
    app->mLoadingScreen->Hide();
    MainDrives();
    for (int i = 0; i < 10 && !app->mMessageQueue.empty(); ++i)
        app->AppStep(nullptr);
    EXPECT_TRUE(app->mMessageQueue.empty());
}

TEST_F(Loading, DestructionEndsTheThreadAlsoInTheMiddleOfALoad)
{
    XmlDocument ui;
    ASSERT_TRUE(XmlCreateDocument(ui));
    ASSERT_TRUE(XmlLoadFile("cfg\\ui.xml", ui));
    for (bool shown : {false, true}) {
        auto* screen = new LoadingScreen(app.get(), ui.Node().SelectSingle(L"root"));
        ASSERT_TRUE(screen->HasThread());
        if (shown) {
            ThreadDrives();
            screen->Show();
            LoadFor(50);
        }
        delete screen;
        const int after = threadSteps;
        Pause();
        EXPECT_EQ(threadSteps, after);
        MainDrives();
    }
}

TEST_F(Loading, WithoutItsThreadALoadIsNeitherSteppedNorWaitedFor)
{
    XmlDocument ui;
    ASSERT_TRUE(XmlCreateDocument(ui));
    ASSERT_TRUE(XmlLoadFile("cfg\\ui.xml", ui));
    plat::FailNextThreadStart();
    LoadingScreen screen(app.get(), ui.Node().SelectSingle(L"root"));
    EXPECT_FALSE(screen.HasThread());
    app->mWidgetManager->AddWidget(&screen);
    screen.Show();
    Pause();
    mainSleeps = 0;
    screen.Hide();
    EXPECT_EQ(threadSteps, 0);
    EXPECT_EQ(mainSleeps, 0);
    EXPECT_TRUE(app->GetOfficeScreen()->mVisible);
    app->mWidgetManager->RemoveWidget(&screen);
}

// 50 loads whose main-thread work touches what the stepping thread updates
// and draws, each stretch under the step lock.
TEST_F(Loading, FiftyLoadsShareTheWidgetsEffectsParticlesAndPicturesThroughTheStepLock)
{
    LoadingScreen* screen = app->mLoadingScreen;
    std::vector<UiText*> texts;
    std::vector<Effect*> effects;
    if (screen->GetEffect())
        effects.push_back(screen->GetEffect());
    for (const auto& [name, child] : screen->GetChildren()) {
        if (auto* text = dynamic_cast<UiText*>(child))
            texts.push_back(text);
        if (child->GetEffect())
            effects.push_back(child->GetEffect());
    }
    ASSERT_FALSE(texts.empty());
    ASSERT_FALSE(effects.empty()) << "the loading screen animates";
    ParticleRegistry* particles = app->GetParticleRegistry();
    TextureRegistry* textures = app->GetTextureRegistry();
    const int before = UpdateCount();
    for (int load = 0; load < 50; ++load) {
        ThreadDrives();
        screen->Show();
        for (int phase = 0; phase < 4; ++phase) {
            {
                Zelk::CritSectGuard guard(gStepLock);
                for (UiText* text : texts)
                    text->SetText(L"load " + std::to_wstring(load) + L" phase " + std::to_wstring(phase));
                texts.front()->SetVisible(phase % 2 == 0);
                for (Effect* effect : effects)
                    effect->SendMessage("onchange");
                particles->Register(effects.front(), new ParticleSystem(textures, particles));
                if (Zelk::Image* picture = textures->Get("mn01_bossman"))
                    EXPECT_GT(picture->GetWidth(), 0);
                textures->Release("mn01_bossman");
            }
            LoadFor(10);
        }
        {
            Zelk::CritSectGuard guard(gStepLock);
            particles->RemoveOwner(effects.front());
            texts.front()->SetVisible(true);
        }
        // The minimum time has passed: the hide only stops the stepping.
        platform.clock.Advance(LoadingScreen::kMinimumMs);
        screen->Hide();
        MainDrives();
    }
    EXPECT_GE(UpdateCount() - before, 50 * 4);
    std::lock_guard<std::mutex> lock(idLock);
    EXPECT_EQ(threadIds.size(), 1u);
}

} // namespace
