#include "launcher/gif/TGIFAppExtNSLoop.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include <vector>

namespace GIFImage {

const TGIFExtensionClass TGIFAppExtNSLoop::Class{"TGIFAppExtNSLoop", &TGIFApplicationExtension::Class,
    [](TGIFSubImage* f) -> std::unique_ptr<TGIFExtension> { return std::make_unique<TGIFAppExtNSLoop>(f); },
    nullptr};

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* subImage) : TGIFApplicationExtension(subImage)
{
    SetIdentifier("NETSCAPE");
    SetAuthentication("2.0");
}

void TGIFAppExtNSLoop::LoadData(Stream& s)
{
    std::vector<uint8_t> block;
    while (StreamIO::ReadSubBlock(s, block)) {
        const int size = int(block.size());
        int id = block[0] & 7;
        if (id == 1) {
            if (size < 3)
                throw GIFException(Msg::kInvalidData);
            fLoops = uint16_t(block[1] | block[2] << 8);
        } else if (id == 2) {
            if (size < 5)
                throw GIFException(Msg::kInvalidData);
            fBufferSize = uint32_t(block[1]) | uint32_t(block[2]) << 8 | uint32_t(block[3]) << 16
                | uint32_t(block[4]) << 24;
        }
    }
}

void TGIFAppExtNSLoop::SaveData(Stream& s)
{
    StreamIO::WriteUInt8(s, 3);
    StreamIO::WriteUInt8(s, 1);
    StreamIO::WriteUInt16(s, fLoops);
    if (fBufferSize != 0) {
        StreamIO::WriteUInt8(s, 5);
        StreamIO::WriteUInt8(s, 2);
        StreamIO::WriteUInt32(s, fBufferSize);
    }
    StreamIO::WriteUInt8(s, 0);
}

} // namespace GIFImage
