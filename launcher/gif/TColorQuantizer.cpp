#include "launcher/gif/TColorQuantizer.h"
#include "launcher/gif/Bitmap.h"
#include "launcher/gif/GIFException.h"
#include <functional>

namespace GIFImage {

TColorQuantizer::TColorQuantizer(int maxColors, int colorBits) : fMaxColors(maxColors), fColorBits(colorBits)
{
    if (colorBits > 8)
        throw GIFException("ColorBits must be 8 or less");
}

bool TColorQuantizer::ProcessImage(const Bitmap& bitmap)
{
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            AddColor(bitmap.PixelColor(x, y));
    return true;
}

void TColorQuantizer::AddColor(TGIFColor color)
{
    if (!fTree)
        fTree = std::make_unique<TOctreeNode>(0, fColorBits, fLeafCount, fReducibleNodes);
    TOctreeNode* node = fTree.get();
    for (int level = 0; !node->IsLeaf; ++level) {
        int shift = 7 - level;
        int index = ((color.Red >> shift) & 1) << 2 | ((color.Green >> shift) & 1) << 1 | ((color.Blue >> shift) & 1);
        if (!node->Child[index])
            node->Child[index] = std::make_unique<TOctreeNode>(level + 1, fColorBits, fLeafCount, fReducibleNodes);
        node = node->Child[index].get();
    }
    ++node->PixelCount;
    node->RedSum += color.Red;
    node->GreenSum += color.Green;
    node->BlueSum += color.Blue;
    while (fLeafCount > fMaxColors)
        ReduceTree();
}

void TColorQuantizer::ReduceTree()
{
    int level = fColorBits - 1;
    while (level > 0 && !fReducibleNodes[level])
        --level;
    TOctreeNode* node = fReducibleNodes[level];
    if (!node)
        return;
    fReducibleNodes[level] = node->Next;
    int children = 0;
    for (auto& child : node->Child) {
        if (!child)
            continue;
        node->PixelCount += child->PixelCount;
        node->RedSum += child->RedSum;
        node->GreenSum += child->GreenSum;
        node->BlueSum += child->BlueSum;
        child.reset();
        ++children;
    }
    node->IsLeaf = true;
    fLeafCount -= children - 1;
}

std::vector<TGIFColor> TColorQuantizer::GetColorTable() const
{
    std::vector<TGIFColor> table;
    std::function<void(const TOctreeNode*)> walk = [&](const TOctreeNode* node) {
        if (node->IsLeaf) {
            uint64_t n = node->PixelCount;
            table.push_back(n ? TGIFColor{uint8_t(node->RedSum / n), uint8_t(node->GreenSum / n),
                                    uint8_t(node->BlueSum / n)}
                              : TGIFColor{});
            return;
        }
        for (const auto& child : node->Child)
            if (child)
                walk(child.get());
    };
    if (fTree)
        walk(fTree.get());
    return table;
}

} // namespace GIFImage
