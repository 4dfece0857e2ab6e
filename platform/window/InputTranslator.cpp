#include "platform/window/InputTranslator.h"

namespace plat {

int InputTranslator::VirtualKeyOfUsage(int u)
{
    if (u >= 4 && u <= 29)
        return 'A' + (u - 4);
    if (u >= 30 && u <= 38)
        return '1' + (u - 30);
    if (u == 39)
        return '0';
    if (u >= 58 && u <= 69)
        return VK_F1 + (u - 58);
    if (u >= 89 && u <= 97)
        return VK_NUMPAD0 + 1 + (u - 89);
    switch (u) {
    case 40: return VK_RETURN;
    case 41: return VK_ESCAPE;
    case 42: return VK_BACK;
    case 43: return VK_TAB;
    case 44: return VK_SPACE;
    case 45: return VK_OEM_MINUS;
    case 46: return VK_OEM_PLUS;
    case 47: return VK_OEM_4;
    case 48: return VK_OEM_6;
    case 49: case 50: return VK_OEM_5;
    case 51: return VK_OEM_1;
    case 52: return VK_OEM_7;
    case 53: return VK_OEM_3;
    case 54: return VK_OEM_COMMA;
    case 55: return VK_OEM_PERIOD;
    case 56: return VK_OEM_2;
    case 57: return VK_CAPITAL;
    case 70: return VK_SNAPSHOT;
    case 71: return VK_SCROLL;
    case 72: return VK_PAUSE;
    case 73: return VK_INSERT;
    case 74: return VK_HOME;
    case 75: return VK_PRIOR;
    case 76: return VK_DELETE;
    case 77: return VK_END;
    case 78: return VK_NEXT;
    case 79: return VK_RIGHT;
    case 80: return VK_LEFT;
    case 81: return VK_DOWN;
    case 82: return VK_UP;
    case 83: return VK_NUMLOCK;
    case 84: return VK_DIVIDE;
    case 85: return VK_MULTIPLY;
    case 86: return VK_SUBTRACT;
    case 87: return VK_ADD;
    case 88: return VK_RETURN;
    case 98: return VK_NUMPAD0;
    case 99: return VK_DECIMAL;
    case 224: case 228: return VK_CONTROL;
    case 225: case 229: return VK_SHIFT;
    case 226: case 230: return VK_MENU;
    case 227: return VK_LWIN;
    case 231: return VK_RWIN;
    default: return 0;
    }
}

intptr_t InputTranslator::PackPoint(int x, int y)
{
    return intptr_t(uint32_t(uint16_t(int16_t(x))) | (uint32_t(uint16_t(int16_t(y))) << 16));
}

namespace {

uintptr_t ButtonBit(int button)
{
    return button == 1 ? MK_LBUTTON : button == 3 ? MK_RBUTTON : button == 2 ? MK_MBUTTON : 0;
}

// UTF-8 to UTF-16 units; malformed bytes become U+FFFD.
template <typename Out>
void ForEachUtf16Unit(const std::string& s, Out out)
{
    size_t i = 0;
    while (i < s.size()) {
        uint8_t b = uint8_t(s[i]);
        uint32_t c = 0xFFFD;
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0) {
            ++i;
        } else {
            c = extra == 0 ? b : b & (0x3F >> extra);
            bool ok = true;
            for (int k = 1; ok && k <= extra; ++k) {
                if (i + size_t(k) >= s.size() || (uint8_t(s[i + k]) & 0xC0) != 0x80)
                    ok = false;
                else
                    c = (c << 6) | (uint8_t(s[i + k]) & 0x3F);
            }
            if (!ok) {
                c = 0xFFFD;
                ++i;
            } else {
                i += size_t(extra) + 1;
            }
        }
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out(0xD800 + (c >> 10));
            out(0xDC00 + (c & 0x3FF));
        } else {
            out(c);
        }
    }
}

} // namespace

