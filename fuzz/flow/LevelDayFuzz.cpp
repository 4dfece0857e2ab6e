// Any bytes as a level over the content tool's fixture office: the first
// byte chooses (odd: cfg\l3.xml, else cfg\endless1.xml), the rest is the
// file. The level is loaded and its day started; then 3,000 ticks
// run with a seeded generator, the money stepping up every 50 ticks (a
// survival day through its stages), with the briefing closed, a life lost
// now and then, and the mouse moved and clicked at random places.
#include "framework/app/Random.h"
#include "framework/widgets/WidgetManager.h"
#include "fuzz/FuzzTempFolder.h"
#include "game/core/FontRegistry.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/TextureRegistry.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/HudPanel.h"
#include "game/flow/OfficeScreen.h"
#include "platform/NullPlatform.h"
#include "tools/contentgen/Generator.h"
#include "tools/contentgen/GameFolder.h"
#include "tools/contentgen/TextTable.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

struct Game {
    plat::NullPlatform platform;
    std::string folder;
    std::string caller; // the fuzzer's own current folder, given back after each input
    std::unique_ptr<GameApp> app;
    XmlDocument ui;
    XmlNode root;
};

Game& TheGame()
{
    static Game* game = [] {
        auto* g = new Game();
        char here[4096];
        if (!getcwd(here, sizeof here))
            std::abort();
        g->caller = here;
        g->folder = fuzzsupport::TempFolder("level-day");
        contentgen::TextTable texts;
        contentgen::DataSet data;
        std::map<std::string, std::string> files;
        std::string error;
        contentgen::FolderLayout layout;
        layout.loose = true;
        if (!contentgen::LoadTexts(texts, error) || !contentgen::GenerateFixtureOffice(texts, data, error) ||
            !contentgen::LayOut(data, layout, files, error) ||
            !contentgen::WriteGameFolder(g->folder, files, true, error)) {
            std::fprintf(stderr, "level_day: %s\n", error.c_str());
            std::abort();
        }
        g->platform.folders.programPath = g->folder + "/quillmore";
        g->platform.folders.appData = g->folder + "/appdata";
        g->platform.folders.documents = g->folder + "/documents";
        g->app = std::make_unique<GameApp>(0);
        g->app->GetLocTable()->Load();
        XmlLoadFile("cfg\\ui.xml", g->ui);
        g->root = g->ui.Node().SelectSingle(L"root");
        g->app->GetTextureRegistry()->Load(g->root);
        g->app->mFontRegistry->Load(g->root);
        g->app->LoadPrefs();
        return g;
    }();
    return *game;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Game& game = TheGame();
    // The game reads its files from its folder; the fuzzer writes its own
    // relative to where it started.
    if (chdir(game.folder.c_str()) != 0)
        std::abort();
    const bool career = size > 0 && (data[0] & 1);
    {
        std::ofstream out(game.folder + (career ? "/cfg/l3.xml" : "/cfg/endless1.xml"),
                          std::ios::binary | std::ios::trunc);
        if (size > 1)
            out.write(reinterpret_cast<const char*>(data + 1), std::streamsize(size - 1));
    }
    Zelk::SRand(size);
    auto* screen = new OfficeScreen(game.app.get(), game.root);
    screen->SetSurvival(!career);
    screen->LoadLevel(career ? 3 : 1);
    screen->StartDay();
    for (int tick = 0; tick < 3000; ++tick) {
        if (tick == 10)
            screen->GetBriefing()->Continue();
        if (tick % 50 == 49)
            OfficeScreen::AddMoney(tick * 7);
        if (tick % 700 == 699)
            screen->LoseLife();
        if (tick % 37 == 0) {
            const int x = Zelk::Rand() % 800, y = Zelk::Rand() % 600;
            screen->MouseMove(x, y);
            screen->MouseButtonDown(x, y, 0, 1);
        }
        screen->Update();
        screen->UpdateF(1.0f);
        screen->GetHud()->Update();
    }
    delete screen;
    game.app->mWidgetManager->RemoveAllWidgets(false, false);
    if (chdir(game.caller.c_str()) != 0)
        std::abort();
    return 0;
}
