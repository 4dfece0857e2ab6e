// The game's own cfg\ui.xml, as the tool generates it, built by the UI kit:
// every layout under "root" survives the structural run (updates, a draw, a
// press and release at each widget's centre) without an error report, and
// each is drawn after one second on screen into a PNG of the build folder
// for a person to look at.
#include "GeneratedData.h"

#include "framework/app/StringUtil.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/resources/ImageLib.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/FontRegistry.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/StringTable.h"
#include "game/core/TextureRegistry.h"
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"
#include "platform/NullPlatform.h"
#include "platform/text/FreeTypeTextDevice.h"
#include "tests/framework/graphics/PngFile.h"
#include "tests/game/widgets/PressEverywhere.h"
#include "tests/support/CurrentFolder.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <unistd.h>

namespace {

using namespace contentgentest;

// The game application started in the generated folder (archives mounted),
// with the UI description's textures and fonts registered; every error the
// application reports is written down.
class GameUi : public ::testing::Test {
protected:
    class ReportingApp : public GameApp {
    public:
        ReportingApp() : GameApp(0) {}
        void LogScreenError(const std::string& text) override { errors.push_back(text); }
        void FatalError(const std::string& text) override { errors.push_back("fatal: " + text); }
        void FatalErrorW(const std::wstring& text) override { FatalError(Zelk::WStringToString(text)); }
        std::vector<std::string> errors;
    };

    void SetUp() override
    {
        if (AssetsArePlaceholders())
            GTEST_SKIP() << "the layouts need the real pictures and fonts";
        ASSERT_TRUE(folder.Remember());
        WriteFolder(Generated(), false, game);
        platform.folders.programPath = game / "quillmore";
        platform.folders.appData = elsewhere / "appdata";
        platform.folders.documents = elsewhere / "documents";
        app = std::make_unique<ReportingApp>();
        app->GetLocTable()->Load();
        app->mWidgetManager->Resize(Zelk::Rect(0, 0, 800, 600), Zelk::Rect(0, 0, 800, 600));
        ASSERT_TRUE(XmlCreateDocument(uiDoc));
        ASSERT_TRUE(XmlLoadFile("cfg\\ui.xml", uiDoc));
        root = uiDoc.Node().SelectSingle(L"root");
        ASSERT_TRUE(root);
        app->GetTextureRegistry()->Load(root);
        app->mFontRegistry->Load(root);
        std::vector<XmlNode> nodes;
        root.Select(L"element[@type=\"quordialog\"]", nodes);
        for (const XmlNode& node : nodes) {
            std::string name;
            XmlGetAttrString(node, L"name", name);
            layouts.push_back(name);
        }
        ASSERT_FALSE(layouts.empty());
    }
    void TearDown() override
    {
        if (app)
            app->mWidgetManager->RemoveAllWidgets(false, false);
        app.reset();
        folder.Restore();
    }

    std::unique_ptr<UiDialog> Build(const std::string& name)
    {
        auto dialog = std::make_unique<UiDialog>(nullptr, app.get());
        dialog->LoadByName(root, name);
        return dialog;
    }
    void Draw(UiDialog* dialog, Zelk::MemoryImage& screen)
    {
        Zelk::Graphics g(&screen);
        Zelk::TreeFlags flags = app->mWidgetManager->ComputeFlags();
        dialog->DrawTree(flags, &g);
    }
    void ExpectNoReports(const std::string& layout)
    {
        for (const std::string& error : app->errors)
            ADD_FAILURE() << layout << ": " << error;
        app->errors.clear();
        for (const auto& shown : platform.messageBoxes.Log())
            ADD_FAILURE() << layout << ": message box: " << Zelk::WStringToString(shown.text);
        platform.messageBoxes.Clear();
    }

