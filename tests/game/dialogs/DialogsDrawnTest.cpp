// Every in-game dialog over the demo data, per kind and mode: shown, stepped,
// drawn, hidden, with its pictures given back; and the same dialogs over
// layouts that lack what they look up, every button id sent.
#include "DialogFixture.h"

#include "framework/graphics/MemoryImage.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/DebriefingDialog.h"
#include "game/flow/EscapeMenu.h"
#include "game/flow/UpgradeDialog.h"
#include "tests/framework/graphics/PngFile.h"

#include <map>
#include <set>
#include <sys/stat.h>

namespace dialogtest {
namespace {

class DialogsDrawn : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        if (HasFatalFailure())
            return;
        // Every picture of the UI description but the particles' (the HUD's
        // particle systems live on their own time).
        std::vector<XmlNode> textures;
        root.Select(L"texture", textures);
        for (const XmlNode& node : textures) {
            std::string id;
            if (XmlGetAttrString(node, L"id", id) && id.rfind("fx_", 0) != 0)
                textureIds.insert(id);
        }
        ASSERT_FALSE(textureIds.empty());
        image = std::make_unique<Zelk::MemoryImage>(app.get());
        image->Create(800, 600);
        app->mWidgetManager->mImage = image.get();
    }
    void TearDown() override
    {
        if (app)
            app->mWidgetManager->mImage = nullptr;
        image.reset(); // before the application it belongs to
        DialogTest::TearDown();
    }
    std::map<std::string, int> Counts() const
    {
        std::map<std::string, int> counts;
        for (const std::string& id : textureIds)
            counts[id] = Refs(id);
        return counts;
    }
    // The whole screen drawn, kept for a person to look at.
    void Draw(const std::string& name)
    {
        app->mWidgetManager->MarkAllDirty();
        app->mWidgetManager->DrawScreen();
        std::vector<uint32_t> pixels(size_t(800) * 600);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = image->ReadPixel(i);
        mkdir(SCREENS_FOLDER, 0755);
        EXPECT_TRUE(Zelk::test::WritePng(std::string(SCREENS_FOLDER) + "/" + name + ".png", 800, 600, pixels)) << name;
    }
    // Shown, 300 updates, drawn, hidden, 100 updates; the pictures are given
    // back.
    void Exercise(const std::string& name, const std::function<void()>& show, UiElement* dialog)
    {
        const std::map<std::string, int> before = Counts();
        show();
        EXPECT_TRUE(dialog->mVisible) << name;
        Updates(300);
        Draw(name);
        dialog->Hide();
        Updates(100);
        EXPECT_FALSE(dialog->mVisible) << name;
        const std::map<std::string, int> after = Counts();
        for (const auto& [id, count] : before)
            EXPECT_EQ(after.at(id), count) << name << ": " << id;
    }

    std::set<std::string> textureIds;
    std::unique_ptr<Zelk::MemoryImage> image;
};

TEST_F(DialogsDrawn, EveryDialogIsShownSteppedDrawnAndHiddenAndGivesItsPicturesBack)
{
    for (int level : {1, 5}) {
        Exercise(
            "briefing_l" + std::to_string(level),
            [&] {
                screen->LoadLevel(level);
                screen->GetBriefing()->Show();
            },
            screen->GetBriefing());
    }
    for (bool survival : {false, true}) {
        for (const char* kind : {"failure", "goal", "expert"}) {
            Exercise(
                std::string("debriefing_") + (survival ? "survival_" : "career_") + kind,
                [&] {
                    screen->SetSurvival(survival);
                    screen->LoadLevel(3);
                    DebriefingDialog* debriefing = screen->GetDebriefing();
                    debriefing->SetText(L"The day is over.");
                    if (!survival)
                        debriefing->SetContinueDisabled(std::string(kind) == "failure");
                    debriefing->SetResultKind(kind);
                    debriefing->Show();
                },
                screen->GetDebriefing());
        }
    }
    screen->SetSurvival(false);
    Exercise("escape_menu", [&] { screen->GetEscapeMenu()->Show(); }, screen->GetEscapeMenu());
    EXPECT_FALSE(screen->GetEscapeMenu()->IsOpen());
    UpgradeDialog* upgrade = screen->GetUpgradeDialog();
    Exercise(
        "upgrade",
        [&] {
            app->onStep = [] { return false; }; // shown, then left at once
            EXPECT_EQ(upgrade->Choose("coffee", "stereo", "minibar"), "");
            app->onStep = nullptr;
        },
        upgrade);
}

TEST_F(DialogsDrawn, WithoutTheirLayoutsOrChildrenTheDialogsStillShowUpdateAndHide)
{
    std::string bare = "<root>";
    for (const char* name : {"briefing", "debriefing", "escape_menu", "upgrade"})
        bare += std::string("<element name=\"") + name + "\" type=\"quordialog\" x=\"0\" y=\"0\" width=\"800\" height=\"600\"/>";
    bare += "</root>";
    // The office day stays out of it: the dialogs stand in the manager alone.
    screen->Hide();
    app->mWidgetManager->RemoveWidget(screen);
    Updates(100);
    const std::map<std::string, int> before = Counts();
    for (const std::string& text : {std::string("<root/>"), bare}) {
        XmlDocument document;
        ASSERT_TRUE(document.LoadText(Zelk::StringToWString(text)));
        XmlNode layouts = document.Node().SelectSingle(L"root");
        ASSERT_FALSE(layouts.IsEmpty());
        BriefingDialog briefing(app.get(), layouts);
        DebriefingDialog debriefing(app.get(), layouts);
        EscapeMenu menu(app.get(), layouts);
        UpgradeDialog upgrade(app.get(), layouts);
        UiDialog* dialogs[] = {&briefing, &debriefing, &menu, &upgrade};
        for (UiDialog* dialog : dialogs) {
            dialog->SetVisible(false);
            app->mWidgetManager->AddWidget(dialog);
        }
        briefing.SetText(L"text");
        debriefing.SetText(L"text");
        debriefing.SetContinueDisabled(true);
        for (const char* kind : {"goal", "failure"}) {
            debriefing.SetResultKind(kind);
            for (UiDialog* dialog : dialogs) {
                dialog->Show();
                Updates(300);
                // Every id a dialog compares with: its buttons are missing,
                // so none of these is one of them.
                for (intptr_t id : {intptr_t(0), intptr_t(1), reinterpret_cast<intptr_t>(dialog)})
                    dialog->OnButton(id);
                dialog->Hide();
                Updates(100);
            }
        }
        app->onStep = [] { return false; };
        EXPECT_EQ(upgrade.Choose("coffee", "", "minibar"), "");
        app->onStep = nullptr;
        for (UiDialog* dialog : dialogs) {
            dialog->Hide();
            app->mWidgetManager->RemoveWidget(dialog);
        }
        for (const auto& [id, count] : before)
            EXPECT_EQ(Refs(id), count) << id;
    }
}

} // namespace
} // namespace dialogtest
