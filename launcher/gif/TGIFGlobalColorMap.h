#pragma once
#include "launcher/gif/TGIFColorMap.h"

namespace GIFImage {

class TGIFHeader;

// The image's global colour table, owned by its header.
class TGIFGlobalColorMap : public TGIFColorMap {
public:
    explicit TGIFGlobalColorMap(TGIFHeader* header) : fHeader(header) {}
    TGIFHeader* Header() const { return fHeader; }
    void Warning(TGIFSeverity severity, const std::string& message) const override;
    bool Optimize() override;

protected:
    std::vector<TGIFSubImage*> CountedFrames() override;
    uint8_t* BackgroundIndexField() override;
    // Every frame's bitmap and the image's palette are built again.
    void Changed() override;

private:
    TGIFHeader* fHeader;
};

} // namespace GIFImage
