// The launcher on the null window with the real clock, network and program
// start: what the end-to-end test runs from a folder of its own.
#include "launcher/RunLauncher.h"
#include "launcher/SystemHost.h"
#include "platform/NullPlatform.h"
#include "platform/clock/MonotonicClock.h"
#include "platform/loop/EventLoop.h"

int main()
{
    plat::NullPlatform platform;
    platform.shell.executeForReal = true;
    plat::MonotonicClock clock;
    plat::EventLoop loop(clock);
    return vorsel::RunLauncher(loop, vorsel::SystemHost::ExecutableFolder());
}
