#pragma once
#include "launcher/gif/TGIFGlobalColorMap.h"
#include "launcher/gif/TGIFItem.h"

namespace GIFImage {

struct TLogicalScreenDescriptor {
    uint16_t ScreenWidth = 0, ScreenHeight = 0;
    uint8_t PackedFields = 0, BackgroundColorIndex = 0, AspectRatio = 0;
};

// Signature, logical screen descriptor and global colour table.
class TGIFHeader : public TGIFItem {
public:
    explicit TGIFHeader(TGIFImage* image) : TGIFItem(image), fColorMap(this) {}

    TGIFVersion Version() const override;
    int Width() const { return fDescriptor.ScreenWidth; }
    int Height() const { return fDescriptor.ScreenHeight; }
    void SetWidth(int value) { fDescriptor.ScreenWidth = uint16_t(value); }
    void SetHeight(int value) { fDescriptor.ScreenHeight = uint16_t(value); }
    int BackgroundColorIndex() const { return fDescriptor.BackgroundColorIndex; }
    void SetBackgroundColorIndex(int index);
    TColor BackgroundColor() const;
    void SetBackgroundColor(TColor color);
    int AspectRatio() const { return fDescriptor.AspectRatio; }
    void SetAspectRatio(int value) { fDescriptor.AspectRatio = uint8_t(value); }
    TGIFGlobalColorMap& ColorMap() { return fColorMap; }
    const TGIFGlobalColorMap& ColorMap() const { return fColorMap; }
    int BitsPerPixel() const { return fColorMap.BitsPerPixel(); }
    int ColorResolution() const { return fColorMap.BitsPerPixel() - 1; }
    TLogicalScreenDescriptor& Descriptor() { return fDescriptor; }
    const TLogicalScreenDescriptor& Descriptor() const { return fDescriptor; }

    void Clear();
    void Assign(const TGIFHeader& source);
    void LoadFromStream(Stream& s) override;
    void SaveToStream(Stream& s) override;

private:
    TLogicalScreenDescriptor fDescriptor;
    TGIFGlobalColorMap fColorMap;
};

} // namespace GIFImage
