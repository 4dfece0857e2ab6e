// Office object changes over the fixture office (day 1's objects).
#include "tests/game/flow/DayFixture.h"

#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"

namespace daytest {
namespace {

class ObjectChangesTest : public DayTest {
protected:
    void SetUp() override
    {
        DayTest::SetUp();
        if (HasFatalFailure())
            return;
        MakeScreen();
        screen->LoadLevel(1);
        table = FindObject("table02a");
        ASSERT_NE(table, nullptr);
        ASSERT_TRUE(table->IsVisible());
        ASSERT_EQ(table->GetSkin(), "plain");
    }
    // The look after each of n blink updates of 0.01 s: the skin, or "shown"
    // and "hidden" for a blink in from nothing.
    std::vector<std::string> Looks(SceneObject* object, int n, bool byVisibility)
    {
        std::vector<std::string> looks;
        for (int i = 0; i < n; ++i) {
            screen->UpdateObjectBlinks(0.01f);
            looks.push_back(byVisibility ? (object->IsVisible() ? "shown" : "hidden") : object->GetSkin());
        }
        return looks;
    }
    // The updates (1-based) on which the look differs from the update before.
    static std::vector<int> Changes(const std::vector<std::string>& looks, const std::string& before)
    {
        std::vector<int> changes;
        std::string last = before;
        for (size_t i = 0; i < looks.size(); ++i) {
            if (looks[i] != last)
                changes.push_back(int(i) + 1);
            last = looks[i];
        }
        return changes;
    }
    static std::vector<int> EveryTenth()
    {
        std::vector<int> changes;
        for (int k = 11; k <= 191; k += 10)
            changes.push_back(k);
        return changes;
    }

    SceneObject* table = nullptr;
};

TEST_F(ObjectChangesTest, ABlinkAlternatesTheLooksForTwoSecondsThenKeepsTheNewOne)
{
    table->SetActive(false);
    const std::string animation = table->GetAnimationName();
    screen->ChangeObjects(StageObject{"table02a", "walnut", ""});
    ASSERT_EQ(screen->GetBlinkChanges().size(), 1u);
    EXPECT_EQ(table->GetSkin(), "plain");

    const std::vector<std::string> looks = Looks(table, 200, false);
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(looks[size_t(k - 1)], "plain") << k;
    for (int k = 11; k <= 20; ++k)
        EXPECT_EQ(looks[size_t(k - 1)], "walnut") << k;
    // The look changes every 0.1 s, 20 times with the end (update 201).
    EXPECT_EQ(Changes(looks, "plain"), EveryTenth());
    ASSERT_EQ(screen->GetBlinkChanges().size(), 1u);
    EXPECT_FALSE(table->IsActive());

    screen->UpdateObjectBlinks(0.01f);
    EXPECT_TRUE(screen->GetBlinkChanges().empty());
    EXPECT_EQ(table->GetSkin(), "walnut");
    EXPECT_EQ(table->GetAnimationName(), animation);
    EXPECT_TRUE(table->IsActive());
}

TEST_F(ObjectChangesTest, AnObjectFromNothingBlinksItsVisibility)
{
    table->SetSkin("none", false);
    screen->ChangeObjects(StageObject{"table02a", "walnut", "idle"});
    // The new skin at once; the blink shows and hides the whole object.
    EXPECT_EQ(table->GetSkin(), "walnut");
    const std::vector<std::string> looks = Looks(table, 201, true);
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(looks[size_t(k - 1)], "hidden") << k;
    for (int k = 11; k <= 20; ++k)
        EXPECT_EQ(looks[size_t(k - 1)], "shown") << k;
    std::vector<int> expected = EveryTenth();
    expected.insert(expected.begin(), 1); // hidden at the first update
    EXPECT_EQ(Changes(looks, "shown"), expected);
    EXPECT_TRUE(screen->GetBlinkChanges().empty());
    EXPECT_TRUE(table->IsVisible());
    EXPECT_EQ(table->GetSkin(), "walnut");
}

TEST_F(ObjectChangesTest, HiddenUnknownAndStillChanges)
{
    // A hidden object only takes the skin.
    table->SetVisibleFlag(false);
    table->SetActiveFlag(false);
    screen->ChangeObjects(StageObject{"table02a", "walnut", "idle"});
    EXPECT_EQ(table->GetSkin(), "walnut");
    EXPECT_FALSE(table->IsVisible());
    EXPECT_FALSE(table->IsActive());
    EXPECT_TRUE(screen->GetBlinkChanges().empty());

    // An unknown name changes nothing.
    screen->ChangeObjects(StageObject{"no_such_object", "walnut", ""});
    screen->ApplyStageObjects(StageObject{"no_such_object", "walnut", ""});
    EXPECT_TRUE(screen->GetBlinkChanges().empty());

    // A day standing still (dt 0) holds the blink where it is.
    table->SetVisibleFlag(true);
    screen->ChangeObjects(StageObject{"table02a", "oak", ""});
    Looks(table, 15, false);
    EXPECT_EQ(table->GetSkin(), "oak");
    for (int i = 0; i < 300; ++i)
        screen->UpdateObjectBlinks(0.0f);
    EXPECT_EQ(table->GetSkin(), "oak");
    ASSERT_EQ(screen->GetBlinkChanges().size(), 1u);
    EXPECT_FLOAT_EQ(screen->GetBlinkChanges()[0].timer, 1.0f - 15 * 0.005f);

    // The list goes with the office.
    screen->ClearOffice();
    EXPECT_TRUE(screen->GetBlinkChanges().empty());
}

TEST_F(ObjectChangesTest, AStageObjectIsShownRestartedAndLeftInactive)
{
    SceneObject* plant = FindObject("plant03");
    ASSERT_NE(plant, nullptr);
    plant->SetVisibleFlag(false);
    plant->SetActive(false);
    const std::string skin = plant->GetSkin();
    screen->ApplyStageObjects(StageObject{"plant03", "", ""});
    EXPECT_TRUE(plant->IsVisible());
    EXPECT_FALSE(plant->IsActive());
    EXPECT_EQ(plant->GetSkin(), skin);
    EXPECT_TRUE(screen->GetBlinkChanges().empty());

    screen->ApplyStageObjects(StageObject{"plant03", "green", "idle"});
    EXPECT_EQ(plant->GetSkin(), "green");
    EXPECT_FALSE(plant->IsActive());
}

} // namespace
} // namespace daytest
