#include "framework/fonts/ActiveFontLayer.h"

#include "framework/graphics/MemoryImage.h"

namespace Zelk {

ActiveFontLayer::ActiveFontLayer(const ActiveFontLayer& other)
    : mBaseLayer(other.mBaseLayer), mScaledImage(other.mScaledImage), mOwnsImage(false), mCells(other.mCells)
{
    if (!other.mOwnsImage || !other.mScaledImage)
        return;
    // Owned images are the memory images the font scaled; a copy needs no
    // display.
    if (auto* image = dynamic_cast<MemoryImage*>(other.mScaledImage)) {
        mScaledImage = new MemoryImage(*image);
        mOwnsImage = true;
    } else {
        mScaledImage = nullptr;
    }
}

ActiveFontLayer::~ActiveFontLayer()
{
    if (mOwnsImage)
        delete mScaledImage;
}

} // namespace Zelk
