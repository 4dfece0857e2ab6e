#include "platform/window/RealWindowSystem.h"
#include "platform/text/Utf8.h"
#include "platform/window/InputTranslator.h"
#include "platform/window/Letterbox.h"
#include "platform/window/RealRendererChoice.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <vector>

namespace plat {

RealWindowSystem::RealWindowSystem() : mEventThread(std::this_thread::get_id()) {}

RealWindowSystem::~RealWindowSystem() { Close(); }

void RealWindowSystem::Close()
{
    for (auto& p : mPresenters) {
        if (p.second.texture)
            SDL_DestroyTexture(p.second.texture);
        if (p.second.renderer)
            SDL_DestroyRenderer(p.second.renderer);
    }
    mPresenters.clear();
    for (auto& w : mWindows)
        if (w.second)
            SDL_DestroyWindow(w.second);
    mWindows.clear();
    if (mOpen)
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    mOpen = false;
}

bool RealWindowSystem::Open(std::string& error)
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Only a desktop will do: left to itself SDL falls back to drivers that
    // show nothing, and a program nobody can see would run on as if all
    // were well. A driver named in SDL_VIDEODRIVER still wins over this.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        const char* display = std::getenv("DISPLAY");
        error = std::string(SDL_GetError()) + " (DISPLAY=" + (display ? display : "") + ")";
        return false;
    }
    mOpen = true;
    return true;
}

void RealWindowSystem::RunOnEventThread(const std::function<void()>& work)
{
    if (std::this_thread::get_id() == mEventThread) {
        work();
        return;
    }
    std::promise<void> done;
    std::future<void> f = done.get_future();
    {
        std::lock_guard<std::mutex> g(mWorkLock);
        if (mStop || mLost) // the event thread is gone, or has no desktop: nobody would run it
            return;
        mWork.emplace_back(work, &done);
    }
    mWait.Wake();
    f.wait();
}

void RealWindowSystem::Stop()
{
    mStop = true;
    mWait.Wake();
}

void RealWindowSystem::RunEventLoop()
{
    while (!mStop) {
        mWait.Wait(10);
        SDL_Event e;
        while (SDL_PollEvent(&e))
            Translate(e);
        for (;;) {
            std::pair<std::function<void()>, std::promise<void>*> item;
            {
                std::lock_guard<std::mutex> g(mWorkLock);
                if (mWork.empty())
                    break;
                item = std::move(mWork.front());
                mWork.pop_front();
                mRunning = item.second;
            }
            item.first();
            std::lock_guard<std::mutex> g(mWorkLock);
            // Released already when the desktop went away meanwhile.
            if (item.second && mRunning == item.second)
                item.second->set_value();
            mRunning = nullptr;
        }
        PostDueTimers();
        ShowPendingFrame();
        if (mEachPass)
            mEachPass();
    }
    // Release anyone still waiting for work that will never run.
    std::lock_guard<std::mutex> g(mWorkLock);
    for (auto& item : mWork)
        if (item.second)
            item.second->set_value();
    mWork.clear();
}

void RealWindowSystem::LoseDisplay()
{
    std::lock_guard<std::mutex> g(mWorkLock);
    mLost = true;
    // The work being run stops here only when this thread runs it (from
    // inside it, the call that failed); elsewhere it still ends as usual.
    if (mRunning && IsEventThread()) {
        mRunning->set_value();
        mRunning = nullptr;
    }
    for (auto& item : mWork)
        if (item.second)
            item.second->set_value();
    mWork.clear();
}

