// Every screen of the front end over the demo data: shown, stepped, drawn,
// hidden, with its pictures given back; and the same screens over layouts
// that lack what they look up.
#include "DemoGame.h"

#include "game/core/LocTable.h"
#include "game/core/MusicManager.h"
#include "game/core/XmlFunctions.h"
#include "game/flow/CareerScreen.h"
#include "game/flow/ComicDialog.h"
#include "game/flow/GlobalBackground.h"
#include "game/flow/HelpDialog.h"
#include "game/flow/HiscoresDialog.h"
#include "game/flow/LoadingScreen.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/OptionsDialog.h"
#include "game/flow/SplashScreen.h"
#include "game/flow/StepLock.h"
#include "game/flow/SurvivalScreen.h"
#include "game/ui/UiEdit.h"
#include "tests/framework/graphics/PngFile.h"

#include <map>
#include <sys/stat.h>
#include <thread>

namespace {

using namespace flowtest;

class Screens : public DemoGame {
protected:
    void SetUp() override
    {
        DemoGame::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(XmlCreateDocument(ui));
        ASSERT_TRUE(XmlLoadFile("cfg\\ui.xml", ui));
        XmlForEachNode(
            ui.Node(), L"root/texture",
            [](const XmlNode& node, void* ids, void*) {
                std::string id;
                if (XmlGetAttrString(node, L"id", id))
                    static_cast<std::set<std::string>*>(ids)->insert(id);
                return true;
            },
            &textureIds, nullptr);
        ASSERT_FALSE(textureIds.empty());
    }

    std::map<std::string, int> Counts() const
    {
        std::map<std::string, int> counts;
        for (const std::string& id : textureIds)
            counts[id] = app->GetTextureRegistry()->GetRefCount(id);
        return counts;
    }

    XmlNode Root() { return ui.Node().SelectSingle(L"root"); }

    // The frame drawn last, for a person to look at.
    void SavePicture(const std::string& name)
    {
        int width = 0, height = 0;
        const std::vector<uint32_t> frame = platform.windows.LastFrame(width, height);
        ASSERT_GT(width, 0) << name;
        mkdir(SCREENS_FOLDER, 0755);
        EXPECT_TRUE(Zelk::test::WritePng(std::string(SCREENS_FOLDER) + "/" + name + ".png", width, height, frame))
            << name;
    }

    // Shown, 300 updates, drawn, hidden, 100 updates; the pictures are given
    // back (but those named in keep).
    void Exercise(const std::string& name, const std::function<void()>& show, const std::function<void()>& hide)
    {
        const std::map<std::string, int> before = Counts();
        show();
        Updates(300);
        app->mWidgetManager->MarkAllDirty();
        app->Draw();
        SavePicture(name);
        hide();
        Updates(100);
        const std::map<std::string, int> after = Counts();
        for (const auto& [id, count] : before)
            EXPECT_EQ(after.at(id), count) << name << ": " << id;
    }

