// One office-like frame (a full 800 x 600 background and 150 alpha sprites of
// 64 x 96) drawn through the renderer onto the 3D stand-in's draw surface,
// against the same frame drawn by the 2D blitters into an 800 x 600 memory
// image; and a stretch of a 256 x 256 sprite to 400 x 300 through the
// renderer, bilinear against nearest. Prints the two ratios at the end (goals:
// 3D at most 1.5 x 2D, bilinear at most 2 x nearest).
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "platform/d3d/Direct3D.h"

#include "bench/GoalReporter.h"

#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace Zelk;

namespace {

const int kFrameW = 800, kFrameH = 600, kSprites = 150, kSpriteW = 64, kSpriteH = 96;

// Opaque body, soft translucent rim, transparent corners.
uint32_t SpritePixel(int x, int y, int w, int h)
{
    const int dx = 2 * x - w + 1, dy = (2 * y - h + 1) * w / h, r = w - 4, rim = r * 8 / 10;
    const int d2 = dx * dx + dy * dy;
    const uint32_t a = d2 >= r * r ? 0 : d2 <= rim * rim ? 255 : uint32_t((r * r - d2) * 255 / (r * r - rim * rim));
    return a << 24 | uint32_t((x * 7) & 0xFF) << 16 | uint32_t((y * 5) & 0xFF) << 8 | uint32_t((x ^ y) & 0xFF);
}

std::unique_ptr<MemoryImage> MakeImage(int w, int h, bool opaque)
{
    std::vector<uint32_t> px(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[size_t(y) * w + x] = opaque ? 0xFF000000u | uint32_t(x * 2654435761u ^ y * 40503u) : SpritePixel(x, y, w, h);
    auto image = std::make_unique<MemoryImage>(nullptr);
    image->SetBits(px.data(), w, h);
    return image;
}

int SpriteX(int i) { return (i * 137) % (kFrameW - kSpriteW); }
int SpriteY(int i) { return (i * 71) % (kFrameH - kSpriteH); }

// The renderer on a 32-bit draw surface of the stand-in.
struct Renderer3D {
    DDInterface display{nullptr};
    plat::DirectDraw* dd = nullptr;
    plat::DDSurface* target = nullptr;
    D3DInterface& renderer = *display.mD3DInterface;

    Renderer3D()
    {
        plat::DirectDrawCreateEx(&dd);
        plat::DDSurfaceDesc desc;
        desc.flags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
        desc.width = kFrameW;
        desc.height = kFrameH;
        desc.caps = plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_3DDEVICE | plat::DDSCAPS_VIDEOMEMORY;
        dd->CreateSurface(desc, &target);
        display.mDD7 = dd;
        display.mDrawSurface = target;
        display.mWidth = kFrameW;
        display.mHeight = kFrameH;
        if (!renderer.Init(&display))
            std::fprintf(stderr, "renderer: %s\n", gLast3DError.c_str());
    }
    ~Renderer3D()
    {
        renderer.Cleanup();
        target->Release();
        dd->Release();
    }
};

void OfficeFrame3D(benchmark::State& state)
{
    Renderer3D r;
    auto background = MakeImage(kFrameW, kFrameH, true);
    auto sprite = MakeImage(kSpriteW, kSpriteH, false);
    for (auto _ : state) {
        r.renderer.Blt(background.get(), 0, 0, Rect(0, 0, kFrameW, kFrameH), Color::White, 0, false);
        for (int i = 0; i < kSprites; ++i)
            r.renderer.Blt(sprite.get(), float(SpriteX(i)), float(SpriteY(i)), Rect(0, 0, kSpriteW, kSpriteH),
                           Color::White, 0, false);
        r.renderer.EndScene();
    }
}
BENCHMARK(OfficeFrame3D)->Unit(benchmark::kMicrosecond)->UseRealTime();

void OfficeFrame2D(benchmark::State& state)
{
    MemoryImage frame(nullptr);
    frame.Create(kFrameW, kFrameH);
    auto background = MakeImage(kFrameW, kFrameH, true);
    auto sprite = MakeImage(kSpriteW, kSpriteH, false);
    for (auto _ : state) {
        Graphics g(&frame);
        g.DrawImage(background.get(), 0, 0);
        for (int i = 0; i < kSprites; ++i)
            g.DrawImage(sprite.get(), SpriteX(i), SpriteY(i));
    }
}
BENCHMARK(OfficeFrame2D)->Unit(benchmark::kMicrosecond)->UseRealTime();

void Stretch3D(benchmark::State& state)
{
    Renderer3D r;
    auto sprite = MakeImage(256, 256, false);
    const bool nearest = state.range(0) != 0;
    for (auto _ : state) {
        r.renderer.BltStretched(sprite.get(), Rect(100, 100, 400, 300), Rect(0, 0, 256, 256),
                                Rect(0, 0, kFrameW, kFrameH), Color::White, 0, nearest, false);
        r.renderer.EndScene();
    }
}
BENCHMARK(Stretch3D)->Arg(1)->Arg(0)->ArgNames({"nearest"})->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    GoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n3D frame / 2D frame:          %5.2f (goal: at most 1.50)\n",
                reporter.Ratio("OfficeFrame3D/real_time", "OfficeFrame2D/real_time"));
    std::printf("bilinear / nearest stretch:   %5.2f (goal: at most 2.00)\n",
                reporter.Ratio("Stretch3D/nearest:0/real_time", "Stretch3D/nearest:1/real_time"));
    benchmark::Shutdown();
    return 0;
}
