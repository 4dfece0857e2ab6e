// Workers in the running office day: their trade, work by stamina, tiring,
// breaks at the mini bar, sleep and snoring, the boss's money, and the name
// look-ups of workers and clients.
#include "game/world/MiniBar.h"
#include "game/world/PeriodItem.h"
#include "game/world/ObjectPart.h"
#include "game/world/StatusBubble.h"
#include "game/world/StatusHp.h"
#include "tests/game/people/PeopleFixture.h"

namespace peopletest {
namespace {

class WorkerTest : public PeopleTest {
protected:
    void SetUp() override
    {
        PeopleTest::SetUp();
        boss = TheBoss();
        worker = Fixture<Worker>("worker02a");
        neighbour = Fixture<Worker>("worker04a");
        ASSERT_TRUE(boss && worker && neighbour);
        ASSERT_EQ(worker->GetTransformFrom(), "paper");
        ASSERT_EQ(worker->GetTransformTo(), "0102");
    }
    // A worker made in the day with skin "w1" and the stamina.
    Worker* AddWorker(const std::string& name, float stamina = 100)
    {
        Worker* added = Add<Worker>("worker", name);
        added->SetActive(false);
        added->SetSkin("w1", false);
        added->SetActive(true);
        added->ChangeStamina(stamina - 100);
        return added;
    }
    static void SetStamina(Worker* who, float stamina) { who->ChangeStamina(stamina - who->GetStamina()); }
    static void PutToSleep(Worker* who) { who->ChangeStamina(-who->GetStamina() - 1); }

