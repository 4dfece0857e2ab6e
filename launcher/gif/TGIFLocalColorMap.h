#pragma once
#include "launcher/gif/TGIFColorMap.h"

namespace GIFImage {

class TGIFSubImage;

// A frame's local colour table.
class TGIFLocalColorMap : public TGIFColorMap {
public:
    explicit TGIFLocalColorMap(TGIFSubImage* subImage) : fSubImage(subImage) {}
    TGIFSubImage* SubImage() const { return fSubImage; }
    void Warning(TGIFSeverity severity, const std::string& message) const override;

protected:
    std::vector<TGIFSubImage*> CountedFrames() override { return {fSubImage}; }
    // The frame's bitmap and palette are built again.
    void Changed() override;

private:
    TGIFSubImage* fSubImage;
};

} // namespace GIFImage
