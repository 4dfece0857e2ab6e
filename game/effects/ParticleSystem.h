#pragma once
// A small 2-D emitter spraying coloured, scaled copies of one texture. The
// particles come from a pool made once in Init; steady running allocates
// nothing. Update, Render and Clear take the lock of the registry that holds
// the system.
#include "game/effects/ParticleEmitterConfig.h"

#include <vector>

class Effect;
class ParticleRegistry;
class TextureRegistry;
namespace Zelk {
class Graphics;
class Image;
} // namespace Zelk

class ParticleSystem {
public:
    struct Particle {
        double x = 0, y = 0;
        float age = 0;
        Zelk::Color color;
        float size = 0;
        int32_t keyIndex = 0;
        float startSize = 0, endSize = 0, life = 0;
        double dirX = 0, dirY = 0;
        float speed = 0;
        float speedFactor = 0; // seconds of fade left
    };

    // A system of the active registry (its textures, its lock), made from
    // the configuration and filed under the owner.
    static ParticleSystem* Create(const ParticleEmitterConfig& config, Effect* owner);

    // Not emitting, no pool, no image. The textures may be null (no image).
    explicit ParticleSystem(TextureRegistry* textures, ParticleRegistry* registry = nullptr);
    ~ParticleSystem();
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Drops all earlier state and takes the configuration; false for a bad
    // colour-key list (reported), which leaves no pool. True for null.
    bool Init(const ParticleEmitterConfig* config);
    void Update(float seconds);
    void Render(Zelk::Graphics* g);
    void Start();
    void Stop();
    // Stop, and every living particle goes at once.
    void Clear();

    const ParticleEmitterConfig& GetConfig() const { return mConfig; }
    int GetMaxParticles() const { return mConfig.maxParticles; }
    const std::vector<Particle*>& GetParticles() const { return mLive; }
    bool IsEmitting() const { return mEmitting; }
    float GetEmissionTime() const { return mEmissionTime; }
    Zelk::Image* GetImage() const { return mImage; }

private:
    void Emit();
    void DropState();
    float Randomised(float value) const;

    TextureRegistry* mTextures;
    ParticleRegistry* mRegistry;
    ParticleEmitterConfig mConfig;
    std::vector<Particle*> mLive;
    std::vector<Particle> mPool;
    std::vector<Particle*> mFree;
    float mEmissionTime = 0;
    bool mEmitting = false;
    Zelk::Image* mImage = nullptr;
};
