#include "game/world/Bin.h"
#include "game/world/Door.h"
#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/Engineer.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/PeriodItem.h"
#include "game/world/Phone.h"
#include "game/world/Secretary.h"
#include "game/world/TradePlate.h"
#include "game/world/StatusBubble.h"
#include "game/world/StatusHp.h"
#include "game/world/Worker.h"
#include "tests/game/people/PeopleFixture.h"

namespace peopletest {
namespace {

class IndicatorTest : public PeopleTest {
protected:
    SceneObject* Define(const std::string& kind, const std::string& name, const std::string& children = "")
    {
        return CreateObjectFromDefinition(
            Parse("<object class='" + kind + "' name='" + name + "'>" + children + "</object>"));
    }
};

TEST_F(IndicatorTest, IndicatorsBindByTheirNamesAndTakeTheSourcesPlace)
{
    Worker* seven = ObjectAs<Worker>(Define("worker", "worker07"));
    Worker* seventeen = ObjectAs<Worker>(Define("worker", "worker_17"));
    Define("worker", "worker_1");
    Client* three = ObjectAs<Client>(Define("client", "client03"));
    Phone* phone = ObjectAs<Phone>(Define("phone", "phone"));
    ASSERT_TRUE(seven && seventeen && three && phone);
    seven->SetPosition(120, 340);
    const struct {
        const char* kind;
        const char* name;
        SceneObject* source;
    } rows[] = {
        {"status_hp", "worker07_hp", seven},    {"status_bubble", "worker_17_bubble", seventeen},
        {"status_bubble", "client03_bubble", three}, {"status_hp", "phone_hp", phone},
        {"status_hp", "nobody_hp", nullptr},     {"status_bubble", "client05_bubble", nullptr},
    };
    for (const auto& row : rows) {
        SceneObject* indicator = Define(row.kind, row.name);
        StatusHp* meter = ObjectAs<StatusHp>(indicator);
        StatusBubble* bubble = ObjectAs<StatusBubble>(indicator);
        ASSERT_TRUE(meter || bubble) << row.name;
        EXPECT_EQ(meter ? meter->GetSourceObject() : bubble->GetSourceObject(), row.source) << row.name;
        if (row.source == seven)
            EXPECT_EQ(indicator->GetPosition().mX, 120);
        // One bound to nothing stays hidden and inactive.
        if (!row.source) {
            indicator->Update();
            EXPECT_FALSE(indicator->IsVisible()) << row.name;
            EXPECT_FALSE(indicator->IsActive()) << row.name;
        }
    }
}

TEST_F(IndicatorTest, MetersCountSegmentsAndTintByBand)
{
    Client* client = ObjectAs<Client>(Define("client", "client03"));
    Phone* phone = ObjectAs<Phone>(Define("phone", "phone"));
    ASSERT_TRUE(client && phone);
    StatusHp* clientMeter = ObjectAs<StatusHp>(Define("status_hp", "client03_hp"));
    StatusHp* phoneMeter = ObjectAs<StatusHp>(Define("status_hp", "phone_hp"));
    const struct {
        float value;
        int32_t segments;
    } clientSegments[] = {{95, 10}, {91, 10}, {90, 9}, {0, 0}}, phoneSegments[] = {{50, 2}, {51, 3}, {100, 5}, {0, 0}};
    for (const auto& row : clientSegments)
        EXPECT_EQ(clientMeter->SegmentsFor(row.value), row.segments) << row.value;
    for (const auto& row : phoneSegments)
        EXPECT_EQ(phoneMeter->SegmentsFor(row.value), row.segments) << row.value;
    const struct {
        float value;
        uint32_t tint;
    } tints[] = {{61, StatusHp::kGreenTint},
                 {60, StatusHp::kGreenTint},
                 {59, StatusHp::kYellowTint},
                 {30, StatusHp::kYellowTint},
                 {29, StatusHp::kRedTint}};
    for (const auto& row : tints)
        EXPECT_EQ(clientMeter->TintFor(row.value), row.tint) << row.value;
    // The meter follows the client: shown while waiting, with its tint.
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    client->SetPatience(45);
    clientMeter->Update();
    EXPECT_TRUE(clientMeter->IsActive());
    EXPECT_FLOAT_EQ(clientMeter->GetLastValue(), 45);
}

TEST_F(IndicatorTest, AProtectedWorkersMeterShowsTheProtectionTint)
{
    world.workerParams["w1"].worker_bonus_effect = 15;
    Worker* worker = ObjectAs<Worker>(Define("worker", "worker01"));
    StatusHp* meter = ObjectAs<StatusHp>(Define("status_hp", "worker01_hp"));
    worker->SetSkin("w1", false);
    worker->SetActive(true);
    EXPECT_EQ(meter->TintFor(100), StatusHp::kGreenTint);
    Boss boss;
    boss.Load(Parse("<object name='boss'/>"));
    boss.SetItem("money");
    int word = 0;
    ASSERT_TRUE(worker->Interact(&boss, true, &word));
    worker->Interact(&boss, false, &word);
    EXPECT_EQ(meter->TintFor(100), StatusHp::kProtectedTint);
    // Protection lasts 10 s.
    Ticks(worker, 1001);
    EXPECT_EQ(meter->TintFor(100), StatusHp::kGreenTint);
}

class BubbleTest : public IndicatorTest {
protected:
    void SetUp() override
    {
        IndicatorTest::SetUp();
        std::string bubble, type, production;
        for (const char* shape : {"cloud", "right", "multi_right", "aggro"})
            bubble += worldtest::Animation(std::string("status_bubble") + shape, "cycle", 10, 1);
        for (const char* word : {"ready", "01", "0a02", "snore", "timer00", "timer01", "timer02", "timer03", "timer04"})
            type += worldtest::Animation(std::string("status_type") + word, "cycle", 10, 1);
        for (const char* word : {"0102", "0300", "0105"})
            production += worldtest::Animation(std::string("status_production") + word, "cycle", 10, 1);
        WriteAnm("status_bubble", bubble);
        WriteAnm("status_type", type);
        WriteAnm("status_production", production);
    }
    StatusBubble* MakeBubble(const std::string& name)
    {
        return ObjectAs<StatusBubble>(
            Define("status_bubble", name,
                   "<part name='status_bubble'/><part name='status_type'/><part name='status_production'/>"
                   "<part name='status_production'/>"));
    }
};

TEST_F(BubbleTest, ContentPicksTheShapeAndSplitsOrderWords)
{
    Define("client", "client03");
    Define("worker", "worker01");
    StatusBubble* client = MakeBubble("client03_bubble");
    StatusBubble* worker = MakeBubble("worker01_bubble");
    ASSERT_TRUE(client && worker);
    const struct {
        StatusBubble* bubble;
        bool last;
        const char* word;
        const char* shape;
        const char* type;
        const char* production0;
        const char* production1;
    } rows[] = {
        {client, true, "0302", "right", "", "0102", "0300"},
        {client, false, "0105", "multi_right", "", "0105", ""},
        {client, true, "ready", "right", "ready", "", ""},
        {client, true, "01", "right", "01", "", ""}, // too short for an order word
        {client, true, "0a02", "right", "0a02", "", ""}, // no digit where the trade goes
        {worker, true, "snore", "aggro", "snore", "", ""},
    };
    for (const auto& row : rows) {
        // A fresh bubble each row: parts start without an animation.
        StatusBubble* bubble = row.bubble == client ? MakeBubble("client03_bubble") : MakeBubble("worker01_bubble");
        bubble->ShowContent(row.last, row.word);
        EXPECT_EQ(bubble->GetBubblePart()->GetAnimationName(), row.shape) << row.word;
        EXPECT_EQ(bubble->GetTypePart()->GetAnimationName(), row.type) << row.word;
        EXPECT_EQ(bubble->GetProductionPart(0)->GetAnimationName(), row.production0) << row.word;
        EXPECT_EQ(bubble->GetProductionPart(1)->GetAnimationName(), row.production1) << row.word;
    }
}

TEST_F(BubbleTest, AWorkerOnBreakShowsTheTimerAdvancing)
{
    SceneObject* bar = CreateObjectFromDefinition(Parse("<object class='mini_bar' name='mini_bar'/>"));
    ASSERT_EQ(bar, gMiniBar);
    bar->SetActive(true);
    bar->SetVisibleFlag(true);
    Worker* worker = ObjectAs<Worker>(Define("worker", "worker01"));
    StatusBubble* bubble = MakeBubble("worker01_bubble");
    StatusHp* meter = ObjectAs<StatusHp>(Define("status_hp", "worker01_hp"));
    worker->SetActive(true);
    worker->SetState(Worker::kWantsBreak);
    worker->SetState(Worker::kOnBreak);
    ASSERT_EQ(worker->GetState(), Worker::kOnBreak);
    std::vector<std::string> seen;
    bool meterShown = false;
    int ticks = 0;
    for (; worker->GetState() == Worker::kOnBreak && ticks < 2000; ++ticks) {
        bar->Update();
        bubble->Update();
        meter->Update();
        // A countdown has no meter.
        meterShown |= worker->GetState() == Worker::kOnBreak && meter->IsActive();
        const std::string& shown = bubble->GetTypePart()->GetAnimationName();
        if (seen.empty() || seen.back() != shown)
            seen.push_back(shown);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"timer00", "timer01", "timer02", "timer03", "timer04"}));
    EXPECT_FALSE(meterShown);
    EXPECT_NEAR(ticks, 801, 1); // back after 8 s
    EXPECT_EQ(worker->GetState(), Worker::kIdle);
    EXPECT_TRUE(worker->IsVisible());
    EXPECT_FLOAT_EQ(worker->GetStamina(), 100);
}

