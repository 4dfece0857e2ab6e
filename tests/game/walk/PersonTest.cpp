// Walking characters: the two-phase handshake and its call order, dropped
// queues, walks timed by the smooth step with the end raised as event 3,
// scheduled events, the way home and hiding at home, the facing words and
// the carried items.
#include "game/world/Person.h"
#include "game/world/Pickable.h"
#include "game/world/SceneObjectList.h"
#include "tests/game/walk/WalkFixture.h"

#include <limits>

namespace {

std::vector<std::string> gLog;

class RecordingWalker : public Person {
public:
    bool Interact(SceneObject*, bool test, int* word) override
    {
        gLog.push_back(std::string("walker ") + (test ? "test " : "perform ") + std::to_string(*word));
        if (!test)
            *word = 0;
        return answer;
    }
    void OnScheduledEvent(int code) override { events.push_back(code); }
    float GetMoveSpeed() override { return speed; }

    bool answer = true;
    float speed = 200.0f;
    std::vector<int> events;
};

class RecordingTarget : public Pickable {
public:
    bool Interact(SceneObject*, bool test, int* word) override
    {
        gLog.push_back(GetName() + (test ? " test " : " perform ") + std::to_string(*word));
        *word += 7;
        return answer;
    }
    void Unpick() override
    {
        gLog.push_back(GetName() + " unpick, checkmark " + std::to_string(IsCheckmarkShown(0)) + ", queued " +
                       std::to_string(walker ? walker->GetTargets().size() : 0));
        Pickable::Unpick();
    }

    bool answer = true;
    Person* walker = nullptr;
};

class PersonTest : public walktest::WalkTest {
protected:
    void SetUp() override
    {
        walktest::WalkTest::SetUp();
        gLog.clear();
        BeforeWalker();
        boss = Build<RecordingWalker>("<object class='boss' name='boss' start_point='home'><part name='boss'/>"
                                      "<part name='held_items'/><part name='held_items'/></object>");
        desk = Target("desk", "<point owner='boss' direction='t' offs_x='99' offs_y='0'/>");
        shelf = Target("shelf", "<point owner='boss' direction='l' offs_x='0' offs_y='50'/>");
        island = Target("island", "<point owner='boss' offs_x='500' offs_y='500'/>");
        LoadWalkGraph("boss", walktest::GraphXml("boss", {{"home", 0, 0, "b"}}, {{"home", "desk"}, {"home", "shelf"}}));
        Show(boss);
        for (Pickable* target : {desk, shelf, island})
            Show(target);
    }
    void TearDown() override
    {
        gLog.clear();
        walktest::WalkTest::TearDown();
    }
    virtual void BeforeWalker() {}
    RecordingTarget* Target(const std::string& name, const std::string& point)
    {
        RecordingTarget* target = Build<RecordingTarget>("<object class='pickable' name='" + name +
                                                         "'><part name='checkmark'/><part name='checkmark'/>" +
                                                         point + "</object>");
        target->walker = nullptr;
        return target;
    }
    // One update tick and one smooth step of a whole period.
    void Tick()
    {
        UpdateAllObjects();
        UpdateAllObjectsSmooth(1.0f);
    }

    RecordingWalker* boss = nullptr;
    RecordingTarget* desk = nullptr;
    RecordingTarget* shelf = nullptr;
    RecordingTarget* island = nullptr;
};

TEST_F(PersonTest, AtTheTargetBothSidesTestThenActObjectFirst)
{
    desk->walker = boss;
    boss->PlaceAtPoint("desk");
    EXPECT_EQ(boss->GetPosition().mX, 99);
    desk->Pick();
    boss->EnqueueTarget(desk);
    EXPECT_TRUE(desk->IsCheckmarkShown(0));
    UpdateAllObjects();
    EXPECT_EQ(gLog, (std::vector<std::string>{"desk test 0", "walker test 7", "desk perform 7", "walker perform 14",
                                              "desk unpick, checkmark 1, queued 1"}));
    EXPECT_FALSE(desk->IsCheckmarkShown(0));
    EXPECT_TRUE(boss->GetTargets().empty());
    EXPECT_EQ(desk->GetPendingClicks(), 0);
    EXPECT_FALSE(boss->IsWalking());
}

TEST_F(PersonTest, TwoClicksRunTwoHandshakes)
{
    boss->PlaceAtPoint("desk");
    boss->EnqueueTarget(desk);
    boss->EnqueueTarget(desk);
    EXPECT_TRUE(desk->IsCheckmarkShown(0) && desk->IsCheckmarkShown(1));
    EXPECT_EQ(boss->GetNextTarget(), desk);
    UpdateAllObjects();
    EXPECT_TRUE(desk->IsCheckmarkShown(0));
    EXPECT_FALSE(desk->IsCheckmarkShown(1));
    EXPECT_EQ(boss->GetTargets().size(), 1u);
    EXPECT_EQ(boss->GetNextTarget(), nullptr);
    UpdateAllObjects();
    EXPECT_FALSE(desk->IsCheckmarkShown(0));
    EXPECT_TRUE(boss->GetTargets().empty());
    EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "walker perform 14"), 2);
}

