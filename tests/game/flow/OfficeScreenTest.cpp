// The office screen's day over the fixture office: money and lives, the
// day's start, its scoring and saving, pause, the last level, and what the
// screen leaves behind.
#include "game/core/HiscoreTables.h"
#include "game/core/DebugTrace.h"
#include "game/core/LevelCalendar.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/ComicDialog.h"
#include "game/flow/DebriefingDialog.h"
#include "game/flow/EscapeMenu.h"
#include "game/world/SceneObjectList.h"
#include "tests/game/flow/DayFixture.h"

#include <climits>

using namespace daytest;

namespace {

class ScreenTest : public DayTest {
protected:
    void SetUp() override
    {
        DayTest::SetUp();
        app->LoadPrefs();
        ASSERT_TRUE(app->CreateProfile(L"Ada", "woman"));
        MakeScreen();
    }
    // A career day of a level without clients, run to its score.
    void CareerDay(int level, const std::string& params, int money)
    {
        WriteLevel("cfg/l" + std::to_string(level) + ".xml", "<level>" + params + "</level>");
        screen->SetSurvival(false);
        screen->LoadLevel(level);
        screen->StartDay();
        screen->SetDayRunning(true);
        OfficeScreen::AddMoney(money);
        Ticks(201);
    }
};

TEST_F(ScreenTest, MoneyNeverLeavesItsRangeAndLivesEndOnlyASurvivalDay)
{
    OfficeScreen::AddMoney(20);
    EXPECT_EQ(OfficeScreen::AddMoney(-50), 0);
    EXPECT_EQ(Variable("money"), L"0");
    EXPECT_EQ(OfficeScreen::AddMoney(INT_MAX), INT_MAX);
    EXPECT_EQ(OfficeScreen::AddMoney(INT_MAX), INT_MAX);
    EXPECT_EQ(OfficeScreen::AddMoney(INT_MIN), 0);

    screen->LoseLife();
    EXPECT_FALSE(screen->IsEnding());

    WriteLevel("cfg/endless1.xml", "<level><stages><stage money=\"0\"/></stages></level>");
    screen->SetSurvival(true);
    screen->LoadLevel(1);
    screen->StartDay();
    EXPECT_EQ(screen->GetLives(), 3);
    screen->LoseLife();
    screen->LoseLife();
    EXPECT_FALSE(screen->IsEnding());
    EXPECT_EQ(screen->GetHud()->GetLivesShown(), 1);
    screen->LoseLife();
    EXPECT_TRUE(screen->IsEnding());
    EXPECT_EQ(screen->GetHud()->GetLivesShown(), 0);
    Ticks(499);
    EXPECT_EQ(screen->GetDebriefing()->GetResultKind(), "");
    Ticks(2);
    EXPECT_NE(screen->GetDebriefing()->GetResultKind(), "");
}

TEST_F(ScreenTest, CareerDaysScoreAgainstGoalAndExpert)
{
    struct Row {
        const char* params;
        int money;
        const char* kind;
        bool continueDisabled;
    } rows[] = {{"<params normal=\"90\" expert=\"150\"/>", 89, "failure", true},
                {"<params normal=\"90\" expert=\"150\"/>", 90, "goal", false},
                {"<params normal=\"90\" expert=\"150\"/>", 150, "expert", false},
                {"", 0, "expert", false}};
    for (const Row& row : rows) {
        CareerDay(5, row.params, row.money);
        EXPECT_TRUE(screen->IsDayOver()) << row.money;
        EXPECT_EQ(screen->GetDebriefing()->GetResultKind(), row.kind) << row.money;
        EXPECT_EQ(screen->GetDebriefing()->IsContinueDisabled(), row.continueDisabled) << row.money;
    }
}

TEST_F(ScreenTest, ProgressGrowsOnTheProfilesLevelAndResultsOnlyUpwards)
{
    ProfileRecord* profile = app->GetCurrentProfile();
    profile->mLevel = 3;
    CareerDay(2, "<params normal=\"10\" expert=\"20\"/>", 15);
    EXPECT_EQ(profile->mLevel, 3);
    EXPECT_EQ(profile->mBestMoney[1], 15);
    CareerDay(3, "<params normal=\"10\" expert=\"20\"/>", 30);
    EXPECT_EQ(profile->mLevel, 4);
    EXPECT_EQ(profile->mBestMoney[2], 30);
    CareerDay(3, "<params normal=\"10\" expert=\"20\"/>", 12);
    EXPECT_EQ(profile->mLevel, 4);
    EXPECT_EQ(profile->mBestMoney[2], 30);
    CareerDay(4, "<params normal=\"10\" expert=\"20\"/>", 5);
    EXPECT_EQ(profile->mLevel, 4);
    EXPECT_EQ(profile->mBestMoney[3], 0);

    // pref.dat holds the day's score.
    *app->GetHiscoreTables() = HiscoreTables();
    app->LoadPrefs();
    EXPECT_EQ(app->GetHiscoreTables()->GetTable(false)[0].mScore, 30);
    EXPECT_EQ(app->GetHiscoreTables()->GetTable(false)[0].mName, L"Ada");
}

TEST_F(ScreenTest, SurvivalPlacesDecideTheKindAndTheScoreIsSaved)
{
    WriteLevel("cfg/endless1.xml", "<level><stages><stage money=\"0\"/></stages></level>");
    struct Row {
        int money;
        const char* kind;
    } rows[] = {{1000000, "expert"}, {1, "goal"}, {0, "failure"}};
    for (const Row& row : rows) {
        screen->SetSurvival(true);
        screen->LoadLevel(1);
        screen->StartDay();
        OfficeScreen::AddMoney(row.money);
        for (int i = 0; i < 3; ++i)
            screen->LoseLife();
        Ticks(501);
        EXPECT_EQ(screen->GetDebriefing()->GetResultKind(), row.kind) << row.money;
        EXPECT_FALSE(screen->IsDayOver());
        EXPECT_LT(screen->GetEndCountdown(), 0);
    }
    *app->GetHiscoreTables() = HiscoreTables();
    app->LoadPrefs();
    const HiscoreEntry* table = app->GetHiscoreTables()->GetTable(true);
    EXPECT_EQ(table[0].mScore, 1000000);
    EXPECT_EQ(table[1].mScore, 1);
    EXPECT_EQ(table[2].mName, L"");
}

TEST_F(ScreenTest, StartDayPublishesTheDayAndWaitsForTheBriefing)
{
    WriteLevel("cfg/l25.xml", "<level><params normal=\"70\" expert=\"120\"/></level>");
    screen->LoadLevel(25);
    screen->StartDay();
    EXPECT_EQ(Variable("currentday"), std::to_wstring(LevelCalendarDay(25)));
    EXPECT_EQ(Variable("currentday"), L"8");
    EXPECT_EQ(Variable("currentmonth"), L"2");
    EXPECT_EQ(Variable("goal"), L"70");
    EXPECT_EQ(Variable("normal"), L"70");
    EXPECT_EQ(Variable("expert"), L"120");
    EXPECT_FALSE(screen->IsDayRunning());
    EXPECT_TRUE(screen->GetBriefing()->mVisible || screen->GetBriefing()->IsShowInProgress());
    EXPECT_FALSE(screen->GetComic()->mVisible || screen->GetComic()->IsShowInProgress());
    const float clock = screen->GetLevelClock();
    Ticks(10);
    EXPECT_EQ(screen->GetLevelClock(), clock);
    screen->GetBriefing()->Continue();
    EXPECT_TRUE(screen->IsDayRunning());
    Ticks(10);
    EXPECT_NEAR(screen->GetLevelClock(), 0.1f, 1e-4);

    // Days 1, 21 and 41 open with their comic pages.
    struct Row {
        int level;
        int pageSet;
    } rows[] = {{1, 1}, {21, 3}, {41, 4}};
    for (const Row& row : rows) {
        WriteLevel("cfg/l" + std::to_string(row.level) + ".xml", "<level/>");
        screen->LoadLevel(row.level);
        screen->StartDay();
        EXPECT_EQ(screen->GetComic()->GetCurrentPage() + 1, row.pageSet); // the index of the page set shown
    }
}

TEST_F(ScreenTest, AClientDueAtTheStartComesBeforeTheBriefingCloses)
{
    WriteLevel("cfg/l9.xml", "<level><objects><object name=\"client03\"/><object name=\"client04\"/></objects>"
                             "<events_queue><clients_timeline>"
                             "<time_point time=\"4\" event=\"clerk\"><orders><order name=\"0102\"/></orders></time_point>"
                             "<time_point time=\"0\" event=\"student\"><orders><order name=\"0101\"/></orders></time_point>"
                             "</clients_timeline></events_queue></level>");
    screen->LoadLevel(9);
    ASSERT_EQ(screen->GetWorld().levelTimelines.clients.size(), 2u);
    screen->StartDay();
    EXPECT_FALSE(screen->IsDayRunning());
    Client* first = nullptr;
    for (int i = 0; i < 8; ++i)
        if (GetClient(i) && GetClient(i)->IsVisible())
            first = GetClient(i);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetOrders(), std::vector<std::string>{"0101"});
    EXPECT_EQ(static_cast<Client*>(first)->GetTypeName(), "student");
    EXPECT_EQ(screen->GetWorld().levelTimelines.clientsWorking.size(),
              screen->GetWorld().levelTimelines.clients.size() - 1);
}

