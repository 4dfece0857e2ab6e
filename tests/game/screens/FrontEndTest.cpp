// The front-end screens over the demo game: the message box's loop, the main
// menu's profiles, the career calendar, the survival choice, the splash, the
// paging of help and hiscores, the options and the comic.
#include "DemoGame.h"

#include "game/core/LevelCalendar.h"
#include "game/core/MusicManager.h"
#include "game/core/SfxManager.h"
#include "game/core/StringTable.h"
#include "game/flow/CareerScreen.h"
#include "game/flow/ComicDialog.h"
#include "game/flow/GlobalBackground.h"
#include "game/flow/HelpDialog.h"
#include "game/flow/HiscoresDialog.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/OptionsDialog.h"
#include "game/flow/SplashScreen.h"
#include "game/flow/SurvivalScreen.h"
#include "game/ui/UiCheckBox.h"
#include "game/ui/UiEdit.h"
#include "game/ui/UiList.h"
#include "game/ui/UiSlider.h"
#include "game/ui/UiText.h"

#include <fstream>

namespace {

using namespace flowtest;

class FrontEnd : public DemoGame {
protected:
    XmlNode Root()
    {
        if (!uiLoaded) {
            uiLoaded = true;
            EXPECT_TRUE(XmlCreateDocument(ui));
            EXPECT_TRUE(XmlLoadFile("cfg\\ui.xml", ui));
        }
        return ui.Node().SelectSingle(L"root");
    }
    // Past the splash to the front end.
    void SkipSplash()
    {
        app->mSplashScreen->Hide();
        Updates(50);
    }
    XmlDocument ui;
    bool uiLoaded = false;
};

// ---- message box ----

TEST_F(FrontEnd, TheMessageBoxAnswersFromItsLoop)
{
    struct Case {
        const char* what;
        std::function<void()> act;
        int32_t result;
    } cases[] = {
        {"yes", [&] { Click(gMessageBox, "btn_yes"); }, 1},
        {"no", [&] { Click(gMessageBox, "btn_no"); }, 0},
        {"close", [&] { app->Shutdown(); }, MessageBoxDialog::kUnanswered},
        {"detached", [&] { app->mWidgetManager->RemoveWidget(gMessageBox); }, MessageBoxDialog::kUnanswered},
    };
    for (const Case& c : cases) {
        if (!gMessageBox->mWidgetManager)
            app->mWidgetManager->AddWidget(gMessageBox);
        app->GetOfficeScreen()->SetEscapeAllowed(false);
        int steps = 0;
        app->onStep = [&] {
            if (++steps == 20)
                c.act();
        };
        EXPECT_EQ(MessageBoxDialog::Show("quit"), c.result) << c.what;
        app->onStep = nullptr;
        EXPECT_FALSE(gModalBlocker->mVisible) << c.what;
        if (c.result != MessageBoxDialog::kUnanswered) {
            Updates(50);
            EXPECT_FALSE(gMessageBox->mVisible) << c.what;
            EXPECT_TRUE(app->GetOfficeScreen()->IsEscapeAllowed()) << c.what;
        }
        EXPECT_EQ(app->GetTextureRegistry()->GetRefCount("db01_icon_quit"), 1) << c.what;
    }
}

// ---- main menu and profiles ----

TEST_F(FrontEnd, TheFirstStartCreatesAProfileFromACleanedName)
{
    SkipSplash();
    MainMenu* menu = app->mMainMenu;
    ASSERT_TRUE(menu->mVisible);
    EXPECT_TRUE(Find(menu, "create_profile")->mVisible);
    EXPECT_TRUE(Find(menu, "create_profile/cancel")->mDisabled);
    EXPECT_TRUE(Find(menu, "create_profile/check_bosswoman")->mVisible);
    EXPECT_FALSE(Find(menu, "create_profile/check_bossman")->mVisible);

    auto* name = dynamic_cast<UiEdit*>(Find(menu, "create_profile/entername_text"));
    ASSERT_NE(name, nullptr);
    for (const wchar_t* blank : {L"", L"  ^ "}) {
        name->SetText(blank, true);
        Click(menu, "create_profile/create");
        EXPECT_FALSE(app->mProfileValid) << "a blank name makes nothing";
        EXPECT_TRUE(Find(menu, "create_profile")->mVisible);
    }
    // No look chosen: no profile, the panel stays.
    Find(menu, "create_profile/check_bosswoman")->SetVisible(false);
    name->SetText(L"Bob", true);
    Click(menu, "create_profile/create");
    EXPECT_FALSE(app->mProfileValid);
    EXPECT_TRUE(Find(menu, "create_profile")->mVisible);

    Click(menu, "create_profile/bossman_btn");
    EXPECT_TRUE(Find(menu, "create_profile/check_bossman")->mVisible);
    EXPECT_TRUE(Find(menu, "create_profile/bossman_btn")->mDisabled);
    name->SetText(L" Bob  ^x ", true);
    Click(menu, "create_profile/create");
    ASSERT_TRUE(app->mProfileValid);
    EXPECT_EQ(app->GetCurrentProfile()->mName, L"Bob x");
    EXPECT_EQ(app->GetCurrentProfile()->mFigure, "man");
    Updates(100);
    EXPECT_FALSE(Find(menu, "create_profile")->mVisible);
    EXPECT_TRUE(Find(menu, "main_menu_dlg")->mVisible);
    StringTable* texts = app->GetStringTable();
    const std::string n = std::to_string(menu->GetPairIndex() + 1);
    EXPECT_EQ(texts->Get("profilename" + n), L"Bob x");
    EXPECT_EQ(texts->Get("progressmonth" + n), L"1");
    EXPECT_EQ(texts->Get("hoursplayed" + n), L"0");
    EXPECT_EQ(texts->Get("minutesplayed" + n), L"0");
}

TEST_F(FrontEnd, ProfileTextsAreThoseOfTheProfileUnderThePairsSuffix)
{
    struct Case {
        int level;
        float seconds;
        int month, day, hours, minutes;
    } cases[] = {{25, 3725.9f, 2, 8, 1, 2}, {61, 0.0f, 3, 31, 0, 0}};
    for (const Case& c : cases) {
        MakeProfile(L"Ada", "woman", c.level);
        app->GetCurrentProfile()->mPlayTime = c.seconds;
        app->mMainMenu->HideProfileText();
        app->mMainMenu->ShowProfile(-1);
        const std::string n = std::to_string(app->mMainMenu->GetPairIndex() + 1);
        StringTable* texts = app->GetStringTable();
        EXPECT_EQ(texts->Get("progressmonth" + n), std::to_wstring(c.month)) << c.level;
        EXPECT_EQ(texts->Get("progressday" + n), std::to_wstring(c.day)) << c.level;
        EXPECT_EQ(texts->Get("hoursplayed" + n), std::to_wstring(c.hours)) << c.level;
        EXPECT_EQ(texts->Get("minutesplayed" + n), std::to_wstring(c.minutes)) << c.level;
        EXPECT_EQ(c.day, LevelCalendarDay(c.level));
    }
}

TEST_F(FrontEnd, TheListNeverDeletesTheCurrentProfileAndSelectKeepsThePlayTime)
{
    MakeProfile(L"Ada", "woman");
    MakeProfile(L"Bob", "man");
    SkipSplash();
    MainMenu* menu = app->mMainMenu;
    Click(menu, "profile_dlg/profile");
    auto* list = dynamic_cast<UiList*>(Find(menu, "select_profile/list"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetItems().size(), 2u);
    const int bob = app->mPrefHeader.mCurrentIndex;
    const int ada = 1 - bob;
    Updates(2);
    EXPECT_TRUE(Find(menu, "select_profile/delete")->mDisabled);
    list->SetSelected(ada);
    Updates(2);
    EXPECT_FALSE(Find(menu, "select_profile/delete")->mDisabled);
    EXPECT_EQ(menu->GetShownRow(), ada);

    // Bob played a while since pref.dat was written; selecting Ada keeps it.
    app->GetCurrentProfile()->mPlayTime = 600.0f;
    Click(menu, "select_profile/select");
    EXPECT_EQ(app->GetCurrentProfile()->mName, L"Ada");
    std::vector<ProfileRecord> profiles;
    app->ListProfiles(profiles);
    ASSERT_EQ(profiles.size(), 2u);
    EXPECT_EQ(profiles[size_t(bob)].mPlayTime, 600.0f);
}

TEST_F(FrontEnd, TheNameplateReadsWebsiteUrlWithinItsLimit)
{
    std::string kept;
    {
        std::ifstream in("website.url", std::ios::binary);
        kept.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    struct Case {
        const char* what;
        int size;  // -1: no file
        bool disabled;
        size_t requests;
    } cases[] = {{"missing", -1, true, 0}, {"5000 bytes", 5000, false, 0}, {"20 bytes", 20, false, 1}};
    for (const Case& c : cases) {
        std::remove("website.url");
        if (c.size >= 0) {
            std::ofstream out("website.url", std::ios::binary);
            out << "URL=about.html" << std::string(size_t(c.size) - 14, ' ');
        }
        MainMenu menu(app.get(), Root());
        auto* plate = dynamic_cast<UiButton*>(menu.FindChild("nameplate"));
        ASSERT_NE(plate, nullptr);
        EXPECT_EQ(plate->mDisabled, c.disabled) << c.what;
        EXPECT_EQ(menu.GetWebsiteText().size(), c.requests ? 20u : 0u) << c.what;
        const size_t before = platform.shell.Requests().size();
        menu.OnButton(reinterpret_cast<intptr_t>(plate));
        const auto requests = platform.shell.Requests();
        ASSERT_EQ(requests.size() - before, c.requests) << c.what;
        if (c.requests) {
            EXPECT_EQ(requests.back().verb, "OPEN");
            EXPECT_EQ(requests.back().file, "website.url");
            EXPECT_EQ(requests.back().showCommand, 8);
        }
    }
    std::ofstream("website.url", std::ios::binary) << kept;
}

// ---- career ----

TEST_F(FrontEnd, TheCareerCalendarFollowsTheProfile)
{
    struct Case {
        int level;
        int selected;
        bool monthLocked[3];
    } cases[] = {{1, 1, {false, true, true}},
                 {20, 20, {false, false, true}},
                 {21, 21, {false, false, true}},
                 {40, 40, {false, false, false}},
                 {61, 60, {false, false, false}}};
    CareerScreen* career = app->mCareerScreen;
    for (const Case& c : cases) {
        MakeProfile(L"Ada", "man", c.level);
        // Level 3 was won with exactly the expert money, level 2 with more.
        app->GetCurrentProfile()->mBestMoney[1] = app->mExpertTargets[1] + 1;
        app->GetCurrentProfile()->mBestMoney[2] = app->mExpertTargets[2];
        career->Show();
        Updates(2);
        TextureRegistry* textures = app->GetTextureRegistry();
        Zelk::Image* work = textures->Get("mn04_calendar_day_work");
        Zelk::Image* normal = textures->Get("mn04_calendar_day_normal");
        Zelk::Image* expert = textures->Get("mn04_calendar_day_expert");
        for (int day = 1; day <= 60; ++day) {
            UiButton* button = career->GetDayButton(day);
            const bool played = day < c.level;
            const bool next = day == c.level;
            const bool sameMonth = (day - 1) / 20 == (c.level - 1) / 20 && day > c.level;
            EXPECT_EQ(button->mDisabled, !(played || next)) << c.level << " day " << day;
            Zelk::Image* picture = button->GetPicture(UiButton::NORMAL).image;
            Zelk::Image* wanted = next || sameMonth ? work : played && day == 2 ? expert : normal;
            EXPECT_EQ(picture, wanted) << c.level << " day " << day;
        }
        textures->Release("mn04_calendar_day_work");
        textures->Release("mn04_calendar_day_normal");
        textures->Release("mn04_calendar_day_expert");
        for (int m = 1; m <= 3; ++m) {
            for (UiText* cell : career->GetMonthCells(m))
                EXPECT_EQ(cell->mDisabled, c.monthLocked[m - 1]) << c.level << " month " << m;
            EXPECT_EQ(career->FindChild("month" + std::to_string(m) + "_pic")->mDisabled, c.monthLocked[m - 1]);
        }
        EXPECT_EQ(career->GetSelectedLevel(), c.selected);
        UiElement* mark = career->FindChild("mark");
        UiButton* day = career->GetDayButton(c.selected);
        EXPECT_EQ(mark->GetLayoutX(), day->GetLayoutX() - 16) << c.level;
        EXPECT_EQ(mark->GetLayoutY(), day->GetLayoutY() - 14) << c.level;
        career->Hide();
    }
}

TEST_F(FrontEnd, ACareerDayCanBeChosenAndTheCareerRestarted)
{
    MakeProfile(L"Ada", "woman", 30);
    app->GetCurrentProfile()->mBestMoney[4] = 777;
    CareerScreen* career = app->mCareerScreen;
    career->Show();
    career->OnButton(5);
    EXPECT_EQ(career->GetSelectedLevel(), 5);
    const int clamped[][2] = {{0, 1}, {-7, 1}, {99, 60}};
    for (const auto& level : clamped) {
        career->SelectDay(level[0]);
        EXPECT_EQ(career->GetSelectedLevel(), level[1]);
    }

    int steps = 0;
    app->onStep = [&] {
        if (++steps == 5)
            Click(gMessageBox, "btn_yes");
    };
    Click(career, "restart");
    app->onStep = nullptr;
    EXPECT_EQ(app->GetCurrentProfile()->mLevel, 1);
    EXPECT_EQ(app->GetCurrentProfile()->mBestMoney[4], 777);
    EXPECT_EQ(career->GetSelectedLevel(), 1);

    career->OnButton(1);
    Click(career, "start");
    EXPECT_EQ(app->GetOfficeScreen()->GetLevel(), 1);
    EXPECT_EQ(app->GetOfficeScreen()->mParent, app->mWidgetManager);
    EXPECT_FALSE(app->mGlobalBackground->mVisible && app->mGlobalBackground->IsShowInProgress());
}

// ---- survival ----

TEST_F(FrontEnd, SurvivalLevelsOpenWithTheCareer)
{
    struct Case {
        int level;
        bool open[3];
    } cases[] = {{1, {true, false, false}},
                 {19, {true, false, false}},
                 {20, {true, true, false}},
                 {39, {true, true, false}},
                 {40, {true, true, true}}};
    SurvivalScreen* survival = app->mSurvivalScreen;
    for (const Case& c : cases) {
        MakeProfile(L"Ada", "man", c.level);
        survival->Show();
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(!survival->GetMonthPicture(k)->mDisabled, c.open[k - 1]) << c.level << " " << k;
        EXPECT_EQ(survival->GetSelectedLevel(), 1);
        survival->Hide();
    }
    survival->Show();
    survival->OnButton(reinterpret_cast<intptr_t>(survival->GetMonthPicture(3)));
    EXPECT_EQ(survival->GetSelectedLevel(), 3);
    EXPECT_TRUE(survival->GetMonthMark(3)->mVisible);
    EXPECT_FALSE(survival->GetMonthMark(1)->mVisible);
    Click(survival, "back");
    EXPECT_TRUE(app->mMainMenu->IsShowInProgress() || app->mMainMenu->mVisible);
    survival->Show();
    EXPECT_EQ(survival->GetSelectedLevel(), 1);
    app->GetOfficeScreen()->SetSurvival(true);
    survival->OnButton(reinterpret_cast<intptr_t>(survival->GetMonthPicture(2)));
    Click(survival, "start");
    EXPECT_EQ(app->GetOfficeScreen()->GetLevel(), 2);
    EXPECT_TRUE(app->GetOfficeScreen()->IsSurvival());
}

// ---- splash, paging, hiscores, options ----

TEST_F(FrontEnd, ASplashPageEndsOnItsFiveHundredthUpdateOrAtAKey)
{
    SplashScreen* splash = app->mSplashScreen;
    ASSERT_GE(splash->GetPages().size(), 3u);
    ASSERT_EQ(splash->GetCurrentPage(), 0);
    // A key ends the first page; the next update shows the second.
    splash->KeyDown(32);
    splash->Update();
    ASSERT_EQ(splash->GetCurrentPage(), 1);
    UiDialog* second = splash->GetPages()[1];
    for (int update = 1; update < 500; ++update) {
        splash->Update();
        ASSERT_FALSE(second->IsHideInProgress() || !second->mVisible) << update;
    }
    splash->Update();
    EXPECT_TRUE(second->IsHideInProgress() || !second->mVisible);
    // Keys move on through the rest; a click does not.
    Updates(200);
    ASSERT_EQ(splash->GetCurrentPage(), 2);
    splash->MouseDown(10, 10, 1);
    splash->MouseUp(10, 10, 1);
    Updates(2);
    EXPECT_EQ(splash->GetCurrentPage(), 2);
    for (size_t page = 2; page < splash->GetPages().size(); ++page) {
        splash->KeyDown(32);
        Updates(2);
    }
    EXPECT_FALSE(splash->mVisible);
    EXPECT_TRUE(app->mGlobalBackground->mVisible);
    EXPECT_EQ(app->GetMusicManager()->CurrentName(), "main_menu");
}

TEST_F(FrontEnd, PagingDisablesPreviousOnTheFirstPageNextOnTheLastAndBothWithoutAPage)
{
    struct Case {
        int pages;
        int page;
        bool previousDisabled, nextDisabled;
    } cases[] = {{1, 0, true, true},  {3, 0, true, false}, {3, 1, false, false},
                 {3, 2, false, true}, {3, -1, true, true}, {3, 3, true, true}};
    for (const Case& c : cases) {
        UiDialog dialog(nullptr, app.get());
        PageSet pages("page");
        auto add = [&](const std::string& name, UiElement* child) {
            dialog.AddChild(name, child);
            pages.Take(name, child);
        };
        add("prev_btn", new UiButton(&dialog, 0, &dialog));
        add("next_btn", new UiButton(&dialog, 0, &dialog));
        for (int k = 0; k < c.pages; ++k)
            add("page" + std::to_string(k), new UiDialog(&dialog, app.get()));
        pages.SetPage(c.page);
        EXPECT_EQ(pages.GetPrevious()->mDisabled, c.previousDisabled) << c.pages << " " << c.page;
        EXPECT_EQ(pages.GetNext()->mDisabled, c.nextDisabled) << c.pages << " " << c.page;
        for (int k = 0; k < c.pages; ++k)
            EXPECT_EQ(pages.GetPage(k)->mVisible, k == c.page) << c.pages << " " << c.page;
    }
}

TEST_F(FrontEnd, HelpAndHiscoresPageAlike)
{
    for (UiDialog* dialog : {static_cast<UiDialog*>(app->mHelpDialog), static_cast<UiDialog*>(app->mHiscoresDialog)}) {
        const PageSet& pages = dialog == app->mHelpDialog ? app->mHelpDialog->GetPages()
                                                          : app->mHiscoresDialog->GetPages();
        const int count = int(pages.GetPages().size());
        ASSERT_GE(count, 1);
        dialog->Show();
        for (int page = 0; page < count; ++page) {
            EXPECT_EQ(pages.GetCurrent(), page);
            EXPECT_EQ(pages.GetPrevious()->mDisabled, page == 0);
            EXPECT_EQ(pages.GetNext()->mDisabled, page == count - 1);
            if (page < count - 1)
                Click(dialog, "next_btn");
        }
        Click(dialog, "close");
        Updates(50);
        EXPECT_EQ(pages.GetCurrent(), -1);
        EXPECT_TRUE(pages.GetPrevious()->mDisabled);
        EXPECT_TRUE(pages.GetNext()->mDisabled);
    }
}

TEST_F(FrontEnd, HiscoresHighlightThePlayersEntries)
{
    MakeProfile(L"Ada", "woman");
    HiscoreTables* tables = app->GetHiscoreTables();
    tables->GetTable(false)[3] = {L"Ada", 500};
    tables->GetTable(true)[9] = {L"", 0};
    app->mHiscoresDialog->Show();
    UiElement* career = app->mHiscoresDialog->GetPages().GetPage(0);
    UiElement* survival = app->mHiscoresDialog->GetPages().GetPage(1);
    EXPECT_FALSE(Find(career, "line3/back")->mDisabled);
    EXPECT_TRUE(Find(career, "line2/back")->mDisabled);
    EXPECT_EQ(dynamic_cast<UiText*>(Find(career, "line3/text2"))->GetSourceText(), L"500");
    EXPECT_EQ(dynamic_cast<UiText*>(Find(survival, "line9/text1"))->GetSourceText(), L"");
    EXPECT_EQ(dynamic_cast<UiText*>(Find(survival, "line9/text2"))->GetSourceText(), L"");
}

TEST_F(FrontEnd, OptionsChangeTheVolumesAtOnceAndTheScreenModeOnApply)
{
    OptionsDialog* options = app->mOptionsDialog;
    app->mPrefHeader.mMuted = 0;
    options->Show();
    EXPECT_EQ(options->GetBackdrop()->mParent, app->mWidgetManager);
    auto* music = dynamic_cast<UiSlider*>(options->FindChild("musvol_slider"));
    auto* mute = dynamic_cast<UiCheckBox*>(options->FindChild("mute_checkbox"));
    auto* full = dynamic_cast<UiCheckBox*>(options->FindChild("fullscreen_checkbox"));
    music->SetValue(40);
    options->Update();
    EXPECT_EQ(app->mPrefHeader.mMusicVolume, 40u);
    EXPECT_EQ(app->GetMusicManager()->GetVolume(), 40);
    mute->SetChecked(true);
    options->Update();
    music->SetValue(55);
    options->Update();
    EXPECT_EQ(app->mPrefHeader.mMusicVolume, 55u);
    EXPECT_EQ(app->GetMusicManager()->GetVolume(), 0);
    EXPECT_EQ(app->GetSfxManager()->GetVolume(), 0);

    // Cancel drops only the screen mode.
    app->windowedCalls.clear();
    full->SetChecked(app->mWindowed);
    Click(options, "cancel");
    EXPECT_TRUE(app->windowedCalls.empty());
    EXPECT_EQ(options->GetBackdrop()->mParent, nullptr);
    Updates(50);
    options->Show();
    full->SetChecked(app->mWindowed);
    const bool windowed = !full->IsChecked();
    Click(options, "apply");
    ASSERT_EQ(app->windowedCalls.size(), 1u);
    EXPECT_EQ(app->windowedCalls[0], windowed);
    EXPECT_EQ(app->mPrefHeader.mMuted, 1);
}

// ---- comic ----

TEST_F(FrontEnd, TheComicLeadsThroughItsPagesToTheBriefingOrTheFrontEnd)
{
    MakeProfile(L"Ada", "man");
    // The comic and a briefing stand-in under one parent, as under the HUD.
    UiElement hud(nullptr);
    auto* comic = new ComicDialog(app.get(), Root());
    auto* briefing = new UiDialog(nullptr, app.get());
    comic->SetVisible(false);
    briefing->SetVisible(false);
    hud.AddChild("comix", comic);
    hud.AddChild("briefing", briefing);
    app->mWidgetManager->AddWidget(&hud);

    comic->SelectPage(0);
    comic->SelectPage(6);
    EXPECT_EQ(comic->GetCurrentPage(), 0);
    comic->SelectPage(1);
    comic->Show();
    Updates(50);
    EXPECT_EQ(comic->GetPage(1)->GetBackgroundId(), "comix1_man");
    comic->OnButton(reinterpret_cast<intptr_t>(comic->GetPageButton(1)));
    EXPECT_EQ(comic->GetCurrentPage(), 1);
    comic->OnButton(reinterpret_cast<intptr_t>(comic->GetBackButton()));
    EXPECT_EQ(comic->GetCurrentPage(), 0);
    comic->OnButton(reinterpret_cast<intptr_t>(comic->GetPageButton(1)));
    comic->OnButton(reinterpret_cast<intptr_t>(comic->GetPageButton(2)));
    Updates(50);
    EXPECT_FALSE(comic->mVisible);
    EXPECT_TRUE(briefing->mVisible);

    // Another look between two showings: other pictures.
    MakeProfile(L"Bea", "woman");
    comic->SelectPage(3);
    comic->Show();
    Updates(50);
    EXPECT_EQ(comic->GetPage(3)->GetBackgroundId(), "comix3_woman");
    comic->OnButton(reinterpret_cast<intptr_t>(comic->GetPageButton(3)));
    Updates(50);
    EXPECT_FALSE(comic->mVisible);

    // The last page: the front end comes back and the office goes.
    OfficeScreen* office = app->GetOfficeScreen();
    app->mWidgetManager->AddWidget(office);
    comic->SelectPage(5);
    comic->Show();
    comic->OnButton(reinterpret_cast<intptr_t>(comic->GetPageButton(5)));
    Updates(50);
    EXPECT_EQ(office->mParent, nullptr);
    EXPECT_TRUE(app->mGlobalBackground->mVisible);
    app->mWidgetManager->RemoveWidget(&hud);
}

} // namespace
