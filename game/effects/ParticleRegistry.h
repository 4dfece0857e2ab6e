#pragma once
// The particle systems that effects start, filed by the effect that owns
// them; it owns the systems. One lock guards the table and every system's
// update, drawing and clearing, since the loading screen's thread advances
// them while the main thread files and clears them.
#include "framework/app/CriticalSection.h"

#include <map>

class Effect;
class ParticleSystem;
class TextureRegistry;

class ParticleRegistry {
public:
    // The textures the systems take their images from (may be null). The
    // newest registry becomes the active one until it dies.
    explicit ParticleRegistry(TextureRegistry* textures = nullptr);
    ~ParticleRegistry();
    ParticleRegistry(const ParticleRegistry&) = delete;
    ParticleRegistry& operator=(const ParticleRegistry&) = delete;

    // The application's registry, or null.
    static ParticleRegistry* Active();

    // Files the system after the others of the owner; the registry owns it.
    void Register(Effect* owner, ParticleSystem* system);
    // Updates the owner's systems in the order they were filed.
    void UpdateOwner(Effect* owner, float seconds);
    // Clears every system (stopped, no particles); they stay filed.
    void ClearAll();
    // Deletes the owner's systems: an effect that dies takes them along.
    void RemoveOwner(Effect* owner);
    size_t GetSystemCount() const;

    TextureRegistry* GetTextures() const { return mTextures; }
    Zelk::CriticalSection& GetLock() const { return mLock; }

private:
    TextureRegistry* mTextures;
    mutable Zelk::CriticalSection mLock;
    std::multimap<Effect*, ParticleSystem*> mSystems;
};
