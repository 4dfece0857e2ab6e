#include "platform/d3d/SoftRasterizer.h"
#include "platform/cpu/CpuFeatures.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// The 256- and 512-bit forms are chosen at run time and built with their own
// target attributes, so they need the x86 headers but no SSE2 from the
// compiler's settings.
#include "platform/cpu/WideIntrinsics.h"

namespace plat {

namespace {

// Rows a quad blends at a time.
constexpr int kBatch = 16;

// Positions snap to 1/16 pixel; anything this far out is not drawn.
constexpr double kSubPixels = 16.0;
constexpr double kMaxCoordinate = 1.0e7;

// std::llround (halves away from 0) without the library call, for the
// values a span needs; beyond 2^52 in size (or not a number) it is the
// library's own answer.
__attribute__((always_inline)) inline int64_t Round64(double x)
{
    if (!(std::fabs(x) < 4503599627370496.0))
        return std::llround(x);
    const int64_t whole = int64_t(x); // towards 0
    const double rest = x - double(whole); // exact below 2^52
    return whole + int64_t(rest >= 0.5) - int64_t(rest <= -0.5);
}

bool Snap(float value, int64_t& out)
{
    if (!std::isfinite(value) || std::fabs(value) > kMaxCoordinate)
        return false;
    out = Round64(double(value) * kSubPixels);
    return true;
}

int64_t FloorDiv(int64_t a, int64_t b) // b > 0
{
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

int64_t CeilDiv(int64_t a, int64_t b) // b > 0
{
    return -FloorDiv(-a, b);
}

uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

// Rounded x * y / 255 for bytes.
inline uint32_t Mul255(uint32_t x, uint32_t y)
{
    uint32_t t = x * y + 128;
    return (t + (t >> 8)) >> 8;
}

inline uint32_t ModulatePacked(uint32_t a, uint32_t b)
{
    return Mul255(a >> 24, b >> 24) << 24 | Mul255(Channel(a, 16), Channel(b, 16)) << 16 |
           Mul255(Channel(a, 8), Channel(b, 8)) << 8 | Mul255(a & 0xFF, b & 0xFF);
}

// Blend weight of an 8-bit factor: 0..255 with 255 counting as a whole.
inline uint32_t Weight(uint32_t f) { return f == 255 ? 256 : f; }

inline int Address(int64_t i, int size, bool wrap)
{
    if (wrap) {
        int64_t m = i % size;
        return int(m < 0 ? m + size : m);
    }
    return int(i < 0 ? 0 : i >= size ? size - 1 : i);
}

// The two halves of a bilinear blend, weights out of 256.
inline uint32_t Lerp(uint32_t c0, uint32_t c1, uint32_t f)
{
    const uint32_t g = 256 - f;
    const uint32_t rb = (((c0 & 0x00FF00FF) * g + (c1 & 0x00FF00FF) * f) >> 8) & 0x00FF00FF;
    const uint32_t ag = ((((c0 >> 8) & 0x00FF00FF) * g + ((c1 >> 8) & 0x00FF00FF) * f)) & 0xFF00FF00;
    return rb | ag;
}

// A stretch row from the texture row's columns blended vertically: pixel i
// at u + i x du (16.16 texels) takes Lerp of the two columns around it, for
// as long as both lie inside the row, four pixels at a time. Returns how many
// pixels it made; the caller makes the rest as Lerp and the sampling do.
#if defined(__x86_64__)
// Eight pixels at a time: where the first and the last pixel of a group take
// columns inside the row, so do those between (u moves one way); their
// positions then fit 32-bit lanes (rows are narrower than 32768 texels).
__attribute__((target("avx2"))) int LerpColumnsAvx2(uint32_t* out, const uint32_t* columns, int n, int64_t u,
                                                     int64_t du, uint64_t w)
{
    if (w >= 32768 || du > 0x10000000 || du < -0x10000000)
        return 0;
    const __m256i zero = _mm256_setzero_si256(), k256 = _mm256_set1_epi16(256);
    const __m256i steps = _mm256_mullo_epi32(_mm256_set1_epi32(int32_t(du)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const int64_t first = u + du * i - 0x8000, last = first + du * 7;
        if (uint64_t(first >> 16) >= w - 1 || uint64_t(last >> 16) >= w - 1)
            break;
        const __m256i su = _mm256_add_epi32(_mm256_set1_epi32(int32_t(first)), steps);
        const __m256i at = _mm256_srai_epi32(su, 16);
        const __m256i f = _mm256_srli_epi32(_mm256_add_epi32(_mm256_and_si256(su, _mm256_set1_epi32(0xFFFF)),
                                                             _mm256_set1_epi32(0x80)),
                                            8);
        const __m256i c0 = _mm256_i32gather_epi32(reinterpret_cast<const int*>(columns), at, 4);
        const __m256i c1 = _mm256_i32gather_epi32(reinterpret_cast<const int*>(columns + 1), at, 4);
        // Each pixel's weight in the four 16-bit lanes of its channels.
        const __m256i f2 = _mm256_or_si256(f, _mm256_slli_epi32(f, 16));
        const __m256i fLo = _mm256_unpacklo_epi32(f2, f2), fHi = _mm256_unpackhi_epi32(f2, f2);
        const __m256i lo = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(c0, zero), _mm256_sub_epi16(k256, fLo)),
                             _mm256_mullo_epi16(_mm256_unpacklo_epi8(c1, zero), fLo)),
            8);
        const __m256i hi = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(c0, zero), _mm256_sub_epi16(k256, fHi)),
                             _mm256_mullo_epi16(_mm256_unpackhi_epi8(c1, zero), fHi)),
            8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_packus_epi16(lo, hi));
    }
    return i;
}
#endif

#if defined(__x86_64__)
// Lerp of two whole rows by one weight f, eight pixels at a time: per
// 16-bit lane (c0 x (256 - f) + c1 x f) >> 8, whose sum stays below 65536.
// Returns how many pixels it made.
__attribute__((target("avx2"))) int LerpRowsAvx2(uint32_t* out, const uint32_t* r0, const uint32_t* r1, int n,
                                                  uint32_t f)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i wf = _mm256_set1_epi16(int16_t(f)), wg = _mm256_set1_epi16(int16_t(256 - f));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i c0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r0 + i));
        const __m256i c1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r1 + i));
        const __m256i lo = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(c0, zero), wg),
                                                              _mm256_mullo_epi16(_mm256_unpacklo_epi8(c1, zero), wf)),
                                             8);
        const __m256i hi = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(c0, zero), wg),
                                                              _mm256_mullo_epi16(_mm256_unpackhi_epi8(c1, zero), wf)),
                                             8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_packus_epi16(lo, hi));
    }
    return i;
}
#endif

// Lerp of two whole rows by one weight: the columns of a stretch row.
inline void LerpRows(uint32_t* out, const uint32_t* r0, const uint32_t* r1, int n, uint32_t f, RowLevel level)
{
    int i = 0;
#if defined(__x86_64__)
    if (level >= RowLevel::Avx2)
        i = LerpRowsAvx2(out, r0, r1, n, f);
#endif
    for (; i < n; ++i)
        out[i] = Lerp(r0[i], r1[i], f);
}

inline int LerpColumns(uint32_t* out, const uint32_t* columns, int n, int64_t u, int64_t du, uint64_t w)
{
    int i = 0;
#if defined(__x86_64__)
    if (plat::CpuHasAvx2())
        i = LerpColumnsAvx2(out, columns, n, u, du, w);
#endif
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), k256 = _mm_set1_epi16(256);
    for (; i + 4 <= n; i += 4) {
        uint32_t at[4], f[4];
        bool inside = true;
        for (int k = 0; k < 4; ++k) {
            const int64_t su = u + du * (i + k) - 0x8000, iu = su >> 16;
            inside = inside && uint64_t(iu) < w - 1;
            at[k] = uint32_t(iu);
            f[k] = uint32_t(((su & 0xFFFF) + 0x80) >> 8);
        }
        if (!inside)
            break;
        const __m128i c0 = _mm_set_epi32(int(columns[at[3]]), int(columns[at[2]]), int(columns[at[1]]), int(columns[at[0]]));
        const __m128i c1 =
            _mm_set_epi32(int(columns[at[3] + 1]), int(columns[at[2] + 1]), int(columns[at[1] + 1]), int(columns[at[0] + 1]));
        // Per 16-bit lane (c0 x (256 - f) + c1 x f) >> 8, as Lerp's packed sums.
        const __m128i fLo = _mm_set_epi16(short(f[1]), short(f[1]), short(f[1]), short(f[1]), short(f[0]), short(f[0]),
                                          short(f[0]), short(f[0]));
        const __m128i fHi = _mm_set_epi16(short(f[3]), short(f[3]), short(f[3]), short(f[3]), short(f[2]), short(f[2]),
                                          short(f[2]), short(f[2]));
        const __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(c0, zero), _mm_sub_epi16(k256, fLo)),
                                                        _mm_mullo_epi16(_mm_unpacklo_epi8(c1, zero), fLo)),
                                          8);
        const __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(c0, zero), _mm_sub_epi16(k256, fHi)),
                                                        _mm_mullo_epi16(_mm_unpackhi_epi8(c1, zero), fHi)),
                                          8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
    }
#endif
    return i;
}

