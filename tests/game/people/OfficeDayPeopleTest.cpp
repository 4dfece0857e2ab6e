// The boss serving a client in the real office screen over the fixture
// office: clicks go through the screen's dispatch, the boss walks the
// fixture's walk graph, the worker makes the product and the client pays
// into the day's money.
#include "tests/game/people/PeopleFixture.h"

#include <functional>

namespace peopletest {
namespace {

class OfficeDayPeopleTest : public PeopleTest {
protected:
    // Ticks until the condition holds; false after the limit.
    bool TickUntil(const std::function<bool()>& done, int limit = 3000)
    {
        TicksWhile([&] { return !done(); }, limit);
        return done();
    }
};

TEST_F(OfficeDayPeopleTest, TheBossServesAClientThroughShelvingAndWorker)
{
    Boss* boss = ObjectAs<Boss>(gBoss);
    Client* client = ObjectAs<Client>(FindObject("client03"));
    Worker* worker = ObjectAs<Worker>(FindObject("worker02a"));
    ASSERT_TRUE(boss && client && worker);
    EXPECT_EQ(worker->GetTransformTo(), "0102");
    // A patient client: the walks cost no band of pay.
    World().clientParams["regular"].client_patience_speed = 0.01f;
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    Tick();
    EXPECT_EQ(client->GetState(), Client::kWaitingForBoss);
    EXPECT_TRUE(client->IsVisible());

    ClickAt("client_place03");
    ASSERT_TRUE(TickUntil([&] { return client->GetState() == Client::kDeciding; }));
    ASSERT_TRUE(TickUntil([&] { return client->GetState() == Client::kWaitingForOrder; }));
    EXPECT_EQ(client->GetItem(), "0102");

    ClickAt("shelving01");
    ASSERT_TRUE(TickUntil([&] { return boss->GetItem() == "paper"; }));
    ClickAt("table02a");
    ASSERT_TRUE(TickUntil([&] { return worker->GetState() == Worker::kWorking; }));
    EXPECT_EQ(boss->GetItem(), "");
    ASSERT_TRUE(TickUntil([&] { return worker->GetItem() == "0102" && worker->GetState() == Worker::kIdle; }));
    ClickAt("table02a");
    ASSERT_TRUE(TickUntil([&] { return boss->GetItem() == "0102"; }));
    const int32_t before = screen->GetMoney();
    ClickAt("client_place03");
    ASSERT_TRUE(TickUntil([&] { return client->GetState() == Client::kPlaceFree; }));
    EXPECT_EQ(boss->GetItem(), "");
    EXPECT_GE(screen->GetMoney() - before, 100);
    // What the day sounded like, in order.
    EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"client_spawn", "click", "client_ready", "click", "click",
                                               "take_paper", "worker_finish", "click", "take_paper", "click",
                                               "client_positiv"}));
}

TEST_F(OfficeDayPeopleTest, ASecondOfficeSeesNoneOfTheFirstOnesPeople)
{
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    Ticks(10);
    Client* first = GetClient(2);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetState(), Client::kWaitingForBoss);
    ReplaceScreen();
    Client* second = GetClient(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetState(), Client::kPlaceFree);
    EXPECT_FALSE(second->IsVisible());
    EXPECT_EQ(FindClientByName("client03_hp"), second);
    EXPECT_EQ(screen->GetWorld().workers.size(), 2u);
    EXPECT_EQ(FindWorkerByNamePrefix("worker02a_hp"), ObjectAs<Worker>(FindObject("worker02a")));
}

} // namespace
} // namespace peopletest
