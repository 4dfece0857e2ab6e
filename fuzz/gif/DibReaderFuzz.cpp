// Bitmap file images over any bytes: a damaged image is a GIFException and
// nothing else may escape; a good one reads through TDIBReader in its own and
// in 24 bits, and saved again it loads back to the same pixels.
#include "launcher/gif/BitmapFileImage.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/TDIBReader.h"
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace GIFImage;
    Bitmap bitmap;
    try {
        bitmap = LoadBitmapFileImage(data, size);
    } catch (const GIFException&) {
        return 0;
    }
    const std::vector<uint8_t> saved = SaveBitmapFileImage(bitmap);
    Bitmap again = LoadBitmapFileImage(saved.data(), saved.size());
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()
        || again.PixelFormat() != bitmap.PixelFormat())
        std::abort();
    TDIBReader own(bitmap, bitmap.PixelFormat());
    for (int y = 0; y < bitmap.Height(); ++y)
        if (std::memcmp(own.ScanLine(y), again.ScanLine(y), size_t(bitmap.RowBytes())) != 0)
            std::abort();
    TDIBReader colour(again, pf24bit);
    unsigned sum = 0;
    for (int y = 0; y < again.Height(); ++y)
        sum += colour.ScanLine(y)[size_t(again.RowBytes()) - 1];
    (void)sum;
    return 0;
}
