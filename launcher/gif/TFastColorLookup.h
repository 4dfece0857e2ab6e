#pragma once
#include "launcher/gif/Palette.h"
#include "launcher/gif/TColorLookup.h"
#include <vector>

namespace GIFImage {

// The nearest palette entry by the sum of channel differences, cached in a
// table of 32768 cells (5 bits per channel); each cell is searched once.
class TFastColorLookup : public TColorLookup {
public:
    explicit TFastColorLookup(const Palette& palette);
    int Lookup(int red, int green, int blue, int& r, int& g, int& b) override;

private:
    static int Cell(int red, int green, int blue) { return (blue >> 3) << 10 | (green >> 3) << 5 | red >> 3; }
    std::vector<TGIFColor> fPaletteEntries;
    std::vector<int16_t> fInverseLookup;
};

} // namespace GIFImage
