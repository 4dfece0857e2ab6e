// The office world at work: 60 objects of 3 animating parts each (cycles of
// 4 to 8 frames at 8 to 12 frames per second, an idle chain pausing one of
// them), built from an office and a level file and animation files written
// with makeanm. A tick (every object's update) against an empty tick (the
// 800 x 600 frame cleared, as in effects_tick), and the draw of every
// visible part against one 800 x 600 alpha blit, in the same process. Also
// the heap allocations of a tick and of a draw after warm-up (tick_allocs,
// goal 0; draw_allocs).
#include "bench/common/AllocationCount.h"
#include "bench/common/AlphaBlitReference.h"
#include "bench/common/OfficeFrame.h"
#include "bench/common/RatioReporter.h"
#include "framework/app/Random.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"
#include "tests/framework/graphics/PngFile.h"
#include "tools/makeanm/AnmText.h"
#include "tools/makeanm/AnmWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kObjects = 60;
constexpr int kPartW = 64, kPartH = 96;

std::string Animation(const std::string& part, int frames, int fps)
{
    std::string text = "animation images\\" + part + ".png " + part + "idle " + std::to_string(kPartW) + " cycle " +
                       std::to_string(fps) + "\n";
    for (int i = 0; i < frames; ++i)
        text += "frame " + std::to_string(i * kPartW) + " 0 " + std::to_string(kPartW) + " " +
                std::to_string(kPartH) + " 0 -" + std::to_string(kPartH) + "\n";
    return text;
}

struct World {
    World()
    {
        std::string folderTemplate = (std::filesystem::temp_directory_path() / "zelk-world-bench-XXXXXX").string();
        folder = mkdtemp(folderTemplate.data());
        std::system(("mkdir -p " + folder + "/anm " + folder + "/images").c_str());
        if (chdir(folder.c_str()) != 0)
            std::abort();
        const struct {
            const char* part;
            int frames, fps;
        } parts[] = {{"body", 8, 12}, {"head", 4, 8}, {"arm", 6, 10}};
        for (const auto& p : parts) {
            makeanm::AnmFile file;
            std::string error;
            std::vector<uint8_t> bytes;
            if (!makeanm::ParseAnmText(Animation(p.part, p.frames, p.fps), file, error) ||
                !makeanm::WriteAnm(file, bytes, error))
                std::abort();
            std::ofstream(std::string("anm/") + p.part + ".anm", std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            // The part's strip of 8 soft-edged frames.
            std::vector<uint32_t> strip(size_t(8 * kPartW) * kPartH);
            for (int y = 0; y < kPartH; ++y)
                for (int x = 0; x < 8 * kPartW; ++x)
                    strip[size_t(y) * 8 * kPartW + size_t(x)] = bench::SoftSpritePixel(x % kPartW, y, kPartW, kPartH);
            Zelk::test::WritePng(std::string("images/") + p.part + ".png", 8 * kPartW, kPartH, strip);
        }
        InstallOfficeWorld(&world);
        std::wstring office = L"<office><objects>", level = L"<level><objects>";
        for (int i = 0; i < kObjects; ++i) {
            const std::wstring name = L"clerk" + std::to_wstring(i);
            office += L"<object class='item' name='" + name + L"' pos_x='" + std::to_wstring(40 + (i % 10) * 75) +
                      L"' pos_y='" + std::to_wstring(110 + (i / 10) * 90) + L"'>"
                      L"<part name='body'/><part name='head' offs_y='-30'/><part name='arm' offs_x='20'/></object>";
            level += L"<object name='" + name + L"' anim='idle'/>";
        }
        officeDoc.LoadText(office + L"</objects></office>");
        levelDoc.LoadText(level + L"</objects><params normal='500' expert='900'/></level>");
        LoadOfficeDefinitions(officeDoc.Node().SelectSingle(L"office"));
        for (SceneObject* object : world.sceneObjects)
            object->SetAnimChain("idle", 3, 0.2f, 0.6f);
        LoadLevelObjects(levelDoc.Node().SelectSingle(L"level"));
        ActivateVisibleObjects();
        gFrameDelta = 0.01f;
        screen.Create(800, 600);
    }
    ~World()
    {
        DeleteAllObjects();
        InstallOfficeWorld(nullptr);
        std::system(("rm -rf " + folder).c_str());
    }

    bench::Display display{false, false};
    std::string folder;
    OfficeWorld world;
    XmlDocument officeDoc, levelDoc;
    Zelk::MemoryImage screen;
};

World& TheWorld()
{
    static World* world = new World;
    return *world;
}

void DrawParts(World& w, Zelk::Graphics& g)
{
    for (SceneObject* object : w.world.sceneObjects)
        for (ObjectPart* part : object->GetParts())
            part->Draw(&g);
}

void WorldTick(benchmark::State& state)
{
    TheWorld();
    Zelk::SRand(11);
    for (int i = 0; i < 500; ++i) // warm-up: every chain has paused and run on
        UpdateAllObjects();
    const uint64_t start = bench::Allocations();
    for (auto _ : state) {
        UpdateAllObjects();
        benchmark::ClobberMemory();
    }
    state.counters["tick_allocs"] = double(bench::Allocations() - start) / double(state.iterations());
}
BENCHMARK(WorldTick)->Unit(benchmark::kMicrosecond);

void EmptyTick(benchmark::State& state)
{
    World& w = TheWorld();
    Zelk::Graphics g(&w.screen);
    for (auto _ : state) {
        g.SetColor(Zelk::Color(0, 0, 0));
        g.FillRect(0, 0, 800, 600);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(EmptyTick)->Unit(benchmark::kMicrosecond);

void WorldDraw(benchmark::State& state)
{
    World& w = TheWorld();
    Zelk::Graphics g(w.display.Screen());
    DrawParts(w, g); // warm-up: derived forms of the pictures are made
    const uint64_t start = bench::Allocations();
    for (auto _ : state) {
        DrawParts(w, g);
        benchmark::ClobberMemory();
    }
    state.counters["draw_allocs"] = double(bench::Allocations() - start) / double(state.iterations());
}
BENCHMARK(WorldDraw)->Unit(benchmark::kMicrosecond);

// The reference: one 800 x 600 picture with alpha blended over the screen.
void AlphaBlit(benchmark::State& state) { bench::AlphaBlitReference(state); }
BENCHMARK(AlphaBlit)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        bench::RatioReporter::PrintHeader("ratio");
        r.PrintRatio("office tick / empty tick (60 objects, 180 parts)", "WorldTick", "EmptyTick");
        r.PrintRatio("office parts drawn / 800 x 600 alpha blit", "WorldDraw", "AlphaBlit");
    });
}
