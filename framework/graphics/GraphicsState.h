#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/DrawMode.h"
#include "framework/graphics/Rect.h"

namespace Zelk {

class Font;
class Image;

// The drawing state: destination, translation, clip, colour, font, mode and
// switches. A plain value, copied as a whole.
class GraphicsState {
public:
    Image* mDestImage = nullptr; // never null in a Graphics (the empty image stands in)
    float mTransX = 0.0f;
    float mTransY = 0.0f;
    Rect mClipRect;              // destination coordinates
    Color mColor;
    Font* mFont = nullptr;
    int mDrawMode = DRAWMODE_NORMAL;
    bool mModulateImages = false; // images drawn multiplied by the colour
    bool mNearestStretch = false; // stretched images sampled by nearest pixel
    bool mColorCodes = true;      // text interprets "^RRGGBB^" codes
    bool mFilter = false;         // kept with the state; nothing consults it
    bool mIs3D = false;           // the destination is the display's 3D draw target
};

} // namespace Zelk
