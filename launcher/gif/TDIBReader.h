#pragma once
#include "launcher/gif/Bitmap.h"

namespace GIFImage {

// Reads a picture row by row in a chosen pixel format: the bitmap is switched
// to that format and each row handed out is the bitmap's own.
class TDIBReader {
public:
    // 16 bits, or an indexed format the pixels do not fit (true colour to
    // indexed, or an index past the narrower format), raise "Unsupported
    // PixelFormat"; the bitmap is then left as it was.
    TDIBReader(Bitmap& bitmap, TPixelFormat format);
    // Row n from the top; an empty bitmap raises "Image has no DIB", a row
    // outside the picture "Scan line index out of range".
    const uint8_t* ScanLine(int n) const;
    Bitmap& GetBitmap() const { return fBitmap; }
    TPixelFormat PixelFormat() const { return fFormat; }

private:
    Bitmap& fBitmap;
    TPixelFormat fFormat;
};

} // namespace GIFImage
