#include "platform/window/RealWindowSystem.h"
#include "platform/text/Utf8.h"

#include <SDL.h>
#include <cstdlib>

namespace plat {

namespace {
intptr_t MakeLParam(int lo, int hi) { return intptr_t(uint32_t(uint16_t(lo)) | (uint32_t(uint16_t(hi)) << 16)); }
constexpr uintptr_t SIZE_RESTORED = 0;
constexpr uintptr_t SIZE_MINIMIZED = 1;
} // namespace

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
    switch (e.type) {
    case SDL_QUIT:
        mQueue.Post({WM_CLOSE, 0, 0});
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            mQueue.Post({WM_CLOSE, 0, 0});
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            mQueue.Post({WM_ACTIVATEAPP, 1, 0});
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            mQueue.Post({WM_ACTIVATEAPP, 0, 0});
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            mQueue.Post({WM_SIZE, SIZE_MINIMIZED, 0});
            break;
        case SDL_WINDOWEVENT_RESTORED:
            mQueue.Post({WM_SIZE, SIZE_RESTORED, 0});
            break;
        default:
            break;
        }
        break;
    case SDL_MOUSEMOTION:
        SetMousePosition(e.motion.x, e.motion.y);
        mQueue.Post({WM_MOUSEMOVE, 0, MakeLParam(e.motion.x, e.motion.y)});
        break;
    default:
        break;
    }
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
