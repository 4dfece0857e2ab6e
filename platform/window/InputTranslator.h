#pragma once
#include "platform/window/InputEvent.h"
#include "platform/window/WindowSystem.h"

namespace plat {

// Virtual-key codes the program relies on (documented values).
enum : int {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
    VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
    VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25,
    VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D,
    VK_DELETE = 0x2E, VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70,
    VK_F4 = 0x73, VK_F12 = 0x7B, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_OEM_1 = 0xBA,
    VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD,
    VK_OEM_7 = 0xDE,
};

// Mouse-message key flags and size kinds.
enum : uintptr_t { MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8, MK_MBUTTON = 0x10 };
enum : uintptr_t { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Turns desktop events into window messages as the system's message loop
// would deliver them: key messages with virtual-key codes (system keys while
// Alt is held), the characters a key press types (including the control
// characters Backspace 8, Tab 9, Enter 13, Escape 27 and Ctrl+letter 1..26),
// double clicks on even click counts, wheel notches of 120, and consecutive
// mouse moves coalesced into the newest.
class InputTranslator {
public:
    void Translate(const InputEvent& e, MessageQueue& queue);
    static int VirtualKeyOfUsage(int usage); // 0 when the key has no code
    static intptr_t PackPoint(int x, int y);

private:
    uintptr_t mButtons = 0; // MK_ bits of the buttons held
};

} // namespace plat
