// Software drawing straight into a surface image's locked surface, in the
// surface's own 16-bit or 32-bit format: fills, lines, the coverage fill and
// the plain, additive and mirrored blits. The arithmetic is integer only, on
// unsigned 32-bit values with wrap-around; 16-bit surfaces with the 5-6-5 and
// 5-5-5 layouts blend whole pixels at once in the spread form.
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/ImageSource.h"
#include "framework/graphics/LineWalk.h"
#include "framework/graphics/SurfaceFormat.h"
#include "framework/graphics/SurfaceRows.h"
#include "framework/graphics/WideRows.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace Zelk {

using namespace Surface;

namespace {

template <typename P> constexpr bool Is16() { return std::is_same<P, uint16_t>::value; }

// ---- fills ----

template <typename P> void FillNormal(const Format& f, const Rect& r, const Channels& k)
{
    if (k.a == 255) {
        uint32_t v = 0;
        for (int i = 0; i < 3; ++i)
            v += (((Is16<P>() ? k.c[i] + 1 : k.c[i]) * f.mask[i]) >> 8) & f.mask[i];
        for (int y = r.mY; y < r.mY + r.mHeight; ++y) {
            P* row = f.Row<P>(y);
            std::fill(row + r.mX, row + r.mX + r.mWidth, P(v));
        }
        return;
    }
    const uint32_t round = Is16<P>() ? 128 : 127;
    uint32_t s = 0;
    for (int i = 0; i < 3; ++i)
        s += (((((k.c[i] * k.a) + round) >> 8) + 1) * f.mask[i] >> 8) & f.mask[i];
    const uint32_t inv = 256 - k.a;
    for (int y = r.mY; y < r.mY + r.mHeight; ++y) {
        P* row = f.Row<P>(y);
        if constexpr (!Is16<P>()) {
            if (f.Standard888()) {
                SurfaceRows::FillOverRow(row + r.mX, r.mWidth, s, inv);
                continue;
            }
        }
        for (int x = r.mX; x < r.mX + r.mWidth; ++x) {
            const uint32_t d = row[x];
            uint32_t out = s;
            for (int i = 0; i < 3; ++i)
                out += (((d & f.mask[i]) * inv + (Is16<P>() ? f.mask[i] : 0)) >> 8) & f.mask[i];
            row[x] = P(out);
        }
    }
}

// The colour's share of each channel at the channel's own width.
void AdditiveShares(const Format& f, const Channels& k, uint32_t add[3])
{
    for (int i = 0; i < 3; ++i)
        add[i] = ((k.c[i] * k.a) / 255) >> (8 - f.bits[i]);
}

template <typename P> void FillAdditive(const Format& f, const Rect& r, const Channels& k)
{
    uint32_t add[3];
    AdditiveShares(f, k, add);
    for (int y = r.mY; y < r.mY + r.mHeight; ++y) {
        P* row = f.Row<P>(y);
        for (int x = r.mX; x < r.mX + r.mWidth; ++x)
            row[x] = P(f.AddSaturated(row[x], add));
    }
}

// ---- lines ----

// Calls draw(pixel) for every pixel of the line inside the surface.
template <typename P, typename Draw>
void WalkOnSurface(const Format& f, int w, int h, double x1, double y1, double x2, double y2, Draw draw)
{
    LineWalk::WalkLine(x1, y1, x2, y2, [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < w && y < h)
            draw(f.Row<P>(y)[x]);
    });
}

template <typename P>
void LineNormal(const Format& f, int w, int h, double x1, double y1, double x2, double y2, const Channels& k)
{
    if (k.a == 255) {
        uint32_t v = 0;
        for (int i = 0; i < 3; ++i)
            v += ((k.c[i] * f.mask[i] + (f.mask[i] >> 1)) >> 8) & f.mask[i];
        WalkOnSurface<P>(f, w, h, x1, y1, x2, y2, [v](P& d) { d = P(v); });
        return;
    }
    uint32_t s = 0;
    for (int i = 0; i < 3; ++i)
        s += (((((k.c[i] * k.a) + 128) >> 8) * f.mask[i] + (f.mask[i] >> 1)) >> 8) & f.mask[i];
    const uint32_t inv = 256 - k.a;
    WalkOnSurface<P>(f, w, h, x1, y1, x2, y2, [&](P& d) {
        uint32_t out = s;
        for (int i = 0; i < 3; ++i)
            out += (((d & f.mask[i]) * inv + (f.mask[i] >> 1)) >> 8) & f.mask[i];
        d = P(out);
    });
}