void RealWindowSystem::Translate(const SDL_Event& e)
{
    InputEvent in;
    // A key carries the modifiers held when it was pressed; the live state
    // may already include later releases pumped in the same batch (a quick
    // Alt+Enter would lose its Alt).
    const bool isKey = e.type == SDL_KEYDOWN || e.type == SDL_KEYUP;
    const uint16_t mods = isKey ? uint16_t(e.key.keysym.mod) : uint16_t(SDL_GetModState());
    in.ctrl = (mods & KMOD_CTRL) != 0;
    in.alt = (mods & KMOD_ALT) != 0;
    in.shift = (mods & KMOD_SHIFT) != 0;
    switch (e.type) {
    case SDL_QUIT:
        in.kind = InputEvent::Close;
        break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        mRepaint = true;
        return;
    case SDL_WINDOWEVENT:
        if (e.window.event != SDL_WINDOWEVENT_FOCUS_GAINED && e.window.event != SDL_WINDOWEVENT_FOCUS_LOST &&
            e.window.event != SDL_WINDOWEVENT_ENTER && e.window.event != SDL_WINDOWEVENT_LEAVE &&
            e.window.event != SDL_WINDOWEVENT_MOVED)
            mRepaint = true;
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: in.kind = InputEvent::Close; break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: in.kind = InputEvent::FocusGained; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: in.kind = InputEvent::FocusLost; break;
        case SDL_WINDOWEVENT_MINIMIZED: in.kind = InputEvent::Minimized; break;
        case SDL_WINDOWEVENT_RESTORED: in.kind = InputEvent::Restored; break;
        case SDL_WINDOWEVENT_MAXIMIZED: in.kind = InputEvent::Maximized; break;
        case SDL_WINDOWEVENT_EXPOSED: in.kind = InputEvent::Exposed; break;
        case SDL_WINDOWEVENT_MOVED:
            in.kind = InputEvent::Moved;
            in.x = e.window.data1;
            in.y = e.window.data2;
            break;
        default:
            return;
        }
        break;
    case SDL_DISPLAYEVENT:
        in.kind = InputEvent::DisplayChanged;
        break;
    case SDL_MOUSEMOTION:
        in.kind = InputEvent::MouseMove;
        in.x = e.motion.x;
        in.y = e.motion.y;
        SceneBoxOfId(e.motion.windowID).ToScene(in.x, in.y);
        SetMousePosition(in.x, in.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        in.kind = e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::MouseDown : InputEvent::MouseUp;
        in.button = e.button.button == SDL_BUTTON_LEFT ? 1 : e.button.button == SDL_BUTTON_MIDDLE ? 2
                  : e.button.button == SDL_BUTTON_RIGHT ? 3 : 0;
        in.clicks = e.button.clicks;
        in.x = e.button.x;
        in.y = e.button.y;
        SceneBoxOfId(e.button.windowID).ToScene(in.x, in.y);
        break;
    case SDL_MOUSEWHEEL: {
        in.kind = InputEvent::Wheel;
        in.wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        MousePosition(in.x, in.y); // already in the scene
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        in.kind = e.type == SDL_KEYDOWN ? InputEvent::KeyDown : InputEvent::KeyUp;
        in.usage = int(e.key.keysym.scancode);
        in.repeat = e.key.repeat != 0;
        break;
    case SDL_TEXTINPUT:
        in.kind = InputEvent::Text;
        in.text = e.text.text;
        break;
    default:
        return;
    }
    mTranslator.Translate(in, mQueue);
}

SDL_Window* RealWindowSystem::Find(WindowHandle w)
{
    auto it = mWindows.find(w);
    return it == mWindows.end() ? nullptr : it->second;
}

Letterbox RealWindowSystem::SceneBox(WindowHandle w)
{
    int width = 0, height = 0, sceneWidth = 0, sceneHeight = 0;
    if (SDL_Window* win = Find(w))
        SDL_GetWindowSize(win, &width, &height);
    auto p = mPresenters.find(w);
    if (p != mPresenters.end() && p->second.texture) {
        sceneWidth = p->second.width;
        sceneHeight = p->second.height;
    }
    return Letterbox(width, height, sceneWidth, sceneHeight);
}

Letterbox RealWindowSystem::SceneBoxOfId(uint32_t windowId)
{
    SDL_Window* win = SDL_GetWindowFromID(windowId);
    for (const auto& w : mWindows)
        if (win && w.second == win)
            return SceneBox(w.first);
    return Letterbox(0, 0, 0, 0); // no window of ours: positions pass unchanged
}

WindowHandle RealWindowSystem::Create(const WindowDesc& desc)
{
    WindowHandle handle = 0;
    RunOnEventThread([&] {
        handle = mNext++;
        if (desc.invisible) {
            mWindows[handle] = nullptr; // a handle without a desktop window
            return;
        }
        // The position given is the outer corner; SDL places the client area.
        int x = desc.x >= 0 ? desc.x + mMargins[0] : int(SDL_WINDOWPOS_CENTERED);
        int y = desc.y >= 0 ? desc.y + mMargins[1] : int(SDL_WINDOWPOS_CENTERED);
        uint32_t flags = SDL_WINDOW_HIDDEN | (desc.fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        int width = desc.width, height = desc.height;
        if (desc.fullScreen) {
            // Made at the desktop's size and place: without a window manager
            // nobody else would make it cover the screen.
            SDL_Rect r{0, 0, width, height};
            if (SDL_GetDisplayBounds(0, &r) == 0) {
                x = r.x;
                y = r.y;
                width = r.w;
                height = r.h;
            }
        }
        SDL_Window* win = SDL_CreateWindow(WideToUtf8(desc.title).c_str(), x, y, width, height, flags);
        if (!win)
            fprintf(stderr, "Cannot make a window: %s\n", SDL_GetError());
        mWait.Watch(win);
        mWindows[handle] = win;
    });
    return handle;
}

void RealWindowSystem::Destroy(WindowHandle w)
{
    RunOnEventThread([&] {
        auto p = mPresenters.find(w);
        if (p != mPresenters.end()) {
            if (p->second.texture)
                SDL_DestroyTexture(p->second.texture);
            if (p->second.renderer)
                SDL_DestroyRenderer(p->second.renderer);
            mPresenters.erase(p);
        }
        if (SDL_Window* win = Find(w))
            SDL_DestroyWindow(win);
        mWindows.erase(w);
    });
}

void RealWindowSystem::Show(WindowHandle w)
{
    RunOnEventThread([&] {
        if (SDL_Window* win = Find(w)) {
            SDL_ShowWindow(win);
            SDL_StartTextInput();
        }
    });
}

void RealWindowSystem::Hide(WindowHandle w)
{
    RunOnEventThread([&] {
        if (SDL_Window* win = Find(w))
            SDL_HideWindow(win);
    });
}

void RealWindowSystem::Raise(WindowHandle w)
{
    RunOnEventThread([&] {
        if (SDL_Window* win = Find(w))
            SDL_RaiseWindow(win);
    });
}

void RealWindowSystem::Restore(WindowHandle w)
{
    RunOnEventThread([&] {
        if (SDL_Window* win = Find(w))
            SDL_RestoreWindow(win);
    });
}

bool RealWindowSystem::IsMinimized(WindowHandle w)
{
    bool minimized = false;
    RunOnEventThread([&] {
        if (SDL_Window* win = Find(w))
            minimized = (SDL_GetWindowFlags(win) & SDL_WINDOW_MINIMIZED) != 0;
    });
    return minimized;
}

bool RealWindowSystem::IsVisible(WindowHandle w)
{
    bool visible = false;
    RunOnEventThread([&] {
        if (SDL_Window* win = Find(w))
            visible = (SDL_GetWindowFlags(win) & SDL_WINDOW_SHOWN) != 0;
    });
    return visible;
}

void RealWindowSystem::SetTitle(WindowHandle w, const std::wstring& title)
{
    RunOnEventThread([&] {
        if (SDL_Window* win = Find(w))
            SDL_SetWindowTitle(win, WideToUtf8(title).c_str());
    });
}

void RealWindowSystem::SetClientSize(WindowHandle w, int width, int height)
{
    RunOnEventThread([&] {
        SDL_Window* win = Find(w);
        if (!win)
            return;
        int oldWidth = 0, oldHeight = 0;
        SDL_GetWindowSize(win, &oldWidth, &oldHeight);
        if (oldWidth != width || oldHeight != height)
            SDL_SetWindowSize(win, width, height);
    });
}

void RealWindowSystem::SetIcon(WindowHandle w, const uint32_t* argb, int width, int height)
{
    RunOnEventThread([&] {
        SDL_Window* win = Find(w);
        if (!win || width <= 0 || height <= 0)
            return;
        SDL_Surface* icon = SDL_CreateRGBSurfaceFrom(const_cast<uint32_t*>(argb), width, height, 32, width * 4,
                                                     0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
        if (icon) {
            SDL_SetWindowIcon(win, icon);
            SDL_FreeSurface(icon);
        }
    });
}

void RealWindowSystem::DesktopSize(int& width, int& height)
{
    RunOnEventThread([&] {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
            width = mode.w;
            height = mode.h;
        } else {
            width = 1024;
            height = 768;
        }
    });
}

} // namespace plat

namespace plat {

void RealWindowSystem::PostDueTimers()
{
    const uint32_t now = SDL_GetTicks();
    for (auto& [id, timer] : mTimers) {
        if (int32_t(now - timer.due) >= 0) {
            mQueue.Post({WM_TIMER, id, 0});
            timer.due = now + timer.period;
        }
    }
}

void RealWindowSystem::SetTimer(WindowHandle w, uintptr_t id, uint32_t periodMs)
{
    RunOnEventThread([&] { mTimers[id] = {periodMs ? periodMs : 1, SDL_GetTicks() + periodMs}; });
}

void RealWindowSystem::KillTimer(WindowHandle w, uintptr_t id)
{
    RunOnEventThread([&] { mTimers.erase(id); });
}

CursorHandle RealWindowSystem::LoadSystemCursor(SystemCursor which)
{
    static const SDL_SystemCursor kinds[] = {
        SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_IBEAM,  SDL_SYSTEM_CURSOR_NO,
        SDL_SYSTEM_CURSOR_SIZEALL,  SDL_SYSTEM_CURSOR_SIZENESW, SDL_SYSTEM_CURSOR_SIZENS,
        SDL_SYSTEM_CURSOR_SIZENWSE, SDL_SYSTEM_CURSOR_SIZEWE, SDL_SYSTEM_CURSOR_WAIT,
    };
    CursorHandle handle = 0;
    RunOnEventThread([&] {
        // The desktop's cursors are made once and kept.
        static SDL_Cursor* made[9] = {};
        int i = int(which);
        if (!made[i])
            made[i] = SDL_CreateSystemCursor(kinds[i]);
        handle = CursorHandle(made[i]);
    });
    return handle;
}

CursorHandle RealWindowSystem::CreateCursor(int hotX, int hotY, int width, int height, const uint8_t* andMask,
                                            const uint8_t* xorMask)
{
    // The desktop's masks (AND, XOR): (0,0) black, (0,1) white, (1,0) clear,
    // (1,1) inverted. SDL's (data, mask): (1,1) black, (0,1) white, (0,0)
    // clear, (1,0) inverted.
    const size_t bytes = size_t(width / 8 * height);
    std::vector<uint8_t> data(bytes), mask(bytes);
    for (size_t i = 0; i < bytes; ++i) {
        const uint8_t a = andMask[i], x = xorMask[i];
        mask[i] = uint8_t(~a);
        data[i] = uint8_t((~a & ~x) | (a & x));
    }
    CursorHandle handle = 0;
    RunOnEventThread([&] {
        handle = CursorHandle(SDL_CreateCursor(data.data(), mask.data(), width, height, hotX, hotY));
    });
    return handle;
}

void RealWindowSystem::DestroyCursor(CursorHandle cursor)
{
    RunOnEventThread([&] {
        if (cursor)
            SDL_FreeCursor(reinterpret_cast<SDL_Cursor*>(cursor));
    });
}

void RealWindowSystem::SetCursor(CursorHandle cursor)
{
    RunOnEventThread([&] {
        if (cursor) {
            SDL_SetCursor(reinterpret_cast<SDL_Cursor*>(cursor));
            SDL_ShowCursor(SDL_ENABLE);
        } else {
            SDL_ShowCursor(SDL_DISABLE);
        }
    });
}

void RealWindowSystem::SetCapture(WindowHandle w)
{
    RunOnEventThread([&] { SDL_CaptureMouse(SDL_TRUE); });
}

void RealWindowSystem::ReleaseCapture()
{
    RunOnEventThread([&] { SDL_CaptureMouse(SDL_FALSE); });
}

bool RealWindowSystem::MouseInClient(WindowHandle w, int& x, int& y)
{
    bool inside = false;
    RunOnEventThread([&] {
        SDL_Window* win = Find(w);
        if (!win || SDL_GetMouseFocus() != win)
            return;
        int width = 0, height = 0;
        SDL_GetMouseState(&x, &y);
        SDL_GetWindowSize(win, &width, &height);
        inside = x >= 0 && y >= 0 && x < width && y < height;
        SceneBox(w).ToScene(x, y);
    });
    return inside;
}

void RealWindowSystem::WarpMouse(WindowHandle w, int x, int y)
{
    RunOnEventThread([&] {
        SDL_Window* win = Find(w);
        if (!win)
            return;
        SceneBox(w).ToWindow(x, y);
        SDL_WarpMouseInWindow(win, x, y);
    });
}

} // namespace plat

namespace plat {

void RealWindowSystem::ClientSize(WindowHandle w, int& width, int& height)
{
    width = height = 0;
    RunOnEventThread([&] {
        if (SDL_Window* win = Find(w))
            SDL_GetWindowSize(win, &width, &height);
    });
}

void RealWindowSystem::Present(WindowHandle w, const uint32_t* argb, int width, int height, int stride)
{
    {
        std::lock_guard<std::mutex> g(mFrameLock);
        mFrame.resize(size_t(width) * size_t(height));
        for (int y = 0; y < height; ++y)
            std::copy(argb + size_t(y) * size_t(stride), argb + size_t(y) * size_t(stride) + size_t(width),
                      mFrame.begin() + ptrdiff_t(size_t(y) * size_t(width)));
        mFrameWidth = width;
        mFrameHeight = height;
        mFrameWindow = w;
        mFramePending = true;
    }
    mWait.Wake();
}

void RealWindowSystem::PresentFrame(WindowHandle w, std::vector<uint32_t>& frame, int width, int height)
{
    {
        std::lock_guard<std::mutex> g(mFrameLock);
        mFrame.swap(frame);
        mFrame.resize(size_t(width) * size_t(height));
        mFrameWidth = width;
        mFrameHeight = height;
        mFrameWindow = w;
        mFramePending = true;
    }
    mWait.Wake();
}

void RealWindowSystem::ShowPendingFrame()
{
    // Only the buffers are swapped under the lock: making the renderer,
    // uploading and presenting never hold up the thread that presents.
    WindowHandle window = 0;
    int width = 0, height = 0;
    {
        std::lock_guard<std::mutex> g(mFrameLock);
        if (!mFramePending)
            return;
        mFramePending = false;
        mShownFrame.swap(mFrame);
        window = mFrameWindow;
        width = mFrameWidth;
        height = mFrameHeight;
        // A frame the same as the one on screen (the last one shown is back in
        // mFrame until the next present takes it) is not shown again: an idle
        // game presents the same frame sixty times a second.
        auto shown = mPresenters.find(window);
        const bool same = !mRepaint && window == mShownWindow && shown != mPresenters.end() &&
                          shown->second.texture && shown->second.width == width && shown->second.height == height &&
                          mFrame.size() == mShownFrame.size() && mFrame == mShownFrame;
        if (same)
            return;
    }
    mRepaint = false;
    mShownWindow = window;
    SDL_Window* win = Find(window);
    if (!win || width <= 0 || height <= 0)
        return;
    Presenter& p = mPresenters[window];
    if (!p.renderer) {
        p.renderer = CreateCheapestRenderer(win);
        if (!p.renderer)
            return;
    }
    if (!p.texture || p.width != width || p.height != height) {
        if (p.texture)
            SDL_DestroyTexture(p.texture);
        p.texture = SDL_CreateTexture(p.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                      width, height);
        p.width = width;
        p.height = height;
        if (!p.texture)
            return;
    }
    SDL_UpdateTexture(p.texture, nullptr, mShownFrame.data(), width * 4);
    // The scene keeps its aspect, scaled to the window, with black bars:
    // the same letterbox the mouse positions cross.
    int ww = 0, wh = 0;
    SDL_GetRendererOutputSize(p.renderer, &ww, &wh);
    const Letterbox box(ww, wh, width, height);
    const SDL_Rect dst{box.X(), box.Y(), box.Width(), box.Height()};
    // The bars are cleared only where there are any: a frame that fills the
    // window covers every pixel of it.
    if (dst.x > 0 || dst.y > 0 || dst.w < ww || dst.h < wh) {
        SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
        SDL_RenderClear(p.renderer);
    }
    SDL_RenderCopy(p.renderer, p.texture, nullptr, &dst);
    SDL_RenderPresent(p.renderer);
}

} // namespace plat

namespace plat {

void RealWindowSystem::WorkArea(int& x, int& y, int& width, int& height)
{
    RunOnEventThread([&] {
        SDL_Rect r{0, 0, 1024, 768};
        if (SDL_GetDisplayUsableBounds(0, &r) != 0)
            SDL_GetDisplayBounds(0, &r);
        x = r.x;
        y = r.y;
        width = r.w;
        height = r.h;
    });
}

void RealWindowSystem::FrameMargins(int& left, int& top, int& right, int& bottom)
{
    RunOnEventThread([&] {
        for (auto& w : mWindows) {
            int t = 0, l = 0, b = 0, r = 0;
            if (w.second && SDL_GetWindowBordersSize(w.second, &t, &l, &b, &r) == 0) {
                mMargins[0] = l;
                mMargins[1] = t;
                mMargins[2] = r;
                mMargins[3] = b;
                break;
            }
        }
        left = mMargins[0];
        top = mMargins[1];
        right = mMargins[2];
        bottom = mMargins[3];
    });
}

void RealWindowSystem::Move(WindowHandle w, int x, int y)
{
    RunOnEventThread([&] {
        if (SDL_Window* win = Find(w))
            SDL_SetWindowPosition(win, x + mMargins[0], y + mMargins[1]);
    });
}

bool RealWindowSystem::IsActive(WindowHandle w)
{
    bool active = false;
    RunOnEventThread([&] {
        SDL_Window* win = Find(w);
        active = win && SDL_GetKeyboardFocus() == win;
    });
    return active;
}

} // namespace plat
