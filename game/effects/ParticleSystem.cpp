#include "game/effects/ParticleSystem.h"

#include "framework/app/Random.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "game/core/DebugTrace.h"
#include "game/core/TextureRegistry.h"
#include "game/effects/ParticleRegistry.h"

#include <cmath>

namespace {

constexpr double kDegreesToRadians = 0.0174533;
constexpr double kPi = 3.14159265358979;

// The registry's lock when the system is filed in one, else none.
class SystemGuard {
public:
    explicit SystemGuard(ParticleRegistry* registry) : mLock(registry ? &registry->GetLock() : nullptr)
    {
        if (mLock)
            mLock->Enter();
    }
    ~SystemGuard()
    {
        if (mLock)
            mLock->Leave();
    }

private:
    Zelk::CriticalSection* mLock;
};

// r / 32767 for one value of the program's generator.
double Uniform() { return double(Zelk::Rand()) / Zelk::RAND_MAX_VALUE; }

int Channel(int from, int to, float f) { return int(float(from) + float(to - from) * f); }

} // namespace

ParticleSystem* ParticleSystem::Create(const ParticleEmitterConfig& config, Effect* owner)
{
    ParticleRegistry* registry = ParticleRegistry::Active();
    ParticleSystem* system = new ParticleSystem(registry ? registry->GetTextures() : nullptr, registry);
    system->Init(&config);
    if (registry)
        registry->Register(owner, system);
    return system;
}

ParticleSystem::ParticleSystem(TextureRegistry* textures, ParticleRegistry* registry)
    : mTextures(textures), mRegistry(registry)
{
}

ParticleSystem::~ParticleSystem() { DropState(); }

void ParticleSystem::DropState()
{
    mLive.clear();
    mFree.clear();
    std::vector<Particle>().swap(mPool);
    if (mImage && mTextures)
        mTextures->ReleaseImage(mImage);
    mImage = nullptr;
}

bool ParticleSystem::Init(const ParticleEmitterConfig* config)
{
    if (!config)
        return true;
    DropState();
    mEmissionTime = 0;
    mConfig = *config;
    mConfig.maxParticles = 0;

    int count = mConfig.colorKeyCount;
    if (count != 0) {
        const char* fault = nullptr;
        if (count < 2)
            fault = "ERROR: [PS: ] age color count less than 2 !..";
        else if (count > kMaxParticleColorKeys)
            fault = "ERROR: [PS: ] age color count greater than 8 !..";
        else if (mConfig.colorKeys[0].age > 0)
            fault = "ERROR: [PS: ] first color age must be equal to 0!..";
        else if (mConfig.colorKeys[count - 1].age <= 1)
            fault = "ERROR: [PS: ] last color age must be greater than 1!..";
        if (fault) {
            DebugTrace("%s", fault);
            return false;
        }
    }

    // A rate or life of 0 or less emits nothing.
    if (mConfig.rate > 0 && mConfig.life > 0)
        mConfig.maxParticles = int32_t(std::ceil(double(mConfig.rate) * double(mConfig.life)));
    int slots = mConfig.maxParticles + 1;
    mLive.reserve(size_t(mConfig.maxParticles));
    mPool.resize(size_t(slots));
    mFree.reserve(size_t(slots));
    for (int i = slots - 1; i >= 0; --i)
        mFree.push_back(&mPool[size_t(i)]);

    if (!mConfig.imageName.empty() && mTextures)
        mImage = mTextures->Get(mConfig.imageName);
    return true;
}

float ParticleSystem::Randomised(float value) const
{
    return float(value + (2.0 * Uniform() - 1.0) * (value * mConfig.randomisation));
}

