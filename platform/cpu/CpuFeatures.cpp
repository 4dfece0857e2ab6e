#include "platform/cpu/CpuFeatures.h"

#include <cstdlib>
#include <cstring>

namespace plat {
namespace {

enum Level { kSse2 = 1, kAvx2 = 2, kAvx512 = 3 };

int AllowedLevel()
{
    const char* cap = std::getenv("ZELK_CPU_LEVEL");
    if (cap && std::strcmp(cap, "sse2") == 0)
        return kSse2;
    if (cap && std::strcmp(cap, "avx2") == 0)
        return kAvx2;
    return kAvx512;
}

int ProcessorLevel()
{
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx2"))
        return kAvx512;
    if (__builtin_cpu_supports("avx2"))
        return kAvx2;
    return kSse2;
#else
    return 0;
#endif
}

int Level()
{
    static const int level = ProcessorLevel() < AllowedLevel() ? ProcessorLevel() : AllowedLevel();
    return level;
}

} // namespace

bool CpuHasAvx2() { return Level() >= kAvx2; }

bool CpuHasAvx512BW() { return Level() >= kAvx512; }

} // namespace plat
