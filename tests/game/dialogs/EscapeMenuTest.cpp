#include "DialogFixture.h"

#include "game/core/SfxSample.h"
#include "game/core/SoundSystem.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/EscapeMenu.h"
#include "game/flow/HelpDialog.h"
#include "game/flow/HudPanel.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/OptionsDialog.h"

namespace dialogtest {
namespace {

class EscapeMenuTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        if (HasFatalFailure())
            return;
        sound.Init(7);
        ASSERT_TRUE(XmlLoadFile("cfg\\office.xml", officeDocument));
        app->mSfxManager->Load(XmlNode(officeDocument).SelectSingle(L"office"));
        ASSERT_TRUE(gSfxSamples.count("click"));
        ASSERT_EQ(gSfxSamples.at("click")->Group(), gSfxGroups.at("game"));
        CreateMessageBoxes(app.get(), root);
    }
    void TearDown() override
    {
        DestroyMessageBoxes();
        DialogTest::TearDown();
    }
    EscapeMenu* Menu() { return screen->GetEscapeMenu(); }
    UiElement* Child(const std::string& name) { return Menu()->FindChild(name); }
    int GamePauses() { return gSfxSamples.at("click")->PauseCount(); }
    // A career day under way: the briefing closed.
    void RunDay()
    {
        screen->LoadLevel(2);
        screen->StartDay();
        screen->GetBriefing()->Continue();
        ASSERT_TRUE(screen->IsDayRunning());
        ASSERT_TRUE(screen->IsEscapeAllowed());
    }
    // The next question is answered with the button (null: the loop ends
    // as at a shutdown).
    void Answer(const char* button)
    {
        app->onStep = [this, button] {
            if (!gMessageBox->mVisible || gMessageBox->IsHideInProgress())
                return true;
            if (!button)
                return false;
            Click(gMessageBox->FindChild(button));
            return true;
        };
    }
    bool Open() { return Menu()->IsOpen(); }

    SoundSystem sound;
    XmlDocument officeDocument;
};

TEST_F(EscapeMenuTest, EscapeOpensAndClosesItAndTheDayStandsStillMeanwhile)
{
    RunDay();
    screen->KeyUp(EscapeMenu::kEscapeKey);
    ASSERT_TRUE(Open());
    EXPECT_FALSE(screen->IsDayRunning());
    EXPECT_EQ(Menu()->GetBackdrop()->mParent, screen->GetHud());
    EXPECT_EQ(GamePauses(), 1);
    const float clock = screen->GetLevelClock();
    Updates(300);
    EXPECT_EQ(screen->GetLevelClock(), clock);
    screen->KeyUp(EscapeMenu::kEscapeKey);
    EXPECT_FALSE(Open());
    EXPECT_TRUE(screen->IsDayRunning());
    EXPECT_EQ(Menu()->GetBackdrop()->mParent, nullptr);
    EXPECT_EQ(GamePauses(), 0);
    Updates(100);
    EXPECT_GT(screen->GetLevelClock(), clock);

    // The menu's own Escape closes it too.
    screen->KeyUp(EscapeMenu::kEscapeKey);
    ASSERT_TRUE(Open());
    Menu()->KeyUp(EscapeMenu::kEscapeKey);
    EXPECT_FALSE(Open());
    EXPECT_EQ(GamePauses(), 0);
}

TEST_F(EscapeMenuTest, PausesArePairedWithTheMenusOwn)
{
    RunDay();
    struct Row {
        const char* what;
        int shows, hides;
        int pauses;
    } const rows[] = {{"shown twice, hidden once", 2, 1, 0},
                      {"shown once, hidden twice", 1, 2, 0},
                      {"hidden without a show", 0, 1, 0},
                      {"shown twice, still open", 2, 0, 1}};
    for (const Row& row : rows) {
        for (int k = 0; k < row.shows; ++k)
            Menu()->Show();
        for (int k = 0; k < row.hides; ++k)
            Menu()->Hide();
        Updates(100);
        EXPECT_EQ(GamePauses(), row.pauses) << row.what;
        EXPECT_EQ(screen->IsDayRunning(), row.pauses == 0) << row.what;
        Menu()->Hide();
        Updates(100);
    }
    // Another pause (the focus going) outlives the menu's.
    Menu()->Show();
    app->mSfxManager->PauseAll();
    Menu()->Hide();
    Menu()->Hide();
    EXPECT_EQ(GamePauses(), 1);
    app->mSfxManager->ResumeAll();
    EXPECT_EQ(GamePauses(), 0);
}

