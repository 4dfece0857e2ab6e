// Float-position and rotated blits of memory images: bilinear sampling in
// 16.16 fixed point.
#include "framework/graphics/ImageSource.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/RotateGeometry.h"
#include "framework/graphics/SaturationTable.h"

#include <algorithm>
#include <cmath>

namespace Zelk {

using RotateGeometry::Fixed;
using RotateGeometry::NarrowAxis;
using RotateGeometry::RotatedBlitBounds;

namespace {

struct RotateJob {
    uint32_t* dst;
    int dstStride;
    const ImageSource* src;
    Rect sr;
    bool white;
    bool additive;
    Color color;
};

void DrawSample(const RotateJob& job, uint32_t& d, int64_t u, int64_t v)
{
    int px = int(u >> 16), py = int(v >> 16);
    uint32_t fu = uint32_t((u & 0xFFFE) + 1), fv = uint32_t((v & 0xFFFE) + 1);
    uint32_t w[4] = {uint32_t((uint64_t(65536 - fu) * (65536 - fv)) >> 16), uint32_t((uint64_t(65536 - fv) * fu) >> 16),
                     uint32_t((uint64_t(65536 - fu) * fv) >> 16), uint32_t((uint64_t(fu) * fv) >> 16)};
    int sx = job.sr.mX + px, sy = job.sr.mY + py;
    uint32_t p[4] = {job.src->At(sx, sy), job.src->At(sx + 1, sy), job.src->At(sx, sy + 1),
                     job.src->At(sx + 1, sy + 1)};
    uint32_t ca = uint32_t(job.color.mAlpha);
    uint32_t cc[3] = {uint32_t(job.color.mBlue), uint32_t(job.color.mGreen), uint32_t(job.color.mRed)};

    uint32_t k[4], K = 0;
    for (int i = 0; i < 4; ++i) {
        k[i] = (w[i] * (p[i] >> 24)) >> 16;
        if (!job.white && !job.additive)
            k[i] = (k[i] * ca) >> 8;
        K += k[i];
    }
    uint32_t S[3] = {0, 0, 0}; // blue, green, red
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 4; ++i)
            S[c] += ((p[i] >> (8 * c)) & 0xFF) * k[i];

    if (job.additive) {
        const uint8_t* t = GetSaturationTable();
        uint32_t out = d & 0xFF000000;
        for (int c = 0; c < 3; ++c) {
            uint32_t add = S[c] >> 8;
            if (!job.white)
                add = (add * (cc[c] * ca / 255)) >> 8;
            add = std::min<uint32_t>(add, 255);
            out |= uint32_t(t[((d >> (8 * c)) & 0xFF) + add]) << (8 * c);
        }
        d = out;
        return;
    }
    if (K == 0)
        return;
    if (!job.white)
        for (int c = 0; c < 3; ++c)
            S[c] = S[c] * (cc[c] + 1) / 256;
    if (K >= 251) {
        uint32_t out = 0xFF000000;
        for (int c = 0; c < 3; ++c)
            out |= std::min<uint32_t>(S[c] >> 8, 255) << (8 * c);
        d = out;
        return;
    }
    uint32_t da = d >> 24, inv = 256 - K;
    uint32_t m = 256 - (((256 - da) * inv) >> 8);
    uint32_t out = (m - 1) << 24;
    for (int c = 0; c < 3; ++c) {
        uint32_t dc = (d >> (8 * c)) & 0xFF;
        out |= std::min<uint32_t>((((dc * da) >> 8) * inv + S[c]) / m, 255) << (8 * c);
    }
    d = out;
}

} // namespace

void MemoryImage::BlitFloat(Image* src, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                            int drawMode)
{
    BlitRotated(src, x, y, srcRect, clip, color, drawMode, 0.0, 0.0f, 0.0f);
}

void MemoryImage::BlitRotated(Image* image, float x, float y, const Rect& srcRect, const Rect& clip,
                              const Color& color, int drawMode, double angle, float centerX, float centerY)
{
    MemoryImage* src = BlitSource(image);
    if (!src)
        return;
    Rect sr = srcRect.Intersection(Rect(0, 0, src->mWidth, src->mHeight));
    Rect dclip = clip.Intersection(Rect(0, 0, mWidth, mHeight));
    if (sr.mWidth <= 0 || sr.mHeight <= 0)
        return;

    double cosA = std::cos(angle), sinA = std::sin(angle);
    double cx = centerX, cy = centerY;
    DoubleRect box = RotatedBlitBounds(x, y, sr, dclip, angle, centerX, centerY);
    if (box.mWidth <= 0 || box.mHeight <= 0)
        return;

    ImageSource source;
    uint32_t* dst = source.OpenPair(src, this);
    if (!dst)
        return;

    const Color masked = color.Masked();
    RotateJob job{dst, mWidth, &source, sr, masked == Color::White, drawMode != DRAWMODE_NORMAL, masked};
    int64_t du = Fixed(65536.0 * cosA), dv = Fixed(65536.0 * sinA);
    int x0 = int(box.mX);
    int64_t lastPixel = int64_t(box.mWidth - 1);
    for (int j = 0; j < box.mHeight; ++j) {
        int Y = int(box.mY) + j;
        double rx = x0 - cx - x, ry = Y - cy - y;
        int64_t u = Fixed(65536.0 * (rx * cosA - ry * sinA + cx));
        int64_t v = Fixed(65536.0 * (rx * sinA + ry * cosA + cy));
        int64_t first = 0, last = lastPixel;
        if (!NarrowAxis(u, du, sr.mWidth, false, first, last) || !NarrowAxis(v, dv, sr.mHeight, true, first, last))
            continue;
        if (Y < dclip.mY || Y >= dclip.mY + dclip.mHeight)
            continue;
        uint32_t* row = dst + size_t(Y) * size_t(mWidth);
        for (int64_t i = first; i <= last; ++i) {
            int64_t X = x0 + i;
            if (X < dclip.mX || X >= dclip.mX + dclip.mWidth)
                continue;
            int64_t pu = u + i * du, pv = v + i * dv;
            // The narrowing keeps the 2 x 2 sample inside; never read outside.
            if (pu < 0 || pv < 0 || (pu >> 16) + 1 >= sr.mWidth || (pv >> 16) + 1 >= sr.mHeight)
                continue;
            DrawSample(job, row[X], pu, pv);
        }
    }
    MarkBitsChanged();
}

} // namespace Zelk
