// Stretched blits of memory images: nearest-pixel ("fast") and two-pass
// area resampling ("smooth").
#include "framework/graphics/ImageSource.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelBlend.h"
#include "framework/graphics/StretchMapping.h"
#include "framework/graphics/WideRows.h"
#include "platform/cpu/CpuFeatures.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#define ZELK_STRETCH_X86 1
#endif

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
    // At most two taps for each destination or area pixel, written in place.
    std::vector<Tap> taps(size_t(2) * size_t(std::max(dstLen, areaLen)));
    Tap* out = taps.data();
    int areaLast = areaStart + areaLen - 1;
    auto inArea = [&](int i) { return std::min(std::max(i, areaStart), areaLast); };
    if (dstLen >= srcLen) {
        double step = dstLen == 1 ? srcLen : (srcLen - 1) / (dstLen - 1);
        for (int i = 0; i < dstLen; ++i) {
            double p = srcPos + i * step;
            int ip = int(std::floor(p));
            int w0 = int((1.0 - (p - ip)) * scale);
            *out++ = {inArea(ip), i + 1, w0};
            *out++ = {inArea(ip + 1), i + 1, scale - w0};
        }
    } else {
        double s = dstLen / srcLen;
        for (int c = 0; c < areaLen; ++c) {
            double p = (c + areaStart - srcPos) * s + 1;
            int lo = int(std::floor(p)), hi = int(std::floor(p + s));
            if (lo == hi)
                *out++ = {areaStart + c, lo, int(s * scale)};
            else {
                *out++ = {areaStart + c, lo, int((hi - p) * scale)};
                *out++ = {areaStart + c, hi, int((p + s - hi) * scale)};
            }
        }
    }
    taps.resize(size_t(out - taps.data()));
    // Keep every buffer index inside the dstLen + 4 buffer.
    for (Tap& t : taps)
        t.dst = std::min(std::max(t.dst, 0), dstLen + 3);
    return taps;
}

// A source run of the destination's size on whole pixels: both axes
// resample with one full-weight tap per pixel, so every channel comes out
// as the source's own ((v x 257 x 256) >> 16 == v for v <= 255) and only
// the blend is left to do.
// wide: whole rows go through the row kernel (not for an image drawn onto
// itself, where the pixel by pixel order decides what each read sees).
void SmoothUnscaled(uint32_t* dst, int dstStride, const ImageSource& src, const Rect& cd, int sx, int sy, bool wide)
{
    src.WithRows([&](auto rows) {
        for (int j = 0; j < cd.mHeight; ++j) {
            rows.SetRow(sy + j, sx);
            uint32_t* d = dst + size_t(cd.mY + j) * size_t(dstStride) + cd.mX;
            if constexpr (std::is_same_v<decltype(rows), DirectRows>) {
                if (wide) {
                    BlendRow::SmoothOver(d, rows.row, cd.mWidth);
                    continue;
                }
            }
            for (int i = 0; i < cd.mWidth; ++i) {
                const uint32_t p = rows[i];
                BlendRow::SmoothOver(d + i, &p, 1);
            }
        }
    });
}

// The four channel sums of one buffer column, kept in registers while its
// taps are added. A channel (at most 255) times a weight (at most 257) fits
// in 16 bits, so with SSE2 the products come from one 16-bit multiply.
class ChannelSums {
public:
#if defined(__SSE2__)
    void Add(uint32_t pixel, int weight)
    {
        const __m128i zero = _mm_setzero_si128();
        const __m128i p16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int32_t(pixel)), zero);
        const __m128i product = _mm_mullo_epi16(p16, _mm_set1_epi16(int16_t(weight)));
        mSums = _mm_add_epi32(mSums, _mm_unpacklo_epi16(product, zero));
    }
    void Store(int32_t* out) const { _mm_storeu_si128(reinterpret_cast<__m128i*>(out), mSums); }

private:
    __m128i mSums = _mm_setzero_si128();
#else
    void Add(uint32_t pixel, int weight)
    {
        for (int c = 0; c < 4; ++c)
            mSums[c] += int32_t((pixel >> (8 * c)) & 0xFF) * weight;
    }
    void Store(int32_t* out) const { std::copy(mSums, mSums + 4, out); }

private:
    int32_t mSums[4] = {0, 0, 0, 0};
#endif
};

