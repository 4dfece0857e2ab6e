#pragma once
#include "launcher/BusyPicture.h"

namespace vorsel {

// A still 32 x 32 busy picture: a ring of eight grey dots, darker towards
// the top. It never changes.
class PlaceholderPicture : public BusyPicture {
public:
    void Draw(const Canvas& canvas, int x, int y, int width, int height) override;
};

} // namespace vorsel
