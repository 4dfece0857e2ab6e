#pragma once
#include <cstdint>
#include <string>

namespace plat {

// One event from the desktop, in a form independent of the library that
// delivered it. Keys are identified by USB HID keyboard usage codes (the
// physical key), which every desktop layer reports.
struct InputEvent {
    enum Kind {
        MouseMove,
        MouseDown,
        MouseUp,
        Wheel,
        KeyDown,
        KeyUp,
        Text,
        FocusGained,
        FocusLost,
        Minimized,
        Restored,
        Maximized,
        Moved,
        Exposed,
        DisplayChanged,
        Close,
    };
    Kind kind = MouseMove;
    int x = 0, y = 0;        // mouse position in the frame shown; window position for Moved
    int button = 0;          // 1 left, 2 middle, 3 right
    int clicks = 1;          // click count of a press
    int wheel = 0;           // notches, up positive
    int usage = 0;           // HID keyboard usage of a key
    bool repeat = false;     // an auto-repeated key press
    bool ctrl = false, alt = false, shift = false;
    std::string text;        // UTF-8 text of a Text event
};

} // namespace plat
