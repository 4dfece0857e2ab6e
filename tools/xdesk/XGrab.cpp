// Holds the X server for itself, as a client that grabs the server does:
//   xgrab
// Grabs the server, moves the pointer across the screen (so the programs on
// it get input to answer, which they cannot while the grab lasts), prints
// "grabbed" and holds the grab until its standard input ends. Exits 0 when
// done, 2 without a display.
#include <X11/Xlib.h>

#include <cstdio>
#include <unistd.h>

int main()
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 2;
    XGrabServer(d);
    const Window root = DefaultRootWindow(d);
    for (int i = 0; i < 8; ++i)
        XWarpPointer(d, None, root, 0, 0, 0, 0, 100 + 40 * i, 100 + 30 * i);
    XSync(d, False);
    printf("grabbed\n");
    fflush(stdout);
    char buffer[64];
    while (read(0, buffer, sizeof buffer) > 0) {
    }
    XUngrabServer(d);
    XSync(d, False);
    XCloseDisplay(d);
    return 0;
}
