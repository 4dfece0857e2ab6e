#pragma once
#include "framework/fonts/CharTable.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "framework/graphics/SharedImage.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Zelk {

class FontData;
class Image;

// What a layer knows of one character.
struct GlyphInfo {
    Rect mImageRect;                          // in the layer image
    int mOffsetX = 0;
    int mOffsetY = 0;
    std::map<wchar_t, int8_t> mKerningOffsets; // by the following character
    int mWidth = 0;                           // pen advance
    int mOrder = 0;                           // draw order

    int KerningBefore(wchar_t next) const
    {
        auto it = mKerningOffsets.find(next);
        return it == mKerningOffsets.end() ? 0 : it->second;
    }
};

// One layer of an image font: glyph rectangles cut from one image, with the
// conditions under which the layer takes part and how it is coloured.
class GlyphLayer {
public:
    // The character's glyph data; characters without any give an all-zero
    // entry (shared, never inserted).
    const GlyphInfo& Glyph(wchar_t c) const
    {
        static const GlyphInfo kNone;
        const GlyphInfo* g = mGlyphs.Find(c);
        return g ? *g : kNone;
    }
    Image* GetImage() const { return mImage.GetImage(); }

    FontData* mFontData = nullptr;
    std::vector<std::string> mRequiredTags; // upper-cased
    std::vector<std::string> mExcludedTags; // upper-cased
    CharTable<GlyphInfo> mGlyphs;
    Color mColorMult{255, 255, 255, 255};
    Color mColorAdd{0, 0, 0, 0};
    SharedImageRef mImage;
    int mDrawMode = -1; // -1: the Graphics' mode
    int mOffsetX = 0;
    int mOffsetY = 0;
    int mSpacing = 0;
    int mMinPointSize = -1;
    int mMaxPointSize = -1; // -1: no upper limit
    int mPointSize = 0;     // 0: the glyphs do not follow the font's point size
    int mAscent = 0;
    int mAscentPadding = 0;
    int mHeight = 0; // 0: the default height
    int mLineSpacingOffset = 0;
    int mDefaultHeight = 0;
    int mBaseOrder = 0;
};

} // namespace Zelk
