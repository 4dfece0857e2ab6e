// The software blitters against pixman and SDL2 on the same pixels: alpha
// blit, additive blit, fill and nearest stretch of a 256 x 256 sprite and of
// a full 800 x 600 layer onto an opaque 800 x 600 frame. Prints our time over
// theirs for each pair at the end; run with --benchmark_repetitions=10 for
// steadier ratios.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <pixman.h>
#include <string>
#include <vector>

using namespace Zelk;

namespace {

const int kFrameW = 800, kFrameH = 600;

// A sprite: opaque body, soft translucent rim, transparent corners, varied
// colour. Tiled over a layer the same way.
uint32_t SpritePixel(int x, int y, int size)
{
    int c = size / 2;
    int dx = (x % size) - c, dy = (y % size) - c;
    int d2 = dx * dx + dy * dy, r = c - 2, rim = r * 8 / 10;
    uint32_t a = d2 >= r * r ? 0 : d2 <= rim * rim ? 255 : uint32_t((r * r - d2) * 255 / (r * r - rim * rim));
    return a << 24 | uint32_t((x * 7) & 0xFF) << 16 | uint32_t((y * 5) & 0xFF) << 8 | uint32_t((x ^ y) & 0xFF);
}

struct Pixels {
    int w, h;
    std::vector<uint32_t> argb;
    Pixels(int w_, int h_, int tile) : w(w_), h(h_), argb(size_t(w_) * h_)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                argb[size_t(y) * w + x] = SpritePixel(x, y, tile);
    }
    std::vector<uint32_t> Premultiplied() const
    {
        std::vector<uint32_t> out(argb.size());
        for (size_t i = 0; i < argb.size(); ++i) {
            uint32_t p = argb[i], a = p >> 24;
            uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, b = (p & 0xFF) * a / 255;
            out[i] = a << 24 | r << 16 | g << 8 | b;
        }
        return out;
    }
};

const Pixels& Sprite()
{
    static Pixels p(256, 256, 256);
    return p;
}
const Pixels& Layer()
{
    static Pixels p(kFrameW, kFrameH, 200);
    return p;
}
const Pixels& Source(int which)
{
    return which == 0 ? Sprite() : Layer();
}

std::vector<uint32_t> FramePixels()
{
    return std::vector<uint32_t>(size_t(kFrameW) * kFrameH, 0xFF203040);
}

// ---- ours ----

struct Ours {
    MemoryImage frame{nullptr};
    MemoryImage src{nullptr};
    explicit Ours(int which)
    {
        auto f = FramePixels();
        frame.SetBits(f.data(), kFrameW, kFrameH); // analysed opaque, like the back buffer
        const Pixels& s = Source(which);
        src.SetBits(s.argb.data(), s.w, s.h);
    }
};

void OurBlit(benchmark::State& state, int mode)
{
    Ours o(int(state.range(0)));
    for (auto _ : state) {
        o.frame.Blit(&o.src, 0, 0, Rect(0, 0, o.src.mWidth, o.src.mHeight), Color::White, mode);
        // The run-length path depends on the frame staying analysed opaque.
        o.frame.mNeedsAnalysis = false;
    }
    state.SetItemsProcessed(state.iterations() * o.src.mWidth * o.src.mHeight);
}

void BM_Ours_AlphaBlit(benchmark::State& state) { OurBlit(state, DRAWMODE_NORMAL); }
void BM_Ours_AdditiveBlit(benchmark::State& state) { OurBlit(state, DRAWMODE_ADDITIVE); }

void BM_Ours_Fill(benchmark::State& state)
{
    Ours o(int(state.range(0)));
    for (auto _ : state)
        o.frame.FillRect(Rect(0, 0, o.src.mWidth, o.src.mHeight), Color(200, 100, 50, 128), DRAWMODE_NORMAL);
    state.SetItemsProcessed(state.iterations() * o.src.mWidth * o.src.mHeight);
}

// Nearest stretch of the source to 1.5 times its size (the layer: its
// quarter to the whole frame).
Rect StretchSrc(int which)
{
    return which == 0 ? Rect(0, 0, 256, 256) : Rect(0, 0, 400, 300);
}
Rect StretchDest(int which)
{
    return which == 0 ? Rect(0, 0, 384, 384) : Rect(0, 0, 800, 600);
}