TEST_F(ScreenTest, APausedScreenStandsStillAndEscapeNeedsItsPermission)
{
    WriteLevel("cfg/l5.xml", "<level><params normal=\"70\"/></level>");
    screen->LoadLevel(5);
    screen->StartDay();
    screen->SetDayRunning(true);
    Ticks(5);
    const float clock = screen->GetLevelClock();
    screen->SetPaused(true);
    gFrameDelta = 0.01f;
    Ticks(50);
    EXPECT_EQ(screen->GetLevelClock(), clock);
    EXPECT_EQ(gFrameDelta, 0.01f);
    screen->SetPaused(false);

    screen->SetEscapeAllowed(false);
    screen->KeyUp(27);
    Ticks(1);
    EXPECT_FALSE(screen->GetEscapeMenu()->mVisible);
    EXPECT_TRUE(screen->IsDayRunning());
    screen->SetEscapeAllowed(true);
    screen->KeyUp(27);
    EXPECT_FALSE(screen->IsDayRunning());
    Ticks(1);
    EXPECT_TRUE(screen->GetEscapeMenu()->mVisible);
    screen->KeyUp(27);
    EXPECT_TRUE(screen->IsDayRunning());
}

TEST_F(ScreenTest, PastTheLastLevelTheFinalComicShowsAndNothingLoads)
{
    WriteLevel("cfg/l60.xml", "<level><params normal=\"600\"/></level>");
    screen->LoadLevel(60);
    screen->StartDay();
    const size_t objects = screen->GetWorld().sceneObjects.size();
    screen->NextLevel();
    EXPECT_EQ(screen->GetLevel(), 61);
    EXPECT_EQ(screen->GetComic()->GetCurrentPage() + 1, 5);
    EXPECT_EQ(screen->GetLevelParams().normal, 600);
    EXPECT_EQ(screen->GetWorld().sceneObjects.size(), objects);
}

