#include "platform/window/NullWindowSystem.h"

#include <algorithm>

namespace plat {

WindowHandle NullWindowSystem::Create(const WindowDesc& desc)
{
    std::lock_guard<std::mutex> g(mLock);
    WindowHandle h = mNext++;
    mWindows[h].desc = desc;
    return h;
}

void NullWindowSystem::Destroy(WindowHandle w)
{
    std::lock_guard<std::mutex> g(mLock);
    mWindows.erase(w);
}

NullWindowSystem::Record* NullWindowSystem::Find(WindowHandle w)
{
    auto it = mWindows.find(w);
    return it == mWindows.end() ? nullptr : &it->second;
}

void NullWindowSystem::Show(WindowHandle w)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Record* r = Find(w))
        r->visible = true;
}

void NullWindowSystem::Hide(WindowHandle w)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Record* r = Find(w))
        r->visible = false;
}

void NullWindowSystem::Raise(WindowHandle w)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Record* r = Find(w)) {
        r->raised = true;
        ++r->raiseCount;
    }
}

void NullWindowSystem::Restore(WindowHandle w)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Record* r = Find(w)) {
        r->minimized = false;
        ++r->restoreCount;
    }
}

bool NullWindowSystem::IsMinimized(WindowHandle w)
{
    std::lock_guard<std::mutex> g(mLock);
    Record* r = Find(w);
    return r && r->minimized;
}

bool NullWindowSystem::IsVisible(WindowHandle w)
{
    std::lock_guard<std::mutex> g(mLock);
    Record* r = Find(w);
    return r && r->visible;
}

void NullWindowSystem::SetTitle(WindowHandle w, const std::wstring& title)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Record* r = Find(w))
        r->desc.title = title;
}

void NullWindowSystem::SetClientSize(WindowHandle w, int width, int height)
{
    std::lock_guard<std::mutex> g(mLock);
    Record* r = Find(w);
    if (!r || (r->desc.width == width && r->desc.height == height))
        return;
    r->desc.width = width;
    r->desc.height = height;
    ++r->resizeCount;
}

void NullWindowSystem::SetIcon(WindowHandle w, const uint32_t* argb, int width, int height)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Record* r = Find(w)) {
        r->iconWidth = width;
        r->iconHeight = height;
    }
}

void NullWindowSystem::WorkArea(int& x, int& y, int& width, int& height)
{
    x = workX;
    y = workY;
    width = workWidth >= 0 ? workWidth : desktopWidth;
    height = workHeight >= 0 ? workHeight : desktopHeight;
}

void NullWindowSystem::FrameMargins(int& left, int& top, int& right, int& bottom)
{
    left = marginLeft;
    top = marginTop;
    right = marginRight;
    bottom = marginBottom;
}

void NullWindowSystem::Move(WindowHandle w, int x, int y)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Record* r = Find(w)) {
        r->desc.x = x;
        r->desc.y = y;
        ++r->moveCount;
    }
}

void NullWindowSystem::DesktopSize(int& width, int& height)
{
    width = desktopWidth;
    height = desktopHeight;
}

CursorHandle NullWindowSystem::CreateCursor(int hotX, int hotY, int width, int height, const uint8_t* andMask,
                                           const uint8_t* xorMask)
{
    ++cursorsCreated;
    return CursorHandle(1000 + cursorsCreated);
}

bool NullWindowSystem::MouseInClient(WindowHandle w, int& x, int& y)
{
    x = mouseClientX;
    y = mouseClientY;
    return mouseInside;
}

void NullWindowSystem::SetTimer(WindowHandle w, uintptr_t id, uint32_t periodMs)
{
    std::lock_guard<std::mutex> g(mLock);
    timers[id] = periodMs;
}

void NullWindowSystem::KillTimer(WindowHandle w, uintptr_t id)
{
    std::lock_guard<std::mutex> g(mLock);
    timers.erase(id);
}

void NullWindowSystem::ClientSize(WindowHandle w, int& width, int& height)
{
    std::lock_guard<std::mutex> g(mLock);
    Record* r = Find(w);
    width = r ? r->desc.width : 0;
    height = r ? r->desc.height : 0;
}

void NullWindowSystem::Present(WindowHandle w, const uint32_t* argb, int width, int height, int stride)
{
    std::lock_guard<std::mutex> g(mLock);
    mFrame.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        std::copy(argb + size_t(y) * size_t(stride), argb + size_t(y) * size_t(stride) + size_t(width),
                  mFrame.begin() + ptrdiff_t(size_t(y) * size_t(width)));
    mFrameWidth = width;
    mFrameHeight = height;
    ++presentCount;
}

void NullWindowSystem::PresentFrame(WindowHandle w, std::vector<uint32_t>& frame, int width, int height)
{
    std::lock_guard<std::mutex> g(mLock);
    mFrame.swap(frame);
    mFrame.resize(size_t(width) * size_t(height));
    mFrameWidth = width;
    mFrameHeight = height;
    ++presentCount;
}

std::vector<uint32_t> NullWindowSystem::LastFrame(int& width, int& height)
{
    std::lock_guard<std::mutex> g(mLock);
    width = mFrameWidth;
    height = mFrameHeight;
    return mFrame;
}

size_t NullWindowSystem::LiveWindows()
{
    std::lock_guard<std::mutex> g(mLock);
    return mWindows.size();
}

} // namespace plat
