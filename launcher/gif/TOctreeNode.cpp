#include "launcher/gif/TOctreeNode.h"

namespace GIFImage {

TOctreeNode::TOctreeNode(int level, int colorBits, int& leafCount, TOctreeNode** reducibleNodes)
{
    IsLeaf = level == colorBits;
    if (IsLeaf) {
        ++leafCount;
    } else {
        Next = reducibleNodes[level];
        reducibleNodes[level] = this;
    }
}

} // namespace GIFImage