void InputTranslator::Translate(const InputEvent& e, MessageQueue& queue)
{
    uintptr_t mods = (e.shift ? MK_SHIFT : 0) | (e.ctrl ? MK_CONTROL : 0);
    switch (e.kind) {
    case InputEvent::MouseMove:
        queue.PostCoalescingMoves({WM_MOUSEMOVE, mButtons | mods, PackPoint(e.x, e.y)});
        break;
    case InputEvent::MouseDown: {
        mButtons |= ButtonBit(e.button);
        bool dbl = e.clicks >= 2 && e.clicks % 2 == 0;
        uint32_t msg = e.button == 1 ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN)
                       : e.button == 3 ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
                       : e.button == 2 ? (dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN)
                                       : 0;
        if (msg)
            queue.Post({msg, mButtons | mods, PackPoint(e.x, e.y)});
        break;
    }
    case InputEvent::MouseUp: {
        mButtons &= ~ButtonBit(e.button);
        uint32_t msg = e.button == 1 ? WM_LBUTTONUP : e.button == 3 ? WM_RBUTTONUP : e.button == 2 ? WM_MBUTTONUP : 0;
        if (msg)
            queue.Post({msg, mButtons | mods, PackPoint(e.x, e.y)});
        break;
    }
    case InputEvent::Wheel: {
        uintptr_t delta = uintptr_t(uint16_t(int16_t(e.wheel * 120)));
        queue.Post({WM_MOUSEWHEEL, (delta << 16) | mButtons | mods, PackPoint(e.x, e.y)});
        break;
    }
    case InputEvent::KeyDown:
    case InputEvent::KeyUp: {
        int vk = VirtualKeyOfUsage(e.usage);
        if (!vk)
            break;
        bool down = e.kind == InputEvent::KeyDown;
        // The Alt key itself, and keys while Alt is held, are system keys.
        bool sys = e.alt || vk == VK_MENU;
        uint32_t msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
        intptr_t lp = 1 | (intptr_t(e.usage & 0xFF) << 16) | (e.alt ? (1 << 29) : 0) |
                      (e.repeat ? (1 << 30) : 0) | (down ? 0 : (intptr_t(3) << 30));
        queue.Post({msg, uintptr_t(vk), lp});
        if (!down)
            break;
        int c = 0;
        if (vk == VK_BACK)
            c = 8;
        else if (vk == VK_TAB)
            c = 9;
        else if (vk == VK_RETURN)
            c = 13;
        else if (vk == VK_ESCAPE)
            c = 27;
        else if (e.ctrl && !e.alt && vk >= 'A' && vk <= 'Z')
            c = vk - 'A' + 1;
        if (c)
            queue.Post({e.alt ? WM_SYSCHAR : WM_CHAR, uintptr_t(c), lp});
        break;
    }
    case InputEvent::Text:
        ForEachUtf16Unit(e.text, [&](uint32_t unit) {
            queue.Post({e.alt ? WM_SYSCHAR : WM_CHAR, uintptr_t(unit), 1});
        });
        break;
    case InputEvent::FocusGained:
        queue.Post({WM_ACTIVATEAPP, 1, 0});
        break;
    case InputEvent::FocusLost:
        queue.Post({WM_ACTIVATEAPP, 0, 0});
        break;
    case InputEvent::Minimized:
        queue.Post({WM_SIZE, SIZE_MINIMIZED, 0});
        break;
    case InputEvent::Restored:
        queue.Post({WM_SIZE, SIZE_RESTORED, 0});
        break;
    case InputEvent::Maximized:
        queue.Post({WM_SIZE, SIZE_MAXIMIZED, 0});
        break;
    case InputEvent::Moved:
        queue.Post({WM_MOVE, 0, PackPoint(e.x, e.y)});
        break;
    case InputEvent::Exposed:
        queue.Post({WM_PAINT, 0, 0});
        break;
    case InputEvent::DisplayChanged:
        queue.Post({WM_DISPLAYCHANGE, 0, 0});
        break;
    case InputEvent::Close:
        queue.Post({WM_CLOSE, 0, 0});
        break;
    }
}

} // namespace plat
