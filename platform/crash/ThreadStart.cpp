#include "platform/crash/ThreadStart.h"
#include "platform/crash/CrashSignals.h"

#include <cstring>
#include <pthread.h>

namespace plat {

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
