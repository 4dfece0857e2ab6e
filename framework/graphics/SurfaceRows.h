#pragma once
// Row kernels of the surface blitters on 32-bit surfaces with the standard
// 8-8-8 layout. Each gives exactly the result of the routine's formula; with
// SSE2 four pixels go at a time in 16-bit lanes, where every product fits.
#include <cstdint>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Zelk {
namespace SurfaceRows {

// A premultiplied native pixel n of alpha x over d:
// ((d & 0xFF00) x (256 - x) >> 8 & 0xFF00) + ((d & 0xFF00FF) x (256 - x) >> 8 & 0xFF00FF) + n.
// Per channel that is floor(d x (256 - x) / 256) + n, which never passes 255
// for a premultiplied n, so no channel carries into the next.
inline uint32_t OverNative(uint32_t d, uint32_t n)
{
    const uint32_t k = 256 - (n >> 24);
    return ((((d & 0xFF00) * k) >> 8) & 0xFF00) + ((((d & 0x00FF00FF) * k) >> 8) & 0x00FF00FF) + n;
}

inline void OverNativeRow(uint32_t* d, const uint32_t* n, int count)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i k256 = _mm_set1_epi16(256);
    const __m128i colorMask = _mm_set1_epi32(0x00FFFFFF);
    auto half = [&](__m128i n16, __m128i d16) {
        const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(n16, 0xFF), 0xFF);
        return _mm_srli_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(k256, a)), 8);
    };
    for (; i + 4 <= count; i += 4) {
        const __m128i nv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(n + i));
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i lo = half(_mm_unpacklo_epi8(nv, zero), _mm_unpacklo_epi8(dv, zero));
        const __m128i hi = half(_mm_unpackhi_epi8(nv, zero), _mm_unpackhi_epi8(dv, zero));
        const __m128i kept = _mm_and_si128(_mm_packus_epi16(lo, hi), colorMask);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_add_epi8(kept, nv));
    }
#endif
    for (; i < count; ++i)
        d[i] = OverNative(d[i], n[i]);
}

// OverNativeRow for samples n(i) whose alpha may be 0: those leave their
// pixel as it is (its top byte too). An opaque sample gives itself, so groups
// of four that are all opaque are copied and all transparent skipped. The
// samples come from a function of the column or straight from a row of words.
template <typename Sample> inline void OverNativeSkipRow(uint32_t* d, int count, Sample n)
{
    auto at = [&n](int i) -> uint32_t {
        if constexpr (std::is_pointer_v<Sample>)
            return n[i];
        else
            return n(i);
    };
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i k256 = _mm_set1_epi16(256);
    const __m128i colorMask = _mm_set1_epi32(0x00FFFFFF);
    const __m128i alphaMask = _mm_set1_epi32(int32_t(0xFF000000u));
    auto half = [&](__m128i n16, __m128i d16) {
        const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(n16, 0xFF), 0xFF);
        return _mm_srli_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(k256, a)), 8);
    };
    for (; i + 4 <= count; i += 4) {
        __m128i nv;
        if constexpr (std::is_pointer_v<Sample>)
            nv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(n + i));
        else
            nv = _mm_set_epi32(int32_t(n(i + 3)), int32_t(n(i + 2)), int32_t(n(i + 1)), int32_t(n(i)));
        const __m128i alpha = _mm_and_si128(nv, alphaMask);
        const __m128i none = _mm_cmpeq_epi32(alpha, zero);
        const int noneBits = _mm_movemask_epi8(none);
        if (noneBits == 0xFFFF)
            continue;
        __m128i* out = reinterpret_cast<__m128i*>(d + i);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, alphaMask)) == 0xFFFF) {
            _mm_storeu_si128(out, nv);
            continue;
        }
        const __m128i dv = _mm_loadu_si128(out);
        const __m128i lo = half(_mm_unpacklo_epi8(nv, zero), _mm_unpacklo_epi8(dv, zero));
        const __m128i hi = half(_mm_unpackhi_epi8(nv, zero), _mm_unpackhi_epi8(dv, zero));
        const __m128i mixed = _mm_add_epi8(_mm_and_si128(_mm_packus_epi16(lo, hi), colorMask), nv);
        _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(none, dv), _mm_andnot_si128(none, mixed)));
    }
#endif
    for (; i < count; ++i)
        if (const uint32_t p = at(i); p >> 24)
            d[i] = OverNative(d[i], p);
}

// A translucent fill: s plus floor(d x inv / 256) per channel (s holds the
// colour's share and never lets a channel pass 255); the alpha byte becomes 0.
inline uint32_t FillOver(uint32_t d, uint32_t s, uint32_t inv)
{
    return s + ((((d & 0x00FF00FF) * inv) >> 8) & 0x00FF00FF) + ((((d & 0xFF00) * inv) >> 8) & 0xFF00);
}

inline void FillOverRow(uint32_t* d, int count, uint32_t s, uint32_t inv)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i inv16 = _mm_set1_epi16(int16_t(inv));
    const __m128i colorMask = _mm_set1_epi32(0x00FFFFFF);
    const __m128i add = _mm_set1_epi32(int32_t(s));
    for (; i + 4 <= count; i += 4) {
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), inv16), 8);
        const __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), inv16), 8);
        const __m128i kept = _mm_and_si128(_mm_packus_epi16(lo, hi), colorMask);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_add_epi8(kept, add));
    }
#endif
    for (; i < count; ++i)
        d[i] = FillOver(d[i], s, inv);
}

// Adds the colour of n to d channel by channel, each ending at 255 (the
// display's saturation tables); the alpha byte becomes 0.
inline uint32_t AddNative(uint32_t d, uint32_t n)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t sum = ((d >> shift) & 0xFF) + ((n >> shift) & 0xFF);
        out |= (sum > 255 ? 255 : sum) << shift;
    }
    return out;
}

} // namespace SurfaceRows
} // namespace Zelk
