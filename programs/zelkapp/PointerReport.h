#pragma once
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/widgets/Widget.h"
#include "platform/Platform.h"
#include "platform/window/WindowSystem.h"

#include <cstdio>
#include <string>

// For the real-window tests (ZELK_TEST_POINTER=1): a widget that writes to
// standard output what it learns of the mouse, in the scene's coordinates:
//   NAME move X Y cursor CX CY   a move; CX, CY the position the cursor thread reads
//   NAME down X Y CODE           a press with the widget manager's click code
//   NAME warp X Y                the mouse sent to X, Y (key W)
class PointerReport : public Zelk::Widget {
public:
    explicit PointerReport(const char* name) : mName(name) {}

    void MouseMove(int x, int y) override
    {
        int cx = 0, cy = 0;
        if (plat::WindowSystem* windows = plat::Get().windows)
            windows->MousePosition(cx, cy);
        Report(Zelk::StrFormat("move %d %d cursor %d %d", mX + x, mY + y, cx, cy));
    }
    void MouseDown(int x, int y, int clickCode) override
    {
        Zelk::Widget::MouseDown(x, y, clickCode);
        Report(Zelk::StrFormat("down %d %d %d", mX + x, mY + y, clickCode));
    }
    void KeyDown(int key) override
    {
        plat::WindowSystem* windows = plat::Get().windows;
        if (key != 'W' || !windows || !Zelk::gAppBase)
            return;
        Report(Zelk::StrFormat("warp %d %d", kWarpX, kWarpY));
        windows->WarpMouse(Zelk::gAppBase->mMainWindow, kWarpX, kWarpY);
    }

    static constexpr int kWarpX = 200, kWarpY = 150;

private:
    void Report(const std::string& what)
    {
        printf("%s %s\n", mName.c_str(), what.c_str());
        fflush(stdout);
    }

    std::string mName;
};