template <typename P>
void LineAdditive(const Format& f, int w, int h, double x1, double y1, double x2, double y2, const Channels& k)
{
    uint32_t add[3];
    AdditiveShares(f, k, add);
    WalkOnSurface<P>(f, w, h, x1, y1, x2, y2, [&](P& d) { d = P(f.AddSaturated(d, add)); });
}

// The colour at full strength: sum of ((c x M) >> 8) & M.
uint32_t PlainColor(const Format& f, const Channels& k)
{
    uint32_t s = 0;
    for (int i = 0; i < 3; ++i)
        s += ((k.c[i] * f.mask[i]) >> 8) & f.mask[i];
    return s;
}

// Pixel d weighted w (0..256) against s weighted 256 - w, per channel.
template <typename P> uint32_t Weighted(const Format& f, uint32_t d, uint32_t s, uint32_t w)
{
    uint32_t out = 0;
    for (int i = 0; i < 3; ++i)
        out += ((((d & f.mask[i]) * (256 - w)) + ((s & f.mask[i]) * w)) >> 8) & f.mask[i];
    return out;
}

template <typename P>
void AntiAliasedLine(const Format& f, int w, int h, double x1, double y1, double x2, double y2, const Channels& k)
{
    const uint32_t s = PlainColor(f, k);
    LineWalk::WalkAntiAliasedLine(x1, y1, x2, y2, w, h, [&](int x, int y, uint32_t weight) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return;
        if (k.a != 255)
            weight = (weight * (k.a + 1)) >> 8;
        P& d = f.Row<P>(y)[x];
        if constexpr (Is16<P>()) {
            if (f.form565 || f.form555) {
                auto spread = f.form565 ? Spread565 : Spread555;
                const uint32_t K = f.form565 ? K565 : K555;
                const uint32_t mine = (((weight >> 3) * spread(s)) >> 5) & K;
                const uint32_t under = ((((256 - weight) >> 3) * spread(d)) >> 5) & K;
                d = P(Fold(mine + under));
            } else {
                d = P(Weighted<P>(f, d, s, weight));
            }
        } else {
            uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8)
                out |= (((((uint32_t(d) >> shift) & 0xFF) * (256 - weight)) + (((s >> shift) & 0xFF) * weight)) >> 8)
                       << shift;
            d = P(out);
        }
    });
}

// ---- blits ----

// The colour's factor of each channel: (c x a) / 255.
void ColourFactors(const Channels& k, uint32_t kc[3])
{
    for (int i = 0; i < 3; ++i)
        kc[i] = (k.c[i] * k.a) / 255;
}

// Walks the source rectangle run by run (a run's length is its run-length
// byte, cut at the row's end) and calls draw(row, start, i, n, first) for the
// runs whose first native value `keep` accepts; row is the destination row,
// start the source index of the rectangle's row, i the run's first column.
template <typename P, typename Keep, typename Draw>
void ForEachRun(const Format& f, int y, const NativeSource& src, const uint8_t* runs, const Rect& sr, Keep keep,
                Draw draw)
{
    for (int j = 0; j < sr.mHeight; ++j) {
        P* row = f.Row<P>(y + j);
        const size_t start = size_t(sr.mY + j) * size_t(src.width) + size_t(sr.mX);
        int i = 0;
        while (i < sr.mWidth) {
            const int n = std::max(1, std::min<int>(runs[start + size_t(i)], sr.mWidth - i));
            const uint32_t first = src.At(start + size_t(i));
            if (keep(first))
                draw(row, start, i, n, first);
            i += n;
        }
    }
}

