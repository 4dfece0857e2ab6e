// The empty framework application: a window that runs the main loop until it
// is closed.
#include "framework/app/CrashCatcherInstaller.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/app/RunApplication.h"

// Catches crashes from before the entry point until after it.
static Zelk::CrashCatcherInstaller gCrashCatcherInstaller;

int main(int argc, char** argv)
{
    return plat::RunRealApplication([] {
        Zelk::ZelkAppBase* app = new Zelk::ZelkAppBase();
        app->mProdName = "ZelkApp";
        app->mRegKey = "Zelk\\ZelkApp";
        app->Init();
        app->Start();
        delete app;
        return 0;
    });
}
