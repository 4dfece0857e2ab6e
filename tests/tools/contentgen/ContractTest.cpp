#include "GeneratedData.h"

#include "Tables.h"
#include "Validator.h"
#include "game/core/PakInterface.h"
#include "game/core/XmlFunctions.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <set>

namespace {

using namespace contentgentest;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Format(const char* format, int value)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// The generated folder, read through the game's archive layer and XML
// functions.
class ContentContract : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sDir = new testsupport::TempDir();
        WriteFolder(Generated(), false, *sDir);
        sPak = new PakInterface();
        for (const char* archive : {"loc.pak", "data.pak", "mod.pak"})
            ASSERT_TRUE(sPak->AddPakFile(*sDir / archive));
    }
    static void TearDownTestSuite()
    {
        delete sPak;
        delete sDir;
    }

    static XmlDocument Load(const std::string& name)
    {
        XmlDocument document;
        EXPECT_TRUE(XmlCreateDocument(document));
        EXPECT_TRUE(XmlLoadFile(name, document)) << name;
        return document;
    }

    static std::set<std::string> Values(const XmlDocument& document, const std::wstring& xpath, const wchar_t* attribute)
    {
        struct Context {
            const wchar_t* attribute;
            std::set<std::string>* out;
        };
        std::set<std::string> values;
        Context context{attribute, &values};
        XmlForEachNode(
            document.Node(), xpath,
            [](const XmlNode& node, void* c1, void*) {
                auto* ctx = static_cast<Context*>(c1);
                std::string value;
                if (XmlGetAttrString(node, ctx->attribute, value))
                    ctx->out->insert(value);
                return true;
            },
            &context, nullptr);
        return values;
    }

    static testsupport::TempDir* sDir;
    static PakInterface* sPak;
};

testsupport::TempDir* ContentContract::sDir = nullptr;
PakInterface* ContentContract::sPak = nullptr;

