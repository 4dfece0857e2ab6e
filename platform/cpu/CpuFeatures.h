#pragma once

// Which wide instruction sets the drawing kernels may use, decided once per
// process. ZELK_CPU_LEVEL ("sse2" or "avx2") caps them below what the
// processor has, so that every form of a kernel can be tested on one machine;
// it never raises them. SSE2 is the x86-64 baseline and needs no question.
namespace plat {

bool CpuHasAvx2();
bool CpuHasAvx512BW(); // AVX-512 F and BW together

} // namespace plat
