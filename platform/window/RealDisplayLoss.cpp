#include "platform/window/RealDisplayLoss.h"

#include <X11/Xlib.h>
#include <atomic>

namespace plat {

namespace {

std::atomic<DisplayLostHandler> gLost{nullptr};

void GoOn(Display*, void*) {}

int OnIOError(Display* display)
{
    DisplayLostHandler lost = gLost.load();
    if (!lost)
        return 0; // Xlib ends the process as it always did
    // Xlib calls this after the handler returns; by default it is exit().
    XSetIOErrorExitHandler(display, GoOn, nullptr);
    lost();
    return 0;
}

} // namespace

void SetDisplayLostHandler(DisplayLostHandler lost)
{
    gLost = lost;
    XSetIOErrorHandler(OnIOError);
}

} // namespace plat
