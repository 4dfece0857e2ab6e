#include "framework/app/Random.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/core/DebugTrace.h"
#include "game/core/TextureRegistry.h"
#include "game/effects/ParticleRegistry.h"
#include "game/effects/ParticleSystem.h"
#include "tests/game/effects/FakeImageApp.h"
#include "tests/game/effects/RecordingCallbacks.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

ParticleEmitterConfig Basic(float rate, float life)
{
    ParticleEmitterConfig c;
    c.rate = rate;
    c.life = life;
    c.startSize = c.endSize = 1;
    return c;
}

std::vector<float> Ages(const ParticleSystem& s)
{
    std::vector<float> ages;
    for (const auto* p : s.GetParticles())
        ages.push_back(p->age);
    return ages;
}

std::vector<std::string>& Traces()
{
    static std::vector<std::string> lines;
    return lines;
}

} // namespace

TEST(ParticleSystemInit, MaximumIsTheCeilingOfRateTimesLife)
{
    struct {
        float rate, life;
        int maximum;
    } cases[] = {{30, 1.0f, 30}, {5, 1.5f, 8}, {0, 1, 0}, {-5, 1, 0}, {10, 0, 0}, {10, -1, 0}};
    for (auto& c : cases) {
        ParticleSystem s(nullptr);
        ParticleEmitterConfig config = Basic(c.rate, c.life);
        EXPECT_TRUE(s.Init(&config));
        EXPECT_EQ(s.GetMaxParticles(), c.maximum) << c.rate << " x " << c.life;
        s.Start();
        s.Update(5);
        EXPECT_LE(int(s.GetParticles().size()), c.maximum);
    }
}

TEST(ParticleSystemInit, BadColourListsAreReportedAndLeaveNoPool)
{
    SetDebugTraceHook([](const std::string& line) { Traces().push_back(line); });
    struct {
        int count;
        float first, last;
        const char* report;
    } cases[] = {
        {1, 0, 2, "ERROR: [PS: ] age color count less than 2 !.."},
        {9, 0, 2, "ERROR: [PS: ] age color count greater than 8 !.."},
        {3, 0.1f, 2, "ERROR: [PS: ] first color age must be equal to 0!.."},
        {3, 0, 1.0f, "ERROR: [PS: ] last color age must be greater than 1!.."},
        {2, 0, 1.01f, nullptr},
    };
    for (auto& c : cases) {
        Traces().clear();
        ParticleEmitterConfig config = Basic(10, 1);
        config.colorKeyCount = c.count;
        config.colorKeys[0].age = c.first;
        int last = std::min(c.count, 8) - 1;
        if (last > 0)
            config.colorKeys[last].age = c.last;
        ParticleSystem s(nullptr);
        EXPECT_EQ(s.Init(&config), c.report == nullptr) << c.count;
        if (c.report) {
            EXPECT_EQ(Traces(), std::vector<std::string>{c.report});
            s.Start();
            s.Update(1);
            EXPECT_TRUE(s.GetParticles().empty()) << "a system without a pool never emits";
        } else {
            EXPECT_TRUE(Traces().empty());
        }
    }
    SetDebugTraceHook(nullptr);
    ParticleSystem s(nullptr);
    EXPECT_TRUE(s.Init(nullptr));
}

TEST(ParticleSystemEmit, ABurstsBirthAgesStepByTheInterval)
{
    ParticleSystem s(nullptr);
    ParticleEmitterConfig config = Basic(10, 1);
    s.Init(&config);
    s.Start();
    s.Update(0.35f);
    std::vector<float> ages = Ages(s);
    ASSERT_EQ(ages.size(), 3u);
    EXPECT_FLOAT_EQ(ages[0], 0);
    EXPECT_FLOAT_EQ(ages[1], 0.1f);
    EXPECT_FLOAT_EQ(ages[2], 0.2f);
}