// The vertical pass's loops: to[k] += from[k] x w, and four channel sums a
// pixel turned into the pixel (each sum >> 16, ending at 255). The compiler
// makes both wide; they are built once more for AVX2, whose 32-bit multiply
// and unsigned minimum it then uses, and chosen at run time.
#define ZELK_STRETCH_LOOPS(Attributes, Suffix)                                                                       \
    Attributes void AddWeighted##Suffix(int32_t* to, const int32_t* from, int32_t w, size_t n)                       \
    {                                                                                                                \
        for (size_t k = 0; k < n; ++k)                                                                               \
            to[k] += from[k] * w;                                                                                    \
    }                                                                                                                \
    Attributes void PackSums##Suffix(uint32_t* out, const int32_t* sums, int n)                                      \
    {                                                                                                                \
        for (int i = 0; i < n; ++i) {                                                                                \
            uint32_t pixel = 0;                                                                                      \
            for (int c = 0; c < 4; ++c)                                                                              \
                pixel |= std::min<uint32_t>(uint32_t(sums[4 * i + c] >> 16), 255) << (8 * c);                        \
            out[i] = pixel;                                                                                          \
        }                                                                                                            \
    }
ZELK_STRETCH_LOOPS(, )
#if ZELK_STRETCH_X86
ZELK_STRETCH_LOOPS(__attribute__((target("avx2"))), Avx2)
#else
// Never chosen without the x86 forms.
constexpr auto AddWeightedAvx2 = AddWeighted;
constexpr auto PackSumsAvx2 = PackSums;
#endif
#undef ZELK_STRETCH_LOOPS

// The taps of an axis as the passes use them: none of zero weight (they add
// nothing; dropping them halves the work of a stretch that lands on whole
// source pixels), none outside buffer indices 1..dstLen (they only ever fed
// pixels nobody reads), grouped by destination. Integer sums do not depend on
// the order of their terms; the taps come nearly in order, so an insertion
// sort. Frames draw the same stretches again and again: the last ones made on
// this thread are kept and handed out again.
std::vector<Tap> PreparedTaps(double srcPos, double srcLen, int areaStart, int areaLen, int dstLen, int scale)
{
    struct Entry {
        double pos = 0, len = -1;
        int start = 0, count = 0, dstLen = 0, scale = 0;
        std::vector<Tap> taps;
    };
    constexpr size_t kKept = 32;
    thread_local Entry kept[kKept];
    thread_local size_t next = 0;
    for (const Entry& e : kept)
        if (e.pos == srcPos && e.len == srcLen && e.start == areaStart && e.count == areaLen && e.dstLen == dstLen &&
            e.scale == scale)
            return e.taps;
    std::vector<Tap> taps = AxisTaps(srcPos, srcLen, areaStart, areaLen, dstLen, scale);
    taps.erase(std::remove_if(taps.begin(), taps.end(),
                              [&](const Tap& t) { return t.weight == 0 || t.dst < 1 || t.dst > dstLen; }),
               taps.end());
    for (size_t i = 1; i < taps.size(); ++i)
        for (size_t k = i; k > 0 && taps[k - 1].dst > taps[k].dst; --k)
            std::swap(taps[k - 1], taps[k]);
    Entry& e = kept[next++ % kKept];
    e.pos = srcPos;
    e.len = srcLen;
    e.start = areaStart;
    e.count = areaLen;
    e.dstLen = dstLen;
    e.scale = scale;
    e.taps = taps;
    return taps;
}

