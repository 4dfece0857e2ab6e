#include "DialogFixture.h"

#include "game/flow/HudPanel.h"
#include "game/flow/UpgradeDialog.h"
#include "game/ui/UiText.h"

#include <vector>

namespace dialogtest {
namespace {

class UpgradeTest : public DialogTest {
protected:
    UpgradeDialog* Dialog() { return screen->GetUpgradeDialog(); }
    UiElement* Option(int k, const std::string& child)
    {
        UiElement* option = Dialog()->FindChild("pic" + std::to_string(k));
        return option ? option->FindChild(child) : nullptr;
    }
    bool Checked(int k) { return Option(k, "check")->mVisible; }
    static UpgradeOption Named(const std::string& name, const std::string& object)
    {
        UpgradeOption option;
        option.name = name;
        option.objects.push_back(StageObject{object, "plain", ""});
        return option;
    }
    // A survival day whose first stage queues the upgrade kinds given.
    void Stage(bool add, bool skin)
    {
        screen->SetSurvival(true);
        SurvivalModel& model = screen->GetSurvivalModel();
        model.stageIndex = -1;
        model.stages.assign(1, SurvivalStage());
        model.stages[0].upgrade_add = add;
        model.stages[0].upgrade_skin = skin;
        screen->AdvanceStage();
        screen->SetDayRunning(true);
    }
    // Each step of the dialog's loop: while it is up, the marks named are
    // clicked in turn, then "upgrade" (an empty list: "upgrade" only).
    void Press(std::vector<int> picks, bool confirm = true)
    {
        app->onStep = [this, picks, confirm, done = false]() mutable {
            if (done || !Dialog()->mVisible || Dialog()->IsHideInProgress())
                return true;
            EXPECT_FALSE(screen->IsDayRunning());
            EXPECT_FALSE(screen->IsEscapeAllowed());
            EXPECT_EQ(Dialog()->GetBlocker()->mParent, screen->GetHud());
            for (int k : picks)
                Click(Option(k, "pic"));
            if (confirm)
                Click(Dialog()->FindChild("upgrade"));
            done = true;
            return true;
        };
    }
    std::vector<std::string> Offered()
    {
        std::vector<std::string> ids;
        for (int k = 0; k < UpgradeDialog::kOptions; ++k)
            ids.push_back(Dialog()->GetImageId(k));
        return ids;
    }
    bool UpgradeButtonDisabled() { return screen->GetHud()->FindChild("upgrade_btn")->mDisabled; }
};

TEST_F(UpgradeTest, AddComesFirstThenSkinAndTheButtonGoesOffAfterTheLast)
{
    SurvivalModel& model = screen->GetSurvivalModel();
    model.upgradeAdd = {Named("coffee", "plant03"), Named("sofa_seats", "plant01")};
    model.upgradeSkin = {Named("walnut_desks", "table02a")};
    Stage(true, true);
    ASSERT_EQ(screen->GetPendingUpgrades(), (std::vector<int32_t>{0, 1}));
    ASSERT_FALSE(UpgradeButtonDisabled());

    Press({});
    screen->ApplyUpgrade();
    EXPECT_EQ(model.upgradeAdd.size(), 1u);
    EXPECT_EQ(model.upgradeSkin.size(), 1u);
    ASSERT_FALSE(screen->GetAppliedChanges().empty());
    EXPECT_EQ(screen->GetAppliedChanges().back().name, "plant03");
    EXPECT_FALSE(UpgradeButtonDisabled());
    EXPECT_TRUE(screen->IsDayRunning());
    EXPECT_TRUE(screen->IsEscapeAllowed());
    EXPECT_EQ(Dialog()->GetBlocker()->mParent, nullptr);

    // The skin upgrade blinks its objects in (this office has none of
    // them): nothing is applied at once.
    const size_t applied = screen->GetAppliedChanges().size();
    Press({});
    screen->ApplyUpgrade();
    EXPECT_TRUE(model.upgradeSkin.empty());
    EXPECT_EQ(screen->GetAppliedChanges().size(), applied);
    EXPECT_TRUE(screen->GetPendingUpgrades().empty());
    EXPECT_TRUE(UpgradeButtonDisabled());
    EXPECT_TRUE(screen->IsDayRunning());
}

TEST_F(UpgradeTest, AnEmptyListUsesUpItsUpgradeWithoutAsking)
{
    Stage(false, true);
    app->steps = 0;
    screen->ApplyUpgrade();
    EXPECT_EQ(app->steps, 0);
    EXPECT_FALSE(Dialog()->mVisible);
    EXPECT_TRUE(screen->GetPendingUpgrades().empty());
    EXPECT_TRUE(UpgradeButtonDisabled());
}

TEST_F(UpgradeTest, TheChosenOptionLeavesTheList)
{
    SurvivalModel& model = screen->GetSurvivalModel();
    model.upgradeAdd = {Named("coffee", "a"), Named("sofa_seats", "b"), Named("conference", "c"),
                        Named("stereo", "d")};
    Stage(true, false);
    Stage(true, false);
    Press({2});
    screen->ApplyUpgrade();
    EXPECT_EQ(screen->GetAppliedChanges().back().name, "b");
    // The next offer: the former options 1, 3 and 4.
    app->onStep = [this] {
        if (Dialog()->mVisible && !Dialog()->IsHideInProgress()) {
            EXPECT_EQ(Offered(), (std::vector<std::string>{"db08_coffee", "db08_conference", "db08_stereo"}));
            EXPECT_EQ(dynamic_cast<UiText*>(Option(3, "text"))->GetSourceText(),
                      app->GetLocTable()->Get("db08_stereo"));
            Click(Dialog()->FindChild("upgrade"));
        }
        return true;
    };
    screen->ApplyUpgrade();
    EXPECT_EQ(screen->GetAppliedChanges().back().name, "a");
    EXPECT_EQ(model.upgradeAdd.size(), 2u);
}

TEST_F(UpgradeTest, AnOptionWithoutAPictureCannotBeMarked)
{
    // Two options and an unknown name: the third has no picture, and no
    // option exists for the missing name.
    const std::string names[3] = {"coffee", "no_such_option", ""};
    struct Row {
        std::vector<int> picks;
        const char* chosen;
    } const rows[] = {{{}, "coffee"}, {{2}, "coffee"}, {{3}, "coffee"}, {{2, 3}, "coffee"}};
    for (const Row& row : rows) {
        Press(row.picks);
        EXPECT_EQ(Dialog()->Choose(names[0], names[1], names[2]), row.chosen);
        EXPECT_EQ(Refs("db08_coffee"), 1);
        Updates(100);
        EXPECT_EQ(Refs("db08_coffee"), 0);
    }
    EXPECT_EQ(Offered(), (std::vector<std::string>{"", "", ""}));
    // A marked option with a picture is the answer.
    Press({1});
    EXPECT_EQ(Dialog()->Choose("stereo", "coffee", "minibar"), "stereo");
    Press({3});
    EXPECT_EQ(Dialog()->Choose("stereo", "coffee", "minibar"), "minibar");
    Updates(100);
    for (const char* id : {"db08_stereo", "db08_coffee", "db08_minibar", "db08_no_such_option", "db08_"})
        EXPECT_EQ(Refs(id), 0) << id;
}

TEST_F(UpgradeTest, AQuestionLeftUnansweredAppliesNothing)
{
    SurvivalModel& model = screen->GetSurvivalModel();
    model.upgradeAdd = {Named("coffee", "plant03")};
    Stage(true, false);
    const size_t applied = screen->GetAppliedChanges().size();
    struct Row {
        const char* what;
        std::function<bool()> step;
    } const rows[] = {{"step refused", [] { return false; }},
                      {"dialog detached",
                       [this] {
                           app->mWidgetManager->RemoveWidget(screen->GetHud());
                           return true;
                       }},
                      {"window closed",
                       [this] {
                           app->Shutdown();
                           return true;
                       }}};
    for (const Row& row : rows) {
        app->onStep = row.step;
        screen->ApplyUpgrade();
        EXPECT_EQ(screen->GetAppliedChanges().size(), applied) << row.what;
        EXPECT_EQ(model.upgradeAdd.size(), 1u) << row.what;
        EXPECT_EQ(screen->GetPendingUpgrades(), std::vector<int32_t>{0}) << row.what;
        EXPECT_FALSE(UpgradeButtonDisabled()) << row.what;
        EXPECT_TRUE(screen->IsDayRunning()) << row.what;
        EXPECT_TRUE(!Dialog()->mVisible || Dialog()->IsHideInProgress()) << row.what;
        EXPECT_EQ(Dialog()->GetBlocker()->mParent, nullptr) << row.what;
        app->onStep = nullptr;
        if (!screen->GetHud()->mWidgetManager)
            app->mWidgetManager->AddWidget(screen->GetHud());
        Updates(100);
        EXPECT_EQ(Refs("db08_coffee"), 0) << row.what;
    }
}

TEST_F(UpgradeTest, AHideOfAnOfferNotOpenLeavesTheDayAlone)
{
    screen->SetDayRunning(false);
    screen->SetEscapeAllowed(false);
    Dialog()->Hide();
    Dialog()->Hide();
    EXPECT_FALSE(screen->IsDayRunning());
    EXPECT_FALSE(screen->IsEscapeAllowed());
}

} // namespace
} // namespace dialogtest
