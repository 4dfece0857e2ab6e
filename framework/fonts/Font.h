#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"

#include <string>

namespace Zelk {

class Graphics;

// Everything that measures or draws text goes through this interface. The
// metrics are pixels: text blocks put their first baseline at
// ascent - ascent padding below their top.
class Font {
public:
    Font() = default;
    Font(const Font&) = default;
    Font& operator=(const Font&) = default;
    virtual ~Font() = default;

    virtual int GetAscent() { return mAscent; }
    virtual int GetAscentPadding() { return mAscentPadding; }
    virtual int GetDescent() { return mHeight - mAscent; }
    virtual int GetHeight() { return mHeight; }
    virtual int GetLineSpacingOffset() { return mLineSpacingOffset; }
    virtual int GetLineSpacing() { return mHeight + mLineSpacingOffset; }
    virtual int StringWidth(const std::wstring& text) { return 0; }
    virtual int CharWidth(wchar_t c) { return StringWidth(std::wstring(1, c)); }
    virtual int CharWidthKerned(wchar_t c, wchar_t previous) { return CharWidth(c); }
    // x and y are relative to g's translation; y is the baseline.
    virtual void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                            const Rect& clip)
    {
    }
    // A new font equal to this one; the caller owns it.
    virtual Font* Duplicate() = 0;

    int mAscent = 0;
    int mAscentPadding = 0;
    int mHeight = 0;
    int mLineSpacingOffset = 0;
};

} // namespace Zelk
