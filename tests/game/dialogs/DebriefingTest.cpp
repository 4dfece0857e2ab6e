#include "DialogFixture.h"

#include "game/flow/BriefingDialog.h"
#include "game/flow/DebriefingDialog.h"
#include "game/ui/UiText.h"

namespace dialogtest {
namespace {

class DebriefingTest : public DialogTest {
protected:
    DebriefingDialog* Debriefing() { return screen->GetDebriefing(); }
    UiElement* Child(const std::string& name) { return Debriefing()->FindChild(name); }
    // The day scored as the office screen hands it over.
    void ShowFor(int level, const std::string& kind, bool survival = false, int32_t money = 0)
    {
        screen->SetSurvival(survival);
        screen->LoadLevel(level);
        OfficeScreen::AddMoney(money - screen->GetMoney());
        Debriefing()->SetText(L"The day");
        if (!survival)
            Debriefing()->SetContinueDisabled(kind == "failure");
        Debriefing()->SetResultKind(kind);
        Debriefing()->Show();
    }
    bool Shown(const std::string& name) { return Child(name) && Child(name)->mVisible; }
};

TEST_F(DebriefingTest, AWonCareerDayIsMarkedOnItsMonthsPage)
{
    struct Row {
        int level;
        int dx, dy;
        const char* page;
    } const rows[] = {{1, 70, -2, "db07_calendar1"},
                      {21, -2, -2, "db07_calendar2"},
                      {40, 16, 114, "db07_calendar2"},
                      {60, 70, 114, "db07_calendar3"}};
    UiElement* calendar = Child("calendar");
    UiElement* mark = Child("calendar_mark");
    ASSERT_NE(calendar, nullptr);
    ASSERT_NE(mark, nullptr);
    for (const Row& row : rows) {
        for (const char* kind : {"goal", "expert"}) {
            ShowFor(row.level, kind);
            EXPECT_EQ(Debriefing()->GetCalendarImageId(), row.page) << row.level;
            EXPECT_TRUE(mark->mVisible) << row.level;
            EXPECT_EQ(mark->GetLayoutX(), calendar->GetLayoutX() + row.dx) << row.level;
            EXPECT_EQ(mark->GetLayoutY(), calendar->GetLayoutY() + row.dy) << row.level;
            EXPECT_EQ(Count("sound good_debriefing_show"), 1) << row.level;
            calls.clear();
            Debriefing()->Hide();
            Updates(100);
        }
    }
}

TEST_F(DebriefingTest, AFailedDayOffersOnlyTheReplay)
{
    ShowFor(21, "failure");
    Updates(300);
    EXPECT_FALSE(Shown("calendar_mark"));
    EXPECT_EQ(Count("sound bad_debriefing_show"), 1);
    EXPECT_EQ(Count("sound good_debriefing_show"), 0);
    ASSERT_TRUE(Shown("continue"));
    EXPECT_TRUE(Child("continue")->mDisabled);
    EXPECT_TRUE(Shown("replay"));
    EXPECT_TRUE(Shown("goal_value"));
    EXPECT_FALSE(Shown("survival_replay"));
    EXPECT_FALSE(Shown("survival_leave"));
    EXPECT_FALSE(screen->IsEscapeAllowed());
    EXPECT_EQ(dynamic_cast<UiText*>(Child("result_text"))->GetSourceText(), app->GetLocTable()->Get("db07_failure"));
    EXPECT_EQ(dynamic_cast<UiText*>(Child("debriefing_text"))->GetSourceText(), L"The day");
}

TEST_F(DebriefingTest, ASurvivalDayOffersReplayAndLeaveOnly)
{
    for (const char* kind : {"failure", "goal", "expert"}) {
        ShowFor(2, kind, true);
        EXPECT_FALSE(Shown("calendar_mark")) << kind;
        EXPECT_FALSE(Shown("goal_value")) << kind;
        EXPECT_FALSE(Shown("expert_value")) << kind;
        EXPECT_FALSE(Shown("continue")) << kind;
        EXPECT_FALSE(Shown("replay")) << kind;
        EXPECT_TRUE(Shown("survival_replay")) << kind;
        EXPECT_TRUE(Shown("survival_leave")) << kind;
        EXPECT_EQ(Debriefing()->GetCalendarImageId(), "db07_calendar1") << kind;
        EXPECT_EQ(dynamic_cast<UiText*>(Child("result_text"))->GetSourceText(),
                  app->GetLocTable()->Get(std::string("db07_infinity_") + kind))
            << kind;
        Debriefing()->Hide();
        Updates(100);
    }
}

TEST_F(DebriefingTest, TheMoneyCountsUpInASecondAndAHalf)
{
    ShowFor(3, "goal", false, 1000);
    struct Row {
        int updates;
        int32_t shown;
    } const rows[] = {{1, 6}, {75, 499}, {150, 999}, {151, 1000}, {400, 1000}};
    int done = 0;
    for (const Row& row : rows) {
        for (; done < row.updates; ++done)
            Debriefing()->Update();
        EXPECT_EQ(Variable("earnings"), std::to_wstring(row.shown)) << row.updates;
    }
    // A day without money shows 0 throughout.
    Debriefing()->Hide();
    ShowFor(3, "failure", false, 0);
    for (int k = 1; k <= 200; ++k) {
        Debriefing()->Update();
        ASSERT_EQ(Variable("earnings"), L"0") << k;
    }
}

TEST_F(DebriefingTest, PicturesFollowTheLookAndTheKindAndGoBack)
{
    for (const char* skin : {"man", "woman"}) {
        for (const char* kind : {"failure", "goal", "expert"}) {
            app->GetCurrentProfile()->mFigure = skin;
            ShowFor(5, kind);
            const std::string boss = std::string("db07_boss") + skin + "_" + kind;
            EXPECT_EQ(Debriefing()->GetBossImageId(), boss);
            EXPECT_EQ(Debriefing()->GetBossPanelImageId(), std::string("db07_bosspanel_") + kind);
            EXPECT_EQ(Debriefing()->GetMoneyPanelImageId(), std::string("db07_moneypanel_") + kind);
            for (const std::string& id : {boss, std::string("db07_bosspanel_") + kind,
                                          std::string("db07_moneypanel_") + kind, std::string("db07_calendar1")}) {
                EXPECT_EQ(Refs(id), 1) << id;
                EXPECT_NE(app->GetTextureRegistry()->Get(id), nullptr) << id;
                app->GetTextureRegistry()->Release(id);
            }
            // Shown again without a hide: the same references, once.
            Debriefing()->Show();
            EXPECT_EQ(Refs(boss), 1);
            Updates(300);
            Debriefing()->Hide();
            Updates(100);
            EXPECT_EQ(Refs(boss), 0);
            EXPECT_EQ(Refs("db07_calendar1"), 0);
        }
    }
}

TEST_F(DebriefingTest, TheButtonsLeadOn)
{
    ShowFor(4, "goal");
    Click(Child("replay"));
    EXPECT_TRUE(!Debriefing()->mVisible || Debriefing()->IsHideInProgress());
    EXPECT_EQ(screen->GetLevel(), 4);
    EXPECT_TRUE(screen->IsEscapeAllowed() || screen->GetBriefing()->mVisible);

    ShowFor(4, "goal");
    Click(Child("continue"));
    EXPECT_EQ(screen->GetLevel(), 5);

    ShowFor(2, "goal", true);
    Click(Child("survival_replay"));
    EXPECT_EQ(screen->GetLevel(), 2);
    EXPECT_TRUE(app->mWidgetManager->HasWidget(screen));

    ShowFor(2, "goal", true);
    Click(Child("survival_leave"));
    EXPECT_FALSE(app->mWidgetManager->HasWidget(screen));
    EXPECT_FALSE(screen->mVisible);
}

} // namespace
} // namespace dialogtest