// The children each screen looks up by name, as paths below its layout.
TEST_F(ContentContract, EveryLayoutHasTheChildrenItsScreenLooksUp)
{
    std::vector<std::pair<std::string, std::vector<std::string>>> layouts = {
        {"global_bkg", {"logo"}},
        {"main_menu",
         {"main_menu_dlg/career", "main_menu_dlg/survival", "main_menu_dlg/hiscores", "main_menu_dlg/options",
          "main_menu_dlg/help", "main_menu_dlg/quit", "profile_dlg/profile", "profile_dlg/profile_text1",
          "profile_dlg/profile_text2", "boss1", "boss2", "select_profile/list", "select_profile/list/scroll/up",
          "select_profile/list/scroll/down", "select_profile/list/scroll/slider", "select_profile/create",
          "select_profile/select", "select_profile/delete", "create_profile/entername_text", "create_profile/bossman_btn",
          "create_profile/bosswoman_btn", "create_profile/check_bossman", "create_profile/check_bosswoman",
          "create_profile/cancel", "create_profile/create", "nameplate"}},
        {"career", {"boss_icon", "info", "mark", "restart", "back", "start"}},
        {"survival", {"boss_icon", "text", "back", "start"}},
        {"options",
         {"sndvol_slider/back", "sndvol_slider/bar", "sndvol_slider/thumb", "musvol_slider/back", "musvol_slider/bar",
          "musvol_slider/thumb", "mute_checkbox", "fullscreen_checkbox", "cancel", "apply"}},
        {"help", {"prev_btn", "next_btn", "close"}},
        {"hiscores", {"career_scores", "survival_scores", "prev_btn", "next_btn", "close"}},
        {"load_screen", {"spinner", "text", "tip"}},
        {"splash", {"page_studio", "page_title", "page_version"}},
        {"hud",
         {"bg_hud", "money_text", "bar", "goal", "goal_value", "expert", "expert_value", "day", "hud_clock", "menu",
          "survival_lives/life1", "survival_lives/life2", "survival_lives/life3", "upgrade_back", "upgrade_btn",
          "goal_dialog/banner", "expert_dialog/banner"}},
        {"briefing", {"title", "boss", "briefing_text", "goals", "context_help", "callendar_mark", "newflash", "continue"}},
        {"debriefing",
         {"boss", "bosspanel", "moneypanel", "result_text", "debriefing_text", "continue", "goal_value", "expert_value",
          "calendar", "score", "score_ghost", "calendar_mark", "replay", "survival_replay", "survival_leave"}},
        {"escape_menu", {"resume", "restart", "settings", "help", "quit"}},
        {"upgrade", {"description_text", "sel_upgrade_text", "upgrade"}},
        {"comix", {"comix2/prev_btn"}},
        {"dialogbox_2button", {"icon", "text1", "text2", "btn_yes", "btn_no"}},
    };
    auto& hud = layouts[9].second;
    for (int n = 1; n <= 16; ++n)
        hud.push_back(Format("tutorial%d", n));
    auto& career = layouts[2].second;
    for (int level = 1; level <= 60; ++level)
        career.push_back(Format("career_day%d", level));
    for (int m = 1; m <= 3; ++m) {
        career.push_back(Format("month%d_pic", m));
        career.push_back(Format("month%d_text", m));
        layouts[3].second.push_back(Format("month_pic%d", m));
        layouts[3].second.push_back(Format("month_check%d", m));
    }
    for (int k = 1; k <= 4; ++k)
        for (const char* child : {"/pic", "/text"})
            layouts[5].second.push_back(Format("page%d", k) + child);
    for (const char* page : {"career_scores", "survival_scores"})
        for (int i = 0; i < 10; ++i)
            for (const char* child : {"/back", "/rank", "/text1", "/text2"})
                layouts[6].second.push_back(std::string(page) + Format("/line%d", i) + child);
    for (int k = 1; k <= 3; ++k)
        for (const char* child : {"/pic", "/text", "/check"})
            layouts[13].second.push_back(Format("pic%d", k) + child);
    for (int k = 1; k <= 5; ++k)
        for (const char* child : {"/caption", "/text1", "/btn"})
            layouts[14].second.push_back(Format("comix%d", k) + child);

    const XmlDocument ui = Load("cfg\\ui.xml");
    ASSERT_EQ(layouts.size(), 16u);
    for (const auto& layout : layouts) {
        const std::wstring top = L"root/element[@name='" + Wide(layout.first) + L"']";
        EXPECT_EQ(XmlCountNodes(ui.Node(), top), 1) << layout.first;
        for (const std::string& path : layout.second) {
            std::wstring xpath = top;
            size_t start = 0;
            while (start <= path.size()) {
                const size_t slash = path.find('/', start);
                const std::string name = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
                xpath += L"/element[@name='" + Wide(name) + L"']";
                if (slash == std::string::npos)
                    break;
                start = slash + 1;
            }
            EXPECT_EQ(XmlCountNodes(ui.Node(), xpath), 1) << layout.first << "/" << path;
        }
    }
}

// Screens find some children by a part of their name: that part appears in
// no other child of the same parent.
TEST_F(ContentContract, NamesScannedBySubstringAppearOnlyWhereMeant)
{
    const struct {
        const char* parent;
        const char* part;
        const char* pattern;  // what every match looks like: a prefix followed by digits (and "_digits")
    } scans[] = {{"hud", "tutorial", "tutorial"},          {"help", "page", "page"},
                 {"hiscores", "scores", ""},                {"upgrade", "pic", "pic"},
                 {"main_menu", "boss", "boss"},             {"career", "career_day", "career_day"},
                 {"career", "episode", "episode"},          {"survival", "month_pic", "month_pic"},
                 {"survival", "month_check", "month_check"}};
    const XmlDocument ui = Load("cfg\\ui.xml");
    for (const auto& scan : scans) {
        const std::set<std::string> names =
            Values(ui, L"root/element[@name='" + Wide(scan.parent) + L"']/element", L"name");
        int matches = 0;
        for (const std::string& name : names) {
            if (name.find(scan.part) == std::string::npos)
                continue;
            ++matches;
            if (*scan.pattern) {
                const std::string rest = name.substr(0, std::string(scan.pattern).size()) == scan.pattern
                                             ? name.substr(std::string(scan.pattern).size())
                                             : name;
                EXPECT_EQ(rest.find_first_not_of("0123456789_"), std::string::npos)
                    << scan.parent << ": " << name << " would be caught by the scan for " << scan.part;
            }
        }
        EXPECT_GT(matches, 0) << scan.parent << " " << scan.part;
    }
}

