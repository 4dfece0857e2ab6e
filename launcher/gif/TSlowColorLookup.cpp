#include "launcher/gif/TSlowColorLookup.h"

namespace GIFImage {

TSlowColorLookup::TSlowColorLookup(const Palette& palette) : TColorLookup(palette.Count()), fPalette(palette) {}

int TSlowColorLookup::Lookup(int red, int green, int blue, int& r, int& g, int& b)
{
    int best = 0, bestDistance = -1;
    for (int i = 0; i < fPalette.Count(); ++i) {
        const TGIFColor& c = fPalette.Entries[size_t(i)];
        int dr = c.Red - red, dg = c.Green - green, db = c.Blue - blue;
        int distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    if (fPalette.Count() > 0) {
        const TGIFColor& c = fPalette.Entries[size_t(best)];
        r = c.Red;
        g = c.Green;
        b = c.Blue;
    }
    return best;
}

} // namespace GIFImage
