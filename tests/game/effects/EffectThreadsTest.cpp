// The main thread and the loading screen's thread at once: one steps and
// draws effects and their particles, the other makes, messages and deletes
// effects, files and clears systems and takes and gives back textures.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/core/TextureRegistry.h"
#include "game/effects/AnimTrack.h"
#include "game/effects/Effect.h"
#include "game/effects/ParticleRegistry.h"
#include "game/effects/ParticleSystem.h"
#include "tests/game/effects/FakeImageApp.h"
#include "tests/game/effects/RecordingCallbacks.h"

#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {

const wchar_t kEffect[] = L"<effect><timers><timer name='t' type='cycle' ftime='0.1' direction='forward'>"
                          L"<control id='1' type='range' starttime='0' endtime='0.05' function='Rec' active='true'/>"
                          L"<control id='2' type='point' starttime='0.1' function='Rec' active='true'/>"
                          L"</timer></timers><messages>"
                          L"<message name='go' command='start' timer_id='t'/>"
                          L"<message name='halt' command='stop' timer_id='t'/>"
                          L"</messages></effect>";

ParticleEmitterConfig Smoke()
{
    ParticleEmitterConfig c;
    c.imageName = "smoke";
    c.rate = 50;
    c.life = 0.5f;
    c.speed = 30;
    c.speedFadeTime = 1;
    c.startSize = 0.5f;
    c.endSize = 1;
    c.spread = 180;
    c.x = 100;
    c.y = 50;
    return c;
}

} // namespace

TEST(EffectThreads, StepsAndDrawsWhileAnotherThreadBuildsAndClears)
{
    RecordingExports exports;
    FakeImageApp app;
    TextureRegistry textures(&app);
    textures.Load(ParseElement(L"<root><texture id='smoke' file='s.png'/><texture id='x' file='x.png'/></root>"));
    ParticleRegistry registry(&textures);
    XmlNode node = ParseElement(kEffect);

    std::vector<std::unique_ptr<Effect>> shown;
    for (int i = 0; i < 4; ++i) {
        shown.push_back(std::make_unique<Effect>());
        shown.back()->Load(node);
        shown.back()->SendMessage("go");
        ParticleSystem::Create(Smoke(), shown.back().get())->Start();
    }
    std::vector<ParticleSystem*> drawn;
    // The systems are reached the way "render_ps" reaches them: kept aside.
    for (int i = 0; i < 4; ++i) {
        auto* s = ParticleSystem::Create(Smoke(), shown[size_t(i)].get());
        s->Start();
        drawn.push_back(s);
    }

    constexpr int kRounds = 300;
    std::thread loader([&] {
        for (int round = 0; round < kRounds; ++round) {
            auto effect = std::make_unique<Effect>();
            effect->Load(node);
            effect->SendMessage("go");
            ParticleSystem::Create(Smoke(), effect.get())->Start();
            shown[size_t(round % 4)]->SendMessage(round % 2 ? "go" : "halt");
            textures.Release("x");
            textures.Get("x");
            if (round % 10 == 0)
                registry.ClearAll();
            effect->Update(0.01f);
        }
    });
    Zelk::MemoryImage target;
    target.Create(200, 100);
    Zelk::Graphics g(&target);
    for (int round = 0; round < kRounds; ++round) {
        for (auto& effect : shown) {
            effect->Update(0.01f);
            registry.UpdateOwner(effect.get(), 0.01f);
        }
        for (ParticleSystem* s : drawn) {
            s->Start();
            s->Render(&g);
        }
        textures.Get("x");
        textures.Release("x");
    }
    loader.join();
    EXPECT_EQ(registry.GetSystemCount(), 8u) << "the loader's effects took their systems along";
    EXPECT_FALSE(Calls().empty());
    shown.clear();
    EXPECT_EQ(registry.GetSystemCount(), 0u);
}
