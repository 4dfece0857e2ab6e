#include "platform/window/RealDisplayLoss.h"

#include <X11/Xlib.h>
#include <atomic>

namespace plat {

namespace {

std::atomic<DisplayLostHandler> gLost{nullptr};

int OnIOError(Display*)
{
    if (DisplayLostHandler lost = gLost.load())
        lost();
    return 0; // without a handler Xlib ends the process as it always did
}

} // namespace

void SetDisplayLostHandler(DisplayLostHandler lost)
{
    gLost = lost;
    XSetIOErrorHandler(OnIOError);
}

} // namespace plat
