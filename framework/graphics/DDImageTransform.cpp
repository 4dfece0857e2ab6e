// Rotated and stretched software blits onto a surface image's locked surface:
// the bilinear, alpha-weighted rotated blit in 16.16 fixed point, and the
// nearest-pixel stretch, plain and mirrored.
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/ImageSource.h"
#include "framework/graphics/RotateGeometry.h"
#include "framework/graphics/SurfaceFormat.h"
#include "framework/graphics/SurfaceRows.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

namespace Zelk {

using namespace Surface;

namespace {

template <typename P> constexpr bool Is16() { return std::is_same<P, uint16_t>::value; }

struct RotateJob {
    const Format* f;
    const ImageSource* src;
    Rect sr;
    Channels k;
    bool white;
    bool additive;
};

template <typename P> void RotatedPixel(const RotateJob& job, P& d, int64_t u, int64_t v)
{
    const Format& f = *job.f;
    const int px = job.sr.mX + int(u >> 16), py = job.sr.mY + int(v >> 16);
    const uint32_t fu = uint32_t((u & 0xFFFE) + 1), fv = uint32_t((v & 0xFFFE) + 1);
    const uint32_t gu = 0x10000 - fu, gv = 0x10000 - fv;
    const uint32_t p[4] = {job.src->At(px, py), job.src->At(px + 1, py), job.src->At(px, py + 1),
                           job.src->At(px + 1, py + 1)};
    const uint32_t area[4] = {(gu * gv) >> 16, (fu * gv) >> 16, (gu * fv) >> 16, (fu * fv) >> 16};
    uint32_t w[4], total = 0;
    for (int i = 0; i < 4; ++i) {
        w[i] = (area[i] * (p[i] >> 24)) >> 16;
        if (!job.white && !job.additive)
            w[i] = (w[i] * job.k.a) >> 8;
        total += w[i];
    }
    // T per channel (red, green, blue) from the samples' 8-bit channels.
    uint32_t T[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 4; ++i)
            T[c] += ((p[i] >> (16 - 8 * c)) & 0xFF) * w[i];
    const uint32_t dd = d;

    if (job.additive) {
        uint32_t add[3];
        for (int c = 0; c < 3; ++c)
            add[c] = T[c] >> (16 - f.bits[c]);
        d = P(f.AddSaturated(dd, add));
        return;
    }
    const uint32_t inv = 256 - total;
    if (job.white && f.standardOrder) {
        const uint32_t S = ((T[0] >> 8) << 16) | ((T[1] >> 8) << 8) | (T[2] >> 8);
        if constexpr (Is16<P>()) {
            if (f.form565) {
                d = P(Fold((((Spread565(dd) * (inv >> 3)) >> 5) & K565) + ((S & 0xFC00) << 11) + ((S >> 3) & 31) +
                           ((S >> 8) & 0xF800)));
                return;
            }
            if (f.form555) {
                d = P(Fold((((Spread555(dd) * (inv >> 3)) >> 5) & K555) + ((S >> 3) & 31) + ((S >> 9) & 0x7C00) +
                           ((S & 0xF800) << 10)));
                return;
            }
        } else {
            uint32_t out = 0;
            for (int c = 0; c < 3; ++c) {
                const int shift = 16 - 8 * c;
                out |= ((T[c] + ((dd >> shift) & 0xFF) * inv) >> 8) << shift;
            }
            d = P(out);
            return;
        }
    }
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const uint32_t M = f.mask[c];
        const uint32_t t = job.white ? T[c] : ((T[c] >> 8) * (job.k.c[c] + 1));
        out += ((t >> (16 - f.bits[c])) << f.shift[c]) + ((((dd & M) * inv) >> 8) & M);
    }
    d = P(out);
}

template <typename P>
void RotateRows(const RotateJob& job, float x, float y, double angle, float centerX, float centerY,
                const DoubleRect& bounds)
{
    const double c = std::cos(angle), s = std::sin(angle);
    const int64_t du = RotateGeometry::Fixed(c * 65536.0), dv = RotateGeometry::Fixed(s * 65536.0);
    const int bx = int(bounds.mX), by = int(bounds.mY);
    const double X0 = double(bx) - centerX - x;
    const int64_t lastColumn = int64_t(bounds.mWidth - 1.0);
    for (int r = 0; r < bounds.mHeight; ++r) {
        const double Y = double(by + r) - centerY - y;
        const int64_t u0 = RotateGeometry::Fixed((c * X0 - s * Y + centerX) * 65536.0);
        const int64_t v0 = RotateGeometry::Fixed((Y * c + centerY + X0 * s) * 65536.0);
        int64_t first = 0, last = lastColumn;
        if (!RotateGeometry::NarrowAxis(u0, du, job.sr.mWidth, false, first, last) ||
            !RotateGeometry::NarrowAxis(v0, dv, job.sr.mHeight, true, first, last) || first > last)
            continue;
        P* row = job.f->template Row<P>(by + r);
        for (int64_t i = first; i <= last; ++i) {
            const int64_t u = u0 + i * du, v = v0 + i * dv;
            // The narrowing keeps the 2 x 2 sample inside; never read outside.
            if (u < 0 || v < 0 || (u >> 16) + 1 >= job.sr.mWidth || (v >> 16) + 1 >= job.sr.mHeight)
                continue;
            RotatedPixel<P>(job, row[bx + i], u, v);
        }
    }
}

// What a stretch does with a sample, chosen once per call.
enum class StretchKind { Add, AddTinted, Over888, Over565, OverWhite, OverTinted };

template <typename P, StretchKind Kind>
inline void StretchPixel(const Format& f, P& d, uint32_t n, const uint32_t kc[3], uint32_t colorAlpha)
{
    const uint32_t alpha = n >> 24, dd = d;
    uint32_t out = 0;
    if constexpr (Kind == StretchKind::Add || Kind == StretchKind::AddTinted) {
        uint32_t add[3];
        for (int c = 0; c < 3; ++c) {
            add[c] = (n & f.mask[c]) >> f.shift[c];
            if constexpr (Kind == StretchKind::AddTinted)
                add[c] = (add[c] * kc[c]) >> 8;
        }
        out = f.AddSaturated(dd, add);
    } else if constexpr (Kind == StretchKind::Over888) {
        out = alpha == 255 ? n : SurfaceRows::OverNative(dd, n);
    } else if constexpr (Kind == StretchKind::Over565) {
        // OverWhite with the 5-6-5 masks known here.
        const uint32_t k = 256 - alpha;
        out = ((((dd & 0xF800) * k) >> 8) & 0xF800) + ((((dd & 0x07E0) * k) >> 8) & 0x07E0) +
              ((((dd & 0x001F) * k) >> 8) & 0x001F) + (n & 0xFFFF);
    } else if constexpr (Kind == StretchKind::OverWhite) {
        for (int c = 0; c < 3; ++c)
            out += (((dd & f.mask[c]) * (256 - alpha)) >> 8) & f.mask[c];
        out += Is16<P>() ? (n & 0xFFFF) : n;
    } else {
        const uint32_t jw = 256 - (alpha * colorAlpha) / 255;
        for (int c = 0; c < 3; ++c)
            out += ((((dd & f.mask[c]) * jw) + ((n & f.mask[c]) * kc[c])) >> 8) & f.mask[c];
    }
    d = P(out);
}

// The nearest stretch: the source column of every destination column is
// found once (mirrored: in reverse); a sample of alpha 0 leaves its pixel as
// it is.
template <typename P, StretchKind Kind>
void StretchRows(const Format& f, const NativeSource& src, int srcHeight, const Rect& dest, const DoubleRect& sr,
                 const Channels& k, bool mirrored)
{
    const int64_t du = int64_t(sr.mWidth * 65536.0 / dest.mWidth);
    const int64_t dv = int64_t(sr.mHeight * 65536.0 / dest.mHeight);
    int64_t v = int64_t(sr.mY * 65536.0);
    uint32_t kc[3];
    for (int c = 0; c < 3; ++c)
        kc[c] = (k.c[c] * k.a) / 255;
    const int maxX = src.width - 1, maxY = srcHeight - 1;
    const int w = dest.mWidth;
    std::vector<int> columns(size_t(w), 0);
    int64_t u = int64_t(sr.mX * 65536.0);
    for (int i = 0; i < w; ++i, u += du)
        columns[size_t(mirrored ? w - 1 - i : i)] = int(std::min<int64_t>(std::max<int64_t>(u >> 16, 0), maxX));
    const int* column = columns.data();
    for (int j = 0; j < dest.mHeight; ++j, v += dv) {
        const size_t line = size_t(std::min<int64_t>(std::max<int64_t>(v >> 16, 0), maxY)) * size_t(src.width);
        P* row = f.Row<P>(dest.mY + j) + dest.mX;
        auto draw = [&](auto sample) {
            if constexpr (Kind == StretchKind::Over888 && !Is16<P>()) {
                SurfaceRows::OverNativeSkipRow(row, w, sample);
            } else {
                for (int i = 0; i < w; ++i)
                    if (const uint32_t n = sample(i); n >> 24)
                        StretchPixel<P, Kind>(f, row[i], n, kc, k.a);
            }
        };
        if (src.indices) {
            const uint8_t* indices = src.indices + line;
            draw([&](int i) { return src.native[indices[column[i]]]; });
        } else {
            const uint32_t* from = src.native + line;
            draw([from, column](int i) { return from[column[i]]; });
        }
    }
}

} // namespace

