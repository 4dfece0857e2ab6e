// The content tool's fixture office on the null platform: cfg\office.xml and
// l1.xml applied, the visible objects switched on, and after 300 ticks every
// visible part drawn in object order into the display's 800 x 600 screen
// (32-bit, 2D), pinned as a PNG (ZELK_UPDATE_GOLDENS=1 writes it anew).
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
#include "tests/game/world/FixtureOffice.h"
#include "game/world/SceneObjectList.h"
#include "platform/NullPlatform.h"
#include "platform/ddraw/DirectDraw.h"
#include "tests/framework/fonts/FontTestSupport.h"
#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>

namespace {

class FixtureOfficeTest : public FixtureOffice {
protected:
    void SetUp() override
    {
        FixtureOffice::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(XmlLoadFile("cfg\\office.xml", office));
        LoadOfficeDefinitions(office.Node().SelectSingle(L"office"));
        ASSERT_TRUE(XmlLoadFile("cfg\\l1.xml", level));
        LoadLevelObjects(level.Node().SelectSingle(L"level"));
        ActivateVisibleObjects();
        gFrameDelta = 0.01f;
    }
};

TEST_F(FixtureOfficeTest, DayOneBuildsTheOfficeAndItsLinks)
{
    EXPECT_EQ(world.sceneObjects.size(), 28u);
    ASSERT_NE(gBoss, nullptr);
    EXPECT_EQ(gBoss->GetName(), "boss");
    ASSERT_NE(gBonus, nullptr);
    EXPECT_EQ(world.levelParams.normal, 90);
    EXPECT_EQ(world.levelParams.expert, 150);
    ASSERT_FALSE(world.levelTimelines.clients.empty());
    EXPECT_EQ(world.levelTimelines.clients[0].orders, std::vector<std::string>{"0101"});

    SceneObject* table = FindObject("table04a");
    SceneObject* place = FindObject("client_place03");
    SceneObject* window = FindObject("window");
    ASSERT_TRUE(table && place && window);
    EXPECT_EQ(table->FindLinkedObject(), FindObject("worker04a"));
    EXPECT_EQ(place->FindLinkedObject(), FindObject("client03"));
    int out = 0;
    EXPECT_FALSE(window->Interact(table, true, &out));

    // The level's hidden indicators stay hidden and inactive; the rest is
    // switched on.
    EXPECT_FALSE(FindObject("worker02a_hp")->IsVisible());
    EXPECT_FALSE(FindObject("worker02a_hp")->IsActive());
    EXPECT_TRUE(table->IsActive());
    EXPECT_EQ(table->GetSkin(), "plain");
    EXPECT_EQ(table->GetAnimationName(), "idle");
    // A click on the table's top finds the table.
    EXPECT_TRUE(table->HitTest({560, 200}));
    EXPECT_FALSE(table->HitTest({560, 300}));
}

TEST_F(FixtureOfficeTest, DayOneAfterThreeSecondsLooksAsPinned)
{
    for (int tick = 0; tick < 300; ++tick)
        UpdateAllObjects();
    {
        Zelk::Graphics g(display->GetScreenImage());
        g.SetColor(Zelk::Color(0xFF303840));
        g.FillRect(0, 0, 800, 600);
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
    display->Redraw(nullptr);
    int w = 0, h = 0;
    const std::vector<uint32_t> frame = platform.windows.LastFrame(w, h);
    ASSERT_EQ(w, 800);
    ASSERT_EQ(h, 600);
    fonttest::CheckGolden("world/fixture_office_l1", w, h, frame);
}

} // namespace
