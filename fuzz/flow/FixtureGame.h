#pragma once
// The game application of the flow's fuzz targets, made once per process on
// the null platform over a fresh folder holding the content tool's fixture
// office (loose files), with its texts, textures, fonts and prefs loaded.
// TheGame("name") names the folder.
#include "framework/widgets/WidgetManager.h"
#include "fuzz/FuzzTempFolder.h"
#include "game/core/FontRegistry.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/TextureRegistry.h"
#include "platform/NullPlatform.h"
#include "tools/contentgen/Generator.h"
#include "tools/contentgen/GameFolder.h"
#include "tools/contentgen/TextTable.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace fuzzgame {

struct Game {
    plat::NullPlatform platform;
    std::string folder;
    std::string caller; // the fuzzer's own current folder, given back after each input
    std::unique_ptr<GameApp> app;
    XmlDocument ui;
    XmlNode root;
};

inline Game& TheGame(const char* name)
{
    static Game* game = [name] {
        auto* g = new Game();
        char here[4096];
        if (!getcwd(here, sizeof here))
            std::abort();
        g->caller = here;
        g->folder = fuzzsupport::TempFolder(name);
        contentgen::TextTable texts;
        contentgen::DataSet data;
        std::map<std::string, std::string> files;
        std::string error;
        contentgen::FolderLayout layout;
        layout.loose = true;
        if (!contentgen::LoadTexts(texts, error) || !contentgen::GenerateFixtureOffice(texts, data, error) ||
            !contentgen::LayOut(data, layout, files, error) ||
            !contentgen::WriteGameFolder(g->folder, files, true, error)) {
            std::fprintf(stderr, "%s: %s\n", name, error.c_str());
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

} // namespace fuzzgame
