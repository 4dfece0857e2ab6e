#include "launcher/Canvas.h"

#include <algorithm>

namespace vorsel {

void Canvas::Fill(int x, int y, int w, int h, uint32_t argb) const
{
    const int left = std::max(0, x), top = std::max(0, y);
    const int right = int(std::min<int64_t>(width, int64_t(x) + w));
    const int bottom = int(std::min<int64_t>(height, int64_t(y) + h));
    for (int row = top; row < bottom; ++row)
        std::fill(pixels + int64_t(row) * stride + left, pixels + int64_t(row) * stride + std::max(left, right), argb);
}

void Canvas::Blit(int x, int y, const uint32_t* src, int w, int h, int srcStride) const
{
    for (int row = 0; row < h; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= height)
            continue;
        for (int col = 0; col < w; ++col) {
            const int tx = x + col;
            const uint32_t c = src[int64_t(row) * srcStride + col];
            if (tx >= 0 && tx < width && (c >> 24) != 0)
                pixels[int64_t(ty) * stride + tx] = c;
        }
    }
}

} // namespace vorsel
