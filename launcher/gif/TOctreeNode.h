#pragma once
#include <cstdint>
#include <memory>

namespace GIFImage {

// A node of the colour octree: a leaf sums the colours that reached it; an
// inner node sits in the reducible list of its level.
class TOctreeNode {
public:
    TOctreeNode(int level, int colorBits, int& leafCount, TOctreeNode** reducibleNodes);

    bool IsLeaf = false;
    uint64_t PixelCount = 0, RedSum = 0, GreenSum = 0, BlueSum = 0;
    TOctreeNode* Next = nullptr;
    std::unique_ptr<TOctreeNode> Child[8];
};

} // namespace GIFImage
