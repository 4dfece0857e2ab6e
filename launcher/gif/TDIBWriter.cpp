#include "launcher/gif/TDIBWriter.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"

namespace GIFImage {

TDIBWriter::TDIBWriter(Bitmap& target, TPixelFormat format, int width, int height, const Palette& palette)
    : fTarget(target), fFormat(format), fWidth(width), fHeight(height), fPalette(palette)
{
    if (format != pf8bit && format != pf24bit)
        throw GIFException(Msg::kUnsupportedPixelFormat);
    if (width <= 0 || height <= 0)
        throw GIFException(Msg::kInvalidDimensions);
}

uint8_t* TDIBWriter::ScanLine(int n)
{
    if (n < 0 || n >= fHeight)
        throw GraphicError(Msg::kScanLineRange);
    if (!fMade) {
        fTarget = Bitmap(fWidth, fHeight, fFormat);
        if (fFormat == pf8bit)
            fTarget.SetPalette(fPalette);
        fMade = true;
    }
    return fTarget.ScanLine(n);
}

} // namespace GIFImage
