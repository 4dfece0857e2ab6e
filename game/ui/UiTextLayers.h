#pragma once
// The three text layers of a widget (0 shadow, 1 stroke, 2 normal), drawn in
// that order at one position: a font per layer (none: the layer is not drawn)
// and its colours for the plain, the hover (or highlight) and the disabled
// look. The normal layer's font also measures; without it nothing is drawn.
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"

#include <string>

namespace Zelk {
class Font;
class Graphics;
} // namespace Zelk

class UiTextLayers {
public:
    enum Look { PLAIN = 0, HOVER = 1, DISABLED = 2 };
    static constexpr int kNormal = 2;

    // Layer 0, 1 or 2; any other is ignored.
    void Set(int layer, Zelk::Font* font, const Zelk::Color& color, const Zelk::Color& hoverColor,
             const Zelk::Color& disabledColor);
    Zelk::Font* GetFont(int layer) const { return mFonts[layer]; }
    Zelk::Font* GetNormalFont() const { return mFonts[kNormal]; }
    const Zelk::Color& GetColor(int layer, Look look) const { return mColors[look][layer]; }

    // The colour of a layer's look, its alpha multiplied by opacity and
    // truncated; opacity below 0 leaves it as it is.
    Zelk::Color LayerColor(int layer, Look look, float opacity) const;

    // The text word-wrapped into box, layer by layer (Graphics::DrawWrappedText).
    void DrawWrapped(Zelk::Graphics* g, const Zelk::Rect& box, const std::wstring& text, int lineSpacing,
                     int justification, Look look, float opacity) const;
    // The height the wrapped text takes at the width with the normal font.
    int WrappedHeight(Zelk::Graphics* g, int width, const std::wstring& text, int lineSpacing) const;
    // The text on one line at x, each layer's baseline at
    // top + (height - font height) / 2 + font ascent.
    void DrawLine(Zelk::Graphics* g, int x, int top, int height, const std::wstring& text, Look look,
                  float opacity) const;

private:
    Zelk::Font* mFonts[3] = {nullptr, nullptr, nullptr};
    Zelk::Color mColors[3][3];
};
