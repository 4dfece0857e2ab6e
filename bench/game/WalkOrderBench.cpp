// The drawing order and the walk graphs of a full office: 250 ground parts
// in rows of desks, 20 parts parented to them, three walkers carrying two
// items each, and a walk graph of 100 points and 200 edges. Registering
// every part and building the order against one clear of the order's
// 800 x 600 grid; a frame's draw list (walkers and items slotted in) and the
// longest route of the graph against one opaque 800 x 600 blit, in the same
// process. Also the heap allocations of a draw list after warm-up
// (drawlist_allocs, goal 0).
#include "bench/common/AllocationCount.h"
#include "bench/common/OfficeFrame.h"
#include "bench/common/RatioReporter.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/OfficeWorld.h"
#include "game/world/PathGraphSet.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"
#include "game/world/ZOrderManager.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 10, kDesksPerRow = 25;
constexpr int kGraphSide = 10;

std::wstring N(int v) { return std::to_wstring(v); }

struct World {
    World()
    {
        InstallOfficeWorld(&world);
        std::wstring office = L"<office><objects>";
        for (int r = 0; r < kRows; ++r)
            for (int k = 0; k < kDesksPerRow; ++k) {
                const int x = 4 + k * 32, y = 70 + r * 52;
                const std::wstring name = L"desk" + N(r) + L"_" + N(k);
                office += L"<object class='item' name='" + name + L"'><part name='" + name + L"' order0_x='" + N(x) +
                          L"' order0_y='" + N(y) + L"' order1_x='" + N(x + 12) + L"' order1_y='" + N(y + (k % 3)) +
                          L"' order2_x='" + N(x + 26) + L"' order2_y='" + N(y) + L"'/>";
                // The first desk of every row carries a lamp and a plate.
                if ((r * kDesksPerRow + k) % 25 == 0)
                    office += L"<part name='lamp' parent_z='" + name + L":" + name + L"'/><part name='plate' parent_z='" +
                              name + L":" + name + L"'/>";
                office += L"</object>";
            }
        for (const wchar_t* walker : {L"boss", L"secretary", L"engineer"})
            office += std::wstring(L"<object class='item' name='") + walker + L"'><part name='" + walker +
                      L"'/><part name='held_items'/><part name='held_items'/></object>";
        office += L"</objects><graphs><graph name='boss'><points>";
        for (int y = 0; y < kGraphSide; ++y)
            for (int x = 0; x < kGraphSide; ++x)
                office += L"<point name='p" + N(y) + L"_" + N(x) + L"' x='" + N(20 + x * 80) + L"' y='" +
                          N(40 + y * 55) + L"'/>";
        office += L"</points><edges>";
        auto edge = [&office](int y1, int x1, int y2, int x2) {
            office += L"<edge p1='p" + N(y1) + L"_" + N(x1) + L"' p2='p" + N(y2) + L"_" + N(x2) + L"' z_order='0'/>";
        };
        for (int y = 0; y < kGraphSide; ++y)
            for (int x = 0; x + 1 < kGraphSide; ++x) {
                edge(y, x, y, x + 1);
                edge(x, y, x + 1, y);
            }
        for (int k = 0; k < 20; ++k) // diagonals: 200 edges in all
            edge(k % 9, (k * 3) % 9, k % 9 + 1, (k * 3) % 9 + 1);
        office += L"</edges></graph></graphs></office>";
        officeDoc.LoadText(office);
        const XmlNode root = officeDoc.Node().SelectSingle(L"office");
        LoadOfficeDefinitions(root);
        for (SceneObject* object : world.sceneObjects) {
            object->SetVisibleFlag(true);
            object->SetActive(true);
        }
        PathGraphSet& graphs = *world.walkGraphs.at("boss");
        graphs.LoadOfficeGraph(root);
        graphs.AddObjectPoints("boss");
        graphs.LoadLevelGraph(XmlNode());
        // The walkers stand among the desks.
        const int at[3][2] = {{300, 200}, {520, 410}, {130, 330}};
        int w = 0;
        for (const char* name : {"boss", "secretary", "engineer"}) {
            SceneObject* walker = FindObject(name);
            const int x = at[w][0], y = at[w][1];
            ++w;
            const ObjectPart::BasePoint line[3] = {{x - 20, y}, {x, y}, {x + 20, y}};
            for (ObjectPart* part : walker->GetParts())
                part->SetBaseLine(line);
            walkers.push_back(walker);
        }
        screen.SetBits(bench::OpaquePixels(800, 600).data(), 800, 600);
        picture.SetBits(bench::OpaquePixels(800, 600).data(), 800, 600);
    }
    void Build()
    {
        world.zOrder.Reset();
        AddAllObjectsToZOrder();
    }
    void Carry()
    {
        for (SceneObject* walker : walkers) {
            const std::vector<ObjectPart*>& parts = walker->GetParts();
            world.zOrder.AddDrawnAfter(parts[0], parts[2]);
            world.zOrder.AddDrawnAfter(parts[0], parts[1]);
        }
    }

