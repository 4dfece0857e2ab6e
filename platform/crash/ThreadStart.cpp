#include "platform/crash/ThreadStart.h"
#include "platform/crash/CrashSignals.h"

#include <atomic>
#include <cstring>
#include <pthread.h>

namespace plat {

namespace {
std::atomic<bool> gFailNextStart{false};
}

void FailNextThreadStart() { gFailNextStart.store(true); }

bool TakeThreadStartFailure() { return gFailNextStart.exchange(false); }

void EnterProgramThread(const char* name)
{
    PrepareThreadForCrashes();
    if (!name)
        return;
    char shortName[16];
    strncpy(shortName, name, sizeof shortName - 1);
    shortName[sizeof shortName - 1] = '\0';
    pthread_setname_np(pthread_self(), shortName);
}

} // namespace plat
