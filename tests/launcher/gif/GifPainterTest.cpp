#include "launcher/gif/PainterHost.h"
#include "launcher/gif/TGIFAppExtNSLoop.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFPainter.h"
#include "launcher/gif/TGIFSubImage.h"
#include "platform/clock/NullClock.h"
#include <chrono>
#include <deque>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

using namespace GIFImage;

namespace {

// The GUI loop of a test: closures queue up until the test runs them; time
// is simulated.
class TestHost : public PainterHost {
public:
    void Post(std::function<void()> closure) override
    {
        std::lock_guard<std::mutex> guard(fLock);
        fQueue.push_back(std::move(closure));
    }
    bool IsGuiThread() const override { return std::this_thread::get_id() == fGui; }
    void ProcessPending() override
    {
        for (;;) {
            std::function<void()> closure;
            {
                std::lock_guard<std::mutex> guard(fLock);
                if (fQueue.empty())
                    return;
                closure = std::move(fQueue.front());
                fQueue.pop_front();
            }
            closure();
        }
    }
    plat::Clock& Clock() override { return clock; }
    // Runs posted closures until done() holds (bounded, so a fault fails
    // instead of hanging).
    bool DrainUntil(const std::function<bool()>& done)
    {
        auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done()) {
            if (std::chrono::steady_clock::now() > limit)
                return false;
            ProcessPending();
            std::this_thread::yield();
        }
        return true;
    }
    plat::NullClock clock{1000};

private:
    std::mutex fLock;
    std::deque<std::function<void()>> fQueue;
    std::thread::id fGui = std::this_thread::get_id();
};

// An image of count 2 x 2 frames of distinct colours, each with a control
// block of the given delay (none when delay < 0).
struct Animation {
    TestHost host;
    TGIFImage image;
    Bitmap canvas{4, 4, pf32bit};
    std::vector<int> painted;       // frame index at each OnPaint
    std::vector<uint32_t> paintTimes; // clock at each OnPaint
    int ended = 0;
    int paintCost = 0;

    Animation(int count, int delay)
    {
        for (int i = 0; i < 8; ++i)
            image.GlobalColorMap().Add(TGIFColor{uint8_t(i * 30), 0, 0});
        for (int i = 0; i < count; ++i) {
            auto* f = image.Images().SubImage(image.Add(std::make_unique<TGIFSubImage>(&image)));
            f->SetBounds(0, 0, 2, 2);
            f->SetData(std::vector<uint8_t>(4, uint8_t(i % 8)));
            if (delay >= 0) {
                auto gce = std::make_unique<TGIFGraphicControlExtension>(f);
                gce->SetDelay(delay);
                f->Extensions().Add(std::move(gce));
            }
        }
        image.SetPainterHost(&host);
        image.OnPaint = [this](TGIFPainter* p) {
            painted.push_back(p->ActiveImage());
            paintTimes.push_back(host.clock.NowMs());
        };
        image.OnAfterPaint = [this](TGIFPainter*) { host.clock.Advance(uint32_t(paintCost)); };
        image.OnEndPaint = [this](TGIFPainter* p) {
            ++ended;
            EXPECT_EQ(p->ActiveImage(), -1);
        };
    }
    void Loop(int frame, int loops)
    {
        TGIFSubImage* f = image.Images().SubImage(frame);
        auto loop = std::make_unique<TGIFAppExtNSLoop>(f);
        loop->SetLoops(loops);
        f->Extensions().Insert(0, std::move(loop));
    }
    std::shared_ptr<TGIFPainter> Start(unsigned options)
    {
        auto painter = image.Paint(canvas, TRect{0, 0, 4, 4}, options);
        if (painter)
            host.clock.SetDrivingThread(painter->ThreadId());
        return painter;
    }
    std::vector<int> Periods() const
    {
        std::vector<int> out;
        for (size_t i = 1; i < paintTimes.size(); ++i)
            out.push_back(int(paintTimes[i] - paintTimes[i - 1]));
        return out;
    }
};

const unsigned kAsync = goAsync | goAnimate | goLoop;
const unsigned kSync = goAnimate | goLoop;

} // namespace

