#include "platform/audio/Mixer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace plat;

namespace {

std::shared_ptr<SampleData> Mono16(const std::vector<int16_t>& samples)
{
    auto d = std::make_shared<SampleData>(uint32_t(samples.size() * 2), 1, 16);
    std::memcpy(d->bytes.data(), samples.data(), d->bytes.size());
    return d;
}

std::vector<int16_t> Mix(Mixer& m, size_t frames)
{
    std::vector<int16_t> out(frames * 2, 12345);
    m.Mix(out.data(), frames);
    return out;
}

std::vector<int16_t> Left(const std::vector<int16_t>& st)
{
    std::vector<int16_t> l;
    for (size_t i = 0; i < st.size(); i += 2)
        l.push_back(st[i]);
    return l;
}

} // namespace

TEST(Mixer, PlaysAtOutputRateUnchangedThenStopsAndRewinds)
{
    Mixer m;
    auto v = m.CreateVoice(Mono16({100, -200, 300, -400}), Mixer::kOutputRate);
    m.Start(v, false);
    auto out = Mix(m, 6);
    EXPECT_EQ(out, (std::vector<int16_t>{100, 100, -200, -200, 300, 300, -400, -400, 0, 0, 0, 0}));
    EXPECT_FALSE(m.IsPlaying(v));
    EXPECT_EQ(m.GetPosition(v), 0u);
    EXPECT_EQ(m.FramesMixed(), 6u);
}

TEST(Mixer, ResamplesLinearlyAndLoopsAcrossTheEnd)
{
    Mixer m;
    auto v = m.CreateVoice(Mono16({0, 1000, 2000, 3000}), Mixer::kOutputRate / 2);
    m.Start(v, true);
    // Half rate: every second output frame lies between two input frames; the
    // last one interpolates towards the first again because the voice loops.
    EXPECT_EQ(Left(Mix(m, 10)), (std::vector<int16_t>{0, 500, 1000, 1500, 2000, 2500, 3000, 1500, 0, 500}));
    EXPECT_TRUE(m.IsPlaying(v));
    EXPECT_TRUE(m.IsLooping(v));
}

// Neighbours at opposite full scale differ by 65535: the interpolation must not
// wrap. A quarter of the way between them lies 16383.25 from the centre.
TEST(Mixer, ResamplingBetweenOppositeFullScaleSamplesDoesNotWrap)
{
    Mixer m;
    auto v = m.CreateVoice(Mono16({-32768, 32767, -32768, 32767}), Mixer::kOutputRate / 4);
    m.Start(v, false);
    std::vector<int16_t> left = Left(Mix(m, 12));
    struct Case {
        size_t frame;
        int expect;
    } cases[] = {{0, -32768}, {1, -16384}, {2, 0}, {3, 16383}, {4, 32767}, {5, 16383}, {7, -16384}, {11, 16383}};
    for (const Case& c : cases)
        EXPECT_NEAR(left[c.frame], c.expect, 1) << "frame " << c.frame;
}

TEST(Mixer, EightBitStereoGainsAndClipping)
{
    Mixer m;
    // Two stereo frames of unsigned 8-bit samples.
    auto d = std::make_shared<SampleData>(4, 2, 8);
    d->bytes = {255, 0, 128, 192};
    auto a = m.CreateVoice(d, Mixer::kOutputRate);
    m.SetGains(a, 1.0f, 0.5f);
    m.Start(a, false);
    auto out = Mix(m, 2);
    EXPECT_EQ(out, (std::vector<int16_t>{127 * 256, -128 * 128, 0, 64 * 128}));

    // Two loud voices sum beyond the 16-bit range and are clipped.
    auto b = m.CreateVoice(Mono16({30000, -30000}), Mixer::kOutputRate);
    auto c = m.CreateVoice(Mono16({30000, -30000}), Mixer::kOutputRate);
    m.Start(b, false);
    m.Start(c, false);
    EXPECT_EQ(Mix(m, 2), (std::vector<int16_t>{32767, 32767, -32768, -32768}));
}

TEST(Mixer, StoppedAndDestroyedVoicesAreSilentAndOperationsOnThemAreIgnored)
{
    Mixer m;
    auto v = m.CreateVoice(Mono16({500, 500, 500, 500}), Mixer::kOutputRate);
    m.Start(v, false);
    Mix(m, 1);
    m.Stop(v);
    EXPECT_EQ(m.GetPosition(v), 1u);
    EXPECT_EQ(Mix(m, 2), (std::vector<int16_t>{0, 0, 0, 0}));
    m.Start(v, false); // resumes where it stopped
    EXPECT_EQ(Left(Mix(m, 4)), (std::vector<int16_t>{500, 500, 500, 0}));
    m.DestroyVoice(v);
    m.Start(v, true);
    m.SetGains(v, 1, 1);
    EXPECT_FALSE(m.IsPlaying(v));
    EXPECT_EQ(m.VoiceCount(), 0u);
    EXPECT_EQ(Mix(m, 1), (std::vector<int16_t>{0, 0}));
}

// A playing voice moves to new gains in a straight line over the ramp's
// frames, from the gains it has at that moment (also in the middle of a
// ramp); a voice that is not playing takes them at once.
TEST(Mixer, GainChangesOfAPlayingVoiceRampLinearly)
{
    const uint32_t n = Mixer::kGainRampFrames;
    Mixer m;
    auto v = m.CreateVoice(Mono16(std::vector<int16_t>(4 * n, 16384)), Mixer::kOutputRate);
    m.SetGains(v, 0.5f, 0.0f); // not playing yet: at once
    m.Start(v, false);
    std::vector<int16_t> out = Mix(m, 2);
    EXPECT_EQ(out, (std::vector<int16_t>{8192, 0, 8192, 0}));

    m.SetGains(v, 1.0f, 1.0f);
    out = Mix(m, n + 2);
    struct Case {
        uint32_t frame;
        int left, right;
    } up[] = {{0, 8192 + 8192 / int(n), 16384 / int(n)}, {n / 2 - 1, 12288, 8192}, {n - 1, 16384, 16384},
              {n, 16384, 16384}, {n + 1, 16384, 16384}};
    for (const Case& c : up) {
        EXPECT_NEAR(out[2 * c.frame], c.left, 1) << "frame " << c.frame;
        EXPECT_NEAR(out[2 * c.frame + 1], c.right, 1) << "frame " << c.frame;
    }
    for (uint32_t f = 1; f < n; ++f)
        ASSERT_GE(out[2 * f], out[2 * f - 2]) << "frame " << f;

    // Down to 0, turned back up to 1 half-way: it goes on from the middle.
    m.SetGains(v, 0.0f, 0.0f);
    Mix(m, n / 2);
    m.SetGains(v, 1.0f, 1.0f);
    out = Mix(m, n);
    EXPECT_NEAR(out[0], 8192 + 8192 / int(n), 1);
    EXPECT_NEAR(out[2 * (n - 1)], 16384, 1);

    // Stopped, then set and started: the new gain from its first frame.
    m.Stop(v);
    m.SetGains(v, 0.25f, 0.25f);
    m.Start(v, false);
    EXPECT_EQ(Mix(m, 1), (std::vector<int16_t>{4096, 4096}));
}
