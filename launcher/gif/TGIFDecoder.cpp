#include "launcher/gif/TGIFDecoder.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"

namespace GIFImage {

namespace {

const int kEndOfData = -1; // no more bits
const int kEndCode = -2;   // the end code was read
const int kMaxStringLength = 4096;

} // namespace

void TGIFDecoder::DecodeFrameData(Stream& s, TGIFSubImage& frame)
{
    uint64_t pixels = uint64_t(frame.Width()) * uint64_t(frame.Height());
    if (frame.Image())
        frame.Image()->ReservePixels(pixels);
    uint8_t fill = 0;
    if (frame.Transparent() && frame.GraphicControlExtension())
        fill = uint8_t(frame.GraphicControlExtension()->TransparentColorIndex());
    frame.AllocatePixels(fill);
    int minCodeSize = StreamIO::ReadByteOrEnd(s);
    if (minCodeSize < 0)
        return;
    if (minCodeSize > 8)
        minCodeSize = 8;
    TGIFDecoder decoder(s, frame, minCodeSize);
    uint8_t* data = frame.Data();
    const int width = frame.Width(), height = frame.Height();
    int pixel = 0;
    if (!frame.Interlaced()) {
        for (size_t i = 0; i < size_t(pixels); ++i) {
            if ((pixel = decoder.NextPixel()) < 0)
                break;
            data[i] = uint8_t(pixel);
        }
    } else {
        static const int kStart[4] = {0, 4, 2, 1};
        static const int kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4 && pixel >= 0; ++pass)
            for (int row = kStart[pass]; row < height && pixel >= 0; row += kStep[pass]) {
                uint8_t* line = data + size_t(row) * size_t(width);
                for (int x = 0; x < width; ++x) {
                    if ((pixel = decoder.NextPixel()) < 0)
                        break;
                    line[x] = uint8_t(pixel);
                }
            }
    }
    // Whatever follows the last pixel (an end code, extra codes) is skipped,
    // so the next block is read from its start.
    decoder.SkipToTerminator();
}

TGIFDecoder::TGIFDecoder(Stream& s, TGIFSubImage& frame, int minCodeSize)
    : fStream(s), fFrame(frame), fMinCodeSize(minCodeSize)
{
    fClearCode = 1 << minCodeSize;
    fEndCode = fClearCode + 1;
    ResetTable();
}

void TGIFDecoder::ResetTable()
{
    for (int i = 0; i < 4096; ++i) {
        fPrefix[i] = 0;
        fSuffix[i] = uint16_t(i < fClearCode ? i : 0);
    }
    fCodeSize = fMinCodeSize + 1;
    fLimit = 2 * fClearCode;
    fNextFree = fClearCode + 2;
    fStackSize = 0;
}

bool TGIFDecoder::FillBlock()
{
    int size = StreamIO::ReadByteOrEnd(fStream);
    if (size < 0) {
        fStreamEnded = true;
        return false;
    }
    if (size == 0) {
        fTerminatorMet = true;
        return false;
    }
    int64_t left = fStream.Size() - fStream.Position();
    if (size > left) {
        fFrame.Warning(gsWarning, Msg::kPrematureEnd);
        size = int(left);
    }
    fBlockSize = int(fStream.Read(fBlock, size_t(size)));
    fBlockPos = 0;
    return true;
}

int TGIFDecoder::ReadCode()
{
    // Refill as often as needed: sub-blocks may be a single byte long.
    while (fBitCount < fCodeSize) {
        if (fBlockPos >= fBlockSize) {
            if (fTerminatorMet || fStreamEnded) {
                if (fTerminatorMet && fBitCount == 0)
                    fFrame.Warning(gsWarning, Msg::kBitBufferUnderrun);
                return kEndOfData;
            }
            if (!FillBlock())
                continue;
            continue;
        }
        fBits |= uint32_t(fBlock[fBlockPos++]) << fBitCount;
        fBitCount += 8;
    }
    int code = int(fBits & ((1u << fCodeSize) - 1));
    fBits >>= fCodeSize;
    fBitCount -= fCodeSize;
    return code;
}

int TGIFDecoder::NextPixel()
{
    if (fStackSize > 0)
        return fStack[--fStackSize];
    int code;
    if (!fStarted) {
        // The data starts as if a clear code had been read.
        fStarted = true;
        code = fClearCode;
    } else if ((code = ReadCode()) < 0) {
        return code;
    }
    if (code == fClearCode) {
        ResetTable();
        do
            code = ReadCode();
        while (code == fClearCode);
        if (code < 0)
            return code;
        if (code == fEndCode)
            return kEndCode;
        fFirstCode = fPrevCode = code;
        return code;
    }
    if (code == fEndCode)
        return kEndCode;
    int incoming = code;
    if (code >= fNextFree) {
        fStack[fStackSize++] = uint16_t(fFirstCode);
        code = fPrevCode;
    }
    while (code >= fClearCode) {
        if (fStackSize >= kMaxStringLength || fPrefix[code] == code)
            throw GIFException(Msg::kCircularTableEntry);
        fStack[fStackSize++] = fSuffix[code];
        code = fPrefix[code];
    }
    fStack[fStackSize++] = uint16_t(code);
    fFirstCode = code;
    if (fNextFree <= 4095) {
        fPrefix[fNextFree] = uint16_t(fPrevCode);
        fSuffix[fNextFree] = uint16_t(fFirstCode);
        ++fNextFree;
        if (fNextFree >= fLimit && fLimit <= 4095) {
            fLimit *= 2;
            ++fCodeSize;
        }
    }
    fPrevCode = incoming;
    return fStack[--fStackSize];
}

void TGIFDecoder::SkipToTerminator()
{
    fBlockPos = fBlockSize;
    while (!fTerminatorMet && !fStreamEnded) {
        int size = StreamIO::ReadByteOrEnd(fStream);
        if (size <= 0)
            break;
        StreamIO::Skip(fStream, size);
    }
}

} // namespace GIFImage