TEST_F(PeopleTest, PlatesShowTheWorkersTrade)
{
    const struct {
        const char* to;
        const char* skin;
    } rows[] = {{"0100", "spec_l1t0"}, {"0302", "spec_l3t2"}, {"030", ""}, {"03021", ""}};
    for (const auto& row : rows)
        EXPECT_EQ(Specialization::SkinOf(row.to), row.skin) << row.to;
}

TEST_F(PeopleTest, TheBinRefusesAnEmptyHandedBossWithoutARushReport)
{
    Bin* bin = Make<Bin>("trash_bin");
    Boss* boss = Make<Boss>("boss");
    int word = 0;
    EXPECT_FALSE(bin->Interact(boss, true, &word));
    EXPECT_TRUE(screen.rush.empty());
    boss->SetItem("0102");
    EXPECT_TRUE(bin->Interact(boss, true, &word));
    // The safe refuses a boss carrying its own money.
    PeriodItem* safe = Make<PeriodItem>("safe", "thing='money'");
    safe->SetActive(true);
    safe->SetReady(true);
    boss->SetItem("money");
    EXPECT_FALSE(safe->Interact(boss, true, &word));
    boss->SetItem("0102");
    EXPECT_TRUE(safe->Interact(boss, true, &word));
    EXPECT_FALSE(boss->Interact(safe, true, &word));
}

