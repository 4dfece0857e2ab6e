#pragma once
// The geometry of the rotated blit, shared by the memory image and the surface
// image: the destination box of the turned source, and the per-row narrowing
// of the 16.16 sample positions to the 2 x 2 samples inside the source.
#include "framework/graphics/Rect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Zelk {
namespace RotateGeometry {

// Truncation of a double to a 64-bit integer, clamped first so that no value
// is out of range.
inline int64_t Fixed(double v)
{
    const double limit = 4.0e18;
    if (!(v > -limit))
        return v != v ? 0 : -int64_t(limit);
    if (v > limit)
        return int64_t(limit);
    return int64_t(v);
}

// Narrows [first, last] to the pixels whose 2 x 2 sample stays inside a
// source run of `size` pixels, for start s and step ds (16.16). False when
// the row draws nothing.
inline bool NarrowAxis(int64_t s, int64_t ds, int64_t size, bool isV, int64_t& first, int64_t& last)
{
    int64_t full = size * 65536;
    if (ds > 0) {
        if ((s >> 16) >= size - 1)
            return false;
        int64_t f = (65536 - s) / ds;
        if (f > 0)
            first = std::max(first, f);
        last = std::min(last, (full - s - 0x17FFF) / ds);
    } else if (ds < 0) {
        if ((s >> 16) < 0)
            return false;
        int64_t f = (full - s - 0x27FFF) / ds;
        if (f >= 0)
            first = std::max(first, f);
        last = std::min(last, isV ? -(s / ds) : (0x7FFF - s) / ds);
    } else if (!(s >= 0 && s < full - 65536)) {
        return false;
    }
    return true;
}

// The part of the destination clip that the source rectangle, turned by the
// angle about (x + centre x, y + centre y), covers.
inline DoubleRect RotatedBlitBounds(float x, float y, const Rect& srcRect, const Rect& clip, double angle,
                                    float centerX, float centerY)
{
    double cosA = std::cos(angle), sinA = std::sin(angle);
    double cx = centerX, cy = centerY;
    double minX = 1e7, minY = 1e7, maxX = -1e7, maxY = -1e7;
    const double corners[4][2] = {{0, 0}, {double(srcRect.mWidth), 0}, {0, double(srcRect.mHeight)},
                                  {double(srcRect.mWidth), double(srcRect.mHeight)}};
    for (const auto& c : corners) {
        double px = x + cx + (c[0] - cx) * cosA + (c[1] - cy) * sinA;
        double py = y + cy - (c[0] - cx) * sinA + (c[1] - cy) * cosA;
        minX = std::min(minX, px);
        maxX = std::max(maxX, px);
        minY = std::min(minY, py);
        maxY = std::max(maxY, py);
    }
    // A position or angle beyond the doubles (infinite, NaN) covers nothing;
    // it would otherwise give a box of NaN size.
    if (!std::isfinite(minX) || !std::isfinite(maxX) || !std::isfinite(minY) || !std::isfinite(maxY))
        return DoubleRect(0, 0, 0, 0);
    return DoubleRect(minX, minY, maxX - minX, maxY - minY).Intersection(DoubleRect(clip));
}

} // namespace RotateGeometry
} // namespace Zelk
