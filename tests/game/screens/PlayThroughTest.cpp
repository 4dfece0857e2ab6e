// The whole game as a player walks it, from the splash through a day and
// back to the end, and a second start.
#include "ProgramPlayer.h"

#include "game/core/MusicManager.h"
#include "game/core/SfxSample.h"
#include "game/core/StringTable.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/CareerScreen.h"
#include "game/flow/ComicDialog.h"
#include "game/flow/DebriefingDialog.h"
#include "game/flow/EscapeMenu.h"
#include "game/flow/HiscoresDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/OptionsDialog.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiCheckBox.h"
#include "game/ui/UiSlider.h"
#include "game/ui/UiText.h"
#include "tests/framework/graphics/PngFile.h"

#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

namespace {

using playtest::Prefs;

class PlayThrough : public playtest::ProgramPlayer {
protected:
    void SavePicture(const std::string& name)
    {
        int width = 0, height = 0;
        const std::vector<uint32_t> frame = platform.windows.LastFrame(width, height);
        if (width <= 0)
            return;
        mkdir(SCREENS_FOLDER, 0755);
        Zelk::test::WritePng(std::string(SCREENS_FOLDER) + "/play_" + name + ".png", width, height, frame);
    }
};

TEST_F(PlayThrough, FromTheSplashThroughADayAndBackToTheEnd)
{
    ASSERT_FALSE(ReadPrefs().exists);
    ASSERT_NO_FATAL_FAILURE(StartProgram());

    // Keys skip the splash's pages to the front end.
    SplashScreen* splash = app->mSplashScreen;
    ASSERT_TRUE(splash->mVisible);
    ASSERT_NO_FATAL_FAILURE(PassTheSplash());
    MainMenu* menu = app->mMainMenu;
    ASSERT_TRUE(Until([&] { return Shown(Find(menu, "create_profile/create")); }, 2000));
    EXPECT_FALSE(splash->mVisible);
    EXPECT_EQ(app->GetMusicManager()->CurrentName(), "main_menu");
    SavePicture("create_profile");

    // A profile "Ada" with the man's look.
    ASSERT_NO_FATAL_FAILURE(CreateProfile(L"Ada"));
    ASSERT_TRUE(app->mProfileValid);
    EXPECT_EQ(app->GetCurrentProfile()->mName, L"Ada");
    EXPECT_EQ(app->GetCurrentProfile()->mFigure, "man");

    // The career calendar with day 1 marked, and its start.
    Click(menu, "main_menu_dlg/career");
    CareerScreen* career = app->mCareerScreen;
    ASSERT_TRUE(Until([&] { return Shown(Find(career, "start")); }, 2000));
    EXPECT_EQ(career->GetSelectedLevel(), 1);
    UiElement* mark = career->FindChild("mark");
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->mVisible);
    EXPECT_EQ(mark->GetLayoutX(), career->GetDayButton(1)->GetLayoutX() - 16);
    SavePicture("career");
    Click(career, "start");

    // Behind the loading screen to the day's comic, two pages, the briefing.
    OfficeScreen* office = app->GetOfficeScreen();
    ComicDialog* comic = office->GetComic();
    ASSERT_TRUE(Until([&] { return comic->mVisible; }, 3000));
    EXPECT_GT(program->LoadingSleeps(), 0);
    EXPECT_EQ(office->GetLevel(), 1);
    ASSERT_TRUE(Until([&] { return Shown(comic->GetPageButton(1)); }, 2000));
    SavePicture("comic");
    ClickAt(comic->GetPageButton(1));
    ClickAt(comic->GetPageButton(2));
    BriefingDialog* briefing = office->GetBriefing();
    ASSERT_TRUE(Until([&] { return Shown(Find(briefing, "continue")) && !comic->mVisible; }, 2000));
    EXPECT_FALSE(office->IsDayRunning());
    SavePicture("briefing");
    Click(briefing, "continue");
    ASSERT_TRUE(Until([&] { return office->IsDayRunning(); }, 500));