TEST(ParticleSystemEmit, TheBacklogOfAFullSystemComesOutWhenRoomFrees)
{
    // 32 a second: the intervals are exact in binary.
    ParticleSystem s(nullptr);
    ParticleEmitterConfig config = Basic(32, 1);
    s.Init(&config);
    ASSERT_EQ(s.GetMaxParticles(), 32);
    s.Start();
    s.Update(1.5f); // 48 due, 32 room: full, with half a second (16) waiting
    EXPECT_EQ(s.GetParticles().size(), 32u);
    EXPECT_FLOAT_EQ(s.GetEmissionTime(), 0.5f);
    s.Update(0.5f); // 15 die; 32 due, 15 fit
    EXPECT_EQ(s.GetParticles().size(), 32u);
    std::vector<float> ages = Ages(s);
    EXPECT_FLOAT_EQ(ages[17], 0);
    EXPECT_FLOAT_EQ(ages[31], 14 / 32.0f);
    EXPECT_FLOAT_EQ(s.GetEmissionTime(), 1.0f - 15 / 32.0f);
}

TEST(ParticleSystemEmit, AHalfDiscNeverReachesAboveTheEmitter)
{
    Zelk::SRand(1234);
    ParticleSystem s(nullptr);
    ParticleEmitterConfig config = Basic(100, 10);
    config.shape = PARTICLE_SHAPE_HALF_DISC;
    config.radius = 10;
    config.x = 100.7f;
    config.y = 50.9f;
    s.Init(&config);
    s.Start();
    s.Update(5);
    ASSERT_EQ(s.GetParticles().size(), 500u);
    double lowest = 0;
    for (const auto* p : s.GetParticles()) {
        EXPECT_GE(p->y, 50.0);
        EXPECT_LE(std::hypot(p->x - 100, p->y - 50), 10.0);
        lowest = std::max(lowest, p->y);
    }
    EXPECT_GT(lowest, 55.0) << "the disc is really used";
}

TEST(ParticleSystemEmit, DirectionsAndFadingMoves)
{
    struct {
        float degrees;
        double dx, dy;
    } cases[] = {{0, 0, 1}, {90, -1, 0}, {180, 0, -1}, {270, 1, 0}, {-90, 1, 0}};
    for (auto& c : cases) {
        ParticleSystem s(nullptr);
        ParticleEmitterConfig config = Basic(1, 10);
        config.direction = c.degrees;
        config.speed = 100;
        config.speedFadeTime = 2;
        s.Init(&config);
        s.Start();
        s.Update(1); // one particle at (0, 0)
        s.Stop();
        ASSERT_EQ(s.GetParticles().size(), 1u);
        const auto* p = s.GetParticles()[0];
        EXPECT_NEAR(p->dirX, c.dx, 1e-5) << c.degrees;
        EXPECT_NEAR(p->dirY, c.dy, 1e-5) << c.degrees;
        s.Update(1); // speed factor 2 - 1 = 1 of 2: half speed for a second
        EXPECT_NEAR(p->x, 50 * c.dx, 1e-3) << c.degrees;
        EXPECT_NEAR(p->y, 50 * c.dy, 1e-3) << c.degrees;
    }
    // No fade time: speed moves nothing; drift still does.
    ParticleSystem s(nullptr);
    ParticleEmitterConfig config = Basic(1, 10);
    config.speed = 100;
    config.driftX = 3;
    config.driftY = -4;
    s.Init(&config);
    s.Start();
    s.Update(1);
    s.Stop();
    s.Update(2);
    ASSERT_EQ(s.GetParticles().size(), 1u);
    EXPECT_EQ(s.GetParticles()[0]->x, 6.0);
    EXPECT_EQ(s.GetParticles()[0]->y, -8.0);
}

TEST(ParticleSystemUpdate, ColourKeysBlendByAge)
{
    ParticleSystem s(nullptr);
    ParticleEmitterConfig config = Basic(1, 1);
    config.colorKeyCount = 3;
    config.colorKeys[0] = {0, Zelk::Color(0x01FFFFFFu)};
    config.colorKeys[1] = {0.1f, Zelk::Color(0xFFFFFFFFu)};
    config.colorKeys[2] = {1.01f, Zelk::Color(0x01FFFFFFu)};
    s.Init(&config);
    s.Start();
    s.Update(1);
    s.Stop();
    ASSERT_EQ(s.GetParticles().size(), 1u);
    s.Update(0.05f);
    const auto* p = s.GetParticles()[0];
    EXPECT_EQ(p->color.GetAlpha(), 128);
    EXPECT_EQ(p->color.GetRed(), 255);
    s.Update(0.5f);
    EXPECT_EQ(p->keyIndex, 2);
}

