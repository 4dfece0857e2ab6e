#pragma once
#include "launcher/gif/TColorLookup.h"

namespace GIFImage {

// 256 greys: the luminance is the index.
class TGrayScaleLookup : public TColorLookup {
public:
    TGrayScaleLookup() : TColorLookup(256) {}
    int Lookup(int red, int green, int blue, int& r, int& g, int& b) override
    {
        int v = (77 * red + 150 * green + 29 * blue) >> 8;
        r = g = b = v;
        return v;
    }
};

} // namespace GIFImage