    plat::NullPlatform platform;
    testsupport::TempDir game, elsewhere;
    testsupport::CurrentFolder folder;
    std::unique_ptr<ReportingApp> app;
    XmlDocument uiDoc;
    XmlNode root;
    std::vector<std::string> layouts;
};

TEST_F(GameUi, EveryLayoutSurvivesUpdatesDrawingAndPressesWithoutAReport)
{
    for (const std::string& name : layouts) {
        SCOPED_TRACE(name);
        auto dialog = Build(name);
        EXPECT_FALSE(dialog->GetChildren().empty());
        app->mWidgetManager->AddWidget(dialog.get());
        for (int i = 0; i < 150; ++i)
            app->mWidgetManager->UpdateFrame();
        Zelk::MemoryImage screen;
        screen.Create(800, 600);
        Draw(dialog.get(), screen);
        uitest::PressEverywhere(app->mWidgetManager, dialog.get());
        app->mWidgetManager->UpdateFrame();
        Draw(dialog.get(), screen);
        app->mWidgetManager->RemoveWidget(dialog.get());
        ExpectNoReports(name);
    }
}

// A teaching hint closes on a click anywhere on it, its texts too: they leave
// the mouse to the hint (else a hint over the object it names could only be
// closed at its margins).
TEST_F(GameUi, EveryHintTakesTheClicksOnItsTexts)
{
    auto hud = Build("hud");
    app->mWidgetManager->AddWidget(hud.get());
    for (int n = 1; n <= 16; ++n)
        if (UiElement* hint = hud->FindChild(Zelk::StrFormat("tutorial%d", n)))
            hint->SetVisible(false);
    int hints = 0;
    for (int n = 1; n <= 16; ++n) {
        UiElement* hint = hud->FindChild(Zelk::StrFormat("tutorial%d", n));
        ASSERT_NE(hint, nullptr) << n;
        hint->Show();
        for (int i = 0; i < 60; ++i)
            app->mWidgetManager->UpdateFrame();
        for (const char* part : {"text", "close_note"}) {
            UiElement* text = hint->FindChild(part);
            ASSERT_NE(text, nullptr) << n << " " << part;
            const int x = hud->mX + hint->mX + text->mX + text->mWidth / 2;
            const int y = hud->mY + hint->mY + text->mY + text->mHeight / 2;
            EXPECT_EQ(app->mWidgetManager->GetWidgetAtPoint(x, y), hint) << n << " " << part;
        }
        hint->SetVisible(false);
        ++hints;
    }
    EXPECT_EQ(hints, 16);
    app->mWidgetManager->RemoveWidget(hud.get());
}

// A hint shown again after a hide (each new day hides them all) stands
// where its layout puts it, next to the object it names, not where its hide
// left it.
TEST_F(GameUi, AHintShownAgainStandsWhereItsLayoutPutsIt)
{
    auto hud = Build("hud");
    app->mWidgetManager->AddWidget(hud.get());
    auto frames = [&](int n) {
        for (int i = 0; i < n; ++i)
            app->mWidgetManager->UpdateFrame();
    };
    for (int n = 1; n <= 16; ++n) {
        UiElement* hint = hud->FindChild(Zelk::StrFormat("tutorial%d", n));
        ASSERT_NE(hint, nullptr) << n;
        for (const char* step : {"show", "hide", "show"}) {
            if (std::string(step) == "show")
                hint->Show();
            else
                hint->Hide();
            frames(60);
        }
        EXPECT_TRUE(hint->mVisible) << n;
        EXPECT_EQ(hint->mX, hint->GetLayoutX()) << n;
        EXPECT_EQ(hint->mY, hint->GetLayoutY()) << n;
        EXPECT_EQ(hint->mWidth, hint->GetLayoutWidth()) << n;
        EXPECT_EQ(hint->mHeight, hint->GetLayoutHeight()) << n;
        hint->SetVisible(false);
    }
    app->mWidgetManager->RemoveWidget(hud.get());
}

// Shows every nested dialog below element, as the screens do when they
// open a panel, so its picture is drawn under its children.
void ShowNestedDialogs(UiElement* element)
{
    for (const auto& child : element->GetChildren())
        if (auto* dialog = dynamic_cast<UiDialog*>(child.second)) {
            dialog->Show();
            ShowNestedDialogs(dialog);
        }
}

// Not compared with anything: the pictures are there to be looked at, each
// layout at its own position over what the game shows under it. The
// system fonts are drawn by the desktop's text device, as a player sees them
// (the null device draws boxes); a screen's code later shows one page or
// one pair of a layout's alternatives at a time, here all of them show.
class GameUiGallery : public GameUi {
protected:
    void SetUp() override
    {
        plat::Get().text = &desktopText;
        GameUi::SetUp();
    }
    void TearDown() override
    {
        GameUi::TearDown();
        plat::Get().text = &platform.text;
    }
    void Backdrop(const std::string& name, Zelk::MemoryImage& screen);
    plat::FreeTypeTextDevice desktopText;
};

// What the game shows under a layout: the front end's backdrop under its
// screens, the office under the day's dialogs and the HUD.
void GameUiGallery::Backdrop(const std::string& name, Zelk::MemoryImage& screen)
{
    static const std::set<std::string> frontEnd = {"main_menu", "career", "survival", "options", "help", "hiscores"};
    static const std::set<std::string> office = {"hud", "briefing", "debriefing", "escape_menu", "upgrade",
                                                 "dialogbox_2button"};
    if (frontEnd.count(name)) {
        auto backdrop = Build("global_bkg");
        backdrop->Show();
        Draw(backdrop.get(), screen);
    } else if (office.count(name)) {
        std::unique_ptr<ImageLib::Image> ground(ImageLib::GetImage("images\\office\\ground"));
        ASSERT_NE(ground, nullptr);
        ASSERT_EQ(ground->GetWidth() * ground->GetHeight(), 800 * 600);
        std::copy(ground->GetBits(), ground->GetBits() + 800 * 600, screen.GetBits());
    }
}

TEST_F(GameUiGallery, GalleryOfEveryLayoutAfterOneSecond)
{
    const std::filesystem::path folder = std::filesystem::path(GALLERY_FOLDER);
    std::filesystem::create_directories(folder);
    // The UI variables the game sets while it runs, with values of a day in
    // the second month, so the texts show at their run-time length.
    StringTable* strings = app->GetStringTable();
    ASSERT_NE(strings, nullptr);
    for (const auto& number : std::vector<std::pair<const char*, int>>{
             {"money", 12480}, {"normal", 9000}, {"goal", 9000}, {"expert", 15000}, {"earnings", 12480},
             {"currentday", 27}, {"currentmonth", 2}, {"progressday1", 27}, {"progressmonth1", 2},
             {"hoursplayed1", 3}, {"minutesplayed1", 42}})
        strings->SetNumber(number.first, number.second);
    strings->SetText("profilename", L"Wilhelmina Ashcombe");
    strings->SetText("profilename1", L"Wilhelmina Ashcombe");
    const int updates = 1000 / (app->mUpdatePeriod > 0 ? app->mUpdatePeriod : 10);
    for (const std::string& name : layouts) {
        SCOPED_TRACE(name);
        auto dialog = Build(name);
        app->mWidgetManager->AddWidget(dialog.get());
        dialog->Show();
        ShowNestedDialogs(dialog.get());
        for (int i = 0; i < updates; ++i)
            app->mWidgetManager->UpdateFrame();
        auto screen = std::make_unique<Zelk::MemoryImage>();
        screen->Create(800, 600);
        std::fill(screen->GetBits(), screen->GetBits() + screen->PixelCount(), 0xFF202830u);
        Backdrop(name, *screen);
        screen->MarkBitsChanged();
        Draw(dialog.get(), *screen);
        app->mWidgetManager->RemoveWidget(dialog.get());
        const uint32_t* bits = screen->GetBits();
        EXPECT_TRUE(Zelk::test::WritePng((folder / (name + ".png")).string(), 800, 600,
                                         std::vector<uint32_t>(bits, bits + screen->PixelCount())));
        ExpectNoReports(name);
    }
}

} // namespace
