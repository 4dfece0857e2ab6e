#pragma once
// A machine that becomes ready after a reload time. Filled in with the
// furniture.
#include "game/world/Pickable.h"

class PeriodItem : public Pickable {
};
