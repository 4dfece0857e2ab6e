#pragma once
#include "launcher/gif/TColorLookup.h"

namespace GIFImage {

// The 216 web colours: 51 steps per channel, index 36 r + 6 g + b.
class TNetscapeColorLookup : public TColorLookup {
public:
    TNetscapeColorLookup() : TColorLookup(216) {}
    int Lookup(int red, int green, int blue, int& r, int& g, int& b) override
    {
        int ri = (red + 3) / 51, gi = (green + 3) / 51, bi = (blue + 3) / 51;
        r = ri * 51;
        g = gi * 51;
        b = bi * 51;
        return 36 * ri + 6 * gi + bi;
    }
};

} // namespace GIFImage
