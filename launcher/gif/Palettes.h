#pragma once
#include "launcher/gif/Bitmap.h"
#include "launcher/gif/Palette.h"

// The fixed palettes of colour reduction and drawing.
namespace GIFImage::Palettes {

// 216 entries: entry 36 i + 6 j + k is (51 i, 51 j, 51 k).
Palette Web();
// The 20 colours of the system's default palette (first 10, last 10).
Palette System20();
// Our halftone palette: the 20 system colours, the 216 web colours, 20 greys.
Palette Halftone();
// Four greys: 0, 85, 170, 255.
Palette Gray4();
Palette Monochrome();
// Entry i is (i, i, i).
Palette GrayScale();
// colors entries from the octree of the picture, after the 20 system colours
// when withSystemColors (then 256 entries in all).
Palette Quantized(const Bitmap& picture, int colors, bool withSystemColors);

} // namespace GIFImage::Palettes
