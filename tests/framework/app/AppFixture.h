#pragma once
// An application on the null platform, in simulated time, with hooks that let
// a test see what the main loop does.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/NullPlatform.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// A music interface that remembers the master volume it was given last.
class RecordingMusic : public Zelk::MusicInterface {
public:
    void SetVolume(double volume) override { mVolume = volume; }
    double mVolume = -1.0;
};

// A top-level widget over the whole drawing area (and well beyond, so that
// negative positions reach it too) that holds the focus, writes down the
// input that reaches it, and changes at every update when asked to.
class ProbeWidget : public Zelk::Widget {
public:
    ProbeWidget()
    {
        Resize(-100000, -100000, 200000, 200000);
        mWantsFocus = true;
    }
    void Update() override
    {
        Zelk::Widget::Update();
        if (changeEveryUpdate)
            MarkDirty();
    }
    void MouseMove(int x, int y) override { LogMouse(); }
    void MouseDrag(int x, int y) override { LogMouse(); }
    void MouseDown(int x, int y, int clickCode) override { events.push_back("down " + std::to_string(clickCode)); }
    void MouseUp(int x, int y, int clickCode) override { events.push_back("up " + std::to_string(clickCode)); }
    void MouseWheel(int delta) override { events.push_back("wheel " + std::to_string(delta)); }
    void MouseLeave() override { events.push_back("exit"); }
    void KeyDown(int key) override { events.push_back("keydown " + std::to_string(key)); }
    void KeyUp(int key) override { events.push_back("keyup " + std::to_string(key)); }
    void KeyChar(wchar_t c) override { events.push_back("char " + std::to_string(int(c))); }
    void MarkAllDirty() override
    {
        events.push_back("markalldirty");
        Zelk::Widget::MarkAllDirty();
    }
    void Refresh() override { events.push_back("refresh"); }

    bool changeEveryUpdate = true;
    std::vector<std::string> events;

private:
    // The manager's mouse position: the one the window procedure handed on.
    void LogMouse()
    {
        events.push_back("move " + std::to_string(mWidgetManager->mLastMouseX) + "," +
                         std::to_string(mWidgetManager->mLastMouseY));
    }
};

class TestApp : public Zelk::ZelkAppBase {
public:
    Zelk::MusicInterface* CreateMusicInterface(plat::WindowHandle window) override { return new RecordingMusic(); }
    double MusicVolumePassedOn() const { return static_cast<RecordingMusic*>(mMusicInterface)->mVolume; }
    TestApp()
    {
        mProdName = "TestProduct";
        mRegKey = "Test Co\\Test Game";
        mLoadingThreadWanted = false;
        mWidgetManager->AddWidget(&probe);
        mWidgetManager->SetFocus(&probe);
    }
    ~TestApp() override { mWidgetManager->RemoveWidget(&probe); }
    void UpdateWidgets() override
    {
        probe.changeEveryUpdate = changeEveryUpdate;
        Zelk::ZelkAppBase::UpdateWidgets();
        if (onUpdate)
            onUpdate();
    }
    bool Draw() override
    {
        drawCalls.push_back(mUpdateCount);
        return Zelk::ZelkAppBase::Draw();
    }
    void OnShutdown() override
    {
        ++shutdowns;
        shutdownThread = std::this_thread::get_id();
    }
    void OnLoadingComplete() override { ++loadingCompletes; }
    void LoadContent() override
    {
        if (loadContent)
            loadContent();
    }
    void OnInstanceNotify(uintptr_t a, intptr_t b) override
    {
        notifies.push_back({a, b});
        Zelk::ZelkAppBase::OnInstanceNotify(a, b);
    }

    ProbeWidget probe;
    bool changeEveryUpdate = true;
    std::function<void()> onUpdate;
    std::function<void()> loadContent;
    std::vector<int> drawCalls; // update count at each Draw call
    int shutdowns = 0;
    std::thread::id shutdownThread;
    int loadingCompletes = 0;
    std::vector<std::pair<uintptr_t, intptr_t>> notifies;
};

// A display whose present can pace itself to a refresh rate (as a flip that
// waits for the vertical blank does) and records when frames were shown.
class PacingDisplay : public Zelk::DDInterface {
public:
    explicit PacingDisplay(Zelk::ZelkAppBase* app, plat::NullClock* clock) : DDInterface(app), mClock(clock) {}
    bool Redraw(const Zelk::Rect* dirty) override
    {
        if (pace) {
            // wait for the next refresh boundary
            double period = 1000.0 / mRefreshRate;
            double now = mClock->NowMs() - origin;
            double next = (std::floor(now / period) + 1.0) * period;
            uint32_t wait = uint32_t(std::ceil(next - now));
            mClock->Advance(wait);
        }
        presentTimes.push_back(mClock->NowMs());
        return DDInterface::Redraw(dirty);
    }
    bool pace = false;
    uint32_t origin = 0;
    std::vector<uint32_t> presentTimes;

private:
    plat::NullClock* mClock;
};

class AppTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        Zelk::gScreenSaverPause = false;
        Zelk::gSurfacesLost = false;
        Zelk::gLastScreenSaverCheck = 0;
        Zelk::gScreenSaverActive = true;
        Zelk::gScreenSaverThreshold = 60000;
    }
    plat::NullPlatform platform;
};
