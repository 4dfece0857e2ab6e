#pragma once

// The particle systems that effects start, by owner. Filled in by the
// particle systems.
class ParticleRegistry {
public:
    ParticleRegistry();
    ~ParticleRegistry();
};
