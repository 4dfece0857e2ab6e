#include "DialogFixture.h"

#include "game/flow/BriefingDialog.h"
#include "game/ui/UiText.h"


namespace dialogtest {
namespace {

class BriefingTest : public DialogTest {
protected:
    BriefingDialog* Briefing() { return screen->GetBriefing(); }
    UiElement* Child(const std::string& name) { return Briefing()->FindChild(name); }
    void ShowFor(int level)
    {
        screen->LoadLevel(level);
        Briefing()->Show();
    }
};

TEST_F(BriefingTest, TheMarkSitsOnTheDayOfTheMonthsPage)
{
    // Days without a picture of their own: the calendar page.
    struct Row {
        int level;
        int dx, dy;
        const char* page;
    } const rows[] = {{1, 92, -2, "brief_calendar1"},
                      {20, 92, 150, "brief_calendar1"},
                      {60, 92, 150, "brief_calendar3"},
                      {0, 92, -2, "brief_calendar1"},    // read as day 1
                      {99, 92, 150, "brief_calendar3"}}; // read as day 60
    UiElement* help = Child("context_help");
    UiElement* mark = Child("callendar_mark");
    ASSERT_NE(help, nullptr);
    ASSERT_NE(mark, nullptr);
    for (const Row& row : rows) {
        ShowFor(row.level);
        EXPECT_EQ(Briefing()->GetCalendarImageId(), row.page) << row.level;
        EXPECT_EQ(mark->GetLayoutX(), help->GetLayoutX() + row.dx) << row.level;
        EXPECT_EQ(mark->GetLayoutY(), help->GetLayoutY() + row.dy) << row.level;
        EXPECT_TRUE(mark->mVisible) << row.level;
        EXPECT_FALSE(Child("newflash")->mVisible) << row.level;
        EXPECT_EQ(Refs(row.page), 1) << row.level;
        Briefing()->Hide();
        Updates(100);
        EXPECT_EQ(Refs(row.page), 0) << row.level;
    }
}

TEST_F(BriefingTest, ADayWithItsOwnPictureShowsItAndNoMark)
{
    ShowFor(21);
    EXPECT_EQ(Briefing()->GetCalendarImageId(), "brief_l21");
    EXPECT_TRUE(Child("newflash")->mVisible);
    EXPECT_FALSE(Child("callendar_mark")->mVisible);
    auto* help = dynamic_cast<UiText*>(Child("context_help"));
    ASSERT_NE(help, nullptr);
    EXPECT_NE(help->GetFrameImage(0), nullptr);
}

TEST_F(BriefingTest, PicturesAreHeldOnlyWhileShown)
{
    for (int round = 0; round < 2; ++round) {
        ShowFor(3);
        Updates(300);
        EXPECT_EQ(Refs("db06_bossman"), 1);
        EXPECT_EQ(Refs("brief_calendar1"), 1);
        EXPECT_EQ(Refs("brief_l3"), 0);
        // A second show while shown takes nothing more.
        Briefing()->Show();
        EXPECT_EQ(Refs("db06_bossman"), 1);
        EXPECT_EQ(Refs("brief_calendar1"), 1);
        Briefing()->Hide();
        Updates(100);
        EXPECT_FALSE(Briefing()->mVisible);
        EXPECT_EQ(Refs("db06_bossman"), 0);
        EXPECT_EQ(Refs("brief_calendar1"), 0);
    }
    // The portrait follows the profile's look.
    app->GetCurrentProfile()->mFigure = "woman";
    ShowFor(3);
    EXPECT_EQ(Briefing()->GetBossImageId(), "db06_bosswoman");
    EXPECT_EQ(Refs("db06_bosswoman"), 1);
}

TEST_F(BriefingTest, ADayPictureThatFailsToLoadIsGivenBack)
{
    // The days' pictures are named but their files fail to load: the
    // calendar page shows, and the failed reference does not stay counted.
    XmlDocument broken;
    broken.LoadText(L"<root><texture id=\"brief_l21\" file=\"missing_brief_l21.png\"/>"
                    L"<texture id=\"brief_l41\" file=\"missing_brief_l41.png\"/></root>");
    app->GetTextureRegistry()->Load(broken.Node().SelectSingle(L"root"));
    struct Row {
        int level;
        int dx, dy;
        const char* page;
    } const rows[] = {{21, -8, -2, "brief_calendar2"}, {41, 42, -2, "brief_calendar3"}};
    UiElement* help = Child("context_help");
    UiElement* mark = Child("callendar_mark");
    for (const Row& row : rows) {
        const std::string own = "brief_l" + std::to_string(row.level);
        ShowFor(row.level);
        EXPECT_EQ(Briefing()->GetCalendarImageId(), row.page) << row.level;
        EXPECT_TRUE(mark->mVisible) << row.level;
        EXPECT_FALSE(Child("newflash")->mVisible) << row.level;
        EXPECT_EQ(mark->GetLayoutX(), help->GetLayoutX() + row.dx) << row.level;
        EXPECT_EQ(mark->GetLayoutY(), help->GetLayoutY() + row.dy) << row.level;
        EXPECT_EQ(Refs(own), 0) << row.level;
        EXPECT_EQ(Refs(row.page), 1) << row.level;
        Briefing()->Hide();
        Updates(100);
        EXPECT_EQ(Refs(row.page), 0) << row.level;
    }
}

TEST_F(BriefingTest, ContinueStartsTheDayAndGivesBackEscape)
{
    screen->LoadLevel(2);
    screen->StartDay();
    ASSERT_TRUE(Briefing()->mVisible || Briefing()->IsShowInProgress());
    EXPECT_EQ(Count("sound briefing_show"), 1);
    EXPECT_FALSE(screen->IsEscapeAllowed());
    EXPECT_FALSE(screen->IsDayRunning());
    EXPECT_EQ(app->mWidgetManager->mFocusWidget, Briefing());
    Click(Child("continue"));
    Updates(100);
    EXPECT_FALSE(Briefing()->mVisible);
    EXPECT_TRUE(screen->IsDayRunning());
    EXPECT_TRUE(screen->IsEscapeAllowed());
    EXPECT_EQ(app->mWidgetManager->mFocusWidget, screen);
}

TEST_F(BriefingTest, TheTextGoesIntoItsWidget)
{
    Briefing()->SetText(L"Day one");
    auto* text = dynamic_cast<UiText*>(Child("briefing_text"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetSourceText(), L"Day one");
}

} // namespace
} // namespace dialogtest
