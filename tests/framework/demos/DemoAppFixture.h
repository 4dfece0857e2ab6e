#pragma once
// An application that takes the demo switches from its command line and
// writes down, with the update count, what reaches its probe widget and what
// its own notes say.
#include "framework/app/StringUtil.h"
#include "tests/framework/app/AppFixture.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

class DemoApp : public TestApp {
public:
    // The switches after the program path, as a command line carries them.
    explicit DemoApp(const std::string& switches = std::string()) { mCommandLine = "\"/game/zelkapp\" " + switches; }

    void HandleCommandLine(const std::string& args) override { HandleSwitches(args); }
    void UpdateWidgets() override
    {
        StampEvents();
        TestApp::UpdateWidgets();
    }
    bool UpdateOnce() override
    {
        const bool ran = TestApp::UpdateOnce();
        if (!ran && mPlayingDemo && mDemoLoadingCompleteSeen && !mLoadingCompleteHandled)
            heldForLoading = true;
        return ran;
    }
    void OnLoadingComplete() override
    {
        TestApp::OnLoadingComplete();
        Note("loading complete");
        if (onLoadingComplete)
            onLoadingComplete();
    }

    void Note(const std::string& text) { notes.push_back(std::to_string(mUpdateCount) + ": " + text); }
    // The probe's events, each with the update count it arrived at.
    std::vector<std::string> StampedEvents()
    {
        StampEvents();
        std::vector<std::string> out;
        for (size_t i = 0; i < probe.events.size(); ++i)
            out.push_back(std::to_string(mStamps[i]) + ": " + probe.events[i]);
        return out;
    }

    // The protected demo operations, for tests that drive them one by one.
    using Zelk::ZelkAppBase::DemoStreamAtEnd;
    using Zelk::ZelkAppBase::DemoUpdateAllowed;

    std::vector<std::string> notes;
    std::function<void()> onLoadingComplete;
    // Set when a replay held an update back because this run's loading was
    // not done where the recorded run's was.
    std::atomic<bool> heldForLoading{false};
    // A test's signal to a loading thread that waits for it.
    std::atomic<bool> releaseLoading{false};

private:
    // Events reach the probe between updates: they belong to the count reached.
    void StampEvents()
    {
        while (mStamps.size() < probe.events.size())
            mStamps.push_back(mUpdateCount);
    }
    std::vector<int> mStamps;
};

// Shows message boxes on standard error, where a death test can see them.
struct StderrBoxes : plat::MessageBoxes {
    int Show(const std::wstring& text, const std::wstring& caption, uint32_t flags) override
    {
        fprintf(stderr, "box '%s' %x: %s\n", Zelk::WStringToString(caption).c_str(), flags,
                Zelk::WStringToString(text).c_str());
        return plat::IDOK;
    }
    // Installs itself in place of the platform's boxes.
    void Install()
    {
        plat::Services s = plat::Get();
        s.messageBoxes = this;
        plat::Install(s);
    }
};

// Window messages as the platform queues them.
inline plat::WindowMessage MouseMessage(uint32_t message, int x, int y)
{
    return {message, 0, intptr_t(uint32_t(uint16_t(x)) | uint32_t(uint16_t(y)) << 16)};
}
inline plat::WindowMessage WheelMessage(int delta) { return {plat::WM_MOUSEWHEEL, uintptr_t(uint16_t(delta)) << 16, 0}; }
inline plat::WindowMessage KeyMessage(uint32_t message, int key) { return {message, uintptr_t(key), 0}; }

// Waits (at most ten seconds of real time) for another thread to get somewhere.
template <typename Cond>
bool WaitFor(Cond cond)
{
    for (int i = 0; i < 10000 && !cond(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return cond();
}

// Replays a stream into an application by hand: demo events between updates,
// as the main loop has them, until the update count is reached or a step
// budget runs out.
inline void PlayUntil(Zelk::ZelkAppBase& app, int32_t updateCount, int budget = 10000)
{
    for (int i = 0; i < budget && app.mUpdateCount < updateCount && !app.mShuttingDown; ++i) {
        app.RunDemoEvents();
        app.UpdateOnce();
    }
}
