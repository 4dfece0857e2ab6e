// The boss in the running office day: his half of every visit, with the rush
// reports the day's bonus stages hear, the looks he plays and the samples he
// sounds; the conference and the drink by real ticks.
#include "game/world/PeriodItem.h"
#include "game/world/Phone.h"
#include "tests/game/people/PeopleFixture.h"

#include <algorithm>

namespace peopletest {
namespace {

class BossTest : public PeopleTest {
protected:
    void SetUp() override
    {
        PeopleTest::SetUp();
        boss = TheBoss();
        ASSERT_NE(boss, nullptr);
        ASSERT_EQ(boss->GetSkin(), "man");
        // A first walk, so that he faces where he came from as in play.
        const int walk = WalkBossTo("shelving01");
        ASSERT_LT(walk, 3000);
        ASSERT_GT(walk, 50) << screen->GetClickQueue().size();
        ASSERT_EQ(boss->GetItem(), "paper");
        boss->SetItem("");
        rush.clear();
        tutorial.events.clear();
    }
    // Ticks until the boss has finished what he does (at most 2000).
    int UntilIdle() { return TicksWhile([this] { return boss->IsBusy(); }, 2000); }

    Boss* boss = nullptr;
};

TEST_F(BossTest, EachVisitAnswersByTheObjectTheItemAndThePartnersWord)
{
    Worker* worker = Fixture<Worker>("worker02a");
    SceneObject* shelving = Fixture<SceneObject>("shelving01");
    Client* client = Fixture<Client>("client03");
    Add<PeriodItem>("period_item", "safe", "thing='money'")->SetItem("money");
    Add<PeriodItem>("period_item", "conference_place");
    Add<PeriodItem>("period_item", "cupboard");
    Phone* phone = Add<Phone>("phone", "phone");
    ASSERT_TRUE(worker && shelving && client && phone);
    EXPECT_EQ(shelving->GetItem(), "paper");
    ASSERT_TRUE(SpawnClient("regular", false, 2, {"0102"}));
    Tick();
    calls.clear();

    const int kNoReport = -1;
    const struct {
        const char* object;
        const char* carried;
        int word; // the partner's answer (the worker's state, the client's wish)
        bool ringing;
        bool agrees;
        const char* after;
        int report; // the rush report of the visit, or none
        const char* look;
        const char* sample;
    } rows[] = {
        {"shelving01", "", 0, false, true, "paper", 1, "boss_idle_full", ""},
        {"shelving01", "0102", 0, false, false, "0102", 0, "", ""},
        {"worker02a", "", Worker::kWantsBreak, false, true, "", kNoReport, "boss_reproach", "wake_up"},
        {"worker02a", "money", Worker::kWantsBreak, false, true, "money", kNoReport, "boss_reproach", "wake_up"},
        {"worker02a", "money", Worker::kIdle, false, true, "", kNoReport, "boss_idle_empty", ""},
        {"worker02a", "money", Worker::kWorking, false, true, "", kNoReport, "boss_idle_empty", ""},
        {"worker02a", "money", Worker::kOnBreak, false, false, "money", kNoReport, "", ""},
        {"worker02a", "money", Worker::kAsleep, false, true, "money", kNoReport, "boss_reproach", "wake_up"},
        {"worker02a", "0102", Worker::kIdle, false, true, "0302", kNoReport, "boss_idle_full", ""},
        {"worker02a", "0102", Worker::kAsleep, false, true, "0102", kNoReport, "boss_reproach", "wake_up"},
        {"phone", "", 0, false, false, "", 0, "", ""},
        {"phone", "", 0, true, true, "", 1, "boss_phone", ""},
        {"trash_bin", "0102", 0, false, true, "", 0, "boss_idle_empty", ""},
        {"safe", "0102", 0, false, false, "0102", 0, "", ""},
        {"safe", "", 0, false, true, "money", 0, "boss_idle_full", "boss_take_money"},
        {"conference_place", "", 0, false, true, "", 0, "boss_conference", ""},
        {"cupboard", "", 0, false, true, "", 0, "boss_drink", ""},
        {"client03", "0102", 1, false, true, "", kNoReport, "boss_idle_empty", ""},
        {"client03", "0102", 0, false, true, "0102", kNoReport, "", ""},
        {"plant01", "", 0, false, false, "", kNoReport, "", ""},
    };
    for (const auto& row : rows) {
        const std::string label = std::string(row.object) + " carrying '" + row.carried + "' word " +
                                  std::to_string(row.word) + (row.ringing ? " ringing" : "");
        UntilIdle();
        boss->SetItem(row.carried);
        boss->PlayAnimation("boss_move_empty");
        worker->SetItem("0302");
        if (row.ringing) {
            ASSERT_TRUE(SpawnClient("regular", true, 3, {"0102"}));
            ASSERT_TRUE(phone->IsRinging());
        }
        SceneObject* object = FindObject(row.object);
        ASSERT_NE(object, nullptr) << label;
        rush.clear();
        calls.clear();
        int word = row.word;
        EXPECT_EQ(boss->Interact(object, true, &word), row.agrees) << label;
        if (row.agrees)
            boss->Interact(object, false, &word);
        EXPECT_EQ(boss->GetItem(), row.after) << label;
        std::vector<RushReport> reports;
        if (row.report != kNoReport)
            reports.emplace_back(row.report, row.object);
        // A refused test and a perform each report once when they report.
        if (row.report != kNoReport && row.agrees && std::string(row.object) != "shelving01" &&
            std::string(row.object) != "phone")
            reports.emplace_back(row.report, row.object);
        EXPECT_EQ(rush, reports) << label;
        EXPECT_EQ(boss->GetAnimationName(), *row.look ? row.look : "boss_move_empty") << label;
        EXPECT_EQ(TakeSounds(), *row.sample ? std::vector<std::string>{row.sample} : std::vector<std::string>{})
            << label;
    }
    // The shelving's visit tells the tutorial; the phone's call ended after
    // "boss_phone" (the caller came in).
    EXPECT_NE(std::find(tutorial.events.begin(), tutorial.events.end(), 5), tutorial.events.end());
    EXPECT_EQ(phone->GetCaller(), nullptr);
    EXPECT_FALSE(phone->IsRinging());
    // An object named "phone" that is no phone is refused, a failure.
    delete phone;
    SceneObject* notAPhone = Add<SceneObject>("item", "phone");
    UntilIdle();
    rush.clear();
    EXPECT_FALSE(boss->Interact(notAPhone, true, nullptr));
    EXPECT_EQ(rush, (std::vector<RushReport>{{0, "phone"}}));
}

TEST_F(BossTest, AConferenceKeepsHimBusyThenReachesEveryVisibleWorker)
{
    Worker* awake = Fixture<Worker>("worker02a");
    Worker* asleep = Fixture<Worker>("worker04a");
    ASSERT_TRUE(awake && asleep);
    awake->ChangeStamina(50 - awake->GetStamina());
    asleep->ChangeStamina(-asleep->GetStamina() - 1);
    ASSERT_EQ(asleep->GetState(), Worker::kAsleep);
    // A worker out of sight (made in the day) hears nothing.
    Worker* hidden = Add<Worker>("worker", "worker05a");
    hidden->SetSkin("w1", false);
    hidden->ChangeStamina(50 - hidden->GetStamina());
    hidden->SetVisibleFlag(false);
    SceneObject* place = Add<PeriodItem>("period_item", "conference_place");
    ASSERT_TRUE(boss->Interact(place, true, nullptr));
    boss->Interact(place, false, nullptr);
    EXPECT_EQ(boss->GetAnimationName(), "boss_conference");
    EXPECT_NEAR(UntilIdle(), 300, 1);
    // 50, +1/s idle for 3 s, -5 when the sleeper snores at 2 s, then +20.
    EXPECT_NEAR(awake->GetStamina(), 68, 0.05f);
    EXPECT_FLOAT_EQ(awake->GetProtection(), 10);
    EXPECT_FLOAT_EQ(hidden->GetStamina(), 50);
    // The sleeper is woken (+20 and the reproof's +30) and, its product not
    // made, set working; the boss shows his idle look facing "b".
    EXPECT_FLOAT_EQ(asleep->GetStamina(), 50);
    EXPECT_EQ(asleep->GetState(), Worker::kWorking);
    EXPECT_EQ(boss->GetOrientWord(), "b");
    EXPECT_EQ(boss->GetAnimationName(), "boss_idle_empty");
}

TEST_F(BossTest, ADrinkSpeedsHimUpForTenSecondsFromItsEndAndASecondOneRestartsIt)
{
    SceneObject* cupboard = Add<PeriodItem>("period_item", "cupboard");
    EXPECT_FLOAT_EQ(boss->GetMoveSpeed(), 200);
    ASSERT_TRUE(boss->Interact(cupboard, true, nullptr));
    boss->Interact(cupboard, false, nullptr);
    EXPECT_EQ(boss->GetAnimationName(), "boss_drink");
    // Not before "boss_drink" has played to its end.
    const int drinking = TicksWhile([this] { return boss->GetAnimationName() == "boss_drink"; }, 2000);
    EXPECT_GT(drinking, 1);
    EXPECT_EQ(boss->GetAnimationName(), "boss_idle_empty");
    EXPECT_FLOAT_EQ(boss->GetMoveSpeed(), 300);
    const int fast = TicksWhile([this] { return boss->GetMoveSpeed() > 200; }, 2000);
    EXPECT_NEAR(fast, 1000, 2);
    // A second drink while the first still holds restarts the ten seconds.
    for (int drink = 0; drink < 2; ++drink) {
        ASSERT_TRUE(boss->Interact(cupboard, true, nullptr));
        boss->Interact(cupboard, false, nullptr);
        TicksWhile([this] { return boss->GetAnimationName() == "boss_drink"; }, 2000);
        if (drink == 0)
            Ticks(600);
    }
    EXPECT_NEAR(TicksWhile([this] { return boss->GetMoveSpeed() > 200; }, 2000), 1000, 2);
}

} // namespace
} // namespace peopletest
