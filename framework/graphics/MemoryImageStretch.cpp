// Stretched blits of memory images: nearest-pixel ("fast") and two-pass
// area resampling ("smooth").
#include "framework/graphics/ImageSource.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelBlend.h"
#include "framework/graphics/StretchMapping.h"
#include "framework/graphics/WideRows.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

namespace Zelk {

bool StretchSourceRect(const Rect& destRect, const Rect& srcRect, const Rect& clip, bool mirrored,
                       Rect& clippedDest, DoubleRect& clippedSrc)
{
    if (destRect.mWidth <= 0 || destRect.mHeight <= 0)
        return false;
    Rect c = destRect.Intersection(clip);
    if (c.mWidth <= 0 || c.mHeight <= 0)
        return false;
    // Edges in double: the destination may lie anywhere in the int range.
    double sx = double(srcRect.mWidth) / destRect.mWidth;
    double sy = double(srcRect.mHeight) / destRect.mHeight;
    double x = mirrored ? srcRect.mX + (double(destRect.mX) + destRect.mWidth - c.mX - c.mWidth) * sx
                        : srcRect.mX + (double(c.mX) - destRect.mX) * sx;
    clippedSrc = DoubleRect(x, srcRect.mY + (double(c.mY) - destRect.mY) * sy,
                            srcRect.mWidth + (double(c.mWidth) - destRect.mWidth) * sx,
                            srcRect.mHeight + (double(c.mHeight) - destRect.mHeight) * sy);
    clippedDest = c;
    return clippedSrc.mWidth > 0 && clippedSrc.mHeight > 0;
}

namespace {

// One weighted contribution of a source index to a buffer index.
struct Tap {
    int src;
    int dst;
    int weight;
};

// Resampling of one axis: the source run [srcPos, srcPos + srcLen) inside
// the whole pixels [areaStart, areaStart + areaLen) onto dstLen pixels.
// Buffer index k + 1 holds destination pixel k. Source indices are
// absolute and kept inside the area.
std::vector<Tap> AxisTaps(double srcPos, double srcLen, int areaStart, int areaLen, int dstLen, int scale)
{
    std::vector<Tap> taps;
    int areaLast = areaStart + areaLen - 1;
    auto inArea = [&](int i) { return std::min(std::max(i, areaStart), areaLast); };
    if (dstLen >= srcLen) {
        double step = dstLen == 1 ? srcLen : (srcLen - 1) / (dstLen - 1);
        for (int i = 0; i < dstLen; ++i) {
            double p = srcPos + i * step;
            int ip = int(std::floor(p));
            int w0 = int((1.0 - (p - ip)) * scale);
            taps.push_back({inArea(ip), i + 1, w0});
            taps.push_back({inArea(ip + 1), i + 1, scale - w0});
        }
    } else {
        double s = dstLen / srcLen;
        for (int c = 0; c < areaLen; ++c) {
            double p = (c + areaStart - srcPos) * s + 1;
            int lo = int(std::floor(p)), hi = int(std::floor(p + s));
            if (lo == hi)
                taps.push_back({areaStart + c, lo, int(s * scale)});
            else {
                taps.push_back({areaStart + c, lo, int((hi - p) * scale)});
                taps.push_back({areaStart + c, hi, int((p + s - hi) * scale)});
            }
        }
    }
    // Keep every buffer index inside the dstLen + 4 buffer.
    for (Tap& t : taps)
        t.dst = std::min(std::max(t.dst, 0), dstLen + 3);
    return taps;
}

// Smooth blend of one resampled pixel (channels blue, green, red, alpha)
// onto the destination; a zero alpha leaves it unchanged.
inline void SmoothBlend(uint32_t& d, uint32_t b, uint32_t g, uint32_t r, uint32_t a)
{
    if (a == 0)
        return;
    uint32_t dp = d;
    uint32_t ia = 256 - a;
    uint32_t nb = std::min<uint32_t>((((dp & 0xFF) * ia) >> 8) + ((a * b) >> 8), 255);
    uint32_t ng = std::min<uint32_t>(((((dp >> 8) & 0xFF) * ia) >> 8) + ((a * g) >> 8), 255);
    uint32_t nr = std::min<uint32_t>(((((dp >> 16) & 0xFF) * ia) >> 8) + ((a * r) >> 8), 255);
    d = (Blend::OverAlpha(dp >> 24, a) << 24) | (nr << 16) | (ng << 8) | nb;
}

// A source run of the destination's size on whole pixels: both axes
// resample with one full-weight tap per pixel, so every channel comes out
// as the source's own ((v x 257 x 256) >> 16 == v for v <= 255) and only
// the blend is left to do.
void SmoothUnscaled(uint32_t* dst, int dstStride, const ImageSource& src, const Rect& cd, int sx, int sy)
{
    src.WithRows([&](auto rows) {
        for (int j = 0; j < cd.mHeight; ++j) {
            rows.SetRow(sy + j, sx);
            uint32_t* d = dst + size_t(cd.mY + j) * size_t(dstStride) + cd.mX;
            for (int i = 0; i < cd.mWidth; ++i) {
                uint32_t p = rows[i];
                SmoothBlend(d[i], p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF, p >> 24);
            }
        }
    });
}

// Taps of zero weight add nothing; dropping them halves the work of a
// stretch that lands on whole source pixels.
void DropEmptyTaps(std::vector<Tap>& taps)
{
    taps.erase(std::remove_if(taps.begin(), taps.end(), [](const Tap& t) { return t.weight == 0; }), taps.end());
}

void SmoothStretch(uint32_t* dst, int dstStride, const ImageSource& src, const Rect& cd, const DoubleRect& cs)
{
    int ax = std::max(0, int(std::floor(cs.mX)));
    int ay = std::max(0, int(std::floor(cs.mY)));
    int aw = int(std::ceil(cs.mX - std::floor(cs.mX) + cs.mWidth));
    int ah = int(std::ceil(cs.mY - std::floor(cs.mY) + cs.mHeight));
    aw = std::min(aw, src.mWidth - ax);
    ah = std::min(ah, src.mHeight - ay);
    if (aw <= 0 || ah <= 0)
        return;
    if (cs.mWidth == cd.mWidth && cs.mHeight == cd.mHeight && cs.mX == ax && cs.mY == ay && aw >= cd.mWidth &&
        ah >= cd.mHeight) {
        SmoothUnscaled(dst, dstStride, src, cd, ax, ay);
        return;
    }

    // Buffer columns 1..width hold the destination pixels; taps landing
    // outside them only ever fed columns nobody reads.
    int bw = cd.mWidth + 4;
    std::vector<Tap> hTaps = AxisTaps(cs.mX, cs.mWidth, ax, aw, cd.mWidth, 257);
    std::vector<Tap> vTaps = AxisTaps(cs.mY, cs.mHeight, ay, ah, cd.mHeight, 256);
    DropEmptyTaps(hTaps);
    DropEmptyTaps(vTaps);
    // Vertical taps grouped by destination row, so that each row is summed
    // and blended while its sums are still in cache. Integer sums do not
    // depend on the order of their terms.
    std::stable_sort(vTaps.begin(), vTaps.end(), [](const Tap& a, const Tap& b) { return a.dst < b.dst; });

    // Horizontal pass: every source row of the area, four channels a pixel.
    std::vector<int32_t> rows(size_t(ah) * size_t(bw) * 4);
    src.WithRows([&](auto reader) {
        for (int r = 0; r < ah; ++r) {
            reader.SetRow(ay + r, 0);
            int32_t* row = &rows[size_t(r) * size_t(bw) * 4];
            for (const Tap& t : hTaps) {
                uint32_t p = reader[t.src];
                int32_t* a = row + size_t(t.dst) * 4;
                a[0] += int32_t(p & 0xFF) * t.weight;
                a[1] += int32_t((p >> 8) & 0xFF) * t.weight;
                a[2] += int32_t((p >> 16) & 0xFF) * t.weight;
                a[3] += int32_t(p >> 24) * t.weight;
            }
        }
    });

    // Vertical pass and blend, one destination row at a time.
    size_t n = size_t(cd.mWidth) * 4;
    std::vector<int32_t> line(n);
    auto tap = vTaps.begin();
    for (int j = 0; j < cd.mHeight; ++j) {
        while (tap != vTaps.end() && tap->dst < j + 1)
            ++tap;
        if (tap == vTaps.end() || tap->dst != j + 1)
            continue; // no contribution: every alpha is zero
        std::fill(line.begin(), line.end(), 0);
        int32_t* acc = line.data();
        for (; tap != vTaps.end() && tap->dst == j + 1; ++tap) {
            const int32_t* from = &rows[(size_t(tap->src - ay) * size_t(bw) + 1) * 4];
            int32_t w = tap->weight;
            for (size_t k = 0; k < n; ++k)
                acc[k] += from[k] * w;
        }
        uint32_t* d = dst + size_t(cd.mY + j) * size_t(dstStride) + cd.mX;
        for (int i = 0; i < cd.mWidth; ++i) {
            const int32_t* c = acc + size_t(i) * 4;
            auto channel = [](int32_t v) { return std::min<uint32_t>(uint32_t(v >> 16), 255); };
            SmoothBlend(d[i], channel(c[0]), channel(c[1]), channel(c[2]), channel(c[3]));
        }
    }
}

void FastStretch(uint32_t* dst, int dstStride, const ImageSource& src, const Rect& cd, const DoubleRect& cs)
{
    double sx = cs.mWidth / cd.mWidth, sy = cs.mHeight / cd.mHeight;
    // The source column of every destination column, computed once.
    std::vector<int> columns(size_t(cd.mWidth));
    for (int i = 0; i < cd.mWidth; ++i)
        columns[size_t(i)] = std::min(std::max(int(cs.mX + i * sx), 0), src.mWidth - 1);
    // The samples of one source row, gathered once for every destination row
    // that reads it, then blended as a plain row.
    std::vector<uint32_t> samples(size_t(cd.mWidth));
    const int* column = columns.data();
    src.WithRows([&](auto rows) {
        int sampled = -1;
        for (int j = 0; j < cd.mHeight; ++j) {
            const int y = std::min(std::max(int(cs.mY + j * sy), 0), src.mHeight - 1);
            if (y != sampled) {
                rows.SetRow(y, 0);
                if constexpr (std::is_same_v<decltype(rows), DirectRows>)
                    BlendRow::Gather(samples.data(), rows.row, src.mWidth, column, cd.mWidth);
                else
                    for (int i = 0; i < cd.mWidth; ++i)
                        samples[size_t(i)] = rows[column[i]];
                sampled = y;
            }
            BlendRow::OverSeparate(dst + size_t(cd.mY + j) * size_t(dstStride) + cd.mX, samples.data(), cd.mWidth);
        }
    });
}

} // namespace

void MemoryImage::BlitStretched(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                const Color& color, int, bool fastStretch)
{
    MemoryImage* src = BlitSource(image);
    if (!src)
        return;
    if (fastStretch && color != Color::White)
        return;
    // Only whole pixels of the source are read; a source rectangle reaching
    // outside the image is cut to it.
    Rect sr = srcRect.Intersection(Rect(0, 0, src->mWidth, src->mHeight));
    Rect cd;
    DoubleRect cs;
    if (!StretchSourceRect(destRect, sr, clip.Intersection(Rect(0, 0, mWidth, mHeight)), false, cd, cs))
        return;
    ImageSource source;
    uint32_t* dst = source.OpenPair(src, this);
    if (!dst)
        return;
    if (fastStretch)
        FastStretch(dst, mWidth, source, cd, cs);
    else
        SmoothStretch(dst, mWidth, source, cd, cs);
    MarkBitsChanged();
}

} // namespace Zelk