bool DDImage::BlitRotatedOnSurface(MemoryImage* src, float x, float y, const Rect& srcRect, const Color& color,
                                   int drawMode, double angle, float centerX, float centerY, const DoubleRect& bounds)
{
    if (drawMode != DRAWMODE_NORMAL && drawMode != DRAWMODE_ADDITIVE)
        return false;
    src->AnalyzeBits();
    if (mSurfaceOnly)
        return false;
    Rect sr = srcRect.Intersection(Rect(0, 0, src->mWidth, src->mHeight));
    if (sr.mWidth <= 0 || sr.mHeight <= 0)
        return false;
    // Additive mode reads plain pixels: a palettised source gives its palette up.
    if (drawMode == DRAWMODE_ADDITIVE && !src->GetBits())
        return false;
    ImageSource source;
    if (!source.Open(src))
        return false;
    // Only rows and columns inside this image are drawn.
    const DoubleRect inside = bounds.Intersection(DoubleRect(0, 0, mWidth, mHeight));
    return OnSurface(*this, false, drawMode == DRAWMODE_ADDITIVE, [&](const Format& f, auto p) {
        const RotateJob job{&f, &source, sr, Channels(color), color == Color::White, drawMode == DRAWMODE_ADDITIVE};
        RotateRows<decltype(p)>(job, x, y, angle, centerX, centerY, inside);
    });
}

