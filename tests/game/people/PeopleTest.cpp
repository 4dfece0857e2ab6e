#include "framework/app/Random.h"
#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/MiniBar.h"
#include "game/world/PeriodItem.h"
#include "game/world/Phone.h"
#include "game/world/Shelving.h"
#include "game/world/Worker.h"
#include "tests/game/people/PeopleFixture.h"

#include <climits>
#include <limits>

namespace peopletest {
namespace {

TEST_F(PeopleTest, AWorkerTakesItsTradesItemsAndMakesItsProduct)
{
    Worker* worker = Make<Worker>("worker01");
    const struct {
        const char* from;
        const char* item;
        bool takes;
    } transforms[] = {
        {"0100", "0102", true}, {"0100", "0105", true}, {"0100", "0202", false}, {"abc", "abc", true},
        {"abc", "abcd", false}, {"0100", "", false},    {"", "0102", false},
    };
    for (const auto& row : transforms) {
        worker->SetTransform(row.from, "0300");
        EXPECT_EQ(worker->CanTransform(row.item), row.takes) << row.from << " " << row.item;
    }
    const struct {
        const char* item;
        const char* to;
        const char* product;
    } products[] = {
        {"0102", "0300", "0302"}, {"120", "0300", "0300"}, {"abc", "xyz", "xyz"}, {"0", "0300", "0300"},
        {"0105", "0300", "0305"},
    };
    for (const auto& row : products) {
        worker->SetTransform("0100", row.to);
        worker->SetItem(row.item);
        worker->ProduceResult();
        EXPECT_EQ(worker->GetItem(), row.product) << row.item;
    }
}

TEST_F(PeopleTest, NameLookupsTakeTheLongestMatchingName)
{
    Make<Worker>("worker_1");
    Worker* twelve = Make<Worker>("worker_12");
    Worker* seven = Make<Worker>("worker07");
    EXPECT_EQ(FindWorkerByNamePrefix("worker_12_hp"), twelve);
    EXPECT_EQ(FindWorkerByNamePrefix("worker07_hp"), seven);
    EXPECT_EQ(FindWorkerByNamePrefix("nobody_hp"), nullptr);
    Client* one = Make<Client>("client01");
    Client* three = Make<Client>("client03");
    EXPECT_EQ(FindClientByName("client03_bubble"), three);
    EXPECT_EQ(FindClientByName("client01_hp"), one);
    // Names without a place number 1..8 register nowhere.
    Make<Client>("client1");
    Make<Client>("client_09");
    EXPECT_EQ(GetClient(0), one);
    EXPECT_EQ(GetClient(2), three);
    // A destroyed client leaves the table, a destroyed worker the list.
    delete three;
    EXPECT_EQ(GetClient(2), nullptr);
    EXPECT_EQ(FindClientByName("client03_bubble"), nullptr);
    delete twelve;
    EXPECT_EQ(world.workers.size(), 2u);
}

TEST_F(PeopleTest, AClientPaysByItsPatience)
{
    Client* client = Make<Client>("client01");
    const struct {
        float patience;
        int32_t paid;
    } rows[] = {{60, 100}, {59.99f, 60}, {30, 60}, {29.99f, 30}};
    for (const auto& row : rows) {
        screen.payments.clear();
        ASSERT_TRUE(SpawnClient("regular", false, 0, {"0102"}));
        Ticks(client, 1); // state 1, waiting for the boss
        EXPECT_EQ(client->GetState(), Client::kWaitingForBoss);
        // The boss starts the order; it is decided after 2 s.
        Boss boss;
        boss.Load(Parse("<object name=\"boss\"/>"));
        int word = -1;
        ASSERT_TRUE(client->Interact(&boss, true, &word));
        client->Interact(&boss, false, &word);
        // 2 s of 0.01 s steps in f32: one tick more than 200.
        Ticks(client, 200);
        EXPECT_EQ(client->GetItem(), "");
        Ticks(client, 1);
        EXPECT_EQ(client->GetItem(), "0102");
        Ticks(client, 1);
        EXPECT_EQ(client->GetState(), Client::kWaitingForOrder);
        boss.SetItem("0102");
        ASSERT_TRUE(client->Interact(&boss, true, &word));
        EXPECT_EQ(word, 1);
        client->Interact(&boss, false, &word);
        client->SetPatience(row.patience);
        Ticks(client, 2);
        ASSERT_EQ(screen.payments.size(), 1u) << row.patience;
        EXPECT_EQ(screen.payments[0], row.paid) << row.patience;
        EXPECT_EQ(client->GetState(), Client::kLeaving);
        Ticks(client, 1);
        EXPECT_EQ(client->GetState(), Client::kPlaceFree);
    }
}

TEST_F(PeopleTest, AClientWithoutPatienceCostsMoneyAndALifeAfterItsScandals)
{
    Client* client = Make<Client>("client01");
    Client* other = Make<Client>("client02");
    ASSERT_TRUE(SpawnClient("regular", false, 0, {"0102"}));
    ASSERT_TRUE(SpawnClient("regular", false, 1, {"0102"}));
    // Patience falls 2/s; below 20 (after 40 s) the first scandal costs the
    // other 10, the next comes 5 s later.
    int scandalTick = -1;
    for (int tick = 1; tick <= 4100 && scandalTick < 0; ++tick) {
        client->Update();
        if (client->IsScandalShown())
            scandalTick = tick;
    }
    EXPECT_NEAR(scandalTick, 4002, 2);
    EXPECT_NEAR(other->GetPatience(), 100 - 0.02f * 0 - 10, 0.01f);
    float before = other->GetPatience();
    Ticks(client, 500);
    EXPECT_NEAR(other->GetPatience(), before - 10, 0.01f);
    Ticks(client, 600);
    EXPECT_EQ(client->GetState(), Client::kPlaceFree);
    EXPECT_EQ(screen.payments, std::vector<int32_t>{-50});
    EXPECT_EQ(screen.livesLost, 1);
}

TEST_F(PeopleTest, AnUnansweredVipCostsMoneyAndALifeAndNeverShows)
{
    Phone* phone = Make<Phone>("phone");
    Client* client = Make<Client>("client01");
    ASSERT_TRUE(SpawnClient("regular", true, 0, {"0102"}));
    EXPECT_TRUE(phone->IsRinging());
    EXPECT_FALSE(client->IsVisible());
    float meter = -1;
    EXPECT_TRUE(phone->GetMeterValue(&meter));
    EXPECT_FLOAT_EQ(meter, 100);
    std::string word;
    EXPECT_TRUE(phone->GetBubbleContent(nullptr, &word));
    EXPECT_EQ(word, "regular");
    Ticks(client, 1499);
    EXPECT_TRUE(screen.payments.empty());
    Ticks(client, 2);
    EXPECT_EQ(screen.payments, std::vector<int32_t>{-50});
    EXPECT_EQ(screen.livesLost, 1);
    EXPECT_FALSE(phone->IsRinging());
    EXPECT_FALSE(client->IsVisible());
    // A ring timeout of 0 writes a meter of 0, never a NaN.
    world.levelParams.ring_timeout = 0;
    ASSERT_TRUE(SpawnClient("regular", true, 0, {"0102"}));
    meter = -1;
    EXPECT_FALSE(client->GetMeterValue(&meter));
    EXPECT_EQ(meter, 0);
}

TEST_F(PeopleTest, AClientWithoutParamsNeitherUpdatesNorInteracts)
{
    Client* client = Make<Client>("client01");
    client->SetActive(true); // switched on by a stage change, never spawned
    Boss boss;
    boss.Load(Parse("<object name=\"boss\"/>"));
    int word = 0;
    EXPECT_FALSE(client->Interact(&boss, true, &word));
    Ticks(client, 10);
    EXPECT_TRUE(screen.payments.empty());
    // A place without a client spawns nothing and tells the tutorial nothing.
    EXPECT_FALSE(SpawnClient("regular", false, 5, {"0102"}));
    EXPECT_TRUE(screen.events.empty());
}

TEST_F(PeopleTest, PaymentsSaturateAndABreakWithoutLengthMetersZero)
{
    world.clientParams["regular"].client_money_g = 1e10f;
    world.clientParams["regular"].client_losses_money = 1e10f;
    Client* client = Make<Client>("client01");
    ASSERT_TRUE(SpawnClient("regular", false, 0, {"0102"}));
    client->Pay(1e10f);
    client->Pay(-1e10f);
    client->Pay(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(screen.payments, (std::vector<int32_t>{INT_MAX, INT_MIN, 0}));
    // A break of no length.
    world.levelParams.worker_break_duration_timeout = 0;
    SceneObject* bar = Make<MiniBar>("mini_bar");
    bar->SetActive(true);
    Worker* worker = Make<Worker>("worker01");
    worker->SetActive(true);
    worker->SetState(Worker::kWantsBreak);
    worker->SetState(Worker::kOnBreak);
    float meter = -1;
    EXPECT_FALSE(worker->GetMeterValue(&meter));
    EXPECT_EQ(meter, 0);
}

TEST_F(PeopleTest, TheTutorialForbiddingActionOneFreezesPatience)
{
    Client* client = Make<Client>("client01");
    screen.forbidden = 1;
    ASSERT_TRUE(SpawnClient("regular", false, 0, {"0102"}));
    Ticks(client, 1000);
    EXPECT_FLOAT_EQ(client->GetPatience(), 100);
}

TEST_F(PeopleTest, TheBossVisitsShelvingBinSafeAndUnknownObjects)
{
    Boss* boss = Make<Boss>("boss");
    Shelving* shelf = Make<Shelving>("shelving01");
    shelf->SetItem("0102");
    SceneObject* bin = Make<SceneObject>("trash_bin");
    PeriodItem* safe = Make<PeriodItem>("safe", "thing=\"money\"");
    safe->SetItem("money");
    SceneObject* plant = Make<SceneObject>("plant");
    int word = 0;
    // Empty hands at the shelving: its item, tutorial event 5, one link.
    EXPECT_TRUE(boss->Interact(shelf, true, &word));
    boss->Interact(shelf, false, &word);
    EXPECT_EQ(boss->GetItem(), "0102");
    EXPECT_EQ(screen.events, std::vector<int>{5});
    ASSERT_EQ(screen.rush.size(), 1u);
    EXPECT_EQ(screen.rush[0].first, 1);
    // Carrying: refused, a failure.
    screen.rush.clear();
    EXPECT_FALSE(boss->Interact(shelf, true, &word));
    ASSERT_EQ(screen.rush.size(), 1u);
    EXPECT_EQ(screen.rush[0].first, 0);
    // The safe refuses a boss carrying something.
    EXPECT_FALSE(boss->Interact(safe, true, &word));
    // The bin empties the hands.
    EXPECT_TRUE(boss->Interact(bin, true, &word));
    boss->Interact(bin, false, &word);
    EXPECT_EQ(boss->GetItem(), "");
    // Empty-handed at the safe: its money.
    EXPECT_TRUE(boss->Interact(safe, true, &word));
    boss->Interact(safe, false, &word);
    EXPECT_EQ(boss->GetItem(), "money");
    EXPECT_FALSE(boss->Interact(plant, true, &word));
    // A phone that is not a phone is refused.
    SceneObject* fakePhone = Make<SceneObject>("phone");
    EXPECT_FALSE(boss->Interact(fakePhone, true, &word));
}

TEST_F(PeopleTest, TheBossAndWorkerExchangeByTheWorkersWord)
{
    Boss* boss = Make<Boss>("boss");
    Worker* worker = Make<Worker>("worker01");
    worker->SetTransform("0100", "0300");
    worker->SetSkin("w1", false);
    worker->SetActive(true);
    const struct {
        const char* bossItem;
        int32_t word;
        bool agrees;
        const char* after;
    } rows[] = {
        {"money", Worker::kIdle, true, ""},    {"money", Worker::kWorking, true, ""},
        {"money", Worker::kOnBreak, false, "money"}, {"0102", Worker::kIdle, true, "0302"},
        {"0102", Worker::kAsleep, true, "0102"}, {"", Worker::kWantsBreak, true, ""},
    };
    for (const auto& row : rows) {
        boss->SetItem(row.bossItem);
        worker->SetItem("0302");
        int word = row.word;
        EXPECT_EQ(boss->Interact(worker, true, &word), row.agrees) << row.bossItem << " " << row.word;
        if (row.agrees)
            boss->Interact(worker, false, &word);
        EXPECT_EQ(boss->GetItem(), row.after) << row.bossItem << " " << row.word;
    }
}

TEST_F(PeopleTest, WorkTakesLongerAsStaminaFalls)
{
    Worker* worker = Make<Worker>("worker01");
    worker->SetSkin("w1", false);
    worker->SetActive(true);
    worker->SetTransform("0100", "0300");
    const struct {
        float stamina;
        int ticks;
    } rows[] = {{100, 200}, {50, 400}, {20, 800}};
    for (const auto& row : rows) {
        worker->SetItem("");
        worker->ChangeStamina(row.stamina - worker->GetStamina());
        Boss boss;
        boss.Load(Parse("<object name=\"boss\"/>"));
        boss.SetItem("0102");
        int word = 0;
        ASSERT_TRUE(worker->Interact(&boss, true, &word));
        worker->Interact(&boss, false, &word);
        ASSERT_EQ(worker->GetState(), Worker::kWorking);
        // The stamina bands hold for the whole job at these values only
        // when tiring is off.
        world.workerParams["w1"].worker_stamina_down_speed = 0;
        int ticks = 0;
        while (worker->GetState() == Worker::kWorking && ticks < 2000) {
            worker->Update();
            ++ticks;
        }
        EXPECT_NEAR(ticks, row.ticks, 1) << row.stamina;
        EXPECT_EQ(worker->GetItem(), "0302");
    }
}

TEST_F(PeopleTest, AZeroWorkTimeFinishesAtOnceEvenWithoutTime)
{
    world.workerParams["w1"].worker_work_time_g = 0;
    Worker* worker = Make<Worker>("worker01");
    worker->SetSkin("w1", false);
    worker->SetActive(true);
    worker->SetTransform("0100", "0300");
    worker->SetItem("0102");
    worker->SetState(Worker::kWorking);
    gFrameDelta = 0;
    worker->Update();
    EXPECT_EQ(worker->GetState(), Worker::kIdle);
    EXPECT_EQ(worker->GetItem(), "0302");
    EXPECT_TRUE(worker->GetWorkProgress() == worker->GetWorkProgress());
}

TEST_F(PeopleTest, AWorkerWithoutAMiniBarKeepsWantingItsBreak)
{
    Worker* worker = Make<Worker>("worker01");
    worker->SetActive(true);
    worker->SetState(Worker::kWantsBreak);
    worker->SetState(Worker::kOnBreak);
    EXPECT_EQ(worker->GetState(), Worker::kWantsBreak);
    EXPECT_TRUE(worker->IsVisible());
}

TEST_F(PeopleTest, MachinesBecomeReadyAfterTheirDrawnReloadTime)
{
    world.levelParams.safe_reload_timeout = 2;
    PeriodItem* safe = Make<PeriodItem>("safe");
    PeriodItem* unknown = Make<PeriodItem>("lamp");
    for (PeriodItem* item : {safe, unknown}) {
        item->SetActive(true);
        item->SetVisibleFlag(true);
    }
    EXPECT_FALSE(safe->IsReady());
    Ticks(safe, 199);
    EXPECT_FALSE(safe->IsReady());
    Ticks(safe, 2);
    EXPECT_TRUE(safe->IsReady());
    Ticks(unknown, 10000);
    EXPECT_FALSE(unknown->IsReady());
    // A walker uses it: reloading again.
    Boss boss;
    boss.Load(Parse("<object name=\"boss\"/>"));
    EXPECT_TRUE(safe->Interact(&boss, true, nullptr));
    safe->Interact(&boss, false, nullptr);
    EXPECT_FALSE(safe->IsReady());
}

} // namespace
} // namespace peopletest
