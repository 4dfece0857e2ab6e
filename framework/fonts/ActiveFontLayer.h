#pragma once
#include "framework/fonts/CharTable.h"
#include "framework/graphics/Rect.h"

namespace Zelk {

class GlyphLayer;
class Image;

// A layer an image font currently draws with: the layer's own image, or one
// scaled for the font's size and owned here, and each character's cell in it.
class ActiveFontLayer {
public:
    ActiveFontLayer() = default;
    // An owned image is copied, an unowned one shared.
    ActiveFontLayer(const ActiveFontLayer& other);
    ActiveFontLayer& operator=(const ActiveFontLayer&) = delete;
    virtual ~ActiveFontLayer();

    Rect Cell(wchar_t c) const
    {
        const Rect* r = mCells.Find(c);
        return r ? *r : Rect();
    }

    GlyphLayer* mBaseLayer = nullptr;
    Image* mScaledImage = nullptr;
    bool mOwnsImage = false;
    CharTable<Rect> mCells;
};

} // namespace Zelk