TEST_F(PeopleTest, TheSecretaryServesCoffeeByEitherPath)
{
    PeriodItem* machine = Make<PeriodItem>("coffeemachine", "thing='coffe_cup'");
    machine->SetActive(true);
    machine->SetReady(true);
    Client* client = Make<Client>("client01");
    ASSERT_TRUE(SpawnClient("regular", false, 0, {"0102"}));
    client->SetPatience(50);
    // Waiting path: no client follows, the handshake fails and she stays.
    Secretary* secretary = Make<Secretary>("secretary", "start_point='coffeemachine'");
    int word = 0;
    EXPECT_TRUE(machine->Interact(secretary, true, &word));
    EXPECT_FALSE(secretary->Interact(machine, true, &word));
    EXPECT_EQ(secretary->GetItem(), "");
    // The client queued: the cup at once, the machine reloading.
    secretary->EnqueueTarget(client);
    EXPECT_EQ(secretary->GetItem(), "coffe_cup");
    EXPECT_FALSE(machine->IsReady());
    EXPECT_TRUE(client->Interact(secretary, true, &word));
    client->Interact(secretary, false, &word);
    secretary->Interact(client, false, &word);
    EXPECT_FLOAT_EQ(client->GetPatience(), 75);
    EXPECT_EQ(client->GetCurrentAnim(), Client::kDrinkCoffee);
    EXPECT_EQ(secretary->GetItem(), "");
    // Queued path: a client behind the machine; the machine's own half
    // makes it reload.
    machine->SetReady(true);
    Secretary* second = Make<Secretary>("secretary", "start_point='hall'");
    second->EnqueueTarget(machine);
    second->EnqueueTarget(client);
    EXPECT_EQ(second->GetItem(), "");
    EXPECT_TRUE(machine->Interact(second, true, &word));
    EXPECT_TRUE(second->Interact(machine, true, &word));
    machine->Interact(second, false, &word);
    second->Interact(machine, false, &word);
    EXPECT_EQ(second->GetItem(), "coffe_cup");
    EXPECT_FALSE(machine->IsReady());
}