TEST(ParticleSystemUpdate, ADeathSwapsInTheLastParticleHandledInTheSamePass)
{
    ParticleSystem s(nullptr);
    ParticleEmitterConfig config = Basic(8, 1); // intervals of 1/8
    s.Init(&config);
    s.Start();
    s.Update(0.25f);  // [0, 1/8]
    s.Update(0.5f);   // [0.5, 0.625] + [0, 1/8, 2/8, 3/8]
    s.Stop();
    ASSERT_EQ(Ages(s), (std::vector<float>{0.5f, 0.625f, 0, 0.125f, 0.25f, 0.375f}));
    s.Update(0.5f); // the second dies; the last takes its place and ages too
    EXPECT_EQ(Ages(s), (std::vector<float>{1.0f, 0.875f, 0.5f, 0.625f, 0.75f}));
}

TEST(ParticleSystemUpdate, ClearStopsAndEmptiesAndStartBeginsFromNothing)
{
    ParticleSystem s(nullptr);
    ParticleEmitterConfig config = Basic(10, 1);
    s.Init(&config);
    s.Start();
    s.Update(0.35f);
    ASSERT_EQ(s.GetParticles().size(), 3u);
    s.Clear();
    EXPECT_TRUE(s.GetParticles().empty());
    EXPECT_FALSE(s.IsEmitting());
    s.Update(1);
    EXPECT_TRUE(s.GetParticles().empty());
    s.Start();
    s.Update(0.05f);
    EXPECT_TRUE(s.GetParticles().empty());
    s.Update(0.06f);
    EXPECT_EQ(s.GetParticles().size(), 1u);
}

TEST(ParticleSystemRender, EachParticleIsTheImageScaledAndTinted)
{
    FakeImageApp app; // 8 x 4 white
    TextureRegistry textures(&app);
    textures.Load(ParseElement(L"<root><texture id='star' file='star.png'/></root>"));
    {
        ParticleSystem s(&textures);
        ParticleEmitterConfig config = Basic(1, 10);
        config.imageName = "star";
        config.startSize = config.endSize = 1.5f;
        config.x = 100;
        config.y = 50;
        config.driftX = 7;
        config.driftY = 2;
        config.colorKeyCount = 2;
        config.colorKeys[0] = {0, Zelk::Color(0xFF00FF00u)};
        config.colorKeys[1] = {1.01f, Zelk::Color(0xFF00FF00u)};
        ASSERT_TRUE(s.Init(&config));
        EXPECT_EQ(textures.GetRefCount("star"), 1);
        s.Start();
        s.Update(1);
        s.Stop();
        s.Update(0.1f); // at (100.7, 50.2), 12 x 6

        Zelk::MemoryImage target;
        target.Create(200, 100);
        Zelk::Graphics g(&target);
        s.Render(&g);
        EXPECT_FALSE(g.mModulateImages) << "the flag is restored";
        // The colour stays the last particle's (the software stretch of a
        // memory image draws untinted, so the pixels cannot show it).
        EXPECT_EQ(g.GetColor(), Zelk::Color(0xFF00FF00u));
        int left = 200, top = 100, right = -1, bottom = -1;
        const uint32_t* bits = target.GetBits();
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 200; ++x) {
                uint32_t pixel = bits[y * 200 + x];
                if (!pixel)
                    continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        EXPECT_EQ(left, 94);  // trunc(100.7 - 12 / 2)
        EXPECT_EQ(top, 47);   // trunc(50.2 - 6 / 2)
        EXPECT_EQ(right, 105);
        EXPECT_EQ(bottom, 52);
    }
    EXPECT_EQ(textures.GetRefCount("star"), 0) << "the image goes back with the system";
}
