#include "launcher/gif/BitmapFileImage.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFLimits.h"
#include "launcher/gif/GIFMessages.h"
#include <algorithm>
#include <cstring>

namespace GIFImage {

namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint64_t kInfoHeaderSize = 40;

uint32_t Get32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t Get16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

TPixelFormat FormatOf(uint16_t bits)
{
    switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: throw GIFException(Msg::kUnsupportedPixelFormat);
    }
}

// Bytes of a stored row: the pixels' bits rounded up to a multiple of 32.
uint64_t StoredRowBytes(uint64_t width, uint64_t bits)
{
    return (width * bits + 31) / 32 * 4;
}

} // namespace

Bitmap LoadBitmapFileImage(const uint8_t* data, size_t size)
{
    if (size < kFileHeaderSize + kInfoHeaderSize)
        throw GIFException(Msg::kPrematureEnd);
    if (data[0] != 'B' || data[1] != 'M')
        throw GIFException(Msg::kInvalidData);
    const uint64_t pixelOffset = Get32(data + 10);
    const uint8_t* info = data + kFileHeaderSize;
    const uint64_t infoSize = Get32(info);
    if (infoSize < kInfoHeaderSize)
        throw GIFException(Msg::kInvalidData);
    if (kFileHeaderSize + infoSize > size)
        throw GIFException(Msg::kPrematureEnd);
    const int32_t width = int32_t(Get32(info + 4));
    const int32_t storedHeight = int32_t(Get32(info + 8));
    const uint16_t planes = Get16(info + 12);
    const uint16_t bits = Get16(info + 14);
    const uint32_t compression = Get32(info + 16);
    const uint32_t colorsUsed = Get32(info + 32);
    if (planes != 1)
        throw GIFException(Msg::kInvalidData);
    const TPixelFormat format = FormatOf(bits);
    if (compression != 0)
        throw GIFException(Msg::kUnsupportedPixelFormat);
    // A negative height marks top-down rows; its size is taken in 64 bits so
    // the most negative value has one too.
    const bool topDown = storedHeight < 0;
    const uint64_t height = topDown ? uint64_t(-int64_t(storedHeight)) : uint64_t(storedHeight);
    if (width <= 0 || height == 0 || uint64_t(width) * height > GIFLimits::kMaxFramePixels)
        throw GIFException(Msg::kInvalidDimensions);

    const uint64_t tableStart = kFileHeaderSize + infoSize;
    uint64_t colors = 0;
    if (bits <= 8) {
        const uint64_t capacity = uint64_t(1) << bits;
        colors = colorsUsed == 0 ? capacity : colorsUsed;
        if (colors > capacity)
            throw GIFException(Msg::kInvalidData);
        if (tableStart + colors * 4 > size)
            throw GIFException(Msg::kPrematureEnd);
    }
    if (pixelOffset < tableStart + colors * 4)
        throw GIFException(Msg::kInvalidData);
    const uint64_t stride = StoredRowBytes(uint64_t(width), bits);
    if (pixelOffset > size || stride * height > size - pixelOffset)
        throw GIFException(Msg::kPrematureEnd);

    Bitmap bitmap(width, int(height), format);
    Palette palette;
    for (uint64_t i = 0; i < colors; ++i) {
        const uint8_t* quad = data + tableStart + i * 4;
        palette.Add(TGIFColor{quad[2], quad[1], quad[0]});
    }
    bitmap.SetPalette(palette);
    const size_t rowBytes = size_t(bitmap.RowBytes());
    for (uint64_t row = 0; row < height; ++row) {
        const int y = int(topDown ? row : height - 1 - row);
        std::memcpy(bitmap.ScanLine(y), data + pixelOffset + row * stride, rowBytes);
    }
    return bitmap;
}

std::vector<uint8_t> SaveBitmapFileImage(const Bitmap& bitmap)
{
    const TPixelFormat format = bitmap.PixelFormat();
    if (format == pf16bit)
        throw GIFException(Msg::kUnsupportedPixelFormat);
    if (bitmap.Empty())
        throw GIFException(Msg::kInvalidDimensions);
    const int bits = Bitmap::BitsOf(format);
    const uint32_t capacity = bits <= 8 ? uint32_t(1) << bits : 0;
    const uint32_t colors = std::min(uint32_t(bitmap.GetPalette().Count()), capacity);
    const uint64_t stride = StoredRowBytes(uint64_t(bitmap.Width()), uint64_t(bits));
    const uint64_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + uint64_t(colors) * 4;
    const uint64_t pixelBytes = stride * uint64_t(bitmap.Height());

    std::vector<uint8_t> out;
    out.reserve(size_t(pixelOffset + pixelBytes));
    out.push_back('B');
    out.push_back('M');
    Put32(out, uint32_t(pixelOffset + pixelBytes));
    Put32(out, 0);
    Put32(out, uint32_t(pixelOffset));
    Put32(out, uint32_t(kInfoHeaderSize));
    Put32(out, uint32_t(bitmap.Width()));
    Put32(out, uint32_t(bitmap.Height()));
    Put16(out, 1);
    Put16(out, uint16_t(bits));
    Put32(out, 0); // no compression
    Put32(out, uint32_t(pixelBytes));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, colors);
    Put32(out, colors);
    for (uint32_t i = 0; i < colors; ++i) {
        const TGIFColor& c = bitmap.GetPalette().Entries[i];
        out.insert(out.end(), {c.Blue, c.Green, c.Red, 0});
    }
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        const uint8_t* row = bitmap.ScanLine(y);
        out.insert(out.end(), row, row + bitmap.RowBytes());
        out.resize(out.size() + size_t(stride) - size_t(bitmap.RowBytes()), 0);
    }
    return out;
}

} // namespace GIFImage
