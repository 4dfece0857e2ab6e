#pragma once
#include "launcher/gif/TDitherEngine.h"
#include <vector>

namespace GIFImage {

// Error diffusion by a kernel of weights over the divisor. Offsets count in
// the direction of travel (ahead positive) and in rows below the current
// one. Each row buffer has guard cells for the widest offset on both sides.
class TErrorDiffusionDitherer : public TDitherEngine {
public:
    struct Weight {
        int Ahead, Below, Numerator;
    };
    TErrorDiffusionDitherer(int width, TColorLookup* lookup, int divisor, std::vector<Weight> kernel);
    int Dither(int red, int green, int blue, int& r, int& g, int& b) override;
    void NextLine() override;

private:
    int fDivisor;
    std::vector<Weight> fKernel;
    int fGuard = 0, fRows = 1, fStride = 0;
    std::vector<int> fErrors[3]; // fRows rows of fStride cells per channel
};

} // namespace GIFImage
