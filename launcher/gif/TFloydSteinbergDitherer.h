#pragma once
#include "launcher/gif/TErrorDiffusionDitherer.h"

namespace GIFImage {

// Floyd-Steinberg: 7 ahead; 3, 5, 1 in the row below.
class TFloydSteinbergDitherer : public TErrorDiffusionDitherer {
public:
    TFloydSteinbergDitherer(int width, TColorLookup* lookup)
        : TErrorDiffusionDitherer(width, lookup, 16, {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}})
    {
    }
};

} // namespace GIFImage