TEST_F(PeopleTest, APresentationReachesEveryClientPresentAfterItsTime)
{
    Client* one = Make<Client>("client01");
    Client* two = Make<Client>("client02");
    Client* vip = Make<Client>("client03");
    ASSERT_TRUE(SpawnClient("regular", false, 0, {"0102"}));
    ASSERT_TRUE(SpawnClient("regular", false, 1, {"0102"}));
    ASSERT_TRUE(SpawnClient("regular", true, 2, {"0102"}));
    for (Client* client : {one, two, vip})
        client->SetPatience(50);
    Secretary* secretary = Make<Secretary>("secretary");
    secretary->SetActive(true);
    SceneObject* place = Make<PeriodItem>("presentation_place");
    int word = 0;
    ASSERT_TRUE(secretary->Interact(place, true, &word));
    secretary->Interact(place, false, &word);
    EXPECT_TRUE(secretary->IsBusy());
    int ticks = 0;
    while (secretary->IsBusy() && ticks < 1000) {
        secretary->UpdateSmooth(1.0f);
        ++ticks;
    }
    EXPECT_NEAR(ticks, 300, 1);
    EXPECT_FLOAT_EQ(one->GetPatience(), 70);
    EXPECT_FLOAT_EQ(two->GetPatience(), 70);
    EXPECT_FLOAT_EQ(vip->GetPatience(), 50);
}

TEST_F(PeopleTest, TheEngineerRepairsForFiveSeconds)
{
    Engineer* engineer = Make<Engineer>("engineer");
    engineer->SetActive(true);
    PeriodItem* conditioner = Make<PeriodItem>("air_conditioner");
    SceneObject* lamp = Make<SceneObject>("lamp");
    int word = 0;
    EXPECT_FALSE(engineer->Interact(lamp, true, &word));
    ASSERT_TRUE(engineer->Interact(conditioner, true, &word));
    engineer->Interact(conditioner, false, &word);
    int ticks = 0;
    while (engineer->IsBusy() && ticks < 1000) {
        engineer->UpdateSmooth(1.0f);
        ++ticks;
    }
    EXPECT_NEAR(ticks, 500, 1);
}

} // namespace
} // namespace peopletest

