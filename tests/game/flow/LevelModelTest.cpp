// The level model and loader: file names, the survival model in document
// order, the career and survival texts, and a missing file.
#include "game/core/LocTable.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/LoadingScreen.h"
#include "tests/game/flow/DayFixture.h"

using namespace daytest;

namespace {

const char* const kSurvivalLevel =
    "<level>"
    "<stages>"
    "<stage money=\"0\" window_event=\"window_morning\">"
    "<clients name=\"c_a\" vip=\"1\" client_time_spawn_min=\"1.5\" client_time_spawn_max=\"3\" probability_spawn=\"2\""
    " probability_ext_order=\"0.25\" probability_multi_order=\"0.5\" order_template=\"t1\"/>"
    "<clients name=\"c_b\" probability_spawn=\"1\" order_template=\"t2\"/>"
    "<object name=\"plant01\" skin=\"s\" anim=\"a\"/><object name=\"plant02\"/>"
    "</stage>"
    "<stage window_event=\"window_day\" upgrade_add=\"true\"/>"
    "</stages>"
    "<upgrade_add_list name=\"coffee\"><object_list name=\"coffeemachine\" skin=\"x\"/></upgrade_add_list>"
    "<stages><stage money=\"300\" window_event=\"Window_day\" upgrade_skin=\"1\"/><stage money=\"500\" window_event=\"x\"/>"
    "<stage money=\"700\"/></stages>"
    "<upgrade_skin_list name=\"gold\"><object_list name=\"table02a\" skin=\"gold\" anim=\"idle\"/>"
    "<object_list name=\"table04a\"/></upgrade_skin_list>"
    "<order_template template=\"t1\"><order_list probability=\"0.5\"><orders probability=\"1\" order=\"0101\"/>"
    "<orders order=\"0102\"/></order_list><order_list><orders probability=\"3\" order=\"0103\"/></order_list>"
    "</order_template>"
    "</level>";

class LevelTest : public DayTest {
protected:
    // The level's objects and model over the fixture office.
    void SetUp() override
    {
        DayTest::SetUp();
        MakeScreen();
    }
};

TEST_F(LevelTest, TheSurvivalModelIsReadInDocumentOrder)
{
    WriteLevel("cfg/endless2.xml", kSurvivalLevel);
    screen->SetSurvival(true);
    screen->LoadLevel(2);
    const SurvivalModel& model = screen->GetSurvivalModel();
    EXPECT_EQ(model.stageIndex, -1);
    ASSERT_EQ(model.stages.size(), 5u);
    const int money[] = {0, -1, 300, 500, 700};
    const int window[] = {1, 2, 0, 0, 0};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(model.stages[i].money, money[i]) << i;
        EXPECT_EQ(model.stages[i].window_event, window[i]) << i;
    }
    EXPECT_EQ(model.stages[1].upgrade_add, 1);
    EXPECT_EQ(model.stages[2].upgrade_skin, 1);
    EXPECT_EQ(model.stages[0].upgrade_add + model.stages[0].upgrade_skin, 0);

    const std::vector<ClientTemplate>& clients = model.stages[0].clients;
    ASSERT_EQ(clients.size(), 2u);
    EXPECT_EQ(clients[0].name, "c_a");
    EXPECT_EQ(clients[0].vip, 1);
    EXPECT_FLOAT_EQ(clients[0].client_time_spawn_min, 1.5f);
    EXPECT_FLOAT_EQ(clients[0].client_time_spawn_max, 3.0f);
    EXPECT_FLOAT_EQ(clients[0].probability_spawn, 2.0f);
    EXPECT_FLOAT_EQ(clients[0].probability_ext_order, 0.25f);
    EXPECT_FLOAT_EQ(clients[0].probability_multi_order, 0.5f);
    EXPECT_EQ(clients[0].order_template, "t1");
    EXPECT_EQ(clients[1].vip, 0);
    EXPECT_EQ(clients[1].probability_multi_order, 0.0f);
    EXPECT_EQ(clients[1].client_time_spawn_min, 0.0f);
    ASSERT_EQ(model.stages[0].objects.size(), 2u);
    EXPECT_EQ(model.stages[0].objects[0].name, "plant01");
    EXPECT_EQ(model.stages[0].objects[0].skin, "s");
    EXPECT_EQ(model.stages[0].objects[0].anim, "a");
    EXPECT_EQ(model.stages[0].objects[1].skin, "");

    ASSERT_EQ(model.upgradeAdd.size(), 1u);
    EXPECT_EQ(model.upgradeAdd[0].name, "coffee");
    ASSERT_EQ(model.upgradeAdd[0].objects.size(), 1u);
    EXPECT_EQ(model.upgradeAdd[0].objects[0].name, "coffeemachine");
    ASSERT_EQ(model.upgradeSkin.size(), 1u);
    ASSERT_EQ(model.upgradeSkin[0].objects.size(), 2u);
    EXPECT_EQ(model.upgradeSkin[0].objects[1].name, "table04a");

