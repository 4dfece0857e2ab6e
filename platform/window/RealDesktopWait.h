#pragma once
#include "platform/loop/WakePipe.h"

struct SDL_Window;

namespace plat {

// How the first thread sleeps between passes of its event pump: until the
// desktop has events for it, another thread wakes it, or the time is up.
// SDL's own wait would let other threads wake it through an X request sent
// from their side, and a thread that meets a broken X connection there is
// ended by Xlib; with this wait only the first thread talks to the X server.
class RealDesktopWait {
public:
    // Learns the desktop connection from a window of it (the first one
    // counts); on the first thread.
    void Watch(SDL_Window* window);
    // Ends a wait, or the next one; any thread, async-signal-safe.
    void Wake() { mWake.Wake(); }
    // On the first thread, between passes: returns at once when events wait.
    void Wait(int ms);

private:
    WakePipe mWake;
    void* mDisplay = nullptr; // the X connection, when the desktop is X
    int mDisplayFd = -1;
};

} // namespace plat
