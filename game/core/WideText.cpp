#include "game/core/WideText.h"

size_t WideLength(const std::wstring& text) { return text.size(); }

int WideCompare(const std::wstring& a, const std::wstring& b)
{
    int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::wstring CleanWideText(const std::wstring& text)
{
    std::wstring out;
    bool first = true;    // no previous input character yet
    wchar_t previous = 0; // the previous input character
    bool holding = false;
    wchar_t held = 0;
    for (wchar_t c : text) {
        bool drop = c == L'^' || (c == L' ' && (first || previous == L' '));
        previous = c;
        first = false;
        if (drop)
            continue;
        if (holding)
            out += held;
        held = c;
        holding = true;
    }
    if (holding && held != L' ')
        out += held;
    return out;
}