// The general path of the plain blit, onto columns that run right to left
// when mirrored: opaque runs copied, transparent runs skipped, the rest
// blended by each pixel's own alpha, all modulated by the colour.
template <typename P, bool Mirrored>
void BlitRuns(const Format& f, int x, int y, const NativeSource& src, const uint8_t* runs, const Rect& sr,
              const Channels& k, bool white)
{
    uint32_t kc[3];
    ColourFactors(k, kc);
    const bool equal = kc[0] == kc[1] && kc[1] == kc[2];
    const bool spreadForm = Is16<P>() && (f.form565 || f.form555);
    auto spread = f.form565 ? Spread565 : Spread555;
    const uint32_t K = f.form565 ? K565 : K555;

    // One pixel of alpha x under the colour.
    auto blend = [&](uint32_t d, uint32_t n, uint32_t x) -> uint32_t {
        if (white) {
            // Here x is below 255: the opaque runs are copies.
            if constexpr (Is16<P>()) {
                if (spreadForm)
                    return (Fold(((spread(d) * ((256 - x) >> 3)) >> 5) & K) + n) & 0xFFFF;
                uint32_t out = 0;
                for (int i = 0; i < 3; ++i)
                    out += (((d & f.mask[i]) * (256 - x)) >> 8) & f.mask[i];
                return (out + n) & 0xFFFF;
            } else {
                return SurfaceRows::OverNative(d, n);
            }
        }
        const bool opaque = x == 255 && k.a == 255;
        const uint32_t j = 256 - (x * k.a) / 255;
        if (equal && spreadForm) {
            const uint32_t kk = kc[0];
            if (opaque)
                return Fold(((spread(n) * (kk >> 3)) >> 5) & K);
            return Fold((((spread(n) * (kk >> 3)) + spread(d) * (j >> 3)) >> 5) & K);
        }
        if (equal && !Is16<P>()) {
            const uint32_t kk = kc[0];
            if (opaque)
                return ((((n & 0x00FF00FF) * kk) >> 8) & 0x00FF00FF) + ((((n & 0xFF00) * kk) >> 8) & 0xFF00);
            return (((((d & 0x00FF00FF) * j) + ((n & 0x00FF00FF) * kk)) >> 8) & 0x00FF00FF) +
                   (((((d & 0xFF00) * j) + ((n & 0xFF00) * kk)) >> 8) & 0xFF00);
        }
        uint32_t out = 0;
        for (int i = 0; i < 3; ++i) {
            const uint32_t M = f.mask[i];
            out += opaque ? (((n & M) * kc[i]) >> 8) & M : ((((d & M) * j) + ((n & M) * kc[i])) >> 8) & M;
        }
        return out;
    };

    // A 32-bit surface under the source's own words: whole rows, four pixels
    // at a time (transparent groups skipped, opaque ones copied), which
    // costs less than stepping through the short runs of soft edges.
    const bool rows32 = !Is16<P>() && !Mirrored && white && !src.indices;
    if constexpr (Is16<P>()) {
        if (!Mirrored && white && !src.indices && f.form565) {
            for (int j = 0; j < sr.mHeight; ++j)
                BlendRow::OverNativeSkip565(f.Row<P>(y + j) + x,
                                            src.native + size_t(sr.mY + j) * size_t(src.width) + size_t(sr.mX),
                                            sr.mWidth);
            return;
        }
    } else {
        if (rows32) {
            for (int j = 0; j < sr.mHeight; ++j) {
                uint32_t* d = reinterpret_cast<uint32_t*>(f.Row<P>(y + j)) + x;
                BlendRow::OverNativeSkip(d, src.native + size_t(sr.mY + j) * size_t(src.width) + size_t(sr.mX),
                                         sr.mWidth);
            }
            return;
        }
    }
    auto keep = [](uint32_t first) { return (first >> 24) != 0; };
    ForEachRun<P>(f, y, src, runs, sr, keep, [&](P* row, size_t start, int i, int n, uint32_t first) {
        const uint32_t alpha = first >> 24;
        for (int m = i; m < i + n; ++m) {
            const uint32_t v = src.At(start + size_t(m));
            P& d = row[Mirrored ? x + sr.mWidth - 1 - m : x + m];
            if (white && alpha == 255)
                d = P(v);
            else
                d = P(blend(d, v, v >> 24));
        }
    });
}

