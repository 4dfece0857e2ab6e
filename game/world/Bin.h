#pragma once
// The trash bin. Filled in with the furniture.
#include "game/world/Pickable.h"

class Bin : public Pickable {
};
