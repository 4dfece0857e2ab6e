#pragma once
// The game on the null platform over the generated demo data: started as the
// program starts (Init, the loading thread, the update that completes the
// loading), with a hook into every application step for the nested loops.
#include "GeneratedGame.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/TextureRegistry.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiElement.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace flowtest {

class DemoApp : public GameApp {
public:
    DemoApp() : GameApp(0) {}
    bool AppStep(bool* updated) override
    {
        ++steps;
        if (onStep)
            onStep();
        return GameApp::AppStep(updated);
    }
    void SetWindowedMode(bool windowed) override
    {
        windowedCalls.push_back(windowed);
        GameApp::SetWindowedMode(windowed);
    }
    std::function<void()> onStep;
    int steps = 0;
    std::vector<bool> windowedCalls;
};

class DemoGame : public GeneratedGame {
protected:
    void SetUp() override
    {
        GeneratedGame::SetUp();
        if (Ready())
            Start();
    }
    void TearDown() override
    {
        app.reset();
        GeneratedGame::TearDown();
    }

    void Start()
    {
        app = std::make_unique<DemoApp>();
        app->Init();
        app->StartLoadingThread();
        app->WaitForLoadingThread();
        app->UpdateOnce();
        ASSERT_TRUE(app->mLoadingCompleteHandled);
        ASSERT_NE(app->mMainMenu, nullptr);
    }

    void Updates(int n)
    {
        for (int i = 0; i < n; ++i)
            app->UpdateOnce();
    }

    // A click on the button at the path, as its listener receives it.
    static void Click(UiElement* dialog, const std::string& path)
    {
        UiElement* button = Find(dialog, path);
        ASSERT_NE(button, nullptr) << path;
        auto* b = dynamic_cast<UiButton*>(button);
        ASSERT_NE(b, nullptr) << path;
        ASSERT_NE(b->GetListener(), nullptr) << path;
        b->GetListener()->OnButtonClick(b->GetId());
    }

    // A profile made through the game.
    void MakeProfile(const std::wstring& name, const std::string& look, int level = 1)
    {
        ASSERT_TRUE(app->CreateProfile(name, look));
        app->GetCurrentProfile()->mLevel = level;
    }

    std::unique_ptr<DemoApp> app;
};

} // namespace flowtest
