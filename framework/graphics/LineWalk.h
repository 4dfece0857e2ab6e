#pragma once
// The pixel walks of lines, shared by the memory image and the surface image
// drawing routines so that both visit the same pixels.
#include "framework/graphics/Image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace Zelk {
namespace LineWalk {

inline int Trunc(double v)
{
    return int(v);
}

// Horizontal and vertical lines are fills of the image; true when the line
// was one.
inline bool LineAsFill(Image* image, double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (y1 == y2) {
        int left = Trunc(std::min(x1, x2));
        image->FillRect(Rect(left, Trunc(y1), Trunc(std::max(x1, x2)) - left + 1, Trunc(y2 - y1 + 1)), color,
                        drawMode);
        return true;
    }
    if (x1 == x2) {
        int top = Trunc(std::min(y1, y2));
        image->FillRect(Rect(Trunc(x1), top, Trunc(x2 - x1 + 1), Trunc(std::max(y1, y2)) - top + 1), color,
                        drawMode);
        return true;
    }
    return false;
}

// Walks the line from the end with the smaller major coordinate and calls
// plot(x, y) for every pixel.
template <typename Plot> inline void WalkLine(double x1, double y1, double x2, double y2, Plot plot)
{
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
    int straight = Trunc(2 * minDelta);
    int diagonal = Trunc(2 * (minDelta - majDelta));
    int error = Trunc((minStart - Trunc(minStart)) * straight + Trunc(2 * minDelta - majDelta));

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
    int ix1 = Trunc(x1), iy1 = Trunc(y1), ix2 = Trunc(x2), iy2 = Trunc(y2);
    if (iy2 < iy1) {
        std::swap(ix1, ix2);
        std::swap(iy1, iy2);
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    int dx = ix2 - ix1, dy = iy2 - iy1;
    int xStep = dx < 0 ? -1 : 1;
    dx = std::abs(dx);
    uint32_t acc = uint32_t(Trunc(std::fabs(x1 - Trunc(x1)) * std::fabs(y1 - Trunc(y1)) * 65536.0));
    bool yMajor = dx < dy;
    double minorDelta = yMajor ? std::fabs(x2 - x1) : std::fabs(y2 - y1);
    double majorDelta = yMajor ? std::fabs(y2 - y1) : std::fabs(x2 - x1);
    uint32_t inc = uint32_t(Trunc(65536.0 * minorDelta / majorDelta));
    int length = yMajor ? dy : dx;
    int x = ix1, y = iy1;
    if (length > 0) {
        plot(x, y, (255 - (acc >> 8)) & 0xFF);
        for (int step = 0; step < length - 1; ++step) {
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
