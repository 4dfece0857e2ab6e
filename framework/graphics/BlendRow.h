#pragma once
// Row kernels of the blitters. Each gives exactly the result of the scalar
// blend in PixelBlend.h; with SSE2 four pixels go at a time, in 16-bit lanes
// where every product and sum of the definition fits exactly.
#include "framework/graphics/PixelBlend.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Zelk {
namespace BlendRow {

// Plain copy of a run (short runs are the common case: no library call).
inline void Copy(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), a);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 4), b);
    }
    for (; i + 4 <= n; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
#endif
    for (; i < n; ++i)
        d[i] = s[i];
}

// A translucent fill over a row: each opaque pixel becomes, per channel,
// (D x inv + add) >> 8 with alpha 255; other pixels go to `other`, which
// blends them one at a time. Returns nothing; every pixel is written.
template <typename Other> inline void FillOverRow(uint32_t* d, int n, uint32_t inv, uint32_t addR, uint32_t addG,
                                                  uint32_t addB, Other other)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaMask = _mm_set1_epi32(int32_t(0xFF000000u));
    const __m128i inv16 = _mm_set1_epi16(int16_t(inv));
    const __m128i add16 = _mm_set_epi16(0, int16_t(addR), int16_t(addG), int16_t(addB), 0, int16_t(addR),
                                        int16_t(addG), int16_t(addB));
    for (; i + 4 <= n; i += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(v, alphaMask), alphaMask)) != 0xFFFF) {
            for (int k = i; k < i + 4; ++k)
                d[k] = other(d[k]);
            continue;
        }
        __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), inv16), add16), 8);
        __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), inv16), add16), 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_or_si128(_mm_packus_epi16(lo, hi), alphaMask));
    }
#endif
    for (; i < n; ++i)
        d[i] = other(d[i]);
}

// Saturating add of the source colour (weighted by its alpha when
// weightByAlpha) to the destination colour; the destination alpha stays.
inline void AddWhite(uint32_t* d, const uint32_t* s, int n, bool weightByAlpha, const uint8_t* table)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i colorMask = _mm_set1_epi32(0x00FFFFFF);
    auto weighted = [&](__m128i s16) {
        __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s16, 0xFF), 0xFF);
        return _mm_srli_epi16(_mm_mullo_epi16(s16, a), 8);
    };
    for (; i + 4 <= n; i += 4) {
        __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        if (weightByAlpha)
            sv = _mm_packus_epi16(weighted(_mm_unpacklo_epi8(sv, zero)), weighted(_mm_unpackhi_epi8(sv, zero)));
        sv = _mm_and_si128(sv, colorMask);
        // Nothing to add (the transparent parts of a sprite): no write.
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(sv, zero)) == 0xFFFF)
            continue;
        __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        // The addend's alpha byte is 0, so the destination alpha stays.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_adds_epu8(dv, sv));
    }
#endif
    for (; i < n; ++i) {
        uint32_t sp = s[i], dp = d[i], sa = sp >> 24;
        uint32_t r = (sp >> 16) & 0xFF, g = (sp >> 8) & 0xFF, b = sp & 0xFF;
        if (weightByAlpha) {
            r = (r * sa) >> 8;
            g = (g * sa) >> 8;
            b = (b * sa) >> 8;
        }
        d[i] = (dp & 0xFF000000) | (uint32_t(table[((dp >> 16) & 0xFF) + r]) << 16) |
               (uint32_t(table[((dp >> 8) & 0xFF) + g]) << 8) | table[(dp & 0xFF) + b];
    }
}

} // namespace BlendRow
} // namespace Zelk
