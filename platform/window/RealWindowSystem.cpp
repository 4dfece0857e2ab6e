#include "platform/window/RealWindowSystem.h"
#include "platform/text/Utf8.h"
#include "platform/window/InputTranslator.h"

#include <SDL.h>
#include <cstdlib>

namespace plat {

RealWindowSystem::RealWindowSystem() : mEventThread(std::this_thread::get_id())
{
    if (const char* ms = getenv("ZELK_AUTOCLOSE_MS"); ms && *ms)
        mAutoCloseMs = uint32_t(strtoul(ms, nullptr, 10));
}

RealWindowSystem::~RealWindowSystem()
{
    for (auto& w : mWindows)
        if (w.second)
            SDL_DestroyWindow(w.second);
    if (mOpen)
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool RealWindowSystem::Open(std::string& error)
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        error = SDL_GetError();
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
        if (mStop) // the event thread is gone: nobody would run it
            return;
        mWork.emplace_back(work, &done);
    }
    SDL_Event wake{};
    wake.type = SDL_USEREVENT;
    SDL_PushEvent(&wake);
    f.wait();
}

void RealWindowSystem::Stop()
{
    mStop = true;
    SDL_Event wake{};
    wake.type = SDL_USEREVENT;
    SDL_PushEvent(&wake);
}

void RealWindowSystem::RunEventLoop()
{
    mEventThread = std::this_thread::get_id();
    while (!mStop) {
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, 10)) {
            Translate(e);
            while (SDL_PollEvent(&e))
                Translate(e);
        }
        for (;;) {
            std::pair<std::function<void()>, std::promise<void>*> item;
            {
                std::lock_guard<std::mutex> g(mWorkLock);
                if (mWork.empty())
                    break;
                item = std::move(mWork.front());
                mWork.pop_front();
            }
            item.first();
            item.second->set_value();
        }
        if (mAutoCloseMs && mFirstShownTick && SDL_GetTicks() - mFirstShownTick >= mAutoCloseMs) {
            // As if the person closed the window.
            mAutoCloseMs = 0;
            mQueue.Post({WM_CLOSE, 0, 0});
        }
    }
    // Release anyone still waiting for work that will never run.
    std::lock_guard<std::mutex> g(mWorkLock);
    for (auto& item : mWork)
        item.second->set_value();
    mWork.clear();
}

void RealWindowSystem::Translate(const SDL_Event& e)
{
    InputEvent in;
    const uint16_t mods = SDL_GetModState();
    in.ctrl = (mods & KMOD_CTRL) != 0;
    in.alt = (mods & KMOD_ALT) != 0;
    in.shift = (mods & KMOD_SHIFT) != 0;
    switch (e.type) {
    case SDL_QUIT:
        in.kind = InputEvent::Close;
        break;
    case SDL_WINDOWEVENT:
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
        SetMousePosition(e.motion.x, e.motion.y);
        in.kind = InputEvent::MouseMove;
        in.x = e.motion.x;
        in.y = e.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        in.kind = e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::MouseDown : InputEvent::MouseUp;
        in.button = e.button.button == SDL_BUTTON_LEFT ? 1 : e.button.button == SDL_BUTTON_MIDDLE ? 2
                  : e.button.button == SDL_BUTTON_RIGHT ? 3 : 0;
        in.clicks = e.button.clicks;
        in.x = e.button.x;
        in.y = e.button.y;
        break;
    case SDL_MOUSEWHEEL: {
        in.kind = InputEvent::Wheel;
        in.wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        int x = 0, y = 0;
        MousePosition(x, y);
        in.x = x;
        in.y = y;
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

WindowHandle RealWindowSystem::Create(const WindowDesc& desc)
{
    WindowHandle handle = 0;
    RunOnEventThread([&] {
        handle = mNext++;
        if (desc.invisible) {
            mWindows[handle] = nullptr; // a handle without a desktop window
            return;
        }
        int x = desc.x >= 0 ? desc.x : int(SDL_WINDOWPOS_CENTERED);
        int y = desc.y >= 0 ? desc.y : int(SDL_WINDOWPOS_CENTERED);
        uint32_t flags = SDL_WINDOW_HIDDEN | (desc.fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        SDL_Window* win = SDL_CreateWindow(WideToUtf8(desc.title).c_str(), x, y, desc.width, desc.height, flags);
        mWindows[handle] = win;
    });
    return handle;
}

void RealWindowSystem::Destroy(WindowHandle w)
{
    RunOnEventThread([&] {
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
            if (!mFirstShownTick)
                mFirstShownTick = SDL_GetTicks() | 1;
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
