// The empty framework application: a window showing a test pattern that runs
// the main loop until it is closed.
#include "TestPattern.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/app/RunApplication.h"
#include "platform/cmdline/CommandLine.h"

int main(int argc, char** argv)
{
    plat::SetCommandLineArguments(argc, argv);
    return plat::RunRealApplication([] {
        Zelk::ZelkAppBase* app = new Zelk::ZelkAppBase();
        app->mProdName = "ZelkApp";
        app->mRegKey = "Zelk\\ZelkApp";
        app->Init();
        Zelk::DebugPrint("Display: %s\n", app->Is3DAccelerated() ? "3D" : "2D");
        TestPattern* pattern = new TestPattern();
        pattern->Resize(0, 0, app->mWidth, app->mHeight);
        app->mWidgetManager->AddWidget(pattern);
        app->Start();
        app->mWidgetManager->RemoveWidget(pattern);
        delete pattern;
        delete app;
        return 0;
    });
}
