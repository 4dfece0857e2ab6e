#pragma once
// Pictures made in memory from their file names, for the UI fixture's
// textures: "<kind>_<w>x<h>_<aarrggbb>" where "solid" is one colour, "frame"
// the colour inside a one-pixel white border, "stripes" the colour in every
// other column (transparent between) and "bands" four ever lighter vertical
// bands. Null for any other name.
#include "framework/graphics/DDImage.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline Zelk::DDImage* MakeFixturePicture(const std::string& fileName)
{
    const std::string name = fileName.substr(fileName.find_last_of("\\/") + 1);
    char kindText[32] = {};
    int w = 0, h = 0;
    unsigned color = 0;
    if (std::sscanf(name.c_str(), "%31[a-z]_%dx%d_%x", kindText, &w, &h, &color) != 4 || w <= 0 || h <= 0 ||
        w > 4096 || h > 4096)
        return nullptr;
    const std::string kind = kindText;
    std::vector<uint32_t> bits(size_t(w) * size_t(h), color);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t& p = bits[size_t(y) * size_t(w) + size_t(x)];
            if (kind == "frame" && (x == 0 || y == 0 || x == w - 1 || y == h - 1))
                p = 0xFFFFFFFF;
            else if (kind == "stripes" && x % 2)
                p = 0;
            else if (kind == "bands")
                p = color + 0x00303030u * uint32_t(x * 4 / w);
        }
    auto* image = new Zelk::DDImage(nullptr);
    image->SetBits(bits.data(), w, h);
    return image;
}
