#pragma once
// A shelf that hands out items. Filled in with the furniture.
#include "game/world/Pickable.h"

class Shelving : public Pickable {
};