// Bilinear blend of the 2 x 2 texels at r0[0], r0[1] (one row) and r1[0],
// r1[1] (the next): vertically by fv, then horizontally by fu (out of 256).
inline uint32_t Bilinear(const uint32_t* r0, const uint32_t* r1, uint32_t fu, uint32_t fv)
{
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i top = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0)), zero);
    const __m128i bottom = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r1)), zero);
    // Every product and sum stays below 65536 in its 16-bit lane.
    const __m128i column = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(top, _mm_set1_epi16(int16_t(256 - fv))),
                                                        _mm_mullo_epi16(bottom, _mm_set1_epi16(int16_t(fv)))),
                                          8);
    const __m128i weights = _mm_set_epi16(int16_t(fu), int16_t(fu), int16_t(fu), int16_t(fu), int16_t(256 - fu),
                                          int16_t(256 - fu), int16_t(256 - fu), int16_t(256 - fu));
    const __m128i weighted = _mm_mullo_epi16(column, weights);
    const __m128i sum = _mm_srli_epi16(_mm_add_epi16(weighted, _mm_srli_si128(weighted, 8)), 8);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(sum, zero)));
#else
    return Lerp(Lerp(r0[0], r1[0], fv), Lerp(r0[1], r1[1], fv), fu);
#endif
}

// 16-bit pixels: the 8-bit channels repeat their top bits, as ReadTarget
// widens them; packing keeps the top bits.
template <bool k555> inline uint32_t Expand16(uint32_t p)
{
    uint32_t r, g, b;
    if (k555) {
        r = (p >> 10) & 0x1F; g = (p >> 5) & 0x1F; b = p & 0x1F;
        g = g << 3 | g >> 2;
    } else {
        r = (p >> 11) & 0x1F; g = (p >> 5) & 0x3F; b = p & 0x1F;
        g = g << 2 | g >> 4;
    }
    r = r << 3 | r >> 2;
    b = b << 3 | b >> 2;
    return 0xFF000000u | r << 16 | g << 8 | b;
}

template <bool k555> inline uint16_t Pack16(uint32_t argb)
{
    if (k555)
        return uint16_t(((argb >> 9) & 0x7C00) | ((argb >> 6) & 0x03E0) | ((argb >> 3) & 0x001F));
    return uint16_t(((argb >> 8) & 0xF800) | ((argb >> 5) & 0x07E0) | ((argb >> 3) & 0x001F));
}

uint32_t ReadTarget(const RasterTarget& t, int x, int y)
{
    const uint8_t* row = t.bits + size_t(y) * size_t(t.pitch);
    if (t.bitCount == 32) {
        uint32_t p;
        std::copy(row + 4 * x, row + 4 * x + 4, reinterpret_cast<uint8_t*>(&p));
        return p | 0xFF000000u;
    }
    const uint32_t p = uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
    return t.rgb555 ? Expand16<true>(p) : Expand16<false>(p);
}

void WriteTarget(const RasterTarget& t, int x, int y, uint32_t argb)
{
    uint8_t* row = t.bits + size_t(y) * size_t(t.pitch);
    if (t.bitCount == 32) {
        const uint32_t p = argb | 0xFF000000u;
        std::copy(reinterpret_cast<const uint8_t*>(&p), reinterpret_cast<const uint8_t*>(&p) + 4, row + 4 * x);
        return;
    }
    const uint16_t p = t.rgb555 ? Pack16<true>(argb) : Pack16<false>(argb);
    row[2 * x] = uint8_t(p);
    row[2 * x + 1] = uint8_t(p >> 8);
}

// The blend factor of a state for one channel: weight out of 256.
uint32_t Factor(uint32_t blend, uint32_t srcChannel, uint32_t srcAlpha)
{
    switch (blend) {
    case D3DBLEND_ZERO: return 0;
    case D3DBLEND_ONE: return 256;
    case D3DBLEND_SRCCOLOR: return Weight(srcChannel);
    case D3DBLEND_INVSRCCOLOR: return 256 - Weight(srcChannel);
    case D3DBLEND_SRCALPHA: return Weight(srcAlpha);
    case D3DBLEND_INVSRCALPHA: return 256 - Weight(srcAlpha);
    default: return 0;
    }
}

uint32_t BlendPixel(const D3DRenderStates& s, uint32_t src, uint32_t dst)
{
    if (!s.alphaBlend)
        return src;
    const uint32_t a = src >> 24;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t sc = Channel(src, shift), dc = Channel(dst, shift);
        const uint32_t v = (sc * Factor(s.srcBlend, sc, a) + dc * Factor(s.destBlend, sc, a)) >> 8;
        out |= std::min(v, 255u) << shift;
    }
    return out;
}

// Source over onto an opaque pixel for an alpha of 1..254, per channel
// (d x (256 - a) + s x a) >> 8; BlendPixel's result for those alphas.
inline uint32_t OverPartial(uint32_t p, uint32_t q, uint32_t a)
{
    const uint32_t ia = 256 - a;
    const uint32_t rb = (((q & 0x00FF00FF) * ia + (p & 0x00FF00FF) * a) >> 8) & 0x00FF00FF;
    const uint32_t g = (((q & 0x0000FF00) * ia + (p & 0x0000FF00) * a) >> 8) & 0x0000FF00;
    return 0xFF000000u | rb | g;
}

#if defined(__x86_64__)
// Eight pixels at a time, the same arithmetic as the 128-bit form below;
// unpacking and packing stay within each 128-bit half, so pixels keep
// their places. The alphas of the pixels of each unpacked half come straight
// from the source bytes (bytes 3 and 7 of each 128-bit lane for the low
// half, 11 and 15 for the high one).
__attribute__((target("avx2"))) inline __m256i OverShare256(__m256i s16, __m256i d16, __m256i a)
{
    const __m256i sum = _mm256_add_epi16(_mm256_slli_epi16(d16, 8), _mm256_mullo_epi16(_mm256_sub_epi16(s16, d16), a));
    return _mm256_srli_epi16(sum, 8);
}

__attribute__((target("avx2"))) int OverRow32Avx2(uint32_t* d, const uint32_t* src, int n)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alphaMask = _mm256_set1_epi32(int32_t(0xFF000000u));
    const int64_t a3 = int64_t(0x8003800380038003ull), a7 = int64_t(0x8007800780078007ull);
    const int64_t a11 = int64_t(0x800B800B800B800Bull), a15 = int64_t(0x800F800F800F800Full);
    const __m256i alphaLow = _mm256_set_epi64x(a7, a3, a7, a3), alphaHigh = _mm256_set_epi64x(a15, a11, a15, a11);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i alpha = _mm256_and_si256(sv, alphaMask);
        const __m256i full = _mm256_cmpeq_epi32(alpha, alphaMask), none = _mm256_cmpeq_epi32(alpha, zero);
        if (_mm256_movemask_epi8(none) == -1)
            continue;
        __m256i* out = reinterpret_cast<__m256i*>(d + i);
        if (_mm256_movemask_epi8(full) == -1) {
            _mm256_storeu_si256(out, sv);
            continue;
        }
        const __m256i dv = _mm256_loadu_si256(out);
        const __m256i lo = OverShare256(_mm256_unpacklo_epi8(sv, zero), _mm256_unpacklo_epi8(dv, zero),
                                        _mm256_shuffle_epi8(sv, alphaLow));
        const __m256i hi = OverShare256(_mm256_unpackhi_epi8(sv, zero), _mm256_unpackhi_epi8(dv, zero),
                                        _mm256_shuffle_epi8(sv, alphaHigh));
        const __m256i mixed = _mm256_or_si256(_mm256_packus_epi16(lo, hi), alphaMask);
        _mm256_storeu_si256(out, _mm256_blendv_epi8(_mm256_blendv_epi8(mixed, sv, full), dv, none));
    }
    return i;
}

// The 512-bit forms: the same arithmetic on twice the pixels a round.
#define ZELK_AVX512 __attribute__((target("avx512f,avx512bw")))

ZELK_AVX512 inline __m512i OverShare512(__m512i s16, __m512i d16, __m512i a)
{
    const __m512i sum = _mm512_add_epi16(_mm512_slli_epi16(d16, 8), _mm512_mullo_epi16(_mm512_sub_epi16(s16, d16), a));
    return _mm512_srli_epi16(sum, 8);
}

ZELK_AVX512 int OverRow32Avx512(uint32_t* d, const uint32_t* src, int n)
{
    const __m512i zero = _mm512_setzero_si512();
    const __m512i alphaMask = _mm512_set1_epi32(int32_t(0xFF000000u));
    const int64_t a3 = int64_t(0x8003800380038003ull), a7 = int64_t(0x8007800780078007ull);
    const int64_t a11 = int64_t(0x800B800B800B800Bull), a15 = int64_t(0x800F800F800F800Full);
    const __m512i alphaLow = _mm512_set_epi64(a7, a3, a7, a3, a7, a3, a7, a3),
                  alphaHigh = _mm512_set_epi64(a15, a11, a15, a11, a15, a11, a15, a11);
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i sv = _mm512_loadu_si512(src + i);
        const __mmask16 drawn = _mm512_test_epi32_mask(sv, alphaMask);
        if (drawn == 0)
            continue;
        const __mmask16 full = _mm512_cmpeq_epi32_mask(_mm512_and_si512(sv, alphaMask), alphaMask);
        if (full == 0xFFFF) {
            _mm512_storeu_si512(d + i, sv);
            continue;
        }
        const __m512i dv = _mm512_loadu_si512(d + i);
        const __m512i lo = OverShare512(_mm512_unpacklo_epi8(sv, zero), _mm512_unpacklo_epi8(dv, zero),
                                        _mm512_shuffle_epi8(sv, alphaLow));
        const __m512i hi = OverShare512(_mm512_unpackhi_epi8(sv, zero), _mm512_unpackhi_epi8(dv, zero),
                                        _mm512_shuffle_epi8(sv, alphaHigh));
        const __m512i mixed = _mm512_or_si512(_mm512_packus_epi16(lo, hi), alphaMask);
        // Opaque sources give themselves, transparent ones the pixel.
        _mm512_storeu_si512(d + i, _mm512_mask_blend_epi32(drawn, dv, _mm512_mask_blend_epi32(full, mixed, sv)));
    }
    return i;
}
#endif

