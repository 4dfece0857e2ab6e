#pragma once
#include "framework/app/CriticalSection.h"

// While a level loads, the loading screen's thread runs whole application
// steps and holds this lock around each; the main thread holds it while it
// touches widgets, effects, particle systems or textures during the load, and
// lets go of it between its steps (never over a file read), so the loading
// screen animates meanwhile. Steps of the main thread do not take it. It is
// the outermost lock: never taken under the effect, track, display, registry
// or sound locks.
extern Zelk::CriticalSection gStepLock;
