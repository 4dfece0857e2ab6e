#pragma once
// The phone a VIP client calls on. Filled in with the furniture.
#include "game/world/Pickable.h"
#include "game/world/StatusSource.h"

class Phone : public Pickable, public StatusSource {
};
