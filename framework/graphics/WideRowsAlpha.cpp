// The alpha blends of memory images in rows (declared in WideRows.h): the
// run-length blit's translucent runs, the unmodulated blit onto a destination
// of any alpha and the smooth stretch's blend. Each has a 512-bit, a 256-bit
// and a 128-bit form, chosen at run time through the one processor check, and
// a scalar tail; every form writes the bytes of the scalar definition.
//
// The arithmetic runs in 16-bit lanes, one per channel, where every product
// and sum of the definitions fits exactly. Where a weight w other than the
// source's own alpha is wanted, it is put into the source's top byte, so the
// same shuffle hands every channel its weight.
#include "framework/graphics/PixelBlend.h"
#include "framework/graphics/WideRows.h"
#include "platform/cpu/CpuFeatures.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include "platform/cpu/WideIntrinsics.h"
#if defined(__x86_64__) || defined(__i386__)
#define ZELK_WIDE_ALPHA_X86 1
#endif

namespace Zelk {
namespace BlendRow {

namespace {

// ---- the scalar definitions ----

inline uint32_t OwnOpaque(uint32_t d, uint32_t s) { return Blend::OverPacked(d, s, s >> 24, 255); }

inline uint32_t AnyAlpha(uint32_t d, uint32_t s)
{
    const uint32_t sa = s >> 24;
    if (sa == 0)
        return d;
    const uint32_t da = d >> 24;
    if (da == 255)
        return Blend::OverPacked(d, s, sa, 255);
    const uint32_t n = Blend::OverAlpha(da, sa);
    return Blend::OverPacked(d, s, sa * 255 / n, n);
}

inline uint32_t Smooth(uint32_t d, uint32_t s)
{
    const uint32_t a = s >> 24;
    if (a == 0)
        return d;
    const uint32_t ia = 256 - a;
    const uint32_t nb = std::min<uint32_t>((((d & 0xFF) * ia) >> 8) + ((a * (s & 0xFF)) >> 8), 255);
    const uint32_t ng = std::min<uint32_t>(((((d >> 8) & 0xFF) * ia) >> 8) + ((a * ((s >> 8) & 0xFF)) >> 8), 255);
    const uint32_t nr = std::min<uint32_t>(((((d >> 16) & 0xFF) * ia) >> 8) + ((a * ((s >> 16) & 0xFF)) >> 8), 255);
    return (Blend::OverAlpha(d >> 24, a) << 24) | (nr << 16) | (ng << 8) | nb;
}

// In the 16-bit lanes of a pixel (blue, green, red, alpha): the source term
// of blue keeps no fraction, since floor(x / 256) + floor(y / 256) equals
// floor((x + (y with its low byte cleared)) / 256). So one sum gives red and
// green truncated once and blue twice, as Blend::OverPacked does.
constexpr int64_t kBlueSourceMask = int64_t(0xFFFFFFFFFFFFFF00ull);

// ---- 128-bit forms ----

#if defined(__SSE2__)
inline __m128i Weights128(__m128i s16) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(s16, 0xFF), 0xFF); }

// Colours of OverPacked(d, s, w, ...) for four pixels, w each source's top
// byte; the top bytes of the result are not meaningful.
inline __m128i OwnColour128(__m128i sv, __m128i dv)
{
    const __m128i zero = _mm_setzero_si128();
    auto half = [&](__m128i s16, __m128i d16) {
        const __m128i w = Weights128(s16);
        const __m128i dt = _mm_mullo_epi16(d16, _mm_sub_epi16(_mm_set1_epi16(256), w));
        const __m128i st = _mm_and_si128(_mm_mullo_epi16(s16, w), _mm_set1_epi64x(kBlueSourceMask));
        return _mm_srli_epi16(_mm_add_epi16(dt, st), 8);
    };
    return _mm_packus_epi16(half(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero)),
                            half(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero)));
}

// da + (255 - da) x a / 255 in 32-bit lanes holding bytes (x / 255 for
// x <= 65025 is (x + 1 + (x >> 8)) >> 8).
inline __m128i OverAlpha128(__m128i da, __m128i a)
{
    const __m128i x = _mm_mullo_epi16(_mm_sub_epi32(_mm_set1_epi32(255), da), a);
    return _mm_add_epi32(da, _mm_srli_epi32(_mm_add_epi32(_mm_add_epi32(x, _mm_set1_epi32(1)), _mm_srli_epi32(x, 8)), 8));
}

