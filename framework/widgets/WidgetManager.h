#pragma once
#include "framework/graphics/Rect.h"
#include "framework/widgets/WidgetContainer.h"

#include <cstdint>
#include <vector>

namespace Zelk {

class Graphics;
class MemoryImage;
class Widget;
class ZelkAppBase;

// Mouse button bits of buttons down and captured buttons.
enum : uint32_t {
    MOUSE_BUTTON_LEFT = 1,
    MOUSE_BUTTON_RIGHT = 2,
    MOUSE_BUTTON_MIDDLE = 4,
};

// The root of the widget tree and the only way in for input, updates and
// drawing. It decides which widget gets a press, a release, a movement or a
// key; keeps the hover, capture and focus widgets; applies the masks of modal
// layers; and redraws the dirty top-level widgets into the screen image.
//
// Mouse click codes: 1 left, 2 left double click, -1 right, -2 right double
// click, 3 middle.
class WidgetManager : public WidgetContainer {
public:
    // One modal layer: what the layer replaced, restored when it is popped.
    struct PreModalInfo {
        Widget* mBaseModalWidget = nullptr;
        Widget* mPrevBaseModalWidget = nullptr;
        Widget* mPrevFocusWidget = nullptr;
        FlagsMod mPrevBelowModalFlagsMod;
    };
    struct DeferredOverlay {
        Widget* mWidget;
        int32_t mPriority;
    };

    explicit WidgetManager(ZelkAppBase* app);
    ~WidgetManager() override;

    // The drawing area and the window area mouse positions arrive in.
    void Resize(const Rect& screenRect, const Rect& mouseRect);
    // Window position to drawing-area position (unchanged before Resize).
    void RemapMouse(int& x, int& y);

    // ---- input, in the order the events happened; each returns true ----
    bool MouseMove(int x, int y);
    bool MouseDown(int x, int y, int clickCode);
    bool MouseUp(int x, int y, int clickCode);
    bool MouseWheel(int delta);
    bool MouseExit();
    bool KeyChar(wchar_t c);
    bool KeyDown(int key);
    bool KeyUp(int key);

    // ---- application focus ----
    void AppGotFocus();
    void AppLostFocus();
    // Ends the capture, sending the held buttons' releases to the widget.
    void ReleaseCapture();

    // ---- hit test, hover and focus ----
    // The widget under (x, y) of container (null: this manager) with flags
    // to start from; out coordinates are in the found widget's own frame.
    Widget* GetWidgetAt(WidgetContainer* container, int x, int y, uint32_t flags, int* outX, int* outY);
    // The widget the mouse would reach at (x, y); null for a disabled one.
    Widget* GetWidgetAtPoint(int x, int y, int* outX = nullptr, int* outY = nullptr);
    // Evaluates the hover at a new mouse position (no button captured).
    void MousePosition(int x, int y);
    void SetFocus(Widget* widget) override;
    void ForgetWidget(Widget* widget) override;
    // Re-evaluates the hover after the tree changed under the mouse.
    void RecheckMouse();

    // ---- modal layers ----
    void PushModalLayer(Widget* widget, const FlagsMod& belowFlagsMod);
    void PushModalLayerDefault(Widget* widget);
    void SetModalLayer(Widget* widget, const FlagsMod& belowFlagsMod);
    void PopModalLayer(Widget* widget);

    // ---- per tick and per frame ----
    // One fixed update of the tree; true once anything was marked dirty.
    bool UpdateFrame();
    bool UpdateFrameFraction(float fraction);
    // Redraws the dirty top-level widgets; true when any widget was drawn.
    bool DrawScreen();
    void DrawQueuedOverlays(int maxPriority);

    // The flags every walk starts from.
    TreeFlags ComputeFlags();
    bool IsKeyDown(int key) const { return key >= 0 && key < 255 && mKeyDown[key]; }

    Widget* mDefaultTab = nullptr; // receives Ctrl+Tab characters
    Graphics* mCurG = nullptr;     // while a frame draw runs
    ZelkAppBase* mApp;
    MemoryImage* mImage = nullptr; // the screen image
    Widget* mPopupCommandWidget = nullptr; // removed by a press outside it
    std::vector<DeferredOverlay> mDeferredOverlayWidgets;
    int32_t mMinDeferredOverlayPriority = 0x7fffffff;
    bool mHasFocus = true; // the application has focus
    Widget* mFocusWidget = nullptr;
    Widget* mCapturedWidget = nullptr; // got the press that is still held
    Widget* mOverWidget = nullptr;     // the hover widget
    Widget* mBaseModalWidget = nullptr;
    FlagsMod mLostFocusFlagsMod;
    FlagsMod mBelowModalFlagsMod;
    FlagsMod mDefaultBelowModalFlagsMod;
    std::vector<PreModalInfo> mPreModalInfoList; // newest last
    Rect mScreenRect;
    Rect mMouseDestRect;
    bool mMouseIn = false;
    int32_t mLastMouseX = 0;
    int32_t mLastMouseY = 0;
    // Captured buttons: pressed on the captured widget (or on nothing) and
    // still held; the window keeps the system mouse capture while any is.
    uint32_t mDownButtons = 0;
    uint32_t mActualDownButtons = 0; // every button held
    bool mKeyDown[255] = {};
    uint32_t mWidgetFlags = WIDGET_FLAG_UPDATE | WIDGET_FLAG_DRAW | WIDGET_FLAG_CLIP | WIDGET_FLAG_MOUSE |
                            WIDGET_FLAG_FOCUS;
    // Set by an application whose overlay (ZelkAppBase::DrawOverlay) draws at
    // places that change, such as a cursor of its own: every frame drawn then
    // starts black and every visible top-level widget is drawn on it, so
    // nothing an earlier overlay drew stays on the screen image.
    bool mRepaintWholeFrames = false;

private:
    void DragMouse(int x, int y);
    void EnterWidget(Widget* widget);
    void LeaveWidget(Widget* widget);
    // Releases of each button bit held, at the last mouse position.
    void ReleaseButtons(Widget* widget, uint32_t buttons);
    static uint32_t ClickCodeBit(int clickCode);
};

} // namespace Zelk
