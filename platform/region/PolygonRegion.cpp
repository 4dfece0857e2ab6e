#include "platform/region/PolygonRegion.h"

#include <algorithm>
#include <utility>

namespace plat {

namespace {

// Products of two coordinate differences need up to 66 bits.
__extension__ typedef __int128 Wide;

} // namespace

PolygonRegion::PolygonRegion() = default;

PolygonRegion::PolygonRegion(std::vector<RegionPoint> points) : mPoints(std::move(points))
{
    if (IsEmpty())
        return;
    mMinX = mMaxX = mPoints[0].x;
    mMinY = mMaxY = mPoints[0].y;
    for (const RegionPoint& p : mPoints) {
        mMinX = std::min(mMinX, p.x);
        mMaxX = std::max(mMaxX, p.x);
        mMinY = std::min(mMinY, p.y);
        mMaxY = std::max(mMaxY, p.y);
    }
}

bool PolygonRegion::IsEmpty() const
{
    return mPoints.size() < 3;
}

bool PolygonRegion::Contains(int32_t x, int32_t y) const
{
    if (IsEmpty() || x < mMinX || x >= mMaxX || y < mMinY || y >= mMaxY)
        return false;
    // The ray from the centre (x + 0.5, y + 0.5) to the right; all values are
    // doubled so the half steps are whole numbers.
    const int64_t cx = 2 * int64_t(x) + 1;
    const int64_t cy = 2 * int64_t(y) + 1;
    int winding = 0;
    const size_t n = mPoints.size();
    for (size_t i = 0; i < n; ++i) {
        const RegionPoint& a = mPoints[i];
        const RegionPoint& b = mPoints[(i + 1) % n];
        const bool aAbove = a.y <= y;
        const bool bAbove = b.y <= y;
        if (aAbove == bAbove)
            continue; // the edge does not cross the centre's row
        const int64_t dx = int64_t(b.x) - a.x;
        const int64_t dy = int64_t(b.y) - a.y;
        // Where the edge crosses the row, minus the centre, times 2 * dy.
        const Wide cross = Wide(2 * int64_t(a.x) - cx) * dy + Wide(cy - 2 * int64_t(a.y)) * dx;
        // Counted only when the crossing lies strictly right of the centre:
        // a centre on the edge is taken as lying just right of it.
        const bool right = dy > 0 ? cross > 0 : cross < 0;
        if (right)
            winding += dy > 0 ? 1 : -1;
    }
    return winding != 0;
}

const std::vector<RegionPoint>& PolygonRegion::Points() const
{
    return mPoints;
}

} // namespace plat
