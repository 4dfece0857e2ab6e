#pragma once
#include "launcher/gif/GIFTypes.h"
#include "launcher/gif/TOctreeNode.h"
#include <vector>

namespace GIFImage {

class Bitmap;

// Octree colour quantization: the tree is reduced as soon as it holds more
// leaves than colours wanted, deepest level first.
class TColorQuantizer {
public:
    // ColorBits above 8 raises "ColorBits must be 8 or less".
    TColorQuantizer(int maxColors, int colorBits);
    int ColorCount() const { return fLeafCount; }
    bool ProcessImage(const Bitmap& bitmap);
    void AddColor(TGIFColor color);
    // The leaves' average colours, depth first, children 0 to 7.
    std::vector<TGIFColor> GetColorTable() const;

private:
    void ReduceTree();

    std::unique_ptr<TOctreeNode> fTree;
    int fLeafCount = 0;
    TOctreeNode* fReducibleNodes[9] = {};
    int fMaxColors, fColorBits;
};

} // namespace GIFImage
