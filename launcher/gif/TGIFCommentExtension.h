#pragma once
#include "launcher/gif/TGIFExtension.h"
#include <string>
#include <vector>

namespace GIFImage {

// Comment block (0xFE): text lines.
class TGIFCommentExtension : public TGIFExtension {
public:
    static const TGIFExtensionClass Class;
    using TGIFExtension::TGIFExtension;
    uint8_t ExtensionType() const override { return 0xFE; }
    const TGIFExtensionClass& ClassOf() const override { return Class; }
    std::vector<std::string>& Text() { return fText; }
    void LoadFromStream(Stream& s) override;
    void SaveToStream(Stream& s) override;

private:
    std::vector<std::string> fText;
};

} // namespace GIFImage