// Source over of a row onto a 32-bit target: alpha 0 leaves the pixel as it
// is (its top byte too), alpha 255 stores the source, others blend.
void OverRow32(uint32_t* d, const uint32_t* src, int n, RowLevel level)
{
    int i = 0;
#if defined(__x86_64__)
    if (level >= RowLevel::Avx512)
        i = OverRow32Avx512(d, src, n);
    if (level >= RowLevel::Avx2)
        i += OverRow32Avx2(d + i, src + i, n - i);
#endif
#if defined(__SSE2__)
    if (level >= RowLevel::Sse2) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i alphaMask = _mm_set1_epi32(int32_t(0xFF000000u));
        // Per 16-bit lane (d x (256 - a) + s x a) >> 8, that is
        // (d x 256 + (s - d) x a) >> 8: the sum lies in 0..65280, so the
        // lanes' wrap-around on the way gives it exactly.
        auto half = [&](__m128i s16, __m128i d16) {
            const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s16, 0xFF), 0xFF);
            const __m128i sum = _mm_add_epi16(_mm_slli_epi16(d16, 8), _mm_mullo_epi16(_mm_sub_epi16(s16, d16), a));
            return _mm_srli_epi16(sum, 8);
        };
        for (; i + 4 <= n; i += 4) {
            const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            const __m128i alpha = _mm_and_si128(sv, alphaMask);
            const __m128i full = _mm_cmpeq_epi32(alpha, alphaMask), none = _mm_cmpeq_epi32(alpha, zero);
            const int fullBits = _mm_movemask_epi8(full), noneBits = _mm_movemask_epi8(none);
            if (noneBits == 0xFFFF)
                continue;
            __m128i* out = reinterpret_cast<__m128i*>(d + i);
            if (fullBits == 0xFFFF) {
                _mm_storeu_si128(out, sv);
                continue;
            }
            const __m128i dv = _mm_loadu_si128(out);
            const __m128i lo = half(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero));
            const __m128i hi = half(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero));
            const __m128i mixed = _mm_or_si128(_mm_packus_epi16(lo, hi), alphaMask);
            const __m128i keep = _mm_or_si128(full, none);
            const __m128i picked = _mm_or_si128(_mm_and_si128(full, sv), _mm_and_si128(none, dv));
            _mm_storeu_si128(out, _mm_or_si128(picked, _mm_andnot_si128(keep, mixed)));
        }
    }
#endif
    for (; i < n; ++i) {
        const uint32_t p = src[i], a = p >> 24;
        if (a == 0)
            continue;
        d[i] = a == 255 ? p : OverPartial(p, d[i], a);
    }
}

#if defined(__SSE2__)
// Eight pixels packed into 16-bit values, as Pack16 does.
template <bool k555> inline __m128i Pack8(__m128i p0, __m128i p1)
{
    const __m128i redMask = _mm_set1_epi32(k555 ? 0x7C00 : 0xF800);
    const __m128i greenMask = _mm_set1_epi32(k555 ? 0x03E0 : 0x07E0);
    const __m128i blueMask = _mm_set1_epi32(0x001F);
    auto pack = [&](__m128i p) {
        const __m128i r = _mm_and_si128(_mm_srli_epi32(p, k555 ? 9 : 8), redMask);
        const __m128i g = _mm_and_si128(_mm_srli_epi32(p, k555 ? 6 : 5), greenMask);
        const __m128i b = _mm_and_si128(_mm_srli_epi32(p, 3), blueMask);
        // Sign-extended from 16 bits, so the signed narrowing keeps every value.
        return _mm_srai_epi32(_mm_slli_epi32(_mm_or_si128(_mm_or_si128(r, g), b), 16), 16);
    };
    return _mm_packs_epi32(pack(p0), pack(p1));
}

// Four 16-bit pixels (one per 32-bit lane) widened as Expand16 does.
template <bool k555> inline __m128i Expand4(__m128i p)
{
    const __m128i five = _mm_set1_epi32(0x1F);
    const __m128i r = _mm_and_si128(_mm_srli_epi32(p, k555 ? 10 : 11), five);
    const __m128i g = _mm_and_si128(_mm_srli_epi32(p, 5), _mm_set1_epi32(k555 ? 0x1F : 0x3F));
    const __m128i b = _mm_and_si128(p, five);
    const __m128i r8 = _mm_or_si128(_mm_slli_epi32(r, 3), _mm_srli_epi32(r, 2));
    const __m128i g8 = k555 ? _mm_or_si128(_mm_slli_epi32(g, 3), _mm_srli_epi32(g, 2))
                            : _mm_or_si128(_mm_slli_epi32(g, 2), _mm_srli_epi32(g, 4));
    const __m128i b8 = _mm_or_si128(_mm_slli_epi32(b, 3), _mm_srli_epi32(b, 2));
    return _mm_or_si128(_mm_set1_epi32(int32_t(0xFF000000u)),
                        _mm_or_si128(_mm_slli_epi32(r8, 16), _mm_or_si128(_mm_slli_epi32(g8, 8), b8)));
}

// Four source pixels over four opaque ones: an opaque source gives itself,
// any other alpha blends as OverPartial does (the alpha 0 ones are the
// caller's to keep).
inline __m128i OverWide4(__m128i sv, __m128i dv)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaMask = _mm_set1_epi32(int32_t(0xFF000000u));
    const __m128i k256 = _mm_set1_epi16(256);
    auto half = [&](__m128i s16, __m128i d16) {
        const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s16, 0xFF), 0xFF);
        const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(k256, a)), _mm_mullo_epi16(s16, a));
        return _mm_srli_epi16(sum, 8);
    };
    const __m128i full = _mm_cmpeq_epi32(_mm_and_si128(sv, alphaMask), alphaMask);
    const __m128i lo = half(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero));
    const __m128i hi = half(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero));
    const __m128i mixed = _mm_or_si128(_mm_packus_epi16(lo, hi), alphaMask);
    return _mm_or_si128(_mm_and_si128(full, sv), _mm_andnot_si128(full, mixed));
}
#endif

// Source over of one pixel onto a 16-bit one, as BlendPixel on the widened
// target pixel gives it.
template <bool k555> inline void Over16(uint16_t& d, uint32_t p)
{
    const uint32_t a = p >> 24;
    if (a == 255)
        d = Pack16<k555>(p);
    else if (a != 0)
        d = Pack16<k555>(OverPartial(p, Expand16<k555>(d), a));
}

// Source over of a row onto a 16-bit target: groups of eight that are all
// transparent are skipped, all opaque packed at once.
#if defined(__x86_64__)
// Eight pixels packed into 16-bit values in their 32-bit lanes, sign-extended
// so the signed narrowing keeps them.
template <bool k555> __attribute__((target("avx2"))) inline __m256i Pack16Lanes(__m256i p)
{
    const __m256i r = _mm256_and_si256(_mm256_srli_epi32(p, k555 ? 9 : 8), _mm256_set1_epi32(k555 ? 0x7C00 : 0xF800));
    const __m256i g = _mm256_and_si256(_mm256_srli_epi32(p, k555 ? 6 : 5), _mm256_set1_epi32(k555 ? 0x03E0 : 0x07E0));
    const __m256i b = _mm256_and_si256(_mm256_srli_epi32(p, 3), _mm256_set1_epi32(0x001F));
    return _mm256_srai_epi32(_mm256_slli_epi32(_mm256_or_si256(_mm256_or_si256(r, g), b), 16), 16);
}

// (t x iw + s x w) >> 8 in each 16-bit lane.
__attribute__((target("avx2"))) inline __m256i MixChannel(__m256i t, __m256i s, __m256i w, __m256i iw)
{
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(t, iw), _mm256_mullo_epi16(s, w)), 8);
}

// A 5-bit channel in each 16-bit lane widened to 8 bits.
__attribute__((target("avx2"))) inline __m256i Widen5(__m256i c)
{
    return _mm256_or_si256(_mm256_slli_epi16(c, 3), _mm256_srli_epi16(c, 2));
}