    bench::Display display{false, false};
    OfficeWorld world;
    XmlDocument officeDoc;
    std::vector<SceneObject*> walkers;
    Zelk::MemoryImage screen{nullptr}, picture{nullptr};
};

World& TheWorld()
{
    static World* world = new World;
    return *world;
}

void BuildOrder(benchmark::State& state)
{
    World& w = TheWorld();
    for (auto _ : state) {
        w.Build();
        benchmark::DoNotOptimize(w.world.zOrder.GetOrder().data());
    }
    state.counters["ordered"] = double(w.world.zOrder.GetOrder().size());
}
BENCHMARK(BuildOrder)->Unit(benchmark::kMicrosecond);

// The reference of the build: one clear of a grid of the order's cells.
void GridClear(benchmark::State& state)
{
    std::vector<ZOrderManager::Cell> grid(size_t(ZOrderManager::kWidth) * ZOrderManager::kHeight);
    for (auto _ : state) {
        std::fill(grid.begin(), grid.end(), ZOrderManager::Cell());
        benchmark::DoNotOptimize(grid.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(GridClear)->Unit(benchmark::kMicrosecond);

void DrawList(benchmark::State& state)
{
    World& w = TheWorld();
    w.Build();
    w.Carry();
    w.world.zOrder.GetDrawList(); // warm-up: the lists reach their size
    w.world.zOrder.GetDrawList();
    const uint64_t start = bench::Allocations();
    for (auto _ : state)
        benchmark::DoNotOptimize(w.world.zOrder.GetDrawList().data());
    state.counters["drawlist_allocs"] = double(bench::Allocations() - start) / double(state.iterations());
    state.counters["drawn"] = double(w.world.zOrder.GetDrawList().size());
}
BENCHMARK(DrawList)->Unit(benchmark::kMicrosecond);

void LongestRoute(benchmark::State& state)
{
    World& w = TheWorld();
    PathGraphSet& graphs = *w.world.walkGraphs.at("boss");
    const std::string from = "p0_0", to = "p" + std::to_string(kGraphSide - 1) + "_" + std::to_string(kGraphSide - 1);
    for (auto _ : state) {
        graphs.SetCurrentPoint(from);
        if (!graphs.FindPath(to, 300.0f))
            std::abort();
        benchmark::DoNotOptimize(graphs.GetMergedGraph().GetSegments().data());
    }
    state.counters["segments"] = double(graphs.GetMergedGraph().GetSegments().size());
}
BENCHMARK(LongestRoute)->Unit(benchmark::kMicrosecond);

// The reference of a frame's work: one opaque 800 x 600 picture drawn over
// the screen.
void OpaqueBlit(benchmark::State& state)
{
    World& w = TheWorld();
    for (auto _ : state) {
        Zelk::Graphics g(&w.screen);
        g.DrawImage(&w.picture, 0, 0);
        benchmark::DoNotOptimize(w.screen.GetBits());
    }
}
BENCHMARK(OpaqueBlit)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        bench::RatioReporter::PrintHeader("ratio");
        r.PrintRatio("register 270 parts + build order / grid clear (goal < 30)", "BuildOrder", "GridClear");
        r.PrintRatio("draw list, 3 walkers with 2 items / opaque blit (goal < 0.02)", "DrawList", "OpaqueBlit");
        r.PrintRatio("longest route, 100 points 200 edges / opaque blit (goal < 0.25)", "LongestRoute", "OpaqueBlit");
    });
}
