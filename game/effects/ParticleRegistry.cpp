#include "game/effects/ParticleRegistry.h"

ParticleRegistry::ParticleRegistry() = default;
ParticleRegistry::~ParticleRegistry() = default;
