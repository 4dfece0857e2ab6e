#include "assets/ShelfPacker.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>

namespace contentgen {

std::vector<PackedSpot> ShelfPacker::Pack(const std::vector<std::pair<int, int>>& sizes)
{
    std::vector<size_t> order(sizes.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return sizes[a].second > sizes[b].second; });
    std::vector<PackedSpot> spots(sizes.size());
    int page = 0, x = 0, y = 0, shelf = 0;
    mPages = sizes.empty() ? 0 : 1;
    mUsedHeight = 0;
    for (size_t i : order) {
        int w = sizes[i].first, h = sizes[i].second;
        if (w > mWidth || (mMaxHeight > 0 && h > mMaxHeight))
            throw std::runtime_error("a picture of " + std::to_string(w) + " x " + std::to_string(h) +
                                     " does not fit on an atlas page");
        if (x + w > mWidth) {
            x = 0;
            y += shelf + mGap;
            shelf = 0;
        }
        if (mMaxHeight > 0 && y + h > mMaxHeight) {
            ++page;
            x = y = shelf = 0;
            mPages = page + 1;
        }
        spots[i] = PackedSpot{page, x, y};
        x += w + mGap;
        shelf = std::max(shelf, h);
        mUsedHeight = std::max(mUsedHeight, y + h);
    }
    return spots;
}

} // namespace contentgen
