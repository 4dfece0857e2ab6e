#include "launcher/gif/TGIFHeader.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TGIFImage.h"
#include <algorithm>
#include <cctype>

namespace GIFImage {

namespace {

bool IsSignature(const uint8_t* b)
{
    return std::toupper(b[0]) == 'G' && std::toupper(b[1]) == 'I' && std::toupper(b[2]) == 'F';
}

} // namespace

TGIFVersion TGIFHeader::Version() const
{
    return fColorMap.Optimized() || fDescriptor.AspectRatio != 0 ? gv89a : gv87a;
}

void TGIFHeader::SetBackgroundColorIndex(int index)
{
    if (fColorMap.Count() > 0 && (index < 0 || index >= fColorMap.Count())) {
        Warning(gsWarning, Msg::kInvalidColorIndex);
        index = 0;
    }
    fDescriptor.BackgroundColorIndex = uint8_t(index);
}

TColor TGIFHeader::BackgroundColor() const
{
    return RGB2Color(fColorMap.ColorAt(fDescriptor.BackgroundColorIndex));
}

void TGIFHeader::SetBackgroundColor(TColor color)
{
    fDescriptor.BackgroundColorIndex = uint8_t(fColorMap.AddUnique(Color2RGB(color)));
}

void TGIFHeader::Clear()
{
    fColorMap.Clear();
    fDescriptor = TLogicalScreenDescriptor{};
}

void TGIFHeader::Assign(const TGIFHeader& source)
{
    fDescriptor = source.fDescriptor;
    fColorMap.Assign(source.fColorMap);
}

void TGIFHeader::LoadFromStream(Stream& s)
{
    int64_t start = s.Position();
    uint8_t signature[6];
    StreamIO::ReadExactly(s, signature, 6);
    if (!IsSignature(signature)) {
        // A 4-byte length may stand before the signature.
        s.Seek(start + 4);
        StreamIO::ReadExactly(s, signature, 6);
        if (!IsSignature(signature))
            throw GIFException(Msg::kBadSignature);
    }
    uint8_t d[7];
    StreamIO::ReadExactly(s, d, 7);
    fDescriptor.ScreenWidth = uint16_t(d[0] | d[1] << 8);
    fDescriptor.ScreenHeight = uint16_t(d[2] | d[3] << 8);
    fDescriptor.PackedFields = d[4];
    fDescriptor.BackgroundColorIndex = d[5];
    fDescriptor.AspectRatio = d[6];
    if (fDescriptor.PackedFields & 0x80)
        fColorMap.LoadFromStream(s, 2 << (fDescriptor.PackedFields & 7));
    else
        fColorMap.Clear();
}

void TGIFHeader::SaveToStream(Stream& s)
{
    TGIFVersion version = fGIFImage ? fGIFImage->Version() : Version();
    if (version == gvUnknown)
        throw GIFException(Msg::kUnsupportedVersion);
    StreamIO::WriteBytes(s, version == gv87a ? "GIF87a" : "GIF89a", 6);
    int resolution = std::max(0, fGIFImage ? fGIFImage->ColorResolution() : ColorResolution());
    uint8_t packed = uint8_t(resolution << 4 & 0x70);
    if (fColorMap.Count() > 0) {
        packed |= fColorMap.Optimized() ? 0x88 : 0x80;
        // The size field describes the table that is written: its own bits.
        packed |= uint8_t((fColorMap.BitsPerPixel() - 1) & 7);
    }
    fDescriptor.PackedFields = packed;
    StreamIO::WriteUInt16(s, fDescriptor.ScreenWidth);
    StreamIO::WriteUInt16(s, fDescriptor.ScreenHeight);
    StreamIO::WriteUInt8(s, fDescriptor.PackedFields);
    StreamIO::WriteUInt8(s, fDescriptor.BackgroundColorIndex);
    StreamIO::WriteUInt8(s, fDescriptor.AspectRatio);
    if (packed & 0x80)
        fColorMap.SaveToStream(s);
}

} // namespace GIFImage
