#pragma once
#include "launcher/gif/Stream.h"
#include <cstdint>

namespace GIFImage {

class TGIFSubImage;

// LZW decoding of one frame's image data into its pixel buffer. The bit
// reader takes codes least significant bit first across data sub-blocks of
// any size; the decoder keeps no allocation and no virtual call per pixel.
class TGIFDecoder {
public:
    // Reads the minimum code size and the data sub-blocks up to their
    // terminator. Pixels the data does not reach keep the transparent index
    // (transparent frames) or 0.
    static void DecodeFrameData(Stream& s, TGIFSubImage& frame);

private:
    TGIFDecoder(Stream& s, TGIFSubImage& frame, int minCodeSize);
    int ReadCode();
    int NextPixel();
    void ResetTable();
    bool FillBlock();
    void SkipToTerminator();

    Stream& fStream;
    TGIFSubImage& fFrame;
    // Bit reader.
    uint8_t fBlock[255];
    int fBlockSize = 0, fBlockPos = 0;
    uint32_t fBits = 0;
    int fBitCount = 0;
    bool fTerminatorMet = false;
    bool fStreamEnded = false;
    // Symbol reader.
    int fCodeSize, fClearCode, fEndCode, fLimit, fNextFree, fMinCodeSize;
    int fFirstCode = 0, fPrevCode = 0;
    bool fStarted = false;
    uint16_t fPrefix[4096];
    uint16_t fSuffix[4096];
    uint16_t fStack[4096 + 2];
    int fStackSize = 0;
};

} // namespace GIFImage
