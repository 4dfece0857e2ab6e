#pragma once
// The plate on a table that names its worker's trade. Filled in with the
// furniture.
#include "game/world/Pickable.h"

class Specialization : public Pickable {
};
