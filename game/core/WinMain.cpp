#include "game/core/GameApp.h"

#include "platform/Platform.h"
#include "platform/shell/Shell.h"

int WinMain(uintptr_t instance, uintptr_t previousInstance, const std::string& commandLine, int showCommand)
{
    gApp = new GameApp(instance);
    gApp->Init();
    gApp->Start();
    if (gApp)
        delete gApp;

    // After the game: the product page and the second launcher. Neither
    // result matters.
    if (plat::Shell* shell = plat::Get().shell) {
        shell->Execute("OPEN", "play.url", "", "", plat::SW_SHOWNA);
        shell->Execute("OPEN", ".\\fscommand\\Dunmarl.exe", "", "", plat::SW_SHOWNA);
    }
    return 0;
}
