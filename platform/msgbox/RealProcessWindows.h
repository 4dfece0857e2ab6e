#pragma once
#include <sys/types.h>

namespace plat {

// Withdraws every window on the X display that belongs to the process (by the
// process id its library gives each window, _NET_WM_PID), as a desktop hides
// a window: it leaves the screen and any grab it held ends, so the desktop's
// cursor is back. Done by a process other than the owner, it needs nothing of
// the owner, which may be stopped for good (inside a call holding its own
// display lock). Returns how many windows were withdrawn; 0 without an X
// display.
int HideWindowsOfProcess(pid_t pid);

} // namespace plat
