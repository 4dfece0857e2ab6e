#pragma once
#include "platform/clock/MonotonicClock.h"

namespace plat {

// The real platform's clock: the system's monotonic clock.
class RealClock : public MonotonicClock {};

} // namespace plat