    ASSERT_EQ(model.orderTemplates.size(), 1u);
    const OrderTemplate& orders = model.orderTemplates[0];
    EXPECT_EQ(orders.name, "t1");
    ASSERT_EQ(orders.lists.size(), 2u);
    EXPECT_FLOAT_EQ(orders.lists[0].probability, 0.5f);
    ASSERT_EQ(orders.lists[0].orders.size(), 2u);
    EXPECT_EQ(orders.lists[0].orders[1].order, "0102");
    EXPECT_EQ(orders.lists[0].orders[1].probability, 0.0f);
    EXPECT_EQ(orders.lists[1].orders[0].order, "0103");

    // The texts of every survival level, spelled as the table has them.
    const LocTable& texts = *app->GetLocTable();
    EXPECT_EQ(screen->GetExpertText(), texts.Get("debreif_endlessp"));
    EXPECT_EQ(screen->GetGoalText(), texts.Get("debreif_endlessg"));
    EXPECT_EQ(screen->GetFailureText(), texts.Get("debreif_endlessb"));
}

TEST_F(LevelTest, EveryLoadStartsTheModelAfresh)
{
    WriteLevel("cfg/endless1.xml", kSurvivalLevel);
    WriteLevel("cfg/endless2.xml", "<level><stages><stage money=\"5\"/></stages></level>");
    screen->SetSurvival(true);
    screen->LoadLevel(1);
    screen->GetSurvivalModel().stageIndex = 3;
    screen->LoadLevel(2);
    const SurvivalModel& model = screen->GetSurvivalModel();
    EXPECT_EQ(model.stageIndex, -1);
    ASSERT_EQ(model.stages.size(), 1u);
    EXPECT_EQ(model.stages[0].money, 5);
    EXPECT_TRUE(model.upgradeAdd.empty());
    EXPECT_TRUE(model.upgradeSkin.empty());
    EXPECT_TRUE(model.orderTemplates.empty());
}

TEST_F(LevelTest, CareerTextsComeFromTheLevelAndAMissingFileKeepsThem)
{
    WriteLevel("cfg/l7.xml", "<level briefing=\"lvl1_brief\" debriefing_bad=\"lvl1_bad\""
                             " debriefing_perfect=\"lvl1_perfect\"><params normal=\"10\" expert=\"20\"/></level>");
    screen->LoadLevel(7);
    const LocTable& texts = *app->GetLocTable();
    ASSERT_FALSE(texts.Get("lvl1_brief").empty());
    EXPECT_EQ(screen->GetBriefing()->GetText(), texts.Get("lvl1_brief"));
    EXPECT_EQ(screen->GetFailureText(), texts.Get("lvl1_bad"));
    EXPECT_EQ(screen->GetGoalText(), L"");
    EXPECT_EQ(screen->GetExpertText(), texts.Get("lvl1_perfect"));
    EXPECT_EQ(screen->GetLevelParams().normal, 10);

    // A level that has no file: nothing loaded, the texts stay.
    screen->LoadLevel(60);
    EXPECT_EQ(screen->GetLevel(), 60);
    EXPECT_EQ(screen->GetFailureText(), texts.Get("lvl1_bad"));
    EXPECT_EQ(screen->GetBriefing()->GetText(), texts.Get("lvl1_brief"));
    EXPECT_TRUE(screen->GetWorld().levelTimelines.clients.empty());
}

// The loading screen shown once and hidden once around each load, and the
// level numbers naming their files.
class RecordingLoading : public LoadingScreen {
public:
    RecordingLoading(GameApp* app, const XmlNode& root, Log* log) : LoadingScreen(app, root), mLog(log) {}
    void Show() override { mLog->push_back("show loading"); }
    void Hide() override { mLog->push_back("hide loading"); }
    Log* mLog;
};

TEST_F(LevelTest, LevelNumbersNameTheirFilesAndTheLoadingScreenCoversTheLoad)
{
    RecordingLoading loading(app.get(), root, &calls);
    app->mLoadingScreen = &loading;
    struct Case {
        bool survival;
        int level;
        const char* file;
    } cases[] = {{false, 60, "cfg/l60.xml"}, {true, 2, "cfg/endless2.xml"}, {false, 59, nullptr}};
    for (const Case& c : cases) {
        if (c.file)
            WriteLevel(c.file, "<level><params normal=\"" + std::to_string(c.level * 3) + "\"/></level>");
        screen->SetSurvival(c.survival);
        calls.clear();
        screen->LoadLevel(c.level);
        EXPECT_EQ(calls, (Log{"show loading", "hide loading"})) << c.level;
        if (c.file)
            EXPECT_EQ(screen->GetLevelParams().normal, c.level * 3) << c.file;
    }
    app->mLoadingScreen = nullptr;
}

} // namespace
