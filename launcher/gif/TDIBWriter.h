#pragma once
#include "launcher/gif/Bitmap.h"

namespace GIFImage {

// Writes an 8-bit (with palette) or 24-bit picture row by row straight into
// a bitmap; the pixel memory is made at the first row asked for.
class TDIBWriter {
public:
    // Other formats raise "Unsupported PixelFormat", a zero size "Invalid
    // image dimensions".
    TDIBWriter(Bitmap& target, TPixelFormat format, int width, int height, const Palette& palette);
    // Row n from the top; outside the picture: "Scan line index out of range".
    uint8_t* ScanLine(int n);
    int Width() const { return fWidth; }
    int Height() const { return fHeight; }

private:
    Bitmap& fTarget;
    TPixelFormat fFormat;
    int fWidth, fHeight;
    Palette fPalette;
    bool fMade = false;
};

} // namespace GIFImage
