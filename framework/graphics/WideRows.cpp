#include "framework/graphics/WideRows.h"
#include "framework/graphics/SurfaceRows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
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

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
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

} // namespace BlendRow
} // namespace Zelk
