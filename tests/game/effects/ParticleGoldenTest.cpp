// A seeded star burst and a smoke plume drawn into an 800 x 600 image at set
// times, pinned as PNG files (ZELK_UPDATE_GOLDENS=1 writes them anew).
#include "framework/app/Random.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/core/TextureRegistry.h"
#include "game/effects/ParticleSystem.h"
#include "tests/framework/fonts/FontTestSupport.h"
#include "tests/game/effects/FakeImageApp.h"
#include "tests/game/effects/RecordingCallbacks.h"

#include <gtest/gtest.h>

namespace {

ParticleEmitterConfig WhiteFade(const char* image)
{
    ParticleEmitterConfig c;
    c.imageName = image;
    c.x = 400;
    c.y = 300;
    c.randomisation = 0.5f;
    c.colorKeyCount = 3;
    c.colorKeys[0] = {0, Zelk::Color(0x01FFFFFFu)};
    c.colorKeys[1] = {0.1f, Zelk::Color(0xFFFFFFFFu)};
    c.colorKeys[2] = {1.01f, Zelk::Color(0x01FFFFFFu)};
    return c;
}

void DrawAfter(const ParticleEmitterConfig& config, int ticks, const std::string& golden)
{
    FakeImageApp app;
    app.width = app.height = 6;
    TextureRegistry textures(&app);
    textures.Load(ParseElement(L"<root><texture id='star' file='star.png'/><texture id='smoke' file='s.png'/></root>"));
    Zelk::SRand(20261210);
    ParticleSystem system(&textures);
    ASSERT_TRUE(system.Init(&config));
    system.Start();
    for (int i = 0; i < ticks; ++i)
        system.Update(0.01f);
    Zelk::MemoryImage target;
    target.Create(800, 600);
    Zelk::Graphics g(&target);
    g.SetColor(Zelk::Color(0, 0, 0));
    g.FillRect(0, 0, 800, 600);
    system.Render(&g);
    fonttest::CheckGolden(golden, 800, 600, fonttest::Pixels(target));
}

} // namespace

TEST(ParticleGoldens, StarBurstAfterHalfASecond)
{
    ParticleEmitterConfig c = WhiteFade("star");
    c.rate = 30;
    c.speed = 400;
    c.startSize = 0.3f;
    c.endSize = 1.2f;
    c.life = 1.0f;
    c.spread = 360;
    c.speedFadeTime = 1.3f;
    c.randomFlags = 15;
    c.driftY = 20;
    DrawAfter(c, 50, "effects/star_burst");
}

TEST(ParticleGoldens, SmokePlumeAfterThreeSeconds)
{
    ParticleEmitterConfig c = WhiteFade("smoke");
    c.rate = 5;
    c.speed = 30;
    c.startSize = 0.5f;
    c.endSize = 4.0f;
    c.life = 1.5f;
    c.y = 500;
    c.direction = 180;
    c.spread = 60;
    c.speedFadeTime = 1.5f;
    c.randomFlags = 10;
    DrawAfter(c, 300, "effects/smoke_plume");
}
