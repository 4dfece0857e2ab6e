// The widget tree's hot paths on a screen-sized tree: 30 overlapping
// top-level widgets with 10 children each. The update walk runs every 10 ms,
// the hit test on every mouse move, dirty marking many times per tick.
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

using namespace Zelk;

namespace {

struct Tree {
    Tree() : manager(nullptr)
    {
        manager.Resize(Rect(0, 0, 800, 600), Rect(0, 0, 800, 600));
        for (int i = 0; i < 30; ++i) {
            widgets.push_back(std::make_unique<Widget>());
            Widget* top = widgets.back().get();
            top->Resize((i * 37) % 600, (i * 53) % 400, 200, 150);
            top->mHasAlpha = i % 3 == 0;
            manager.AddWidget(top);
            for (int j = 0; j < 10; ++j) {
                widgets.push_back(std::make_unique<Widget>());
                widgets.back()->Resize(j * 18, j * 12, 40, 30);
                top->AddWidget(widgets.back().get());
            }
        }
    }
    ~Tree() { manager.RemoveAllWidgets(false, true); }

    WidgetManager manager;
    std::vector<std::unique_ptr<Widget>> widgets;
};

void BM_UpdateFrame(benchmark::State& state)
{
    Tree tree;
    for (auto _ : state)
        benchmark::DoNotOptimize(tree.manager.UpdateFrame());
}
BENCHMARK(BM_UpdateFrame);

void BM_MouseMove(benchmark::State& state)
{
    Tree tree;
    int x = 0;
    for (auto _ : state) {
        x = (x + 7) % 800;
        tree.manager.MouseMove(x, (x * 3) % 600);
    }
}
BENCHMARK(BM_MouseMove);

void BM_MarkDirtyTopLevel(benchmark::State& state)
{
    Tree tree;
    size_t i = 0;
    for (auto _ : state) {
        for (auto& w : tree.widgets)
            w->mDirty = false;
        tree.widgets[(i++ * 11) % 30 * 11]->MarkDirty();
    }
}
BENCHMARK(BM_MarkDirtyTopLevel);

} // namespace
