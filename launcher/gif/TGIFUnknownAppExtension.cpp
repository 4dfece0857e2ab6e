#include "launcher/gif/TGIFUnknownAppExtension.h"
#include "launcher/gif/StreamIO.h"

namespace GIFImage {

const TGIFExtensionClass TGIFUnknownAppExtension::Class{"TGIFUnknownAppExtension",
    &TGIFApplicationExtension::Class,
    [](TGIFSubImage* f) -> std::unique_ptr<TGIFExtension> { return std::make_unique<TGIFUnknownAppExtension>(f); },
    nullptr};

void TGIFUnknownAppExtension::LoadData(Stream& s)
{
    fBlocks.clear();
    std::vector<uint8_t> block;
    while (StreamIO::ReadSubBlock(s, block))
        fBlocks.push_back(block);
}

void TGIFUnknownAppExtension::SaveData(Stream& s)
{
    for (const auto& block : fBlocks) {
        if (block.empty())
            continue;
        StreamIO::WriteUInt8(s, uint8_t(block.size()));
        StreamIO::WriteBytes(s, block.data(), block.size());
    }
    StreamIO::WriteUInt8(s, 0);
}

} // namespace GIFImage
