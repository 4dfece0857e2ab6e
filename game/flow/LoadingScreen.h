#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class GameApp;

// Covers the loading of a level (layout "load_screen"). From its show to the
// end of its hide a thread of its own runs whole application steps, each
// under gStepLock, so the screen keeps animating while the main thread loads;
// and the screen stays up at least 1.5 s. The thread lives as long as the
// screen and waits while the screen is not shown; when it cannot be started,
// loads go unstepped and unwaited.
class LoadingScreen : public UiDialog {
public:
    static constexpr uint32_t kMinimumMs = 1500;

    LoadingScreen(GameApp* app, const XmlNode& root);
    // Wakes the thread, lets the step in flight end and waits for the thread.
    ~LoadingScreen() override;

    // Cursor off, on top, office screen hidden, stepping on, clock noted.
    void OnShow() override;
    // Waits out the minimum time (without the step lock), stops the stepping
    // (the step in flight ends first), shows the office screen, cursor on.
    void OnHide() override;
    void OnAcquireResources() override {}
    void OnReleaseResources() override {}
    // Its buttons do nothing.
    void OnButton(intptr_t) override {}

    bool HasThread() const { return mHasThread; }
    // Whether the thread is asked to step (between show and hide).
    bool IsStepping() const { return mRun.load(); }

private:
    void ThreadProc();

    std::mutex mRunLock;
    std::condition_variable mRunSignal;
    std::atomic<bool> mRun{false};    // step while set
    std::atomic<bool> mHalted{false}; // a step returned false: wait for the next show
    std::atomic<bool> mAlive{true};   // cleared by the destructor
    bool mHasThread = false;
    std::thread mThread;
    bool mShown = false;              // a show since the last hide
    uint32_t mShowTime = 0;
};
