#pragma once
#include "launcher/gif/Bitmap.h"

namespace GIFImage::fixtures {

// A w x h picture whose pixels differ from their neighbours: indices
// (x + 3y) mod colours under a palette of that many entries, or colours made
// from x and y.
inline Bitmap BitmapPattern(int w, int h, TPixelFormat format, int colours)
{
    Bitmap b(w, h, format);
    Palette p;
    for (int i = 0; i < colours; ++i)
        p.Add(TGIFColor{uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 5)});
    b.SetPalette(p);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (format == pf24bit || format == pf32bit)
                b.SetPixelColor(x, y, TGIFColor{uint8_t(x * 40), uint8_t(y * 30), uint8_t(x ^ y)});
            else
                b.SetPixelIndex(x, y, (x + 3 * y) % colours);
        }
    return b;
}

} // namespace GIFImage::fixtures
