#pragma once
#include "launcher/gif/Bitmap.h"
#include "launcher/gif/GIFTypes.h"

namespace GIFImage {

// Reduces a picture to an 8-bit bitmap of the reduction's palette, mapped
// through the ditherer of the mode; rmNone gives a 24-bit copy. An unknown
// reduction or mode gives an empty bitmap.
Bitmap ReduceBitmapColors(const Bitmap& source, TColorReduction reduction, TDitherMode mode,
    const Palette& palette, int reductionBits);

} // namespace GIFImage
