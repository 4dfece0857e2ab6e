#include "framework/graphics/WideRows.h"
#include "framework/graphics/PixelBlend.h"
#include "framework/graphics/SurfaceRows.h"
#include "platform/cpu/CpuFeatures.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include "platform/cpu/WideIntrinsics.h"
#define ZELK_WIDE_ROWS_X86 1
#endif

namespace Zelk {
namespace BlendRow {

namespace {

inline uint32_t AddSaturated(uint32_t dp, uint32_t sp)
{
    uint32_t out = dp & 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t c = ((dp >> shift) & 0xFF) + ((sp >> shift) & 0xFF);
        out |= (c > 255 ? 255 : c) << shift;
    }
    return out;
}

inline uint16_t Over565(uint16_t d, uint32_t n)
{
    const uint32_t a = n >> 24;
    if (a == 0)
        return d;
    const uint32_t f = (256 - a) >> 3;
    const uint32_t kept = (((uint32_t(d >> 11) & 31) * f) >> 5) << 11 | (((uint32_t(d >> 5) & 63) * f) >> 5) << 5 |
                          ((uint32_t(d & 31) * f) >> 5);
    return uint16_t(kept + n);
}

int OverNativeSkip565Sse2(uint16_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i five = _mm_set1_epi16(31), six = _mm_set1_epi16(63);
    const __m128i k256 = _mm_set1_epi16(256);
    for (; i + 8 <= n; i += 8) {
        const __m128i w0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i w1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 4));
        // Eight alphas and eight colours in 16-bit lanes (the colours
        // sign-extended first, so the signed pack keeps their bits).
        const __m128i alpha = _mm_packs_epi32(_mm_srli_epi32(w0, 24), _mm_srli_epi32(w1, 24));
        const __m128i none = _mm_cmpeq_epi16(alpha, zero);
        if (_mm_movemask_epi8(none) == 0xFFFF)
            continue;
        const __m128i colour = _mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(w0, 16), 16),
                                               _mm_srai_epi32(_mm_slli_epi32(w1, 16), 16));
        __m128i* out = reinterpret_cast<__m128i*>(d + i);
        const __m128i dv = _mm_loadu_si128(out);
        const __m128i f = _mm_srli_epi16(_mm_sub_epi16(k256, alpha), 3);
        const __m128i r = _mm_slli_epi16(_mm_srli_epi16(_mm_mullo_epi16(_mm_srli_epi16(dv, 11), f), 5), 11);
        const __m128i g =
            _mm_slli_epi16(_mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi16(dv, 5), six), f), 5), 5);
        const __m128i b = _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(dv, five), f), 5);
        const __m128i mixed = _mm_add_epi16(_mm_or_si128(_mm_or_si128(r, g), b), colour);
        _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(none, dv), _mm_andnot_si128(none, mixed)));
    }
#endif
    return i;
}

int AddColorsSse2(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= n; i += 4) {
        __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_adds_epu8(dv, sv));
    }
#endif
    return i;
}

// Pixels of a group whose destinations are not all opaque, one at a time.
inline void OverSeparateEach(uint32_t* d, const uint32_t* s, int n)
{
    for (int k = 0; k < n; ++k)
        d[k] = Blend::OverSeparate(d[k], s[k]);
}

int OverSeparateSse2(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i k256 = _mm_set1_epi16(256);
    const __m128i alphaMask = _mm_set1_epi32(int32_t(0xFF000000u));
    for (; i + 4 <= n; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(sv, alphaMask), zero)) == 0xFFFF)
            continue;
        __m128i* out = reinterpret_cast<__m128i*>(d + i);
        const __m128i dv = _mm_loadu_si128(out);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(dv, alphaMask), alphaMask)) != 0xFFFF) {
            OverSeparateEach(d + i, s + i, 4);
            continue;
        }
        // Per 16-bit lane floor(D x (256 - a) / 256) + floor(S x a / 256);
        // a source alpha of 0 gives the pixel back.
        auto half = [&](__m128i s16, __m128i d16) {
            const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s16, 0xFF), 0xFF);
            const __m128i kept = _mm_srli_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(k256, a)), 8);
            return _mm_add_epi16(kept, _mm_srli_epi16(_mm_mullo_epi16(s16, a), 8));
        };
        const __m128i lo = half(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero));
        const __m128i hi = half(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero));
        _mm_storeu_si128(out, _mm_or_si128(_mm_packus_epi16(lo, hi), alphaMask));
    }
#endif
    return i;
}