bool DDImage::BlitStretchedOnSurface(MemoryImage* src, const Rect& dest, const DoubleRect& srcRect,
                                     const Color& color, int drawMode, bool mirrored)
{
    if (drawMode != DRAWMODE_NORMAL && drawMode != DRAWMODE_ADDITIVE)
        return false;
    if (mSurfaceOnly || dest.mWidth <= 0 || dest.mHeight <= 0 || src->mWidth <= 0 || src->mHeight <= 0)
        return false;
    const Rect inside = dest.Intersection(Rect(0, 0, mWidth, mHeight));
    if (inside != dest)
        return false;
    NativeSource native;
    if (!OpenNative(src, mDDInterface, native))
        return false;
    const bool white = color == Color::White, additive = drawMode == DRAWMODE_ADDITIVE;
    return OnSurface(*this, true, additive, [&](const Format& f, auto p) {
        using P = decltype(p);
        const Channels k(color);
        if (additive && white)
            StretchRows<P, StretchKind::Add>(f, native, src->mHeight, dest, srcRect, k, mirrored);
        else if (additive)
            StretchRows<P, StretchKind::AddTinted>(f, native, src->mHeight, dest, srcRect, k, mirrored);
        else if (white && !Is16<P>() && f.Standard888())
            StretchRows<P, StretchKind::Over888>(f, native, src->mHeight, dest, srcRect, k, mirrored);
        else if (white && Is16<P>() && f.mask[0] == 0xF800 && f.mask[1] == 0x07E0 && f.mask[2] == 0x001F)
            StretchRows<P, StretchKind::Over565>(f, native, src->mHeight, dest, srcRect, k, mirrored);
        else if (white)
            StretchRows<P, StretchKind::OverWhite>(f, native, src->mHeight, dest, srcRect, k, mirrored);
        else
            StretchRows<P, StretchKind::OverTinted>(f, native, src->mHeight, dest, srcRect, k, mirrored);
    });
}

} // namespace Zelk
