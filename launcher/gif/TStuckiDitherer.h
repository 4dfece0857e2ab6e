#pragma once
#include "launcher/gif/TErrorDiffusionDitherer.h"

namespace GIFImage {

// Stucki: a 5 by 3 kernel over 42.
class TStuckiDitherer : public TErrorDiffusionDitherer {
public:
    TStuckiDitherer(int width, TColorLookup* lookup)
        : TErrorDiffusionDitherer(width, lookup, 42, {{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2}, {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4}, {1, 2, 2}, {2, 2, 1}})
    {
    }
};

} // namespace GIFImage
