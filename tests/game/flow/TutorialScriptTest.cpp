// The teaching rules over the fixture's HUD (hints tutorial1..tutorial16):
// day 1's table walked through by events, waits and a closed hint; day 2's
// repeated triggers; every other day allows everything.
#include "tests/game/flow/DayFixture.h"

#include <set>

using namespace daytest;

namespace {

const char* const kNames[] = {"table01a", "table02a", "table04a", "client_place03", "client_place04", "trash_bin",
                              "shelving01", "door03", "worker01a_spec", "worker04a_spec"};

class TutorialTest : public DayTest {
protected:
    void SetUp() override
    {
        DayTest::SetUp();
        MakeScreen();
        hud = screen->GetHud();
        hud->ResetDay();
        script = gTutorialScript;
        ASSERT_NE(script, nullptr);
    }
    // The hints shown, after the HUD's effects have run.
    std::set<int> Hints()
    {
        Ticks(40); // a hint's effect takes 0.3 s to show or hide it
        std::set<int> shown;
        for (int id = 0; id <= 16; ++id)
            if (hud->IsHintShown(id))
                shown.insert(id);
        return shown;
    }
    std::set<int> ForbiddenActions() const
    {
        std::set<int> forbidden;
        for (int action : {1, 2, 3})
            if (!script->IsActionAllowed(action))
                forbidden.insert(action);
        return forbidden;
    }
    std::set<std::string> ForbiddenNames() const
    {
        std::set<std::string> forbidden;
        for (const char* name : kNames)
            if (!script->IsNameAllowed(name))
                forbidden.insert(name);
        return forbidden;
    }

