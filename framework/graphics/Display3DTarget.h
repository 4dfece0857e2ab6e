#pragma once

namespace Zelk {

class Image;

// Whether an image is the surface the display currently draws into through
// its renderer. The display installs the query; without a display no image is.
extern bool (*gIsDisplay3DTarget)(const Image* image);

inline bool IsDisplay3DTarget(const Image* image)
{
    return gIsDisplay3DTarget != nullptr && image != nullptr && gIsDisplay3DTarget(image);
}

} // namespace Zelk
