#pragma once
#include "launcher/gif/Palette.h"
#include "launcher/gif/TColorLookup.h"

namespace GIFImage {

// The nearest palette entry by squared distance, the first of equal ones.
class TSlowColorLookup : public TColorLookup {
public:
    explicit TSlowColorLookup(const Palette& palette);
    int Lookup(int red, int green, int blue, int& r, int& g, int& b) override;

private:
    Palette fPalette;
};

} // namespace GIFImage