inline __m128i Select128(__m128i mask, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

int OwnOpaqueSse2(uint32_t* d, const uint32_t* s, int n)
{
    const __m128i opaque = _mm_set1_epi32(int32_t(0xFF000000u));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        __m128i* out = reinterpret_cast<__m128i*>(d + i);
        _mm_storeu_si128(out, _mm_or_si128(OwnColour128(sv, _mm_loadu_si128(out)), opaque));
    }
    return i;
}

int AnyAlphaSse2(uint32_t* d, const uint32_t* s, int n)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i colourMask = _mm_set1_epi32(0x00FFFFFF);
    const __m128i opaque = _mm_set1_epi32(int32_t(0xFF000000u));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i sa = _mm_srli_epi32(sv, 24);
        const __m128i keep = _mm_cmpeq_epi32(sa, zero);
        if (_mm_movemask_epi8(keep) == 0xFFFF)
            continue;
        __m128i* out = reinterpret_cast<__m128i*>(d + i);
        const __m128i dv = _mm_loadu_si128(out);
        __m128i mixed;
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(dv, opaque), opaque)) == 0xFFFF) {
            // Onto opaque pixels: w = sa, n = 255 (a clear source gives the pixel back).
            mixed = _mm_or_si128(OwnColour128(sv, dv), opaque);
        } else {
            const __m128i alpha = OverAlpha128(_mm_srli_epi32(dv, 24), sa);
            // sa x 255 / n is exact in single precision after truncation: a
            // quotient below 256 that is not whole lies at least 1/255 from
            // the next whole number.
            const __m128i divisor = _mm_or_si128(alpha, _mm_and_si128(_mm_cmpeq_epi32(alpha, zero), _mm_set1_epi32(1)));
            const __m128i w = _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(_mm_sub_epi32(_mm_slli_epi32(sa, 8), sa)),
                                                          _mm_cvtepi32_ps(divisor)));
            const __m128i colour = OwnColour128(_mm_or_si128(_mm_and_si128(sv, colourMask), _mm_slli_epi32(w, 24)), dv);
            mixed = _mm_or_si128(_mm_and_si128(colour, colourMask), _mm_slli_epi32(alpha, 24));
        }
        _mm_storeu_si128(out, Select128(keep, dv, mixed));
    }
    return i;
}

int SmoothSse2(uint32_t* d, const uint32_t* s, int n)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i colourMask = _mm_set1_epi32(0x00FFFFFF);
    auto half = [&](__m128i s16, __m128i d16) {
        const __m128i a = Weights128(s16);
        return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(_mm_set1_epi16(256), a)), 8),
                             _mm_srli_epi16(_mm_mullo_epi16(s16, a), 8));
    };
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i a = _mm_srli_epi32(sv, 24);
        const __m128i keep = _mm_cmpeq_epi32(a, zero);
        if (_mm_movemask_epi8(keep) == 0xFFFF)
            continue;
        __m128i* out = reinterpret_cast<__m128i*>(d + i);
        const __m128i dv = _mm_loadu_si128(out);
        // The unsigned pack ends every channel sum (at most 509) at 255.
        const __m128i colour = _mm_packus_epi16(half(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero)),
                                                half(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero)));
        const __m128i alpha = OverAlpha128(_mm_srli_epi32(dv, 24), a);
        _mm_storeu_si128(out, Select128(keep, dv, _mm_or_si128(_mm_and_si128(colour, colourMask), _mm_slli_epi32(alpha, 24))));
    }
    return i;
}
#else
int OwnOpaqueSse2(uint32_t*, const uint32_t*, int) { return 0; }
int AnyAlphaSse2(uint32_t*, const uint32_t*, int) { return 0; }
int SmoothSse2(uint32_t*, const uint32_t*, int) { return 0; }
#endif

#if ZELK_WIDE_ALPHA_X86
// ---- 256-bit forms (unpacking and packing work within each 128-bit half,
// so the pixels come back in their places) ----

#define ZELK_AVX2 __attribute__((target("avx2")))

ZELK_AVX2 inline __m256i Weights256(__m256i s16) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s16, 0xFF), 0xFF); }

