// Clickable objects and the popup pool: money and bonus popups with their
// events and placement, checkmark slots, a stopped pickable, hovering passed
// to the linked object, and the registry's creation order.
#include "game/world/ItemBonus.h"
#include "game/world/Pickable.h"
#include "tests/game/walk/WalkFixture.h"

namespace {

class PickableTest : public walktest::WalkTest {
protected:
    static int CallsOf(const std::string& function, const void* effect = nullptr)
    {
        int n = 0;
        for (const RecordedCall& call : Calls())
            if (call.function == function && (!effect || call.argument == effect))
                ++n;
        return n;
    }
    static int Shown(const SceneObject* object, const std::string& name)
    {
        int n = 0;
        for (const ObjectPart* part : object->GetParts())
            if (part->GetPartName() == name && part->IsVisible())
                ++n;
        return n;
    }
};

class RecordingHover : public SceneObject {
public:
    void OnMouseMove(const Zelk::Point& point, bool hit) override { moves.push_back({point, hit}); }
    std::vector<std::pair<Zelk::Point, bool>> moves;
};

TEST_F(PickableTest, PopupsShowMoneyAndBonusTextsBesideTheirAnchor)
{
    LoadEffects("<effect name='cashfx'><messages><message name='on_cash' command='call' timer_id='Msg'/>"
                "<message name='on_penalty' command='call' timer_id='Both'/></messages></effect>"
                "<effect name='bonusfx'><messages><message name='on_bonus' command='call' timer_id='Msg'/></messages>"
                "</effect>");
    std::string parts = "<part name='cash' effect='cashfx' offs_x='10' offs_y='-40' scale_point_x='102' "
                        "scale_point_y='15'/>";
    for (int k = 0; k < 3; ++k)
        parts += "<part name='cash' effect='cashfx'/>";
    parts += "<part name='bonus' effect='bonusfx' offs_x='-20' offs_y='-60'/><part name='bonus' effect='bonusfx'/>";
    ItemBonus* bonus = Build<ItemBonus>("<object class='item_bonus' name='bonus'>" + parts + "</object>");
    SceneObject* anchor = Build<SceneObject>("<object class='item' name='desk' pos_x='300' pos_y='200' offs_x='5' "
                                             "offs_y='5'/>");
    Show(bonus);
    for (ObjectPart* part : bonus->GetParts()) {
        EXPECT_EQ(part->GetText(), L"$");
        EXPECT_FALSE(part->IsVisible());
    }
    const void* cashEffect = bonus->GetParts()[0]->GetEffect();
    const void* bonusEffect = bonus->GetParts()[4]->GetEffect();
    ASSERT_TRUE(cashEffect && bonusEffect);

    const struct {
        const char* what;
        int kind;
        bool anchored;
        int32_t amount;
        std::wstring text;
        int cash, bonus; // parts shown
        std::wstring shownText;
        int cashMsg, penalty, bonusMsg;
    } cases[] = {
        {"a payment", 1, true, 25, L"", 1, 0, L"$+25", 1, 0, 0},
        {"a penalty", 1, true, -25, L"", 1, 0, L"$-25", 0, 1, 0},
        {"nothing paid", 1, true, 0, L"", 0, 0, L"", 0, 0, 0},
        {"no anchor", 1, false, 25, L"", 0, 0, L"", 0, 0, 0},
        {"a bonus", 0, true, 10, L"Rush x3", 0, 1, L"Rush x3", 0, 0, 1},
        {"a bonus of nothing", 0, true, 0, L"Rush x3", 0, 0, L"", 0, 0, 0},
        {"another kind", 2, true, 25, L"", 0, 0, L"", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bonus->SetActive(true);
        Calls().clear();
        bonus->ShowPopup(c.kind, c.anchored ? anchor : nullptr, c.amount, c.text);
        EXPECT_EQ(Shown(bonus, "cash"), c.cash);
        EXPECT_EQ(Shown(bonus, "bonus"), c.bonus);
        for (ObjectPart* part : bonus->GetParts())
            if (part->IsVisible()) {
                EXPECT_EQ(part->GetText(), c.shownText);
                EXPECT_EQ(part->GetTextSize().mX, 204);
                EXPECT_EQ(part->GetTextSize().mY, 30);
            }
        EXPECT_EQ(CallsOf("Msg", cashEffect), c.cashMsg);
        EXPECT_EQ(CallsOf("Both"), c.penalty);
        EXPECT_EQ(CallsOf("Msg", bonusEffect), c.bonusMsg);
    }

    // Every popup starts from the template's placement: no drift, also
    // when the template's own part is reused.
    bonus->SetActive(true);
    ObjectPart* first = bonus->GetParts()[0];
    for (int popup = 1; popup <= 4; ++popup) {
        if (popup == 4) {
            first->SetShownFlag(false); // its effect ended
            EXPECT_EQ(bonus->FindFreePart("cash"), first);
        }
        bonus->ShowPopup(ItemBonus::KIND_CASH, anchor, 5, L"");
        ObjectPart* used = popup == 4 ? first : bonus->GetParts()[size_t(popup - 1)];
        SCOPED_TRACE(popup);
        EXPECT_EQ(used->GetOffsetX(), 315);
        EXPECT_EQ(used->GetOffsetY(), 165);
        EXPECT_EQ(used->GetScalePoint().mX, 102);
        EXPECT_EQ(used->GetScalePoint().mY, 15);
    }
    // A full pool drops the popup.
    bonus->ShowPopup(ItemBonus::KIND_CASH, anchor, 5, L"");
    EXPECT_EQ(Shown(bonus, "cash"), 4);
    EXPECT_EQ(bonus->FindFreePart("cash"), nullptr);
    Calls().clear();
    bonus->ShowPopup(ItemBonus::KIND_CASH, anchor, 5, L"");
    EXPECT_EQ(CallsOf("Msg", cashEffect), 0);
    // The bonus template places bonus popups.
    bonus->ShowPopup(ItemBonus::KIND_BONUS, anchor, 1, L"x");
    EXPECT_EQ(bonus->GetParts()[4]->GetOffsetX(), 285);
    EXPECT_EQ(bonus->GetParts()[4]->GetOffsetY(), 145);
}

TEST_F(PickableTest, CheckmarksFillTwoSlotsAndEmptyFromTheLast)
{
    Pickable* table = Build<Pickable>("<object class='pickable' name='table04a'><part name='table'/>"
                                      "<part name='checkmark'/><part name='checkmark'/></object>");
    Show(table);
    ObjectPart* slot0 = table->FindPart("checkmark", 0);
    ObjectPart* slot1 = table->FindPart("checkmark", 1);
    EXPECT_FALSE(slot0->IsVisible());
    EXPECT_FALSE(slot1->IsVisible());
    table->ShowCheckmark();
    EXPECT_TRUE(slot0->IsVisible());
    EXPECT_FALSE(slot1->IsVisible());
    table->ShowCheckmark();
    EXPECT_TRUE(slot1->IsVisible());
    EXPECT_TRUE(walktest::TraceLines().empty());
    table->ShowCheckmark();
    EXPECT_TRUE(slot0->IsVisible() && slot1->IsVisible());
    ASSERT_EQ(walktest::TraceLines().size(), 1u);
    EXPECT_EQ(walktest::TraceLines()[0], "Warning: object <table04a> is over clicked... oh... slowly, please!");
    table->HideCheckmark();
    EXPECT_TRUE(slot0->IsVisible());
    EXPECT_FALSE(slot1->IsVisible());
    table->ShowCheckmark();
    table->SetActive(true);
    EXPECT_FALSE(slot0->IsVisible() || slot1->IsVisible());
    EXPECT_FALSE(table->IsCheckmarkShown(0) || table->IsCheckmarkShown(1));
    table->HideCheckmark(); // nothing shown: nothing happens

    Pickable* plain = Build<Pickable>("<object class='pickable' name='plain'><part name='plain'/></object>");
    Show(plain);
    walktest::TraceLines().clear();
    plain->ShowCheckmark();
    EXPECT_TRUE(plain->GetParts()[0]->IsShown());
    EXPECT_EQ(walktest::TraceLines().size(), 1u);

    // Clicks count until a walker serves the object.
    table->Pick();
    table->Pick();
    EXPECT_EQ(table->GetPendingClicks(), 2);
    table->Unpick();
    EXPECT_EQ(table->GetPendingClicks(), 0);
    EXPECT_TRUE(table->IsHoverable(true));
    EXPECT_FALSE(table->IsHoverable(false));
}

TEST_F(PickableTest, AStoppedPickableStaysActiveButHidden)
{
    Pickable* table = Build<Pickable>("<object class='pickable' name='table'><part name='checkmark'/></object>");
    table->ApplyLevelState(Parse("<object name='table' stop='true'/>"));
    EXPECT_FALSE(table->IsVisible());
    EXPECT_TRUE(table->IsActive());
    EXPECT_FALSE(table->IsHoverable(true));
    table->ApplyLevelState(Parse("<object name='table'/>"));
    EXPECT_TRUE(table->IsVisible());
    EXPECT_TRUE(table->IsHoverable(true));
}

TEST_F(PickableTest, HoveringATablePassesToItsWorker)
{
    Pickable* table = Build<Pickable>("<object class='pickable' name='table04a'/>");
    RecordingHover* worker = Build<RecordingHover>("<object class='item' name='worker04a'/>");
    Pickable* alone = Build<Pickable>("<object class='pickable' name='safe'/>");
    table->OnMouseMove({560, 200}, true);
    alone->OnMouseMove({1, 1}, true);
    ASSERT_EQ(worker->moves.size(), 1u);
    EXPECT_EQ(worker->moves[0].first.mX, 560);
    EXPECT_EQ(worker->moves[0].first.mY, 200);
    EXPECT_TRUE(worker->moves[0].second);
}

TEST_F(PickableTest, TheRegistryKeepsCreationOrder)
{
    std::vector<Pickable*> made;
    for (int k = 0; k < 20; ++k)
        made.push_back(Build<Pickable>("<object class='pickable' name='p" + std::to_string(k) + "'/>"));
    for (int k : {3, 10, 17}) {
        delete made[size_t(k)];
        made[size_t(k)] = nullptr;
    }
    std::vector<Pickable*> expected;
    for (Pickable* p : made)
        if (p)
            expected.push_back(p);
    EXPECT_EQ(std::vector<Pickable*>(world.pickables.begin(), world.pickables.end()), expected);
}

} // namespace
