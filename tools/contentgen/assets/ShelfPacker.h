#pragma once
#include <vector>

// Places rectangles on pages of a fixed width (and, when maxHeight > 0, a
// fixed height) shelf by shelf: tallest first, left to right, a new shelf
// below when a row is full, a new page when a page is full. Equal inputs
// give equal places.
namespace contentgen {

struct PackedSpot {
    int page = 0, x = 0, y = 0;
};

class ShelfPacker {
public:
    ShelfPacker(int pageWidth, int maxHeight, int gap = 1) : mWidth(pageWidth), mMaxHeight(maxHeight), mGap(gap) {}
    // The spot of every size, in the order given; throws when one does not fit
    // on a page at all.
    std::vector<PackedSpot> Pack(const std::vector<std::pair<int, int>>& sizes);
    int Pages() const { return mPages; }
    // The height a page needs (the tallest used page when there is no fixed
    // height).
    int UsedHeight() const { return mUsedHeight; }

private:
    int mWidth, mMaxHeight, mGap;
    int mPages = 0, mUsedHeight = 0;
};

} // namespace contentgen
