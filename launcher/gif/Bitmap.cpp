#include "launcher/gif/Bitmap.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include <algorithm>

namespace GIFImage {

int Bitmap::BitsOf(TPixelFormat format)
{
    static const int kBits[] = {1, 4, 8, 16, 24, 32};
    return kBits[format];
}

Bitmap::Bitmap(int width, int height, TPixelFormat format)
    : fWidth(width < 0 ? 0 : width), fHeight(height < 0 ? 0 : height), fFormat(format)
{
    if (format == pf16bit)
        throw GIFException(Msg::kUnsupportedPixelFormat);
    fRowBytes = (fWidth * BitsOf(format) + 7) / 8;
    fBits.assign(size_t(fRowBytes) * size_t(fHeight), 0);
}

int Bitmap::PixelIndex(int x, int y) const
{
    const uint8_t* row = ScanLine(y);
    switch (fFormat) {
    case pf1bit:
        return row[x >> 3] >> (7 - (x & 7)) & 1;
    case pf4bit:
        return x & 1 ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case pf8bit:
        return row[x];
    default:
        return 0;
    }
}

void Bitmap::SetPixelIndex(int x, int y, int index)
{
    uint8_t* row = ScanLine(y);
    switch (fFormat) {
    case pf1bit: {
        uint8_t bit = uint8_t(0x80 >> (x & 7));
        row[x >> 3] = uint8_t(index & 1 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
        break;
    }
    case pf4bit:
        row[x >> 1] = uint8_t(x & 1 ? (row[x >> 1] & 0xF0) | (index & 15) : (row[x >> 1] & 0x0F) | (index & 15) << 4);
        break;
    case pf8bit:
        row[x] = uint8_t(index);
        break;
    default:
        break;
    }
}

TGIFColor Bitmap::PixelColor(int x, int y) const
{
    if (fFormat == pf24bit || fFormat == pf32bit) {
        const uint8_t* p = ScanLine(y) + size_t(x) * (fFormat == pf24bit ? 3 : 4);
        return TGIFColor{p[2], p[1], p[0]};
    }
    int index = PixelIndex(x, y);
    return index < fPalette.Count() ? fPalette.Entries[size_t(index)] : TGIFColor{};
}

void Bitmap::SetPixelColor(int x, int y, TGIFColor c)
{
    if (fFormat != pf24bit && fFormat != pf32bit)
        return;
    uint8_t* p = ScanLine(y) + size_t(x) * (fFormat == pf24bit ? 3 : 4);
    p[0] = c.Blue;
    p[1] = c.Green;
    p[2] = c.Red;
}

void Bitmap::CopyRect(int dx, int dy, const Bitmap& source, int sx, int sy, int w, int h)
{
    for (int y = 0; y < h; ++y) {
        int ty = dy + y, fy = sy + y;
        if (ty < 0 || ty >= fHeight || fy < 0 || fy >= source.fHeight)
            continue;
        for (int x = 0; x < w; ++x) {
            int tx = dx + x, fx = sx + x;
            if (tx >= 0 && tx < fWidth && fx >= 0 && fx < source.fWidth)
                SetPixelColor(tx, ty, source.PixelColor(fx, fy));
        }
    }
}

void Bitmap::StretchRect(const TRect& dest, const Bitmap& source, const TRect& src)
{
    const int dw = dest.Width(), dh = dest.Height(), sw = src.Width(), sh = src.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    for (int y = std::max(dest.Top, 0); y < std::min(dest.Bottom, fHeight); ++y) {
        const int fy = src.Top + int(int64_t(y - dest.Top) * sh / dh);
        if (fy < 0 || fy >= source.fHeight)
            continue;
        for (int x = std::max(dest.Left, 0); x < std::min(dest.Right, fWidth); ++x) {
            const int fx = src.Left + int(int64_t(x - dest.Left) * sw / dw);
            if (fx >= 0 && fx < source.fWidth)
                SetPixelColor(x, y, source.PixelColor(fx, fy));
        }
    }
}

void Bitmap::FillRect(const TRect& rect, TGIFColor color)
{
    for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, fHeight); ++y)
        for (int x = std::max(rect.Left, 0); x < std::min(rect.Right, fWidth); ++x)
            SetPixelColor(x, y, color);
}

void Bitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == fFormat)
        return;
    Bitmap converted(fWidth, fHeight, format);
    converted.fPalette = fPalette;
    bool indexed = format == pf1bit || format == pf4bit || format == pf8bit;
    for (int y = 0; y < fHeight; ++y)
        for (int x = 0; x < fWidth; ++x) {
            if (indexed)
                converted.SetPixelIndex(x, y, PixelIndex(x, y));
            else
                converted.SetPixelColor(x, y, PixelColor(x, y));
        }
    fFormat = format;
    fRowBytes = converted.fRowBytes;
    fBits = std::move(converted.fBits);
}

} // namespace GIFImage
