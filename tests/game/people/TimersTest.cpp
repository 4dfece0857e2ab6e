#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/MiniBar.h"
#include "game/world/ObjectPart.h"
#include "game/world/PeriodItem.h"
#include "game/world/Phone.h"
#include "game/world/TradePlate.h"
#include "game/world/Worker.h"
#include "tests/game/people/PeopleFixture.h"

namespace peopletest {
namespace {

// Smooth steps of 1.0 until the walker is no longer busy; the count.
int BusyTicks(Person* walker)
{
    int ticks = 0;
    while (walker->IsBusy() && ticks < 5000) {
        walker->UpdateSmooth(1.0f);
        ++ticks;
    }
    return ticks;
}

class TimersTest : public PeopleTest {
protected:
    Worker* MakeWorker(const std::string& name, float stamina = 100)
    {
        Worker* worker = Make<Worker>(name);
        worker->SetSkin("w1", false);
        worker->SetActive(true);
        worker->SetTransform("0100", "0300");
        worker->ChangeStamina(stamina - 100);
        return worker;
    }
    Boss* MakeBoss(const std::string& attributes = "")
    {
        Boss* boss = Make<Boss>("boss", attributes);
        boss->SetActive(true);
        return boss;
    }
};

TEST_F(TimersTest, AConferenceKeepsTheBossBusyThenReachesEveryVisibleWorker)
{
    Boss* boss = MakeBoss();
    Worker* awake = MakeWorker("worker01", 50);
    Worker* asleep = MakeWorker("worker02", 0.5f);
    Worker* hidden = MakeWorker("worker03", 50);
    asleep->ChangeStamina(-1);
    ASSERT_EQ(asleep->GetState(), Worker::kAsleep);
    hidden->SetVisibleFlag(false);
    SceneObject* place = Make<SceneObject>("conference_place");
    int word = 0;
    ASSERT_TRUE(boss->Interact(place, true, &word));
    boss->Interact(place, false, &word);
    EXPECT_NEAR(BusyTicks(boss), 300, 1);
    EXPECT_FLOAT_EQ(awake->GetStamina(), 70);
    EXPECT_FLOAT_EQ(awake->GetProtection(), 10);
    EXPECT_FLOAT_EQ(hidden->GetStamina(), 50);
    // The sleeper is woken (+20 and the reproof's +30) and, its product
    // not made, set working.
    EXPECT_FLOAT_EQ(asleep->GetStamina(), 50);
    EXPECT_EQ(asleep->GetState(), Worker::kWorking);
    EXPECT_EQ(boss->GetOrientWord(), "b");
}

TEST_F(TimersTest, ADrinkSpeedsUpTheBossForTenSecondsAndASecondOneRestartsIt)
{
    Boss* boss = MakeBoss();
    auto* body = new ObjectPart(boss);
    body->LoadFromXml(Parse("<part name='boss'/>"));
    boss->AddPart(body);
    EXPECT_FLOAT_EQ(boss->GetMoveSpeed(), 200);
    SceneObject* cupboard = Make<SceneObject>("cupboard");
    int word = 0;
    ASSERT_TRUE(boss->Interact(cupboard, true, &word));
    boss->Interact(cupboard, false, &word);
    EXPECT_FLOAT_EQ(boss->GetMoveSpeed(), 200); // not before the drink ends
    boss->OnAnimationEnd(body, "boss_drink");
    EXPECT_FLOAT_EQ(boss->GetMoveSpeed(), 300);
    Ticks(boss, 600);
    EXPECT_FLOAT_EQ(boss->GetMoveSpeed(), 300);
    boss->OnAnimationEnd(body, "boss_drink");
    Ticks(boss, 999);
    EXPECT_FLOAT_EQ(boss->GetMoveSpeed(), 300);
    Ticks(boss, 2);
    EXPECT_FLOAT_EQ(boss->GetMoveSpeed(), 200);
}

TEST_F(TimersTest, AClientWithThreeOrdersPaysThriceThenLeaves)
{
    Client* client = Make<Client>("client01");
    Boss boss;
    boss.Load(Parse("<object name='boss'/>"));
    const std::vector<std::string> orders{"0102", "0201", "0302"};
    ASSERT_TRUE(SpawnClient("regular", false, 0, orders));
    Ticks(client, 1);
    int word = 0;
    ASSERT_TRUE(client->Interact(&boss, true, &word));
    client->Interact(&boss, false, &word);
    Ticks(client, 202);
    for (const std::string& order : orders) {
        ASSERT_EQ(client->GetState(), Client::kWaitingForOrder) << order;
        EXPECT_EQ(client->GetItem(), order);
        // A wrong product is refused and breaks the rush chain.
        boss.SetItem("0999");
        screen.rush.clear();
        EXPECT_FALSE(client->Interact(&boss, true, &word));
        ASSERT_EQ(screen.rush.size(), 1u);
        EXPECT_EQ(screen.rush[0].first, 0);
        boss.SetItem(order);
        ASSERT_TRUE(client->Interact(&boss, true, &word));
        client->Interact(&boss, false, &word);
        Ticks(client, 3); // served, paying, the next order
    }
    EXPECT_EQ(screen.payments.size(), 3u);
    EXPECT_EQ(client->GetState(), Client::kPlaceFree);
    EXPECT_EQ(screen.events, (std::vector<int>{1, 3, 9}));
}

TEST_F(TimersTest, ServiceWithinItsTimeAddsPatienceAlsoForALaterClient)
{
    Client* client = Make<Client>("client01");
    Boss boss;
    boss.Load(Parse("<object name='boss'/>"));
    for (int visit = 0; visit < 2; ++visit) {
        ASSERT_TRUE(SpawnClient("regular", false, 0, {"0102"}));
        Ticks(client, 1);
        int word = 0;
        ASSERT_TRUE(client->Interact(&boss, true, &word));
        client->Interact(&boss, false, &word);
        Ticks(client, 203);
        ASSERT_EQ(client->GetState(), Client::kWaitingForOrder);
        Ticks(client, 1500); // 15 s of waiting
        const float before = client->GetPatience();
        boss.SetItem("0102");
        ASSERT_TRUE(client->Interact(&boss, true, &word));
        client->Interact(&boss, false, &word);
        EXPECT_FLOAT_EQ(client->GetPatience(), before + 10) << visit;
        Ticks(client, 3);
        EXPECT_EQ(client->GetState(), Client::kPlaceFree);
    }
}

TEST_F(TimersTest, TheStereoVisibleAndNotReadyHalvesTheFall)
{
    Client* client = Make<Client>("client01");
    PeriodItem* stereo = Make<PeriodItem>("stereo_system");
    ASSERT_TRUE(SpawnClient("regular", false, 0, {"0102"}));
    Ticks(client, 100);
    EXPECT_NEAR(client->GetPatience(), 98, 0.01f);
    stereo->SetActive(true);
    stereo->SetVisibleFlag(true);
    Ticks(client, 100);
    EXPECT_NEAR(client->GetPatience(), 97, 0.01f);
}

TEST_F(TimersTest, BreaksFollowTheDrawnTimeUnlessTheBossStandsAtTheTable)
{
    SceneObject* bar = Make<MiniBar>("mini_bar");
    bar->SetActive(true);
    bar->SetVisibleFlag(true);
    Worker* worker = MakeWorker("worker01");
    const float drawn = worker->GetBreakTimer();
    EXPECT_GE(drawn, 35);
    EXPECT_LE(drawn, 65);
    int ticks = 0;
    while (worker->GetState() == Worker::kIdle && ticks < 10000) {
        worker->Update();
        ++ticks;
    }
    EXPECT_EQ(worker->GetState(), Worker::kWantsBreak);
    EXPECT_NEAR(ticks, int((drawn - 5) * 100), 2);
    std::string word;
    EXPECT_TRUE(worker->GetBubbleContent(nullptr, &word));
    EXPECT_EQ(word, "coffee");
    Ticks(worker, 501);
    EXPECT_EQ(worker->GetState(), Worker::kOnBreak);
    EXPECT_FALSE(worker->IsVisible());
    // The boss idle at another worker's table postpones that one's break.
    MakeBoss("start_point='table02'");
    Worker* other = MakeWorker("worker02");
    Ticks(other, 7000);
    EXPECT_EQ(other->GetState(), Worker::kIdle);
    EXPECT_GT(other->GetBreakTimer(), 35);
}

TEST_F(TimersTest, AFourthGuestTakesTheFirstFreedSeat)
{
    MiniBar* bar = Make<MiniBar>("mini_bar");
    bar->SetActive(true);
    bar->SetVisibleFlag(true);
    std::vector<Worker*> workers;
    for (int i = 1; i <= 4; ++i) {
        Worker* worker = MakeWorker("worker0" + std::to_string(i));
        worker->SetState(Worker::kWantsBreak);
        worker->SetState(Worker::kOnBreak);
        workers.push_back(worker);
        bar->Update(); // each arrives a tick later
    }
    EXPECT_EQ(bar->GetSeated(0), workers[0]);
    EXPECT_EQ(bar->GetSeated(2), workers[2]);
    int ticks = 0;
    while (workers[0]->GetState() == Worker::kOnBreak && ticks < 2000) {
        bar->Update();
        ++ticks;
    }
    EXPECT_EQ(bar->GetSeated(0), workers[3]);
    EXPECT_FLOAT_EQ(workers[0]->GetStamina(), 100);
    // A worker leaving the office leaves its seat.
    delete workers[3];
    EXPECT_EQ(bar->GetSeated(0), nullptr);
    EXPECT_EQ(bar->GetGuests().size(), 2u);
}

TEST_F(TimersTest, ASnoreSendsAWeakNeighbourToSleepAndTheBossWakesIt)
{
    world.workerParams["w1"].worker_stamina_up_speed = 0;
    Worker* sleeper = MakeWorker("worker01", 0.5f);
    Worker* weak = MakeWorker("worker02", 4);
    Worker* strong = MakeWorker("worker03", 50);
    sleeper->ChangeStamina(-1);
    ASSERT_EQ(sleeper->GetState(), Worker::kAsleep);
    int ticks = 0;
    while (!sleeper->IsSnoring() && ticks < 1000) {
        sleeper->Update();
        ++ticks;
    }
    EXPECT_NEAR(ticks, 201, 1);
    EXPECT_EQ(weak->GetState(), Worker::kAsleep);
    EXPECT_FLOAT_EQ(strong->GetStamina(), 45);
    // The boss wakes the sleeper: +30, idle when done, else working.
    Boss* boss = MakeBoss();
    int word = 0;
    ASSERT_TRUE(sleeper->Interact(boss, true, &word));
    EXPECT_EQ(word, Worker::kAsleep);
    sleeper->Interact(boss, false, &word);
    EXPECT_FLOAT_EQ(sleeper->GetStamina(), 30);
    EXPECT_EQ(sleeper->GetState(), Worker::kWorking);
}

TEST_F(TimersTest, MoneyWhileWorkingProtectsForTenSeconds)
{
    // Long work, so it tires all along.
    world.workerParams["w1"].worker_work_time_g = 1000;
    world.workerParams["w1"].worker_work_time_y = 1000;
    Worker* worker = MakeWorker("worker01", 50);
    worker->SetItem("0102");
    worker->SetState(Worker::kWorking);
    Boss* boss = MakeBoss();
    boss->SetItem("money");
    int word = 0;
    ASSERT_TRUE(worker->Interact(boss, true, &word));
    ASSERT_TRUE(boss->Interact(worker, true, &word));
    worker->Interact(boss, false, &word);
    boss->Interact(worker, false, &word);
    EXPECT_EQ(boss->GetItem(), "");
    EXPECT_FLOAT_EQ(worker->GetStamina(), 65);
    EXPECT_TRUE(worker->IsProtected());
    // Working does not tire while protected.
    Ticks(worker, 999);
    EXPECT_FLOAT_EQ(worker->GetStamina(), 65);
    Ticks(worker, 102);
    EXPECT_FALSE(worker->IsProtected());
    EXPECT_LT(worker->GetStamina(), 65);
}

} // namespace
} // namespace peopletest

