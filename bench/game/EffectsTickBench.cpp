// One tick of a busy screen: 500 dialog-like effects (two timers, three
// controls) updated and sent "render_ps", and 60 stars plus eight smoke
// systems updated and drawn into an 800 x 600 memory image, against an empty
// tick (the same image cleared) in the same process. Also the heap
// allocations of a tick after warm-up: step_allocs for the effects and
// particle updates (goal 0), draw_allocs for the drawing.
#include "framework/app/Random.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/core/TextureRegistry.h"
#include "game/core/XmlFunctions.h"
#include "game/effects/AnimRecords.h"
#include "game/effects/Effect.h"
#include "game/effects/ExportedFunctions.h"
#include "game/effects/ParticleRegistry.h"
#include "game/effects/ParticleSystem.h"
#include "platform/NullPlatform.h"
#include "tests/game/effects/FakeImageApp.h"

#include "bench/common/AllocationCount.h"
#include "bench/common/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {

float gSink = 0;
int32_t Fade(void* argument)
{
    gSink += static_cast<AnimCallbackArgs*>(argument)->progress;
    return 1;
}
int32_t RenderPs(void*) { return 0; }

const ExportedFunction kExports[] = {{"Fade", Fade, CallForm::Track}, {"RenderPs", RenderPs, CallForm::Message}};

const wchar_t kDialog[] =
    L"<effect><timers>"
    L"<timer name='show' type='usual' ftime='0.5' direction='forward'>"
    L"<control id='1' type='point' starttime='0' function='Fade' active='true'/>"
    L"<control id='2' type='range' starttime='0' endtime='0.5' function='Fade' active='true'/></timer>"
    L"<timer name='pulse' type='cycle' ftime='1' direction='forward'>"
    L"<control id='3' type='range' starttime='0.2' endtime='0.8' function='Fade' active='true'/></timer>"
    L"</timers><messages>"
    L"<message name='onshow' command='start' timer_id='show'/>"
    L"<message name='onshow' command='start' timer_id='pulse'/>"
    L"<message name='render_ps' command='call' timer_id='RenderPs'/>"
    L"</messages></effect>";

ParticleEmitterConfig Stars()
{
    ParticleEmitterConfig c;
    c.imageName = "star";
    c.rate = 30;
    c.speed = 400;
    c.startSize = 0.3f;
    c.endSize = 1.2f;
    c.life = 1.0f;
    c.x = 400;
    c.y = 300;
    c.spread = 360;
    c.speedFadeTime = 1.3f;
    c.randomisation = 0.5f;
    c.randomFlags = 15;
    c.driftY = 20;
    c.colorKeyCount = 3;
    c.colorKeys[0] = {0, Zelk::Color(0x01FFFFFFu)};
    c.colorKeys[1] = {0.1f, Zelk::Color(0xFFFFFFFFu)};
    c.colorKeys[2] = {1.01f, Zelk::Color(0x01FFFFFFu)};
    return c;
}

ParticleEmitterConfig Smoke(int i)
{
    ParticleEmitterConfig c = Stars();
    c.imageName = "smoke";
    c.rate = 5;
    c.speed = 30;
    c.startSize = 0.5f;
    c.endSize = 1.0f;
    c.life = 1.5f;
    c.x = float(60 + i * 90);
    c.y = 400;
    c.spread = 180;
    c.speedFadeTime = 1.5f;
    c.randomFlags = 10;
    c.driftY = 0;
    return c;
}

struct Scene {
    Scene()
    {
        ExportedFunctions::Install(kExports, 2);
        app.width = app.height = 16;
        textures.Load(XmlNode(doc).SelectSingle(L"root"));
        XmlNode node = XmlNode(effectDoc).SelectSingle(L"effect");
        for (int i = 0; i < 500; ++i) {
            effects.push_back(std::make_unique<Effect>());
            effects.back()->Load(node);
            effects.back()->SendMessage("onshow");
        }
        owner = effects[0].get();
        systems.push_back(ParticleSystem::Create(Stars(), owner));
        ParticleEmitterConfig big = Stars();
        big.speed = 300;
        big.life = 0.8f;
        systems.push_back(ParticleSystem::Create(big, owner));
        for (int i = 0; i < 8; ++i)
            systems.push_back(ParticleSystem::Create(Smoke(i), owner));
        for (ParticleSystem* s : systems)
            s->Start();
        target.Create(800, 600);
    }
    static XmlDocument Parse(const wchar_t* text)
    {
        XmlDocument d;
        d.LoadText(text);
        return d;
    }
    plat::NullPlatform platform;
    FakeImageApp app;
    XmlDocument doc = Parse(L"<root><texture id='star' file='s.png'/><texture id='smoke' file='k.png'/></root>");
    XmlDocument effectDoc = Parse(kDialog);
    TextureRegistry textures{&app};
    ParticleRegistry registry{&textures};
    std::vector<std::unique_ptr<Effect>> effects;
    Effect* owner = nullptr;
    std::vector<ParticleSystem*> systems;
    Zelk::MemoryImage target;
};

Scene& TheScene()
{
    static Scene* scene = new Scene;
    return *scene;
}

// The allocations of the effects and particle updates, and of the drawing
// (the framework's stretched blit), counted apart.
uint64_t gStepAllocations = 0;
uint64_t gDrawAllocations = 0;

void Tick(Scene& s, Zelk::Graphics& g)
{
    uint64_t start = bench::Allocations();
    for (auto& effect : s.effects) {
        effect->Update(0.01f);
        effect->SendMessage("render_ps");
    }
    s.registry.UpdateOwner(s.owner, 0.01f);
    uint64_t stepped = bench::Allocations();
    g.SetColor(Zelk::Color(0, 0, 0));
    g.FillRect(0, 0, 800, 600);
    for (ParticleSystem* system : s.systems)
        system->Render(&g);
    gStepAllocations += stepped - start;
    gDrawAllocations += bench::Allocations() - stepped;
}

void EffectsTick(benchmark::State& state)
{
    Scene& s = TheScene();
    Zelk::SRand(7);
    Zelk::Graphics g(&s.target);
    for (int i = 0; i < 300; ++i) // warm-up: the systems fill
        Tick(s, g);
    gStepAllocations = gDrawAllocations = 0;
    for (auto _ : state) {
        Tick(s, g);
        benchmark::ClobberMemory();
    }
    double ticks = double(state.iterations() ? state.iterations() : 1);
    state.counters["step_allocs"] = double(gStepAllocations) / ticks;
    state.counters["draw_allocs"] = double(gDrawAllocations) / ticks;
}
BENCHMARK(EffectsTick)->Unit(benchmark::kMicrosecond);

void EmptyTick(benchmark::State& state)
{
    Scene& s = TheScene();
    Zelk::Graphics g(&s.target);
    for (auto _ : state) {
        g.SetColor(Zelk::Color(0, 0, 0));
        g.FillRect(0, 0, 800, 600);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(EmptyTick)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        bench::RatioReporter::PrintHeader("ratio");
        r.PrintRatio("effects tick / empty tick (500 effects, 10 systems)", "EffectsTick", "EmptyTick");
    });
}
