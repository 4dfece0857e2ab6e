// Loading the generated data as the game does: GameApp::OnLoadingComplete
// (office.xml's sounds and music, the texts, the 60 levels' expert money,
// ui.xml with every screen built) and OfficeScreen::LoadLevel for career
// days 1, 21 and 60 and survival file 3, from the three archives and from
// the loose tree, against pugixml parsing the same XML bytes from memory.
// The data is the content tool's whole set, made once at start.
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/FontRegistry.h"
#include "game/core/TextureRegistry.h"
#include "game/core/XmlFunctions.h"
#include "game/flow/OfficeScreen.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/NullPlatform.h"
#include "tools/contentgen/GameFolder.h"
#include "tools/contentgen/Generator.h"
#include "tools/contentgen/TextTable.h"

#include "bench/common/RatioReporter.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

const contentgen::DataSet& Data()
{
    static contentgen::DataSet* data = [] {
        auto* set = new contentgen::DataSet;
        contentgen::TextTable texts;
        std::string error;
        contentgen::GenerateOptions options;
        options.threads = 4;
        if (!contentgen::LoadTexts(texts, error) || !contentgen::GenerateDataSet(texts, options, *set, error)) {
            std::fprintf(stderr, "content_load: %s\n", error.c_str());
            std::abort();
        }
        return set;
    }();
    return *data;
}

// A game folder of the generated data, archives or loose, with the game
// started in it; only one exists at a time (each installs the platform).
struct Game {
    explicit Game(bool loose) : loose(loose)
    {
        std::string folderTemplate = (std::filesystem::temp_directory_path() / "zelk-content-bench-XXXXXX").string();
        folder = mkdtemp(folderTemplate.data());
        std::map<std::string, std::string> files;
        std::string error;
        contentgen::FolderLayout layout;
        layout.loose = loose;
        if (!contentgen::LayOut(Data(), layout, files, error) || !contentgen::WriteGameFolder(folder, files, loose, error)) {
            std::fprintf(stderr, "content_load: %s\n", error.c_str());
            std::abort();
        }
        platform = std::make_unique<plat::NullPlatform>();
        platform->folders.programPath = folder + "/quillmore";
        platform->folders.appData = folder + "/appdata";
        platform->folders.documents = folder + "/documents";
    }
    ~Game()
    {
        StopOffice();
        platform.reset();
        std::filesystem::remove_all(folder);
    }
    // An office screen without the loading screen, as the day's tests use.
    OfficeScreen& Office()
    {
        if (!screen) {
            app = std::make_unique<GameApp>(0);
            app->GetLocTable()->Load();
            XmlLoadFile("cfg\\ui.xml", ui);
            root = ui.Node().SelectSingle(L"root");
            app->GetTextureRegistry()->Load(root);
            app->mFontRegistry->Load(root);
            app->mWidgetManager->Resize(Zelk::Rect(0, 0, 800, 600), Zelk::Rect(0, 0, 800, 600));
            screen = new OfficeScreen(app.get(), root);
            app->mWidgetManager->AddWidget(screen);
        }
        return *screen;
    }
    void StopOffice()
    {
        if (!screen)
            return;
        app->mWidgetManager->RemoveWidget(screen);
        delete screen;
        screen = nullptr;
        app.reset();
    }

    bool loose;
    std::string folder;
    std::unique_ptr<plat::NullPlatform> platform;
    std::unique_ptr<GameApp> app;
    XmlDocument ui;
    XmlNode root;
    OfficeScreen* screen = nullptr;
};

Game& TheGame(bool loose)
{
    static std::unique_ptr<Game> game;
    if (!game || game->loose != loose) {
        game.reset();
        game = std::make_unique<Game>(loose);
    }
    return *game;
}

