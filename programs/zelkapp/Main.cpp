// The empty framework application: a window showing a test pattern that runs
// the main loop until it is closed.
//
// For the real-window tests: ZELK_TEST_CRASH names a fault to make once the
// application is initialised (see TestCrash.h), ZELK_CRASH_WINDOW=0 keeps
// the crash window from waiting for a person, and ZELK_TEST_POINTER=1 writes
// what the program learns of the mouse (see PointerReport.h): over the whole
// scene, and over a target in the pattern's white frame.
#include "PointerReport.h"
#include "TestCrash.h"
#include "TestPattern.h"
#include "framework/app/CrashCatcher.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/app/RunApplication.h"
#include "platform/cmdline/CommandLine.h"

#include <cstdlib>
#include <cstring>

namespace {

// The empty application takes the framework's switches ("-play", "-record",
// "-demofile", "-crash", ...).
class EmptyApp : public Zelk::ZelkAppBase {
public:
    void HandleCommandLine(const std::string& args) override { HandleSwitches(args); }
};

} // namespace

int main(int argc, char** argv)
{
    plat::SetCommandLineArguments(argc, argv);
    if (const char* window = getenv("ZELK_CRASH_WINDOW"); window && strcmp(window, "0") == 0)
        Zelk::gCrashShowWindow = false;
    return plat::RunRealApplication([] {
        Zelk::ZelkAppBase* app = new EmptyApp();
        app->mProdName = "ZelkApp";
        app->mRegKey = "Zelk\\ZelkApp";
        app->Init();
        Zelk::DebugPrint("Display: %s\n", app->Is3DAccelerated() ? "3D" : "2D");
        if (const char* crash = getenv("ZELK_TEST_CRASH"))
            RaiseNamedTestCrash(crash);
        TestPattern* pattern = new TestPattern();
        pattern->Resize(0, 0, app->mWidth, app->mHeight);
        app->mWidgetManager->AddWidget(pattern);
        const char* pointer = getenv("ZELK_TEST_POINTER");
        PointerReport scene("scene"), target("target");
        if (pointer && strcmp(pointer, "1") == 0) {
            scene.Resize(0, 0, app->mWidth, app->mHeight);
            target.Resize(app->mWidth / 2 - 40, app->mHeight / 2 - 30, 80, 60);
            app->mWidgetManager->AddWidget(&scene);
            app->mWidgetManager->AddWidget(&target);
            app->mWidgetManager->SetFocus(&scene);
        }
        app->Start();
        app->mWidgetManager->RemoveWidget(&target);
        app->mWidgetManager->RemoveWidget(&scene);
        app->mWidgetManager->RemoveWidget(pattern);
        delete pattern;
        delete app;
        return 0;
    });
}
