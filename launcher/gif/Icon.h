#pragma once
#include "launcher/gif/Bitmap.h"

namespace GIFImage {

// An icon: its picture and a mask of the same size (index 1 where the icon
// is transparent), as the launcher's .ico reader gives them.
struct Icon {
    Bitmap Image;
    Bitmap Mask; // 1 bit per pixel
    bool Empty() const { return Image.Empty(); }
};

} // namespace GIFImage