TEST_F(ScreenTest, ADestroyedScreenClearsWhatItSetAndASecondOneWorks)
{
    screen->LoadLevel(1);
    screen->StartDay();
    screen->GetEscapeMenu()->Show();
    DeleteScreen();
    EXPECT_EQ(gOfficeScreen, nullptr);
    EXPECT_EQ(gHudPanel, nullptr);
    EXPECT_EQ(gTutorialScript, nullptr);
    EXPECT_EQ(app->mOfficeScreen, nullptr);
    EXPECT_FALSE(HasOfficeWorld());
    EXPECT_EQ(gBoss, nullptr);

    MakeScreen();
    EXPECT_EQ(app->mOfficeScreen, screen);
    screen->LoadLevel(1);
    screen->StartDay();
    screen->GetBriefing()->Continue();
    Ticks(100);
    EXPECT_NEAR(screen->GetLevelClock(), 1.0f, 1e-3);
    EXPECT_NE(FindObject("boss"), nullptr);
}

} // namespace

namespace {

std::vector<std::string>* gTraced = nullptr;
void Trace(const std::string& line)
{
    if (gTraced)
        gTraced->push_back(line);
}

// Before pref.dat has been read nothing may be written: the day is scored
// all the same, and the debug output says the file was not written.
TEST_F(DayTest, ADayEndsAlsoWhenPrefDatCannotBeWritten)
{
    std::vector<std::string> traced;
    gTraced = &traced;
    SetDebugTraceHook(Trace);
    MakeScreen();
    WriteLevel("cfg/l5.xml", "<level><params normal=\"10\" expert=\"20\"/></level>");
    screen->LoadLevel(5);
    screen->StartDay();
    screen->SetDayRunning(true);
    OfficeScreen::AddMoney(12);
    Ticks(201);
    SetDebugTraceHook(nullptr);
    gTraced = nullptr;
    EXPECT_TRUE(screen->IsDayOver());
    EXPECT_EQ(screen->GetDebriefing()->GetResultKind(), "goal");
    EXPECT_EQ(std::count(traced.begin(), traced.end(), "pref.dat was not written after the day\n"), 1);
    EXPECT_FALSE(std::filesystem::exists(game.dir / "documents"));
}

} // namespace
