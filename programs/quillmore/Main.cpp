// The game program: the real platform around the game's entry point.
#include "game/core/GameApp.h"
#include "platform/app/RunApplication.h"
#include "platform/cmdline/CommandLine.h"

namespace {
// How a window first appears when the program is started normally.
constexpr int kShowNormal = 1;
} // namespace

int main(int argc, char** argv)
{
    plat::SetCommandLineArguments(argc, argv);
    // This system hands a program no instance handle: the game keeps 0.
    return plat::RunRealApplication([] { return WinMain(0, 0, plat::GetCommandLine(), kShowNormal); });
}
