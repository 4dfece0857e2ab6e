#pragma once
// What a particle system is made from: built in code by the effect callbacks.
#include "framework/graphics/Color.h"

#include <cstdint>
#include <string>

struct ParticleColorKey {
    float age = 0; // a fraction of the particle's life
    Zelk::Color color;
};

enum ParticleShape : int32_t { PARTICLE_SHAPE_POINT = 0, PARTICLE_SHAPE_RECT = 1, PARTICLE_SHAPE_HALF_DISC = 2 };

// Which values vary by the randomisation.
enum : uint32_t {
    PARTICLE_RANDOM_START_SIZE = 1,
    PARTICLE_RANDOM_END_SIZE = 2,
    PARTICLE_RANDOM_SPEED = 4,
    PARTICLE_RANDOM_LIFE = 8,
};

constexpr int kMaxParticleColorKeys = 8;

struct ParticleEmitterConfig {
    std::string imageName; // a TextureRegistry id; empty: nothing is drawn
    int32_t colorKeyCount = 0; // 0 (opaque white) or 2 to 8
    ParticleColorKey colorKeys[kMaxParticleColorKeys];
    float rate = 0;  // particles per second
    float speed = 0; // pixels per second
    float startSize = 0;
    float endSize = 0;
    float life = 0; // seconds
    int32_t shape = PARTICLE_SHAPE_POINT;
    float rectWidth = 0;
    float rectHeight = 0;
    float radius = 0;
    float x = 0;
    float y = 0;
    double driftX = 0; // pixels per second added to every particle
    double driftY = 0;
    float direction = 0; // degrees: 0 down, 90 left, 180 up
    float spread = 0;    // degrees of the fan around the direction
    float speedFadeTime = 0;
    float randomisation = 0;
    uint32_t randomFlags = 0;
    int32_t maxParticles = 0; // computed by ParticleSystem::Init
};
