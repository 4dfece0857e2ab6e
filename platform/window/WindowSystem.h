#pragma once
#include "platform/window/WindowMessages.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

using WindowHandle = uintptr_t; // 0 is no window
using CursorHandle = uintptr_t; // 0 is no cursor (hidden)

// The desktop's own cursors.
enum class SystemCursor { Arrow, IBeam, No, SizeAll, SizeNESW, SizeNS, SizeNWSE, SizeWE, Wait };

// The desktop's screen-saver settings and the time of the last input.
struct ScreenSaverState {
    bool active = false;       // a screen saver is configured
    uint32_t timeoutSec = 0;   // its timeout
    bool running = false;      // it is running now
    bool haveLastInput = false;
    uint32_t lastInputMs = 0;  // in the clock's milliseconds
};

// Thread-safe queue of window messages: the platform's event pump (or a test)
// posts, the application's thread takes them one at a time.
class MessageQueue {
public:
    void Post(const WindowMessage& msg);
    // A mouse move replaces a mouse move that is still the newest message.
    void PostCoalescingMoves(const WindowMessage& msg);
    bool Peek(WindowMessage& out); // takes the oldest message, if any
    bool Empty();
    void Clear();
    // Called (on the posting thread, outside the lock) after every post, so
    // an event loop sleeping elsewhere wakes up.
    void SetNotify(std::function<void()> notify);

private:
    std::mutex mLock;
    std::deque<WindowMessage> mQueue;
    std::function<void()> mNotify;
};

struct WindowDesc {
    std::wstring title;
    int width = 800;
    int height = 600;
    int x = -1; // -1: let the system place it
    int y = -1;
    bool fullScreen = false;
    bool invisible = false; // a window that is never shown (handed to the music interface)
    bool maximizeBox = false; // a captioned window that can be maximised
};

// Windows of the program and the screen they live on. Operations may be called
// from the application's thread; the real implementation forwards them to the
// platform's own thread.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual WindowHandle Create(const WindowDesc& desc) = 0;
    virtual void Destroy(WindowHandle w) = 0;
    virtual void Show(WindowHandle w) = 0;
    virtual void Hide(WindowHandle w) = 0;
    virtual void Raise(WindowHandle w) = 0;   // to the foreground, with focus
    virtual void Restore(WindowHandle w) = 0; // un-minimise
    virtual bool IsMinimized(WindowHandle w) = 0;
    virtual bool IsVisible(WindowHandle w) = 0;
    virtual void SetTitle(WindowHandle w, const std::wstring& title) = 0;
    // Resizes the client area, only when it differs from the size it has.
    virtual void SetClientSize(WindowHandle w, int width, int height) {}
    // The window's icon from 0xAARRGGBB rows (width x height, no padding).
    virtual void SetIcon(WindowHandle w, const uint32_t* argb, int width, int height) {}
    virtual void DesktopSize(int& width, int& height) = 0;
    // The part of the desktop windows may use (without task bars).
    virtual void WorkArea(int& x, int& y, int& width, int& height) = 0;
    // How far a captioned window's outer edges lie from its client area.
    virtual void FrameMargins(int& left, int& top, int& right, int& bottom) = 0;
    // Moves the window's outer top-left corner.
    virtual void Move(WindowHandle w, int x, int y) = 0;
    // The window has the keyboard focus of the desktop.
    virtual bool IsActive(WindowHandle w) = 0;
    virtual bool IsTabletPC() = 0;
    // The desktop's text caret of the window (where an on-screen keyboard
    // types): created hidden with no picture, shown, placed in client
    // coordinates, destroyed. Desktops without one do nothing.
    virtual void CreateSystemCaret(WindowHandle w) {}
    virtual void ShowSystemCaret(WindowHandle w, bool shown) {}
    virtual void SetSystemCaretPos(WindowHandle w, int x, int y) {}
    virtual void DestroySystemCaret(WindowHandle w) {}

    // Cursors: the desktop's own, or made from 1-bit AND and XOR masks
    // (rows of width/8 bytes, most significant bit first).
    virtual CursorHandle LoadSystemCursor(SystemCursor which) = 0;
    virtual CursorHandle CreateCursor(int hotX, int hotY, int width, int height, const uint8_t* andMask,
                                      const uint8_t* xorMask) = 0;
    virtual void DestroyCursor(CursorHandle cursor) = 0;
    virtual void SetCursor(CursorHandle cursor) = 0; // 0 hides the cursor
    // The mouse keeps reporting to the window while a button is held.
    virtual void SetCapture(WindowHandle w) = 0;
    virtual void ReleaseCapture() = 0;
    // Whether the mouse is over the window's client area (and the window is
    // on top there); the position is given as mouse messages give it.
    virtual bool MouseInClient(WindowHandle w, int& x, int& y) = 0;
    // Moves the mouse to a point given as mouse messages give positions.
    virtual void WarpMouse(WindowHandle w, int x, int y) {}
    // A WM_TIMER with the id arrives every periodMs milliseconds.
    virtual void SetTimer(WindowHandle w, uintptr_t id, uint32_t periodMs) = 0;
    virtual void KillTimer(WindowHandle w, uintptr_t id) = 0;
    virtual ScreenSaverState ScreenSaver() = 0;

    // Where the client area's top-left corner is on the display's primary
    // surface, and how large the client area is.
    virtual void ClientOrigin(WindowHandle w, int& x, int& y) = 0;
    virtual void ClientSize(WindowHandle w, int& width, int& height) = 0;
    // Shows a finished frame (0xAARRGGBB rows, stride in pixels) in the window,
    // scaled to it with its aspect kept. Any thread may present. From then on
    // every mouse position of the window (messages, MousePosition,
    // MouseInClient, WarpMouse) is in the frame's pixels, as the frame shows
    // them (plat::Letterbox).
    virtual void Present(WindowHandle w, const uint32_t* argb, int width, int height, int stride) = 0;
    // Present of a whole frame of packed rows (width x height pixels) that
    // takes the caller's pixels instead of copying them: frame comes back
    // holding a buffer of the window system's, of any size and content, for
    // the caller to fill with the next frame.
    virtual void PresentFrame(WindowHandle w, std::vector<uint32_t>& frame, int width, int height)
    {
        Present(w, frame.data(), width, height, width);
    }
    // The messages for the program's windows, in arrival order.
    MessageQueue& Queue() { return mQueue; }
    // The mouse position in the main window, as last seen by the event pump
    // and as mouse messages give it. Any thread may read it.
    void MousePosition(int& x, int& y) const { x = mMouseX.load(); y = mMouseY.load(); }
    void SetMousePosition(int x, int y) { mMouseX = x; mMouseY = y; }

protected:
    MessageQueue mQueue;
    std::atomic<int> mMouseX{0}, mMouseY{0};
};

} // namespace plat
