// Clicks on the office: picked and queued once per object in a row, handed
// out once per update to the secretary, the engineer or the boss by the
// object's name, held while the day ends or the tutorial forbids it.
#include "game/flow/BriefingDialog.h"
#include "game/world/Door.h"
#include "game/world/PeriodItem.h"
#include "game/world/Person.h"
#include "tests/game/flow/DayFixture.h"

using namespace daytest;

namespace {

class RecordingPerson : public Person {
public:
    RecordingPerson(Log* log, const std::string& who) : mLog(log), mWho(who) {}
    bool IsBusy() override { return busy; }
    void EnqueueTarget(Pickable* target) override { mLog->push_back(mWho + " " + target->GetName()); }
    bool busy = false;
    Log* mLog;
    std::string mWho;
};

class RecordingDoor : public Door {
public:
    explicit RecordingDoor(Log* log) : mLog(log) {}
    void OpenIfIdle() override { mLog->push_back("door opens"); }
    Log* mLog;
};

// A tutorial double that forbids one name.
class FakeTutorialNames : public TutorialScript {
public:
    FakeTutorialNames() : TutorialScript(nullptr) {}
    bool IsNameAllowed(const std::string& name) const override { return name != forbidden; }
    std::string forbidden;
};

class ClickTest : public DayTest {
protected:
    void SetUp() override
    {
        DayTest::SetUp();
        MakeScreen();
        WriteLevel("cfg/l5.xml", "<level><params normal=\"10\" expert=\"20\"/><objects><object name=\"client03\"/>"
                                 "<object name=\"client_place03\" skin=\"plain\" anim=\"idle\"/>"
                                 "<object name=\"table04a\" skin=\"plain\" anim=\"idle\"/></objects>"
                                 "<events_queue><clients_timeline><time_point time=\"500\" event=\"student\"/>"
                                 "</clients_timeline></events_queue></level>");
        screen->LoadLevel(5);
        screen->StartDay();
        screen->GetBriefing()->Continue();
        saved[0] = gBoss;
        saved[1] = gSecretary;
        saved[2] = gEngineer;
        saved[3] = gCoffeeMachine;
    }
    void TearDown() override
    {
        gBoss = saved[0];
        gSecretary = saved[1];
        gEngineer = saved[2];
        gCoffeeMachine = saved[3];
        DayTest::TearDown();
    }
    // An object of the kind, named, shown and switched on, covering a 20 x
    // 20 square at (x, y).
    template <class Kind, class... Args>
    Kind* Make(const std::string& name, int x, int y, Args... args)
    {
        Kind* object = new Kind(args...);
        documents.emplace_back();
        const std::string x0 = std::to_string(x), y0 = std::to_string(y), x1 = std::to_string(x + 20),
                          y1 = std::to_string(y + 20);
        documents.back().LoadText(Zelk::StringToWString("<object name='" + name + "' pos_x='" + x0 + "' pos_y='" + y0 +
                                                        "' rgn='" + x0 + " " + y0 + " " + x1 + " " + y0 + " " + x1 +
                                                        " " + y1 + " " + x0 + " " + y1 + "'/>"));
        object->Load(documents.back().Node().SelectSingle(L"object"));
        object->SetVisibleFlag(true);
        object->SetActiveFlag(true);
        return object;
    }
    // Clicks at the centre of each object's square, then one update.
    void ClickAll(std::initializer_list<SceneObject*> objects)
    {
        for (SceneObject* object : objects) {
            const Zelk::Point at = object->GetPosition();
            screen->Click(at.mX + 10, at.mY + 10);
        }
        Ticks(1);
    }

