#include "launcher/FormPicture.h"
#include "launcher/GIFBusyPicture.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"
#include "platform/loop/NullEventLoop.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace vorsel;

namespace {

// The form's picture over a loop in simulated time; the test's thread is the
// loop's and moves the clock while the painter thread waits on it.
struct PictureRun {
    plat::NullClock clock{1000};
    plat::NullEventLoop loop{clock};
    GIFBusyPicture picture{loop, clock, Image1PictureData(), Image1PictureSize()};
    std::vector<uint32_t> pixels = std::vector<uint32_t>(64 * 64, 0xFFFFFFFFu);
    Canvas canvas{pixels.data(), 64, 64, 64};

    // Pumps the loop until the picture has painted count frames (bounded).
    bool PumpUntilPainted(int count)
    {
        auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (picture.PaintCount() < count) {
            if (std::chrono::steady_clock::now() > limit)
                return false;
            loop.ProcessPending();
            clock.Advance(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    // Whether the canvas shows the frame at (16, 16), colour by colour.
    bool Shows(int frame) const
    {
        const GIFImage::TGIFSubImage* f = picture.Image().Images().SubImage(frame);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                GIFImage::TGIFColor c = f->ActiveColorMap().ColorAt(f->Data()[y * 32 + x]);
                uint32_t want = 0xFF000000u | uint32_t(c.Red) << 16 | uint32_t(c.Green) << 8 | c.Blue;
                if (pixels[size_t(16 + y) * 64 + size_t(16 + x)] != want)
                    return false;
            }
        return true;
    }
};

} // namespace

TEST(GIFBusyPicture, TheFormsPictureIsTheLaunchersAnimation)
{
    PictureRun r;
    EXPECT_EQ(r.picture.Image().Width(), 32);
    EXPECT_EQ(r.picture.Image().Height(), 32);
    EXPECT_EQ(r.picture.Image().Images().Count(), 18);
}

TEST(GIFBusyPicture, PaintsEveryFrameInOrderOnTheLoopAndLoopsForEver)
{
    PictureRun r;
    std::vector<int> frames;
    std::vector<bool> shown;
    const std::thread::id gui = std::this_thread::get_id();
    r.picture.SetOnChange([&] {
        EXPECT_EQ(std::this_thread::get_id(), gui);
        frames.push_back(r.picture.Frame());
        // What the form does on a change: draw the picture again.
        r.picture.Draw(r.canvas, 16, 16, 32, 32);
        shown.push_back(r.Shows(r.picture.Frame()));
    });
    // The first drawing starts the painter and shows its first frame.
    r.picture.Draw(r.canvas, 16, 16, 32, 32);
    EXPECT_EQ(r.picture.Frame(), 0);
    EXPECT_TRUE(r.Shows(0));
    EXPECT_TRUE(frames.empty()) << "a change reported while drawing";
    ASSERT_TRUE(r.PumpUntilPainted(21));
    std::vector<int> expected;
    for (int i = 1; i < 21; ++i)
        expected.push_back(i % 18);
    frames.resize(20);
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), false), 0) << "a frame drawn other than the image holds it";
    // Nothing outside the rectangle.
    EXPECT_EQ(r.pixels[0], 0xFFFFFFFFu);
    EXPECT_EQ(r.pixels[size_t(48) * 64 + 48], 0xFFFFFFFFu);
}

TEST(GIFBusyPicture, GoingWhileThePainterWaitsForTheLoopRunsNothingOfIt)
{
    bool ran = false;
    {
        PictureRun r;
        r.picture.Draw(r.canvas, 0, 0, 32, 32);
        // The first paint is posted and its thread waits; a closure of the
        // (gone) form waits behind it.
        auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (r.picture.PaintCount() == 0 && std::chrono::steady_clock::now() < limit) {
            r.loop.ProcessPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_EQ(r.picture.PaintCount(), 1);
        r.clock.Advance(1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        r.loop.Post([&ran] { ran = true; });
    }
    EXPECT_FALSE(ran);
}

TEST(GIFBusyPicture, FormDataThatIsNoGIFImageIsAClearError)
{
    plat::NullClock clock;
    plat::NullEventLoop loop{clock};
    struct Case {
        std::string data, error;
    } cases[] = {
        {"", "Picture data without a class name"},
        {std::string("\x07TBitmap", 8) + "BM", "Unknown picture class \"TBitmap\""},
        {std::string("\x09TGIFImage", 10), "Premature end of data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        try {
            GIFBusyPicture picture(loop, clock, reinterpret_cast<const uint8_t*>(c.data.data()), c.data.size());
            ADD_FAILURE() << "no error";
        } catch (const GIFImage::GraphicError& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
    }
}