template <typename P, bool Mirrored>
void BlitAddRuns(const Format& f, int x, int y, const NativeSource& src, const uint8_t* runs, const Rect& sr,
                 const Channels& k, bool white)
{
    uint32_t kc[3];
    ColourFactors(k, kc);
    // The display's tables saturate each channel at its largest value, so
    // on the 8-8-8 and 5-6-5 layouts whole rows go at once (a word of colour
    // 0, which the runs leave out, leaves its pixel as it is there too).
    if (!Mirrored && white && !src.indices) {
        if constexpr (Is16<P>()) {
            if (f.form565 && f.mask[0] == 0xF800 && f.mask[2] == 0x1F && f.shift[0] == 11 && f.shift[1] == 5 &&
                f.shift[2] == 0 && f.bits[0] == 5 && f.bits[1] == 6 && f.bits[2] == 5 && f.SaturatingTables()) {
                for (int j = 0; j < sr.mHeight; ++j)
                    BlendRow::AddNative565(f.Row<P>(y + j) + x,
                                           src.native + size_t(sr.mY + j) * size_t(src.width) + size_t(sr.mX),
                                           sr.mWidth);
                return;
            }
        } else {
            if (f.Standard888()) {
                for (int j = 0; j < sr.mHeight; ++j)
                    BlendRow::AddNativeSkip(reinterpret_cast<uint32_t*>(f.Row<P>(y + j)) + x,
                                            src.native + size_t(sr.mY + j) * size_t(src.width) + size_t(sr.mX),
                                            sr.mWidth);
                return;
            }
        }
    }
    auto keep = [](uint32_t first) { return (first & 0xFFFFFF) != 0; };
    ForEachRun<P>(f, y, src, runs, sr, keep, [&](P* row, size_t start, int i, int n, uint32_t) {
        for (int m = i; m < i + n; ++m) {
            const uint32_t v = src.At(start + size_t(m));
            uint32_t add[3];
            for (int c = 0; c < 3; ++c) {
                add[c] = (v & f.mask[c]) >> f.shift[c];
                if (!white)
                    add[c] = (add[c] * kc[c]) >> 8;
            }
            P& d = row[Mirrored ? x + sr.mWidth - 1 - m : x + m];
            d = P(f.AddSaturated(d, add));
        }
    });
}

// The plain blit of a volatile source: its ARGB pixels blended one by one.
template <typename P, typename Rows>
void BlitVolatile(const Format& f, int x, int y, Rows rows, const Rect& sr)
{
    const bool standard = f.standardOrder;
    for (int j = 0; j < sr.mHeight; ++j) {
        rows.SetRow(sr.mY + j, sr.mX);
        P* row = f.Row<P>(y + j) + x;
        for (int i = 0; i < sr.mWidth; ++i) {
            const uint32_t p = rows[i];
            const uint32_t a = p >> 24;
            const uint32_t d = row[i];
            if constexpr (Is16<P>()) {
                if (standard && f.form565) {
                    const uint32_t q = ((p & 0xFC00) << 11) + ((p >> 3) & 31) + ((p >> 8) & 0xF800);
                    const uint32_t t = Spread565(d);
                    row[i] = P(Fold(((((q - t) * (a >> 3)) >> 5) + t) & K565));
                    continue;
                }
                if (standard && f.form555) {
                    const uint32_t q = ((p >> 3) & 31) + ((p >> 9) & 0x7C00) + ((p & 0xF800) << 10);
                    const uint32_t t = Spread555(d);
                    row[i] = P(Fold(((((q - t) * (a >> 3)) >> 5) + t) & K555));
                    continue;
                }
            } else {
                if (standard) {
                    const uint32_t rb =
                        (((((p & 0x00FF00FF) - (d & 0x00FF00FF)) * a) >> 8) + (d & 0x00FF00FF)) & 0x00FF00FF;
                    const uint32_t g = (((((p & 0xFF00) - (d & 0xFF00)) * a) >> 8) + (d & 0xFF00)) & 0xFF00;
                    row[i] = P(rb | g);
                    continue;
                }
            }
            // Any other layout: each channel of p by its mask's channel.
            const uint32_t pc[3] = {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF};
            uint32_t out = 0;
            for (int c = 0; c < 3; ++c) {
                const uint32_t M = f.mask[c];
                out += (((d & M) * (256 - a) + ((pc[c] * a) >> 8) * M + (M >> 1)) >> 8) & M;
            }
            row[i] = P(out);
        }
    }
}

