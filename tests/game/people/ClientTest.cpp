// Clients in the running office day: arrival, the order, payment by
// patience, the service bonus, scandals and leaving in anger, the stereo,
// the VIP's call, the tutorial's freeze, and what a client without a visit
// or a place does.
#include "game/world/PeriodItem.h"
#include "game/world/Phone.h"
#include "tests/game/people/PeopleFixture.h"

#include <climits>
#include <limits>

namespace peopletest {
namespace {

class ClientTest : public PeopleTest {
protected:
    void SetUp() override
    {
        PeopleTest::SetUp();
        boss = TheBoss();
        client = Fixture<Client>("client03");
        other = Fixture<Client>("client04");
        ASSERT_TRUE(boss && client && other);
    }
    // The boss greets the client (both halves of the visit).
    void Greet(Client* who) { ASSERT_TRUE(Handshake(boss, who)); }
    // The client greeted and its first order decided.
    void UntilOrdered(Client* who)
    {
        Greet(who);
        TicksWhile([who] { return who->GetState() != Client::kWaitingForOrder; }, 1000);
        ASSERT_EQ(who->GetState(), Client::kWaitingForOrder);
    }
    // The boss brings the item; true when the client takes it.
    bool Serve(Client* who, const std::string& item)
    {
        boss->SetItem(item);
        return Handshake(boss, who);
    }

    Boss* boss = nullptr;
    Client* client = nullptr; // place 2
    Client* other = nullptr;  // place 3
};

TEST_F(ClientTest, AClientArrivesThinksOrdersAndLeavesContentAfterItsOrders)
{
    const std::vector<std::string> orders{"0102", "0201", "0302"};
    ASSERT_TRUE(SpawnClient("regular", false, 2, orders));
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"client_spawn"});
    EXPECT_TRUE(client->IsVisible());
    Tick();
    ASSERT_EQ(client->GetState(), Client::kWaitingForBoss);
    std::string word;
    EXPECT_TRUE(client->GetBubbleContent(nullptr, &word));
    EXPECT_EQ(word, "ready");
    Greet(client);
    EXPECT_EQ(rush, (std::vector<RushReport>{{1, "client03"}}));
    // Thinking for the decision time, then the first order.
    Tick();
    EXPECT_EQ(client->GetCurrentAnim(), Client::kIdleThinking);
    const int thinking = 1 + TicksWhile([this] { return client->GetItem().empty(); }, 1000);
    EXPECT_NEAR(thinking, 200, 1);
    EXPECT_EQ(client->GetItem(), "0102");
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"client_ready"});
    Tick();
    int32_t paid = 0;
    for (const std::string& order : orders) {
        ASSERT_EQ(client->GetState(), Client::kWaitingForOrder) << order;
        EXPECT_EQ(client->GetItem(), order);
        // A wrong product is refused and breaks the rush chain.
        rush.clear();
        EXPECT_FALSE(Serve(client, "0999")) << order;
        EXPECT_EQ(rush, (std::vector<RushReport>{{0, "client03"}}));
        EXPECT_EQ(screen->GetBonusStages().GetLinks(), 0);
        EXPECT_EQ(boss->GetItem(), "0999");
        ASSERT_TRUE(Serve(client, order));
        EXPECT_EQ(boss->GetItem(), "");
        const int32_t before = Money();
        Ticks(2); // served, paying
        paid += Money() - before;
        Tick(); // the next order, or leaving
    }
    EXPECT_EQ(paid, 300);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"client_positiv"});
    Tick();
    EXPECT_EQ(client->GetState(), Client::kPlaceFree);
    EXPECT_FALSE(client->IsVisible());
    // Spawned, greeted, ordered with more to come.
    EXPECT_EQ(tutorial.events, (std::vector<int>{1, 3, 9}));
}

TEST_F(ClientTest, AClientPaysByItsPatience)
{
    const struct {
        float patience;
        int32_t paid;
    } rows[] = {{60, 100}, {59.99f, 60}, {30, 60}, {29.99f, 30}};
    for (const auto& row : rows) {
        ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
        Tick();
        UntilOrdered(client);
        ASSERT_TRUE(Serve(client, "0102"));
        client->SetPatience(row.patience);
        const int32_t before = Money();
        Ticks(2);
        EXPECT_EQ(Money() - before, row.paid) << row.patience;
        EXPECT_EQ(client->GetState(), Client::kLeaving);
        Tick();
        EXPECT_EQ(client->GetState(), Client::kPlaceFree);
    }
}

