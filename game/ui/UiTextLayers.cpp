#include "game/ui/UiTextLayers.h"

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"

void UiTextLayers::Set(int layer, Zelk::Font* font, const Zelk::Color& color, const Zelk::Color& hoverColor,
                       const Zelk::Color& disabledColor)
{
    if (layer < 0 || layer > 2)
        return;
    mFonts[layer] = font;
    mColors[PLAIN][layer] = color;
    mColors[HOVER][layer] = hoverColor;
    mColors[DISABLED][layer] = disabledColor;
}

Zelk::Color UiTextLayers::LayerColor(int layer, Look look, float opacity) const
{
    Zelk::Color color = mColors[look][layer];
    if (opacity >= 0)
        color.mAlpha = int(float(color.mAlpha) * opacity);
    return color;
}

void UiTextLayers::DrawWrapped(Zelk::Graphics* g, const Zelk::Rect& box, const std::wstring& text, int lineSpacing,
                               int justification, Look look, float opacity) const
{
    if (!GetNormalFont())
        return;
    for (int layer = 0; layer < 3; ++layer) {
        if (!mFonts[layer])
            continue;
        g->SetFont(mFonts[layer]);
        g->SetColor(LayerColor(layer, look, opacity));
        g->DrawWrappedText(box, text, lineSpacing, justification, nullptr, -1, nullptr);
    }
}

int UiTextLayers::WrappedHeight(Zelk::Graphics* g, int width, const std::wstring& text, int lineSpacing) const
{
    if (!GetNormalFont())
        return 0;
    g->SetFont(GetNormalFont());
    return g->GetWrappedTextHeight(width, text, lineSpacing);
}

void UiTextLayers::DrawLine(Zelk::Graphics* g, int x, int top, int height, const std::wstring& text, Look look,
                            float opacity) const
{
    for (int layer = 0; layer < 3; ++layer) {
        Zelk::Font* font = mFonts[layer];
        if (!font)
            continue;
        g->SetFont(font);
        g->SetColor(LayerColor(layer, look, opacity));
        g->DrawString(text, x, top + (height - font->GetHeight()) / 2 + font->GetAscent());
    }
}