    Boss* boss = nullptr;
    Worker* worker = nullptr;    // "w1", paper to "0102"
    Worker* neighbour = nullptr; // "w2", paper to "0101"
};

TEST_F(WorkerTest, ATradeTakesItsOwnItemsAndNumbersItsProduct)
{
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
        {"0105", "0300", "0305"}, {"01", "0300", "0300"},
    };
    for (const auto& row : products) {
        worker->SetTransform("0100", row.to);
        worker->SetItem(row.item);
        worker->ProduceResult();
        EXPECT_EQ(worker->GetItem(), row.product) << row.item;
    }
}

TEST_F(WorkerTest, WorkTakesLongerAsStaminaFallsAndTiresTwiceWithTheConditionerBroken)
{
    World().levelParams.air_conditioner_timeout_min = World().levelParams.air_conditioner_timeout_max = 1000;
    PeriodItem* conditioner = Add<PeriodItem>("period_item", "air_conditioner");
    const struct {
        float stamina;
        bool broken;
        int ticks;
        float tired; // stamina lost over the job
    } rows[] = {{100, false, 200, 2}, {50, false, 400, 4}, {20, false, 800, 8}, {100, true, 200, 4}};
    for (const auto& row : rows) {
        conditioner->SetReady(row.broken); // "ready" is broken down
        SetStamina(worker, row.stamina);
        worker->SetItem("");
        boss->SetItem("paper");
        ASSERT_TRUE(Handshake(boss, worker));
        ASSERT_EQ(worker->GetState(), Worker::kWorking);
        EXPECT_EQ(boss->GetItem(), "");
        calls.clear();
        tutorial.events.clear();
        const int ticks = TicksWhile([this] { return worker->GetState() == Worker::kWorking; }, 2000);
        EXPECT_NEAR(ticks, row.ticks, 1) << row.stamina;
        EXPECT_NEAR(worker->GetStamina(), row.stamina - row.tired, 0.05f) << row.stamina << row.broken;
        EXPECT_EQ(worker->GetItem(), "0102");
        EXPECT_EQ(TakeSounds(), std::vector<std::string>{"worker_finish"});
        EXPECT_EQ(tutorial.events, std::vector<int>{7});
        // The boss takes the product.
        ASSERT_TRUE(Handshake(boss, worker));
        EXPECT_EQ(boss->GetItem(), "0102");
    }
}

TEST_F(WorkerTest, AZeroWorkTimeFinishesAtOnceEvenWithoutTime)
{
    World().workerParams["w1"].worker_work_time_g = 0;
    Worker* zero = AddWorker("worker05a");
    zero->SetTransform("0100", "0300");
    zero->SetItem("0102");
    zero->SetState(Worker::kWorking);
    // It has no table (none is named "table05a"): the table's events are
    // skipped. The screen's update never runs the objects with a frame time
    // of 0 (it is 0 only while the day is stopped); the worker's own update
    // does.
    gFrameDelta = 0;
    zero->Update();
    EXPECT_EQ(zero->GetState(), Worker::kIdle);
    EXPECT_EQ(zero->GetItem(), "0302");
    EXPECT_TRUE(zero->GetWorkProgress() == zero->GetWorkProgress());
}

TEST_F(WorkerTest, BreaksFollowTheDrawnTimeAtTheMiniBarUnlessTheBossStandsAtTheTable)
{
    // Without a mini bar nobody wants a break, and one sent has no seat.
    Ticks(7000);
    EXPECT_EQ(worker->GetState(), Worker::kIdle);
    worker->SetState(Worker::kWantsBreak);
    worker->SetState(Worker::kOnBreak);
    EXPECT_EQ(worker->GetState(), Worker::kWantsBreak);
    EXPECT_TRUE(worker->IsVisible());

    MiniBar* bar = Add<MiniBar>("mini_bar", "mini_bar");
    ASSERT_EQ(gMiniBar, bar);
    // The boss stands idle at the first worker's table.
    WalkBossTo("table02a");
    for (Worker* who : {worker, neighbour}) {
        who->SetActive(false);
        who->SetActive(true);
    }
    const float drawn = neighbour->GetBreakTimer();
    EXPECT_GE(drawn, 35);
    EXPECT_LE(drawn, 65);
    const int idle = TicksWhile([this] { return neighbour->GetState() == Worker::kIdle; });
    EXPECT_NEAR(idle, int((drawn - 5) * 100), 2);
    EXPECT_EQ(neighbour->GetState(), Worker::kWantsBreak);
    std::string word;
    EXPECT_TRUE(neighbour->GetBubbleContent(nullptr, &word));
    EXPECT_EQ(word, "coffee");
    const int intent = TicksWhile([this] { return neighbour->GetState() == Worker::kWantsBreak; });
    EXPECT_NEAR(intent, 500, 2);
    EXPECT_EQ(neighbour->GetState(), Worker::kOnBreak);
    EXPECT_FALSE(neighbour->IsVisible());
    EXPECT_EQ(bar->GetSeated(0), neighbour);
    // Back after 8 s, rested; meanwhile its bubble counts the break down.
    StatusBubble* bubble = Fixture<StatusBubble>("worker04a_bubble");
    ASSERT_NE(bubble, nullptr);
    std::vector<std::string> shown;
    const int away = TicksWhile([&] {
        const std::string& timer = bubble->GetTypePart()->GetAnimationName();
        if (neighbour->GetState() == Worker::kOnBreak && (shown.empty() || shown.back() != timer))
            shown.push_back(timer);
        return neighbour->GetState() == Worker::kOnBreak;
    });
    EXPECT_NEAR(away, 800, 2);
    EXPECT_EQ(shown, (std::vector<std::string>{"timer00", "timer01", "timer02", "timer03", "timer04"}));
    EXPECT_TRUE(neighbour->IsVisible());
    EXPECT_FLOAT_EQ(neighbour->GetStamina(), 100);
    // Meanwhile the worker by the boss never wanted one, and works without
    // tiring while he stands there.
    EXPECT_EQ(worker->GetState(), Worker::kIdle);
    EXPECT_GT(worker->GetBreakTimer(), 30);
    boss->SetItem("paper");
    ASSERT_TRUE(Handshake(boss, worker));
    ASSERT_EQ(worker->GetState(), Worker::kWorking);
    EXPECT_NEAR(TicksWhile([this] { return worker->GetState() == Worker::kWorking; }), 200, 1);
    EXPECT_FLOAT_EQ(worker->GetStamina(), 100); // 98 without him
    SetStamina(worker, 50); // nor does anything else take stamina
    EXPECT_FLOAT_EQ(worker->GetStamina(), 100);
    // A break of no length: its meter reads 0, never a NaN.
    World().levelParams.worker_break_duration_timeout = 0;
    worker->SetItem("");
    worker->SetState(Worker::kWantsBreak);
    worker->SetState(Worker::kOnBreak);
    ASSERT_EQ(worker->GetState(), Worker::kOnBreak);
    float meter = -1;
    EXPECT_FALSE(worker->GetMeterValue(&meter));
    EXPECT_EQ(meter, 0);
}

TEST_F(WorkerTest, AFourthGuestTakesTheFirstFreedSeat)
{
    MiniBar* bar = Add<MiniBar>("mini_bar", "mini_bar");
    std::vector<Worker*> guests{worker, neighbour, AddWorker("worker05a"), AddWorker("worker06a")};
    for (Worker* guest : guests) {
        guest->SetState(Worker::kWantsBreak);
        guest->SetState(Worker::kOnBreak);
        Tick(); // each arrives a tick later
    }
    EXPECT_EQ(bar->GetSeated(0), guests[0]);
    EXPECT_EQ(bar->GetSeated(2), guests[2]);
    EXPECT_EQ(bar->GetGuests().size(), 4u);
    TicksWhile([&] { return guests[0]->GetState() == Worker::kOnBreak; }, 2000);
    EXPECT_EQ(bar->GetSeated(0), guests[3]);
    EXPECT_FLOAT_EQ(guests[0]->GetStamina(), 100);
    // A worker leaving the office leaves its seat.
    delete guests[3];
    EXPECT_EQ(bar->GetSeated(0), nullptr);
    EXPECT_EQ(bar->GetGuests().size(), 2u);
}

TEST_F(WorkerTest, ASnoreSendsAWeakNeighbourToSleepAndTheBossWakesTheSleeper)
{
    World().workerParams["w1"].worker_stamina_up_speed = 0;
    Worker* strong = AddWorker("worker05a", 50);
    SetStamina(neighbour, 2); // 4 when the snore comes

    PutToSleep(worker);
    ASSERT_EQ(worker->GetState(), Worker::kAsleep);
    std::string word;
    EXPECT_TRUE(worker->GetBubbleContent(nullptr, &word));
    EXPECT_EQ(word, "sleep");
    const int ticks = TicksWhile([this] { return !worker->IsSnoring(); }, 1000);
    EXPECT_NEAR(ticks, 201, 1);
    EXPECT_TRUE(worker->GetBubbleContent(nullptr, &word));
    EXPECT_EQ(word, "snore");
    EXPECT_EQ(neighbour->GetState(), Worker::kAsleep);
    EXPECT_FLOAT_EQ(strong->GetStamina(), 45);
    // The boss wakes a sleeper: +30; working again (taking up its paper),
    // or idle when its product is made; he reproaches with "wake_up".
    WalkBossTo("shelving01");
    const struct {
        const char* item;
        int32_t after;
        std::vector<std::string> sounds;
    } rows[] = {{"", Worker::kWorking, {"take_paper", "wake_up"}}, {"0102", Worker::kIdle, {"wake_up"}}};
    for (const auto& row : rows) {
        PutToSleep(worker);
        worker->SetItem(row.item);
        calls.clear();
        boss->SetItem("");
        int answer = -1;
        ASSERT_TRUE(Handshake(boss, worker, &answer));
        EXPECT_EQ(answer, Worker::kAsleep);
        EXPECT_FLOAT_EQ(worker->GetStamina(), 30) << row.item;
        EXPECT_EQ(worker->GetState(), row.after) << row.item;
        EXPECT_EQ(boss->GetAnimationName(), "boss_reproach");
        EXPECT_EQ(TakeSounds(), row.sounds) << row.item;
        TicksWhile([this] { return boss->IsBusy(); }, 2000);
        EXPECT_EQ(boss->GetAnimationName(), "boss_idle_empty");
    }
}

TEST_F(WorkerTest, MoneyWhileWorkingAddsStaminaAndProtectsForTenSecondsWithItsTint)
{
    // Long work, so it tires all along.
    World().workerParams["w1"].worker_work_time_g = 1000;
    World().workerParams["w1"].worker_work_time_y = 1000;
    worker->SetActive(false);
    worker->SetActive(true);
    StatusHp* meter = Fixture<StatusHp>("worker02a_hp");
    ASSERT_NE(meter, nullptr);
    SetStamina(worker, 50);
    boss->SetItem("paper");
    ASSERT_TRUE(Handshake(boss, worker));
    ASSERT_EQ(worker->GetState(), Worker::kWorking);
    EXPECT_EQ(meter->TintFor(50), StatusHp::kYellowTint);
    boss->SetItem("money");
    calls.clear();
    ASSERT_TRUE(Handshake(boss, worker));
    EXPECT_EQ(boss->GetItem(), "");
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"boss_give_money"});
    EXPECT_FLOAT_EQ(worker->GetStamina(), 65);
    EXPECT_TRUE(worker->IsProtected());
    EXPECT_EQ(meter->TintFor(worker->GetStamina()), StatusHp::kProtectedTint);
    EXPECT_EQ(StatusHp::kProtectedTint & 0xFFFFFF, (71u << 16) | (214u << 8) | 255u);
    // Working does not tire while protected.
    Ticks(999);
    EXPECT_FLOAT_EQ(worker->GetStamina(), 65);
    Ticks(2);
    EXPECT_FALSE(worker->IsProtected());
    Ticks(100);
    EXPECT_LT(worker->GetStamina(), 65);
    EXPECT_EQ(meter->TintFor(worker->GetStamina()), StatusHp::kGreenTint);
}

