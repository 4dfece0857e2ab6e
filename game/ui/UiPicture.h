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

// The background of a widget with a normal (0) and a disabled (1) picture.
struct UiBackground {
    UiPicture pictures[2];

    // Other states than 0 and 1 are ignored.
    void Set(int state, Zelk::Image* image, const Zelk::Rect& source);
    void SetAll(Zelk::Image* image);
    // The disabled picture while disabled and it exists, else the normal one.
    void Draw(Zelk::Graphics* g, bool disabled, int width, int height) const;

    // Reads texture "normal" and then "disabled" (u, v carried over through
    // carry) and hands each one found to set(state, picture).
    template <class SetState>
    static void Load(const XmlNode& node, void* context, UiTextureAttr& carry, int width, int height, SetState set)
    {
        UiPicture picture;
        if (picture.Load(node, L"normal", context, carry, width, height))
            set(0, picture);
        if (picture.Load(node, L"disabled", context, carry, width, height))
            set(1, picture);
    }
};
