#include "platform/window/InputTranslator.h"

#include <gtest/gtest.h>
#include <vector>

using namespace plat;

namespace {

std::vector<WindowMessage> Translate(const std::vector<InputEvent>& events)
{
    InputTranslator t;
    MessageQueue q;
    for (auto& e : events)
        t.Translate(e, q);
    std::vector<WindowMessage> out;
    WindowMessage m;
    while (q.Peek(m))
        out.push_back(m);
    return out;
}

InputEvent Key(int usage, bool down = true, bool ctrl = false, bool alt = false)
{
    InputEvent e;
    e.kind = down ? InputEvent::KeyDown : InputEvent::KeyUp;
    e.usage = usage;
    e.ctrl = ctrl;
    e.alt = alt;
    return e;
}

} // namespace

TEST(InputTranslator, VirtualKeyTable)
{
    struct {
        int usage, vk;
    } cases[] = {{4, 'A'}, {29, 'Z'}, {30, '1'}, {39, '0'}, {40, VK_RETURN}, {88, VK_RETURN}, {41, VK_ESCAPE},
                 {42, VK_BACK}, {43, VK_TAB}, {44, VK_SPACE}, {58, VK_F1}, {61, VK_F4}, {69, VK_F12},
                 {224, VK_CONTROL}, {228, VK_CONTROL}, {225, VK_SHIFT}, {226, VK_MENU}, {230, VK_MENU},
                 {80, VK_LEFT}, {82, VK_UP}, {98, VK_NUMPAD0}, {97, VK_NUMPAD0 + 9}, {0, 0}, {300, 0}};
    for (auto& c : cases)
        EXPECT_EQ(InputTranslator::VirtualKeyOfUsage(c.usage), c.vk) << c.usage;
}

TEST(InputTranslator, KeyPressesTypeTheirControlCharacters)
{
    struct {
        InputEvent key;
        uint32_t keyMsg;
        uintptr_t vk;
        uint32_t charMsg; // 0: no character
        uintptr_t ch;
    } cases[] = {
        {Key(42), WM_KEYDOWN, VK_BACK, WM_CHAR, 8},
        {Key(43), WM_KEYDOWN, VK_TAB, WM_CHAR, 9},
        {Key(40), WM_KEYDOWN, VK_RETURN, WM_CHAR, 13},
        {Key(41), WM_KEYDOWN, VK_ESCAPE, WM_CHAR, 27},
        {Key(6, true, true), WM_KEYDOWN, 'C', WM_CHAR, 3},   // Ctrl+C
        {Key(25, true, true), WM_KEYDOWN, 'V', WM_CHAR, 22}, // Ctrl+V
        {Key(27, true, true), WM_KEYDOWN, 'X', WM_CHAR, 24}, // Ctrl+X
        {Key(29, true, true), WM_KEYDOWN, 'Z', WM_CHAR, 26}, // Ctrl+Z
        {Key(4), WM_KEYDOWN, 'A', 0, 0},                     // letters type through text input
        {Key(40, true, false, true), WM_SYSKEYDOWN, VK_RETURN, WM_SYSCHAR, 13}, // Alt+Enter
        {Key(61, true, false, true), WM_SYSKEYDOWN, VK_F4, 0, 0},                // Alt+F4
        {Key(226), WM_SYSKEYDOWN, VK_MENU, 0, 0},                                // Alt itself
        {Key(4, false), WM_KEYUP, 'A', 0, 0},
        {Key(42, false), WM_KEYUP, VK_BACK, 0, 0},
    };
    for (auto& c : cases) {
        auto msgs = Translate({c.key});
        ASSERT_EQ(msgs.size(), c.charMsg ? 2u : 1u) << c.vk;
        EXPECT_EQ(msgs[0].message, c.keyMsg) << c.vk;
        EXPECT_EQ(msgs[0].wParam, c.vk);
        if (c.charMsg) {
            EXPECT_EQ(msgs[1].message, c.charMsg) << c.vk;
            EXPECT_EQ(msgs[1].wParam, c.ch) << c.vk;
        }
    }
}

TEST(InputTranslator, TextBecomesOneCharacterPerUtf16Unit)
{
    InputEvent e;
    e.kind = InputEvent::Text;
    e.text = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"; // a, e-acute, U+4E2D, U+1F600
    auto msgs = Translate({e});
    std::vector<uintptr_t> units;
    for (auto& m : msgs) {
        EXPECT_EQ(m.message, WM_CHAR);
        units.push_back(m.wParam);
    }
    EXPECT_EQ(units, (std::vector<uintptr_t>{'a', 0xE9, 0x4E2D, 0xD83D, 0xDE00}));
    e.text = "\xFF";
    msgs = Translate({e});
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].wParam, 0xFFFDu);
}

TEST(InputTranslator, ClicksWheelAndCoalescedMoves)
{
    auto mouse = [](InputEvent::Kind k, int button, int clicks, int x, int y) {
        InputEvent e;
        e.kind = k;
        e.button = button;
        e.clicks = clicks;
        e.x = x;
        e.y = y;
        return e;
    };
    InputEvent wheelUp = mouse(InputEvent::Wheel, 0, 0, 0, 0);
    wheelUp.wheel = 1;
    InputEvent wheelDown2 = wheelUp;
    wheelDown2.wheel = -2;
    auto msgs = Translate({
        mouse(InputEvent::MouseMove, 0, 0, 1, 1),
        mouse(InputEvent::MouseMove, 0, 0, 2, 2),
        mouse(InputEvent::MouseMove, 0, 0, -3, 700), // three moves in a row: the newest only
        mouse(InputEvent::MouseDown, 1, 1, 5, 6),
        mouse(InputEvent::MouseDown, 1, 2, 5, 6),
        mouse(InputEvent::MouseUp, 1, 2, 5, 6),
        mouse(InputEvent::MouseDown, 3, 1, 5, 6),
        mouse(InputEvent::MouseDown, 2, 4, 5, 6),
        wheelUp,
        wheelDown2,
    });
    std::vector<uint32_t> kinds;
    for (auto& m : msgs)
        kinds.push_back(m.message);
    EXPECT_EQ(kinds, (std::vector<uint32_t>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONUP,
                                            WM_RBUTTONDOWN, WM_MBUTTONDBLCLK, WM_MOUSEWHEEL, WM_MOUSEWHEEL}));
    EXPECT_EQ(int16_t(msgs[0].lParam & 0xFFFF), -3);
    EXPECT_EQ(int16_t(msgs[0].lParam >> 16), 700);
    EXPECT_EQ(int16_t(msgs[6].wParam >> 16), 120);
    EXPECT_EQ(int16_t(msgs[7].wParam >> 16), -240);
    EXPECT_EQ(msgs[5].wParam & (MK_RBUTTON | MK_MBUTTON), MK_RBUTTON | MK_MBUTTON);
}