    HudPanel* hud = nullptr;
    TutorialScript* script = nullptr;
};

// One move of the walk: an event, an update of dt seconds, or the player
// closing a hint; then what must hold.
struct Move {
    enum Kind { Event, Wait, Close } kind;
    float value;
    std::set<int> hints;
    std::set<int> actions;
    std::set<std::string> names;
    int step;
    bool waiting;
};

TEST_F(TutorialTest, DayOneWalksItsTableByEventsWaitsAndClosedHints)
{
    const std::set<std::string> start = {"table02a", "table04a", "client_place03", "client_place04", "trash_bin",
                                         "shelving01"};
    script->Start(1);
    ASSERT_TRUE(script->IsActive());
    EXPECT_EQ(Hints(), std::set<int>{});
    EXPECT_EQ(ForbiddenActions(), std::set<int>{1});
    EXPECT_EQ(ForbiddenNames(), start);

    const std::set<std::string> afterClient = {"table02a", "table04a", "client_place04", "trash_bin", "shelving01"};
    const std::set<std::string> five = {"table02a", "table04a", "client_place03", "client_place04", "trash_bin"};
    const std::set<std::string> six = {"table02a", "client_place03", "client_place04", "trash_bin", "shelving01"};
    const std::set<std::string> seven = {"table02a", "table04a", "client_place03", "client_place04", "trash_bin",
                                         "shelving01"};
    const std::set<std::string> nine = {"table02a", "table04a", "client_place04", "trash_bin", "shelving01"};
    const Move walk[] = {
        {Move::Event, 1, {1}, {1, 2}, afterClient, 2, false},
        {Move::Event, 2, {}, {1, 2, 3}, afterClient, 3, false},
        {Move::Event, 3, {2}, {1, 2, 3}, afterClient, 4, false},
        {Move::Event, 4, {3}, {1, 2, 3}, afterClient, 5, true},
        // An event during a wait is lost.
        {Move::Event, 0, {3}, {1, 2, 3}, afterClient, 5, true},
        {Move::Wait, 3.5f, {3}, {1, 2, 3}, afterClient, 5, true},
        // Closing hint 3 ends the wait at the next update: step 5.
        {Move::Close, 3, {4}, {1, 2}, five, 6, false},
        {Move::Event, 5, {5}, {1, 2}, six, 7, false},
        {Move::Event, 6, {6}, {1, 2}, seven, 8, false},
        {Move::Event, 7, {7}, {1, 2}, six, 9, false},
        {Move::Event, 8, {8}, {1, 2}, nine, 10, false},
        {Move::Event, 2, {9}, {1}, {}, 11, false},
        // Step 11 waits 3 s without a hint: the wait ends at the next update,
        // which applies step 12 (hint 10 for 0.1 s).
        {Move::Event, 1, {}, {1}, {}, 12, true},
        {Move::Wait, 0.01f, {10}, {1}, {}, 13, true},
        {Move::Wait, 0.2f, {10}, {1}, {}, 13, false},
        {Move::Event, 2, {}, {1}, {}, 14, true},
        {Move::Wait, 0.01f, {11}, {1}, {}, 15, true},
        {Move::Wait, 3.1f, {}, {1}, {}, 16, true},
        {Move::Wait, 0.01f, {}, {1}, {}, 16, false},
        {Move::Event, 9, {12}, {1}, {}, 17, true},
        // Step 17 hides hint 12; step 18 (trigger 0 after no wait) is never
        // applied.
        {Move::Wait, 6.1f, {}, {1}, {}, 18, false},
        {Move::Wait, 1.0f, {}, {1}, {}, 18, false},
    };
    int row = 0;
    for (const Move& move : walk) {
        if (move.kind == Move::Event)
            script->OnEvent(int32_t(move.value));
        else if (move.kind == Move::Wait)
            script->Update(move.value);
        else {
            hud->ShowHint(int32_t(move.value), false);
            Ticks(40);
            script->Update(0.01f);
        }
        EXPECT_EQ(Hints(), move.hints) << "row " << row;
        EXPECT_EQ(ForbiddenActions(), move.actions) << "row " << row;
        EXPECT_EQ(ForbiddenNames(), move.names) << "row " << row;
        EXPECT_EQ(script->GetCurrentStep(), move.step) << "row " << row;
        EXPECT_EQ(script->IsWaiting(), move.waiting) << "row " << row;
        ++row;
    }
}

TEST_F(TutorialTest, StepFourShowsItsHintForAtMostFourSeconds)
{
    script->Start(1);
    for (int event : {1, 2, 3, 4})
        script->OnEvent(event);
    ASSERT_TRUE(script->IsWaiting());
    for (int i = 0; i < 395; ++i) {
        Ticks(1);
        script->Update(0.01f);
    }
    EXPECT_TRUE(script->IsWaiting());
    EXPECT_TRUE(hud->IsHintShown(3));
    script->Update(0.1f);
    EXPECT_FALSE(script->IsWaiting());
    EXPECT_EQ(Hints(), std::set<int>{4});
}

TEST_F(TutorialTest, DayTwoNeedsOneTableClickForEachOfItsStepsNineAndTen)
{
    script->Start(2);
    for (int event : {1, 2, 3, 4})
        script->OnEvent(event);
    script->Update(3.5f); // step 4's wait, then step 5
    for (int event : {5, 6, 7})
        script->OnEvent(event);
    ASSERT_EQ(script->GetCurrentStep(), 9);
    EXPECT_TRUE(hud->IsHintShown(14));
    script->OnEvent(8);
    EXPECT_EQ(script->GetCurrentStep(), 10);
    EXPECT_TRUE(hud->IsHintShown(14));
    EXPECT_FALSE(script->IsNameAllowed("table04a"));
    EXPECT_TRUE(script->IsNameAllowed("table01a"));
    script->OnEvent(8);
    EXPECT_EQ(script->GetCurrentStep(), 11);
    EXPECT_EQ(Hints(), std::set<int>{});
}

TEST_F(TutorialTest, OtherDaysAndSurvivalAllowEverything)
{
    script->Start(1);
    for (int level : {3, 60}) {
        script->Start(level);
        EXPECT_FALSE(script->IsActive());
        EXPECT_EQ(ForbiddenActions(), std::set<int>{});
        EXPECT_EQ(ForbiddenNames(), std::set<std::string>{});
    }
    // The fixture's day 3 and its survival level never start the rules.
    screen->LoadLevel(1);
    ASSERT_TRUE(script->IsActive());
    screen->LoadLevel(3);
    EXPECT_FALSE(script->IsActive());
    screen->LoadLevel(1);
    screen->SetSurvival(true);
    screen->LoadLevel(1);
    EXPECT_FALSE(script->IsActive());
    EXPECT_TRUE(script->IsActionAllowed(1));
    EXPECT_TRUE(script->IsNameAllowed("shelving01"));
}

} // namespace