ZELK_AVX2 inline __m256i OwnHalf256(__m256i s16, __m256i d16)
{
    const __m256i w = Weights256(s16);
    const __m256i dt = _mm256_mullo_epi16(d16, _mm256_sub_epi16(_mm256_set1_epi16(256), w));
    const __m256i st = _mm256_and_si256(_mm256_mullo_epi16(s16, w), _mm256_set1_epi64x(kBlueSourceMask));
    return _mm256_srli_epi16(_mm256_add_epi16(dt, st), 8);
}

ZELK_AVX2 inline __m256i OwnColour256(__m256i sv, __m256i dv)
{
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packus_epi16(OwnHalf256(_mm256_unpacklo_epi8(sv, zero), _mm256_unpacklo_epi8(dv, zero)),
                               OwnHalf256(_mm256_unpackhi_epi8(sv, zero), _mm256_unpackhi_epi8(dv, zero)));
}

// Per channel (D x (256 - a) >> 8) + (S x a >> 8), at most 509.
ZELK_AVX2 inline __m256i SmoothHalf256(__m256i s16, __m256i d16)
{
    const __m256i a = Weights256(s16);
    return _mm256_add_epi16(_mm256_srli_epi16(_mm256_mullo_epi16(d16, _mm256_sub_epi16(_mm256_set1_epi16(256), a)), 8),
                            _mm256_srli_epi16(_mm256_mullo_epi16(s16, a), 8));
}

ZELK_AVX2 inline __m256i OverAlpha256(__m256i da, __m256i a)
{
    const __m256i x = _mm256_mullo_epi16(_mm256_sub_epi32(_mm256_set1_epi32(255), da), a);
    return _mm256_add_epi32(
        da, _mm256_srli_epi32(_mm256_add_epi32(_mm256_add_epi32(x, _mm256_set1_epi32(1)), _mm256_srli_epi32(x, 8)), 8));
}

ZELK_AVX2 int OwnOpaqueAvx2(uint32_t* d, const uint32_t* s, int n)
{
    const __m256i opaque = _mm256_set1_epi32(int32_t(0xFF000000u));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        __m256i* out = reinterpret_cast<__m256i*>(d + i);
        _mm256_storeu_si256(out, _mm256_or_si256(OwnColour256(sv, _mm256_loadu_si256(out)), opaque));
    }
    return i;
}

ZELK_AVX2 int AnyAlphaAvx2(uint32_t* d, const uint32_t* s, int n)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i colourMask = _mm256_set1_epi32(0x00FFFFFF);
    const __m256i opaque = _mm256_set1_epi32(int32_t(0xFF000000u));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i sa = _mm256_srli_epi32(sv, 24);
        const __m256i keep = _mm256_cmpeq_epi32(sa, zero);
        if (_mm256_movemask_epi8(keep) == -1)
            continue;
        __m256i* out = reinterpret_cast<__m256i*>(d + i);
        const __m256i dv = _mm256_loadu_si256(out);
        __m256i mixed;
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(dv, opaque), opaque)) == -1) {
            mixed = _mm256_or_si256(OwnColour256(sv, dv), opaque);
        } else {
            const __m256i alpha = OverAlpha256(_mm256_srli_epi32(dv, 24), sa);
            const __m256i divisor = _mm256_max_epu32(alpha, _mm256_set1_epi32(1));
            const __m256i w = _mm256_cvttps_epi32(_mm256_div_ps(
                _mm256_cvtepi32_ps(_mm256_sub_epi32(_mm256_slli_epi32(sa, 8), sa)), _mm256_cvtepi32_ps(divisor)));
            const __m256i colour =
                OwnColour256(_mm256_or_si256(_mm256_and_si256(sv, colourMask), _mm256_slli_epi32(w, 24)), dv);
            mixed = _mm256_or_si256(_mm256_and_si256(colour, colourMask), _mm256_slli_epi32(alpha, 24));
        }
        _mm256_storeu_si256(out, _mm256_blendv_epi8(mixed, dv, keep));
    }
    return i;
}