    // Day 1 played to its end: each client served as it comes.
    for (int served = 0; !office->IsDayOver() && served < 8 && !HasFatalFailure(); ++served) {
        const int place = hands->NextWaitingClient(6000, [&] { return office->IsDayOver(); });
        if (place < 0)
            break;
        ASSERT_NO_FATAL_FAILURE(hands->Serve(place));
        if (served == 0)
            SavePicture("day1");
    }
    ASSERT_TRUE(Until([&] { return office->IsDayOver(); }, 3000));
    DebriefingDialog* debriefing = office->GetDebriefing();
    ASSERT_TRUE(Until([&] { return debriefing->mVisible; }, 1000));
    const std::string result = debriefing->GetResultKind();
    RecordProperty("day1", result);
    const int32_t money = office->GetMoney();
    // The earnings counted up, never down, to the day's money.
    std::vector<std::wstring> earnings;
    for (int i = 0; i < 400; ++i) {
        const std::wstring text = app->GetStringTable()->Get("earnings");
        if (earnings.empty() || earnings.back() != text)
            earnings.push_back(text);
        Tick();
    }
    ASSERT_FALSE(earnings.empty());
    EXPECT_EQ(earnings.back(), std::to_wstring(money));
    if (money > 1)
        EXPECT_GT(earnings.size(), 2u);
    for (size_t i = 1; i < earnings.size(); ++i)
        EXPECT_LT(std::stol(earnings[i - 1]), std::stol(earnings[i]));
    SavePicture("debriefing");
    // pref.dat holds the day as scored.
    Prefs scored = ReadPrefs();
    ASSERT_TRUE(scored.valid);
    EXPECT_EQ(scored.profile.mName, L"Ada");
    EXPECT_EQ(scored.profile.mLevel, result == "failure" ? 1 : 2) << result;
    if (result != "failure")
        EXPECT_EQ(scored.profile.mBestMoney[0], money);

    // On (or again after a failure), behind the loading screen, to the
    // briefing of the next day.
    const int loadsBefore = program->LoadingSleeps();
    Click(debriefing, result == "failure" ? "replay" : "continue");
    ASSERT_TRUE(Until([&] { return comic->mVisible || Shown(Find(briefing, "continue")); }, 3000));
    EXPECT_GT(program->LoadingSleeps(), loadsBefore);
    EXPECT_EQ(office->GetLevel(), result == "failure" ? 1 : 2);
    for (int page = comic->GetCurrentPage(); comic->mVisible && page <= ComicDialog::kPages; ++page)
        ClickAt(comic->GetPageButton(page));
    ASSERT_TRUE(Until([&] { return Shown(Find(briefing, "continue")); }, 2000));
    Click(briefing, "continue");
    ASSERT_TRUE(Until([&] { return office->IsDayRunning(); }, 500));
    Ticks(100);

    // Escape, "quit", yes: the front end with its music, the day's sounds
    // stopped.
    platform.sound.TakeCalls();
    Key(EscapeMenu::kEscapeKey);
    EscapeMenu* escape = office->GetEscapeMenu();
    ASSERT_TRUE(Until([&] { return escape->IsOpen(); }, 100));
    EXPECT_FALSE(office->IsDayRunning());
    Click(escape, "quit");
    Answer("btn_yes");
    ASSERT_TRUE(Until([&] { return Shown(Find(menu, "main_menu_dlg/hiscores")); }, 2000));
    EXPECT_FALSE(app->mWidgetManager->HasWidget(office));
    EXPECT_EQ(app->GetMusicManager()->CurrentName(), "main_menu");
    std::set<std::string> stopped;
    for (const std::string& call : platform.sound.TakeCalls())
        if (call.rfind("StopSample(", 0) == 0)
            stopped.insert(call);
    int gameSamples = 0;
    for (const auto& [name, sample] : gSfxSamples)
        if (sample->Group() == gSfxGroups.at("game") && sample->SampleId() > 0) {
            ++gameSamples;
            EXPECT_EQ(sample->PauseCount(), 0) << name;
            EXPECT_TRUE(stopped.count("StopSample(" + std::to_string(sample->SampleId()) + ")")) << name;
        }
    EXPECT_GT(gameSamples, 0);

