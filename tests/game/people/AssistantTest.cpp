// The secretary and the engineer in the running office day: coffee by
// either path, the presentation, and the engineer's visit through the door.
#include "game/world/Door.h"
#include "game/world/Engineer.h"
#include "game/world/PeriodItem.h"
#include "game/world/Phone.h"
#include "game/world/Secretary.h"
#include "tests/game/people/PeopleFixture.h"

namespace peopletest {
namespace {

class AssistantTest : public PeopleTest {
protected:
    void SetUp() override
    {
        PeopleTest::SetUp();
        client = Fixture<Client>("client03");
        other = Fixture<Client>("client04");
        ASSERT_TRUE(client && other);
    }
    Client* client = nullptr;
    Client* other = nullptr;
};

TEST_F(AssistantTest, TheSecretaryServesCoffeeByEitherPath)
{
    PeriodItem* machine = Add<PeriodItem>("period_item", "coffeemachine", "thing='coffe_cup'");
    machine->SetReady(true);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"coffeemashine"});
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    client->SetPatience(50);
    calls.clear();
    // Waiting path: no client follows, the handshake fails and she stays.
    Secretary* secretary = Add<Secretary>("secretary", "secretary", "start_point='coffeemachine'");
    EXPECT_FALSE(Handshake(secretary, machine));
    EXPECT_EQ(secretary->GetItem(), "");
    EXPECT_TRUE(machine->IsReady());
    // The client queued: the cup at once, the machine reloading.
    secretary->EnqueueTarget(client);
    EXPECT_EQ(secretary->GetItem(), "coffe_cup");
    EXPECT_FALSE(machine->IsReady());
    ASSERT_TRUE(Handshake(secretary, client));
    EXPECT_FLOAT_EQ(client->GetPatience(), 75);
    EXPECT_EQ(client->GetCurrentAnim(), Client::kDrinkCoffee);
    EXPECT_EQ(secretary->GetItem(), "");
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"hp_up_coffee"});
    // Queued path: a client behind the machine; the machine's own half
    // makes it reload.
    machine->SetReady(true);
    Secretary* second = Add<Secretary>("secretary", "secretary", "start_point='hall'");
    second->EnqueueTarget(machine);
    second->EnqueueTarget(client);
    EXPECT_EQ(second->GetItem(), "");
    ASSERT_TRUE(Handshake(second, machine));
    EXPECT_EQ(second->GetItem(), "coffe_cup");
    EXPECT_FALSE(machine->IsReady());
    client->SetPatience(50);
    ASSERT_TRUE(Handshake(second, client));
    EXPECT_FLOAT_EQ(client->GetPatience(), 75);
    // The machine reloads in the day's time.
    Ticks(2);
    EXPECT_GT(machine->GetElapsed(), 0);
}

TEST_F(AssistantTest, APresentationReachesEveryClientPresentButTheCallerAfterItsTime)
{
    Add<Phone>("phone", "phone");
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    ASSERT_TRUE(SpawnClient("regular", true, 3, {"0102"}));
    tutorial.forbidden = 1; // patience holds still but for the presentation
    client->SetPatience(50);
    other->SetPatience(50);
    Secretary* secretary = Add<Secretary>("secretary", "secretary");
    PeriodItem* place = Add<PeriodItem>("period_item", "presentation_place");
    place->SetReady(true);
    calls.clear();
    ASSERT_TRUE(Handshake(secretary, place));
    EXPECT_FALSE(place->IsReady());
    EXPECT_TRUE(secretary->IsBusy());
    tutorial.forbidden = -1;
    World().clientParams["regular"].client_patience_speed = 0;
    const int ticks = TicksWhile([secretary] { return secretary->IsBusy(); }, 1000);
    EXPECT_NEAR(ticks, 300, 1);
    EXPECT_FLOAT_EQ(client->GetPatience(), 70);
    EXPECT_FLOAT_EQ(other->GetPatience(), 50);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"hp_up_presentation"});
}

TEST_F(AssistantTest, TheEngineerComesThroughTheDoorRepairsForFiveSecondsAndHidesAtHome)
{
    WriteAnm("door", Animation("dooridle", "cycle") + Animation("dooropen", "once", 5) +
                         Animation("doorclose", "once", 5));
    World().levelParams.air_conditioner_timeout_min = World().levelParams.air_conditioner_timeout_max = 1000;
    Engineer* engineer = Add<Engineer>("engineer", "engineer", "start_point='engineer_home'");
    PeriodItem* conditioner = Add<PeriodItem>("period_item", "air_conditioner");
    // A target that is no walker (out of sight, so the door may close) is
    // passed over.
    Add<SceneObject>("item", "lamp")->SetVisibleFlag(false);
    Tick();
    EXPECT_FALSE(engineer->IsVisible());
    for (const char* type : {"manual", "auto"}) {
        Door* door = Add<Door>("door", "door03", std::string("type='") + type + "' rgn='600 100 660 100 660 200 600 200'",
                               "<part name='door'/><target object='engineer'/><target object='lamp'/>");
        ASSERT_NE(door, nullptr);
        Tick();
        EXPECT_EQ(door->GetAnimationName(), "idle") << type;
        ClickAt("door03");
        Tick();
        if (std::string(type) == "auto") {
            // Only a manual door opens on a click.
            EXPECT_EQ(door->GetAnimationName(), "idle");
            door->SetOpen(true);
        }
        TicksWhile([door] { return !door->IsOpened(); }, 100);
        ASSERT_TRUE(door->IsOpened()) << type;
        EXPECT_EQ(engineer->GetPendingTarget(), door);
        Tick();
        EXPECT_TRUE(engineer->IsVisible()) << type;
        // The broken conditioner: the engineer repairs it for 5.0 s.
        calls.clear();
        conditioner->SetReady(true);
        EXPECT_EQ(TakeSounds(), std::vector<std::string>{"conditioner_broke"});
        ASSERT_TRUE(Handshake(engineer, conditioner)) << type;
        EXPECT_FALSE(conditioner->IsReady());
        EXPECT_NEAR(TicksWhile([engineer] { return engineer->IsBusy(); }, 1000), 500, 1) << type;
        // A click elsewhere sends him home, where he hides; a manual door
        // then closes.
        ClickAt("client_place03");
        Ticks(2);
        EXPECT_FALSE(engineer->HasPendingTarget());
        EXPECT_FALSE(engineer->IsVisible()) << type;
        const int closing = TicksWhile([door] { return door->GetAnimationName() != "idle"; }, 200);
        if (std::string(type) == "manual")
            EXPECT_LT(closing, 100);
        else
            EXPECT_EQ(door->GetAnimationName(), "open");
        delete door;
    }
    // A plant is nothing he repairs.
    EXPECT_FALSE(engineer->Interact(FindObject("plant01"), true, nullptr));
}

} // namespace
} // namespace peopletest
