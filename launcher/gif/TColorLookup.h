#pragma once
#include <cstdint>

namespace GIFImage {

// Maps a colour to a palette index and that entry's colour.
class TColorLookup {
public:
    explicit TColorLookup(int colors) : fColors(colors) {}
    virtual ~TColorLookup() = default;
    int Colors() const { return fColors; }
    virtual int Lookup(int red, int green, int blue, int& r, int& g, int& b) = 0;

protected:
    int fColors;
};

} // namespace GIFImage
