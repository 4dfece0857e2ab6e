#include "launcher/gif/TGIFSubImage.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFLimits.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TGIFDecoder.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFEncoder.h"
#include <algorithm>

namespace GIFImage {

TGIFSubImage::TGIFSubImage(TGIFImage* image)
    : TGIFItem(image), fColorMap(this), fExtensions(image)
{
}

TGIFSubImage::~TGIFSubImage()
{
    fExtensions.Clear();
}

void TGIFSubImage::SetBounds(int left, int top, int width, int height)
{
    left = std::clamp(left, 0, 65535);
    top = std::clamp(top, 0, 65535);
    width = std::clamp(width, 0, 65535);
    height = std::clamp(height, 0, 65535);
    bool resized = width != Width() || height != Height();
    fDescriptor.Left = uint16_t(left);
    fDescriptor.Top = uint16_t(top);
    fDescriptor.Width = uint16_t(width);
    fDescriptor.Height = uint16_t(height);
    if (resized) {
        fData.clear();
        AllocatePixels();
    }
    if (fGIFImage)
        fGIFImage->FitScreenTo(*this);
}

TRect TGIFSubImage::BoundsRect() const
{
    return TRect{Left(), Top(), Left() + Width(), Top() + Height()};
}

void TGIFSubImage::SetBoundsRect(const TRect& rect)
{
    SetBounds(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
}

void TGIFSubImage::SetInterlaced(bool value)
{
    fDescriptor.PackedFields = uint8_t(value ? fDescriptor.PackedFields | 0x40 : fDescriptor.PackedFields & ~0x40);
}

TGIFColorMap& TGIFSubImage::ActiveColorMap()
{
    if (fColorMap.Count() > 0 || !fGIFImage || fGIFImage->GlobalColorMap().Count() == 0)
        return fColorMap;
    return fGIFImage->GlobalColorMap();
}

const TGIFColorMap& TGIFSubImage::ActiveColorMap() const
{
    return const_cast<TGIFSubImage*>(this)->ActiveColorMap();
}

TGIFVersion TGIFSubImage::Version() const
{
    return fColorMap.Optimized() || fExtensions.Count() > 0 ? gv89a : gv87a;
}

uint8_t* TGIFSubImage::ScanLine(int y)
{
    if (fData.empty())
        AllocatePixels();
    if (fData.empty())
        throw GIFException(Msg::kImageEmpty);
    if (y < 0 || y >= Height())
        throw GIFException(Msg::kBadPixelCoordinates);
    return fData.data() + size_t(y) * size_t(Width());
}

uint8_t TGIFSubImage::Pixel(int x, int y)
{
    uint8_t* line = ScanLine(y);
    if (x < 0 || x >= Width())
        throw GIFException(Msg::kBadPixelCoordinates);
    return line[x];
}

void TGIFSubImage::SetPixel(int x, int y, uint8_t value)
{
    uint8_t* line = ScanLine(y);
    if (x < 0 || x >= Width())
        throw GIFException(Msg::kBadPixelCoordinates);
    line[x] = value;
}

void TGIFSubImage::AllocatePixels(uint8_t fill)
{
    uint64_t size = uint64_t(Width()) * uint64_t(Height());
    if (size > (fGIFImage ? fGIFImage->MaxFramePixels() : GIFLimits::kMaxFramePixels))
        throw GIFException(Msg::kInvalidDimensions);
    fData.assign(size_t(size), fill);
}

void TGIFSubImage::SetData(std::vector<uint8_t> pixels)
{
    if (pixels.size() != size_t(Width()) * size_t(Height()))
        throw GIFException(Msg::kInvalidDimensions);
    fData = std::move(pixels);
}

void TGIFSubImage::Clear()
{
    fExtensions.Clear();
    fColorMap.Clear();
    fData.clear();
    fDescriptor.Width = 0;
    fDescriptor.Height = 0;
    fTransparent = false;
    fGraphicControlExtension = nullptr;
}

void TGIFSubImage::LoadFromStream(Stream& s)
{
    Clear();
    fExtensions.LoadFromStream(s, this);
    int next = StreamIO::PeekByte(s);
    if (next < 0 || next == ';' || next == 0)
        return; // a frame of extensions only
    uint8_t d[10];
    StreamIO::ReadExactly(s, d, 10);
    fDescriptor.Separator = d[0];
    fDescriptor.Left = uint16_t(d[1] | d[2] << 8);
    fDescriptor.Top = uint16_t(d[3] | d[4] << 8);
    fDescriptor.Width = uint16_t(d[5] | d[6] << 8);
    fDescriptor.Height = uint16_t(d[7] | d[8] << 8);
    fDescriptor.PackedFields = d[9];
    if (fDescriptor.Width == 0 || fDescriptor.Height == 0) {
        fDescriptor.Width = uint16_t(fGIFImage ? fGIFImage->Width() : 0);
        fDescriptor.Height = uint16_t(fGIFImage ? fGIFImage->Height() : 0);
        Warning(gsWarning, Msg::kExceedsScreen);
    }
    if (fDescriptor.PackedFields & 0x80)
        fColorMap.LoadFromStream(s, 2 << (fDescriptor.PackedFields & 7));
    TGIFDecoder::DecodeFrameData(s, *this);
}

void TGIFSubImage::SaveToStream(Stream& s)
{
    fExtensions.SaveToStream(s);
    if (Empty())
        return;
    if (fColorMap.Count() == 0)
        fDescriptor.PackedFields &= 0x58;
    else
        fDescriptor.PackedFields = uint8_t(0x80 | (fColorMap.Optimized() ? 0x20 : 0) | (ColorResolution() & 7));
    StreamIO::WriteUInt8(s, 0x2C);
    StreamIO::WriteUInt16(s, fDescriptor.Left);
    StreamIO::WriteUInt16(s, fDescriptor.Top);
    StreamIO::WriteUInt16(s, fDescriptor.Width);
    StreamIO::WriteUInt16(s, fDescriptor.Height);
    StreamIO::WriteUInt8(s, fDescriptor.PackedFields);
    fColorMap.SaveToStream(s);
    int bits, maxColor;
    if (fColorMap.Count() > 0) {
        bits = fColorMap.BitsPerPixel();
        maxColor = fColorMap.Count();
    } else {
        bits = fGIFImage ? fGIFImage->BitsPerPixel() : 8;
        maxColor = 1 << bits;
    }
    TGIFCompression compression = fGIFImage ? fGIFImage->Compression() : gcLZW;
    TGIFWarning warning;
    if (fGIFImage)
        warning = [image = fGIFImage](const void* sender, TGIFSeverity severity, const std::string& m) {
            image->Warning(sender, severity, m);
        };
    TGIFEncoder::Create(compression, warning)
        ->Compress(s, bits, Width(), Height(), Interlaced(), fData.data(), maxColor);
}

} // namespace GIFImage
