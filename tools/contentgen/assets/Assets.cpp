#include "assets/Assets.h"

// Stand-ins until the art kit, the font baker and the synthesiser are in:
// every picture is one white pixel, and there are no fonts or sounds.
namespace contentgen {

namespace {

std::vector<uint8_t> OnePixelPng()
{
    static const uint8_t kPng[] = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
        0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1f, 0x15, 0xc4,
        0x89, 0x00, 0x00, 0x00, 0x0b, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0x0f, 0x04, 0x00,
        0x09, 0xfb, 0x03, 0xfd, 0xfb, 0x5e, 0x6b, 0x2b, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44,
        0xae, 0x42, 0x60, 0x82};
    return std::vector<uint8_t>(kPng, kPng + sizeof(kPng));
}

} // namespace

std::vector<OutFile> DrawFixedPictures()
{
    return {};
}

OutFile DrawPanel(const std::string& layoutName, int, int, bool, int, int, int, int)
{
    return OutFile{"images\\ui\\" + layoutName + ".png", OnePixelPng()};
}

std::vector<OutFile> DrawAtlas(const std::string& stem, const std::vector<AtlasItem>& items, std::map<std::string, AtlasSpot>& spots)
{
    for (const AtlasItem& item : items)
        spots[item.key] = AtlasSpot{0, 0, 0};
    const bool onePage = stem == "images\\ui\\widgets";
    return {OutFile{stem + (onePage ? "" : "0") + ".png", OnePixelPng()}};
}

std::vector<OutFile> BakeFonts()
{
    return {};
}

} // namespace contentgen
