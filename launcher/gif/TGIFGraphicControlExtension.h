#pragma once
#include "launcher/gif/TGIFExtension.h"

namespace GIFImage {

struct TGIFGCERec {
    uint8_t BlockSize = 4, PackedFields = 0;
    uint16_t DelayTime = 0;
    uint8_t TransparentColorIndex = 0, Terminator = 0;
};

// Graphic control block (0xF9): delay, disposal and transparency of a frame.
class TGIFGraphicControlExtension : public TGIFExtension {
public:
    static const TGIFExtensionClass Class;
    // Becomes the frame's graphic control block when it has none yet.
    explicit TGIFGraphicControlExtension(TGIFSubImage* subImage);
    ~TGIFGraphicControlExtension() override;
    uint8_t ExtensionType() const override { return 0xF9; }
    const TGIFExtensionClass& ClassOf() const override { return Class; }

    bool Transparent() const { return fRec.PackedFields & 0x01; }
    void SetTransparent(bool value);
    bool UserInput() const { return fRec.PackedFields & 0x02; }
    void SetUserInput(bool value);
    TDisposalMethod Disposal() const
    {
        int d = (fRec.PackedFields >> 2) & 7;
        return d <= 3 ? TDisposalMethod(d) : TDisposalMethod::dmNone;
    }
    void SetDisposal(TDisposalMethod value);
    int Delay() const { return fRec.DelayTime; }
    void SetDelay(int value) { fRec.DelayTime = uint16_t(value); }
    int TransparentColorIndex() const { return fRec.TransparentColorIndex; }
    void SetTransparentColorIndex(int index);
    // Stores the index unchecked (while tables are being rebuilt).
    void SetTransparentColorIndexRaw(uint8_t index) { fRec.TransparentColorIndex = index; }
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    const TGIFGCERec& Record() const { return fRec; }

    void LoadFromStream(Stream& s) override;
    void SaveToStream(Stream& s) override;

private:
    TGIFGCERec fRec;
};

} // namespace GIFImage
