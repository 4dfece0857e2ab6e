#pragma once

namespace Zelk {

class Widget;
class ZelkAppBase;

// The one widget manager of the application: everything the main loop hands
// to the widget tree goes through it.
class WidgetManager {
public:
    explicit WidgetManager(ZelkAppBase* app) : mApp(app) {}
    virtual ~WidgetManager() = default;

    void Resize(int screenX, int screenY, int screenWidth, int screenHeight, int mouseX,
                int mouseY, int mouseWidth, int mouseHeight);
    // One fixed update of every widget; true when something became dirty.
    bool UpdateFrame();
    void UpdateFrameFraction(float fraction);
    // Redraws the dirty widgets into the screen image; true when anything was drawn.
    bool DrawScreen();
    void RemoveWidget(Widget* widget) {}
    void AppGotFocus() {}
    void AppLostFocus() {}

    int mScreenWidth = 0;
    int mScreenHeight = 0;
    int mUpdateCnt = 0;
    int mFractionCnt = 0;
    float mLastFraction = 0.0f;
    bool mDirty = false; // something waits to be drawn

private:
    ZelkAppBase* mApp;
};

} // namespace Zelk