void ParticleSystem::Update(float dt)
{
    SystemGuard guard(mRegistry);
    const ParticleEmitterConfig& c = mConfig;
    size_t i = 0;
    while (i < mLive.size()) {
        Particle* p = mLive[i];
        p->age += dt;
        if (p->age > p->life || p->life <= 0) {
            // The last particle takes the dead one's place and is handled next.
            mLive[i] = mLive.back();
            mLive.pop_back();
            mFree.push_back(p);
            continue;
        }
        p->speedFactor = std::max(0.0f, p->speedFactor - dt);
        float t = p->age / p->life;
        if (c.speedFadeTime > 0) {
            double move = double(p->speedFactor / c.speedFadeTime) * double(p->speed);
            p->x += move * p->dirX * dt;
            p->y += move * p->dirY * dt;
        }
        p->x += double(dt) * c.driftX;
        p->y += double(dt) * c.driftY;

        if (c.colorKeyCount == 0) {
            p->color = Zelk::Color(255, 255, 255, 255);
        } else {
            int k = std::max(1, int(p->keyIndex));
            while (k < c.colorKeyCount && !(c.colorKeys[k].age > t))
                ++k;
            if (k < c.colorKeyCount) {
                p->keyIndex = k;
                const ParticleColorKey& from = c.colorKeys[k - 1];
                const ParticleColorKey& to = c.colorKeys[k];
                float f = (t - from.age) / (to.age - from.age);
                p->color = Zelk::Color(Channel(from.color.GetRed(), to.color.GetRed(), f),
                                       Channel(from.color.GetGreen(), to.color.GetGreen(), f),
                                       Channel(from.color.GetBlue(), to.color.GetBlue(), f),
                                       Channel(from.color.GetAlpha(), to.color.GetAlpha(), f));
            }
        }
        p->size = (p->endSize - p->startSize) * t + p->startSize;
        ++i;
    }
    if (mEmitting) {
        mEmissionTime += dt;
        Emit();
    }
}

void ParticleSystem::Emit()
{
    const ParticleEmitterConfig& c = mConfig;
    if (c.rate <= 0 || mFree.empty())
        return;
    float interval = 1.0f / c.rate;
    int n = int(mEmissionTime / interval);
    float birthAge = 0;
    while (n > 0) {
        if (int(mLive.size()) >= c.maxParticles || mFree.empty())
            break;
        Particle* p = mFree.back();
        mFree.pop_back();
        p->speed = (c.randomFlags & PARTICLE_RANDOM_SPEED) ? Randomised(c.speed) : c.speed;
        p->x = std::trunc(c.x);
        p->y = std::trunc(c.y);
        p->age = birthAge;
        p->speedFactor = c.speedFadeTime;
        p->color = Zelk::Color(0, 0, 0, 0);
        p->size = 0;
        p->keyIndex = 0;
        p->startSize = (c.randomFlags & PARTICLE_RANDOM_START_SIZE) ? Randomised(c.startSize) : c.startSize;
        p->endSize = (c.randomFlags & PARTICLE_RANDOM_END_SIZE) ? Randomised(c.endSize) : c.endSize;
        p->life = (c.randomFlags & PARTICLE_RANDOM_LIFE) ? Randomised(c.life) : c.life;
        if (c.shape == PARTICLE_SHAPE_RECT) {
            p->x += std::trunc(Randomised(c.rectWidth) - 0.5 * c.rectWidth);
            p->y += std::trunc(Randomised(c.rectHeight) - 0.5 * c.rectHeight);
        } else if (c.shape == PARTICLE_SHAPE_HALF_DISC) {
            double angle = Uniform() * kPi;
            double r = Uniform() * c.radius;
            p->x += std::trunc(r * std::cos(angle));
            p->y += std::trunc(r * std::sin(angle));
        }
        double a = (c.direction + (Uniform() - 0.5) * c.spread) * kDegreesToRadians;
        p->dirX = -std::sin(a);
        p->dirY = std::cos(a);
        mLive.push_back(p);
        birthAge += interval;
        mEmissionTime -= interval;
        --n;
    }
}

void ParticleSystem::Render(Zelk::Graphics* g)
{
    SystemGuard guard(mRegistry);
    if (!g || mLive.empty() || !mImage)
        return;
    int width = mImage->GetWidth();
    int height = mImage->GetHeight();
    bool modulate = g->mModulateImages;
    for (const Particle* p : mLive) {
        int w = int(float(width) * p->size);
        int h = int(float(height) * p->size);
        int x0 = int(p->x - w / 2.0);
        int y0 = int(p->y - h / 2.0);
        g->SetColor(p->color);
        g->SetModulateImages(true);
        g->DrawImageRegionScaled(mImage, Zelk::Rect(x0, y0, w, h), Zelk::Rect(0, 0, width, height));
        g->SetModulateImages(modulate);
    }
}

void ParticleSystem::Start()
{
    SystemGuard guard(mRegistry);
    mEmitting = true;
}

void ParticleSystem::Stop()
{
    SystemGuard guard(mRegistry);
    mEmitting = false;
    mEmissionTime = 0;
}

void ParticleSystem::Clear()
{
    SystemGuard guard(mRegistry);
    Stop();
    for (Particle* p : mLive)
        mFree.push_back(p);
    mLive.clear();
}
