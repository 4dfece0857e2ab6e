// The HUD over the fixture's layout: lives, the goal and expert pop-ups, the
// bar, the clock frames and the hint ids.
#include "game/flow/EscapeMenu.h"
#include "game/ui/UiBar.h"
#include "tests/game/flow/DayFixture.h"

#include <cmath>

using namespace daytest;

namespace {

class HudTest : public DayTest {
protected:
    void SetUp() override
    {
        DayTest::SetUp();
        MakeScreen();
        hud = screen->GetHud();
    }
    std::string Disabled()
    {
        std::string mask;
        for (const char* name : {"life1", "life2", "life3"})
            mask += hud->FindChild("survival_lives")->FindChild(name)->mDisabled ? '1' : '0';
        return mask;
    }

    HudPanel* hud = nullptr;
};

TEST_F(HudTest, LivesLostAreDisabledAndRegainedOnesEnabled)
{
    ASSERT_NE(hud->FindChild("survival_lives"), nullptr);
    struct Row {
        int from;
        int to;
        const char* disabled;
        int shown;
    } rows[] = {{3, 2, "001", 2}, {3, 0, "111", 0}, {0, 3, "000", 3}, {2, 4, "001", 2}, {2, 2, "001", 2},
                {1, -1, "111", -1}};
    for (const Row& row : rows) {
        hud->SetLives(3);
        for (const char* name : {"life1", "life2", "life3"})
            hud->FindChild("survival_lives")->FindChild(name)->SetDisabled(false);
        hud->SetLives(row.from);
        hud->SetLives(row.to);
        EXPECT_EQ(Disabled(), row.disabled) << row.from << " to " << row.to;
        EXPECT_EQ(hud->GetLivesShown(), row.shown) << row.from << " to " << row.to;
    }
}

TEST_F(HudTest, GoalAndExpertReachedInOneUpdateShowTheirPopUpsOneAfterTheOther)
{
    screen->GetLevelParams().normal = 90;
    screen->GetLevelParams().expert = 150;
    hud->ResetDay();
    UiBar* bar = hud->GetBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetMax(), 90);
    OfficeScreen::AddMoney(40);
    hud->Update();
    EXPECT_EQ(bar->GetValue(), 40);
    EXPECT_FALSE(hud->IsGoalReached());

    calls.clear();
    OfficeScreen::AddMoney(160);
    hud->Update();
    EXPECT_TRUE(hud->IsGoalReached());
    EXPECT_FALSE(hud->IsExpertReached());
    EXPECT_EQ(calls, Log{"sound goal"});
    EXPECT_EQ(bar->GetMax(), 60);
    EXPECT_EQ(bar->GetValue(), 110);
    EXPECT_EQ(bar->GetFill().image, hud->GetImage("bar_ex"));
    EXPECT_TRUE(hud->FindChild("goal_dialog")->IsShowInProgress() || hud->FindChild("goal_dialog")->mVisible);
    EXPECT_FALSE(hud->FindChild("expert_dialog")->mVisible);

    hud->Update();
    EXPECT_TRUE(hud->IsExpertReached());
    EXPECT_EQ(calls, (Log{"sound goal", "sound expert"}));
    hud->Update();
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(HudTest, TheClockFrameFollowsTheDayProgress)
{
    struct Row {
        int frames;
        float progress;
        int frame;
    } rows[] = {{5, 1.0f, 0}, {5, 0.5f, 2}, {5, 0.0f, 4}, {5, -3.0f, 4}, {5, 7.0f, 0}, {5, NAN, 0}, {1, 0.0f, 0},
                {0, 0.5f, -1}};
    for (const Row& row : rows)
        EXPECT_EQ(HudPanel::ClockFrameOf(row.frames, row.progress), row.frame) << row.frames << " " << row.progress;

    // The fixture's thirteen frames: a day without a clients timeline shows
    // the first.
    EXPECT_EQ(hud->GetClockFrameCount(), 13u);
    hud->ResetDay();
    hud->Update();
    EXPECT_EQ(hud->GetClockFrame(), 0);
}

TEST_F(HudTest, HintIdsAreTheNumbersAfterTutorial)
{
    EXPECT_EQ(HudPanel::HintIdOf("tutorial12"), 12);
    EXPECT_EQ(HudPanel::HintIdOf("tutorial"), 0);
    EXPECT_EQ(HudPanel::HintIdOf("my_tutorial3x"), 3);
    EXPECT_EQ(HudPanel::HintIdOf("menu"), -1);
    EXPECT_FALSE(hud->IsHintShown(17));
    hud->ShowHint(17, true);
    EXPECT_FALSE(hud->IsHintShown(17));
    for (int id = 1; id <= 16; ++id)
        EXPECT_FALSE(hud->IsHintShown(id)) << id;
}

TEST_F(HudTest, ANewSurvivalStageShowsThePopUpOnceAndPublishesTheNextThreshold)
{
    screen->SetSurvival(true);
    SurvivalModel& model = screen->GetSurvivalModel();
    model.stages.resize(3);
    model.stages[0].money = 0;
    model.stages[1].money = 100;
    model.stages[2].money = 300;
    screen->AdvanceStage();
    hud->ResetDay();
    EXPECT_EQ(Variable("normal"), L"100");
    hud->Update();
    EXPECT_EQ(hud->GetShownStage(), 0);
    OfficeScreen::AddMoney(150);
    screen->EnterStagesByMoney();
    hud->Update();
    EXPECT_EQ(hud->GetShownStage(), 1);
    EXPECT_EQ(Variable("normal"), L"300");
    EXPECT_EQ(hud->GetBar()->GetMax(), 200);
    EXPECT_EQ(hud->GetBar()->GetValue(), 50);
    EXPECT_TRUE(hud->FindChild("goal_dialog")->IsShowInProgress() || hud->FindChild("goal_dialog")->mVisible);
}

} // namespace

namespace {

// The HUD's buttons: "menu" opens the escape menu (the day stands still),
// "upgrade_btn" asks the office screen for the upgrade; shown, the HUD
// comes to the top of the widget manager.
TEST_F(HudTest, ItsButtonsOpenTheMenuAndAskForTheUpgradeAndItComesToTheTop)
{
    UiElement* menu = hud->FindChild("menu");
    UiElement* upgrade = hud->FindChild("upgrade_btn");
    ASSERT_TRUE(menu && upgrade);
    screen->SetDayRunning(true);
    hud->OnButton(reinterpret_cast<intptr_t>(menu));
    Ticks(1);
    EXPECT_TRUE(screen->GetEscapeMenu()->mVisible);
    EXPECT_FALSE(screen->IsDayRunning());
    EXPECT_EQ(screen->GetUpgradeRequests(), 0);
    hud->OnButton(reinterpret_cast<intptr_t>(upgrade));
    EXPECT_EQ(screen->GetUpgradeRequests(), 1);
    hud->OnButton(0);
    EXPECT_EQ(screen->GetUpgradeRequests(), 1);

    UiDialog other(nullptr, app.get());
    app->mWidgetManager->AddWidget(&other);
    hud->Hide();
    hud->Show();
    EXPECT_EQ(app->mWidgetManager->mWidgets.back(), hud);
    app->mWidgetManager->RemoveWidget(&other);
}

} // namespace
