#pragma once
// What the day's tests share: the game application on the null platform in
// a game folder holding the content tool's fixture office (day 1's objects,
// l1.xml, the HUD's layout), sound and cursor calls written down, and an
// office screen made over it on demand.
#include "framework/app/Random.h"
#include "game/core/GameApp.h"
#include "game/core/StringTable.h"
#include "game/flow/HudPanel.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/TutorialScript.h"
#include "game/world/Client.h"
#include "game/world/NamedObjects.h"
#include "game/world/Phone.h"
#include "tests/game/widgets/UiTestApp.h"

#include <filesystem>
#include <functional>

namespace daytest {

using uitest::Log;

// A client whose state the test sets and whose arrivals it records.
class FakeClient : public Client {
public:
    explicit FakeClient(int32_t state = kPlaceFree) { mState = state; }
    void Spawn(const std::string& type, bool vip, const std::vector<std::string>& orders) override
    {
        spawns.push_back(type);
        mOrders = orders;
    }
    void SetState(int32_t state) { mState = state; }
    std::vector<std::string> spawns;
};

class FakePhone : public Phone {
public:
    bool IsRinging() const override { return ringing; }
    bool ringing = false;
};

// A tutorial double that forbids what the test says.
class FakeTutorial : public TutorialScript {
public:
    FakeTutorial() : TutorialScript(nullptr) {}
    bool IsActionAllowed(int32_t action) const override { return forbidden != action; }
    int32_t forbidden = 0;
};

// The first seed whose draws satisfy the test (the game's generator).
inline uint32_t SeedWhere(const std::function<bool()>& draws)
{
    for (uint32_t seed = 0; seed < (1u << 24); ++seed) {
        Zelk::SRand(seed);
        if (draws()) {
            Zelk::SRand(seed);
            return seed;
        }
    }
    ADD_FAILURE() << "no seed gives the draws";
    return 0;
}

class DayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.Remember());
        std::filesystem::copy(FIXTURE_OFFICE, game.dir.Path(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        platform.folders.programPath = game.ProgramPath();
        platform.folders.appData = game.dir / "appdata";
        platform.folders.documents = game.dir / "documents";
        app = std::make_unique<uitest::UiTestApp>();
        app->GetLocTable()->Load();
        app->mWidgetManager->Resize(Zelk::Rect(0, 0, 800, 600), Zelk::Rect(0, 0, 800, 600));
        mOriginalSfx = app->mSfxManager;
        app->mSfxManager = new uitest::RecordingSfx(&calls);
        app->mCursorManager = new uitest::RecordingCursor(&calls);
        ASSERT_TRUE(XmlLoadFile("cfg\\ui.xml", uiDocument));
        root = uiDocument.Node().SelectSingle(L"root");
        ASSERT_FALSE(root.IsEmpty());
        app->GetTextureRegistry()->Load(root);
        app->mFontRegistry->Load(root);
        Zelk::SRand(1);
    }
    void TearDown() override
    {
        DeleteScreen();
        gPhone = nullptr;
        delete app->mSfxManager;
        app->mSfxManager = mOriginalSfx;
        delete app->mCursorManager;
        app->mCursorManager = nullptr;
        app->mWidgetManager->RemoveAllWidgets(false, false);
        app.reset();
        gFrameDelta = 0;
        mFolder.Restore();
    }

    // The office screen over the fixture office, shown in the widget
    // manager as the front end shows it.
    OfficeScreen* MakeScreen()
    {
        screen = new OfficeScreen(app.get(), root);
        app->mWidgetManager->AddWidget(screen);
        screen->Show();
        return screen;
    }
    void DeleteScreen()
    {
        if (!screen)
            return;
        app->mWidgetManager->RemoveWidget(screen);
        delete screen;
        screen = nullptr;
    }
    // A level file as the game's files hold it.
    void WriteLevel(const std::string& name, const std::string& xml) { game.WriteXml(name, xml); }
    std::wstring Variable(const std::string& name) { return app->GetStringTable()->Get(name); }
    int Count(const std::string& call) const
    {
        int n = 0;
        for (const std::string& entry : calls)
            n += entry == call;
        return n;
    }
    // n update ticks of the widget manager, each followed by a fraction
    // step of 1.0 (the loop's unpaced ticks).
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            app->mWidgetManager->UpdateFrame();
            app->mWidgetManager->UpdateFrameFraction(1.0f);
        }
    }

    plat::NullPlatform platform;
    GameFolder game;
    std::unique_ptr<uitest::UiTestApp> app;
    XmlDocument uiDocument;
    XmlNode root;
    Log calls;
    OfficeScreen* screen = nullptr;
    testsupport::CurrentFolder mFolder;
    SfxManager* mOriginalSfx = nullptr;
};

} // namespace daytest
