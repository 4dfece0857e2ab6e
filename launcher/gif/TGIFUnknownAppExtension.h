#pragma once
#include "launcher/gif/TGIFApplicationExtension.h"
#include <vector>

namespace GIFImage {

// Application data of an unregistered application, kept block by block.
class TGIFUnknownAppExtension : public TGIFApplicationExtension {
public:
    static const TGIFExtensionClass Class;
    using TGIFApplicationExtension::TGIFApplicationExtension;
    const TGIFExtensionClass& ClassOf() const override { return Class; }
    std::vector<std::vector<uint8_t>>& Blocks() { return fBlocks; }

protected:
    void SaveData(Stream& s) override;
    void LoadData(Stream& s) override;

private:
    std::vector<std::vector<uint8_t>> fBlocks;
};

} // namespace GIFImage
