// The office frame drawn and presented through the renderer on the
// rasteriser of the 3D stand-in, against the same frame drawn by the 2D
// blitters into the opaque back buffer, on a 32-bit and a 5-6-5 display, both
// with the present and drawing only; the present of an unchanged frame alone
// against a memcpy of the 32-bit frame; and a stretch of a 256 x 256 sprite to
// 400 x 300 through the renderer, bilinear against nearest. Prints the ratios
// at the end with their goals.
#include "bench/common/OfficeFrame.h"
#include "bench/common/RatioReporter.h"
#include "framework/graphics/D3DInterface.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

using namespace Zelk;

namespace {

// range(0): 32-bit (0) or 5-6-5 (1); range(1): 2D (0) or 3D (1).
void OfficeFrame(benchmark::State& state)
{
    bench::Display d(state.range(0) != 0, state.range(1) != 0);
    bench::OfficeScene scene(&d.app);
    if (d.display->mIs3D != (state.range(1) != 0)) {
        state.SkipWithError("the display did not start in the wanted mode");
        return;
    }
    for (auto _ : state)
        scene.Draw(d, true);
}
BENCHMARK(OfficeFrame)->ArgsProduct({{0, 1}, {0, 1}})->ArgNames({"rgb565", "3d"})->Unit(benchmark::kMicrosecond);

// The same frame drawn, without the present (the renderer's scene is closed,
// as the present would).
void OfficeDraw(benchmark::State& state)
{
    bench::Display d(state.range(0) != 0, state.range(1) != 0);
    bench::OfficeScene scene(&d.app);
    if (d.display->mIs3D != (state.range(1) != 0)) {
        state.SkipWithError("the display did not start in the wanted mode");
        return;
    }
    for (auto _ : state) {
        scene.Draw(d, false);
        if (d.display->mIs3D)
            d.display->mD3DInterface->EndScene();
    }
}
BENCHMARK(OfficeDraw)->ArgsProduct({{0, 1}, {0, 1}})->ArgNames({"rgb565", "3d"})->Unit(benchmark::kMicrosecond);

// The present alone of a drawn 2D frame of the same size each time.
void Present(benchmark::State& state)
{
    bench::Display d(state.range(0) != 0, false);
    bench::OfficeScene scene(&d.app);
    scene.Draw(d, true);
    for (auto _ : state)
        d.display->Redraw(nullptr);
}
BENCHMARK(Present)->Arg(0)->Arg(1)->ArgName("rgb565")->Unit(benchmark::kMicrosecond);

// The reference of the present: one memcpy of the 32-bit 800 x 600 frame.
void FrameCopy(benchmark::State& state)
{
    std::vector<uint32_t> from = bench::OpaquePixels(bench::kFrameW, bench::kFrameH), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FrameCopy)->Unit(benchmark::kMicrosecond);

void Stretch3D(benchmark::State& state)
{
    bench::Display d(false, true);
    MemoryImage sprite(&d.app);
    sprite.SetBits(bench::SoftSpritePixels(256, 256).data(), 256, 256);
    D3DInterface* renderer = d.display->mD3DInterface;
    const bool nearest = state.range(0) != 0;
    for (auto _ : state) {
        renderer->BltStretched(&sprite, Rect(100, 100, 400, 300), Rect(0, 0, 256, 256),
                               Rect(0, 0, bench::kFrameW, bench::kFrameH), Color::White, 0, nearest, false);
        renderer->EndScene();
    }
}
BENCHMARK(Stretch3D)->Arg(1)->Arg(0)->ArgNames({"nearest"})->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        bench::RatioReporter::PrintHeader("renderer");
        r.PrintRatio("3D frame / 2D frame, 32-bit", "OfficeFrame/rgb565:0/3d:1", "OfficeFrame/rgb565:0/3d:0", 1.2);
        r.PrintRatio("3D frame / 2D frame, 5-6-5", "OfficeFrame/rgb565:1/3d:1", "OfficeFrame/rgb565:1/3d:0", 1.2);
        r.PrintRatio("3D drawing only / 2D drawing only, 32-bit", "OfficeDraw/rgb565:0/3d:1",
                     "OfficeDraw/rgb565:0/3d:0", 1.3);
        r.PrintRatio("3D drawing only / 2D drawing only, 5-6-5", "OfficeDraw/rgb565:1/3d:1",
                     "OfficeDraw/rgb565:1/3d:0", 1.3);
        r.PrintRatio("bilinear / nearest stretch", "Stretch3D/nearest:0", "Stretch3D/nearest:1", 2.0);
        bench::RatioReporter::PrintHeader("present");
        r.PrintRatio("present, 32-bit frame / memcpy of the frame", "Present/rgb565:0", "FrameCopy", 2.0);
        r.PrintRatio("present, 5-6-5 frame / memcpy of the 32-bit frame", "Present/rgb565:1", "FrameCopy", 2.0);
    });
}
