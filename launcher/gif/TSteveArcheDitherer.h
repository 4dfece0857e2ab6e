#pragma once
#include "launcher/gif/TErrorDiffusionDitherer.h"

namespace GIFImage {

// Stevenson-Arce: four rows over 200, offsets up to 3 each way.
class TSteveArcheDitherer : public TErrorDiffusionDitherer {
public:
    TSteveArcheDitherer(int width, TColorLookup* lookup)
        : TErrorDiffusionDitherer(width, lookup, 200, {{2, 0, 32}, {-3, 1, 12}, {-1, 1, 26}, {1, 1, 30}, {3, 1, 16}, {-2, 2, 12}, {0, 2, 26}, {2, 2, 12}, {-3, 3, 5}, {-1, 3, 12}, {1, 3, 12}, {3, 3, 5}})
    {
    }
};

} // namespace GIFImage
