#include "TestCrash.h"
#include "platform/crash/ThreadStart.h"

#include <csignal>
#include <cstdint>
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

volatile bool gBottomless = true;

// Each frame keeps a buffer the compiler cannot drop, and the call is no tail call.
__attribute__((noinline)) int Recurse(int depth)
{
    volatile char frame[512];
    frame[0] = char(depth);
    return gBottomless ? Recurse(depth + 1) + frame[0] : frame[0];
}

// A call through a garbage function pointer.
__attribute__((noinline, no_sanitize("undefined"))) void JumpToBadAddress()
{
    void (*volatile target)() = reinterpret_cast<void (*)()>(uintptr_t(0x10));
    target();
}

__attribute__((noinline)) void DoubleFree()
{
    char* volatile block = static_cast<char*>(malloc(64));
    free(block);
    free(block);
}

void OverflowOnSignal(int) { Recurse(0); }

} // namespace

void RaiseNamedTestCrash(const std::string& kind)
{
    if (kind == "overflowonsignal") {
        // The handler runs on the stack of the thread that takes the signal
        // (not on its alternate stack), as that thread's own code would.
        struct sigaction sa {};
        sa.sa_handler = OverflowOnSignal;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGUSR2, &sa, nullptr);
        return;
    }
    if (kind == "nullwrite") {
        NullWrite();
    } else if (kind == "overflow") {
        Recurse(0);
    } else if (kind == "abort") {
        abort();
    } else if (kind == "badjump") {
        JumpToBadAddress();
    } else if (kind == "doublefree") {
        DoubleFree();
    } else if (kind == "twothreads") {
        std::thread other = plat::StartThread("zelk-crashtest", NullWrite);
        NullWrite();
        other.join();
    }
}