namespace peopletest {
namespace {

class DoorTest : public IndicatorTest {
protected:
    void SetUp() override
    {
        IndicatorTest::SetUp();
        WriteAnm("door", worldtest::Animation("dooridle", "cycle", 10, 1) + worldtest::Animation("dooropen", "once", 10, 5) +
                             worldtest::Animation("doorclose", "once", 10, 5));
    }
    Door* MakeDoor(const std::string& name, const std::string& type)
    {
        Door* door = ObjectAs<Door>(CreateObjectFromDefinition(
            Parse("<object class='door' name='" + name + "' type='" + type +
                  "'><part name='door'/><target object='engineer'/><target object='lamp'/></object>")));
        door->SetVisibleFlag(true);
        door->SetActive(true);
        return door;
    }
    // Updates until the door shows the animation (at most 200 ticks).
    int UpdateUntil(Door* door, const std::string& animation)
    {
        int ticks = 0;
        while (door->GetAnimationName() != animation && ticks < 200) {
            door->Update();
            ++ticks;
        }
        return ticks;
    }
};

TEST_F(DoorTest, TheEngineerAppearsWhenTheDoorOpensAndAManualDoorClosesBehindHim)
{
    Engineer* engineer = ObjectAs<Engineer>(Define("engineer", "engineer"));
    Define("item", "lamp"); // a target that is no walker is passed over
    engineer->SetActive(true);
    engineer->Update();
    EXPECT_FALSE(engineer->IsVisible());
    for (const char* type : {"manual", "auto"}) {
        Door* door = MakeDoor("door03", type);
        EXPECT_EQ(door->GetAnimationName(), "idle");
        door->OpenIfIdle();
        if (std::string(type) == "auto") {
            // Only a manual door opens on request.
            EXPECT_EQ(door->GetAnimationName(), "idle");
            door->SetOpen(true);
        }
        for (int tick = 0; tick < 60 && !door->IsOpened(); ++tick)
            door->Update();
        ASSERT_TRUE(door->IsOpened()) << type;
        EXPECT_EQ(engineer->GetPendingTarget(), door);
        EXPECT_TRUE(engineer->IsVisible());
        door->Update();
        EXPECT_EQ(door->GetAnimationName(), "open");
        // Sent nowhere, he hides at home; a manual door then closes.
        engineer->SetPendingTarget(nullptr);
        engineer->Update();
        EXPECT_FALSE(engineer->IsVisible());
        const int ticks = UpdateUntil(door, "idle");
        if (std::string(type) == "manual") {
            EXPECT_LT(ticks, 60) << type;
        } else {
            EXPECT_EQ(door->GetAnimationName(), "open");
        }
        delete door;
    }
}

TEST_F(IndicatorTest, AMachineWithoutAnActivationIsReadyAtOnceWithItsSignal)
{
    WriteAnm("air_conditioner", worldtest::Animation("air_conditioneridle", "cycle", 10, 1) +
                                    worldtest::Animation("air_conditionerready", "cycle", 10, 1));
    WriteAnm("air_conditioner_signal", worldtest::Animation("air_conditioner_signalidle", "cycle", 10, 1));
    world.levelParams.air_conditioner_timeout_min = 1;
    world.levelParams.air_conditioner_timeout_max = 3;
    PeriodItem* machine = ObjectAs<PeriodItem>(
        Define("period_item", "air_conditioner", "<part name='air_conditioner'/><part name='air_conditioner_signal'/>"));
    ASSERT_TRUE(machine && machine->GetSignalPart());
    machine->SetVisibleFlag(true);
    machine->SetActive(true);
    EXPECT_EQ(machine->GetAnimationName(), "idle");
    EXPECT_FALSE(machine->GetSignalPart()->IsShown());
    const float reload = machine->GetReloadTime();
    EXPECT_GE(reload, 1);
    EXPECT_LE(reload, 3);
    int ticks = 0;
    while (!machine->IsReady() && ticks < 1000) {
        machine->Update();
        ++ticks;
    }
    EXPECT_NEAR(ticks, int(reload * 100), 2);
    EXPECT_EQ(machine->GetAnimationName(), "ready");
    EXPECT_TRUE(machine->GetSignalPart()->IsShown());
    // It stays ready (broken down) until the engineer comes.
    Ticks(machine, 1000);
    EXPECT_TRUE(machine->IsReady());
}

} // namespace
} // namespace peopletest

