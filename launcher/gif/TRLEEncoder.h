#pragma once
#include "launcher/gif/TGIFEncoder.h"

namespace GIFImage {

// Runs of equal pixels written as codes an LZW decoder expands to runs of
// growing length; the table is cleared early enough that the decoder never
// needs wider codes than are written.
class TRLEEncoder : public TGIFEncoder {
protected:
    void DoCompress() override;

private:
    void Clear();
    void OutputPlain(int code);
    void FlushRun(int count);
    void FlushFromClear(int count);
    void FlushWithTable(int count);
    void ResetOutClear();
    int Triangle(int count) const;

    int MaxCodes = 0, OutBumpInit = 0, OutClearInit = 0;
    int Prefix = 0, RunLengthTableMax = 0, RunLengthTablePixel = 0;
    int OutCount = 0, OutClear = 0, OutBump = 0;
};

} // namespace GIFImage
