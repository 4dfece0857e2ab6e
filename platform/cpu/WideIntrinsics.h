#pragma once
// The x86 vector intrinsics for the kernels built with their own target
// attributes (AVX2, AVX-512). GCC 12 takes the deliberately undefined operand
// of the 512-bit shifts (_mm512_undefined_epi32) for an uninitialised
// variable where they are inlined into a loop; the warning concerns the
// header, so it is switched off while the header is read.
#if defined(__x86_64__) || defined(__i386__)
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif
