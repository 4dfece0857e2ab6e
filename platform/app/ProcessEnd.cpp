#include "platform/app/ProcessEnd.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace plat {

namespace {

std::atomic<ProcessEnder> gEnder{nullptr};

} // namespace

void EndProcess(int code)
{
    if (ProcessEnder ender = gEnder.load())
        ender(code);
    // No ender, or one that handed the code to another thread, which ends the
    // process: this thread has nothing left to do.
    if (!gEnder.load())
        exit(code);
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

void SetProcessEnder(ProcessEnder ender) { gEnder.store(ender); }

} // namespace plat
