#pragma once
#include "launcher/gif/TGIFApplicationExtension.h"

namespace GIFImage {

// The loop block ("NETSCAPE2.0" or "ANIMEXTS1.0"): loop count and buffer size.
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
public:
    static const TGIFExtensionClass Class;
    explicit TGIFAppExtNSLoop(TGIFSubImage* subImage);
    const TGIFExtensionClass& ClassOf() const override { return Class; }
    int Loops() const { return fLoops; }
    void SetLoops(int value) { fLoops = uint16_t(value); }
    uint32_t BufferSize() const { return fBufferSize; }
    void SetBufferSize(uint32_t value) { fBufferSize = value; }

protected:
    void SaveData(Stream& s) override;
    void LoadData(Stream& s) override;

private:
    uint16_t fLoops = 0;
    uint32_t fBufferSize = 0;
};

} // namespace GIFImage
