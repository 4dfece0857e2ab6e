#pragma once
// Attribute readers shared by the widget kinds of the UI kit: hexadecimal
// numbers and colours as cfg\ui.xml writes them, "texture" child elements and
// the "textattr" elements of the text layers, and the registries of the game
// application the widgets are loaded with.
#include "framework/graphics/Color.h"
#include "game/core/XmlFunctions.h"

#include <cstdint>
#include <string>

namespace Zelk {
class Font;
class Image;
} // namespace Zelk

// Signed base 16 as strtol reads it: leading blanks, an optional sign, an
// optional "0x", the hex digits up to the first other character ("10" is 16,
// "-1" is -1, no digits 0); saturates at the 32-bit limits.
int32_t ParseHexSigned(const std::wstring& text);
// Unsigned base 16 as a 32-bit C library's strtoul reads it: a "-" negates
// modulo 2^32; a value above 0xFFFFFFFF (either sign) gives 0xFFFFFFFF.
uint32_t ParseHexUnsigned(const std::wstring& text);

// The readers write their output only when the attribute is present.
bool UiGetAttrHex(const XmlNode& node, const std::wstring& name, int32_t& value);
// A colour 0xAARRGGBB: six digits give a fully transparent one.
bool UiGetAttrColor(const XmlNode& node, const std::wstring& name, Zelk::Color& value);

// A picture of a widget state: texture[@id="<state>"] with "texture" (the
// TextureRegistry id), "u" and "v".
struct UiTextureAttr {
    std::string texture;
    int u = 0;
    int v = 0;
};
// Reads the first "texture" child with the id; false when there is none. An
// absent "u" or "v" keeps the number already in attr, so a widget reading its
// states one after another carries it over (the first is 0); an absent
// "texture" gives the empty id.
bool UiReadTexture(const XmlNode& node, const wchar_t* id, UiTextureAttr& attr);

// One text layer as a "textattr" element gives it. "hcolor" and "dcolor"
// default to "color", which defaults to 0 (transparent).
struct UiTextAttr {
    Zelk::Font* font = nullptr;
    Zelk::Color color;
    Zelk::Color hoverColor;
    Zelk::Color disabledColor;
};
// Reads textattr[@id="normal"] (layer 2), "stroke" (1) and "shadow" (0) in
// this order and calls set for each present one.
template <class Set>
void UiReadTextAttrs(const XmlNode& node, void* context, Set set);
bool UiReadTextAttr(const XmlNode& node, const wchar_t* id, void* context, UiTextAttr& attr);

// The game application's registries through the context the widgets are
// loaded with (the GameApp, or null). A picture counts one reference.
Zelk::Image* UiGetTexture(void* context, const std::string& id);
Zelk::Font* UiGetFont(void* context, const std::string& name);

template <class Set>
void UiReadTextAttrs(const XmlNode& node, void* context, Set set)
{
    static const struct {
        const wchar_t* id;
        int layer;
    } kLayers[] = {{L"normal", 2}, {L"stroke", 1}, {L"shadow", 0}};
    for (const auto& entry : kLayers) {
        UiTextAttr attr;
        if (UiReadTextAttr(node, entry.id, context, attr))
            set(entry.layer, attr);
    }
}
