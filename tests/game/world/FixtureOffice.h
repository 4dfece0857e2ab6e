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

class FixtureOffice : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::DirectDrawDevice::Get().Reset();
        plat::DirectDrawDevice::Get().config.bitDepth = 32;
        display = new Zelk::DDInterface(&app);
        display->mIs3D = false;
        app.mTest3D = false;
        app.mDDInterface = display;
        display->Init(platform.windows.Create(plat::WindowDesc()), true);

        ASSERT_TRUE(folder.Enter(FIXTURE_OFFICE));
        InstallOfficeWorld(&world);
        LoadEffectFile();
    }
    void TearDown() override
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
