// Furniture and devices in the running office day: machines reloading in
// the day's time, the safe and the bin as the boss's partners, the trade
// plates and the phone.
#include "game/world/Bin.h"
#include "game/world/ObjectPart.h"
#include "game/world/PeriodItem.h"
#include "game/world/Phone.h"
#include "game/world/TradePlate.h"
#include "tests/game/people/PeopleFixture.h"

namespace peopletest {
namespace {

class DeviceTest : public PeopleTest {
protected:
    void SetUp() override
    {
        PeopleTest::SetUp();
        boss = TheBoss();
        ASSERT_NE(boss, nullptr);
    }
    Boss* boss = nullptr;
};

TEST_F(DeviceTest, MachinesBecomeReadyAfterTheirDrawnTimeOfVisibleDayTime)
{
    World().levelParams.safe_reload_timeout = 2;
    PeriodItem* safe = Add<PeriodItem>("period_item", "safe", "thing='money'");
    PeriodItem* unknown = Add<PeriodItem>("period_item", "lamp");
    EXPECT_FLOAT_EQ(safe->GetReloadTime(), 2);
    EXPECT_FALSE(safe->IsReady());
    Ticks(100);
    // Out of sight the time stands still.
    safe->SetVisibleFlag(false);
    Ticks(500);
    EXPECT_NEAR(safe->GetElapsed(), 1, 0.02f);
    safe->SetVisibleFlag(true);
    Ticks(99);
    EXPECT_FALSE(safe->IsReady());
    Ticks(2);
    EXPECT_TRUE(safe->IsReady());
    Ticks(1000);
    EXPECT_TRUE(safe->IsReady());
    EXPECT_FALSE(unknown->IsReady());
    // The boss uses it: reloading again.
    ASSERT_TRUE(Handshake(boss, safe));
    EXPECT_EQ(boss->GetItem(), "money");
    EXPECT_FALSE(safe->IsReady());
}

TEST_F(DeviceTest, AMachineWithoutAnActivationIsReadyAtOnceWithItsSignalAfterADrawnTime)
{
    WriteAnm("air_conditioner", Animation("air_conditioneridle", "cycle") + Animation("air_conditionerready", "cycle"));
    WriteAnm("air_conditioner_signal", Animation("air_conditioner_signalidle", "cycle"));
    World().levelParams.air_conditioner_timeout_min = 1;
    World().levelParams.air_conditioner_timeout_max = 3;
    // The draw is the day's seeded rand(): r = rand() / 32767 of the range.
    Zelk::SRand(kSeed);
    const float expected = 1 + float(Zelk::Rand()) / 32767.0f * 2;
    Zelk::SRand(kSeed);
    PeriodItem* machine = Add<PeriodItem>("period_item", "air_conditioner", "",
                                          "<part name='air_conditioner'/><part name='air_conditioner_signal'/>");
    ASSERT_TRUE(machine && machine->GetSignalPart());
    EXPECT_EQ(machine->GetAnimationName(), "idle");
    EXPECT_FALSE(machine->GetSignalPart()->IsShown());
    EXPECT_FLOAT_EQ(machine->GetReloadTime(), expected);
    calls.clear();
    const int ticks = TicksWhile([machine] { return !machine->IsReady(); }, 1000);
    EXPECT_NEAR(ticks, int(expected * 100), 2);
    EXPECT_EQ(machine->GetAnimationName(), "ready");
    EXPECT_TRUE(machine->GetSignalPart()->IsShown());
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"conditioner_broke"});
    // It stays ready (broken down) until the engineer comes.
    Ticks(1000);
    EXPECT_TRUE(machine->IsReady());
}