TEST_F(ClientTest, ServiceWithinItsTimeAddsPatienceAlsoForALaterClientAtThePlace)
{
    const struct {
        int waited; // ticks between the order and the service
        float gain;
    } rows[] = {{1500, 10}, {1500, 10}, {2100, 0}};
    for (const auto& row : rows) {
        ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
        Tick();
        UntilOrdered(client);
        Ticks(row.waited);
        client->SetPatience(50);
        ASSERT_TRUE(Serve(client, "0102"));
        EXPECT_FLOAT_EQ(client->GetPatience(), 50 + row.gain) << row.waited;
        Ticks(3);
        EXPECT_EQ(client->GetState(), Client::kPlaceFree);
    }
}

TEST_F(ClientTest, ScandalsAt40SecondsThenEveryFiveAndOutInAngerAt50CostingMoneyAndALife)
{
    BeginSurvivalDay();
    client = Fixture<Client>("client03");
    other = Fixture<Client>("client04");
    ASSERT_EQ(screen->GetLives(), 3);
    World().clientParams["calm"] = World().clientParams["regular"];
    World().clientParams["calm"].client_patience_speed = 0;
    OfficeScreen::AddMoney(30);
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    ASSERT_TRUE(SpawnClient("calm", false, 3, {"0102"}));
    calls.clear();
    const int first = TicksWhile([this] { return !client->IsScandalShown(); }, 5000);
    EXPECT_NEAR(first, 4001, 2);
    EXPECT_FLOAT_EQ(other->GetPatience(), 90);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"client_scandal"});
    const int second = TicksWhile([this] { return other->GetPatience() > 85; }, 1000);
    EXPECT_NEAR(second, 500, 2);
    EXPECT_FLOAT_EQ(other->GetPatience(), 80);
    const int out = TicksWhile([this] { return client->GetState() != Client::kLeaving; }, 1000);
    EXPECT_NEAR(first + second + out, 5001, 3);
    EXPECT_EQ(Money(), 0); // 30 - 50, floored
    EXPECT_EQ(screen->GetLives(), 2);
    const std::vector<std::string> sounds = TakeSounds();
    EXPECT_EQ(sounds.back(), "client_negativ");
    Tick();
    EXPECT_EQ(client->GetState(), Client::kPlaceFree);
}

TEST_F(ClientTest, TheStereoShownAndNotReadyHalvesTheFall)
{
    World().levelParams.air_conditioner_timeout_min = World().levelParams.air_conditioner_timeout_max = 1000;
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    Ticks(100);
    EXPECT_NEAR(client->GetPatience(), 98, 0.01f);
    PeriodItem* stereo = Add<PeriodItem>("period_item", "stereo_system");
    ASSERT_FALSE(stereo->IsReady());
    Ticks(100);
    EXPECT_NEAR(client->GetPatience(), 97, 0.01f);
    // Out of sight it no longer calms.
    stereo->SetVisibleFlag(false);
    Ticks(100);
    EXPECT_NEAR(client->GetPatience(), 95, 0.01f);
}