TEST_F(WorkerTest, NameLookUpsTakeTheLongestNameAndForgetTheDeparted)
{
    Worker* one = AddWorker("worker_1");
    Worker* twelve = AddWorker("worker_12");
    EXPECT_EQ(FindWorkerByNamePrefix("worker_12_hp"), twelve);
    EXPECT_EQ(FindWorkerByNamePrefix("worker_1_hp"), one);
    EXPECT_EQ(FindWorkerByNamePrefix("worker02a_hp"), worker);
    EXPECT_EQ(FindWorkerByNamePrefix("nobody_hp"), nullptr);
    Client* three = Fixture<Client>("client03");
    EXPECT_EQ(FindClientByName("client03_bubble"), three);
    // Names without a place number 1..8 register nowhere.
    Client* first = Add<Client>("client", "client01");
    Add<Client>("client", "client1");
    Add<Client>("client", "client_09");
    EXPECT_EQ(GetClient(0), first);
    EXPECT_EQ(GetClient(2), three);
    for (int place = 4; place < 8; ++place)
        EXPECT_EQ(GetClient(place), nullptr) << place;
    // A destroyed client leaves the table, a destroyed worker the list.
    delete first;
    EXPECT_EQ(GetClient(0), nullptr);
    EXPECT_EQ(FindClientByName("client01_bubble"), nullptr);
    delete twelve;
    EXPECT_EQ(World().workers.size(), 3u);
    EXPECT_EQ(FindWorkerByNamePrefix("worker_12_hp"), one);
}

} // namespace
} // namespace peopletest