// The opaque path: native values copied, those of transparent pixels left out.
template <typename P>
void BlitCopy(const Format& f, int x, int y, const NativeSource& src, const Rect& sr, bool transparent)
{
    for (int j = 0; j < sr.mHeight; ++j) {
        P* row = f.Row<P>(y + j) + x;
        const size_t start = size_t(sr.mY + j) * size_t(src.width) + size_t(sr.mX);
        if (!Is16<P>() && !transparent && !src.indices) {
            std::memcpy(row, src.native + start, size_t(sr.mWidth) * sizeof(uint32_t));
            continue;
        }
        for (int i = 0; i < sr.mWidth; ++i) {
            const uint32_t v = src.At(start + size_t(i));
            if (!transparent || (v >> 24) != 0)
                row[i] = P(v);
        }
    }
}

} // namespace

bool DDImage::FillRectNormal(const Rect& rect, const Color& color)
{
    return OnSurface(*this, true, false,
                     [&](const Format& f, auto p) { FillNormal<decltype(p)>(f, rect, Channels(color)); });
}

bool DDImage::FillRectAdditive(const Rect& rect, const Color& color)
{
    return OnSurface(*this, true, true,
                     [&](const Format& f, auto p) { FillAdditive<decltype(p)>(f, rect, Channels(color)); });
}

bool DDImage::DrawLineNormal(double x1, double y1, double x2, double y2, const Color& color)
{
    return OnSurface(*this, true, false, [&](const Format& f, auto p) {
        LineNormal<decltype(p)>(f, mWidth, mHeight, x1, y1, x2, y2, Channels(color));
    });
}

bool DDImage::DrawLineAdditive(double x1, double y1, double x2, double y2, const Color& color)
{
    return OnSurface(*this, true, true, [&](const Format& f, auto p) {
        LineAdditive<decltype(p)>(f, mWidth, mHeight, x1, y1, x2, y2, Channels(color));
    });
}

bool DDImage::DrawAntiAliasedLineNormal(double x1, double y1, double x2, double y2, const Color& color)
{
    return OnSurface(*this, false, false, [&](const Format& f, auto p) {
        AntiAliasedLine<decltype(p)>(f, mWidth, mHeight, x1, y1, x2, y2, Channels(color));
    });
}

bool DDImage::DrawAntiAliasedLineAdditive(double, double, double, double, const Color&)
{
    // There is no additive anti-aliased line: nothing is drawn (and nothing
    // needs the memory copies dropped).
    return false;
}

bool DDImage::FillCoverage(const Span* spans, int count, const Color& color, const uint8_t* coverage, int coverX,
                           int coverY, int coverWidth, int coverHeight)
{
    if (count <= 0)
        return false;
    Drawing d(*this, false);
    if (!d)
        return false;
    const Format& f = d.f;
    const Channels k(color);
    const uint32_t s = PlainColor(f, k);
    const int64_t coverSize = int64_t(coverWidth) * coverHeight;
    for (int n = 0; n < count; ++n) {
        const Span& span = spans[n];
        if (span.mY < 0 || span.mY >= mHeight)
            continue;
        for (int64_t x = std::max(span.mX, 0); x < std::min(int64_t(span.mX) + span.mWidth, int64_t(mWidth)); ++x) {
            const int64_t index = int64_t(span.mY - coverY) * coverWidth - coverX + x;
            if (index < 0 || index >= coverSize)
                continue;
            const uint32_t w = ((uint32_t(coverage[index]) + 1) * k.a) >> 8;
            if (f.bitCount == 16) {
                uint16_t& p = f.Row<uint16_t>(span.mY)[x];
                p = uint16_t(Weighted<uint16_t>(f, p, s, w));
            } else {
                uint32_t& p = f.Row<uint32_t>(span.mY)[x];
                p = Weighted<uint32_t>(f, p, s, w);
            }
        }
    }
    return true;
}