int AddNativeSkipSse2(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i colorMask = _mm_set1_epi32(0x00FFFFFF);
    for (; i + 4 <= n; i += 4) {
        const __m128i c = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)), colorMask);
        const __m128i none = _mm_cmpeq_epi32(c, zero);
        if (_mm_movemask_epi8(none) == 0xFFFF)
            continue;
        __m128i* out = reinterpret_cast<__m128i*>(d + i);
        const __m128i dv = _mm_loadu_si128(out);
        const __m128i sum = _mm_adds_epu8(_mm_and_si128(dv, colorMask), c);
        _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(none, dv), _mm_andnot_si128(none, sum)));
    }
#endif
    return i;
}

inline uint16_t Add565(uint16_t d, uint32_t s)
{
    const uint32_t r = std::min<uint32_t>((d >> 11) + ((s >> 11) & 31), 31);
    const uint32_t g = std::min<uint32_t>(((d >> 5) & 63) + ((s >> 5) & 63), 63);
    const uint32_t b = std::min<uint32_t>((d & 31) + (s & 31), 31);
    return uint16_t(r << 11 | g << 5 | b);
}

#if defined(__SSE2__)
// Eight 5-6-5 sums in 16-bit lanes: each channel moved to the top of its
// lane, so the unsigned saturating add ends it at its largest value.
inline __m128i Add565x8(__m128i dv, __m128i c)
{
    const __m128i redMask = _mm_set1_epi16(int16_t(0xF800)), greenMask = _mm_set1_epi16(0x07E0);
    const __m128i red = _mm_and_si128(_mm_adds_epu16(_mm_and_si128(dv, redMask), _mm_and_si128(c, redMask)), redMask);
    const __m128i green = _mm_and_si128(_mm_srli_epi16(_mm_adds_epu16(_mm_slli_epi16(_mm_and_si128(dv, greenMask), 5),
                                                                      _mm_slli_epi16(_mm_and_si128(c, greenMask), 5)),
                                                       5),
                                        greenMask);
    const __m128i blue = _mm_srli_epi16(_mm_adds_epu16(_mm_slli_epi16(dv, 11), _mm_slli_epi16(c, 11)), 11);
    return _mm_or_si128(_mm_or_si128(red, green), blue);
}
#endif

int AddNative565Sse2(uint16_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        const __m128i w0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i w1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 4));
        // The low halves, sign-extended so the signed pack keeps their bits.
        const __m128i c = _mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(w0, 16), 16),
                                          _mm_srai_epi32(_mm_slli_epi32(w1, 16), 16));
        __m128i* out = reinterpret_cast<__m128i*>(d + i);
        _mm_storeu_si128(out, Add565x8(_mm_loadu_si128(out), c));
    }
#endif
    return i;
}

#if ZELK_WIDE_ROWS_X86
__attribute__((target("avx2"))) int AddColorsAvx2(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        __m256i s0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        __m256i s1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 8));
        __m256i d0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        __m256i d1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i + 8));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm256_adds_epu8(d0, s0));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i + 8), _mm256_adds_epu8(d1, s1));
    }
    for (; i + 8 <= n; i += 8) {
        __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm256_adds_epu8(dv, sv));
    }
    return i;
}

// Sixteen-bit lanes of the destination times (256 - the word's alpha) / 256.
__attribute__((target("avx2"))) inline __m256i KeptShare(__m256i n16, __m256i d16)
{
    const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(n16, 0xFF), 0xFF);
    return _mm256_srli_epi16(_mm256_mullo_epi16(d16, _mm256_sub_epi16(_mm256_set1_epi16(256), a)), 8);
}

__attribute__((target("avx2"))) int OverNativeSkipAvx2(uint32_t* d, const uint32_t* s, int n)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i colorMask = _mm256_set1_epi32(0x00FFFFFF);
    const __m256i alphaMask = _mm256_set1_epi32(int32_t(0xFF000000u));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i nv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i alpha = _mm256_and_si256(nv, alphaMask);
        const __m256i none = _mm256_cmpeq_epi32(alpha, zero);
        if (_mm256_movemask_epi8(none) == -1)
            continue;
        __m256i* out = reinterpret_cast<__m256i*>(d + i);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, alphaMask)) == -1) {
            _mm256_storeu_si256(out, nv);
            continue;
        }
        const __m256i dv = _mm256_loadu_si256(out);
        // Unpacking and packing work within each 128-bit lane, so the pixel
        // order comes back as it was.
        const __m256i lo = KeptShare(_mm256_unpacklo_epi8(nv, zero), _mm256_unpacklo_epi8(dv, zero));
        const __m256i hi = KeptShare(_mm256_unpackhi_epi8(nv, zero), _mm256_unpackhi_epi8(dv, zero));
        const __m256i mixed = _mm256_add_epi8(_mm256_and_si256(_mm256_packus_epi16(lo, hi), colorMask), nv);
        _mm256_storeu_si256(out, _mm256_blendv_epi8(mixed, dv, none));
    }
    return i;
}

