// The content tool's fixture office with its walk graphs: day 1's boss walks
// to "table04a" and arrives facing it, walks on up the aisle beside the
// desks to the end of the back aisle ("N_690"), then to "shelving01". The
// office is drawn in the drawing order's list, as the office screen draws
// it, at three moments pinned as PNGs (ZELK_UPDATE_GOLDENS=1 writes them
// anew): in front of the desk on arrival, on the aisle beside the desks,
// and on the back aisle behind the desk and its worker.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "game/effects/EffectFile.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/OfficeWorld.h"
#include "game/world/Person.h"
#include "game/world/Pickable.h"
#include "game/world/SceneObject.h"
#include "tests/game/world/FixtureOffice.h"
#include "game/world/SceneObjectList.h"
#include "platform/NullPlatform.h"
#include "platform/ddraw/DirectDraw.h"
#include "tests/framework/fonts/FontTestSupport.h"
#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class FixtureWalkTest : public FixtureOffice {
protected:
    void SetUp() override
    {
        FixtureOffice::SetUp();
        if (HasFatalFailure())
            return;
        // The office and level in the office screen's load order.
        ASSERT_TRUE(XmlLoadFile("cfg\\office.xml", office));
        const XmlNode officeRoot = office.Node().SelectSingle(L"office");
        LoadOfficeDefinitions(officeRoot);
        cacheMatches = world.zOrder.CheckCacheId(officeRoot);
        for (auto& entry : world.walkGraphs)
            entry.second->LoadOfficeGraph(officeRoot);
        ASSERT_TRUE(XmlLoadFile("cfg\\l1.xml", level));
        const XmlNode levelRoot = level.Node().SelectSingle(L"level");
        LoadLevelObjects(levelRoot); // also builds the drawing order
        for (auto& entry : world.walkGraphs) {
            entry.second->AddObjectPoints(entry.first);
            entry.second->LoadLevelGraph(levelRoot);
        }
        ActivateVisibleObjects();
        gFrameDelta = 0.01f;
        boss = ObjectAs<Person>(gBoss);
        ASSERT_NE(boss, nullptr);
        // The boss walks in the man's pictures.
        boss->SetSkin("man", true);
        boss->PlayAnimation("boss_move_empty");
    }
    void Tick()
    {
        UpdateAllObjects();
        UpdateAllObjectsSmooth(1.0f);
    }
    // Ticks until the walk ends; the number of ticks.
    int WalkToEnd()
    {
        int ticks = 0;
        do {
            Tick();
            ++ticks;
        } while (boss->IsWalking() && ticks < 2000);
        return ticks;
    }
    int DrawIndex(const std::vector<ObjectPart*>& list, const std::string& object)
    {
        for (size_t k = 0; k < list.size(); ++k)
            if (list[k]->GetOwner()->GetName() == object)
                return int(k);
        return -1;
    }
    // The office drawn as the office screen draws it, compared with the
    // golden.
    void CheckPicture(const std::string& name)
    {
        {
            Zelk::Graphics g(display->GetScreenImage());
            g.SetColor(Zelk::Color(0xFF303840));
            g.FillRect(0, 0, 800, 600);
            for (ObjectPart* part : world.zOrder.GetDrawList())
                if (part->GetOwner()->IsVisible() && part->IsVisible())
                    part->Draw(&g);
        }
        display->Redraw(nullptr);
        int w = 0, h = 0;
        const std::vector<uint32_t> frame = platform.windows.LastFrame(w, h);
        ASSERT_EQ(w, 800);
        ASSERT_EQ(h, 600);
        fonttest::CheckGolden("world/" + name, w, h, frame);
    }

    bool cacheMatches = false;
    Person* boss = nullptr;
};

TEST_F(FixtureWalkTest, TheBossWalksToTheDeskAndOnBehindIt)
{
    EXPECT_TRUE(cacheMatches);
    EXPECT_EQ(boss->GetCurrentPoint(), "boss_home");
    EXPECT_EQ(boss->GetPosition().mX, 400);
    EXPECT_EQ(boss->GetPosition().mY, 470);
    // Every visible ground part of day 1 is in the order; carried items are
    // drawn only beside their walker, and the pool's parts float on top.
    EXPECT_GT(world.zOrder.GetOrder().size(), 20u);
    const std::vector<ObjectPart*> first = world.zOrder.GetDrawList();
    ASSERT_GE(first.size(), 7u);
    for (size_t k = 0; k < first.size(); ++k) {
        EXPECT_NE(first[k]->GetPartName(), "held_items");
        EXPECT_EQ(first[k]->GetOwner()->GetName() == "bonus", k >= first.size() - 7) << k;
    }

    Pickable* table = ObjectAs<Pickable>(FindObject("table04a"));
    Pickable* shelf = ObjectAs<Pickable>(FindObject("shelving01"));
    ASSERT_TRUE(table && shelf);
    table->Pick();
    boss->EnqueueTarget(table);
    EXPECT_TRUE(table->IsCheckmarkShown(0));
    WalkToEnd();
    EXPECT_EQ(boss->GetCurrentPoint(), "table04a");
    EXPECT_EQ(boss->GetPosition().mX, 560);
    EXPECT_EQ(boss->GetPosition().mY, 285);
    EXPECT_EQ(boss->GetFacing(), "t");
    std::vector<ObjectPart*> list = world.zOrder.GetDrawList();
    EXPECT_GT(DrawIndex(list, "boss"), DrawIndex(list, "table04a"));
    CheckPicture("walk_before_desk");

    // The plain table stands for a worker that does not take part: the
    // visit is refused, the queue dropped and the table unpicked.
    Tick();
    EXPECT_TRUE(boss->GetTargets().empty());
    EXPECT_EQ(table->GetPendingClicks(), 0);
    EXPECT_FALSE(table->IsCheckmarkShown(0));

    // On to the end of the back aisle, up the aisle beside the desks.
    ASSERT_TRUE(boss->WalkTo("N_690", boss->GetMoveSpeed()));
    int ticks = 0;
    while (!(boss->GetPosition().mX == 645 && boss->GetPosition().mY <= 250) && ticks++ < 1000)
        Tick();
    ASSERT_LT(ticks, 1000);
    EXPECT_EQ(boss->GetFacing(), "t");
    CheckPicture("walk_beside_desks");
    WalkToEnd();
    EXPECT_EQ(boss->GetCurrentPoint(), "N_690");

    // Then to the shelves, behind the desk and its worker.
    boss->EnqueueTarget(shelf);
    ticks = 0;
    while (!(boss->GetPosition().mY == 176 && boss->GetPosition().mX <= 580) && ticks++ < 1000)
        Tick();
    ASSERT_LT(ticks, 1000);
    EXPECT_EQ(boss->GetCurrentPoint(), "shelving01");
    EXPECT_EQ(boss->GetFacing(), "mr");
    list = world.zOrder.GetDrawList();
    EXPECT_LT(DrawIndex(list, "boss"), DrawIndex(list, "table04a"));
    EXPECT_LT(DrawIndex(list, "boss"), DrawIndex(list, "worker04a"));
    CheckPicture("walk_behind_desk");
    WalkToEnd();
    EXPECT_EQ(boss->GetFacing(), "t");
    EXPECT_EQ(boss->GetPosition().mX, 175);
    EXPECT_EQ(boss->GetPosition().mY, 172);
}

} // namespace