TEST_F(ClientTest, AnUnansweredVipCostsMoneyAndALifeAndNeverShows)
{
    BeginSurvivalDay();
    client = Fixture<Client>("client03");
    Phone* phone = Add<Phone>("phone", "phone");
    OfficeScreen::AddMoney(200);
    ASSERT_TRUE(SpawnClient("regular", true, 2, {"0102"}));
    EXPECT_TRUE(phone->IsRinging());
    EXPECT_FALSE(client->IsVisible());
    std::string word;
    EXPECT_TRUE(phone->GetBubbleContent(nullptr, &word));
    EXPECT_EQ(word, "regular");
    const struct {
        int ticks;
        float meter;
    } meters[] = {{0, 100}, {750, 50}, {749, 0.0667f}};
    for (const auto& row : meters) {
        Ticks(row.ticks);
        float meter = -1;
        EXPECT_TRUE(phone->GetMeterValue(&meter));
        EXPECT_NEAR(meter, row.meter, 0.2f) << row.ticks;
        EXPECT_FALSE(client->IsVisible());
    }
    EXPECT_EQ(Money(), 200);
    Ticks(2);
    EXPECT_EQ(Money(), 150);
    EXPECT_EQ(screen->GetLives(), 2);
    EXPECT_FALSE(phone->IsRinging());
    Ticks(100);
    EXPECT_FALSE(client->IsVisible());
    EXPECT_EQ(client->GetState(), Client::kPlaceFree);
    // A ring timeout of 0 writes a meter of 0, never a NaN.
    World().levelParams.ring_timeout = 0;
    ASSERT_TRUE(SpawnClient("regular", true, 2, {"0102"}));
    float meter = -1;
    EXPECT_FALSE(client->GetMeterValue(&meter));
    EXPECT_EQ(meter, 0);
}

TEST_F(ClientTest, AnAnsweredVipComesInAfterTheCall)
{
    // A first walk, so that he faces where he came from as in play.
    WalkBossTo("shelving01");
    boss->SetItem("");
    rush.clear();
    Phone* phone = Add<Phone>("phone", "phone");
    // A silent phone is refused, a failure.
    EXPECT_FALSE(Handshake(boss, phone));
    EXPECT_EQ(rush, (std::vector<RushReport>{{0, "phone"}}));
    ASSERT_TRUE(SpawnClient("regular", true, 2, {"0102"}));
    Ticks(300); // the ring runs on
    EXPECT_TRUE(phone->IsStatusShown());
    float meter = 0;
    ASSERT_TRUE(phone->GetMeterValue(&meter));
    EXPECT_NEAR(meter, 80, 0.1f);
    rush.clear();
    ASSERT_TRUE(Handshake(boss, phone));
    EXPECT_EQ(rush, (std::vector<RushReport>{{1, "phone"}}));
    EXPECT_FALSE(phone->IsRinging());
    EXPECT_EQ(boss->GetAnimationName(), "boss_phone");
    // The caller waits for the end of "boss_phone" (the countdown runs on).
    EXPECT_FALSE(client->IsVisible());
    TicksWhile([this] { return boss->IsBusy(); }, 2000);
    EXPECT_TRUE(client->IsVisible());
    EXPECT_EQ(phone->GetCaller(), nullptr);
    Tick();
    EXPECT_EQ(client->GetState(), Client::kWaitingForBoss);
    Ticks(2000);
    EXPECT_EQ(Money(), 0);
}

TEST_F(ClientTest, TheTutorialForbiddingActionOneFreezesPatience)
{
    tutorial.forbidden = 1;
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    Ticks(1000);
    EXPECT_FLOAT_EQ(client->GetPatience(), 100);
    tutorial.forbidden = -1;
    Ticks(100);
    EXPECT_NEAR(client->GetPatience(), 98, 0.01f);
}

TEST_F(ClientTest, AClientWithoutAVisitOrAPlaceDoesNothing)
{
    // Switched on by a stage change, never brought in.
    client->SetActive(true);
    EXPECT_FALSE(client->Interact(boss, true, nullptr));
    Ticks(10);
    EXPECT_EQ(client->GetState(), Client::kPlaceFree);
    EXPECT_EQ(Money(), 0);
    // A place without a client spawns nothing and tells the tutorial nothing.
    EXPECT_FALSE(SpawnClient("regular", false, 5, {"0102"}));
    EXPECT_TRUE(tutorial.events.empty());
}

TEST_F(ClientTest, PaymentsSaturateAtTheMoneysLimits)
{
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    const struct {
        float amount;
        int32_t money;
    } rows[] = {{1e10f, INT_MAX}, {-1e10f, 0}, {std::numeric_limits<float>::quiet_NaN(), 0}, {120.9f, 120}};
    for (const auto& row : rows) {
        client->Pay(row.amount);
        EXPECT_EQ(Money(), row.money) << row.amount;
    }
}

} // namespace
} // namespace peopletest
