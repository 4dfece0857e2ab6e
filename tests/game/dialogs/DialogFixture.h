#pragma once
// The in-game dialogs over the generated demo data: the game application on
// the null platform in the demo game folder, its UI description, textures and fonts registered, sounds and
// cursor modes written down, and the office screen made over it, shown in
// the widget manager as the way into a level shows it.
#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/StringTable.h"
#include "game/core/TextureRegistry.h"
#include "game/flow/OfficeScreen.h"
#include "game/ui/UiButton.h"
#include "tests/game/widgets/UiTestApp.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace dialogtest {

using uitest::Log;

// The application with a hook into every step of a nested loop.
class StepApp : public uitest::UiTestApp {
public:
    bool AppStep(bool* updated) override
    {
        ++steps;
        if (onStep && !onStep())
            return false;
        return GameApp::AppStep(updated);
    }
    // False ends the loop as a shutdown does.
    std::function<bool()> onStep;
    int steps = 0;
};

class DialogTest : public ::testing::Test {
protected:
    // The demo game folder the build lays out (loose files); read only.
    static std::string Folder() { return DEMO_FOLDER; }

    void SetUp() override
    {
        ASSERT_TRUE(mFolder.Remember());
        platform.folders.programPath = Folder() + "/quillmore";
        platform.folders.appData = user / "appdata";
        platform.folders.documents = user / "documents";
        app = std::make_unique<StepApp>();
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
        app->GetCurrentProfile()->Init(L"Ada", "man");
        screen = new OfficeScreen(app.get(), root);
        app->mWidgetManager->AddWidget(screen);
        screen->Show();
    }
    void TearDown() override
    {
        if (!app)
            return;
        if (screen) {
            app->mWidgetManager->RemoveWidget(screen);
            delete screen;
        }
        delete app->mSfxManager;
        app->mSfxManager = mOriginalSfx;
        delete app->mCursorManager;
        app->mCursorManager = nullptr;
        app->mWidgetManager->RemoveAllWidgets(false, false);
        app.reset();
        mFolder.Restore();
    }

    // A click on a button as its listener receives it.
    static void Click(UiElement* button)
    {
        auto* b = dynamic_cast<UiButton*>(button);
        ASSERT_NE(b, nullptr);
        ASSERT_NE(b->GetListener(), nullptr);
        b->GetListener()->OnButtonClick(b->GetId());
    }
    int Refs(const std::string& id) const { return app->GetTextureRegistry()->GetRefCount(id); }
    int Count(const std::string& call) const { return int(std::count(calls.begin(), calls.end(), call)); }
    void Updates(int n)
    {
        for (int i = 0; i < n; ++i)
            app->mWidgetManager->UpdateFrame();
    }
    std::wstring Variable(const std::string& name) { return app->GetStringTable()->Get(name); }

    plat::NullPlatform platform;
    testsupport::TempDir user;
    std::unique_ptr<StepApp> app;
    XmlDocument uiDocument;
    XmlNode root;
    Log calls;
    OfficeScreen* screen = nullptr;
    testsupport::CurrentFolder mFolder;
    SfxManager* mOriginalSfx = nullptr;
};

} // namespace dialogtest
