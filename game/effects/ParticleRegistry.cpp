#include "game/effects/ParticleRegistry.h"

#include "game/effects/ParticleSystem.h"

#include <atomic>
#include <vector>

namespace {
std::atomic<ParticleRegistry*> gActive{nullptr};
}

ParticleRegistry::ParticleRegistry(TextureRegistry* textures) : mTextures(textures) { gActive.store(this); }

ParticleRegistry::~ParticleRegistry()
{
    ParticleRegistry* self = this;
    gActive.compare_exchange_strong(self, nullptr);
    std::multimap<Effect*, ParticleSystem*> systems;
    {
        Zelk::CritSectGuard guard(mLock);
        systems.swap(mSystems);
    }
    for (auto& entry : systems)
        delete entry.second;
}

ParticleRegistry* ParticleRegistry::Active() { return gActive.load(); }

void ParticleRegistry::Register(Effect* owner, ParticleSystem* system)
{
    Zelk::CritSectGuard guard(mLock);
    mSystems.emplace(owner, system);
}

void ParticleRegistry::UpdateOwner(Effect* owner, float seconds)
{
    Zelk::CritSectGuard guard(mLock);
    auto range = mSystems.equal_range(owner);
    for (auto it = range.first; it != range.second; ++it)
        it->second->Update(seconds);
}

void ParticleRegistry::ClearAll()
{
    Zelk::CritSectGuard guard(mLock);
    for (auto& entry : mSystems)
        entry.second->Clear();
}

void ParticleRegistry::RemoveOwner(Effect* owner)
{
    std::vector<ParticleSystem*> dying;
    {
        Zelk::CritSectGuard guard(mLock);
        auto range = mSystems.equal_range(owner);
        for (auto it = range.first; it != range.second; ++it)
            dying.push_back(it->second);
        mSystems.erase(range.first, range.second);
    }
    // Their images go back outside the lock.
    for (ParticleSystem* system : dying)
        delete system;
}

size_t ParticleRegistry::GetSystemCount() const
{
    Zelk::CritSectGuard guard(mLock);
    return mSystems.size();
}