ZELK_AVX2 int SmoothAvx2(uint32_t* d, const uint32_t* s, int n)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i colourMask = _mm256_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i a = _mm256_srli_epi32(sv, 24);
        const __m256i keep = _mm256_cmpeq_epi32(a, zero);
        if (_mm256_movemask_epi8(keep) == -1)
            continue;
        __m256i* out = reinterpret_cast<__m256i*>(d + i);
        const __m256i dv = _mm256_loadu_si256(out);
        const __m256i colour =
            _mm256_packus_epi16(SmoothHalf256(_mm256_unpacklo_epi8(sv, zero), _mm256_unpacklo_epi8(dv, zero)),
                                SmoothHalf256(_mm256_unpackhi_epi8(sv, zero), _mm256_unpackhi_epi8(dv, zero)));
        const __m256i alpha = OverAlpha256(_mm256_srli_epi32(dv, 24), a);
        const __m256i mixed = _mm256_or_si256(_mm256_and_si256(colour, colourMask), _mm256_slli_epi32(alpha, 24));
        _mm256_storeu_si256(out, _mm256_blendv_epi8(mixed, dv, keep));
    }
    return i;
}

// ---- 512-bit forms ----

#define ZELK_AVX512 __attribute__((target("avx512f,avx512bw")))

ZELK_AVX512 inline __m512i Weights512(__m512i s16) { return _mm512_shufflehi_epi16(_mm512_shufflelo_epi16(s16, 0xFF), 0xFF); }

ZELK_AVX512 inline __m512i OwnHalf512(__m512i s16, __m512i d16)
{
    const __m512i w = Weights512(s16);
    const __m512i dt = _mm512_mullo_epi16(d16, _mm512_sub_epi16(_mm512_set1_epi16(256), w));
    const __m512i st = _mm512_and_si512(_mm512_mullo_epi16(s16, w), _mm512_set1_epi64(kBlueSourceMask));
    return _mm512_srli_epi16(_mm512_add_epi16(dt, st), 8);
}

ZELK_AVX512 inline __m512i OwnColour512(__m512i sv, __m512i dv)
{
    const __m512i zero = _mm512_setzero_si512();
    return _mm512_packus_epi16(OwnHalf512(_mm512_unpacklo_epi8(sv, zero), _mm512_unpacklo_epi8(dv, zero)),
                               OwnHalf512(_mm512_unpackhi_epi8(sv, zero), _mm512_unpackhi_epi8(dv, zero)));
}

// Per channel (D x (256 - a) >> 8) + (S x a >> 8), at most 509.
ZELK_AVX512 inline __m512i SmoothHalf512(__m512i s16, __m512i d16)
{
    const __m512i a = Weights512(s16);
    return _mm512_add_epi16(_mm512_srli_epi16(_mm512_mullo_epi16(d16, _mm512_sub_epi16(_mm512_set1_epi16(256), a)), 8),
                            _mm512_srli_epi16(_mm512_mullo_epi16(s16, a), 8));
}

ZELK_AVX512 inline __m512i OverAlpha512(__m512i da, __m512i a)
{
    const __m512i x = _mm512_mullo_epi16(_mm512_sub_epi32(_mm512_set1_epi32(255), da), a);
    return _mm512_add_epi32(
        da, _mm512_srli_epi32(_mm512_add_epi32(_mm512_add_epi32(x, _mm512_set1_epi32(1)), _mm512_srli_epi32(x, 8)), 8));
}

ZELK_AVX512 int OwnOpaqueAvx512(uint32_t* d, const uint32_t* s, int n)
{
    const __m512i opaque = _mm512_set1_epi32(int32_t(0xFF000000u));
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i sv = _mm512_loadu_si512(s + i);
        _mm512_storeu_si512(d + i, _mm512_or_si512(OwnColour512(sv, _mm512_loadu_si512(d + i)), opaque));
    }
    return i;
}

ZELK_AVX512 int AnyAlphaAvx512(uint32_t* d, const uint32_t* s, int n)
{
    const __m512i colourMask = _mm512_set1_epi32(0x00FFFFFF);
    const __m512i opaque = _mm512_set1_epi32(int32_t(0xFF000000u));
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i sv = _mm512_loadu_si512(s + i);
        const __mmask16 drawn = _mm512_test_epi32_mask(sv, opaque);
        if (drawn == 0)
            continue;
        const __m512i dv = _mm512_loadu_si512(d + i);
        __m512i mixed;
        if (_mm512_cmpeq_epi32_mask(_mm512_and_si512(dv, opaque), opaque) == 0xFFFF) {
            mixed = _mm512_or_si512(OwnColour512(sv, dv), opaque);
        } else {
            const __m512i sa = _mm512_srli_epi32(sv, 24);
            const __m512i alpha = OverAlpha512(_mm512_srli_epi32(dv, 24), sa);
            const __m512i divisor = _mm512_max_epu32(alpha, _mm512_set1_epi32(1));
            const __m512i w = _mm512_cvttps_epi32(_mm512_div_ps(
                _mm512_cvtepi32_ps(_mm512_sub_epi32(_mm512_slli_epi32(sa, 8), sa)), _mm512_cvtepi32_ps(divisor)));
            const __m512i colour =
                OwnColour512(_mm512_or_si512(_mm512_and_si512(sv, colourMask), _mm512_slli_epi32(w, 24)), dv);
            mixed = _mm512_or_si512(_mm512_and_si512(colour, colourMask), _mm512_slli_epi32(alpha, 24));
        }
        _mm512_storeu_si512(d + i, _mm512_mask_blend_epi32(drawn, dv, mixed));
    }
    return i;
}