TEST_F(ContentContract, EveryTextureIdTheCodeFormsIsRegistered)
{
    std::vector<std::string> ids = {"hud_goal", "hud_expert", "bar", "bar_ex", "fx_goal_star_small",
                                    "fx_goal_star_big", "fx_work_smoke"};
    for (int k = 0; k <= 12; ++k)
        ids.push_back(Format("hud_clock%d", k));
    for (const char* skin : {"man", "woman"}) {
        for (const char* prefix : {"db06_boss", "mn01_boss", "mn04_boss"})
            ids.push_back(std::string(prefix) + skin);
        for (const char* kind : {"_expert", "_goal", "_failure"})
            ids.push_back(std::string("db07_boss") + skin + kind);
        for (int k = 1; k <= 5; ++k)
            ids.push_back(Format("comix%d_", k) + skin);
    }
    for (int k = 1; k <= 3; ++k) {
        ids.push_back(Format("brief_calendar%d", k));
        ids.push_back(Format("db07_calendar%d", k));
    }
    for (int level : {5, 6, 7, 8, 10, 12, 16, 21, 24, 26, 41})
        ids.push_back(Format("brief_l%d", level));
    for (const char* day : {"work", "normal", "expert", "weekend"})
        ids.push_back(std::string("mn04_calendar_day_") + day);
    for (const char* kind : {"expert", "goal", "failure"}) {
        ids.push_back(std::string("db07_bosspanel_") + kind);
        ids.push_back(std::string("db07_moneypanel_") + kind);
    }
    for (const char* kind : {"restlvl", "exitmenu", "delcareer", "quit", "delprof"})
        ids.push_back(std::string("db01_icon_") + kind);
    for (const std::string& option : contentgen::UpgradeOptions())
        ids.push_back("db08_" + option);

    const std::set<std::string> registered = Values(Load("cfg\\ui.xml"), L"root/texture", L"id");
    for (const std::string& id : ids)
        EXPECT_TRUE(registered.count(id)) << id;
}

TEST_F(ContentContract, EveryTextIdTheCodeFormsHasAText)
{
    std::vector<std::string> ids = {"app_title", "db07_expert", "db07_goal", "db07_failure", "db07_infinity_expert",
                                    "db07_infinity_goal", "db07_infinity_failure", "debreif_endlessp",
                                    "debreif_endlessg", "debreif_endlessb", "hint_close", "cx_next", "cx_start",
                                    "cx_menu", "cx_back"};
    for (int i = 1; i <= 10; ++i)
        for (const char* family : {"record_survival_name_%02d", "record_survival_value_%02d", "record_career_name_%02d",
                                   "record_career_value_%02d"})
            ids.push_back(Format(family, i));
    for (const char* kind : {"restlvl", "exitmenu", "delcareer", "quit", "delprof"})
        for (const char* family : {"db01_text1_", "db01_text2_", "db01_btnyes_", "db01_btnno_"})
            ids.push_back(std::string(family) + kind);
    for (int level = 1; level <= 60; ++level) {
        for (const char* family : {"lvl%d_brief", "lvl%d_bad", "lvl%d_good", "lvl%d_perfect", "cal_day_%d"})
            ids.push_back(Format(family, level));
    }
    for (const std::string& option : contentgen::UpgradeOptions())
        ids.push_back("db08_" + option);
    for (int k = 1; k <= 16; ++k)
        ids.push_back(Format("hint_%02d", k));
    for (int k = 1; k <= 31; ++k)
        ids.push_back(Format("cal_num_%d", k));
    for (int k = 1; k <= 7; ++k)
        ids.push_back(Format("weekday_%d", k));
    for (int k = 1; k <= 3; ++k) {
        ids.push_back(Format("month_name_%d", k));
        ids.push_back(Format("rush_%d", k));
    }
    for (int k = 1; k <= 5; ++k)
        ids.push_back(Format("cx%d_text", k));

    const XmlDocument loc = Load("cfg\\loc.xml");
    const std::set<std::string> present = Values(loc, L"root/loc[string-length(@text) > 0]", L"id");
    for (const std::string& id : ids)
        EXPECT_TRUE(present.count(id)) << id;
    const std::set<std::string> title = Values(loc, L"root/loc[@id='app_title']", L"text");
    EXPECT_EQ(title, std::set<std::string>{"Quillmore"});
}