TEST(GifPainter, FrameTimes)
{
    struct Case {
        const char* name;
        int delay;
        unsigned options;
        int speed;
        int period;
    } cases[] = {
        {"no control block", -1, kAsync, 100, 120},
        {"delay 0", 0, kAsync, 100, 120},
        {"delay 1", 1, kAsync, 100, 36},
        {"delay 2", 2, kAsync, 100, 36},
        {"delay 50", 50, kAsync, 100, 600},
        {"delay 2000 asynchronous", 2000, kAsync, 100, 24000},
        {"delay 2000 synchronous", 2000, kSync, 100, 12000},
        {"speed 200", 50, kAsync, 200, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Animation a(4, c.delay);
        a.image.SetAnimationSpeed(c.speed);
        auto painter = a.Start(c.options);
        if (painter) {
            ASSERT_TRUE(a.host.DrainUntil([&] { return a.painted.size() >= 4; }));
        }
        a.image.PaintStop();
        ASSERT_GE(a.painted.size(), 4u);
        std::vector<int> periods = a.Periods();
        for (size_t i = 1; i < 3; ++i)
            EXPECT_EQ(periods[i], c.period) << i;
    }
}

TEST(GifPainter, PaintingTimeIsHalfCorrected)
{
    Animation a(18, 0);
    a.Loop(0, 0);
    a.paintCost = 40;
    a.Start(kAsync);
    ASSERT_TRUE(a.host.DrainUntil([&] { return a.painted.size() >= 25; }));
    a.image.PaintStop();
    std::vector<int> periods = a.Periods();
    for (size_t i = 0; i < 24; ++i)
        EXPECT_EQ(periods[i], 120 + 40 / 2) << i;
    EXPECT_GT(a.painted[20], 0) << "the busy picture goes round for ever";
    EXPECT_EQ(a.painted[18], 0);
}

TEST(GifPainter, LoopCounts)
{
    struct Case {
        const char* name;
        int loopFrame, loops;
        unsigned options;
        std::vector<int> painted;
    } cases[] = {
        {"count 3", 0, 3, kAsync, {0, 1, 2, 0, 1, 2, 0, 1, 2}},
        {"count 0 synchronous", 0, 0, kSync, {0, 1, 2}},
        {"no loop block", -1, 0, kAsync, {0, 1, 2}},
        {"loop block on frame 2", 2, 2, kAsync, {0, 1, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Animation a(3, 1);
        if (c.loopFrame >= 0)
            a.Loop(c.loopFrame, c.loops);
        auto painter = a.Start(c.options);
        if (painter) {
            ASSERT_TRUE(a.host.DrainUntil([&] { return painter->Ended(); }));
        }
        a.image.PaintStop();
        EXPECT_EQ(a.painted, c.painted);
        EXPECT_EQ(a.ended, 1);
    }
}

TEST(GifPainter, LoopCountZeroRunsForEverAsynchronously)
{
    Animation a(3, 1);
    a.Loop(0, 0);
    auto painter = a.Start(kAsync);
    ASSERT_TRUE(a.host.DrainUntil([&] { return a.painted.size() >= 10; }));
    EXPECT_FALSE(painter->Ended());
    a.image.PaintStop();
    EXPECT_TRUE(painter->Ended());
}

TEST(GifPainter, AfterPaintHandlerChoosesTheNextFrame)
{
    Animation a(8, 1);
    a.image.OnAfterPaint = [](TGIFPainter* p) {
        if (p->ActiveImage() == 1)
            p->SetActiveImage(5);
    };
    a.Start(kSync);
    EXPECT_EQ(a.painted, (std::vector<int>{0, 1, 5, 6, 7}));
}

TEST(GifPainter, NotAnimatedDrawsTheForcedFrameWithoutAThread)
{
    Animation a(3, 1);
    a.image.SetDrawOptions(kDefaultDrawOptions & ~goAnimate);
    a.image.SetForceFrame(1);
    a.image.Draw(a.canvas, TRect{0, 0, 4, 4});
    EXPECT_EQ(a.image.PainterCount(), 0);
    EXPECT_EQ(a.canvas.PixelColor(3, 3).Red, 30);
    a.image.SetForceFrame(7);
    a.image.Draw(a.canvas, TRect{0, 0, 4, 4});
    EXPECT_EQ(a.canvas.PixelColor(3, 3).Red, 0) << "out of range: frame 0";
}

// A painter without goAnimate (always so for a one-frame image) paints its
// frame once, with its events, and ends.
TEST(GifPainter, AStillPainterPaintsItsFrameOnce)
{
    struct Case {
        const char* what;
        int frames;
        unsigned options;
        int forced;
        int frame;   // the frame painted
        bool thread; // painted on a thread of its own
    } cases[] = {
        {"one frame, asynchronous options", 1, kAsync, -1, 0, false},
        {"one frame, synchronous options", 1, kSync, -1, 0, false},
        {"three frames, not animated", 3, goLoop, -1, 0, false},
        {"three frames, not animated, a forced frame", 3, goLoop, 2, 2, false},
        {"three frames, not animated, asynchronous", 3, goAsync | goLoop, 2, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Animation a(c.frames, 1);
        a.image.SetForceFrame(c.forced);
        a.canvas.FillRect(TRect{0, 0, 4, 4}, TGIFColor{255, 255, 255});
        int started = 0;
        a.image.OnStartPaint = [&](TGIFPainter*) { ++started; };
        auto painter = a.Start(c.options);
        EXPECT_EQ(painter != nullptr, c.thread);
        if (painter) {
            ASSERT_TRUE(a.host.DrainUntil([&] { return painter->Ended(); }));
        }
        EXPECT_EQ(a.painted, std::vector<int>{c.frame});
        EXPECT_EQ(started, 1);
        EXPECT_EQ(a.ended, 1);
        EXPECT_EQ(a.image.PainterCount(), 0);
        EXPECT_EQ(a.canvas.PixelColor(3, 3), (TGIFColor{uint8_t(30 * c.frame), 0, 0}));
        EXPECT_EQ(a.host.clock.NowMs(), 1000u) << "nothing waited";
    }
}

TEST(GifPainter, StopWhileWaitingForTheGuiOrForEverReturns)
{
    {
        Animation a(3, 1);
        auto painter = a.Start(kAsync | goLoopContinously);
        // The painter now waits in its first synchronisation; nothing drains.
        a.image.PaintStop();
        EXPECT_TRUE(painter->Ended());
    }
    {
        Animation a(3, 1);
        a.image.SetAnimationSpeed(0);
        auto painter = a.Start(kAsync);
        ASSERT_TRUE(a.host.DrainUntil([&] { return a.painted.size() == 1; }));
        // Speed 0: the next wait has no end but a change or a stop.
        a.image.SetAnimationSpeed(100);
        ASSERT_TRUE(a.host.DrainUntil([&] { return a.painted.size() >= 2; }));
        a.image.SetAnimationSpeed(0);
        size_t seen = a.painted.size();
        a.image.PaintStop();
        EXPECT_TRUE(painter->Ended());
        EXPECT_LE(a.painted.size(), seen + 1);
    }
    {
        auto a = std::make_unique<Animation>(3, 1);
        a->Start(kAsync | goLoopContinously);
        a.reset(); // destroying the image stops and joins its painters
    }
}

TEST(GifPainter, FailureInThePainterIsReportedOnce)
{
    Animation a(3, 1);
    std::vector<std::string> warnings;
    a.image.OnWarning = [&](const void*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    a.image.OnPaint = [](TGIFPainter*) { throw std::runtime_error("paint failed"); };
    a.Start(kSync);
    EXPECT_EQ(warnings, std::vector<std::string>{"paint failed"});
}

namespace {

// 4 x 4 screens drawn onto a 4 x 4 canvas that shows K where nothing was
// drawn; colours by their red value: index i of the table is red 10 i, the
// background (index 0) is blue.
struct DisposalCase {
    const char* name;
    unsigned options;
    struct Frame {
        TRect place;
        int colour;
        TDisposalMethod disposal;
        int transparentAt = -1; // a pixel of the frame left transparent
    };
    std::vector<Frame> frames;
    int loops;                            // loop block count on frame 0, -1 none
    std::vector<std::string> after;       // each frame's picture, rows of 4 letters
    int screen = 4;                       // the logical screen's side
};

const TGIFColor kBehind{9, 9, 9};

char Letter(TGIFColor c)
{
    if (c == kBehind)
        return 'K';
    if (c == TGIFColor{0, 0, 200})
        return '.';
    return char('A' + c.Red / 10 - 1);
}

std::string Picture(const Bitmap& b)
{
    std::string s;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            s += Letter(b.PixelColor(x, y));
    return s;
}

using D = TDisposalMethod;

} // namespace

TEST(GifPainter, DisposalMethodsLeaveExactPixels)
{
    const unsigned kOnce = goAnimate | goTransparent;
    const DisposalCase cases[] = {
        {"no disposal", kOnce,
            {{{0, 0, 4, 4}, 1, D::dmNoDisposal}, {{0, 0, 2, 2}, 2, D::dmNoDisposal}, {{2, 2, 4, 4}, 3, D::dmNoDisposal}},
            -1, {"AAAAAAAAAAAAAAAA", "BBAABBAAAAAAAAAA", "BBAABBAAAACCAACC"}},
        {"background, transparent", kOnce,
            {{{0, 0, 4, 4}, 1, D::dmBackground}, {{2, 2, 4, 4}, 2, D::dmNoDisposal}},
            -1, {"AAAAAAAAAAAAAAAA", "KKKKKKKKKKBBKKBB"}},
        {"background, brush", goAnimate,
            {{{0, 0, 4, 4}, 1, D::dmBackground}, {{2, 2, 4, 4}, 2, D::dmNoDisposal}},
            -1, {"AAAAAAAAAAAAAAAA", "..........BB..BB"}},
        {"previous after a kept frame", kOnce,
            {{{0, 0, 4, 4}, 1, D::dmNoDisposal}, {{0, 0, 2, 2}, 2, D::dmPrevious}, {{2, 2, 4, 4}, 3, D::dmNoDisposal}},
            -1, {"AAAAAAAAAAAAAAAA", "BBAABBAAAAAAAAAA", "AAAAAAAAAACCAACC"}},
        {"previous after a restored frame", kOnce,
            {{{0, 0, 4, 4}, 1, D::dmNoDisposal}, {{0, 0, 2, 2}, 2, D::dmPrevious}, {{2, 2, 4, 4}, 3, D::dmPrevious},
                {{0, 2, 2, 4}, 4, D::dmNoDisposal}},
            -1, {"AAAAAAAAAAAAAAAA", "BBAABBAAAAAAAAAA", "AAAAAAAAAACCAACC", "AAAAAAAADDAADDAA"}},
        {"clear on loop", kOnce | goLoop | goClearOnLoop,
            {{{0, 0, 2, 2}, 1, D::dmNoDisposal, 0}, {{0, 0, 2, 2}, 2, D::dmNoDisposal}},
            2, {"KAKKAAKKKKKKKKKK", "BBKKBBKKKKKKKKKK", "KAKKAAKKKKKKKKKK", "BBKKBBKKKKKKKKKK"}},
        // A 2 x 2 screen repeated over the 4 x 4 rectangle: every tile of a
        // frame is drawn, and cleared.
        {"tiled", kOnce | goTile,
            {{{0, 0, 2, 2}, 1, D::dmNoDisposal}, {{1, 1, 2, 2}, 2, D::dmBackground}, {{0, 0, 1, 1}, 3, D::dmNoDisposal}},
            -1, {"AAAAAAAAAAAAAAAA", "AAAAABABAAAAABAB", "CACAAKAKCACAAKAK"}, 2},
        {"tiled, plain", goAnimate | goTile,
            {{{0, 0, 2, 2}, 1, D::dmNoDisposal}, {{1, 0, 2, 1}, 2, D::dmNoDisposal}},
            -1, {"AAAAAAAAAAAAAAAA", "ABABAAAAABABAAAA"}, 2},
    };
    for (const DisposalCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestHost host;
        TGIFImage image;
        image.SetPainterHost(&host);
        image.GlobalColorMap().Add(TGIFColor{0, 0, 200});
        for (int i = 1; i <= 5; ++i)
            image.GlobalColorMap().Add(TGIFColor{uint8_t(10 * i), 0, 0});
        image.SetWidth(c.screen);
        image.SetHeight(c.screen);
        for (const auto& f : c.frames) {
            auto* frame = image.Images().SubImage(image.Add(std::make_unique<TGIFSubImage>(&image)));
            frame->SetBoundsRect(f.place);
            std::vector<uint8_t> pixels(size_t(f.place.Width() * f.place.Height()), uint8_t(f.colour));
            auto gce = std::make_unique<TGIFGraphicControlExtension>(frame);
            gce->SetDisposal(f.disposal);
            if (f.transparentAt >= 0) {
                pixels[size_t(f.transparentAt)] = 5;
                gce->SetTransparentColorIndexRaw(5);
                gce->SetTransparent(true);
            }
            frame->Extensions().Add(std::move(gce));
            frame->SetData(pixels);
        }
        if (c.loops >= 0) {
            TGIFSubImage* first = image.Images().SubImage(0);
            auto loop = std::make_unique<TGIFAppExtNSLoop>(first);
            loop->SetLoops(c.loops);
            first->Extensions().Insert(0, std::move(loop));
        }
        Bitmap canvas(4, 4, pf32bit);
        canvas.FillRect(TRect{0, 0, 4, 4}, kBehind);
        std::vector<std::string> seen;
        image.OnAfterPaint = [&](TGIFPainter*) { seen.push_back(Picture(canvas)); };
        image.Paint(canvas, TRect{0, 0, 4, 4}, c.options);
        EXPECT_EQ(seen, c.after);
    }
}

namespace {

// Runs the host's closures and moves its clock until done() holds (bounded).
bool Animate(Animation& a, const std::function<bool()>& done)
{
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        a.host.ProcessPending();
        a.host.clock.Advance(5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace

TEST(GifPainter, DrawAnimatesTheOffscreenBitmapAndShowsItOnEveryDrawing)
{
    Animation a(3, 1);
    int changes = 0;
    a.image.OnChange = [&] { ++changes; };
    // The first drawing waits for the first frame and shows it, stretched.
    a.image.Draw(a.canvas, TRect{0, 0, 4, 4});
    ASSERT_TRUE(a.image.HasBitmap());
    EXPECT_EQ(a.image.PainterCount(), 1);
    EXPECT_EQ(a.painted, std::vector<int>{0});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(a.canvas.PixelColor(3, 3).Red, 0);
    // Later frames go to the off-screen bitmap, each reported as a change;
    // the canvas shows them when it is drawn again.
    ASSERT_TRUE(Animate(a, [&] { return changes == 2; }));
    EXPECT_EQ(a.canvas.PixelColor(3, 3).Red, 0);
    a.image.Draw(a.canvas, TRect{0, 0, 4, 4});
    EXPECT_EQ(a.canvas.PixelColor(3, 3).Red, 30);
    EXPECT_EQ(a.image.PainterCount(), 1) << "the same painter goes on";
    // A new frame stops the draw painter and drops the bitmap.
    a.image.Add(std::make_unique<TGIFSubImage>(&a.image));
    EXPECT_FALSE(a.image.HasBitmap());
    EXPECT_EQ(a.image.PainterCount(), 0);
}

TEST(GifPainter, DirectDrawPaintsOnTheCanvasAndAGoneCanvasEndsThePainterQuietly)
{
    Animation a(3, 1);
    std::vector<std::string> warnings;
    a.image.OnWarning = [&](const void*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    a.image.SetDrawOptions(kDefaultDrawOptions | goDirectDraw | goValidateCanvas | goLoopContinously);
    a.image.Draw(a.canvas, TRect{0, 0, 4, 4});
    EXPECT_FALSE(a.image.HasBitmap());
    ASSERT_TRUE(Animate(a, [&] { return a.canvas.PixelColor(3, 3).Red == 30; })) << "frame 1 on the canvas";
    // The canvas's context goes away: nothing is drawn on it any more.
    a.canvas.Handle.Release();
    a.canvas.FillRect(TRect{0, 0, 4, 4}, TGIFColor{1, 2, 3});
    ASSERT_TRUE(Animate(a, [&] { return a.image.PainterCount() == 0; }));
    EXPECT_EQ(a.canvas.PixelColor(3, 3), (TGIFColor{1, 2, 3}));
    EXPECT_EQ(warnings, std::vector<std::string>{});
}

TEST(GifPainter, FrameBitmapsAreBuiltOnceEachWithTheirProgressOnTheGuiThread)
{
    Animation a(3, 1);
    int starts = 0, elsewhere = 0;
    a.image.OnProgress = [&](const void*, TProgressStage stage, int, bool, const std::string& m) {
        elsewhere += !a.host.IsGuiThread();
        starts += stage == psStarting && m == "Rendering...";
    };
    a.Loop(0, 0);
    a.Start(kAsync);
    ASSERT_TRUE(a.host.DrainUntil([&] { return a.painted.size() >= 7; }));
    a.image.PaintStop();
    EXPECT_EQ(elsewhere, 0);
    EXPECT_EQ(starts, 3);
}
