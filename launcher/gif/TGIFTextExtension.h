#pragma once
#include "launcher/gif/TGIFExtension.h"
#include <string>
#include <vector>

namespace GIFImage {

struct TGIFPlainTextExtensionRec {
    uint8_t BlockSize = 12;
    uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
    uint8_t CellWidth = 0, CellHeight = 0, TextFGColorIndex = 0, TextBGColorIndex = 0;
};

// Plain text block (0x01): a text grid over the frame.
class TGIFTextExtension : public TGIFExtension {
public:
    static const TGIFExtensionClass Class;
    using TGIFExtension::TGIFExtension;
    uint8_t ExtensionType() const override { return 0x01; }
    const TGIFExtensionClass& ClassOf() const override { return Class; }

    TGIFPlainTextExtensionRec& Record() { return fRec; }
    int Left() const { return fRec.Left; }
    int Top() const { return fRec.Top; }
    int GridWidth() const { return fRec.Width; }
    int GridHeight() const { return fRec.Height; }
    int CharWidth() const { return fRec.CellWidth; }
    int CharHeight() const { return fRec.CellHeight; }
    int ForegroundColorIndex() const { return fRec.TextFGColorIndex; }
    int BackgroundColorIndex() const { return fRec.TextBGColorIndex; }
    // Both colours come from the frame's active table.
    TColor ForegroundColor() const;
    TColor BackgroundColor() const;
    void SetForegroundColor(TColor color);
    void SetBackgroundColor(TColor color);
    std::vector<std::string>& Text() { return fText; }

    void LoadFromStream(Stream& s) override;
    void SaveToStream(Stream& s) override;

private:
    TGIFPlainTextExtensionRec fRec;
    std::vector<std::string> fText;
};

} // namespace GIFImage
