#pragma once
#include "framework/graphics/Rect.h"

namespace Zelk {

// The part of a stretched blit that lies inside the clip: the clipped
// destination and the matching sub-pixel source rectangle. For a mirrored
// blit the source x counts from the mirrored side. False when nothing is left.
bool StretchSourceRect(const Rect& destRect, const Rect& srcRect, const Rect& clip, bool mirrored,
                       Rect& clippedDest, DoubleRect& clippedSrc);

} // namespace Zelk
