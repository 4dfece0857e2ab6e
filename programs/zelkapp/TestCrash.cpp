#include "TestCrash.h"

#include <cstdlib>
#include <thread>

namespace {

__attribute__((noinline, no_sanitize("undefined"))) void NullWrite()
{
    // The store itself is volatile: an optimiser may drop a plain store
    // through a pointer that can only be null.
    volatile int* volatile target = nullptr;
    *target = 1;
}

// Each frame keeps a buffer the compiler cannot drop, and the call is no tail call.
__attribute__((noinline)) int Recurse(int depth)
{
    volatile char frame[512];
    frame[0] = char(depth);
    return Recurse(depth + 1) + frame[0];
}

__attribute__((noinline)) void DoubleFree()
{
    char* volatile block = static_cast<char*>(malloc(64));
    free(block);
    free(block);
}

} // namespace

void RaiseNamedTestCrash(const std::string& kind)
{
    if (kind == "nullwrite") {
        NullWrite();
    } else if (kind == "overflow") {
        Recurse(0);
    } else if (kind == "abort") {
        abort();
    } else if (kind == "doublefree") {
        DoubleFree();
    } else if (kind == "twothreads") {
        std::thread other(NullWrite);
        NullWrite();
        other.join();
    }
}