namespace peopletest {
namespace {

TEST_F(TimersTest, AnAnsweredVipComesInAfterTheCall)
{
    Boss* boss = MakeBoss();
    Phone* phone = Make<Phone>("phone");
    phone->SetActive(true);
    Client* client = Make<Client>("client01");
    int word = 0;
    // A silent phone is refused, a failure.
    EXPECT_FALSE(boss->Interact(phone, true, &word));
    ASSERT_TRUE(SpawnClient("regular", true, 0, {"0102"}));
    Ticks(client, 300); // the ring runs on
    EXPECT_TRUE(phone->IsStatusShown());
    float meter = 0;
    ASSERT_TRUE(phone->GetMeterValue(&meter));
    EXPECT_NEAR(meter, 80, 0.1f);
    ASSERT_TRUE(phone->Interact(boss, true, &word));
    ASSERT_TRUE(boss->Interact(phone, true, &word));
    phone->Interact(boss, false, &word);
    boss->Interact(phone, false, &word);
    EXPECT_FALSE(phone->IsRinging());
    EXPECT_FALSE(client->IsVisible());
    EXPECT_EQ(screen.rush.back().first, 1);
    BusyTicks(boss); // "boss_phone" over
    EXPECT_EQ(client->GetState(), Client::kJustArrived);
    EXPECT_TRUE(client->IsVisible());
    EXPECT_EQ(phone->GetCaller(), nullptr);
    Ticks(client, 2000);
    EXPECT_TRUE(screen.payments.empty());
    EXPECT_EQ(screen.livesLost, 0);
}

TEST_F(TimersTest, APlateListedBeforeItsWorkerStillTakesItsSkin)
{
    Specialization* plate = Make<Specialization>("spec02a", "worker='worker02a' table='table02a'");
    EXPECT_EQ(plate->GetWorkerObject(), nullptr);
    Worker* worker = Make<Worker>("worker02a");
    SceneObject* table = Make<SceneObject>("table02a");
    worker->ApplyLevelState(Parse("<object name='worker02a' transform_from='paper' transform_to='0302'/>"));
    plate->ApplyLevelState(Parse("<object name='spec02a'/>"));
    EXPECT_EQ(plate->GetWorkerObject(), worker);
    EXPECT_EQ(plate->GetTable(), table);
    EXPECT_EQ(plate->GetSkin(), "spec_l3t2");
    // A plate naming a table that is no worker's stands for nothing.
    Specialization* stray = Make<Specialization>("spec09", "worker='table02a'");
    stray->ApplyLevelState(Parse("<object name='spec09'/>"));
    EXPECT_EQ(stray->GetSkin(), "");
}

} // namespace
} // namespace peopletest