    XmlDocument ui;
    std::set<std::string> textureIds;
};

TEST_F(Screens, EveryScreenIsShownSteppedDrawnAndHiddenAndGivesItsPicturesBack)
{
    // The first start: the splash over no profile.
    ASSERT_TRUE(app->mSplashScreen->mVisible);
    ASSERT_FALSE(app->mSplashScreen->GetPages().empty());
    app->mSplashScreen->Hide();
    Updates(100);
    ASSERT_TRUE(app->mGlobalBackground->mVisible);
    ASSERT_TRUE(app->mMainMenu->mVisible);
    auto* name = dynamic_cast<UiEdit*>(Find(app->mMainMenu, "create_profile/entername_text"));
    ASSERT_NE(name, nullptr);
    name->SetText(L"Ada", true);
    Click(app->mMainMenu, "create_profile/create");
    ASSERT_TRUE(app->mProfileValid);
    app->GetCurrentProfile()->mLevel = 25;
    Updates(100);

    // The splash's end shows the front end, which is up already.
    Exercise("splash", [&] { app->mSplashScreen->Show(); }, [&] { app->mSplashScreen->Hide(); });
    app->mMainMenu->Hide();
    app->mGlobalBackground->Hide();
    Updates(100);
    // The front end is left from the menu's screens, the menu hidden first.
    Exercise(
        "background", [&] { app->mGlobalBackground->Show(); },
        [&] {
            app->mMainMenu->Hide();
            app->mGlobalBackground->Hide();
        });
    app->mGlobalBackground->SetVisible(true);
    Exercise("main_menu", [&] { app->mMainMenu->Show(); }, [&] { app->mMainMenu->Hide(); });
    Exercise(
        "main_menu_profiles",
        [&] {
            app->mMainMenu->Show();
            Click(app->mMainMenu, "profile_dlg/profile");
        },
        [&] {
            Click(app->mMainMenu, "select_profile/select");
            app->mMainMenu->Hide();
        });
    Exercise(
        "main_menu_create",
        [&] {
            app->mMainMenu->Show();
            Click(app->mMainMenu, "profile_dlg/profile");
            Click(app->mMainMenu, "select_profile/create");
        },
        [&] {
            Click(app->mMainMenu, "create_profile/cancel");
            Updates(100);
            Click(app->mMainMenu, "select_profile/select");
            app->mMainMenu->Hide();
        });
    Exercise("career", [&] { app->mCareerScreen->Show(); }, [&] { app->mCareerScreen->Hide(); });
    Exercise("survival", [&] { app->mSurvivalScreen->Show(); }, [&] { app->mSurvivalScreen->Hide(); });
    Exercise("hiscores", [&] { app->mHiscoresDialog->Show(); }, [&] { app->mHiscoresDialog->Hide(); });
    Exercise("options", [&] { app->mOptionsDialog->Show(); }, [&] { app->mOptionsDialog->Hide(); });
    Exercise("help", [&] { app->mHelpDialog->Show(); }, [&] { app->mHelpDialog->Hide(); });

    ComicDialog comic(app.get(), Root());
    comic.SetVisible(false);
    app->mWidgetManager->AddWidget(&comic);
    for (int set : {1, 3, 4, 5}) {
        Exercise(
            "comic" + std::to_string(set),
            [&] {
                comic.SelectPage(set);
                comic.Show();
            },
            [&] { comic.Hide(); });
    }
    app->mWidgetManager->RemoveWidget(&comic);

    // The message box answers from inside its loop; its icon stays taken.
    for (const char* kind : {"restlvl", "exitmenu", "delcareer", "quit", "delprof"}) {
        std::map<std::string, int> expected = Counts();
        for (auto& [id, count] : expected)
            if (id.rfind("db01_icon_", 0) == 0)
                count = id == std::string("db01_icon_") + kind;
        const int start = app->mUpdateCount;
        bool drawn = false;
        app->onStep = [&] {
            if (app->mUpdateCount - start < 300 || drawn)
                return;
            drawn = true;
            app->mWidgetManager->MarkAllDirty();
            app->Draw();
            SavePicture(std::string("message_") + kind);
            Click(gMessageBox, "btn_no");
        };
        EXPECT_EQ(MessageBoxDialog::Show(kind), 0) << kind;
        app->onStep = nullptr;
        EXPECT_TRUE(drawn) << kind;
        Updates(100);
        EXPECT_EQ(Counts(), expected) << kind;
    }

    // The loading screen steps on its own thread: the main thread only
    // watches until 300 updates have passed there.
    const std::map<std::string, int> before = Counts();
    ASSERT_TRUE(app->mLoadingScreen->HasThread());
    const std::thread::id mainThread = std::this_thread::get_id();
    app->onStep = [&] {
        if (std::this_thread::get_id() != mainThread)
            platform.clock.SetDrivingThread(std::this_thread::get_id());
    };
    int start = 0;
    {
        Zelk::CritSectGuard guard(gStepLock);
        start = app->mUpdateCount;
        app->mLoadingScreen->Show();
    }
    for (bool drawn = false; !drawn;) {
        {
            Zelk::CritSectGuard guard(gStepLock);
            if (app->mUpdateCount - start >= 300) {
                app->mWidgetManager->MarkAllDirty();
                app->Draw();
                SavePicture("loading");
                drawn = true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    app->mLoadingScreen->Hide();
    app->onStep = nullptr;
    platform.clock.SetDrivingThread(mainThread);
    // The end of a load shows the office screen; it gives its pictures back
    // when it goes too.
    ASSERT_NE(app->GetOfficeScreen(), nullptr);
    EXPECT_TRUE(app->GetOfficeScreen()->mVisible || app->GetOfficeScreen()->IsShowInProgress());
    app->GetOfficeScreen()->Hide();
    Updates(100);
    EXPECT_EQ(Counts(), before) << "loading";
}

// What the screens ask for by name is in the demo data.
TEST_F(Screens, EveryLayoutChildPictureTextAndTuneTheScreensNameIsThere)
{
    const std::vector<std::pair<UiElement*, std::vector<std::string>>> children = {
        {app->mGlobalBackground, {}},
        {app->mMainMenu,
         {"main_menu_dlg/career", "main_menu_dlg/survival", "main_menu_dlg/hiscores", "main_menu_dlg/options",
          "main_menu_dlg/help", "main_menu_dlg/quit", "profile_dlg/profile", "profile_dlg/profile_text1",
          "profile_dlg/profile_text2", "boss1", "boss2", "select_profile/list", "select_profile/create",
          "select_profile/select", "select_profile/delete", "create_profile/entername_text",
          "create_profile/bossman_btn", "create_profile/bosswoman_btn", "create_profile/check_bossman",
          "create_profile/check_bosswoman", "create_profile/cancel", "create_profile/create", "nameplate",
          "lockdialog"}},
        {app->mCareerScreen, {"mark", "boss_icon", "restart", "back", "start"}},
        {app->mSurvivalScreen, {"boss_icon", "back", "start"}},
        {app->mHiscoresDialog, {"prev_btn", "next_btn", "close"}},
        {app->mHelpDialog, {"prev_btn", "next_btn", "close"}},
        {app->mOptionsDialog,
         {"mute_checkbox", "fullscreen_checkbox", "cancel", "apply", "sndvol_slider", "musvol_slider"}},
        {gMessageBox, {"icon", "text1", "text2", "btn_yes", "btn_no"}},
    };
    for (const auto& [screen, paths] : children) {
        ASSERT_NE(screen, nullptr);
        EXPECT_FALSE(screen->GetChildren().empty()) << "a layout is missing";
        for (const std::string& path : paths)
            EXPECT_NE(Find(screen, path), nullptr) << path;
    }
    for (int day = 1; day <= CareerScreen::kDays; ++day)
        EXPECT_NE(app->mCareerScreen->GetDayButton(day), nullptr) << "career_day" << day;
    for (int m = 1; m <= 3; ++m) {
        EXPECT_FALSE(app->mCareerScreen->GetMonthCells(m).empty()) << "episode" << m;
        for (const char* format : {"month%d_pic", "month%d_text"}) {
            char name[32];
            std::snprintf(name, sizeof name, format, m);
            EXPECT_NE(app->mCareerScreen->FindChild(name), nullptr) << name;
        }
        EXPECT_NE(app->mSurvivalScreen->GetMonthPicture(m), nullptr) << "month_pic" << m;
        EXPECT_NE(app->mSurvivalScreen->GetMonthMark(m), nullptr) << "month_check" << m;
    }
    EXPECT_GE(app->mHelpDialog->GetPages().GetPages().size(), 1u);
    ASSERT_EQ(app->mHiscoresDialog->GetPages().GetPages().size(), 2u);
    for (UiElement* page : app->mHiscoresDialog->GetPages().GetPages())
        for (int i = 0; i < HiscoresDialog::kLines; ++i)
            for (const char* part : {"back", "text1", "text2"})
                EXPECT_NE(Find(page, "line" + std::to_string(i) + "/" + part), nullptr) << i << part;
    EXPECT_FALSE(app->mSplashScreen->GetPages().empty());
    EXPECT_FALSE(app->mLoadingScreen->GetChildren().empty());

    ComicDialog comic(app.get(), Root());
    for (int k = 1; k <= ComicDialog::kPages; ++k) {
        EXPECT_NE(comic.GetPage(k), nullptr) << "comix" << k;
        EXPECT_NE(comic.GetPageButton(k), nullptr) << "comix" << k << "/btn";
    }
    EXPECT_NE(comic.GetBackButton(), nullptr);

    std::vector<std::string> pictures = {"mn01_bossman", "mn01_bosswoman", "mn04_bossman", "mn04_bosswoman",
                                         "mn04_calendar_day_work", "mn04_calendar_day_normal",
                                         "mn04_calendar_day_expert", "mn04_calendar_day_weekend"};
    std::vector<std::string> texts;
    for (const char* kind : {"restlvl", "exitmenu", "delcareer", "quit", "delprof"}) {
        pictures.push_back(std::string("db01_icon_") + kind);
        for (const char* family : {"db01_text1_", "db01_text2_", "db01_btnyes_", "db01_btnno_"})
            texts.push_back(family + std::string(kind));
    }
    for (int k = 1; k <= ComicDialog::kPages; ++k)
        for (const char* skin : {"man", "woman"})
            pictures.push_back("comix" + std::to_string(k) + "_" + skin);
    TextureRegistry* textures = app->GetTextureRegistry();
    for (const std::string& id : pictures) {
        EXPECT_NE(textures->Get(id), nullptr) << id;
        textures->Release(id);
    }
    for (const std::string& id : texts)
        EXPECT_FALSE(app->GetLocTable()->Get(id).empty()) << id;
    EXPECT_NE(app->GetMusicManager()->Find("main_menu"), nullptr);
    EXPECT_NE(platform.folders.programPath, "");
    EXPECT_FALSE(app->mMainMenu->GetWebsiteText().empty());
}

} // namespace

namespace {

// The screens over a description without their layouts, and over layouts
// without children: nothing they look up is there.
TEST_F(Screens, WithoutTheirLayoutsOrTheirChildrenTheScreensStillShowUpdateAndHide)
{
    const char* layouts[] = {"global_bkg", "main_menu", "career",  "survival", "help",
                             "hiscores",   "options",   "splash",  "load_screen", "comix", "dialogbox_2button"};
    std::string empty = "<root>";
    for (const char* name : layouts)
        empty += std::string("<element name=\"") + name + "\" type=\"quordialog\" x=\"0\" y=\"0\" width=\"800\" height=\"600\"/>";
    empty += "</root>";
    for (const std::string& text : {std::string("<root/>"), empty}) {
        XmlDocument document;
        ASSERT_TRUE(XmlCreateDocument(document));
        ASSERT_TRUE(document.LoadText(std::wstring(text.begin(), text.end())));
        const XmlNode root = document.Node().SelectSingle(L"root");
        ASSERT_FALSE(root.IsEmpty());
        for (bool profile : {false, true}) {
            if (profile)
                MakeProfile(L"Ada", "woman", 61);
            std::vector<UiDialog*> screens = {
                new GlobalBackground(app.get(), root), new MainMenu(app.get(), root),
                new CareerScreen(app.get(), root),     new SurvivalScreen(app.get(), root),
                new HelpDialog(app.get(), root),       new HiscoresDialog(app.get(), root),
                new OptionsDialog(app.get(), root),    new SplashScreen(app.get(), root),
                new LoadingScreen(app.get(), root),    new ComicDialog(app.get(), root),
            };
            for (UiDialog* screen : screens) {
                screen->SetVisible(false);
                app->mWidgetManager->AddWidget(screen);
                screen->Show();
                if (dynamic_cast<LoadingScreen*>(screen)) {
                    // Its thread steps the application meanwhile: the main
                    // thread only waits.
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                } else {
                    Updates(300);
                    app->Draw();
                }
                for (intptr_t id = -1; id <= 61; ++id)
                    screen->OnButton(id);
                screen->Hide();
                Updates(100);
                app->mWidgetManager->RemoveWidget(screen);
                delete screen;
            }
            // The message box without its buttons can only go unanswered.
            MessageBoxDialog* demoBox = gMessageBox;
            auto* box = new MessageBoxDialog(app.get(), root);
            app->mWidgetManager->AddWidget(box);
            gMessageBox = box;
            int steps = 0;
            app->onStep = [&] {
                if (++steps == 50)
                    app->mWidgetManager->RemoveWidget(box);
            };
            EXPECT_EQ(MessageBoxDialog::Show("quit"), MessageBoxDialog::kUnanswered);
            app->onStep = nullptr;
            gMessageBox = demoBox;
            delete box;
        }
    }
}

} // namespace