// The 256-bit form of OverRow16: sixteen pixels a round, each channel in its
// own register of 16-bit lanes. A channel of the target widens to 8 bits,
// blends as (d x (256 - w) + s x w) >> 8 and narrows again, where w is the
// alpha except that 255 counts as 256: the product then gives the source
// channel itself, and an alpha of 0 gives back the target's own bits, so
// opaque and transparent pixels need no separate choice. Every sum stays
// below 65536.
template <bool k555> __attribute__((target("avx2"))) int OverRow16Avx2(uint16_t* d, const uint32_t* src, int n)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alphaMask = _mm256_set1_epi32(int32_t(0xFF000000u));
    const __m256i low16 = _mm256_set1_epi32(0xFFFF);
    const __m256i byte = _mm256_set1_epi16(0xFF), five = _mm256_set1_epi16(0x1F);
    const __m256i one = _mm256_set1_epi16(1), k256 = _mm256_set1_epi16(256);
    const __m256i redMask = _mm256_set1_epi16(k555 ? 0x7C00 : int16_t(0xF800));
    const __m256i greenMask = _mm256_set1_epi16(k555 ? 0x03E0 : 0x07E0);
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m256i s0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i s1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 8));
        const __m256i a0 = _mm256_and_si256(s0, alphaMask), a1 = _mm256_and_si256(s1, alphaMask);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_or_si256(a0, a1), zero)) == -1)
            continue;
        // Pixels 0-3 with 8-11, and 4-7 with 12-15: packing works within
        // each 128-bit half, so the packed lanes come out in pixel order.
        const __m256i pa = _mm256_permute2x128_si256(s0, s1, 0x20), pb = _mm256_permute2x128_si256(s0, s1, 0x31);
        __m256i* out = reinterpret_cast<__m256i*>(d + i);
        if (_mm256_movemask_epi8(
                _mm256_and_si256(_mm256_cmpeq_epi32(a0, alphaMask), _mm256_cmpeq_epi32(a1, alphaMask))) == -1) {
            _mm256_storeu_si256(out, _mm256_packs_epi32(Pack16Lanes<k555>(pa), Pack16Lanes<k555>(pb)));
            continue;
        }
        const __m256i ar = _mm256_packus_epi32(_mm256_srli_epi32(pa, 16), _mm256_srli_epi32(pb, 16));
        const __m256i gb = _mm256_packus_epi32(_mm256_and_si256(pa, low16), _mm256_and_si256(pb, low16));
        const __m256i a = _mm256_srli_epi16(ar, 8);
        const __m256i w = _mm256_add_epi16(a, _mm256_srli_epi16(_mm256_add_epi16(a, one), 8));
        const __m256i iw = _mm256_sub_epi16(k256, w);
        const __m256i dv = _mm256_loadu_si256(out);
        const __m256i r = MixChannel(Widen5(_mm256_and_si256(_mm256_srli_epi16(dv, k555 ? 10 : 11), five)),
                                     _mm256_and_si256(ar, byte), w, iw);
        const __m256i g6 = _mm256_and_si256(_mm256_srli_epi16(dv, 5), _mm256_set1_epi16(k555 ? 0x1F : 0x3F));
        const __m256i g8 = k555 ? Widen5(g6) : _mm256_or_si256(_mm256_slli_epi16(g6, 2), _mm256_srli_epi16(g6, 4));
        const __m256i g = MixChannel(g8, _mm256_srli_epi16(gb, 8), w, iw);
        const __m256i b = MixChannel(Widen5(_mm256_and_si256(dv, five)), _mm256_and_si256(gb, byte), w, iw);
        const __m256i packed =
            _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(_mm256_slli_epi16(r, k555 ? 7 : 8), redMask),
                                            _mm256_and_si256(_mm256_slli_epi16(g, k555 ? 2 : 3), greenMask)),
                            _mm256_srli_epi16(b, 3));
        // The top bit of a 5-5-5 pixel stays only where nothing is drawn.
        if constexpr (k555)
            _mm256_storeu_si256(out, _mm256_blendv_epi8(packed, dv, _mm256_cmpeq_epi16(a, zero)));
        else
            _mm256_storeu_si256(out, packed);
    }
    return i;
}

// The same with 512-bit registers: thirty-two pixels a round.
ZELK_AVX512 inline __m512i MixChannel512(__m512i t, __m512i s, __m512i w, __m512i iw)
{
    return _mm512_srli_epi16(_mm512_add_epi16(_mm512_mullo_epi16(t, iw), _mm512_mullo_epi16(s, w)), 8);
}

ZELK_AVX512 inline __m512i Widen5x32(__m512i c)
{
    return _mm512_or_si512(_mm512_slli_epi16(c, 3), _mm512_srli_epi16(c, 2));
}

// Sixteen pixels packed into 16-bit values in their 32-bit lanes.
template <bool k555> ZELK_AVX512 inline __m512i Pack16x16(__m512i p)
{
    const __m512i r = _mm512_and_si512(_mm512_srli_epi32(p, k555 ? 9 : 8), _mm512_set1_epi32(k555 ? 0x7C00 : 0xF800));
    const __m512i g = _mm512_and_si512(_mm512_srli_epi32(p, k555 ? 6 : 5), _mm512_set1_epi32(k555 ? 0x03E0 : 0x07E0));
    return _mm512_or_si512(_mm512_or_si512(r, g), _mm512_and_si512(_mm512_srli_epi32(p, 3), _mm512_set1_epi32(0x1F)));
}

template <bool k555> ZELK_AVX512 int OverRow16Avx512(uint16_t* d, const uint32_t* src, int n)
{
    const __m512i zero = _mm512_setzero_si512();
    const __m512i alphaMask = _mm512_set1_epi32(int32_t(0xFF000000u));
    const __m512i low16 = _mm512_set1_epi32(0xFFFF);
    const __m512i byte = _mm512_set1_epi16(0xFF), five = _mm512_set1_epi16(0x1F);
    const __m512i one = _mm512_set1_epi16(1), k256 = _mm512_set1_epi16(256);
    const __m512i redMask = _mm512_set1_epi16(k555 ? 0x7C00 : int16_t(0xF800));
    const __m512i greenMask = _mm512_set1_epi16(k555 ? 0x03E0 : 0x07E0);
    // Packing works within each 128-bit quarter: the first operand takes
    // pixels 0-3, 8-11, 16-19 and 24-27, the second the four after each.
    const __m512i firstHalves = _mm512_set_epi64(13, 12, 9, 8, 5, 4, 1, 0);
    const __m512i secondHalves = _mm512_set_epi64(15, 14, 11, 10, 7, 6, 3, 2);
    int i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m512i s0 = _mm512_loadu_si512(src + i), s1 = _mm512_loadu_si512(src + i + 16);
        const __mmask16 drawn0 = _mm512_test_epi32_mask(s0, alphaMask), drawn1 = _mm512_test_epi32_mask(s1, alphaMask);
        if ((drawn0 | drawn1) == 0)
            continue;
        const __m512i pa = _mm512_permutex2var_epi64(s0, firstHalves, s1);
        const __m512i pb = _mm512_permutex2var_epi64(s0, secondHalves, s1);
        uint16_t* out = d + i;
        const __mmask16 full0 = _mm512_cmpeq_epi32_mask(_mm512_and_si512(s0, alphaMask), alphaMask);
        const __mmask16 full1 = _mm512_cmpeq_epi32_mask(_mm512_and_si512(s1, alphaMask), alphaMask);
        if ((full0 & full1) == 0xFFFF) {
            _mm512_storeu_si512(out, _mm512_packus_epi32(Pack16x16<k555>(pa), Pack16x16<k555>(pb)));
            continue;
        }
        const __m512i ar = _mm512_packus_epi32(_mm512_srli_epi32(pa, 16), _mm512_srli_epi32(pb, 16));
        const __m512i gb = _mm512_packus_epi32(_mm512_and_si512(pa, low16), _mm512_and_si512(pb, low16));
        const __m512i a = _mm512_srli_epi16(ar, 8);
        const __m512i w = _mm512_add_epi16(a, _mm512_srli_epi16(_mm512_add_epi16(a, one), 8));
        const __m512i iw = _mm512_sub_epi16(k256, w);
        const __m512i dv = _mm512_loadu_si512(out);
        const __m512i r = MixChannel512(Widen5x32(_mm512_and_si512(_mm512_srli_epi16(dv, k555 ? 10 : 11), five)),
                                        _mm512_and_si512(ar, byte), w, iw);
        const __m512i g6 = _mm512_and_si512(_mm512_srli_epi16(dv, 5), _mm512_set1_epi16(k555 ? 0x1F : 0x3F));
        const __m512i g8 =
            k555 ? Widen5x32(g6) : _mm512_or_si512(_mm512_slli_epi16(g6, 2), _mm512_srli_epi16(g6, 4));
        const __m512i g = MixChannel512(g8, _mm512_srli_epi16(gb, 8), w, iw);
        const __m512i b = MixChannel512(Widen5x32(_mm512_and_si512(dv, five)), _mm512_and_si512(gb, byte), w, iw);
        const __m512i packed =
            _mm512_or_si512(_mm512_or_si512(_mm512_and_si512(_mm512_slli_epi16(r, k555 ? 7 : 8), redMask),
                                            _mm512_and_si512(_mm512_slli_epi16(g, k555 ? 2 : 3), greenMask)),
                            _mm512_srli_epi16(b, 3));
        if constexpr (k555)
            _mm512_storeu_si512(out, _mm512_mask_blend_epi16(_mm512_cmpeq_epi16_mask(a, zero), packed, dv));
        else
            _mm512_storeu_si512(out, packed);
    }
    return i;
}

