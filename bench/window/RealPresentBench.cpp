// What showing a frame in the real window costs: an 800 x 600 frame handed to
// the window system (PresentFrame) and shown by its first thread (uploaded to
// the SDL texture, scaled into the window, presented), in a window of the
// frame's size and in a full-screen one of the virtual X server's 1024 x 768;
// the time is the CPU time of the whole process (both threads), the X
// server's own work not included. Each frame differs from the last, so none
// is passed over as unchanged. Against one memcpy of the frame, the reference
// the null display's present is measured against too (d3d_bench); it reports,
// it does not judge. Without a display the program runs itself on a virtual
// X server of its own.
#include "bench/common/RatioReporter.h"
#include "platform/window/RealWindowSystem.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFrameW = 800, kFrameH = 600;

plat::RealWindowSystem* gWindows = nullptr;

std::vector<uint32_t> FramePixels()
{
    std::vector<uint32_t> px(size_t(kFrameW) * size_t(kFrameH));
    for (int y = 0; y < kFrameH; ++y)
        for (int x = 0; x < kFrameW; ++x)
            px[size_t(y) * kFrameW + size_t(x)] = 0xFF000000u | ((uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u));
    return px;
}

// The first thread's passes through its loop, counted at the end of each
// (after the pass has shown the pending frame).
std::atomic<uint64_t> gPasses{0};

// Until the first thread has shown what was handed over: a pass that ends
// two passes after the hand-over began after it, so it has shown the frame.
// Each round trip wakes the loop for one more pass.
void WaitUntilShown()
{
    const uint64_t from = gPasses.load();
    while (gPasses.load() < from + 2)
        gWindows->RunOnEventThread([] {});
}

// range(0): the window full screen (1) or of the frame's size (0).
void RealWindowPresent(benchmark::State& state)
{
    plat::WindowDesc desc;
    desc.width = kFrameW;
    desc.height = kFrameH;
    desc.fullScreen = state.range(0) != 0;
    const plat::WindowHandle window = gWindows->Create(desc);
    gWindows->Show(window);
    // The window takes its size on the server a little later: the frames
    // are measured once it has it.
    int wantW = kFrameW, wantH = kFrameH;
    if (desc.fullScreen)
        gWindows->DesktopSize(wantW, wantH);
    for (int tries = 0; tries < 200; ++tries) {
        int w = 0, h = 0;
        gWindows->ClientSize(window, w, h);
        if (w == wantW && h == wantH)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<uint32_t> frame = FramePixels();
    uint32_t mark = 0;
    for (auto _ : state) {
        // The buffer that comes back holds an earlier frame: one pixel
        // changed makes it differ from the one on screen.
        frame.resize(size_t(kFrameW) * size_t(kFrameH));
        frame[0] = 0xFF000000u | ++mark;
        gWindows->PresentFrame(window, frame, kFrameW, kFrameH);
        WaitUntilShown();
    }
    gWindows->Destroy(window);
}
BENCHMARK(RealWindowPresent)->Arg(0)->Arg(1)->ArgName("fullscreen")->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// The hand-over's own part: the waits for the first thread's passes alone.
void RoundTrip(benchmark::State& state)
{
    for (auto _ : state)
        WaitUntilShown();
}
BENCHMARK(RoundTrip)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void FrameCopy(benchmark::State& state)
{
    std::vector<uint32_t> from = FramePixels(), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FrameCopy)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY") && !std::getenv("ZELK_IN_XVFB")) {
        // On a virtual X server of its own, with the same arguments.
        setenv("ZELK_IN_XVFB", "1", 1);
        std::vector<char*> args{const_cast<char*>("bash"), const_cast<char*>(ZELK_XSERVER_SCRIPT)};
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("bash", args.data());
        std::perror("cannot start the virtual X server");
        return 1;
    }
    plat::RealWindowSystem windows;
    std::string error;
    if (!windows.Open(error)) {
        std::fprintf(stderr, "Cannot open a window on this desktop: %s\n", error.c_str());
        return 1;
    }
    gWindows = &windows;
    windows.SetEachPass([] { ++gPasses; });
    int result = 0;
    // The benchmarks run on a second thread, as the application does; the
    // first one pumps the events and shows the frames.
    std::thread benchmarks([&] {
        result = bench::RunWithRatios(argc, argv, [](const bench::RatioReporter& r) {
            bench::RatioReporter::PrintHeader("real window (process CPU time)");
            r.PrintRatio("real window's present, 800 x 600 window / memcpy", "RealWindowPresent/fullscreen:0/process_time",
                         "FrameCopy/process_time");
            r.PrintRatio("real window's present, full screen / memcpy", "RealWindowPresent/fullscreen:1/process_time",
                         "FrameCopy/process_time");
            r.PrintRatio("the waits for the first thread alone / memcpy", "RoundTrip/process_time",
                         "FrameCopy/process_time");
        });
        windows.Stop();
    });
    windows.RunEventLoop();
    benchmarks.join();
    windows.Close();
    return result;
}
