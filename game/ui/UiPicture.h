#pragma once
// A picture of a widget state: a registry image and the part of it shown,
// stretched over the widget. Widgets draw their pictures modulated by white
// with the alpha of their compound opacity.
#include "framework/graphics/Rect.h"
#include "game/core/XmlFunctions.h"

namespace Zelk {
class Graphics;
class Image;
} // namespace Zelk

struct UiTextureAttr;

struct UiPicture {
    Zelk::Image* image = nullptr;
    Zelk::Rect source;

    explicit operator bool() const { return image != nullptr; }
    // The source stretched into 0, 0, width, height; nothing without an image.
    void Draw(Zelk::Graphics* g, int width, int height) const;
    // From texture[@id="<id>"]: the registry's image of its "texture" and the
    // source u, v, width, height. u and v carry over from the previous read
    // through carry. False (and the picture as it was) without the element.
    bool Load(const XmlNode& node, const wchar_t* id, void* context, UiTextureAttr& carry, int width, int height);
};

// Modulation on, colour white with the alpha: how every widget starts to draw.
void UiBeginPictures(Zelk::Graphics* g, int alpha);

// The background of a widget with a normal and a disabled picture: the
// disabled one while disabled and it exists, else the normal one.
void UiDrawBackground(Zelk::Graphics* g, const UiPicture (&pictures)[2], bool disabled, int width, int height);