    std::vector<XmlDocument> documents;
    SceneObject* saved[4] = {};
};

TEST_F(ClickTest, TwoClicksOnOneObjectQueueItOnceAndPickItTwice)
{
    FakeTutorial tutorial;
    tutorial.forbidden = 3; // the queue stays to be looked at
    TutorialScript* own = gTutorialScript;
    gTutorialScript = &tutorial;
    Pickable* table = Make<Pickable>("table09", 10, 560);
    Pickable* other = Make<Pickable>("table08", 40, 560);
    calls.clear();
    ClickAll({table, table, other, table});
    EXPECT_EQ(table->GetPendingClicks(), 3);
    EXPECT_EQ(screen->GetClickQueue(), (std::vector<Pickable*>{table, other, table}));
    EXPECT_EQ(Count("sound click"), 3);
    screen->Click(5, 5); // nothing there
    EXPECT_EQ(screen->GetClickQueue().size(), 3u);
    gTutorialScript = own;
    Ticks(1);
    EXPECT_TRUE(screen->GetClickQueue().empty());
}

TEST_F(ClickTest, ClicksGoToTheStaffByName)
{
    Log log;
    auto* boss = Make<RecordingPerson>("boss", 700, 10, &log, std::string("boss"));
    auto* secretary = Make<RecordingPerson>("secretary", 730, 10, &log, std::string("secretary"));
    auto* engineer = Make<RecordingPerson>("engineer", 760, 10, &log, std::string("engineer"));
    auto* coffee = Make<PeriodItem>("coffeemachine", 10, 560);
    auto* door = Make<RecordingDoor>("door03", 40, 560, &log);
    auto* place = Make<Pickable>("client_place05", 70, 560);
    auto* lonely = Make<Pickable>("client_place07", 100, 560);
    auto* table = Make<Pickable>("table09", 130, 560);
    auto* client = Make<FakeClient>("client05", 160, 560);
    gBoss = boss;
    gSecretary = secretary;
    gEngineer = engineer;
    gCoffeeMachine = coffee;

    struct Row {
        const char* what;
        bool secretaryBusy;
        bool clientStatus;
        std::vector<SceneObject*> clicks;
        Log expected;
    } rows[] = {
        {"coffee while she is busy, then a waiting client", true, true, {coffee, place},
         {"boss client_place05"}},
        {"coffee, then a waiting client", false, true, {coffee, place},
         {"secretary coffeemachine", "secretary client_place05"}},
        {"coffee, then a client showing no status", false, false, {coffee, place},
         {"secretary coffeemachine", "boss client_place05"}},
        {"a client place without a client", false, true, {lonely}, {"boss client_place07"}},
        {"the door, then a table", false, true, {door, table}, {"door opens", "boss table09"}},
    };
    for (const Row& row : rows) {
        log.clear();
        secretary->busy = row.secretaryBusy;
        secretary->SetPendingTarget(nullptr);
        client->SetState(row.clientStatus ? Client::kWaitingForBoss : Client::kPlaceFree);
        for (SceneObject* object : row.clicks) {
            const Zelk::Point at = object->GetPosition();
            screen->Click(at.mX + 10, at.mY + 10);
            Ticks(1);
        }
        EXPECT_EQ(log, row.expected) << row.what;
        EXPECT_FALSE(secretary->HasPendingTarget()) << row.what;
    }

    // Without a boss a click is dropped.
    gBoss = nullptr;
    log.clear();
    ClickAll({table});
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(screen->GetClickQueue().empty());
}

TEST_F(ClickTest, ClicksWaitWhileTheDayEndsOrTheTutorialForbidsAndANewDayForgetsThem)
{
    Log log;
    auto* boss = Make<RecordingPerson>("boss", 700, 10, &log, std::string("boss"));
    gBoss = boss;
    Pickable* table = Make<Pickable>("table09", 10, 560);

    FakeTutorial tutorial;
    tutorial.forbidden = 3;
    TutorialScript* own = gTutorialScript;
    gTutorialScript = &tutorial;
    ClickAll({table});
    Ticks(5);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(screen->GetClickQueue().size(), 1u);
    tutorial.forbidden = 0;
    Ticks(1);
    EXPECT_EQ(log, Log{"boss table09"});
    gTutorialScript = own;

    // The day's end: the clients are gone, the countdown runs.
    screen->GetWorld().levelTimelines.clientsWorking.clear();
    Ticks(1);
    ASSERT_TRUE(screen->IsEnding());
    log.clear();
    ClickAll({table});
    Ticks(100);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(screen->GetClickQueue().size(), 1u);
    screen->StartDay();
    EXPECT_TRUE(screen->GetClickQueue().empty());
}

// The mouse over the office: the first hoverable clickable object under it
// is the hovered one and the cursor says so; a name the tutorial forbids is
// not hovered; while the day stands still nothing changes.
TEST_F(ClickTest, TheHoveredObjectIsTheFirstHoverableUnderTheMouse)
{
    Pickable* table = Make<Pickable>("table09", 10, 560);
    Pickable* above = Make<Pickable>("table08", 10, 560);
    calls.clear();
    screen->MouseMove(15, 565);
    EXPECT_EQ(screen->GetHoveredObject(), table);
    screen->MouseMove(5, 5);
    EXPECT_EQ(screen->GetHoveredObject(), nullptr);
    EXPECT_EQ(calls, (Log{"cursor active", "cursor normal"}));

    FakeTutorialNames tutorial;
    tutorial.forbidden = "table09";
    TutorialScript* own = gTutorialScript;
    gTutorialScript = &tutorial;
    screen->MouseMove(15, 565);
    EXPECT_EQ(screen->GetHoveredObject(), above);
    gTutorialScript = own;

    screen->StopDay();
    screen->MouseMove(5, 5);
    EXPECT_EQ(screen->GetHoveredObject(), above);
}

// While the tutorial runs, a clicked client place whose client shows its
// status sends event 2 and a clicked table event 8, each only when the
// tutorial allows the name (a forbidden one does not reach the boss either).
class RecordingTutorial : public TutorialScript {
public:
    RecordingTutorial() : TutorialScript(nullptr) {}
    void OnEvent(int32_t event) override
    {
        events.push_back(event);
        TutorialScript::OnEvent(event);
    }
    std::vector<int32_t> events;
};

TEST_F(ClickTest, TheTutorialHearsClientPlacesAndTablesItAllows)
{
    Log log;
    gBoss = Make<RecordingPerson>("boss", 700, 10, &log, std::string("boss"));
    auto* place = Make<Pickable>("client_place05", 70, 560);
    auto* forbidden = Make<Pickable>("client_place03", 100, 560);
    auto* table = Make<Pickable>("table09", 130, 560);
    auto* client = Make<FakeClient>("client05", 160, 560);
    client->SetState(Client::kWaitingForBoss);
    Make<FakeClient>("client03", 190, 560)->SetState(Client::kWaitingForBoss);

    RecordingTutorial tutorial;
    tutorial.Start(1);
    TutorialScript* own = gTutorialScript;
    gTutorialScript = &tutorial;
    tutorial.events.clear();
    ClickAll({place, forbidden, table});
    EXPECT_EQ(tutorial.events, (std::vector<int32_t>{2, 8}));
    EXPECT_EQ(log, (Log{"boss client_place05", "boss table09"}));

    // Without the tutorial running no event is sent.
    tutorial.Reset();
    tutorial.events.clear();
    ClickAll({place, table});
    EXPECT_TRUE(tutorial.events.empty());
    gTutorialScript = own;
}

} // namespace
