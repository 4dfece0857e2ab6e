#include "launcher/gif/TErrorDiffusionDitherer.h"
#include "launcher/gif/TColorLookup.h"
#include <algorithm>
#include <cstdlib>

namespace GIFImage {

TErrorDiffusionDitherer::TErrorDiffusionDitherer(int width, TColorLookup* lookup, int divisor,
    std::vector<Weight> kernel)
    : TDitherEngine(width, lookup), fDivisor(divisor), fKernel(std::move(kernel))
{
    for (const Weight& w : fKernel) {
        fGuard = std::max(fGuard, std::abs(w.Ahead));
        fRows = std::max(fRows, w.Below + 1);
    }
    fStride = width + 2 * fGuard;
    for (auto& channel : fErrors)
        channel.assign(size_t(fRows) * size_t(fStride), 0);
}

int TErrorDiffusionDitherer::Dither(int red, int green, int blue, int& r, int& g, int& b)
{
    const int at = fColumn + fGuard;
    int value[3] = {red, green, blue};
    for (int ch = 0; ch < 3; ++ch) {
        // Rounded toward zero after adding half the divisor, as intended.
        value[ch] += (fErrors[ch][size_t(at)] + fDivisor / 2) / fDivisor;
        value[ch] = std::clamp(value[ch], 0, 255);
    }
    int index = fLookup->Lookup(value[0], value[1], value[2], r, g, b);
    const int error[3] = {value[0] - r, value[1] - g, value[2] - b};
    for (const Weight& w : fKernel) {
        size_t cell = size_t(w.Below) * size_t(fStride) + size_t(at + w.Ahead * fDirection);
        for (int ch = 0; ch < 3; ++ch)
            fErrors[ch][cell] += error[ch] * w.Numerator;
    }
    NextColumn();
    return index;
}

void TErrorDiffusionDitherer::NextLine()
{
    for (auto& channel : fErrors) {
        std::rotate(channel.begin(), channel.begin() + fStride, channel.end());
        std::fill(channel.end() - fStride, channel.end(), 0);
    }
    TDitherEngine::NextLine();
}

} // namespace GIFImage