TEST_F(ContentContract, EffectsBindOnlyExportedNamesAndEveryUiEffectAnswersShowAndHide)
{
    const XmlDocument effects = Load("cfg\\effect.xml");
    const std::vector<std::string>& exported = contentgen::ExportedCallbackNames();
    ASSERT_EQ(exported.size(), 49u);
    const std::set<std::string> known(exported.begin(), exported.end());
    std::set<std::string> bound = Values(effects, L"//control", L"function");
    for (const std::string& name : Values(effects, L"//message[@command='call']", L"timer_id"))
        bound.insert(name);
    for (const std::string& name : bound)
        EXPECT_TRUE(known.count(name)) << name;
    const std::set<std::string> used = Values(Load("cfg\\ui.xml"), L"//element[@effect]", L"effect");
    EXPECT_FALSE(used.empty());
    for (const std::string& effect : used) {
        const std::wstring messages = L"/effects/effect[@name='" + Wide(effect) + L"']/messages/message";
        EXPECT_GT(XmlCountNodes(effects.Node(), messages + L"[@name='onshow']"), 0) << effect;
        EXPECT_GT(XmlCountNodes(effects.Node(), messages + L"[@name='onhide']"), 0) << effect;
    }
}

// Every one of the 49 callbacks the game exports is bound by some effect, as
// a control's function or a message's call.
TEST_F(ContentContract, All49CallbacksAreUsed)
{
    const XmlDocument effects = Load("cfg\\effect.xml");
    std::set<std::string> bound = Values(effects, L"//control", L"function");
    for (const std::string& name : Values(effects, L"//message[@command='call']", L"timer_id"))
        bound.insert(name);
    const std::vector<std::string>& exported = contentgen::ExportedCallbackNames();
    ASSERT_EQ(exported.size(), 49u);
    for (const std::string& name : exported)
        EXPECT_TRUE(bound.count(name)) << name << " is bound by no effect";
}

TEST_F(ContentContract, EveryLevelGivesItsExpertMoney)
{
    for (int level = 1; level <= 60; ++level) {
        const XmlDocument document = Load(Format("cfg\\l%d.xml", level));
        int expert = -1;
        int normal = -1;
        const XmlNode params = document.Node().SelectSingle(L"//params");
        ASSERT_FALSE(params.IsEmpty()) << level;
        EXPECT_TRUE(XmlGetAttrInt(params, L"expert", expert)) << level;
        EXPECT_TRUE(XmlGetAttrInt(params, L"normal", normal)) << level;
        EXPECT_GT(expert, normal) << level;
        EXPECT_GT(normal, 0) << level;
    }
}

TEST_F(ContentContract, TheOfficeNamesEverySoundAndTrackThePlayerHears)
{
    if (contentgen::SoundTable().empty())
        GTEST_SKIP() << "the sounds are still placeholders";
    const XmlDocument office = Load("cfg\\office.xml");
    const std::set<std::string> sounds = Values(office, L"/office/sounds/sound", L"name");
    for (const char* name :
         {"button_hover", "button_click", "briefing_show", "good_debriefing_show", "bad_debriefing_show", "click", "goal",
          "expert", "wake_up", "boss_take_money", "client_spawn", "client_ready", "client_positiv", "client_negativ",
          "client_scandal", "hp_up_coffee", "hp_up_presentation", "coffeemashine", "conditioner_broke", "make_trash",
          "boss_give_money", "take_paper", "worker_finish", "boss_conference", "boss_steps", "phone_ring",
          "worker_snore"})
        EXPECT_TRUE(sounds.count(name)) << name;
    EXPECT_EQ(Values(office, L"/office/music/stream", L"name"), (std::set<std::string>{"level", "main_menu"}));
}

} // namespace
