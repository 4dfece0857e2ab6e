#include "platform/window/RealDesktopWait.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>

namespace plat {

void RealDesktopWait::Watch(SDL_Window* window)
{
    if (mDisplay || !window)
        return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11 && info.info.x11.display) {
        mDisplay = info.info.x11.display;
        mDisplayFd = ConnectionNumber(info.info.x11.display);
    }
}

void RealDesktopWait::Wait(int ms)
{
    // Events already read: SDL's queue, or Xlib's (a call during the pass
    // may have read some from the connection).
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
        return;
    if (mDisplay && XEventsQueued(static_cast<Display*>(mDisplay), QueuedAlready) > 0)
        return;
    pollfd fds[2] = {{mWake.Fd(), POLLIN, 0}, {mDisplayFd, POLLIN, 0}};
    // Without a known connection (no window yet, another desktop) the time
    // limit keeps the pump going.
    poll(fds, mDisplayFd >= 0 ? 2 : 1, ms);
    mWake.Drain();
}

} // namespace plat
