// The additive row kernel, with a 256-bit form chosen at run time on
// processors that have it. Every form gives the bytes of the scalar loop.
#include "framework/graphics/AddRow.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZELK_ADD_ROW_X86 1
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

#if ZELK_ADD_ROW_X86
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

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

} // namespace

void AddColors(uint32_t* d, const uint32_t* s, int n)
{
    int i = 0;
#if ZELK_ADD_ROW_X86
    if (HasAvx2())
        i = AddColorsAvx2(d, s, n);
#endif
    i += AddColorsSse2(d + i, s + i, n - i);
    for (; i < n; ++i)
        d[i] = AddSaturated(d[i], s[i]);
}

} // namespace BlendRow
} // namespace Zelk