ZELK_AVX512 int SmoothAvx512(uint32_t* d, const uint32_t* s, int n)
{
    const __m512i zero = _mm512_setzero_si512();
    const __m512i colourMask = _mm512_set1_epi32(0x00FFFFFF);
    const __m512i alphaMask = _mm512_set1_epi32(int32_t(0xFF000000u));
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i sv = _mm512_loadu_si512(s + i);
        const __mmask16 drawn = _mm512_test_epi32_mask(sv, alphaMask);
        if (drawn == 0)
            continue;
        const __m512i dv = _mm512_loadu_si512(d + i);
        const __m512i colour =
            _mm512_packus_epi16(SmoothHalf512(_mm512_unpacklo_epi8(sv, zero), _mm512_unpacklo_epi8(dv, zero)),
                                SmoothHalf512(_mm512_unpackhi_epi8(sv, zero), _mm512_unpackhi_epi8(dv, zero)));
        const __m512i alpha = OverAlpha512(_mm512_srli_epi32(dv, 24), _mm512_srli_epi32(sv, 24));
        const __m512i mixed = _mm512_or_si512(_mm512_and_si512(colour, colourMask), _mm512_slli_epi32(alpha, 24));
        _mm512_storeu_si512(d + i, _mm512_mask_blend_epi32(drawn, dv, mixed));
    }
    return i;
}

bool HasAvx2() { return plat::CpuHasAvx2(); }
bool HasAvx512() { return plat::CpuHasAvx512BW(); }
#endif

// The widest forms first, then the 128-bit one, then the scalar tail; rows
// too short for a wide group skip the processor check.
template <int (*Wide512)(uint32_t*, const uint32_t*, int), int (*Wide256)(uint32_t*, const uint32_t*, int),
          int (*Narrow)(uint32_t*, const uint32_t*, int), uint32_t (*Each)(uint32_t, uint32_t)>
inline void Run(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if ZELK_WIDE_ALPHA_X86
    if (n >= 8) {
        if (n >= 16 && HasAvx512())
            i = Wide512(d, s, n);
        if (HasAvx2())
            i += Wide256(d + i, s + i, n - i);
    }
#endif
    i += Narrow(d + i, s + i, n - i);
    for (; i < n; ++i)
        d[i] = Each(d[i], s[i]);
}

} // namespace

#if ZELK_WIDE_ALPHA_X86
void OverOwnAlphaOpaque(uint32_t* d, const uint32_t* s, int n)
{
    Run<OwnOpaqueAvx512, OwnOpaqueAvx2, OwnOpaqueSse2, OwnOpaque>(d, s, n);
}

void OverAnyAlpha(uint32_t* d, const uint32_t* s, int n) { Run<AnyAlphaAvx512, AnyAlphaAvx2, AnyAlphaSse2, AnyAlpha>(d, s, n); }

void SmoothOver(uint32_t* d, const uint32_t* s, int n) { Run<SmoothAvx512, SmoothAvx2, SmoothSse2, Smooth>(d, s, n); }
#else
void OverOwnAlphaOpaque(uint32_t* d, const uint32_t* s, int n) { Run<nullptr, nullptr, OwnOpaqueSse2, OwnOpaque>(d, s, n); }
void OverAnyAlpha(uint32_t* d, const uint32_t* s, int n) { Run<nullptr, nullptr, AnyAlphaSse2, AnyAlpha>(d, s, n); }
void SmoothOver(uint32_t* d, const uint32_t* s, int n) { Run<nullptr, nullptr, SmoothSse2, Smooth>(d, s, n); }
#endif

} // namespace BlendRow
} // namespace Zelk