    // The hiscores paged through and closed.
    Click(menu, "main_menu_dlg/hiscores");
    HiscoresDialog* hiscores = app->mHiscoresDialog;
    ASSERT_TRUE(Until([&] { return Shown(Find(hiscores, "next_btn")); }, 2000));
    EXPECT_EQ(hiscores->GetPages().GetCurrent(), 0);
    // The career page shows the table pref.dat holds, Ada's day among it
    // where it ranked.
    Prefs stored = ReadPrefs();
    const HiscoreEntry* table = stored.tables.GetTable(false);
    bool adaListed = false;
    for (int place = 0; place < HiscoreTables::kPlaces; ++place) {
        const std::string line = "line" + std::to_string(place);
        auto* name = dynamic_cast<UiText*>(Find(hiscores->GetPages().GetPage(0), line + "/text1"));
        auto* score = dynamic_cast<UiText*>(Find(hiscores->GetPages().GetPage(0), line + "/text2"));
        ASSERT_TRUE(name && score) << line;
        EXPECT_EQ(name->GetSourceText(), table[place].mName) << line;
        EXPECT_EQ(score->GetSourceText(), table[place].mName.empty() ? L"" : std::to_wstring(table[place].mScore))
            << line;
        adaListed = adaListed || (table[place].mName == L"Ada" && table[place].mScore == money);
    }
    EXPECT_TRUE(adaListed || money <= table[HiscoreTables::kPlaces - 1].mScore) << money;
    Click(hiscores, "next_btn");
    EXPECT_EQ(hiscores->GetPages().GetCurrent(), 1);
    EXPECT_TRUE(hiscores->GetPages().GetNext()->mDisabled);
    SavePicture("hiscores");
    Click(hiscores, "close");
    ASSERT_TRUE(Until([&] { return !hiscores->mVisible; }, 1000));

    // Options: music at 40 by the slider, mute, apply.
    Click(menu, "main_menu_dlg/options");
    OptionsDialog* options = app->mOptionsDialog;
    auto* music = dynamic_cast<UiSlider*>(options->FindChild("musvol_slider"));
    ASSERT_NE(music, nullptr);
    ASSERT_TRUE(Until([&] { return Shown(music); }, 2000));
    // The player moves along the track until the thumb shows 40.
    for (int x = 0; x < 400 && music->GetValue() != 40 && !HasFatalFailure(); ++x)
        ClickAt(music, x);
    ASSERT_EQ(music->GetValue(), 40);
    Click(options, "mute_checkbox");
    EXPECT_TRUE(dynamic_cast<UiCheckBox*>(options->FindChild("mute_checkbox"))->IsChecked());
    SavePicture("options");
    Click(options, "apply");
    ASSERT_TRUE(Until([&] { return !options->mVisible; }, 1000));

    // "quit", yes: the program ends with 0.
    const float playTime = app->GetCurrentProfile()->mPlayTime;
    EXPECT_GT(playTime, 0.0f);
    ASSERT_NO_FATAL_FAILURE(QuitTheGame());
    ExpectNoReportBoxes();
    const Prefs last = ReadPrefs();
    ASSERT_TRUE(last.valid);
    EXPECT_EQ(last.profile.mName, L"Ada");
    EXPECT_GE(last.profile.mPlayTime, playTime);
    EXPECT_EQ(last.header.mMusicVolume, 40u);
    EXPECT_EQ(last.header.mMuted, 1);

    // A second start: past the splash, the main panel with Ada's texts.
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    splash = app->mSplashScreen;
    menu = app->mMainMenu;
    for (int key = 0; key < 10 && splash->mVisible; ++key) {
        Ticks(20);
        Key(' ');
    }
    ASSERT_TRUE(Until([&] { return Shown(Find(menu, "main_menu_dlg/career")); }, 2000));
    EXPECT_FALSE(Find(menu, "create_profile")->mVisible);
    EXPECT_EQ(app->GetCurrentProfile()->mName, L"Ada");
    const std::string n = std::to_string(menu->GetPairIndex() + 1);
    EXPECT_EQ(app->GetStringTable()->Get("profilename" + n), L"Ada");
    SavePicture("second_start");
}

} // namespace