TEST_F(EscapeMenuTest, ResumeUnderTheBriefingLeavesTheDayStopped)
{
    screen->LoadLevel(2);
    screen->StartDay();
    ASSERT_FALSE(screen->IsDayRunning());
    Menu()->Show();
    Click(Child("resume"));
    EXPECT_FALSE(Open());
    EXPECT_FALSE(screen->IsDayRunning());
    EXPECT_EQ(GamePauses(), 0);
}

TEST_F(EscapeMenuTest, RestartAsksFirst)
{
    RunDay();
    Updates(50);
    Menu()->Show();
    struct Row {
        const char* answer;
        bool open;
    } const rows[] = {{"btn_no", true}, {nullptr, true}, {"btn_yes", false}};
    for (const Row& row : rows) {
        Answer(row.answer);
        Click(Child("restart"));
        EXPECT_EQ(Open(), row.open) << (row.answer ? row.answer : "unanswered");
        EXPECT_FALSE(screen->IsDayRunning());
    }
    // The level began again: its briefing is up, its clock at 0.
    EXPECT_EQ(screen->GetLevelClock(), 0.0f);
    EXPECT_TRUE(screen->GetBriefing()->mVisible);
    EXPECT_EQ(GamePauses(), 0);
}

TEST_F(EscapeMenuTest, QuitAskedYesLeavesTheLevelWithTheSoundsStopped)
{
    RunDay();
    Menu()->Show();
    Answer("btn_no");
    Click(Child("quit"));
    EXPECT_TRUE(Open());
    EXPECT_TRUE(app->mWidgetManager->HasWidget(screen));

    platform.sound.TakeCalls();
    Answer("btn_yes");
    Click(Child("quit"));
    EXPECT_FALSE(Open());
    EXPECT_FALSE(screen->IsDayRunning());
    EXPECT_FALSE(app->mWidgetManager->HasWidget(screen));
    EXPECT_EQ(GamePauses(), 0);
    int stops = 0;
    for (const std::string& call : platform.sound.TakeCalls())
        stops += call.rfind("StopSample(" + std::to_string(gSfxSamples.at("click")->SampleId()) + ")", 0) == 0;
    EXPECT_EQ(stops, 1);
}

TEST_F(EscapeMenuTest, SettingsAndHelpOpenAboveTheMenuWhichStaysOpen)
{
    OptionsDialog options(app.get(), root);
    HelpDialog help(app.get(), root);
    for (UiDialog* dialog : {static_cast<UiDialog*>(&options), static_cast<UiDialog*>(&help)}) {
        dialog->SetVisible(false);
        app->mWidgetManager->AddWidget(dialog);
    }
    app->mOptionsDialog = &options;
    app->mHelpDialog = &help;
    RunDay();
    Menu()->Show();
    struct Row {
        const char* button;
        UiDialog* dialog;
    } const rows[] = {{"settings", &options}, {"help", &help}};
    for (const Row& row : rows) {
        Click(Child(row.button));
        EXPECT_TRUE(row.dialog->mVisible) << row.button;
        // Above the HUD that holds the menu: later in the manager's order.
        const auto& order = app->mWidgetManager->mWidgets;
        const auto hud = std::find(order.begin(), order.end(), screen->GetHud());
        const auto shown = std::find(order.begin(), order.end(), row.dialog);
        ASSERT_NE(shown, order.end()) << row.button;
        EXPECT_LT(std::distance(order.begin(), hud), std::distance(order.begin(), shown)) << row.button;
        EXPECT_FALSE(screen->IsEscapeAllowed()) << row.button;
        Updates(100);
        row.dialog->Hide();
        Updates(100);
        EXPECT_TRUE(Open()) << row.button;
        EXPECT_FALSE(screen->IsDayRunning()) << row.button;
        EXPECT_EQ(GamePauses(), 1) << row.button;
    }
    Menu()->Hide();
    EXPECT_TRUE(screen->IsDayRunning());
    app->mOptionsDialog = nullptr;
    app->mHelpDialog = nullptr;
    for (UiDialog* dialog : {static_cast<UiDialog*>(&options), static_cast<UiDialog*>(&help)})
        app->mWidgetManager->RemoveWidget(dialog);
}

} // namespace
} // namespace dialogtest
