#pragma once
#include <cstdint>
#include <string>

namespace plat {

// A message box shown by a process of its own: the program starts itself
// again (the new process execs at once) and that single-threaded copy shows
// the box and ends with the answer. The desktop library shows its boxes by
// forking the calling process; a fork of a process with running threads may
// inherit a lock another thread held (the allocator's, the event queue's) and
// stop forever in the child, leaving the caller waiting with no box shown.
//
// With hideCallersWindows the box's process first withdraws the caller's
// windows from the desktop (for the crash window: see RealProcessWindows.h).
//
// Returns the answer (IDOK, IDYES, ...), or -1 when no box could be shown.
int ShowMessageBoxProcess(const std::string& text, const std::string& caption, uint32_t flags,
                          bool hideCallersWindows = false);

// Called first by the real platform's entry: in the copy started above,
// shows the box and ends the process; otherwise returns at once.
void RunMessageBoxProcessIfAsked();

} // namespace plat
