#pragma once
#include "launcher/gif/TErrorDiffusionDitherer.h"

namespace GIFImage {

// Jarvis-Judice-Ninke: a 5 by 3 kernel over 48.
class TJaJuNiDitherer : public TErrorDiffusionDitherer {
public:
    TJaJuNiDitherer(int width, TColorLookup* lookup)
        : TErrorDiffusionDitherer(width, lookup, 48, {{1, 0, 7}, {2, 0, 5}, {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5}, {2, 1, 3}, {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5}, {1, 2, 3}, {2, 2, 1}})
    {
    }
};

} // namespace GIFImage