// Rows packed into a 16-bit target, as Pack16 packs each pixel: sixteen
// pixels a round with 256 bits, thirty-two with 512, in the lane order of
// the source-over rows' opaque groups.
template <bool k555> __attribute__((target("avx2"))) int PackRow16Avx2(uint16_t* d, const uint32_t* src, int n)
{
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m256i s0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i s1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 8));
        const __m256i pa = _mm256_permute2x128_si256(s0, s1, 0x20), pb = _mm256_permute2x128_si256(s0, s1, 0x31);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            _mm256_packs_epi32(Pack16Lanes<k555>(pa), Pack16Lanes<k555>(pb)));
    }
    return i;
}

template <bool k555> ZELK_AVX512 int PackRow16Avx512(uint16_t* d, const uint32_t* src, int n)
{
    const __m512i firstHalves = _mm512_set_epi64(13, 12, 9, 8, 5, 4, 1, 0);
    const __m512i secondHalves = _mm512_set_epi64(15, 14, 11, 10, 7, 6, 3, 2);
    int i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m512i s0 = _mm512_loadu_si512(src + i), s1 = _mm512_loadu_si512(src + i + 16);
        const __m512i pa = _mm512_permutex2var_epi64(s0, firstHalves, s1);
        const __m512i pb = _mm512_permutex2var_epi64(s0, secondHalves, s1);
        _mm512_storeu_si512(d + i, _mm512_packus_epi32(Pack16x16<k555>(pa), Pack16x16<k555>(pb)));
    }
    return i;
}

#undef ZELK_AVX512
#endif

// Packs a row of pixels into a 16-bit target.
template <bool k555> void PackRow16(uint16_t* d, const uint32_t* src, int n, RowLevel level)
{
    int i = 0;
#if defined(__x86_64__)
    if (level >= RowLevel::Avx512)
        i = PackRow16Avx512<k555>(d, src, n);
    if (level >= RowLevel::Avx2)
        i += PackRow16Avx2<k555>(d + i, src + i, n - i);
#endif
#if defined(__SSE2__)
    if (level >= RowLevel::Sse2)
        for (; i + 8 <= n; i += 8)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                             Pack8<k555>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)),
                                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 4))));
#endif
    for (; i < n; ++i)
        d[i] = Pack16<k555>(src[i]);
}

template <bool k555> void OverRow16(uint16_t* d, const uint32_t* src, int n, RowLevel level)
{
    int i = 0;
#if defined(__x86_64__)
    if (level >= RowLevel::Avx512)
        i = OverRow16Avx512<k555>(d, src, n);
    if (level >= RowLevel::Avx2)
        i += OverRow16Avx2<k555>(d + i, src + i, n - i);
#endif
#if defined(__SSE2__)
    if (level >= RowLevel::Sse2) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i alphaMask = _mm_set1_epi32(int32_t(0xFF000000u));
        for (; i + 8 <= n; i += 8) {
            const __m128i p0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            const __m128i p1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 4));
            const __m128i a0 = _mm_and_si128(p0, alphaMask), a1 = _mm_and_si128(p1, alphaMask);
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_or_si128(a0, a1), zero)) == 0xFFFF)
                continue;
            if (_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi32(a0, alphaMask), _mm_cmpeq_epi32(a1, alphaMask))) ==
                0xFFFF) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), Pack8<k555>(p0, p1));
                continue;
            }
            // Mixed: widen the eight target pixels, blend as on a 32-bit
            // target, pack again; transparent ones keep their pixel.
            __m128i* out = reinterpret_cast<__m128i*>(d + i);
            const __m128i dv = _mm_loadu_si128(out);
            const __m128i m0 = OverWide4(p0, Expand4<k555>(_mm_unpacklo_epi16(dv, zero)));
            const __m128i m1 = OverWide4(p1, Expand4<k555>(_mm_unpackhi_epi16(dv, zero)));
            const __m128i none =
                _mm_packs_epi32(_mm_cmpeq_epi32(a0, zero), _mm_cmpeq_epi32(a1, zero));
            const __m128i packed = Pack8<k555>(m0, m1);
            _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(none, dv), _mm_andnot_si128(none, packed)));
        }
    }
#endif
    for (; i < n; ++i)
        Over16<k555>(d[i], src[i]);
}

// A row of texels combined with one diffuse colour, channel by channel:
// Mul255(texel, factor) where the channel follows the texel (factor 255
// gives the texel itself, the diffuse channel modulates it), and the bits of
// `fixedMask` from `fixed` (channels that do not depend on the texel).
// `factors` holds the four factors of a pixel in 16-bit lanes, blue first.
// Returns how many pixels were done; the caller finishes the row.
#if defined(__x86_64__)
// Mul255 in each 16-bit lane: t x f + 128 stays below 65536, and so does its
// sum with its own top byte.
__attribute__((target("avx2"))) inline __m256i Mul255x16(__m256i t16, __m256i f, __m256i round)
{
    const __m256i x = _mm256_add_epi16(_mm256_mullo_epi16(t16, f), round);
    return _mm256_srli_epi16(_mm256_add_epi16(x, _mm256_srli_epi16(x, 8)), 8);
}

__attribute__((target("avx2"))) int CombineFlatRowAvx2(uint32_t* px, int n, const uint16_t* factors,
                                                        uint32_t fixedMask, uint32_t fixed)
{
    const __m256i zero = _mm256_setzero_si256(), round = _mm256_set1_epi16(128);
    const __m256i f = _mm256_set_epi16(int16_t(factors[3]), int16_t(factors[2]), int16_t(factors[1]), int16_t(factors[0]),
                                       int16_t(factors[3]), int16_t(factors[2]), int16_t(factors[1]), int16_t(factors[0]),
                                       int16_t(factors[3]), int16_t(factors[2]), int16_t(factors[1]), int16_t(factors[0]),
                                       int16_t(factors[3]), int16_t(factors[2]), int16_t(factors[1]), int16_t(factors[0]));
    const __m256i keep = _mm256_set1_epi32(int32_t(~fixedMask)), put = _mm256_set1_epi32(int32_t(fixed & fixedMask));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(px + i));
        const __m256i m = _mm256_packus_epi16(Mul255x16(_mm256_unpacklo_epi8(t, zero), f, round),
                                              Mul255x16(_mm256_unpackhi_epi8(t, zero), f, round));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(px + i), _mm256_or_si256(_mm256_and_si256(m, keep), put));
    }
    return i;
}
#endif

int CombineFlatRow(uint32_t* px, int n, const uint16_t* factors, uint32_t fixedMask, uint32_t fixed, RowLevel level)
{
    int i = 0;
#if defined(__x86_64__)
    if (level >= RowLevel::Avx2)
        i = CombineFlatRowAvx2(px, n, factors, fixedMask, fixed);
#endif
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), round = _mm_set1_epi16(128);
    const __m128i f = _mm_set_epi16(int16_t(factors[3]), int16_t(factors[2]), int16_t(factors[1]), int16_t(factors[0]),
                                    int16_t(factors[3]), int16_t(factors[2]), int16_t(factors[1]), int16_t(factors[0]));
    const __m128i keep = _mm_set1_epi32(int32_t(~fixedMask)), put = _mm_set1_epi32(int32_t(fixed & fixedMask));
    auto mul = [&](__m128i t16) {
        const __m128i x = _mm_add_epi16(_mm_mullo_epi16(t16, f), round);
        return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
    };
    for (; i + 4 <= n; i += 4) {
        const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + i));
        const __m128i m = _mm_packus_epi16(mul(_mm_unpacklo_epi8(t, zero)), mul(_mm_unpackhi_epi8(t, zero)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(px + i), _mm_or_si128(_mm_and_si128(m, keep), put));
    }
#endif
    return i;
}

} // namespace

