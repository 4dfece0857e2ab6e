#pragma once
#include <cstdint>

// A function that effects call by name: one pointer in, a result the callers
// ignore. A track control passes its AnimCallbackArgs, a "call" message the
// Effect itself.
using EffectCallback = int32_t (*)(void* argument);
