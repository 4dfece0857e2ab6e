#pragma once
#include "launcher/gif/TErrorDiffusionDitherer.h"

namespace GIFImage {

// Sierra: a 5 by 3 kernel over 32.
class TSierraDitherer : public TErrorDiffusionDitherer {
public:
    TSierraDitherer(int width, TColorLookup* lookup)
        : TErrorDiffusionDitherer(width, lookup, 32, {{1, 0, 5}, {2, 0, 3}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 5}, {1, 1, 4}, {2, 1, 2}, {-1, 2, 2}, {0, 2, 3}, {1, 2, 2}})
    {
    }
};

} // namespace GIFImage
