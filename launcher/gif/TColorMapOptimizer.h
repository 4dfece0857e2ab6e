#pragma once
#include "launcher/gif/THistogram.h"
#include <memory>
#include <vector>

namespace GIFImage {

class TGIFImage;

// Merges every colour table of an image into one global table of the most
// used colours; colours that do not fit map to the nearest kept one.
class TColorMapOptimizer {
public:
    explicit TColorMapOptimizer(TGIFImage& image) : fImage(image) {}
    void Optimize();

private:
    TGIFImage& fImage;
    std::vector<std::unique_ptr<THistogram>> fHistogramList;
    std::vector<TOptimizeEntry*> fHistogram;
    std::vector<TGIFColor> fColorMap;
    int fFinalCount = 0;
    bool fUseTransparency = false;
    uint8_t fNewTransparentColorIndex = 0;
};

} // namespace GIFImage
