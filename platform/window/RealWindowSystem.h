#pragma once
#include "platform/window/InputTranslator.h"
#include "platform/window/Letterbox.h"
#include "platform/window/RealDesktopWait.h"
#include "platform/window/WindowSystem.h"

#include <functional>
#include <future>
#include <map>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace plat {

// Windows on the desktop through SDL. SDL's video calls belong to the
// process's first thread, which runs RunEventLoop; calls from other threads
// are handed to it and waited for.
class RealWindowSystem : public WindowSystem {
public:
    RealWindowSystem();
    ~RealWindowSystem() override;
    bool Open(std::string& error); // SDL video; false with the reason when there is no desktop

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
    bool IsActive(WindowHandle w) override;
    bool IsTabletPC() override { return false; }
    CursorHandle LoadSystemCursor(SystemCursor which) override;
    CursorHandle CreateCursor(int hotX, int hotY, int width, int height, const uint8_t* andMask,
                              const uint8_t* xorMask) override;
    void DestroyCursor(CursorHandle cursor) override;
    void SetCursor(CursorHandle cursor) override;
    void SetCapture(WindowHandle w) override;
    void ReleaseCapture() override;
    bool MouseInClient(WindowHandle w, int& x, int& y) override;
    void WarpMouse(WindowHandle w, int x, int y) override;
    void SetTimer(WindowHandle w, uintptr_t id, uint32_t periodMs) override;
    void KillTimer(WindowHandle w, uintptr_t id) override;
    ScreenSaverState ScreenSaver() override { return ScreenSaverState(); }
    void ClientOrigin(WindowHandle w, int& x, int& y) override { x = 0; y = 0; }
    void ClientSize(WindowHandle w, int& width, int& height) override;
    void Present(WindowHandle w, const uint32_t* argb, int width, int height, int stride) override;
    void PresentFrame(WindowHandle w, std::vector<uint32_t>& frame, int width, int height) override;

    // Runs on the first thread until Stop; pumps events and runs handed-over work.
    void RunEventLoop();
    void Stop();
    bool IsEventThread() const { return std::this_thread::get_id() == mEventThread; }
    // Destroys the windows and their presenters and leaves SDL's video; on the
    // first thread, after RunEventLoop. The destructor does it when nobody did.
    void Close();
    // Runs work on the first thread and waits for it (at once when called there).
    void RunOnEventThread(const std::function<void()>& work);
    // Work the first thread does at every pass of its loop, besides the
    // events (the platform's own checks); set before RunEventLoop.
    void SetEachPass(std::function<void()> work) { mEachPass = std::move(work); }
    // The connection to the desktop is gone: window work no longer runs.
    // Whoever waits for some is released, and later calls return at once
    // without it. Any thread may call it.
    void LoseDisplay();

private:
    void Translate(const SDL_Event& e);
    SDL_Window* Find(WindowHandle w);
    // Where the scene last presented in a window is shown (event thread).
    Letterbox SceneBox(WindowHandle w);
    Letterbox SceneBoxOfId(uint32_t windowId); // by SDL's id of the window
    const std::thread::id mEventThread; // the thread that made this object: the first thread
    RealDesktopWait mWait;
    std::mutex mWorkLock;
    std::deque<std::pair<std::function<void()>, std::promise<void>*>> mWork;
    std::atomic<bool> mStop{false};
    bool mLost = false;                       // under mWorkLock
    std::promise<void>* mRunning = nullptr;   // the handed-over work being run; under mWorkLock
    std::function<void()> mEachPass;
    std::map<WindowHandle, SDL_Window*> mWindows;
    std::map<WindowHandle, bool> mInvisible;
    WindowHandle mNext = 1;
    bool mOpen = false;
    int mMargins[4] = {0, 0, 0, 0}; // left, top, right, bottom, as the last window showed them
    InputTranslator mTranslator;
    struct Timer {
        uint32_t period;
        uint32_t due;
    };
    std::map<uintptr_t, Timer> mTimers;
    void PostDueTimers();
    void ShowPendingFrame();
    // The newest frame handed over by Present, shown by the event thread.
    std::mutex mFrameLock;
    std::vector<uint32_t> mFrame;
    int mFrameWidth = 0, mFrameHeight = 0;
    WindowHandle mFrameWindow = 0;
    bool mFramePending = false;
    std::vector<uint32_t> mShownFrame; // the frame being shown; the event thread's own
    WindowHandle mShownWindow = 0;      // where it is shown
    // Something may have changed what the windows show (exposed, resized, the
    // renderer's textures lost): the next frame is shown even when it is the
    // same as the last. The event thread's own.
    bool mRepaint = true;
    struct Presenter {
        SDL_Renderer* renderer = nullptr;
        SDL_Texture* texture = nullptr;
        int width = 0, height = 0;
    };
    std::map<WindowHandle, Presenter> mPresenters;
};

} // namespace plat
