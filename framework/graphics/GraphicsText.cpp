// Colour-coded and word-wrapped text of Graphics.
#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"

#include <algorithm>

namespace Zelk {

namespace {

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return 0;
}

} // namespace

int Graphics::DrawColorCodedString(const std::wstring& text, int x, int y, int boxWidth, int justification,
                                   bool draw, int start, int length, int startColor)
{
    if (!mFont)
        return 0;
    int textLength = int(text.size());
    int end = length < 0 ? textLength : int(std::min<int64_t>(int64_t(start) + length, textLength));
    if (start < 0)
        start = 0;
    if (startColor == -1)
        startColor = int(mColor.ToInt());
    if (draw && (justification == 0 || justification == 1)) {
        int w = DrawColorCodedString(text, x, y, boxWidth, -1, false, start, length, startColor);
        int64_t room = int64_t(boxWidth) - w;
        x = ClampToInt(x + (justification == 0 ? room / 2 : room));
    }

    int width = 0;
    std::wstring run;
    auto flush = [&]() {
        if (draw && !run.empty())
            mFont->DrawString(this, x + width, y, run, mColor, mClipRect);
        width += mFont->StringWidth(run);
        run.clear();
    };
    for (int i = start; i < end;) {
        wchar_t c = text[i];
        if (c != L'^' || !mColorCodes) {
            run += c;
            ++i;
            continue;
        }
        if (i + 1 < end && text[i + 1] == L'^') {
            run += L'^';
            i += 2;
            continue;
        }
        if (i > end - 8)
            break; // an incomplete code ends the text
        uint32_t value = 0;
        if (text[i + 1] == L'o') {
            value = text.compare(size_t(i + 1), 6, L"oldclr") == 0 ? uint32_t(startColor) : 0;
        } else {
            for (int k = 1; k <= 6; ++k)
                value = (value << 4) | uint32_t(HexDigit(text[i + k]));
        }
        flush();
        if (draw) {
            mColor.mRed = int((value >> 16) & 0xFF);
            mColor.mGreen = int((value >> 8) & 0xFF);
            mColor.mBlue = int(value & 0xFF);
        }
        i += 8;
    }
    flush();
    return width;
}

int Graphics::DrawWrappedText(const Rect& box, const std::wstring& text, int lineSpacing, int justification,
                              int* widest, int maxChars, int* lastLineWidth)
{
    if (!mFont) {
        if (widest)
            *widest = 0;
        return 0;
    }
    Color startColorValue = mColor;
    uint32_t packed = mColor.ToInt();
    if ((packed >> 24) == 0xFF)
        packed &= 0x00FFFFFF; // never -1, which would mean "the current colour"
    int startColor = int(packed);
    if (lineSpacing == -1)
        lineSpacing = mFont->GetLineSpacing();
    int len = int(text.size());
    if (maxChars < 0)
        maxChars = len;

    // Line positions in 64 bits: a layout may give any spacing and box.
    int64_t lineY = mFont->GetAscent() - mFont->GetAscentPadding();
    int xOffset = lastLineWidth ? *lastLineWidth : 0;
    int64_t w = xOffset;
    int lineStart = 0, breakAt = -1, maxWidth = 0;
    wchar_t prev = 0, lastExamined = 0;

    auto drawLine = [&](int from, int count) {
        if (from + count > maxChars)
            count = maxChars - from;
        if (count < 1)
            return -1;
        return DrawColorCodedString(text, ClampToInt(int64_t(box.mX) + xOffset), ClampToInt(box.mY + lineY),
                                    box.mWidth, justification, true, from, count, startColor);
    };
    auto nextLine = [&]() {
        lineY += lineSpacing;
        w = 0;
        xOffset = 0;
        prev = 0;
        breakAt = -1;
    };

    int i = 0;
    while (i < len) {
        wchar_t c = text[i];
        if (c == L'^' && mColorCodes && i + 1 < len) {
            if (text[i + 1] != L'^') {
                i += 8; // a colour code is neither measured nor a break point
                continue;
            }
            ++i; // "^^": the second caret is an ordinary character
        }
        lastExamined = c;
        if (c == L' ') {
            breakAt = i;
        } else if (c == L'\n') {
            breakAt = i;
            w = int64_t(box.mWidth) + 1;
        }
        w += mFont->CharWidthKerned(c, prev);
        prev = c;
        if (w <= box.mWidth) {
            ++i;
            continue;
        }

        if (breakAt == -1) {
            // No blank on this line: break before this character, keeping at
            // least one character on the line.
            int lineEnd = i == lineStart ? i + 1 : i;
            int drawn = drawLine(lineStart, lineEnd - lineStart);
            if (drawn < 0)
                break;
            maxWidth = std::max(maxWidth, drawn);
            if (lastLineWidth)
                *lastLineWidth = drawn;
            lineStart = lineEnd;
        } else {
            int count = breakAt - lineStart;
            int64_t baseline = TruncToInt(float(box.mY + lineY) + mTransY);
            if (baseline >= mClipRect.mY && baseline < int64_t(mClipRect.mY) + mClipRect.mHeight + lineSpacing)
                drawLine(lineStart, count);
            int measured = xOffset + DrawColorCodedString(text, 0, 0, box.mWidth, -1, false, lineStart,
                                                          std::min(count, maxChars - lineStart), startColor);
            maxWidth = std::max(maxWidth, measured);
            lineStart = breakAt + 1;
            if (text[breakAt] != L'\n')
                while (lineStart < len && text[lineStart] == L' ')
                    ++lineStart;
        }
        i = lineStart;
        nextLine();
    }

    if (lineStart < len) {
        int drawn = drawLine(lineStart, len - lineStart);
        if (drawn >= 0) {
            maxWidth = std::max(maxWidth, drawn);
            if (lastLineWidth)
                *lastLineWidth = drawn;
        }
        lineY += lineSpacing;
    } else if (lastExamined == L'\n') {
        lineY += lineSpacing;
        if (lastLineWidth)
            *lastLineWidth = 0;
    }

    mColor = startColorValue;
    if (widest)
        *widest = maxWidth;
    return ClampToInt(mFont->GetDescent() + lineY - lineSpacing);
}

int Graphics::GetWrappedTextHeight(int width, const std::wstring& text, int lineSpacing, int* widest)
{
    Graphics g(nullptr);
    g.SetFont(mFont);
    return g.DrawWrappedText(Rect(0, 0, width, 0), text, lineSpacing, -1, widest, -1, nullptr);
}

} // namespace Zelk