__attribute__((target("avx2"))) inline __m256i SeparateShare(__m256i s16, __m256i d16)
{
    const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s16, 0xFF), 0xFF);
    const __m256i kept = _mm256_srli_epi16(_mm256_mullo_epi16(d16, _mm256_sub_epi16(_mm256_set1_epi16(256), a)), 8);
    return _mm256_add_epi16(kept, _mm256_srli_epi16(_mm256_mullo_epi16(s16, a), 8));
}

__attribute__((target("avx2"))) int OverSeparateAvx2(uint32_t* d, const uint32_t* s, int n)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alphaMask = _mm256_set1_epi32(int32_t(0xFF000000u));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(sv, alphaMask), zero)) == -1)
            continue;
        __m256i* out = reinterpret_cast<__m256i*>(d + i);
        const __m256i dv = _mm256_loadu_si256(out);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(dv, alphaMask), alphaMask)) != -1) {
            OverSeparateEach(d + i, s + i, 8);
            continue;
        }
        const __m256i lo = SeparateShare(_mm256_unpacklo_epi8(sv, zero), _mm256_unpacklo_epi8(dv, zero));
        const __m256i hi = SeparateShare(_mm256_unpackhi_epi8(sv, zero), _mm256_unpackhi_epi8(dv, zero));
        _mm256_storeu_si256(out, _mm256_or_si256(_mm256_packus_epi16(lo, hi), alphaMask));
    }
    return i;
}

__attribute__((target("avx2"))) int AddNativeSkipAvx2(uint32_t* d, const uint32_t* s, int n)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i colorMask = _mm256_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i c = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)), colorMask);
        const __m256i none = _mm256_cmpeq_epi32(c, zero);
        if (_mm256_movemask_epi8(none) == -1)
            continue;
        __m256i* out = reinterpret_cast<__m256i*>(d + i);
        const __m256i dv = _mm256_loadu_si256(out);
        const __m256i sum = _mm256_adds_epu8(_mm256_and_si256(dv, colorMask), c);
        _mm256_storeu_si256(out, _mm256_blendv_epi8(sum, dv, none));
    }
    return i;
}

__attribute__((target("avx2"))) inline __m256i Low16(__m256i w)
{
    return _mm256_srai_epi32(_mm256_slli_epi32(w, 16), 16);
}

__attribute__((target("avx2"))) int AddNative565Avx2(uint16_t* d, const uint32_t* s, int n)
{
    const __m256i redMask = _mm256_set1_epi16(int16_t(0xF800)), greenMask = _mm256_set1_epi16(0x07E0);
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m256i w0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i w1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 8));
        // Words 0-3 beside 4-7 and 8-11 beside 12-15: the pack works within
        // each 128-bit half and so gives the colours in pixel order.
        const __m256i c = _mm256_packs_epi32(Low16(_mm256_permute2x128_si256(w0, w1, 0x20)),
                                             Low16(_mm256_permute2x128_si256(w0, w1, 0x31)));
        __m256i* out = reinterpret_cast<__m256i*>(d + i);
        const __m256i dv = _mm256_loadu_si256(out);
        const __m256i red = _mm256_and_si256(
            _mm256_adds_epu16(_mm256_and_si256(dv, redMask), _mm256_and_si256(c, redMask)), redMask);
        const __m256i green = _mm256_and_si256(
            _mm256_srli_epi16(_mm256_adds_epu16(_mm256_slli_epi16(_mm256_and_si256(dv, greenMask), 5),
                                                _mm256_slli_epi16(_mm256_and_si256(c, greenMask), 5)),
                              5),
            greenMask);
        const __m256i blue =
            _mm256_srli_epi16(_mm256_adds_epu16(_mm256_slli_epi16(dv, 11), _mm256_slli_epi16(c, 11)), 11);
        _mm256_storeu_si256(out, _mm256_or_si256(_mm256_or_si256(red, green), blue));
    }
    return i;
}

