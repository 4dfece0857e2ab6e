#pragma once
// Callbacks that start, draw and stop the particle systems of an effect
// (parameters 0x102 to 0x105). FuncOnGoalExpertPSEffect serves a track
// control; the other three serve "call" messages and get the effect itself.
#include <cstdint>

struct ParticleEmitterConfig;

int32_t FuncOnGoalExpertPSEffect(void* args);
int32_t FuncOnWorkerWorkingPSEffect(void* effect);
// Draws the systems into parameter 0x106; 0 without it.
int32_t RenderPSFunc(void* effect);
// Stops the systems; 0 without parameter 0x106 (they are stopped all the
// same).
int32_t StopPSFunc(void* effect);

// The configurations the callbacks build: the goal stars (big or small) and
// the work smoke of a worker facing the orientation word at x, y. The
// smoke needs the part's orientation word (0x109, a std::string) and mirror
// flag (0x10a, a bool); the position values are 0x107 and 0x108.
ParticleEmitterConfig GoalStarsConfig(bool big);
ParticleEmitterConfig WorkSmokeConfig(const char* orientation, bool mirrored, float x, float y);
