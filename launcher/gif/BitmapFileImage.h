#pragma once
#include "launcher/gif/Bitmap.h"
#include <cstddef>
#include <vector>

namespace GIFImage {

// A bitmap file image in memory: the 14-byte "BM" file header, a 40-byte (or
// longer) information header, the colour table and the rows, each padded to
// 32 bits, bottom-up (or top-down for a negative height).
//
// Loading checks every size against the bytes before it allocates or copies:
// a damaged header raises "Invalid GIF data", a bit count other than 1, 4, 8,
// 24, 32 or compression "Unsupported PixelFormat", a width or height of 0 or
// over the unit's frame limit "Invalid image dimensions", a colour table or
// pixels past the end "Premature end of data".
Bitmap LoadBitmapFileImage(const uint8_t* data, size_t size);
// Writes a 1, 4, 8, 24 or 32-bit bitmap as a file image, bottom-up, with its
// palette's entries as the colour table.
std::vector<uint8_t> SaveBitmapFileImage(const Bitmap& bitmap);

} // namespace GIFImage
