#pragma once
#include "launcher/gif/TColorLookup.h"

namespace GIFImage {

// Black (0) below half luminance, white (1) from there.
class TMonochromeLookup : public TColorLookup {
public:
    TMonochromeLookup() : TColorLookup(2) {}
    int Lookup(int red, int green, int blue, int& r, int& g, int& b) override
    {
        int index = 77 * red + 150 * green + 29 * blue < 32513 ? 0 : 1;
        r = g = b = index ? 255 : 0;
        return index;
    }
};

} // namespace GIFImage
