#include "launcher/PlaceholderPicture.h"

namespace vorsel {

void PlaceholderPicture::Draw(const Canvas& canvas, int x, int y, int width, int height)
{
    // Dot centres on a circle of radius 11 around (16, 16), in the 32 x 32 cell.
    static const int kDots[8][2] = {{16, 5}, {24, 8}, {27, 16}, {24, 24}, {16, 27}, {8, 24}, {5, 16}, {8, 8}};
    for (int i = 0; i < 8; ++i) {
        const uint32_t grey = uint32_t(0x40 + i * 0x18);
        const uint32_t colour = 0xFF000000u | grey << 16 | grey << 8 | grey;
        const int cx = kDots[i][0] * width / 32, cy = kDots[i][1] * height / 32;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (dx * dx + dy * dy <= 5)
                    canvas.Fill(x + cx + dx, y + cy + dy, 1, 1, colour);
    }
}

} // namespace vorsel
