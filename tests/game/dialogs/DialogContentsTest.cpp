// What the in-game dialogs ask of the demo data is there: every child they
// look up, every picture, text and sound they name.
#include "DialogFixture.h"

#include "game/core/LocTable.h"
#include "game/core/SfxSample.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/DebriefingDialog.h"
#include "game/flow/EscapeMenu.h"
#include "game/flow/LevelModel.h"
#include "game/flow/UpgradeDialog.h"

#include <set>

namespace dialogtest {
namespace {

class DialogContents : public DialogTest {
protected:
    void ExpectChildren(UiElement* dialog, const char* layout, const std::vector<std::string>& names)
    {
        ASSERT_NE(dialog, nullptr) << layout;
        for (const std::string& name : names)
            EXPECT_NE(dialog->FindChild(name), nullptr) << layout << " lacks " << name;
    }
    void ExpectTexture(const std::string& id)
    {
        EXPECT_NE(app->GetTextureRegistry()->Get(id), nullptr) << "no picture " << id;
        app->GetTextureRegistry()->Release(id);
    }
    void ExpectText(const std::string& id) { EXPECT_FALSE(app->GetLocTable()->Get(id).empty()) << "no text " << id; }
};

TEST_F(DialogContents, EveryChildPictureTextAndSoundTheDialogsNameIsThere)
{
    ExpectChildren(screen->GetBriefing(), "briefing",
                   {"continue", "newflash", "briefing_text", "callendar_mark", "context_help", "boss"});
    ExpectChildren(screen->GetDebriefing(), "debriefing",
                   {"replay", "continue", "survival_replay", "survival_leave", "boss", "bosspanel", "moneypanel",
                    "result_text", "debriefing_text", "goal_value", "expert_value", "calendar", "calendar_mark", "score",
                    "score_ghost"});
    ExpectChildren(screen->GetEscapeMenu(), "escape_menu", {"restart", "resume", "settings", "help", "quit"});
    ExpectChildren(screen->GetUpgradeDialog(), "upgrade", {"upgrade", "description_text", "sel_upgrade_text"});
    for (int k = 1; k <= UpgradeDialog::kOptions; ++k) {
        UiElement* option = screen->GetUpgradeDialog()->FindChild("pic" + std::to_string(k));
        ExpectChildren(option, ("upgrade/pic" + std::to_string(k)).c_str(), {"pic", "text", "check"});
    }

    for (const char* skin : {"man", "woman"}) {
        ExpectTexture(std::string("db06_boss") + skin);
        for (const char* kind : {"failure", "goal", "expert"})
            ExpectTexture(std::string("db07_boss") + skin + "_" + kind);
    }
    for (const char* kind : {"failure", "goal", "expert"}) {
        ExpectTexture(std::string("db07_bosspanel_") + kind);
        ExpectTexture(std::string("db07_moneypanel_") + kind);
        ExpectText(std::string("db07_") + kind);
        ExpectText(std::string("db07_infinity_") + kind);
    }
    for (int m = 1; m <= 3; ++m) {
        ExpectTexture("brief_calendar" + std::to_string(m));
        ExpectTexture("db07_calendar" + std::to_string(m));
    }
    for (const char* kind : {"restlvl", "exitmenu"})
        for (const char* family : {"db01_icon_", "db01_text1_", "db01_text2_", "db01_btnyes_", "db01_btnno_"}) {
            if (std::string(family) == "db01_icon_")
                ExpectTexture(family + std::string(kind));
            else
                ExpectText(family + std::string(kind));
        }

    // Every upgrade option of the survival levels has its picture and text.
    std::set<std::string> options;
    for (int k = 1; k <= 3; ++k) {
        std::unique_ptr<XmlDocument> level = LoadXmlDocument("cfg\\endless" + std::to_string(k) + ".xml");
        ASSERT_NE(level, nullptr);
        SurvivalModel model;
        ReadSurvivalModel(level->Node().SelectSingle(L"level"), model);
        for (const auto* list : {&model.upgradeAdd, &model.upgradeSkin})
            for (const UpgradeOption& option : *list)
                options.insert(option.name);
    }
    EXPECT_FALSE(options.empty());
    for (const std::string& name : options) {
        ExpectTexture("db08_" + name);
        ExpectText("db08_" + name);
    }

    // The sounds, and the group the escape menu pauses.
    XmlDocument office;
    ASSERT_TRUE(XmlLoadFile("cfg\\office.xml", office));
    app->mSfxManager->Load(XmlNode(office).SelectSingle(L"office"));
    for (const char* sound : {"briefing_show", "good_debriefing_show", "bad_debriefing_show"})
        EXPECT_TRUE(gSfxSamples.count(sound)) << "no sound " << sound;
    EXPECT_TRUE(gSfxGroups.count("game"));
}

} // namespace
} // namespace dialogtest
