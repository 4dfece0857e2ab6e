#include "launcher/gif/TFastColorLookup.h"
#include <cstdlib>

namespace GIFImage {

TFastColorLookup::TFastColorLookup(const Palette& palette)
    : TColorLookup(palette.Count() > 256 ? 256 : palette.Count()),
      fPaletteEntries(palette.Entries.begin(), palette.Entries.begin() + fColors), fInverseLookup(32768, -1)
{
    for (int i = 0; i < fColors; ++i) {
        const TGIFColor& c = fPaletteEntries[size_t(i)];
        int16_t& cell = fInverseLookup[size_t(Cell(c.Red, c.Green, c.Blue))];
        if (cell == -1)
            cell = int16_t(i);
    }
}

int TFastColorLookup::Lookup(int red, int green, int blue, int& r, int& g, int& b)
{
    if (fColors == 0)
        return 0;
    int16_t& cell = fInverseLookup[size_t(Cell(red, green, blue))];
    if (cell == -1) {
        int best = 0, bestSum = -1;
        for (int i = 0; i < fColors; ++i) {
            const TGIFColor& c = fPaletteEntries[size_t(i)];
            int sum = std::abs(c.Red - red) + std::abs(c.Green - green) + std::abs(c.Blue - blue);
            if (bestSum < 0 || sum < bestSum) {
                best = i;
                bestSum = sum;
            }
        }
        cell = int16_t(best);
    }
    const TGIFColor& c = fPaletteEntries[size_t(cell)];
    r = c.Red;
    g = c.Green;
    b = c.Blue;
    return cell;
}

} // namespace GIFImage
