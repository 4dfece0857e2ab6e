#pragma once
#include <cstdint>
#include <vector>

namespace plat {

struct RegionPoint {
    int32_t x;
    int32_t y;
};

// A closed polygon filled by the winding rule, for click areas. A point
// (x, y) stands for the pixel whose centre is (x + 0.5, y + 0.5); it is inside
// when the polygon winds around that centre a non-zero number of times. A
// centre lying exactly on a slanted edge belongs to the area on the edge's
// right, so left and top edges are in and right and bottom edges out, as
// filled polygons are drawn. Any int32 coordinates are exact.
class PolygonRegion {
public:
    PolygonRegion();
    explicit PolygonRegion(std::vector<RegionPoint> points);

    // Fewer than three points: no area, and no point is inside.
    bool IsEmpty() const;
    bool Contains(int32_t x, int32_t y) const;
    const std::vector<RegionPoint>& Points() const;

private:
    std::vector<RegionPoint> mPoints;
    // The bounding box, right and bottom exclusive.
    int32_t mMinX = 0;
    int32_t mMinY = 0;
    int32_t mMaxX = 0;
    int32_t mMaxY = 0;
};

} // namespace plat
