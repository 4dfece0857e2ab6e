#pragma once
// The reference frame of the game's screen benchmarks: one 800 x 600
// picture with alpha (soft-edged) blended over an opaque 800 x 600 screen.
#include "bench/common/OfficeFrame.h"

#include <benchmark/benchmark.h>

namespace bench {

inline void AlphaBlitReference(benchmark::State& state)
{
    Zelk::MemoryImage screen(nullptr), picture(nullptr);
    const std::vector<uint32_t> back = OpaquePixels(kFrameW, kFrameH);
    const std::vector<uint32_t> front = SoftSpritePixels(kFrameW, kFrameH);
    screen.SetBits(back.data(), kFrameW, kFrameH);
    picture.SetBits(front.data(), kFrameW, kFrameH);
    for (auto _ : state) {
        Zelk::Graphics g(&screen);
        g.DrawImage(&picture, 0, 0);
        benchmark::DoNotOptimize(screen.GetBits());
    }
}

} // namespace bench
