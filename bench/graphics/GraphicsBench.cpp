// The software blitters against pixman and SDL2 on the same pixels: alpha
// blit, additive blit, fill and nearest stretch of a 256 x 256 sprite and of
// a full 800 x 600 layer onto an opaque 800 x 600 frame, in memory and on the
// display's 32-bit and 5-6-5 back buffer; the alpha blit of the sprite, the
// layer and an all-translucent layer (every pixel alpha 128) onto an image
// made with Create() (which has alpha, every pixel opaque here) against pixman
// onto a8r8g8b8, and the all-translucent layer onto the opaque frame; and the
// whole office frame drawn into the back buffer against pixman drawing it.
// Prints our time over theirs for each pair at the end.
#include "bench/common/OfficeFrame.h"
#include "bench/common/RatioReporter.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "platform/NullPlatform.h"
#include "platform/ddraw/DirectDraw.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <pixman.h>
#include <string>
#include <vector>

using namespace Zelk;

namespace {

using bench::kFrameH;
using bench::kFrameW;

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
// The layer with every pixel at alpha 128.
const Pixels& TranslucentLayer()
{
    static Pixels p = [] {
        Pixels l(kFrameW, kFrameH, 200);
        for (uint32_t& px : l.argb)
            px = (px & 0x00FFFFFFu) | 0x80000000u;
        return l;
    }();
    return p;
}
// 0: the sprite, 1: the layer, 2: the all-translucent layer.
const Pixels& Source(int which)
{
    return which == 0 ? Sprite() : which == 1 ? Layer() : TranslucentLayer();
}

std::vector<uint32_t> FramePixels()
{
    return std::vector<uint32_t>(size_t(kFrameW) * kFrameH, 0xFF203040);
}

// ---- ours ----

struct Ours {
    MemoryImage frame{nullptr};
    MemoryImage src{nullptr};
    // alphaFrame: the frame made with Create(), so it has alpha, then
    // filled with the same opaque pixels.
    explicit Ours(int which, bool alphaFrame = false)
    {
        auto f = FramePixels();
        if (alphaFrame) {
            frame.Create(kFrameW, kFrameH);
            std::copy(f.begin(), f.end(), frame.GetBits());
        } else {
            frame.SetBits(f.data(), kFrameW, kFrameH); // analysed opaque, like the back buffer
        }
        const Pixels& s = Source(which);
        src.SetBits(s.argb.data(), s.w, s.h);
    }
};

void OurBlit(benchmark::State& state, int mode, bool alphaFrame = false)
{
    Ours o(int(state.range(0)), alphaFrame);
    const std::vector<uint32_t> start(o.frame.GetBits(), o.frame.GetBits() + size_t(kFrameW) * kFrameH);
    // An all-translucent layer would soon turn the frame into its own
    // colour: under it the frame starts over now and then, untimed.
    const bool restart = state.range(0) == 2;
    int round = 0;
    for (auto _ : state) {
        o.frame.Blit(&o.src, 0, 0, Rect(0, 0, o.src.mWidth, o.src.mHeight), Color::White, mode);
        // The run-length path depends on the frame staying analysed opaque.
        o.frame.mNeedsAnalysis = false;
        if (restart && ++round % 64 == 0) {
            state.PauseTiming();
            std::copy(start.begin(), start.end(), o.frame.GetBits());
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * o.src.mWidth * o.src.mHeight);
}

void BM_Ours_AlphaBlit(benchmark::State& state) { OurBlit(state, DRAWMODE_NORMAL); }
void BM_Ours_AdditiveBlit(benchmark::State& state) { OurBlit(state, DRAWMODE_ADDITIVE); }
void BM_Ours_AlphaBlitOntoAlpha(benchmark::State& state) { OurBlit(state, DRAWMODE_NORMAL, true); }

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

template <typename Frame> void PixmanComposite(benchmark::State& state, Frame& p, pixman_op_t op)
{
    for (auto _ : state)
        pixman_image_composite32(op, p.src, nullptr, p.frame, 0, 0, 0, 0, 0, 0, p.w, p.h);
    state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

template <typename Frame> void PixmanFill(benchmark::State& state, Frame& p)
{
    pixman_color_t color = {uint16_t(200 * 128 / 255 * 257), uint16_t(100 * 128 / 255 * 257),
                            uint16_t(50 * 128 / 255 * 257), uint16_t(128 * 257)};
    pixman_box32_t box = {0, 0, p.w, p.h};
    for (auto _ : state)
        pixman_image_fill_boxes(PIXMAN_OP_OVER, p.frame, &color, 1, &box);
    state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

void BM_Pixman_AlphaBlit(benchmark::State& state)
{
    Pix p(int(state.range(0)));
    PixmanComposite(state, p, PIXMAN_OP_OVER);
}

void BM_Pixman_AdditiveBlit(benchmark::State& state)
{
    Pix p(int(state.range(0)));
    PixmanComposite(state, p, PIXMAN_OP_ADD);
}

void BM_Pixman_Fill(benchmark::State& state)
{
    Pix p(int(state.range(0)));
    PixmanFill(state, p);
}

template <typename Frame> void PixmanStretch(benchmark::State& state, Frame& p, int which)
{
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

void BM_Pixman_NearestStretch(benchmark::State& state)
{
    Pix p(int(state.range(0)));
    PixmanStretch(state, p, int(state.range(0)));
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

// ---- on the display's back buffer ----

// The null display's 800 x 600 back buffer, 32-bit or 5-6-5, in 2D.
struct Display : bench::Display {
    explicit Display(bool rgb565) : bench::Display(rgb565, false) {}
};

// range(0): sprite or layer; range(1): 32-bit (0) or 5-6-5 (1).
void SurfaceBlit(benchmark::State& state, int mode)
{
    Display d(state.range(1) != 0);
    const Pixels& p = Source(int(state.range(0)));
    MemoryImage src(&d.app);
    src.SetBits(p.argb.data(), p.w, p.h);
    DDImage* screen = d.Screen();
    screen->LockSurface(); // as the widget manager does for a whole frame
    for (auto _ : state)
        screen->Blit(&src, 0, 0, Rect(0, 0, p.w, p.h), Color::White, mode);
    screen->UnlockSurface();
    state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

void BM_Surface_AlphaBlit(benchmark::State& state) { SurfaceBlit(state, DRAWMODE_NORMAL); }
void BM_Surface_AdditiveBlit(benchmark::State& state) { SurfaceBlit(state, DRAWMODE_ADDITIVE); }

void BM_Surface_Fill(benchmark::State& state)
{
    Display d(state.range(1) != 0);
    const Pixels& p = Source(int(state.range(0)));
    DDImage* screen = d.Screen();
    screen->LockSurface();
    for (auto _ : state)
        screen->FillRect(Rect(0, 0, p.w, p.h), Color(200, 100, 50, 128), DRAWMODE_NORMAL);
    screen->UnlockSurface();
    state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

void BM_Surface_NearestStretch(benchmark::State& state)
{
    const int which = int(state.range(0));
    Display d(state.range(1) != 0);
    const Pixels& p = Source(which);
    MemoryImage src(&d.app);
    src.SetBits(p.argb.data(), p.w, p.h);
    DDImage* screen = d.Screen();
    const Rect dest = StretchDest(which);
    screen->LockSurface();
    for (auto _ : state)
        screen->BlitStretched(&src, dest, StretchSrc(which), Rect(0, 0, kFrameW, kFrameH), Color::White,
                              DRAWMODE_NORMAL, true);
    screen->UnlockSurface();
    state.SetItemsProcessed(state.iterations() * dest.mWidth * dest.mHeight);
}

// pixman on the same destination formats.
struct PixSurface {
    std::vector<uint16_t> framePixels;
    std::vector<uint32_t> srcPixels;
    pixman_image_t* frame;
    pixman_image_t* src;
    int w, h;
    PixSurface(int which, bool rgb565)
    {
        const Pixels& s = Source(which);
        srcPixels = s.Premultiplied();
        w = s.w;
        h = s.h;
        if (rgb565) {
            framePixels.assign(size_t(kFrameW) * kFrameH, 0x2188);
            frame = pixman_image_create_bits(PIXMAN_r5g6b5, kFrameW, kFrameH,
                                             reinterpret_cast<uint32_t*>(framePixels.data()), kFrameW * 2);
        } else {
            frame32 = FramePixels();
            frame = pixman_image_create_bits(PIXMAN_x8r8g8b8, kFrameW, kFrameH, frame32.data(), kFrameW * 4);
        }
        src = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, srcPixels.data(), w * 4);
    }
    ~PixSurface()
    {
        pixman_image_unref(frame);
        pixman_image_unref(src);
    }
    std::vector<uint32_t> frame32;
};

void BM_PixmanSurface_AlphaBlit(benchmark::State& state)
{
    PixSurface p(int(state.range(0)), state.range(1) != 0);
    PixmanComposite(state, p, PIXMAN_OP_OVER);
}

void BM_PixmanSurface_AdditiveBlit(benchmark::State& state)
{
    PixSurface p(int(state.range(0)), state.range(1) != 0);
    PixmanComposite(state, p, PIXMAN_OP_ADD);
}

void BM_PixmanSurface_Fill(benchmark::State& state)
{
    PixSurface p(int(state.range(0)), state.range(1) != 0);
    PixmanFill(state, p);
}

void BM_PixmanSurface_NearestStretch(benchmark::State& state)
{
    PixSurface p(int(state.range(0)), state.range(1) != 0);
    PixmanStretch(state, p, int(state.range(0)));
}

// The office frame drawn into the back buffer (range(0): 5-6-5), by us and
// by pixman (background copied, sprites composited over).
void BM_Frame_Office(benchmark::State& state)
{
    Display d(state.range(0) != 0);
    bench::OfficeScene scene(&d.app);
    for (auto _ : state)
        scene.Draw(d, false);
}

void BM_PixmanFrame_Office(benchmark::State& state)
{
    using namespace bench;
    const bool rgb565 = state.range(0) != 0;
    std::vector<uint32_t> frame32(size_t(kFrameW) * kFrameH);
    std::vector<uint16_t> frame16(size_t(kFrameW) * kFrameH);
    pixman_image_t* frame =
        rgb565 ? pixman_image_create_bits(PIXMAN_r5g6b5, kFrameW, kFrameH, reinterpret_cast<uint32_t*>(frame16.data()),
                                          kFrameW * 2)
               : pixman_image_create_bits(PIXMAN_x8r8g8b8, kFrameW, kFrameH, frame32.data(), kFrameW * 4);
    std::vector<uint32_t> ground = OpaquePixels(kFrameW, kFrameH);
    pixman_image_t* background =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, kFrameW, kFrameH, ground.data(), kFrameW * 4);
    std::vector<uint32_t> spritePixels = SoftSpritePixels(kSpriteW, kSpriteH);
    for (uint32_t& p : spritePixels) {
        const uint32_t a = p >> 24;
        p = a << 24 | (((p >> 16) & 0xFF) * a / 255) << 16 | (((p >> 8) & 0xFF) * a / 255) << 8 | (p & 0xFF) * a / 255;
    }
    pixman_image_t* sprite =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kSpriteW, kSpriteH, spritePixels.data(), kSpriteW * 4);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, background, nullptr, frame, 0, 0, 0, 0, 0, 0, kFrameW, kFrameH);
        for (int i = 0; i < kSprites; ++i)
            pixman_image_composite32(PIXMAN_OP_OVER, sprite, nullptr, frame, 0, 0, 0, 0, SpritePlace(i).first,
                                     SpritePlace(i).second, kSpriteW, kSpriteH);
    }
    pixman_image_unref(sprite);
    pixman_image_unref(background);
    pixman_image_unref(frame);
}

#define SIZES ->Arg(0)->Arg(1)->ArgName("layer")
#define ALPHA_SIZES ->Arg(0)->Arg(1)->Arg(2)->ArgName("layer")
BENCHMARK(BM_Ours_AlphaBlit) ALPHA_SIZES;
BENCHMARK(BM_Pixman_AlphaBlit) ALPHA_SIZES;
BENCHMARK(BM_Ours_AlphaBlitOntoAlpha) ALPHA_SIZES;
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
#define SURFACES ->ArgsProduct({{0, 1}, {0, 1}})->ArgNames({"layer", "rgb565"})
BENCHMARK(BM_Surface_AlphaBlit) SURFACES;
BENCHMARK(BM_PixmanSurface_AlphaBlit) SURFACES;
BENCHMARK(BM_Surface_AdditiveBlit) SURFACES;
BENCHMARK(BM_PixmanSurface_AdditiveBlit) SURFACES;
BENCHMARK(BM_Surface_Fill) SURFACES;
BENCHMARK(BM_PixmanSurface_Fill) SURFACES;
BENCHMARK(BM_Surface_NearestStretch) SURFACES;
BENCHMARK(BM_PixmanSurface_NearestStretch) SURFACES;
BENCHMARK(BM_Frame_Office)->Arg(0)->Arg(1)->ArgName("rgb565")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PixmanFrame_Office)->Arg(0)->Arg(1)->ArgName("rgb565")->Unit(benchmark::kMicrosecond);

void PrintRatios(const bench::RatioReporter& r)
{
    struct Pair {
        const char* ours;
        const char* theirs;
        double goal;
    } pairs[] = {
        {"Ours_AlphaBlit", "Pixman_AlphaBlit", 1.0},
        {"Ours_AlphaBlit", "SDL_AlphaBlit", 0.0},
        {"Ours_AdditiveBlit", "Pixman_AdditiveBlit", 1.0},
        {"Ours_AdditiveBlit", "SDL_AdditiveBlit", 0.0},
        {"Ours_Fill", "Pixman_Fill", 1.0},
        {"Ours_OpaqueFill", "SDL_Fill", 0.0},
        {"Ours_NearestStretch", "Pixman_NearestStretch", 1.0},
        {"Ours_NearestStretch", "SDL_NearestStretch", 0.0},
    };
    bench::RatioReporter::PrintHeader("in memory: ours / theirs");
    for (const char* size : {"0", "1"})
        for (const Pair& p : pairs)
            r.PrintRatio(std::string(p.ours) + " / " + p.theirs + (size[0] == '0' ? ", sprite" : ", layer"),
                         std::string("BM_") + p.ours + "/layer:" + size, std::string("BM_") + p.theirs + "/layer:" + size,
                         p.goal);
    r.PrintRatio("Ours_AlphaBlit / Pixman_AlphaBlit, translucent layer", "BM_Ours_AlphaBlit/layer:2",
                 "BM_Pixman_AlphaBlit/layer:2", 0.6);
    // pixman's frame in memory is a8r8g8b8 already.
    bench::RatioReporter::PrintHeader("onto an alpha image (Create()) / pixman onto a8r8g8b8");
    for (const char* size : {"0", "1", "2"})
        r.PrintRatio(std::string("AlphaBlitOntoAlpha, ") + (size[0] == '0'   ? "sprite"
                                                            : size[0] == '1' ? "layer"
                                                                             : "translucent layer"),
                     std::string("BM_Ours_AlphaBlitOntoAlpha/layer:") + size,
                     std::string("BM_Pixman_AlphaBlit/layer:") + size, 1.0);
    bench::RatioReporter::PrintHeader("on the back buffer: ours / pixman");
    for (const char* format : {"0", "1"}) {
        for (const char* op : {"AlphaBlit", "AdditiveBlit", "Fill", "NearestStretch"})
            for (const char* size : {"0", "1"}) {
                const std::string args = std::string("/layer:") + size + "/rgb565:" + format;
                r.PrintRatio(std::string(op) + (size[0] == '0' ? ", sprite" : ", layer") +
                                 (format[0] == '0' ? ", 32-bit" : ", 5-6-5"),
                             std::string("BM_Surface_") + op + args, std::string("BM_PixmanSurface_") + op + args, 1.0);
            }
        r.PrintRatio(std::string("office frame") + (format[0] == '0' ? ", 32-bit" : ", 5-6-5"),
                     std::string("BM_Frame_Office/rgb565:") + format, std::string("BM_PixmanFrame_Office/rgb565:") + format,
                     1.0);
    }
}

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv, PrintRatios);
}
