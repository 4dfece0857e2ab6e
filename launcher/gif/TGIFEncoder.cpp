#include "launcher/gif/TGIFEncoder.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TLZWEncoder.h"
#include "launcher/gif/TRLEEncoder.h"

namespace GIFImage {

std::unique_ptr<TGIFEncoder> TGIFEncoder::Create(TGIFCompression compression, TGIFWarning warning)
{
    std::unique_ptr<TGIFEncoder> encoder;
    if (compression == gcRLE)
        encoder = std::make_unique<TRLEEncoder>();
    else
        encoder = std::make_unique<TLZWEncoder>();
    encoder->fOnWarning = std::move(warning);
    return encoder;
}

void TGIFEncoder::Compress(Stream& s, int bitsPerPixel, int width, int height, bool interlace,
    const uint8_t* data, int maxColor)
{
    if (bitsPerPixel < 2)
        bitsPerPixel = 2;
    BitsPerPixel = bitsPerPixel;
    InitialBitsPerCode = bitsPerPixel + 1;
    StreamIO::WriteUInt8(s, uint8_t(bitsPerPixel));
    BitsPerCode = InitialBitsPerCode;
    MaxCode = (1 << BitsPerCode) - 1;
    ClearCode = 1 << (InitialBitsPerCode - 1);
    EOFCode = ClearCode + 1;
    BaseCode = ClearCode + 2;
    OutputBucket = 0;
    OutputBits = 0;
    Width = width;
    Height = height;
    Interlace = interlace;
    Data = data;
    MaxColor = maxColor;
    cX = interlace ? int64_t(width) : int64_t(width) * height;
    Pass = 0;
    Y = 0;
    fPos = 0;
    GIFStream.emplace(s);
    if (data && width > 0 && height > 0)
        DoCompress();
    Output(EOFCode);
    GIFStream->Flush();
    GIFStream.reset();
    StreamIO::WriteUInt8(s, 0);
}

int TGIFEncoder::NextPixel()
{
    if (cX == 0) {
        if (!Interlace)
            return -1;
        // Next row of the interlace passes; a pass whose first row lies past
        // the height is skipped.
        static const int kStart[4] = {0, 4, 2, 1};
        static const int kStep[4] = {8, 8, 4, 2};
        Y += kStep[Pass];
        while (Y >= Height) {
            if (++Pass > 3)
                return -1;
            Y = kStart[Pass];
        }
        fPos = size_t(Y) * size_t(Width);
        cX = Width;
    }
    --cX;
    int pixel = Data[fPos++];
    if (pixel >= MaxColor)
        throw GIFException(Msg::kColorNotInTable);
    return pixel;
}

void TGIFEncoder::Output(int code)
{
    OutputBucket &= (1u << OutputBits) - 1;
    OutputBucket |= uint32_t(code) << OutputBits;
    OutputBits += BitsPerCode;
    while (OutputBits >= 8) {
        GIFStream->WriteByte(uint8_t(OutputBucket));
        OutputBucket >>= 8;
        OutputBits -= 8;
    }
    if (code == EOFCode && OutputBits > 0) {
        GIFStream->WriteByte(uint8_t(OutputBucket));
        OutputBits = 0;
    }
}

void TGIFEncoder::ClearTable()
{
    ClearFlag = true;
    Output(ClearCode);
}

} // namespace GIFImage
