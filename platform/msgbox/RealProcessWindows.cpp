#include "platform/msgbox/RealProcessWindows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <vector>

namespace plat {

namespace {

// A window may go away while it is looked at: such errors are no concern here
// (Xlib's default handler would end the process).
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

bool OwnedBy(Display* d, Window w, Atom pidAtom, pid_t pid)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool owned = false;
    if (XGetWindowProperty(d, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        // Format-32 properties come as longs, whatever their width.
        owned = format == 32 && count == 1 && *reinterpret_cast<unsigned long*>(data) == (unsigned long)pid;
        XFree(data);
    }
    return owned;
}

// The windows of the process among the top-level windows and, where a window
// manager framed them, their children.
void Collect(Display* d, Window w, Atom pidAtom, pid_t pid, int depth, std::vector<Window>& found)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &count))
        return;
    for (unsigned i = 0; i < count; ++i) {
        if (OwnedBy(d, children[i], pidAtom, pid))
            found.push_back(children[i]);
        else if (depth < 2)
            Collect(d, children[i], pidAtom, pid, depth + 1, found);
    }
    if (children)
        XFree(children);
}

} // namespace

int HideWindowsOfProcess(pid_t pid)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 0;
    XErrorHandler previous = XSetErrorHandler(IgnoreXError);
    std::vector<Window> found;
    const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", True);
    if (pidAtom != None)
        Collect(d, DefaultRootWindow(d), pidAtom, pid, 0, found);
    for (Window w : found)
        XWithdrawWindow(d, w, DefaultScreen(d));
    XSync(d, False);
    XSetErrorHandler(previous);
    XCloseDisplay(d);
    return int(found.size());
}

} // namespace plat
