// Lines and coverage fills of memory images.
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelBlend.h"
#include "framework/graphics/SaturationTable.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>

namespace Zelk {

namespace {

int Trunc(double v)
{
    return int(v);
}

// Horizontal and vertical lines are fills; true when the line was one.
bool LineAsFill(MemoryImage* image, double x1, double y1, double x2, double y2, const Color& color, int drawMode)
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
template <typename Plot> void WalkLine(double x1, double y1, double x2, double y2, Plot plot)
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

} // namespace

void MemoryImage::DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (LineAsFill(this, x1, y1, x2, y2, color, drawMode))
        return;
    uint32_t* bits = GetBits();
    if (!bits)
        return;
    int w = mWidth, h = mHeight;
    auto at = [bits, w, h](int x, int y) -> uint32_t* {
        return (x >= 0 && y >= 0 && x < w && y < h) ? bits + size_t(y) * size_t(w) + x : nullptr;
    };
    uint32_t c[3] = {uint32_t(color.mRed), uint32_t(color.mGreen), uint32_t(color.mBlue)};
    uint32_t A = uint32_t(color.mAlpha);
    if (drawMode == DRAWMODE_NORMAL) {
        if (A == 255) {
            uint32_t L = 0xFF000000;
            for (int k = 0; k < 3; ++k)
                L |= ((c[k] * 255 + 127) >> 8) << (16 - 8 * k);
            WalkLine(x1, y1, x2, y2, [&](int x, int y) {
                if (uint32_t* p = at(x, y))
                    *p = L;
            });
        } else {
            uint32_t L[3];
            for (int k = 0; k < 3; ++k)
                L[k] = ((((c[k] * A + 128) >> 8) * 255) + 127) >> 8;
            WalkLine(x1, y1, x2, y2, [&](int x, int y) {
                uint32_t* p = at(x, y);
                if (!p)
                    return;
                uint32_t out = 0xFF000000;
                for (int k = 0; k < 3; ++k) {
                    uint32_t d = (*p >> (16 - 8 * k)) & 0xFF;
                    out |= ((((d * (256 - A) + 127) >> 8) + L[k]) & 0xFF) << (16 - 8 * k);
                }
                *p = out;
            });
        }
    } else if (drawMode == DRAWMODE_ADDITIVE) {
        const uint8_t* t = GetSaturationTable();
        uint32_t m[3];
        for (int k = 0; k < 3; ++k)
            m[k] = c[k] * A / 255;
        WalkLine(x1, y1, x2, y2, [&](int x, int y) {
            uint32_t* p = at(x, y);
            if (!p)
                return;
            uint32_t out = 0xFF000000;
            for (int k = 0; k < 3; ++k)
                out |= uint32_t(t[((*p >> (16 - 8 * k)) & 0xFF) + m[k]]) << (16 - 8 * k);
            *p = out;
        });
    }
    MarkBitsChanged();
}

void MemoryImage::DrawAntiAliasedLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (LineAsFill(this, x1, y1, x2, y2, color, drawMode))
        return;
    uint32_t* bits = GetBits();
    if (!bits)
        return;
    if (drawMode == DRAWMODE_NORMAL) {
        int w = mWidth, h = mHeight;
        uint32_t A = uint32_t(color.mAlpha);
        auto plot = [&](int x, int y, uint32_t k) {
            if (x < 0 || y < 0 || x >= w || y >= h)
                return;
            uint32_t a = A == 255 ? k : (k * (A + 1)) >> 8;
            uint32_t& p = bits[size_t(y) * size_t(w) + x];
            p = Blend::OverUnpacked(p, a, uint32_t(color.mRed), uint32_t(color.mGreen), uint32_t(color.mBlue));
        };

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
    MarkBitsChanged();
}

void MemoryImage::FillCoverageSpans(const Span* spans, int count, const Color& color, int, const uint8_t* coverage,
                                    int coverX, int coverY, int coverWidth, int coverHeight)
{
    uint32_t* bits = GetBits();
    if (!bits)
        return;
    int64_t coverSize = int64_t(coverWidth) * coverHeight;
    for (int s = 0; s < count; ++s) {
        const Span& span = spans[s];
        if (span.mY < 0 || span.mY >= mHeight)
            continue;
        for (int x = span.mX; x < span.mX + span.mWidth; ++x) {
            int64_t index = int64_t(span.mY - coverY) * coverWidth - coverX + x;
            assert(index >= 0 && index < coverSize);
            if (x < 0 || x >= mWidth || index < 0 || index >= coverSize)
                continue;
            uint32_t a = (uint32_t(color.mAlpha) * (uint32_t(coverage[index]) + 1)) >> 8;
            if (a == 0)
                continue;
            uint32_t& p = bits[size_t(span.mY) * size_t(mWidth) + x];
            p = Blend::OverUnpacked(p, a, uint32_t(color.mRed), uint32_t(color.mGreen), uint32_t(color.mBlue));
        }
    }
    MarkBitsChanged();
}

} // namespace Zelk