SoftRasterizer::SoftRasterizer(const RasterTarget& target, const D3DRenderStates& states,
                               const RasterTexture* texture, const Distort* distort)
    : mTarget(target), mStates(states), mTexture(texture && texture->texels ? texture : nullptr),
      mDistort(distort && *distort ? distort : nullptr)
{
    mLinear = states.magFilter == D3DTFG_LINEAR || states.minFilter == D3DTFG_LINEAR;
    mWrapU = states.addressU != D3DTADDRESS_CLAMP;
    mWrapV = states.addressV != D3DTADDRESS_CLAMP;
    // Whether a white diffuse colour leaves the texel as it is.
    auto keepsTexel = [](uint32_t op, uint32_t arg1, uint32_t arg2) {
        if (op == D3DTOP_SELECTARG1)
            return arg1 == D3DTA_TEXTURE;
        if (op == D3DTOP_SELECTARG2)
            return arg2 == D3DTA_TEXTURE;
        return op == D3DTOP_MODULATE && (arg1 == D3DTA_TEXTURE || arg2 == D3DTA_TEXTURE);
    };
    mTexelOnly = mTexture && keepsTexel(states.colorOp, states.colorArg1, states.colorArg2) &&
                 keepsTexel(states.alphaOp, states.alphaArg1, states.alphaArg2);
    mOpaqueTexels = mTexelOnly && mTexture->opaque;
    // How the texel enters each operation's result under one diffuse colour.
    auto texelUse = [](uint32_t op, uint32_t arg1, uint32_t arg2) {
        const bool t1 = arg1 == D3DTA_TEXTURE, t2 = arg2 == D3DTA_TEXTURE;
        switch (op) {
        case D3DTOP_SELECTARG1: return t1 ? TexelUse::Itself : TexelUse::None;
        case D3DTOP_SELECTARG2: return t2 ? TexelUse::Itself : TexelUse::None;
        case D3DTOP_MODULATE: return t1 && t2 ? TexelUse::Squared : t1 || t2 ? TexelUse::Modulated : TexelUse::None;
        default: return TexelUse::None;
        }
    };
    mColorUse = texelUse(states.colorOp, states.colorArg1, states.colorArg2);
    mAlphaUse = texelUse(states.alphaOp, states.alphaArg1, states.alphaArg2);
    mFlatCombine = mTexture && mColorUse != TexelUse::Squared && mAlphaUse != TexelUse::Squared;
    mScalarRows = D3DSettings::Get().scalarRows;
    mRowLevel = mScalarRows              ? RowLevel::Scalar
                : plat::CpuHasAvx512BW() ? RowLevel::Avx512
                : plat::CpuHasAvx2()     ? RowLevel::Avx2
                                         : RowLevel::Sse2;
    if (!states.alphaBlend || (states.srcBlend == D3DBLEND_ONE && states.destBlend == D3DBLEND_ZERO))
        mBlend = BlendKind::Replace;
    else if (states.srcBlend == D3DBLEND_SRCALPHA && states.destBlend == D3DBLEND_INVSRCALPHA)
        mBlend = BlendKind::Over;
    else if (states.srcBlend == D3DBLEND_SRCALPHA && states.destBlend == D3DBLEND_ONE)
        mBlend = BlendKind::AddWeighted;
    else
        mBlend = BlendKind::General;
}

uint32_t SoftRasterizer::Combine(uint32_t texel, uint32_t diffuse) const
{
    auto arg = [&](uint32_t which) { return which == D3DTA_TEXTURE ? texel : diffuse; };
    auto op = [&](uint32_t o, uint32_t a1, uint32_t a2) -> uint32_t {
        switch (o) {
        case D3DTOP_SELECTARG1: return arg(a1);
        case D3DTOP_SELECTARG2: return arg(a2);
        case D3DTOP_MODULATE: return ModulatePacked(arg(a1), arg(a2));
        default: return diffuse;
        }
    };
    const uint32_t color = op(mStates.colorOp, mStates.colorArg1, mStates.colorArg2);
    const uint32_t alpha = op(mStates.alphaOp, mStates.alphaArg1, mStates.alphaArg2);
    return (alpha & 0xFF000000u) | (color & 0x00FFFFFFu);
}

void SoftRasterizer::SetupTexture(const D3DTLVertex& base, Attributes& attrs) const
{
    // Planes were set up in texture coordinates 0..1; scale them to texels.
    const double w = mTexture ? mTexture->width : 1, h = mTexture ? mTexture->height : 1;
    attrs.u.c *= w; attrs.u.dx *= w; attrs.u.dy *= w;
    attrs.v.c *= h; attrs.v.dx *= h; attrs.v.dy *= h;
    attrs.color = base.color;
}

void SoftRasterizer::Triangle(const D3DTLVertex& a, const D3DTLVertex& b, const D3DTLVertex& c)
{
    int64_t X[3], Y[3];
    const D3DTLVertex* v[3] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i)
        if (!Snap(v[i]->sx, X[i]) || !Snap(v[i]->sy, Y[i]))
            return;
    int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
    if (area == 0)
        return;
    if (area < 0) {
        std::swap(X[1], X[2]);
        std::swap(Y[1], Y[2]);
        std::swap(v[1], v[2]);
        area = -area;
    }

    // Attribute planes over the snapped positions.
    Attributes attrs;
    const double x0 = X[0] / kSubPixels, y0 = Y[0] / kSubPixels;
    const double x1 = X[1] / kSubPixels, y1 = Y[1] / kSubPixels;
    const double x2 = X[2] / kSubPixels, y2 = Y[2] / kSubPixels;
    const double det = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    auto plane = [&](double a0, double a1, double a2) {
        Plane p;
        p.dx = ((a1 - a0) * (y2 - y0) - (a2 - a0) * (y1 - y0)) / det;
        p.dy = ((a2 - a0) * (x1 - x0) - (a1 - a0) * (x2 - x0)) / det;
        p.c = a0 - p.dx * x0 - p.dy * y0;
        return p;
    };
    attrs.u = plane(v[0]->tu, v[1]->tu, v[2]->tu);
    attrs.v = plane(v[0]->tv, v[1]->tv, v[2]->tv);
    attrs.flatColor = v[0]->color == v[1]->color && v[0]->color == v[2]->color;
    if (!attrs.flatColor) {
        attrs.a = plane(Channel(v[0]->color, 24), Channel(v[1]->color, 24), Channel(v[2]->color, 24));
        attrs.r = plane(Channel(v[0]->color, 16), Channel(v[1]->color, 16), Channel(v[2]->color, 16));
        attrs.g = plane(Channel(v[0]->color, 8), Channel(v[1]->color, 8), Channel(v[2]->color, 8));
        attrs.b = plane(Channel(v[0]->color, 0), Channel(v[1]->color, 0), Channel(v[2]->color, 0));
    }
    SetupTexture(*v[0], attrs);

    // Edge functions E(P) = dx * (Py - Yi) - dy * (Px - Xi), positive inside;
    // a pixel centre on an edge belongs to the triangle for top and left edges.
    struct Edge {
        int64_t X0, Y0, dx, dy;
        int64_t bias;
    } edges[3];
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        Edge& e = edges[i];
        e.X0 = X[i];
        e.Y0 = Y[i];
        e.dx = X[j] - X[i];
        e.dy = Y[j] - Y[i];
        const bool topLeft = e.dy < 0 || (e.dy == 0 && e.dx > 0);
        e.bias = topLeft ? 0 : 1;
    }
    const int64_t minY = std::min({Y[0], Y[1], Y[2]}), maxY = std::max({Y[0], Y[1], Y[2]});
    int64_t top = std::max<int64_t>(CeilDiv(minY, 16), mTarget.clipTop);
    int64_t bottom = std::min<int64_t>(FloorDiv(maxY, 16), mTarget.clipBottom - 1);
    for (int64_t py = top; py <= bottom; ++py) {
        const int64_t Py = py * 16;
        int64_t xs = mTarget.clipLeft, xe = int64_t(mTarget.clipRight) - 1; // inclusive
        for (const Edge& e : edges) {
            // E(px) = A * px + B >= bias
            const int64_t A = -16 * e.dy;
            const int64_t B = e.dx * (Py - e.Y0) + e.dy * e.X0 - e.bias;
            if (A > 0)
                xs = std::max(xs, CeilDiv(-B, A));
            else if (A < 0)
                xe = std::min(xe, FloorDiv(B, -A));
            else if (B < 0)
                xe = xs - 1;
        }
        if (xs <= xe)
            DrawSpan(int(py), int(xs), int(xe) + 1, attrs);
    }
}

bool SoftRasterizer::StripQuad(const D3DTLVertex* v)
{
    // Corners in strip order: top-left, bottom-left, top-right, bottom-right
    // (or any mirror of that: the tests are symmetric).
    int64_t X[4], Y[4];
    for (int i = 0; i < 4; ++i)
        if (!Snap(v[i].sx, X[i]) || !Snap(v[i].sy, Y[i]))
            return false;
    if (X[0] != X[1] || X[2] != X[3] || Y[0] != Y[2] || Y[1] != Y[3] || X[0] == X[2] || Y[0] == Y[1])
        return false;
    if (v[0].tu != v[1].tu || v[2].tu != v[3].tu || v[0].tv != v[2].tv || v[1].tv != v[3].tv)
        return false;
    if (v[0].color != v[1].color || v[0].color != v[2].color || v[0].color != v[3].color)
        return false;

    Attributes attrs;
    const double xl = X[0] / kSubPixels, xr = X[2] / kSubPixels;
    const double yt = Y[0] / kSubPixels, yb = Y[1] / kSubPixels;
    attrs.u.dx = (double(v[2].tu) - v[0].tu) / (xr - xl);
    attrs.u.c = v[0].tu - attrs.u.dx * xl;
    attrs.v.dy = (double(v[1].tv) - v[0].tv) / (yb - yt);
    attrs.v.c = v[0].tv - attrs.v.dy * yt;
    attrs.flatColor = true;
    SetupTexture(v[0], attrs);

    // Left and top edges take the centres on them, right and bottom do not.
    const int64_t L = std::min(X[0], X[2]), R = std::max(X[0], X[2]);
    const int64_t T = std::min(Y[0], Y[1]), B = std::max(Y[0], Y[1]);
    const int64_t xs = std::max<int64_t>(CeilDiv(L, 16), mTarget.clipLeft);
    const int64_t xe = std::min<int64_t>(CeilDiv(R, 16), mTarget.clipRight);
    const int64_t ys = std::max<int64_t>(CeilDiv(T, 16), mTarget.clipTop);
    const int64_t ye = std::min<int64_t>(CeilDiv(B, 16), mTarget.clipBottom);
    if (xs >= xe)
        return true;
    // Rows read straight from the texture: u at the row's start is the same
    // on every row (the plane of u has no slope in y), so it is rounded once.
    if (mTexture && attrs.u.dy == 0.0) {
        const int n = int(xe - xs);
        const int64_t column = DirectColumn(attrs, Round64(attrs.u.At(double(xs), double(ys)) * 65536.0), n);
        const bool opaque = mOpaqueTexels && attrs.flatColor && attrs.color == 0xFFFFFFFFu;
        int64_t py = ys;
        // A batch of rows at a time: their v, then their texels, then the
        // blend of all of them, as long as each row reads its texels directly.
        const uint32_t* rows[kBatch];
        int64_t v[kBatch];
        while (column >= 0 && py < ye) {
            const int count = int(std::min<int64_t>(kBatch, ye - py));
            for (int k = 0; k < count; ++k)
                v[k] = Round64(attrs.v.At(double(xs), double(py + k)) * 65536.0);
            int direct = 0;
            while (direct < count && (rows[direct] = DirectTexels(column, v[direct])) != nullptr)
                ++direct;
            BlendRows(int(py), int(xs), n, rows, direct, opaque);
            py += direct;
            if (direct < count)
                break;
        }
        for (; py < ye; ++py)
            DrawSpan(int(py), int(xs), int(xe), attrs);
        return true;
    }
    if (!mTexture) {
        // One row of the flat colour serves every row.
        const int n = int(xe - xs);
        if (mRow.size() < size_t(n))
            mRow.resize(size_t(n));
        ShadeRow(int(ys), int(xs), n, attrs, mRow.data());
        const uint32_t* rows[kBatch];
        std::fill(rows, rows + kBatch, mRow.data());
        const bool opaque = mRow[0] >> 24 == 255;
        for (int64_t py = ys; py < ye; py += kBatch)
            BlendRows(int(py), int(xs), n, rows, int(std::min<int64_t>(kBatch, ye - py)), opaque);
        return true;
    }
    for (int64_t py = ys; py < ye; ++py)
        DrawSpan(int(py), int(xs), int(xe), attrs);
    return true;
}