TEST_F(DeviceTest, TheSafeAndTheBinAnswerByWhatTheBossCarries)
{
    Bin* bin = Fixture<Bin>("trash_bin");
    PeriodItem* safe = Add<PeriodItem>("period_item", "safe", "thing='money'");
    safe->SetItem("money");
    safe->SetReady(true);
    const struct {
        const char* object;
        const char* carried;
        bool agrees;
        const char* after;
        std::vector<RushReport> reports;
        std::vector<std::string> sounds;
    } rows[] = {
        // Empty hands at the bin: refused by the bin, so nothing is reported.
        {"trash_bin", "", false, "", {}, {}},
        {"trash_bin", "0102", true, "", {{0, "trash_bin"}, {0, "trash_bin"}}, {"make_trash"}},
        // The safe refuses a boss carrying its own money; another item passes
        // its half and the boss's own half refuses.
        {"safe", "money", false, "money", {}, {}},
        {"safe", "0102", false, "0102", {{0, "safe"}}, {}},
        {"safe", "", true, "money", {{0, "safe"}, {0, "safe"}}, {"boss_take_money"}},
    };
    for (const auto& row : rows) {
        boss->SetItem(row.carried);
        rush.clear();
        calls.clear();
        EXPECT_EQ(Handshake(boss, FindObject(row.object)), row.agrees) << row.object << " " << row.carried;
        EXPECT_EQ(boss->GetItem(), row.after) << row.object << " " << row.carried;
        EXPECT_EQ(rush, row.reports) << row.object << " " << row.carried;
        EXPECT_EQ(TakeSounds(), row.sounds) << row.object << " " << row.carried;
    }
    EXPECT_NE(bin, nullptr);
}

TEST_F(DeviceTest, PlatesShowTheirWorkersTradeAndFindAWorkerListedAfterThem)
{
    const struct {
        const char* to;
        const char* skin;
    } rows[] = {{"0100", "spec_l1t0"}, {"0302", "spec_l3t2"}, {"030", ""}, {"03021", ""}};
    for (const auto& row : rows)
        EXPECT_EQ(Specialization::SkinOf(row.to), row.skin) << row.to;
    // A plate for a desk listed before its worker: bound at the level's
    // state, when the worker is there.
    Specialization* plate = Add<Specialization>("specialization", "spec05a", "worker='worker05a' table='table02a'");
    EXPECT_EQ(plate->GetWorkerObject(), nullptr);
    Worker* worker = Add<Worker>("worker", "worker05a");
    worker->ApplyLevelState(Parse("<object name='worker05a' transform_from='paper' transform_to='0302'/>"));
    plate->ApplyLevelState(Parse("<object name='spec05a'/>"));
    EXPECT_EQ(plate->GetWorkerObject(), worker);
    EXPECT_EQ(plate->GetTable(), FindObject("table02a"));
    EXPECT_EQ(plate->GetSkin(), "spec_l3t2");
    // A plate naming a table, which is no worker, stands for nothing.
    Specialization* stray = Add<Specialization>("specialization", "spec09", "worker='table02a'");
    stray->ApplyLevelState(Parse("<object name='spec09'/>"));
    EXPECT_EQ(stray->GetSkin(), "");
}

TEST_F(DeviceTest, ThePhoneShowsItsCallersCountdownAndType)
{
    Phone* phone = Add<Phone>("phone", "phone");
    EXPECT_TRUE(phone->IsHovered());
    EXPECT_TRUE(phone->CheckOrder());
    EXPECT_FALSE(phone->IsStatusShown());
    ASSERT_TRUE(SpawnClient("regular", true, 2, {"0102"}));
    EXPECT_TRUE(phone->IsStatusShown());
    EXPECT_EQ(phone->GetCaller(), Fixture<Client>("client03"));
    const struct {
        int ticks;
        float meter;
    } rows[] = {{0, 100}, {300, 80}, {450, 50}};
    for (const auto& row : rows) {
        Ticks(row.ticks);
        float meter = -1;
        EXPECT_TRUE(phone->GetMeterValue(&meter));
        EXPECT_NEAR(meter, row.meter, 0.1f) << row.ticks;
    }
    std::string word;
    EXPECT_TRUE(phone->GetBubbleContent(nullptr, &word));
    EXPECT_EQ(word, "regular");
    phone->Answer();
    EXPECT_FALSE(phone->IsRinging());
    EXPECT_FALSE(phone->IsStatusShown());
    // A caller that leaves the office leaves the phone too.
    Client* caller = Add<Client>("client", "client05");
    ASSERT_TRUE(SpawnClient("regular", true, 4, {"0102"}));
    ASSERT_EQ(phone->GetCaller(), caller);
    delete caller;
    EXPECT_EQ(phone->GetCaller(), nullptr);
    EXPECT_FALSE(phone->IsStatusShown());
    float meter = -1;
    EXPECT_FALSE(phone->GetMeterValue(&meter));
    Ticks(10);
}

} // namespace
} // namespace peopletest
