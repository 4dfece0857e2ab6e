// Does to a window on the X display what a desktop or a person does:
//   xdesk close TITLE    sends the window called TITLE the close request a
//                        desktop sends (WM_PROTOCOLS, WM_DELETE_WINDOW)
//   xdesk altenter TITLE gives the window the keyboard and types Alt+Enter
//   xdesk size TITLE     prints the window's width and height
//   xdesk key TITLE KEY  gives the window the keyboard and types KEY (an X
//                        key name: "l", "Return", ...)
// Exits 0 when done, 1 when no such window is mapped, 2 on bad use.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The window's title: the UTF-8 one a modern client sets (_NET_WM_NAME),
// else the classic WM_NAME. Some clients set only the first.
bool HasTitle(Display* d, Window w, const std::string& title)
{
    bool match = false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(d, "UTF8_STRING", False), &type, &format, &count, &after,
                           &data) == Success && data) {
        match = format == 8 && std::string(reinterpret_cast<char*>(data), count) == title;
        XFree(data);
    }
    char* name = nullptr;
    if (!match && XFetchName(d, w, &name) && name) {
        match = title == name;
        XFree(name);
    }
    return match;
}

Window FindByName(Display* d, Window w, const std::string& title)
{
    if (HasTitle(d, w, title)) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable)
            return w;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i)
            found = FindByName(d, children[i], title);
        if (children)
            XFree(children);
    }
    return found;
}

void Key(Display* d, KeySym sym, bool down)
{
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), down ? True : False, CurrentTime);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "";
    if (argc != (what == "key" ? 4 : 3))
        return 2;
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 2;
    const Window w = FindByName(d, DefaultRootWindow(d), argv[2]);
    if (!w) {
        XCloseDisplay(d);
        return 1;
    }
    if (what == "close") {
        XEvent e;
        memset(&e, 0, sizeof e);
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, w, False, NoEventMask, &e);
    } else if (what == "altenter" || what == "key") {
        const KeySym sym = what == "key" ? XStringToKeysym(argv[3]) : XK_Return;
        if (sym == NoSymbol) {
            XCloseDisplay(d);
            return 2;
        }
        XSetInputFocus(d, w, RevertToParent, CurrentTime);
        XSync(d, False);
        if (what == "altenter")
            Key(d, XK_Alt_L, true);
        Key(d, sym, true);
        Key(d, sym, false);
        if (what == "altenter")
            Key(d, XK_Alt_L, false);
    } else if (what == "size") {
        XWindowAttributes a;
        XGetWindowAttributes(d, w, &a);
        printf("%d %d\n", a.width, a.height);
    } else {
        XCloseDisplay(d);
        return 2;
    }
    XSync(d, False);
    XCloseDisplay(d);
    return 0;
}
