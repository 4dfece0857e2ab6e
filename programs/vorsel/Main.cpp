// Vorsel: the launcher that shows the advertisement and starts the game.
#include "launcher/RunLauncher.h"
#include "launcher/SystemHost.h"
#include "platform/Platform.h"
#include "platform/app/RunApplication.h"
#include "platform/clock/Clock.h"
#include "platform/loop/EventLoop.h"

int main()
{
    return plat::RunRealApplication([] {
        plat::EventLoop loop(*plat::Get().clock);
        return vorsel::RunLauncher(loop, vorsel::SystemHost::ExecutableFolder());
    });
}
