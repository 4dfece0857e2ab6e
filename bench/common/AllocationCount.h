#pragma once
// Counts every heap allocation of the program (the throwing and the
// no-throw operator new), so a benchmark can report the allocations of its
// steady state. Include it in one source of a benchmark program only: it
// replaces the program's operator new and delete.
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace bench {

inline std::atomic<uint64_t> gAllocations{0};

inline uint64_t Allocations() { return gAllocations.load(std::memory_order_relaxed); }

} // namespace bench

// These operators pair malloc with free themselves; GCC's check of matching
// allocation functions cannot see that through the replacement.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(size_t size)
{
    bench::gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
// The no-throw form too (the standard library's temporary buffers use it),
// so every allocation this program's deletes free comes from malloc.
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    bench::gAllocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
