#include "game/effects/EffectWorld.h"

#include <atomic>

namespace {
std::atomic<EffectWorld*> gWorld{nullptr};
}

void SetEffectWorld(EffectWorld* world) { gWorld.store(world); }

EffectWorld* GetEffectWorld() { return gWorld.load(); }
