#pragma once

namespace GIFImage {

class TColorLookup;

// Walks the pixels of successive rows in serpentine order and maps each
// through a look-up; this base spreads no error.
class TDitherEngine {
public:
    TDitherEngine(int width, TColorLookup* lookup) : Width(width), fLookup(lookup) {}
    virtual ~TDitherEngine() = default;
    int Direction() const { return fDirection; }
    int Column() const { return fColumn; }
    // Answers the palette index for the colour at the current column, sets
    // r, g, b to its entry and moves on one column.
    virtual int Dither(int red, int green, int blue, int& r, int& g, int& b);
    // Passes the current column without a pixel (a transparent one).
    virtual void Skip() { NextColumn(); }
    virtual void NextLine();
    void NextColumn() { fColumn += fDirection; }

protected:
    int Width;
    int fDirection = 1;
    int fColumn = 0;
    TColorLookup* fLookup;
};

} // namespace GIFImage
