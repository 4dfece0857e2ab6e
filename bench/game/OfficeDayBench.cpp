// A career day of the content tool's fixture office (day 1: clients coming
// by the level's schedule, the HUD with its bar and clock; no clicks) as the
// game runs it, headless, as a multiple of real time: each tick is the
// widget manager's update followed by a fraction step of 1.0, as the loop
// gives it when it is not paced (10 ms of day time a tick). DayTicks runs
// ticks only (goal: at least 200 x real time); DayTicksDrawn draws the
// office and the HUD into an 800 x 600 screen image every 4 ticks;
// ServedDayTicks runs the career day 3 with the staff at work: every 50
// ticks each clickable object is clicked at the middle of its polygon, so
// the boss walks, serves clients and hands items to the workers. The
// counter "x_real_time" is the day time run per second of CPU time.
#include "framework/app/Random.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/FontRegistry.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/TextureRegistry.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/world/Pickable.h"
#include "platform/NullPlatform.h"
#include "tools/contentgen/GameFolder.h"
#include "tools/contentgen/Generator.h"
#include "tools/contentgen/TextTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <list>
#include <memory>
#include <string>

namespace {

constexpr double kTickSeconds = 0.01;
// A day is started again after this many ticks (the fixture's day 1 has
// brought its clients in by then).
constexpr int kDayTicks = 6000;

struct Day {
    Day()
    {
        std::string folderTemplate = (std::filesystem::temp_directory_path() / "zelk-day-bench-XXXXXX").string();
        folder = mkdtemp(folderTemplate.data());
        contentgen::TextTable texts;
        contentgen::DataSet data;
        std::map<std::string, std::string> files;
        std::string error;
        contentgen::FolderLayout layout;
        layout.loose = true;
        if (!contentgen::LoadTexts(texts, error) || !contentgen::GenerateFixtureOffice(texts, data, error) ||
            !contentgen::LayOut(data, layout, files, error) ||
            !contentgen::WriteGameFolder(folder, files, true, error)) {
            std::fprintf(stderr, "office_day: %s\n", error.c_str());
            std::abort();
        }
        platform.folders.programPath = folder + "/quillmore";
        platform.folders.appData = folder + "/appdata";
        platform.folders.documents = folder + "/documents";
        app = std::make_unique<GameApp>(0);
        app->GetLocTable()->Load();
        XmlLoadFile("cfg\\ui.xml", ui);
        root = ui.Node().SelectSingle(L"root");
        app->GetTextureRegistry()->Load(root);
        app->mFontRegistry->Load(root);
        image.Create(800, 600);
        app->mWidgetManager->Resize(Zelk::Rect(0, 0, 800, 600), Zelk::Rect(0, 0, 800, 600));
        app->mWidgetManager->mImage = &image;
        screen = new OfficeScreen(app.get(), root);
        app->mWidgetManager->AddWidget(screen);
        screen->Show();
        Zelk::SRand(3);
        StartDay();
    }
    ~Day()
    {
        app->mWidgetManager->RemoveWidget(screen);
        delete screen;
        app->mWidgetManager->mImage = nullptr;
        app.reset();
        std::filesystem::remove_all(folder);
    }
    void StartDay()
    {
        screen->SetSurvival(false);
        screen->LoadLevel(level);
        screen->StartDay();
        screen->GetBriefing()->Continue();
        ticks = 0;
    }
    void Tick()
    {
        if (++ticks == kDayTicks)
            StartDay();
        if (clicks && ticks % 50 == 0)
            ClickEverything();
        app->mWidgetManager->UpdateFrame();
        app->mWidgetManager->UpdateFrameFraction(1.0f);
    }

    void ClickEverything()
    {
        const std::list<Pickable*> pickables = screen->GetWorld().pickables;
        for (Pickable* object : pickables) {
            const auto& points = object->GetRegion().Points();
            if (points.empty())
                continue;
            int64_t x = 0, y = 0;
            for (const auto& point : points) {
                x += point.x;
                y += point.y;
            }
            screen->Click(int(x / int64_t(points.size())), int(y / int64_t(points.size())));
        }
    }

    int32_t level = 1;
    bool clicks = false;
    plat::NullPlatform platform;
    std::string folder;
    std::unique_ptr<GameApp> app;
    XmlDocument ui;
    XmlNode root;
    Zelk::MemoryImage image;
    OfficeScreen* screen = nullptr;
    int ticks = 0;
};

Day& TheDay()
{
    static Day* day = new Day;
    return *day;
}

void DayTicks(benchmark::State& state)
{
    Day& day = TheDay();
    for (auto _ : state)
        day.Tick();
    state.counters["x_real_time"] = benchmark::Counter(double(state.iterations()) * kTickSeconds,
                                                       benchmark::Counter::kIsRate);
}
BENCHMARK(DayTicks)->Unit(benchmark::kMicrosecond);

void DayTicksDrawn(benchmark::State& state)
{
    Day& day = TheDay();
    for (auto _ : state) {
        for (int i = 0; i < 4; ++i)
            day.Tick();
        day.screen->MarkDirty();
        day.app->mWidgetManager->DrawScreen();
    }
    state.counters["x_real_time"] = benchmark::Counter(double(state.iterations()) * 4 * kTickSeconds,
                                                       benchmark::Counter::kIsRate);
}
BENCHMARK(DayTicksDrawn)->Unit(benchmark::kMicrosecond);

void ServedDayTicks(benchmark::State& state)
{
    Day& day = TheDay();
    day.level = 3;
    day.clicks = true;
    day.StartDay();
    for (auto _ : state)
        day.Tick();
    day.level = 1;
    day.clicks = false;
    day.StartDay();
    state.counters["x_real_time"] = benchmark::Counter(double(state.iterations()) * kTickSeconds,
                                                       benchmark::Counter::kIsRate);
}
BENCHMARK(ServedDayTicks)->Unit(benchmark::kMicrosecond);

} // namespace
