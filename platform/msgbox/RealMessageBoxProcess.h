#pragma once
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// A message box shown by a process of its own: the program starts itself
// again (the new process execs at once) and that single-threaded copy shows
// the box and ends with the answer. The desktop library shows its boxes by
// forking the calling process; a fork of a process with running threads may
// inherit a lock another thread held (the allocator's, the event queue's) and
// stop forever in the child, leaving the caller waiting with no box shown.
// The box process ends with the program that started it. With
// hideCallersWindows it first withdraws the caller's windows from the
// desktop (for the crash window: see RealProcessWindows.h).

struct MessageBoxButton {
    int id;                 // what ShowMessageBoxProcess gives when it is chosen
    std::string label;      // UTF-8
    bool returnKey = false; // Enter chooses it
    bool escapeKey = false; // Escape chooses it
};
constexpr int kMessageBoxNotShown = INT_MIN;    // no box could be shown
constexpr int kMessageBoxClosed = INT_MIN + 1;  // closed without a button

// Shows text and caption (UTF-8) with the icon of the MB_ICON* bits of flags
// and these buttons (at most 200); the chosen button's id, or one of the two
// values above.
int ShowMessageBoxProcess(const std::string& text, const std::string& caption, uint32_t flags,
                          const std::vector<MessageBoxButton>& buttons, bool hideCallersWindows = false);

// The same with the buttons of the box kind in flags (MB_OK, MB_YESNO, ...).
// Returns the answer (IDOK, IDYES, ...), or -1 when no box could be shown or
// it was closed without a button.
int ShowMessageBoxProcess(const std::string& text, const std::string& caption, uint32_t flags,
                          bool hideCallersWindows = false);

// Called first by the real platform's entry: in the copy started above,
// shows the box and ends the process; otherwise returns at once.
void RunMessageBoxProcessIfAsked();

} // namespace plat
