// Lines and coverage fills of memory images.
#include "framework/graphics/LineWalk.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelBlend.h"
#include "framework/graphics/SaturationTable.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>

namespace Zelk {

using LineWalk::LineAsFill;
using LineWalk::Trunc;
using LineWalk::WalkLine;

void MemoryImage::DrawLine(double x1, double y1, double x2, double y2, const Color& anyColor, int drawMode)
{
    const Color color = anyColor.Masked();
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

void MemoryImage::DrawAntiAliasedLine(double x1, double y1, double x2, double y2, const Color& anyColor,
                                      int drawMode)
{
    const Color color = anyColor.Masked();
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

        LineWalk::WalkAntiAliasedLine(x1, y1, x2, y2, w, h, plot);
    }
    MarkBitsChanged();
}

void MemoryImage::FillCoverageSpans(const Span* spans, int count, const Color& anyColor, int,
                                    const uint8_t* coverage, int coverX, int coverY, int coverWidth, int coverHeight)
{
    const Color color = anyColor.Masked();
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
