#include "game/ui/UiAttributes.h"

#include "game/core/GameApp.h"
#include "game/core/TextureRegistry.h"

#include <climits>

namespace {

// Sign, magnitude (saturated at 2^32 - 1 plus an overflow flag) and whether
// any digit was read, as strtol and strtoul see the text.
struct HexText {
    bool negative = false;
    uint64_t magnitude = 0;
    bool overflow = false;
};

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return int(c - L'0');
    if (c >= L'a' && c <= L'f')
        return int(c - L'a') + 10;
    if (c >= L'A' && c <= L'F')
        return int(c - L'A') + 10;
    return -1;
}

HexText ScanHex(const std::wstring& text)
{
    HexText hex;
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r')))
        ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        hex.negative = text[i++] == L'-';
    // "0x" counts as a prefix only with a digit after it ("0x" alone is 0).
    if (i + 2 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X') &&
        HexDigit(text[i + 2]) >= 0)
        i += 2;
    for (; i < text.size(); ++i) {
        int d = HexDigit(text[i]);
        if (d < 0)
            break;
        if (!hex.overflow) {
            hex.magnitude = hex.magnitude * 16 + uint64_t(d);
            if (hex.magnitude > 0xFFFFFFFFull)
                hex.overflow = true;
        }
    }
    return hex;
}

} // namespace

int32_t ParseHexSigned(const std::wstring& text)
{
    HexText hex = ScanHex(text);
    if (hex.negative)
        return hex.overflow || hex.magnitude >= 0x80000000ull ? INT32_MIN : -int32_t(hex.magnitude);
    return hex.overflow || hex.magnitude > 0x7FFFFFFFull ? INT32_MAX : int32_t(hex.magnitude);
}

uint32_t ParseHexUnsigned(const std::wstring& text)
{
    HexText hex = ScanHex(text);
    if (hex.overflow)
        return 0xFFFFFFFFu;
    uint32_t value = uint32_t(hex.magnitude);
    return hex.negative ? uint32_t(0u - value) : value;
}

bool UiGetAttrHex(const XmlNode& node, const std::wstring& name, int32_t& value)
{
    std::wstring text;
    if (!XmlGetAttrWString(node, name, text))
        return false;
    value = ParseHexSigned(text);
    return true;
}

bool UiGetAttrColor(const XmlNode& node, const std::wstring& name, Zelk::Color& value)
{
    std::wstring text;
    if (!XmlGetAttrWString(node, name, text))
        return false;
    value = Zelk::Color(ParseHexUnsigned(text));
    return true;
}

bool UiReadTexture(const XmlNode& node, const wchar_t* id, UiTextureAttr& attr)
{
    XmlNode element = node.SelectSingle(std::wstring(L"texture[@id=\"") + id + L"\"]");
    if (!element)
        return false;
    attr.texture.clear();
    XmlGetAttrString(element, L"texture", attr.texture);
    XmlGetAttrInt(element, L"u", attr.u);
    XmlGetAttrInt(element, L"v", attr.v);
    return true;
}

bool UiReadTextAttr(const XmlNode& node, const wchar_t* id, void* context, UiTextAttr& attr)
{
    XmlNode element = node.SelectSingle(std::wstring(L"textattr[@id=\"") + id + L"\"]");
    if (!element)
        return false;
    attr.color = Zelk::Color(0u);
    UiGetAttrColor(element, L"color", attr.color);
    attr.hoverColor = attr.color;
    attr.disabledColor = attr.color;
    UiGetAttrColor(element, L"hcolor", attr.hoverColor);
    UiGetAttrColor(element, L"dcolor", attr.disabledColor);
    std::string font;
    attr.font = XmlGetAttrString(element, L"font", font) ? UiGetFont(context, font) : nullptr;
    return true;
}

Zelk::Image* UiGetTexture(void* context, const std::string& id)
{
    GameApp* app = static_cast<GameApp*>(context);
    if (!app || !app->GetTextureRegistry() || id.empty())
        return nullptr;
    return app->GetTextureRegistry()->Get(id);
}

Zelk::Font* UiGetFont(void* context, const std::string& name)
{
    GameApp* app = static_cast<GameApp*>(context);
    if (!app || !app->mFontRegistry)
        return nullptr;
    return app->GetFont(name);
}
