#pragma once
#include "framework/graphics/Rect.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Zelk {

class Widget;
class ZelkAppBase;

// The one widget manager of the application: everything the main loop and
// the window procedure hand to the widget tree goes through it. (So far it
// records what reaches it.)
class WidgetManager {
public:
    explicit WidgetManager(ZelkAppBase* app) : mApp(app) {}
    virtual ~WidgetManager() = default;

    void Resize(const Rect& screenRect, const Rect& mouseRect);
    // One fixed update of every widget; true when something became dirty.
    bool UpdateFrame();
    void UpdateFrameFraction(float fraction);
    // Redraws the dirty widgets into the screen image; true when anything was drawn.
    bool DrawScreen();
    void RemoveWidget(Widget* widget) {}
    void AppGotFocus() { mEvents.push_back("gotfocus"); }
    void AppLostFocus() { mEvents.push_back("lostfocus"); }

    void RemapMouse(int& x, int& y) {}
    void MouseMove(int x, int y);
    void MouseDown(int x, int y, int clickCount);
    void MouseUp(int x, int y, int clickCount);
    void MouseWheel(int delta);
    void MouseExit();
    bool KeyDown(int key);
    bool KeyUp(int key);
    bool KeyChar(wchar_t c);
    void ReleaseCapture() { mDownButtons = 0; mEvents.push_back("releasecapture"); }
    void MarkAllDirty() { mDirty = true; mEvents.push_back("markalldirty"); }
    void RefreshTree() { mEvents.push_back("refresh"); }

    class MemoryImage* mImage = nullptr; // the screen image
    int mScreenWidth = 0;
    int mScreenHeight = 0;
    int mUpdateCnt = 0;
    int mFractionCnt = 0;
    float mLastFraction = 0.0f;
    bool mDirty = false; // something waits to be drawn
    int mDownButtons = 0; // 1 left, 2 right, 4 middle
    bool mKeyDown[0xFF] = {};
    std::vector<std::string> mEvents;

private:
    ZelkAppBase* mApp;
};

} // namespace Zelk