void LoadingComplete(benchmark::State& state, bool loose)
{
    Game& game = TheGame(loose);
    game.StopOffice();
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<GameApp>(0);
        state.ResumeTiming();
        app->OnLoadingComplete();
        state.PauseTiming();
        if (!app->GetOfficeScreen())
            state.SkipWithError("the screens were not built");
        app.reset();
        state.ResumeTiming();
    }
}

// Days 1, 21 and 60 of the career, survival file 3 (argument -3).
void LoadLevel(benchmark::State& state, bool loose)
{
    OfficeScreen& office = TheGame(loose).Office();
    const int level = int(state.range(0));
    office.SetSurvival(level < 0);
    for (auto _ : state)
        office.LoadLevel(level < 0 ? -level : level);
}

// pugixml over the same bytes: the files each load reads.
void ParseFromMemory(benchmark::State& state, const std::vector<std::string>& names)
{
    std::vector<const std::vector<uint8_t>*> files;
    for (const std::string& name : names)
        files.push_back(&Data().files.at(name));
    pugi::xpath_query params("//params");
    for (auto _ : state)
        for (const std::vector<uint8_t>* bytes : files) {
            pugi::xml_document document;
            document.load_buffer(bytes->data() + 2, bytes->size() - 2, pugi::parse_default, pugi::encoding_utf16_le);
            benchmark::DoNotOptimize(params.evaluate_node(document).node());
        }
}

std::vector<std::string> LoadingCompleteFiles()
{
    std::vector<std::string> names = {"cfg\\office.xml", "cfg\\loc.xml", "cfg\\ui.xml"};
    for (int level = 1; level <= 60; ++level)
        names.push_back("cfg\\l" + std::to_string(level) + ".xml");
    return names;
}

std::string LevelFile(int level)
{
    return level < 0 ? "cfg\\endless" + std::to_string(-level) + ".xml" : "cfg\\l" + std::to_string(level) + ".xml";
}

void ArchivesLoadingComplete(benchmark::State& state) { LoadingComplete(state, false); }
void ArchivesLoadLevel(benchmark::State& state) { LoadLevel(state, false); }
void LooseLoadingComplete(benchmark::State& state) { LoadingComplete(state, true); }
void LooseLoadLevel(benchmark::State& state) { LoadLevel(state, true); }
void MemoryParseLoadingComplete(benchmark::State& state) { ParseFromMemory(state, LoadingCompleteFiles()); }
void MemoryParseLevel(benchmark::State& state)
{
    ParseFromMemory(state, {"cfg\\office.xml", LevelFile(int(state.range(0)))});
}

const int kLevels[] = {1, 21, 60, -3};

BENCHMARK(ArchivesLoadingComplete)->Unit(benchmark::kMillisecond);
BENCHMARK(ArchivesLoadLevel)->Arg(1)->Arg(21)->Arg(60)->Arg(-3)->Unit(benchmark::kMillisecond);
BENCHMARK(LooseLoadingComplete)->Unit(benchmark::kMillisecond);
BENCHMARK(LooseLoadLevel)->Arg(1)->Arg(21)->Arg(60)->Arg(-3)->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryParseLoadingComplete)->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryParseLevel)->Arg(1)->Arg(21)->Arg(60)->Arg(-3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        bench::RatioReporter::PrintHeader("ratio");
        for (const char* source : {"Archives", "Loose"}) {
            const std::string s = source;
            r.PrintRatio(("OnLoadingComplete from " + s + " / pugixml, same bytes").c_str(),
                         (s + "LoadingComplete").c_str(), "MemoryParseLoadingComplete", 0);
            for (int level : kLevels) {
                const std::string arg = "/" + std::to_string(level);
                const std::string day = level < 0 ? "survival " + std::to_string(-level) : "day " + std::to_string(level);
                r.PrintRatio(("LoadLevel " + day + " from " + s + " / pugixml, same bytes").c_str(),
                             (s + "LoadLevel" + arg).c_str(), ("MemoryParseLevel" + arg).c_str(), 0);
            }
        }
    });
}