void BM_Ours_NearestStretch(benchmark::State& state)
{
    int which = int(state.range(0));
    Ours o(which);
    Rect d = StretchDest(which);
    for (auto _ : state)
        o.frame.BlitStretched(&o.src, d, StretchSrc(which), Rect(0, 0, kFrameW, kFrameH), Color::White,
                              DRAWMODE_NORMAL, true);
    state.SetItemsProcessed(state.iterations() * d.mWidth * d.mHeight);
}

// ---- pixman ----

struct Pix {
    std::vector<uint32_t> framePixels, srcPixels;
    pixman_image_t* frame;
    pixman_image_t* src;
    int w, h;
    explicit Pix(int which)
    {
        framePixels = FramePixels();
        const Pixels& s = Source(which);
        srcPixels = s.Premultiplied();
        w = s.w;
        h = s.h;
        frame = pixman_image_create_bits(PIXMAN_a8r8g8b8, kFrameW, kFrameH, framePixels.data(), kFrameW * 4);
        src = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, srcPixels.data(), w * 4);
    }
    ~Pix()
    {
        pixman_image_unref(frame);
        pixman_image_unref(src);
    }
};

void PixmanComposite(benchmark::State& state, pixman_op_t op)
{
    Pix p(int(state.range(0)));
    for (auto _ : state)
        pixman_image_composite32(op, p.src, nullptr, p.frame, 0, 0, 0, 0, 0, 0, p.w, p.h);
    state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

void BM_Pixman_AlphaBlit(benchmark::State& state) { PixmanComposite(state, PIXMAN_OP_OVER); }
void BM_Pixman_AdditiveBlit(benchmark::State& state) { PixmanComposite(state, PIXMAN_OP_ADD); }

void BM_Pixman_Fill(benchmark::State& state)
{
    Pix p(int(state.range(0)));
    pixman_color_t color = {uint16_t(200 * 128 / 255 * 257), uint16_t(100 * 128 / 255 * 257),
                            uint16_t(50 * 128 / 255 * 257), uint16_t(128 * 257)};
    pixman_box32_t box = {0, 0, p.w, p.h};
    for (auto _ : state)
        pixman_image_fill_boxes(PIXMAN_OP_OVER, p.frame, &color, 1, &box);
    state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

void BM_Pixman_NearestStretch(benchmark::State& state)
{
    int which = int(state.range(0));
    Pix p(which);
    Rect s = StretchSrc(which), d = StretchDest(which);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(double(s.mWidth) / d.mWidth),
                                pixman_double_to_fixed(double(s.mHeight) / d.mHeight));
    pixman_image_set_transform(p.src, &t);
    pixman_image_set_filter(p.src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, p.src, nullptr, p.frame, 0, 0, 0, 0, 0, 0, d.mWidth, d.mHeight);
    state.SetItemsProcessed(state.iterations() * d.mWidth * d.mHeight);
}

// ---- SDL2 ----

struct Sdl {
    std::vector<uint32_t> framePixels, srcPixels;
    SDL_Surface* frame;
    SDL_Surface* src;
    explicit Sdl(int which, SDL_BlendMode mode)
    {
        framePixels = FramePixels();
        const Pixels& s = Source(which);
        srcPixels = s.argb;
        frame = SDL_CreateRGBSurfaceWithFormatFrom(framePixels.data(), kFrameW, kFrameH, 32, kFrameW * 4,
                                                   SDL_PIXELFORMAT_ARGB8888);
        src = SDL_CreateRGBSurfaceWithFormatFrom(srcPixels.data(), s.w, s.h, 32, s.w * 4, SDL_PIXELFORMAT_ARGB8888);
        SDL_SetSurfaceBlendMode(src, mode);
    }
    ~Sdl()
    {
        SDL_FreeSurface(frame);
        SDL_FreeSurface(src);
    }
};

void SdlBlit(benchmark::State& state, SDL_BlendMode mode)
{
    Sdl s(int(state.range(0)), mode);
    for (auto _ : state) {
        SDL_Rect dst = {0, 0, s.src->w, s.src->h};
        SDL_BlitSurface(s.src, nullptr, s.frame, &dst);
    }
    state.SetItemsProcessed(state.iterations() * s.src->w * s.src->h);
}

void BM_SDL_AlphaBlit(benchmark::State& state) { SdlBlit(state, SDL_BLENDMODE_BLEND); }
void BM_SDL_AdditiveBlit(benchmark::State& state) { SdlBlit(state, SDL_BLENDMODE_ADD); }

// SDL fills without blending: the opaque fill is its nearest counterpart.
void BM_SDL_Fill(benchmark::State& state)
{
    Sdl s(int(state.range(0)), SDL_BLENDMODE_NONE);
    for (auto _ : state) {
        SDL_Rect r = {0, 0, s.src->w, s.src->h};
        SDL_FillRect(s.frame, &r, 0xFFC86432);
    }
    state.SetItemsProcessed(state.iterations() * s.src->w * s.src->h);
}

void BM_Ours_OpaqueFill(benchmark::State& state)
{
    Ours o(int(state.range(0)));
    for (auto _ : state)
        o.frame.FillRect(Rect(0, 0, o.src.mWidth, o.src.mHeight), Color(200, 100, 50), DRAWMODE_NORMAL);
    state.SetItemsProcessed(state.iterations() * o.src.mWidth * o.src.mHeight);
}

void BM_SDL_NearestStretch(benchmark::State& state)
{
    int which = int(state.range(0));
    Sdl s(which, SDL_BLENDMODE_BLEND);
    Rect sr = StretchSrc(which), dr = StretchDest(which);
    for (auto _ : state) {
        SDL_Rect from = {sr.mX, sr.mY, sr.mWidth, sr.mHeight}, to = {dr.mX, dr.mY, dr.mWidth, dr.mHeight};
        SDL_BlitScaled(s.src, &from, s.frame, &to);
    }
    state.SetItemsProcessed(state.iterations() * dr.mWidth * dr.mHeight);
}

#define SIZES ->Arg(0)->Arg(1)->ArgName("layer")
BENCHMARK(BM_Ours_AlphaBlit) SIZES;
BENCHMARK(BM_Pixman_AlphaBlit) SIZES;
BENCHMARK(BM_SDL_AlphaBlit) SIZES;
BENCHMARK(BM_Ours_AdditiveBlit) SIZES;
BENCHMARK(BM_Pixman_AdditiveBlit) SIZES;
BENCHMARK(BM_SDL_AdditiveBlit) SIZES;
BENCHMARK(BM_Ours_Fill) SIZES;
BENCHMARK(BM_Pixman_Fill) SIZES;
BENCHMARK(BM_Ours_OpaqueFill) SIZES;
BENCHMARK(BM_SDL_Fill) SIZES;
BENCHMARK(BM_Ours_NearestStretch) SIZES;
BENCHMARK(BM_Pixman_NearestStretch) SIZES;
BENCHMARK(BM_SDL_NearestStretch) SIZES;

// Keeps the best time per iteration of each benchmark over its repetitions
// (the machine is shared: the minimum is the least disturbed run), for the
// ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration) {
                auto it = times.find(r.run_name.str());
                double t = r.GetAdjustedRealTime();
                if (it == times.end() || t < it->second)
                    times[r.run_name.str()] = t;
            }
    }
    std::map<std::string, double> times;
};

