#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TGIFSubImage.h"

namespace GIFImage {

const TGIFExtensionClass TGIFGraphicControlExtension::Class{"TGIFGraphicControlExtension", nullptr,
    [](TGIFSubImage* f) -> std::unique_ptr<TGIFExtension> {
        return std::make_unique<TGIFGraphicControlExtension>(f);
    },
    nullptr};

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* subImage)
    : TGIFExtension(subImage)
{
    if (fSubImage && !fSubImage->GraphicControlExtension())
        fSubImage->SetGraphicControlExtension(this);
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension()
{
    // Only the linked block speaks for the frame's transparency.
    if (fSubImage && fSubImage->GraphicControlExtension() == this) {
        if (Transparent())
            fSubImage->SetTransparentFlag(false);
        fSubImage->SetGraphicControlExtension(nullptr);
    }
}

void TGIFGraphicControlExtension::SetTransparent(bool value)
{
    fRec.PackedFields = uint8_t(value ? fRec.PackedFields | 0x01 : fRec.PackedFields & ~0x01);
    if (fSubImage)
        fSubImage->SetTransparentFlag(value);
}

void TGIFGraphicControlExtension::SetUserInput(bool value)
{
    fRec.PackedFields = uint8_t(value ? fRec.PackedFields | 0x02 : fRec.PackedFields & ~0x02);
}

void TGIFGraphicControlExtension::SetDisposal(TDisposalMethod value)
{
    fRec.PackedFields = uint8_t((fRec.PackedFields & ~0x1C) | (uint8_t(value) << 2));
}

void TGIFGraphicControlExtension::SetTransparentColorIndex(int index)
{
    const TGIFColorMap& map = fSubImage->ActiveColorMap();
    if (map.Count() > 0 && (index < 0 || index >= map.Count())) {
        Warning(gsWarning, Msg::kInvalidColorIndex);
        index = 0;
    }
    fRec.TransparentColorIndex = uint8_t(index);
}

TColor TGIFGraphicControlExtension::TransparentColor() const
{
    return RGB2Color(fSubImage->ActiveColorMap().ColorAt(fRec.TransparentColorIndex));
}

void TGIFGraphicControlExtension::SetTransparentColor(TColor color)
{
    fRec.TransparentColorIndex = uint8_t(fSubImage->ActiveColorMap().AddUnique(Color2RGB(color)));
}

void TGIFGraphicControlExtension::LoadFromStream(Stream& s)
{
    ReadIntroducer(s);
    uint8_t r[6] = {};
    size_t n = s.Read(r, 6);
    fRec.BlockSize = r[0];
    fRec.PackedFields = r[1];
    fRec.DelayTime = uint16_t(r[2] | r[3] << 8);
    fRec.TransparentColorIndex = r[4];
    fRec.Terminator = r[5];
    if (n < 6)
        Warning(gsWarning, Msg::kPrematureEnd);
    else if (Transparent() && fSubImage)
        fSubImage->SetTransparentFlag(true);
}

void TGIFGraphicControlExtension::SaveToStream(Stream& s)
{
    WriteIntroducer(s);
    const uint8_t r[6] = {fRec.BlockSize, fRec.PackedFields, uint8_t(fRec.DelayTime), uint8_t(fRec.DelayTime >> 8),
        fRec.TransparentColorIndex, fRec.Terminator};
    StreamIO::WriteBytes(s, r, 6);
}

} // namespace GIFImage