void SoftRasterizer::Line(const D3DTLVertex& a, const D3DTLVertex& b)
{
    if (!std::isfinite(a.sx) || !std::isfinite(a.sy) || !std::isfinite(b.sx) || !std::isfinite(b.sy))
        return;
    const double dx = double(b.sx) - a.sx, dy = double(b.sy) - a.sy;
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const double length = xMajor ? dx : dy;
    if (length == 0.0 || std::fabs(length) > kMaxCoordinate)
        return;
    const double startMajor = xMajor ? a.sx : a.sy;
    const double endMajor = xMajor ? b.sx : b.sy;
    const int64_t first = int64_t(std::floor(startMajor + 0.5));
    const int64_t last = int64_t(std::floor(endMajor + 0.5)); // not drawn
    const int64_t step = length > 0 ? 1 : -1;
    for (int64_t m = first; m != last; m += step) {
        const double t = std::clamp((double(m) - startMajor) / length, 0.0, 1.0);
        const double minor = xMajor ? a.sy + t * dy : a.sx + t * dx;
        const int64_t n = int64_t(std::floor(minor + 0.5));
        const int64_t px = xMajor ? m : n, py = xMajor ? n : m;
        if (px < mTarget.clipLeft || px >= mTarget.clipRight || py < mTarget.clipTop || py >= mTarget.clipBottom)
            continue;
        auto mix = [t](uint32_t c0, uint32_t c1, int shift) {
            return uint32_t(std::lround(Channel(c0, shift) + t * (double(Channel(c1, shift)) - Channel(c0, shift))))
                   << shift;
        };
        const uint32_t diffuse = a.color == b.color ? a.color
                                                    : mix(a.color, b.color, 24) | mix(a.color, b.color, 16) |
                                                          mix(a.color, b.color, 8) | mix(a.color, b.color, 0);
        uint32_t texel = 0xFFFFFFFFu;
        if (mTexture) {
            const double u = (a.tu + t * (double(b.tu) - a.tu)) * mTexture->width;
            const double v = (a.tv + t * (double(b.tv) - a.tv)) * mTexture->height;
            const int iu = Address(int64_t(std::floor(u)), mTexture->width, mWrapU);
            const int iv = Address(int64_t(std::floor(v)), mTexture->height, mWrapV);
            texel = mTexture->texels[size_t(iv) * size_t(mTexture->pitch) + size_t(iu)];
        }
        const uint32_t color = Combine(texel, diffuse);
        BlendRow(int(py), int(px), 1, &color, false);
    }
}

// A span that reads one texture row texel by texel, with nothing to combine,
// is blended straight from the texture. Bilinear sampling exactly on texel
// centres is point sampling.
int64_t SoftRasterizer::DirectColumn(const Attributes& attrs, int64_t u, int n) const
{
    if (!mTexelOnly || !attrs.flatColor || attrs.color != 0xFFFFFFFFu || attrs.u.dx * 65536.0 != 65536.0 ||
        attrs.v.dx != 0.0)
        return -1;
    if (mLinear) {
        if (((u - 0x8000 + 0x80) & 0xFF00) != 0)
            return -1;
        u += 0x80;
    }
    const int64_t iu = u >> 16;
    return iu < 0 || iu + n > mTexture->width ? -1 : iu;
}

const uint32_t* SoftRasterizer::DirectTexels(int64_t column, int64_t v) const
{
    if (mLinear) {
        if (((v - 0x8000 + 0x80) & 0xFF00) != 0)
            return nullptr;
        v += 0x80;
    }
    const int64_t iv = v >> 16;
    if (iv < 0 || iv >= mTexture->height)
        return nullptr;
    return mTexture->texels + size_t(iv) * size_t(mTexture->pitch) + size_t(column);
}

const uint32_t* SoftRasterizer::DirectRow(int n, const Attributes& attrs, int64_t u, int64_t v) const
{
    const int64_t column = DirectColumn(attrs, u, n);
    return column < 0 ? nullptr : DirectTexels(column, v);
}

