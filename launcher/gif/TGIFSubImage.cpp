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
    FreeBitmap();
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
    FreeBitmap();
    uint64_t size = uint64_t(Width()) * uint64_t(Height());
    if (size > (fGIFImage ? fGIFImage->MaxFramePixels() : GIFLimits::kMaxFramePixels))
        throw GIFException(Msg::kInvalidDimensions);
    fData.assign(size_t(size), fill);
}

void TGIFSubImage::SetData(std::vector<uint8_t> pixels)
{
    FreeBitmap();
    if (pixels.size() != size_t(Width()) * size_t(Height()))
        throw GIFException(Msg::kInvalidDimensions);
    fData = std::move(pixels);
}

void TGIFSubImage::Clear()
{
    FreeBitmap();
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
        fDescriptor.PackedFields = uint8_t(0x80 | (fColorMap.Optimized() ? 0x20 : 0) | (fDescriptor.PackedFields & 0x40)
                                           | (ColorResolution() & 7));
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

namespace GIFImage {

void TGIFSubImage::Crop()
{
    FreeBitmap();
    if (Empty() || !Transparent() || !fGraphicControlExtension)
        return;
    const uint8_t t = uint8_t(fGraphicControlExtension->TransparentColorIndex());
    const int w = Width(), h = Height();
    auto opaqueColumn = [&](int x, int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            if (fData[size_t(y) * size_t(w) + size_t(x)] != t)
                return true;
        return false;
    };
    auto opaqueRow = [&](int y, int left, int right) {
        for (int x = left; x < right; ++x)
            if (fData[size_t(y) * size_t(w) + size_t(x)] != t)
                return true;
        return false;
    };
    int left = 0, right = w, top = 0, bottom = h;
    while (left < right && !opaqueColumn(left, 0, h))
        ++left;
    if (left == right) {
        Clear();
        return;
    }
    while (!opaqueColumn(right - 1, 0, h))
        --right;
    while (!opaqueRow(top, left, right))
        ++top;
    while (!opaqueRow(bottom - 1, left, right))
        --bottom;
    if (left == 0 && top == 0 && right == w && bottom == h)
        return;
    std::vector<uint8_t> cropped;
    cropped.reserve(size_t(right - left) * size_t(bottom - top));
    for (int y = top; y < bottom; ++y)
        cropped.insert(cropped.end(), fData.begin() + y * w + left, fData.begin() + y * w + right);
    fDescriptor.Left = uint16_t(Left() + left);
    fDescriptor.Top = uint16_t(Top() + top);
    fDescriptor.Width = uint16_t(right - left);
    fDescriptor.Height = uint16_t(bottom - top);
    fData = std::move(cropped);
}

void TGIFSubImage::Merge(TGIFSubImage* previous)
{
    FreeBitmap();
    if (!previous || Empty() || previous->Empty())
        return;
    TGIFGraphicControlExtension* prevGce = previous->GraphicControlExtension();
    if (prevGce && (prevGce->Disposal() == TDisposalMethod::dmBackground
                       || prevGce->Disposal() == TDisposalMethod::dmPrevious))
        return;
    const int left = std::max(Left(), previous->Left()), top = std::max(Top(), previous->Top());
    const int right = std::min(Left() + Width(), previous->Left() + previous->Width());
    const int bottom = std::min(Top() + Height(), previous->Top() + previous->Height());
    if (left >= right || top >= bottom)
        return;
    TGIFColorMap& map = ActiveColorMap();
    const TGIFColorMap& prevMap = previous->ActiveColorMap();
    const bool wasTransparent = Transparent() && fGraphicControlExtension;
    int index = wasTransparent ? fGraphicControlExtension->TransparentColorIndex() : -1;
    if (!wasTransparent && (map.Count() < 1 || map.Count() > 255))
        return;
    const int prevTransparent = previous->Transparent() && prevGce ? prevGce->TransparentColorIndex() : -1;
    auto usesIndex = [&](int value) {
        return std::find(fData.begin(), fData.end(), uint8_t(value)) != fData.end();
    };
    auto chooseIndex = [&]() -> int {
        if (fColorMap.Count() > 0)
            return fColorMap.Add(TGIFColor{});
        // Another frame's transparent index in the global table serves only
        // when this frame does not use it as a colour.
        if (fGIFImage)
            for (int i = 0; i < fGIFImage->Images().Count(); ++i) {
                TGIFSubImage* other = fGIFImage->Images().SubImage(i);
                TGIFGraphicControlExtension* g = other->GraphicControlExtension();
                if (other != this && other->ColorMap().Count() == 0 && other->Transparent() && g
                    && !usesIndex(g->TransparentColorIndex()))
                    return g->TransparentColorIndex();
            }
        return map.Count() < 256 ? map.Add(TGIFColor{}) : -1;
    };
    for (int y = top; y < bottom; ++y) {
        uint8_t* row = fData.data() + size_t(y - Top()) * size_t(Width());
        const uint8_t* prevRow = previous->Data() + size_t(y - previous->Top()) * size_t(previous->Width());
        for (int x = left; x < right; ++x) {
            uint8_t& p = row[x - Left()];
            const uint8_t q = prevRow[x - previous->Left()];
            if (p == index || q == prevTransparent)
                continue;
            bool same = &map == &prevMap ? p == q
                                         : p < map.Count() && q < prevMap.Count() && map.Data()[p] == prevMap.Data()[q];
            if (!same)
                continue;
            if (index < 0 && (index = chooseIndex()) < 0)
                return;
            p = uint8_t(index);
        }
    }
    if (!wasTransparent && index >= 0) {
        TGIFGraphicControlExtension* gce = fGraphicControlExtension;
        if (!gce) {
            fExtensions.Add(std::make_unique<TGIFGraphicControlExtension>(this));
            gce = fGraphicControlExtension;
        }
        gce->SetTransparentColorIndexRaw(uint8_t(index));
        gce->SetTransparent(true);
    }
}

} // namespace GIFImage
