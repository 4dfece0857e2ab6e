#pragma once
// A door that lets a walker in or out. Filled in with the furniture.
#include "game/world/Pickable.h"

class Door : public Pickable {
};
