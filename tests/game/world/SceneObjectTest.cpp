// Scene objects made from object elements: click polygons and picks, links
// between tables and workers, the idle chain, the effect's item list, reset,
// level states and an animation end handled by playing another animation.
#include "game/effects/Effect.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/SceneObject.h"
#include "tests/game/world/WorldFixture.h"

namespace {

using worldtest::Animation;

class SceneObjectTest : public worldtest::WorldTest {
protected:
    SceneObject* Make(const std::string& xml) { return CreateObjectFromDefinition(Parse(xml)); }
    SceneObject* MakeItem(const std::string& name, const std::string& attributes = std::string(),
                          const std::string& children = std::string())
    {
        return Make("<object class='item' name='" + name + "' " + attributes + ">" + children + "</object>");
    }
    static void Show(SceneObject* object)
    {
        object->SetVisibleFlag(true);
        object->SetActive(true);
    }
    void Tick(int n)
    {
        for (int i = 0; i < n; ++i)
            UpdateAllObjects();
    }
};

TEST_F(SceneObjectTest, TheRegionTextGivesTheClickPolygon)
{
    struct Point {
        int x, y;
    };
    const struct {
        const char* rgn;
        size_t points;
        std::vector<Point> hits;
        std::vector<Point> misses;
    } cases[] = {
        {"0 0 10 0 0 10", 3, {{2, 2}, {0, 0}}, {{9, 9}, {-1, 2}}},
        {"5 5 7", 1, {}, {{5, 5}, {6, 6}}},
        {"0 0 10 0 10 10 0 10", 4, {{0, 0}, {9, 9}}, {{10, 5}, {5, 10}}},
        // A star whose centre is wound twice: inside by the winding rule.
        {"50 0 79 90 2 35 98 35 21 90", 5, {{50, 50}, {50, 10}}, {{10, 10}, {90, 80}}},
        {"0 0 10 0 x 5", 2, {}, {{2, 1}}},
        {"0 0 10 0 0 10 7", 3, {{2, 2}}, {}},
        {"0 0 10 0 0 10 ", 3, {{2, 2}}, {}},
        {"\t-5 -5\n5 -5   -5 5", 3, {{-3, -3}}, {{4, 4}}},
        {"0 0 99999999999 0 0 10", 1, {}, {{1, 1}}},
        {"0 0 2147483647 0 -2147483648 2147483647", 3, {{0, 1}}, {}},
        {"", 0, {}, {{0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rgn);
        SceneObject* object = MakeItem("desk", std::string("rgn='") + c.rgn + "'");
        // One point is no region; two make one without area.
        EXPECT_EQ(object->GetRegion().Points().size(), c.points > 1 ? c.points : 0u);
        for (const Point& p : c.hits)
            EXPECT_TRUE(object->HitTest({p.x, p.y})) << p.x << "," << p.y;
        for (const Point& p : c.misses)
            EXPECT_FALSE(object->HitTest({p.x, p.y})) << p.x << "," << p.y;
        delete object;
    }
}

TEST_F(SceneObjectTest, AVisibleActivePickTakesTheClick)
{
    SceneObject* table = MakeItem("table", "rgn='0 0 100 0 100 100 0 100'", "<picks pick='paper'/><picks pick='gone'/>");
    SceneObject* paper = MakeItem("paper", "rgn='40 40 60 40 60 60 40 60'");
    Show(table);
    Show(paper);
    EXPECT_FALSE(table->HitTest({50, 50}));
    EXPECT_TRUE(table->HitTest({10, 10}));
    EXPECT_TRUE(paper->HitTest({50, 50}));
    paper->SetVisibleFlag(false);
    EXPECT_TRUE(table->HitTest({50, 50}));
    paper->SetVisibleFlag(true);
    paper->SetActiveFlag(false);
    EXPECT_TRUE(table->HitTest({50, 50}));
}

TEST_F(SceneObjectTest, PicksLyingOnEachOtherEndTheHitTest)
{
    SceneObject* a = MakeItem("a", "rgn='0 0 100 0 100 100 0 100'", "<picks pick='b'/><picks pick='a'/>");
    SceneObject* b = MakeItem("b", "rgn='0 0 100 0 100 100 0 100'", "<picks pick='a'/>");
    Show(a);
    Show(b);
    EXPECT_FALSE(a->HitTest({50, 50}));
    EXPECT_FALSE(b->HitTest({50, 50}));
    EXPECT_FALSE(a->HitTest({150, 50}));
}

// Answers every handshake and writes down who asked.
class Answering : public SceneObject {
public:
    bool Interact(SceneObject* other, bool test, int* out) override
    {
        asked.push_back(other);
        *out = test ? 1 : 2;
        return true;
    }
    std::vector<SceneObject*> asked;
};

TEST_F(SceneObjectTest, TablesAndClientPlacesStandForTheirPeople)
{
    auto* worker = new Answering;
    worker->Load(Parse("<object name='worker12'/>"));
    SceneObject* table = MakeItem("table12");
    SceneObject* place = MakeItem("client_place03");
    SceneObject* client = MakeItem("client03");
    SceneObject* cloth = MakeItem("tablecloth");
    SceneObject* window = MakeItem("window");
    EXPECT_EQ(table->FindLinkedObject(), worker);
    EXPECT_EQ(place->FindLinkedObject(), client);
    EXPECT_EQ(cloth->FindLinkedObject(), cloth);
    EXPECT_EQ(window->FindLinkedObject(), window);
    SceneObject* workercloth = MakeItem("workercloth");
    EXPECT_EQ(cloth->FindLinkedObject(), workercloth);

    int out = 0;
    EXPECT_TRUE(table->Interact(window, true, &out));
    EXPECT_EQ(out, 1);
    EXPECT_EQ(worker->asked, std::vector<SceneObject*>{window});
    // Linked to nothing else (or to an object linked to nothing): false.
    out = 0;
    EXPECT_FALSE(window->Interact(table, false, &out));
    EXPECT_FALSE(place->Interact(table, false, &out));
    EXPECT_EQ(out, 0);
}

TEST_F(SceneObjectTest, AnObjectEffectListHoldsFifteenParts)
{
    std::string parts;
    for (int i = 0; i < 16; ++i)
        parts += "<part name='p" + std::to_string(i) + "'/>";
    SceneObject* object = MakeItem("shelf", "", parts);
    ASSERT_EQ(object->GetParts().size(), 16u);
    EffectItemList& list = object->GetItemList();
    EXPECT_EQ(list.count, 15);
    ASSERT_NE(list.ownerActive, nullptr);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(list.items[i].part, object->GetParts()[size_t(i)]);
    EXPECT_EQ(list.items[15].part, nullptr);
    object->SetActiveFlag(true);
    EXPECT_TRUE(*list.ownerActive);
    // A part's own list: its one record, with no owner-active flag.
    EffectItemList& own = object->GetParts()[15]->GetItemList();
    EXPECT_EQ(own.count, 1);
    EXPECT_EQ(own.ownerActive, nullptr);
    EXPECT_EQ(own.items[0].part, object->GetParts()[15]);
}

class ChainTest : public SceneObjectTest {
protected:
    void SetUp() override
    {
        SceneObjectTest::SetUp();
        WriteAnm("body", Animation("bodyidle", "cycle", 10, 10));
        object = MakeItem("clerk", "", "<part name='body'/>");
        Show(object);
        player = &object->GetParts()[0]->GetPlayer();
    }
    SceneObject* object = nullptr;
    AnmPlayer* player = nullptr;
};

TEST_F(ChainTest, ADelayOfZeroRunsOutOnTheNextUpdateThatMovesTime)
{
    object->SetAnimChain("idle", 4, 0.0f, 0.0f);
    ASSERT_TRUE(object->PlayAnimation("idle"));
    EXPECT_TRUE(object->IsChainArmed());
    EXPECT_EQ(player->GetStopFrame(), 4);
    gFrameDelta = 0;
    Tick(100);
    EXPECT_TRUE(object->IsChainArmed());
    EXPECT_EQ(object->GetChainDelay(), 0.0f);
    gFrameDelta = 0.01f;
    Tick(1);
    EXPECT_FALSE(object->IsChainArmed());
    EXPECT_EQ(player->GetStopFrame(), 4);
    EXPECT_EQ(player->GetState(), AnmPlayer::STATE_PLAYING);
}

TEST_F(ChainTest, TheIdlePausesAtItsStopFrameForTheDrawnTime)
{
    object->SetAnimChain("idle", 4, 0.5f, 0.5f);
    float duration = 0;
    ASSERT_TRUE(object->PlayAnimation("idle", &duration));
    EXPECT_FLOAT_EQ(duration, 1.0f);
    Tick(41);
    EXPECT_EQ(player->GetState(), AnmPlayer::STATE_PAUSED);
    EXPECT_EQ(player->GetFrameIndex(), 4);
    EXPECT_TRUE(object->IsChainArmed());
    Tick(45);
    EXPECT_EQ(player->GetState(), AnmPlayer::STATE_PAUSED);
    Tick(10);
    EXPECT_EQ(player->GetState(), AnmPlayer::STATE_PLAYING);
    EXPECT_FALSE(object->IsChainArmed());
    // Round again to the stop frame, and paused there.
    Tick(100);
    EXPECT_EQ(player->GetState(), AnmPlayer::STATE_PAUSED);
    EXPECT_EQ(player->GetFrameIndex(), 4);
    // A hidden object's chain does not run out.
    EXPECT_TRUE(object->IsChainArmed());
    object->SetVisibleFlag(false);
    Tick(200);
    EXPECT_TRUE(object->IsChainArmed());
    EXPECT_EQ(player->GetState(), AnmPlayer::STATE_PAUSED);
}

// Plays "idle" whenever "reproach" ends, and writes down each end.
class Reproaching : public SceneObject {
public:
    void OnAnimationEnd(ObjectPart* part, const std::string& name) override
    {
        ends.push_back(name);
        if (name == "reproach")
            PlayAnimation("idle");
    }
    std::vector<std::string> ends;
};

TEST_F(SceneObjectTest, PlayingFromAnEndReportsItTwiceThenTheNewAnimationRuns)
{
    WriteAnm("boss", Animation("bossreproach", "once", 10, 5) + Animation("bossidle", "cycle", 10, 10));
    auto* boss = new Reproaching;
    boss->Load(Parse("<object name='boss'/>"));
    auto* part = new ObjectPart(boss);
    part->LoadFromXml(Parse("<part name='boss'/>"));
    boss->AddPart(part);
    Show(boss);
    ASSERT_TRUE(boss->PlayAnimation("reproach"));
    Tick(51);
    EXPECT_EQ(boss->ends, (std::vector<std::string>{"reproach", "reproach"}));
    EXPECT_EQ(part->GetAnimationName(), "idle");
    EXPECT_EQ(boss->GetAnimationName(), "idle");
    EXPECT_EQ(part->GetPlayer().GetState(), AnmPlayer::STATE_PLAYING);
    Tick(35);
    EXPECT_EQ(part->GetPlayer().GetFrameIndex(), 3);
    EXPECT_EQ(boss->ends.size(), 2u);
}

TEST_F(SceneObjectTest, AResetKeepsTheSkinThatTheNextActivationAppliesAgain)
{
    LoadEffects("<effect name='look'><messages><message name='onsetskin' command='call' timer_id='Msg'/></messages>"
                "</effect>");
    SceneObject* object = MakeItem("shelf", "effect='look' orient='b' pos_x='30'");
    ASSERT_NE(object->GetEffect(), nullptr);
    object->SetItem("paper");
    object->SetSkin("red", false);
    Show(object);
    const int before = MessagesTo(object->GetEffect());
    object->Reset();
    EXPECT_EQ(object->GetSkin(), "red");
    EXPECT_EQ(object->GetOrientWord(), "b");
    EXPECT_EQ(object->GetPosition().mX, 30);
    EXPECT_EQ(object->GetItem(), "");
    EXPECT_FALSE(object->IsVisible());
    EXPECT_FALSE(object->IsActive());
    const int afterReset = MessagesTo(object->GetEffect());
    EXPECT_GT(afterReset, before);
    object->SetActive(true);
    EXPECT_EQ(MessagesTo(object->GetEffect()), afterReset + 1);
    EXPECT_EQ(object->GetSkin(), "red");
}

TEST_F(SceneObjectTest, AnEffectThatShowsTheObjectTakesOverShowing)
{
    LoadEffects("<effect name='fade'><messages><message name='onshow' command='call' timer_id='Msg'/></messages>"
                "</effect>");
    SceneObject* faded = MakeItem("faded", "effect='fade'", "<part name='a'/>");
    SceneObject* plain = MakeItem("plain", "", "<part name='a'/>");
    plain->GetParts()[0]->SetShownFlag(false);
    faded->SetVisible(true);
    plain->SetVisible(true);
    EXPECT_FALSE(faded->IsVisible());
    EXPECT_EQ(MessagesTo(faded->GetEffect()), 1);
    EXPECT_TRUE(plain->IsVisible());
    EXPECT_TRUE(plain->GetParts()[0]->IsShown());
}

// Writes down the object changes it is asked for, with the skin the object
// has at that moment.
class RecordingScreen : public OfficeScreenInterface {
public:
    bool IsSurvival() const override { return survival; }
    void ChangeObjects(const StageObject& change) override
    {
        SceneObject* object = FindObject(change.name);
        changes.push_back(change.name + "/" + change.skin + "/" + change.anim + " at " +
                          (object ? object->GetSkin() : std::string("?")));
    }
    SceneObject* GetHoveredObject() const override { return hovered; }
    bool survival = false;
    SceneObject* hovered = nullptr;
    std::vector<std::string> changes;
};

TEST_F(SceneObjectTest, ALevelStateSetsTheLookAndTheFlags)
{
    WriteAnm("desk", Animation("deskidle", "cycle", 10, 4) + Animation("deskbluewave", "cycle", 10, 4));
    RecordingScreen screen;
    SetOfficeScreenInterface(&screen);
    const struct {
        const char* what;
        const char* attributes;
        bool survival;
        const char* skin;
        const char* animation;
        bool visible;
        bool active;
        std::vector<std::string> changes;
    } cases[] = {
        {"no skin", "", false, "", "idle", true, true, {}},
        {"skin and animation", "skin='blue' anim='wave'", false, "blue", "wave", true, true, {}},
        {"stopped", "skin='blue' stop='true'", false, "blue", "idle", false, false, {}},
        {"stop false", "stop='false'", false, "", "idle", true, true, {}},
        {"blinks in", "skin='blue' anim='wave' old_skin='none'", false, "blue", "wave", false, true,
         {"desk/blue/wave at none"}},
        {"blinks from red", "skin='blue' old_skin='red'", false, "red", "idle", true, true, {"desk/blue/ at red"}},
        {"survival", "skin='blue' old_skin='none'", true, "blue", "idle", true, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SceneObject* desk = MakeItem("desk", "", "<part name='desk'/>");
        ASSERT_TRUE(desk->PlayAnimation("idle"));
        desk->SetSkin("green", false);
        screen.survival = c.survival;
        screen.changes.clear();
        desk->ApplyLevelState(Parse(std::string("<object name='desk' ") + c.attributes + "/>"));
        EXPECT_EQ(desk->GetSkin(), c.skin);
        EXPECT_EQ(desk->GetAnimationName(), c.animation);
        EXPECT_EQ(desk->GetParts()[0]->GetAnimationName(), c.animation);
        EXPECT_EQ(desk->IsVisible(), c.visible);
        EXPECT_EQ(desk->IsActive(), c.active);
        EXPECT_EQ(screen.changes, c.changes);
        delete desk;
    }
}

TEST_F(SceneObjectTest, WithoutAnOfficeScreenALevelIsACareerDayWithoutChanges)
{
    SceneObject* desk = MakeItem("desk");
    desk->ApplyLevelState(Parse("<object name='desk' skin='blue' old_skin='none'/>"));
    EXPECT_EQ(desk->GetSkin(), "blue");
    EXPECT_FALSE(desk->IsVisible());
}

} // namespace
