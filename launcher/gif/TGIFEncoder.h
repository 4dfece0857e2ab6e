#pragma once
#include "launcher/gif/GIFTypes.h"
#include "launcher/gif/Stream.h"
#include "launcher/gif/TGIFWriter.h"
#include <memory>
#include <optional>

namespace GIFImage {

// The image data of one frame: minimum code size, codes packed least
// significant bit first into sub-blocks, terminator. The pixel walk and the
// code output are shared; the string coding is the subclass's.
class TGIFEncoder {
public:
    static std::unique_ptr<TGIFEncoder> Create(TGIFCompression compression, TGIFWarning warning);
    virtual ~TGIFEncoder() = default;
    void Compress(Stream& s, int bitsPerPixel, int width, int height, bool interlace, const uint8_t* data,
        int maxColor);

protected:
    virtual void Output(int code);
    virtual void ClearTable();
    virtual void DoCompress() = 0;
    // The next pixel in file order, or -1 after the last one; a value not
    // below MaxColor raises "Color not in color table".
    int NextPixel();

    TGIFWarning fOnWarning;
    int MaxColor = 0;
    int BitsPerPixel = 0;
    int Width = 0, Height = 0;
    bool Interlace = false;
    const uint8_t* Data = nullptr;
    std::optional<TGIFWriter> GIFStream;
    uint32_t OutputBucket = 0;
    int OutputBits = 0;
    bool ClearFlag = false;
    int BitsPerCode = 0, InitialBitsPerCode = 0;
    int MaxCode = 0, ClearCode = 0, EOFCode = 0, BaseCode = 0;
    int64_t cX = 0; // pixels left in the current run of pixels
    int Y = 0, Pass = 0;
    size_t fPos = 0;
};

} // namespace GIFImage
