// Client spawning and orders: the career gating, the day's end, the survival
// stages and weighted draws, the order choice and the client place table.
#include "game/flow/BriefingDialog.h"
#include "tests/game/flow/DayFixture.h"

#include <cmath>

#include <climits>

using namespace daytest;

namespace {

class SpawnTest : public DayTest {
protected:
    void SetUp() override
    {
        DayTest::SetUp();
        MakeScreen();
        ASSERT_FALSE(screen->GetWorld().clientParams.empty());
        type = screen->GetWorld().clientParams.begin()->first;
        client = new FakeClient();
        ASSERT_TRUE(RegisterClient(client, 0));
        gFrameDelta = 0.01f;
    }
    TimePoint Record(float time, const std::string& event)
    {
        TimePoint point;
        point.time = time;
        point.event = event;
        point.orders = {"0101"};
        return point;
    }
    void Stages(std::initializer_list<int> money)
    {
        SurvivalModel& model = screen->GetSurvivalModel();
        model.Clear();
        for (int m : money) {
            model.stages.emplace_back();
            model.stages.back().money = m;
        }
    }

    std::string type;
    FakeClient* client = nullptr;
};

TEST_F(SpawnTest, CareerClientsComeOnlyWhenEverythingAllows)
{
    FakePhone phone;
    FakeTutorial tutorial;
    TutorialScript* screenTutorial = gTutorialScript;
    gPhone = &phone;
    gTutorialScript = &tutorial;
    screen->GetLevelParams().events_delay_timeout = 3.0f;
    struct Row {
        bool freePlace;
        bool ringing;
        bool forbidSpawn;
        float timer;
        float due; // the record's time (the clock stands at 0)
        bool spawned;
        float timerAfter;
    } rows[] = {
        {true, false, false, 0.0f, 0.0f, true, -3.0f},
        {true, false, false, -0.5f, 0.0f, false, -0.49f},
        {false, false, false, -0.5f, 0.0f, false, -0.5f},
        {true, true, false, -0.5f, 0.0f, false, -0.5f},
        {true, false, true, -0.5f, 0.0f, false, -0.5f},
        {true, false, false, 0.0f, 5.0f, false, 0.0f},
        {false, false, false, 0.0f, 0.0f, false, 0.0f},
        {true, true, false, 0.0f, 0.0f, false, 0.0f},
    };
    int n = 0;
    for (const Row& row : rows) {
        client->spawns.clear();
        client->SetState(row.freePlace ? Client::kPlaceFree : Client::kJustArrived);
        client->SetVisibleFlag(!row.freePlace);
        phone.ringing = row.ringing;
        tutorial.forbidden = row.forbidSpawn ? 2 : 0;
        screen->SetSpawnTimer(row.timer);
        screen->GetWorld().levelTimelines.clientsWorking = {Record(row.due, type), Record(9, type)};
        screen->SpawnScheduledClient();
        EXPECT_EQ(client->spawns.size(), row.spawned ? 1u : 0u) << "row " << n;
        EXPECT_FLOAT_EQ(screen->GetSpawnTimer(), row.timerAfter) << "row " << n;
        EXPECT_EQ(screen->GetWorld().levelTimelines.clientsWorking.size(), row.spawned ? 1u : 2u) << "row " << n;
        EXPECT_FALSE(screen->IsEnding()) << "row " << n;
        ++n;
    }
    gTutorialScript = screenTutorial;
}

TEST_F(SpawnTest, TheCareerDayEndsWhenNobodyIsLeftToComeOrToServe)
{
    screen->GetWorld().levelTimelines.clientsWorking.clear();
    client->SetActiveFlag(true); // still paying
    screen->SpawnScheduledClient();
    EXPECT_FALSE(screen->IsEnding());
    client->SetActiveFlag(false);
    client->SetVisibleFlag(true); // leaving
    screen->SpawnScheduledClient();
    EXPECT_FALSE(screen->IsEnding());
    client->SetVisibleFlag(false);
    screen->GetWorld().levelTimelines.clientsWorking = {Record(50, type)};
    screen->SpawnScheduledClient();
    EXPECT_FALSE(screen->IsEnding());
    screen->GetWorld().levelTimelines.clientsWorking.clear();
    screen->SpawnScheduledClient();
    EXPECT_TRUE(screen->IsEnding());
    EXPECT_FLOAT_EQ(screen->GetEndCountdown(), 2.0f);
}

TEST_F(SpawnTest, StagesFollowTheirThresholdsAndThenTheLastStep)
{
    Stages({0, 100, 300});
    std::vector<int> next;
    for (int i = 0; i < 4; ++i) {
        screen->AdvanceStage();
        next.push_back(screen->GetNextStageMoney());
    }
    EXPECT_EQ(next, (std::vector<int>{100, 300, 500, 700}));
    EXPECT_EQ(screen->GetStageStartMoney(), 500);
    EXPECT_EQ(Variable("currentday"), L"4");

    // A jump past two thresholds in one update enters both stages.
    Stages({0, 100, 300});
    screen->GetSurvivalModel().stages[1].upgrade_add = 1;
    screen->GetSurvivalModel().stages[1].objects = {{"plant01", "a", ""}};
    screen->GetSurvivalModel().stages[2].upgrade_skin = 1;
    screen->GetSurvivalModel().stages[2].objects = {{"plant02", "b", ""}};
    screen->SetSurvival(true);
    screen->StartDay();
    EXPECT_EQ(screen->GetStageIndex(), 0);
    OfficeScreen::AddMoney(350);
    screen->SpawnSurvivalClient();
    EXPECT_EQ(screen->GetStageIndex(), 2);
    EXPECT_EQ(screen->GetPendingUpgrades(), (std::vector<int32_t>{0, 1}));
    ASSERT_EQ(screen->GetAppliedChanges().size(), 2u);
    EXPECT_EQ(screen->GetAppliedChanges()[1].name, "plant02");
    EXPECT_EQ(screen->GetNextStageMoney(), 500);
}

TEST_F(SpawnTest, ThresholdsThatDoNotGrowEndWithoutAFurtherStage)
{
    screen->SetSurvival(true);
    struct Case {
        std::vector<int> money;
        int index;
    } cases[] = {{{100}, 0}, {{100, 100}, 1}, {{300, 100}, 1}, {{0, 1}, 0}, {{}, -1}};
    for (const Case& c : cases) {
        SurvivalModel& model = screen->GetSurvivalModel();
        model.Clear();
        for (int m : c.money) {
            model.stages.emplace_back();
            model.stages.back().money = m;
        }
        screen->StartDay();
        OfficeScreen::AddMoney(INT_MAX);
        OfficeScreen::AddMoney(INT_MAX);
        for (int i = 0; i < 3; ++i)
            screen->SpawnSurvivalClient();
        if (c.money.size() == 2 && c.money[1] > c.money[0]) {
            // Step 1 past the last stage: every threshold up to the largest
            // money is passed, none is looped through one by one.
            EXPECT_EQ(screen->GetNextStageMoney(), INT_MAX);
            EXPECT_GT(screen->GetStageIndex(), 1000000);
        } else {
            EXPECT_EQ(screen->GetStageIndex(), c.index);
            if (!c.money.empty())
                EXPECT_EQ(screen->GetNextStageMoney(), INT_MAX);
        }
    }
}

TEST_F(SpawnTest, SurvivalTypesAreDrawnByWeight)
{
    screen->SetSurvival(true);
    Stages({0});
    std::vector<ClientTemplate>& templates = screen->GetSurvivalModel().stages[0].clients;
    templates.resize(4);
    for (ClientTemplate& t : templates) {
        t.name = type;
        t.client_time_spawn_min = 1;
        t.client_time_spawn_max = 1;
    }
    screen->StartDay();
    Ticks(1); // the first running update takes the timer below 0
    screen->SpawnSurvivalClient();
    for (const ClientTemplate& t : templates)
        EXPECT_FLOAT_EQ(t.probability_spawn, 0.25f);
    ASSERT_NE(screen->GetPendingTemplate(), nullptr);
    EXPECT_EQ(screen->GetPendingPlace(), 0);
    EXPECT_FLOAT_EQ(screen->GetSpawnTimer(), 1.0f);

    // A draw of exactly the total chooses nobody; a later update does.
    screen->StartDay();
    Ticks(1);
    SeedWhere([] { return Zelk::Rand() == 32767; });
    screen->SpawnSurvivalClient();
    EXPECT_EQ(screen->GetPendingTemplate(), nullptr);
    EXPECT_LT(screen->GetSpawnTimer(), 0);
    Zelk::SRand(5);
    screen->SpawnSurvivalClient();
    EXPECT_NE(screen->GetPendingTemplate(), nullptr);
}

TEST_F(SpawnTest, OrdersAreDrawnByWeightAndExtendedOrdersTakeAStageDigit)
{
    auto list = [](std::initializer_list<std::pair<const char*, float>> entries) {
        OrderList result;
        for (const auto& e : entries)
            result.orders.push_back({e.second, e.first});
        return result;
    };
    // RandomInt (2, 4) gives 2 when the second draw is low.
    SeedWhere([] {
        Zelk::Rand();
        return Zelk::Rand() < 10000;
    });
    EXPECT_EQ(screen->PickOrder(list({{"0101", 1}}), {}, 0.5f), "0201");
    EXPECT_EQ(screen->PickOrder(list({{"0101", 1}}), {}, 0), "0101");
    for (int i = 0; i < 50; ++i) {
        const std::string extended = screen->PickOrder(list({{"0101", 1}}), {}, 1);
        EXPECT_TRUE(extended == "0201" || extended == "0301" || extended == "0401") << extended;
        EXPECT_EQ(screen->PickOrder(list({{"1101", 1}}), {}, 1), "1101");
        EXPECT_EQ(screen->PickOrder(list({{"0", 1}}), {}, 1), "0");
    }
    // A draw of exactly the total takes the last entry of positive weight;
    // negative and non-numbers weigh nothing.
    SeedWhere([] { return Zelk::Rand() == 32767; });
    EXPECT_EQ(screen->PickOrder(list({{"0101", 1}, {"0102", 2}, {"0103", 0}, {"0104", -5}}), {}, 0), "0102");
    EXPECT_EQ(screen->PickOrder(list({{"0101", 0}, {"0102", NAN}}), {}, 0), "");
    // A list that can only repeat a chosen order ends with that order.
    EXPECT_EQ(screen->PickOrder(list({{"0101", 1}}), {"0101"}, 0), "0101");

    // One or two orders by probability_multi_order.
    OrderTemplate orders;
    orders.name = "t";
    orders.lists = {list({{"0101", 1}}), list({{"0102", 1}})};
    screen->GetSurvivalModel().orderTemplates = {orders};
    ClientTemplate client;
    client.order_template = "t";
    std::vector<std::string> out;
    client.probability_multi_order = 2;
    screen->PickOrders(client, out);
    EXPECT_EQ(out, (std::vector<std::string>{"0101", "0102"}));
    out.clear();
    client.probability_multi_order = 0;
    screen->PickOrders(client, out);
    EXPECT_EQ(out, std::vector<std::string>{"0102"});
    out.clear();
    screen->GetSurvivalModel().orderTemplates[0].lists.resize(1);
    screen->PickOrders(client, out);
    EXPECT_EQ(out, std::vector<std::string>{"0101"});
    out.clear();
    screen->GetSurvivalModel().orderTemplates[0].lists[0] = list({{"0101", 0}});
    screen->PickOrders(client, out);
    EXPECT_TRUE(out.empty());
}

// The fixture's survival level: the first stage on the day's start, the
// first client chosen on the second running update and brought in with
// orders of its template, the next stage and its upgrade by money.
TEST_F(DayTest, AFixtureSurvivalDayRunsThroughItsStages)
{
    MakeScreen();
    screen->SetSurvival(true);
    screen->LoadLevel(1);
    ASSERT_EQ(screen->GetSurvivalModel().stages.size(), 3u);
    screen->StartDay();
    EXPECT_TRUE(screen->IsDayRunning());
    EXPECT_EQ(screen->GetStageIndex(), 0);
    EXPECT_EQ(Variable("currentday"), L"1");
    EXPECT_EQ(screen->GetNextStageMoney(), 150);
    Ticks(1);
    EXPECT_EQ(screen->GetPendingTemplate(), nullptr);
    Ticks(1);
    ASSERT_NE(screen->GetPendingTemplate(), nullptr);
    const int place = screen->GetPendingPlace();
    Client* client = GetClient(place);
    ASSERT_NE(client, nullptr);
    Ticks(601); // the longest wait of the first stage's types is 6 s
    EXPECT_TRUE(client->IsVisible());
    EXPECT_FALSE(client->GetTypeName().empty());
    ASSERT_FALSE(client->GetOrders().empty());
    for (const std::string& order : client->GetOrders())
        EXPECT_TRUE(order == "0101" || order == "0102") << order;

    OfficeScreen::AddMoney(150);
    Ticks(1);
    EXPECT_EQ(screen->GetStageIndex(), 1);
    EXPECT_EQ(screen->GetPendingUpgrades(), std::vector<int32_t>{0});
    EXPECT_EQ(Variable("normal"), L"400");
}

// The fixture's day 3: its clients come by the schedule, sorted by time,
// each after the last by the office's delay, while places are free.
TEST_F(DayTest, AFixtureCareerDayBringsItsClientsBySchedule)
{
    MakeScreen();
    screen->LoadLevel(3);
    const std::vector<TimePoint>& clients = screen->GetWorld().levelTimelines.clients;
    ASSERT_EQ(clients.size(), 5u);
    screen->StartDay();
    EXPECT_FLOAT_EQ(screen->DayProgress(), 0.8f); // the first came at once
    screen->GetBriefing()->Continue();
    Ticks(1000);
    EXPECT_FLOAT_EQ(screen->DayProgress(), 0.6f); // two places: both taken
    int shown = 0;
    for (int i = 0; i < 8; ++i)
        shown += GetClient(i) && GetClient(i)->IsVisible();
    EXPECT_EQ(shown, 2);
    EXPECT_FALSE(screen->IsEnding());
    EXPECT_EQ(screen->GetHud()->GetClockFrame(), 4); // trunc(12 x 0.4)
}

TEST_F(SpawnTest, SchedulesSortStablyAndThePlaceTableKeepsItsBounds)
{
    std::vector<TimePoint>& clients = screen->GetWorld().levelTimelines.clients;
    clients = {Record(5, "a"), Record(1, "b"), Record(5, "c"), Record(1, "d"), Record(0, "e")};
    screen->SortSchedules();
    std::string order;
    for (const TimePoint& point : screen->GetWorld().levelTimelines.clientsWorking)
        order += point.event;
    EXPECT_EQ(order, "ebdac");
    EXPECT_FLOAT_EQ(screen->DayProgress(), 1.0f);
    TimePoint out;
    EXPECT_TRUE(OfficeScreen::TakeDueClient(screen->GetWorld().levelTimelines.clientsWorking, 0, out));
    EXPECT_EQ(out.event, "e");
    EXPECT_FALSE(OfficeScreen::TakeDueClient(screen->GetWorld().levelTimelines.clientsWorking, 0.5f, out));
    EXPECT_FLOAT_EQ(screen->DayProgress(), 0.8f);
    clients.clear();
    EXPECT_FLOAT_EQ(screen->DayProgress(), 1.0f);

    FakeClient other;
    for (int index : {8, -1, 100})
        EXPECT_FALSE(RegisterClient(&other, index)) << index;
    EXPECT_EQ(GetClient(8), nullptr);
    EXPECT_EQ(GetClient(-1), nullptr);
    EXPECT_EQ(GetClient(0), client);
    EXPECT_EQ(Client::PlaceIndexOf("client03"), 2);
    EXPECT_EQ(Client::PlaceIndexOf("client10"), -1);
    // The fixture's clients sit at their places.
    ASSERT_NE(GetClient(2), nullptr);
    EXPECT_EQ(GetClient(2)->GetName(), "client03");
    EXPECT_EQ(FindFreeClientPlace(), 0);
}

} // namespace