TEST_F(PersonTest, ARefusalDropsTheQueueAndUnpicksEveryObject)
{
    const struct {
        const char* what;
        bool deskAnswer, walkerAnswer;
        std::vector<std::string> log;
    } cases[] = {
        {"the object refuses", false, true, {"desk test 0", "desk unpick, checkmark 1, queued 2",
                                             "shelf unpick, checkmark 1, queued 2"}},
        {"the walker refuses", true, false, {"desk test 0", "walker test 7", "desk unpick, checkmark 1, queued 2",
                                             "shelf unpick, checkmark 1, queued 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        gLog.clear();
        desk->walker = shelf->walker = boss;
        desk->answer = c.deskAnswer;
        boss->answer = c.walkerAnswer;
        boss->PlaceAtPoint("desk");
        boss->EnqueueTarget(desk);
        boss->EnqueueTarget(shelf);
        shelf->Pick();
        UpdateAllObjects();
        EXPECT_EQ(gLog, c.log);
        EXPECT_TRUE(boss->GetTargets().empty());
        EXPECT_FALSE(desk->IsCheckmarkShown(0) || shelf->IsCheckmarkShown(0));
        EXPECT_EQ(shelf->GetPendingClicks(), 0);
    }
}

TEST_F(PersonTest, AnUnreachableTargetDropsTheQueueButKeepsTheClicks)
{
    island->Pick();
    desk->Pick();
    boss->EnqueueTarget(island);
    boss->EnqueueTarget(desk);
    Tick();
    EXPECT_TRUE(boss->GetTargets().empty());
    EXPECT_FALSE(island->IsCheckmarkShown(0) || desk->IsCheckmarkShown(0));
    EXPECT_EQ(island->GetPendingClicks(), 1);
    EXPECT_EQ(desk->GetPendingClicks(), 1);
    EXPECT_FALSE(boss->IsWalking());
    EXPECT_TRUE(gLog.empty());
}

TEST_F(PersonTest, AWalkEndsOnTheStepThatPassesItsLength)
{
    boss->EnqueueTarget(desk);
    int step = 0;
    while (boss->events.empty() && step < 1000) {
        Tick();
        ++step;
        if (step == 1) {
            EXPECT_TRUE(boss->IsWalking());
            EXPECT_TRUE(boss->IsBusy());
            EXPECT_EQ(boss->GetCurrentPoint(), "desk"); // the target at once
            EXPECT_EQ(boss->GetPosition().mX, 2);
            EXPECT_EQ(boss->GetFacing(), "r");
        }
    }
    EXPECT_EQ(step, 50);
    EXPECT_EQ(boss->events, std::vector<int>{Person::kWalkEnded});
    EXPECT_FALSE(boss->IsWalking());
    EXPECT_EQ(boss->GetPosition().mX, 99);
    EXPECT_EQ(boss->GetPosition().mY, 0);
    // It faces the object at the approach point.
    EXPECT_EQ(boss->GetFacing(), "t");
    for (ObjectPart* part : boss->GetParts()) {
        const ObjectPart::BasePoint* line = part->GetBaseLine();
        EXPECT_EQ(line[0].x, 79);
        EXPECT_EQ(line[1].x, 99);
        EXPECT_EQ(line[2].x, 119);
        EXPECT_EQ(line[0].y, 0);
        EXPECT_EQ(line[2].y, 0);
    }
    EXPECT_TRUE(gLog.empty());
    Tick(); // the handshake on the next update
    EXPECT_EQ(gLog.size(), 5u);
    EXPECT_EQ(boss->events.size(), 1u);
}

TEST_F(PersonTest, AWalkWithoutSpeedEndsAtOnce)
{
    boss->speed = 0;
    EXPECT_TRUE(boss->WalkTo("shelf", 0));
    UpdateAllObjectsSmooth(1.0f);
    EXPECT_FALSE(boss->IsWalking());
    EXPECT_EQ(boss->GetPosition().mY, 50);
    EXPECT_EQ(boss->events, std::vector<int>{Person::kWalkEnded});
    EXPECT_EQ(boss->GetFacing(), "mr"); // the end word "l"
    // No walk to where it stands, and none while switched off.
    EXPECT_FALSE(boss->WalkTo("shelf", 100));
    boss->SetActive(false);
    EXPECT_FALSE(boss->WalkTo("desk", 100));
    // Without its walk graphs a walker neither walks nor jumps.
    boss->SetActive(true);
    world.walkGraphs.erase("boss");
    EXPECT_FALSE(boss->WalkTo("desk", 100));
    boss->PlaceAtPoint("desk");
    EXPECT_EQ(boss->GetCurrentPoint(), "home");
}

TEST_F(PersonTest, ScheduledEventsFireWhenTheirDelayRunsOut)
{
    boss->ScheduleEvent(0.495f, 7);
    EXPECT_TRUE(boss->IsBusy());
    int step = 0;
    while (boss->events.empty() && step < 1000) {
        Tick();
        ++step;
    }
    EXPECT_EQ(step, 50);
    EXPECT_EQ(boss->events, std::vector<int>{7});
    EXPECT_EQ(boss->GetEventDelay(), 0.0f);
    EXPECT_FALSE(boss->HasScheduledEvent());

    for (float delay : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        SCOPED_TRACE(delay);
        boss->events.clear();
        boss->ScheduleEvent(delay, 9);
        EXPECT_TRUE(boss->HasScheduledEvent());
        Tick();
        EXPECT_EQ(boss->events, std::vector<int>{9});
        EXPECT_EQ(boss->GetEventDelay(), 0.0f);
    }
    // Switching on drops a pending event.
    boss->events.clear();
    boss->ScheduleEvent(0, 9);
    boss->SetActive(true);
    Tick();
    EXPECT_TRUE(boss->events.empty());
}

TEST_F(PersonTest, WalkersGoHomeAndHideThereAsTheyAreSet)
{
    const struct {
        const char* what;
        bool returnHome, hideAtHome;
        const char* at;
        bool pending, event;
        bool walking, visible;
    } cases[] = {
        {"home again", true, false, "desk", false, false, true, true},
        {"the boss stays", false, false, "desk", false, false, false, true},
        {"busy, not yet", true, false, "desk", false, true, false, true},
        {"hidden at home", false, true, "home", false, false, false, false},
        {"a pending target shows it", false, true, "home", true, false, false, true},
        {"an event shows it", false, true, "home", false, true, false, true},
        {"away it shows", false, true, "desk", false, false, false, true},
        {"on its way home it shows", true, true, "desk", false, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boss->SetActive(true);
        boss->SetReturnHome(c.returnHome);
        boss->SetHideAtHome(c.hideAtHome);
        boss->PlaceAtPoint(c.at);
        boss->SetVisibleFlag(c.hideAtHome ? !c.visible : true);
        if (c.pending)
            boss->SetPendingTarget(desk);
        if (c.event)
            boss->ScheduleEvent(5, 1);
        boss->Update();
        EXPECT_EQ(boss->IsWalking(), c.walking);
        if (c.walking)
            EXPECT_EQ(boss->GetCurrentPoint(), "home");
        EXPECT_EQ(boss->IsVisible(), c.visible);
    }
    // A new pending target unpicks the one before.
    desk->Pick();
    boss->SetPendingTarget(desk);
    EXPECT_EQ(boss->SetPendingTarget(shelf), desk);
    EXPECT_EQ(desk->GetPendingClicks(), 0);
    EXPECT_TRUE(boss->HasPendingTarget());
}

TEST_F(PersonTest, TheFacingFollowsTheBearingInEightWords)
{
    const struct {
        int dx, dy;
        const char* word;
    } cases[] = {
        {0, -1, "t"},   {1, -1, "tr"},  {1, 0, "r"},     {1, 1, "br"},   {0, 1, "b"},     {-1, 1, "mbr"},
        {-1, 0, "mr"},  {-1, -1, "mtr"}, {2, -5, "t"},   {5, -12, "tr"}, {-2, -5, "t"},   {-5, -12, "mtr"},
        {2147483647, -2147483647 - 1, "tr"},
    };
    ObjectPart* held = boss->GetParts()[1];
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
        boss->FaceDirection({c.dx, c.dy});
        EXPECT_EQ(boss->GetFacing(), c.word);
        EXPECT_EQ(boss->GetOrientWord(), c.word);
        EXPECT_EQ(held->GetOrientation(), "");
    }
    // No direction changes nothing at all.
    boss->FaceDirection({3, 3});
    const std::string bodyOrientation = boss->GetParts()[0]->GetOrientation();
    boss->SetOrientWord("x");
    boss->FaceDirection({0, 0});
    EXPECT_EQ(boss->GetFacing(), "br");
    EXPECT_EQ(boss->GetOrientWord(), "x");
    EXPECT_EQ(boss->GetParts()[0]->GetOrientation(), bodyOrientation);
}

class HeldItemsTest : public PersonTest {
protected:
    void BeforeWalker() override
    {
        std::string text;
        for (const char* word : {"0103", "0200", "money", "0", "02", "0203", "0101"})
            text += worldtest::Animation(std::string("held_itemsb") + word, "cycle", 1, 1);
        WriteAnm("held_items", text);
    }
    void SetUp() override
    {
        PersonTest::SetUp();
        PersParams record;
        record.name = "boss:man";
        record.orientations["b"] = {"b", "b", 3, 4};
        record.orientations["l"] = {"l", "b", -7, 2};
        record.orientations["t"] = {"t", "b", 0, -5};
        world.persParams["boss:man"] = record;
        boss->BindPersParams("boss:man");
        held1 = boss->GetHeldPart(0);
        held2 = boss->GetHeldPart(1);
        body = boss->GetBodyPart();
    }

    ObjectPart* held1 = nullptr;
    ObjectPart* held2 = nullptr;
    ObjectPart* body = nullptr;
};

TEST_F(HeldItemsTest, ItemsShowInOneOrTwoHeldParts)
{
    ASSERT_TRUE(held1 && held2 && body);
    ASSERT_NE(held1, held2);
    EXPECT_EQ(body->GetPartName(), "boss");
    const struct {
        const char* what;
        std::string item, orient, record;
        bool event;
        bool shown1;
        std::string anim1;
        int offsX;
        bool shown2;
        std::string anim2;
    } cases[] = {
        {"a split item", "0203", "b", "boss:man", false, true, "0103", 3, true, "0200"},
        {"a first-kind item", "0103", "b", "boss:man", false, true, "0103", 3, false, ""},
        {"money", "money", "b", "boss:man", false, true, "money", 3, false, ""},
        {"a word too short to split", "0", "b", "boss:man", false, true, "0", 3, false, ""},
        {"two characters", "02", "b", "boss:man", false, true, "02", 3, false, ""},
        {"nothing carried", "", "b", "boss:man", false, false, "", 0, false, ""},
        {"no record", "0203", "b", "nobody", false, false, "", 0, false, ""},
        {"left looks up l", "0103", "mr", "boss:man", false, true, "0103", -7, false, ""},
        {"no entry for the word", "0103", "tr", "boss:man", false, false, "", 0, false, ""},
        {"a pending event", "0203", "b", "boss:man", true, false, "", 0, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boss->SetActive(true);
        boss->BindPersParams(c.record);
        held1->SetShownFlag(true);
        held2->SetShownFlag(true);
        held1->PlayAnimation("0101", false);
        held2->PlayAnimation("0101", false);
        boss->SetItem(c.item);
        boss->SetOrientWord(c.orient);
        if (c.event)
            boss->ScheduleEvent(1, 1);
        boss->UpdateHeldItems();
        EXPECT_EQ(held1->IsShown(), c.shown1);
        if (c.shown1) {
            EXPECT_EQ(held1->GetAnimationName(), c.anim1);
            EXPECT_EQ(held1->GetOffsetX(), c.offsX);
            EXPECT_EQ(held1->GetOrientation(), "b");
        }
        if (c.shown1 || c.event)
            EXPECT_EQ(held2->IsShown(), c.shown2);
        if (c.shown2)
            EXPECT_EQ(held2->GetAnimationName(), c.anim2);
    }
}

TEST_F(HeldItemsTest, ItemsAreDrawnInFrontOrBehindByTheOrientation)
{
    world.zOrder.RegisterPart(body, true);
    boss->SetItem("0203");
    for (const char* word : {"b", "br", "bl", "r", "l", "mr", "mbr"}) {
        SCOPED_TRACE(word);
        boss->SetOrientWord(word);
        boss->UpdateHeldItems();
        EXPECT_EQ(world.zOrder.GetDrawList(), (std::vector<ObjectPart*>{body, held1, held2}));
    }
    for (const char* word : {"t", "tr", "mtr"}) {
        SCOPED_TRACE(word);
        boss->SetOrientWord(word);
        boss->UpdateHeldItems();
        EXPECT_EQ(world.zOrder.GetDrawList(), (std::vector<ObjectPart*>{held1, body}));
    }
}

} // namespace
