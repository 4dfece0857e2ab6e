#include "launcher/gif/TGIFTextExtension.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TGIFSubImage.h"
#include "launcher/gif/TextSubBlocks.h"

namespace GIFImage {

const TGIFExtensionClass TGIFTextExtension::Class{"TGIFTextExtension", nullptr,
    [](TGIFSubImage* f) -> std::unique_ptr<TGIFExtension> { return std::make_unique<TGIFTextExtension>(f); },
    nullptr};

TColor TGIFTextExtension::ForegroundColor() const
{
    return RGB2Color(fSubImage->ActiveColorMap().ColorAt(fRec.TextFGColorIndex));
}

TColor TGIFTextExtension::BackgroundColor() const
{
    return RGB2Color(fSubImage->ActiveColorMap().ColorAt(fRec.TextBGColorIndex));
}

void TGIFTextExtension::SetForegroundColor(TColor color)
{
    fRec.TextFGColorIndex = uint8_t(fSubImage->ActiveColorMap().AddUnique(Color2RGB(color)));
}

void TGIFTextExtension::SetBackgroundColor(TColor color)
{
    fRec.TextBGColorIndex = uint8_t(fSubImage->ActiveColorMap().AddUnique(Color2RGB(color)));
}

void TGIFTextExtension::LoadFromStream(Stream& s)
{
    ReadIntroducer(s);
    uint8_t r[13];
    StreamIO::ReadExactly(s, r, 13);
    fRec.BlockSize = r[0];
    fRec.Left = uint16_t(r[1] | r[2] << 8);
    fRec.Top = uint16_t(r[3] | r[4] << 8);
    fRec.Width = uint16_t(r[5] | r[6] << 8);
    fRec.Height = uint16_t(r[7] | r[8] << 8);
    fRec.CellWidth = r[9];
    fRec.CellHeight = r[10];
    fRec.TextFGColorIndex = r[11];
    fRec.TextBGColorIndex = r[12];
    fText = TextSubBlocks::Read(s);
}

void TGIFTextExtension::SaveToStream(Stream& s)
{
    WriteIntroducer(s);
    StreamIO::WriteUInt8(s, fRec.BlockSize);
    StreamIO::WriteUInt16(s, fRec.Left);
    StreamIO::WriteUInt16(s, fRec.Top);
    StreamIO::WriteUInt16(s, fRec.Width);
    StreamIO::WriteUInt16(s, fRec.Height);
    const uint8_t cells[4] = {fRec.CellWidth, fRec.CellHeight, fRec.TextFGColorIndex, fRec.TextBGColorIndex};
    StreamIO::WriteBytes(s, cells, 4);
    TextSubBlocks::Write(s, fText);
}

} // namespace GIFImage