namespace peopletest {
namespace {

// Effect messages: the first named one calls "Msg", the second "Both", so
// the two are counted apart.
class EffectIndicatorTest : public IndicatorTest {
protected:
    void LoadTwoMessages(const std::string& effect, const std::string& first, const std::string& second)
    {
        LoadEffects("<effect name='" + effect + "'><messages><message name='" + first +
                    "' command='call' timer_id='Msg'/><message name='" + second +
                    "' command='call' timer_id='Both'/></messages></effect>");
    }
    static int BothCalls()
    {
        int n = 0;
        for (const RecordedCall& call : Calls())
            n += call.function == "Both";
        return n;
    }
};

TEST_F(EffectIndicatorTest, TheMeterBlinksOnceAtTheRedThresholdAndStopsAboveIt)
{
    LoadTwoMessages("meter", "on_blink_hp", "off_blink_hp");
    Client* client = ObjectAs<Client>(Define("client", "client03"));
    StatusHp* meter = ObjectAs<StatusHp>(
        CreateObjectFromDefinition(Parse("<object class='status_hp' name='client03_hp' effect='meter'/>")));
    ASSERT_TRUE(client && meter && meter->GetEffect());
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    const struct {
        float patience;
        int on;
        int off;
    } rows[] = {{50, 0, 0}, {10, 1, 0}, {9, 1, 0}, {5, 1, 0}, {11, 1, 1}, {12, 1, 1}, {10, 2, 1}};
    meter->Update(); // switched on at 100
    const int offAtStart = BothCalls();
    for (const auto& row : rows) {
        client->SetPatience(row.patience);
        meter->Update();
        EXPECT_EQ(MessagesTo(meter->GetEffect()), row.on) << row.patience;
        EXPECT_EQ(BothCalls() - offAtStart, row.off) << row.patience;
    }
}

TEST_F(EffectIndicatorTest, TheProductHighlightFollowsTheBossesItem)
{
    LoadTwoMessages("bubble", "product_highlight", "hide_product_highlight");
    Boss* boss = Make<Boss>("boss");
    Client* client = ObjectAs<Client>(Define("client", "client03"));
    StatusBubble* bubble = ObjectAs<StatusBubble>(
        CreateObjectFromDefinition(Parse("<object class='status_bubble' name='client03_bubble' effect='bubble'/>")));
    ASSERT_TRUE(client && bubble && bubble->GetEffect());
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    Ticks(client, 1);
    int word = 0;
    ASSERT_TRUE(client->Interact(boss, true, &word));
    client->Interact(boss, false, &word);
    Ticks(client, 203);
    ASSERT_EQ(client->GetState(), Client::kWaitingForOrder);
    const int hideAtStart = BothCalls();
    const struct {
        const char* carried;
        int shown;
        int hidden;
    } rows[] = {{"", 0, 0}, {"0102", 1, 0}, {"0102", 1, 0}, {"0101", 1, 1}, {"", 1, 1}, {"0102", 2, 1}};
    for (const auto& row : rows) {
        boss->SetItem(row.carried);
        bubble->Update();
        EXPECT_EQ(MessagesTo(bubble->GetEffect()), row.shown) << row.carried;
        EXPECT_EQ(BothCalls() - hideAtStart, row.hidden) << row.carried;
    }
    EXPECT_TRUE(client->CheckOrder());
}

} // namespace
} // namespace peopletest
