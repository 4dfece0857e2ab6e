// The generated game folder's office on the null platform: office.xml with
// l1.xml and l2.xml applied, every object the levels name placed, and day
// 1's visible parts drawn after a second of play.
#include "GeneratedData.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "game/effects/EffectFile.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"
#include "platform/NullPlatform.h"
#include "platform/ddraw/DirectDraw.h"
#include "tests/game/world/FixtureOffice.h"
#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>

namespace {

using namespace contentgentest;

class GeneratedOfficeTest : public ::testing::TestWithParam<int>, protected OfficeOnNullDisplay {
protected:
    void SetUp() override
    {
        WriteFolder(Generated(), true, game);
        ASSERT_TRUE(Enter(game.Path()));
        ASSERT_TRUE(XmlLoadFile("cfg\\office.xml", office));
        LoadOfficeDefinitions(office.Node().SelectSingle(L"office"));
        ASSERT_TRUE(XmlLoadFile("cfg\\l" + std::to_string(GetParam()) + ".xml", level));
        LoadLevelObjects(level.Node().SelectSingle(L"level"));
        ActivateVisibleObjects();
        gFrameDelta = 0.01f;
    }
    void TearDown() override { Leave(); }

    testsupport::TempDir game;
};

TEST_P(GeneratedOfficeTest, TheLevelsObjectsAreTheOfficesAndDayOneDraws)
{
    ASSERT_NE(gBoss, nullptr);
    ASSERT_NE(gBonus, nullptr);
    std::vector<plat::XmlNode> objects;
    ASSERT_TRUE(level.Node().Select(L"level/objects/object/@name", objects));
    int named = 0;
    for (const plat::XmlNode& object : objects) {
        const std::wstring name = object.Text();
        EXPECT_NE(FindObject(std::string(name.begin(), name.end())), nullptr) << std::string(name.begin(), name.end());
        ++named;
    }
    EXPECT_GT(named, 20);
    if (GetParam() != 1)
        return;
    for (int tick = 0; tick < 100; ++tick)
        UpdateAllObjects();
    Zelk::Graphics g(display->GetScreenImage());
    int drawn = 0;
    for (SceneObject* object : world.sceneObjects)
        for (ObjectPart* part : object->GetParts()) {
            if (!part->IsVisible())
                continue;
            part->Draw(&g);
            drawn += part->GetPlayer().GetCurrentAnimation() ? 1 : 0;
        }
    EXPECT_GT(drawn, 10);
}

INSTANTIATE_TEST_SUITE_P(Days, GeneratedOfficeTest, ::testing::Values(1, 2));

} // namespace