void SmoothStretch(uint32_t* dst, int dstStride, const ImageSource& src, const Rect& cd, const DoubleRect& cs,
                   bool wide)
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
        SmoothUnscaled(dst, dstStride, src, cd, ax, ay, wide);
        return;
    }

    // Buffer columns 1..width hold the destination pixels, buffer rows
    // 1..height the destination rows.
    const int width = cd.mWidth;
    const int bw = width + 4;
    const std::vector<Tap> hTaps = PreparedTaps(cs.mX, cs.mWidth, ax, aw, width, 257);
    const std::vector<Tap> vTaps = PreparedTaps(cs.mY, cs.mHeight, ay, ah, cd.mHeight, 256);
    // The taps of each buffer column (first[k] to first[k + 1]), the highest
    // source column read by it or any column before it, and the lowest read
    // by it or any column after it: both grow with the buffer column, so the
    // columns that read a given run of source columns are found by halving.
    std::vector<int> first(size_t(bw) + 1, 0), highest(size_t(bw) + 1, -1),
        lowest(size_t(bw) + 1, std::numeric_limits<int>::max());
    for (size_t i = 0, k = 0; k <= size_t(bw); ++k) {
        first[k] = int(i);
        if (k > 0)
            highest[k] = highest[k - 1];
        for (; i < hTaps.size() && size_t(hTaps[i].dst) == k; ++i) {
            highest[k] = std::max(highest[k], hTaps[i].src);
            lowest[k] = std::min(lowest[k], hTaps[i].src);
        }
    }
    for (size_t k = size_t(bw); k > 0; --k)
        lowest[k - 1] = std::min(lowest[k - 1], lowest[k]);
    // The buffer columns [k0, k1) within 1..width that read any source
    // column of [lo, hi); the others read none.
    auto reaching = [&](int lo, int hi) {
        const int k0 = int(std::partition_point(highest.begin() + 1, highest.begin() + width + 1,
                                                [&](int h) { return h < lo; }) -
                           highest.begin());
        const int k1 = int(std::partition_point(lowest.begin() + k0, lowest.begin() + width + 1,
                                                [&](int l) { return l < hi; }) -
                           lowest.begin());
        return std::make_pair(k0, k1);
    };

    // Horizontal pass: every source row of the area, four channels a pixel.
    // A pixel of 0 in every byte adds nothing, so each row is summed only over
    // the buffer columns that read its pixels other than 0: columns[r] holds
    // that range (empty for a row of nothing but 0). Only those columns of a
    // row are ever read.
    std::vector<std::pair<int, int>> columns(size_t(ah), {0, 0});
    std::unique_ptr<int32_t[]> rows(new int32_t[size_t(ah) * size_t(bw) * 4]);
    src.WithRows([&](auto reader) {
        for (int r = 0; r < ah; ++r) {
            reader.SetRow(ay + r, 0);
            // The source columns [lo, hi) between the row's first and last
            // pixels other than 0.
            int lo = ax, hi = ax + aw;
            for (; lo + 8 <= hi; lo += 8) {
                uint32_t any = 0;
                for (int i = lo; i < lo + 8; ++i)
                    any |= reader[i];
                if (any)
                    break;
            }
            while (lo < hi && reader[lo] == 0)
                ++lo;
            for (; hi - 8 >= lo; hi -= 8) {
                uint32_t any = 0;
                for (int i = hi - 8; i < hi; ++i)
                    any |= reader[i];
                if (any)
                    break;
            }
            while (hi > lo && reader[hi - 1] == 0)
                --hi;
            if (lo == hi)
                continue;
            const auto [k0, k1] = reaching(lo, hi);
            columns[size_t(r)] = {k0, k1};
            int32_t* row = &rows[size_t(r) * size_t(bw) * 4];
            for (int k = k0; k < k1; ++k) {
                ChannelSums sums;
                for (const Tap *t = hTaps.data() + first[size_t(k)], *end = hTaps.data() + first[size_t(k) + 1]; t != end;
                     ++t)
                    sums.Add(reader[t->src], t->weight);
                sums.Store(row + size_t(k) * 4);
            }
        }
    });

    // Vertical pass and blend, one destination row at a time, over the
    // columns its source rows reach; elsewhere every alpha is 0 and the
    // blend would leave the pixels as they are.
    std::vector<int32_t> line(size_t(bw) * 4);
    // width > 0 here; the mask only shows the compiler that the size fits.
    std::vector<uint32_t> pixels(size_t(uint32_t(width) & 0x7FFFFFFFu));
#if ZELK_STRETCH_X86
    const bool wideLoops = plat::CpuHasAvx2();
#else
    const bool wideLoops = false;
#endif
    auto tap = vTaps.begin();
    for (int j = 0; j < cd.mHeight; ++j) {
        while (tap != vTaps.end() && tap->dst < j + 1)
            ++tap;
        auto end = tap;
        int k0 = width + 1, k1 = 1;
        for (; end != vTaps.end() && end->dst == j + 1; ++end) {
            const std::pair<int, int>& c = columns[size_t(end->src - ay)];
            if (c.first < c.second) {
                k0 = std::min(k0, c.first);
                k1 = std::max(k1, c.second);
            }
        }
        if (k0 >= k1) {
            tap = end;
            continue; // no contribution: every alpha is zero
        }
        int32_t* acc = line.data() + size_t(k0) * 4;
        std::fill(acc, acc + size_t(k1 - k0) * 4, 0);
        for (; tap != end; ++tap) {
            const std::pair<int, int>& c = columns[size_t(tap->src - ay)];
            const int32_t* from = &rows[(size_t(tap->src - ay) * size_t(bw) + size_t(c.first)) * 4];
            int32_t* to = line.data() + size_t(c.first) * 4;
            (wideLoops ? AddWeightedAvx2 : AddWeighted)(to, from, tap->weight,
                                                        size_t(std::max(c.second - c.first, 0)) * 4);
        }
        // Each channel's sum ends at 255, then the row is blended at once.
        (wideLoops ? PackSumsAvx2 : PackSums)(pixels.data(), line.data() + size_t(k0) * 4, k1 - k0);
        BlendRow::SmoothOver(dst + size_t(cd.mY + j) * size_t(dstStride) + cd.mX + (k0 - 1), pixels.data(), k1 - k0);
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
        SmoothStretch(dst, mWidth, source, cd, cs, src != this);
    MarkBitsChanged();
}

} // namespace Zelk