bool DDImage::BlitNormal(Image* image, int x, int y, const Rect& srcRect, const Color& color)
{
    MemoryImage* src = BlitSource(image);
    if (!src)
        return false;
    src->AnalyzeBits();
    DDImage* surfaceSource = dynamic_cast<DDImage*>(src);
    const bool white = color == Color::White;
    Rect sr = srcRect;
    if (!ClipBlit(src, this, x, y, sr, false))
        return false;

    if (src->mVolatile && !(surfaceSource && surfaceSource->mSurface) && !mSurfaceOnly && white) {
        ImageSource source;
        if (!source.Open(src))
            return false;
        return OnSurface(*this, false, false, [&](const Format& f, auto p) {
            source.WithRows([&](auto rows) { BlitVolatile<decltype(p)>(f, x, y, rows, sr); });
        });
    }

    if (!src->mHasAlpha && white) {
        if (surfaceSource && surfaceSource->mSurface && (mInVideoMemory || !surfaceSource->mInVideoMemory)) {
            plat::DDSurface* surface = GetSurface();
            if (!surface)
                return false;
            if (mLockCount > 0)
                surface->Unlock();
            const plat::DDRect dest{x, y, x + sr.mWidth, y + sr.mHeight};
            const plat::DDRect from{sr.mX, sr.mY, sr.mX + sr.mWidth, sr.mY + sr.mHeight};
            const plat::DDBltFx fx;
            const int32_t result =
                surface->Blt(&dest, surfaceSource->mSurface, &from,
                             plat::DDBLT_WAIT | (src->mHasTransparency ? uint32_t(plat::DDBLT_KEYSRC) : 0u), &fx);
            if (mLockCount > 0)
                surface->Lock(nullptr, mLockDesc, plat::DDLOCK_WAIT);
            return result >= 0;
        }
        if (mSurfaceOnly)
            return false;
        NativeSource native;
        if (!OpenNative(src, mDDInterface, native))
            return false;
        return OnSurface(*this, false, false, [&](const Format& f, auto p) {
            BlitCopy<decltype(p)>(f, x, y, native, sr, src->mHasTransparency);
        });
    }

    if (mSurfaceOnly)
        return false;
    NativeSource native;
    if (!OpenNative(src, mDDInterface, native))
        return false;
    const uint8_t* runs = src->GetAlphaRunLengths();
    if (!runs)
        return false;
    return OnSurface(*this, false, false, [&](const Format& f, auto p) {
        BlitRuns<decltype(p), false>(f, x, y, native, runs, sr, Channels(color), white);
    });
}

namespace {

// The additive and mirrored blits share their set-up.
template <bool Mirrored, bool Additive>
bool BlitOnSurface(DDImage& dest, int x, int y, const Rect& srcRect, const Color& color, MemoryImage* src)
{
    Rect sr = srcRect;
    if (!ClipBlit(src, &dest, x, y, sr, Mirrored))
        return false;
    NativeSource native;
    if (!OpenNative(src, dest.mDDInterface, native))
        return false;
    const uint8_t* runs = Additive ? src->GetAdditiveRunLengths(dest.mDDInterface) : src->GetAlphaRunLengths();
    if (!runs)
        return false;
    const bool white = color == Color::White;
    return OnSurface(dest, false, Additive, [&](const Format& f, auto p) {
        if (Additive)
            BlitAddRuns<decltype(p), Mirrored>(f, x, y, native, runs, sr, Channels(color), white);
        else
            BlitRuns<decltype(p), Mirrored>(f, x, y, native, runs, sr, Channels(color), white);
    });
}

} // namespace

bool DDImage::BlitAdditive(Image* image, int x, int y, const Rect& srcRect, const Color& color)
{
    MemoryImage* src = BlitSource(image);
    if (!src || mSurfaceOnly)
        return false;
    return BlitOnSurface<false, true>(*this, x, y, srcRect, color, src);
}

bool DDImage::BlitMirroredNormal(Image* image, int x, int y, const Rect& srcRect, const Color& color)
{
    MemoryImage* src = BlitSource(image);
    if (!src || mSurfaceOnly)
        return false;
    src->AnalyzeBits();
    return BlitOnSurface<true, false>(*this, x, y, srcRect, color, src);
}

bool DDImage::BlitMirroredAdditive(Image* image, int x, int y, const Rect& srcRect, const Color& color)
{
    MemoryImage* src = BlitSource(image);
    if (!src || mSurfaceOnly)
        return false;
    return BlitOnSurface<true, true>(*this, x, y, srcRect, color, src);
}

} // namespace Zelk
