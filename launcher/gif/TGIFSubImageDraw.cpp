// Drawing of a frame onto a canvas.
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"
#include <algorithm>

namespace GIFImage {

TRect TGIFSubImage::PlaceIn(const TRect& rect) const
{
    const int iw = fGIFImage && fGIFImage->Width() > 0 ? fGIFImage->Width() : Width();
    const int ih = fGIFImage && fGIFImage->Height() > 0 ? fGIFImage->Height() : Height();
    return TRect{rect.Left + MulDiv(Left(), rect.Width(), iw), rect.Top + MulDiv(Top(), rect.Height(), ih),
        rect.Left + MulDiv(Left() + Width(), rect.Width(), iw), rect.Top + MulDiv(Top() + Height(), rect.Height(), ih)};
}

void TGIFSubImage::Draw(Bitmap& canvas, const TRect& rect, bool transparent, bool tile) const
{
    if (Empty())
        return;
    const TRect whole{0, 0, canvas.Width(), canvas.Height()};
    if (!tile) {
        DrawAt(canvas, PlaceIn(rect), whole, transparent);
        return;
    }
    // Copies of the frame at its size, at steps of the image's size, inside rect.
    const int iw = fGIFImage && fGIFImage->Width() > 0 ? fGIFImage->Width() : Width();
    const int ih = fGIFImage && fGIFImage->Height() > 0 ? fGIFImage->Height() : Height();
    const TRect clip{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, whole.Right),
        std::min(rect.Bottom, whole.Bottom)};
    for (int64_t y = int64_t(rect.Top) + Top(); y < clip.Bottom; y += ih)
        for (int64_t x = int64_t(rect.Left) + Left(); x < clip.Right; x += iw)
            if (x + Width() > clip.Left && y + Height() > clip.Top)
                DrawAt(canvas, TRect{int(x), int(y), int(x) + Width(), int(y) + Height()}, clip, transparent);
}

void TGIFSubImage::DrawAt(Bitmap& canvas, const TRect& place, const TRect& clip, bool transparent) const
{
    if (place.Width() <= 0 || place.Height() <= 0)
        return;
    // Every index reads a colour: entries past the table are black.
    uint32_t colours[256] = {};
    const TGIFColorMap& map = ActiveColorMap();
    for (int i = 0; i < map.Count(); ++i)
        colours[i] = RGB2Color(map.Data()[i]);
    const int skip = transparent && fTransparent && fGraphicControlExtension
        ? fGraphicControlExtension->TransparentColorIndex() : -1;
    const int x0 = std::max({place.Left, clip.Left, 0}), x1 = std::min({place.Right, clip.Right, canvas.Width()});
    const int y0 = std::max({place.Top, clip.Top, 0}), y1 = std::min({place.Bottom, clip.Bottom, canvas.Height()});
    for (int y = y0; y < y1; ++y) {
        const int sy = int(int64_t(y - place.Top) * Height() / place.Height());
        const uint8_t* row = fData.data() + size_t(sy) * size_t(Width());
        for (int x = x0; x < x1; ++x) {
            const uint8_t p = row[int64_t(x - place.Left) * Width() / place.Width()];
            if (p == skip)
                continue;
            canvas.SetPixelColor(x, y, Color2RGB(colours[p]));
        }
    }
}

} // namespace GIFImage