void PrintRatios(const std::map<std::string, double>& times)
{
    struct Pair {
        const char* ours;
        const char* theirs;
    } pairs[] = {
        {"BM_Ours_AlphaBlit", "BM_Pixman_AlphaBlit"},       {"BM_Ours_AlphaBlit", "BM_SDL_AlphaBlit"},
        {"BM_Ours_AdditiveBlit", "BM_Pixman_AdditiveBlit"}, {"BM_Ours_AdditiveBlit", "BM_SDL_AdditiveBlit"},
        {"BM_Ours_Fill", "BM_Pixman_Fill"},                 {"BM_Ours_OpaqueFill", "BM_SDL_Fill"},
        {"BM_Ours_NearestStretch", "BM_Pixman_NearestStretch"}, {"BM_Ours_NearestStretch", "BM_SDL_NearestStretch"},
    };
    std::printf("\nours / theirs (below 1.0: ours is faster)\n");
    for (const char* size : {"/layer:0", "/layer:1"})
        for (const Pair& p : pairs) {
            auto a = times.find(std::string(p.ours) + size), b = times.find(std::string(p.theirs) + size);
            if (a != times.end() && b != times.end() && b->second > 0)
                std::printf("%-28s %-28s %s %6.2f\n", p.ours + 3, p.theirs + 3,
                            size[7] == '0' ? "sprite 256x256" : "layer 800x600 ", a->second / b->second);
        }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatios(reporter.times);
    benchmark::Shutdown();
    return 0;
}
