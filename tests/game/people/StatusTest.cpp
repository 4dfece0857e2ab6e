// The status indicators' own tables (bindings, segments, tints, bubble
// shapes and order words, the break timer, the meter's blink and the
// product highlight) over animation and effect files each test writes. They
// run in the office world without an office screen: none of them touches
// money, lives, the rush bonus or the tutorial, and the effect messages are
// heard through the recording exports, which the running day's own effect
// file would replace.
#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/MiniBar.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/Phone.h"
#include "game/world/StatusBubble.h"
#include "game/world/StatusHp.h"
#include "game/world/Worker.h"
#include "tests/game/people/TestParams.h"
#include "tests/game/world/WorldFixture.h"

#include <climits>
#include <limits>

namespace peopletest {
namespace {

class IndicatorTest : public worldtest::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        SetTestParams(world);
    }
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

TEST_F(IndicatorTest, MeterThresholdsAndSegmentsSaturateAtTheIntLimits)
{
    world.levelParams.patience_g_level = 1e10f;
    world.levelParams.patience_y_level = -1e10f;
    Define("client", "client03");
    StatusHp* meter = ObjectAs<StatusHp>(Define("status_hp", "client03_hp"));
    ASSERT_NE(meter, nullptr);
    EXPECT_EQ(meter->TintFor(100), StatusHp::kYellowTint);
    EXPECT_EQ(meter->TintFor(-1e12f), StatusHp::kRedTint);
    const struct {
        float value;
        int32_t segments;
    } rows[] = {{1e12f, INT_MAX}, {-1e12f, INT_MIN}, {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const auto& row : rows)
        EXPECT_EQ(meter->SegmentsFor(row.value), row.segments) << row.value;
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

class BubbleTest : public IndicatorTest {
protected:
    void SetUp() override
    {
        IndicatorTest::SetUp();
        std::string bubble, type, production;
        for (const char* shape : {"cloud", "right", "multi_right", "aggro"})
            bubble += worldtest::Animation(std::string("status_bubble") + shape, "cycle", 10, 1);
        for (const char* word : {"ready", "01", "0a02", "snore", "sleep", "scandal", "regular", "timer00", "timer01", "timer02", "timer03", "timer04"})
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
                   "<part name='status_bubble' offs_x='-6' offs_y='-100'/><part name='status_type' offs_x='-6' "
                   "offs_y='-100'/><part name='status_production' offs_x='-6' offs_y='-100'/>"
                   "<part name='status_production' offs_x='-6' offs_y='-100'/>"));
    }
};

TEST_F(BubbleTest, ContentPicksTheShapeAndSplitsOrderWords)
{
    Define("client", "client03");
    Define("worker", "worker01");
    Define("phone", "phone");
    const struct {
        const char* bubble;
        bool last;
        const char* word;
        const char* shape;
        const char* type;
        const char* production0;
        const char* production1;
    } rows[] = {
        {"client03_bubble", true, "0302", "right", "", "0102", "0300"},
        {"client03_bubble", false, "0105", "multi_right", "", "0105", ""},
        {"client03_bubble", true, "ready", "right", "ready", "", ""},
        {"client03_bubble", true, "01", "right", "01", "", ""},     // too short for an order word
        {"client03_bubble", true, "0a02", "right", "0a02", "", ""}, // no digit where the trade goes
        {"client03_bubble", true, "scandal", "aggro", "scandal", "", ""},
        {"worker01_bubble", true, "snore", "aggro", "snore", "", ""},
        {"worker01_bubble", true, "sleep", "cloud", "sleep", "", ""},
        {"worker01_bubble", true, "0102", "right", "", "0102", ""},
        {"phone_bubble", true, "regular", "right", "regular", "", ""},
    };
    for (const auto& row : rows) {
        // A fresh bubble each row: parts start without an animation.
        StatusBubble* bubble = MakeBubble(row.bubble);
        ASSERT_NE(bubble, nullptr) << row.bubble;
        bubble->ShowContent(row.last, row.word);
        EXPECT_EQ(bubble->GetBubblePart()->GetAnimationName(), row.shape) << row.bubble << " " << row.word;
        EXPECT_EQ(bubble->GetTypePart()->GetAnimationName(), row.type) << row.bubble << " " << row.word;
        EXPECT_EQ(bubble->GetProductionPart(0)->GetAnimationName(), row.production0) << row.bubble << " " << row.word;
        EXPECT_EQ(bubble->GetProductionPart(1)->GetAnimationName(), row.production1) << row.bubble << " " << row.word;
        delete bubble;
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
    auto XY = [](const Zelk::Point& p) { return std::make_pair(p.mX, p.mY); };
    // The timer moves the cloud and its picture by their effect offset and
    // scale point; the bubble's own offsets stay those of the office file.
    for (ObjectPart* part : {bubble->GetBubblePart(), bubble->GetTypePart()}) {
        EXPECT_EQ(XY(part->GetEffectOffset()), XY({-31, 51})) << part->GetPartName();
        EXPECT_EQ(XY(part->GetEffectScalePoint()), XY({25, -25})) << part->GetPartName();
    }
    bubble->ShowContent(true, "sleep");
    for (ObjectPart* part : bubble->GetParts()) {
        EXPECT_EQ(XY(part->GetEffectOffset()), XY({0, 0})) << part->GetPartName();
        EXPECT_EQ(XY(part->GetEffectScalePoint()), XY({0, 0})) << part->GetPartName();
        EXPECT_EQ(part->GetOffsetX(), -6) << part->GetPartName();
        EXPECT_EQ(part->GetOffsetY(), -100) << part->GetPartName();
        EXPECT_EQ(XY(part->GetScalePoint()), XY({0, 0})) << part->GetPartName();
    }
    EXPECT_FALSE(meterShown);
    EXPECT_NEAR(ticks, 801, 1); // back after 8 s
    EXPECT_EQ(worker->GetState(), Worker::kIdle);
    EXPECT_TRUE(worker->IsVisible());
    EXPECT_FLOAT_EQ(worker->GetStamina(), 100);
}

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
    Boss* boss = ObjectAs<Boss>(Define("boss", "boss"));
    Client* client = ObjectAs<Client>(Define("client", "client03"));
    StatusBubble* bubble = ObjectAs<StatusBubble>(
        CreateObjectFromDefinition(Parse("<object class='status_bubble' name='client03_bubble' effect='bubble'/>")));
    ASSERT_TRUE(client && bubble && bubble->GetEffect());
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    client->Update();
    int word = 0;
    ASSERT_TRUE(client->Interact(boss, true, &word));
    client->Interact(boss, false, &word);
    for (int tick = 0; tick < 203; ++tick)
        client->Update();
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
