#pragma once
// The scenes and sprites of the golden images, shared by every drawing path
// that must reproduce them.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Zelk {
namespace test {

// A 16 x 16 disc with a soft edge and a colour gradient.
inline std::vector<uint32_t> DiscPixels()
{
    std::vector<uint32_t> px(256);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            int dx = 2 * x - 15, dy = 2 * y - 15, d2 = dx * dx + dy * dy;
            uint32_t a = d2 >= 225 ? 0 : d2 <= 121 ? 255 : uint32_t((225 - d2) * 255 / 104);
            px[y * 16 + x] = a << 24 | uint32_t(x * 16) << 16 | uint32_t(y * 16) << 8 | 200u;
        }
    return px;
}

// A 12 x 12 panel piece: light border, darker inside, cut corners,
// a translucent inner edge.
inline std::vector<uint32_t> PanelPixels()
{
    std::vector<uint32_t> px(144);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            int edge = std::min(std::min(x, y), std::min(11 - x, 11 - y));
            bool corner = (x == 0 || x == 11) && (y == 0 || y == 11);
            uint32_t p = edge == 0 ? 0xFFC0C8D0 : edge == 1 ? 0x80FFFFFF : 0xE0304050 + uint32_t(y * 4);
            px[y * 12 + x] = corner ? 0 : p;
        }
    return px;
}

// The panel scene on a 96 x 64 screen filled with 0xFF202840: an image box,
// plain, modulated and additive sprites, smooth and nearest stretches, a
// translucent fill and an outline.
inline void DrawPanelScene(Graphics& g, Image* disc, Image* panel)
{
    g.DrawNineSliceImage(Rect(4, 4, 60, 40), panel);
    g.DrawImage(disc, 70, 4);
    g.PushState();
    g.SetModulateImages(true);
    g.SetColor(Color(255, 80, 80));
    g.DrawImage(disc, 70, 22);
    g.SetColor(Color(160, 160, 160));
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    g.DrawImage(disc, 70, 40);
    g.PopState();
    g.DrawImageScaled(disc, 14, 10, 40, 28);
    g.SetNearestStretch(true);
    g.DrawImageScaled(disc, 44, 46, 24, 16);
    g.SetColor(Color(255, 255, 0, 96));
    g.FillRect(6, 48, 40, 10);
    g.SetColor(Color::White);
    g.DrawRect(1, 1, 93, 61);
}

// Inside the two stretched discs of the panel scene the 3D filter samples at
// texel centres, half a texel from the 2D stretches: no channel of a pixel
// there may differ from the golden by more than this (hard edges move by at
// most one pixel).
constexpr int kWorstInsideDiscs = 100;

} // namespace test
} // namespace Zelk
