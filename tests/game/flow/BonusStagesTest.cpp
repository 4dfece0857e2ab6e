// The rush bonus over an office screen (its money takes the payments):
// stages reached by links, breaks by timeout and by a failed action.
#include "game/world/ItemBonus.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"
#include "tests/game/flow/DayFixture.h"

using namespace daytest;

namespace {

class BonusTest : public DayTest {
protected:
    void SetUp() override
    {
        DayTest::SetUp();
        MakeScreen();
    }
    // Stages and timeout from a "bonus_config" element.
    void Load(const std::string& config)
    {
        document.LoadText(Zelk::StringToWString("<office>" + config + "</office>"));
        bonus.Load(document.Node().SelectSingle(L"office"));
    }
    int Paid(int kind, SceneObject* target = nullptr)
    {
        const int before = screen->GetMoney();
        bonus.Advance(kind, target);
        return screen->GetMoney() - before;
    }

    XmlDocument document;
    BonusStages bonus;
};

TEST_F(BonusTest, LinksPayTheLastStageReachedUntilTheChainBreaks)
{
    Load("<bonus_config rush_timeout=\"2\"><bonus_stages action=\"3\" bonus=\"10\" loc_str=\"none\"/>"
         "<bonus_stages action=\"5\" bonus=\"25\"/><bonus_stages action=\"5\" bonus=\"99\"/>"
         "<bonus_stages action=\"0\" bonus=\"1000\"/></bonus_config>"
         "<bonus_config rush_timeout=\"9\"><bonus_stages action=\"1\" bonus=\"7\"/></bonus_config>");
    ASSERT_EQ(bonus.GetStages().size(), 4u);
    EXPECT_EQ(bonus.GetRushTimeout(), 2.0f);
    std::vector<int> paid;
    for (int link = 1; link <= 7; ++link)
        paid.push_back(Paid(1));
    EXPECT_EQ(paid, (std::vector<int>{0, 0, 10, 10, 25, 25, 25}));

    // A failed action breaks the chain: links, timer and stage start again.
    bonus.Update(0.5f);
    EXPECT_EQ(Paid(0), 0);
    EXPECT_EQ(bonus.GetLinks(), 0);
    EXPECT_EQ(bonus.GetRushTimer(), 0.0f);
    EXPECT_EQ(bonus.GetCurrentStage(), nullptr);
    EXPECT_EQ(Paid(1), 0);
}

TEST_F(BonusTest, TheTimeoutBreaksTheChainAndAStillDayKeepsIt)
{
    Load("<bonus_config rush_timeout=\"0\"><bonus_stages action=\"1\" bonus=\"5\"/></bonus_config>");
    EXPECT_EQ(Paid(1), 5);
    bonus.Update(0);
    EXPECT_EQ(bonus.GetLinks(), 0);
    EXPECT_EQ(bonus.GetCurrentStage(), nullptr);

    Load("<bonus_config rush_timeout=\"1.5\"><bonus_stages action=\"2\" bonus=\"5\"/></bonus_config>");
    Paid(1);
    for (int i = 0; i < 1000; ++i)
        bonus.Update(0);
    EXPECT_EQ(Paid(1), 5);
    bonus.Update(1.49f);
    EXPECT_EQ(bonus.GetLinks(), 2);
    bonus.Update(0.02f);
    EXPECT_EQ(bonus.GetLinks(), 0);
}

// The visible floating texts of the office's bonus pool.
int ShownBonusTexts()
{
    int shown = 0;
    if (gBonus)
        for (ObjectPart* part : gBonus->GetParts())
            shown += part->GetPartName() == "bonus" && part->IsVisible();
    return shown;
}

TEST_F(BonusTest, TheObserverHearsEveryAdvanceAndALinkWithoutTargetStillPays)
{
    screen->LoadLevel(1);
    ASSERT_NE(ObjectAs<ItemBonus>(gBonus), nullptr);
    Load("<bonus_config><bonus_stages action=\"1\" bonus=\"4\"/></bonus_config>");
    std::vector<std::pair<int, SceneObject*>> heard;
    bonus.SetObserver([&heard](int32_t kind, SceneObject* target) { heard.emplace_back(kind, target); });
    SceneObject* table = FindObject("table04a");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(ShownBonusTexts(), 0);
    EXPECT_EQ(Paid(1, table), 4);
    EXPECT_EQ(ShownBonusTexts(), 1);
    EXPECT_EQ(Paid(1), 4);
    EXPECT_EQ(ShownBonusTexts(), 1);
    EXPECT_EQ(Paid(7), 0);
    EXPECT_EQ(Paid(0, table), 0);
    EXPECT_EQ(heard, (std::vector<std::pair<int, SceneObject*>>{{1, table}, {1, nullptr}, {7, nullptr}, {0, table}}));
    EXPECT_EQ(Variable("money"), L"8");
}

} // namespace
