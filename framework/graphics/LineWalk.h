#pragma once
// The pixel walks of lines, shared by the memory image and the surface image
// drawing routines so that both visit the same pixels.
#include "framework/graphics/Image.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace Zelk {
namespace LineWalk {

// Truncation toward zero, saturated at the ends of the int range (NaN gives 0),
// so coordinates beyond any image never convert out of range.
inline int Trunc(double v)
{
    return TruncToInt(v);
}

// Coordinates of a fill far outside every image are pulled in to a range where
// their sums cannot wrap; the part on any image stays the same.
inline int64_t FillEdge(double v)
{
    return std::clamp<int64_t>(Trunc(v), -1, int64_t(1) << 30);
}

// Horizontal and vertical lines are fills of the image; true when the line
// was one.
inline bool LineAsFill(Image* image, double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (y1 == y2) {
        int64_t left = FillEdge(std::min(x1, x2));
        image->FillRect(Rect(int(left), Trunc(y1), int(FillEdge(std::max(x1, x2)) - left + 1), Trunc(y2 - y1 + 1)),
                        color, drawMode);
        return true;
    }
    if (x1 == x2) {
        int64_t top = FillEdge(std::min(y1, y2));
        image->FillRect(Rect(Trunc(x1), int(top), Trunc(x2 - x1 + 1), int(FillEdge(std::max(y1, y2)) - top + 1)),
                        color, drawMode);
        return true;
    }
    return false;
}

// No image reaches kReach pixels. A line with an end beyond it (or a NaN)
// is cut to the square of that size around the origin, keeping its
// direction, so every walk stays short and every coordinate an int. False
// when nothing of the line is left.
constexpr double kReach = double(1 << 20);
inline bool CutToReach(double& x1, double& y1, double& x2, double& y2)
{
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2))
        return false;
    if (std::max({std::fabs(x1), std::fabs(y1), std::fabs(x2), std::fabs(y2)}) <= kReach)
        return true;
    // Liang-Barsky against -kReach .. kReach on both axes.
    double t0 = 0.0, t1 = 1.0;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 + kReach, kReach - x1, y1 + kReach, kReach - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1 || !std::isfinite(t))
            return false;
    }
    const double sx = x1, sy = y1;
    x1 = sx + t0 * dx;
    y1 = sy + t0 * dy;
    x2 = sx + t1 * dx;
    y2 = sy + t1 * dy;
    return true;
}

// Walks the line from the end with the smaller major coordinate and calls
// plot(x, y) for every pixel.
template <typename Plot> inline void WalkLine(double x1, double y1, double x2, double y2, Plot plot)
{
    if (!CutToReach(x1, y1, x2, y2))
        return;
    double dx = x2 - x1, dy = y2 - y1;
    bool xMajor = std::fabs(dx) > std::fabs(dy);
    double majStart = xMajor ? x1 : y1, majEnd = xMajor ? x2 : y2;
    double minStart = xMajor ? y1 : x1, minEnd = xMajor ? y2 : x2;
    if (majEnd < majStart) {
        std::swap(majStart, majEnd);
        std::swap(minStart, minEnd);
    }
    double majDelta = std::fabs(majEnd - majStart), minDelta = minEnd - minStart;
    int minStep = minDelta < 0 ? -1 : 1;
    minDelta = std::fabs(minDelta);
    // 64 bits: the terms of a line across the whole reach still add up.
    int64_t straight = Trunc(2 * minDelta);
    int64_t diagonal = Trunc(2 * (minDelta - majDelta));
    int64_t error = Trunc((minStart - Trunc(minStart)) * double(straight) + Trunc(2 * minDelta - majDelta));

    double left = std::min(x1, x2), right = std::max(x1, x2), top = std::min(y1, y2), bottom = std::max(y1, y2);
    int minor = Trunc(minStart);
    if (xMajor)
        plot(Trunc(majStart), minor);
    else
        plot(minor, Trunc(majStart));
    for (int c = Trunc(majStart + 1); c <= majEnd; ++c) {
        if (error > 0) {
            minor += minStep;
            error += diagonal;
            double px = xMajor ? c : minor, py = xMajor ? minor : c;
            if (px < left || py < top || px > right || py > bottom)
                break;
        } else {
            error += straight;
        }
        if (xMajor)
            plot(c, minor);
        else
            plot(minor, c);
    }
}

// The anti-aliased line of an image of width x height pixels: a coverage walk
// in 16.16 fixed point from truncated end points that draws pairs of pixels,
// calling plot(x, y, weight) with weights 0..255. A neighbour pixel is drawn
// only beside a main pixel inside the image (width w, height h); plot checks
// every pixel it is given.
template <typename Plot> inline void WalkAntiAliasedLine(double x1, double y1, double x2, double y2, int w, int h,
                                                          Plot plot)
{
    if (!CutToReach(x1, y1, x2, y2))
        return;
    int ix1 = Trunc(x1), iy1 = Trunc(y1), ix2 = Trunc(x2), iy2 = Trunc(y2);
    if (iy2 < iy1) {
        std::swap(ix1, ix2);
        std::swap(iy1, iy2);
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    int64_t dx = int64_t(ix2) - ix1, dy = int64_t(iy2) - iy1;
    int xStep = dx < 0 ? -1 : 1;
    dx = std::abs(dx);
    uint32_t acc = uint32_t(Trunc(std::fabs(x1 - Trunc(x1)) * std::fabs(y1 - Trunc(y1)) * 65536.0));
    bool yMajor = dx < dy;
    double minorDelta = yMajor ? std::fabs(x2 - x1) : std::fabs(y2 - y1);
    double majorDelta = yMajor ? std::fabs(y2 - y1) : std::fabs(x2 - x1);
    uint32_t inc = uint32_t(Trunc(65536.0 * minorDelta / majorDelta));
    int64_t length = yMajor ? dy : dx;
    int x = ix1, y = iy1;
    if (length > 0) {
        plot(x, y, (255 - (acc >> 8)) & 0xFF);
        for (int64_t step = 0; step < length - 1; ++step) {
            acc += inc;
            if (acc > 0xFFFF) {
                acc &= 0xFFFF;
                if (yMajor)
                    x += xStep;
                else
                    y += 1;
            }
            if (yMajor)
                y += 1;
            else
                x += xStep;
            plot(x, y, (255 - (acc >> 8)) & 0xFF);
            if (yMajor) {
                if (x < w - 1 && x + xStep >= 0)
                    plot(x + xStep, y, (acc >> 8) & 0xFF);
            } else if (y < h - 1) {
                plot(x, y + 1, (acc >> 8) & 0xFF);
            }
        }
    }
    plot(ix2, iy2, (255 - (acc >> 8)) & 0xFF);
}

} // namespace LineWalk
} // namespace Zelk