void SoftRasterizer::ShadeRow(int y, int x0, int n, const Attributes& attrs, uint32_t* out)
{
    const double cx = x0, cy = y;
    uint32_t diffuse = attrs.color;
    int64_t ca = 0, cr = 0, cg = 0, cb = 0, da = 0, dr = 0, dg = 0, db = 0;
    if (!attrs.flatColor) {
        auto start = [&](const Plane& p) { return int64_t(Round64(p.At(cx, cy) * 65536.0)); };
        auto stepOf = [&](const Plane& p) { return int64_t(Round64(p.dx * 65536.0)); };
        ca = start(attrs.a); cr = start(attrs.r); cg = start(attrs.g); cb = start(attrs.b);
        da = stepOf(attrs.a); dr = stepOf(attrs.r); dg = stepOf(attrs.g); db = stepOf(attrs.b);
    }
    auto clampByte = [](int64_t v) { return uint32_t(std::clamp<int64_t>(v >> 16, 0, 255)); };

    if (!mTexture && attrs.flatColor) {
        std::fill(out, out + n, Combine(0xFFFFFFFFu, diffuse));
        return;
    }
    if (!mTexture) {
        for (int i = 0; i < n; ++i) {
            if (!attrs.flatColor)
                diffuse = clampByte(ca + da * i) << 24 | clampByte(cr + dr * i) << 16 | clampByte(cg + dg * i) << 8 |
                          clampByte(cb + db * i);
            out[i] = Combine(0xFFFFFFFFu, diffuse);
        }
        return;
    }

    const RasterTexture& t = *mTexture;
    int64_t u = Round64(attrs.u.At(cx, cy) * 65536.0);
    int64_t v = Round64(attrs.v.At(cx, cy) * 65536.0);
    const int64_t du = Round64(attrs.u.dx * 65536.0), dv = Round64(attrs.v.dx * 65536.0);
    const bool plain = mTexelOnly && attrs.flatColor && diffuse == 0xFFFFFFFFu;
    const uint64_t w = uint64_t(t.width), h = uint64_t(t.height);
    const size_t pitch = size_t(t.pitch);
    const uint32_t* texels = t.texels;
    // Addressing is needed only for samples that reach beyond the texture.
    auto at = [&](int64_t iu, int64_t iv) {
        return texels[size_t(Address(iv, t.height, mWrapV)) * pitch + size_t(Address(iu, t.width, mWrapU))];
    };
    auto sample = [&](int64_t uu, int64_t vv) -> uint32_t {
        if (!mLinear) {
            const int64_t iu = uu >> 16, iv = vv >> 16;
            if (uint64_t(iu) < w && uint64_t(iv) < h)
                return texels[size_t(iv) * pitch + size_t(iu)];
            return at(iu, iv);
        }
        const int64_t su = uu - 0x8000, sv = vv - 0x8000;
        const int64_t iu = su >> 16, iv = sv >> 16;
        const uint32_t fu = uint32_t(((su & 0xFFFF) + 0x80) >> 8), fv = uint32_t(((sv & 0xFFFF) + 0x80) >> 8);
        if (uint64_t(iu) < w - 1 && uint64_t(iv) < h - 1) {
            const uint32_t* r0 = texels + size_t(iv) * pitch + size_t(iu);
            return Bilinear(r0, r0 + pitch, fu, fv);
        }
        const uint32_t r0[2] = {at(iu, iv), at(iu + 1, iv)}, r1[2] = {at(iu, iv + 1), at(iu + 1, iv + 1)};
        return Bilinear(r0, r1, fu, fv);
    };
    // The texels of the row into out.
    auto sampleRow = [&] {
        if (mLinear && dv == 0 && !mScalarRows) {
            // A row of a stretch: both texture rows and the vertical weight stay.
            const int64_t sv = v - 0x8000, iv = sv >> 16;
            const uint32_t fv = uint32_t(((sv & 0xFFFF) + 0x80) >> 8);
            if (uint64_t(iv) < h - 1) {
                const uint32_t* r0 = texels + size_t(iv) * pitch;
                const uint32_t* r1 = r0 + pitch;
                if (uint64_t(n) >= w) {
                    // At least as many pixels as texels: the vertical half of
                    // the blend is made once for each texel of the row, and
                    // each pixel only blends its two columns (the same sums as
                    // Bilinear takes).
                    mColumns.resize(size_t(w));
                    LerpRows(mColumns.data(), r0, r1, int(w), fv, mRowLevel);
                    const uint32_t* columns = mColumns.data();
                    // Four pixels at a time where both columns of each lie
                    // inside the row, one at a time elsewhere.
                    for (int i = 0; i < n;) {
                        i += LerpColumns(out + i, columns, n - i, u + du * i, du, w);
                        if (i == n)
                            break;
                        const int64_t ui = u + du * i, su = ui - 0x8000, iu = su >> 16;
                        if (uint64_t(iu) < w - 1)
                            out[i] = Lerp(columns[iu], columns[iu + 1], uint32_t(((su & 0xFFFF) + 0x80) >> 8));
                        else
                            out[i] = sample(ui, v);
                        ++i;
                    }
                    return;
                }
                for (int i = 0; i < n; ++i, u += du) {
                    const int64_t su = u - 0x8000, iu = su >> 16;
                    if (uint64_t(iu) < w - 1)
                        out[i] = Bilinear(r0 + iu, r1 + iu, uint32_t(((su & 0xFFFF) + 0x80) >> 8), fv);
                    else
                        out[i] = sample(u, v);
                }
                return;
            }
        }
        if (!mLinear && dv == 0 && !mScalarRows && uint64_t(v >> 16) < h) {
            // A row of a point-sampled stretch: one texture row throughout;
            // texel for pixel inside the row, a copy.
            const uint32_t* r = texels + size_t(v >> 16) * pitch;
            const int64_t first = u >> 16;
            if (du == 0x10000 && first >= 0 && first + n <= int64_t(w)) {
                std::copy(r + first, r + first + n, out);
                return;
            }
            for (int i = 0; i < n; ++i, u += du) {
                const int64_t iu = u >> 16;
                out[i] = uint64_t(iu) < w ? r[iu] : sample(u, v);
            }
            return;
        }
        for (int i = 0; i < n; ++i, u += du, v += dv)
            out[i] = sample(u, v);
    };
    sampleRow();
    if (plain)
        return;
    if (attrs.flatColor && mFlatCombine && !mScalarRows) {
        uint16_t factors[4];
        uint32_t fixedMask = 0, fixed = 0;
        // Channels 0-2 follow the colour operation, 3 the alpha one.
        for (int c = 0; c < 4; ++c) {
            const TexelUse use = c < 3 ? mColorUse : mAlphaUse;
            const uint32_t d = (diffuse >> (8 * c)) & 0xFF;
            factors[c] = uint16_t(use == TexelUse::Itself ? 255 : use == TexelUse::Modulated ? d : 0);
            if (use == TexelUse::None) {
                fixedMask |= 0xFFu << (8 * c);
                fixed |= Combine(0, diffuse) & (0xFFu << (8 * c));
            }
        }
        for (int i = CombineFlatRow(out, n, factors, fixedMask, fixed, mRowLevel); i < n; ++i)
            out[i] = Combine(out[i], diffuse);
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (!attrs.flatColor)
            diffuse = clampByte(ca + da * i) << 24 | clampByte(cr + dr * i) << 16 | clampByte(cg + dg * i) << 8 |
                      clampByte(cb + db * i);
        out[i] = Combine(out[i], diffuse);
    }
}

void SoftRasterizer::DrawSpan(int y, int x0, int x1, const Attributes& attrs)
{
    const int n = x1 - x0;
    if (n <= 0)
        return;
    const uint32_t* src = nullptr;
    if (mTexture) {
        src = DirectRow(n, attrs, Round64(attrs.u.At(x0, y) * 65536.0), Round64(attrs.v.At(x0, y) * 65536.0));
    }
    if (!src) {
        // Made when first needed: spans read straight from the texture use none.
        if (mRow.size() < size_t(n))
            mRow.resize(size_t(n));
        ShadeRow(y, x0, n, attrs, mRow.data());
        src = mRow.data();
    }
    // An opaque texture under a flat white colour gives opaque pixels.
    BlendRow(y, x0, n, src, mOpaqueTexels && attrs.flatColor && attrs.color == 0xFFFFFFFFu);
}

void SoftRasterizer::BlendRow(int y, int x0, int n, const uint32_t* src, bool opaque)
{
    BlendRows(y, x0, n, &src, 1, opaque);
}

void SoftRasterizer::BlendRows(int y, int x0, int n, const uint32_t* const* src, int rows, bool opaque)
{
    const D3DRenderStates& s = mStates;
    if (mDistort || (mTarget.bitCount != 32 && mTarget.bitCount != 16)) {
        // Pixel by pixel, through the misbehaving device.
        for (int r = 0; r < rows; ++r)
            for (int i = 0; i < n; ++i) {
                uint32_t out = BlendPixel(s, src[r][i], ReadTarget(mTarget, x0 + i, y + r));
                if (mDistort)
                    out = (*mDistort)(s, x0 + i, y + r, out);
                WriteTarget(mTarget, x0 + i, y + r, out);
            }
        return;
    }
    const size_t pitch = size_t(mTarget.pitch);
    uint8_t* first = mTarget.bits + size_t(y) * pitch;
    if (mTarget.bitCount == 16) {
        if (mTarget.rgb555)
            BlendRows16<true>(first, x0, n, src, rows, opaque);
        else
            BlendRows16<false>(first, x0, n, src, rows, opaque);
        return;
    }
    auto each = [&](auto rowOf) {
        for (int r = 0; r < rows; ++r)
            rowOf(reinterpret_cast<uint32_t*>(first + size_t(r) * pitch) + x0, src[r]);
    };
    switch (mBlend) {
    case BlendKind::Replace:
        each([n](uint32_t* d, const uint32_t* p) {
            for (int i = 0; i < n; ++i)
                d[i] = p[i] | 0xFF000000u;
        });
        break;
    case BlendKind::Over:
        if (opaque)
            each([n](uint32_t* d, const uint32_t* p) { std::copy(p, p + n, d); });
        else
            each([n, level = mRowLevel](uint32_t* d, const uint32_t* p) { OverRow32(d, p, n, level); });
        break;
    case BlendKind::AddWeighted:
        each([n](uint32_t* d, const uint32_t* row) {
            for (int i = 0; i < n; ++i) {
                const uint32_t p = row[i], w = Weight(p >> 24);
                if (w == 0)
                    continue;
                const uint32_t q = d[i];
                const uint32_t r = std::min(Channel(q, 16) + ((Channel(p, 16) * w) >> 8), 255u);
                const uint32_t g = std::min(Channel(q, 8) + ((Channel(p, 8) * w) >> 8), 255u);
                const uint32_t b = std::min(Channel(q, 0) + ((Channel(p, 0) * w) >> 8), 255u);
                d[i] = 0xFF000000u | r << 16 | g << 8 | b;
            }
        });
        break;
    case BlendKind::General:
        each([n, &s](uint32_t* d, const uint32_t* p) {
            for (int i = 0; i < n; ++i)
                d[i] = BlendPixel(s, p[i], d[i] | 0xFF000000u);
        });
        break;
    }
}

template <bool k555>
void SoftRasterizer::BlendRows16(uint8_t* first, int x0, int n, const uint32_t* const* src, int rows, bool opaque) const
{
    const size_t pitch = size_t(mTarget.pitch);
    auto each = [&](auto rowOf) {
        for (int r = 0; r < rows; ++r)
            rowOf(reinterpret_cast<uint16_t*>(first + size_t(r) * pitch) + x0, src[r]);
    };
    const RowLevel level = mRowLevel;
    if (mBlend == BlendKind::Replace || (mBlend == BlendKind::Over && opaque))
        each([n, level](uint16_t* d, const uint32_t* p) { PackRow16<k555>(d, p, n, level); });
    else if (mBlend == BlendKind::Over)
        each([n, level](uint16_t* d, const uint32_t* p) { OverRow16<k555>(d, p, n, level); });
    else
        each([this, n](uint16_t* d, const uint32_t* p) {
            for (int i = 0; i < n; ++i)
                d[i] = Pack16<k555>(BlendPixel(mStates, p[i], Expand16<k555>(d[i])));
        });
}

void SoftRasterizer::Fill(const RasterTarget& target, int left, int top, int right, int bottom, uint32_t argb)
{
    left = std::max(left, target.clipLeft);
    top = std::max(top, target.clipTop);
    right = std::min(right, target.clipRight);
    bottom = std::min(bottom, target.clipBottom);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            WriteTarget(target, x, y, argb);
}

} // namespace plat