__attribute__((target("avx2"))) int FillOverOpaqueAvx2(uint32_t* d, int n, uint32_t inv, uint32_t addR,
                                                        uint32_t addG, uint32_t addB)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alphaMask = _mm256_set1_epi32(int32_t(0xFF000000u));
    const __m256i inv16 = _mm256_set1_epi16(int16_t(inv));
    const __m256i add16 = _mm256_set1_epi64x(int64_t(uint64_t(addR) << 32 | uint64_t(addG) << 16 | addB));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256i* out = reinterpret_cast<__m256i*>(d + i);
        const __m256i v = _mm256_loadu_si256(out);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(v, alphaMask), alphaMask)) != -1)
            break;
        // Every product and sum stays below 65536 in its 16-bit lane.
        const __m256i lo = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(v, zero), inv16), add16), 8);
        const __m256i hi = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(v, zero), inv16), add16), 8);
        _mm256_storeu_si256(out, _mm256_or_si256(_mm256_packus_epi16(lo, hi), alphaMask));
    }
    return i;
}

// Eight indices that lie within seven past the first (as an enlargement's
// do) take one load of the eight pixels from the first and a
// shuffle; others are read one by one.
__attribute__((target("avx2"))) int GatherAvx2(uint32_t* out, const uint32_t* row, int width, const int* index,
                                               int n)
{
    const __m256i seven = _mm256_set1_epi32(7);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const int first = index[i];
        const __m256i at = _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(index + i)),
                                            _mm256_set1_epi32(first));
        if (first + 8 > width ||
            _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_max_epu32(at, seven), seven)) != -1) {
            for (int k = i; k < i + 8; ++k)
                out[k] = row[index[k]];
            continue;
        }
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + first));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_permutevar8x32_epi32(pixels, at));
    }
    return i;
}

bool HasAvx2() { return plat::CpuHasAvx2(); }
#endif

} // namespace

void OverNativeSkip(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if ZELK_WIDE_ROWS_X86
    if (HasAvx2())
        i = OverNativeSkipAvx2(d, s, n);
#endif
    SurfaceRows::OverNativeSkipRow(d + i, n - i, s + i);
}

void OverNativeSkip565(uint16_t* d, const uint32_t* s, int n)
{
    int i = OverNativeSkip565Sse2(d, s, n);
    for (; i < n; ++i)
        d[i] = Over565(d[i], s[i]);
}

void AddColors(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if ZELK_WIDE_ROWS_X86
    if (HasAvx2())
        i = AddColorsAvx2(d, s, n);
#endif
    i += AddColorsSse2(d + i, s + i, n - i);
    for (; i < n; ++i)
        d[i] = AddSaturated(d[i], s[i]);
}

void Gather(uint32_t* out, const uint32_t* row, int width, const int* index, int n)
{
    int i = 0;
#if ZELK_WIDE_ROWS_X86
    if (HasAvx2())
        i = GatherAvx2(out, row, width, index, n);
#endif
    (void)width;
    for (; i < n; ++i)
        out[i] = row[index[i]];
}

void OverSeparate(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if ZELK_WIDE_ROWS_X86
    if (HasAvx2())
        i = OverSeparateAvx2(d, s, n);
#endif
    i += OverSeparateSse2(d + i, s + i, n - i);
    OverSeparateEach(d + i, s + i, n - i);
}

int FillOverOpaque(uint32_t* d, int n, uint32_t inv, uint32_t addR, uint32_t addG, uint32_t addB)
{
#if ZELK_WIDE_ROWS_X86
    if (HasAvx2())
        return FillOverOpaqueAvx2(d, n, inv, addR, addG, addB);
#endif
    (void)d, (void)n, (void)inv, (void)addR, (void)addG, (void)addB;
    return 0;
}

void AddNativeSkip(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if ZELK_WIDE_ROWS_X86
    if (HasAvx2())
        i = AddNativeSkipAvx2(d, s, n);
#endif
    i += AddNativeSkipSse2(d + i, s + i, n - i);
    for (; i < n; ++i)
        if (s[i] & 0xFFFFFF)
            d[i] = SurfaceRows::AddNative(d[i], s[i]);
}

void AddNative565(uint16_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if ZELK_WIDE_ROWS_X86
    if (HasAvx2())
        i = AddNative565Avx2(d, s, n);
#endif
    i += AddNative565Sse2(d + i, s + i, n - i);
    for (; i < n; ++i)
        d[i] = Add565(d[i], s[i]);
}

} // namespace BlendRow
} // namespace Zelk
