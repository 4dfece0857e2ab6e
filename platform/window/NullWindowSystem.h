#pragma once
#include "platform/window/WindowSystem.h"

#include <map>
#include <vector>

namespace plat {

// Windows that exist only as records: tests inspect them and post messages.
class NullWindowSystem : public WindowSystem {
public:
    struct Record {
        WindowDesc desc;
        bool visible = false;
        bool minimized = false;
        bool raised = false;
        int raiseCount = 0;
        int restoreCount = 0;
        int moveCount = 0;
        int resizeCount = 0;
        int iconWidth = 0, iconHeight = 0; // of the icon last set
    };
    WindowHandle Create(const WindowDesc& desc) override;
    void Destroy(WindowHandle w) override;
    void Show(WindowHandle w) override;
    void Hide(WindowHandle w) override;
    void Raise(WindowHandle w) override;
    void Restore(WindowHandle w) override;
    bool IsMinimized(WindowHandle w) override;
    bool IsVisible(WindowHandle w) override;
    void SetTitle(WindowHandle w, const std::wstring& title) override;
    void SetClientSize(WindowHandle w, int width, int height) override;
    void SetIcon(WindowHandle w, const uint32_t* argb, int width, int height) override;
    void DesktopSize(int& width, int& height) override;
    void WorkArea(int& x, int& y, int& width, int& height) override;
    void FrameMargins(int& left, int& top, int& right, int& bottom) override;
    void Move(WindowHandle w, int x, int y) override;
    bool IsActive(WindowHandle w) override { return activeWindow == 0 || activeWindow == w; }
    bool IsTabletPC() override { return tablet; }
    void CreateSystemCaret(WindowHandle w) override { caret = {w, true, false, 0, 0}; }
    void ShowSystemCaret(WindowHandle w, bool shown) override { caret.shown = shown; }
    void SetSystemCaretPos(WindowHandle w, int x, int y) override
    {
        caret.x = x;
        caret.y = y;
        ++caretMoves;
    }
    void DestroySystemCaret(WindowHandle w) override { caret = {}; }
    CursorHandle LoadSystemCursor(SystemCursor which) override { return CursorHandle(100 + int(which)); }
    CursorHandle CreateCursor(int hotX, int hotY, int width, int height, const uint8_t* andMask,
                              const uint8_t* xorMask) override;
    void DestroyCursor(CursorHandle cursor) override { ++cursorsDestroyed; }
    void SetCursor(CursorHandle cursor) override { currentCursor = cursor; ++cursorSets; }
    void SetCapture(WindowHandle w) override { captured = w; }
    void ReleaseCapture() override { captured = 0; ++captureReleases; }
    bool MouseInClient(WindowHandle w, int& x, int& y) override;
    void SetTimer(WindowHandle w, uintptr_t id, uint32_t periodMs) override;
    void KillTimer(WindowHandle w, uintptr_t id) override;
    ScreenSaverState ScreenSaver() override { return screenSaver; }
    void ClientOrigin(WindowHandle w, int& x, int& y) override { x = clientOriginX; y = clientOriginY; }
    void ClientSize(WindowHandle w, int& width, int& height) override;
    void Present(WindowHandle w, const uint32_t* argb, int width, int height, int stride) override;
    void PresentFrame(WindowHandle w, std::vector<uint32_t>& frame, int width, int height) override;
    // The last frame presented, as a test reads it.
    std::vector<uint32_t> LastFrame(int& width, int& height);
    int clientOriginX = 0, clientOriginY = 0;
    int presentCount = 0;

    Record* Find(WindowHandle w);
    size_t LiveWindows();
    // What the desktop reports, as a test sets it.
    CursorHandle currentCursor = 0;
    int cursorSets = 0;
    int cursorsCreated = 0;
    int cursorsDestroyed = 0;
    WindowHandle captured = 0;
    int captureReleases = 0;
    bool mouseInside = false;
    int mouseClientX = 0, mouseClientY = 0;
    std::map<uintptr_t, uint32_t> timers; // id -> period
    ScreenSaverState screenSaver;
    // Work area (-1 width: the whole desktop) and frame margins.
    int workX = 0, workY = 0, workWidth = -1, workHeight = -1;
    int marginLeft = 3, marginTop = 22, marginRight = 3, marginBottom = 3;
    WindowHandle activeWindow = 0; // 0: every window counts as active
    int desktopWidth = 1024;
    int desktopHeight = 768;
    bool tablet = false;
    // The system caret as the program left it.
    struct Caret {
        WindowHandle window = 0;
        bool exists = false;
        bool shown = false;
        int x = 0, y = 0;
    };
    Caret caret;
    int caretMoves = 0;

private:
    std::vector<uint32_t> mFrame;
    int mFrameWidth = 0, mFrameHeight = 0;
    std::mutex mLock;
    std::map<WindowHandle, Record> mWindows;
    WindowHandle mNext = 1;
};

} // namespace plat
