#include "game/ui/UiPicture.h"

#include "framework/graphics/Graphics.h"
#include "game/ui/UiAttributes.h"

void UiPicture::Draw(Zelk::Graphics* g, int width, int height) const
{
    if (image)
        g->DrawImageRegionScaled(image, Zelk::Rect(0, 0, width, height), source);
}

bool UiPicture::Load(const XmlNode& node, const wchar_t* id, void* context, UiTextureAttr& carry, int width,
                     int height)
{
    if (!UiReadTexture(node, id, carry))
        return false;
    image = UiGetTexture(context, carry.texture);
    source = Zelk::Rect(carry.u, carry.v, width, height);
    return true;
}

void UiBeginPictures(Zelk::Graphics* g, int alpha)
{
    g->SetModulateImages(true);
    g->SetColor(Zelk::Color(255, 255, 255, alpha));
}

void UiBackground::Set(int state, Zelk::Image* image, const Zelk::Rect& source)
{
    if (state == 0 || state == 1)
        pictures[state] = {image, source};
}

void UiBackground::SetAll(Zelk::Image* image)
{
    pictures[0].image = image;
    pictures[1].image = image;
}

void UiBackground::Draw(Zelk::Graphics* g, bool disabled, int width, int height) const
{
    if (disabled && pictures[1])
        pictures[1].Draw(g, width, height);
    else
        pictures[0].Draw(g, width, height);
}
