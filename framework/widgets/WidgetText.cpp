// Text and digit drawing helpers of Widget.
#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/Widget.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace Zelk {

namespace {

int TextWidth(Graphics* g, const std::wstring& text)
{
    Font* font = g->GetFont();
    return font ? font->StringWidth(text) : 0;
}

} // namespace

Rect Widget::DrawCenteredText(Graphics* g, int y, const std::wstring& text)
{
    const int w = TextWidth(g, text);
    const int x = (mWidth - w) / 2;
    g->DrawString(text, x, y);
    Font* font = g->GetFont();
    const int ascent = font ? font->GetAscent() : 0;
    const int height = font ? font->GetHeight() : 0;
    return Rect(x, y - ascent, w, height);
}

Rect Widget::DrawCenteredTextShadowed(Graphics* g, int y, const std::wstring& text, Color color,
                                      Color shadowColor, Point offset)
{
    const int w = TextWidth(g, text);
    const int x = (mWidth - w) / 2;
    g->SetColor(shadowColor);
    g->DrawString(text, x + offset.mX, y + offset.mY);
    g->SetColor(color);
    g->DrawString(text, x, y);
    Font* font = g->GetFont();
    const int ascent = font ? font->GetAscent() : 0;
    const int height = font ? font->GetHeight() : 0;
    return Rect(x + std::min(offset.mX, 0), y + std::min(offset.mY, 0) - ascent, w + std::abs(offset.mX),
                height + std::abs(offset.mY));
}

int Widget::DrawColorCodedString(Graphics* g, const std::wstring& text, int x, int y, int boxWidth,
                                 int justification, bool draw)
{
    const bool codes = g->mColorCodes;
    g->SetColorCodes(true);
    // The whole text (length -1) starting in the current colour (start colour -1).
    const int width = g->DrawColorCodedString(text, x, y, boxWidth, justification, draw, 0, -1, -1);
    g->SetColorCodes(codes);
    return width;
}

int Widget::DrawWrappedText(Graphics* g, const Rect& box, const std::wstring& text, int lineSpacing,
                            int justification, int* widest)
{
    const bool codes = g->mColorCodes;
    g->SetColorCodes(true);
    // No limit on the characters drawn (-1) and no width of the last line wanted.
    const int height = g->DrawWrappedText(box, text, lineSpacing, justification, widest, -1, nullptr);
    g->SetColorCodes(codes);
    return height;
}

int Widget::GetWrappedTextHeight(Graphics* g, const std::wstring& text, int width, int lineSpacing)
{
    return g->GetWrappedTextHeight(width, text, lineSpacing);
}

// Each digit is its cell of the strip image, drawn through a clip the size of
// one cell. Negative numbers draw nothing.
void Widget::DrawNumberStrip(Graphics* g, int number, int x, int y, Image* digitImage, int spacing)
{
    if (number < 0 || !digitImage)
        return;
    const int cellWidth = digitImage->GetWidth() / 10;
    const int cellHeight = digitImage->GetHeight();
    const std::string digits = std::to_string(number);
    int offset = 0;
    for (char c : digits) {
        const int digit = c - '0';
        Graphics cellG(*g);
        cellG.ClipRect(x + offset, y, cellWidth, cellHeight);
        cellG.DrawImage(digitImage, x + offset - digit * cellWidth, y);
        offset += cellWidth + spacing;
    }
}

} // namespace Zelk
