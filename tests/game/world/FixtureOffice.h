#pragma once
// The content tool's fixture office on the null platform: a 32-bit 2D display
// of 800 x 600, the office world installed and the effect file read, the
// current folder in the fixture's game folder. The test loads the office and
// its level in the order it needs; the tear-down deletes every object and
// puts everything back.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
#include "game/core/XmlFunctions.h"
#include "game/effects/EffectFile.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObjectList.h"
#include "platform/NullPlatform.h"
#include "platform/ddraw/DirectDraw.h"
#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>

#include <string>

// The display, the world and the effects over a game folder; `Leave` puts
// everything back. For fixtures of any base (plain or parameterised).
class OfficeOnNullDisplay {
protected:
    // Makes the display and enters the folder; false when the folder cannot
    // be entered.
    bool Enter(const std::string& gameFolder)
    {
        plat::DirectDrawDevice::Get().Reset();
        plat::DirectDrawDevice::Get().config.bitDepth = 32;
        display = new Zelk::DDInterface(&app);
        display->mIs3D = false;
        app.mTest3D = false;
        app.mDDInterface = display;
        display->Init(platform.windows.Create(plat::WindowDesc()), true);
        if (!folder.Enter(gameFolder))
            return false;
        InstallOfficeWorld(&world);
        LoadEffectFile();
        return true;
    }
    void Leave()
    {
        DeleteAllObjects();
        InstallOfficeWorld(nullptr);
        ReleaseEffectFile();
        gFrameDelta = 0;
        folder.Restore();
        delete app.mDDInterface.exchange(nullptr);
    }

    plat::NullPlatform platform;
    Zelk::ZelkAppBase app;
    Zelk::DDInterface* display = nullptr;
    testsupport::CurrentFolder folder;
    OfficeWorld world;
    XmlDocument office;
    XmlDocument level;
};

#ifdef FIXTURE_OFFICE
// The content tool's fixture office.
class FixtureOffice : public ::testing::Test, protected OfficeOnNullDisplay {
protected:
    void SetUp() override { ASSERT_TRUE(Enter(FIXTURE_OFFICE)); }
    void TearDown() override { Leave(); }
};
#endif
