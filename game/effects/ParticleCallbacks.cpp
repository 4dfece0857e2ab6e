#include "game/effects/ParticleCallbacks.h"

#include "game/effects/AnimRecords.h"
#include "game/effects/Effect.h"
#include "game/effects/ParticleEmitterConfig.h"
#include "game/effects/ParticleSystem.h"

#include <cstring>
#include <initializer_list>
#include <string>

namespace {

constexpr int32_t kParamFirstSystem = 0x102;
constexpr int32_t kParamLastSystem = 0x105;
constexpr int32_t kParamGraphics = 0x106;
constexpr int32_t kParamX = 0x107;
constexpr int32_t kParamY = 0x108;
constexpr int32_t kParamOrientation = 0x109;
constexpr int32_t kParamMirror = 0x10a;

void SetKeys(ParticleEmitterConfig& config, std::initializer_list<ParticleColorKey> keys)
{
    config.colorKeyCount = 0;
    for (const ParticleColorKey& key : keys)
        config.colorKeys[config.colorKeyCount++] = key;
}

ParticleSystem* System(Effect* effect, int32_t id) { return static_cast<ParticleSystem*>(effect->GetParam(id)); }

// The system under the id, made from the configuration when there is none.
ParticleSystem* Ensure(Effect* effect, int32_t id, const ParticleEmitterConfig& config)
{
    ParticleSystem* system = System(effect, id);
    if (!system) {
        system = ParticleSystem::Create(config, effect);
        effect->SetParam(id, system);
    }
    return system;
}

} // namespace

ParticleEmitterConfig GoalStarsConfig(bool big)
{
    ParticleEmitterConfig config;
    config.imageName = big ? "fx_goal_star_big" : "fx_goal_star_small";
    config.rate = 30;
    config.speed = big ? 300 : 400;
    config.startSize = 0.3f;
    config.endSize = 1.2f;
    config.life = big ? 0.8f : 1.0f;
    config.shape = PARTICLE_SHAPE_POINT;
    config.x = 400;
    config.y = 300;
    config.driftX = 0;
    config.driftY = big ? 50 : 20;
    config.direction = 0;
    config.spread = 360;
    config.speedFadeTime = 1.3f;
    config.randomisation = 0.5f;
    config.randomFlags = 15;
    SetKeys(config, {{0, Zelk::Color(0x01FFFFFFu)}, {0.1f, Zelk::Color(0xFFFFFFFFu)}, {1.01f, Zelk::Color(0x01FFFFFFu)}});
    return config;
}

ParticleEmitterConfig WorkSmokeConfig(const char* orientation, bool mirrored, float x, float y)
{
    float dx = 0, dy = 0, direction = 0;
    std::string word = orientation ? orientation : "";
    if (word == "tr") {
        dx = mirrored ? -25 : 25;
        dy = -5;
        direction = mirrored ? 139 : 228;
    } else if (word == "br") {
        dx = mirrored ? -24 : 24;
        dy = 2;
        direction = mirrored ? 20 : -60;
    }
    ParticleEmitterConfig config;
    config.imageName = "fx_work_smoke";
    config.rate = 5;
    config.speed = 30;
    config.startSize = 0.5f;
    config.endSize = 1.0f;
    config.life = 1.5f;
    config.shape = PARTICLE_SHAPE_POINT;
    config.x = x + dx;
    config.y = y + dy;
    config.direction = direction;
    config.spread = 180;
    config.speedFadeTime = 1.5f;
    config.randomisation = 0.5f;
    config.randomFlags = 10;
    SetKeys(config, {{0, Zelk::Color(0x01FFFFFFu)},
                     {0.2f, Zelk::Color(0xFFFFFFFFu)},
                     {0.8f, Zelk::Color(0xFFFFFFFFu)},
                     {1.01f, Zelk::Color(0x01FFFFFFu)}});
    return config;
}

int32_t FuncOnGoalExpertPSEffect(void* argument)
{
    auto* args = static_cast<AnimCallbackArgs*>(argument);
    if (!args || !args->owner)
        return 1;
    Effect* effect = args->owner;
    if (args->progress == 0) {
        for (int32_t id : {kParamFirstSystem, kParamFirstSystem + 1})
            if (ParticleSystem* system = Ensure(effect, id, GoalStarsConfig(id != kParamFirstSystem)))
                system->Start();
    } else if (args->progress == 1) {
        for (int32_t id : {kParamFirstSystem, kParamFirstSystem + 1})
            if (ParticleSystem* system = System(effect, id))
                system->Stop();
    }
    return 1;
}

int32_t FuncOnWorkerWorkingPSEffect(void* argument)
{
    auto* effect = static_cast<Effect*>(argument);
    if (!effect)
        return 1;
    auto* word = static_cast<const std::string*>(effect->GetParam(kParamOrientation));
    auto* mirror = static_cast<const bool*>(effect->GetParam(kParamMirror));
    // Only an office part's effect has its orientation and mirror flag.
    if (!word || !mirror)
        return 1;
    float x = float(int32_t(effect->GetParamValue(kParamX)));
    float y = float(int32_t(effect->GetParamValue(kParamY)));
    ParticleEmitterConfig config = WorkSmokeConfig(word->c_str(), *mirror, x, y);
    if (ParticleSystem* system = Ensure(effect, kParamFirstSystem, config))
        system->Start();
    return 1;
}

int32_t RenderPSFunc(void* argument)
{
    auto* effect = static_cast<Effect*>(argument);
    if (!effect)
        return 0;
    auto* g = static_cast<Zelk::Graphics*>(effect->GetParam(kParamGraphics));
    if (!g)
        return 0;
    for (int32_t id = kParamFirstSystem; id <= kParamLastSystem; ++id)
        if (ParticleSystem* system = System(effect, id))
            system->Render(g);
    return 1;
}

int32_t StopPSFunc(void* argument)
{
    auto* effect = static_cast<Effect*>(argument);
    if (!effect)
        return 0;
    // Systems started before their part was ever drawn must stop too.
    for (int32_t id = kParamFirstSystem; id <= kParamLastSystem; ++id)
        if (ParticleSystem* system = System(effect, id))
            system->Stop();
    return effect->GetParam(kParamGraphics) ? 1 : 0;
}
