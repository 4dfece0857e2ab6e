#include "launcher/gif/TDIBReader.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"

namespace GIFImage {

namespace {

bool Indexed(TPixelFormat format)
{
    return format == pf1bit || format == pf4bit || format == pf8bit;
}

// Whether every pixel of an indexed bitmap fits the given indexed format.
bool IndicesFit(const Bitmap& bitmap, TPixelFormat format)
{
    const int limit = 1 << Bitmap::BitsOf(format);
    if (Bitmap::BitsOf(bitmap.PixelFormat()) <= Bitmap::BitsOf(format))
        return true;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.PixelIndex(x, y) >= limit)
                return false;
    return true;
}

} // namespace

TDIBReader::TDIBReader(Bitmap& bitmap, TPixelFormat format) : fBitmap(bitmap), fFormat(format)
{
    if (format == pf16bit)
        throw GIFException(Msg::kUnsupportedPixelFormat);
    // The bitmap's own conversion keeps only the low bits of an index and
    // has no colour-to-index mapping: refuse rather than hand out wrong rows.
    if (Indexed(format) && !bitmap.Empty()
        && (!Indexed(bitmap.PixelFormat()) || !IndicesFit(bitmap, format)))
        throw GIFException(Msg::kUnsupportedPixelFormat);
    bitmap.SetPixelFormat(format);
}

const uint8_t* TDIBReader::ScanLine(int n) const
{
    if (fBitmap.Empty())
        throw GraphicError(Msg::kNoDIB);
    if (n < 0 || n >= fBitmap.Height())
        throw GraphicError(Msg::kScanLineRange);
    return fBitmap.ScanLine(n);
}

} // namespace GIFImage
